// A value of any of the kinds a component member can take untyped.
#pragma once

#include <cstdint>
#include <memory>
#include <variant>

#include "kestrin/cadena.h"
#include "kestrin/moneda.h"
#include "kestrin/objeto.h"

namespace kestrin {

// Empty, Boolean, 16- and 32-bit integers, single and double floats, currency,
// text, or an object reference (an empty pointer is "no object").
using Variante = std::variant<std::monostate, bool, int16_t, int32_t, float, double, Moneda,
                              Cadena, std::shared_ptr<Objeto>>;

// True for the numeric kinds (integers, floats, currency).
bool esNumero(const Variante& v);

// CLng of a variant: numbers round half to even, Empty is 0, True is -1, a text
// that reads as a number is converted; anything else raises ErrorTipos.
int32_t aLong(const Variante& v);

}  // namespace kestrin
