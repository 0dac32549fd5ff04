// Extended Euclid tracer.
#include "kestrin/orvmcd.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "kestrin/errores.h"

namespace kestrin {
namespace {

struct Caso {
  const char* nombre;
  int64_t numero1, numero2;
  int64_t mcd, coeficiente1, coeficiente2;
  int16_t divisiones;  // -1: the initial 0 is left unchanged
};

const Caso kCasos[] = {
    {"240_46", 240, 46, 2, -9, 47, 5},
    {"3_64", 3, 64, 1, -21, 1, 3},
    {"menos3_64", -3, 64, 1, 21, 1, 3},
    {"64_3", 64, 3, 1, 1, -21, 2},
    {"3_menos64", 3, -64, 1, -21, -1, 3},
    {"igual", 17, 17, 17, 0, 1, 1},
    {"ceros", 0, 0, 1, 0, 0, -1},
    {"12_0", 12, 0, 12, 1, 0, -1},
    {"menos12_0", -12, 0, 12, -1, 0, -1},
    {"0_menos5", 0, -5, 5, 0, -1, -1},
    {"grandes", 900719925474099, 2, 1, 1, -450359962737049, 2},
};

TEST(ORVmcd, KnownTraces) {
  for (const auto& caso : kCasos) {
    SCOPED_TRACE(caso.nombre);
    ORVmcd m;
    m.setNumero1(Moneda::desdeEntero(caso.numero1));
    m.setNumero2(Moneda::desdeEntero(caso.numero2));
    EXPECT_EQ(m.mcd(), Moneda::desdeEntero(caso.mcd)) << caso.nombre;
    EXPECT_EQ(m.Coeficiente1(), Moneda::desdeEntero(caso.coeficiente1)) << caso.nombre;
    EXPECT_EQ(m.Coeficiente2(), Moneda::desdeEntero(caso.coeficiente2)) << caso.nombre;
    EXPECT_EQ(m.NumDivisiones(), caso.divisiones < 0 ? 0 : caso.divisiones) << caso.nombre;
  }
}

TEST(ORVmcd, ComputesLazilyOncePerChangeOfInputs) {
  ORVmcd m;
  m.setNumero1(Moneda(240));
  m.setNumero2(Moneda(46));
  EXPECT_EQ(m.NumDivisiones(), 5);
  // A special case leaves the count of the last general computation.
  m.setNumero2(Moneda(0));
  EXPECT_EQ(m.mcd(), Moneda(240));
  EXPECT_EQ(m.NumDivisiones(), 5);
  m.setNumero2(Moneda(64));
  EXPECT_EQ(m.mcd(), Moneda(16));
  EXPECT_EQ(m.Coeficiente1(), Moneda(-1));
  EXPECT_EQ(m.Coeficiente2(), Moneda(4));
}

TEST(ORVmcd, BezoutHoldsOnRandomPairs) {
  std::mt19937_64 azar(20261210);
  std::uniform_int_distribution<int64_t> d(-1000000000, 1000000000);
  for (int i = 0; i < 2000; ++i) {
    const int64_t x = d(azar), y = d(azar);
    ORVmcd m;
    m.setNumero1(Moneda::desdeEntero(x));
    m.setNumero2(Moneda::desdeEntero(y));
    const int64_t g = m.mcd().redondeado();
    ASSERT_EQ(g, std::gcd(x, y)) << x << " " << y;
    const __int128 combinacion = static_cast<__int128>(m.Coeficiente1().redondeado()) * x +
                                 static_cast<__int128>(m.Coeficiente2().redondeado()) * y;
    ASSERT_TRUE(combinacion == g) << x << " " << y;
  }
}

}  // namespace
}  // namespace kestrin
