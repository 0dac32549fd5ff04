// Text preparation of the big-number service: buffer cleaning, variable
// substitution, the "mod" rewrite and the text handed to the engine.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kestrin/cadena.h"

namespace numbrel {

using kestrin::Cadena;

// The part of s before its first NUL, without surrounding blanks (spaces,
// tabs, line breaks).
Cadena limpiaBuffer(const Cadena& s);

// Each name (a letter A-Z of either case, then a run of digits) found in
// `tabla` (keys in lower case) becomes "(" + value + ")"; other names stay.
// Values are not scanned again; in AB12 the name is B12.
Cadena sustituyeVariables(const Cadena& s, const std::map<Cadena, Cadena>& tabla);

// A variable's value as the service keeps it, prepared once when it is set.
struct ValorVariable {
  Cadena texto;
  std::string motor;    // the "mod" rewrite of texto, in 8 bits
  bool aparte = false;  // stands on its own: no NUL, and its brackets balance
};
std::shared_ptr<const ValorVariable> preparaValor(const Cadena& texto);
// Keys in lower case. Values are shared, so a copy of the table is cheap.
using TablaVariables = std::map<Cadena, std::shared_ptr<const ValorVariable>>;

// The names of s replaced as sustituyeVariables does, without copying the
// values' text: a value that stands on its own becomes the engine's
// reference "(" marker index ")" to `valores` (motor.h), which means the same
// as the value written there in brackets; any other value (a NUL, unbalanced
// brackets) is written out in brackets. A marker typed in s becomes "?",
// which means nothing either.
struct ConVariables {
  Cadena texto;
  std::vector<std::shared_ptr<const ValorVariable>> valores;  // each value once
  bool demasiadoLargo = false;  // the values written out passed kMaxCrecimiento
};
// How far values written out may lengthen an expression, in characters.
inline constexpr size_t kMaxCrecimiento = size_t{1} << 22;
ConVariables sustituyeVariables(const Cadena& s, const TablaVariables& tabla);

// Every free-standing "mod" (any case; before and after it the start or end
// of s, or one of " ()[]{}0123456789" and line breaks) becomes "%".
Cadena reescribeMod(const Cadena& s);

struct ExpresionMotor {
  std::string texto;     // "0+(" + s + ")", in 8 bits
  bool decimal = false;  // s was "N(...)": the result goes to ToDecimal
};

// Whether the brackets ()[]{} of s balance on their own.
bool corchetesEquilibrados(const Cadena& s);

// What Eval hands the engine for the prepared, non-empty s. Nothing when the
// brackets of s do not balance on their own, so that they cannot close the
// engine's "0+(" wrapper ("1)+(2").
std::optional<ExpresionMotor> expresionMotor(const Cadena& s);

}  // namespace numbrel
