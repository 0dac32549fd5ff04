// Linkmere's table of creatable classes.
#include "linkmere/linkmere.h"

namespace linkmere {

std::span<const kestrin::EntradaClase> clases() {
  static const kestrin::EntradaClase tabla[] = {
      {"Linkmere.connection", &kestrin::crea<connection>},
  };
  return tabla;
}

}  // namespace linkmere
