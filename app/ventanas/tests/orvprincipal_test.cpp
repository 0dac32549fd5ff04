// The main frame driven as a user would: menu clicks, F1, the context menu,
// and what its client area paints.
#include "orv/orvprincipal.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <map>
#include <set>

#include "hookwell/subclas.h"
#include "kestrin/errores.h"
#include "kestrin/orvimagen.h"
#include "kestrin/orvw.h"
#include "modelo.h"
#include "orv/arranque.h"
#include "orv/orvacercade.h"
#include "orv/orvanalizar.h"
#include "orv/orvcsafin.h"
#include "plankett/flatbutton.h"
#include "vimbar/vimbar.h"

namespace orv {
namespace {

// Clicks the group button, then the item with that caption, as the mouse would.
void eligeEnMenu(ORVPrincipal& principal, int grupo, const QString& titulo) {
  vimbar::VerticalMenu* menu = principal.VMenu()->menu();
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->modelo().Item(grupo)->ButtonRect.center());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->deslizando(); }));
  auto* g = menu->modelo().Item(grupo);
  for (int i = 1; i <= g->Items.Count(); ++i) {
    const vimbar::MenuItem& it = *g->Items.Item(i);
    if (it.Caption != titulo) continue;
    ASSERT_TRUE(it.Visible) << titulo.toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, QPoint(it.Left + 16, it.Top + 16));
    return;
  }
  FAIL() << "sin elemento " << titulo.toStdString();
}

// A shown frame whose laboratories are plain labelled widgets, counted per key,
// so the frame's own rules are tested apart from the real windows.
class PrincipalTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const auto& l : ORVPrincipal::Laboratorios()) {
      const QString clave = QLatin1String(l.clave);
      principal.setFabrica(clave, [this, clave] {
        ++creadas[clave];
        auto* w = new QLabel(clave);
        w->setObjectName(clave);
        return w;
      });
    }
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  }

  vimbar::VerticalMenu* menu() { return principal.VMenu()->menu(); }

  void eligeEnMenu(int grupo, const QString& titulo) { orv::eligeEnMenu(principal, grupo, titulo); }

  QList<QMdiSubWindow*> ventanas() { return principal.Cliente()->subWindowList(); }

  ORVPrincipal principal;
  std::map<QString, int> creadas;
};

TEST_F(PrincipalTest, LoadBuildsTheMenuTableInOrder) {
  EXPECT_EQ(principal.windowTitle(), QStringLiteral("Orvane"));
  ASSERT_EQ(menu()->MenusMax(), 2);
  const struct {
    int grupo;
    const char* grupoTitulo;
    std::vector<std::pair<const char*, const char*>> items;
  } esperado[] = {
      {1,
       "Utilidades",
       {{"Hoja de cálculo", "calc"}, {"Primos", "primos"}, {"Analizador", "analiza"}}},
      {2,
       "Criptosistemas",
       {{"Afín", "afin"},
        {"Sustitución", "sust"},
        {"Vigenère", "vig"},
        {"XOR", "xor"},
        {"Hill", "hill"},
        {"RSA", "RSA"},
        {"M-H Mochila", "MH"}}},
  };
  for (const auto& g : esperado) {
    const auto* grupo = menu()->modelo().Item(g.grupo);
    EXPECT_EQ(grupo->Caption, QString::fromUtf8(g.grupoTitulo));
    ASSERT_EQ(grupo->Items.Count(), static_cast<int>(g.items.size()));
    for (size_t i = 0; i < g.items.size(); ++i) {
      const auto* item = grupo->Items.Item(static_cast<int>(i) + 1);
      EXPECT_EQ(item->Caption, QString::fromUtf8(g.items[i].first));
      EXPECT_EQ(item->key, QString::fromUtf8(g.items[i].second));
      EXPECT_FALSE(item->Button.isNull()) << g.items[i].first;
    }
  }
  EXPECT_TRUE(principal.TimerBaila()->isActive());
  EXPECT_EQ(principal.TimerBaila()->interval(), 50000);
}

TEST_F(PrincipalTest, ChoosingASharedLaboratoryTwiceShowsOneWindowInFront) {
  eligeEnMenu(2, QStringLiteral("Afín"));
  ASSERT_EQ(ventanas().size(), 1);
  QMdiSubWindow* afin = ventanas()[0];
  eligeEnMenu(2, QStringLiteral("Sustitución"));
  ASSERT_EQ(ventanas().size(), 2);
  EXPECT_EQ(principal.Cliente()->activeSubWindow()->widget()->objectName(), QStringLiteral("sust"));
  eligeEnMenu(2, QStringLiteral("Afín"));
  EXPECT_EQ(ventanas().size(), 2);
  EXPECT_EQ(creadas[QStringLiteral("afin")], 1);
  EXPECT_EQ(principal.Cliente()->activeSubWindow(), afin);
  EXPECT_TRUE(afin->isVisible());
}

TEST_F(PrincipalTest, ChoosingTheAnalyserTwiceGivesTwoWindows) {
  eligeEnMenu(1, QStringLiteral("Analizador"));
  eligeEnMenu(1, QStringLiteral("Analizador"));
  EXPECT_EQ(creadas[QStringLiteral("analiza")], 2);
  ASSERT_EQ(ventanas().size(), 2);
  EXPECT_NE(ventanas()[0]->widget(), ventanas()[1]->widget());
  EXPECT_EQ(principal.Cliente()->activeSubWindow(), ventanas()[1]);
}

TEST_F(PrincipalTest, ClosingASharedWindowUnloadsItAndTheNextChoiceBuildsItAfresh) {
  QPointer<QWidget> primera = principal.AbreLaboratorio(QStringLiteral("hill"));
  ASSERT_TRUE(primera);
  ventanas()[0]->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return primera.isNull(); }));
  EXPECT_TRUE(ventanas().isEmpty());
  QWidget* segunda = principal.AbreLaboratorio(QStringLiteral("hill"));
  ASSERT_NE(segunda, nullptr);
  EXPECT_EQ(creadas[QStringLiteral("hill")], 2);
  EXPECT_EQ(ventanas().size(), 1);
}

TEST_F(PrincipalTest, KeysMatchWithoutRegardToCase) {
  const struct {
    const char* elegida;
    const char* abre;
  } casos[] = {{"rsa", "RSA"}, {"RSA", "RSA"},         {"AFIN", "afin"}, {"mh", "MH"},
               {"Vig", "vig"}, {"ANALIZA", "analiza"}, {"xOr", "xor"},   {"CALC", "calc"}};
  for (const auto& c : casos) {
    QWidget* w = principal.AbreLaboratorio(QLatin1String(c.elegida));
    ASSERT_NE(w, nullptr) << c.elegida;
    EXPECT_EQ(w->objectName(), QLatin1String(c.abre)) << c.elegida;
  }
  EXPECT_EQ(creadas[QStringLiteral("RSA")], 1);  // "rsa" and "RSA" are one window
}

TEST_F(PrincipalTest, UnknownKeysAndMissingLaboratoriesShowNothing) {
  principal.setFabrica(QStringLiteral("primos"), nullptr);
  for (const char* clave : {"", "afín", "vigenere", "primos", " afin"}) {
    EXPECT_EQ(principal.AbreLaboratorio(QString::fromUtf8(clave)), nullptr) << clave;
  }
  EXPECT_TRUE(ventanas().isEmpty());
  eligeEnMenu(1, QStringLiteral("Primos"));
  EXPECT_TRUE(ventanas().isEmpty());
}

// A laboratory whose component cannot be created says so and opens nothing.
TEST_F(PrincipalTest, ALaboratoryThatCannotBeBuiltShowsAMessageAndNoWindow) {
  principal.setFabrica(QStringLiteral("xor"), []() -> QWidget* {
    throw kestrin::ErrorORV(429, "No se puede crear el objeto");
  });
  QString mostrado;
  QTimer::singleShot(50, [&] {
    if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      mostrado = caja->text();
      caja->close();
    }
  });
  EXPECT_EQ(principal.AbreLaboratorio(QStringLiteral("xor")), nullptr);
  EXPECT_EQ(mostrado, QStringLiteral("No se puede crear el objeto"));
  EXPECT_TRUE(ventanas().isEmpty());
}

// The About window hides the frame while it is up and brings it back when its
// timer fires; a second request while it is up does not load it again.
TEST_F(PrincipalTest, F1OpensTheAboutWindowWhichClosesAfterItsTimer) {
  QTest::keyClick(&principal, Qt::Key_F1);
  QPointer<ORVAcercaDe> acerca = principal.VentanaAcercaDe();
  ASSERT_TRUE(acerca);
  EXPECT_TRUE(acerca->isVisible());
  EXPECT_FALSE(principal.isVisible());
  // Asking again while it is up neither loads it again nor restarts its timer.
  const int quedaba = acerca->Timer()->remainingTime();
  QTest::qWait(30);
  QTest::keyClick(acerca, Qt::Key_F1);
  EXPECT_EQ(principal.AcercaDe(), acerca.data());
  EXPECT_LT(acerca->Timer()->remainingTime(), quedaba);
  acerca->Timer()->setInterval(1);  // the five seconds, cut short
  acerca->Timer()->start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return acerca.isNull(); }));
  EXPECT_TRUE(principal.isVisible());
  EXPECT_EQ(principal.VentanaAcercaDe(), nullptr);
}

// Right-clicking the empty client area or the menu bar offers the About
// command, which hides the frame while the About window is up.
TEST_F(PrincipalTest, ContextMenuOffersTheAboutCommand) {
  for (QWidget* donde : {principal.Cliente()->viewport(), static_cast<QWidget*>(menu())}) {
    QStringList textos;
    QTimer::singleShot(50, [&] {
      auto* menuContexto = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menuContexto) return;
      for (QAction* a : menuContexto->actions()) textos << a->text();
      QAction* acerca = menuContexto->actions().value(0);
      QTest::mouseClick(menuContexto, Qt::LeftButton, {},
                        menuContexto->actionGeometry(acerca).center());
    });
    QContextMenuEvent evento(QContextMenuEvent::Mouse, QPoint(40, 300),
                             donde->mapToGlobal(QPoint(40, 300)));
    QApplication::sendEvent(donde, &evento);
    EXPECT_EQ(textos, QStringList{QStringLiteral("&Acerca de ORV")})
        << donde->objectName().toStdString();
    QPointer<ORVAcercaDe> acerca = principal.VentanaAcercaDe();
    ASSERT_TRUE(acerca);
    EXPECT_FALSE(principal.isVisible());
    acerca->close();
    EXPECT_TRUE(principal.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return acerca.isNull(); }));
  }
}

TEST_F(PrincipalTest, OnlySystemCommandTenOpensTheAboutWindow) {
  hookwell::EnviaMensaje(&principal, hookwell::kWmSysCommand, 61728, 0);  // restore
  EXPECT_EQ(principal.VentanaAcercaDe(), nullptr);
  hookwell::EnviaMensaje(&principal, 16, 10, 0);  // another message with wParam 10
  EXPECT_EQ(principal.VentanaAcercaDe(), nullptr);
  EXPECT_EQ(hookwell::EnviaMensaje(&principal, hookwell::kWmSysCommand, 10, 0), 0);
  ASSERT_NE(principal.VentanaAcercaDe(), nullptr);
  principal.VentanaAcercaDe()->close();
}

TEST_F(PrincipalTest, ClientAreaIsNeverErasedBeforePainting) {
  EXPECT_EQ(hookwell::EnviaMensaje(principal.Cliente(), hookwell::kWmEraseBkgnd, 0, 0), 1);
}

// Counts the pixels of the decoration that are not the frame's light grey,
// in a zone given in logical pixels (the image may be of any density).
int pixelesNoGrises(const QImage& imagen, const QRect& zona) {
  const qreal r = imagen.devicePixelRatio();
  const QRect dispositivo(QPoint(qRound(zona.left() * r), qRound(zona.top() * r)),
                          QSize(qRound(zona.width() * r), qRound(zona.height() * r)));
  int n = 0;
  for (int y = dispositivo.top(); y <= dispositivo.bottom(); ++y) {
    for (int x = dispositivo.left(); x <= dispositivo.right(); ++x) {
      if (qGray(imagen.pixel(x, y)) < 180) ++n;
    }
  }
  return n;
}

TEST_F(PrincipalTest, BackgroundHasTilesSignatureAndPhraseInTheirCorners) {
  QWidget* vista = principal.Cliente()->viewport();
  principal.resize(900, 640);
  EXPECT_TRUE(QTest::qWaitFor([&] { return vista->width() > 700; }));
  const QImage imagen = vista->grab().toImage();
  ASSERT_GT(principal.Composiciones(), 0);
  const int w = vista->width(), h = vista->height();
  // The signature strip stands at the top right; its left neighbour is bare.
  EXPECT_GT(pixelesNoGrises(imagen, QRect(w - 25, 0, 25, 200)), 100);
  EXPECT_EQ(pixelesNoGrises(imagen, QRect(w - 60, 0, 30, 200)), 0);
  // The phrase is right-aligned on the bottom edge: one figure per character.
  const int figuras = static_cast<int>(principal.FraseActual().size());
  const int ancho = figuras * kestrin::ORVImagen::kAncho;
  ASSERT_LT(ancho, w - 40);
  EXPECT_GT(pixelesNoGrises(imagen, QRect(w - ancho, h - 30, ancho, 30)), figuras * 10);
  EXPECT_EQ(pixelesNoGrises(imagen, QRect(0, h - 30, w - ancho - 1, 30)), 0);
  // The middle holds only tiles: lighter and darker greys, nothing else.
  std::set<QRgb> tonos;
  const qreal r = imagen.devicePixelRatio();
  EXPECT_EQ(principal.Fondo().devicePixelRatio(), r);  // composed at the screen's density
  for (int x = 100; x < 160; ++x) tonos.insert(imagen.pixel(qRound(x * r), qRound(100 * r)));
  EXPECT_GT(tonos.size(), 1u);
  for (QRgb c : tonos) EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qGray(c) > 200);
}

// A client area smaller than the signature or the phrase, or none at all,
// still paints: the decoration is cut at the edges.
TEST_F(PrincipalTest, ATinyOrEmptyClientAreaPaintsWithoutErrors) {
  QWidget* vista = principal.Cliente()->viewport();
  for (QSize tamano : {QSize(260, 90), QSize(200, 30), QSize(130, 1)}) {
    principal.resize(tamano);
    QApplication::processEvents();
    vista->repaint();
    if (!vista->size().isEmpty()) {
      EXPECT_EQ(principal.Fondo().deviceIndependentSize(), QSizeF(vista->size()))
          << tamano.width() << "x" << tamano.height();
    }
  }
  vista->resize(0, 0);
  vista->repaint();
  (void)vista->grab();
}

TEST_F(PrincipalTest, TheTimerChangesThePhraseAmongTheSix) {
  std::set<kestrin::Cadena> frases;
  for (int i = 1; i <= 6; ++i) frases.insert(kestrin::ORVImagen().Str(i));
  std::set<kestrin::Cadena> vistas;
  for (int i = 0; i < 60; ++i) {
    principal.Baila();
    EXPECT_EQ(frases.count(principal.FraseActual()), 1u);
    vistas.insert(principal.FraseActual());
  }
  EXPECT_GT(vistas.size(), 1u);
  // Each tick composes the decoration again on the next paint.
  const int antes = principal.Composiciones();
  principal.Baila();
  principal.Cliente()->viewport()->repaint();
  EXPECT_EQ(principal.Composiciones(), antes + 1);
  principal.Cliente()->viewport()->repaint();
  EXPECT_EQ(principal.Composiciones(), antes + 1);  // a plain repaint reuses it
}

// The program's start: the splash alone first, the workspace created, the
// frame once the splash closes.
TEST(PrincipalArranque, TheSplashComesFirstAndTheFrameWhenItCloses) {
  const QString antes = QDir::currentPath();
  ORVPrincipal principal;
  principal.Arranca();
  EXPECT_EQ(QDir::currentPath(), QCoreApplication::applicationDirPath());
  QDir::setCurrent(antes);
  QPointer<ORVAcercaDe> splash = principal.VentanaAcercaDe();
  ASSERT_TRUE(splash);
  EXPECT_TRUE(splash->isVisible());
  EXPECT_FALSE(principal.isVisible());
  EXPECT_EQ(ORVW().Perfil().substr(ORVW().Perfil().size() - 7), U"ORV.INI");
  QTest::mouseClick(splash->cmdOK(), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }));
  EXPECT_TRUE(principal.isVisible());
}

TEST_F(PrincipalTest, DestroyingTheFrameWithTheAboutWindowUpLeavesNothingBehind) {
  auto* otro = new ORVPrincipal;
  QPointer<ORVAcercaDe> acerca = otro->AcercaDe();
  ASSERT_TRUE(acerca);
  delete otro;
  EXPECT_TRUE(acerca.isNull());
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The real laboratories, chosen from the menu of a frame as the program builds it.
TEST(PrincipalLaboratorios, AffineIsSharedAndEveryAnalyserIsNew) {
  registraBibliotecas();
  ORVPrincipal principal;
  principal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  QWidget* afin = principal.AbreLaboratorio(QStringLiteral("afin"));
  ASSERT_NE(qobject_cast<ORVCSAfin*>(afin), nullptr);
  EXPECT_EQ(principal.AbreLaboratorio(QStringLiteral("Afin")), afin);
  QWidget* a1 = principal.AbreLaboratorio(QStringLiteral("analiza"));
  QWidget* a2 = principal.AbreLaboratorio(QStringLiteral("analiza"));
  ASSERT_NE(qobject_cast<ORVAnalizar*>(a1), nullptr);
  ASSERT_NE(qobject_cast<ORVAnalizar*>(a2), nullptr);
  EXPECT_NE(a1, a2);
  EXPECT_EQ(principal.Cliente()->subWindowList().size(), 3);
  for (QMdiSubWindow* s : principal.Cliente()->subWindowList()) EXPECT_TRUE(s->isVisible());
}

TEST(PrincipalLaboratorios, NewWindowsOpenInCascadeInsideTheClientArea) {
  registraBibliotecas();
  ORVPrincipal principal;
  principal.resize(640, 420);  // smaller than an analyser asks for
  principal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  const QRect area = principal.Cliente()->viewport()->rect();
  std::set<std::pair<int, int>> posiciones;
  for (const char* clave : {"analiza", "afin", "analiza", "vig", "hill", "sust", "xor"}) {
    QWidget* w = principal.AbreLaboratorio(QLatin1String(clave));
    ASSERT_NE(w, nullptr) << clave;
    auto* marco = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    ASSERT_NE(marco, nullptr);
    EXPECT_TRUE(area.contains(marco->geometry())) << clave;
    posiciones.insert({marco->x(), marco->y()});
  }
  EXPECT_GE(posiciones.size(), 2u);  // not all at the same spot
}

TEST(PrincipalLaboratorios, AnalysersAreNumberedByTheLowestFreeNumber) {
  registraBibliotecas();
  ORVPrincipal principal;
  principal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  const QString titulo = QStringLiteral("Análisis del texto");
  std::vector<QWidget*> w;
  for (int i = 0; i < 3; ++i) w.push_back(principal.AbreLaboratorio(QStringLiteral("analiza")));
  EXPECT_EQ(w[0]->windowTitle(), titulo);
  EXPECT_EQ(w[1]->windowTitle(), titulo + QStringLiteral(" (2)"));
  EXPECT_EQ(w[2]->windowTitle(), titulo + QStringLiteral(" (3)"));
  w[1]->parentWidget()->close();
  EXPECT_EQ(principal.AbreLaboratorio(QStringLiteral("analiza"))->windowTitle(),
            titulo + QStringLiteral(" (2)"));
  EXPECT_EQ(principal.AbreLaboratorio(QStringLiteral("analiza"))->windowTitle(),
            titulo + QStringLiteral(" (4)"));
}

TEST(PrincipalLaboratorios, TheMenuBarOpensTheSixClassicalLaboratories) {
  registraBibliotecas();
  ORVPrincipal principal;
  principal.resize(1200, 900);
  principal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  const struct {
    int grupo;
    const char* elemento;
    const char* clase;
    const char* titulo;
  } casos[] = {
      {1, "Analizador", "orv::ORVAnalizar", "Análisis del texto"},
      {2, "Afín", "orv::ORVCSAfin", "Criptosistema afín"},
      {2, "Sustitución", "orv::ORVCSSubst", "Criptosistema por sustitución"},
      {2, "Vigenère", "orv::ORVCSVigenere", "Criptosistema Vigenère"},
      {2, "XOR", "orv::ORVCSXOR", "Criptosistema XOR simple"},
      {2, "Hill", "orv::ORVCSHill", "Criptosistema de Hill"},
  };
  for (const auto& c : casos) {
    eligeEnMenu(principal, c.grupo, QString::fromUtf8(c.elemento));
    QMdiSubWindow* activa = principal.Cliente()->activeSubWindow();
    ASSERT_NE(activa, nullptr) << c.elemento;
    EXPECT_STREQ(activa->widget()->metaObject()->className(), c.clase);
    EXPECT_EQ(activa->widget()->windowTitle(), QString::fromUtf8(c.titulo));
    EXPECT_TRUE(activa->isVisible()) << c.elemento;
  }
  EXPECT_EQ(principal.Cliente()->subWindowList().size(), 6);
}

}  // namespace
}  // namespace orv
