// The artwork, drawn with QPainter on a 32-unit design grid (icons) or at the
// bitmap's own logical size, scaled to the device pixels asked for.
#include "orv/arte.h"

#include <QFont>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <cmath>

namespace orv::arte {

namespace {

using Dibujo = void (*)(QPainter&);

// The menu icons share one shape: a rounded tile in the item's own colour,
// lit from the top, with a white glyph drawn in strokes of one width.
constexpr qreal kTrazo = 2.6;
const QColor kBlanco(255, 255, 255);

void teja(QPainter& p, QColor color) {
  QLinearGradient degradado(0, 1, 0, 31);
  degradado.setColorAt(0, color.lighter(128));
  degradado.setColorAt(1, color.darker(118));
  const QRectF caja(1.5, 1.5, 29, 29);
  p.setPen(QPen(color.darker(160), 1));
  p.setBrush(degradado);
  p.drawRoundedRect(caja, 6.5, 6.5);
  // A thin inner highlight along the top edge.
  p.setPen(QPen(QColor(255, 255, 255, 70), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(caja.adjusted(1, 1, -1, -1), 5.5, 5.5);
}

QPen trazo(qreal ancho = kTrazo) {
  return QPen(kBlanco, ancho, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Hoja de cálculo: a sheet with a shaded header row and a grid of cells.
void calc(QPainter& p) {
  teja(p, QColor(0x2f, 0x8f, 0x5b));
  const QRectF hoja(7, 8, 18, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  p.drawRoundedRect(hoja, 1.5, 1.5);
  p.setBrush(QColor(0x2f, 0x8f, 0x5b, 110));
  p.drawRect(QRectF(7, 8, 18, 4));
  p.drawRect(QRectF(7, 8, 5, 16));
  p.setPen(QPen(QColor(0x1f, 0x6b, 0x43), 1));
  for (qreal x : {12.0, 18.5}) p.drawLine(QPointF(x, 8), QPointF(x, 24));
  for (qreal y : {12.0, 16.0, 20.0}) p.drawLine(QPointF(7, y), QPointF(25, y));
}

// Primos: the numbers 1 to 9 as dots, the primes 2, 3, 5 and 7 filled.
void primos(QPainter& p) {
  teja(p, QColor(0xc8, 0x82, 0x1a));
  for (int n = 1; n <= 9; ++n) {
    const QPointF centro(9.5 + ((n - 1) % 3) * 6.5, 9.5 + ((n - 1) / 3) * 6.5);
    const bool primo = n == 2 || n == 3 || n == 5 || n == 7;
    if (primo) {
      p.setPen(Qt::NoPen);
      p.setBrush(kBlanco);
      p.drawEllipse(centro, 2.9, 2.9);
    } else {
      p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(centro, 1.9, 1.9);
    }
  }
}

// Analizador: frequency bars, largest first, on a base line.
void analiza(QPainter& p) {
  teja(p, QColor(0x1c, 0x86, 0x9c));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  const std::array<qreal, 4> alturas{15, 11, 7.5, 4.5};
  for (size_t i = 0; i < alturas.size(); ++i) {
    p.drawRoundedRect(QRectF(7.5 + i * 4.5, 24 - alturas[i], 3.4, alturas[i]), 0.8, 0.8);
  }
  p.setPen(trazo(1.6));
  p.drawLine(QPointF(6, 25.2), QPointF(26, 25.2));
}

// Afín: the line y = ax + b over a pair of axes.
void afin(QPainter& p) {
  teja(p, QColor(0x2d, 0x6c, 0xc0));
  p.setPen(QPen(QColor(255, 255, 255, 190), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 7), QPointF(9, 25));
  p.drawLine(QPointF(7, 23), QPointF(26, 23));
  p.setPen(trazo());
  p.drawLine(QPointF(9, 19.5), QPointF(24.5, 8.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  p.drawEllipse(QPointF(9, 19.5), 2.3, 2.3);
}

// A capital letter centred on a point, in the icons' bold face.
void letra(QPainter& p, const QString& texto, QPointF centro, qreal alto) {
  QFont fuente(QStringLiteral("DejaVu Sans"));
  fuente.setBold(true);
  fuente.setPixelSize(100);
  QPainterPath camino;
  camino.addText(0, 0, fuente, texto);
  const QRectF caja = camino.boundingRect();
  const qreal escala = alto / caja.height();
  QTransform t;
  t.translate(centro.x(), centro.y());
  t.scale(escala, escala);
  t.translate(-caja.center().x(), -caja.center().y());
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  p.drawPath(t.map(camino));
}

// An arrow head at `punta`, pointing along the angle in degrees.
void punta(QPainter& p, QPointF punta, qreal grados) {
  const qreal r = grados * M_PI / 180.0;
  const QPointF a = punta - QPointF(std::cos(r - 0.55), std::sin(r - 0.55)) * 4.2;
  const QPointF b = punta - QPointF(std::cos(r + 0.55), std::sin(r + 0.55)) * 4.2;
  p.setPen(trazo(2.2));
  p.drawLine(a, punta);
  p.drawLine(b, punta);
}

// Sustitución: one letter standing for another.
void sust(QPainter& p) {
  teja(p, QColor(0x6f, 0x4c, 0xc0));
  letra(p, QStringLiteral("A"), QPointF(9.6, 11.2), 9);
  letra(p, QStringLiteral("K"), QPointF(22.4, 20.8), 9);
  QPainterPath arco;
  arco.moveTo(15.2, 9.6);
  arco.cubicTo(21.5, 8.6, 23.6, 10.8, 22.6, 14.4);
  p.setPen(trazo(2.2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arco);
  punta(p, QPointF(22.5, 14.9), 100);
}

// Vigenère: the square of shifted alphabets, its diagonals in step.
void vigenere(QPainter& p) {
  teja(p, QColor(0xb4, 0x38, 0x58));
  p.setPen(Qt::NoPen);
  static constexpr int kAlfa[] = {255, 175, 105, 45};
  for (int fila = 0; fila < 4; ++fila) {
    for (int col = 0; col < 4; ++col) {
      p.setBrush(QColor(255, 255, 255, kAlfa[(fila + col) % 4]));
      p.drawRoundedRect(QRectF(7 + col * 4.7, 7 + fila * 4.7, 3.9, 3.9), 0.7, 0.7);
    }
  }
}

// XOR: the circled plus.
void xorIcono(QPainter& p) {
  teja(p, QColor(0x47, 0x5a, 0x7c));
  p.setPen(trazo());
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(16, 16), 8.3, 8.3);
  p.drawLine(QPointF(16, 7.7), QPointF(16, 24.3));
  p.drawLine(QPointF(7.7, 16), QPointF(24.3, 16));
}

// Hill: a 2 × 2 matrix between brackets.
void hill(QPainter& p) {
  teja(p, QColor(0x8c, 0x6a, 0x2a));
  p.setPen(trazo(2.2));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(
      QPolygonF({QPointF(10, 7.5), QPointF(7, 7.5), QPointF(7, 24.5), QPointF(10, 24.5)}));
  p.drawPolyline(
      QPolygonF({QPointF(22, 7.5), QPointF(25, 7.5), QPointF(25, 24.5), QPointF(22, 24.5)}));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  for (qreal x : {12.6, 19.4}) {
    for (qreal y : {12.4, 19.6}) p.drawEllipse(QPointF(x, y), 2.3, 2.3);
  }
}

// RSA: a key.
void rsa(QPainter& p) {
  teja(p, QColor(0xb0, 0x44, 0x2a));
  p.setPen(trazo(2.8));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(11, 16), 4.6, 4.6);
  p.drawLine(QPointF(15.6, 16), QPointF(25.5, 16));
  p.drawLine(QPointF(22.5, 16), QPointF(22.5, 20.5));
  p.drawLine(QPointF(25.5, 16), QPointF(25.5, 19.5));
}

// M-H Mochila: a knapsack with its flap, pocket and handle.
void mochila(QPainter& p) {
  teja(p, QColor(0x58, 0x7a, 0x26));
  p.setPen(trazo(2.2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(12.5, 5.5, 7, 6), 0, 180 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  p.drawRoundedRect(QRectF(8.5, 9, 15, 17), 4, 4);
  const QColor hueco(0x58, 0x7a, 0x26);
  p.setPen(QPen(hueco, 1.5, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath solapa;
  solapa.moveTo(9, 14);
  solapa.quadTo(16, 17.5, 23, 14);
  p.drawPath(solapa);
  p.drawRoundedRect(QRectF(12, 18.5, 8, 5), 1.5, 1.5);
  p.drawLine(QPointF(16, 15.7), QPointF(16, 17.5));
}

// The windows' icon: a keyhole in a ring, the program's sign.
void ventana(QPainter& p) {
  QLinearGradient degradado(0, 0, 0, 32);
  degradado.setColorAt(0, QColor(0x2b, 0x4a, 0x78));
  degradado.setColorAt(1, QColor(0x16, 0x2a, 0x4a));
  p.setPen(QPen(QColor(0x0e, 0x1c, 0x33), 1));
  p.setBrush(degradado);
  p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6.5, 6.5);
  p.setPen(QPen(QColor(0xf2, 0xc1, 0x4e), 3.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(16, 16), 9.4, 9.4);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlanco);
  p.drawEllipse(QPointF(16, 13.6), 2.9, 2.9);
  p.drawPolygon(QPolygonF(
      {QPointF(14.7, 14.5), QPointF(17.3, 14.5), QPointF(18.4, 21.6), QPointF(13.6, 21.6)}));
}

struct EntradaIcono {
  const char* nombre;
  Dibujo dibujo;
};

constexpr EntradaIcono kIconos[] = {
    {"CALC1", calc}, {"PRIMOS1", primos},     {"ANALIZA1", analiza}, {"AFIN1", afin},
    {"SUST1", sust}, {"VIGENERE1", vigenere}, {"XOR1", xorIcono},    {"HILL1", hill},
    {"RSA1", rsa},   {"MHMochila1", mochila}, {"A", ventana},
};

// Paints a design-grid drawing into any rectangle, at the painter's own
// resolution, so the strokes stay sharp at every pixel ratio.
class MotorDibujo : public QIconEngine {
 public:
  explicit MotorDibujo(Dibujo dibujo) : dibujo_(dibujo) {}

  void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const qreal lado = std::min(rect.width(), rect.height());
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->translate(rect.x() + (rect.width() - lado) / 2.0, rect.y() + (rect.height() - lado) / 2.0);
    p->scale(lado / 32.0, lado / 32.0);
    if (mode == QIcon::Disabled) p->setOpacity(0.4);
    dibujo_(*p);
    p->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  // QIcon asks with the size already in device pixels.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    {
      QPainter p(&pm);
      paint(&p, pm.rect(), mode, state);
    }
    pm.setDevicePixelRatio(scale);
    return pm;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QIconEngine* clone() const override { return new MotorDibujo(dibujo_); }
  QString key() const override { return QStringLiteral("orv.arte"); }

 private:
  Dibujo dibujo_;
};

// An image of `logico` logical pixels at `ratio`, transparent, with a painter
// in logical units.
QImage lienzo(QSize logico, qreal ratio) {
  QImage imagen((QSizeF(logico) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
  imagen.fill(Qt::transparent);
  imagen.setDevicePixelRatio(ratio);
  return imagen;
}

// "gris": light grey paper with a faint embossed diamond lattice.
QImage gris(qreal ratio) {
  QImage imagen = lienzo(QSize(30, 30), ratio);
  QPainter p(&imagen);
  p.fillRect(QRectF(0, 0, 30, 30), QColor(224, 224, 224));
  p.setRenderHint(QPainter::Antialiasing);
  const QPolygonF rombo(
      {QPointF(15, 0), QPointF(30, 15), QPointF(15, 30), QPointF(0, 15), QPointF(15, 0)});
  p.setPen(QPen(QColor(236, 236, 236), 1));
  p.drawPolyline(rombo.translated(0, 1));
  p.setPen(QPen(QColor(212, 212, 212), 1));
  p.drawPolyline(rombo);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(214, 214, 214));
  p.drawEllipse(QPointF(15, 15), 1.1, 1.1);
  return imagen;
}

// "cuadritos": white with two faint blue squares, a quiet check.
QImage cuadritos(qreal ratio) {
  QImage imagen = lienzo(QSize(8, 8), ratio);
  QPainter p(&imagen);
  p.fillRect(QRectF(0, 0, 8, 8), Qt::white);
  p.fillRect(QRectF(0, 0, 4, 4), QColor(236, 241, 248));
  p.fillRect(QRectF(4, 4, 4, 4), QColor(236, 241, 248));
  return imagen;
}

// "autor": the signature reading upwards, white where the tiles show. The
// soft edges of the letters are blended against the frame's grey, so once
// white is made transparent no light fringe remains.
QImage autor(qreal ratio) {
  QImage trazos = lienzo(QSize(25, 200), ratio);
  {
    QPainter p(&trazos);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(0, 200);
    p.rotate(-90);
    // Now x runs up the strip (0..200) and y across it (0..25).
    QFont fuente(QStringLiteral("Nimbus Roman"));
    fuente.setItalic(true);
    fuente.setPixelSize(15);
    p.setFont(fuente);
    const QColor tinta(0x3a, 0x48, 0x5c);
    p.setPen(tinta);
    const QString firma = QStringLiteral("Laboratorio Orvane");
    const QFontMetricsF medidas(fuente);
    const qreal ancho = medidas.horizontalAdvance(firma);
    const qreal x = 200 - 14 - ancho;
    p.drawText(QPointF(x, 16.5), firma);
    p.setPen(QPen(tinta, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x - 2, 20.5), QPointF(200 - 10, 20.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0x8a, 0x2a));
    p.drawEllipse(QPointF(x - 7, 20.5), 1.6, 1.6);
  }
  QImage imagen(trazos.size(), QImage::Format_RGB32);
  imagen.setDevicePixelRatio(ratio);
  const QRgb gris = qRgb(224, 224, 224);
  for (int y = 0; y < trazos.height(); ++y) {
    const auto* origen = reinterpret_cast<const QRgb*>(trazos.constScanLine(y));
    auto* destino = reinterpret_cast<QRgb*>(imagen.scanLine(y));
    for (int x = 0; x < trazos.width(); ++x) {
      const QRgb c = origen[x];
      const int a = qAlpha(c);
      if (a == 0) {
        destino[x] = qRgb(255, 255, 255);
        continue;
      }
      // Premultiplied: colour + grey × (1 − alpha).
      auto mezcla = [&](int componente, int fondo) { return componente + fondo * (255 - a) / 255; };
      destino[x] = qRgb(mezcla(qRed(c), qRed(gris)), mezcla(qGreen(c), qGreen(gris)),
                        mezcla(qBlue(c), qBlue(gris)));
    }
  }
  return imagen;
}

// The spreadsheet's toolbar bitmaps, 16 × 15, in the toolbars' own look:
// strong outlines, a light fill, one accent colour.

// "zoom": a magnifying glass over a row of digits.
QImage zoom(qreal ratio) {
  QImage imagen = lienzo(QSize(16, 15), ratio);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x50, 0x60, 0x80), 1.0));
  p.setBrush(QColor(0xe6, 0xf0, 0xfb));
  p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
  p.setPen(QPen(QColor(0x2d, 0x6c, 0xc0), 1.1, Qt::SolidLine, Qt::RoundCap));
  for (qreal x : {4.0, 6.5, 9.0}) p.drawLine(QPointF(x, 5), QPointF(x, 8));
  p.setPen(QPen(QColor(0x6b, 0x4a, 0x1c), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10.4, 10.4), QPointF(14.3, 13.8));
  return imagen;
}

// "expr": a cell showing its formula, an italic f before an equals sign.
QImage expr(qreal ratio) {
  QImage imagen = lienzo(QSize(16, 15), ratio);
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x50, 0x60, 0x80), 1.0));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(0.5, 1.5, 15, 12));
  QFont fuente(QStringLiteral("DejaVu Serif"));
  fuente.setItalic(true);
  fuente.setBold(true);
  fuente.setPixelSize(100);
  QPainterPath efe;
  efe.addText(0, 0, fuente, QStringLiteral("f"));
  const QRectF caja = efe.boundingRect();
  const qreal escala = 10.0 / caja.height();
  QTransform t;
  t.translate(5.2, 7.5);
  t.scale(escala, escala);
  t.translate(-caja.center().x(), -caja.center().y());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2d, 0x6c, 0xc0));
  p.drawPath(t.map(efe));
  p.setPen(QPen(QColor(0x1f, 0x6b, 0x43), 1.3, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(9, 6.2), QPointF(13.5, 6.2));
  p.drawLine(QPointF(9, 9.0), QPointF(13.5, 9.0));
  return imagen;
}

}  // namespace

QIcon Icono(QStringView nombre) {
  for (const auto& e : kIconos) {
    if (nombre == QLatin1String(e.nombre)) return QIcon(new MotorDibujo(e.dibujo));
  }
  return QIcon();
}

QImage Bitmap(QStringView nombre, qreal ratio) {
  if (!(ratio > 0)) ratio = 1.0;
  if (nombre == u"gris") return gris(ratio);
  if (nombre == u"autor") return autor(ratio);
  if (nombre == u"cuadritos") return cuadritos(ratio);
  if (nombre == u"zoom") return zoom(ratio);
  if (nombre == u"expr") return expr(ratio);
  return QImage();
}

QStringList NombresIconos() {
  QStringList nombres;
  for (const auto& e : kIconos) nombres << QLatin1String(e.nombre);
  return nombres;
}

QStringList NombresBitmaps() {
  return {QStringLiteral("gris"), QStringLiteral("autor"), QStringLiteral("cuadritos"),
          QStringLiteral("zoom"), QStringLiteral("expr")};
}

}  // namespace orv::arte
