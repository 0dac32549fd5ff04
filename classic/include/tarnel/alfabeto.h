// The 64-symbol working alphabet and the folding of any character onto it.
#pragma once

#include <array>
#include <cstdint>

#include "kestrin/cadena.h"

namespace tarnel {

using kestrin::Cadena;
using kestrin::VistaCadena;

enum ORVConstantes : int32_t { ORVNumCar = 64 };

// Symbol values are positions in Alfabeto; "·" stands for the space.
inline constexpr VistaCadena Alfabeto =
    U"·abcdefghijklmnñopqrstuvwxyz0123456789@(){}<>=+-*/%&ºª,;.:¿?¡!'\"";
// The symbols by expected frequency in Spanish text.
inline constexpr VistaCadena AlfabetoFrecuencias =
    U"·aeorsnilductmpb,hyqgv.fzjñx-:;k()¿?0123456789!¡{}<>=+*/%&ºª'\"w@";
// The space and the 27 letters by expected frequency (the space is U+0020).
inline constexpr VistaCadena LetrasFrecuentes = U" eaosinrdcltupmgvqbyfhzxjñkw";

namespace alfabeto {

namespace detalle {
// The folding table behind valor(): one entry per Latin-1 character.
extern const std::array<int8_t, 256> kValores;
}  // namespace detalle

// Value 0..63 of a character after folding (case, accents, line breaks,
// brackets), or -1 when it is not in the alphabet. A table lookup, inline
// because every analysis runs it once per character.
inline int valor(char32_t c) { return c < 256 ? detalle::kValores[c] : -1; }

// Value of the first character of a text; the empty text gives 0 ("·").
int valorDeTexto(VistaCadena texto);

// The symbol of a value; the value is taken modulo 64.
inline char32_t simbolo(int valor) { return Alfabeto[static_cast<unsigned>(valor) & 63u]; }

}  // namespace alfabeto
}  // namespace tarnel
