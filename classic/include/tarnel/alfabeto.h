// The 64-symbol working alphabet and the folding of any character onto it.
#pragma once

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

// Value 0..63 of a character after folding (case, accents, line breaks,
// brackets), or -1 when it is not in the alphabet. A table lookup.
int valor(char32_t c);

// Value of the first character of a text; the empty text gives 0 ("·").
int valorDeTexto(VistaCadena texto);

// The symbol of a value; the value is taken modulo 64.
inline char32_t simbolo(int valor) { return Alfabeto[static_cast<unsigned>(valor) & 63u]; }

}  // namespace alfabeto
}  // namespace tarnel
