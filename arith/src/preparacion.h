// Text preparation of the big-number service: buffer cleaning, variable
// substitution, the "mod" rewrite and the text handed to the engine.
#pragma once

#include <map>
#include <optional>
#include <string>

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

// Every free-standing "mod" (any case; before and after it the start or end
// of s, or one of " ()[]{}0123456789" and line breaks) becomes "%".
Cadena reescribeMod(const Cadena& s);

struct ExpresionMotor {
  std::string texto;     // "0+(" + s + ")", in 8 bits
  bool decimal = false;  // s was "N(...)": the result goes to ToDecimal
};

// What Eval hands the engine for the prepared, non-empty s. Nothing when the
// brackets of s do not balance on their own, so that they cannot close the
// engine's "0+(" wrapper ("1)+(2").
std::optional<ExpresionMotor> expresionMotor(const Cadena& s);

}  // namespace numbrel
