// The Hill laboratory driven as a user would: the size boxes and their
// arrows, typing matrices into the key and inverse grids and leaving them,
// the buttons, the tabs and the ciphertext box.
#include "orv/orvcshill.h"

#include <gtest/gtest.h>

#include "ayudas_prueba.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "pemmick/orvexttextbox.h"
#include "pemmick/orvrotlabel.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "tarnel/alfabeto.h"
#include "tarnel/orvcriptoafin.h"
#include "tarnel/orvcriptohill.h"
#include "tarnel/orvmatriz.h"

namespace orv {
namespace {

using Matriz = std::vector<QStringList>;

// A number with the user's decimal separator, as a student types it.
QString decimal(const char* entero, const char* fraccion) {
  const char32_t d = ORVW().Formato().decimal;
  return QString::fromLatin1(entero) + QString::fromUcs4(&d, 1) + QString::fromLatin1(fraccion);
}

using prueba::teclea;

class ORVCSHillTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { registraBibliotecas(); }

  void SetUp() override { nueva(); }

  // A fresh window, shown and active, whose messages are recorded.
  void nueva() {
    v = std::make_unique<ORVCSHill>();
    v->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    for (pemmick::ORVExtTextBox* caja : {v->TextTO(), v->TextTC()}) {
      caja->avisa = [this](const QString&, const QString& texto) { rechazos << texto; };
    }
    v->show();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
  }

  void pestana(int i) {
    QTest::mouseClick(v->TsCripto(), Qt::LeftButton, {}, v->TsCripto()->tabRect(i).center());
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  static void clic(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

  static QPoint centro(Rejilla* g, int f, int c) {
    QTableWidget* t = g->tabla();
    return t->visualRect(t->model()->index(f - 1, c - 1)).center();
  }
  static void clicCelda(Rejilla* g, int f, int c) {
    QTest::mouseClick(g->tabla()->viewport(), Qt::LeftButton, {}, centro(g, f, c));
  }
  // Clicks a cell, opens its editor (F2 selects what it held), types the
  // text and, with `intro`, closes the editor with Enter; the grid keeps the focus.
  static void escribeCelda(Rejilla* g, int f, int c, const QString& texto, bool intro = true) {
    clicCelda(g, f, c);
    QTest::keyClick(g->tabla(), Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(g->isAncestorOf(editor));
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, texto);
    if (intro) {
      QTest::keyClick(editor, Qt::Key_Return);
      // The editor hands its text over once the key has been handled.
      QCoreApplication::processEvents();
      ASSERT_FALSE(g->editando());
    }
  }
  static void escribeMatriz(Rejilla* g, const Matriz& m) {
    for (size_t i = 0; i < m.size(); ++i)
      for (qsizetype j = 0; j < m[i].size(); ++j)
        escribeCelda(g, static_cast<int>(i + 1), static_cast<int>(j + 1), m[i][j]);
  }
  static Matriz lee(const Rejilla* g) {
    Matriz m;
    for (int f = 1; f < g->Filas(); ++f) {
      QStringList fila;
      for (int c = 1; c < g->Columnas(); ++c) fila << g->Texto(f, c);
      m.push_back(fila);
    }
    return m;
  }
  Matriz clave() const {
    Matriz m;
    const auto& k = v->cs().Clave();
    for (int f = 1; f <= v->cs().TamClave(); ++f) {
      QStringList fila;
      for (int c = 1; c <= v->cs().TamClave(); ++c) fila << QString::number(k->Elemento(f, c));
      m.push_back(fila);
    }
    return m;
  }

  // The key grid typed and left with a click on the plain text.
  void escribeClave(const Matriz& m) {
    pestana(0);
    escribeMatriz(v->FlexClave(), m);
    clic(v->TextTO()->area());
  }
  // The inverse grid typed and left with a click on the ciphertext.
  void escribeInversa(const Matriz& m) {
    pestana(1);
    escribeMatriz(v->FlexClaveInversa(), m);
    clic(v->TextTC()->area());
  }

  // Selects the box's text and pastes `texto` over it, as one change.
  static void pegaTamano(CajaArribaAbajo* caja, const QString& texto) {
    clic(caja->caja());
    caja->caja()->selectAll();
    QGuiApplication::clipboard()->setText(texto);
    if (texto.isEmpty())
      QTest::keyClick(caja->caja(), Qt::Key_Delete);
    else
      QTest::keyClick(caja->caja(), Qt::Key_V, Qt::ControlModifier);
  }

  void esperaTamano(int n, const char* caso) {
    EXPECT_EQ(v->cs().TamClave(), n) << caso;
    for (Rejilla* g : {v->FlexClave(), v->FlexClaveInversa()}) {
      EXPECT_EQ(g->Filas(), n + 1) << caso;
      EXPECT_EQ(g->Columnas(), n + 1) << caso;
      for (int i = 1; i <= n; ++i) {
        EXPECT_EQ(g->Texto(0, i), QString::number(i)) << caso;
        EXPECT_EQ(g->Texto(i, 0), QString::number(i)) << caso;
      }
    }
  }

  std::unique_ptr<ORVCSHill> v;
  QStringList avisos;
  QStringList rechazos;
};

TEST_F(ORVCSHillTest, LoadsWithBlockSizeTwoAndTwoSquareGrids) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Criptosistema de Hill"));
  EXPECT_FALSE(v->windowIcon().isNull());
  EXPECT_EQ(v->TsCripto()->count(), 3);
  EXPECT_EQ(v->TsCripto()->tabText(0), QStringLiteral("Clave y texto"));
  EXPECT_EQ(v->TsCripto()->tabText(1), QStringLiteral("Texto Cifrado"));
  EXPECT_EQ(v->TsCripto()->tabText(2), QStringLiteral("Texto conocido"));
  EXPECT_EQ(v->TsCripto()->currentIndex(), 0);
  EXPECT_TRUE(v->panel(1)->isVisible());
  EXPECT_FALSE(v->panel(2)->isVisible());
  EXPECT_EQ(v->panel(1)->objectName(), QStringLiteral("panel(1)"));
  EXPECT_EQ(v->LabelTO()->Caption(), QStringLiteral("Texto original"));
  EXPECT_EQ(v->LabelTC()->Caption(), QStringLiteral("Texto Cifrado"));
  EXPECT_EQ(v->CmdCifra()->Caption(), QStringLiteral("Cifra"));
  EXPECT_EQ(v->CmdDescifra()->Caption(), QStringLiteral("Descifra"));
  for (pemmick::ORVExtTextBox* caja : {v->TextTO(), v->TextTC()}) {
    EXPECT_EQ(caja->FontName(), QStringLiteral("Arial"));
    EXPECT_FLOAT_EQ(caja->FontSize(), 9.75F);
    EXPECT_EQ(caja->MostrarEspaciosComo(), QStringLiteral("·"));
  }
  EXPECT_EQ(v->TextTC()->KeysAccepted(), kestrin::CSKHill);

  EXPECT_EQ(v->TextTamClave()->texto(), QStringLiteral("2"));
  EXPECT_EQ(v->TextTamClaveInversa()->texto(), QStringLiteral("2"));
  esperaTamano(2, "new window");
  for (Rejilla* g : {v->FlexClave(), v->FlexClaveInversa()}) {
    EXPECT_TRUE(g->Editable());
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(g->AnchoColumna(c), g->AltoFila(0)) << c;  // square cells
      EXPECT_EQ(g->AltoFila(c), g->AltoFila(0)) << c;
      EXPECT_EQ(g->AlineacionColumna(c), CentroCentro) << c;
    }
    for (int f = 1; f < 3; ++f)
      for (int c = 1; c < 3; ++c) EXPECT_TRUE(g->Texto(f, c).isEmpty());
  }
  // The key is all 0 and has no inverse: "Descifra" says so and waits.
  EXPECT_FALSE(v->CmdDescifra()->isEnabled());
  EXPECT_FALSE(v->CmdDescifra()->toolTip().isEmpty());
  EXPECT_TRUE(v->CmdCifra()->isEnabled());
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, LeavingTheKeyGridShowsTheInverseAndTheInverseGivesTheKeyBack) {
  struct Caso {
    const char* nombre;
    Matriz clave;
    Matriz inversa;
    Matriz claveLeida;  // the key as the grid shows it when it comes back
  };
  const Caso casos[] = {
      {"determinant 11",
       {{"3", "5"}, {"2", "7"}},
       {{"53", "17"}, {"58", "41"}},
       {{"3", "5"}, {"2", "7"}}},
      {"identity", {{"1", "0"}, {"0", "1"}}, {{"1", "0"}, {"0", "1"}}, {{"1", "0"}, {"0", "1"}}},
      {"shear", {{"1", "1"}, {"0", "1"}}, {{"1", "63"}, {"0", "1"}}, {{"1", "1"}, {"0", "1"}}},
      {"negative and large elements",
       {{"-1", "66"}, {"0", "5"}},
       {{"63", "26"}, {"0", "13"}},
       {{"63", "2"}, {"0", "5"}}},
  };
  for (const Caso& c : casos) {
    nueva();
    escribeClave(c.clave);
    EXPECT_EQ(lee(v->FlexClaveInversa()), c.inversa) << c.nombre;
    EXPECT_EQ(lee(v->FlexClave()), c.clave) << c.nombre;  // the key grid keeps what was typed
    // The inverse shown is the key's: their product is the identity.
    const auto producto = v->cs().Clave()->Por(v->cs().ClaveInversa());
    ASSERT_TRUE(producto) << c.nombre;
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= 2; ++j) EXPECT_EQ(producto->Elemento(i, j), i == j ? 1 : 0) << c.nombre;
    EXPECT_TRUE(v->CmdDescifra()->isEnabled()) << c.nombre;
    EXPECT_TRUE(v->CmdDescifra()->toolTip().isEmpty()) << c.nombre;

    // The inverse typed into a fresh window gives the key back, in the
    // grid and in the cryptosystem.
    nueva();
    escribeInversa(c.inversa);
    EXPECT_EQ(lee(v->FlexClave()), c.claveLeida) << c.nombre;
    EXPECT_EQ(clave(), c.claveLeida) << c.nombre;
    EXPECT_EQ(lee(v->FlexClaveInversa()), c.inversa) << c.nombre;
    EXPECT_TRUE(v->CmdDescifra()->isEnabled()) << c.nombre;
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ORVCSHillTest, AKeyWithAnEvenDeterminantEmptiesTheInverseAndDeciphersNothing) {
  struct Caso {
    const char* nombre;
    Matriz clave;
  };
  const Caso casos[] = {
      {"even diagonal", {{"2", "0"}, {"0", "1"}}},
      {"determinant 2", {{"2", "4"}, {"1", "3"}}},
      {"determinant 0", {{"4", "6"}, {"2", "3"}}},
      {"odd elements, even determinant", {{"3", "5"}, {"1", "3"}}},
      {"all empty", {{"", ""}, {"", ""}}},
  };
  for (const Caso& c : casos) {
    // A working key first: the inverse is shown and a ciphertext made.
    nueva();
    escribeClave({{"3", "5"}, {"2", "7"}});
    ASSERT_EQ(lee(v->FlexClaveInversa()), (Matriz{{"53", "17"}, {"58", "41"}}));
    teclea(v->TextTO()->area(), QStringLiteral("hola"));
    pulsa(v->CmdCifra());
    const auto cifrado = v->TextTC()->CSTexto();
    ASSERT_EQ(cifrado->Texto().size(), 4u);

    escribeClave(c.clave);
    EXPECT_EQ(lee(v->FlexClaveInversa()), (Matriz{{"", ""}, {"", ""}})) << c.nombre;
    EXPECT_FALSE(v->cs().ClaveInversa()) << c.nombre;
    EXPECT_FALSE(v->CmdDescifra()->isEnabled()) << c.nombre;
    EXPECT_FALSE(v->CmdDescifra()->toolTip().isEmpty()) << c.nombre;

    // "Descifra" changes nothing: neither text, nor the page in front.
    v->TextTO()->area()->clear();
    pestana(1);
    pulsa(v->CmdDescifra());
    EXPECT_EQ(v->TsCripto()->currentIndex(), 1) << c.nombre;
    EXPECT_EQ(v->TextTC()->CSTexto(), cifrado) << c.nombre;
    EXPECT_TRUE(v->TextTO()->CSTexto()->Texto().empty()) << c.nombre;
  }

  // A matrix without inverse typed into the inverse grid leaves the key.
  nueva();
  escribeClave({{"3", "5"}, {"2", "7"}});
  escribeInversa({{"2", "0"}, {"0", "1"}});
  EXPECT_EQ(lee(v->FlexClave()), (Matriz{{"3", "5"}, {"2", "7"}}));
  EXPECT_EQ(clave(), (Matriz{{"3", "5"}, {"2", "7"}}));
  EXPECT_TRUE(v->CmdDescifra()->isEnabled());
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, EitherSizeBoxSizesBothGridsAndKeepsTheCells) {
  escribeClave({{"3", "5"}, {"2", "7"}});

  // "3" in the inverse size box: the other box and both grids follow.
  pestana(1);
  pegaTamano(v->TextTamClaveInversa(), QStringLiteral("3"));
  EXPECT_EQ(v->TextTamClave()->texto(), QStringLiteral("3"));
  EXPECT_EQ(v->TextTamClaveInversa()->texto(), QStringLiteral("3"));
  esperaTamano(3, "3 in the inverse box");
  for (Rejilla* g : {v->FlexClave(), v->FlexClaveInversa()})
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(g->AnchoColumna(c), g->AltoFila(0));
      EXPECT_EQ(g->AltoFila(c), g->AltoFila(0));
      EXPECT_EQ(g->AlineacionColumna(c), CentroCentro);
    }
  // The cells keep their texts, and the key is what the grid shows: with an
  // empty third row and column it has no inverse.
  EXPECT_EQ(lee(v->FlexClave()), (Matriz{{"3", "5", ""}, {"2", "7", ""}, {"", "", ""}}));
  EXPECT_EQ(clave(), (Matriz{{"3", "5", "0"}, {"2", "7", "0"}, {"0", "0", "0"}}));
  EXPECT_EQ(lee(v->FlexClaveInversa()), (Matriz{{"", "", ""}, {"", "", ""}, {"", "", ""}}));
  EXPECT_FALSE(v->CmdDescifra()->isEnabled());

  // A 1 in the corner completes a key whose inverse holds the 2 × 2 one.
  escribeClave({{"3", "5", ""}, {"2", "7", ""}, {"", "", "1"}});
  EXPECT_EQ(lee(v->FlexClaveInversa()),
            (Matriz{{"53", "17", "0"}, {"58", "41", "0"}, {"0", "0", "1"}}));

  // The arrows of the first box step the size; both boxes follow.
  clic(v->TextTamClave()->caja());
  QTest::keyClick(v->TextTamClave(), Qt::Key_Up);
  EXPECT_EQ(v->TextTamClaveInversa()->texto(), QStringLiteral("4"));
  esperaTamano(4, "arrow up");
  QTest::keyClick(v->TextTamClave(), Qt::Key_Down);
  QTest::keyClick(v->TextTamClave(), Qt::Key_Down);
  EXPECT_EQ(v->TextTamClaveInversa()->texto(), QStringLiteral("2"));
  esperaTamano(2, "arrow down twice");
  EXPECT_EQ(lee(v->FlexClave()), (Matriz{{"3", "5"}, {"2", "7"}}));
  EXPECT_EQ(lee(v->FlexClaveInversa()), (Matriz{{"53", "17"}, {"58", "41"}}));
  EXPECT_TRUE(v->CmdDescifra()->isEnabled());
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, SizesOutsideOneToTenAreIgnoredAndTheBoxShowsTheSizeAgain) {
  EXPECT_EQ(v->TextTamClave()->minimo(), ORVCSHill::kTamMinimo);
  EXPECT_EQ(v->TextTamClave()->maximo(), ORVCSHill::kTamMaximo);
  pegaTamano(v->TextTamClave(), QStringLiteral("4"));
  struct Caso {
    const char* nombre;
    QString texto;
    int tamano;
  };
  const Caso casos[] = {
      {"0", QStringLiteral("0"), 4},
      {"negative", QStringLiteral("-3"), 4},
      {"one above the limit", QStringLiteral("11"), 4},
      {"huge", QStringLiteral("1e9"), 4},
      {"beyond 32 bits", QStringLiteral("99999999999"), 4},
      {"a word", QStringLiteral("tres"), 4},
      {"empty", QString(), 4},
      {"rounded below 1", decimal("0", "4"), 4},
      {"the limit", QStringLiteral("10"), 10},
      {"rounded to 3", decimal("2", "6"), 3},
      {"the other limit", QStringLiteral("1"), 1},
      {"spaces around", QStringLiteral(" 4 "), 4},
  };
  for (const Caso& c : casos) {
    for (int pagina : {0, 1}) {
      CajaArribaAbajo* caja = pagina == 0 ? v->TextTamClave() : v->TextTamClaveInversa();
      CajaArribaAbajo* otra = pagina == 0 ? v->TextTamClaveInversa() : v->TextTamClave();
      pestana(pagina);
      pegaTamano(caja, c.texto);
      esperaTamano(c.tamano, c.nombre);
      // Leaving the box shows the size in use in it again.
      clic(pagina == 0 ? v->TextTO()->area() : v->TextTC()->area());
      EXPECT_EQ(caja->texto(), QString::number(c.tamano)) << c.nombre;
      EXPECT_EQ(otra->texto(), QString::number(c.tamano)) << c.nombre;
    }
  }
  // An ignored size leaves the grids and their cells as they were.
  pegaTamano(v->TextTamClave(), QStringLiteral("4"));
  escribeClave({{"1", "2", "3", "4"}});
  for (const char* texto : {"0", "12", "cuatro"}) {
    pegaTamano(v->TextTamClave(), QString::fromLatin1(texto));
    esperaTamano(4, texto);
    EXPECT_EQ(lee(v->FlexClave()).front(), (QStringList{"1", "2", "3", "4"})) << texto;
    EXPECT_EQ(clave().front(), (QStringList{"1", "2", "3", "4"})) << texto;
  }

  // The arrows stop at the limits.
  pegaTamano(v->TextTamClave(), QStringLiteral("10"));
  QTest::keyClick(v->TextTamClave(), Qt::Key_Up);
  esperaTamano(10, "up at 10");
  pegaTamano(v->TextTamClave(), QStringLiteral("1"));
  QTest::keyClick(v->TextTamClave(), Qt::Key_Down);
  esperaTamano(1, "down at 1");
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, ACellThatIsNotANumberCountsAsZero) {
  struct Caso {
    const char* nombre;
    QString texto;
    int elemento;
  };
  const Caso casos[] = {
      {"a word", QStringLiteral("abc"), 0},
      {"emptied", QString(), 0},
      {"spaces", QStringLiteral("   "), 0},
      {"a number and a word", QStringLiteral("5x"), 0},
      {"a number", QStringLiteral("7"), 7},
      {"negative", QStringLiteral("-1"), 63},
      {"above 63", QStringLiteral("65"), 1},
      {"a half rounds to even", decimal("2", "5"), 2},
      {"the next half rounds up", decimal("3", "5"), 4},
      {"an exponent", QStringLiteral("1e2"), 36},
      {"beyond 32 bits, by its remainder", QStringLiteral("4294967297"), 1},
  };
  for (const Caso& c : casos) {
    // The cell held 5 before: the new text replaces it in the key at once.
    escribeCelda(v->FlexClave(), 1, 2, QStringLiteral("5"));
    ASSERT_EQ(v->cs().Clave()->Elemento(1, 2), 5) << c.nombre;
    escribeCelda(v->FlexClave(), 1, 2, c.texto);
    EXPECT_EQ(v->FlexClave()->Texto(1, 2), c.texto) << c.nombre;
    EXPECT_EQ(v->cs().Clave()->Elemento(1, 2), c.elemento) << c.nombre;
    clic(v->TextTO()->area());
    EXPECT_EQ(v->cs().Clave()->Elemento(1, 2), c.elemento) << c.nombre;
  }

  // Through the inverses: words and empty cells are zeros of a diagonal key.
  nueva();
  escribeClave({{"3", "uno"}, {"", "5"}});
  EXPECT_EQ(lee(v->FlexClaveInversa()), (Matriz{{"43", "0"}, {"0", "13"}}));
  nueva();
  escribeInversa({{"43", "x"}, {"", "13"}});
  EXPECT_EQ(lee(v->FlexClave()), (Matriz{{"3", "0"}, {"0", "5"}}));
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, EveryWayOfLeavingTheKeyGridReadsTheKey) {
  // However the student leaves the grid (with a cell still open or not),
  // the key is read and its inverse shown before anything else happens.
  struct Caso {
    const char* nombre;
    bool editorAbierto;
    int forma;  // 0 click on the text, 1 Tab, 2 "Cifra", 3 the other tab
  };
  const Caso casos[] = {
      {"click on the text", false, 0},
      {"click on the text, cell open", true, 0},
      {"Tab", false, 1},
      {"Tab, cell open", true, 1},
      {"Cifra", false, 2},
      {"Cifra, cell open", true, 2},
      {"the other tab", false, 3},
      {"the other tab, cell open", true, 3},
  };
  for (const Caso& c : casos) {
    nueva();
    teclea(v->TextTO()->area(), QStringLiteral("ab"));
    pestana(0);
    escribeMatriz(v->FlexClave(), {{"3", "5"}, {"2", ""}});
    escribeCelda(v->FlexClave(), 2, 2, QStringLiteral("7"), !c.editorAbierto);
    EXPECT_EQ(v->FlexClave()->editando(), c.editorAbierto) << c.nombre;
    switch (c.forma) {
      case 0:
        clic(v->TextTO()->area());
        break;
      case 1:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (c.editorAbierto) {
          // Tab in an open cell goes to the next cell, a second one leaves.
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        break;
      case 2:
        pulsa(v->CmdCifra());
        break;
      case 3:
        pestana(1);
        break;
    }
    EXPECT_FALSE(v->FlexClave()->tabla()->hasFocus()) << c.nombre;
    EXPECT_EQ(clave(), (Matriz{{"3", "5"}, {"2", "7"}})) << c.nombre;
    EXPECT_EQ(lee(v->FlexClaveInversa()), (Matriz{{"53", "17"}, {"58", "41"}})) << c.nombre;
    EXPECT_TRUE(v->CmdDescifra()->isEnabled()) << c.nombre;
    if (c.forma == 2) {
      // Enciphered with the key just typed: "ab" is (1, 2), 3 + 10 = 13, 2 + 14 = 16.
      EXPECT_EQ(v->TsCripto()->currentIndex(), 1) << c.nombre;
      EXPECT_EQ(QString::fromStdU32String(v->TextTC()->CSTexto()->Texto()), QStringLiteral("mo"))
          << c.nombre;
    }
  }
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, EnciphersAndDeciphersASpanishSentence) {
  const QString frase = QStringLiteral("¿Vendrá el señor Núñez mañana? ¡Sí, a las 7!");
  // The folded symbols of the sentence, "·" for each space, padded to whole blocks.
  auto plegada = [&frase](int n) {
    QString s;
    for (const QChar ch : frase) {
      const int valor = tarnel::alfabeto::valor(ch.unicode());
      if (valor >= 0) s += QChar(static_cast<char16_t>(tarnel::alfabeto::simbolo(valor)));
    }
    while (s.size() % n != 0) s += QStringLiteral("·");
    return s;
  };
  struct Caso {
    const char* nombre;
    const char* tamano;
    Matriz clave;
  };
  const Caso casos[] = {
      {"2 × 2", "2", {{"3", "5"}, {"2", "7"}}},
      {"3 × 3", "3", {{"2", "3", "1"}, {"5", "1", "4"}, {"1", "7", "3"}}},
      {"1 × 1", "1", {{"5"}}},
  };
  for (const Caso& c : casos) {
    nueva();
    pegaTamano(v->TextTamClave(), QString::fromLatin1(c.tamano));
    escribeClave(c.clave);
    ASSERT_TRUE(v->CmdDescifra()->isEnabled()) << c.nombre;
    teclea(v->TextTO()->area(), frase);
    // The box keeps each typed space as the "·" it shows.
    ASSERT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()),
              QString(frase).replace(QLatin1Char(' '), QStringLiteral("·")))
        << c.nombre;

    pulsa(v->CmdCifra());
    EXPECT_EQ(v->TsCripto()->currentIndex(), 1) << c.nombre;  // the ciphertext in front
    const auto cifrado = v->TextTC()->CSTexto();
    EXPECT_EQ(cifrado, v->cs().TextoCifrado()) << c.nombre;
    EXPECT_EQ(cifrado->Key(), kestrin::CSKHill) << c.nombre;
    const QString textoCifrado = QString::fromStdU32String(cifrado->Texto());
    const QString esperado = plegada(static_cast<int>(c.clave.size()));
    EXPECT_EQ(textoCifrado.size(), esperado.size()) << c.nombre;
    EXPECT_NE(textoCifrado, esperado) << c.nombre;

    // Deciphering the box's text into an emptied plain box.
    v->TextTO()->area()->clear();
    pulsa(v->CmdDescifra());
    EXPECT_EQ(v->TsCripto()->currentIndex(), 0) << c.nombre;
    EXPECT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()), esperado) << c.nombre;
    EXPECT_EQ(v->TextTO()->CSTexto()->Key(), kestrin::CSKNone) << c.nombre;
    EXPECT_EQ(v->TextTO()->CSTexto(), v->cs().TextoOriginal()) << c.nombre;
  }
  // The 2 × 2 padding: an odd number of symbols gains one "·".
  EXPECT_EQ(plegada(2).size() % 2, 0);
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, TheCiphertextBoxRefusesTextsOfOtherCryptosystems) {
  // An affine ciphertext, as the affine window makes it.
  tarnel::ORVCriptoAfin afin;
  afin.setMultiplicador(kestrin::Moneda(3));
  afin.setDesplazamiento(kestrin::Moneda(5));
  auto claro = std::make_shared<kestrin::ORVTexto>();
  claro->setTexto(U"hola mundo");
  afin.setTextoOriginal(claro);
  afin.Cifra();
  const QString ajeno = QString::fromStdU32String(afin.TextoCifrado()->KeyText());

  // A Hill ciphertext in the box first.
  escribeClave({{"3", "5"}, {"2", "7"}});
  teclea(v->TextTO()->area(), QStringLiteral("hola mundo"));
  pulsa(v->CmdCifra());
  const auto propio = v->TextTC()->CSTexto();
  ASSERT_EQ(propio->Key(), kestrin::CSKHill);
  const kestrin::Cadena textoPropio = propio->Texto();
  const QString mostrado = v->TextTC()->textoMostrado();

  QTemporaryDir carpeta;
  ASSERT_TRUE(carpeta.isValid());
  const QString rutaAjena = carpeta.filePath(QStringLiteral("afin.orv"));
  {
    QFile f(rutaAjena);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ajeno.toUtf8());
  }
  const QString rutaPropia = carpeta.filePath(QStringLiteral("hill.orv"));
  ASSERT_TRUE(v->TextTC()->GuardaFichero(rutaPropia));

  // Pasted or opened, the affine text is refused and the box keeps its text.
  QGuiApplication::clipboard()->setText(ajeno);
  clic(v->TextTC()->area());
  QTest::keyClick(v->TextTC()->area(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(rechazos.size(), 1);
  EXPECT_EQ(rechazos.back(), QStringLiteral("El texto que ha elegido no se puede poner aquí."));
  EXPECT_EQ(v->TextTC()->CSTexto(), propio);
  EXPECT_EQ(v->TextTC()->textoMostrado(), mostrado);
  QString pedido = rutaAjena;
  v->TextTC()->pideFichero = [&pedido](bool, const QString&, const QString&) { return pedido; };
  v->TextTC()->boton(QStringLiteral("abrir"))->trigger();
  EXPECT_EQ(rechazos.size(), 2);
  EXPECT_EQ(v->TextTC()->CSTexto()->Key(), kestrin::CSKHill);

  // A Hill ciphertext read back from its file is taken and deciphers.
  pedido = rutaPropia;
  v->TextTC()->boton(QStringLiteral("abrir"))->trigger();
  EXPECT_EQ(rechazos.size(), 2);
  EXPECT_EQ(v->TextTC()->CSTexto()->Texto(), textoPropio);
  v->TextTO()->area()->clear();
  pulsa(v->CmdDescifra());
  EXPECT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()),
            QStringLiteral("hola·mundo"));
  EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ORVCSHillTest, BothPagesLookAlikeAndTheGridsShowWholeUpToTheLimit) {
  for (const char* tamano : {"1", "2", "5", "10"}) {
    pestana(0);
    pegaTamano(v->TextTamClave(), QString::fromLatin1(tamano));
    for (int pagina : {0, 1}) {
      pestana(pagina);
      QCoreApplication::processEvents();  // the layout follows the new size
      Rejilla* g = pagina == 0 ? v->FlexClave() : v->FlexClaveInversa();
      QTableWidget* t = g->tabla();
      // Every cell inside the grid's view, no scroll bar, the grid inside its panel.
      const QRect vista = t->viewport()->rect();
      const QRect ultima =
          t->visualRect(t->model()->index(t->rowCount() - 1, t->columnCount() - 1));
      EXPECT_TRUE(vista.contains(ultima)) << tamano;
      EXPECT_FALSE(t->horizontalScrollBar()->isVisible()) << tamano;
      EXPECT_FALSE(t->verticalScrollBar()->isVisible()) << tamano;
      QFrame* panel = v->PanelClave(pagina + 1);
      EXPECT_TRUE(panel->rect().contains(g->geometry())) << tamano;
      const QRect boton = (pagina == 0 ? v->CmdCifra() : v->CmdDescifra())->geometry();
      EXPECT_TRUE(panel->rect().contains(boton)) << tamano;
      EXPECT_FALSE(boton.intersects(g->geometry())) << tamano;
      EXPECT_TRUE(v->rect().contains(v->PanelClave(pagina + 1)->mapTo(v.get(), QPoint(0, 0))));
    }
  }
  // The text boxes and their captions take the same place on both pages.
  pestana(1);
  EXPECT_EQ(v->TextTC()->geometry(), v->TextTO()->geometry());
  EXPECT_EQ(v->LabelTC()->geometry(), v->LabelTO()->geometry());
  v->resize(v->width() + 120, v->height() + 60);
  QTest::qWait(1);
  pestana(0);
  EXPECT_EQ(v->TextTC()->geometry(), v->TextTO()->geometry());
  EXPECT_EQ(v->LabelTC()->geometry(), v->LabelTO()->geometry());
}

// The plain text as the cipher reads it: its symbols, padded with "·" to
// whole blocks of n.
QString enBloques(const QString& texto, int n) {
  QString r;
  for (const char32_t c : texto.toStdU32String()) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) r += QString::fromUcs4(std::u32string(1, tarnel::alfabeto::simbolo(v)).data(), 1);
  }
  while (r.size() % n != 0) r += QStringLiteral("·");
  return r;
}

// The cipher text a key (rows of numbers) makes of a plain text, enciphered apart.
QString cifraCon(const Matriz& m, const QString& claro) {
  tarnel::ORVCriptoHill h;
  const auto n = static_cast<int32_t>(m.size());
  h.setTamClave(n);
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j)
      h.Clave()->setElemento(i, j, m[static_cast<size_t>(i - 1)][j - 1].toInt());
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->asigna(claro.toStdU32String(), kestrin::CSKNone);
  h.setTextoOriginal(t);
  h.Cifra();
  return QString::fromStdU32String(h.TextoCifrado()->Texto());
}

// The rows of a key as the list of keys shows them: "3 5 / 2 7".
QString porFilas(const Matriz& m) {
  QStringList filas;
  for (const QStringList& f : m) filas << f.join(QLatin1Char(' '));
  return filas.join(QStringLiteral(" / "));
}

Matriz deFilas(const QString& texto) {
  Matriz m;
  for (const QString& f : texto.split(QStringLiteral(" / ")))
    m.push_back(f.split(QLatin1Char(' ')));
  return m;
}

// A 2 × 2 and a 3 × 3 key broken from a known pair: the key enciphers a text
// on the first page, the pair goes to the known-text page, and the key found
// comes back to the key grid ready to decipher.
TEST_F(ORVCSHillTest, AKnownPairGivesTheKeyBackToTheKeyGrid) {
  const QString claro = prueba::corpus(90);
  if (claro.isEmpty()) GTEST_SKIP() << "no se encuentra ../shared/corpus/es.txt";
  const std::vector<Matriz> claves = {{{"3", "5"}, {"2", "7"}},
                                      {{"2", "3", "1"}, {"5", "1", "4"}, {"1", "7", "3"}}};
  for (const Matriz& k : claves) {
    nueva();
    const int n = static_cast<int>(k.size());
    // The size typed on the known-text page reaches the other two.
    pestana(2);
    pegaTamano(v->TextTamConocido(), QString::number(n));
    esperaTamano(n, "tamaño");
    EXPECT_EQ(v->TextTamClave()->texto(), QString::number(n));
    escribeClave(k);
    v->TextTO()->area()->setPlainText(claro);
    pulsa(v->CmdCifra());
    const auto cifrado = v->TextTC()->CSTexto();
    // Another key in the grid: the search must bring the right one back.
    Matriz identidad(static_cast<size_t>(n), QStringList());
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) identidad[static_cast<size_t>(i)] << (i == j ? "1" : "0");
    escribeClave(identidad);
    ASSERT_EQ(clave(), identidad);

    pestana(2);
    EXPECT_TRUE(v->panel(3)->isVisible());
    v->TextConocidoTO()->area()->setPlainText(claro.left(40));
    v->TextConocidoTC()->setCSTexto(cifrado);
    pulsa(v->CmdBuscarClaves());
    ASSERT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(v->FlexEncontradas()->Filas(), 2) << v->TextEncontradas()->text().toStdString();
    EXPECT_EQ(v->FlexEncontradas()->Texto(1, 1), porFilas(k));
    EXPECT_EQ(v->TextEncontradas()->text(), QStringLiteral("Una sola clave lleva un texto al otro."));
    // Chosen at once: key grid, key, inverse and the chosen-key grid.
    EXPECT_EQ(lee(v->FlexClave()), k);
    EXPECT_EQ(clave(), k);
    EXPECT_EQ(lee(v->FlexClaveElegida()), k);
    EXPECT_FALSE(v->FlexClaveInversa()->Texto(1, 1).isEmpty());
    EXPECT_TRUE(v->CmdDescifra()->isEnabled());
    v->TextTO()->area()->clear();
    pestana(1);
    pulsa(v->CmdDescifra());
    EXPECT_EQ(QString::fromStdU32String(v->TextTO()->CSTexto()->Texto()), enBloques(claro, n));
    // A new size: the keys of the old one go.
    pestana(2);
    pegaTamano(v->TextTamConocido(), QString::number(n + 1));
    EXPECT_EQ(v->FlexEncontradas()->Filas(), 1);
  }
}

// A pair whose blocks do not decide the key lists every key that agrees
// (64 at most); one that no invertible key explains lists none.
TEST_F(ORVCSHillTest, APairThatAllowsSeveralKeysOrNoneSaysSo) {
  // Plain blocks all "bb": only the sum of each row is fixed.
  const Matriz k = {{"3", "5"}, {"2", "7"}};
  const QString claro = QStringLiteral("bbbbbbbb");
  pestana(2);
  v->TextConocidoTO()->area()->setPlainText(claro);
  auto cifrado = std::make_shared<kestrin::ORVTexto>();
  cifrado->asigna(cifraCon(k, claro).toStdU32String(), kestrin::CSKHill);
  v->TextConocidoTC()->setCSTexto(cifrado);
  pulsa(v->CmdBuscarClaves());
  Rejilla* g = v->FlexEncontradas();
  ASSERT_GT(g->Filas(), 3);
  EXPECT_LE(g->Filas(), 65);
  EXPECT_EQ(g->Filas() - 1, v->cs().NumClavesEncontradas());
  EXPECT_EQ(v->TextEncontradas()->text().contains(QStringLiteral("Hay más")),
            v->cs().MasClavesEncontradas());
  for (int32_t f = 1; f < g->Filas(); ++f)
    EXPECT_EQ(cifraCon(deFilas(g->Texto(f, 1)), claro), cifraCon(k, claro)) << f;
  clicCelda(g, 3, 1);
  EXPECT_EQ(lee(v->FlexClave()), deFilas(g->Texto(3, 1)));
  EXPECT_EQ(clave(), deFilas(g->Texto(3, 1)));
  EXPECT_TRUE(v->CmdDescifra()->isEnabled());

  struct Caso {
    const char* claro;
    const char* cifrado;
  };
  // "ab" onto "··" (the zero block): no invertible key sends a block to zero.
  for (const Caso& c : {Caso{"ab", "··"}, Caso{"", ""}, Caso{"abcd", ""}}) {
    v->TextConocidoTO()->area()->setPlainText(QString::fromUtf8(c.claro));
    auto t = std::make_shared<kestrin::ORVTexto>();
    t->asigna(QString::fromUtf8(c.cifrado).toStdU32String(), kestrin::CSKHill);
    v->TextConocidoTC()->setCSTexto(t);
    pulsa(v->CmdBuscarClaves());
    EXPECT_EQ(g->Filas(), 1) << c.claro;
    EXPECT_TRUE(v->TextEncontradas()->text().startsWith(QStringLiteral("Ninguna clave")))
        << c.claro;
  }
  EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace orv
