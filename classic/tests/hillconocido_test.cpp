// Hill: every key that agrees with a known plain text and its cipher text.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "kestrin/errores.h"
#include "tarnel/orvcriptohill.h"

namespace tarnel {
namespace {

using Matriz = std::vector<std::vector<int>>;

std::shared_ptr<ORVTexto> texto(VistaCadena s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

Matriz deMatriz(const ORVMatriz& m) {
  Matriz r(static_cast<size_t>(m.NumFilas()), std::vector<int>(static_cast<size_t>(m.NumColumnas())));
  for (int32_t f = 1; f <= m.NumFilas(); ++f) {
    for (int32_t c = 1; c <= m.NumColumnas(); ++c) r[static_cast<size_t>(f - 1)][static_cast<size_t>(c - 1)] = m.Elemento(f, c);
  }
  return r;
}

// A Hill system of size n with key k; `claro` enciphered, the ciphertext kept.
std::unique_ptr<ORVCriptoHill> hill(const Matriz& k, VistaCadena claro) {
  auto cs = std::make_unique<ORVCriptoHill>();
  const auto n = static_cast<int32_t>(k.size());
  cs->setTamClave(n);
  for (int32_t f = 1; f <= n; ++f) {
    for (int32_t c = 1; c <= n; ++c) cs->Clave()->setElemento(f, c, k[static_cast<size_t>(f - 1)][static_cast<size_t>(c - 1)]);
  }
  cs->setTextoOriginal(texto(claro));
  cs->Cifra();
  return cs;
}

std::vector<Matriz> encontradas(const ORVCriptoHill& cs) {
  std::vector<Matriz> r;
  for (int32_t i = 1; i <= cs.NumClavesEncontradas(); ++i) r.push_back(deMatriz(*cs.ClaveEncontrada(i)));
  return r;
}

std::vector<int> simbolos(VistaCadena s) {
  std::vector<int> v;
  for (const char32_t c : s) {
    if (alfabeto::valor(c) >= 0) v.push_back(alfabeto::valor(c));
  }
  return v;
}

// Every invertible 2 x 2 key that takes the plain blocks onto the cipher
// blocks, by trying every row (the rows of a key are independent).
std::vector<Matriz> todasLasClaves2(VistaCadena claro, VistaCadena cifrado) {
  std::vector<int> p = simbolos(claro);
  const std::vector<int> c = simbolos(cifrado);
  const size_t m = std::min((p.size() + 1) / 2, c.size() / 2);
  p.resize(2 * m, 0);
  std::vector<std::vector<std::vector<int>>> filas(2);
  for (int r = 0; r < 2; ++r) {
    for (int x = 0; x < 64; ++x) {
      for (int y = 0; y < 64; ++y) {
        bool vale = true;
        for (size_t j = 0; j < m && vale; ++j) vale = (x * p[2 * j] + y * p[2 * j + 1]) % 64 == c[2 * j + static_cast<size_t>(r)];
        if (vale) filas[static_cast<size_t>(r)].push_back({x, y});
      }
    }
  }
  std::vector<Matriz> claves;
  for (const auto& a : filas[0]) {
    for (const auto& b : filas[1]) {
      if ((a[0] * b[1] - a[1] * b[0]) % 2 != 0) claves.push_back({a, b});
    }
  }
  return claves;
}

TEST(HillConocido, RecuperaUnaClaveDeDosYDeTres) {
  const Matriz claves[] = {
      {{3, 2}, {5, 7}},
      {{1, 40, 7}, {2, 3, 60}, {9, 8, 34}},
  };
  for (const Matriz& k : claves) {
    auto cs = hill(k, U"Los romanos conquistaron la península ibérica en el siglo II antes de Cristo.");
    cs->BuscaClaves(cs->TextoOriginal(), cs->TextoCifrado());
    ASSERT_TRUE(cs->ClaveInversa());
    ASSERT_EQ(cs->NumClavesEncontradas(), 1) << k.size();
    EXPECT_FALSE(cs->MasClavesEncontradas());
    EXPECT_EQ(deMatriz(*cs->ClaveEncontrada(1)), k);
    // The copy is a key of its own, ready to decipher.
    EXPECT_NE(cs->ClaveEncontrada(1), cs->ClaveEncontrada(1));
    EXPECT_TRUE(cs->ClaveEncontrada(1)->Inversa());
  }
}

TEST(HillConocido, ListaTodasLasClavesQueAdmiteElPar) {
  struct Caso {
    const char32_t* claro;
    const char32_t* cifrado;
  };
  const Caso casos[] = {
      // Blocks (1, 2) and (3, 4): the determinant -2 is even, so each row of
      // the key has two solutions.
      {U"abcd", nullptr},
      // Every block has an even second symbol: the key's second column is
      // only known modulo 32.
      {U"abcbadch", nullptr},
      // One block: a whole family of keys (more than the list holds).
      {U"ab", nullptr},
      // A plain text of odd length is padded with "·".
      {U"hola", nullptr},
      // Cipher blocks no key gives: the same plain block twice, two cipher blocks.
      {U"abab", U"cdef"},
      // A plain block of even symbols cannot reach an odd one.
      {U"bd", U"ab"},
      // Keys exist, but every one takes an odd block to an even one: none is invertible.
      {U"ab", U"bd"},
  };
  for (const Caso& c : casos) {
    ORVCriptoHill cs;
    cs.setTamClave(2);
    Cadena cifrado;
    if (c.cifrado) {
      cifrado = c.cifrado;
    } else {
      auto original = hill({{3, 2}, {5, 7}}, c.claro);
      cifrado = original->TextoCifrado()->Texto();
    }
    cs.BuscaClaves(texto(c.claro), texto(cifrado));
    std::vector<Matriz> esperadas = todasLasClaves2(c.claro, cifrado);
    std::vector<Matriz> halladas = encontradas(cs);
    const bool mas = esperadas.size() > static_cast<size_t>(ORVCriptoHill::kMaxClavesEncontradas);
    EXPECT_EQ(cs.MasClavesEncontradas(), mas) << kestrin::aUtf8(c.claro);
    if (mas) {
      ASSERT_EQ(halladas.size(), static_cast<size_t>(ORVCriptoHill::kMaxClavesEncontradas));
      for (const Matriz& k : halladas) {
        EXPECT_NE(std::find(esperadas.begin(), esperadas.end(), k), esperadas.end());
      }
    } else {
      std::sort(esperadas.begin(), esperadas.end());
      std::sort(halladas.begin(), halladas.end());
      EXPECT_EQ(halladas, esperadas) << kestrin::aUtf8(c.claro);
    }
    // Each key found enciphers the plain text into the cipher text.
    for (int32_t i = 1; i <= cs.NumClavesEncontradas(); ++i) {
      ORVCriptoHill prueba;
      prueba.setTamClave(2);
      const Matriz k = deMatriz(*cs.ClaveEncontrada(i));
      auto otra = hill(k, c.claro);
      EXPECT_EQ(otra->TextoCifrado()->Texto(), cifrado.substr(0, otra->TextoCifrado()->Texto().size()));
    }
  }
}

TEST(HillConocido, SinClaveCuandoElParNoDaBloques) {
  ORVCriptoHill cs;
  cs.BuscaClaves(texto(U"hola"), texto(U"abcd"));  // no key size yet
  EXPECT_EQ(cs.NumClavesEncontradas(), 0);
  cs.setTamClave(3);
  for (const auto& [claro, cifrado] : {std::pair{U"", U"abc"}, std::pair{U"abc", U"ab"}, std::pair{U"#", U"abc"}}) {
    cs.BuscaClaves(texto(claro), texto(cifrado));
    EXPECT_EQ(cs.NumClavesEncontradas(), 0) << kestrin::aUtf8(claro);
    EXPECT_FALSE(cs.MasClavesEncontradas());
  }
  EXPECT_THROW(cs.ClaveEncontrada(1), kestrin::ErrorSubindice);
  EXPECT_THROW(cs.BuscaClaves(nullptr, texto(U"abc")), kestrin::ErrorORV);
  EXPECT_THROW(cs.BuscaClaves(texto(U"abc"), nullptr), kestrin::ErrorORV);
}

TEST(HillConocido, UnaFamiliaEnormeDeClavesSeMuestreaYTermina) {
  // Two blocks for a 30 x 30 key: 64^(28 * 30) solutions, a sample is tried.
  ORVCriptoHill cs;
  cs.setTamClave(30);
  const Cadena claro = U"en un lugar de la mancha de cuyo nombre no quiero acordarme no ha";
  Cadena cifrado = claro;
  std::reverse(cifrado.begin(), cifrado.end());
  cs.BuscaClaves(texto(claro.substr(0, 60)), texto(cifrado.substr(0, 60)));
  EXPECT_TRUE(cs.MasClavesEncontradas());
  ASSERT_EQ(cs.NumClavesEncontradas(), ORVCriptoHill::kMaxClavesEncontradas);
  const std::vector<int> p = simbolos(claro.substr(0, 60)), c = simbolos(cifrado.substr(0, 60));
  for (const Matriz& k : encontradas(cs)) {
    for (size_t b = 0; b < 2; ++b) {
      for (size_t f = 0; f < 30; ++f) {
        int suma = 0;
        for (size_t j = 0; j < 30; ++j) suma += k[f][j] * p[b * 30 + j];
        EXPECT_EQ(suma % 64, c[b * 30 + f]);
      }
    }
  }
  EXPECT_TRUE(cs.ClaveEncontrada(1)->Inversa());
  EXPECT_TRUE(cs.ClaveEncontrada(64)->Inversa());
}

TEST(HillConocido, UnaClaveGrandeDesdeUnTextoLargo) {
  // 12 x 12, invertible as a lower triangle with an odd diagonal times an
  // upper one with ones on it.
  constexpr size_t n = 12;
  Matriz l(n, std::vector<int>(n, 0)), u(n, std::vector<int>(n, 0)), k(n, std::vector<int>(n, 0));
  for (size_t f = 0; f < n; ++f) {
    for (size_t c = 0; c < n; ++c) {
      l[f][c] = c < f ? static_cast<int>((f * 7 + c * 3) % 64) : c == f ? static_cast<int>(2 * f + 1) : 0;
      u[f][c] = c > f ? static_cast<int>((f * c + 5) % 64) : c == f ? 1 : 0;
    }
  }
  for (size_t f = 0; f < n; ++f) {
    for (size_t c = 0; c < n; ++c) {
      for (size_t j = 0; j < n; ++j) k[f][c] = (k[f][c] + l[f][j] * u[j][c]) % 64;
    }
  }
  Cadena claro;
  for (int i = 0; i < 60; ++i) claro += U"En un lugar de la Mancha, de cuyo nombre no quiero acordarme. ";
  auto cs = hill(k, claro);
  ASSERT_TRUE(cs->ClaveInversa());
  // The tag kept inside the text, as a text read from a file may hold it.
  auto cifrado = std::make_shared<ORVTexto>();
  cifrado->asigna(kestrin::etiqueta::escribe(kestrin::CSKHill) + cs->TextoCifrado()->Texto(), kestrin::CSKNone);
  cs->BuscaClaves(cs->TextoOriginal(), cifrado);
  ASSERT_EQ(cs->NumClavesEncontradas(), 1);
  EXPECT_EQ(deMatriz(*cs->ClaveEncontrada(1)), k);
}

}  // namespace
}  // namespace tarnel
