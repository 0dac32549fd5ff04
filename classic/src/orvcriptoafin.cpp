// Affine cryptosystem.
#include "tarnel/orvcriptoafin.h"

#include "kestrin/errores.h"
#include "kestrin/orvmcd.h"
#include "tarnel/alfabeto.h"

namespace tarnel {

bool ORVCriptoAfin::ClaveValida() const {
  if (multiplicador_ == Moneda()) return false;
  kestrin::ORVmcd euclides;
  euclides.setNumero1(multiplicador_);
  euclides.setNumero2(Moneda(ORVNumCar));
  return euclides.mcd() == Moneda(1);
}

int32_t ORVCriptoAfin::InversoModular(Moneda a) {
  int32_t r = a.resto(ORVNumCar).aLong() % ORVNumCar;
  if (r < 0) r += ORVNumCar;
  kestrin::ORVmcd euclides;
  euclides.setNumero1(Moneda(r));
  euclides.setNumero2(Moneda(ORVNumCar));
  if (euclides.mcd() != Moneda(1)) return 0;
  int32_t inverso = euclides.Coeficiente1().aLong() % ORVNumCar;
  return inverso < 0 ? inverso + ORVNumCar : inverso;
}

Cadena ORVCriptoAfin::transforma(VistaCadena texto, Moneda a, Moneda b) {
  Cadena salida;
  salida.reserve(texto.size());
  for (char32_t c : texto) {
    const int x = alfabeto::valor(c);
    if (x < 0) continue;
    salida.push_back(alfabeto::simbolo((Moneda(x) * a + b).aLong()));
  }
  return salida;
}

// The key is reduced modulo 64 before it multiplies: the symbols are the same
// as with the key as given, and a large key cannot overflow.
void ORVCriptoAfin::Cifra() {
  kestrin::traduceExcepciones([&] {
    if (!ClaveValida()) return;
    const Cadena cifrado = transforma(entrada(TextoOriginal()), multiplicador_.resto(ORVNumCar),
                                      desplazamiento_.resto(ORVNumCar));
    setTextoCifrado(salida(cifrado, kestrin::CSKAfin));
    eventos.Cifrado.lanza();
  });
}

void ORVCriptoAfin::Descifra() {
  kestrin::traduceExcepciones([&] {
    if (!ClaveValida()) return;
    const int32_t inverso = InversoModular(multiplicador_);
    int32_t b = (-desplazamiento_.resto(ORVNumCar) * Moneda(inverso)).aLong() % ORVNumCar;
    if (b < 0) b += ORVNumCar;
    const Cadena claro = transforma(entrada(TextoCifrado()), Moneda(inverso), Moneda(b));
    setTextoOriginal(salida(claro, kestrin::CSKNone));
    eventos.DesCifrado.lanza();
  });
}

}  // namespace tarnel
