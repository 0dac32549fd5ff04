// Affine key candidates and random substitution keys.
#include "tarnel/claves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <utility>

#include "tarnel/orvcriptoafin.h"

namespace tarnel {

void PrintTo(const ClaveAfin& k, std::ostream* os) { *os << '(' << k.a << ", " << k.b << ')'; }

namespace {

using kestrin::Moneda;

// Every odd a and every b, tried on both pairs.
std::vector<ClaveAfin> fuerzaBruta(int x0, int x1, int y0, int y1) {
  std::vector<ClaveAfin> claves;
  for (int a = 1; a < ORVNumCar; a += 2) {
    for (int b = 0; b < ORVNumCar; ++b) {
      if ((a * x0 + b) % ORVNumCar == y0 && (a * x1 + b) % ORVNumCar == y1) claves.push_back({a, b});
    }
  }
  return claves;
}

// The two cipher symbols ORVCriptoAfin gives for the plain values x0, x1.
Cadena cifraPar(ClaveAfin clave, int x0, int x1) {
  ORVCriptoAfin afin;
  afin.setMultiplicador(Moneda(clave.a));
  afin.setDesplazamiento(Moneda(clave.b));
  auto claro = std::make_shared<kestrin::ORVTexto>();
  claro->setTexto(Cadena{alfabeto::simbolo(x0), alfabeto::simbolo(x1)});
  afin.setTextoOriginal(claro);
  afin.Cifra();
  return afin.TextoCifrado()->Texto();
}

struct CasoAfin {
  const char* nombre;
  int x0, x1, y0, y1;
  size_t cuantas;
  std::vector<ClaveAfin> claves;  // when short enough to list
};

const CasoAfin kCasosAfin[] = {
    {"dos pares, una clave", 1, 2, 8, 15, 1, {{7, 1}}},
    {"diferencia par, dos claves", 0, 2, 0, 6, 2, {{3, 0}, {35, 0}}},
    {"diferencia par sin solución impar", 0, 2, 0, 1, 0, {}},
    {"diferencia par que solo da a par", 0, 2, 0, 4, 0, {}},
    {"mismo par dos veces: todo a impar", 5, 5, 9, 9, 32, {}},
    {"mismo claro, cifrados distintos", 5, 5, 9, 10, 0, {}},
    {"vuelta por el módulo", 63, 0, 0, 63, 1, {{63, 63}}},
    {"falta x0", -1, 2, 8, 15, 0, {}},
    {"falta x1", 1, -1, 8, 15, 0, {}},
    {"falta y0", 1, 2, -1, 15, 0, {}},
    {"falta y1", 1, 2, 8, -1, 0, {}},
    {"valor 64 no es símbolo", 64, 2, 8, 15, 0, {}},
    {"valor negativo no es símbolo", 1, 2, 8, -50, 0, {}},
};

TEST(ClavesAfines, KnownPairsGiveExactlyTheKeysThatMapThem) {
  for (const auto& caso : kCasosAfin) {
    const auto claves = ClavesAfines(caso.x0, caso.x1, caso.y0, caso.y1);
    ASSERT_EQ(claves.size(), caso.cuantas) << caso.nombre;
    if (!caso.claves.empty()) {
      EXPECT_EQ(claves, caso.claves) << caso.nombre;
    }
    for (const ClaveAfin& k : claves) {
      EXPECT_EQ(k.a % 2, 1) << caso.nombre;
      EXPECT_TRUE(k.b >= 0 && k.b < ORVNumCar) << caso.nombre;
      EXPECT_EQ(cifraPar(k, caso.x0, caso.x1),
                (Cadena{alfabeto::simbolo(caso.y0), alfabeto::simbolo(caso.y1)}))
          << caso.nombre << " a=" << k.a << " b=" << k.b;
    }
  }
}

TEST(ClavesAfines, SamePairTwiceListsEveryOddMultiplierInOrder) {
  const auto claves = ClavesAfines(5, 5, 9, 9);
  ASSERT_EQ(claves.size(), 32u);
  for (size_t i = 0; i < claves.size(); ++i) {
    EXPECT_EQ(claves[i].a, static_cast<int32_t>(2 * i + 1));
    EXPECT_EQ((claves[i].a * 5 + claves[i].b) % ORVNumCar, 9);
  }
}

// Pairs drawn from a random key (at least one answer) and pairs drawn at
// random (often none): the list is the brute-force one, order included.
TEST(ClavesAfines, EqualsABruteForceOverEveryKey) {
  std::mt19937 azar(20240611);
  std::uniform_int_distribution<int> simbolo(0, ORVNumCar - 1);
  int conClaves = 0;
  for (int i = 0; i < 1000; ++i) {
    const int x0 = simbolo(azar), x1 = simbolo(azar);
    int y0 = simbolo(azar), y1 = simbolo(azar);
    if (i % 2 == 0) {
      const int a = simbolo(azar) | 1, b = simbolo(azar);
      y0 = (a * x0 + b) % ORVNumCar;
      y1 = (a * x1 + b) % ORVNumCar;
    }
    const auto claves = ClavesAfines(x0, x1, y0, y1);
    ASSERT_EQ(claves, fuerzaBruta(x0, x1, y0, y1)) << x0 << ' ' << x1 << ' ' << y0 << ' ' << y1;
    if (!claves.empty()) ++conClaves;
  }
  EXPECT_GE(conClaves, 500);
}

bool esPermutacionDelAlfabeto(Cadena clave) {
  Cadena alfabeto(Alfabeto);
  std::sort(clave.begin(), clave.end());
  std::sort(alfabeto.begin(), alfabeto.end());
  return clave == alfabeto;
}

TEST(ClaveSustAleatoria, IsAPermutationOfTheAlphabet) {
  std::mt19937_64 generador(7);
  for (int i = 0; i < 50; ++i) {
    EXPECT_TRUE(esPermutacionDelAlfabeto(ClaveSustAleatoria()));
    EXPECT_TRUE(esPermutacionDelAlfabeto(ClaveSustAleatoria(generador)));
  }
}

TEST(ClaveSustAleatoria, ConsecutiveKeysDiffer) {
  // Two equal keys in a row from a uniform draw: one chance in 64!.
  Cadena anterior = ClaveSustAleatoria();
  for (int i = 0; i < 20; ++i) {
    Cadena clave = ClaveSustAleatoria();
    EXPECT_NE(clave, anterior);
    anterior = std::move(clave);
  }
  std::mt19937_64 uno(42), otro(42);
  EXPECT_EQ(ClaveSustAleatoria(uno), ClaveSustAleatoria(otro));
  EXPECT_NE(ClaveSustAleatoria(uno), ClaveSustAleatoria(uno));
}

// Chi-square of the symbol-by-position counts over `sorteos` keys. Under a
// uniform draw every cell expects sorteos/64 and the sum is near 4032
// (4096 cells, spread about 90); a biased shuffle adds to it in proportion
// to the number of draws.
template <typename Sorteo>
double chiCuadrado(Sorteo sorteo, int sorteos, bool& todasLasCeldas) {
  std::array<std::array<int, ORVNumCar>, ORVNumCar> cuenta{};
  for (int i = 0; i < sorteos; ++i) {
    const Cadena clave = sorteo();
    for (int pos = 0; pos < ORVNumCar; ++pos) ++cuenta[alfabeto::valor(clave[pos])][pos];
  }
  const double esperado = sorteos / 64.0;
  double chi = 0;
  todasLasCeldas = true;
  for (const auto& fila : cuenta) {
    for (int n : fila) {
      chi += (n - esperado) * (n - esperado) / esperado;
      if (n == 0) todasLasCeldas = false;
    }
  }
  return chi;
}

TEST(ClaveSustAleatoria, EverySymbolIsEquallyLikelyAtEveryPosition) {
  constexpr int kSorteos = 4000;
  constexpr double kCota = 4032 + 6 * 90;  // six spreads above the uniform mean
  std::mt19937_64 generador(1234);

  bool todas = false;
  const double uniforme = chiCuadrado([&] { return ClaveSustAleatoria(generador); }, kSorteos, todas);
  EXPECT_LT(uniforme, kCota);
  EXPECT_TRUE(todas) << "some symbol never reached some position";

  // The usual mistake, swapping each place with any place of the whole key,
  // favours some positions for most symbols; the same bound must catch it.
  std::mt19937_64 otro(1234);
  const double sesgado = chiCuadrado(
      [&] {
        Cadena clave(Alfabeto);
        std::uniform_int_distribution<size_t> cualquiera(0, clave.size() - 1);
        for (size_t i = 0; i < clave.size(); ++i) std::swap(clave[i], clave[cualquiera(otro)]);
        return clave;
      },
      kSorteos, todas);
  EXPECT_GT(sesgado, kCota);
}

}  // namespace
}  // namespace tarnel
