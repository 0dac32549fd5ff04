// Bounded factorisation over FLINT and GMP-ECM in forked workers (see factoriza.h).
#include "factoriza.h"

#include <ecm.h>
#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <flint/qsieve.h>
#include <flint/ulong_extras.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "aislado.h"
#include "cribapequena.h"
#include "motor.h"

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

void escribeTodo(int fd, const std::string& texto) {
  size_t hecho = 0;
  while (hecho < texto.size()) {
    const ssize_t n = write(fd, texto.data() + hecho, texto.size() - hecho);
    if (n <= 0) return;
    hecho += static_cast<size_t>(n);
  }
}

size_t digitos(const mpz_class& c) {
  return mpz_sizeinbase(c.get_mpz_t(), 10);
}

// A proper divisor of c from a few GMP-ECM curves per bound, or 0.
mpz_class divisorEcm(const mpz_class& c, double b1, int curvas) {
  for (int i = 0; i < curvas; ++i) {
    // A fresh parameter set each curve: a new random sigma, starting point and bounds.
    ecm_params q;
    ecm_init(q);
    mpz_class f = 0, n = c;
    const int r = ecm_factor(f.get_mpz_t(), n.get_mpz_t(), b1, q);
    ecm_clear(q);
    if (r > 0 && f > 1 && f < c) return f;
    if (r < 0) break;
  }
  return 0;
}

std::string lineasFactores(const fmpz_factor_t fac, mpz_class& producto) {
  std::string salida;
  producto = 1;
  for (slong i = 0; i < fac->num; ++i) {
    mpz_class p, potencia;
    fmpz_get_mpz(p.get_mpz_t(), fac->p + i);
    mpz_pow_ui(potencia.get_mpz_t(), p.get_mpz_t(), fac->exp[i]);
    producto *= potencia;
    salida += p.get_str(10) + " " + std::to_string(fac->exp[i]) + "\n";
  }
  return salida;
}

// Factors of c from FLINT on both cores, in the worker: "p e" lines, then
// "FIN" (factors that are not prime are split again by the caller). From 55
// digits, where the sieve dominates, a short ECM pass for factors of up to
// about 18 digits replaces FLINT's own longer one before the sieve.
void tareaCriba(const mpz_class& c, int fd) {
  flint_set_num_threads(2);
  fmpz_t f;
  fmpz_init(f);
  fmpz_set_mpz(f, c.get_mpz_t());
  fmpz_factor_t fac;
  fmpz_factor_init(fac);
  mpz_class producto;
  std::string salida;
  if (digitos(c) >= 55) {
    mpz_class d = divisorEcm(c, 2000, 25);
    if (d == 0) d = divisorEcm(c, 11000, 40);
    if (d != 0) {
      const mpz_class otro = c / d;
      escribeTodo(fd, d.get_str(10) + " 1\n" + otro.get_str(10) + " 1\nFIN\n");
      return;
    }
    qsieve_factor(fac, f);
    salida = lineasFactores(fac, producto);
  }
  if (producto != c) {
    fmpz_factor_clear(fac);
    fmpz_factor_init(fac);
    fmpz_factor(fac, f);
    salida = lineasFactores(fac, producto);
  }
  escribeTodo(fd, salida + "FIN\n");
}

// GMP-ECM curves with growing bounds until a proper divisor appears: "D d".
// `trabajadores` workers share each stage's curves.
void tareaEcm(const mpz_class& c, int trabajadores, int fd) {
  struct Etapa {
    double b1;
    int curvas;
  };
  // Bounds and curve counts aimed at factors of 15, 20, 25, 30 and 35 digits.
  // The 20-digit stage is cut short: the 25-digit curves still find such
  // factors within a few dozen, and every curve spent below them delays the
  // larger factors, which on numbers this long cost seconds.
  static constexpr Etapa kEtapas[] = {{2000, 25},    {11000, 40},     {50000, 300},
                                      {250000, 700}, {1000000, 1800}, {3000000, 1 << 30}};
  for (const Etapa& etapa : kEtapas) {
    const mpz_class f = divisorEcm(c, etapa.b1, (etapa.curvas + trabajadores - 1) / trabajadores);
    if (f != 0) {
      escribeTodo(fd, "D " + f.get_str(10) + "\n");
      return;
    }
  }
}

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

// Splits the composite c (not a prime, not a perfect power, above one word):
// its factors with exponents, or nothing when the bound passed first.
Lista parte(const mpz_class& c, const LimitesFactorizacion& lim, Reloj::time_point limiteTotal) {
  const auto ahora = Reloj::now();
  if (digitos(c) <= static_cast<size_t>(lim.digitosCriba)) {
    const auto limite = std::min(limiteTotal, ahora + lim.criba);
    const auto r = ejecutaAislado({[&c](int fd) { tareaCriba(c, fd); }}, limite, true);
    return leeCriba(c, r[0]);
  }
  const auto cota =
      digitos(c) <= static_cast<size_t>(lim.digitosEcmLargo) ? lim.ecmLargo : lim.ecmCorto;
  const auto limite = std::min(limiteTotal, ahora + cota);
  const Tarea ecm = [&c](int fd) { tareaEcm(c, 2, fd); };
  for (const ResultadoAislado& r : ejecutaAislado({ecm, ecm}, limite, true)) {
    std::istringstream linea(r.salida);
    std::string marca, texto;
    mpz_class d;
    if (!r.terminado || !(linea >> marca >> texto) || marca != "D" || d.set_str(texto, 10) != 0)
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
  if (!lim.enProceso) return 0;
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
  // Up to this size BPSW takes well under a second in process.
  constexpr size_t kBitsEnProceso = 8192;
  if (n < 2) return Primalidad::Compuesto;
  if (mpz_sizeinbase(n.get_mpz_t(), 2) <= kBitsEnProceso) {
    return esPrimoProbable(n) ? Primalidad::Primo : Primalidad::Compuesto;
  }
  for (unsigned long p : primosPequenos()) {
    if (mpz_divisible_ui_p(n.get_mpz_t(), p)) return Primalidad::Compuesto;
  }
  const auto r = ejecutaAislado({[&n](int fd) { escribeTodo(fd, esPrimoProbable(n) ? "1" : "0"); }},
                                limite, true);
  if (!r[0].terminado || r[0].salida.empty()) return Primalidad::Desconocida;
  return r[0].salida == "1" ? Primalidad::Primo : Primalidad::Compuesto;
}

Factorizacion factoriza(const mpz_class& n, const LimitesFactorizacion& lim) {
  const auto limiteTotal = Reloj::now() + lim.total;
  std::map<mpz_class, unsigned long> primos;
  Factorizacion resultado;
  mpz_class m = n;
  for (unsigned long p : primosPequenos()) {
    if (mpz_cmp_ui(m.get_mpz_t(), p * p) < 0) break;
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
    mpz_class raiz;
    unsigned long e = 0;
    const bool asumible = mpz_sizeinbase(c.get_mpz_t(), 2) <= kMaxBitsFactor;
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
