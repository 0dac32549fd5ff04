// Substitution cryptosystem.
#include "tarnel/orvcriptosust.h"

#include <gtest/gtest.h>

#include "kestrin/errores.h"

namespace tarnel {
namespace {

using kestrin::CSKNone;
using kestrin::CSKSust;
using kestrin::Moneda;

std::shared_ptr<ORVTexto> texto(const char32_t* s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

Variante c(const char32_t* s) { return Cadena(s); }
Variante n(int32_t i) { return i; }

TEST(ORVCriptoSust, NewKeyGivesOneMarkerPerSymbol) {
  ORVCriptoSust sust;
  sust.setTextoOriginal(texto(U"Hola, #mundo"));
  sust.Cifra();
  EXPECT_EQ(sust.TextoCifrado()->Texto(), U"___________");
  EXPECT_EQ(sust.TextoCifrado()->Key(), CSKSust);
  for (int i = 0; i < ORVNumCar; ++i) EXPECT_EQ(sust.ClaveInv(n(i)), U"_");
}

TEST(ORVCriptoSust, PartialKeyAndItsInverse) {
  ORVCriptoSust sust;
  sust.setClave(c(U"a"), U"x");
  sust.setTextoOriginal(texto(U"Aa#b"));
  sust.Cifra();
  EXPECT_EQ(sust.TextoCifrado()->Texto(), U"xx_");
  EXPECT_EQ(sust.ClaveInv(c(U"x")), U"a");
  EXPECT_EQ(sust.ClaveInv(n(25)), U"a");
  EXPECT_EQ(sust.ClaveInv(c(U"X")), U"a");
  for (int i = 0; i < ORVNumCar; ++i) {
    if (i != 25) {
      EXPECT_EQ(sust.ClaveInv(n(i)), U"_") << i;
    }
  }
  sust.Descifra();
  EXPECT_EQ(sust.TextoOriginal()->Texto(), U"aa");  // "_" is no symbol: dropped
  EXPECT_EQ(sust.TextoOriginal()->Key(), CSKNone);
}

TEST(ORVCriptoSust, InverseOfSharedCipherSymbolGoesToTheHigherIndex) {
  ORVCriptoSust sust;
  sust.setClave(c(U"b"), U"q");
  sust.setClave(c(U"a"), U"Q");
  EXPECT_EQ(sust.ClaveInv(c(U"q")), U"b");
  // Entries that are not symbols are kept but have no inverse.
  sust.setClave(n(5), U"#");
  EXPECT_EQ(sust.Clave(c(U"e")), U"#");
  sust.setClave(c(U"c"), U"xyz");  // a longer entry is inserted whole
  sust.setTextoOriginal(texto(U"cab"));
  sust.Cifra();
  EXPECT_EQ(sust.TextoCifrado()->Texto(), U"xyzQq");
}

TEST(ORVCriptoSust, IndicesOutsideTheAlphabet) {
  ORVCriptoSust sust;
  EXPECT_THROW(sust.setClave(n(64), U"z"), kestrin::ErrorSubindice);
  EXPECT_THROW(sust.setClave(n(-1), U"z"), kestrin::ErrorSubindice);
  EXPECT_THROW(sust.setClave(c(U"#"), U"z"), kestrin::ErrorSubindice);
  EXPECT_THROW(sust.Clave(n(64)), kestrin::ErrorSubindice);
  EXPECT_THROW(sust.ClaveInv(n(-1)), kestrin::ErrorSubindice);
  EXPECT_EQ(sust.Clave(c(U"#")), U"");
  EXPECT_EQ(sust.ClaveInv(c(U"_")), U"");
  // A number in a text and a currency are numbers too.
  sust.setClave(Variante{Moneda(63)}, U"a");
  EXPECT_EQ(sust.Clave(c(U"\"")), U"a");
  EXPECT_THROW(sust.Clave(Variante{std::shared_ptr<kestrin::Objeto>()}), kestrin::ErrorTipos);
}

TEST(ORVCriptoSust, FullPermutationRoundTrips) {
  ORVCriptoSust sust;
  for (int i = 0; i < ORVNumCar; ++i) sust.setClave(n(i), Cadena(1, alfabeto::simbolo(i * 5 + 7)));
  sust.setTextoOriginal(texto(U"¿Dónde está el número 42?"));
  int eventos = 0;
  sust.eventos.Cifrado.conecta([&] { ++eventos; });
  sust.eventos.DesCifrado.conecta([&] { eventos += 10; });
  sust.Cifra();
  sust.setTextoCifrado(sust.TextoCifrado());
  sust.Descifra();
  EXPECT_EQ(sust.TextoOriginal()->Texto(), U"¿donde·esta·el·numero·42?");
  EXPECT_EQ(eventos, 11);
}

}  // namespace
}  // namespace tarnel
