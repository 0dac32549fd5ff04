// The primes laboratory driven as a user would: typing numbers and
// expressions, the four buttons, the factor table and its clicks, and long
// work that runs while the window stays alive and stops on "Cancelar".
#include "orv/orvprimos.h"

#include <gtest/gtest.h>

#include "ayudas_prueba.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>

#include "kestrin/orvtexto.h"
#include "numbrel/orvbignum.h"
#include "orv/arranque.h"
#include "orv/calculofondo.h"
#include "orv/orvprincipal.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace orv {
namespace {

using prueba::teclea;

// Two 60-digit primes and their product: no method of the service splits it
// in less than minutes.
const QString kP60 = QStringLiteral("314159265358979323846264338327950288419716939937510582097503");
const QString kQ60 = QStringLiteral("271828182845904523536028747135266249775724709369995957496787");
const QString kSemiprimo = QStringLiteral(
    "853973422267356706546355086954657449503488853576511496188266817846974585752263775094792843"
    "52709791763155759343843222861");

// Counts the paint events a widget receives.
class CuentaPintados : public QObject {
 public:
  int pintados = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++pintados;
    return false;
  }
};

class ORVPrimosTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { registraBibliotecas(); }

  void SetUp() override {
    v = std::make_unique<ORVPrimos>();
    v->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    v->show();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
  }

  void TearDown() override {
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
  }

  // Empties the box and types the text into it, key by key.
  static void escribe(pemmick::ORVExtTextBox* caja, const QString& texto) {
    caja->area()->setFocus();
    caja->area()->selectAll();
    QTest::keyClick(caja->area(), Qt::Key_Delete);
    teclea(caja->area(), texto);
  }
  static void escribe(QLineEdit* caja, const QString& texto) {
    caja->setFocus();
    caja->selectAll();
    QTest::keyClick(caja, Qt::Key_Delete);
    teclea(caja, texto);
  }
  static QString texto(const pemmick::ORVExtTextBox* caja) {
    return QString::fromStdU32String(caja->CSTexto()->Texto());
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

  // Waits for the work under way to end (generously: a 2000-bit prime takes
  // seconds on a loaded machine).
  bool acaba() const {
    return QTest::qWaitFor([this] { return !v->calculo()->ocupado(); }, 60000);
  }
  void pulsaYEspera(plankett::FlatButton* b) {
    pulsa(b);
    ASSERT_TRUE(acaba());
  }

  // The factor table as (factor, exponent, red) rows.
  struct Fila {
    QString factor, exponente;
    bool rojo;
    bool operator==(const Fila&) const = default;
  };
  std::vector<Fila> filas() const {
    std::vector<Fila> r;
    const Rejilla* g = v->FlexFactores();
    for (int f = 1; f < g->Filas(); ++f) {
      const bool rojo0 = g->ColorTextoCelda(f, 0) == ORVPrimos::kRojo;
      const bool rojo1 = g->ColorTextoCelda(f, 1) == ORVPrimos::kRojo;
      EXPECT_EQ(rojo0, rojo1) << "fila " << f;
      r.push_back({g->Texto(f, 0), g->Texto(f, 1), rojo0});
    }
    return r;
  }
  void factoriza(const QString& numero) {
    v->paginas()->setCurrentIndex(1);
    escribe(v->TextNumF(), numero);
    pulsaYEspera(v->CmdFactoriza());
  }
  bool botonesActivos() const {
    return v->CmdTest()->isEnabled() && v->cmdSigPrimo()->isEnabled() &&
           v->CMDNumBits()->isEnabled() && v->CmdFactoriza()->isEnabled();
  }
  bool botonesInactivos() const {
    return !v->CmdTest()->isEnabled() && !v->cmdSigPrimo()->isEnabled() &&
           !v->CMDNumBits()->isEnabled() && !v->CmdFactoriza()->isEnabled();
  }

  std::unique_ptr<ORVPrimos> v;
  QStringList avisos;
};

TEST_F(ORVPrimosTest, OpensWithItsTabsButtonsAndAnEmptyTable) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Primos"));
  EXPECT_EQ(v->objectName(), QStringLiteral("ORVPrimos"));
  QTabBar* tabs = v->TabStripPrimos();
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("Primos"));
  EXPECT_EQ(tabs->tabData(0).toString(), QStringLiteral("test"));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("Factorización"));
  EXPECT_EQ(tabs->tabData(1).toString(), QStringLiteral("factorizacion"));
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(v->CmdTest()->Caption(), QStringLiteral("¿Es primo?"));
  EXPECT_EQ(v->cmdSigPrimo()->Caption(), QStringLiteral("Siguiente primo"));
  EXPECT_EQ(v->CMDNumBits()->Caption(), QStringLiteral("Nº de bits"));
  EXPECT_EQ(v->CMDNumBits()->toolTip(),
            QStringLiteral("Pulsa para generar aleatoriamente un primo de ese tamaño"));
  EXPECT_EQ(v->CmdFactoriza()->Caption(), QStringLiteral("Factoriza"));
  EXPECT_EQ(v->TextTest()->text(), QStringLiteral("No es primo"));
  const Rejilla* g = v->FlexFactores();
  ASSERT_EQ(g->Filas(), 1);
  ASSERT_EQ(g->Columnas(), 2);
  EXPECT_EQ(g->Texto(0, 0), QStringLiteral("Factor primo"));
  EXPECT_EQ(g->Texto(0, 1), QStringLiteral("Exponente"));
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(g->AlineacionFija(c), DerechaCentro);
    EXPECT_EQ(g->AlineacionColumna(c), DerechaCentro);
  }
  // Each column half the grid's width, also after a resize.
  for (const QSize tamano : {v->size(), QSize(900, 600)}) {
    v->resize(tamano);
    v->paginas()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_LE(std::abs(g->AnchoColumna(0) - g->AnchoInterior() / 2), 15);
    EXPECT_LE(std::abs(g->AnchoColumna(0) + g->AnchoColumna(1) - g->AnchoInterior()), 15);
  }
  EXPECT_FALSE(v->franja()->isVisible());
  EXPECT_FALSE(v->LabelEstado()->isVisible());
}

TEST_F(ORVPrimosTest, TestSaysWhetherTheNumberIsPrimeAndCountsItsBits) {
  BigNum().setvar(U"P7", U"101");
  const struct {
    const char* numero;
    const char* respuesta;
    const char* bits;
  } casos[] = {
      {"97", "Es primo", "7"},
      {"91", "No es primo", "7"},
      {"2^127-1", "Es primo", "127"},
      {"2^128+1", "No es primo", "129"},
      // Spaces stay spaces: the expression is what was typed.
      {"17 mod 5", "Es primo", "2"},
      // A variable another window set in the shared service.
      {"p7", "Es primo", "7"},
      {"1", "No es primo", "1"},
      {"3/2", "No es primo", "0"},
      {"no es un número", "No es primo", "0"},
  };
  for (const auto& c : casos) {
    escribe(v->TextNumero(), QString::fromUtf8(c.numero));
    pulsaYEspera(v->CmdTest());
    EXPECT_EQ(v->TextTest()->text(), QString::fromUtf8(c.respuesta)) << c.numero;
    EXPECT_EQ(v->TextNumBits()->text(), QString::fromUtf8(c.bits)) << c.numero;
    // The number itself is left as typed.
    EXPECT_EQ(texto(v->TextNumero()), QString::fromUtf8(c.numero));
  }
  BigNum().setvar(U"P7", U"");
}

TEST_F(ORVPrimosTest, NextPrimeReplacesTheNumberByThePrimeAfterIt) {
  const struct {
    const char* numero;
    const char* siguiente;
    const char* bits;
  } casos[] = {
      // After a prime comes the next one, not the prime itself.
      {"97", "101", "7"},
      {"2", "3", "2"},
      {"100", "101", "7"},
      {"10^45", "1000000000000000000000000000000000000000000009", "150"},
      {"2^127-1", "170141183460469231731687303715884105757", "128"},
  };
  for (const auto& c : casos) {
    escribe(v->TextNumero(), QString::fromUtf8(c.numero));
    v->TextTest()->setText(QStringLiteral("No es primo"));
    pulsaYEspera(v->cmdSigPrimo());
    EXPECT_EQ(texto(v->TextNumero()), QString::fromUtf8(c.siguiente)) << c.numero;
    EXPECT_EQ(v->TextNumero()->area()->toPlainText(), QString::fromUtf8(c.siguiente));
    EXPECT_EQ(v->TextTest()->text(), QStringLiteral("Es primo")) << c.numero;
    EXPECT_EQ(v->TextNumBits()->text(), QString::fromUtf8(c.bits)) << c.numero;
  }
  // Pressing again goes on from the prime shown.
  pulsaYEspera(v->cmdSigPrimo());
  EXPECT_EQ(texto(v->TextNumero()), QStringLiteral("170141183460469231731687303715884105773"));
}

TEST_F(ORVPrimosTest, NextPrimeOfAWrongExpressionShowsErrorAndNoPrime) {
  // A malformed expression, a fraction, nothing, and a number beyond the
  // service's reach for primes.
  for (const char* numero : {"2+", "3/2", "", "10^2000"}) {
    escribe(v->TextNumero(), QString::fromUtf8(numero));
    v->TextTest()->setText(QStringLiteral("Es primo"));
    pulsaYEspera(v->cmdSigPrimo());
    EXPECT_EQ(texto(v->TextNumero()), QStringLiteral("Error")) << numero;
    EXPECT_EQ(v->TextTest()->text(), QStringLiteral("No es primo")) << numero;
    EXPECT_EQ(v->TextNumBits()->text(), QStringLiteral("0")) << numero;
  }
}

TEST_F(ORVPrimosTest, BitsOutsideTwoToTwoThousandOnlyReturnTheFocusToTheBitsBox) {
  escribe(v->TextNumero(), QStringLiteral("12345"));
  for (const char* bits : {"1", "3/2", "2001", "0", "-5", "-100000000000", "cien", "", "2^2000"}) {
    escribe(v->TextNumBits(), QString::fromUtf8(bits));
    // The focus is elsewhere when the button is pressed.
    v->TextNumero()->area()->setFocus();
    pulsaYEspera(v->CMDNumBits());
    EXPECT_TRUE(QTest::qWaitFor([&] { return v->TextNumBits()->hasFocus(); }, 2000)) << bits;
    EXPECT_EQ(texto(v->TextNumero()), QStringLiteral("12345")) << bits;
    EXPECT_EQ(v->TextTest()->text(), QStringLiteral("No es primo")) << bits;
    EXPECT_EQ(v->TextNumBits()->text(), QString::fromUtf8(bits));
  }
}

TEST_F(ORVPrimosTest, BitsFromTwoToTwoThousandGenerateAPrimeOfThatSize) {
  numbrel::ORVBigNum& servicio = BigNum();
  const struct {
    const char* bits;
    int32_t esperados;
  } casos[] = {{"2000", 2000}, {"1000+1000", 2000}, {"2", 2}, {"64", 64}};
  for (const auto& c : casos) {
    escribe(v->TextNumBits(), QString::fromUtf8(c.bits));
    v->TextTest()->setText(QStringLiteral("No es primo"));
    const QString antes = texto(v->TextNumero());
    pulsaYEspera(v->CMDNumBits());
    // The second stage, the prime itself, runs after the size was read.
    ASSERT_TRUE(acaba());
    const QString primo = texto(v->TextNumero());
    EXPECT_NE(primo, antes) << c.bits;
    EXPECT_EQ(servicio.NumBits(primo.toStdU32String()), c.esperados) << c.bits;
    EXPECT_TRUE(servicio.EsPrimo(primo.toStdU32String())) << c.bits;
    EXPECT_EQ(v->TextTest()->text(), QStringLiteral("Es primo")) << c.bits;
    // The bits box keeps what was typed.
    EXPECT_EQ(v->TextNumBits()->text(), QString::fromUtf8(c.bits));
  }
}

TEST_F(ORVPrimosTest, FactorisationsAreSortedOneRowPerPrime) {
  const struct {
    const char* numero;
    std::vector<Fila> filas;
  } casos[] = {
      {"360", {{"2", "3", false}, {"3", "2", false}, {"5", "1", false}}},
      // A prime is one row, itself with exponent 1.
      {"1000000007", {{"1000000007", "1", false}}},
      {"2^127-1", {{"170141183460469231731687303715884105727", "1", false}}},
      {"-12", {{"-1", "1", false}, {"2", "2", false}, {"3", "1", false}}},
      // Factors of different lengths, in their numeric order.
      {"1000003*97*13^2",
       {{"13", "2", false}, {"97", "1", false}, {"1000003", "1", false}}},
      {"(10^18+9)*(10^17+3)",
       {{"100000000000000003", "1", false}, {"1000000000000000009", "1", false}}},
      {"1", {}},
  };
  for (const auto& c : casos) {
    factoriza(QString::fromUtf8(c.numero));
    EXPECT_EQ(filas(), c.filas) << c.numero;
    EXPECT_FALSE(v->LabelEstado()->isVisible()) << c.numero;
    if (!c.filas.empty()) {
      // The selection is back on the top-left cell.
      EXPECT_EQ(v->FlexFactores()->Fila(), 1);
      EXPECT_EQ(v->FlexFactores()->Columna(), 0);
    }
  }
}

TEST_F(ORVPrimosTest, WhatIsNoNonzeroIntegerLeavesOnlyTheHeaderAndSaysWhy) {
  factoriza(QStringLiteral("360"));
  ASSERT_EQ(filas().size(), 3u);
  for (const char* numero : {"0", "3/2", "abc", ""}) {
    factoriza(QString::fromUtf8(numero));
    EXPECT_TRUE(filas().empty()) << numero;
    EXPECT_TRUE(v->LabelEstado()->isVisible()) << numero;
    EXPECT_FALSE(v->LabelEstado()->text().isEmpty()) << numero;
  }
}

TEST_F(ORVPrimosTest, ClickingARowCopiesItsFactorAndTheHeaderCopiesNothing) {
  factoriza(QStringLiteral("2^3*1000003"));
  ASSERT_EQ(filas().size(), 2u);
  QClipboard* portapapeles = QGuiApplication::clipboard();
  portapapeles->setText(QStringLiteral("antes"));
  QTableWidget* t = v->FlexFactores()->tabla();
  // The header row.
  QHeaderView* cabecera = t->horizontalHeader();
  for (int c = 0; c < 2; ++c) {
    const QPoint centro(cabecera->sectionViewportPosition(c) + cabecera->sectionSize(c) / 2,
                        cabecera->height() / 2);
    QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {}, centro);
    EXPECT_EQ(portapapeles->text(), QStringLiteral("antes"));
  }
  // Below the last row: no row at all.
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, QPoint(10, t->viewport()->height() - 3));
  EXPECT_EQ(portapapeles->text(), QStringLiteral("antes"));
  // Either cell of a data row copies the row's factor.
  const struct {
    int fila, columna;
    const char* copiado;
  } clics[] = {{0, 0, "2"}, {1, 1, "1000003"}, {0, 1, "2"}};
  for (const auto& c : clics) {
    const QPoint centro = t->visualRect(t->model()->index(c.fila, c.columna)).center();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, centro);
    EXPECT_EQ(portapapeles->text(), QString::fromUtf8(c.copiado));
  }
}

TEST_F(ORVPrimosTest, ALongFactorisationKeepsTheWindowAliveAndCancelShowsItIncompleteInRed) {
  CuentaPintados cuenta;
  v->franja()->barra()->installEventFilter(&cuenta);
  // 2^3 * 3 times a product of two 60-digit primes: the small primes come at
  // once, the rest would take minutes.
  factoriza(QStringLiteral("360"));
  v->paginas()->setCurrentIndex(1);
  escribe(v->TextNumF(), QStringLiteral("24*") + kSemiprimo);
  pulsa(v->CmdFactoriza());
  ASSERT_TRUE(v->calculo()->ocupado());
  EXPECT_TRUE(v->franja()->isVisible());
  EXPECT_TRUE(v->franja()->texto()->text().startsWith(QStringLiteral("Factorizando")));
  EXPECT_TRUE(botonesInactivos());
  EXPECT_EQ(v->cursor().shape(), Qt::BusyCursor);
  // A second start is refused, whichever button.
  EXPECT_FALSE(v->Factoriza());
  EXPECT_FALSE(v->Test());
  EXPECT_FALSE(v->SigPrimo());
  // The interface goes on: the strip counts the seconds and repaints.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return v->franja()->texto()->text().contains(QStringLiteral(", 2 s")); }, 10000))
      << v->franja()->texto()->text().toStdString();
  EXPECT_TRUE(v->calculo()->ocupado());
  EXPECT_GT(cuenta.pintados, 5);
  // The previous table stays until the new one is ready.
  EXPECT_EQ(filas().size(), 3u);

  QElapsedTimer reloj;
  reloj.start();
  pulsa(v->franja()->cmdCancelar());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !v->calculo()->ocupado(); }, 10000));
  const qint64 ms = reloj.elapsed();
  EXPECT_LT(ms, 1000) << "Cancelar tardó " << ms << " ms";
  EXPECT_EQ(filas(), (std::vector<Fila>{{"2", "3", false}, {"3", "1", false}, {kSemiprimo, "1", true}}));
  EXPECT_TRUE(v->LabelEstado()->isVisible());
  EXPECT_TRUE(v->LabelEstado()->text().startsWith(QStringLiteral("Cancelado")));
  EXPECT_FALSE(v->franja()->isVisible());
  EXPECT_TRUE(botonesActivos());
  EXPECT_EQ(v->cursor().shape(), Qt::ArrowCursor);
  // A new start runs normally, and clears the word.
  factoriza(QStringLiteral("360"));
  EXPECT_EQ(filas().size(), 3u);
  EXPECT_FALSE(v->LabelEstado()->isVisible());
}

TEST_F(ORVPrimosTest, CancellingOtherWorkLeavesTheBoxesAsTheyWere) {
  // A Mersenne prime of 44497 bits: its test takes many seconds.
  escribe(v->TextNumero(), QStringLiteral("2^44497-1"));
  v->TextNumBits()->setText(QStringLiteral("7"));
  pulsa(v->CmdTest());
  ASSERT_TRUE(v->calculo()->ocupado());
  EXPECT_TRUE(v->franja()->texto()->text().startsWith(QStringLiteral("Comprobando")));
  QTest::qWait(300);
  QElapsedTimer reloj;
  reloj.start();
  pulsa(v->franja()->cmdCancelar());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !v->calculo()->ocupado(); }, 10000));
  EXPECT_LT(reloj.elapsed(), 1000);
  EXPECT_EQ(texto(v->TextNumero()), QStringLiteral("2^44497-1"));
  EXPECT_EQ(v->TextTest()->text(), QStringLiteral("No es primo"));
  EXPECT_EQ(v->TextNumBits()->text(), QStringLiteral("7"));
  EXPECT_EQ(v->LabelEstado()->text(), QStringLiteral("Cancelado"));
  EXPECT_TRUE(v->LabelEstado()->isVisible());
  EXPECT_TRUE(botonesActivos());
}

TEST_F(ORVPrimosTest, ClosingTheWindowDuringWorkEndsItAtOnce) {
  v->paginas()->setCurrentIndex(1);
  escribe(v->TextNumF(), kSemiprimo);
  pulsa(v->CmdFactoriza());
  ASSERT_TRUE(v->calculo()->ocupado());
  QTest::qWait(200);
  QElapsedTimer reloj;
  reloj.start();
  v->close();
  v.reset();
  EXPECT_LT(reloj.elapsed(), 5000);
}

TEST(ORVPrimosMenu, ThePrimesItemOpensThisWindow) {
  registraBibliotecas();
  const auto w = prueba::ventanaDelMenu("primos");
  EXPECT_NE(qobject_cast<ORVPrimos*>(w.get()), nullptr);
}

TEST(ORVPrimosOrden, FactorsAreOrderedByExactValueAndTheCofactorStaysLast) {
  using primos::Factor;
  const QString grande300 = QStringLiteral("1") + QString(300, QLatin1Char('0')) + QStringLiteral("7");
  const QString grande400 = QStringLiteral("9") + QString(400, QLatin1Char('0')) + QStringLiteral("1");
  const QString grande500 = QStringLiteral("1") + QString(500, QLatin1Char('0')) + QStringLiteral("3");
  const struct {
    std::vector<Factor> entrada;
    bool completa;
    std::vector<Factor> salida;
  } casos[] = {
      {{{"5", "1"}, {"2", "3"}, {"3", "2"}}, true, {{"2", "3"}, {"3", "2"}, {"5", "1"}}},
      // Lengths first, then digits, far beyond what a double holds apart.
      {{{"100000000000000000000000000000000000000000000000003", "1"},
        {"99999999999999999999999999999999999999999999999999", "2"},
        {"100000000000000000000000000000000000000000000000001", "1"}},
       true,
       {{"99999999999999999999999999999999999999999999999999", "2"},
        {"100000000000000000000000000000000000000000000000001", "1"},
        {"100000000000000000000000000000000000000000000000003", "1"}}},
      {{{grande500, "1"}, {grande400, "1"}, {grande300, "1"}},
       true,
       {{grande300, "1"}, {grande400, "1"}, {grande500, "1"}}},
      {{{"7", "1"}, {"-1", "1"}, {"2", "1"}}, true, {{"-1", "1"}, {"2", "1"}, {"7", "1"}}},
      // The cofactor stays last even when a prime found is larger.
      {{{"1000003", "1"}, {"2", "1"}, {"91", "1"}},
       false,
       {{"2", "1"}, {"1000003", "1"}, {"91", "1"}}},
      {{{"91", "1"}}, false, {{"91", "1"}}},
      {{}, false, {}},
      {{}, true, {}},
      // What is no integer goes after the integers.
      {{{"Error", "1"}, {"3", "1"}}, true, {{"3", "1"}, {"Error", "1"}}},
  };
  int i = 0;
  for (const auto& c : casos) {
    EXPECT_EQ(primos::ordenados(c.entrada, c.completa), c.salida) << "caso " << i;
    ++i;
  }
  for (const char* si : {"0", "7", "-12", "123456789012345678901234567890"})
    EXPECT_TRUE(primos::esEntero(QString::fromUtf8(si))) << si;
  for (const char* no : {"", "-", "3/2", "1,5", "+3", " 3", "Error", "1e5"})
    EXPECT_FALSE(primos::esEntero(QString::fromUtf8(no))) << no;
}

}  // namespace
}  // namespace orv
