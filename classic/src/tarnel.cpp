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
      {"Tarnel.ORVAnaliza", &crea<ORVAnaliza>},
      {"Tarnel.ORVCriptoVigenere", &crea<ORVCriptoVigenere>},
      {"Tarnel.ORVCriptoXOR", &crea<ORVCriptoXOR>},
      {"Tarnel.ORVMatriz", &crea<ORVMatriz>},
      {"Tarnel.ORVCriptoHill", &crea<ORVCriptoHill>},
  };
  return tabla;
}

void registra() { kestrin::registraClases(clases()); }

}  // namespace tarnel
