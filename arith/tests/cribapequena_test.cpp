// Small composites split in process: the sieve on its own, and the whole
// factorisation against the worker path (FLINT in a forked process) as oracle.
#include "cribapequena.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "factoriza.h"

namespace numbrel::motor {
namespace {

using std::chrono::seconds;
using Reloj = std::chrono::steady_clock;

mpz_class siguientePrimo(const mpz_class& n) {
  mpz_class p;
  mpz_nextprime(p.get_mpz_t(), n.get_mpz_t());
  return p;
}

mpz_class potencia10(unsigned long e) {
  mpz_class r;
  mpz_ui_pow_ui(r.get_mpz_t(), 10, e);
  return r;
}

// A random number of exactly `digitos` digits.
mpz_class aleatorio(gmp_randclass& azar, unsigned long digitos) {
  const mpz_class base = potencia10(digitos - 1);
  return base + azar.get_z_range(9 * base);
}

// Checks what every factorisation must be: ascending probable primes with
// positive exponents whose product, times the unfactored rest, is n.
void compruebaForma(const mpz_class& n, const Factorizacion& f) {
  mpz_class producto = f.resto;
  for (size_t i = 0; i < f.primos.size(); ++i) {
    const auto& [p, e] = f.primos[i];
    EXPECT_TRUE(esPrimoProbable(p)) << p.get_str();
    EXPECT_GE(e, 1u);
    if (i > 0) {
      EXPECT_LT(f.primos[i - 1].first, p);
    }
    mpz_class potencia;
    mpz_pow_ui(potencia.get_mpz_t(), p.get_mpz_t(), e);
    producto *= potencia;
  }
  EXPECT_EQ(producto, n);
}

struct CasoDivisor {
  const char* nombre;
  mpz_class n;
};

TEST(CribaPequenaTest, SplitsCompositesOfEverySizeItTakes) {
  // Near-copies: balanced and unbalanced semiprimes, three factors, squares of
  // a product, from just above a word's lower bound to the largest size taken.
  const mpz_class p10 = siguientePrimo(3141592653), q10 = siguientePrimo(2718281828);
  const mpz_class p15 = siguientePrimo(mpz_class("314159265358979"));
  const mpz_class q15 = siguientePrimo(mpz_class("271828182845904"));
  const mpz_class p20 = siguientePrimo(mpz_class("31415926535897932384"));
  const mpz_class q20 = siguientePrimo(mpz_class("27182818284590452353"));
  const mpz_class p13 = siguientePrimo(mpz_class("1414213562373"));
  const mpz_class q13 = siguientePrimo(mpz_class("1732050807568"));
  const mpz_class r13 = siguientePrimo(mpz_class("2236067977499"));
  const mpz_class p6 = siguientePrimo(100003), q30 = siguientePrimo(potencia10(29) * 7);
  const CasoDivisor casos[] = {
      {"2^64 + 1", (mpz_class(1) << 64) + 1},
      {"2^67 - 1", (mpz_class(1) << 67) - 1},
      {"two 10-digit primes", p10 * q10},
      {"two 15-digit primes", p15 * q15},
      {"two 20-digit primes", p20 * q20},
      {"three 13-digit primes", p13 * q13 * r13},
      {"a 6-digit prime and a 30-digit one", p6 * q30},
      {"a square times a prime", p13 * p13 * q13},
      {"the square of a product", p10 * q10 * p10 * q10},
      {"2^128 + 1", (mpz_class(1) << 128) + 1},
  };
  for (const CasoDivisor& c : casos) {
    SCOPED_TRACE(c.nombre);
    const mpz_class d = divisorCribaPequena(c.n, Reloj::now() + seconds(60));
    ASSERT_GT(d, 1);
    EXPECT_LT(d, c.n);
    EXPECT_TRUE(mpz_divisible_p(c.n.get_mpz_t(), d.get_mpz_t()));
  }
}

TEST(CribaPequenaTest, LeavesOutOfRangeNumbersToTheCaller) {
  // Below 2^60 FLINT's word factoring is used; above the largest size, the workers.
  const mpz_class pequeno = siguientePrimo(1000000007) * siguientePrimo(100000007);
  ASSERT_LT(mpz_sizeinbase(pequeno.get_mpz_t(), 2), kMinBitsCribaPequena);
  EXPECT_EQ(divisorCribaPequena(pequeno, Reloj::now() + seconds(60)), 0);
  const mpz_class grande = siguientePrimo(potencia10(20) * 3) * siguientePrimo(potencia10(21) * 5);
  ASSERT_GT(mpz_sizeinbase(grande.get_mpz_t(), 2), kMaxBitsCribaPequena);
  EXPECT_EQ(divisorCribaPequena(grande, Reloj::now() + seconds(60)), 0);
}

TEST(CribaPequenaTest, GivesUpAtAPassedDeadline) {
  // A 40-digit semiprime needs hundreds of polynomials; the deadline is
  // checked every few, and passing it is an answer of 0, not a wait.
  const mpz_class n = siguientePrimo(mpz_class("31415926535897932384")) *
                      siguientePrimo(mpz_class("27182818284590452353"));
  EXPECT_EQ(divisorCribaPequena(n, Reloj::now() - seconds(1)), 0);
}

TEST(CribaPequenaTest, AFailedAttemptFallsBackToTheWorkers) {
  // With no time for the in-process attempt the workers still finish the job.
  const mpz_class p = siguientePrimo(mpz_class("31415926535897932384"));
  const mpz_class q = siguientePrimo(mpz_class("27182818284590452353"));
  LimitesFactorizacion sinTiempo;
  sinTiempo.cribaPequena = std::chrono::milliseconds(0);
  const Factorizacion f = factoriza(p * q * 9, sinTiempo);
  EXPECT_EQ(f.resto, 1);
  ASSERT_EQ(f.primos.size(), 3u);
  EXPECT_EQ(f.primos[0], std::make_pair(mpz_class(3), 2UL));
  EXPECT_EQ(f.primos[1], std::make_pair(q, 1UL));
  EXPECT_EQ(f.primos[2], std::make_pair(p, 1UL));
}

TEST(CribaPequenaTest, SameFactorisationsAsTheWorkers) {
  // Random numbers of 18 to 42 digits, random semiprimes and products of a
  // few medium primes, from a fixed seed: in process and through the
  // workers the answers must be the same, complete and well formed.
  gmp_randclass azar(gmp_randinit_mt);
  azar.seed(20261210);
  LimitesFactorizacion trabajadores;
  trabajadores.enProceso = false;
  for (int i = 0; i < 60; ++i) {
    mpz_class n;
    const unsigned long digitos = 18 + static_cast<unsigned long>(i % 25);
    switch (i % 3) {
      case 0:
        n = aleatorio(azar, digitos);
        break;
      case 1:
        n = siguientePrimo(aleatorio(azar, digitos / 2)) *
            siguientePrimo(aleatorio(azar, digitos - digitos / 2));
        break;
      default:
        n = siguientePrimo(aleatorio(azar, 7)) * siguientePrimo(aleatorio(azar, 9)) *
            siguientePrimo(aleatorio(azar, digitos > 20 ? digitos - 16 : 4));
        break;
    }
    SCOPED_TRACE(n.get_str());
    const Factorizacion nuestra = factoriza(n);
    const Factorizacion suya = factoriza(n, trabajadores);
    EXPECT_EQ(nuestra.resto, 1);
    EXPECT_EQ(nuestra.primos, suya.primos);
    EXPECT_EQ(nuestra.resto, suya.resto);
    compruebaForma(n, nuestra);
  }
}

TEST(CribaPequenaTest, SeveralThreadsAtOnce) {
  // The service may be used from a worker thread while the window's thread
  // uses it too: nothing of one split may leak into another.
  std::vector<mpz_class> numeros;
  for (unsigned long i = 0; i < 8; ++i) {
    numeros.push_back(siguientePrimo(potencia10(10 + i) * (3 + i)) *
                      siguientePrimo(potencia10(11 + i) * (7 + i)));
  }
  std::vector<Factorizacion> resultados(2 * numeros.size());
  std::vector<std::thread> hilos;
  for (size_t h = 0; h < 2; ++h) {
    hilos.emplace_back([&, h] {
      for (size_t i = 0; i < numeros.size(); ++i) {
        resultados[h * numeros.size() + i] = factoriza(numeros[i]);
      }
    });
  }
  for (std::thread& t : hilos) t.join();
  for (size_t h = 0; h < 2; ++h) {
    for (size_t i = 0; i < numeros.size(); ++i) {
      SCOPED_TRACE(numeros[i].get_str());
      const Factorizacion& f = resultados[h * numeros.size() + i];
      EXPECT_EQ(f.resto, 1);
      EXPECT_EQ(f.primos.size(), 2u);
      compruebaForma(numeros[i], f);
    }
  }
}

}  // namespace
}  // namespace numbrel::motor
