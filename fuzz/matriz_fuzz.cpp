// Matrix inversion modulo 64: the inverse, when there is one, is one on both
// sides; there is none exactly when the determinant is even.
//
// Input: the first byte gives the order (1 to 12), the rest the elements by
// rows (missing ones are 0); an odd first byte sets each element through a
// signed value, to reach the reduction of negatives.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "comun.h"
#include "tarnel/orvmatriz.h"

namespace {

// Whether the matrix of 0/1 values is invertible over the field of two elements.
bool invertibleMod2(std::vector<std::vector<uint8_t>> a) {
  const size_t n = a.size();
  for (size_t c = 0, f = 0; c < n; ++c, ++f) {
    size_t p = f;
    while (p < n && a[p][c] == 0) ++p;
    if (p == n) return false;
    std::swap(a[p], a[f]);
    for (size_t i = 0; i < n; ++i)
      if (i != f && a[i][c])
        for (size_t j = 0; j < n; ++j) a[i][j] ^= a[f][j];
  }
  return true;
}

bool esIdentidad(const tarnel::ORVMatriz& m) {
  for (int32_t i = 1; i <= m.NumFilas(); ++i)
    for (int32_t j = 1; j <= m.NumColumnas(); ++j)
      if (m.Elemento(i, j) != (i == j ? 1 : 0)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  if (tamano == 0) return 0;
  const int32_t n = datos[0] / 2 % 12 + 1;
  const bool negativos = datos[0] & 1;
  orvfuzz::protege([&] {
    auto a = std::make_shared<tarnel::ORVMatriz>();
    a->setNumFilas(n);
    a->setNumColumnas(n);
    std::vector<std::vector<uint8_t>> bits(static_cast<size_t>(n), std::vector<uint8_t>(static_cast<size_t>(n)));
    for (int32_t i = 0; i < n; ++i) {
      for (int32_t j = 0; j < n; ++j) {
        const size_t k = 1 + static_cast<size_t>(i * n + j);
        const int32_t v = k < tamano ? (negativos ? static_cast<int8_t>(datos[k]) * 1000003
                                                  : datos[k])
                                     : 0;
        a->setElemento(i + 1, j + 1, v);
        ORV_EXIGE(a->Elemento(i + 1, j + 1) == ((v % 64) + 64) % 64);
        bits[static_cast<size_t>(i)][static_cast<size_t>(j)] = a->Elemento(i + 1, j + 1) & 1;
      }
    }
    const auto inversa = a->Inversa();
    ORV_EXIGE(static_cast<bool>(inversa) == invertibleMod2(bits));
    if (inversa) {
      ORV_EXIGE(inversa->NumFilas() == n && inversa->NumColumnas() == n);
      ORV_EXIGE(esIdentidad(*a->Por(inversa)));
      ORV_EXIGE(esIdentidad(*inversa->Por(a)));
    }
    // The reduced form of an invertible matrix is the identity.
    const auto reducida = a->Reduce();
    ORV_EXIGE(reducida && esIdentidad(*reducida) == static_cast<bool>(inversa));
  });
  return 0;
}
