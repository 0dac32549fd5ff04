// How a key symbol combines with a text symbol in a periodic cipher.
#pragma once

#include <array>
#include <cstdint>

#include "tarnel/alfabeto.h"

namespace tarnel {

// Every operation of a periodic cipher on two symbol values, as 64 x 64
// tables indexed [key, shift or first value][symbol value], so that the hot
// loops are lookups whatever the cipher.
struct Combinacion {
  using Tabla = std::array<std::array<uint8_t, ORVNumCar>, ORVNumCar>;

  Tabla cifra;      // [k][v]: v enciphered with the key value k
  Tabla descifra;   // [k][v]: v deciphered with the key value k
  Tabla desplaza;   // [j][v]: v moved back by the shift j
  Tabla primera;    // [x][v]: the key value that enciphers v as x
  Tabla siguiente;  // [p][d]: the key value after p when the next column is shifted by d
  VistaCadena referencia;   // symbols in the order the key proposal assumes
  bool compruebaCoherencia;  // whether shifts of consecutive columns must add up
  int32_t key;               // identifier of the enciphered texts
  // The shape of `desplaza`, which lets the shift search move whole columns
  // of counts at once: v - j, v xor j, or neither.
  enum class Forma { Resta, Xor, Otra } forma;
};

// Builds the tables from one operation per table.
template <typename Cifra, typename Descifra, typename Desplaza, typename Primera,
          typename Siguiente>
constexpr Combinacion construyeCombinacion(Cifra cifra, Descifra descifra, Desplaza desplaza,
                                           Primera primera, Siguiente siguiente,
                                           VistaCadena referencia, bool compruebaCoherencia,
                                           int32_t key) {
  Combinacion c{};
  for (unsigned a = 0; a < ORVNumCar; ++a) {
    for (unsigned b = 0; b < ORVNumCar; ++b) {
      c.cifra[a][b] = static_cast<uint8_t>(cifra(a, b) & 63u);
      c.descifra[a][b] = static_cast<uint8_t>(descifra(a, b) & 63u);
      c.desplaza[a][b] = static_cast<uint8_t>(desplaza(a, b) & 63u);
      c.primera[a][b] = static_cast<uint8_t>(primera(a, b) & 63u);
      c.siguiente[a][b] = static_cast<uint8_t>(siguiente(a, b) & 63u);
    }
  }
  bool resta = true, xor_ = true;
  for (unsigned j = 0; j < ORVNumCar; ++j) {
    for (unsigned v = 0; v < ORVNumCar; ++v) {
      resta = resta && c.desplaza[j][v] == ((v - j) & 63u);
      xor_ = xor_ && c.desplaza[j][v] == (v ^ j);
    }
  }
  c.forma = resta ? Combinacion::Forma::Resta : xor_ ? Combinacion::Forma::Xor : Combinacion::Forma::Otra;
  c.referencia = referencia;
  c.compruebaCoherencia = compruebaCoherencia;
  c.key = key;
  return c;
}

}  // namespace tarnel
