// One character of a text.
#include "tarnel/orvcar.h"

namespace tarnel {

void ORVCar::fija(int valor) {
  valor_ = Moneda(valor);
  texto_ = valor < 0 ? Cadena() : Cadena(1, alfabeto::simbolo(valor));
  valido_ = !texto_.empty() && valor >= 0;
}

void ORVCar::setTexto(VistaCadena texto) { fija(alfabeto::valorDeTexto(texto)); }

void ORVCar::setValor(Moneda valor) { fija(valor.aLong() & 63); }

void ORVCar::setItem(const Variante& valor) {
  if (const auto* texto = std::get_if<Cadena>(&valor)) {
    setTexto(*texto);
  } else if (kestrin::esNumero(valor)) {
    setValor(Moneda(kestrin::aLong(valor)));
  }
}

}  // namespace tarnel
