// Halvard's table of creatable classes.
#include "halvard/halvard.h"

namespace halvard {

std::span<const kestrin::EntradaClase> clases() {
  using kestrin::crea;
  static const kestrin::EntradaClase tabla[] = {
      {"Halvard.ORVCriptoRSA", &crea<ORVCriptoRSA>},
      {"Halvard.ORVCriptoMHM", &crea<ORVCriptoMHM>},
  };
  return tabla;
}

void registra() { kestrin::registraClases(clases()); }

}  // namespace halvard
