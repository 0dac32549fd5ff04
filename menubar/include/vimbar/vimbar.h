// Vimbar: the vertical menu bar the main window docks at its left edge.
//
// The host adds groups (AddMenuGroup) and items (AddMenuItem) and listens to
// MenuItemClick. Vimbar holds a panel with the inner VerticalMenu and a narrow
// splitter strip on its right edge; VerticalMenu owns the menu model, turns
// mouse events into model calls (press on a group button selects it, an item
// click needs press and release on the same item) and paints what the model
// lays out. Margins go to a frame-panel object when a frame control is set.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "kestrin/evento.h"
#include "kestrin/propiedades.h"

class QVariantAnimation;

namespace vimbar {

class VMenus;

// Border styles of the bar.
enum OMBorderStype : int16_t { SinBorde = 0, ConBorde = 1 };

// The inner control: the drawing surface of the menu model.
class VerticalMenu : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int32_t MenusMax READ MenusMax WRITE setMenusMax)
  Q_PROPERTY(int32_t MenuCur READ MenuCur WRITE setMenuCur)
  Q_PROPERTY(int32_t MenuStartup READ MenuStartup WRITE setMenuStartup)
  Q_PROPERTY(QString MenuCaption READ MenuCaption WRITE setMenuCaption)
  Q_PROPERTY(int32_t MenuItemsMax READ MenuItemsMax WRITE setMenuItemsMax)
  Q_PROPERTY(int32_t MenuItemCur READ MenuItemCur WRITE setMenuItemCur)
  Q_PROPERTY(QString MenuItemCaption READ MenuItemCaption WRITE setMenuItemCaption)
  Q_PROPERTY(QString MenuItemKey READ MenuItemKey WRITE setMenuItemKey)
  Q_PROPERTY(QString MenuItemTag READ MenuItemTag WRITE setMenuItemTag)
  Q_PROPERTY(QString MenuItemPictureURL READ MenuItemPictureURL WRITE setMenuItemPictureURL)
  Q_PROPERTY(QString ToolTipText READ ToolTipText WRITE setToolTipText)
  Q_PROPERTY(int32_t WhatsThisHelpID READ WhatsThisHelpID WRITE setWhatsThisHelpID)
  Q_PROPERTY(uint32_t BackColor READ BackColor WRITE setBackColor)
  Q_PROPERTY(uint32_t ForeColor READ ForeColor WRITE setForeColor)

 public:
  explicit VerticalMenu(QWidget* parent);
  ~VerticalMenu() override;

  int32_t MenusMax() const;
  // Appends groups captioned "Menu" + number, or deletes from the last one.
  void setMenusMax(int32_t n);
  int32_t MenuCur() const;
  // Selects a group (0..MenusMax), resets the item counters and repaints with
  // the slide of the group buttons; an index outside the groups is ignored.
  void setMenuCur(int32_t n);
  int32_t MenuStartup() const { return menuStartup_; }
  void setMenuStartup(int32_t n) { menuStartup_ = n; }
  QString MenuCaption() const;
  void setMenuCaption(const QString& caption);

  int32_t MenuItemsMax() const;
  // Adds items captioned "Item" to the current group, or removes from its end.
  void setMenuItemsMax(int32_t n);
  int32_t MenuItemCur() const { return menuItemCur_; }
  void setMenuItemCur(int32_t n) { menuItemCur_ = n; }
  QString MenuItemCaption() const;
  void setMenuItemCaption(const QString& v);
  QString MenuItemKey() const;
  void setMenuItemKey(const QString& v);
  QString MenuItemTag() const;
  void setMenuItemTag(const QString& v);
  QIcon MenuItemIcon() const;
  void setMenuItemIcon(const QIcon& v);
  QString MenuItemPictureURL() const;
  // Loads the picture (a file or file URL) as the current item's icon once
  // control returns to the event loop.
  void setMenuItemPictureURL(const QString& v);

  QString ToolTipText() const { return toolTip(); }
  void setToolTipText(const QString& v) { setToolTip(v); }
  int32_t WhatsThisHelpID() const { return whatsThis_; }
  void setWhatsThisHelpID(int32_t v) { whatsThis_ = v; }
  uint32_t BackColor() const { return backColor_; }
  void setBackColor(uint32_t c);
  uint32_t ForeColor() const { return foreColor_; }
  void setForeColor(uint32_t c);

  // The group button height in logical pixels.
  static constexpr int kAlturaBoton = 18;

  void Refresh();
  // Lays the model out again (after building); repainting follows.
  void SetupCache();

  // Saves and restores the menu under the keys the bar uses.
  void GuardaPropiedades(kestrin::Propiedades& p) const;
  void LeePropiedades(const kestrin::Propiedades& p);

  // The model, for the bar and its tests.
  VMenus& modelo() { return *modelo_; }
  // True while the group buttons slide to a new selection.
  bool deslizando() const;

  // Item click: group, item index, item key.
  kestrin::Evento<int32_t&, int32_t&, QString&> clicItem;
  // The pass-through events the bar raises in its own order.
  kestrin::Evento<> clic;
  kestrin::Evento<> dobleClic;
  kestrin::Evento<int16_t&, int16_t&> teclaAbajo;
  kestrin::Evento<int16_t&> teclaPulsada;
  kestrin::Evento<int16_t&, int16_t&> teclaArriba;
  kestrin::Evento<int16_t&, int16_t&, float&, float&> ratonAbajo;
  kestrin::Evento<int16_t&, int16_t&, float&, float&> ratonMovido;
  kestrin::Evento<int16_t&, int16_t&, float&, float&> ratonArriba;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void leaveEvent(QEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void keyReleaseEvent(QKeyEvent*) override;

 private:
  void procesa(int codigo, const QPoint& punto);
  void relaya();
  void lanzaRaton(kestrin::Evento<int16_t&, int16_t&, float&, float&>& evento, QMouseEvent* e);

  std::unique_ptr<VMenus> modelo_;
  QVariantAnimation* deslizamiento_;
  int desdeGrupo_ = 0;
  int32_t menuStartup_ = 0;
  int32_t menuItemCur_ = 0;
  int32_t whatsThis_ = 0;
  uint32_t backColor_ = 0x80000010;
  uint32_t foreColor_ = 0x8000000E;
  bool cargando_ = false;
};

// The public control: panel with the menu and a splitter strip. Margins and
// SplitWidth are in twips (15 per logical pixel), as the bar has always
// stored them.
class Vimbar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(uint32_t BackColor READ BackColor WRITE setBackColor)
  Q_PROPERTY(uint32_t ForeColor READ ForeColor WRITE setForeColor)
  Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled_)
  Q_PROPERTY(QFont Font READ Font WRITE setFont_)
  Q_PROPERTY(int16_t Appearance READ Appearance WRITE setAppearance)
  Q_PROPERTY(int16_t BackStyle READ BackStyle WRITE setBackStyle)
  Q_PROPERTY(int32_t MarginLeft READ MarginLeft WRITE setMarginLeft)
  Q_PROPERTY(int32_t MarginTop READ MarginTop WRITE setMarginTop)
  Q_PROPERTY(int32_t MarginRight READ MarginRight WRITE setMarginRight)
  Q_PROPERTY(int32_t MarginBottom READ MarginBottom WRITE setMarginBottom)
  Q_PROPERTY(int16_t BorderStyle READ BorderStyle WRITE setBorderStyle)
  Q_PROPERTY(int32_t MenuGroupSel READ MenuGroupSel WRITE setMenuGroupSel)
  Q_PROPERTY(float SplitWidth READ SplitWidth WRITE setSplitWidth)

 public:
  explicit Vimbar(QWidget* parent);
  ~Vimbar() override;

  uint32_t BackColor() const;
  void setBackColor(uint32_t c);
  uint32_t ForeColor() const;
  void setForeColor(uint32_t c);
  bool Enabled() const { return isEnabled(); }
  void setEnabled_(bool v);
  QFont Font() const { return font(); }
  void setFont_(const QFont& f);
  int16_t Appearance() const { return appearance_; }
  void setAppearance(int16_t v);
  int16_t BackStyle() const { return backStyle_; }
  void setBackStyle(int16_t v);
  // Margins: with a frame control set they live in the frame panels and read 0 here.
  int32_t MarginLeft() const { return margen_[0]; }
  void setMarginLeft(int32_t v) { ponMargen(0, v); }
  int32_t MarginTop() const { return margen_[1]; }
  void setMarginTop(int32_t v) { ponMargen(1, v); }
  int32_t MarginRight() const { return margen_[2]; }
  void setMarginRight(int32_t v) { ponMargen(2, v); }
  int32_t MarginBottom() const { return margen_[3]; }
  void setMarginBottom(int32_t v) { ponMargen(3, v); }
  int16_t BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int16_t v);
  int32_t MenuGroupSel() const;
  void setMenuGroupSel(int32_t v);
  float SplitWidth() const { return splitWidth_; }
  void setSplitWidth(float v);

  // The frame control whose panels take the margins: the window that holds
  // the bar until another is set.
  QWidget* FrameControl();
  void setFrameControl(QWidget* ventana);

  // Appends a group and selects it.
  void AddMenuGroup(const QString& GroupName);
  // Appends an item to group IndexGroup (1-based) and leaves that group
  // selected; a group that does not exist adds nothing.
  void AddMenuItem(int16_t IndexGroup, const QString& ItemName, const QIcon& image,
                   const QString& key = QString());
  void Refresh();

  void GuardaPropiedades(kestrin::Propiedades& p) const;
  void LeePropiedades(const kestrin::Propiedades& p);

  VerticalMenu* menu() const { return menu_; }
  QWidget* divisor() const { return divisor_; }
  QWidget* panel() const { return panel_; }

  // Events, in their order.
  struct Eventos {
    kestrin::Evento<int32_t&, int32_t&, QString&> MenuItemClick;
    kestrin::Evento<> Click;
    kestrin::Evento<> DblClick;
    kestrin::Evento<int16_t&, int16_t&> KeyDown;
    kestrin::Evento<int16_t&> KeyPress;
    kestrin::Evento<int16_t&, int16_t&> KeyUp;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseDown;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseMove;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseUp;
  } eventos;

  // Notified with the key of each persisted property written.
  kestrin::Evento<const QString&> propiedadCambiada;

  // The splitter drag: x relative to the splitter, in logical pixels.
  void arrastraDivisor(int x);

 protected:
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;

 private:
  void ponMargen(int lado, int32_t v);
  void aplicaMargenes();
  void disponPanel();
  void cambiada(const char* clave);

  QWidget* panel_;
  VerticalMenu* menu_;
  QWidget* divisor_;
  class Marco;
  std::unique_ptr<Marco> marco_;
  int32_t margen_[4] = {50, 50, 50, 50};
  int32_t margenPropio_[4] = {50, 50, 50, 50};
  float splitWidth_ = 50;
  int16_t appearance_ = 0;
  int16_t backStyle_ = 0;
  int16_t borderStyle_ = SinBorde;
};

}  // namespace vimbar
