// The RSA laboratory driven as a user would: typing the key fields and leaving
// them, the buttons, the toolbar and the key list, the text boxes' files and
// the key generator. Every test's key file lies in a folder of its own.
#include "orv/orvcsrsa.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "halvard/orvcriptorsa.h"
#include "kestrin/orvtexto.h"
#include "orv/arranque.h"
#include "orv/generadorrsa.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace orv {
namespace {

// A small key: two Mersenne primes, 216 bits of modulus.
const QString kP = QStringLiteral("170141183460469231731687303715884105727");  // 2^127-1
const QString kQ = QStringLiteral("618970019642690137449562111");              // 2^89-1
const QString kN =
    QStringLiteral("105312291668557186697918027513529248857806893649219117400977309697");
const QString kD =
    QStringLiteral("52724439659078533542050878056119532687363428290303798353933435053");
const QString kPhi =
    QStringLiteral("105312291668557186697918027343388065396718691897889123547643641860");

class ORVCSRSATest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    registraBibliotecas();
    instalaProcesaEventos();
  }

  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    v = std::make_unique<ORVCSRSA>();
    v->setFicheroClaves(fichero());
    v->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    v->avisaCritico = [this](const QString& titulo, const QString& texto) {
      criticos << titulo + ": " + texto;
    };
    v->abreEditor = [this](const QUrl& url) {
      abiertos << url;
      return editorDisponible;
    };
    for (pemmick::ORVExtTextBox* caja : {v->TextTO(), v->textTC()})
      caja->avisa = [this](const QString& titulo, const QString& texto) {
        avisos << titulo + ": " + texto;
      };
    v->show();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
  }

  QString fichero() const { return carpeta.filePath(QStringLiteral("claves.rsa")); }
  QByteArray contenido() const {
    QFile f(fichero());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void escribeFichero(const QByteArray& bytes) {
    QFile f(fichero());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  // Types into a field and leaves it for the identifier box.
  void escribe(QWidget* campo, const QString& texto) {
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(campo, Qt::Key_Delete);
    QTest::keyClicks(campo, texto);
    v->TextId()->setFocus();
    QCoreApplication::processEvents();
  }
  void escribeBloque(const QString& texto) {
    v->TextTamBloque()->setFocus();
    v->TextTamBloque()->caja()->selectAll();
    QTest::keyClick(v->TextTamBloque()->caja(), Qt::Key_Delete);
    QTest::keyClicks(v->TextTamBloque()->caja(), texto);
    QTest::keyClick(v->TextTamBloque(), Qt::Key_Return);
  }
  // The small key typed as expressions, block size 2.
  void claveMersenne() {
    escribeBloque(QStringLiteral("2"));
    escribe(v->TextExponente(), QStringLiteral("2^16+1"));
    escribe(v->TextClaveFactor(1), QStringLiteral("2^127-1"));
    escribe(v->TextClaveFactor(2), QStringLiteral("2^89 - 1"));
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  void herramienta(const char* key) {
    QWidget* b = v->Toolbar()->widgetForAction(v->boton(QString::fromLatin1(key)));
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
  }
  // Clicks a row of the key list.
  void eligeFila(int32_t fila) {
    QTableWidget* t = v->FlexClaves()->tabla();
    const QRect r =
        t->visualItemRect(t->item(fila - 1, 1) ? t->item(fila - 1, 1) : t->item(fila - 1, 0));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
  }
  // The first row of the list whose column 0 or 1 holds that text.
  int32_t filaDe(const QString& texto) const {
    Rejilla* g = v->FlexClaves();
    for (int32_t f = 1; f < g->Filas(); ++f)
      if (g->Texto(f, 0) == texto || g->Texto(f, 1) == texto) return f;
    return -1;
  }
  QStringList clave() const {
    const halvard::ORVCriptoRSA& cs = v->cs();
    return {
        QString::fromStdU32String(cs.ClaveFactor(1)), QString::fromStdU32String(cs.ClaveFactor(2)),
        QString::fromStdU32String(cs.Clave()),        QString::number(cs.TamBloque()),
        QString::fromStdU32String(cs.Exponente()),    QString::fromStdU32String(cs.ClavePrivada())};
  }
  // Enciphers the plain box's text and deciphers it back: what comes back.
  QString idaYVuelta(const QString& texto) {
    v->TextTO()->area()->setPlainText(texto);
    pulsa(v->cmdCifra());
    v->TextTO()->area()->clear();
    pulsa(v->cmdDescifra());
    return QString::fromStdU32String(v->TextTO()->CSTexto()->Texto());
  }

  QTemporaryDir carpeta;
  std::unique_ptr<ORVCSRSA> v;
  QStringList avisos;
  QStringList criticos;
  QList<QUrl> abiertos;
  bool editorDisponible = true;
};

TEST_F(ORVCSRSATest, LoadsWithTheDesignsControlsAndNothingToRun) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("R.S.A."));
  EXPECT_EQ(v->tsClave()->tabText(0), QStringLiteral("Clave"));
  EXPECT_EQ(v->tsClave()->tabText(1), QStringLiteral("Cifrado"));
  EXPECT_EQ(v->Pestanas()->currentIndex(), 0);
  EXPECT_EQ(v->PanelPublico()->title(), QStringLiteral("Público"));
  EXPECT_EQ(v->Panelprivado()->title(), QStringLiteral("Privado"));
  EXPECT_EQ(v->TextId()->toolTip(), QStringLiteral("Identificador de la clave"));
  EXPECT_EQ(v->boton("abrir")->toolTip(),
            QStringLiteral("Recupera una clave previamente guardada"));
  EXPECT_EQ(v->boton("guardar")->toolTip(), QStringLiteral("Guarda la clave en disco"));
  EXPECT_EQ(v->boton("claves")->toolTip(), QStringLiteral("Edita las claves guardadas"));
  EXPECT_FALSE(v->FlexClaves()->isVisible());
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 0 bits"));
  EXPECT_EQ(v->TextTamBloque()->texto(), QStringLiteral("1"));
  EXPECT_EQ(v->textTC()->KeysAccepted(), kestrin::CSKRSA);
  EXPECT_EQ(v->textTC()->Key(), kestrin::CSKRSA);
  EXPECT_EQ(v->textTC()->BackColor(), 0xE0E0E0u);
  EXPECT_EQ(v->textTC()->Separadores(), QStringLiteral(" "));
  EXPECT_FALSE(v->cmdCifra()->isEnabled());
  EXPECT_FALSE(v->cmdDescifra()->isEnabled());
  EXPECT_FALSE(v->textTC()->boton(QStringLiteral("guardar"))->isEnabled());
  v->Pestanas()->setCurrentIndex(1);
  QCoreApplication::processEvents();
  EXPECT_EQ(v->cmdCifra()->width() + v->cmdDescifra()->width(), v->PanelCifrar()->width());
  EXPECT_EQ(v->cmdCifra()->Caption(), QStringLiteral("Cifra"));
  EXPECT_EQ(v->cmdDescifra()->Caption(), QStringLiteral("Descifra"));
  // A text of another system is refused by the ciphertext box.
  auto afin = std::make_shared<kestrin::ORVTexto>();
  afin->asigna(U"abc", kestrin::CSKAfin);
  EXPECT_FALSE(v->textTC()->setCSTexto(afin));
}

TEST_F(ORVCSRSATest, ExpressionsAreReplacedByTheirValuesAndTheKeyIsBuilt) {
  claveMersenne();
  EXPECT_EQ(v->TextClaveFactor(1)->texto(), kP);
  EXPECT_EQ(v->TextClaveFactor(2)->texto(), kQ);
  EXPECT_EQ(v->TextExponente()->texto(), QStringLiteral("65537"));
  EXPECT_EQ(v->TextClave()->texto(), kN);
  EXPECT_EQ(v->TextClavePrivada()->texto(), kD);
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 216 bits"));
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());
  EXPECT_TRUE(v->textTC()->boton(QStringLiteral("guardar"))->isEnabled());
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();

  // The evaluator behind the fields: whole numbers of any size and sign.
  struct Caso {
    const char* expresion;
    std::optional<QString> valor;
  };
  const Caso casos[] = {{"", QString()},
                        {" 17 mod 5 ", QStringLiteral("2")},
                        {"0", QStringLiteral("0")},
                        {"-7*3", QStringLiteral("-21")},
                        {"10/2", QStringLiteral("5")},
                        {"7/2", std::nullopt},
                        {"abc", std::nullopt},
                        {"2^", std::nullopt}};
  for (const Caso& c : casos)
    EXPECT_EQ(evaluaEntero(QString::fromUtf8(c.expresion)), c.valor) << c.expresion;
  const auto grande = evaluaEntero(QStringLiteral("2^4096+1"));
  ASSERT_TRUE(grande);
  EXPECT_EQ(grande->size(), 1234);
  EXPECT_TRUE(grande->endsWith(QLatin1String("7")));  // 2^4096 ends in 6
}

TEST_F(ORVCSRSATest, KeyErrorsAreShownInTheClaveErroneaBoxAndChangeNothingTheyShouldNot) {
  struct Caso {
    const char* nombre;
    std::function<void()> escribe;
    QString aviso;
  };
  const Caso casos[] = {
      {"a factor that is not above the largest block",
       [&] { escribe(v->TextClaveFactor(1), QStringLiteral("251")); },
       QStringLiteral("Clave errónea: Cada factor primo debe ser mayor que 255255.")},
      {"a factor that is not prime", [&] { escribe(v->TextClaveFactor(1), QStringLiteral("255")); },
       QStringLiteral("Clave errónea: Cada factor debe ser primo.")},
      {"an exponent that shares a factor with phi",
       [&] { escribe(v->TextExponente(), QStringLiteral("3")); },
       QStringLiteral("Clave errónea: El exponente debe ser primo con ") + kPhi},
      {"a factor that is no whole number",
       [&] { escribe(v->TextClaveFactor(2), QStringLiteral("7/2")); },
       QStringLiteral("Clave errónea: El segundo factor primo, «7/2», no es un número entero.")},
      {"a block size too large for the factors", [&] { escribeBloque(QStringLiteral("10")); },
       QStringLiteral("Clave errónea: Cada factor primo debe ser mayor que ") +
           QStringLiteral("255").repeated(10) + QLatin1Char('.')},
  };
  for (const Caso& c : casos) {
    v->cs().VaciaClave();
    claveMersenne();
    ASSERT_TRUE(avisos.isEmpty()) << c.nombre;
    c.escribe();
    EXPECT_EQ(avisos.join('\n').toStdString(), c.aviso.toStdString()) << c.nombre;
    avisos.clear();
  }
  // A factor refused before it reaches the key leaves the key whole.
  v->cs().VaciaClave();
  claveMersenne();
  const QStringList antes = clave();
  escribe(v->TextClaveFactor(2), QStringLiteral("abc"));
  EXPECT_EQ(clave(), antes);
  EXPECT_EQ(v->TextClaveFactor(2)->texto(), kQ);

  // Block sizes that are no whole number from 1 to 4096: refused, the box
  // shows the size in force again.
  for (const QString& tam : {numeroMostrado(2.5, 1), QStringLiteral("abc"), QStringLiteral("0"),
                             QStringLiteral("5000"), QStringLiteral("-1"), QString()}) {
    avisos.clear();
    escribeBloque(tam);
    EXPECT_EQ(avisos.size(), 1) << tam.toStdString();
    EXPECT_TRUE(
        avisos.value(0).contains(QStringLiteral("tiene que ser un número entero de 1 a 4096")))
        << tam.toStdString();
    EXPECT_EQ(v->TextTamBloque()->texto(), QStringLiteral("2")) << tam.toStdString();
    EXPECT_EQ(clave(), antes) << tam.toStdString();
  }
  // The arrows change the size at once.
  avisos.clear();
  QTest::keyClick(v->TextTamBloque(), Qt::Key_Up);
  EXPECT_EQ(v->cs().TamBloque(), 3);
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSRSATest, ButtonsFollowTheModulusTheExponentTheBlockSizeAndThePrivateExponent) {
  struct Caso {
    const char *clave, *exponente, *privada;
    bool cifra, descifra;
  };
  const Caso casos[] = {
      {"", "3", "7", false, false}, {"  ", "3", "7", false, false}, {"33", "", "", false, false},
      {"33", "3", "", true, false}, {"33", "", "7", false, true},   {"33", "3", "7", true, true},
  };
  for (const Caso& c : casos) {
    v->TextClave()->setPlainText(QString::fromUtf8(c.clave));
    v->TextExponente()->setPlainText(QString::fromUtf8(c.exponente));
    v->TextClavePrivada()->setPlainText(QString::fromUtf8(c.privada));
    EXPECT_EQ(v->cmdCifra()->isEnabled(), c.cifra)
        << c.clave << "|" << c.exponente << "|" << c.privada;
    EXPECT_EQ(v->cmdDescifra()->isEnabled(), c.descifra) << c.clave << "|" << c.exponente;
  }
  // A modulus and exponents typed by hand are a key as they stand: n = 33, e = 3, d = 7.
  for (CampoClave* c : {v->TextClave(), v->TextExponente(), v->TextClavePrivada()}) c->setTexto({});
  escribe(v->TextClave(), QStringLiteral("33"));
  escribe(v->TextExponente(), QStringLiteral("3"));
  escribe(v->TextClavePrivada(), QStringLiteral("7"));
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 6 bits"));
  v->Pestanas()->setCurrentIndex(1);
  // Codes below 33 survive a modulus of 33.
  EXPECT_EQ(idaYVuelta(QString(QChar(7)) + QChar(20)), QString(QChar(7)) + QChar(20));
}

TEST_F(ORVCSRSATest, EnciphersAndDeciphersWithTheProgressBarAtTheEnd) {
  claveMersenne();
  v->Pestanas()->setCurrentIndex(1);
  v->TextTO()->area()->setPlainText(QStringLiteral("Hola, mundo"));
  pulsa(v->cmdCifra());
  const auto cifrado = v->textTC()->CSTexto();
  EXPECT_EQ(cifrado->Key(), kestrin::CSKRSA);
  const QStringList bloques = QString::fromStdU32String(cifrado->Texto()).split(' ');
  // 11 characters in blocks of 2: 6 blocks, each followed by a space.
  ASSERT_EQ(bloques.size(), 7);
  EXPECT_TRUE(bloques.last().isEmpty());
  EXPECT_EQ(v->ProgressBar()->maximum(), 6);
  EXPECT_EQ(v->ProgressBar()->value(), 6);
  EXPECT_TRUE(v->cmdCifra()->isEnabled());
  EXPECT_TRUE(v->Panel(0)->isEnabled());

  v->TextTO()->area()->clear();
  pulsa(v->cmdDescifra());
  EXPECT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()),
            QStringLiteral("Hola, mundo "));
  EXPECT_EQ(v->TextTO()->CSTexto()->Key(), kestrin::CSKNone);
  EXPECT_EQ(v->ProgressBar()->value(), 6);

  // A ciphertext typed by hand, line breaks and all, deciphers block by block.
  v->textTC()->area()->setPlainText(bloques.mid(0, 3).join(' ') + '\n' + bloques.mid(3).join(' '));
  pulsa(v->cmdDescifra());
  EXPECT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()),
            QStringLiteral("Hola, mundo "));
  // Nothing to encipher or decipher: the student is told.
  for (pemmick::ORVExtTextBox* caja : {v->TextTO(), v->textTC()}) caja->area()->clear();
  pulsa(v->cmdCifra());
  pulsa(v->cmdDescifra());
  EXPECT_EQ(
      avisos,
      (QStringList{QStringLiteral("Cifra: No hay ningún texto que cifrar en «Original»."),
                   QStringLiteral("Descifra: No hay ningún texto que descifrar en «Cifrado».")}));
  avisos.clear();
  // Nothing that deciphers: the student is told.
  v->textTC()->area()->setPlainText(QStringLiteral("abc  xyz"));
  pulsa(v->cmdDescifra());
  EXPECT_TRUE(v->TextTO()->CSTexto()->Texto().empty());
  ASSERT_EQ(avisos.size(), 1);
  EXPECT_TRUE(avisos[0].startsWith(QStringLiteral("Descifra: Ningún bloque")));
}

TEST_F(ORVCSRSATest, ALongTextMovesTheProgressBarWhileTheWindowKeepsAnsweringAndWaits) {
  // A 1128-bit key (two Mersenne primes) and some 20 KB of text.
  escribeBloque(QStringLiteral("50"));
  escribe(v->TextExponente(), QStringLiteral("65537"));
  escribe(v->TextClaveFactor(1), QStringLiteral("2^521-1"));
  escribe(v->TextClaveFactor(2), QStringLiteral("2^607-1"));
  ASSERT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
  v->Pestanas()->setCurrentIndex(1);
  const QString texto = QStringLiteral("Cuarenta caracteres de texto en claro.. ").repeated(500);
  v->TextTO()->area()->setPlainText(texto);
  pulsa(v->cmdCifra());
  ASSERT_EQ(v->cs().NumBloques(), 400);

  QList<int> valores;
  QObject::connect(v->ProgressBar(), &QProgressBar::valueChanged, v.get(),
                   [&](int x) { valores << x; });
  // While the blocks are deciphered, a timer still fires, the key waits and a
  // second press starts nothing.
  int durante = 0;
  bool claveEspera = false;
  QTimer tic;
  QObject::connect(&tic, &QTimer::timeout, [&] {
    if (!v->Ocupado()) return;
    ++durante;
    claveEspera = !v->Panel(0)->isEnabled() && !v->cmdDescifra()->isEnabled();
    v->Descifra();
  });
  tic.start(1);
  pulsa(v->cmdDescifra());
  tic.stop();
  EXPECT_GT(durante, 0);
  EXPECT_TRUE(claveEspera);
  EXPECT_GT(valores.size(), 2);
  EXPECT_TRUE(std::is_sorted(valores.begin() + 1, valores.end()));
  EXPECT_EQ(valores.last(), 400);
  EXPECT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()), texto);
  EXPECT_TRUE(v->Panel(0)->isEnabled());
  EXPECT_TRUE(v->cmdDescifra()->isEnabled());
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSRSATest, SavingNamesTheKeyByDateAndTimeAndTheSameNameOverwrites) {
  claveMersenne();
  herramienta("guardar");
  const QString id = v->TextId()->text();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                  .match(id)
                  .hasMatch())
      << id.toStdString();
  EXPECT_EQ(v->Secciones(), QStringList{id});
  // The seven entries, in the design's order, in the file's code page.
  const QString texto = QString::fromLatin1(contenido());
  const QStringList nombres{"Nº de bits",   "Primer factor primo", "Segundo factor primo",
                            "Clave",        "Tamaño de bloque",    "Exponente",
                            "Clave privada"};
  qsizetype desde = 0;
  for (const QString& nombre : nombres) {
    const qsizetype en = texto.indexOf(QLatin1Char('\n') + nombre + QLatin1Char('='), desde);
    EXPECT_GT(en, desde - 1) << nombre.toStdString();
    desde = en;
  }
  EXPECT_EQ(v->LeeEntrada(id, QStringLiteral("Nº de bits")), QStringLiteral("216"));
  EXPECT_EQ(v->LeeEntrada(id, QStringLiteral("Clave privada")), kD);

  // The same name twice: one section with the last key.
  v->TextId()->setText(QStringLiteral("  mía "));
  herramienta("guardar");
  EXPECT_EQ(v->TextId()->text(), QStringLiteral("mía"));
  escribe(v->TextExponente(), QStringLiteral("11"));
  herramienta("guardar");
  EXPECT_EQ(v->Secciones(), (QStringList{id, QStringLiteral("mía")}));
  EXPECT_EQ(v->LeeEntrada(QStringLiteral("mía"), QStringLiteral("Exponente")),
            QStringLiteral("11"));

  // What is being typed when "guardar" is pressed is what is saved.
  v->TextExponente()->setFocus();
  QTest::keyClick(v->TextExponente(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(v->TextExponente(), QStringLiteral("13"));
  herramienta("guardar");
  EXPECT_EQ(v->LeeEntrada(QStringLiteral("mía"), QStringLiteral("Exponente")),
            QStringLiteral("13"));
  EXPECT_NE(v->LeeEntrada(QStringLiteral("mía"), QStringLiteral("Clave privada")), kD);
  v->TextId()->setFocus();

  // A name the file cannot hold is refused with a word, the file as it was.
  const QByteArray antes = contenido();
  v->TextId()->setText(QStringLiteral("a]b"));
  herramienta("guardar");
  EXPECT_EQ(contenido(), antes);
  ASSERT_EQ(avisos.size(), 1);
  EXPECT_TRUE(avisos[0].contains(QStringLiteral("No se pudo guardar la clave «a]b»")));
}

TEST_F(ORVCSRSATest, AKeyChosenFromTheListIsLoadedWholeAndWorksAtOnce) {
  claveMersenne();
  v->TextId()->setText(QStringLiteral("uno"));
  herramienta("guardar");
  escribe(v->TextExponente(), QStringLiteral("11"));
  v->TextId()->setText(QStringLiteral("dos"));
  herramienta("guardar");
  const QStringList dos = clave();
  v->cs().VaciaClave();
  v->TextId()->clear();

  herramienta("abrir");
  ASSERT_TRUE(v->FlexClaves()->isVisible());
  EXPECT_TRUE(v->LabelFichero()->text().contains(QDir::toNativeSeparators(fichero())));
  Rejilla* g = v->FlexClaves();
  const int32_t uno = filaDe(QStringLiteral("uno"));
  ASSERT_GT(uno, 0);
  EXPECT_TRUE(g->EsNodo(uno));
  EXPECT_EQ(g->ColorTextoCelda(uno, 0), 0xFF0000u);  // blue
  EXPECT_EQ(g->Texto(uno + 1, 1), QStringLiteral("Nº de bits"));
  EXPECT_EQ(g->Texto(uno + 1, 2), QStringLiteral("216"));

  // Esc hides the list and changes nothing.
  QTest::keyClick(g->tabla(), Qt::Key_Escape);
  EXPECT_FALSE(g->isVisible());
  EXPECT_TRUE(v->cs().Clave().empty());
  // "abrir" shows it and hides it again.
  herramienta("abrir");
  EXPECT_TRUE(g->isVisible());
  herramienta("abrir");
  EXPECT_FALSE(g->isVisible());

  // A click below the last row chooses nothing; Enter chooses the current row.
  herramienta("abrir");
  QTest::mouseClick(g->tabla()->viewport(), Qt::LeftButton, {},
                    QPoint(10, g->tabla()->viewport()->height() - 5));
  EXPECT_TRUE(g->isVisible());
  EXPECT_TRUE(v->cs().Clave().empty());
  g->setFila(uno + 2);
  QTest::keyClick(g->tabla(), Qt::Key_Return);
  EXPECT_FALSE(g->isVisible());
  EXPECT_EQ(v->TextId()->text(), QStringLiteral("uno"));
  EXPECT_EQ(QString::fromStdU32String(v->cs().Exponente()), QStringLiteral("65537"));

  // An entry row of "dos" loads "dos".
  herramienta("abrir");
  const int32_t filaDos = filaDe(QStringLiteral("dos"));
  eligeFila(filaDos + 3);
  EXPECT_FALSE(g->isVisible());
  EXPECT_EQ(v->TextId()->text(), QStringLiteral("dos"));
  EXPECT_EQ(clave(), dos);
  EXPECT_EQ(v->TextClavePrivada()->texto(), QString::fromStdU32String(v->cs().ClavePrivada()));
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 216 bits"));
  v->Pestanas()->setCurrentIndex(1);
  EXPECT_EQ(idaYVuelta(QStringLiteral("Oído")), QStringLiteral("Oído"));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSRSATest, WithoutAKeyFileTheListAndTheEditorSaySo) {
  herramienta("abrir");
  EXPECT_TRUE(v->FlexClaves()->isVisible());
  EXPECT_EQ(v->FlexClaves()->Filas(), 1);
  EXPECT_TRUE(v->LabelFichero()->text().contains(QStringLiteral("no existe")));
  herramienta("abrir");

  herramienta("claves");
  EXPECT_TRUE(abiertos.isEmpty());
  ASSERT_EQ(avisos.size(), 1);
  EXPECT_TRUE(avisos[0].contains(QStringLiteral("Aún no hay claves guardadas")));
  avisos.clear();

  claveMersenne();
  herramienta("guardar");
  herramienta("claves");
  EXPECT_EQ(abiertos, QList<QUrl>{QUrl::fromLocalFile(fichero())});
  EXPECT_TRUE(avisos.isEmpty());
  editorDisponible = false;
  herramienta("claves");
  ASSERT_EQ(avisos.size(), 1);
  EXPECT_TRUE(avisos[0].contains(QStringLiteral("No hay ningún editor de textos")));
}

TEST_F(ORVCSRSATest, MalformedKeysInTheFileAreNotLoadedAndSayWhy) {
  claveMersenne();
  const QStringList antes = clave();
  const QByteArray nul("\x00\x01\xff\xfe[\x80]=\x1b", 9);
  const QByteArray basura("\x01\xff\xfe\x80\x1b");
  struct Caso {
    const char* nombre;
    QByteArray fichero;
    const char* aviso;
    int32_t fila = -1;  // the row clicked: the last by default
  };
  const Caso casos[] = {
      {"block size not a number", "[x]\r\nClave=33\r\nTama\xf1o de bloque=dos\r\n",
       "el tamaño de bloque"},
      {"block size too large", "[x]\nClave=33\nTama\xf1o de bloque=5000\n", "el tamaño de bloque"},
      {"a number with letters", "[x]\nClave=33x\nExponente=3\n", "«Clave» no es un número entero"},
      {"no entry of a key", "[x]\nOtra=1\n", "no tiene ninguna entrada"},
      {"binary bytes", "[x]\n" + nul + "\nClave=12" + basura + "\n",
       "«Clave» no es un número entero"},
      {"a line longer than the reader takes", "[x]\nClave=" + QByteArray(200000, '7') + "\n",
       "«Clave» es más largo"},
      {"entries before any section", "Clave=33\nExponente=3\n[x]\n", "no pertenece a ninguna clave",
       1},
  };
  for (const Caso& c : casos) {
    escribeFichero(c.fichero);
    avisos.clear();
    herramienta("abrir");
    ASSERT_TRUE(v->FlexClaves()->isVisible()) << c.nombre;
    ASSERT_GE(v->FlexClaves()->Filas(), 2) << c.nombre;
    eligeFila(c.fila > 0 ? c.fila : v->FlexClaves()->Filas() - 1);
    EXPECT_EQ(clave(), antes) << c.nombre;
    ASSERT_EQ(avisos.size(), 1) << c.nombre;
    EXPECT_TRUE(avisos[0].contains(QString::fromUtf8(c.aviso)))
        << c.nombre << ": " << avisos[0].toStdString();
    if (v->FlexClaves()->isVisible()) herramienta("abrir");
  }
}

TEST_F(ORVCSRSATest, AnEncipheredFileCarriesItsPublicKeyAndFindsTheRestInTheKeyFile) {
  claveMersenne();
  v->TextId()->setText(QStringLiteral("uno"));
  herramienta("guardar");
  v->Pestanas()->setCurrentIndex(1);
  v->TextTO()->area()->setPlainText(QStringLiteral("Secreto"));
  pulsa(v->cmdCifra());
  const QString bloques = QString::fromStdU32String(v->textTC()->CSTexto()->Texto());
  const QString ruta = carpeta.filePath(QStringLiteral("cifrado.ORV"));
  ASSERT_TRUE(v->textTC()->GuardaFichero(ruta));
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLatin1(f.readAll()), QStringLiteral("[ORVKey=064]Clave=") + kN +
                                                  QStringLiteral(" Exponente=65537 ") + bloques);

  // Another window, a key file that knows the key: the whole key comes back.
  ORVCSRSA otra;
  otra.setFicheroClaves(fichero());
  otra.avisa = v->avisa;
  otra.avisaCritico = v->avisaCritico;
  ASSERT_TRUE(otra.textTC()->LeeFichero(ruta));
  EXPECT_EQ(QString::fromStdU32String(otra.textTC()->CSTexto()->Texto()), bloques);
  EXPECT_EQ(otra.textTC()->Key(), kestrin::CSKRSA);
  EXPECT_EQ(otra.TextId()->text(), QStringLiteral("uno"));
  EXPECT_EQ(QString::fromStdU32String(otra.cs().ClavePrivada()), kD);
  EXPECT_EQ(otra.cs().TamBloque(), 2);
  EXPECT_TRUE(otra.cmdDescifra()->isEnabled());
  otra.Descifra();
  EXPECT_EQ(QString::fromStdU32String(otra.TextTO()->CSTexto()->Texto()),
            QStringLiteral("Secreto "));

  // A key file without it, or none at all: the public part only.
  for (const bool conFichero : {true, false}) {
    ORVCSRSA sola;
    sola.setFicheroClaves(conFichero ? fichero()
                                     : carpeta.filePath(QStringLiteral("no/claves.rsa")));
    sola.avisa = v->avisa;
    if (conFichero) {
      QFile::remove(fichero());
      v->TextId()->setText(QStringLiteral("otra"));
      escribe(v->TextExponente(), QStringLiteral("11"));
      herramienta("guardar");
    }
    sola.TextId()->setText(QStringLiteral("vieja"));
    ASSERT_TRUE(sola.textTC()->LeeFichero(ruta));
    EXPECT_EQ(QString::fromStdU32String(sola.cs().Clave()), kN);
    EXPECT_EQ(QString::fromStdU32String(sola.cs().Exponente()), QStringLiteral("65537"));
    EXPECT_TRUE(sola.cs().ClavePrivada().empty());
    EXPECT_TRUE(sola.cs().ClaveFactor(1).empty());
    EXPECT_TRUE(sola.TextId()->text().isEmpty());
    EXPECT_TRUE(sola.cmdCifra()->isEnabled());
    EXPECT_FALSE(sola.cmdDescifra()->isEnabled());
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
  EXPECT_TRUE(criticos.isEmpty());
}

TEST_F(ORVCSRSATest, AnEncipheredFileWithoutAValidHeaderIsRefusedAndChangesNothing) {
  claveMersenne();
  v->Pestanas()->setCurrentIndex(1);
  v->TextTO()->area()->setPlainText(QStringLiteral("abc"));
  pulsa(v->cmdCifra());
  const QString mostrado = v->textTC()->textoMostrado();
  const QStringList antes = clave();
  const QByteArray basura("\x00\x01\xff\xfe\x80\x1b", 6);
  const std::pair<const char*, QByteArray> casos[] = {
      {"no header", "[ORVKey=064]123 456 "},
      {"no header, no tag", "123 456 "},
      {"only the modulus", "Clave=33 123 "},
      {"only the exponent", "EXPONENTE=3 123 "},
      {"an empty modulus", "Clave= Exponente=3 123 "},
      {"garbage tokens", "Clave=abc Exponente=3 123 "},
      {"binary bytes", "Clave=" + basura + " Exponente=3 " + basura},
      {"a huge line", "Clave=" + QByteArray(300000, '9') + "z Exponente=3 1"},
      {"empty file", ""},
  };
  for (const auto& [nombre, bytes] : casos) {
    const QString ruta = carpeta.filePath(QStringLiteral("malo.ORV"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    criticos.clear();
    EXPECT_FALSE(v->textTC()->LeeFichero(ruta)) << nombre;
    EXPECT_EQ(criticos, QStringList{QStringLiteral(
                            "Fichero erróneo: El fichero RSA leído no tiene un formato válido")})
        << nombre;
    EXPECT_EQ(clave(), antes) << nombre;
    EXPECT_EQ(v->textTC()->textoMostrado(), mostrado) << nombre;
  }
  // Upper or lower case, the header is found; the file's tokens keep their order.
  const QString ruta = carpeta.filePath(QStringLiteral("bien.ORV"));
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("11 CLAVE=33 22 exponente=3 33 ");
  f.close();
  ASSERT_TRUE(v->textTC()->LeeFichero(ruta));
  EXPECT_EQ(v->textTC()->textoMostrado(), QStringLiteral("11 22 33 "));
  EXPECT_EQ(QString::fromStdU32String(v->cs().Clave()), QStringLiteral("33"));
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
}

TEST_F(ORVCSRSATest, GenerarBuildsAWorkingKeyOfTheChosenSize) {
  v->TextId()->setText(QStringLiteral("vieja"));
  v->ComboBits()->setCurrentIndex(v->ComboBits()->findData(512));
  pulsa(v->cmdGenerar());
  ASSERT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
  EXPECT_TRUE(v->BarraGenerando()->isVisible());
  EXPECT_FALSE(v->cmdGenerar()->isEnabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return v->cmdGenerar()->isEnabled(); }, 60000));
  EXPECT_FALSE(v->BarraGenerando()->isVisible());
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
  EXPECT_EQ(v->LabelClave()->text(), QStringLiteral("Clave de 512 bits"));
  EXPECT_FALSE(v->TextClavePrivada()->texto().isEmpty());
  EXPECT_GT(v->cs().TamBloque(), 1);
  EXPECT_TRUE(v->TextId()->text().isEmpty());
  v->Pestanas()->setCurrentIndex(1);
  EXPECT_EQ(
      idaYVuelta(QStringLiteral("Clave generada al azar")),
      QStringLiteral("Clave generada al azar")
          .leftJustified(
              ((22 + v->cs().TamBloque() - 1) / v->cs().TamBloque()) * v->cs().TamBloque(), ' '));
}

}  // namespace
}  // namespace orv
