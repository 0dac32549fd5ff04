// Bounded factorisation over FLINT and GMP-ECM, with the long work in the
// helper program's children (see factoriza.h).
#include "factoriza.h"

#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/ulong_extras.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "aislado.h"
#include "cribapequena.h"
#include "llamada.h"

namespace numbrel::motor {
namespace {

using Lista = std::vector<std::pair<mpz_class, unsigned long>>;

// Cofactors above this size are neither tested nor split: BPSW alone would
// take minutes, and ECM would find nothing in the time it has.
constexpr size_t kMaxBitsFactor = 65536;

// The primes below 2^16, for trial division.
const std::vector<unsigned long>& primosPequenos() {
  static const std::vector<unsigned long> tabla = [] {
    constexpr unsigned long kTope = 1UL << 16;
    std::vector<bool> compuesto(kTope, false);
    std::vector<unsigned long> primos;
    for (unsigned long i = 2; i < kTope; ++i) {
      if (compuesto[i]) continue;
      primos.push_back(i);
      for (unsigned long j = i * i; j < kTope; j += i) compuesto[j] = true;
    }
    return primos;
  }();
  return tabla;
}

size_t digitos(const mpz_class& c) {
  return mpz_sizeinbase(c.get_mpz_t(), 10);
}

// The helper's answer to "criba": "p e" lines, then "FIN", whose product is c.
Lista leeCriba(const mpz_class& c, const ResultadoAislado& r) {
  if (!r.terminado || r.salida.find("FIN\n") == std::string::npos) return {};
  Lista lista;
  std::istringstream lineas(r.salida);
  std::string p;
  unsigned long e = 0;
  mpz_class producto = 1;
  while (lineas >> p && p != "FIN" && lineas >> e) {
    mpz_class primo;
    if (primo.set_str(p, 10) != 0 || primo < 2 || e == 0) return {};
    lista.emplace_back(primo, e);
    mpz_class potencia;
    mpz_pow_ui(potencia.get_mpz_t(), primo.get_mpz_t(), e);
    producto *= potencia;
  }
  if (producto != c) return {};
  return lista;
}

// Progress of the workers of one split, reported as the call's stage: the
// ECM curves of the most advanced stage any worker is in (done by all of
// them, out of the stage's total), or the sieve.
class Avance {
 public:
  explicit Avance(size_t trabajadores) : etapa_(trabajadores, -1), hecho_(trabajadores, 0) {}

  void linea(size_t i, std::string_view l) {
    if (l == "Q") {
      informa(U"criba cuadrática", 0, 0);
      return;
    }
    int etapa = 0, hecho = 0, total = 0;
    if (std::sscanf(std::string(l).c_str(), "E %d %d %d", &etapa, &hecho, &total) != 3) return;
    etapa_[i] = etapa;
    hecho_[i] = hecho;
    const int actual = *std::max_element(etapa_.begin(), etapa_.end());
    long long suma = 0;
    for (size_t k = 0; k < etapa_.size(); ++k) {
      if (etapa_[k] == actual) suma += hecho_[k];
    }
    // The last stage has no end of its own: its total is unknown.
    const long long todas = total == INT_MAX ? 0 : static_cast<long long>(total) * etapa_.size();
    informa(U"curvas ECM", static_cast<int32_t>(std::min<long long>(suma, INT32_MAX)),
            static_cast<int32_t>(std::min<long long>(todas, INT32_MAX)));
  }

 private:
  std::vector<int> etapa_, hecho_;
};

// Splits the composite c (not a prime, not a perfect power, above one word):
// its factors with exponents, or nothing when the bound passed first or the
// call was cancelled.
Lista parte(const mpz_class& c, const LimitesFactorizacion& lim, Reloj::time_point limiteTotal) {
  const auto ahora = Reloj::now();
  const std::string texto = c.get_str(10);
  if (digitos(c) <= static_cast<size_t>(lim.digitosCriba)) {
    const auto limite = std::min(limiteTotal, ahora + lim.criba);
    Avance avance(1);
    if (digitos(c) >= 55) informa(U"curvas ECM", 0, 0);
    const auto r = ejecutaAislado({{"criba", texto}}, limite, true,
                                  [&avance](size_t i, std::string_view l) { avance.linea(i, l); });
    return leeCriba(c, r[0]);
  }
  const auto cota =
      digitos(c) <= static_cast<size_t>(lim.digitosEcmLargo) ? lim.ecmLargo : lim.ecmCorto;
  const auto limite = std::min(limiteTotal, ahora + cota);
  const Tarea ecm = {"ecm", texto, "2"};
  Avance avance(2);
  informa(U"curvas ECM", 0, 0);
  for (const ResultadoAislado& r :
       ejecutaAislado({ecm, ecm}, limite, true,
                      [&avance](size_t i, std::string_view l) { avance.linea(i, l); })) {
    std::istringstream linea(r.salida);
    std::string marca, numero;
    mpz_class d;
    if (!r.terminado || !(linea >> marca >> numero) || marca != "D" || d.set_str(numero, 10) != 0)
      continue;
    if (d > 1 && d < c && mpz_divisible_p(c.get_mpz_t(), d.get_mpz_t())) {
      return {{d, 1}, {c / d, 1}};
    }
  }
  return {};
}

// A proper divisor of a small composite found in process, or 0 (then the
// caller goes on to FLINT's word factoring or to the workers).
mpz_class divisorEnProceso(const mpz_class& c, const LimitesFactorizacion& lim,
                           Reloj::time_point limiteTotal) {
  if (!lim.enProceso || cancelada()) return 0;
  const size_t bits = mpz_sizeinbase(c.get_mpz_t(), 2);
  if (bits >= kMinBitsCribaPequena && bits <= kMaxBitsCribaPequena) {
    informa(U"criba cuadrática", 0, 0);
  }
  return divisorCribaPequena(c, std::min(limiteTotal, Reloj::now() + lim.cribaPequena));
}

// r^k = c with k the smallest prime that works, when c is a perfect power;
// r is factored again, so higher powers are found in turn.
bool raizPerfecta(const mpz_class& c, mpz_class& r, unsigned long& k) {
  if (!mpz_perfect_power_p(c.get_mpz_t())) return false;
  const unsigned long bits = mpz_sizeinbase(c.get_mpz_t(), 2);
  for (k = 2; k <= bits; k = k == 2 ? 3 : k + 2) {
    if (k > 3 && !esPrimoProbable(mpz_class(k))) continue;
    if (mpz_root(r.get_mpz_t(), c.get_mpz_t(), k) != 0) return true;
  }
  return false;
}

}  // namespace

bool esPrimoProbable(const mpz_class& n) {
  if (n < 2) return false;
  fmpz_t f;
  fmpz_init(f);
  fmpz_set_mpz(f, n.get_mpz_t());
  const bool primo = fmpz_is_probabprime(f) != 0;
  fmpz_clear(f);
  return primo;
}

Primalidad pruebaPrimalidad(const mpz_class& n, Reloj::time_point limite) {
  // Up to this size BPSW takes a tenth of a second in process; above, it
  // runs in a worker, which a cancellation can stop at once.
  constexpr size_t kBitsEnProceso = 4096;
  if (n < 2) return Primalidad::Compuesto;
  if (cancelada()) return Primalidad::Desconocida;
  if (mpz_sizeinbase(n.get_mpz_t(), 2) <= kBitsEnProceso) {
    return esPrimoProbable(n) ? Primalidad::Primo : Primalidad::Compuesto;
  }
  const auto& primos = primosPequenos();
  for (size_t i = 0; i < primos.size(); ++i) {
    if (mpz_divisible_ui_p(n.get_mpz_t(), primos[i])) return Primalidad::Compuesto;
    if (i % 256 == 0 && cancelada()) return Primalidad::Desconocida;
  }
  const auto r = ejecutaAislado({{"primo", n.get_str(10)}}, limite, true);
  if (!r[0].terminado || r[0].salida.empty()) return Primalidad::Desconocida;
  return r[0].salida == "1" ? Primalidad::Primo : Primalidad::Compuesto;
}

Factorizacion factoriza(const mpz_class& n, const LimitesFactorizacion& lim) {
  const auto limiteTotal = Reloj::now() + lim.total;
  std::map<mpz_class, unsigned long> primos;
  Factorizacion resultado;
  mpz_class m = n;
  const auto& pequenos = primosPequenos();
  const auto totalPequenos = static_cast<int32_t>(pequenos.size());
  informa(U"división por tentativa", 0, totalPequenos);
  for (size_t i = 0; i < pequenos.size(); ++i) {
    const unsigned long p = pequenos[i];
    if (mpz_cmp_ui(m.get_mpz_t(), p * p) < 0) break;
    // A huge number takes a while over the whole table: the call may be
    // stopped, and hears how far it went.
    if (i % 256 == 255) {
      if (cancelada()) break;
      informa(U"división por tentativa", static_cast<int32_t>(i + 1), totalPequenos);
    }
    if (mpz_divisible_ui_p(m.get_mpz_t(), p)) {
      const mpz_class primo(p);
      primos[primo] += mpz_remove(m.get_mpz_t(), m.get_mpz_t(), primo.get_mpz_t());
    }
  }

  Lista pendientes;
  if (m > 1) pendientes.emplace_back(m, 1);
  while (!pendientes.empty()) {
    const auto [c, k] = pendientes.back();
    pendientes.pop_back();
    if (c == 1) continue;
    if (cancelada()) {
      // What is left goes whole into the cofactor, as past the bound.
      mpz_class potencia;
      mpz_pow_ui(potencia.get_mpz_t(), c.get_mpz_t(), k);
      resultado.resto *= potencia;
      continue;
    }
    mpz_class raiz;
    unsigned long e = 0;
    const bool asumible = mpz_sizeinbase(c.get_mpz_t(), 2) <= kMaxBitsFactor;
    if (asumible && mpz_sizeinbase(c.get_mpz_t(), 2) > 1024) {
      informa(U"prueba de primalidad", 0, 0);
    }
    const Primalidad primalidad =
        asumible ? pruebaPrimalidad(c, std::min(limiteTotal, Reloj::now() + lim.primalidad))
                 : Primalidad::Desconocida;
    if (primalidad == Primalidad::Primo) {
      primos[c] += k;
    } else if (primalidad == Primalidad::Desconocida) {
      // Too large to test or to split within the bound.
      mpz_class potencia;
      mpz_pow_ui(potencia.get_mpz_t(), c.get_mpz_t(), k);
      resultado.resto *= potencia;
    } else if (raizPerfecta(c, raiz, e)) {
      pendientes.emplace_back(raiz, k * e);
    } else if (const mpz_class d = divisorEnProceso(c, lim, limiteTotal); d != 0) {
      pendientes.emplace_back(d, k);
      pendientes.emplace_back(c / d, k);
    } else if (c.fits_ulong_p()) {
      n_factor_t f;
      n_factor_init(&f);
      n_factor(&f, c.get_ui(), 1);
      for (int i = 0; i < f.num; ++i) primos[mpz_class(f.p[i])] += k * f.exp[i];
    } else {
      Lista partes;
      if (Reloj::now() < limiteTotal) {
        partes = parte(c, lim, limiteTotal);
      }
      if (partes.empty()) {
        mpz_class potencia;
        mpz_pow_ui(potencia.get_mpz_t(), c.get_mpz_t(), k);
        resultado.resto *= potencia;
      }
      for (const auto& [f, ef] : partes) pendientes.emplace_back(f, ef * k);
    }
  }
  resultado.primos.assign(primos.begin(), primos.end());
  return resultado;
}

}  // namespace numbrel::motor
