// The key generator as a window uses it: a request answered through the event
// loop with a key that builds and works, a second request while busy, sizes it
// refuses, and the adapter (or its window) going while a key is drawn.
#include "orv/generadorrsa.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "halvard/orvcriptorsa.h"
#include "kestrin/orvtexto.h"

namespace orv {
namespace {

using kestrin::Cadena;

// Far beyond what any key here needs; only a generator that never answers
// reaches it.
constexpr int kEspera = 60000;

Cadena cadena(const QString& s) {
  return kestrin::desdeUtf8(s.toStdString());
}

ClaveGenerada claveDe(const QSignalSpy& spy) {
  return spy.at(0).at(0).value<ClaveGenerada>();
}

// Builds the key as the RSA window does and enciphers and deciphers a short
// text with it; returns ORVCriptoRSA's message.
QString construyeYUsa(const ClaveGenerada& c, halvard::ORVCriptoRSA& rsa) {
  QString mensaje = QStringLiteral("sin respuesta");
  rsa.eventos.ConstruyeClave.conecta([&](bool& ok, const Cadena& m) {
    mensaje = QString::fromStdString(kestrin::aUtf8(m)) + (ok ? "" : " (no)");
  });
  rsa.setClaveFactor(1, cadena(c.p));
  rsa.setClaveFactor(2, cadena(c.q));
  rsa.setExponente(cadena(c.e));
  rsa.setTamBloque(c.bloque);
  rsa.ConstruyeClave();
  return mensaje;
}

class GeneradorRSATest : public testing::Test {
 protected:
  GeneradorRSA generador;
  QSignalSpy generadas{&generador, &GeneradorRSA::generada};
  QSignalSpy fallos{&generador, &GeneradorRSA::fallo};
};

TEST_F(GeneradorRSATest, A512BitKeyArrivesThroughTheEventLoopAndWorks) {
  ASSERT_TRUE(generador.genera(512));
  // The work is not done inside the call: the answer can only come through
  // the event loop, so the window goes on meanwhile.
  EXPECT_TRUE(generador.ocupado());
  EXPECT_EQ(generador.bitsEnCurso(), 512);
  EXPECT_EQ(generadas.count(), 0);

  ASSERT_TRUE(generadas.wait(kEspera));
  EXPECT_EQ(fallos.count(), 0);
  EXPECT_FALSE(generador.ocupado());
  EXPECT_EQ(generador.bitsEnCurso(), 0);
  const ClaveGenerada c = claveDe(generadas);
  EXPECT_NE(c.p, c.q);
  EXPECT_EQ(c.bits, 512);

  halvard::ORVCriptoRSA rsa;
  // "Clave OK" means both factors prime and above the largest block, and e
  // coprime to (p-1)(q-1).
  ASSERT_EQ(construyeYUsa(c, rsa), QStringLiteral("Clave OK"));
  EXPECT_EQ(rsa.NumBits(), 512);
  EXPECT_EQ(QString::fromStdString(kestrin::aUtf8(rsa.Clave())), c.n);
  EXPECT_EQ(QString::fromStdString(kestrin::aUtf8(rsa.ClavePrivada())), c.d);
  // 512 bits: factors of 78 digits, so 25 characters a block at most.
  EXPECT_GE(c.bloque, 25);

  const Cadena claro = U"¿Cifra RSA? Sí, con la clave generada.";
  auto texto = std::make_shared<kestrin::ORVTexto>();
  texto->setTexto(claro);
  rsa.setTextoOriginal(texto);
  rsa.Cifra();
  EXPECT_NE(rsa.TextoCifrado(1), U"");
  rsa.Descifra();
  Cadena esperado = claro;
  const auto tam = static_cast<size_t>(c.bloque);
  if (esperado.size() % tam) esperado.append(tam - esperado.size() % tam, U' ');
  EXPECT_EQ(rsa.TextoOriginal()->Texto(), esperado);
}

TEST_F(GeneradorRSATest, ASecondRequestWhileBusyIsIgnored) {
  ASSERT_TRUE(generador.genera(1024));
  EXPECT_FALSE(generador.genera(512));
  EXPECT_FALSE(generador.genera(0));  // not even refused aloud: nothing is taken
  EXPECT_EQ(generador.bitsEnCurso(), 1024);
  ASSERT_TRUE(generadas.wait(kEspera));
  // Let anything else that might have been posted arrive.
  QTest::qWait(50);
  ASSERT_EQ(generadas.count(), 1);
  EXPECT_EQ(fallos.count(), 0);
  EXPECT_EQ(claveDe(generadas).bits, 1024);

  // Free again once the answer is in, even from a slot of that answer.
  QObject::connect(
      &generador, &GeneradorRSA::generada, &generador, [this] { generador.genera(64); },
      Qt::SingleShotConnection);
  ASSERT_TRUE(generador.genera(128));
  ASSERT_TRUE(generadas.wait(kEspera));
  EXPECT_TRUE(generador.ocupado());
  ASSERT_TRUE(generadas.wait(kEspera));
  EXPECT_EQ(claveDe(generadas).bits, 1024);
  EXPECT_EQ(generadas.at(1).at(0).value<ClaveGenerada>().bits, 128);
  EXPECT_EQ(generadas.at(2).at(0).value<ClaveGenerada>().bits, 64);
}

TEST_F(GeneradorRSATest, SizesOutsideTheRangeAreRefusedInSpanish) {
  for (int bits : {-512, 0, 17, 8193}) {
    SCOPED_TRACE(bits);
    fallos.clear();
    EXPECT_FALSE(generador.genera(bits));
    ASSERT_EQ(fallos.count(), 1);
    EXPECT_EQ(fallos.at(0).at(0).toString(),
              QStringLiteral("El tamaño de la clave debe estar entre 18 y 8192 bits."));
    EXPECT_FALSE(generador.ocupado());
  }
  EXPECT_EQ(generadas.count(), 0);
  // The smallest and an odd size are taken.
  for (int bits : {18, 33}) {
    ASSERT_TRUE(generador.genera(bits));
    ASSERT_TRUE(generadas.wait(kEspera));
    EXPECT_EQ(generadas.last().at(0).value<ClaveGenerada>().bits, bits);
  }
  EXPECT_EQ(fallos.count(), 1);
}

// The window that owns the generator closes: at once, while a 4096-bit key is
// drawn (the worker must stop), or after a small key's answer was posted but
// before the event loop delivered it (the answer must be dropped).
TEST(GeneradorRSA, GoingMidGenerationIsSafeAndSilent) {
  struct Caso {
    const char* nombre;
    int bits;
    std::chrono::milliseconds antes;
  };
  for (const Caso& caso :
       {Caso{"en plena búsqueda", 4096, std::chrono::milliseconds(0)},
        Caso{"con la respuesta por entregar", 18, std::chrono::milliseconds(300)}}) {
    SCOPED_TRACE(caso.nombre);
    auto ventana = std::make_unique<QWidget>();
    QPointer<GeneradorRSA> generador = new GeneradorRSA(ventana.get());
    int oidas = 0;
    QObject::connect(generador, &GeneradorRSA::generada, ventana.get(), [&] { ++oidas; });
    QObject::connect(generador, &GeneradorRSA::fallo, ventana.get(), [&] { ++oidas; });
    ASSERT_TRUE(generador->genera(caso.bits));
    // Without running the event loop, as a window busy with something else.
    std::this_thread::sleep_for(caso.antes);
    ventana.reset();
    EXPECT_TRUE(generador.isNull());
    QTest::qWait(100);
    EXPECT_EQ(oidas, 0);
  }

  // The generator itself goes while its window stays.
  QWidget ventana;
  auto generador = std::make_unique<GeneradorRSA>(&ventana);
  int oidas = 0;
  QObject::connect(generador.get(), &GeneradorRSA::generada, &ventana, [&] { ++oidas; });
  ASSERT_TRUE(generador->genera(2048));
  generador.reset();
  QTest::qWait(100);
  EXPECT_EQ(oidas, 0);

  // The workers left behind end and are collected, not kept until exit.
  const auto retirados = [] {
    return qApp
        ->findChildren<QObject*>(QStringLiteral("GeneradorRSA.retirado"),
                                 Qt::FindDirectChildrenOnly)
        .size();
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return retirados() == 0; }, kEspera)) << retirados();
}

}  // namespace
}  // namespace orv
