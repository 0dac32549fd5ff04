// Work off the interface thread: one piece at a time, its outcome back on the
// interface thread (done, cancelled, failed), the status strip while it runs,
// and an adapter that goes mid-work without waiting for it.
#include "orv/calculofondo.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "kestrin/errores.h"
#include "numbrel/vigilancia.h"
#include "plankett/flatbutton.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// Work that runs until its watcher is cancelled (or a long time passes),
// as a service call does; counts how often it looked.
void hastaCancelar(std::atomic<int>& vueltas) {
  const auto limite = std::chrono::steady_clock::now() + 20s;
  while (std::chrono::steady_clock::now() < limite) {
    const auto& v = numbrel::vigilanciaActual();
    if (v && v->cancelada()) return;
    ++vueltas;
    std::this_thread::sleep_for(2ms);
  }
}

TEST(CalculoEnFondoTest, TheOutcomeArrivesOnTheInterfaceThreadOnePieceAtATime) {
  CalculoEnFondo calculo;
  std::atomic<int> vueltas{0};
  std::thread::id hiloTrabajo, hiloFin;
  int fines = 0;
  CalculoEnFondo::Desenlace visto;
  ASSERT_TRUE(calculo.inicia(
      QStringLiteral("Probando"),
      [&] {
        hiloTrabajo = std::this_thread::get_id();
        hastaCancelar(vueltas);
      },
      [&](const CalculoEnFondo::Desenlace& d) {
        hiloFin = std::this_thread::get_id();
        visto = d;
        ++fines;
      }));
  EXPECT_TRUE(calculo.ocupado());
  EXPECT_TRUE(calculo.textoEstado().startsWith(QStringLiteral("Probando, ")));
  // A second start while the first runs is refused and changes nothing.
  bool segundo = false;
  EXPECT_FALSE(calculo.inicia(QStringLiteral("Otro"), [&] { segundo = true; }, {}));

  EXPECT_TRUE(QTest::qWaitFor([&] { return vueltas > 5; }, 5000));
  calculo.cancela();
  EXPECT_TRUE(QTest::qWaitFor([&] { return fines == 1; }, 5000));
  EXPECT_TRUE(visto.cancelado);
  EXPECT_FALSE(visto.error);
  EXPECT_FALSE(segundo);
  EXPECT_NE(hiloTrabajo, std::this_thread::get_id());
  EXPECT_EQ(hiloFin, std::this_thread::get_id());
  EXPECT_FALSE(calculo.ocupado());
  EXPECT_TRUE(calculo.textoEstado().isEmpty());

  // Idle again: the next piece runs, and not cancelled.
  ASSERT_TRUE(calculo.inicia(QStringLiteral("Otro"), [] {},
                             [&](const CalculoEnFondo::Desenlace& d) {
                               visto = d;
                               ++fines;
                             }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return fines == 2; }, 5000));
  EXPECT_FALSE(visto.cancelado);
}

TEST(CalculoEnFondoTest, WhatTheWorkThrowsReachesItsEnd) {
  struct Caso {
    const char* nombre;
    std::function<void()> lanza;
    QString esperado;
  };
  const Caso casos[] = {
      {"core error", [] { kestrin::lanzaError(kestrin::kTiposNoCoinciden); }, {}},
      {"standard failure", [] { throw std::runtime_error("roto"); }, QStringLiteral("roto")},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    CalculoEnFondo calculo;
    bool visto = false;
    QString mensaje;
    ASSERT_TRUE(calculo.inicia(QStringLiteral("Probando"), caso.lanza,
                               [&](const CalculoEnFondo::Desenlace& d) {
                                 visto = true;
                                 ASSERT_TRUE(d.error);
                                 EXPECT_FALSE(d.cancelado);
                                 try {
                                   std::rethrow_exception(d.error);
                                 } catch (const std::exception& e) {
                                   mensaje = QString::fromUtf8(e.what());
                                 }
                               }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return visto; }, 5000));
    EXPECT_FALSE(mensaje.isEmpty());
    if (!caso.esperado.isEmpty()) {
      EXPECT_EQ(mensaje, caso.esperado);
    }
  }
}

TEST(CalculoEnFondoTest, TheStageReportedByTheWorkIsInTheStatus) {
  CalculoEnFondo calculo;
  std::atomic<bool> informado{false};
  std::atomic<int> vueltas{0};
  bool fin = false;
  ASSERT_TRUE(calculo.inicia(
      QStringLiteral("Factorizando"),
      [&] {
        const auto& v = numbrel::vigilanciaActual();
        ASSERT_TRUE(v && v->alProgresar);
        v->alProgresar(U"curvas ECM", 40, 250);
        informado = true;
        hastaCancelar(vueltas);
      },
      [&](const CalculoEnFondo::Desenlace&) { fin = true; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return informado.load(); }, 5000));
  EXPECT_TRUE(calculo.textoEstado().startsWith(QStringLiteral("Factorizando: curvas ECM 40/250, ")))
      << calculo.textoEstado().toStdString();
  EXPECT_EQ(calculo.hecho(), 40);
  EXPECT_EQ(calculo.total(), 250);
  calculo.cancela();
  EXPECT_EQ(calculo.textoEstado(), QStringLiteral("Cancelando…"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return fin; }, 5000));
}

TEST(CalculoEnFondoTest, TheStripShowsWhileWorkRunsAndItsButtonCancels) {
  QWidget ventana;
  auto* calculo = new CalculoEnFondo(&ventana);
  auto* franja = new FranjaTrabajo(calculo, &ventana);
  ventana.show();
  EXPECT_FALSE(franja->isVisible());
  std::atomic<int> vueltas{0};
  bool fin = false, cancelado = false;
  ASSERT_TRUE(calculo->inicia(QStringLiteral("Calculando"), [&] { hastaCancelar(vueltas); },
                              [&](const CalculoEnFondo::Desenlace& d) {
                                fin = true;
                                cancelado = d.cancelado;
                              }));
  EXPECT_TRUE(franja->isVisible());
  EXPECT_TRUE(franja->texto()->text().startsWith(QStringLiteral("Calculando")));
  QTest::mouseClick(franja->cmdCancelar(), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fin; }, 5000));
  EXPECT_TRUE(cancelado);
  EXPECT_FALSE(franja->isVisible());
}

TEST(CalculoEnFondoTest, AnAdapterGoingMidWorkReturnsAndHearsNothing) {
  std::atomic<bool> empezado{false};
  std::atomic<bool> acabado{false};
  bool fin = false;
  {
    CalculoEnFondo calculo;
    // Work that does not look at its watcher: going cannot wait for it.
    ASSERT_TRUE(calculo.inicia(
        QStringLiteral("Terco"),
        [&] {
          empezado = true;
          std::this_thread::sleep_for(1500ms);
          acabado = true;
        },
        [&](const CalculoEnFondo::Desenlace&) { fin = true; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return empezado.load(); }, 5000));
  }
  EXPECT_FALSE(acabado);
  // The left-behind worker ends and is collected by the application.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return acabado && QCoreApplication::instance()
                                  ->findChildren<QObject*>(QStringLiteral("CalculoEnFondo.retirado"))
                                  .isEmpty();
      },
      10000));
  EXPECT_FALSE(fin);
}

}  // namespace
}  // namespace orv
