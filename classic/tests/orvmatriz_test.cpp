// Matrices modulo 64 and the Hill cryptosystem.
#include "tarnel/orvmatriz.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "kestrin/errores.h"
#include "tarnel/orvcriptohill.h"

namespace tarnel {
namespace {

using Filas = std::vector<std::vector<int32_t>>;

std::shared_ptr<ORVMatriz> matriz(const Filas& filas) {
  auto m = std::make_shared<ORVMatriz>();
  m->setNumFilas(static_cast<int32_t>(filas.size()));
  m->setNumColumnas(static_cast<int32_t>(filas[0].size()));
  for (size_t i = 0; i < filas.size(); ++i) {
    for (size_t j = 0; j < filas[i].size(); ++j) {
      m->setElemento(static_cast<int32_t>(i + 1), static_cast<int32_t>(j + 1), filas[i][j]);
    }
  }
  return m;
}

Filas filas(const ORVMatriz& m) {
  Filas f(static_cast<size_t>(m.NumFilas()), std::vector<int32_t>(static_cast<size_t>(m.NumColumnas())));
  for (int32_t i = 1; i <= m.NumFilas(); ++i) {
    for (int32_t j = 1; j <= m.NumColumnas(); ++j) f[i - 1][j - 1] = m.Elemento(i, j);
  }
  return f;
}

Filas identidad(size_t n) {
  Filas f(n, std::vector<int32_t>(n, 0));
  for (size_t i = 0; i < n; ++i) f[i][i] = 1;
  return f;
}

std::shared_ptr<ORVTexto> texto(VistaCadena s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

TEST(ORVMatriz, ElementsAreReducedAndBounded) {
  ORVMatriz m;
  EXPECT_THROW(m.Elemento(1, 1), kestrin::ErrorSubindice) << "no table before both dimensions";
  m.setNumFilas(3);
  m.setNumColumnas(2);
  for (const auto& [escrito, guardado] :
       std::vector<std::pair<int32_t, int32_t>>{{-1, 63}, {130, 2}, {64, 0}, {INT32_MIN, 0}, {63, 63}}) {
    m.setElemento(3, 2, escrito);
    EXPECT_EQ(m.Elemento(3, 2), guardado) << escrito;
  }
  for (const auto& [f, c] : std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {4, 1}, {1, 3}, {1, 0}}) {
    EXPECT_THROW(m.Elemento(f, c), kestrin::ErrorSubindice) << f << "," << c;
    EXPECT_THROW(m.setElemento(f, c, 1), kestrin::ErrorSubindice) << f << "," << c;
  }
  EXPECT_THROW(m.F1(1, 4), kestrin::ErrorSubindice);
  EXPECT_THROW(m.F3(0, 1, 1), kestrin::ErrorSubindice);

  // A new dimension re-creates the table empty.
  m.setElemento(1, 1, 5);
  m.setNumColumnas(3);
  EXPECT_EQ(m.Elemento(1, 1), 0);
  EXPECT_EQ(m.Elemento(3, 3), 0);

  // A table too large to hold is refused and nothing changes.
  try {
    m.setNumFilas(1 << 23);
    ADD_FAILURE();
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), 7);
  }
  EXPECT_EQ(m.NumFilas(), 3);
  EXPECT_EQ(m.Elemento(3, 3), 0);
}

TEST(ORVMatriz, RowOperations) {
  auto m = matriz({{1, 2, 3}, {4, 5, 6}});
  m->F1(1, 2);
  EXPECT_EQ(filas(*m), (Filas{{4, 5, 6}, {1, 2, 3}}));
  m->F2(2, 30);
  EXPECT_EQ(filas(*m), (Filas{{4, 5, 6}, {30, 60, 26}}));
  m->F3(1, 2, -1);
  EXPECT_EQ(filas(*m), (Filas{{38, 9, 44}, {30, 60, 26}}));

  // Beyond 32 bits: overflow, and the row stays as it was.
  EXPECT_THROW(m->F2(1, 1 << 30), kestrin::ErrorDesbordamiento);
  EXPECT_THROW(m->F3(1, 2, INT32_MAX), kestrin::ErrorDesbordamiento);
  EXPECT_EQ(filas(*m), (Filas{{38, 9, 44}, {30, 60, 26}}));
}

TEST(ORVMatriz, ReduceSkipsColumnsWithoutAnOddElement) {
  const auto m = matriz({{2, 1}, {4, 3}});
  // Column 1 has no pivot; column 2 takes row 1 as pivot row: row 2 - 3 * row 1.
  EXPECT_EQ(filas(*m->Reduce()), (Filas{{2, 1}, {62, 0}}));
  EXPECT_EQ(filas(*m), (Filas{{2, 1}, {4, 3}})) << "the matrix itself is not changed";
  EXPECT_EQ(filas(*matriz({{3, 5, 1}, {7, 2, 0}})->Reduce()), (Filas{{1, 0, 22}, {0, 1, 51}}));  // 3*22 + 5*51 = 1, 7*22 + 2*51 = 0 (mod 64)
}

TEST(ORVMatriz, InverseAndProduct) {
  const auto m = matriz({{3, 5}, {7, 2}});  // determinant -29, odd
  const auto inversa = m->Inversa();
  ASSERT_TRUE(inversa);
  EXPECT_EQ(filas(*m->Por(inversa)), identidad(2));
  EXPECT_EQ(filas(*inversa->Por(m)), identidad(2));

  EXPECT_FALSE(matriz({{2, 0}, {0, 1}})->Inversa()) << "even determinant";
  EXPECT_FALSE(matriz({{1, 2, 3}, {4, 5, 6}})->Inversa()) << "not square";
  EXPECT_FALSE(m->Por(nullptr));
  EXPECT_FALSE(m->Por(matriz({{1, 2, 3}})));
  EXPECT_EQ(filas(*matriz({{1, 2, 3}})->Por(matriz({{1}, {2}, {63}}))), (Filas{{2}}));

  // Invertible modulo 64 exactly when the determinant is odd, that is when
  // the matrix is invertible modulo 2.
  std::mt19937 azar(64);
  int invertibles = 0;
  for (int prueba = 0; prueba < 200; ++prueba) {
    const size_t n = 1 + prueba % 5;
    Filas f(n, std::vector<int32_t>(n));
    for (auto& fila : f) {
      for (auto& x : fila) x = static_cast<int32_t>(azar() % 64);
    }
    std::vector<std::vector<int>> dos(n, std::vector<int>(n));
    for (size_t i = 0; i < n; ++i) {
      for (size_t j = 0; j < n; ++j) dos[i][j] = f[i][j] & 1;
    }
    size_t rango = 0;
    for (size_t c = 0; c < n && rango < n; ++c) {
      size_t p = rango;
      while (p < n && dos[p][c] == 0) ++p;
      if (p == n) continue;
      std::swap(dos[p], dos[rango]);
      for (size_t i = 0; i < n; ++i) {
        if (i != rango && dos[i][c]) {
          for (size_t j = 0; j < n; ++j) dos[i][j] ^= dos[rango][j];
        }
      }
      ++rango;
    }
    const auto a = matriz(f);
    const auto inv = a->Inversa();
    SCOPED_TRACE(prueba);
    ASSERT_EQ(static_cast<bool>(inv), rango == n);
    if (inv) {
      ++invertibles;
      EXPECT_EQ(filas(*a->Por(inv)), identidad(n));
      EXPECT_EQ(filas(*inv->Por(a)), identidad(n));
    }
  }
  EXPECT_GT(invertibles, 20);
}

struct HillCaso {
  const char* nombre;
  const char32_t* claro;
  const char32_t* cifrado;
  const char32_t* descifrado;
};

TEST(ORVCriptoHill, EnciphersBlocksAndDeciphersWithTheInverse) {
  ORVCriptoHill hill;
  std::vector<int32_t> tamanos;
  hill.eventos.CambiaTamaño.conecta([&](int32_t n) { tamanos.push_back(n); });
  hill.setTamClave(2);
  EXPECT_EQ(tamanos, std::vector<int32_t>{2});
  EXPECT_EQ(filas(*hill.Clave()), (Filas{{0, 0}, {0, 0}}));
  const Filas clave{{1, 2}, {3, 5}};
  for (int32_t i = 1; i <= 2; ++i) {
    for (int32_t j = 1; j <= 2; ++j) hill.Clave()->setElemento(i, j, clave[i - 1][j - 1]);
  }
  EXPECT_EQ(filas(*hill.ClaveInversa()), (Filas{{59, 2}, {3, 63}}));

  const HillCaso casos[] = {
      {"bloque", U"ab", U"em", U"ab"},
      {"impar se rellena", U"abc", U"emci", U"abc·"},
      {"fuera del alfabeto no ocupa sitio", U"a#b", U"em", U"ab"},
      {"cola fuera del alfabeto da un bloque de relleno", U"ab#", U"em··", U"ab··"},
      {"vacio", U"", U"", U""},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    hill.setTextoOriginal(texto(caso.claro));
    hill.Cifra();
    EXPECT_EQ(hill.TextoCifrado()->Texto(), caso.cifrado);
    EXPECT_EQ(hill.TextoCifrado()->Key(), kestrin::CSKHill);
    hill.setTextoCifrado(texto(hill.TextoCifrado()->KeyText()));
    hill.Descifra();
    EXPECT_EQ(hill.TextoOriginal()->Texto(), caso.descifrado);
    EXPECT_EQ(hill.TextoOriginal()->Key(), kestrin::CSKNone);
  }

  // Deciphering: a character outside the alphabet takes its place and keeps
  // the value of the previous block there.
  hill.setTextoCifrado(texto(U"em#m"));
  hill.Descifra();
  EXPECT_EQ(hill.TextoOriginal()->Texto(), U"abab");
}

TEST(ORVCriptoHill, WithoutAUsableKeyNothingHappens) {
  ORVCriptoHill hill;
  int eventos = 0;
  hill.eventos.Cifrado.conecta([&] { ++eventos; });
  hill.eventos.DesCifrado.conecta([&] { ++eventos; });
  const auto original = texto(U"abc");
  const auto cifrado = texto(U"abc");
  hill.setTextoOriginal(original);
  hill.setTextoCifrado(cifrado);
  hill.Cifra();  // no size yet
  hill.Descifra();
  hill.setTamClave(2);
  hill.Clave()->setElemento(1, 1, 2);
  hill.Clave()->setElemento(2, 2, 1);
  EXPECT_FALSE(hill.ClaveInversa());
  hill.Descifra();  // singular key
  EXPECT_EQ(eventos, 0);
  EXPECT_EQ(hill.TextoOriginal(), original);
  EXPECT_EQ(hill.TextoCifrado(), cifrado);

  // A key reshaped through the shared reference no longer fits the size.
  hill.Clave()->setNumFilas(3);
  EXPECT_THROW(hill.Cifra(), kestrin::ErrorSubindice);
  hill.setTamClave(-2);
  hill.Cifra();
  EXPECT_EQ(eventos, 0);
}

TEST(ORVCriptoHill, KeySizeIsBounded) {
  ORVCriptoHill hill;
  std::vector<int32_t> tamanos;
  hill.eventos.CambiaTamaño.conecta([&](int32_t n) { tamanos.push_back(n); });
  const int32_t n = ORVCriptoHill::kTamMaximo;
  hill.setTamClave(n);
  EXPECT_EQ(hill.TamClave(), n);
  for (int32_t i = 1; i <= n; ++i) hill.Clave()->setElemento(i, i, 1);
  hill.Clave()->setElemento(1, n, 5);
  const auto inversa = hill.ClaveInversa();
  ASSERT_TRUE(inversa);
  EXPECT_EQ(inversa->Elemento(1, n), 59);
  EXPECT_EQ(filas(*hill.Clave()->Por(inversa)), identidad(static_cast<size_t>(n)));

  const auto clave = hill.Clave();
  for (const int32_t fuera : {n + 1, 3000, INT32_MAX}) {
    SCOPED_TRACE(fuera);
    try {
      hill.setTamClave(fuera);
      ADD_FAILURE();
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), kestrin::kValorPropiedadNoValido);
    }
    EXPECT_EQ(hill.TamClave(), n);
    EXPECT_EQ(hill.Clave(), clave);
    EXPECT_EQ(clave->NumFilas(), n);
    EXPECT_EQ(clave->NumColumnas(), n);
    EXPECT_EQ(clave->Elemento(1, n), 5);
  }
  EXPECT_EQ(tamanos, std::vector<int32_t>{n});
}

// A key reshaped through the shared reference is refused before any work on it.
TEST(ORVCriptoHill, AReshapedKeyIsRefusedBeforeInverting) {
  ORVCriptoHill hill;
  hill.setTamClave(2);
  hill.Clave()->setNumFilas(3);
  hill.Clave()->setNumColumnas(3);
  for (int32_t i = 1; i <= 3; ++i) hill.Clave()->setElemento(i, i, 1);
  hill.setTextoCifrado(texto(U"abc"));
  const auto original = hill.TextoOriginal();
  EXPECT_THROW(hill.ClaveInversa(), kestrin::ErrorSubindice);
  EXPECT_THROW(hill.Descifra(), kestrin::ErrorSubindice);
  EXPECT_THROW(hill.Cifra(), kestrin::ErrorSubindice);
  EXPECT_EQ(hill.TextoOriginal(), original);
}

}  // namespace
}  // namespace tarnel
