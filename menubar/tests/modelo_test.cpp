// The menu model: layout of groups and items, hover and press, arrows.
#include "modelo.h"

#include <gtest/gtest.h>

namespace vimbar {
namespace {

// A surface of 120 by H with `grupos` groups of `items` items each; captions
// measure one 14-pixel line.
struct Menu {
  VMenus m;
  Menu(int grupos, int items, int alto = 400) {
    m.setMideTexto([](const QString&, int) { return 14; });
    for (int g = 1; g <= grupos; ++g) {
      VMenu& grupo = m.Add(QStringLiteral("G%1").arg(g));
      for (int i = 1; i <= items; ++i) grupo.AddMenuItem(QStringLiteral("I%1").arg(i));
    }
    m.setMenu(120, alto);
    m.setMenuCur(1);
    m.Paint();
  }
  VMenu& actual() { return *m.Item(m.MenuCur()); }
  MenuItem& item(int i) { return *actual().MenuItemItem(i); }
  // Dispatches and returns {hit type, result}.
  std::pair<int, int> raton(int codigo, QPoint p) {
    int tipo = -99, resultado = -99;
    m.MouseProcess(codigo, p.x(), p.y(), tipo, resultado);
    return {tipo, resultado};
  }
  QPoint centro(int i) { return QPoint(item(i).Left + 16, item(i).Top + 16); }
};

TEST(VMenus, GroupsStackAboveTheSelectionAndBelowTheRest) {
  struct Caso {
    const char* nombre;
    int grupos, seleccion;
    std::vector<int> tops;  // button tops of groups 1..n on a 400-pixel surface
  };
  const Caso casos[] = {
      {"uno", 1, 1, {0}},
      {"primero de tres", 3, 1, {0, 364, 382}},
      {"segundo de tres", 3, 2, {0, 18, 382}},
      {"ultimo de tres", 3, 3, {0, 18, 36}},
  };
  for (const auto& c : casos) {
    Menu menu(c.grupos, 2);
    menu.m.setMenuCur(c.seleccion);
    menu.m.Paint();
    for (int g = 1; g <= c.grupos; ++g) {
      EXPECT_EQ(menu.m.Item(g)->ButtonRect, QRect(0, c.tops[g - 1], 120, 18))
          << c.nombre << " grupo " << g;
    }
    EXPECT_EQ(menu.m.LineaCorte(), 400 - (c.grupos - c.seleccion) * 18) << c.nombre;
    // Each group button answers a press at its own place.
    for (int g = 1; g <= c.grupos; ++g) {
      EXPECT_EQ(menu.m.IsMenuButtonClicked(5, c.tops[g - 1] + 9), g) << c.nombre;
    }
  }
}

TEST(VMenus, ItemsOneEvery64PixelsCentredBelowTheSelectedGroup) {
  Menu menu(3, 3);
  menu.m.setMenuCur(2);
  menu.m.Paint();
  for (int i = 1; i <= 3; ++i) {
    const MenuItem& it = menu.item(i);
    EXPECT_TRUE(it.Visible);
    EXPECT_EQ(it.Left, 44);
    EXPECT_EQ(it.Top, 64 * i - 32 + 18);
    EXPECT_EQ(it.RectTexto, QRect(0, it.Top + 36, 120, 14));
    EXPECT_EQ(it.HitRect, QRect(38, it.Top - 6, 44, 6 + 36 + 14 + 5));
    EXPECT_EQ(it.BorderRect, QRect(42, it.Top - 2, 36, 36));
  }
  // Items of the other groups are not shown and do not answer.
  EXPECT_FALSE(menu.m.Item(1)->MenuItemItem(1)->Visible);
  EXPECT_EQ(menu.m.TotalMenuItems(), 9);
}

TEST(VMenus, PressOnAGroupButtonReportsItAtOnce) {
  Menu menu(3, 2);
  EXPECT_EQ(menu.raton(kBajada, QPoint(10, 390)), std::make_pair(VMenus::kGrupo, 3));
  // Release and hover over a button report nothing.
  EXPECT_EQ(menu.raton(kSubida, QPoint(10, 390)).first, VMenus::kNada);
}

TEST(VMenus, ItemClickNeedsPressAndReleaseOnTheSameItem) {
  Menu menu(1, 3);
  EXPECT_EQ(menu.raton(kBajada, menu.centro(1)).first, VMenus::kNada);
  EXPECT_EQ(menu.item(1).State, kHundido);
  EXPECT_EQ(menu.raton(kSubida, menu.centro(1)), std::make_pair(VMenus::kItem, 1));
  EXPECT_EQ(menu.item(1).State, kRealzado);

  // Pressed on 1, released on 2: nothing; 2 raised under the pointer, 1 flat.
  menu.raton(kBajada, menu.centro(1));
  menu.raton(kMovido, menu.centro(2));
  EXPECT_EQ(menu.item(1).State, kPlano);
  EXPECT_EQ(menu.raton(kSubida, menu.centro(2)).first, VMenus::kNada);
  EXPECT_EQ(menu.item(1).State, kPlano);
  EXPECT_EQ(menu.item(2).State, kRealzado);

  // Released outside every item: nothing.
  menu.raton(kBajada, menu.centro(3));
  EXPECT_EQ(menu.raton(kSubida, QPoint(2, 300)).first, VMenus::kNada);
}

TEST(VMenus, HoverRaisesLeavingFlattensAndReturningWhilePressedPresses) {
  Menu menu(1, 2);
  menu.raton(kMovido, menu.centro(1));
  EXPECT_EQ(menu.item(1).State, kRealzado);
  menu.raton(kMovido, QPoint(2, 2));
  EXPECT_EQ(menu.item(1).State, kPlano);
  menu.raton(kBajada, menu.centro(1));
  menu.raton(kMovido, QPoint(2, 2));
  EXPECT_EQ(menu.item(1).State, kPlano);
  menu.raton(kMovido, menu.centro(1));
  EXPECT_EQ(menu.item(1).State, kHundido);
  EXPECT_EQ(menu.raton(kSubida, menu.centro(1)), std::make_pair(VMenus::kItem, 1));
}

TEST(VMenus, ArrowsAppearOnlyWhenItemsDoNotFitAndScrollOneStep) {
  // Three items fit in 400 pixels: no arrows.
  Menu corto(1, 3);
  EXPECT_FALSE(corto.actual().Up.IsDisplayed);
  EXPECT_FALSE(corto.actual().Down.IsDisplayed);

  // Ten items on a 270-pixel surface with two groups: group 2's button at the
  // bottom makes the clip line 252.
  Menu menu(2, 10, 270);
  VMenu& g = menu.actual();
  EXPECT_TRUE(g.Down.IsDisplayed);
  EXPECT_FALSE(g.Up.IsDisplayed);
  EXPECT_EQ(g.Down.Rect, QRect(120 - 22, 252 - 22, 16, 16));
  EXPECT_FALSE(menu.item(5).Visible);  // top 64*5-32 = 288, below the line
  ASSERT_TRUE(menu.item(4).Visible);   // top 224: icon cut at the line
  EXPECT_EQ(menu.item(4).AltoVisibleIcono, 28);
  EXPECT_EQ(menu.item(4).HitRect.bottom() + 1, 252);

  // A press alone does not scroll; press and release on the arrow does.
  const QPoint abajo = g.Down.Rect.center();
  EXPECT_EQ(menu.raton(kBajada, abajo).first, VMenus::kNada);
  EXPECT_EQ(g.Down.State, kHundido);
  EXPECT_EQ(menu.raton(kSubida, abajo).first, VMenus::kBajaItems);
  EXPECT_EQ(g.TopMenuItem(), 2);
  EXPECT_FALSE(menu.item(1).Visible);
  EXPECT_EQ(menu.item(2).Top, 32);
  ASSERT_TRUE(g.Up.IsDisplayed);
  EXPECT_EQ(g.Up.Rect, QRect(98, 18 + 6, 16, 16));

  // Scrolling down until the last item is shown hides the down arrow.
  int pasos = 0;
  while (g.Down.IsDisplayed && pasos < 20) {
    menu.raton(kBajada, g.Down.Rect.center());
    menu.raton(kSubida, g.Down.Rect.center());
    ++pasos;
  }
  EXPECT_FALSE(g.Down.IsDisplayed);
  EXPECT_TRUE(menu.item(10).Visible);
  EXPECT_LE(menu.item(10).RectTexto.bottom() + 1, 252);

  // The up arrow scrolls back; pressing on it and releasing elsewhere does not.
  const int arriba = g.TopMenuItem();
  menu.raton(kBajada, g.Up.Rect.center());
  menu.raton(kSubida, QPoint(2, 150));
  EXPECT_EQ(g.TopMenuItem(), arriba);
  menu.raton(kBajada, g.Up.Rect.center());
  EXPECT_EQ(menu.raton(kSubida, g.Up.Rect.center()).first, VMenus::kSubeItems);
  EXPECT_EQ(g.TopMenuItem(), arriba - 1);
}

TEST(VMenus, EachGroupKeepsItsOwnScrollPosition) {
  Menu menu(2, 10, 300);
  menu.actual().setTopMenuItem(3);
  menu.m.setMenuCur(2);
  menu.m.Paint();
  EXPECT_EQ(menu.actual().TopMenuItem(), 1);
  EXPECT_TRUE(menu.item(1).Visible);
  menu.m.setMenuCur(1);
  menu.m.Paint();
  EXPECT_EQ(menu.actual().TopMenuItem(), 3);
  EXPECT_FALSE(menu.item(2).Visible);
}

TEST(VMenus, OutOfRangeIndicesYieldNothing) {
  Menu menu(2, 2);
  EXPECT_EQ(menu.m.Item(0), nullptr);
  EXPECT_EQ(menu.m.Item(3), nullptr);
  EXPECT_EQ(menu.actual().MenuItemItem(3), nullptr);
  EXPECT_EQ(menu.m.Caption(7), QString());
  menu.m.setMenuCur(9);
  EXPECT_EQ(menu.m.MenuCur(), 1);
  menu.m.Delete(2);
  menu.m.Delete(5);
  EXPECT_EQ(menu.m.Count(), 1);
  menu.m.Delete(1);
  EXPECT_EQ(menu.m.MenuCur(), 0);
  int tipo = -1, resultado = -1;
  menu.m.Paint();
  menu.m.MouseProcess(kBajada, 10, 10, tipo, resultado);
  EXPECT_EQ(tipo, VMenus::kNada);
}

}  // namespace
}  // namespace vimbar
