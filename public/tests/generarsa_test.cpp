// Random RSA keys: sizes, the exponent, the block size, the key check.
#include "halvard/generarsa.h"

#include <gtest/gtest.h>

#include <string>

#include "halvard/orvcriptorsa.h"
#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "numbrel/orvbignum.h"

namespace halvard {
namespace {

std::string u8(const Cadena& s) {
  return kestrin::aUtf8(s);
}

// The message ORVCriptoRSA gives for the key, and the key itself when it is good.
struct Construida {
  bool ok = false;
  std::string mensaje;
};

Construida construye(ORVCriptoRSA& rsa, const ClaveRSA& c, int32_t bloque) {
  Construida r;
  const int id = rsa.eventos.ConstruyeClave.conecta([&](bool& ok, const Cadena& m) {
    r.ok = ok;
    r.mensaje = u8(m);
  });
  rsa.setClaveFactor(1, c.p);
  rsa.setClaveFactor(2, c.q);
  rsa.setExponente(c.e);
  rsa.setTamBloque(bloque);
  rsa.ConstruyeClave();
  rsa.eventos.ConstruyeClave.desconecta(id);
  return r;
}

// Everything a generated key of `bits` bits must be, checked with the
// service and ORVCriptoRSA rather than with the generator's own reasoning.
void compruebaGenerada(int32_t bits) {
  SCOPED_TRACE(bits);
  const auto clave = GeneraClaveRSA(bits);
  ASSERT_TRUE(clave.has_value());
  numbrel::ORVBigNum big;
  EXPECT_TRUE(big.EsPrimo(clave->p));
  EXPECT_TRUE(big.EsPrimo(clave->q));
  EXPECT_NE(clave->p, clave->q);
  EXPECT_EQ(big.NumBits(clave->p), (bits + 1) / 2);
  EXPECT_EQ(big.NumBits(clave->q), bits / 2);
  EXPECT_EQ(big.NumBits(U"(" + clave->p + U")*(" + clave->q + U")"), bits);
  const Cadena phi = big.Eval(U"(" + clave->p + U"-1)*(" + clave->q + U"-1)");
  EXPECT_EQ(big.Mcd(clave->e, phi), U"1");
  EXPECT_EQ(big.Max(U"65536", clave->e), 2) << u8(clave->e);

  ClaveRSA comprobada = *clave;
  Cadena mensaje;
  ASSERT_TRUE(CompruebaClaveRSA(comprobada, mensaje)) << u8(mensaje);
  EXPECT_EQ(u8(mensaje), "Clave OK");
  EXPECT_EQ(comprobada.bits, bits);
  EXPECT_EQ(comprobada.n, big.Eval(U"(" + clave->p + U")*(" + clave->q + U")"));

  // The block size is the largest the key check accepts.
  ORVCriptoRSA rsa;
  EXPECT_TRUE(construye(rsa, *clave, clave->bloque).ok);
  const Construida mayor = construye(rsa, *clave, clave->bloque + 1);
  EXPECT_FALSE(mayor.ok);
  EXPECT_EQ(mayor.mensaje.rfind("Cada factor primo debe ser mayor que ", 0), 0u) << mayor.mensaje;

  // And the key works: a short text with a character of code above 127 and
  // one below 100 (a block that loses leading zeros) comes back whole.
  construye(rsa, *clave, clave->bloque);
  Cadena claro = U"Año\tclave";
  auto texto = std::make_shared<kestrin::ORVTexto>();
  texto->setTexto(claro);
  rsa.setTextoOriginal(texto);
  rsa.Cifra();
  for (int32_t i = 1; i <= rsa.NumBloques(); ++i) EXPECT_NE(rsa.TextoCifrado(i), U"");
  rsa.Descifra();
  const size_t tam = static_cast<size_t>(clave->bloque);
  if (claro.size() % tam) claro.append(tam - claro.size() % tam, U' ');
  EXPECT_EQ(u8(rsa.TextoOriginal()->Texto()), u8(claro));
}

TEST(GeneraClaveRSA, KeysOfEverySizeAreExactWorkingAndUseTheLargestBlock) {
  // The smallest size, an odd one, and the sizes the window offers first.
  for (int32_t bits : {kMinBitsClaveRSA, 19, 97, 512, 1024}) compruebaGenerada(bits);
}

TEST(GeneraClaveRSA, SmallKeysDrawDistinctFactors) {
  // At 18 bits the factors come from the 43 primes of 9 bits: equal draws
  // happen within a few hundred keys, and must be drawn again.
  numbrel::ORVBigNum big;
  for (int i = 0; i < 300; ++i) {
    const auto clave = GeneraClaveRSA(kMinBitsClaveRSA);
    ASSERT_TRUE(clave.has_value());
    ASSERT_NE(clave->p, clave->q);
    ASSERT_EQ(big.NumBits(U"(" + clave->p + U")*(" + clave->q + U")"), kMinBitsClaveRSA);
  }
}

TEST(GeneraClaveRSA, SizesOutsideTheRangeAreRefused) {
  for (int32_t bits : {-1, 0, 2, kMinBitsClaveRSA - 1, kMaxBitsClaveRSA + 1, 1 << 20}) {
    SCOPED_TRACE(bits);
    try {
      GeneraClaveRSA(bits);
      ADD_FAILURE() << "aceptado";
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), kestrin::kArgumentoNoValido);
    }
  }
}

TEST(GeneraClaveRSA, AStopRequestedGivesNothing) {
  std::stop_source parar;
  parar.request_stop();
  EXPECT_FALSE(GeneraClaveRSA(4096, parar.get_token()).has_value());
}

struct CasoCompleta {
  const char* nombre;
  const char32_t *p, *q;
  const char32_t* e;
  int32_t bloque;
};

// 917519 - 1 = 2 * 7 * 65537; 60133212203 - 1 = 2 * 7 * 65537 * 65539 and
// 1000000000061 - 1 is a multiple of 7 too, so 65541 = 3 * 7 * 3121 fails.
// The block size follows the smaller factor: 255253 is below 255255 (one
// character), 255259 above it (two).
const CasoCompleta kCompletas[] = {
    {"exponente habitual", U"257", U"263", U"65537", 1},
    {"65537 divide a p-1", U"917519", U"1000000007", U"65539", 2},
    {"65537 y 65539 dividen a phi, 65541 comparte el 7", U"60133212203", U"1000000000061", U"65543",
     3},
    {"bajo 255255", U"255253", U"1000000007", U"65537", 1},
    {"sobre 255255", U"1000000007", U"255259", U"65537", 2},
    {"sobre 255255255, el menor decide", U"255255263", U"1000000000061", U"65537", 3},
    {"bajo 255255255", U"1000000000061", U"255255251", U"65537", 2},
};

TEST(CompletaClaveRSA, ExponentAndBlockSizeForGivenPrimes) {
  for (const auto& caso : kCompletas) {
    SCOPED_TRACE(caso.nombre);
    ClaveRSA clave = CompletaClaveRSA(caso.p, caso.q);
    EXPECT_EQ(u8(clave.e), u8(caso.e));
    EXPECT_EQ(clave.bloque, caso.bloque);
    Cadena mensaje;
    EXPECT_TRUE(CompruebaClaveRSA(clave, mensaje)) << u8(mensaje);
  }
}

TEST(CompletaClaveRSA, FactorsItCannotUseAreRefused) {
  const std::pair<const char32_t*, const char32_t*> malos[] = {{U"251", U"257"}, {U"257", U"255"},
                                                               {U"257", U"257"}, {U"abc", U"257"},
                                                               {U"", U"257"},    {U"-263", U"257"}};
  for (const auto& [p, q] : malos) {
    SCOPED_TRACE(u8(p) + " " + u8(q));
    EXPECT_THROW(CompletaClaveRSA(p, q), kestrin::ErrorORV);
  }
}

TEST(CompruebaClaveRSA, ReportsTheKeyChecksMessage) {
  ClaveRSA noPrimo = CompletaClaveRSA(U"259", U"263");
  Cadena mensaje;
  EXPECT_FALSE(CompruebaClaveRSA(noPrimo, mensaje));
  EXPECT_EQ(u8(mensaje), "Cada factor debe ser primo.");
  EXPECT_EQ(noPrimo.n, U"");

  ClaveRSA grande = CompletaClaveRSA(U"257", U"263");
  grande.bloque = 2;
  EXPECT_FALSE(CompruebaClaveRSA(grande, mensaje));
  EXPECT_EQ(u8(mensaje), "Cada factor primo debe ser mayor que 255255.");

  ClaveRSA comun = CompletaClaveRSA(U"257", U"263");
  comun.e = U"131";
  EXPECT_FALSE(CompruebaClaveRSA(comun, mensaje));
  EXPECT_EQ(u8(mensaje), "El exponente debe ser primo con 67072");
}

}  // namespace
}  // namespace halvard
