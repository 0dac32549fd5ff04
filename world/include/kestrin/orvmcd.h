// Extended Euclid with gcd, Bezout coefficients and the number of divisions.
#pragma once

#include <cstdint>

#include "kestrin/moneda.h"
#include "kestrin/objeto.h"

namespace kestrin {

// Results are computed on first read after an input changes. An mcd of 0
// means "not computed yet"; both inputs zero give mcd 1 and coefficients 0.
class ORVmcd : public Objeto {
 public:
  Moneda Numero1() const { return numero1_; }
  void setNumero1(Moneda v);
  Moneda Numero2() const { return numero2_; }
  void setNumero2(Moneda v);

  // Raise ErrorDesbordamiento if a step leaves the currency range.
  Moneda mcd();
  Moneda Coeficiente1();
  Moneda Coeficiente2();
  // Division steps of the last computation with both inputs non-zero.
  int16_t NumDivisiones();

 private:
  void asegura();
  void Calcula();

  Moneda numero1_, numero2_;
  Moneda mcd_, coeficiente1_, coeficiente2_;
  int16_t numDivisiones_ = 0;
};

}  // namespace kestrin
