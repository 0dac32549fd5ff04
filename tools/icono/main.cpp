// icono <carpeta> <lado>...: writes the program's icon, the windows' icon "A"
// of the artwork, as <carpeta>/<lado>x<lado>/apps/orvane.png for each size, the
// layout of the hicolor icon theme. The icon is drawn afresh at each size, as
// the program draws it, so the installed icons and the windows' never differ.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

#include "orv/arte.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplicacion(argc, argv);
  if (argc < 3) {
    std::fputs("uso: icono <carpeta> <lado>...\n", stderr);
    return 2;
  }
  const QIcon icono = orv::arte::Icono(u"A");
  for (int i = 2; i < argc; ++i) {
    const int lado = std::atoi(argv[i]);
    if (lado <= 0 || lado > 1024) {
      std::fprintf(stderr, "icono: tamaño no válido: %s\n", argv[i]);
      return 2;
    }
    const QString carpeta =
        QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(lado);
    QImage imagen(lado, lado, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    {
      QPainter p(&imagen);
      icono.paint(&p, imagen.rect());
    }
    if (!QDir().mkpath(carpeta) || !imagen.save(carpeta + QStringLiteral("/orvane.png"), "PNG")) {
      std::fprintf(stderr, "icono: no se puede escribir en %s\n", qPrintable(carpeta));
      return 1;
    }
  }
  return 0;
}
