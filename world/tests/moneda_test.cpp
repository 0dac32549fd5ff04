// Currency: four decimals, halves to even, overflow at the edges of the range.
#include "kestrin/moneda.h"

#include <gtest/gtest.h>

#include <limits>

#include "kestrin/errores.h"
#include "kestrin/variante.h"

namespace kestrin {
namespace {

TEST(Moneda, ConversionsRoundHalfToEven) {
  struct Caso {
    double valor;
    int64_t escalado;
    int32_t entero;
  };
  const Caso casos[] = {
      {0.5, 5000, 0},       {1.5, 15000, 2},        {2.5, 25000, 2},      {-2.5, -25000, -2},
      {-3.5, -35000, -4},   {0.00005, 0, 0},        {0.00006103515625, 1, 0},      {12.34567, 123457, 12},
      {-0.25, -2500, 0},    {2147483647.0, 21474836470000, 2147483647},
      // Exact halves of the fourth decimal: 312.5 and 937.5 ten-thousandths.
      {0.03125, 312, 0},    {-0.03125, -312, 0},    {0.09375, 938, 0},    {7.03125, 70312, 7},
  };
  for (const auto& caso : casos) {
    const Moneda m = Moneda::desdeDouble(caso.valor);
    EXPECT_EQ(m.escalado(), caso.escalado) << caso.valor;
    EXPECT_EQ(m.aLong(), caso.entero) << caso.valor;
  }
  // Large whole values keep their last digit.
  EXPECT_EQ(Moneda::desdeDouble(900719925474099.0).escalado(), 9007199254740990000);
  EXPECT_EQ(Moneda::desdeDouble(-922337203685477.0).escalado(), -9223372036854770000);
  EXPECT_EQ(aLong(2.5), 2);
  EXPECT_EQ(aLong(-1.5), -2);
  EXPECT_EQ(aLong(-2147483648.4), std::numeric_limits<int32_t>::min());
}

TEST(Moneda, LeavingTheRangeOverflows) {
  const Moneda maximo = Moneda::desdeEscalado(std::numeric_limits<int64_t>::max());
  EXPECT_THROW(maximo + Moneda(1), ErrorDesbordamiento);
  EXPECT_THROW(-Moneda::desdeEscalado(std::numeric_limits<int64_t>::min()), ErrorDesbordamiento);
  EXPECT_THROW(Moneda::desdeEntero(1000000000000000), ErrorDesbordamiento);
  EXPECT_THROW(Moneda::desdeDouble(1e15), ErrorDesbordamiento);
  EXPECT_THROW(Moneda::desdeDouble(std::numeric_limits<double>::quiet_NaN()), ErrorDesbordamiento);
  EXPECT_THROW(Moneda::desdeEntero(100000000) * Moneda::desdeEntero(100000000),
               ErrorDesbordamiento);
  EXPECT_THROW(Moneda::desdeDouble(2147483647.5).aLong(), ErrorDesbordamiento);
  EXPECT_THROW(aLong(3e9), ErrorDesbordamiento);
  EXPECT_THROW(Moneda(1) / Moneda(), ErrorDivisionPorCero);
  try {
    maximo* maximo;
    FAIL();
  } catch (const ErrorORV& e) {
    EXPECT_EQ(e.numero(), 6);
    EXPECT_STREQ(e.what(), "Desbordamiento");
  }
}

TEST(Moneda, ArithmeticIsExactToFourDecimals) {
  const Moneda a = Moneda::desdeDouble(1.0001);
  EXPECT_EQ((a * a).escalado(), 10002);  // 1.00020001 rounds to 1.0002
  EXPECT_EQ((Moneda(1) / Moneda(3)).escalado(), 3333);
  EXPECT_EQ((Moneda(2) / Moneda(-3)).escalado(), -6667);
  EXPECT_EQ(Moneda::desdeDouble(-2.5).suelo(), Moneda(-3));
  EXPECT_EQ(Moneda(-70).resto(64), Moneda(-6));
  EXPECT_EQ(Moneda::desdeDouble(-0.25).aTexto(), "-0.25");
  EXPECT_EQ(Moneda::desdeEntero(922337203685477).aTexto(), "922337203685477");
}

// Products and quotients round halves to even whatever the size of the
// operands: small ones, ones whose product passes 32 bits, and ones whose
// product passes 64.
TEST(Moneda, ProductsAndQuotientsRoundHalvesToEvenAtEverySize) {
  struct Caso {
    int64_t a, b;  // scaled operands
    int64_t producto;
  };
  const Caso casos[] = {
      {1, 5000, 0},                          // 0.00005: down to even
      {3, 5000, 2},                          // 0.00015: up to even
      {-3, 5000, -2},
      {1000000001, 5000, 500000000},         // past 32 bits
      {1000000003, 5000, 500000002},
      {-1000000003, 5000, -500000002},
      {9000000000000000001, 5000, 4500000000000000000},  // past 64 bits
      {9000000000000000003, 5000, 4500000000000000002},
  };
  for (const auto& c : casos) {
    EXPECT_EQ((Moneda::desdeEscalado(c.a) * Moneda::desdeEscalado(c.b)).escalado(), c.producto)
        << c.a << " * " << c.b;
  }
  EXPECT_EQ((Moneda::desdeEntero(1000000) / Moneda(3)).escalado(), 3333333333);
  EXPECT_EQ((Moneda::desdeEntero(-1000000) / Moneda(6)).escalado(), -1666666667);
  EXPECT_EQ((Moneda::desdeEscalado(5) / Moneda(10)).escalado(), 0);   // 0.00005
  EXPECT_EQ((Moneda::desdeEscalado(15) / Moneda(10)).escalado(), 2);  // 0.00015
  EXPECT_EQ((Moneda::desdeEntero(900000000000000) / Moneda(-2)).escalado(), -4500000000000000000);
}

TEST(Variante, ConvertsToLongLikeClng) {
  EXPECT_EQ(aLong(Variante{}), 0);
  EXPECT_EQ(aLong(Variante{true}), -1);
  EXPECT_EQ(aLong(Variante{int16_t{-7}}), -7);
  EXPECT_EQ(aLong(Variante{2.5}), 2);
  EXPECT_EQ(aLong(Variante{Moneda::desdeDouble(3.5)}), 4);
  EXPECT_EQ(aLong(Variante{Cadena(U" 12,5 ")}), 12);
  EXPECT_EQ(aLong(Variante{Cadena(U"-40")}), -40);
  EXPECT_THROW(aLong(Variante{Cadena(U"doce")}), ErrorTipos);
  EXPECT_THROW(aLong(Variante{Cadena(U"0x10")}), ErrorTipos);
  EXPECT_THROW(aLong(Variante{std::shared_ptr<Objeto>()}), ErrorTipos);
  EXPECT_THROW(aLong(Variante{1e12}), ErrorDesbordamiento);
}

}  // namespace
}  // namespace kestrin
