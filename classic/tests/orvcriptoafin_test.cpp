// Affine cryptosystem.
#include "tarnel/orvcriptoafin.h"

#include <gtest/gtest.h>

#include "kestrin/errores.h"

namespace tarnel {
namespace {

using kestrin::CSKAfin;
using kestrin::CSKNone;

std::shared_ptr<ORVTexto> texto(const char32_t* s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

struct Caso {
  const char* nombre;
  int64_t a, b;
  const char32_t* claro;
  const char32_t* cifrado;
};

const Caso kCasos[] = {
    {"identidad pliega", 1, 0, U"Árbol\r\nÑU#", U"arbol··ñu"},
    {"desplazamiento", 1, 3, U"abc", U"def"},
    {"tres", 3, 0, U"abc", U"cfi"},
    {"vuelta", 1, 1, U"\"", U"·"},
    {"a 65 es a 1", 65, 0, U"Hola", U"hola"},
    {"a negativo", -1, 0, U"a", U"\""},
    {"b negativo", 1, -3, U"a", U"'"},
    {"clave enorme", 64LL * 1000000000000LL + 3, 64LL * 1000000000000LL, U"abc", U"cfi"},
};

TEST(ORVCriptoAfin, EnciphersAndDecipherInBothDirections) {
  for (const auto& caso : kCasos) {
    ORVCriptoAfin afin;
    afin.setMultiplicador(Moneda::desdeEntero(caso.a));
    afin.setDesplazamiento(Moneda::desdeEntero(caso.b));
    afin.setTextoOriginal(texto(caso.claro));
    afin.Cifra();
    EXPECT_EQ(afin.TextoCifrado()->Texto(), caso.cifrado) << caso.nombre;
    EXPECT_EQ(afin.TextoCifrado()->Key(), CSKAfin) << caso.nombre;

    afin.setTextoCifrado(texto(caso.cifrado));
    afin.Descifra();
    ORVCriptoAfin plegado;
    plegado.setMultiplicador(Moneda(1));
    plegado.setTextoOriginal(texto(caso.claro));
    plegado.Cifra();
    EXPECT_EQ(afin.TextoOriginal()->Texto(), plegado.TextoCifrado()->Texto()) << caso.nombre;
    EXPECT_EQ(afin.TextoOriginal()->Key(), CSKNone) << caso.nombre;
  }
}

TEST(ORVCriptoAfin, EveryValidKeyRoundTripsTheWholeAlphabet) {
  for (int a = -63; a < 128; a += 2) {
    for (int b : {-65, 0, 1, 37, 63}) {
      ORVCriptoAfin afin;
      afin.setMultiplicador(Moneda(a));
      afin.setDesplazamiento(Moneda(b));
      afin.setTextoOriginal(texto(Alfabeto.data()));
      afin.Cifra();
      // "a" (value 1) goes to the symbol of (a + b) mod 64.
      EXPECT_EQ(afin.TextoCifrado()->Texto()[1], alfabeto::simbolo(a + b)) << a << " " << b;
      afin.Descifra();
      ASSERT_EQ(afin.TextoOriginal()->Texto(), Alfabeto) << a << " " << b;
    }
  }
}

TEST(ORVCriptoAfin, InvalidKeyIsASilentNoOp) {
  for (const int a : {0, 2, 64, -4}) {
    ORVCriptoAfin afin;
    int eventos = 0;
    afin.eventos.Cifrado.conecta([&] { ++eventos; });
    afin.eventos.DesCifrado.conecta([&] { ++eventos; });
    afin.setMultiplicador(Moneda(a));
    const auto cifrado = texto(U"xyz");
    afin.setTextoOriginal(texto(U"abc"));
    afin.setTextoCifrado(cifrado);
    afin.Cifra();
    afin.Descifra();
    EXPECT_EQ(afin.TextoCifrado(), cifrado) << a;
    EXPECT_EQ(afin.TextoOriginal()->Texto(), U"abc") << a;
    EXPECT_EQ(eventos, 0) << a;
  }
}

TEST(ORVCriptoAfin, PublishesNewObjectsAndRaisesEventsAfterwards) {
  ORVCriptoAfin afin;
  afin.setMultiplicador(Moneda(3));
  afin.setDesplazamiento(Moneda(5));
  const auto entrada = std::make_shared<ORVTexto>();  // empty text
  afin.setTextoOriginal(entrada);
  std::vector<std::string> vistos;
  afin.eventos.Cifrado.conecta([&] {
    vistos.push_back("Cifrado:" + std::to_string(afin.TextoCifrado()->Key()));
  });
  afin.eventos.DesCifrado.conecta([&] { vistos.push_back("DesCifrado"); });
  const auto anterior = afin.TextoCifrado();
  afin.Cifra();
  EXPECT_NE(afin.TextoCifrado(), anterior);
  EXPECT_EQ(afin.TextoCifrado()->Texto(), U"");
  EXPECT_EQ(afin.TextoOriginal(), entrada);
  afin.Descifra();
  EXPECT_EQ(vistos, (std::vector<std::string>{"Cifrado:2", "DesCifrado"}));
  EXPECT_NE(afin.TextoOriginal(), entrada);
  // The key is kept as given.
  afin.setMultiplicador(Moneda(67));
  EXPECT_EQ(afin.Multiplicador(), Moneda(67));
}

TEST(ORVCriptoAfin, MissingTextObjectIsError91) {
  ORVCriptoAfin afin;
  afin.setMultiplicador(Moneda(1));
  afin.setTextoOriginal(nullptr);
  try {
    afin.Cifra();
    FAIL();
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), 91);
  }
}

}  // namespace
}  // namespace tarnel
