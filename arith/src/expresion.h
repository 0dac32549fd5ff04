// The expression language of the engine: parsing and evaluation over the
// integers, the rationals and the residues modulo m.
//
// Grammar (spaces, tabs and line breaks may separate any two tokens):
//
//   expresion := termino { ("+" | "-") termino }
//   termino   := unario { ("*" | "/" | "%" | "\") unario }
//   unario    := ("-" | "+") unario | potencia
//   potencia  := postfijo [ "^" unario ]          right-associative: 2^3^2 = 2^9
//   postfijo  := primario { "!" }                 factorial; 3!! = (3!)!
//   primario  := numero | variable | "(" expresion ")" | "[" expresion "]" | "{" expresion "}"
//   numero    := digitos [ ("." | ",") digitos ]   the fraction only among rationals
//   variable  := marca digitos                     a primario: the value at that index
//                                                  (motor.h, Valores)
//
// Precedence from loosest to tightest: + -, then * / % \, then unary signs,
// then ^, then !. So -2^2 = -4, 2^-1 = 1/2 among rationals, -3! = -6.
//
// Integers (ZEval): "/" and "\" are floor division (the quotient rounds towards
// minus infinity) and "%" is the matching remainder, with the divisor's sign,
// so that a = (a/b)*b + a%b; -7/2 = -4 and -7%2 = 1. A negative exponent is
// allowed only on 1 and -1.
// Rationals (QEval): "/" is exact, "\" is the floor of the quotient and
// a % b = a - b*floor(a/b); results are in lowest terms, written "p/q" or "p".
// Residues (BMod): the value is the integer one (ZEval's meaning) reduced
// modulo m, computed without the integer itself where that is possible: sums,
// products, powers and factorials are reduced as they go; a chain with a
// division or a remainder is evaluated as an integer first.
//
// A chain of products is multiplied as a balanced tree, so that a product of
// n factors costs about its last multiplication rather than n of them; the
// result, and what is refused, are those of the product from left to right.
//
// Guards: a result, or an operand of a power or factorial, of more than
// kMaxBits bits is refused before it is computed; more than kMaxProfundidad
// nested brackets, signs, powers or factorials are refused (a variable counts
// the nesting of its value where it is named); both give failure.
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "motor.h"

namespace numbrel::motor {

// Largest result, in bits (about 1.26 million decimal digits).
inline constexpr uint64_t kMaxBits = uint64_t{1} << 22;
// Deepest nesting of brackets, signs, powers and factorials.
inline constexpr int kMaxProfundidad = 200;

// The value of `expr` as an integer, or nothing when it is malformed or refused.
// `valores` are the values of the variables `expr` names (motor.h).
std::optional<mpz_class> evaluaEntero(std::string_view expr, const Valores& valores = {});
// The value of `expr` as an exact rational, or nothing.
std::optional<mpq_class> evaluaRacional(std::string_view expr, const Valores& valores = {});
// The integer value of `expr` reduced modulo |m| (m nonzero), in [0, |m|), or nothing.
std::optional<mpz_class> evaluaModulo(std::string_view expr, const mpz_class& m,
                                      const Valores& valores = {});

// Whether b^e modulo a modulus of `bitsModulo` bits is cheap enough to compute
// (a few seconds at most).
bool potenciaModularAsumible(const mpz_class& e, uint64_t bitsModulo);

// Canonical texts: "-12", "3/4", "-1/2".
std::string textoEntero(const mpz_class& z);
std::string textoRacional(const mpq_class& q);

}  // namespace numbrel::motor
