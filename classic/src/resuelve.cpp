// Aids beside the periodic-cipher attack: Kasiski's test, autocorrelation,
// and the key solved from the language statistics.
//
// All three read the symbols of the ciphertext in order, characters outside
// the alphabet dropped, as Cifra and Descifra count them, so that a key found
// here deciphers the text with Descifra.
#include <algorithm>
#include <cmath>

#include "combinacion.h"
#include "kestrin/errores.h"
#include "kestrin/procesa.h"
#include "modelo.h"
#include "recuento.h"
#include "tarnel/criptoperiodico.h"

namespace tarnel {
namespace {

// The bound of the period tables when MaxPeriodo leaves none, as BuscaPeriodo.
constexpr int32_t kCotaPorDefecto = 20;

void compruebaIndice(int32_t i, size_t n) {
  if (i < 1 || static_cast<size_t>(i) > n) throw kestrin::ErrorSubindice();
}

// Counts below 2^31, as the properties that publish them.
int32_t cuenta32(size_t n) { return recuento::longitud32(n); }

}  // namespace

std::vector<uint8_t> CriptoPeriodico::simbolosCifrado() const {
  const VistaCadena s = recuento::sinEtiqueta(entrada(TextoCifrado()));
  std::vector<uint8_t> simbolos;
  simbolos.reserve(s.size());
  for (const char32_t c : s) {
    const int v = alfabeto::valor(c);
    if (v >= 0) simbolos.push_back(static_cast<uint8_t>(v));
  }
  return simbolos;
}

// ---------------------------------------------------------------- Resuelve

void CriptoPeriodico::Resuelve() {
  kestrin::traduceExcepciones([&] {
    const int32_t periodo = periodo_;
    if (periodo < 1) throw kestrin::ErrorSubindice();
    const auto modelo = modeloEnUso();
    const std::vector<uint8_t> s = simbolosCifrado();
    resueltas_.clear();
    if (s.empty()) return;
    const auto p = static_cast<size_t>(periodo);
    const auto& descifra = combinacion_.descifra;

    // Each column alone: the key symbol under which the column's symbols are
    // likeliest one by one.
    std::vector<std::array<uint64_t, ORVNumCar>> cuentas(p);
    for (size_t i = 0; i < s.size(); ++i) ++cuentas[i % p][s[i]];
    const auto& logUno = modelo->logUno();
    std::vector<uint8_t> clave(p);
    for (size_t c = 0; c < p; ++c) {
      double mejor = -INFINITY;
      for (size_t k = 0; k < ORVNumCar; ++k) {
        double verosimilitud = 0;
        for (size_t u = 0; u < ORVNumCar; ++u) {
          if (cuentas[c][u]) verosimilitud += static_cast<double>(cuentas[c][u]) * logUno[descifra[k][u]];
        }
        if (verosimilitud > mejor) {
          mejor = verosimilitud;
          clave[c] = static_cast<uint8_t>(k);
        }
      }
    }

    // Then the key as a whole, one symbol at a time, with the cost of the
    // deciphered text under the model of blocks of four (on a sample).
    const size_t n = std::min(s.size(), static_cast<size_t>(kMuestraResuelve));
    std::vector<uint8_t> t(n);
    for (size_t i = 0; i < n; ++i) t[i] = descifra[clave[i % p]][s[i]];
    // The cost of the symbols whose block holds a symbol of column c: those
    // at i .. i + 3 for each i of the column (every symbol when p < 4).
    const auto costeColumna = [&](size_t c) {
      uint64_t coste = 0;
      if (p < 4) {
        for (size_t e = 0; e < n; ++e) coste += modelo->costeEn(t.data(), e);
        return coste;
      }
      for (size_t i = c; i < n; i += p) {
        for (size_t e = i; e < std::min(i + 4, n); ++e) coste += modelo->costeEn(t.data(), e);
      }
      return coste;
    };
    const auto ponColumna = [&](size_t c, uint8_t k) {
      for (size_t i = c; i < n; i += p) t[i] = descifra[k][s[i]];
    };
    uint64_t total = 0;
    for (size_t e = 0; e < n; ++e) total += modelo->costeEn(t.data(), e);
    // cambios[c][k]: the cost of the key with symbol c changed to k, less the
    // cost of the key (as left by the last pass).
    std::vector<std::array<int64_t, ORVNumCar>> cambios(p);
    // One pass over the columns, each moved to its best symbol when `mueve`;
    // true when something moved.
    const auto pasada = [&](bool mueve) {
      bool mejora = false;
      for (size_t c = 0; c < p; ++c) {
        const uint8_t actual = clave[c];
        const auto base = static_cast<int64_t>(costeColumna(c));
        int64_t mejorCambio = 0;
        uint8_t mejorK = actual;
        for (size_t k = 0; k < ORVNumCar; ++k) {
          if (k == actual) {
            cambios[c][k] = 0;
            continue;
          }
          ponColumna(c, static_cast<uint8_t>(k));
          const int64_t cambio = static_cast<int64_t>(costeColumna(c)) - base;
          cambios[c][k] = cambio;
          if (cambio < mejorCambio) {
            mejorCambio = cambio;
            mejorK = static_cast<uint8_t>(k);
          }
        }
        if (!mueve) mejorK = actual;
        ponColumna(c, mejorK);
        if (mejorK != actual) {
          clave[c] = mejorK;
          total = static_cast<uint64_t>(static_cast<int64_t>(total) + mejorCambio);
          mejora = true;
        }
      }
      return mejora;
    };
    int pasadas = 0;
    while (pasada(true)) {
      kestrin::ProcesaEventos();
      // A last pass that moved nothing leaves in `cambios` the changes from
      // the final key; after the most passes, one that only measures.
      if (++pasadas == 50) {
        pasada(false);
        break;
      }
    }

    // The best key and the best of those that differ from it in one symbol
    // (the last pass measured every one of them against it).
    const double porSimbolo = -1.0 / (ModeloCuadrigramas::kEscala * static_cast<double>(n));
    const auto texto = [&](const std::vector<uint8_t>& k) {
      Cadena r(k.size(), U'·');
      for (size_t i = 0; i < k.size(); ++i) r[i] = alfabeto::simbolo(k[i]);
      return r;
    };
    struct Vecina {
      int64_t coste;
      size_t columna;
      uint8_t k;
    };
    std::vector<Vecina> vecinas;
    for (size_t c = 0; c < p; ++c) {
      for (size_t k = 0; k < ORVNumCar; ++k) {
        if (k != clave[c]) vecinas.push_back({static_cast<int64_t>(total) + cambios[c][k], c, static_cast<uint8_t>(k)});
      }
    }
    const size_t cuantas = std::min(vecinas.size(), static_cast<size_t>(kClavesResueltas - 1));
    std::partial_sort(vecinas.begin(), vecinas.begin() + static_cast<ptrdiff_t>(cuantas), vecinas.end(),
                      [](const Vecina& a, const Vecina& b) {
                        if (a.coste != b.coste) return a.coste < b.coste;
                        return a.columna != b.columna ? a.columna < b.columna : a.k < b.k;
                      });
    resueltas_.push_back({texto(clave), static_cast<double>(total) * porSimbolo});
    for (size_t v = 0; v < cuantas; ++v) {
      std::vector<uint8_t> otra = clave;
      otra[vecinas[v].columna] = vecinas[v].k;
      resueltas_.push_back({texto(otra), static_cast<double>(vecinas[v].coste) * porSimbolo});
    }
  });
}

const Cadena& CriptoPeriodico::ClaveResuelta(int32_t i) const {
  compruebaIndice(i, resueltas_.size());
  return resueltas_[static_cast<size_t>(i - 1)].clave;
}

double CriptoPeriodico::PuntuacionResuelta(int32_t i) const {
  compruebaIndice(i, resueltas_.size());
  return resueltas_[static_cast<size_t>(i - 1)].puntuacion;
}

// ----------------------------------------------------------------- Kasiski

void CriptoPeriodico::Kasiski() {
  kestrin::traduceExcepciones([&] {
    std::vector<uint8_t> s = simbolosCifrado();
    cuenta32(s.size());
    const int32_t cota = maxPeriodo_ > 0 ? maxPeriodo_ : kCotaPorDefecto;
    std::vector<EntradaKasiski> entradas;
    // Each block of three is paired with its previous occurrence; a pair at
    // the distance of the pair one symbol before lies inside that repeat,
    // which was already measured as far as it goes.
    std::vector<int32_t> anterior(ORVNumCar * ORVNumCar * ORVNumCar, -1);
    uint32_t distanciaAnterior = 0;
    for (size_t i = 0; i + 3 <= s.size(); ++i) {
      const uint32_t codigo = (uint32_t{s[i]} << 12) | (uint32_t{s[i + 1]} << 6) | s[i + 2];
      const int32_t j = anterior[codigo];
      anterior[codigo] = static_cast<int32_t>(i);
      if (j < 0) {
        distanciaAnterior = 0;
        continue;
      }
      const auto distancia = static_cast<uint32_t>(i - static_cast<size_t>(j));
      if (distancia == distanciaAnterior) continue;
      distanciaAnterior = distancia;
      size_t longitud = 3;
      while (i + longitud < s.size() && s[static_cast<size_t>(j) + longitud] == s[i + longitud]) ++longitud;
      entradas.push_back({static_cast<uint32_t>(j), distancia, static_cast<uint32_t>(longitud)});
    }
    const auto orden = [](const EntradaKasiski& a, const EntradaKasiski& b) {
      if (a.longitud != b.longitud) return a.longitud > b.longitud;
      return a.posicion != b.posicion ? a.posicion < b.posicion : a.distancia < b.distancia;
    };
    if (entradas.size() > static_cast<size_t>(kMaxDistanciasKasiski)) {
      std::partial_sort(entradas.begin(), entradas.begin() + kMaxDistanciasKasiski, entradas.end(), orden);
      entradas.resize(static_cast<size_t>(kMaxDistanciasKasiski));
    } else {
      std::sort(entradas.begin(), entradas.end(), orden);
    }

    std::vector<int32_t> factores(static_cast<size_t>(cota) + 1, 0);
    for (const EntradaKasiski& e : entradas) {
      for (int32_t q = 2; q <= cota; ++q) {
        if (e.distancia % static_cast<uint32_t>(q) == 0) ++factores[static_cast<size_t>(q)];
      }
    }
    // The period: the largest excess over chance, significant (three
    // standard deviations of the count a random distance would give).
    int32_t periodo = 0;
    double mejorExceso = 0;
    const auto total = static_cast<double>(entradas.size());
    for (int32_t q = 2; q <= cota; ++q) {
      const double esperado = total / q;
      const double exceso = factores[static_cast<size_t>(q)] - esperado;
      const double desviacion = std::sqrt(total * (1.0 / q) * (1.0 - 1.0 / q));
      if (exceso > mejorExceso && desviacion > 0 && exceso >= 3 * desviacion) {
        mejorExceso = exceso;
        periodo = q;
      }
    }

    kasiski_ = std::move(entradas);
    simbolosKasiski_ = std::move(s);
    factoresKasiski_ = std::move(factores);
    longitudKasiski_ = kasiski_.empty() ? 3 : static_cast<int32_t>(kasiski_.back().longitud);
    periodoKasiski_ = periodo;
  });
}

int32_t CriptoPeriodico::DistanciaKasiski(int32_t i) const {
  compruebaIndice(i, kasiski_.size());
  return static_cast<int32_t>(kasiski_[static_cast<size_t>(i - 1)].distancia);
}

int32_t CriptoPeriodico::PosicionKasiski(int32_t i) const {
  compruebaIndice(i, kasiski_.size());
  return static_cast<int32_t>(kasiski_[static_cast<size_t>(i - 1)].posicion) + 1;
}

Cadena CriptoPeriodico::SecuenciaKasiski(int32_t i) const {
  compruebaIndice(i, kasiski_.size());
  const EntradaKasiski& e = kasiski_[static_cast<size_t>(i - 1)];
  Cadena secuencia(e.longitud, U'·');
  for (size_t k = 0; k < e.longitud; ++k) secuencia[k] = alfabeto::simbolo(simbolosKasiski_[e.posicion + k]);
  return secuencia;
}

int32_t CriptoPeriodico::CuentaFactorKasiski(int32_t p) const {
  if (p < 2 || static_cast<size_t>(p) >= factoresKasiski_.size()) throw kestrin::ErrorSubindice();
  return factoresKasiski_[static_cast<size_t>(p)];
}

// ---------------------------------------------------------- Autocorrelación

const CriptoPeriodico::Autocorrelaciones& CriptoPeriodico::autocorrelaciones() const {
  const auto cifrado = TextoCifrado();
  const VistaCadena texto = recuento::sinEtiqueta(entrada(cifrado));
  const Instantanea actual = instantanea(*cifrado, texto);
  const int32_t cota = maxPeriodo_ > 0 ? maxPeriodo_ : kCotaPorDefecto;
  Autocorrelaciones& a = autocorrelaciones_;
  if (a.texto == actual && a.cota == cota) return a;
  kestrin::traduceExcepciones([&] {
    const std::vector<uint8_t> s = simbolosCifrado();
    cuenta32(s.size());
    const size_t n = s.size();
    std::vector<int32_t> coincidencias(static_cast<size_t>(cota) + 1, 0);
    for (size_t d = 1; d <= static_cast<size_t>(cota) && d < n; ++d) {
      int32_t iguales = 0;
      for (size_t i = 0; i + d < n; ++i) iguales += s[i] == s[i + d];
      coincidencias[d] = iguales;
    }

    // The rates of the shifts the text is long enough for.
    std::vector<double> tasas;
    for (size_t d = 1; d <= static_cast<size_t>(cota) && d < n; ++d) {
      tasas.push_back(static_cast<double>(coincidencias[d]) / static_cast<double>(n - d));
    }
    int32_t periodo = 0;
    if (!tasas.empty()) {
      std::vector<double> ordenadas = tasas;
      std::sort(ordenadas.begin(), ordenadas.end());
      const double mediana = ordenadas[ordenadas.size() / 2];
      const double maxima = ordenadas.back();
      const double umbral = (mediana + maxima) / 2;
      size_t candidato = 0;
      while (tasas[candidato] < umbral) ++candidato;
      const size_t d = candidato + 1;
      // Against the median rate (or that of symbols drawn at random), the
      // candidate's count must stand four standard deviations out.
      const double base = std::max(mediana, 1.0 / 64.0);
      const double esperado = base * static_cast<double>(n - d);
      if (static_cast<double>(coincidencias[d]) - esperado >= 4 * std::sqrt(esperado) && maxima > mediana) {
        periodo = static_cast<int32_t>(d);
      } else if (mediana >= 2.5 / 64.0) {
        // Every shift coincides as plain text does: a key of one symbol.
        periodo = 1;
      }
    }
    a.coincidencias = std::move(coincidencias);
    a.periodo = periodo;
    a.cota = cota;
    a.texto = actual;
  });
  return a;
}

int32_t CriptoPeriodico::Autocorrelacion(int32_t d) const {
  const int32_t cota = maxPeriodo_ > 0 ? maxPeriodo_ : kCotaPorDefecto;
  compruebaIndice(d, static_cast<size_t>(cota));
  return autocorrelaciones().coincidencias[static_cast<size_t>(d)];
}

int32_t CriptoPeriodico::PeriodoAutocorrelacion() const { return autocorrelaciones().periodo; }

}  // namespace tarnel
