// The toolbar images of the text box, drawn as vectors so they stay crisp at
// any screen density: a grey image for rest and a coloured one for hover.
#include "iconos.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pemmick::detalle {

namespace {

constexpr int kAncho = 16;
constexpr int kAlto = 15;

// The colour itself for the hot image, its grey for the rest image.
QColor tono(QColor c, bool color) {
  if (color) return c;
  const int g = qGray(c.rgb());
  return QColor(g, g, g, c.alpha());
}

void dibuja(QPainter& p, const QString& key, bool color) {
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor linea = tono(QColor(0x40, 0x40, 0x48), color);
  auto pluma = [&](const QColor& c, double ancho = 1.0) {
    QPen pen(c, ancho);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
  };
  if (key == QLatin1String("abrir")) {
    QPainterPath atras;
    atras.moveTo(1.5, 13.5);
    atras.lineTo(1.5, 3.5);
    atras.lineTo(5.5, 3.5);
    atras.lineTo(7, 5);
    atras.lineTo(12.5, 5);
    atras.lineTo(12.5, 7);
    p.setPen(pluma(tono(QColor(0x8a, 0x64, 0x12), color)));
    p.setBrush(tono(QColor(0xe0, 0xb0, 0x40), color));
    p.drawPath(atras);
    QPainterPath frente;
    frente.moveTo(1.5, 13.5);
    frente.lineTo(4, 7.5);
    frente.lineTo(15, 7.5);
    frente.lineTo(12.5, 13.5);
    frente.closeSubpath();
    p.setBrush(tono(QColor(0xf6, 0xd3, 0x6b), color));
    p.drawPath(frente);
  } else if (key == QLatin1String("guardar")) {
    QPainterPath cuerpo;
    cuerpo.moveTo(1.5, 1.5);
    cuerpo.lineTo(12, 1.5);
    cuerpo.lineTo(14.5, 4);
    cuerpo.lineTo(14.5, 13.5);
    cuerpo.lineTo(1.5, 13.5);
    cuerpo.closeSubpath();
    p.setPen(pluma(tono(QColor(0x1d, 0x3f, 0x7a), color)));
    p.setBrush(tono(QColor(0x3b, 0x6f, 0xc6), color));
    p.drawPath(cuerpo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfa, 0xfa, 0xfa));
    p.drawRect(QRectF(4, 2, 7.5, 4.5));
    p.setBrush(tono(QColor(0x1d, 0x3f, 0x7a), color));
    p.drawRect(QRectF(8.5, 2.8, 1.8, 3));
    p.setBrush(tono(QColor(0xdc, 0xe6, 0xf5), color));
    p.drawRect(QRectF(3.5, 8.5, 9, 5));
  } else if (key == QLatin1String("cortar")) {
    p.setPen(pluma(tono(QColor(0x70, 0x78, 0x80), color), 1.4));
    p.drawLine(QPointF(5.2, 9.6), QPointF(11.5, 1.2));
    p.drawLine(QPointF(10.8, 9.6), QPointF(4.5, 1.2));
    p.setPen(pluma(tono(QColor(0xc0, 0x24, 0x24), color), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.2, 11.4), 2.4, 2.4);
    p.drawEllipse(QPointF(11.8, 11.4), 2.4, 2.4);
  } else if (key == QLatin1String("copiar")) {
    const QColor papel(0xff, 0xff, 0xff);
    const QColor borde = tono(QColor(0x50, 0x60, 0x80), color);
    const QColor renglon = tono(QColor(0x5a, 0x8a, 0xd6), color);
    for (const QPointF o : {QPointF(1.5, 0.5), QPointF(6.5, 4.5)}) {
      p.setPen(pluma(borde));
      p.setBrush(papel);
      p.drawRect(QRectF(o.x(), o.y(), 8, 10));
      p.setPen(pluma(renglon, 0.9));
      for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(o.x() + 2, o.y() + 3 + 2.2 * i), QPointF(o.x() + 6, o.y() + 3 + 2.2 * i));
    }
  } else if (key == QLatin1String("pegar")) {
    p.setPen(pluma(tono(QColor(0x6b, 0x45, 0x1c), color)));
    p.setBrush(tono(QColor(0xb9, 0x82, 0x45), color));
    p.drawRoundedRect(QRectF(1.5, 2, 10, 12.5), 1.2, 1.2);
    p.setBrush(tono(QColor(0x90, 0x96, 0xa0), color));
    p.setPen(pluma(linea));
    p.drawRoundedRect(QRectF(4, 0.5, 5, 3), 1, 1);
    p.setPen(pluma(tono(QColor(0x50, 0x60, 0x80), color)));
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawRect(QRectF(6.5, 5.5, 8, 9));
    p.setPen(pluma(tono(QColor(0x5a, 0x8a, 0xd6), color), 0.9));
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(8.5, 8 + 2.1 * i), QPointF(12.5, 8 + 2.1 * i));
  } else if (key == QLatin1String("deshacer")) {
    const QColor azul = tono(QColor(0x1f, 0x6f, 0xc4), color);
    QPainterPath arco;
    arco.moveTo(4, 6);
    arco.cubicTo(QPointF(7, 2.5), QPointF(14.5, 3), QPointF(14, 9));
    arco.cubicTo(QPointF(13.6, 12), QPointF(11, 13.5), QPointF(8.5, 13.5));
    p.setPen(pluma(azul, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arco);
    QPainterPath punta;
    punta.moveTo(1.2, 2.8);
    punta.lineTo(7, 8.2);
    punta.lineTo(1.2, 9.2);
    punta.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(azul);
    p.drawPath(punta);
  }
}

QPixmap imagen(const QString& key, bool color, qreal escala) {
  QPixmap px(QSize(kAncho, kAlto) * escala);
  px.setDevicePixelRatio(escala);
  px.fill(Qt::transparent);
  QPainter p(&px);
  dibuja(p, key, color);
  return px;
}

}  // namespace

QSize tamanoIcono() { return QSize(kAncho, kAlto); }

QIcon iconoBarra(const QString& key) {
  QIcon icono;
  for (const qreal escala : {1.0, 1.5, 2.0, 3.0}) {
    icono.addPixmap(imagen(key, false, escala), QIcon::Normal);
    icono.addPixmap(imagen(key, true, escala), QIcon::Active);
  }
  return icono;
}

}  // namespace pemmick::detalle
