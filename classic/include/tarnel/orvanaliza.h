// Text analyser: block counts, index of coincidence, entropy and mutual index.
#pragma once

#include <cstdint>
#include <memory>

#include "kestrin/evento.h"
#include "kestrin/moneda.h"
#include "kestrin/objeto.h"
#include "tarnel/alfabeto.h"
#include "tarnel/orvresultado.h"

namespace tarnel {

using kestrin::Moneda;

// Counts the overlapping blocks of TamBloque symbols of Texto (characters
// outside the alphabet are skipped) and derives IC and Entropia from the
// counts; ICM compares the symbol counts of Texto1 and Texto2. IC and ICM are
// computed when read and cached; a stored 0 means "not computed", so a text
// whose index really is 0 is analysed again at every read.
//
// The text is consumed in pieces of 125 characters: after each one the
// analyser raises Progreso and lets the user interface process pending events
// (kestrin::ProcesaEventos).
class ORVAnaliza : public kestrin::Objeto {
 public:
  ORVAnaliza();

  // Texto and Texto1 are one stored text. Writing any of the texts drops the
  // cached results that depend on it.
  const Cadena& Texto() const { return *texto_; }
  void setTexto(Cadena texto);
  const Cadena& Texto1() const { return *texto_; }
  void setTexto1(Cadena texto) { setTexto(std::move(texto)); }
  const Cadena& Texto2() const { return *texto2_; }
  void setTexto2(Cadena texto);

  // Writing empties the counts (Vacia) and drops the cached IC.
  int32_t TamBloque() const { return tamBloque_; }
  void setTamBloque(int32_t tamBloque);

  // Stored only; an analysis cannot be cancelled.
  bool UserCancel() const { return userCancel_; }
  void setUserCancel(bool cancela) { userCancel_ = cancela; }

  // The counts of the last analysis, sorted by count, largest first. The same
  // object for the life of the analyser.
  const std::shared_ptr<ORVResultado>& Resultado() const { return resultado_; }

  // Index of coincidence of Texto in blocks of TamBloque symbols (four
  // decimals); analyses first when the stored value is 0. A text that starts
  // with a tag is analysed without it. Raises ErrorDesbordamiento for a text
  // longer than 2^31 - 1 characters.
  Moneda IC();
  // The entropy in bits per block left by the last analysis (read IC first).
  Moneda Entropia() const { return entropia_; }
  // Mutual index of coincidence of Texto1 and Texto2 (four decimals):
  // sum over the symbols of count1 * count2 / (Len(Texto1) * Len(Texto2)),
  // the lengths counting every character. 0 when either text is empty.
  Moneda ICM();

  // Empties the counts and raises Fin(0); the cached results stay.
  void Vacia();

  // The arguments are counts of characters. Handlers share one variable, so a
  // change made by one reaches the next, but it never steers the analysis.
  struct Eventos {
    kestrin::Evento<int32_t&> Inicio;
    kestrin::Evento<int32_t&> Progreso;
    kestrin::Evento<int32_t&> Fin;
  } eventos;

 private:
  // Each returns the index it computed, cached only if its inputs are
  // still the same when it ends.
  Moneda Analiza();
  Moneda CalculaICM();

  // Shared with a running analysis, so that a handler or the user interface
  // that writes a new text meanwhile cannot pull it from under the count.
  std::shared_ptr<const Cadena> texto_;
  std::shared_ptr<const Cadena> texto2_;
  bool analizando_ = false;
  int32_t tamBloque_ = 1;
  bool userCancel_ = false;
  std::shared_ptr<ORVResultado> resultado_;
  Moneda ic_;
  Moneda icm_;
  Moneda entropia_;
};

}  // namespace tarnel
