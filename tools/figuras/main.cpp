// figuras [salida.png] [--ampliada]: draws every figure of ORVImagen at 4x
// scale, each with its identifier, and below them the six phrases at 1:1 with
// silver drawn as transparent, as the main window draws them. The figures are
// drawn afresh at 4x (what a high-density screen gets); with --ampliada the
// 1:1 pictures are enlarged pixel by pixel instead.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "kestrin/orvimagen.h"

namespace {

QImage aQImage(const kestrin::Imagen& imagen) {
  QImage q(imagen.ancho, imagen.alto, QImage::Format_ARGB32);
  for (int y = 0; y < imagen.alto; ++y) {
    for (int x = 0; x < imagen.ancho; ++x) q.setPixel(x, y, imagen.pixel(x, y));
  }
  return q;
}

// Silver is the transparent colour of the figures.
QImage transparente(QImage q) {
  for (int y = 0; y < q.height(); ++y) {
    for (int x = 0; x < q.width(); ++x) {
      if (q.pixel(x, y) == kestrin::ORVImagen::kFondo) q.setPixel(x, y, 0x00000000);
    }
  }
  return q;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplicacion(argc, argv);
  const char* salida = "figuras.png";
  bool ampliada = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ampliada") == 0) {
      ampliada = true;
    } else {
      salida = argv[i];
    }
  }

  constexpr int kEscala = 4, kColumnas = 7, kMargen = 12, kRotulo = 18;
  const kestrin::ORVImagen imagenes;
  const auto ids = kestrin::ORVImagen::Identificadores();
  const int celdaAncho = kestrin::ORVImagen::kAncho * kEscala + kMargen;
  const int celdaAlto = kestrin::ORVImagen::kAlto * kEscala + kRotulo + kMargen;
  const int filas = (static_cast<int>(ids.size()) + kColumnas - 1) / kColumnas;
  const int anchoFrase = 30 * kestrin::ORVImagen::kAncho;
  const int ancho = std::max(kColumnas * celdaAncho + kMargen, anchoFrase + 2 * kMargen);
  const int alto = filas * celdaAlto + kMargen + 6 * (kestrin::ORVImagen::kAlto + 6) + kMargen;

  QImage hoja(ancho, alto, QImage::Format_ARGB32);
  hoja.fill(Qt::white);
  QPainter pintor(&hoja);
  QFont fuente = pintor.font();
  fuente.setPixelSize(13);
  pintor.setFont(fuente);
  for (size_t i = 0; i < ids.size(); ++i) {
    const auto imagen = ampliada ? imagenes.Bitmap(ids[i]) : imagenes.Bitmap(ids[i], kEscala);
    if (!imagen) return EXIT_FAILURE;
    const int x = kMargen + static_cast<int>(i % kColumnas) * celdaAncho;
    const int y = kMargen + static_cast<int>(i / kColumnas) * celdaAlto;
    const QImage grande =
        aQImage(*imagen).scaled(kestrin::ORVImagen::kAncho * kEscala,
                                kestrin::ORVImagen::kAlto * kEscala, Qt::IgnoreAspectRatio,
                                Qt::FastTransformation);
    pintor.drawImage(x, y, grande);
    pintor.setPen(Qt::black);
    pintor.drawText(QRect(x, y + grande.height(), grande.width(), kRotulo), Qt::AlignCenter,
                    QString::fromStdU32String(ids[i]));
  }
  // The phrases right-aligned, as on the main window's bottom edge.
  int y = kMargen + filas * celdaAlto;
  for (int n = 1; n <= 6; ++n) {
    const auto frase = imagenes.Str(n);
    int x = kMargen + anchoFrase;
    for (auto c = frase.rbegin(); c != frase.rend(); ++c) {
      const auto imagen =
          imagenes.Bitmap(*c == U' ' ? kestrin::Cadena(U"sh") : kestrin::Cadena(U"sh") + *c);
      if (!imagen) continue;
      x -= imagen->ancho;
      pintor.drawImage(x, y, transparente(aQImage(*imagen)));
    }
    y += kestrin::ORVImagen::kAlto + 6;
  }
  pintor.end();
  if (!hoja.save(QString::fromLocal8Bit(salida), "PNG")) {
    std::fprintf(stderr, "No se pudo escribir %s\n", salida);
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
