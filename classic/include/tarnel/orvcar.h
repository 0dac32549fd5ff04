// One character of a text, folded onto the alphabet and turned into a value.
#pragma once

#include "kestrin/moneda.h"
#include "kestrin/objeto.h"
#include "kestrin/variante.h"
#include "tarnel/alfabeto.h"

namespace tarnel {

using kestrin::Moneda;
using kestrin::Variante;

// Writing Texto keeps the first character's symbol; writing Valor reduces it
// modulo 64. A character outside the alphabet gives Valor -1, Texto empty and
// Valido false, never an error.
class ORVCar : public kestrin::Objeto {
 public:
  const Cadena& Texto() const { return texto_; }
  void setTexto(VistaCadena texto);

  Moneda Valor() const { return valor_; }
  // Converts to a 32-bit integer (overflow outside it) and keeps the low six bits.
  void setValor(Moneda valor);

  // Reading gives Texto. Writing a number writes Valor, a text writes Texto;
  // any other kind of value is ignored.
  Variante Item() const { return texto_; }
  void setItem(const Variante& valor);

  bool Valido() const { return valido_; }
  void setValido(bool valido) { valido_ = valido; }

 private:
  void fija(int valor);

  Cadena texto_;
  Moneda valor_;
  bool valido_ = false;
};

}  // namespace tarnel
