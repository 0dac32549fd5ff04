// The spreadsheet laboratory driven as a user would: typing into the cell
// editor and leaving it with Enter or Esc, the toolbar, F9, the zoom panel
// with its close box, title strip, Esc and font button, and closing the
// window. Evaluation runs on a worker thread, so each edit waits for its
// result through the event loop.
#include "orv/orvcalc.h"

#include <gtest/gtest.h>

#include "ayudas_prueba.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "numbrel/orvbignum.h"
#include "orv/arranque.h"
#include "orv/calculofondo.h"
#include "orv/orvprincipal.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace orv {
namespace {

// Long enough for any evaluation these tests start, on a loaded machine.
constexpr int kEspera = 60000;

QString variable(const char* nombre) {
  // What the shared service substitutes for the name: its value, or the bare
  // name (which then fails to evaluate) when the table does not hold it.
  return QString::fromStdU32String(BigNum().Eval(QString::fromLatin1(nombre).toStdU32String()));
}

class ORVCalcTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { registraBibliotecas(); }

  void SetUp() override {
    BigNum().setvar(U"", U"");
    v = std::make_unique<ORVCalc>();
    v->avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
    v->show();
    v->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
  }

  void TearDown() override {
    if (v) {
      v->Calculo()->cancela();
      EXPECT_TRUE(QTest::qWaitFor([this] { return !v->Calculo()->ocupado(); }, kEspera));
    }
    v.reset();
    BigNum().setvar(U"", U"");
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join(QLatin1Char('\n')).toStdString();
  }

  Rejilla* g() const { return v->FlexCalc(); }
  QPoint centro(int f, int c) const {
    QTableWidget* t = g()->tabla();
    return t->visualRect(t->model()->index(f - 1, c - 1)).center();
  }
  void clicCelda(int f, int c) {
    g()->tabla()->scrollTo(g()->tabla()->model()->index(f - 1, c - 1));
    QTest::mouseClick(g()->tabla()->viewport(), Qt::LeftButton, {}, centro(f, c));
  }
  // The open cell editor, after F2 on the current cell.
  QLineEdit* abreEditor(int f, int c) {
    clicCelda(f, c);
    QTest::keyClick(g()->tabla(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (editor == nullptr || !g()->isAncestorOf(editor)) return nullptr;
    return editor;
  }
  // Types `texto` over what the editor holds and leaves it with Enter; the
  // result is not waited for.
  void teclea(int f, int c, const QString& texto) {
    QLineEdit* editor = abreEditor(f, c);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    if (texto.isEmpty())
      QTest::keyClick(editor, Qt::Key_Delete);
    else
      QTest::keyClicks(editor, texto);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over once the key has been handled.
    QCoreApplication::processEvents();
    ASSERT_FALSE(g()->editando());
  }
  void espera() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !v->Calculo()->ocupado(); }, kEspera));
  }
  // Types and waits for the value.
  void escribe(int f, int c, const QString& texto) {
    teclea(f, c, texto);
    espera();
  }
  void f9() {
    QTest::keyClick(g()->tabla(), Qt::Key_F9);
    espera();
  }
  QToolButton* botonBarra(const char* key) const {
    return qobject_cast<QToolButton*>(
        v->Toolbar()->widgetForAction(v->boton(QString::fromLatin1(key))));
  }
  void zoom() { QTest::mouseClick(botonBarra("zoom"), Qt::LeftButton); }

  std::unique_ptr<ORVCalc> v;
  QStringList avisos;
};

TEST_F(ORVCalcTest, LoadsAnEmptySheetWithBoldHeadersAndItsControls) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Mini hoja de cálculo"));
  EXPECT_FALSE(v->windowIcon().isNull());
  EXPECT_EQ(g()->objectName(), QStringLiteral("FlexCalc"));
  EXPECT_EQ(g()->Filas(), 50);
  EXPECT_EQ(g()->Columnas(), 27);
  EXPECT_TRUE(g()->Editable());
  for (int c = 1; c <= 26; ++c) {
    EXPECT_EQ(g()->Texto(0, c), QString(QChar(u'A' + c - 1)));
    EXPECT_TRUE(g()->NegritaCelda(0, c)) << c;
  }
  for (int f = 1; f <= 49; ++f) {
    EXPECT_EQ(g()->Texto(f, 0), QString::number(f));
    EXPECT_TRUE(g()->NegritaCelda(f, 0)) << f;
  }
  EXPECT_EQ(v->NombreCelda(1, 1), QStringLiteral("A1"));
  EXPECT_EQ(v->NombreCelda(7, 2), QStringLiteral("B7"));
  EXPECT_EQ(v->NombreCelda(49, 26), QStringLiteral("Z49"));
  for (int f = 1; f <= 49; f += 12)
    for (int c = 1; c <= 26; c += 5) {
      EXPECT_TRUE(g()->Texto(f, c).isEmpty());
      EXPECT_TRUE(v->Formula(f, c).isEmpty());
    }

  EXPECT_EQ(v->Toolbar()->objectName(), QStringLiteral("Toolbar"));
  ASSERT_NE(v->boton(QStringLiteral("zoom")), nullptr);
  ASSERT_NE(v->boton(QStringLiteral("expr")), nullptr);
  EXPECT_TRUE(v->boton(QStringLiteral("zoom"))->isCheckable());
  EXPECT_FALSE(v->boton(QStringLiteral("zoom"))->isChecked());
  EXPECT_EQ(v->boton(QStringLiteral("zoom"))->toolTip(),
            QStringLiteral("Zoom del resultado de la celda"));
  for (const char* key : {"zoom", "expr"})
    EXPECT_FALSE(v->boton(QLatin1String(key))->icon().isNull());
  EXPECT_FALSE(v->PanelZoom()->isVisible());
  EXPECT_EQ(v->PanelZoom()->objectName(), QStringLiteral("PanelZoom"));
  EXPECT_EQ(v->LabelZoom()->objectName(), QStringLiteral("LabelZoom"));
  EXPECT_EQ(v->TextZoom()->objectName(), QStringLiteral("TextZoom"));
  EXPECT_TRUE(v->TextZoom()->Locked());
  EXPECT_TRUE(v->TextZoom()->FontBold());
  EXPECT_EQ(v->TextZoom()->FontName(), QStringLiteral("Courier New"));
  EXPECT_FALSE(v->Franja()->isVisible());
  // The grid fills the window below the toolbar.
  EXPECT_GE(g()->y(), v->Toolbar()->geometry().bottom());
  EXPECT_GT(g()->height(), v->height() / 2);
}

TEST_F(ORVCalcTest, MenuRowOpensTheSpreadsheet) {
  const auto w = prueba::ventanaDelMenu("calc");
  EXPECT_NE(qobject_cast<ORVCalc*>(w.get()), nullptr);
}

// The design's first case: B1 follows A1 only when B1 is edited again, or
// when the whole sheet is recalculated.
TEST_F(ORVCalcTest, CellNamesAnotherAndFollowsItOnlyWhenEvaluatedAgain) {
  escribe(1, 1, QStringLiteral("2^10"));
  EXPECT_EQ(g()->Texto(1, 1), QStringLiteral("1024"));
  EXPECT_EQ(v->Formula(1, 1), QStringLiteral("2^10"));
  EXPECT_EQ(v->Valor(1, 1), QStringLiteral("1024"));
  EXPECT_EQ(variable("A1"), QStringLiteral("1024"));
  escribe(1, 2, QStringLiteral("A1*2"));
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("2048"));
  EXPECT_EQ(variable("b1"), QStringLiteral("2048"));

  escribe(1, 1, QStringLiteral("3"));
  EXPECT_EQ(g()->Texto(1, 1), QStringLiteral("3"));
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("2048"));  // not edited: not evaluated

  f9();
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("6"));
  EXPECT_EQ(variable("B1"), QStringLiteral("6"));
  EXPECT_EQ(v->Formula(1, 2), QStringLiteral("A1*2"));
}

// Reading order: row by row, left to right, each value published before the
// next cell, so a cell follows the cells before it in one pass and the cells
// after it in the next.
TEST_F(ORVCalcTest, RecalculationGoesInReadingOrder) {
  escribe(1, 1, QStringLiteral("1"));
  escribe(2, 1, QStringLiteral("A1+1"));
  escribe(1, 2, QStringLiteral("A2*10"));
  escribe(2, 2, QStringLiteral("B1+A2"));
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("20"));
  EXPECT_EQ(g()->Texto(2, 2), QStringLiteral("22"));
  escribe(1, 1, QStringLiteral("5"));

  f9();  // A1 = 5, B1 = old A2 × 10, A2 = 6, B2 = B1 + A2
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("20"));
  EXPECT_EQ(g()->Texto(2, 1), QStringLiteral("6"));
  EXPECT_EQ(g()->Texto(2, 2), QStringLiteral("26"));
  f9();
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("60"));
  EXPECT_EQ(g()->Texto(2, 2), QStringLiteral("66"));
  EXPECT_EQ(variable("B2"), QStringLiteral("66"));

  // The context menu's action is the same command.
  escribe(1, 1, QStringLiteral("7"));
  v->Recalcular()->trigger();
  espera();
  EXPECT_EQ(g()->Texto(2, 1), QStringLiteral("8"));
}

TEST_F(ORVCalcTest, ReenteringTheSameFormulaDoesNotEvaluateAgain) {
  escribe(1, 1, QStringLiteral("1"));
  escribe(1, 2, QStringLiteral("A1+1"));
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("2"));
  // Another window changes A1; re-entering B1's formula leaves its value.
  BigNum().setvar(U"A1", U"100");
  teclea(1, 2, QStringLiteral("A1+1"));
  EXPECT_FALSE(v->Calculo()->ocupado());
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("2"));
  EXPECT_EQ(variable("B1"), QStringLiteral("2"));
  // A changed formula is evaluated.
  escribe(1, 2, QStringLiteral("A1 + 1"));
  EXPECT_EQ(g()->Texto(1, 2), QStringLiteral("101"));
}

TEST_F(ORVCalcTest, EditingShowsTheFormulaAndEscBringsTheValueBack) {
  escribe(3, 3, QStringLiteral("2^10"));
  QLineEdit* editor = abreEditor(3, 3);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), QStringLiteral("2^10"));
  QTest::keyClicks(editor, QStringLiteral("+1"));
  QTest::keyClick(editor, Qt::Key_Escape);
  QCoreApplication::processEvents();
  EXPECT_FALSE(g()->editando());
  EXPECT_FALSE(v->Calculo()->ocupado());
  EXPECT_EQ(g()->Texto(3, 3), QStringLiteral("1024"));
  EXPECT_EQ(v->Formula(3, 3), QStringLiteral("2^10"));

  // Typing on a cell replaces its formula, as in any spreadsheet.
  clicCelda(3, 3);
  QTest::keyClicks(g()->tabla(), QStringLiteral("7"));
  auto* escrito = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(escrito, nullptr);
  EXPECT_EQ(escrito->text(), QStringLiteral("7"));
  QTest::keyClick(escrito, Qt::Key_Return);
  QCoreApplication::processEvents();
  espera();
  EXPECT_EQ(g()->Texto(3, 3), QStringLiteral("7"));
}

TEST_F(ORVCalcTest, ResultsOfEveryKindAreShownAndPublished) {
  const struct {
    const char* formula;
    const char* valor;
  } casos[] = {
      {"1/3+1/6", "1/2"},                                      // rational, in lowest terms
      {"17 mod 5", "2"},  {"-7", "-7"},      {"2+", "Error"},  // no message box, the value says it
      {"(1", "Error"},    {"Q7*2", "Error"},  // a cell without value stays a bare name
  };
  for (const auto& caso : casos) {
    escribe(4, 1, QString::fromLatin1(caso.formula));
    EXPECT_EQ(g()->Texto(4, 1), QLatin1String(caso.valor)) << caso.formula;
    EXPECT_EQ(v->Valor(4, 1), QLatin1String(caso.valor)) << caso.formula;
    EXPECT_EQ(variable("A4"), QLatin1String(caso.valor)) << caso.formula;
  }
  // An empty formula empties the value and removes the variable.
  escribe(4, 1, QStringLiteral("5"));
  EXPECT_EQ(variable("A4"), QStringLiteral("5"));
  escribe(4, 1, QString());
  EXPECT_TRUE(g()->Texto(4, 1).isEmpty());
  EXPECT_TRUE(v->Formula(4, 1).isEmpty());
  EXPECT_EQ(variable("A4"), QStringLiteral("Error"));
}

TEST_F(ORVCalcTest, ExprShowsTheFormulaInPlaceUntilTheCellIsEdited) {
  escribe(2, 2, QStringLiteral("6*7"));
  clicCelda(2, 2);
  QTest::mouseClick(botonBarra("expr"), Qt::LeftButton);
  EXPECT_EQ(g()->Texto(2, 2), QStringLiteral("6*7"));
  // Widening its column keeps it showing the formula.
  g()->setAnchoColumna(2, g()->AnchoColumna(2) + 300);
  EXPECT_EQ(g()->Texto(2, 2), QStringLiteral("6*7"));
  QLineEdit* editor = abreEditor(2, 2);
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_FALSE(v->Calculo()->ocupado());  // the same formula
  EXPECT_EQ(g()->Texto(2, 2), QStringLiteral("42"));
}

TEST_F(ORVCalcTest, GroupsDigitsAndFitsWideValues) {
  const struct {
    qsizetype n;
    const char16_t* texto;
  } grupos[] = {{0, u"0"},
                {7, u"7"},
                {999, u"999"},
                {1234, u"1\u2009234"},
                {5021, u"5\u2009021"},
                {1000000, u"1\u2009000\u2009000"}};
  for (const auto& caso : grupos)
    EXPECT_EQ(ORVCalc::agrupado(caso.n), QString::fromUtf16(caso.texto)) << caso.n;

  const QFontMetrics medidas(g()->tabla()->font());
  const int ancho = medidas.horizontalAdvance(QStringLiteral("0000…(0\u2009000 cifras)"));
  EXPECT_EQ(ORVCalc::textoAjustado(QStringLiteral("1234567890"), medidas, ancho),
            QStringLiteral("1234567890"));
  EXPECT_EQ(ORVCalc::textoAjustado(QStringLiteral("Error"), medidas, ancho),
            QStringLiteral("Error"));
  QString largo = QStringLiteral("-");
  for (int i = 0; i < 5021; ++i) largo += QChar(u'0' + (i * 7 + 1) % 10);
  for (int room : {ancho, 2 * ancho, 4 * ancho}) {
    const QString t = ORVCalc::textoAjustado(largo, medidas, room);
    EXPECT_TRUE(t.endsWith(QStringLiteral("…(5\u2009021 cifras)"))) << t.toStdString();
    const QString cabeza = t.left(t.indexOf(QChar(u'…')));
    EXPECT_GE(cabeza.size(), 4) << room;  // the sign and some digits
    EXPECT_TRUE(largo.startsWith(cabeza)) << t.toStdString();
    EXPECT_LE(medidas.horizontalAdvance(t), room);
    // One more leading digit would not fit.
    EXPECT_GT(medidas.horizontalAdvance(largo.left(cabeza.size() + 1) +
                                        t.mid(static_cast<qsizetype>(cabeza.size()))),
              room);
  }
  // Too narrow for anything: the first character and the length still show.
  EXPECT_TRUE(ORVCalc::textoAjustado(largo, medidas, 5).startsWith(QStringLiteral("-…(")));

  // In the sheet: 2^200 has 61 digits; a wider column shows more of them.
  escribe(1, 3, QStringLiteral("2^200"));
  const QString estrecho = g()->Texto(1, 3);
  EXPECT_TRUE(estrecho.startsWith(QStringLiteral("1606")));
  EXPECT_TRUE(estrecho.endsWith(QStringLiteral("…(61 cifras)"))) << estrecho.toStdString();
  EXPECT_EQ(v->Valor(1, 3).size(), 61);
  g()->setAnchoColumna(3, g()->AnchoColumna(3) * 2);
  const QString ancho2 = g()->Texto(1, 3);
  EXPECT_GT(ancho2.size(), estrecho.size());
  EXPECT_TRUE(ancho2.endsWith(QStringLiteral("…(61 cifras)")));
  g()->setAnchoColumna(3, 15 * (medidas.horizontalAdvance(v->Valor(1, 3)) + 40));
  EXPECT_EQ(g()->Texto(1, 3), v->Valor(1, 3));
}

TEST_F(ORVCalcTest, ZoomPanelShowsTheWholeValueOfTheCurrentCell) {
  escribe(1, 1, QStringLiteral("2^200"));
  escribe(2, 1, QStringLiteral("1/7"));
  clicCelda(1, 1);
  zoom();
  ASSERT_TRUE(v->PanelZoom()->isVisible());
  EXPECT_TRUE(v->boton(QStringLiteral("zoom"))->isChecked());
  EXPECT_EQ(v->LabelZoom()->text(), QStringLiteral("Valor de A1"));
  EXPECT_EQ(QString::fromStdU32String(v->TextZoom()->CSTexto()->Texto()), v->Valor(1, 1));
  EXPECT_EQ(v->TextZoom()->textoMostrado(), v->Valor(1, 1));
  // The panel lies over the grid, inside the window.
  EXPECT_TRUE(v->rect().contains(v->PanelZoom()->geometry()));

  clicCelda(2, 1);
  EXPECT_EQ(v->LabelZoom()->text(), QStringLiteral("Valor de A2"));
  EXPECT_EQ(v->TextZoom()->textoMostrado(), QStringLiteral("1/7"));
  // A new value of the current cell reaches the panel.
  escribe(2, 1, QStringLiteral("2/7"));
  EXPECT_EQ(v->TextZoom()->textoMostrado(), QStringLiteral("2/7"));
  clicCelda(5, 2);
  EXPECT_EQ(v->LabelZoom()->text(), QStringLiteral("Valor de B5"));
  EXPECT_TRUE(v->TextZoom()->textoMostrado().isEmpty());

  // The toolbar toggle hides it again; the panel is not refreshed meanwhile.
  zoom();
  EXPECT_FALSE(v->PanelZoom()->isVisible());
  clicCelda(1, 1);
  EXPECT_EQ(v->LabelZoom()->text(), QStringLiteral("Valor de B5"));
  zoom();
  EXPECT_EQ(v->LabelZoom()->text(), QStringLiteral("Valor de A1"));
}

TEST_F(ORVCalcTest, ZoomPanelClosesWithItsBoxOrEscAndReleasesTheToggle) {
  escribe(1, 1, QStringLiteral("12345"));
  clicCelda(1, 1);
  zoom();
  ASSERT_TRUE(v->PanelZoom()->isVisible());
  QTest::mouseClick(v->LabelZoom(), Qt::LeftButton, {}, v->LabelZoom()->cajaCierre().center());
  EXPECT_FALSE(v->PanelZoom()->isVisible());
  EXPECT_FALSE(v->boton(QStringLiteral("zoom"))->isChecked());

  zoom();
  ASSERT_TRUE(v->PanelZoom()->isVisible());
  // A click on the strip outside the box does not close it.
  QTest::mouseClick(v->LabelZoom(), Qt::LeftButton, {}, QPoint(10, v->LabelZoom()->height() / 2));
  EXPECT_TRUE(v->PanelZoom()->isVisible());
  v->TextZoom()->area()->setFocus();
  QTest::keyClick(v->TextZoom()->area(), Qt::Key_Escape);
  EXPECT_FALSE(v->PanelZoom()->isVisible());
  EXPECT_FALSE(v->boton(QStringLiteral("zoom"))->isChecked());
  // Other keys leave it, and the locked text, alone.
  zoom();
  v->TextZoom()->area()->setFocus();
  QTest::keyClicks(v->TextZoom()->area(), QStringLiteral("9"));
  EXPECT_TRUE(v->PanelZoom()->isVisible());
  EXPECT_EQ(v->TextZoom()->textoMostrado(), QStringLiteral("12345"));
}

TEST_F(ORVCalcTest, ZoomPanelIsDraggedByItsTitleStripAndStaysInTheWindow) {
  zoom();
  QWidget* panel = v->PanelZoom();
  const QPoint antes = panel->pos();
  const QPoint agarre(20, v->LabelZoom()->height() / 2);
  QTest::mousePress(v->LabelZoom(), Qt::LeftButton, {}, agarre);
  QMouseEvent mueve(QEvent::MouseMove, QPointF(agarre + QPoint(-60, 40)),
                    v->LabelZoom()->mapToGlobal(QPointF(agarre + QPoint(-60, 40))), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(v->LabelZoom(), &mueve);
  QTest::mouseRelease(v->LabelZoom(), Qt::LeftButton, {}, agarre + QPoint(-60, 40));
  EXPECT_EQ(panel->pos(), antes + QPoint(-60, 40));

  // Far out: it stops at the window's edge.
  QTest::mousePress(v->LabelZoom(), Qt::LeftButton, {}, agarre);
  QMouseEvent lejos(QEvent::MouseMove, QPointF(agarre + QPoint(-5000, -5000)),
                    v->LabelZoom()->mapToGlobal(QPointF(agarre + QPoint(-5000, -5000))),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(v->LabelZoom(), &lejos);
  QTest::mouseRelease(v->LabelZoom(), Qt::LeftButton, {}, agarre);
  EXPECT_EQ(panel->pos(), QPoint(0, 0));
  EXPECT_TRUE(panel->isVisible());

  // A smaller window pulls it back inside.
  QTest::mousePress(v->LabelZoom(), Qt::LeftButton, {}, agarre);
  QMouseEvent derecha(QEvent::MouseMove, QPointF(agarre + QPoint(5000, 5000)),
                      v->LabelZoom()->mapToGlobal(QPointF(agarre + QPoint(5000, 5000))),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(v->LabelZoom(), &derecha);
  QTest::mouseRelease(v->LabelZoom(), Qt::LeftButton, {}, agarre);
  v->resize(v->width() - 100, v->height() - 100);
  EXPECT_TRUE(v->rect().contains(panel->geometry()));
}

TEST_F(ORVCalcTest, FontButtonStepsTheSizeFromSevenToTwentySixAndRound) {
  zoom();
  QAction* boton = v->TextZoom()->boton(QStringLiteral("zoom"));
  ASSERT_NE(boton, nullptr);
  auto* pulsable = qobject_cast<QToolButton*>(v->TextZoom()->barra()->widgetForAction(boton));
  ASSERT_NE(pulsable, nullptr);
  v->TextZoom()->setFontSize(24);
  std::vector<int> vistos;
  for (int i = 0; i < 22; ++i) {
    QTest::mouseClick(pulsable, Qt::LeftButton);
    vistos.push_back(static_cast<int>(v->TextZoom()->FontSize()));
  }
  std::vector<int> esperados{25, 26};
  for (int n = 7; n <= 26; ++n) esperados.push_back(n);
  EXPECT_EQ(vistos, esperados);
  // A size outside the range (set elsewhere) comes back into it.
  v->TextZoom()->setFontSize(40);
  QTest::mouseClick(pulsable, Qt::LeftButton);
  EXPECT_GE(v->TextZoom()->FontSize(), 7.0F);
  EXPECT_LE(v->TextZoom()->FontSize(), 26.0F);
  v->TextZoom()->setFontSize(3);
  QTest::mouseClick(pulsable, Qt::LeftButton);
  EXPECT_GE(v->TextZoom()->FontSize(), 7.0F);
  EXPECT_LE(v->TextZoom()->FontSize(), 26.0F);
}

// A value of close to a million digits: evaluated on the worker, with the
// strip showing it, while the window answers; a second edit is refused.
TEST_F(ORVCalcTest, HugeExpressionRunsAwayFromTheWindowAndShowsItsLength) {
  teclea(1, 1, QStringLiteral("3^2000000"));
  // The edit returned before the value: the work is on another thread.
  ASSERT_TRUE(v->Calculo()->ocupado());
  EXPECT_TRUE(v->Franja()->isVisible());
  EXPECT_TRUE(v->Franja()->texto()->text().startsWith(QStringLiteral("Calculando A1")))
      << v->Franja()->texto()->text().toStdString();
  EXPECT_EQ(g()->Texto(1, 1), QStringLiteral("3^2000000"));  // the formula while it runs
  EXPECT_TRUE(v->Formula(1, 1).isEmpty());
  // Meanwhile a second edit, or F9, is refused and the strip says so.
  clicCelda(2, 2);
  QTest::keyClick(g()->tabla(), Qt::Key_F2);
  EXPECT_FALSE(g()->editando());
  EXPECT_FALSE(v->Recalcula());
  auto* aviso = v->Franja()->findChild<QLabel*>(QStringLiteral("LabelAviso"));
  ASSERT_NE(aviso, nullptr);
  EXPECT_TRUE(aviso->isVisible());
  espera();
  EXPECT_FALSE(v->Franja()->isVisible());
  EXPECT_FALSE(aviso->isVisible());
  EXPECT_EQ(v->Valor(1, 1).size(), 954243);
  EXPECT_TRUE(v->Valor(1, 1).startsWith(QStringLiteral("3")));
  EXPECT_TRUE(g()->Texto(1, 1).endsWith(QStringLiteral("…(954\u2009243 cifras)")))
      << g()->Texto(1, 1).toStdString();
  // The panel holds it whole.
  clicCelda(1, 1);
  zoom();
  EXPECT_EQ(QString::fromStdU32String(v->TextZoom()->CSTexto()->Texto()).size(), 954243);
  // Edits go on as before.
  escribe(2, 2, QStringLiteral("A1 mod 1000"));
  EXPECT_EQ(g()->Texto(2, 2),
            QStringLiteral("1"));  // 3^2000000 = (3^100)^20000, 3^100 ≡ 1 mod 1000
}

TEST_F(ORVCalcTest, CancellingLeavesTheCellAsItWas) {
  escribe(1, 1, QStringLiteral("5"));
  teclea(1, 1, QStringLiteral("7^1400000+3^2000000"));
  ASSERT_TRUE(v->Calculo()->ocupado());
  QTest::mouseClick(v->Franja()->cmdCancelar(), Qt::LeftButton);
  espera();
  EXPECT_EQ(g()->Texto(1, 1), QStringLiteral("5"));
  EXPECT_EQ(v->Formula(1, 1), QStringLiteral("5"));
  EXPECT_EQ(variable("A1"), QStringLiteral("5"));
  EXPECT_FALSE(v->Franja()->isVisible());

  // A cancelled recalculation keeps what it had done and leaves the rest.
  escribe(1, 2, QStringLiteral("A1+1"));
  escribe(1, 1, QStringLiteral("6"));
  QTest::keyClick(g()->tabla(), Qt::Key_F9);
  ASSERT_TRUE(v->Calculo()->ocupado());
  EXPECT_TRUE(v->Franja()->texto()->text().startsWith(QStringLiteral("Recalculando")));
  QTest::mouseClick(v->Franja()->cmdCancelar(), Qt::LeftButton);
  espera();
  for (int c : {1, 2}) {
    // Each cell shows what the table holds for it.
    const QString nombre = v->NombreCelda(1, c);
    EXPECT_EQ(v->Valor(1, c), variable(nombre.toLatin1().constData())) << c;
    EXPECT_EQ(g()->Texto(1, c), v->Valor(1, c)) << c;
  }
  EXPECT_EQ(v->Valor(1, 1), QStringLiteral("6"));
}

// The design's last case: the table is the program's, and closing empties it.
TEST_F(ORVCalcTest, ClosingEmptiesTheSharedTableEvenOfOtherWindowsVariables) {
  BigNum().setvar(U"Z9", U"77");  // as the primes window would
  escribe(1, 1, QStringLiteral("5"));
  EXPECT_EQ(variable("Z9"), QStringLiteral("77"));
  EXPECT_EQ(variable("A1"), QStringLiteral("5"));
  v->close();
  EXPECT_EQ(variable("Z9"), QStringLiteral("Error"));
  EXPECT_EQ(variable("A1"), QStringLiteral("Error"));
}

TEST_F(ORVCalcTest, ClosingWhileWorkRunsPublishesNothingAfterwards) {
  teclea(1, 1, QStringLiteral("3^2000000"));
  ASSERT_TRUE(v->Calculo()->ocupado());
  v->close();
  espera();
  EXPECT_EQ(variable("A1"), QStringLiteral("Error"));

  // Nor does a recalculation under way.
  v->show();
  v->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(v.get()));
  escribe(1, 1, QStringLiteral("2"));
  escribe(1, 2, QStringLiteral("3^1000000"));
  escribe(1, 3, QStringLiteral("A1"));
  QTest::keyClick(g()->tabla(), Qt::Key_F9);
  ASSERT_TRUE(v->Calculo()->ocupado());
  v->close();
  espera();
  for (const char* nombre : {"A1", "B1", "C1"})
    EXPECT_EQ(variable(nombre), QStringLiteral("Error")) << nombre;
}

// The window may go while its worker still runs: nothing of it is touched.
TEST_F(ORVCalcTest, WindowDeletedWhileWorkRunsGoesCleanly) {
  teclea(1, 1, QStringLiteral("3^2000000"));
  ASSERT_TRUE(v->Calculo()->ocupado());
  v.reset();
  // A worker that outlived the window is left to the application until it ends.
  EXPECT_TRUE(QTest::qWaitFor(
      [] {
        return qApp->findChildren<QObject*>(QStringLiteral("CalculoEnFondo.retirado")).isEmpty();
      },
      kEspera));
  EXPECT_EQ(variable("A1"), QStringLiteral("Error"));  // its value went nowhere
}

}  // namespace
}  // namespace orv
