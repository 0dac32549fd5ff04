// The user-interface hook of long work.
#include "kestrin/procesa.h"

#include <utility>

namespace kestrin {
namespace {

std::function<void()>& gancho() {
  static std::function<void()> unico;
  return unico;
}

}  // namespace

namespace detalle {

bool hayGancho = false;

void llamaGancho() {
  if (const auto& procesa = gancho()) procesa();
}

}  // namespace detalle

void fijaProcesaEventos(std::function<void()> procesa) {
  gancho() = std::move(procesa);
  detalle::hayGancho = static_cast<bool>(gancho());
}

}  // namespace kestrin
