// The menu model behind the vertical menu bar: groups and items, their geometry
// on the drawing surface, hover and pressed states, scrolling and hit testing.
//
// The model holds data only; the widget (VerticalMenu) asks it to lay itself
// out (Paint) and then draws what it describes. All coordinates are logical
// pixels on the drawing surface, origin at its top-left corner.
#pragma once

#include <QIcon>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vimbar {

// Mouse-position codes shared by every MouseProcess and HitTest.
inline constexpr int kBajada = -1;  // left button went down
inline constexpr int kMovido = 0;   // pointer moved
inline constexpr int kSubida = 1;   // left button came up

// Border states of an item or an arrow.
inline constexpr int kHundido = -1;
inline constexpr int kPlano = 0;
inline constexpr int kRealzado = 1;

inline constexpr int kLadoIcono = 32;
inline constexpr int kPasoItem = 64;
inline constexpr int kLadoFlecha = 16;

// One scroll arrow of a group.
class Arrow {
 public:
  explicit Arrow(int tipo) : ArrowType(tipo) {}

  int ArrowType;  // 1 up, otherwise down
  bool IsDisplayed = false;
  QRect Rect;
  int State = kPlano;

  // Places and shows the arrow (up: below the groups at the top; down: above
  // the groups at the bottom). An up arrow with no group at the top is hidden.
  void Show(int anchoSuperficie, int menusAtTop, int lineaCorte, int alturaBoton);
  void Hide();
  // True when the point is on the shown arrow; updates State like an item.
  bool HitTest(int iMousePosition, int x, int y);
  void Reset();
  bool pulsada() const { return pulsada_; }

 private:
  bool pulsada_ = false;
};

// One item of a group: an icon with its caption under it.
class MenuItem {
 public:
  QString Caption;
  QString key;
  QString Tag;
  QString PictureURL;
  int Index = 0;
  QIcon Button;
  int Left = 0;
  int Top = 0;
  int Right() const { return Left + kLadoIcono; }
  int Bottom() const { return Top + kLadoIcono; }
  QRect RectTexto;  // caption band, already measured
  int State = kPlano;
  bool Visible = false;
  int AltoVisibleIcono = kLadoIcono;  // less when cut at the clip line
  QRect HitRect;
  QRect BorderRect;

  // True when the point is inside the hit rectangle of a shown item.
  bool HitTest(int iMousePosition, int x, int y);
  void Reset() {
    State = kPlano;
    pulsado_ = false;
  }

 private:
  bool pulsado_ = false;
};

// The ordered items of one group (1-based).
class MenuItems {
 public:
  MenuItem& Add(const QString& caption);
  void Delete(int index);
  MenuItem* Item(int index);
  const MenuItem* Item(int index) const;
  int Count() const { return static_cast<int>(items_.size()); }
  // Index of the item hit (0 for none); on release, only the item that was
  // pressed counts, so a click needs down and up on the same item.
  int MouseProcess(int iMousePosition, int x, int y);
  int ItemPulsado() const { return pulsado_; }
  void Reset();

 private:
  std::vector<std::unique_ptr<MenuItem>> items_;
  int pulsado_ = 0;
};

// Measures the height of a caption word-wrapped in a band of the given width.
using MideTexto = std::function<int(const QString& texto, int ancho)>;

// One group: its button and its items.
class VMenu {
 public:
  VMenu(const QString& caption, int index) : Caption(caption), Index(index) {}

  QString Caption;
  int Index;
  int ButtonTop = 0;
  QRect ButtonRect;
  MenuItems Items;
  Arrow Up{1};
  Arrow Down{2};

  int TopMenuItem() const { return topMenuItem_ < 1 ? 1 : topMenuItem_; }
  void setTopMenuItem(int v) { topMenuItem_ = v; }

  MenuItem& AddMenuItem(const QString& caption) { return Items.Add(caption); }
  void DeleteMenuItem(int index) { Items.Delete(index); }
  int MenuItemCount() const { return Items.Count(); }
  MenuItem* MenuItemItem(int index) { return Items.Item(index); }

  // 100 when a click on the down arrow completes, -100 on the up arrow, else 0.
  int MouseProcessForArrows(int x, int y, int iMousePosition);
  bool IsMenuSelected(int x, int y) const { return ButtonRect.contains(x, y); }
  // Lays out the items below the groups at the top, down to the clip line,
  // then shows or hides the arrows.
  void PaintItems(int ancho, int menuCur, int alturaBoton, int lineaCorte, const MideTexto& mide);
  void HideButton(int iThisButton) { (iThisButton == 1 ? Up : Down).Hide(); }

 private:
  int topMenuItem_ = 0;
};

// The whole menu: the ordered groups (1-based) and the selected one.
class VMenus {
 public:
  VMenus();

  VMenu& Add(const QString& sCaption);
  void Delete(int index);
  VMenu* Item(int index);
  const VMenu* Item(int index) const;
  int Count() const { return static_cast<int>(menus_.size()); }
  int TotalMenuItems() const;
  QString Caption(int index) const;
  void setCaption(int index, const QString& caption);

  int ButtonHeight = 18;
  bool NumberOfMenusChanged = false;

  int MenuCur() const { return menuCur_; }
  // Selects a group (0 for none); an index outside the groups is ignored.
  void setMenuCur(int indice);
  // The group selected at the last Paint (0 before the first).
  int MenuPintado() const { return pintado_; }

  // The drawing surface's size.
  void setMenu(int ancho, int alto);
  int Ancho() const { return ancho_; }
  int Alto() const { return alto_; }
  void setMideTexto(MideTexto mide) { mide_ = std::move(mide); }

  // Lays the group buttons out (the selected one and those before it at the
  // top, the rest at the bottom), then the selected group's items and arrows.
  void Paint();
  // Top of group i's button when `seleccionado` is the selected group.
  int TopBoton(int i, int seleccionado) const;
  // Where the bottom group buttons begin.
  int LineaCorte() const;

  // Index of the group whose button contains the point, else 0.
  int IsMenuButtonClicked(int x, int y) const;

  // Hit types of MouseProcess.
  static constexpr int kNada = 0;
  static constexpr int kGrupo = 1;
  static constexpr int kItem = 2;
  static constexpr int kBajaItems = 3;
  static constexpr int kSubeItems = 4;
  // Dispatches one mouse event: a press on a group button selects nothing by
  // itself but reports (kGrupo, group); a completed item click reports
  // (kItem, item); a completed arrow click scrolls and reports kBajaItems or
  // kSubeItems. The layout is refreshed after a scroll.
  void MouseProcess(int iMousePosition, int x, int y, int& lHitType, int& result);

  // Reordering is not available.
  void MoveMenu(int, int) {}
  void MoveMenuItem(int, int) {}

 private:
  std::vector<std::unique_ptr<VMenu>> menus_;
  int menuCur_ = 0;
  int pintado_ = 0;
  int ancho_ = 0;
  int alto_ = 0;
  MideTexto mide_;
};

}  // namespace vimbar
