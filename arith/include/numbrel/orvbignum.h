// ORVBigNum: integer and rational arithmetic on numbers of any size, written as
// decimal texts.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kestrin/cadena.h"
#include "kestrin/evento.h"
#include "kestrin/objeto.h"
#include "kestrin/variante.h"

namespace numbrel {

using kestrin::Cadena;
struct ValorVariable;

namespace motor {
class Llamada;
}

// The big-number service. It prepares the engine's input (variables, the word
// "mod", "N(...)") and cleans its output. Bad input never raises an error: the
// event AritError carries a Spanish message and the result is "Error" (False
// for Boolean members). A client program or library keeps one shared instance
// for its whole life, created at its first use.
//
// Memory: input too large to handle is bad input too. An allocation failure
// inside the engine is a failed operation with the member's usual report; one
// met anywhere else in a member (preparing the input, copying the output)
// ends it with AritError "Memoria insuficiente" and its failed result
// ("Error", False, 0 for NumBits, -1 for Max; Factorize leaves both arrays
// empty, ExMcd sets a, b and d to "Error"). An assignment to `var` that
// fails so is ignored, leaving the name unset. No standard exception leaves
// a member; only the construction can fail, with the classic error 7
// (kestrin::ErrorORV), and so can an AritError handler that fails again
// while memory is being reported.
//
// Threads: one instance may be called from several threads at once (its
// variable table is behind a lock, held only to copy what a call reads);
// each call's events are raised on the thread that made it. Connect the
// handlers before the calls begin: connecting meanwhile is not safe. A call
// in progress can be stopped from another thread (`Cancela`, or the
// thread's Vigilancia, numbrel/vigilancia.h).
class ORVBigNum : public kestrin::Objeto {
 public:
  // Reads the user's "Precision" setting and opens a use of the engine.
  ORVBigNum();
  ~ORVBigNum() override;
  ORVBigNum(const ORVBigNum&) = delete;
  ORVBigNum& operator=(const ORVBigNum&) = delete;

  // Both evaluated: 2 when y > x, 1 when equal, 0 when y < x, -1 when either is not a number.
  int16_t Max(const Cadena& x, const Cadena& y);
  // Evaluated, then the probable-prime test.
  bool EsPrimo(const Cadena& texto);
  // Evaluated; bits of the integer (0 when it is not one).
  int32_t NumBits(const Cadena& texto);
  // The value of `expr` after variable substitution and the "mod" rewrite:
  // integer arithmetic when `Entero`, else exact rationals ("p/q"). "N(expr)"
  // gives the decimal expansion. With `MaxValor` (not Empty) a value above it
  // gives "Error". Blank input gives "" with no event.
  Cadena Eval(const Cadena& expr, const kestrin::Variante& MaxValor = {}, bool Entero = false);
  // Decimal expansion with "," as the decimal point ("0,25", "-0,5"), with as
  // many decimals as the precision setting at most.
  Cadena ToDecimal(const Cadena& n);
  // A random prime of that many bits; "Error" outside 2..4096.
  Cadena RndPrimo(int16_t NumBits);
  // Inverse of n modulo `modulo`; "Error" when there is none (no event).
  Cadena ModInv(const Cadena& n, const Cadena& modulo);
  // The least non-negative solution of x = restos(i) mod CoPrimos(i), or "Error".
  Cadena CRT(const std::vector<Cadena>& restos, const std::vector<Cadena>& CoPrimos);
  // A whole number from n1 to n2.
  int32_t RndRange(int32_t n1, int32_t n2);
  // The next prime above num; "Error" for what is not an integer (no event).
  Cadena NextPrime(const Cadena& num);
  // Fills the arrays (zero-based) with the prime factors and their exponents.
  // False when num is not a nonzero integer, or when the effort bound passed:
  // then the last element is the unfactored cofactor with exponent 1.
  bool Factorize(const Cadena& num, std::vector<Cadena>& Factores, std::vector<Cadena>& Exponentes);
  Cadena EulerFi(const Cadena& n);
  // num in base 2..36.
  Cadena ToBasis(int16_t base, const Cadena& num);
  Cadena Mcd(const Cadena& x, const Cadena& y);
  Cadena ModPower(const Cadena& base, const Cadena& exponente, const Cadena& modulo);
  // a*x + b*y = d = gcd(x, y); False (no event) when x or y is not an integer,
  // and then a, b and d hold "Error".
  bool ExMcd(const Cadena& x, const Cadena& y, Cadena& a, Cadena& b, Cadena& d);
  // The integer value of `expr` modulo `modulo`, both as given (not evaluated).
  Cadena BMod(const Cadena& expr, const Cadena& modulo);

  // Write-only indexed property `var`: an empty name empties the table, an
  // empty value removes the name, anything else sets it. Names compare
  // without regard to case.
  void setvar(const Cadena& nombre, const Cadena& valor);

  // Stops every call in progress on this instance, from any thread, within a
  // fraction of a second (the work in child processes is killed, the work in
  // process stops at its next step). A stopped Factorize returns False with the factors
  // found so far and the unfactored cofactor last (exponent 1), as past its
  // effort bound; EsPrimo answers False, NumBits 0, Max -1, ExMcd False; the
  // members that return a text return "Error" and raise AritError with
  // "Cálculo cancelado". Calls that start afterwards run normally.
  void Cancela();

  struct Eventos {
    kestrin::Evento<Cadena&> AritError;
    // A stage of a long call (factorising, finding primes): its Spanish
    // description, the units done and their total (0 when unknown), raised
    // on the thread that made the call, a few times a second at most (and at
    // every change of stage), never with a lock of the service held. The
    // stages: "división por tentativa" (primes tried out of the table's),
    // "prueba de primalidad", "criba cuadrática" (no count), "curvas ECM"
    // (curves done out of the current bound's, 0 for the last, open-ended
    // bound) and, for NextPrime and RndPrimo, "buscando primo" (candidates
    // tested). The thread's Vigilancia::alProgresar hears the same.
    kestrin::Evento<Cadena, int32_t, int32_t> Etapa;
  } eventos;

 private:
  void error(const Cadena& descripcion);
  // Only inside a catch handler: an allocation failure (std::bad_alloc,
  // std::length_error) gives `siFalla`, reported through AritError unless
  // `avisa` is false; any other exception goes on as it is.
  template <typename T>
  T trasFallo(T siFalla, bool avisa = true);
  class Guardia;
  bool cancelado(const Guardia& g);
  Cadena conEstado(const Guardia& g, int16_t estado, const std::string& salida,
                   const Cadena& mensaje);
  std::map<Cadena, std::shared_ptr<const ValorVariable>> tablaActual();

  std::mutex cerrojo_;  // guards variables_ and enCurso_

  // Keyed by the name in lower case; each value prepared once when it is set
  // (struct ValorVariable) and shared, so a call copies pointers, not texts.
  std::map<Cadena, std::shared_ptr<const ValorVariable>> variables_;
  std::vector<motor::Llamada*> enCurso_;  // the calls in progress, for Cancela
};

}  // namespace numbrel
