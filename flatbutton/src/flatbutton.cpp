// The flat button: pointer state, painting and saved properties.
#include "plankett/flatbutton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "kestrin/errores.h"
#include "plankett/colores.h"

namespace plankett {
namespace {

// The saved keys, in the order they are read and written.
constexpr const char32_t* kClaves[] = {U"BorderStyle", U"Appearance", U"Font",
                                       U"Caption",     U"Enabled",    U"TextColor",
                                       U"HoverColor",  U"BackColor",  U"Style"};

QString aQString(const kestrin::Cadena& c) {
  return QString::fromUcs4(c.data(), static_cast<qsizetype>(c.size()));
}

kestrin::Cadena aCadena(const QString& s) {
  const QList<uint> ucs4 = s.toUcs4();
  return kestrin::Cadena(ucs4.begin(), ucs4.end());
}

// A whole number read from the store; the default when the stored value is
// not one.
int32_t leeEntero(const kestrin::Propiedades& bolsa, const char32_t* clave, int32_t porDefecto) {
  try {
    return kestrin::aLong(bolsa.Lee(clave, kestrin::Variante{porDefecto}));
  } catch (const kestrin::ErrorORV&) {
    return porDefecto;
  }
}

QString leeTexto(const kestrin::Propiedades& bolsa, const char32_t* clave,
                 const QString& porDefecto) {
  const kestrin::Variante v = bolsa.Lee(clave, kestrin::Variante{aCadena(porDefecto)});
  if (const auto* texto = std::get_if<kestrin::Cadena>(&v)) return aQString(*texto);
  return porDefecto;
}

// One-pixel edge round the rectangle, soft: raised has a light top-left and a
// dark bottom-right; sunken is the other way round with the button shadow.
void dibujaBorde(QPainter& pintor, const QRect& r, const QColor& arribaIzquierda,
                 const QColor& abajoDerecha) {
  pintor.fillRect(QRect(r.left(), r.top(), r.width(), 1), arribaIzquierda);
  pintor.fillRect(QRect(r.left(), r.top(), 1, r.height()), arribaIzquierda);
  pintor.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), abajoDerecha);
  pintor.fillRect(QRect(r.right(), r.top(), 1, r.height()), abajoDerecha);
}

}  // namespace

FlatButton::FlatButton(QWidget* parent)
    : QWidget(parent),
      colorTexto_(kColorTextoBoton),
      colorEncima_(kColorResaltado),
      colorFondo_(kColorCaraBoton) {
  setMouseTracking(true);
  setAttribute(Qt::WA_Hover, false);
  setFocusPolicy(Qt::NoFocus);
  IniciaPropiedades();
}

void FlatButton::IniciaPropiedades() {
  caption_ = objectName();
  setFont(parentWidget() != nullptr ? parentWidget()->font() : QApplication::font());
  setEnabled(true);
  colorTexto_ = kColorTextoBoton;
  colorEncima_ = kColorResaltado;
  colorFondo_ = kColorCaraBoton;
  estilo_ = plano;
  update();
}

void FlatButton::cambiada(const char* nombre) {
  update();
  emit PropertyChanged(QLatin1String(nombre));
}

void FlatButton::setCaption(const QString& valor) {
  caption_ = valor;
  cambiada("Caption");
}

void FlatButton::setTextColor(uint32_t valor) {
  colorTexto_ = valor;
  cambiada("TextColor");
}

void FlatButton::setHoverColor(uint32_t valor) {
  colorEncima_ = valor;
  cambiada("HoverColor");
}

void FlatButton::setBackColor(uint32_t valor) {
  colorFondo_ = valor;
  cambiada("BackColor");
}

void FlatButton::setBorderStyle(int valor) {
  if (valor != SinBorde && valor != ConBorde) kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
  borde_ = static_cast<FBBorderStyle>(valor);
  // The border is outside the client area, as a window border is.
  setContentsMargins(borde_ == ConBorde ? QMargins(1, 1, 1, 1) : QMargins());
  cambiada("BorderStyle");
}

void FlatButton::setStyle(int valor) {
  if (valor != plano && valor != Estilo3D) kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
  estilo_ = static_cast<FBStyle>(valor);
  cambiada("Style");
}

void FlatButton::setAppearance(short valor) {
  apariencia_ = valor;
  cambiada("Appearance");
}

void FlatButton::setModoDiseno(bool valor) {
  modoDiseno_ = valor;
  update();
}

void FlatButton::LeePropiedades(const kestrin::Propiedades& bolsa) {
  try {
    setBorderStyle(leeEntero(bolsa, kClaves[0], SinBorde));
  } catch (const kestrin::ErrorORV&) {
    setBorderStyle(SinBorde);
  }
  setAppearance(static_cast<short>(leeEntero(bolsa, kClaves[1], 1)));
  QFont fuente = font();
  const QString descripcion = leeTexto(bolsa, kClaves[2], QString());
  if (!descripcion.isEmpty() && fuente.fromString(descripcion)) setFont(fuente);
  setCaption(leeTexto(bolsa, kClaves[3], objectName()));
  const kestrin::Variante habilitado = bolsa.Lee(kClaves[4], kestrin::Variante{true});
  // True is also stored as a number (-1) by older stores; texts read as the default.
  if (std::holds_alternative<bool>(habilitado)) {
    setEnabled(std::get<bool>(habilitado));
  } else {
    setEnabled(kestrin::esNumero(habilitado) ? leeEntero(bolsa, kClaves[4], 1) != 0 : true);
  }
  setTextColor(
      static_cast<uint32_t>(leeEntero(bolsa, kClaves[5], static_cast<int32_t>(kColorTextoBoton))));
  setHoverColor(
      static_cast<uint32_t>(leeEntero(bolsa, kClaves[6], static_cast<int32_t>(kColorResaltado))));
  setBackColor(
      static_cast<uint32_t>(leeEntero(bolsa, kClaves[7], static_cast<int32_t>(kColorCaraBoton))));
  try {
    setStyle(leeEntero(bolsa, kClaves[8], plano));
  } catch (const kestrin::ErrorORV&) {
    setStyle(plano);
  }
}

void FlatButton::EscribePropiedades(kestrin::Propiedades& bolsa) const {
  using kestrin::Variante;
  bolsa.Escribe(kClaves[0], Variante{int32_t{borde_}});
  bolsa.Escribe(kClaves[1], Variante{int16_t{apariencia_}});
  bolsa.Escribe(kClaves[2], Variante{aCadena(font().toString())});
  bolsa.Escribe(kClaves[3], Variante{aCadena(caption_)});
  bolsa.Escribe(kClaves[4], Variante{isEnabled()});
  bolsa.Escribe(kClaves[5], Variante{static_cast<int32_t>(colorTexto_)});
  bolsa.Escribe(kClaves[6], Variante{static_cast<int32_t>(colorEncima_)});
  bolsa.Escribe(kClaves[7], Variante{static_cast<int32_t>(colorFondo_)});
  bolsa.Escribe(kClaves[8], Variante{int32_t{estilo_}});
}

QPoint FlatButton::OrigenTexto() const {
  const QFontMetrics medidas(font());
  const QRect cliente = contentsRect();
  // Halves round towards the top-left, so an odd leftover pixel sits below
  // and to the right of the caption; a caption wider than the button gets a
  // negative origin and is clipped at both sides.
  return QPoint(cliente.left() + (cliente.width() - medidas.horizontalAdvance(caption_)) / 2,
                cliente.top() + (cliente.height() - medidas.height()) / 2);
}

QSize FlatButton::sizeHint() const {
  const QFontMetrics medidas(font());
  const QMargins m = contentsMargins();
  return QSize(
      medidas.horizontalAdvance(caption_) + 4 * medidas.averageCharWidth() + m.left() + m.right(),
      medidas.height() * 7 / 4 + m.top() + m.bottom());
}

void FlatButton::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  const QPalette& paleta = palette();
  const QRect cliente = contentsRect();
  if (borde_ == ConBorde) {
    pintor.setPen(colorORV(kColorSombraOscura3D, paleta));
    pintor.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  pintor.fillRect(cliente, colorORV(colorFondo_, paleta));
  pintor.setClipRect(cliente);
  pintor.setFont(font());
  const QPoint base(0, QFontMetrics(font()).ascent());
  const QPoint origen = OrigenTexto();
  const QColor luz = colorORV(kColorLuz3D, paleta);
  const QColor sombra = colorORV(kColorSombraBoton, paleta);
  const QColor sombraOscura = colorORV(kColorSombraOscura3D, paleta);

  if (!isEnabled()) {
    // Etched: the caption in the light colour one pixel off, then in shadow.
    pintor.setPen(luz);
    pintor.drawText(origen + QPoint(1, 1) + base, caption_);
    pintor.setPen(sombra);
    pintor.drawText(origen + base, caption_);
  } else if (pulsado_) {
    dibujaBorde(pintor, cliente, sombra, luz);
    pintor.setPen(colorORV(colorEncima_, paleta));
    pintor.drawText(origen + QPoint(1, 1) + base, caption_);
  } else if (encima_ || modoDiseno_) {
    dibujaBorde(pintor, cliente, luz, sombraOscura);
    pintor.setPen(colorORV(colorEncima_, paleta));
    pintor.drawText(origen + base, caption_);
  } else {
    if (estilo_ == Estilo3D) dibujaBorde(pintor, cliente, luz, sombraOscura);
    pintor.setPen(colorORV(colorTexto_, paleta));
    pintor.drawText(origen + base, caption_);
  }
}

void FlatButton::mouseMoveEvent(QMouseEvent* evento) {
  const QPointF p = evento->position();
  const bool dentro = p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
  if (dentro == encima_) return;
  if (evento->buttons() != Qt::NoButton) pulsado_ = true;
  encima_ = dentro;
  if (!dentro) pulsado_ = false;
  update();
}

void FlatButton::pulsa() {
  pulsado_ = true;
  update();
}

void FlatButton::mousePressEvent(QMouseEvent*) {
  pulsa();
}
void FlatButton::mouseDoubleClickEvent(QMouseEvent*) {
  pulsa();
}

void FlatButton::mouseReleaseEvent(QMouseEvent*) {
  const bool estaba = pulsado_;
  pulsado_ = false;
  update();
  if (estaba) emit Click();
}

void FlatButton::leaveEvent(QEvent*) {
  // The pointer left without a button held (with one held, the moves say so).
  if (QApplication::mouseButtons() != Qt::NoButton) return;
  encima_ = false;
  pulsado_ = false;
  update();
}

void FlatButton::changeEvent(QEvent* evento) {
  if (evento->type() == QEvent::FontChange) {
    cambiada("Font");
  } else if (evento->type() == QEvent::EnabledChange) {
    if (!isEnabled()) encima_ = pulsado_ = false;
    cambiada("Enabled");
  }
  QWidget::changeEvent(evento);
}

}  // namespace plankett
