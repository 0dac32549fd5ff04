// Factorisation with an effort bound.
//
// Trial division, perfect powers, numbers of one machine word and composites
// of up to about 40 digits (cribapequena.h) are done here, in process, with
// work bounded for their size; every other composite, and any the bounded
// attempt did not split, goes to workers (aislado.h): FLINT's factoring
// (its sieve on both cores) for composites within the sieve's reach, two
// GMP-ECM workers for larger ones, each stopped at its time bound. Factors are
// checked with BPSW before they are accepted.
#pragma once

#include <gmpxx.h>

#include <chrono>
#include <utility>
#include <vector>

namespace numbrel::motor {

// The effort bound. A 70-digit semiprime takes about 20 s of sieving on two
// idle cores (several times that on a busy machine); a 25-digit factor of a
// 105-digit number some seconds of ECM, depending on luck.
struct LimitesFactorizacion {
  int digitosCriba = 75;                         // sieve reach, in decimal digits
  std::chrono::milliseconds criba{180000};       // bound of one sieve run
  int digitosEcmLargo = 120;                     // up to here ECM gets the long bound
  std::chrono::milliseconds ecmLargo{60000};     // ECM on a cofactor of up to digitosEcmLargo
  std::chrono::milliseconds ecmCorto{2000};      // ECM on anything larger
  std::chrono::milliseconds primalidad{30000};   // one primality test of a large cofactor
  std::chrono::milliseconds total{240000};       // the whole factorisation
  bool enProceso = true;                         // small composites split in process
  std::chrono::milliseconds cribaPequena{2000};  // bound of one in-process split
};

struct Factorizacion {
  std::vector<std::pair<mpz_class, unsigned long>> primos;  // ascending, exponents >= 1
  mpz_class resto = 1;  // product of what could not be factored (1 when complete)
};

// Factors n >= 1. Never runs much past `limites.total`; a cancelled call
// (llamada.h) stops soon, with what is left in `resto`. Reports its stages
// through the current call.
Factorizacion factoriza(const mpz_class& n, const LimitesFactorizacion& limites = {});

}  // namespace numbrel::motor

namespace numbrel::motor {

// Baillie-PSW probable-prime test (FLINT); false for n < 2. Unbounded: for
// small numbers only.
bool esPrimoProbable(const mpz_class& n);

enum class Primalidad { Primo, Compuesto, Desconocida };

// The same test with a time bound: numbers above a few thousand bits without a
// small factor are tested in a worker (aislado.h), and when `limite` passes
// first, or the current call (llamada.h) is cancelled, the answer is Desconocida.
Primalidad pruebaPrimalidad(const mpz_class& n, std::chrono::steady_clock::time_point limite);

}  // namespace numbrel::motor
