// The sprite: the picture with its mask colour made transparent, the saved
// background, and the unit conversions.
#include "vitrel/cpictureglass.h"

#include <QIcon>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <cmath>

#include "kestrin/errores.h"
#include "vitrel/vitrel.h"

namespace vitrel {
namespace {

[[noreturn]] void falla(int32_t numero) {
  switch (numero) {
    case eePictureNotBitmap:
      throw kestrin::ErrorORV(numero, "La imagen no es un mapa de bits");
    case eeInvalidCanvas:
      throw kestrin::ErrorORV(numero, "La superficie de destino no es válida");
    default:
      throw kestrin::ErrorORV(eeBasePictureGlass, "Error del cristal de imagen");
  }
}

constexpr double kTwipsPorPunto = TwipsPerPoint;
constexpr double kTwipsPorDecimetro = TwipsPerDecimeter;

int32_t redondea(double valor) {
  return static_cast<int32_t>(std::lround(valor));
}

double unidadesPorPixel(ModoEscala escala) {
  switch (escala) {
    case kTwips:
      return kTwipsPorPixel;
    case kPuntos:
      return kTwipsPorPixel / kTwipsPorPunto;
    case kHiMetrico:
      return kTwipsPorPixel * 10000.0 / kTwipsPorDecimetro;
    default:
      return 1.0;
  }
}

bool esSuperficie(const QPaintDevice* d) {
  return d != nullptr && (d->devType() == QInternal::Image || d->devType() == QInternal::Pixmap);
}

}  // namespace

int32_t CPictureGlass::PicXToPixel(double xHiMetric) {
  return redondea(xHiMetric * kTwipsPorDecimetro / kTwipsPorPixel / 10000);
}
int32_t CPictureGlass::PicYToPixel(double yHiMetric) {
  return PicXToPixel(yHiMetric);
}
int32_t CPictureGlass::PixelXToPic(double x) {
  return redondea(kTwipsPorPixel * x * 10000 / kTwipsPorDecimetro);
}
int32_t CPictureGlass::PixelYToPic(double y) {
  return PixelXToPic(y);
}

void CPictureGlass::Create(QPaintDevice* cvsDstA, const QVariant& picSrc, uint32_t clrMaskA,
                           int32_t x, int32_t y) {
  Create(Lienzo{cvsDstA, kPixeles}, picSrc, clrMaskA, x, y);
}

void CPictureGlass::Create(const Lienzo& cvsDstA, const QVariant& picSrc, uint32_t clrMaskA,
                           double x, double y) {
  if (creado_) Destroy();
  mascara_ = clrMaskA;
  destino_ = cvsDstA.superficie;
  escala_ = cvsDstA.escala;

  QImage fuente;
  if (picSrc.metaType() == QMetaType::fromType<QImage>()) {
    fuente = picSrc.value<QImage>();
  } else if (picSrc.metaType() == QMetaType::fromType<QPixmap>()) {
    fuente = picSrc.value<QPixmap>().toImage();
  } else {
    falla(eePictureNotBitmap);
  }
  if (fuente.isNull() || !esSuperficie(destino_)) {
    destino_ = nullptr;
    falla(eeInvalidCanvas);
  }

  // The mask colour is compared on the picture's own pixels, before any
  // scaling, so its edges stay exact.
  const QRgb transparente = qRgb(clrMaskA & 0xFF, (clrMaskA >> 8) & 0xFF, (clrMaskA >> 16) & 0xFF);
  QImage imagen = fuente.convertToFormat(QImage::Format_ARGB32);
  for (int fila = 0; fila < imagen.height(); ++fila) {
    auto* pixel = reinterpret_cast<QRgb*>(imagen.scanLine(fila));
    for (int columna = 0; columna < imagen.width(); ++columna) {
      if ((pixel[columna] & 0xFFFFFF) == (transparente & 0xFFFFFF)) pixel[columna] = 0;
    }
  }
  tamano_ = fuente.deviceIndependentSize().toSize();
  const qreal ratio = destino_->devicePixelRatio();
  const QSize enDispositivo(redondea(tamano_.width() * ratio), redondea(tamano_.height() * ratio));
  if (imagen.size() != enDispositivo) {
    imagen = imagen.scaled(enDispositivo, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  imagen_ = imagen.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  imagen_.setDevicePixelRatio(ratio);
  posicion_ = QPoint(redondea(aPixeles(x)), redondea(aPixeles(y)));
  visible_ = true;
  creado_ = true;
  dibujado_ = false;
}

double CPictureGlass::aPixeles(double valor) const {
  return valor / unidadesPorPixel(escala_);
}
double CPictureGlass::desdePixeles(double pixeles) const {
  return pixeles * unidadesPorPixel(escala_);
}

QRect CPictureGlass::rectDispositivo(QPoint logico) const {
  const qreal r = destino_->devicePixelRatio();
  return QRect(redondea(logico.x() * r), redondea(logico.y() * r), imagen_.width(),
               imagen_.height());
}

QImage CPictureGlass::lee(const QRect& dispositivo) const {
  if (destino_->devType() == QInternal::Image) {
    return static_cast<const QImage*>(destino_)->copy(dispositivo);
  }
  return static_cast<const QPixmap*>(destino_)->copy(dispositivo).toImage();
}

void CPictureGlass::pinta(const QImage& imagen, QPoint logico, bool opaca) {
  QPainter pintor(destino_);
  if (opaca) pintor.setCompositionMode(QPainter::CompositionMode_Source);
  const qreal r = destino_->devicePixelRatio();
  pintor.drawImage(QRectF(QPointF(logico), QSizeF(imagen.width() / r, imagen.height() / r)), imagen,
                   QRectF(imagen.rect()));
}

void CPictureGlass::Draw() {
  if (!creado_ || !visible_) return;
  if (dibujado_) pinta(fondo_, ultima_, true);
  fondo_ = lee(rectDispositivo(posicion_));
  pinta(imagen_, posicion_, false);
  ultima_ = posicion_;
  dibujado_ = true;
}

void CPictureGlass::Remove() {
  if (creado_ && visible_ && dibujado_) pinta(fondo_, ultima_, true);
}

void CPictureGlass::Destroy() {
  imagen_ = QImage();
  fondo_ = QImage();
  destino_ = nullptr;
  dibujado_ = false;
  creado_ = false;
}

void CPictureGlass::Move(double xLeftA, double yTopA) {
  posicion_.setX(PicXToPixel(xLeftA));
  if (yTopA != -1) posicion_.setY(PicYToPixel(yTopA));
  Draw();
}

double CPictureGlass::Left() const {
  return desdePixeles(posicion_.x());
}
double CPictureGlass::Top() const {
  return desdePixeles(posicion_.y());
}
double CPictureGlass::Width() const {
  return desdePixeles(tamano_.width());
}
double CPictureGlass::Height() const {
  return desdePixeles(tamano_.height());
}

void CPictureGlass::setLeft(double valor) {
  posicion_.setX(redondea(aPixeles(valor)));
  Draw();
}

void CPictureGlass::setTop(double valor) {
  posicion_.setY(redondea(aPixeles(valor)));
  Draw();
}

std::span<const kestrin::EntradaClase> clases() {
  static const kestrin::EntradaClase t[] = {
      {"Vitrel.CPictureGlass", &kestrin::crea<CPictureGlass>}};
  return t;
}

void registra() {
  kestrin::registraClases(clases());
}

}  // namespace vitrel
