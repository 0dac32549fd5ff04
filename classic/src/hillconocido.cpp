// The Hill key from a known plain text and its cipher text.
//
// Each row r of the key K satisfies, for every block j, the sum over c of
// P_j(c) K(r, c) = C_j(r): one system A x = b per row, with the same matrix
// A (the plain blocks as rows) and the cipher symbols of row r as b. Modulo
// 64 every number is a power of two times an odd one, so A is brought to a
// diagonal of powers of two by row and column operations, choosing as pivot
// an element with the fewest factors 2 (it divides every other): L A V = D.
// Then D y = L b says, row by row, 2^v y_i = b'_i: no solution unless 2^v
// divides b'_i, 2^v of them when it does; and x = V y.
#include <algorithm>
#include <bit>
#include <random>

#include "kestrin/errores.h"
#include "recuento.h"
#include "tarnel/orvcriptohill.h"

namespace tarnel {
namespace {

// Longest list of solutions kept for one row of the key, and most
// combinations of rows tried for an invertible key: a few seconds' work at
// most whatever the size (a solution costs n^2 steps, a trial about
// n^2 (1 + n / 64)).
size_t maxPorFila(size_t n) { return std::clamp<size_t>((size_t{1} << 22) / (n * n * n), 1, 4096); }
uint64_t maxPruebas(size_t n) {
  return std::clamp<uint64_t>(uint64_t{50'000'000} / (n * n + n * n * n / 64), 1000, uint64_t{1} << 20);
}

// The rank modulo 2 of the m x n matrix whose row j is at filas + j * paso.
size_t rangoModulo2(const uint8_t* filas, size_t m, size_t n, size_t paso) {
  const size_t palabras = (n + 63) / 64;
  std::vector<uint64_t> base;  // rows in echelon form, each with its leading bit
  std::vector<size_t> lideres;
  std::vector<uint64_t> fila(palabras);
  for (size_t j = 0; j < m && lideres.size() < n; ++j) {
    std::fill(fila.begin(), fila.end(), 0);
    for (size_t c = 0; c < n; ++c) {
      if (filas[j * paso + c] & 1u) fila[c / 64] |= uint64_t{1} << (c % 64);
    }
    for (size_t b = 0; b < lideres.size(); ++b) {
      if (fila[lideres[b] / 64] >> (lideres[b] % 64) & 1) {
        for (size_t w = 0; w < palabras; ++w) fila[w] ^= base[b * palabras + w];
      }
    }
    for (size_t c = 0; c < n; ++c) {
      if (fila[c / 64] >> (c % 64) & 1) {
        base.insert(base.end(), fila.begin(), fila.end());
        lideres.push_back(c);
        break;
      }
    }
  }
  return lideres.size();
}

std::vector<uint8_t> simbolos(const Cadena& texto) {
  std::vector<uint8_t> s;
  for (const char32_t c : recuento::sinEtiqueta(texto)) {
    const int v = alfabeto::valor(c);
    if (v >= 0) s.push_back(static_cast<uint8_t>(v));
  }
  return s;
}

// The inverse modulo 64 of an odd number.
uint8_t inversoImpar(uint8_t u) {
  uint8_t x = u;  // correct to 3 bits; each step doubles them
  for (int i = 0; i < 3; ++i) x = static_cast<uint8_t>(x * (2 - u * x));
  return x & 63u;
}

// Whether an n x n matrix (row-major, values modulo 64) is invertible: its
// determinant is odd, that is, it is invertible modulo 2.
bool invertible(const std::vector<uint8_t>& k, size_t n) {
  const size_t palabras = (n + 63) / 64;
  std::vector<uint64_t> filas(n * palabras, 0);
  for (size_t r = 0; r < n; ++r) {
    for (size_t c = 0; c < n; ++c) {
      if (k[r * n + c] & 1u) filas[r * palabras + c / 64] |= uint64_t{1} << (c % 64);
    }
  }
  for (size_t c = 0; c < n; ++c) {
    const uint64_t bit = uint64_t{1} << (c % 64);
    size_t p = c;
    while (p < n && !(filas[p * palabras + c / 64] & bit)) ++p;
    if (p == n) return false;
    if (p != c) {
      for (size_t w = 0; w < palabras; ++w) std::swap(filas[p * palabras + w], filas[c * palabras + w]);
    }
    for (size_t r = c + 1; r < n; ++r) {
      if (filas[r * palabras + c / 64] & bit) {
        for (size_t w = 0; w < palabras; ++w) filas[r * palabras + w] ^= filas[c * palabras + w];
      }
    }
  }
  return true;
}

}  // namespace

void ORVCriptoHill::BuscaClaves(const std::shared_ptr<ORVTexto>& claro,
                                const std::shared_ptr<ORVTexto>& cifrado) {
  kestrin::traduceExcepciones([&] {
    const Cadena& textoClaro = entrada(claro);
    const Cadena& textoCifrado = entrada(cifrado);
    encontradas_.clear();
    masEncontradas_ = false;
    if (tamClave_ < 1) return;
    const auto n = static_cast<size_t>(tamClave_);
    const std::vector<uint8_t> p = simbolos(textoClaro);
    const std::vector<uint8_t> c = simbolos(textoCifrado);
    const size_t m = std::min((p.size() + n - 1) / n, c.size() / n);
    if (m == 0) return;

    // [A | B]: row j holds plain block j (padded with "·") and cipher block j.
    const size_t ancho = 2 * n;
    std::vector<uint8_t> M(m * ancho, 0);
    for (size_t j = 0; j < m; ++j) {
      for (size_t k = 0; k < n; ++k) {
        const size_t i = j * n + k;
        M[j * ancho + k] = i < p.size() ? p[i] : 0;
        M[j * ancho + n + k] = c[i];
      }
    }
    // An invertible key keeps independent blocks independent modulo 2: when
    // the cipher blocks span less than the plain ones, no key is invertible.
    if (rangoModulo2(M.data() + n, m, n, ancho) < rangoModulo2(M.data(), m, n, ancho)) return;

    std::vector<uint8_t> V(n * n, 0);
    for (size_t k = 0; k < n; ++k) V[k * n + k] = 1;
    std::vector<int> doses;  // the power of two of each pivot
    const auto a = [&](size_t fila, size_t col) -> uint8_t& { return M[fila * ancho + col]; };

    for (size_t r = 0; r < n; ++r) {
      size_t fi = m, co = n;
      int menor = 6;
      for (size_t i = r; i < m && menor > 0; ++i) {
        for (size_t k = r; k < n; ++k) {
          const uint8_t x = a(i, k);
          if (x == 0) continue;
          const int v = std::countr_zero(x);
          if (v < menor) {
            menor = v;
            fi = i;
            co = k;
            if (v == 0) break;
          }
        }
      }
      if (fi == m) break;
      if (fi != r) std::swap_ranges(&M[fi * ancho], &M[fi * ancho] + ancho, &M[r * ancho]);
      if (co != r) {
        for (size_t i = 0; i < m; ++i) std::swap(a(i, co), a(i, r));
        for (size_t i = 0; i < n; ++i) std::swap(V[i * n + co], V[i * n + r]);
      }
      const auto v = static_cast<unsigned>(menor);
      const uint8_t inverso = inversoImpar(static_cast<uint8_t>(a(r, r) >> v));
      for (size_t k = r; k < ancho; ++k) a(r, k) = static_cast<uint8_t>((a(r, k) * inverso) & 63u);
      // Below the pivot: rows less a multiple of the pivot row.
      for (size_t i = r + 1; i < m; ++i) {
        const uint8_t f = static_cast<uint8_t>(a(i, r) >> v);
        if (a(i, r) == 0) continue;
        for (size_t k = r; k < ancho; ++k) a(i, k) = static_cast<uint8_t>((a(i, k) - f * a(r, k)) & 63u);
      }
      // Right of the pivot: the column r holds only the pivot now, so a
      // column operation changes only the pivot row of A (and V).
      for (size_t k = r + 1; k < n; ++k) {
        const uint8_t f = static_cast<uint8_t>(a(r, k) >> v);
        if (a(r, k) == 0) continue;
        a(r, k) = 0;
        for (size_t i = 0; i < n; ++i) V[i * n + k] = static_cast<uint8_t>((V[i * n + k] - f * V[i * n + r]) & 63u);
      }
      doses.push_back(menor);
    }
    const size_t rango = doses.size();

    // Each row of the key: a particular solution and the steps that move
    // along the others (x = V y, y_i moving by 2^(6 - v) or, free, by 1).
    std::vector<std::vector<std::vector<uint8_t>>> filas(n);
    std::mt19937_64 generador(64);
    for (size_t fila = 0; fila < n; ++fila) {
      const size_t col = n + fila;
      std::vector<uint8_t> y(n, 0);
      for (size_t i = 0; i < m; ++i) {
        const uint8_t b = a(i, col);
        if (i < rango) {
          const auto v = static_cast<unsigned>(doses[i]);
          if (b & ((1u << v) - 1u)) return;  // 2^v does not divide it: no key
          y[i] = static_cast<uint8_t>(b >> v);
        } else if (b != 0) {
          return;
        }
      }
      // The free parts of y: each index with its count of values.
      std::vector<std::pair<size_t, unsigned>> libres;
      double cuantas = 1;
      for (size_t i = 0; i < n; ++i) {
        if (i < rango && doses[i] > 0) libres.emplace_back(i, 1u << doses[i]);
        if (i >= rango) libres.emplace_back(i, 64u);
      }
      for (const auto& l : libres) cuantas *= l.second;
      const auto solucion = [&](const std::vector<unsigned>& t) {
        std::vector<uint8_t> yy = y;
        for (size_t l = 0; l < libres.size(); ++l) {
          const size_t i = libres[l].first;
          const unsigned paso = i < rango ? 64u >> doses[i] : 1u;
          yy[i] = static_cast<uint8_t>((yy[i] + t[l] * paso) & 63u);
        }
        std::vector<uint8_t> x(n, 0);
        for (size_t r = 0; r < n; ++r) {
          unsigned suma = 0;
          for (size_t k = 0; k < n; ++k) suma += unsigned{V[r * n + k]} * yy[k];
          x[r] = static_cast<uint8_t>(suma & 63u);
        }
        return x;
      };
      std::vector<unsigned> t(libres.size(), 0);
      auto& soluciones = filas[fila];
      if (cuantas <= static_cast<double>(maxPorFila(n))) {
        // All of them, in order (mixed radix, the last free part fastest).
        while (true) {
          soluciones.push_back(solucion(t));
          bool acabado = true;
          for (size_t l = libres.size(); l > 0; --l) {
            if (++t[l - 1] < libres[l - 1].second) {
              acabado = false;
              break;
            }
            t[l - 1] = 0;
          }
          if (acabado) break;
        }
      } else {
        // Too many to list: a sample drawn at random (with a fixed seed, so
        // the same pair gives the same keys), the first with every free part 0.
        masEncontradas_ = true;
        soluciones.push_back(solucion(t));
        while (soluciones.size() < maxPorFila(n)) {
          for (size_t l = 0; l < libres.size(); ++l) t[l] = static_cast<unsigned>(generador() % libres[l].second);
          soluciones.push_back(solucion(t));
        }
      }
    }

    // The keys the rows make, the last row fastest, keeping the invertible
    // ones; when there are too many combinations to try, random ones.
    double combinaciones = 1;
    for (const auto& f : filas) combinaciones *= static_cast<double>(f.size());
    const uint64_t tope = maxPruebas(n);
    const bool todas = combinaciones <= static_cast<double>(tope);
    if (!todas) masEncontradas_ = true;
    std::vector<size_t> eleccion(n, 0);
    std::vector<uint8_t> clave(n * n);
    for (uint64_t prueba = 0; prueba < tope; ++prueba) {
      if (!todas && prueba > 0) {
        for (size_t r = 0; r < n; ++r) eleccion[r] = static_cast<size_t>(generador() % filas[r].size());
      }
      for (size_t r = 0; r < n; ++r) std::copy(filas[r][eleccion[r]].begin(), filas[r][eleccion[r]].end(), &clave[r * n]);
      if (invertible(clave, n) && std::find(encontradas_.begin(), encontradas_.end(), clave) == encontradas_.end()) {
        if (encontradas_.size() == static_cast<size_t>(kMaxClavesEncontradas)) {
          masEncontradas_ = true;
          break;
        }
        encontradas_.push_back(clave);
      }
      if (todas) {
        bool fin = true;
        for (size_t r = n; r > 0; --r) {
          if (++eleccion[r - 1] < filas[r - 1].size()) {
            fin = false;
            break;
          }
          eleccion[r - 1] = 0;
        }
        if (fin) break;
      }
    }
  });
}

std::shared_ptr<ORVMatriz> ORVCriptoHill::ClaveEncontrada(int32_t i) const {
  if (i < 1 || static_cast<size_t>(i) > encontradas_.size()) throw kestrin::ErrorSubindice();
  const auto& k = encontradas_[static_cast<size_t>(i - 1)];
  // The size the keys were found with, whatever TamClave is now.
  int32_t n = 0;
  while (static_cast<size_t>(n) * static_cast<size_t>(n) < k.size()) ++n;
  auto matriz = std::make_shared<ORVMatriz>();
  matriz->setNumFilas(n);
  matriz->setNumColumnas(n);
  for (int32_t f = 1; f <= n; ++f) {
    for (int32_t c = 1; c <= n; ++c) {
      matriz->setElemento(f, c, k[static_cast<size_t>((f - 1) * n + (c - 1))]);
    }
  }
  return matriz;
}

}  // namespace tarnel
