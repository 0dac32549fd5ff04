// Numbrel's table of creatable classes.
#include "numbrel/numbrel.h"

namespace numbrel {

std::span<const kestrin::EntradaClase> clases() {
  using kestrin::crea;
  static const kestrin::EntradaClase tabla[] = {
      {"Numbrel.ORVBigNum", &crea<ORVBigNum>},
  };
  return tabla;
}

void registra() {
  kestrin::registraClases(clases());
}

}  // namespace numbrel
