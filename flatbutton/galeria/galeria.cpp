// Gallery of the flat button: renders each of its looks to a PNG at twice the
// pixel density, for review by eye. Usage: plankett_galeria <carpeta>
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <cstdio>

#include "plankett/plankett.h"

namespace {

void raton(QWidget* w, QEvent::Type tipo, Qt::MouseButtons sostenidos) {
  const QPointF p(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent evento(tipo, p, w->mapToGlobal(p),
                     tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, sostenidos,
                     Qt::NoModifier);
  QApplication::sendEvent(w, &evento);
}

bool guarda(QWidget& ventana, const QString& ruta) {
  constexpr qreal kDensidad = 2;
  QPixmap imagen(ventana.size() * kDensidad);
  imagen.setDevicePixelRatio(kDensidad);
  imagen.fill(ventana.palette().color(QPalette::Window));
  ventana.render(&imagen);
  return imagen.save(ruta, "PNG");
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "Uso: %s <carpeta de salida>\n", argv[0]);
    return 2;
  }
  const QString carpeta = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(carpeta)) {
    std::fprintf(stderr, "No se puede crear la carpeta %s\n", argv[1]);
    return 1;
  }
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));

  QWidget ventana;
  ventana.setWindowTitle(QStringLiteral("Botón plano"));
  auto* rejilla = new QGridLayout(&ventana);
  rejilla->setContentsMargins(14, 14, 14, 14);
  rejilla->setHorizontalSpacing(16);
  rejilla->setVerticalSpacing(10);

  struct Muestra {
    const char* rotulo;
    const char* caption;
    int estilo;
    int borde;
    bool habilitado;
    int estado;  // 0 at rest, 1 under the pointer, 2 pressed
    int ancho;
  };
  const Muestra muestras[] = {
      {"En reposo", "Cifra", 0, 0, true, 0, 96},
      {"En reposo, 3D", "Descifra", 1, 0, true, 0, 96},
      {"Bajo el puntero", "Cifra", 0, 0, true, 1, 96},
      {"Pulsado", "Cifra", 0, 0, true, 2, 96},
      {"Deshabilitado", "Guardar", 0, 0, false, 0, 96},
      {"Con borde", "Aceptar", 0, 1, true, 0, 96},
      {"Con borde, bajo el puntero", "Aceptar", 0, 1, true, 1, 96},
      {"Rótulo más ancho", "Criptoanálisis de Vigenère", 0, 1, true, 0, 96},
  };
  std::vector<std::pair<plankett::FlatButton*, int>> estados;
  int fila = 0;
  for (const Muestra& m : muestras) {
    auto* rotulo = new QLabel(QString::fromUtf8(m.rotulo), &ventana);
    auto* boton = new plankett::FlatButton(&ventana);
    boton->setCaption(QString::fromUtf8(m.caption));
    boton->setStyle(m.estilo);
    boton->setBorderStyle(m.borde);
    boton->setEnabled(m.habilitado);
    boton->setFixedSize(m.ancho, 26);
    rejilla->addWidget(rotulo, fila, 0);
    rejilla->addWidget(boton, fila, 1);
    estados.emplace_back(boton, m.estado);
    ++fila;
  }
  ventana.show();
  QApplication::processEvents();
  for (auto [boton, estado] : estados) {
    if (estado >= 1) raton(boton, QEvent::MouseMove, Qt::NoButton);
    if (estado == 2) raton(boton, QEvent::MouseButtonPress, Qt::LeftButton);
  }
  const QString ruta = QDir(carpeta).filePath(QStringLiteral("flatbutton.png"));
  if (!guarda(ventana, ruta)) {
    std::fprintf(stderr, "No se puede escribir %s\n", qPrintable(ruta));
    return 1;
  }
  std::printf("%s\n", qPrintable(ruta));
  return 0;
}
