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

void fijaProcesaEventos(std::function<void()> procesa) { gancho() = std::move(procesa); }

void ProcesaEventos() {
  if (const auto& procesa = gancho()) procesa();
}

}  // namespace kestrin
