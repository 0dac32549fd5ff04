// Figures of the laboratory windows: how long each takes to open, and how a
// text of several megabytes is analysed in the analyser window (total time
// against the bare analyser, and the longest stretch without processing the
// window's events, which is what the user feels as a frozen window); then the
// three attack stages of the Vigenère and XOR windows on a 1 MB ciphertext;
// last, the spreadsheet: from leaving a cell to its value shown, against the
// bare service, and the longest pause of the window meanwhile (alone with
// --hoja).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "kestrin/orvtexto.h"
#include "kestrin/procesa.h"
#include "numbrel/orvbignum.h"
#include "orv/calculofondo.h"
#include "orv/orvcalc.h"
#include "orv/arranque.h"
#include "orv/orvanalizar.h"
#include "orv/orvcsafin.h"
#include "orv/orvcsperiodico.h"
#include "pemmick/orvexttextbox.h"
#include "rejilla/rejilla.h"
#include "tarnel/alfabeto.h"
#include "tarnel/criptoperiodico.h"
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

// ---------------------------------------------------------------------------
// The periodic-cipher windows.

// Spanish prose folded to the alphabet, repeated to `caracteres`: the corpus
// beside the project when it is there, else the sentence above.
kestrin::Cadena prosa(size_t caracteres) {
  QFile f(QStringLiteral("../shared/corpus/es.txt"));
  kestrin::Cadena base;
  if (f.open(QIODevice::ReadOnly)) base = QString::fromUtf8(f.readAll()).toStdU32String();
  if (base.empty()) base = textoDe(100'000);
  kestrin::Cadena plegada;
  for (const char32_t c : base) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) plegada.push_back(tarnel::alfabeto::simbolo(v));
  }
  kestrin::Cadena t;
  t.reserve(caracteres + plegada.size());
  while (t.size() < caracteres) t += plegada;
  t.resize(caracteres);
  return t;
}

double ms(const QElapsedTimer& reloj) {
  return reloj.nsecsElapsed() / 1e6;
}

// The longest stretch without a pass of the event loop while `trabajo` runs:
// a timer that fires as often as it may, and the gaps between its ticks.
double mayorPausa(const std::function<void()>& trabajo) {
  QElapsedTimer pulso;
  qint64 anterior = 0, mayor = 0;
  QTimer tic;
  tic.setInterval(1);
  QObject::connect(&tic, &QTimer::timeout, [&] {
    const qint64 ahora = pulso.nsecsElapsed();
    mayor = std::max(mayor, ahora - anterior);
    anterior = ahora;
  });
  tic.start();
  pulso.start();
  trabajo();
  tic.stop();
  mayor = std::max(mayor, pulso.nsecsElapsed() - anterior);
  return mayor / 1e6;
}

// One window on a 1 MB ciphertext with a key of 25 symbols, MaxPeriodo 25 and
// period 25 (300 pairs of columns): each stage's time in the window, the time
// from the component's Fin to the end (filling the grid), the longest pause,
// and the bare component's time for the same stage.
template <typename W, typename C>
void periodico(const char* nombre) {
  constexpr int32_t kPeriodo = 25;
  const kestrin::Cadena clave = U"lamanchaquijotesanchopanz";
  C cifrador;
  cifrador.setClave(clave);
  auto claro = std::make_shared<kestrin::ORVTexto>();
  claro->asigna(prosa(1'000'000), kestrin::CSKNone);
  cifrador.setTextoOriginal(claro);
  cifrador.Cifra();
  const auto cifrado = cifrador.TextoCifrado();

  // The bare component, without the hook that runs the window's events.
  kestrin::fijaProcesaEventos({});
  C solo;
  solo.setTextoCifrado(cifrado);
  solo.setICTipo(kestrin::Moneda::desdeDouble(0.080));
  solo.setMaxPeriodo(kPeriodo);
  QElapsedTimer reloj;
  reloj.start();
  solo.BuscaPeriodo();
  const double soloPeriodo = ms(reloj);
  solo.setPeriodo(kPeriodo);
  reloj.restart();
  solo.BuscaDesplazamientos();
  const double soloDesplazamientos = ms(reloj);
  reloj.restart();
  solo.BuscaClaves();
  solo.setClave(solo.ClaveProbable(1));
  solo.Descifra();
  const double soloClave = ms(reloj);
  orv::instalaProcesaEventos();

  W w;
  w.avisa = [](const QString&, const QString&) {};
  w.informa = [](const QString&, const QString&) {};
  w.show();
  w.txtTC()->setCSTexto(cifrado);
  while (w.txtTC()->rellenando()) QCoreApplication::processEvents();
  w.tsCripto()->setCurrentIndex(1);
  w.txtMaxM()->setTexto(QString::number(kPeriodo));
  QCoreApplication::processEvents();
  // The moment the component is done: what follows is the window's own work.
  QElapsedTimer desdeFin, desdeInicio;
  double busqueda = 0;
  w.cs().eventos.Inicio.conecta([&](int32_t&) { desdeInicio.start(); });
  w.cs().eventos.Fin.conecta([&](int32_t&) {
    busqueda = ms(desdeInicio);
    desdeFin.start();
  });

  struct Fila {
    const char* etapa;
    double ventana, busqueda, rejilla, pausa, componente;
    int32_t filas, columnas;
  };
  std::vector<Fila> filas;
  const auto mide = [&](const char* etapa, double componente, orv::Rejilla* g,
                        const std::function<void()>& trabajo) {
    double total = 0;
    busqueda = 0;
    desdeFin.invalidate();
    const double pausa = mayorPausa([&] {
      QElapsedTimer r;
      r.start();
      trabajo();
      total = ms(r);
    });
    const double rejilla = desdeFin.isValid() ? ms(desdeFin) : 0;
    filas.push_back({etapa, total, busqueda, rejilla, pausa, componente, g ? g->Filas() : 0,
                     g ? g->Columnas() : 0});
  };
  mide("periodo", soloPeriodo, w.FlexIC(), [&] { w.AnalizaPeriodo(); });
  w.TextPeriodo()->setText(QString::number(kPeriodo));
  emit w.TextPeriodo()->returnPressed();
  mide("abrir despl.", 0, w.FlexICM(), [&] { w.tsAnaliza()->setCurrentIndex(1); });
  mide("desplazam.", soloDesplazamientos, w.FlexICM(), [&] { w.AnalizaDesplazamientos(); });
  mide("clave", soloClave, nullptr, [&] { w.tsAnaliza()->setCurrentIndex(2); });
  for (const Fila& f : filas) {
    std::printf("  %-8s %-13s %10.1f %12.1f %12.1f %14.1f %9.1f %9d x %d\n", nombre, f.etapa,
                f.ventana, f.busqueda, f.rejilla, f.pausa, f.componente, f.filas, f.columnas);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// The spreadsheet.

void hoja() {
  std::printf("laboratorios: hoja de cálculo, de dejar la celda al valor mostrado\n");
  std::printf("  %-26s %10s %12s %10s %14s\n", "fórmula", "cifras", "ventana ms", "solo ms",
              "mayor pausa ms");
  orv::ORVCalc w;
  w.show();
  QCoreApplication::processEvents();
  const char* formulas[] = {"2^10", "100!", "2^4000", "3^2000000",
                            "A4+A4+A4+A4+A4+A4+A4+A4+A4+A4"};
  int fila = 1;
  for (const char* formula : formulas) {
    const QString f = QString::fromLatin1(formula);
    // The bare service first, with the same variables.
    QElapsedTimer reloj;
    reloj.start();
    const kestrin::Cadena solo = orv::BigNum().Eval(f.toStdU32String());
    const double msSolo = ms(reloj);
    reloj.restart();
    const double pausa = mayorPausa([&] {
      w.EscribeFormula(fila, 1, f);
      while (w.Calculo()->ocupado()) QCoreApplication::processEvents();
    });
    std::printf("  %-26s %10zu %12.1f %10.1f %14.1f\n", formula, solo.size(), ms(reloj), msSolo,
                pausa);
    ++fila;
  }
  // The whole value in the zoom panel.
  QElapsedTimer reloj;
  reloj.start();
  w.FlexCalc()->setFila(4);
  w.FlexCalc()->setColumna(1);
  w.boton(QStringLiteral("zoom"))->setChecked(true);
  QCoreApplication::processEvents();
  std::printf("  panel de zoom con %lld cifras: %.1f ms\n",
              static_cast<long long>(w.Valor(4, 1).size()), ms(reloj));
  w.boton(QStringLiteral("zoom"))->setChecked(false);

  // F9 over a full sheet of small formulas, each naming the cell before it.
  orv::ORVCalc llena;
  llena.show();
  QCoreApplication::processEvents();
  int celdas = 0;
  for (int32_t f = 1; f < orv::ORVCalc::kFilas; ++f) {
    for (int32_t c = 1; c < orv::ORVCalc::kColumnas; ++c) {
      const QString formula = celdas == 0 ? QStringLiteral("1")
                                          : QStringLiteral("%1*3+1 mod 1000003")
                                                .arg(c > 1 ? llena.NombreCelda(f, c - 1)
                                                           : llena.NombreCelda(f - 1, 26));
      llena.EscribeFormula(f, c, formula);
      while (llena.Calculo()->ocupado()) QCoreApplication::processEvents();
      ++celdas;
    }
  }
  reloj.restart();
  const double pausa = mayorPausa([&] {
    llena.Recalcula();
    while (llena.Calculo()->ocupado()) QCoreApplication::processEvents();
  });
  std::printf("  F9 sobre %d celdas: %.1f ms, mayor pausa %.1f ms\n", celdas, ms(reloj), pausa);
}

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QApplication aplicacion(argc, argv);
  orv::registraBibliotecas();
  orv::instalaProcesaEventos();

  if (argc > 1 && QByteArray(argv[1]) == "--hoja") {
    hoja();
    return 0;
  }
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

  std::printf(
      "laboratorios: Vigenère y XOR, 1 MB cifrado con una clave de 25 símbolos,\n"
      "  periodo máximo 25 y periodo 25 (300 pares de columnas)\n");
  std::printf(
      "  (búsqueda: de Inicio a Fin del componente en la ventana; rejilla: de Fin al final;\n"
      "   solo: el componente sin ventana; clave: BuscaClaves y descifrado con la primera)\n");
  std::printf("  %-8s %-13s %10s %12s %12s %14s %9s %13s\n", "ventana", "etapa", "ventana ms",
              "búsqueda ms", "rejilla ms", "mayor pausa ms", "solo ms", "rejilla");
  periodico<orv::ORVCSVigenere, tarnel::ORVCriptoVigenere>("Vigenère");
  periodico<orv::ORVCSXOR, tarnel::ORVCriptoXOR>("XOR");
  hoja();
  return 0;
}
