// The Hill key from a known plain text and its cipher text.
#include "kestrin/errores.h"
#include "tarnel/orvcriptohill.h"

namespace tarnel {

void ORVCriptoHill::BuscaClaves(const std::shared_ptr<ORVTexto>&, const std::shared_ptr<ORVTexto>&) {
  encontradas_.clear();
  masEncontradas_ = false;
}

std::shared_ptr<ORVMatriz> ORVCriptoHill::ClaveEncontrada(int32_t) const {
  throw kestrin::ErrorSubindice();
}

}  // namespace tarnel
