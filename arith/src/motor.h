// The multiprecision engine: the functions the big-number service calls, on
// decimal texts, over GMP, FLINT and GMP-ECM.
//
// Only ORVBigNum calls these. Numbers travel as decimal texts ("-12", "3/4");
// a result is written whole into `out` (never cut to a buffer size), and a
// status is nonzero on success. On failure `out` holds "Error". Inputs that
// are not numbers of the expected kind (a fraction where an integer is due,
// "Error", an empty text) fail.
//
// Effort: every call is bounded. Results above kMaxBits bits fail;
// a primality test stops after kSegundosPrimo; next and random primes are
// found up to kMaxBitsSiguiente bits; factorisation stops at the bounds of
// factoriza.h (a few minutes at most, seconds beyond the sieve's reach).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace numbrel::motor {

// The values of the variables an expression names. In the expression, the
// marker kMarcaVariable followed by a decimal index k stands for valores[k]:
// that text is parsed on its own, once, and evaluated once per call, with the
// meaning it would have written there in place of the reference. The
// preparation writes each reference in brackets, "(" marker k ")", so a
// value of a million digits named a thousand times costs one parse. Inside a
// value the marker means nothing (values are not scanned for names).
using Valores = std::vector<std::string_view>;
inline constexpr char kMarcaVariable = '\x01';

// Bound of one primality test, in seconds. Only numbers of tens of thousands
// of bits without a small factor come near it; when it passes, the number is
// reported as not prime (it was not shown to be a probable prime).
inline constexpr int kSegundosPrimo = 30;
// NextPrime and RndPrimo work up to this size.
inline constexpr uint64_t kMaxBitsSiguiente = 4096;

// Opens and closes a use of the engine. Pairs may overlap; the engine stays
// usable while any is open and works without any. `precision` is the number
// of decimals of ToDecimal (clamped to 0..1000000); the latest Init wins.
void InitMiracl(int32_t precision);
void EndMiracl();
int32_t Precision();

// -1 (all bits set) when n is a probable prime (BPSW), 0 otherwise (and when
// the test could not finish within kSegundosPrimo).
int16_t IsPrime(const std::string& n);
// Bits of |n| (0 for 0 and for what is not an integer).
int32_t NumBits(const std::string& n);
// Integer and exact rational evaluation of an expression (grammar in expresion.h).
int16_t ZEval(const std::string& expr, std::string& out);
int16_t QEval(const std::string& expr, std::string& out);
int16_t ZEval(const std::string& expr, const Valores& valores, std::string& out);
int16_t QEval(const std::string& expr, const Valores& valores, std::string& out);
// 2 when y > x, 1 when they are equal, 0 when y < x; -1 when either is not a
// number. x and y are rational expressions.
int16_t BMax(const std::string& x, const std::string& y);
// Decimal expansion of a rational "p/q" with "." as the point and Precision()
// decimals at most, rounded half away from zero, without trailing zeros:
// "0.25", "-0.3333", "12". An integer has no point.
int16_t ToDecimal(const std::string& valor, std::string& out);
// A random prime of exactly `bits` bits (2..kMaxBitsSiguiente).
int16_t RndPrimo(int16_t bits, std::string& out);
// The least prime above n (n up to kMaxBitsSiguiente bits); 2 for n < 2.
int16_t NextPrime(const std::string& n, std::string& out);
// The inverse of n modulo |modulo|, in [0, |modulo|).
int16_t InvMod(const std::string& n, const std::string& modulo, std::string& out);
// The least x >= 0 with x = restos[i] (mod moduli[i]) for every i; moduli are
// positive and need not be coprime as long as the system is consistent.
int16_t CRT(const std::vector<std::string>& restos, const std::vector<std::string>& moduli,
            std::string& out);
// Factorisation of n: primes ascending with their exponents ("-1" first for a
// negative n; nothing for 1). Past the effort bound the last factor is the
// unfactored composite cofactor and the status is 0. 0 and non-integers fail
// with empty arrays.
int16_t Factors(const std::string& n, std::vector<std::string>& factores,
                std::vector<std::string>& exponentes);
// Euler's totient of n >= 1; fails when n cannot be factored within the bound.
int16_t EulerFi(const std::string& n, std::string& out);
// n in base 2..36, digits 0-9 then A-Z, with "-" for a negative n.
int16_t ToBasis(int16_t base, const std::string& n, std::string& out);
// gcd(x, y) >= 0.
int16_t BMcd(const std::string& x, const std::string& y, std::string& out);
// base^exponente modulo |modulus| in [0, |modulus|); a negative exponent uses
// the inverse. Fails for modulus 0, a missing inverse, or an exponent too
// large for the modulus (a few seconds of work at most).
int16_t PowMod(const std::string& base, const std::string& exponente, const std::string& modulus,
               std::string& out);
// a*x + b*y = d = gcd(x, y) >= 0.
int16_t BExMcd(const std::string& x, const std::string& y, std::string& a, std::string& b,
               std::string& d);
// The integer value of the expression `expr` modulo |modulus| (an integer
// expression, nonzero), in [0, |modulus|).
int16_t BMod(const std::string& expr, const std::string& modulus, std::string& out);
// The same, each text with the values of the variables it names.
int16_t BMod(const std::string& expr, const Valores& valoresExpr, const std::string& modulus,
             const Valores& valoresModulo, std::string& out);

}  // namespace numbrel::motor
