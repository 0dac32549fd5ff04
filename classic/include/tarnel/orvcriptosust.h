// Monoalphabetic substitution with a partial key and its inverse table.
#pragma once

#include <array>

#include "kestrin/variante.h"
#include "tarnel/alfabeto.h"
#include "tarnel/criptosistema.h"

namespace tarnel {

using kestrin::Variante;

// Clave holds, for each symbol value, the text that replaces it, or "_" when
// unassigned; ClaveInv is rebuilt after every change. An index is a character
// (folded onto the alphabet) or a number 0..63.
class ORVCriptoSust : public Criptosistema {
 public:
  ORVCriptoSust();

  // An invalid character reads as the empty text; a number outside 0..63
  // raises ErrorSubindice.
  Cadena Clave(const Variante& carOrig) const;
  // Stores `texto` unchanged; an index outside the alphabet raises ErrorSubindice.
  void setClave(const Variante& carOrig, VistaCadena texto);
  Cadena ClaveInv(const Variante& carCod) const;

  // Enciphers TextoOriginal into a new TextoCifrado tagged CSKSust, then raises Cifrado.
  void Cifra();
  // Deciphers TextoCifrado into a new TextoOriginal tagged CSKNone, then raises DesCifrado.
  void Descifra();

  struct Eventos {
    kestrin::Evento<> Cifrado;
    kestrin::Evento<> DesCifrado;
  } eventos;

 private:
  using Tabla = std::array<Cadena, ORVNumCar>;
  void ConstruyeInversa();
  static Cadena lee(const Tabla& tabla, const Variante& indice);
  static Cadena sustituye(const Tabla& tabla, VistaCadena texto);

  Tabla clave_;
  Tabla claveInv_;
};

}  // namespace tarnel
