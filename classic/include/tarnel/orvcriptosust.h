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

  // Breaks TextoCifrado (any leading tag removed) as a substitution of
  // single symbols: hill climbing on the score of blocks of four symbols of
  // the language statistics (EstadisticasEnUso), from the key that pairs
  // the symbols by frequency and then from random changes of the best key
  // found (kReiniciosResuelve climbs at most; the search stops once ten in a
  // row have not improved the best, or after a bounded amount of work, which
  // only a text that no key makes Spanish reaches: random symbols stop within
  // a few seconds). Replaces the whole key: Clave(p) becomes the cipher
  // symbol found for each plain symbol p, "_" for the others (a plain symbol
  // whose cipher symbol does not occur in the text cannot be found). The same
  // text and seed always give the same key. Characters outside the alphabet
  // are dropped. A text longer than kMuestraResuelve symbols is solved on its
  // first kMuestraResuelve, and that key is then improved on the whole text.
  // Raises ErrorORV 326 when the statistics cannot be read.
  static constexpr int32_t kReiniciosResuelve = 40;
  static constexpr int32_t kMuestraResuelve = 10000;
  void Resuelve(int32_t semilla);
  // Mean log-probability per symbol of the text deciphered with the key the
  // last Resuelve found (higher is better); 0 before.
  double PuntuacionResuelta() const { return puntuacion_; }

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
  double puntuacion_ = 0;
};

}  // namespace tarnel
