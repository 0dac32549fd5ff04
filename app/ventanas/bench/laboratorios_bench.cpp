// Figures of the laboratory windows: how long each takes to open, and how a
// text of several megabytes is analysed in the analyser window (total time
// against the bare analyser, and the longest stretch without processing the
// window's events, which is what the user feels as a frozen window).
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "kestrin/orvtexto.h"
#include "kestrin/procesa.h"
#include "orv/arranque.h"
#include "orv/orvanalizar.h"
#include "orv/orvcsafin.h"
#include "pemmick/orvexttextbox.h"
#include "tarnel/orvanaliza.h"
#include "tarnel/orvresultado.h"

namespace {

kestrin::Cadena textoDe(size_t caracteres) {
  const kestrin::Cadena frase =
      U"En un lugar de la Mancha, de cuyo nombre no quiero acordarme, no ha mucho tiempo que vivía "
      U"un hidalgo de los de lanza en astillero, adarga antigua, rocín flaco y galgo corredor. ";
  kestrin::Cadena t;
  t.reserve(caracteres + frase.size());
  while (t.size() < caracteres) t += frase;
  t.resize(caracteres);
  return t;
}

// Letters drawn at random (a fixed seed): almost every block of three is new.
kestrin::Cadena azar(size_t caracteres) {
  const kestrin::Cadena letras = U"abcdefghijklmnñopqrstuvwxyz0123456789 ";
  kestrin::Cadena t(caracteres, U' ');
  uint32_t x = 12345;
  for (char32_t& c : t) {
    x = x * 1103515245u + 12345u;
    c = letras[(x >> 16) % letras.size()];
  }
  return t;
}

template <typename W>
double abre() {
  QElapsedTimer reloj;
  reloj.start();
  auto* w = new W;
  w->show();
  QCoreApplication::processEvents();
  const double ms = reloj.nsecsElapsed() / 1e6;
  delete w;
  return ms;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QApplication aplicacion(argc, argv);
  orv::registraBibliotecas();
  orv::instalaProcesaEventos();

  std::printf("laboratorios: abrir la ventana (construir y mostrar)\n");
  abre<orv::ORVCSAfin>();  // the first one pays for fonts and styles
  std::printf("  ORVCSAfin    %8.1f ms\n", abre<orv::ORVCSAfin>());
  std::printf("  ORVAnalizar  %8.1f ms\n", abre<orv::ORVAnalizar>());

  std::printf("laboratorios: analizar en la ventana\n");
  std::printf("  (la última fila: letras al azar, casi todos los bloques distintos)\n");
  std::printf("  %6s %6s %8s %12s %12s %14s %8s\n", "MB", "bloque", "filas", "ventana ms",
              "solo ms", "mayor pausa ms", "pasos");
  struct Caso {
    size_t megas;
    int32_t bloque;
    bool alAzar;
  };
  for (const Caso caso : {Caso{1, 1, false}, Caso{4, 1, false}, Caso{8, 1, false},
                          Caso{4, 3, false}, Caso{4, 6, false}, Caso{1, 3, true}}) {
    const size_t megas = caso.megas;
    const kestrin::Cadena texto =
        caso.alAzar ? azar(megas * 1'000'000) : textoDe(megas * 1'000'000);

    // The bare analyser, without a window and without the hook.
    kestrin::fijaProcesaEventos({});
    tarnel::ORVAnaliza solo;
    solo.setTamBloque(caso.bloque);
    solo.setTexto(texto);
    QElapsedTimer reloj;
    reloj.start();
    solo.IC();
    const double msSolo = reloj.nsecsElapsed() / 1e6;
    orv::instalaProcesaEventos();

    orv::ORVAnalizar w;
    w.show();
    w.txtTamBloque()->setTexto(QString::number(caso.bloque));
    QCoreApplication::processEvents();
    w.txtTexto(0)->CSTexto()->setTexto(texto);
    // A timer that fires as often as it may: the gaps between its ticks are
    // the stretches in which the window could not repaint.
    QElapsedTimer pulso;
    qint64 anterior = 0, mayor = 0;
    int pasos = 0;
    QTimer tic;
    tic.setInterval(1);
    QObject::connect(&tic, &QTimer::timeout, [&] {
      const qint64 ahora = pulso.nsecsElapsed();
      mayor = std::max(mayor, ahora - anterior);
      anterior = ahora;
      ++pasos;
    });
    tic.start();
    pulso.start();
    reloj.restart();
    w.Analizar();
    const double msVentana = reloj.nsecsElapsed() / 1e6;
    tic.stop();
    mayor = std::max(mayor, pulso.nsecsElapsed() - anterior);
    std::printf("  %6zu %6d %8d %12.1f %12.1f %14.1f %8d\n", megas, caso.bloque,
                w.analisis().Resultado()->Count(), msVentana, msSolo, mayor / 1e6, pasos);
  }
  return 0;
}
