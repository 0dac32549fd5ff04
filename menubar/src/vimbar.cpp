// The vertical menu bar: the inner menu widget and the bar that holds it.
#include "vimbar/vimbar.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

#include "comun.h"
#include "framer/acoplado.h"
#include "marco.h"
#include "modelo.h"
#include "propiedades_qt.h"
#include "qtcomun/medidas.h"

namespace vimbar {

using detalle::color;

namespace {

using qtcomun::kTwipsPorPixel;

int aPixeles(double twips) { return static_cast<int>(std::lround(twips / kTwipsPorPixel)); }

// A one-pixel bevel: raised shows light above and left, pressed the reverse.
void bisel(QPainter& p, const QRect& r, bool realzado, const QColor& luz, const QColor& sombra) {
  const QRectF f = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(realzado ? luz : sombra, 1));
  p.drawLine(f.bottomLeft(), f.topLeft());
  p.drawLine(f.topLeft(), f.topRight());
  p.setPen(QPen(realzado ? sombra : luz, 1));
  p.drawLine(f.topRight(), f.bottomRight());
  p.drawLine(f.bottomRight(), f.bottomLeft());
}

QString claveItem(const char* base, int grupo, int item) {
  // One-digit numbers join as they always have; larger ones take a separator
  // so that group 1 item 23 and group 12 item 3 stay apart.
  if (grupo <= 9 && item <= 9) return QStringLiteral("%1%2%3").arg(QLatin1String(base)).arg(grupo).arg(item);
  return QStringLiteral("%1%2_%3").arg(QLatin1String(base)).arg(grupo).arg(item);
}

}  // namespace

// ---------------------------------------------------------------- VerticalMenu

VerticalMenu::VerticalMenu(QWidget* parent)
    : QWidget(parent), modelo_(std::make_unique<VMenus>()), deslizamiento_(new QVariantAnimation(this)) {
  modelo_->ButtonHeight = kAlturaBoton;
  modelo_->setMideTexto([this](const QString& texto, int ancho) {
    const QFontMetrics fm(font());
    return fm.boundingRect(QRect(0, 0, std::max(1, ancho - 4), 10000),
                           Qt::AlignHCenter | Qt::TextWordWrap, texto)
        .height();
  });
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  deslizamiento_->setStartValue(0.0);
  deslizamiento_->setEndValue(1.0);
  deslizamiento_->setDuration(160);
  deslizamiento_->setEasingCurve(QEasingCurve::OutCubic);
  connect(deslizamiento_, &QVariantAnimation::valueChanged, this, [this] { update(); });
  connect(deslizamiento_, &QVariantAnimation::finished, this, [this] { update(); });
}

VerticalMenu::~VerticalMenu() = default;

bool VerticalMenu::deslizando() const {
  return deslizamiento_->state() == QAbstractAnimation::Running;
}

int32_t VerticalMenu::MenusMax() const { return modelo_->Count(); }

void VerticalMenu::setMenusMax(int32_t n) {
  n = std::max(0, n);
  while (modelo_->Count() < n) modelo_->Add(QStringLiteral("Menu%1").arg(modelo_->Count() + 1));
  while (modelo_->Count() > n) modelo_->Delete(modelo_->Count());
  modelo_->NumberOfMenusChanged = true;
  SetupCache();
}

int32_t VerticalMenu::MenuCur() const { return modelo_->MenuCur(); }

void VerticalMenu::setMenuCur(int32_t n) {
  if (n < 0 || n > modelo_->Count()) return;
  if (cargando_) {
    modelo_->setMenuCur(n);
    return;
  }
  const int antes = modelo_->MenuCur();
  modelo_->setMenuCur(n);
  menuItemCur_ = 0;
  if (antes != n && antes != 0 && isVisible() && width() > 0) {
    desdeGrupo_ = antes;
    deslizamiento_->stop();
    deslizamiento_->start();
  }
  relaya();
}

QString VerticalMenu::MenuCaption() const { return modelo_->Caption(modelo_->MenuCur()); }

void VerticalMenu::setMenuCaption(const QString& caption) {
  modelo_->setCaption(modelo_->MenuCur(), caption);
  relaya();
}

int32_t VerticalMenu::MenuItemsMax() const {
  const VMenu* m = modelo_->Item(modelo_->MenuCur());
  return m ? m->MenuItemCount() : 0;
}

void VerticalMenu::setMenuItemsMax(int32_t n) {
  VMenu* m = modelo_->Item(modelo_->MenuCur());
  if (!m) return;
  n = std::max(0, n);
  while (m->MenuItemCount() < n) m->AddMenuItem(QStringLiteral("Item"));
  while (m->MenuItemCount() > n) m->DeleteMenuItem(m->MenuItemCount());
  if (m->TopMenuItem() > std::max(1, n)) m->setTopMenuItem(std::max(1, n));
  SetupCache();
}

namespace {
MenuItem* itemActual(VMenus& modelo, int item) {
  VMenu* m = modelo.Item(modelo.MenuCur());
  return m ? m->MenuItemItem(item) : nullptr;
}
}  // namespace

QString VerticalMenu::MenuItemCaption() const {
  const MenuItem* i = itemActual(*modelo_, menuItemCur_);
  return i ? i->Caption : QString();
}
void VerticalMenu::setMenuItemCaption(const QString& v) {
  if (MenuItem* i = itemActual(*modelo_, menuItemCur_)) i->Caption = v;
  relaya();
}
QString VerticalMenu::MenuItemKey() const {
  const MenuItem* i = itemActual(*modelo_, menuItemCur_);
  return i ? i->key : QString();
}
void VerticalMenu::setMenuItemKey(const QString& v) {
  if (MenuItem* i = itemActual(*modelo_, menuItemCur_)) i->key = v;
}
QString VerticalMenu::MenuItemTag() const {
  const MenuItem* i = itemActual(*modelo_, menuItemCur_);
  return i ? i->Tag : QString();
}
void VerticalMenu::setMenuItemTag(const QString& v) {
  if (MenuItem* i = itemActual(*modelo_, menuItemCur_)) i->Tag = v;
}
QIcon VerticalMenu::MenuItemIcon() const {
  const MenuItem* i = itemActual(*modelo_, menuItemCur_);
  return i ? i->Button : QIcon();
}
void VerticalMenu::setMenuItemIcon(const QIcon& v) {
  if (MenuItem* i = itemActual(*modelo_, menuItemCur_)) i->Button = v;
  update();
}
QString VerticalMenu::MenuItemPictureURL() const {
  const MenuItem* i = itemActual(*modelo_, menuItemCur_);
  return i ? i->PictureURL : QString();
}

void VerticalMenu::setMenuItemPictureURL(const QString& v) {
  MenuItem* i = itemActual(*modelo_, menuItemCur_);
  if (!i) return;
  i->PictureURL = v;
  if (v.isEmpty()) return;
  // The picture arrives later: the group and item are kept as numbers and
  // looked up again, so a menu rebuilt meanwhile is not written through a
  // stale item.
  const int grupo = modelo_->MenuCur();
  const int item = menuItemCur_;
  QTimer::singleShot(0, this, [this, grupo, item, v] {
    const QUrl url = QUrl::fromUserInput(v, QString(), QUrl::AssumeLocalFile);
    const QString fichero = url.isLocalFile() ? url.toLocalFile() : v;
    if (!QFileInfo(fichero).isFile()) return;
    QIcon icono(fichero);
    VMenu* m = modelo_->Item(grupo);
    MenuItem* destino = m ? m->MenuItemItem(item) : nullptr;
    if (destino && destino->PictureURL == v && !icono.isNull()) {
      destino->Button = icono;
      update();
    }
  });
}

void VerticalMenu::setBackColor(uint32_t c) {
  backColor_ = c;
  update();
}

void VerticalMenu::setForeColor(uint32_t c) {
  foreColor_ = c;
  update();
}

void VerticalMenu::Refresh() {
  relaya();
  repaint();
}

void VerticalMenu::SetupCache() { relaya(); }

void VerticalMenu::relaya() {
  if (cargando_) return;
  modelo_->setMenu(width(), height());
  modelo_->Paint();
  update();
}

void VerticalMenu::resizeEvent(QResizeEvent*) { relaya(); }

void VerticalMenu::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QPalette pal = palette();
  const QColor fondo = color(backColor_);
  const QColor cara = color(0x8000000F);
  const QColor luz = pal.color(QPalette::Light);
  const QColor sombra = pal.color(QPalette::Dark);
  const QColor oscuro = pal.color(QPalette::Shadow);
  p.fillRect(rect(), fondo);

  VMenus& m = *modelo_;
  const int W = width();
  const int B = m.ButtonHeight;
  const bool enMovimiento = deslizando();
  const double t = enMovimiento ? deslizamiento_->currentValue().toDouble() : 1.0;

  // Group buttons, sliding from their old place while the animation runs.
  p.setFont(font());
  for (int i = 1; i <= m.Count(); ++i) {
    const int destino = m.TopBoton(i, m.MenuCur());
    const int origen = enMovimiento ? m.TopBoton(i, desdeGrupo_) : destino;
    const int arriba = static_cast<int>(std::lround(origen + (destino - origen) * t));
    const QRect r(0, arriba, W, B);
    QLinearGradient degradado(r.topLeft(), r.bottomLeft());
    degradado.setColorAt(0, cara.lighter(106));
    degradado.setColorAt(1, cara.darker(106));
    p.fillRect(r, degradado);
    bisel(p, r, true, luz.lighter(110), oscuro);
    bisel(p, r.adjusted(1, 1, -1, -1), true, Qt::white, sombra);
    p.setPen(color(0x80000012));
    const QString texto =
        p.fontMetrics().elidedText(m.Caption(i), Qt::ElideRight, std::max(0, W - 8));
    p.drawText(r, Qt::AlignCenter, texto);
  }
  if (enMovimiento) return;

  const VMenu* grupo = m.Item(m.MenuCur());
  if (!grupo) return;
  const int corte = m.LineaCorte();
  p.save();
  p.setClipRect(QRect(0, 0, W, std::max(0, corte)));
  for (int j = 1; j <= grupo->MenuItemCount(); ++j) {
    const MenuItem& item = *grupo->Items.Item(j);
    if (!item.Visible) continue;
    const QRect icono(item.Left, item.Top, kLadoIcono, kLadoIcono);
    if (!item.Button.isNull()) item.Button.paint(&p, icono);
    if (item.State != kPlano) bisel(p, item.BorderRect, item.State == kRealzado, luz, oscuro);
    // A caption the clip line would cut is left out rather than shown in half.
    if (item.RectTexto.bottom() < corte) {
      p.setPen(color(foreColor_));
      p.drawText(item.RectTexto.adjusted(2, 0, -2, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                 item.Caption);
    }
  }
  p.restore();

  // Arrows: a button-face square with a triangle, bevelled by state.
  for (const Arrow* a : {&grupo->Up, &grupo->Down}) {
    if (!a->IsDisplayed) continue;
    const QRect r = a->Rect;
    p.fillRect(r, cara);
    bisel(p, r, a->State != kHundido, luz, oscuro);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath tri;
    const QPointF c = QRectF(r).center();
    if (a->ArrowType == 1) {
      tri.moveTo(c.x() - 4, c.y() + 2);
      tri.lineTo(c.x() + 4, c.y() + 2);
      tri.lineTo(c.x(), c.y() - 2.5);
    } else {
      tri.moveTo(c.x() - 4, c.y() - 2);
      tri.lineTo(c.x() + 4, c.y() - 2);
      tri.lineTo(c.x(), c.y() + 2.5);
    }
    tri.closeSubpath();
    const QPointF hundido = a->State == kHundido ? QPointF(1, 1) : QPointF(0, 0);
    p.fillPath(tri.translated(hundido), color(0x80000012));
    p.setRenderHint(QPainter::Antialiasing, false);
  }
}

void VerticalMenu::procesa(int codigo, const QPoint& punto) {
  int tipo = 0;
  int resultado = 0;
  modelo_->setMenu(width(), height());
  modelo_->MouseProcess(codigo, punto.x(), punto.y(), tipo, resultado);
  if (tipo == VMenus::kGrupo) {
    setMenuCur(resultado);
    return;
  }
  update();
  if (tipo != VMenus::kItem) return;
  // Restore the hover border, then report the item.
  int tipoMovido = 0;
  int nada = 0;
  modelo_->MouseProcess(kMovido, punto.x(), punto.y(), tipoMovido, nada);
  int32_t grupo = modelo_->MenuCur();
  int32_t item = resultado;
  QString clave;
  if (const VMenu* g = modelo_->Item(grupo)) {
    if (const MenuItem* it = g->Items.Item(item)) clave = it->key;
  }
  clicItem.lanza(grupo, item, clave);
}

void VerticalMenu::lanzaRaton(kestrin::Evento<int16_t&, int16_t&, float&, float&>& evento,
                              QMouseEvent* e) {
  int16_t boton = detalle::botones(e->type() == QEvent::MouseMove ? e->buttons() : e->button());
  int16_t mayus = detalle::mayusculas(e->modifiers());
  float x = static_cast<float>(e->position().x());
  float y = static_cast<float>(e->position().y());
  evento.lanza(boton, mayus, x, y);
}

void VerticalMenu::mousePressEvent(QMouseEvent* e) {
  lanzaRaton(ratonAbajo, e);
  if (e->button() == Qt::LeftButton) procesa(kBajada, e->position().toPoint());
}

void VerticalMenu::mouseMoveEvent(QMouseEvent* e) {
  lanzaRaton(ratonMovido, e);
  procesa(kMovido, e->position().toPoint());
}

void VerticalMenu::mouseReleaseEvent(QMouseEvent* e) {
  lanzaRaton(ratonArriba, e);
  if (e->button() == Qt::LeftButton) {
    procesa(kSubida, e->position().toPoint());
    if (rect().contains(e->position().toPoint())) clic.lanza();
  }
}

void VerticalMenu::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click counts as another press.
  lanzaRaton(ratonAbajo, e);
  if (e->button() != Qt::LeftButton) return;
  dobleClic.lanza();
  procesa(kBajada, e->position().toPoint());
}

void VerticalMenu::leaveEvent(QEvent*) { procesa(kMovido, QPoint(-1, -1)); }

void VerticalMenu::keyPressEvent(QKeyEvent* e) {
  int16_t codigo = detalle::codigoTecla(e->key());
  int16_t mayus = detalle::mayusculas(e->modifiers());
  teclaAbajo.lanza(codigo, mayus);
  const QString texto = e->text();
  if (texto.size() == 1 && texto.at(0).unicode() != 0) {
    int16_t ascii = static_cast<int16_t>(texto.at(0).unicode());
    teclaPulsada.lanza(ascii);
  }
}

void VerticalMenu::keyReleaseEvent(QKeyEvent* e) {
  int16_t codigo = detalle::codigoTecla(e->key());
  int16_t mayus = detalle::mayusculas(e->modifiers());
  teclaArriba.lanza(codigo, mayus);
}

void VerticalMenu::GuardaPropiedades(kestrin::Propiedades& p) const {
  using detalle::escribe;
  escribe(p, QStringLiteral("Enabled"), isEnabled());
  escribe(p, QStringLiteral("ToolTipText"), toolTip());
  escribe(p, QStringLiteral("WhatsThisHelpID"), whatsThis_);
  escribe(p, QStringLiteral("MenusMax"), static_cast<int32_t>(modelo_->Count()));
  escribe(p, QStringLiteral("MenuCur"), static_cast<int32_t>(modelo_->MenuCur()));
  escribe(p, QStringLiteral("MenuStartup"), menuStartup_);
  for (int i = 1; i <= modelo_->Count(); ++i) {
    const VMenu& g = *modelo_->Item(i);
    escribe(p, QStringLiteral("MenuCaption%1").arg(i), g.Caption);
    escribe(p, QStringLiteral("MenuItemsMax%1").arg(i), static_cast<int32_t>(g.MenuItemCount()));
    for (int j = 1; j <= g.MenuItemCount(); ++j) {
      const MenuItem& it = *g.Items.Item(j);
      escribe(p, claveItem("MenuItemIcon", i, j), it.Button);
      escribe(p, claveItem("MenuItemPictureURL", i, j), it.PictureURL);
      escribe(p, claveItem("MenuItemCaption", i, j), it.Caption);
      escribe(p, claveItem("MenuItemKey", i, j), it.key);
      escribe(p, claveItem("MenuItemTag", i, j), it.Tag);
    }
  }
  escribe(p, QStringLiteral("MenuItemIcon0"), QIcon());
  escribe(p, QStringLiteral("MousePointer"), static_cast<int32_t>(0));
  escribe(p, QStringLiteral("AutoRedraw"), false);
  escribe(p, QStringLiteral("ClipControls"), true);
  escribe(p, QStringLiteral("BackColor"), static_cast<int32_t>(backColor_));
  escribe(p, QStringLiteral("ForeColor"), static_cast<int32_t>(foreColor_));
}

void VerticalMenu::LeePropiedades(const kestrin::Propiedades& p) {
  using namespace detalle;
  cargando_ = true;
  setEnabled(leeBool(p, QStringLiteral("Enabled"), true));
  setToolTip(leeTexto(p, QStringLiteral("ToolTipText"), QString()));
  whatsThis_ = leeLong(p, QStringLiteral("WhatsThisHelpID"), 0);
  const int grupos = std::clamp(leeLong(p, QStringLiteral("MenusMax"), 0), 0, 10000);
  while (modelo_->Count() > 0) modelo_->Delete(modelo_->Count());
  for (int i = 1; i <= grupos; ++i) {
    VMenu& g = modelo_->Add(leeTexto(p, QStringLiteral("MenuCaption%1").arg(i), QStringLiteral("Menu")));
    const int items = std::clamp(leeLong(p, QStringLiteral("MenuItemsMax%1").arg(i), 0), 0, 10000);
    for (int j = 1; j <= items; ++j) {
      MenuItem& it = g.AddMenuItem(QString());
      it.Button = leeIcono(p, claveItem("MenuItemIcon", i, j));
      it.PictureURL = leeTexto(p, claveItem("MenuItemPictureURL", i, j), QString());
      it.Caption = leeTexto(p, claveItem("MenuItemCaption", i, j), QStringLiteral("Item"));
      it.key = leeTexto(p, claveItem("MenuItemKey", i, j), QString());
      it.Tag = leeTexto(p, claveItem("MenuItemTag", i, j), QString());
    }
  }
  modelo_->setMenuCur(std::clamp(leeLong(p, QStringLiteral("MenuCur"), 0), 0, grupos));
  menuItemCur_ = 0;
  menuStartup_ = leeLong(p, QStringLiteral("MenuStartup"), 0);
  // A saved bar always starts on its start-up group.
  modelo_->setMenuCur(std::clamp(menuStartup_, 0, grupos));
  leeIcono(p, QStringLiteral("MenuItemIcon0"));
  leeLong(p, QStringLiteral("MousePointer"), 0);
  leeBool(p, QStringLiteral("AutoRedraw"), false);
  leeBool(p, QStringLiteral("ClipControls"), true);
  backColor_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("BackColor"), static_cast<int32_t>(0x80000010)));
  foreColor_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("ForeColor"), static_cast<int32_t>(0x8000000E)));
  cargando_ = false;
  SetupCache();
}

// ---------------------------------------------------------------- Vimbar

namespace {

// The splitter strip on the bar's right edge.
class Divisor : public QWidget {
 public:
  Divisor(Vimbar* barra) : QWidget(barra), barra_(barra) { setCursor(Qt::SizeHorCursor); }

 protected:
  void mousePressEvent(QMouseEvent* e) override { arrastrando_ = e->button() == Qt::LeftButton; }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (arrastrando_) barra_->arrastraDivisor(static_cast<int>(e->position().x()));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) arrastrando_ = false;
    barra_->Refresh();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 0, 0, height());
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(width() - 1, 0, width() - 1, height());
  }

 private:
  Vimbar* barra_;
  bool arrastrando_ = false;
};

}  // namespace

Vimbar::Vimbar(QWidget* parent)
    : QWidget(parent),
      panel_(new QWidget(this)),
      menu_(new VerticalMenu(panel_)),
      divisor_(new Divisor(this)),
      marco_(std::make_unique<Marco>()) {
  panel_->setAutoFillBackground(false);
  // A new bar docks to the left of its container.
  framer::setAlign(this, framer::kAlineaIzquierda);
  menu_->clicItem.conecta([this](int32_t& g, int32_t& i, QString& k) { eventos.MenuItemClick.lanza(g, i, k); });
  menu_->clic.conecta([this] { eventos.Click.lanza(); });
  menu_->dobleClic.conecta([this] { eventos.DblClick.lanza(); });
  menu_->teclaAbajo.conecta([this](int16_t& c, int16_t& s) { eventos.KeyDown.lanza(c, s); });
  menu_->teclaPulsada.conecta([this](int16_t& a) { eventos.KeyPress.lanza(a); });
  menu_->teclaArriba.conecta([this](int16_t& c, int16_t& s) { eventos.KeyUp.lanza(c, s); });
  menu_->ratonAbajo.conecta(
      [this](int16_t& b, int16_t& s, float& x, float& y) { eventos.MouseDown.lanza(b, s, x, y); });
  menu_->ratonMovido.conecta(
      [this](int16_t& b, int16_t& s, float& x, float& y) { eventos.MouseMove.lanza(b, s, x, y); });
  menu_->ratonArriba.conecta(
      [this](int16_t& b, int16_t& s, float& x, float& y) { eventos.MouseUp.lanza(b, s, x, y); });
}

Vimbar::~Vimbar() = default;

void Vimbar::cambiada(const char* clave) {
  const QString k = QString::fromLatin1(clave);
  propiedadCambiada.lanza(k);
}

uint32_t Vimbar::BackColor() const { return menu_->BackColor(); }
void Vimbar::setBackColor(uint32_t c) {
  menu_->setBackColor(c);
  update();
  cambiada("BackColor");
}
uint32_t Vimbar::ForeColor() const { return menu_->ForeColor(); }
void Vimbar::setForeColor(uint32_t c) {
  menu_->setForeColor(c);
  cambiada("ForeColor");
}
void Vimbar::setEnabled_(bool v) {
  setEnabled(v);
  cambiada("Enabled");
}
void Vimbar::setFont_(const QFont& f) {
  setFont(f);
  menu_->setFont(f);
  menu_->Refresh();
  cambiada("Font");
}
void Vimbar::setAppearance(int16_t v) {
  appearance_ = v;
  cambiada("Appearance");
}
void Vimbar::setBackStyle(int16_t v) {
  backStyle_ = v;
  cambiada("BackStyle");
}
void Vimbar::setBorderStyle(int16_t v) {
  borderStyle_ = v == ConBorde ? ConBorde : SinBorde;
  disponPanel();
  update();
  cambiada("BorderStyle");
}
int32_t Vimbar::MenuGroupSel() const { return menu_->MenuCur(); }
void Vimbar::setMenuGroupSel(int32_t v) {
  menu_->setMenuCur(v);
  cambiada("MenuCur");
}
void Vimbar::setSplitWidth(float v) {
  splitWidth_ = std::max(0.0f, v);
  resizeEvent(nullptr);
  cambiada("SplitWidth");
}

void Vimbar::ponMargen(int lado, int32_t v) {
  margenPropio_[lado] = v;
  aplicaMargenes();
  static const char* const kClaves[] = {"MarginLeft", "MarginTop", "MarginRight", "MarginBottom"};
  cambiada(kClaves[lado]);
}

void Vimbar::aplicaMargenes() {
  for (int lado = 0; lado < 4; ++lado) {
    if (marco_->tieneVentana()) {
      marco_->ponBorde(lado, margenPropio_[lado]);
      margen_[lado] = 0;
    } else {
      margen_[lado] = margenPropio_[lado];
    }
  }
  resizeEvent(nullptr);
}

QWidget* Vimbar::FrameControl() {
  if (!marco_->ventana() && parentWidget()) marco_->adopta(window());
  return marco_->ventana();
}

void Vimbar::setFrameControl(QWidget* ventana) {
  marco_->ponVentana(ventana);
  aplicaMargenes();
}

void Vimbar::AddMenuGroup(const QString& GroupName) {
  menu_->setMenusMax(menu_->MenusMax() + 1);
  menu_->setMenuCur(menu_->MenusMax());
  menu_->setMenuCaption(GroupName);
}

void Vimbar::AddMenuItem(int16_t IndexGroup, const QString& ItemName, const QIcon& image,
                         const QString& key) {
  if (IndexGroup < 1 || IndexGroup > menu_->MenusMax()) return;
  menu_->setMenuCur(IndexGroup);
  menu_->setMenuItemsMax(menu_->MenuItemsMax() + 1);
  menu_->setMenuItemCur(menu_->MenuItemsMax());
  menu_->setMenuItemCaption(ItemName);
  menu_->setMenuItemKey(key);
  menu_->setMenuItemIcon(image);
}

void Vimbar::Refresh() {
  disponPanel();
  menu_->Refresh();
}

void Vimbar::arrastraDivisor(int x) {
  const int izquierda = divisor_->x();
  // Never narrower than the splitter itself, or a bar dragged to the edge
  // would leave nothing to drag it back by.
  const int borde = borderStyle_ == ConBorde ? 1 : 0;
  const int minimo = aPixeles(splitWidth_) + 2 * borde;
  const int ancho = std::max(minimo, izquierda - (divisor_->width() - x));
  if (parentWidget() && parentWidget()->layout()) {
    setFixedWidth(ancho);
  } else {
    resize(ancho, height());
  }
}

void Vimbar::resizeEvent(QResizeEvent*) {
  const int borde = borderStyle_ == ConBorde ? 1 : 0;
  const QRect interior = rect().adjusted(borde, borde, -borde, -borde);
  const int divisor = aPixeles(splitWidth_);
  if (interior.width() >= divisor) {
    divisor_->setGeometry(interior.right() + 1 - divisor, interior.top(), divisor, interior.height());
    panel_->setGeometry(interior.left(), interior.top(), interior.width() - divisor, interior.height());
  } else {
    divisor_->setGeometry(interior.right() + 1, interior.top(), 0, interior.height());
    panel_->setGeometry(interior.left(), interior.top(), 0, interior.height());
  }
  disponPanel();
}

void Vimbar::disponPanel() {
  const int izquierda = aPixeles(margen_[0]);
  const int arriba = aPixeles(margen_[1]);
  const int abajo = aPixeles(margen_[3]);
  menu_->setGeometry(izquierda, arriba, std::max(0, panel_->width() - izquierda),
                     std::max(0, panel_->height() - arriba - abajo));
}

void Vimbar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), color(menu_->BackColor()));
  if (borderStyle_ == ConBorde) {
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void Vimbar::GuardaPropiedades(kestrin::Propiedades& p) const {
  using detalle::escribe;
  escribe(p, QStringLiteral("BackColor"), static_cast<int32_t>(BackColor()));
  escribe(p, QStringLiteral("ForeColor"), static_cast<int32_t>(ForeColor()));
  escribe(p, QStringLiteral("Enabled"), isEnabled());
  escribe(p, QStringLiteral("Font"), font().toString());
  escribe(p, QStringLiteral("Appearance"), static_cast<int32_t>(appearance_));
  escribe(p, QStringLiteral("BackStyle"), static_cast<int32_t>(backStyle_));
  escribe(p, QStringLiteral("MarginLeft"), margenPropio_[0]);
  escribe(p, QStringLiteral("MarginTop"), margenPropio_[1]);
  escribe(p, QStringLiteral("MarginRight"), margenPropio_[2]);
  escribe(p, QStringLiteral("MarginBottom"), margenPropio_[3]);
  escribe(p, QStringLiteral("BorderStyle"), static_cast<int32_t>(borderStyle_));
  escribe(p, QStringLiteral("SplitWidth"), splitWidth_);
  menu_->GuardaPropiedades(p);
}

void Vimbar::LeePropiedades(const kestrin::Propiedades& p) {
  using namespace detalle;
  setFont(leeFuente(p, QStringLiteral("Font"), font()));
  menu_->setFont(font());
  appearance_ = static_cast<int16_t>(leeLong(p, QStringLiteral("Appearance"), 0));
  backStyle_ = static_cast<int16_t>(leeLong(p, QStringLiteral("BackStyle"), 0));
  margenPropio_[0] = leeLong(p, QStringLiteral("MarginLeft"), 50);
  margenPropio_[1] = leeLong(p, QStringLiteral("MarginTop"), 50);
  margenPropio_[2] = leeLong(p, QStringLiteral("MarginRight"), 50);
  margenPropio_[3] = leeLong(p, QStringLiteral("MarginBottom"), 50);
  borderStyle_ = leeLong(p, QStringLiteral("BorderStyle"), 0) == ConBorde ? ConBorde : SinBorde;
  splitWidth_ = std::max(0.0f, leeSimple(p, QStringLiteral("SplitWidth"), 50));
  menu_->LeePropiedades(p);
  setEnabled(menu_->isEnabled());
  aplicaMargenes();
}

}  // namespace vimbar
