// The menu bar as a widget: building, mouse, splitter, margins, saving.
#include "vimbar/vimbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <tuple>
#include <vector>

#include "modelo.h"

namespace vimbar {
namespace {

struct Clic {
  int32_t grupo, item;
  QString clave;
  bool operator==(const Clic&) const = default;
};

// A shown bar 200 by 420 with the two groups of the main window.
class BarraTest : public testing::Test {
 protected:
  void SetUp() override {
    ventana.resize(200, 420);
    barra = new Vimbar(&ventana);
    barra->setGeometry(0, 0, 200, 420);
    barra->AddMenuGroup(QStringLiteral("Utilidades"));
    barra->AddMenuItem(1, QStringLiteral("Hoja de cálculo"), QIcon(), QStringLiteral("calc"));
    barra->AddMenuItem(1, QStringLiteral("Primos"), QIcon(), QStringLiteral("primos"));
    barra->AddMenuGroup(QStringLiteral("Criptosistemas"));
    barra->AddMenuItem(2, QStringLiteral("Afín"), QIcon(), QStringLiteral("afin"));
    barra->AddMenuItem(2, QStringLiteral("Sustitución"), QIcon(), QStringLiteral("sust"));
    barra->eventos.MenuItemClick.conecta(
        [this](int32_t& g, int32_t& i, QString& k) { clics.push_back({g, i, k}); });
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  }

  VerticalMenu* menu() { return barra->menu(); }
  QPoint centroItem(int i) {
    const MenuItem& it = *menu()->modelo().Item(menu()->MenuCur())->MenuItemItem(i);
    return QPoint(it.Left + 16, it.Top + 16);
  }
  QPoint centroGrupo(int g) { return menu()->modelo().Item(g)->ButtonRect.center(); }

  QWidget ventana;
  Vimbar* barra = nullptr;
  std::vector<Clic> clics;
};

TEST_F(BarraTest, AddMenuItemGoesToItsGroupAndLeavesItSelected) {
  EXPECT_EQ(menu()->MenusMax(), 2);
  EXPECT_EQ(barra->MenuGroupSel(), 2);
  barra->AddMenuGroup(QStringLiteral("Tres"));
  barra->AddMenuItem(1, QStringLiteral("Analizador"), QIcon(), QStringLiteral("analiza"));
  EXPECT_EQ(barra->MenuGroupSel(), 1);
  EXPECT_EQ(menu()->MenuItemsMax(), 3);
  EXPECT_EQ(menu()->modelo().Item(1)->MenuItemItem(3)->key, QStringLiteral("analiza"));
  EXPECT_EQ(menu()->modelo().Item(3)->Caption, QStringLiteral("Tres"));
  // A group that does not exist takes nothing and changes no selection.
  barra->AddMenuItem(7, QStringLiteral("X"), QIcon());
  EXPECT_EQ(menu()->modelo().TotalMenuItems(), 5);
  EXPECT_EQ(barra->MenuGroupSel(), 1);
  // Counters: new groups and items take the default captions.
  menu()->setMenusMax(5);
  EXPECT_EQ(menu()->modelo().Caption(5), QStringLiteral("Menu5"));
  menu()->setMenuCur(5);
  menu()->setMenuItemsMax(1);
  EXPECT_EQ(menu()->modelo().Item(5)->MenuItemItem(1)->Caption, QStringLiteral("Item"));
  menu()->setMenusMax(1);
  EXPECT_EQ(menu()->MenuCur(), 1);
}

TEST_F(BarraTest, GroupIsSelectedOnPressItemClickedOnReleaseOverTheSameItem) {
  QTest::mousePress(menu(), Qt::LeftButton, {}, centroGrupo(1));
  EXPECT_EQ(barra->MenuGroupSel(), 1);
  QTest::mouseRelease(menu(), Qt::LeftButton, {}, centroGrupo(1));
  EXPECT_TRUE(clics.empty());
  QTest::qWait(250);  // the slide ends

  QTest::mousePress(menu(), Qt::LeftButton, {}, centroItem(2));
  EXPECT_TRUE(clics.empty());
  QTest::mouseRelease(menu(), Qt::LeftButton, {}, centroItem(2));
  ASSERT_EQ(clics.size(), 1u);
  EXPECT_EQ(clics[0], (Clic{1, 2, QStringLiteral("primos")}));

  // Pressed on one item, released on another: nothing.
  QTest::mousePress(menu(), Qt::LeftButton, {}, centroItem(1));
  QTest::mouseMove(menu(), centroItem(2));
  QTest::mouseRelease(menu(), Qt::LeftButton, {}, centroItem(2));
  EXPECT_EQ(clics.size(), 1u);
}

TEST_F(BarraTest, DoubleClickActsAsPressReleasePress) {
  const QPoint p = centroItem(1);
  QTest::mousePress(menu(), Qt::LeftButton, {}, p);
  QTest::mouseRelease(menu(), Qt::LeftButton, {}, p);
  ASSERT_EQ(clics.size(), 1u);
  QMouseEvent doble(QEvent::MouseButtonDblClick, QPointF(p), menu()->mapToGlobal(QPointF(p)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(menu(), &doble);
  // The second press alone raises nothing; its release clicks again.
  EXPECT_EQ(clics.size(), 1u);
  EXPECT_EQ(menu()->modelo().Item(2)->Items.ItemPulsado(), 1);
  QTest::mouseRelease(menu(), Qt::LeftButton, {}, p);
  EXPECT_EQ(clics.size(), 2u);
  EXPECT_EQ(clics[1], (Clic{2, 1, QStringLiteral("afin")}));
}

TEST_F(BarraTest, ScrollArrowsScrollAGroupThatDoesNotFit) {
  for (int i = 0; i < 8; ++i) barra->AddMenuItem(2, QStringLiteral("Más %1").arg(i), QIcon());
  VMenu& g = *menu()->modelo().Item(2);
  ASSERT_TRUE(g.Down.IsDisplayed);
  QTest::mouseClick(menu(), Qt::LeftButton, {}, g.Down.Rect.center());
  EXPECT_EQ(g.TopMenuItem(), 2);
  ASSERT_TRUE(g.Up.IsDisplayed);
  QTest::mouseClick(menu(), Qt::LeftButton, {}, g.Up.Rect.center());
  EXPECT_EQ(g.TopMenuItem(), 1);
  EXPECT_TRUE(clics.empty());
}

TEST_F(BarraTest, SplitterSetsTheWidthAndNeverHidesItself) {
  // Splitter 50 twips: 3 pixels at the right edge, the menu panel the rest.
  QWidget* divisor = barra->divisor();
  EXPECT_EQ(divisor->geometry(), QRect(197, 0, 3, 420));
  EXPECT_EQ(barra->panel()->width(), 197);
  // Margins of 50 twips: 3 pixels left, top and bottom.
  EXPECT_EQ(menu()->geometry(), QRect(3, 3, 194, 414));

  barra->arrastraDivisor(-50);  // x relative to the splitter
  EXPECT_EQ(barra->width(), 197 - (3 + 50));
  // Past the left edge the bar keeps the splitter and nothing else; with a
  // border, the splitter and the border.
  struct Caso {
    int16_t borde;
    int ancho;
  };
  for (const Caso c : {Caso{SinBorde, 3}, Caso{ConBorde, 5}}) {
    barra->setBorderStyle(c.borde);
    barra->arrastraDivisor(-400);
    EXPECT_EQ(barra->width(), c.ancho) << c.borde;
    EXPECT_EQ(divisor->width(), 3) << c.borde;
    EXPECT_EQ(barra->panel()->width(), 0) << c.borde;
  }
}

// Dragged with the mouse to the window's left edge and beyond, the splitter
// stays where the mouse can take it and drag the bar out again.
TEST_F(BarraTest, SplitterDraggedToTheEdgeCanBeDraggedBack) {
  QWidget* divisor = barra->divisor();
  auto raton = [&](QEvent::Type tipo, QPoint p, Qt::MouseButtons botones) {
    const QPoint enDivisor = divisor->mapFrom(&ventana, p);
    QMouseEvent e(tipo, QPointF(enDivisor), QPointF(divisor->mapToGlobal(enDivisor)),
                  tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, botones,
                  Qt::NoModifier);
    QApplication::sendEvent(divisor, &e);
  };
  raton(QEvent::MouseButtonPress, QPoint(198, 100), Qt::LeftButton);
  raton(QEvent::MouseMove, QPoint(-30, 100), Qt::LeftButton);
  raton(QEvent::MouseButtonRelease, QPoint(-30, 100), Qt::NoButton);
  ASSERT_GT(divisor->width(), 0);
  ASSERT_TRUE(divisor->isVisible());
  const QPoint agarre = divisor->mapTo(&ventana, divisor->rect().center());
  EXPECT_GE(agarre.x(), 0);
  EXPECT_EQ(ventana.childAt(agarre), divisor);

  raton(QEvent::MouseButtonPress, agarre, Qt::LeftButton);
  raton(QEvent::MouseMove, QPoint(150, 100), Qt::LeftButton);
  raton(QEvent::MouseButtonRelease, QPoint(150, 100), Qt::NoButton);
  EXPECT_EQ(barra->width(), 150 - 3);  // as arrastraDivisor places it
  EXPECT_GT(menu()->width(), 100);
}

TEST_F(BarraTest, WithAFrameControlTheMarginsLeaveTheBar) {
  barra->setMarginLeft(150);
  EXPECT_EQ(barra->MarginLeft(), 150);
  EXPECT_EQ(menu()->x(), 10);
  QWidget marco;
  barra->setFrameControl(&marco);
  EXPECT_EQ(barra->FrameControl(), &marco);
  EXPECT_EQ(barra->MarginLeft(), 0);
  EXPECT_EQ(barra->MarginTop(), 0);
  EXPECT_EQ(menu()->geometry().topLeft(), QPoint(0, 0));
  // The frame window holds them as docked panels, in pixels.
  marco.resize(300, 200);
  const QWidget* izquierdo = marco.findChild<QWidget*>(QStringLiteral("PanelLeft"));
  ASSERT_NE(izquierdo, nullptr);
  EXPECT_EQ(izquierdo->width(), 10);
  barra->setMarginTop(300);
  EXPECT_EQ(marco.findChild<QWidget*>(QStringLiteral("PanelTop"))->height(), 20);
  EXPECT_EQ(barra->MarginTop(), 0);
}

TEST_F(BarraTest, PictureUrlBecomesTheItemIconOnceLoaded) {
  QTemporaryDir dir;
  QPixmap imagen(32, 32);
  imagen.fill(Qt::red);
  const QString ruta = dir.filePath(QStringLiteral("icono.png"));
  ASSERT_TRUE(imagen.save(ruta));
  menu()->setMenuCur(1);
  menu()->setMenuItemCur(2);
  menu()->setMenuItemPictureURL(QUrl::fromLocalFile(ruta).toString());
  EXPECT_TRUE(menu()->MenuItemIcon().isNull());  // it arrives later
  QCoreApplication::processEvents();
  EXPECT_FALSE(menu()->MenuItemIcon().isNull());
  menu()->setMenuItemCur(1);
  menu()->setMenuItemPictureURL(dir.filePath(QStringLiteral("no-existe.png")));
  QCoreApplication::processEvents();
  EXPECT_TRUE(menu()->MenuItemIcon().isNull());
}

TEST(VerticalMenu, NineGroupsOfNineItemsSaveAndRestoreExactly) {
  QWidget ventana;
  VerticalMenu original(&ventana);
  original.setMenusMax(9);
  for (int g = 1; g <= 9; ++g) {
    original.setMenuCur(g);
    original.setMenuCaption(QStringLiteral("Grupo %1").arg(g));
    original.setMenuItemsMax(g);
    for (int i = 1; i <= g; ++i) {
      original.setMenuItemCur(i);
      original.setMenuItemCaption(QStringLiteral("Item %1.%2").arg(g).arg(i));
      original.setMenuItemKey(QStringLiteral("k%1%2").arg(g).arg(i));
      original.setMenuItemTag(QStringLiteral("t%1").arg(i));
    }
  }
  original.setMenuStartup(4);
  kestrin::Propiedades p;
  original.GuardaPropiedades(p);
  EXPECT_TRUE(p.Contiene(U"MenuItemCaption12") == false);
  EXPECT_TRUE(p.Contiene(U"MenuItemCaption21"));
  EXPECT_TRUE(p.Contiene(U"MenuItemsMax9"));

  VerticalMenu copia(&ventana);
  copia.LeePropiedades(p);
  EXPECT_EQ(copia.MenusMax(), 9);
  EXPECT_EQ(copia.MenuCur(), 4);  // a saved bar starts on its start-up group
  for (int g = 1; g <= 9; ++g) {
    const VMenu& a = *original.modelo().Item(g);
    const VMenu& b = *copia.modelo().Item(g);
    EXPECT_EQ(a.Caption, b.Caption);
    ASSERT_EQ(a.MenuItemCount(), b.MenuItemCount());
    for (int i = 1; i <= a.MenuItemCount(); ++i) {
      const MenuItem& x = *a.Items.Item(i);
      const MenuItem& y = *b.Items.Item(i);
      EXPECT_EQ(std::tie(x.Caption, x.key, x.Tag), std::tie(y.Caption, y.key, y.Tag));
    }
  }
  // The order of the saved keys: the counters first, the colours last.
  const auto nombres = p.Nombres();
  EXPECT_EQ(nombres.front(), U"Enabled");
  EXPECT_EQ(nombres[3], U"MenusMax");
  EXPECT_EQ(nombres.back(), U"ForeColor");
}

TEST(VerticalMenu, LargerMenusKeepGroupAndItemNumbersApart) {
  QWidget ventana;
  VerticalMenu original(&ventana);
  original.setMenusMax(12);
  original.setMenuCur(1);
  original.setMenuItemsMax(23);
  original.setMenuItemCur(23);
  original.setMenuItemCaption(QStringLiteral("uno-veintitrés"));
  original.setMenuCur(12);
  original.setMenuItemsMax(3);
  original.setMenuItemCur(3);
  original.setMenuItemCaption(QStringLiteral("doce-tres"));
  kestrin::Propiedades p;
  original.GuardaPropiedades(p);
  VerticalMenu copia(&ventana);
  copia.LeePropiedades(p);
  EXPECT_EQ(copia.modelo().Item(1)->MenuItemItem(23)->Caption, QStringLiteral("uno-veintitrés"));
  EXPECT_EQ(copia.modelo().Item(12)->MenuItemItem(3)->Caption, QStringLiteral("doce-tres"));
}

}  // namespace
}  // namespace vimbar
