// Self-initialising quadratic sieve for small composites (see cribapequena.h).
//
// The polynomials are g(x) = A x^2 + 2 b x + c with A = q_1 ... q_s from the
// factor base, b^2 = kN (mod A) and c = (b^2 - kN) / A, so that
// (A x + b)^2 = A g(x) (mod N); every b of one A comes from the previous one
// by a single addition, and so do the roots of g modulo each prime. Values
// are multiprecision (GMP); the sieve and the roots modulo the primes of the
// factor base are machine words. One large prime per relation is kept; two
// relations with the same large prime make one full relation.
#include "cribapequena.h"

#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <flint/ulong_extras.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <unordered_map>
#include <vector>

#include "llamada.h"

namespace numbrel::motor {
namespace {

using Reloj = std::chrono::steady_clock;

// Odd primes below 2^17: enough for the largest factor base used here.
const std::vector<uint32_t>& primosImpares() {
  static const std::vector<uint32_t> tabla = [] {
    constexpr uint32_t kTope = 1U << 17;
    std::vector<bool> compuesto(kTope, false);
    std::vector<uint32_t> primos;
    for (uint32_t i = 3; i < kTope; i += 2) {
      if (compuesto[i]) continue;
      primos.push_back(i);
      for (uint64_t j = uint64_t{i} * i; j < kTope; j += 2 * i) compuesto[j] = true;
    }
    return primos;
  }();
  return tabla;
}

// Factor base size (with -1 and 2), half the sieve interval and the bound of
// the large prime as a multiple of the largest prime of the base, by the size
// of kN. The base grows with the size; the interval is kept within the first
// level caches.
struct Fila {
  size_t bits;
  size_t base;
  uint32_t mitad;
  uint32_t multiplo;
};
constexpr Fila kTabla[] = {
    {64, 70, 4096, 30},    {80, 120, 8192, 30},   {100, 250, 8192, 40},  {110, 330, 16384, 50},
    {120, 460, 16384, 50}, {136, 700, 16384, 60}, {150, 900, 32768, 60},
};

struct Parametros {
  size_t base;
  uint32_t mitad;
  uint32_t multiplo;
};

Parametros parametros(size_t bits) {
  if (bits <= kTabla[0].bits) return {kTabla[0].base, kTabla[0].mitad, kTabla[0].multiplo};
  for (size_t i = 1; i < std::size(kTabla); ++i) {
    const Fila& a = kTabla[i - 1];
    const Fila& b = kTabla[i];
    if (bits <= b.bits) {
      const double t = static_cast<double>(bits - a.bits) / static_cast<double>(b.bits - a.bits);
      return {static_cast<size_t>(std::lround(a.base + t * (b.base - a.base))), b.mitad,
              b.multiplo};
    }
  }
  const Fila& u = kTabla[std::size(kTabla) - 1];
  return {u.base, u.mitad, u.multiplo};
}

// The multiplier k (squarefree, small) that makes kN richest in small primes
// that can divide the values of the polynomials.
constexpr unsigned long kCandidatos[] = {1,  3,  5,  7,  11, 13, 15, 17, 19, 21, 23,
                                         29, 31, 33, 35, 37, 39, 41, 43, 47, 51, 53,
                                         55, 57, 59, 61, 65, 67, 69, 71, 73};
constexpr size_t kPrimosMultiplicador = 100;

// The symbols (k / p) of every candidate and the weights of the primes, which
// do not depend on N.
struct TablaMultiplicador {
  int8_t simbolo[std::size(kCandidatos)][kPrimosMultiplicador];
  double peso[kPrimosMultiplicador];        // log p / (p - 1), twice for two roots
  double pesoDivide[kPrimosMultiplicador];  // log p / p, when p divides k
  double penalizacion[std::size(kCandidatos)];
};

const TablaMultiplicador& tablaMultiplicador() {
  static const TablaMultiplicador tabla = [] {
    TablaMultiplicador t{};
    const auto& primos = primosImpares();
    for (size_t i = 0; i < kPrimosMultiplicador; ++i) {
      const double p = primos[i];
      t.peso[i] = 2 * std::log(p) / (p - 1);
      t.pesoDivide[i] = std::log(p) / p;
      for (size_t c = 0; c < std::size(kCandidatos); ++c) {
        t.simbolo[c][i] = static_cast<int8_t>(
            n_jacobi(static_cast<slong>(kCandidatos[c] % primos[i]), primos[i]));
      }
    }
    for (size_t c = 0; c < std::size(kCandidatos); ++c) {
      t.penalizacion[c] = -0.5 * std::log(static_cast<double>(kCandidatos[c]));
    }
    return t;
  }();
  return tabla;
}

unsigned long multiplicador(const mpz_class& n) {
  const auto& primos = primosImpares();
  const TablaMultiplicador& t = tablaMultiplicador();
  int simboloN[kPrimosMultiplicador];
  for (size_t i = 0; i < kPrimosMultiplicador; ++i) {
    const unsigned long r = mpz_fdiv_ui(n.get_mpz_t(), primos[i]);
    simboloN[i] = r == 0 ? 0 : n_jacobi(static_cast<slong>(r), primos[i]);
  }
  const unsigned long n8 = mpz_fdiv_ui(n.get_mpz_t(), 8);
  double mejor = -1e300;
  unsigned long elegido = 1;
  for (size_t c = 0; c < std::size(kCandidatos); ++c) {
    const unsigned long k = kCandidatos[c];
    double valor = t.penalizacion[c];
    const unsigned long kn8 = (k * n8) % 8;
    if (kn8 == 1) {
      valor += 2 * std::log(2.0);
    } else if (kn8 == 5) {
      valor += std::log(2.0);
    } else if (kn8 == 3 || kn8 == 7) {
      valor += 0.5 * std::log(2.0);
    }
    for (size_t i = 0; i < kPrimosMultiplicador; ++i) {
      if (t.simbolo[c][i] == 0) {
        valor += t.pesoDivide[i];
      } else if (t.simbolo[c][i] * simboloN[i] == 1) {
        valor += t.peso[i];
      }
    }
    if (valor > mejor) {
      mejor = valor;
      elegido = k;
    }
  }
  return elegido;
}

struct Relacion {
  std::vector<uint32_t> indices;  // factor-base indices, one per power (0 is -1)
  mpz_class u;                    // A x + b (mod N), or a product of such
  mpz_class extra = 1;            // square root of the large primes' product
};

class Criba {
 public:
  Criba(const mpz_class& n, Reloj::time_point limite) : n_(n), limite_(limite) {}

  mpz_class divisor() {
    if (mpz_perfect_square_p(n_.get_mpz_t())) return sqrt(n_);
    k_ = multiplicador(n_);
    kn_ = n_ * k_;
    const Parametros par = parametros(mpz_sizeinbase(kn_.get_mpz_t(), 2));
    mitad_ = par.mitad;
    if (const mpz_class d = construyeBase(par.base); d != 0) return d;
    const uint64_t mayor = primo_.back();
    grande_ = std::min<uint64_t>(mayor * par.multiplo, mayor * mayor - 1);
    preparaUmbral();
    if (!recogeRelaciones()) return 0;
    return combina();
  }

 private:
  // Primes p with kN a square modulo p; a prime that divides N is returned.
  mpz_class construyeBase(size_t tamano) {
    primo_ = {0, 2};
    raiz_ = {0, 0};
    logaritmo_ = {0, 1};
    for (uint32_t p : primosImpares()) {
      if (primo_.size() >= tamano) break;
      const unsigned long r = mpz_fdiv_ui(kn_.get_mpz_t(), p);
      unsigned long t = 0;
      if (r == 0) {
        if (mpz_divisible_ui_p(n_.get_mpz_t(), p)) return mpz_class(p);
      } else if (n_jacobi(static_cast<slong>(r), p) == 1) {
        t = n_sqrtmod(r, p);
      } else {
        continue;
      }
      primo_.push_back(p);
      raiz_.push_back(static_cast<uint32_t>(t));
      logaritmo_.push_back(static_cast<uint8_t>(std::lround(std::log2(static_cast<double>(p)))));
    }
    if (primo_.size() < tamano) return 0;
    // The smallest primes hit most often but add little; they are left out
    // of the sieve and the threshold allows for them.
    inicio_ = 2;
    while (inicio_ < primo_.size() && primo_[inicio_] < 40) ++inicio_;
    return 0;
  }

  void preparaUmbral() {
    // The largest |g(x)| on the interval is about M sqrt(kN / 2).
    const double bitsG =
        std::log2(static_cast<double>(mitad_)) + 0.5 * (mpz_sizeinbase(kn_.get_mpz_t(), 2) - 1);
    const double bitsGrande = std::log2(static_cast<double>(grande_));
    const double umbral = bitsG - bitsGrande - 2;
    umbral_ = static_cast<uint8_t>(std::clamp(umbral, 8.0, 100.0));
  }

  // A prime that divides k has one root, and its B would be 0: the
  // polynomials of one A would repeat.
  bool utilEnA(size_t j, const std::vector<uint32_t>& elegidos) const {
    return raiz_[j] != 0 && std::find(elegidos.begin(), elegidos.end(), j) == elegidos.end();
  }

  // Chooses a new A near sqrt(2 kN) / M from primes not used together before.
  bool eligeA() {
    mpz_class objetivo = sqrt(2 * kn_) / mitad_;
    const double logObjetivo = std::log(objetivo.get_d());
    const size_t f = primo_.size();
    size_t s = 2;
    for (; s < 12; ++s) {
      if (std::exp(logObjetivo / static_cast<double>(s)) <= primo_[f * 3 / 4]) break;
    }
    const double ideal = std::exp(logObjetivo / static_cast<double>(s));
    size_t centro = inicio_;
    while (centro + 1 < f && primo_[centro] < ideal) ++centro;
    for (int intento = 0; intento < 200; ++intento) {
      const size_t ancho = 8 + s + static_cast<size_t>(intento / 10);
      const size_t lo = centro > ancho + inicio_ ? centro - ancho : inicio_;
      const size_t hi = std::min(f - 1, centro + ancho);
      std::uniform_int_distribution<size_t> azar(lo, hi);
      std::vector<uint32_t> elegidos;
      mpz_class a = 1;
      for (size_t i = 0; i + 1 < s; ++i) {
        size_t j = azar(generador_);
        int vueltas = 0;
        while (!utilEnA(j, elegidos) && ++vueltas < 50) j = azar(generador_);
        if (vueltas >= 50) break;
        elegidos.push_back(static_cast<uint32_t>(j));
        a *= primo_[j];
      }
      if (elegidos.size() + 1 != s) continue;
      // The last prime brings A as near the target as the base allows.
      const double resto = objetivo.get_d() / a.get_d();
      size_t mejor = f;
      double distancia = 1e300;
      for (size_t j = inicio_; j < f; ++j) {
        if (!utilEnA(j, elegidos)) continue;
        const double d = std::max(primo_[j] / resto, resto / primo_[j]);
        if (d < distancia) {
          distancia = d;
          mejor = j;
        }
      }
      if (mejor == f) continue;
      elegidos.push_back(static_cast<uint32_t>(mejor));
      std::sort(elegidos.begin(), elegidos.end());
      if (!usados_.insert(elegidos).second) continue;
      aPrimos_ = elegidos;
      a_ = a * primo_[mejor];
      return true;
    }
    return false;
  }

  // B_l, the first b, and the roots of g modulo every prime for a new A.
  bool iniciaA() {
    const size_t s = aPrimos_.size();
    bes_.assign(s, 0);
    b_ = 0;
    for (size_t l = 0; l < s; ++l) {
      const uint32_t q = primo_[aPrimos_[l]];
      const mpz_class aq = a_ / q;
      const unsigned long inv = n_invmod(mpz_fdiv_ui(aq.get_mpz_t(), q), q);
      unsigned long v = static_cast<unsigned long>(raiz_[aPrimos_[l]]) * inv % q;
      if (v > q / 2) v = q - v;
      bes_[l] = aq * v;
      b_ += bes_[l];
    }
    if (!mpz_divisible_p(mpz_class(b_ * b_ - kn_).get_mpz_t(), a_.get_mpz_t())) return false;
    const size_t f = primo_.size();
    enA_.assign(f, 0);
    for (uint32_t j : aPrimos_) enA_[j] = 1;
    raiz1_.assign(f, 0);
    raiz2_.assign(f, 0);
    saltos_.assign(s * f, 0);
    for (size_t j = 2; j < f; ++j) {
      if (enA_[j]) continue;
      const uint64_t p = primo_[j];
      const uint64_t ainv = n_invmod(mpz_fdiv_ui(a_.get_mpz_t(), p), p);
      const uint64_t bm = mpz_fdiv_ui(b_.get_mpz_t(), p);
      const uint64_t t = raiz_[j];
      const uint64_t m = mitad_ % p;
      raiz1_[j] = static_cast<uint32_t>((ainv * ((t + p - bm) % p) + m) % p);
      raiz2_[j] = static_cast<uint32_t>((ainv * ((2 * p - t - bm) % p) + m) % p);
      for (size_t l = 1; l < s; ++l) {
        saltos_[l * f + j] =
            static_cast<uint32_t>(2 * mpz_fdiv_ui(bes_[l].get_mpz_t(), p) * ainv % p);
      }
    }
    return true;
  }

  // Moves from the polynomial number i - 1 to number i of the current A
  // (Gray code: one B_l changes sign).
  void siguienteB(size_t i) {
    const size_t bit = static_cast<size_t>(__builtin_ctzll(i));
    const size_t l = bit + 1;
    const bool resta = ((i ^ (i >> 1)) >> bit) & 1;
    const size_t f = primo_.size();
    if (resta) {
      b_ -= 2 * bes_[l];
    } else {
      b_ += 2 * bes_[l];
    }
    for (size_t j = 2; j < f; ++j) {
      if (enA_[j]) continue;
      const uint32_t p = primo_[j];
      const uint32_t d = resta ? saltos_[l * f + j] : p - saltos_[l * f + j];
      raiz1_[j] = raiz1_[j] + d >= p ? raiz1_[j] + d - p : raiz1_[j] + d;
      raiz2_[j] = raiz2_[j] + d >= p ? raiz2_[j] + d - p : raiz2_[j] + d;
    }
  }

  void criba(std::vector<uint8_t>& tabla) {
    std::memset(tabla.data(), 128 - umbral_, tabla.size());
    const uint32_t largo = static_cast<uint32_t>(tabla.size());
    uint8_t* t = tabla.data();
    for (size_t j = inicio_; j < primo_.size(); ++j) {
      if (enA_[j]) continue;
      const uint32_t p = primo_[j];
      const uint8_t lg = logaritmo_[j];
      const uint32_t r1 = raiz1_[j], r2 = raiz2_[j];
      for (uint32_t u = r1; u < largo; u += p) t[u] += lg;
      if (r2 != r1) {
        for (uint32_t u = r2; u < largo; u += p) t[u] += lg;
      }
    }
  }

  // Factors g at position i over the base; keeps it as a full relation or
  // as a partial one with a large prime.
  void pruebaCandidato(uint32_t i, const mpz_class& c) {
    const long x = static_cast<long>(i) - static_cast<long>(mitad_);
    mpz_class g = a_ * x;
    g += 2 * b_;
    g *= x;
    g += c;
    Relacion r;
    if (sgn(g) == 0) return;
    if (sgn(g) < 0) {
      r.indices.push_back(0);
      g = -g;
    }
    for (uint32_t j : aPrimos_) r.indices.push_back(j);
    const mp_bitcnt_t dos = mpz_scan1(g.get_mpz_t(), 0);
    r.indices.insert(r.indices.end(), dos, 1);
    mpz_tdiv_q_2exp(g.get_mpz_t(), g.get_mpz_t(), dos);
    for (size_t j = 2; j < primo_.size(); ++j) {
      const uint32_t p = primo_[j];
      if (!enA_[j]) {
        const uint32_t resto = i % p;
        if (resto != raiz1_[j] && resto != raiz2_[j]) continue;
      }
      while (mpz_divisible_ui_p(g.get_mpz_t(), p)) {
        mpz_divexact_ui(g.get_mpz_t(), g.get_mpz_t(), p);
        r.indices.push_back(static_cast<uint32_t>(j));
      }
    }
    r.u = a_ * x + b_;
    if (g == 1) {
      completas_.push_back(std::move(r));
      return;
    }
    if (!g.fits_ulong_p() || g.get_ui() >= grande_) return;
    const uint64_t l = g.get_ui();
    const auto hallada = parciales_.find(l);
    if (hallada == parciales_.end()) {
      parciales_.emplace(l, std::move(r));
      return;
    }
    const Relacion& otra = hallada->second;
    Relacion junta;
    junta.indices = otra.indices;
    junta.indices.insert(junta.indices.end(), r.indices.begin(), r.indices.end());
    junta.u = otra.u * r.u % n_;
    junta.extra = l;
    completas_.push_back(std::move(junta));
  }

  bool recogeRelaciones() {
    const size_t f = primo_.size();
    const size_t buscadas = f + 24;
    // Work bound: about ten times the polynomials the size needs (a 40-digit
    // number takes some hundreds of 5,000, a 20-digit one a few of 800).
    const size_t maxPolinomios = 200 + 8 * f;
    std::vector<uint8_t> tabla(2 * static_cast<size_t>(mitad_));
    size_t polinomios = 0;
    while (completas_.size() < buscadas) {
      if (!eligeA() || !iniciaA()) return false;
      const size_t porA = size_t{1} << (aPrimos_.size() - 1);
      for (size_t i = 0; i < porA && completas_.size() < buscadas; ++i) {
        if (++polinomios > maxPolinomios) return false;
        if ((polinomios & 15) == 0 && (Reloj::now() > limite_ || cancelada())) return false;
        if (i > 0) siguienteB(i);
        const mpz_class c = (b_ * b_ - kn_) / a_;
        criba(tabla);
        const size_t nPalabras = tabla.size() / 8;
        for (size_t w = 0; w < nPalabras; ++w) {
          uint64_t palabra;
          std::memcpy(&palabra, tabla.data() + 8 * w, sizeof palabra);
          uint64_t marcas = palabra & 0x8080808080808080ULL;
          while (marcas != 0) {
            const unsigned bitAlto = static_cast<unsigned>(__builtin_ctzll(marcas));
            marcas &= marcas - 1;
            pruebaCandidato(static_cast<uint32_t>(w * 8 + bitAlto / 8), c);
          }
        }
      }
    }
    return true;
  }

  // Gaussian elimination over GF(2) on the exponent parities, then a
  // congruence of squares from each dependency until one splits N.
  mpz_class combina() {
    const size_t columnas = primo_.size();
    const size_t filas = completas_.size();
    const size_t palabras = (columnas + filas + 63) / 64;
    std::vector<uint64_t> m(filas * palabras, 0);
    for (size_t r = 0; r < filas; ++r) {
      uint64_t* fila = &m[r * palabras];
      for (uint32_t j : completas_[r].indices) fila[j / 64] ^= uint64_t{1} << (j % 64);
      const size_t id = columnas + r;
      fila[id / 64] |= uint64_t{1} << (id % 64);
    }
    size_t rango = 0;
    for (size_t col = 0; col < columnas && rango < filas; ++col) {
      const size_t w = col / 64;
      const uint64_t bit = uint64_t{1} << (col % 64);
      size_t pivote = rango;
      while (pivote < filas && !(m[pivote * palabras + w] & bit)) ++pivote;
      if (pivote == filas) continue;
      if (pivote != rango) {
        std::swap_ranges(m.begin() + static_cast<long>(pivote * palabras),
                         m.begin() + static_cast<long>((pivote + 1) * palabras),
                         m.begin() + static_cast<long>(rango * palabras));
      }
      const uint64_t* p = &m[rango * palabras];
      for (size_t r = rango + 1; r < filas; ++r) {
        uint64_t* fila = &m[r * palabras];
        if (!(fila[w] & bit)) continue;
        for (size_t k = w; k < palabras; ++k) fila[k] ^= p[k];
      }
      ++rango;
    }
    std::vector<uint32_t> cuenta(columnas);
    for (size_t r = rango; r < filas; ++r) {
      const uint64_t* fila = &m[r * palabras];
      std::fill(cuenta.begin(), cuenta.end(), 0);
      mpz_class x = 1, y = 1;
      for (size_t k = 0; k < filas; ++k) {
        const size_t id = columnas + k;
        if (!(fila[id / 64] >> (id % 64) & 1)) continue;
        const Relacion& rel = completas_[k];
        x = x * rel.u % n_;
        y = y * rel.extra % n_;
        for (uint32_t j : rel.indices) ++cuenta[j];
      }
      bool par = true;
      for (size_t j = 1; j < columnas && par; ++j) {
        if (cuenta[j] % 2) {
          par = false;
          break;
        }
        if (cuenta[j] == 0) continue;
        mpz_class potencia;
        const mpz_class primo(primo_[j]);
        mpz_powm_ui(potencia.get_mpz_t(), primo.get_mpz_t(), cuenta[j] / 2, n_.get_mpz_t());
        y = y * potencia % n_;
      }
      if (!par) continue;
      mpz_class d = x - y;
      mpz_gcd(d.get_mpz_t(), d.get_mpz_t(), n_.get_mpz_t());
      if (d > 1 && d < n_) return d;
    }
    return 0;
  }

  mpz_class n_, kn_, a_, b_;
  unsigned long k_ = 1;
  Reloj::time_point limite_;
  uint32_t mitad_ = 0;
  uint64_t grande_ = 0;
  uint8_t umbral_ = 0;
  size_t inicio_ = 2;
  std::vector<uint32_t> primo_, raiz_;
  std::vector<uint8_t> logaritmo_;
  std::vector<uint32_t> aPrimos_;
  std::vector<mpz_class> bes_;
  std::vector<uint8_t> enA_;
  std::vector<uint32_t> raiz1_, raiz2_, saltos_;
  std::set<std::vector<uint32_t>> usados_;
  std::vector<Relacion> completas_;
  std::unordered_map<uint64_t, Relacion> parciales_;
  std::mt19937_64 generador_{0x5eed};
};

// A factor of up to about eight digits from a few short elliptic curves
// (FLINT's ECM), or 0. Most numbers that are not built of two large primes
// have one, and finding it costs a fraction of a sieve of the whole number.
mpz_class divisorEcmCorto(const mpz_class& c) {
  constexpr mp_limb_t kCurvas = 3, kB1 = 100, kB2 = 20 * kB1;
  fmpz_t n, f;
  fmpz_init(n);
  fmpz_init(f);
  fmpz_set_mpz(n, c.get_mpz_t());
  flint_rand_t estado;
  flint_randinit(estado);
  mpz_class d = 0;
  if (fmpz_factor_ecm(f, kCurvas, kB1, kB2, estado, n) != 0) fmpz_get_mpz(d.get_mpz_t(), f);
  flint_randclear(estado);
  fmpz_clear(f);
  fmpz_clear(n);
  return d;
}

// FLINT keeps caches for each thread (integers, primes) that only
// flint_cleanup frees: a thread that sieved frees them when it ends.
void limpiaAlAcabarElHilo() {
  struct Limpieza {
    ~Limpieza() { flint_cleanup(); }
  };
  thread_local Limpieza limpieza;
  static_cast<void>(limpieza);
}

}  // namespace

mpz_class divisorCribaPequena(const mpz_class& c, Reloj::time_point limite) {
  limpiaAlAcabarElHilo();
  const size_t bits = mpz_sizeinbase(c.get_mpz_t(), 2);
  if (bits < kMinBitsCribaPequena || bits > kMaxBitsCribaPequena) {
    return 0;
  }
  // Below 80 bits the sieve is as quick as the curves.
  if (bits >= 80) {
    const mpz_class d = divisorEcmCorto(c);
    if (d > 1 && d < c && mpz_divisible_p(c.get_mpz_t(), d.get_mpz_t())) return d;
  }
  Criba criba(c, limite);
  const mpz_class d = criba.divisor();
  if (d > 1 && d < c && mpz_divisible_p(c.get_mpz_t(), d.get_mpz_t())) return d;
  return 0;
}

}  // namespace numbrel::motor
