// Tarnel's table of creatable classes.
#include "tarnel/tarnel.h"

namespace tarnel {

std::span<const kestrin::EntradaClase> clases() {
  using kestrin::crea;
  static const kestrin::EntradaClase tabla[] = {
      {"Tarnel.ORVCar", &crea<ORVCar>},
      {"Tarnel.ORVResultado", &crea<ORVResultado>},
      {"Tarnel.ORVItemTexto", &crea<ORVItemTexto>},
      {"Tarnel.ORVCriptoAfin", &crea<ORVCriptoAfin>},
      {"Tarnel.ORVCriptoSust", &crea<ORVCriptoSust>},
  };
  return tabla;
}

void registra() { kestrin::registraClases(clases()); }

}  // namespace tarnel
