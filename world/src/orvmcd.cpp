// Extended Euclid in currency arithmetic, as a student traces it by hand.
#include "kestrin/orvmcd.h"

#include <cmath>

namespace kestrin {

void ORVmcd::setNumero1(Moneda v) {
  numero1_ = v;
  mcd_ = Moneda();
}

void ORVmcd::setNumero2(Moneda v) {
  numero2_ = v;
  mcd_ = Moneda();
}

void ORVmcd::asegura() {
  if (mcd_ == Moneda()) Calcula();
}

Moneda ORVmcd::mcd() {
  asegura();
  return mcd_;
}

Moneda ORVmcd::Coeficiente1() {
  asegura();
  return coeficiente1_;
}

Moneda ORVmcd::Coeficiente2() {
  asegura();
  return coeficiente2_;
}

int16_t ORVmcd::NumDivisiones() {
  asegura();
  return numDivisiones_;
}

void ORVmcd::Calcula() {
  Moneda a = numero1_;
  Moneda b = numero2_;
  const Moneda cero;
  const Moneda s1 = a < cero ? Moneda(-1) : Moneda(1);
  const Moneda s2 = b < cero ? Moneda(-1) : Moneda(1);
  if (a < cero) a = -a;
  if (b < cero) b = -b;

  if (a == cero && b == cero) {
    coeficiente1_ = cero;
    coeficiente2_ = cero;
    mcd_ = Moneda(1);  // one, so that the result counts as computed
    return;
  }
  if (b == cero) {
    coeficiente1_ = s1;
    coeficiente2_ = cero;
    mcd_ = a;
    return;
  }
  if (a == cero) {
    coeficiente1_ = cero;
    coeficiente2_ = s2;
    mcd_ = b;
    return;
  }

  Moneda x0(1), y0(0), x1(0), y1(1);
  int16_t n = 0;
  while (b > cero) {
    ++n;
    Moneda q = Moneda::desdeDouble(std::floor(a.aDouble() / b.aDouble()));
    Moneda r = a - q * b;
    // The double quotient is exact for whole values; with fractions it can
    // land one too high, which would end the loop with a negative remainder.
    if (r < cero) {
      q -= Moneda(1);
      r += b;
    }
    const Moneda x2 = x0 - q * x1;
    x0 = x1;
    x1 = x2;
    const Moneda y2 = y0 - q * y1;
    y0 = y1;
    y1 = y2;
    a = b;
    b = r;
  }
  coeficiente1_ = s1 * x0;
  coeficiente2_ = s2 * y0;
  mcd_ = a;
  numDivisiones_ = n;
}

}  // namespace kestrin
