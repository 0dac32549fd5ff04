// The working alphabet, folding and the character model.
#include <gtest/gtest.h>

#include <set>

#include "kestrin/errores.h"
#include "tarnel/tarnel.h"

namespace tarnel {
namespace {

using kestrin::aUtf8;

TEST(Alfabeto, OrderingsArePermutationsOfTheAlphabet) {
  EXPECT_EQ(std::set<char32_t>(Alfabeto.begin(), Alfabeto.end()).size(), 64u);
  EXPECT_EQ(std::set<char32_t>(AlfabetoFrecuencias.begin(), AlfabetoFrecuencias.end()),
            std::set<char32_t>(Alfabeto.begin(), Alfabeto.end()));
  for (char32_t c : LetrasFrecuentes) {
    const int v = alfabeto::valor(c);
    EXPECT_TRUE(v == 0 || (v >= 1 && v <= 27)) << static_cast<uint32_t>(c);
  }
  // No two different symbols fold onto each other.
  for (int v = 0; v < ORVNumCar; ++v) EXPECT_EQ(alfabeto::valor(Alfabeto[v]), v);
}

TEST(Alfabeto, FoldsCaseAccentsBreaksAndBrackets) {
  struct Caso {
    char32_t c;
    int valor;
  };
  const Caso casos[] = {
      {U' ', 0},  {U'\r', 0}, {U'\n', 0}, {U'·', 0},  {U'A', 1},  {U'á', 1},  {U'À', 1},
      {U'â', 1},  {U'Ä', 1},  {U'É', 5},  {U'ë', 5},  {U'Í', 9},  {U'ï', 9},  {U'Ó', 16},
      {U'ö', 16}, {U'Ú', 22}, {U'ü', 22}, {U'Ü', 22}, {U'Ñ', 15}, {U'ñ', 15}, {U'B', 2},
      {U'Z', 27}, {U'0', 28}, {U'9', 37}, {U'[', 39}, {U']', 40}, {U'\\', 49}, {U'º', 52},
      {U'ª', 53}, {U'¿', 58}, {U'"', 63}, {U'#', -1}, {U'_', -1}, {U'\t', -1}, {U'ã', -1},
      {U'ç', -1}, {U'€', -1}, {U'中', -1},
  };
  for (const auto& caso : casos) {
    EXPECT_EQ(alfabeto::valor(caso.c), caso.valor) << aUtf8(Cadena(1, caso.c));
  }
}

TEST(ORVCar, TextoKeepsTheFirstCharacterFolded) {
  struct Caso {
    const char32_t* escrito;
    const char32_t* texto;
    int valor;
    bool valido;
  };
  const Caso casos[] = {
      {U"Árbol", U"a", 1, true},
      {U"#", U"", -1, false},
      {U"", U"·", 0, true},
      {U"\nx", U"·", 0, true},
      {U"Ñu", U"ñ", 15, true},
  };
  ORVCar car;
  for (const auto& caso : casos) {
    car.setTexto(caso.escrito);
    EXPECT_EQ(car.Texto(), caso.texto) << aUtf8(caso.escrito);
    EXPECT_EQ(car.Valor(), Moneda(caso.valor)) << aUtf8(caso.escrito);
    EXPECT_EQ(car.Valido(), caso.valido) << aUtf8(caso.escrito);
  }
}

TEST(ORVCar, ValorKeepsTheLowSixBits) {
  const std::pair<int32_t, const char32_t*> casos[] = {
      {70, U"f"}, {-3, U"!"}, {-1, U"\""}, {64, U"·"}, {0, U"·"}, {63, U"\""}};
  ORVCar car;
  for (const auto& [escrito, texto] : casos) {
    car.setValor(Moneda(escrito));
    EXPECT_EQ(car.Texto(), texto) << escrito;
    EXPECT_EQ(car.Valor(), Moneda(((escrito % 64) + 64) % 64)) << escrito;
    EXPECT_TRUE(car.Valido());
  }
  EXPECT_THROW(car.setValor(Moneda::desdeEntero(5000000000)), kestrin::ErrorDesbordamiento);
}

TEST(ORVCar, ItemTakesNumbersAndTextsAndIgnoresTheRest) {
  ORVCar car;
  car.setItem(Variante{int16_t{66}});
  EXPECT_EQ(car.Texto(), U"b");
  car.setItem(Variante{2.5});  // rounds half to even
  EXPECT_EQ(car.Texto(), U"b");
  car.setItem(Variante{Moneda(-3)});
  EXPECT_EQ(car.Texto(), U"!");
  car.setItem(Variante{Cadena(U"Éxito")});
  EXPECT_EQ(car.Texto(), U"e");
  EXPECT_EQ(std::get<Cadena>(car.Item()), U"e");
  car.setItem(Variante{true});
  car.setItem(Variante{});
  car.setItem(Variante{std::shared_ptr<kestrin::Objeto>()});
  EXPECT_EQ(car.Texto(), U"e");
  car.setValido(false);
  EXPECT_FALSE(car.Valido());
}

TEST(Tarnel, CreatesItsClassesByName) {
  registra();
  for (const auto& entrada : clases()) {
    EXPECT_NE(kestrin::CreaObjeto(entrada.nombre), nullptr) << entrada.nombre;
  }
  EXPECT_NE(std::dynamic_pointer_cast<ORVCriptoAfin>(kestrin::CreaObjeto("Tarnel.ORVCriptoAfin")),
            nullptr);
}

}  // namespace
}  // namespace tarnel
