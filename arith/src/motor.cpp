// The engine's functions on decimal texts (see motor.h).
#include "motor.h"

#include <gmpxx.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

#include "expresion.h"
#include "factoriza.h"
#include "llamada.h"

namespace numbrel::motor {
namespace {

constexpr int16_t kExito = 1;
constexpr int16_t kFallo = 0;
const char* const kError = "Error";

std::atomic<int32_t> precision{100};
std::atomic<int32_t> usos{0};

// Plain decimal integer or fraction "[-]p[/q]" with optional blanks around
// the parts; q nonzero. Nothing else is a number here.
std::optional<mpq_class> leeRacional(const std::string& texto) {
  const auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t i = 0;
  const auto salta = [&] {
    while (i < texto.size() && blanco(texto[i])) ++i;
  };
  const auto entero = [&](bool conSigno) -> std::optional<mpz_class> {
    salta();
    std::string digitos;
    if (conSigno && i < texto.size() && (texto[i] == '-' || texto[i] == '+')) {
      if (texto[i] == '-') digitos.push_back('-');
      ++i;
    }
    const size_t inicio = i;
    while (i < texto.size() && texto[i] >= '0' && texto[i] <= '9') digitos.push_back(texto[i++]);
    if (i == inicio || i - inicio > kMaxBits * 30103 / 100000 + 1) return std::nullopt;
    return mpz_class(digitos, 10);
  };
  const auto num = entero(true);
  if (!num) return std::nullopt;
  mpz_class den = 1;
  salta();
  if (i < texto.size() && texto[i] == '/') {
    ++i;
    const auto d = entero(false);
    if (!d || *d == 0) return std::nullopt;
    den = *d;
    salta();
  }
  if (i != texto.size()) return std::nullopt;
  mpq_class q(*num, den);
  q.canonicalize();
  return q;
}

std::optional<mpz_class> leeEntero(const std::string& texto) {
  const auto q = leeRacional(texto);
  if (!q || q->get_den() != 1) return std::nullopt;
  return q->get_num();
}

int16_t exito(std::string& out, std::string valor) {
  out = std::move(valor);
  return kExito;
}

int16_t fallo(std::string& out) {
  out = kError;
  return kFallo;
}

uint64_t bits(const mpz_class& z) {
  return z == 0 ? 0 : mpz_sizeinbase(z.get_mpz_t(), 2);
}

// One generator for RndPrimo, seeded once from the system's entropy.
gmp_randclass& generador() {
  static gmp_randclass g(gmp_randinit_default);
  static const bool sembrado = [] {
    std::random_device fuente;
    mpz_class semilla = 0;
    for (int i = 0; i < 8; ++i) semilla = (semilla << 32) + fuente();
    g.seed(semilla);
    return true;
  }();
  (void)sembrado;
  return g;
}
std::mutex mutexGenerador;

// Odd primes below 2^24 for sieving prime candidates, in groups whose
// products fit in a word (three below 2^21, two above): a candidate window's
// residues cost one division of the big number per group.
struct PrimosCriba {
  std::vector<uint32_t> primos;
  struct Grupo {
    uint64_t producto;
    uint32_t inicio, cuantos;
  };
  std::vector<Grupo> grupos;
};

const PrimosCriba& primosCriba() {
  static const PrimosCriba tabla = [] {
    constexpr uint32_t kTope = 1U << 24;
    std::vector<bool> compuesto(kTope / 2, false);  // odd numbers only
    PrimosCriba t;
    for (uint32_t i = 3; i < kTope; i += 2) {
      if (compuesto[i / 2]) continue;
      t.primos.push_back(i);
      for (uint64_t j = uint64_t{i} * i; j < kTope; j += 2 * i) compuesto[j / 2] = true;
    }
    for (uint32_t i = 0; i < t.primos.size();) {
      const uint32_t cuantos = t.primos[i] < (1U << 21) ? 3 : 2;
      if (i + cuantos > t.primos.size()) break;
      uint64_t producto = 1;
      for (uint32_t k = i; k < i + cuantos; ++k) producto *= t.primos[k];
      t.grupos.push_back({producto, i, cuantos});
      i += cuantos;
    }
    return t;
  }();
  return tabla;
}

// Below this size GMP's own search is quick enough and needs no care.
constexpr uint64_t kBitsBusquedaPropia = 160;

// The least probable prime p >= desde (odd, of at least kBitsBusquedaPropia
// bits) with p < hasta, or nothing when there is none, or the call is
// cancelled. Windows of odd candidates are sieved by the primes below 2^16,
// 2^20 from 1024 bits and 2^24 from 2048 bits (each sieving prime p saves
// about 1/p of the tests, and a test costs more than the sieve as numbers
// grow); the survivors go through a base-2 Fermat test, then BPSW.
// Cancellation is looked at, and the stage reported, between candidates.
std::optional<mpz_class> buscaPrimo(mpz_class desde, const mpz_class& hasta) {
  constexpr size_t kVentana = 8192;  // odd candidates per window
  const PrimosCriba& tabla = primosCriba();
  const uint64_t b = bits(desde);
  const uint32_t tope = b > 2048 ? (1U << 24) : b > 1024 ? (1U << 20) : (1U << 16);
  std::vector<uint8_t> tachado(kVentana);
  int32_t probados = 0;
  const mpz_class dos = 2;
  mpz_class candidato, menosUno, fermat;
  informa(U"buscando primo", 0, 0);
  while (desde < hasta) {
    std::fill(tachado.begin(), tachado.end(), 0);
    for (const PrimosCriba::Grupo& g : tabla.grupos) {
      if (tabla.primos[g.inicio] >= tope) break;
      const uint64_t resto = mpz_fdiv_ui(desde.get_mpz_t(), g.producto);
      for (uint32_t k = g.inicio; k < g.inicio + g.cuantos; ++k) {
        const uint64_t p = tabla.primos[k];
        // desde + 2i = 0 (mod p) for i = -r / 2 mod p.
        const uint64_t r = resto % p;
        uint64_t i = r == 0 ? 0 : (r % 2 == 1 ? (p - r) / 2 : p - r / 2);
        for (; i < kVentana; i += p) tachado[i] = 1;
      }
    }
    for (size_t i = 0; i < kVentana; ++i) {
      if (tachado[i]) continue;
      if (cancelada()) return std::nullopt;
      candidato = desde + 2 * i;
      if (candidato >= hasta) return std::nullopt;
      informa(U"buscando primo", ++probados, 0);
      menosUno = candidato - 1;
      mpz_powm(fermat.get_mpz_t(), dos.get_mpz_t(), menosUno.get_mpz_t(), candidato.get_mpz_t());
      if (fermat == 1 && esPrimoProbable(candidato)) return candidato;
    }
    desde += 2 * kVentana;
  }
  return std::nullopt;
}

// The least prime above n (n up to kMaxBitsSiguiente bits), or nothing when cancelled.
std::optional<mpz_class> siguientePrimo(const mpz_class& n) {
  if (bits(n) < kBitsBusquedaPropia) {
    mpz_class p;
    mpz_nextprime(p.get_mpz_t(), n.get_mpz_t());
    return p;
  }
  mpz_class desde = n + 1;
  if (mpz_even_p(desde.get_mpz_t())) ++desde;
  // Beyond 2^kMaxBitsSiguiente a prime is always found within the search's
  // reach (gaps there are thousands, not millions, of numbers wide).
  const mpz_class sinTecho = mpz_class(1) << (kMaxBitsSiguiente + 64);
  return buscaPrimo(desde, sinTecho);
}

// base^e modulo m (e >= 0, m > 1) by pieces of the exponent, so that a long
// power can be stopped between them: r = r^(2^k) * base^(piece).
std::optional<mpz_class> potenciaModular(const mpz_class& base, const mpz_class& e,
                                         const mpz_class& m) {
  constexpr mp_bitcnt_t kTrozo = 4096;
  const mp_bitcnt_t largo = mpz_sizeinbase(e.get_mpz_t(), 2);
  if (largo <= kTrozo) {
    mpz_class r;
    mpz_powm(r.get_mpz_t(), base.get_mpz_t(), e.get_mpz_t(), m.get_mpz_t());
    return r;
  }
  const mpz_class salto = mpz_class(1) << kTrozo;
  mpz_class r = 1, trozo, t;
  for (mp_bitcnt_t fin = (largo + kTrozo - 1) / kTrozo * kTrozo; fin > 0; fin -= kTrozo) {
    if (cancelada()) return std::nullopt;
    // The bits [fin - kTrozo, fin) of e.
    mpz_fdiv_q_2exp(trozo.get_mpz_t(), e.get_mpz_t(), fin - kTrozo);
    mpz_fdiv_r_2exp(trozo.get_mpz_t(), trozo.get_mpz_t(), kTrozo);
    mpz_powm(r.get_mpz_t(), r.get_mpz_t(), salto.get_mpz_t(), m.get_mpz_t());
    mpz_powm(t.get_mpz_t(), base.get_mpz_t(), trozo.get_mpz_t(), m.get_mpz_t());
    r = r * t % m;
  }
  return r;
}

}  // namespace

void InitMiracl(int32_t p) {
  precision = std::clamp<int32_t>(p, 0, 1000000);
  ++usos;
}

void EndMiracl() {
  if (usos > 0) --usos;
}

int32_t Precision() {
  return precision;
}

int16_t IsPrime(const std::string& n) {
  const auto z = leeEntero(n);
  if (!z) return 0;
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(kSegundosPrimo);
  return pruebaPrimalidad(*z, limite) == Primalidad::Primo ? -1 : 0;
}

int32_t NumBits(const std::string& n) {
  const auto z = leeEntero(n);
  return z ? static_cast<int32_t>(bits(*z)) : 0;
}

int16_t ZEval(const std::string& expr, std::string& out) {
  return ZEval(expr, {}, out);
}

int16_t QEval(const std::string& expr, std::string& out) {
  return QEval(expr, {}, out);
}

int16_t ZEval(const std::string& expr, const Valores& valores, std::string& out) {
  const auto z = evaluaEntero(expr, valores);
  return z ? exito(out, textoEntero(*z)) : fallo(out);
}

int16_t QEval(const std::string& expr, const Valores& valores, std::string& out) {
  const auto q = evaluaRacional(expr, valores);
  return q ? exito(out, textoRacional(*q)) : fallo(out);
}

int16_t BMax(const std::string& x, const std::string& y) {
  const auto a = evaluaRacional(x), b = evaluaRacional(y);
  if (!a || !b) return -1;
  return *b > *a ? 2 : *b == *a ? 1 : 0;
}

int16_t ToDecimal(const std::string& valor, std::string& out) {
  const auto q = leeRacional(valor);
  if (!q) return fallo(out);
  const int32_t decimales = precision;
  mpz_class escala;
  mpz_ui_pow_ui(escala.get_mpz_t(), 10, static_cast<unsigned long>(decimales));
  // Round |q| * 10^decimales half away from zero.
  mpz_class resto, t;
  const mpz_class a = abs(q->get_num()) * escala;
  mpz_fdiv_qr(t.get_mpz_t(), resto.get_mpz_t(), a.get_mpz_t(), q->get_den_mpz_t());
  if (2 * resto >= q->get_den()) ++t;
  if (t == 0) return exito(out, "0");
  std::string cifras = t.get_str(10);
  if (cifras.size() <= static_cast<size_t>(decimales)) {
    cifras.insert(0, static_cast<size_t>(decimales) + 1 - cifras.size(), '0');
  }
  std::string entera = cifras.substr(0, cifras.size() - static_cast<size_t>(decimales));
  std::string fraccion = cifras.substr(entera.size());
  while (!fraccion.empty() && fraccion.back() == '0') fraccion.pop_back();
  std::string texto = (q->get_num() < 0 ? "-" : "") + entera;
  if (!fraccion.empty()) texto += "." + fraccion;
  return exito(out, std::move(texto));
}

int16_t RndPrimo(int16_t numBits, std::string& out) {
  if (numBits < 2 || static_cast<uint64_t>(numBits) > kMaxBitsSiguiente) return fallo(out);
  const auto b = static_cast<unsigned long>(numBits);
  const mpz_class minimo = mpz_class(1) << (b - 1);
  const mpz_class techo = minimo << 1;
  for (;;) {
    if (cancelada()) return fallo(out);
    mpz_class base;
    {
      std::lock_guard<std::mutex> cerrojo(mutexGenerador);
      base = generador().get_z_bits(b - 1);
    }
    // A random start in [2^(b-1), 2^b); start again when no prime follows it in the range.
    const mpz_class inicio = minimo + base;
    std::optional<mpz_class> p;
    if (b < kBitsBusquedaPropia) {
      p = siguientePrimo(inicio - 1);
    } else {
      p = buscaPrimo(mpz_odd_p(inicio.get_mpz_t()) ? inicio : mpz_class(inicio + 1), techo);
    }
    if (p && bits(*p) == b) return exito(out, p->get_str(10));
  }
}

int16_t NextPrime(const std::string& n, std::string& out) {
  const auto z = leeEntero(n);
  if (!z || bits(*z) > kMaxBitsSiguiente) return fallo(out);
  if (*z < 2) return exito(out, "2");
  const auto p = siguientePrimo(*z);
  return p ? exito(out, p->get_str(10)) : fallo(out);
}

int16_t InvMod(const std::string& n, const std::string& modulo, std::string& out) {
  const auto a = leeEntero(n), m = leeEntero(modulo);
  if (!a || !m || *m == 0) return fallo(out);
  const mpz_class absoluto = abs(*m);
  if (absoluto == 1) return exito(out, "0");
  mpz_class r;
  if (mpz_invert(r.get_mpz_t(), a->get_mpz_t(), absoluto.get_mpz_t()) == 0) return fallo(out);
  return exito(out, r.get_str(10));
}

int16_t CRT(const std::vector<std::string>& restos, const std::vector<std::string>& moduli,
            std::string& out) {
  if (restos.empty() || restos.size() != moduli.size()) return fallo(out);
  mpz_class x = 0, m = 1;  // x mod m solves the congruences seen so far
  for (size_t i = 0; i < restos.size(); ++i) {
    const auto a = leeEntero(restos[i]), n = leeEntero(moduli[i]);
    if (!a || !n || *n <= 0) return fallo(out);
    // x + m*t = a (mod n): solvable when g = gcd(m, n) divides a - x.
    mpz_class g, u;
    mpz_gcdext(g.get_mpz_t(), u.get_mpz_t(), nullptr, m.get_mpz_t(), n->get_mpz_t());
    const mpz_class diferencia = *a - x;
    if (!mpz_divisible_p(diferencia.get_mpz_t(), g.get_mpz_t())) return fallo(out);
    const mpz_class n1 = *n / g;
    mpz_class t = (diferencia / g) * u;
    mpz_mod(t.get_mpz_t(), t.get_mpz_t(), n1.get_mpz_t());
    x += m * t;
    m *= n1;
    mpz_mod(x.get_mpz_t(), x.get_mpz_t(), m.get_mpz_t());
    if (bits(m) > kMaxBits) return fallo(out);
  }
  return exito(out, x.get_str(10));
}

int16_t Factors(const std::string& n, std::vector<std::string>& factores,
                std::vector<std::string>& exponentes) {
  factores.clear();
  exponentes.clear();
  const auto z = leeEntero(n);
  if (!z || *z == 0) return kFallo;
  if (*z < 0) {
    factores.push_back("-1");
    exponentes.push_back("1");
  }
  const Factorizacion f = factoriza(abs(*z));
  for (const auto& [p, e] : f.primos) {
    factores.push_back(p.get_str(10));
    exponentes.push_back(std::to_string(e));
  }
  if (f.resto != 1) {
    factores.push_back(f.resto.get_str(10));
    exponentes.push_back("1");
    return kFallo;
  }
  return kExito;
}

int16_t EulerFi(const std::string& n, std::string& out) {
  const auto z = leeEntero(n);
  if (!z || *z < 1) return fallo(out);
  const Factorizacion f = factoriza(*z);
  if (f.resto != 1) return fallo(out);
  mpz_class fi = 1;
  for (const auto& [p, e] : f.primos) {
    mpz_class potencia;
    mpz_pow_ui(potencia.get_mpz_t(), p.get_mpz_t(), e - 1);
    fi *= potencia * (p - 1);
  }
  return exito(out, fi.get_str(10));
}

int16_t ToBasis(int16_t base, const std::string& n, std::string& out) {
  const auto z = leeEntero(n);
  if (!z || base < 2 || base > 36) return fallo(out);
  return exito(out, z->get_str(-base));  // a negative base asks GMP for capitals
}

int16_t BMcd(const std::string& x, const std::string& y, std::string& out) {
  const auto a = leeEntero(x), b = leeEntero(y);
  if (!a || !b) return fallo(out);
  return exito(out, mpz_class(gcd(*a, *b)).get_str(10));
}

int16_t PowMod(const std::string& base, const std::string& exponente, const std::string& modulus,
               std::string& out) {
  const auto b = leeEntero(base), e = leeEntero(exponente), m = leeEntero(modulus);
  if (!b || !e || !m || *m == 0) return fallo(out);
  const mpz_class absoluto = abs(*m);
  if (absoluto == 1) return exito(out, "0");
  mpz_class x = *b;
  if (*e < 0 && mpz_invert(x.get_mpz_t(), x.get_mpz_t(), absoluto.get_mpz_t()) == 0) {
    return fallo(out);
  }
  const mpz_class k = abs(*e);
  if (!potenciaModularAsumible(k, bits(absoluto))) return fallo(out);
  const auto r = potenciaModular(x, k, absoluto);
  return r ? exito(out, r->get_str(10)) : fallo(out);
}

int16_t BExMcd(const std::string& x, const std::string& y, std::string& a, std::string& b,
               std::string& d) {
  const auto u = leeEntero(x), v = leeEntero(y);
  if (!u || !v) {
    a = b = d = kError;
    return kFallo;
  }
  mpz_class g, s, t;
  mpz_gcdext(g.get_mpz_t(), s.get_mpz_t(), t.get_mpz_t(), u->get_mpz_t(), v->get_mpz_t());
  a = s.get_str(10);
  b = t.get_str(10);
  d = g.get_str(10);
  return kExito;
}

int16_t BMod(const std::string& expr, const std::string& modulus, std::string& out) {
  return BMod(expr, {}, modulus, {}, out);
}

int16_t BMod(const std::string& expr, const Valores& valoresExpr, const std::string& modulus,
             const Valores& valoresModulo, std::string& out) {
  const auto m = evaluaEntero(modulus, valoresModulo);
  if (!m || *m == 0) return fallo(out);
  const auto r = evaluaModulo(expr, *m, valoresExpr);
  return r ? exito(out, r->get_str(10)) : fallo(out);
}

}  // namespace numbrel::motor
