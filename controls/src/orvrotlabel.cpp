// The rotated, embossed label.
#include "pemmick/orvrotlabel.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <iterator>

#include "comun.h"
#include "propiedades_qt.h"

namespace pemmick {

using detalle::color;

namespace {
constexpr int kLargoNombreFuente = 31;
}  // namespace

ORVRotLabel::ORVRotLabel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ORVRotLabel::cambia(const char* clave) {
  update();
  const QString k = QString::fromLatin1(clave);
  propiedadCambiada.lanza(k);
}

void ORVRotLabel::setCaption(const QString& v) {
  caption_ = v;
  cambia("Caption");
}
void ORVRotLabel::setAngulo(int32_t v) {
  angulo_ = v;
  cambia("Angulo");
}
void ORVRotLabel::setFont3D(bool v) {
  font3D_ = v;
  cambia("Font3D");
}
void ORVRotLabel::setBackColor3D(uint32_t v) {
  backColor3D_ = v;
  cambia("BackColor3D");
}
void ORVRotLabel::setForeColor3D(uint32_t v) {
  foreColor3D_ = v;
  cambia("ForeColor3D");
}
void ORVRotLabel::setRelieve(float v) {
  relieve_ = v;
  cambia("Relieve");
}
void ORVRotLabel::setBackColor(uint32_t v) {
  backColor_ = v;
  cambia("BackColor");
}
void ORVRotLabel::setForeColor(uint32_t v) {
  foreColor_ = v;
  cambia("ForeColor");
}
void ORVRotLabel::setFont_(const QFont& f) {
  setFont(f);
  fontName_ = f.family().left(kLargoNombreFuente);
  if (f.pointSizeF() > 0) fontSize_ = static_cast<float>(f.pointSizeF());
  fontBold_ = f.bold();
  fontItalic_ = f.italic();
  cambia("Font");
}
void ORVRotLabel::setFontSize(float v) {
  fontSize_ = v;
  cambia("FontSize");
}
void ORVRotLabel::setFontName(const QString& v) {
  fontName_ = v.left(kLargoNombreFuente);
  cambia("FontName");
}
void ORVRotLabel::setFontItalic(bool v) {
  fontItalic_ = v;
  cambia("FontItalic");
}
void ORVRotLabel::setFontBold(bool v) {
  fontBold_ = v;
  cambia("FontBold");
}
void ORVRotLabel::setAppearance(int16_t v) {
  appearance_ = v;
  cambia("Appearance");
}
void ORVRotLabel::setBackStyle(int16_t v) {
  backStyle_ = v;
  cambia("BackStyle");
}
void ORVRotLabel::setBorderStyle(int16_t v) {
  borderStyle_ = v;
  cambia("BorderStyle");
}
void ORVRotLabel::setEnabled_(bool v) {
  setEnabled(v);
  cambia("Enabled");
}
void ORVRotLabel::setMousePointer(int16_t v) {
  mousePointer_ = v;
  aplicaPuntero();
  cambia("MousePointer");
}
void ORVRotLabel::setMouseIcon(const QIcon& v) {
  mouseIcon_ = v;
  aplicaPuntero();
  cambia("MouseIcon");
}

void ORVRotLabel::aplicaPuntero() {
  constexpr int16_t kPersonalizado = 99;
  if (mousePointer_ == kPersonalizado && !mouseIcon_.isNull()) {
    const QSize tamano = mouseIcon_.availableSizes().value(0, QSize(32, 32));
    setCursor(QCursor(mouseIcon_.pixmap(tamano, devicePixelRatioF())));
    return;
  }
  static constexpr Qt::CursorShape kFormas[] = {
      Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
      Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
      Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
      Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
  if (mousePointer_ > 0 && mousePointer_ < static_cast<int16_t>(std::size(kFormas))) {
    setCursor(kFormas[mousePointer_]);
  } else if (mousePointer_ == kPersonalizado) {
    setCursor(Qt::ArrowCursor);
  } else {
    unsetCursor();
  }
}

QFont ORVRotLabel::fuenteCaption() const {
  QFont f = font();
  f.setFamily(fontName_);
  // Sizes are points of the screen's 15 twips per pixel.
  f.setPointSizeF(fontSize_ > 0 ? fontSize_ : 10);
  f.setWeight(fontBold_ ? QFont::ExtraBold : QFont::Normal);
  f.setItalic(fontItalic_);
  return f;
}

namespace {
int grosorBorde(int16_t borderStyle, int16_t appearance) {
  if (borderStyle == 0) return 0;
  return appearance == 0 ? 1 : 2;
}
}  // namespace

QPointF ORVRotLabel::origen() const {
  const QFontMetricsF fm(fuenteCaption());
  const double h = fm.height();
  const double w = fm.horizontalAdvance(caption_);
  const int borde = grosorBorde(borderStyle_, appearance_);
  const double W = width() - 2 * borde;
  const double H = height() - 2 * borde;
  return QPointF(borde + (W - h) / 2, borde + w + (H - w) / 2);
}

void ORVRotLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), color(backColor_));
  const int borde = grosorBorde(borderStyle_, appearance_);
  if (borde > 0) {
    const QPalette pal = palette();
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (borde == 1) {
      p.setPen(pal.color(QPalette::Shadow));
      p.drawRect(r);
    } else {
      // Sunken: dark above and left, light below and right, two lines deep.
      p.setPen(pal.color(QPalette::Dark));
      p.drawLine(r.bottomLeft(), r.topLeft());
      p.drawLine(r.topLeft(), r.topRight());
      p.setPen(pal.color(QPalette::Light));
      p.drawLine(r.topRight(), r.bottomRight());
      p.drawLine(r.bottomRight(), r.bottomLeft());
      const QRectF i = r.adjusted(1, 1, -1, -1);
      p.setPen(pal.color(QPalette::Shadow));
      p.drawLine(i.bottomLeft(), i.topLeft());
      p.drawLine(i.topLeft(), i.topRight());
      p.setPen(pal.color(QPalette::Midlight));
      p.drawLine(i.topRight(), i.bottomRight());
      p.drawLine(i.bottomRight(), i.bottomLeft());
    }
  }
  if (caption_.isEmpty()) return;
  p.setClipRect(rect().adjusted(borde, borde, -borde, -borde));
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QFont fuente = fuenteCaption();
  p.setFont(fuente);
  const double ascenso = QFontMetricsF(fuente).ascent();
  const QPointF o = origen();
  auto capa = [&](QPointF en, double angulo, const QColor& c) {
    p.save();
    p.translate(en);
    p.rotate(-angulo);
    p.setPen(c);
    p.drawText(QPointF(0, ascenso), caption_);
    p.restore();
  };
  if (font3D_) {
    const double r = relieve_ / double(detalle::kTwipsPorPixel);
    capa(o, angulo_, color(backColor3D_));
    capa(o + QPointF(r, r), angulo_, color(foreColor3D_));
  } else {
    capa(o, 90, isEnabled() ? color(foreColor_) : palette().color(QPalette::Disabled, QPalette::Text));
  }
}

namespace {
template <typename E>
void lanzaRaton(E& evento, QMouseEvent* e) {
  int16_t b = detalle::botones(e->type() == QEvent::MouseMove ? e->buttons() : e->button());
  int16_t s = detalle::mayusculas(e->modifiers());
  float x = static_cast<float>(e->position().x());
  float y = static_cast<float>(e->position().y());
  evento.lanza(b, s, x, y);
}
}  // namespace

void ORVRotLabel::mousePressEvent(QMouseEvent* e) { lanzaRaton(eventos.MouseDown, e); }
void ORVRotLabel::mouseMoveEvent(QMouseEvent* e) { lanzaRaton(eventos.MouseMove, e); }
void ORVRotLabel::mouseReleaseEvent(QMouseEvent* e) {
  lanzaRaton(eventos.MouseUp, e);
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) eventos.Click.lanza();
}
void ORVRotLabel::mouseDoubleClickEvent(QMouseEvent* e) {
  lanzaRaton(eventos.MouseDown, e);
  if (e->button() == Qt::LeftButton) eventos.DblClick.lanza();
}
void ORVRotLabel::keyPressEvent(QKeyEvent* e) {
  int16_t c = detalle::codigoTecla(e->key());
  int16_t s = detalle::mayusculas(e->modifiers());
  eventos.KeyDown.lanza(c, s);
  if (e->text().size() == 1) {
    int16_t a = static_cast<int16_t>(e->text().at(0).unicode());
    eventos.KeyPress.lanza(a);
  }
}
void ORVRotLabel::keyReleaseEvent(QKeyEvent* e) {
  int16_t c = detalle::codigoTecla(e->key());
  int16_t s = detalle::mayusculas(e->modifiers());
  eventos.KeyUp.lanza(c, s);
}

void ORVRotLabel::GuardaPropiedades(kestrin::Propiedades& p) const {
  using detalle::escribe;
  escribe(p, QStringLiteral("Caption"), caption_);
  escribe(p, QStringLiteral("Angulo"), angulo_);
  escribe(p, QStringLiteral("Font3D"), font3D_);
  escribe(p, QStringLiteral("BackColor3D"), static_cast<int32_t>(backColor3D_));
  escribe(p, QStringLiteral("ForeColor3D"), static_cast<int32_t>(foreColor3D_));
  escribe(p, QStringLiteral("Relieve"), relieve_);
  escribe(p, QStringLiteral("BackColor"), static_cast<int32_t>(backColor_));
  escribe(p, QStringLiteral("ForeColor"), static_cast<int32_t>(foreColor_));
  escribe(p, QStringLiteral("Font"), font().toString());
  escribe(p, QStringLiteral("FontSize"), fontSize_);
  escribe(p, QStringLiteral("FontName"), fontName_);
  escribe(p, QStringLiteral("FontItalic"), fontItalic_);
  escribe(p, QStringLiteral("FontBold"), fontBold_);
  escribe(p, QStringLiteral("Appearance"), static_cast<int32_t>(appearance_));
  escribe(p, QStringLiteral("BackStyle"), static_cast<int32_t>(backStyle_));
  escribe(p, QStringLiteral("BorderStyle"), static_cast<int32_t>(borderStyle_));
  escribe(p, QStringLiteral("Enabled"), isEnabled());
  escribe(p, QStringLiteral("MousePointer"), static_cast<int32_t>(mousePointer_));
  escribe(p, QStringLiteral("MouseIcon"), mouseIcon_);
}

void ORVRotLabel::LeePropiedades(const kestrin::Propiedades& p) {
  using namespace detalle;
  caption_ = leeTexto(p, QStringLiteral("Caption"), QString());
  angulo_ = leeLong(p, QStringLiteral("Angulo"), 90);
  font3D_ = leeBool(p, QStringLiteral("Font3D"), true);
  backColor3D_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("BackColor3D"), 0));
  foreColor3D_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("ForeColor3D"), 0xFFFFFF));
  relieve_ = leeSimple(p, QStringLiteral("Relieve"), 10);
  backColor_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("BackColor"), static_cast<int32_t>(0x8000000F)));
  foreColor_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("ForeColor"), 0x404040));
  setFont(leeFuente(p, QStringLiteral("Font"), font()));
  fontSize_ = leeSimple(p, QStringLiteral("FontSize"), 10);
  fontName_ = leeTexto(p, QStringLiteral("FontName"), QStringLiteral("Arial")).left(kLargoNombreFuente);
  fontItalic_ = leeBool(p, QStringLiteral("FontItalic"), false);
  fontBold_ = leeBool(p, QStringLiteral("FontBold"), false);
  appearance_ = static_cast<int16_t>(leeLong(p, QStringLiteral("Appearance"), 1));
  backStyle_ = static_cast<int16_t>(leeLong(p, QStringLiteral("BackStyle"), 0));
  borderStyle_ = static_cast<int16_t>(leeLong(p, QStringLiteral("BorderStyle"), 1));
  setEnabled(leeBool(p, QStringLiteral("Enabled"), true));
  mousePointer_ = static_cast<int16_t>(leeLong(p, QStringLiteral("MousePointer"), 0));
  mouseIcon_ = leeIcono(p, QStringLiteral("MouseIcon"));
  aplicaPuntero();
  update();
}

}  // namespace pemmick
