// The substitution laboratory driven as a user would: typing in the key grid,
// the key's pop-up menu, the texts and buttons, the cryptanalysis page coming
// and going, and guesses written under the ciphertext in the text grid.
#include "orv/orvcssubst.h"
#include "orv/calculofondo.h"

#include <gtest/gtest.h>

#include "ayudas_prueba.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <map>

#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "qtcomun/traducciones.h"
#include "rejilla/rejilla.h"
#include "tarnel/alfabeto.h"
#include "tarnel/orvcriptosust.h"

namespace orv {
namespace {

const QString kAlfabeto = QString::fromStdU32String(kestrin::Cadena(tarnel::Alfabeto));

QString simbolo(int valor) {
  return kAlfabeto.mid(valor, 1);
}

// The plain text as the cryptosystem keeps it: only symbols, folded.
QString pliega(const QString& texto) {
  QString r;
  for (const char32_t c : texto.toStdU32String()) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) r += simbolo(v);
  }
  return r;
}

// Sends one character as a key press, whatever the keyboard would need for it.
void tecla(QWidget* w, QChar c) {
  if (c.unicode() < 0x80 && c.unicode() > 0x20)
    QTest::keyClicks(w, QString(c));
  else
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class ORVCSSubstTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { registraBibliotecas(); }

  void SetUp() override {
    v = abre();
    QGuiApplication::clipboard()->clear();
  }

  std::unique_ptr<ORVCSSubst> abre() {
    auto w = std::make_unique<ORVCSSubst>();
    w->avisa = [this](const QString& t, const QString& texto) { avisos << t + ": " + texto; };
    for (pemmick::ORVExtTextBox* caja : {w->TxtTO(), w->txtTC()}) {
      caja->avisa = [this](const QString& t, const QString& texto) { avisos << t + ": " + texto; };
    }
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
  }

  static void escribe(pemmick::ORVExtTextBox* caja, const QString& texto) {
    caja->area()->setFocus();
    for (const QChar c : texto) tecla(caja->area(), c);
  }
  static void vacia(pemmick::ORVExtTextBox* caja) {
    caja->area()->setFocus();
    caja->area()->selectAll();
    QTest::keyClick(caja->area(), Qt::Key_Delete);
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  static void pestana(ORVCSSubst& w, int i) {
    QTest::mouseClick(w.tsCripto(), Qt::LeftButton, {}, w.tsCripto()->tabRect(i).center());
  }

  // The cell of the grid on screen (scrolled to), in its table's viewport.
  static QPoint centro(Rejilla* g, int f, int c) {
    QTableWidget* t = g->tabla();
    const QModelIndex i = t->model()->index(f - (g->FilasFijas() > 0 ? 1 : 0), c);
    QCoreApplication::processEvents();  // the scroll range follows the rows on the next turn
    t->scrollTo(i);
    return t->visualRect(i).center();
  }

  // Clicks the cell, types the text and confirms with Return; false when no
  // editor opened (then the keys went nowhere).
  static bool escribeCelda(Rejilla* g, int f, int c, const QString& texto) {
    QTableWidget* t = g->tabla();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro(g, f, c));
    t->setFocus();
    tecla(t, texto.at(0));
    auto* editor = qobject_cast<QLineEdit*>(t->indexWidget(t->currentIndex()));
    if (editor == nullptr) return false;
    for (qsizetype k = 1; k < texto.size(); ++k) tecla(editor, texto.at(k));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
  }

  QString filaClave() const {
    QString s;
    for (int i = 0; i < 64; ++i) s += v->FlexClaves()->Texto(1, i);
    return s;
  }
  QString negritas() const {
    QString s;
    for (int i = 0; i < 64; ++i)
      if (v->FlexClaves()->NegritaCelda(0, i)) s += v->FlexClaves()->Texto(0, i);
    return s;
  }

  // A right click on the key grid, then a click on the menu's item.
  void eligeDelMenu(QAction* accion, bool enCabecera = false) {
    QTableWidget* t = v->FlexClaves()->tabla();
    QWidget* donde = enCabecera ? t->horizontalHeader()->viewport() : t->viewport();
    const QPoint punto =
        enCabecera ? QPoint(t->columnViewportPosition(3) + 4, 6) : centro(v->FlexClaves(), 1, 3);
    QTest::mouseClick(donde, Qt::RightButton, {}, punto);
    ASSERT_TRUE(v->MenuClave()->isVisible());
    QTest::mouseClick(v->MenuClave(), Qt::LeftButton, {},
                      v->MenuClave()->actionGeometry(accion).center());
    EXPECT_FALSE(v->MenuClave()->isVisible());
  }

  // The text grid's texts of one row.
  QString filaTexto(int f) const {
    QString s;
    for (int c = 0; c < v->FlexTexto()->Columnas(); ++c) s += v->FlexTexto()->Texto(f, c);
    return s;
  }

  std::unique_ptr<ORVCSSubst> v;
  QStringList avisos;
};

TEST_F(ORVCSSubstTest, AFreshWindowHasNoKeyEveryPlainSymbolBoldAndDeciphersToMarkers) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Criptosistema por sustitución"));
  EXPECT_FALSE(v->windowIcon().isNull());
  ASSERT_EQ(v->paginas()->count(), 1);
  EXPECT_EQ(v->tsCripto()->tabText(0), QStringLiteral("Cifrado"));
  EXPECT_EQ(v->tsCripto()->tabData(0).toString(), QStringLiteral("cifracion"));
  EXPECT_EQ(v->txtTC()->KeysAccepted(), kestrin::CSKAfin | kestrin::CSKSust);
  EXPECT_EQ(v->MenuClave()->title(), QStringLiteral("Clave"));
  EXPECT_EQ(v->MenuBorrarClave()->text(), QStringLiteral("Borrar clave"));
  EXPECT_EQ(v->MenuClaveAleatoria()->text(), QStringLiteral("Clave aleatoria"));

  Rejilla* g = v->FlexClaves();
  ASSERT_EQ(g->Filas(), 2);
  ASSERT_EQ(g->Columnas(), 64);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(g->Texto(0, i), simbolo(i)) << i;
  EXPECT_EQ(filaClave(), QString(64, QLatin1Char('_')));
  EXPECT_EQ(negritas(), kAlfabeto);
  EXPECT_EQ(g->ColorFondo(), static_cast<uint32_t>(ORVW().COLFIX()));
  EXPECT_EQ(g->ColorFondoFijo(), 0x80000005u);
  EXPECT_EQ(g->tabla()->font().family(), QStringLiteral("Courier New"));
  EXPECT_EQ(v->FlexTexto()->Columnas(), 27);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(v->cs().Clave(kestrin::Variante(i)), U"_");
  // Enciphering waits for a whole key; deciphering works with an incomplete one.
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());

  escribe(v->txtTC(), QStringLiteral("Hola mundo"));
  pulsa(v->cmdDescifra());
  EXPECT_EQ(v->TxtTO()->textoMostrado(), QString(10, QLatin1Char('_')));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ORVCSSubstTest, TypingInTheKeyGridFoldsRefusesAndGivesEachCipherSymbolOnce) {
  struct Paso {
    int columna;
    const char* tecleado;
    const char* clave;  // columns 0..7 afterwards
  };
  const Paso pasos[] = {
      {0, "A", "a_______"},  // a capital folds to its symbol
      {5, "a", "_____a__"},  // the symbol leaves the plain symbol that had it
      {7, "#", "_____a__"},  // outside the alphabet: refused
      {7, "$", "_____a__"},   {2, "Ñ", "__ñ__a__"}, {3, "É", "__ñe_a__"},  // accents go
      {4, " ", "__ñe·a__"},                                                // the space is "·"
      {1, "[", "_(ñe·a__"},                                                // brackets fold
      {6, "xyz", "_(ñe·ax_"},                                              // one symbol a cell
      {3, "_", "_(ñ_·ax_"},  // "_" takes the symbol back
      {2, "(", "__(_·ax_"},
  };
  for (const Paso& p : pasos) {
    const QString tecleado = QString::fromUtf8(p.tecleado);
    EXPECT_TRUE(escribeCelda(v->FlexClaves(), 1, p.columna, tecleado)) << p.tecleado;
    EXPECT_EQ(filaClave().left(8), QString::fromUtf8(p.clave)) << p.tecleado;
    // The cryptosystem holds what the grid shows.
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(QString::fromStdU32String(v->cs().Clave(kestrin::Variante(i))),
                v->FlexClaves()->Texto(1, i))
          << p.tecleado << " " << i;
    }
  }
  // A cell emptied in its editor (F2, erase, Return) gives its symbol back too.
  QTableWidget* t = v->FlexClaves()->tabla();
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro(v->FlexClaves(), 1, 2));
  QTest::keyClick(t, Qt::Key_F2);
  auto* editor = qobject_cast<QLineEdit*>(t->indexWidget(t->currentIndex()));
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(filaClave().left(8), QStringLiteral("____·ax_"));
  escribeCelda(v->FlexClaves(), 1, 2, QStringLiteral("("));
  EXPECT_EQ(filaClave().left(8), QStringLiteral("__(_·ax_"));

  // Bold are the symbols no plain symbol has as its cipher symbol yet.
  QString libres = kAlfabeto;
  for (const QChar c : QStringLiteral("(·ax")) libres.remove(c);
  EXPECT_EQ(negritas(), libres);
  EXPECT_FALSE(v->cmdCifra()->isEnabled());

  // Enciphering with a partial key would be refused; deciphering shows what is known.
  escribe(v->txtTC(), QStringLiteral("xa(b"));
  pulsa(v->cmdDescifra());
  EXPECT_EQ(v->TxtTO()->textoMostrado(), QStringLiteral("feb_"));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ORVCSSubstTest, RandomKeysAreWholePermutationsAndClearingTheKeyDisablesCifra) {
  eligeDelMenu(v->MenuClaveAleatoria());
  const QString primera = filaClave();
  ASSERT_EQ(primera.size(), 64);
  QSet<QChar> distintos(primera.begin(), primera.end());
  EXPECT_EQ(distintos.size(), 64);
  for (const QChar c : primera) EXPECT_TRUE(kAlfabeto.contains(c)) << QString(c).toStdString();
  EXPECT_TRUE(negritas().isEmpty());
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(QString::fromStdU32String(v->cs().Clave(kestrin::Variante(i))), primera.mid(i, 1));
  }

  // The whole key enciphers, and deciphering gives the folded text back.
  escribe(v->TxtTO(), QStringLiteral("¿Qué día es hoy?"));
  pulsa(v->cmdCifra());
  EXPECT_EQ(v->txtTC()->CSTexto()->Key(), kestrin::CSKSust);
  EXPECT_EQ(v->txtTC()->textoMostrado().size(), 16);
  vacia(v->TxtTO());
  pulsa(v->cmdDescifra());
  EXPECT_EQ(v->TxtTO()->textoMostrado(), QStringLiteral("¿que·dia·es·hoy?"));

  // A key drawn right after another, from the symbols' row this time, is another.
  eligeDelMenu(v->MenuClaveAleatoria(), true);
  const QString segunda = filaClave();
  EXPECT_NE(segunda, primera);
  EXPECT_EQ(QSet<QChar>(segunda.begin(), segunda.end()).size(), 64);

  eligeDelMenu(v->MenuBorrarClave());
  EXPECT_EQ(filaClave(), QString(64, QLatin1Char('_')));
  EXPECT_EQ(negritas(), kAlfabeto);
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());
  EXPECT_EQ(v->cs().Clave(kestrin::Variante(5)), U"_");
}

TEST_F(ORVCSSubstTest, TheCryptanalysisPageComesAndGoesWithTheCiphertext) {
  escribe(v->txtTC(), QStringLiteral("abc"));
  ASSERT_EQ(v->paginas()->count(), 2);
  EXPECT_EQ(v->tsCripto()->tabText(1), QStringLiteral("Criptoanálisis"));
  EXPECT_EQ(v->paginas()->widget(1), v->Panel(1));
  EXPECT_EQ(v->paginas()->currentIndex(), 0);

  vacia(v->txtTC());
  EXPECT_EQ(v->paginas()->count(), 1);
  EXPECT_FALSE(v->Panel(1)->isVisible());

  escribe(v->txtTC(), QStringLiteral("x"));
  ASSERT_EQ(v->paginas()->count(), 2);
  EXPECT_EQ(v->tsCripto()->tabText(1), QStringLiteral("Criptoanálisis"));
  EXPECT_EQ(v->tsCripto()->tabText(0), QStringLiteral("Cifrado"));
  pestana(*v, 1);
  EXPECT_TRUE(v->Panel(1)->isVisible());
  EXPECT_EQ(v->FlexTexto()->Texto(1, 0), QStringLiteral("x"));
  EXPECT_EQ(v->FlexTexto()->Texto(0, 0), QStringLiteral("_"));

  // A ciphertext that "Cifra" writes brings the page too.
  pestana(*v, 0);
  vacia(v->txtTC());
  ASSERT_EQ(v->paginas()->count(), 1);
  eligeDelMenu(v->MenuClaveAleatoria());
  vacia(v->TxtTO());
  escribe(v->TxtTO(), QStringLiteral("hola"));
  pulsa(v->cmdCifra());
  EXPECT_EQ(v->paginas()->count(), 2);
}

TEST_F(ORVCSSubstTest, TheTextGridPairsTheRowsAndClosesWhatTheLastPairDoesNotUse) {
  struct Caso {
    int simbolos;
    int filas;
    int tag;
  };
  auto rgb = [](const QColor& c) {
    return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
           (static_cast<uint32_t>(c.blue()) << 16);
  };
  const uint32_t fondo = rgb(qtcomun::color(v->FlexTexto()->ColorFondo()));
  const auto fijo = static_cast<uint32_t>(ORVW().COLFIX());
  // The menu colour, as menus are painted: neither a plain nor a cipher cell's.
  const uint32_t menu = rgb(QGuiApplication::palette().color(QPalette::Window));
  ASSERT_NE(menu, fijo);
  ASSERT_NE(menu, fondo);
  for (const Caso caso : {Caso{28, 4, 1}, Caso{27, 2, 0}, Caso{54, 4, 0}, Caso{5, 2, 5}}) {
    SCOPED_TRACE(caso.simbolos);
    v = abre();
    QString cifrado;
    for (int i = 0; i < caso.simbolos; ++i) cifrado += simbolo(1 + i % 27);
    escribe(v->txtTC(), cifrado);
    pestana(*v, 1);
    Rejilla* g = v->FlexTexto();
    ASSERT_EQ(g->Filas(), caso.filas);
    EXPECT_EQ(g->property("Tag").toString(), QString::number(caso.tag));
    const int usadas = caso.tag > 0 ? caso.tag : 27;
    for (int f = 0; f < g->Filas(); ++f) {
      const bool ultimo = f >= g->Filas() - 2;
      for (int c = 0; c < 27; ++c) {
        const bool usada = !ultimo || c < usadas;
        const int k = (f / 2) * 27 + c;
        EXPECT_EQ(g->Texto(f, c),
                  usada ? (f % 2 ? cifrado.mid(k, 1) : QStringLiteral("_")) : QString())
            << f << "," << c;
        EXPECT_EQ(g->ColorFondoCelda(f, c), !usada ? menu : f % 2 ? fijo : fondo) << f << "," << c;
      }
    }
    // The unused cells and the cipher rows take no edit; a used plain cell does.
    if (caso.tag > 0) {
      EXPECT_FALSE(escribeCelda(g, g->Filas() - 2, 26, QStringLiteral("e")));
      EXPECT_FALSE(escribeCelda(g, g->Filas() - 1, 26, QStringLiteral("e")));
      EXPECT_EQ(g->Texto(g->Filas() - 2, 26), QString());
    }
    EXPECT_FALSE(escribeCelda(g, 1, 0, QStringLiteral("e")));
    EXPECT_EQ(g->Texto(1, 0), QStringLiteral("a"));
    EXPECT_EQ(filaClave(), QString(64, QLatin1Char('_')));
    EXPECT_TRUE(escribeCelda(g, g->Filas() - 2, usadas - 1, QStringLiteral("e")));
    EXPECT_EQ(v->FlexClaves()->Texto(1, 5), cifrado.mid((g->Filas() / 2 - 1) * 27 + usadas - 1, 1));
  }
}

TEST_F(ORVCSSubstTest, AGuessUnderACipherSymbolGoesIntoTheKeyAndEveryPlainRow) {
  // "x" stands in both pairs, in several columns.
  const QString cifrado = QStringLiteral("xbxdefghijklmnopqrstuvwxyzxab·xyx");
  escribe(v->txtTC(), cifrado);
  pestana(*v, 1);
  Rejilla* g = v->FlexTexto();
  ASSERT_EQ(g->Filas(), 4);
  auto plano = [&](const QChar x) {
    QString s;
    for (const QChar c : cifrado) s += c == QLatin1Char('x') ? x : QLatin1Char('_');
    return s;
  };
  auto mostrado = [&] { return filaTexto(0) + filaTexto(2); };

  struct Paso {
    int fila, columna;
    const char* tecleado;
    QChar columnaDeX;  // the plain symbol whose key cell holds "x", or "_"
  };
  const Paso pasos[] = {
      {0, 2, "e", QLatin1Char('e')},  // one edit, every "x" shows "e"
      {2, 3, "A", QLatin1Char('a')},  // another guess for "x" replaces the first
      {2, 3, "#", QLatin1Char('a')},  // not a symbol: ignored
      {0, 0, "_", QLatin1Char('_')},  // withdrawn
      {2, 5, " ", QChar(0x00B7)},     // a space is the "·" symbol
  };
  for (const Paso& p : pasos) {
    SCOPED_TRACE(p.tecleado);
    ASSERT_TRUE(escribeCelda(g, p.fila, p.columna, QString::fromUtf8(p.tecleado)));
    EXPECT_EQ(mostrado(), plano(p.columnaDeX));
    QString conX;
    for (int i = 0; i < 64; ++i)
      if (v->FlexClaves()->Texto(1, i) == QLatin1String("x")) conX += simbolo(i);
    EXPECT_EQ(conX, p.columnaDeX == QLatin1Char('_') ? QString() : QString(p.columnaDeX));
    EXPECT_EQ(v->TxtTO()->textoMostrado(), plano(p.columnaDeX));
    // The edited cell stays current.
    EXPECT_EQ(g->Fila(), p.fila);
    EXPECT_EQ(g->Columna(), p.columna);
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ORVCSSubstTest, SpanishProseIsBrokenBackThroughTheTextGrid) {
  const QString claro = prueba::corpus(400);
  if (claro.isEmpty()) GTEST_SKIP() << "no hay corpus en ../shared/corpus";

  // Enciphered with a random key in one window and saved...
  eligeDelMenu(v->MenuClaveAleatoria());
  const QString clave = filaClave();
  v->TxtTO()->area()->setPlainText(claro);
  pulsa(v->cmdCifra());
  QTemporaryDir carpeta;
  ASSERT_TRUE(carpeta.isValid());
  const QString fichero = carpeta.filePath(QStringLiteral("cifrado.ORV"));
  ASSERT_TRUE(v->txtTC()->GuardaFichero(fichero));
  const QString cifrado = QString::fromStdU32String(v->txtTC()->CSTexto()->Texto());
  const QString esperado = pliega(claro);
  ASSERT_EQ(cifrado.size(), esperado.size());

  // ...opened in a fresh window that knows nothing of the key.
  v = abre();
  ASSERT_TRUE(v->txtTC()->LeeFichero(fichero));
  pestana(*v, 1);
  Rejilla* g = v->FlexTexto();
  ASSERT_EQ(g->Filas(), 2 * ((cifrado.size() + 26) / 27));
  std::map<QChar, int> dondeEsta;  // the first place of each cipher symbol
  for (int k = 0; k < cifrado.size(); ++k) dondeEsta.try_emplace(cifrado.at(k), k);
  for (const auto& [x, k] : dondeEsta) {
    const int valor = static_cast<int>(clave.indexOf(x));
    ASSERT_GE(valor, 0);
    ASSERT_TRUE(escribeCelda(g, 2 * (k / 27), k % 27, simbolo(valor))) << QString(x).toStdString();
  }
  EXPECT_EQ(v->TxtTO()->textoMostrado(), esperado);
  EXPECT_EQ(filaTexto(0), esperado.left(27));
  for (const auto& [x, k] : dondeEsta) {
    const int valor = static_cast<int>(clave.indexOf(x));
    EXPECT_EQ(v->FlexClaves()->Texto(1, valor), QString(x));
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ORVCSSubstTest, TheCiphertextBoxTakesOnlyAffineAndSubstitutionTexts) {
  struct Caso {
    const char* pegado;
    bool admitido;
  };
  const Caso casos[] = {
      {"[ORVKey=008]vigenere", false},   {"[ORVKey=016]xor", false},  {"[ORVKey=002]afin", true},
      {"[ORVKey=004]sustitucion", true}, {"[ORVKey=032]hill", false},
  };
  QString antes;
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.pegado);
    avisos.clear();
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pegado));
    v->txtTC()->area()->setFocus();
    QTest::keyClick(v->txtTC()->area(), Qt::Key_V, Qt::ControlModifier);
    const QString texto = QString::fromUtf8(c.pegado).mid(12);
    if (c.admitido) {
      EXPECT_EQ(v->txtTC()->textoMostrado(), texto);
      EXPECT_EQ(QString::fromStdU32String(v->cs().TextoCifrado()->Texto()), texto);
      EXPECT_TRUE(avisos.isEmpty());
      antes = texto;
    } else {
      EXPECT_EQ(v->txtTC()->textoMostrado(), antes);
      ASSERT_EQ(avisos.size(), 1);
      EXPECT_TRUE(avisos[0].contains(QStringLiteral("no se puede poner aquí")));
    }
    EXPECT_EQ(v->paginas()->count(), antes.isEmpty() ? 1 : 2);
  }
}

TEST_F(ORVCSSubstTest, ALongCiphertextFillsTheGridAndTakesGuesses) {
  QString cifrado;
  for (int i = 0; i < 20000; ++i) cifrado += simbolo((i * 7 + i / 13) % 64);
  auto texto = std::make_shared<kestrin::ORVTexto>();
  texto->asigna(cifrado.toStdU32String(), kestrin::CSKSust);
  ASSERT_TRUE(v->txtTC()->setCSTexto(texto));
  pestana(*v, 1);
  Rejilla* g = v->FlexTexto();
  ASSERT_EQ(g->Filas(), 2 * 741);
  EXPECT_EQ(g->property("Tag").toString(), QStringLiteral("20"));
  EXPECT_EQ(g->Texto(g->Filas() - 1, 19), cifrado.right(1));
  EXPECT_EQ(g->Texto(g->Filas() - 1, 20), QString());

  // A guess near the end: the grid stays where it was and shows it everywhere.
  const int f = g->Filas() - 2;
  ASSERT_TRUE(escribeCelda(g, f, 3, QStringLiteral("q")));
  const QString x = g->Texto(f + 1, 3);
  EXPECT_EQ(v->FlexClaves()->Texto(1, 18), x);  // "q" is 18, after "ñ"
  EXPECT_EQ(g->Fila(), f);
  EXPECT_GT(g->FilaSuperior(), g->Filas() / 2);
  int veces = 0;
  for (int r = 1; r < g->Filas(); r += 2)
    for (int c = 0; c < 27; ++c)
      if (g->Texto(r, c) == x) {
        EXPECT_EQ(g->Texto(r - 1, c), QStringLiteral("q"));
        ++veces;
      }
  EXPECT_EQ(veces, cifrado.count(x));
}

// A substitution ciphertext of Spanish prose, broken by "Resolver": the key
// found goes to the key grid, symbols absent from the text stay "_", and the
// hand work goes on from there.
TEST_F(ORVCSSubstTest, ResolverFillsTheKeyGridAndTheHandEditsGoOnFromIt) {
  const QString claro = prueba::corpus(2000);
  if (claro.isEmpty()) GTEST_SKIP() << "no se encuentra ../shared/corpus/es.txt";
  eligeDelMenu(v->MenuClaveAleatoria());
  const QString verdadera = filaClave();
  v->TxtTO()->area()->setPlainText(claro);
  pulsa(v->cmdCifra());
  ASSERT_EQ(v->paginas()->count(), 2);
  pestana(*v, 1);
  eligeDelMenu(v->MenuBorrarClave());
  ASSERT_EQ(filaClave(), QString(64, QLatin1Char('_')));

  EXPECT_FALSE(v->Franja()->isVisible());
  pulsa(v->CmdResolver());
  if (v->Calculo()->ocupado()) {
    // Nothing that could change the key or the text while the search runs.
    EXPECT_FALSE(v->CmdResolver()->isEnabled());
    EXPECT_FALSE(v->FlexClaves()->isEnabled());
    EXPECT_FALSE(v->FlexTexto()->isEnabled());
    EXPECT_FALSE(v->tsCripto()->isEnabled());
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return !v->Calculo()->ocupado(); }, 60000));
  ASSERT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(v->CmdResolver()->isEnabled());
  EXPECT_TRUE(v->FlexClaves()->isEnabled());
  EXPECT_TRUE(v->TextResolver()->text().startsWith(QStringLiteral("Clave encontrada")));
  EXPECT_EQ(v->Semilla(), 2);

  // Symbols of the text have a cipher symbol, the others none; the window's
  // cryptosystem holds what the grid shows.
  const QString plegado = pliega(claro);
  int distintos = 0;
  for (int i = 0; i < 64; ++i) {
    const QString celda = v->FlexClaves()->Texto(1, i);
    EXPECT_EQ(QString::fromStdU32String(v->cs().Clave(kestrin::Variante(i))), celda) << i;
    if (plegado.contains(simbolo(i))) {
      ++distintos;
      EXPECT_NE(celda, QStringLiteral("_")) << i;
    } else {
      EXPECT_EQ(celda, QStringLiteral("_")) << i;
    }
  }
  // No cipher symbol twice, so the bold symbols are those no plain symbol has.
  EXPECT_EQ(negritas().size(), 64 - distintos);
  // The decipherment on the page is nearly all right.
  const QString descifrado = QString::fromStdU32String(v->TxtTO()->CSTexto()->Texto());
  ASSERT_EQ(descifrado.size(), plegado.size());
  int bien = 0;
  for (qsizetype k = 0; k < plegado.size(); ++k) bien += descifrado[k] == plegado[k];
  EXPECT_GE(bien * 100, 98 * plegado.size()) << bien << " de " << plegado.size();
  EXPECT_EQ(filaTexto(0), descifrado.left(27));

  // A guess withdrawn and written again under the first cipher symbol.
  const QString x = v->FlexTexto()->Texto(1, 0);
  const QString p = v->FlexTexto()->Texto(0, 0);
  const int columna = kAlfabeto.indexOf(p);
  ASSERT_GE(columna, 0);
  ASSERT_EQ(v->FlexClaves()->Texto(1, columna), x);
  ASSERT_TRUE(escribeCelda(v->FlexTexto(), 0, 0, QStringLiteral("_")));
  EXPECT_EQ(v->FlexClaves()->Texto(1, columna), QStringLiteral("_"));
  EXPECT_EQ(v->FlexTexto()->Texto(0, 0), QStringLiteral("_"));
  ASSERT_TRUE(escribeCelda(v->FlexTexto(), 0, 0, p));
  EXPECT_EQ(v->FlexClaves()->Texto(1, columna), x);
  EXPECT_EQ(v->FlexTexto()->Texto(0, 0), p);
  // The true key agrees wherever the search had it right.
  int iguales = 0;
  for (int i = 0; i < 64; ++i) iguales += v->FlexClaves()->Texto(1, i) == verdadera.mid(i, 1);
  EXPECT_GE(iguales, distintos - 6);
}

// The window may go while its search runs: the worker keeps its own
// cryptosystem and text, and nothing of it reaches the window.
TEST_F(ORVCSSubstTest, ClosingTheWindowWhileResolverRunsIsSafe) {
  const QString claro = prueba::corpus(30000);
  if (claro.isEmpty()) GTEST_SKIP() << "no se encuentra ../shared/corpus/es.txt";
  eligeDelMenu(v->MenuClaveAleatoria());
  v->TxtTO()->area()->setPlainText(claro);
  pulsa(v->cmdCifra());
  pestana(*v, 1);
  pulsa(v->CmdResolver());
  ASSERT_TRUE(v->Calculo()->ocupado());
  v->Resuelve();  // ignored: one search at a time
  EXPECT_EQ(v->Semilla(), 2);
  v.reset();
  const auto retirados = [] {
    return qApp->findChildren<QObject*>(QStringLiteral("CalculoEnFondo.retirado"),
                                        Qt::FindDirectChildrenOnly)
        .size();
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return retirados() == 0; }, 60000));
  v = abre();
}

}  // namespace
}  // namespace orv
