// The six phrases as stored: enciphered with the affine system of the
// laboratory (y = 37 x + 23 modulo 64 over its 64-symbol alphabet).
#pragma once

#include "kestrin/cadena.h"

namespace kestrin::frases {

inline constexpr int kMultiplicador = 37;
inline constexpr int kDesplazamiento = 23;

inline constexpr VistaCadena kCifradas[] = {
    U"?ofuo4(v<ov<(?v?ofuo4(v<ov<8(?",
    U"r¡vfr¡}ov1(v?ov<8fo",
    U"/e8o1vf¡rr¡vye¡u<¡",
    U"r¡vf8ªu¡vye¡u<¡",
    U"r¡vfr¡}ov(fer4¡",
    U"?ofuo4(v<ov4uo?v<ov4(<(?vo?",
};

// The phrase in capitals and spaces.
Cadena descifra(VistaCadena cifrada);

}  // namespace kestrin::frases
