// The analyser laboratory driven as a user would: typing texts and the block
// size, "Analizar" on both tabs, closing; the grid, the chart and the boxes.
#include "orv/orvanalizar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "orv/graficofrecuencias.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "tarnel/orvanaliza.h"

namespace orv {
namespace {

class ORVAnalizarTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    registraBibliotecas();
    instalaProcesaEventos();
  }

  void SetUp() override {
    formato = ORVW().Formato();
    v = std::make_unique<ORVAnalizar>();
    v->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v.get()));
  }
  void TearDown() override { ORVW().setFormato(formato); }

  static void escribe(pemmick::ORVExtTextBox* caja, const QString& texto) {
    caja->area()->clear();
    caja->area()->setFocus();
    QTest::keyClicks(caja->area(), texto);
  }
  static void bloque(ORVAnalizar& w, const QString& texto) {
    w.txtTamBloque()->caja()->selectAll();
    w.txtTamBloque()->setFocus();
    QTest::keyClicks(w.txtTamBloque(), texto);
  }
  static void pestana(ORVAnalizar& w, int i) {
    QTest::mouseClick(w.tsAnaliza(), Qt::LeftButton, {}, w.tsAnaliza()->tabRect(i).center());
  }
  static void pulsa(plankett::FlatButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

  static std::vector<QStringList> filas(const ORVAnalizar& w) {
    std::vector<QStringList> r;
    const Rejilla* g = w.FlexResultados();
    for (int f = 1; f < g->Filas(); ++f)
      r.push_back({g->Texto(f, 0), g->Texto(f, 1), g->Texto(f, 2)});
    return r;
  }

  kestrin::FormatoNumerico formato;
  std::unique_ptr<ORVAnalizar> v;
};

TEST_F(ORVAnalizarTest, LoadsWithItsCaptionsIconAndFirstPage) {
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Análisis del texto"));
  EXPECT_FALSE(v->windowIcon().isNull());
  EXPECT_EQ(v->tsAnaliza()->tabText(0), QStringLiteral("I. C."));
  EXPECT_EQ(v->tsAnaliza()->tabText(1), QStringLiteral("I. C. M."));
  EXPECT_EQ(v->tsAnaliza()->tabData(0).toString(), QStringLiteral("ic"));
  EXPECT_EQ(v->tsAnaliza()->tabData(1).toString(), QStringLiteral("icm"));
  EXPECT_TRUE(v->Panel(0)->isVisible());
  EXPECT_EQ(v->txtTamBloque()->texto(), QStringLiteral("1"));
  EXPECT_EQ(v->CmdAnalizar()->Caption(), QStringLiteral("Analizar"));
  EXPECT_EQ(v->cmdICM()->Caption(), QStringLiteral("Analizar"));
  const Rejilla* g = v->FlexResultados();
  EXPECT_EQ(g->Filas(), 1);
  EXPECT_EQ(g->Texto(0, 0), QStringLiteral("Car."));
  EXPECT_EQ(g->Texto(0, 1), QStringLiteral("Frec."));
  EXPECT_EQ(g->Texto(0, 2), QStringLiteral("Prob."));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(v->txtTexto(i)->MostrarEspaciosComo(), QStringLiteral("·"));
  pestana(*v, 1);
  EXPECT_TRUE(v->Panel(1)->isVisible());
  EXPECT_FALSE(v->Panel(0)->isVisible());
}

TEST_F(ORVAnalizarTest, RowsOfAabInTheUsersNumberFormat) {
  struct Caso {
    char32_t decimal;
    const char* dos;
    const char* uno;
    const char* ic;
  };
  for (const Caso c :
       {Caso{U'.', "0.66667", "0.33333", "0.333"}, Caso{U',', "0,66667", "0,33333", "0,333"}}) {
    ORVW().setFormato({c.decimal, 0});
    escribe(v->txtTexto(0), QStringLiteral("aab"));
    pulsa(v->CmdAnalizar());
    const auto r = filas(*v);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], (QStringList{"a", "2", QString::fromLatin1(c.dos)}));
    EXPECT_EQ(r[1], (QStringList{"b", "1", QString::fromLatin1(c.uno)}));
    EXPECT_EQ(v->TxtIC()->text(), QString::fromLatin1(c.ic));
    // Entropy 0.9183 bits; block size 1 weighs it by 1.
    EXPECT_EQ(v->TextEntropia()->text(),
              QString::fromLatin1(c.ic).replace(QStringLiteral("333"), "918"));
    EXPECT_EQ(v->TextEntPonderada()->text(), v->TextEntropia()->text());
    EXPECT_EQ(v->ProgressBar()->maximum(), 3);
    EXPECT_EQ(v->ProgressBar()->value(), 0);  // Fin reports the characters left
    // The chart beside the grid: the same blocks, largest first.
    const auto& barras = v->Grafico()->Barras();
    ASSERT_EQ(barras.size(), 2u);
    EXPECT_EQ(barras[0].texto, QStringLiteral("a"));
    EXPECT_DOUBLE_EQ(barras[0].frecuencia, 2.0 / 3);
    EXPECT_EQ(barras[1].texto, QStringLiteral("b"));
    EXPECT_DOUBLE_EQ(barras[1].frecuencia, 1.0 / 3);
  }
}

TEST_F(ORVAnalizarTest, GridAndChartListTheLargestCountFirst) {
  escribe(v->txtTexto(0), QStringLiteral("la casa de papel"));
  pulsa(v->CmdAnalizar());
  const auto r = filas(*v);
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(r[0][0], QStringLiteral("a"));
  EXPECT_EQ(r[0][1], QStringLiteral("4"));
  EXPECT_EQ(r[1][0], QStringLiteral("·"));  // the spaces, typed as the substitute
  EXPECT_EQ(r[1][1], QStringLiteral("3"));
  for (size_t i = 1; i < r.size(); ++i) EXPECT_GE(r[i - 1][1].toInt(), r[i][1].toInt());
  const auto& barras = v->Grafico()->Barras();
  ASSERT_EQ(barras.size(), r.size());
  for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(barras[i].texto, r[i][0]);
}

TEST_F(ORVAnalizarTest, BlockSizeTwoOnAbcAndTheWeightedEntropy) {
  ORVW().setFormato({U'.', 0});
  bloque(*v, QStringLiteral("2"));
  EXPECT_EQ(v->analisis().TamBloque(), 2);
  escribe(v->txtTexto(0), QStringLiteral("abc"));
  pulsa(v->CmdAnalizar());
  auto r = filas(*v);
  ASSERT_EQ(r.size(), 2u);
  std::sort(r.begin(), r.end());  // equal counts: the analyser's order
  EXPECT_EQ(r[0], (QStringList{"ab", "1", "0.50000"}));
  EXPECT_EQ(r[1], (QStringList{"bc", "1", "0.50000"}));
  EXPECT_EQ(v->TxtIC()->text(), QStringLiteral("0.000"));
  EXPECT_EQ(v->TextEntropia()->text(), QStringLiteral("1.000"));
  EXPECT_EQ(v->TextEntPonderada()->text(), QStringLiteral("0.500"));

  // Changing the block size empties the grid and the figures at once.
  QTest::keyClick(v->txtTamBloque(), Qt::Key_Up);
  EXPECT_EQ(v->txtTamBloque()->texto(), QStringLiteral("3"));
  EXPECT_EQ(v->FlexResultados()->Filas(), 1);
  EXPECT_TRUE(v->Grafico()->Barras().empty());
  for (QLineEdit* caja : {v->TxtIC(), v->TextEntropia(), v->TextEntPonderada()})
    EXPECT_TRUE(caja->text().isEmpty()) << caja->objectName().toStdString();
  // The arrows stop at their limits and go on from any size typed.
  for (int i = 0; i < 20; ++i) QTest::keyClick(v->txtTamBloque(), Qt::Key_Down);
  EXPECT_EQ(v->txtTamBloque()->texto(), QStringLiteral("1"));
  bloque(*v, QStringLiteral("500"));
  QTest::keyClick(v->txtTamBloque(), Qt::Key_Up);
  EXPECT_EQ(v->txtTamBloque()->texto(), QStringLiteral("501"));
  bloque(*v, QStringLiteral("999999"));
  QTest::keyClick(v->txtTamBloque(), Qt::Key_Up);
  EXPECT_EQ(v->txtTamBloque()->texto(), QStringLiteral("999999"));
  // and the box shows the largest of them whole.
  const QLineEdit* caja = v->txtTamBloque()->caja();
  EXPECT_GE(caja->width(), caja->fontMetrics().horizontalAdvance(QStringLiteral("999999")));
}

TEST_F(ORVAnalizarTest, AHugeBlockSizeOnALongTextIsRefusedWithAMessage) {
  // Random symbols in blocks of 60: nearly every block is new, far more than
  // the analyser keeps. The window says so and stays usable.
  QString texto;
  uint32_t x = 7;
  for (int i = 0; i < 400000; ++i) {
    x = x * 1103515245u + 12345u;
    texto += QChar(u'a' + static_cast<char16_t>((x >> 24) % 26));
  }
  v->txtTexto(0)->area()->setPlainText(texto);
  pulsa(v->CmdAnalizar());
  ASSERT_FALSE(v->TxtIC()->text().isEmpty());
  bloque(*v, QStringLiteral("60"));
  // The count takes a moment: look for the message box until it shows.
  QString mostrado;
  QTimer vigia;
  QObject::connect(&vigia, &QTimer::timeout, [&] {
    if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      mostrado = caja->text();
      caja->close();
    }
  });
  vigia.start(20);
  pulsa(v->CmdAnalizar());
  vigia.stop();
  EXPECT_TRUE(mostrado.startsWith(QStringLiteral("Hay demasiados bloques distintos")));
  EXPECT_TRUE(v->CmdAnalizar()->isEnabled());
  EXPECT_EQ(v->FlexResultados()->Filas(), 1);
  EXPECT_TRUE(v->TxtIC()->text().isEmpty());  // no figure of the earlier count
  bloque(*v, QStringLiteral("1"));
  pulsa(v->CmdAnalizar());
  EXPECT_EQ(v->FlexResultados()->Filas(), 27);
}

TEST_F(ORVAnalizarTest, AnEmptyTextOrABlockSizeThatIsNoNumberLeavesOnlyTheHeader) {
  escribe(v->txtTexto(0), QStringLiteral("aab"));
  pulsa(v->CmdAnalizar());
  ASSERT_EQ(v->FlexResultados()->Filas(), 3);

  escribe(v->txtTexto(0), QString());
  pulsa(v->CmdAnalizar());
  EXPECT_EQ(v->FlexResultados()->Filas(), 1);
  EXPECT_TRUE(v->Grafico()->Barras().empty());
  EXPECT_EQ(v->ProgressBar()->maximum(), 3);  // no maximum of 0: the bar keeps its own
  EXPECT_EQ(v->TxtIC()->text(), QStringLiteral("0.000"));

  struct Caso {
    const char* texto;
    int32_t tam;
  };
  for (const Caso c :
       {Caso{"x", 0}, Caso{"99999999999", 0}, Caso{"", 0}, Caso{"-2", -2}, Caso{"2", 2}}) {
    bloque(*v, QString::fromLatin1(c.texto));
    EXPECT_EQ(v->analisis().TamBloque(), c.tam) << c.texto;
  }
  bloque(*v, QStringLiteral("x"));
  escribe(v->txtTexto(0), QStringLiteral("aab"));
  pulsa(v->CmdAnalizar());
  EXPECT_EQ(v->FlexResultados()->Filas(), 1);
  EXPECT_EQ(v->TextEntPonderada()->text(), QString());  // no division by a block size of 0
}

TEST_F(ORVAnalizarTest, TheMutualIndexLeavesTheFirstPageAlone) {
  ORVW().setFormato({U'.', 0});
  escribe(v->txtTexto(0), QStringLiteral("aab"));
  pulsa(v->CmdAnalizar());
  const auto antes = filas(*v);
  pestana(*v, 1);
  escribe(v->txtTexto(1), QStringLiteral("a"));
  escribe(v->txtTexto(2), QStringLiteral("a"));
  pulsa(v->cmdICM());
  EXPECT_EQ(v->TextICM()->text(), QStringLiteral("1.000"));
  escribe(v->txtTexto(2), QStringLiteral("ab"));
  pulsa(v->cmdICM());
  EXPECT_EQ(v->TextICM()->text(), QStringLiteral("0.500"));
  EXPECT_EQ(filas(*v), antes);
}

TEST_F(ORVAnalizarTest, TwoWindowsKeepSeparateResults) {
  ORVAnalizar otra;
  otra.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&otra));
  ORVW().setFormato({U'.', 0});
  escribe(v->txtTexto(0), QStringLiteral("aab"));
  pulsa(v->CmdAnalizar());
  escribe(otra.txtTexto(0), QStringLiteral("xyzx"));
  pulsa(otra.CmdAnalizar());
  EXPECT_NE(&v->analisis(), &otra.analisis());
  EXPECT_EQ(filas(*v).size(), 2u);
  EXPECT_EQ(filas(*v)[0][0], QStringLiteral("a"));
  EXPECT_EQ(filas(otra).size(), 3u);
  EXPECT_EQ(filas(otra)[0], (QStringList{"x", "2", "0.50000"}));
  EXPECT_EQ(v->TxtIC()->text(), QStringLiteral("0.333"));
  EXPECT_EQ(otra.TxtIC()->text(), QStringLiteral("0.167"));
}

// A text of several megabytes: while it is counted, timers fire, the window
// repaints and the bar moves; a second press waits; closing hides the window
// at once and lets it go when the count is over.
TEST_F(ORVAnalizarTest, ALongTextKeepsTheWindowAliveAndMayBeClosedMeanwhile) {
  QMdiArea area;
  area.resize(900, 700);
  auto* w = new ORVAnalizar;
  QMdiSubWindow* marco = area.addSubWindow(w);
  marco->setAttribute(Qt::WA_DeleteOnClose);
  area.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
  QPointer<ORVAnalizar> vigia(w);

  const QString frase =
      QStringLiteral("en un lugar de la mancha de cuyo nombre no quiero acordarme ");
  kestrin::Cadena largo;
  const kestrin::Cadena trozo = frase.toStdU32String();
  while (largo.size() < 4'000'000) largo += trozo;
  w->txtTexto(0)->CSTexto()->setTexto(largo);

  std::vector<int> valores;
  bool segundaPulsacion = false;
  int tics = 0;
  QTimer reloj;
  reloj.setInterval(5);
  QObject::connect(&reloj, &QTimer::timeout, [&] {
    ++tics;
    if (!vigia) return;
    valores.push_back(w->ProgressBar()->value());
    if (tics == 3) {
      segundaPulsacion =
          w->Contando() && !w->CmdAnalizar()->isEnabled() && !w->txtTamBloque()->isEnabled();
      pulsa(w->CmdAnalizar());  // ignored: the count is under way
    }
    if (tics == 6 && w->Contando()) marco->close();
  });
  reloj.start();
  pulsa(w->CmdAnalizar());
  reloj.stop();

  EXPECT_GE(tics, 6);
  EXPECT_TRUE(segundaPulsacion);
  ASSERT_GE(valores.size(), 4u);
  EXPECT_LT(valores.front(), *std::max_element(valores.begin(), valores.end()));  // the bar moved
  EXPECT_FALSE(marco->isVisible());
  QTest::qWait(20);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(vigia.isNull());
}

}  // namespace
}  // namespace orv
