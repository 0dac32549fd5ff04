// The watch over one big-number call (see llamada.h).
#include "llamada.h"

#include <flint/flint.h>

#include <utility>

namespace numbrel::motor {
namespace {

thread_local Llamada* actual = nullptr;

constexpr auto kEntreInformes = std::chrono::milliseconds(250);

// FLINT keeps caches for each thread (integers, primes) that only
// flint_cleanup frees: a thread that made a call frees them when it ends,
// since the service's calls now run on the windows' worker threads too.
void limpiaFlintAlAcabarElHilo() {
  struct Limpieza {
    ~Limpieza() { flint_cleanup(); }
  };
  thread_local Limpieza limpieza;
  static_cast<void>(limpieza);
}

}  // namespace

Llamada::Llamada(std::shared_ptr<Vigilancia> vigilancia, Informe informe)
    : vigilancia_(std::move(vigilancia)), informe_(std::move(informe)) {
  limpiaFlintAlAcabarElHilo();
}

bool Llamada::cancelada() const noexcept {
  for (const Llamada* l = this; l != nullptr; l = l->padre_) {
    if (l->propia_.load(std::memory_order_relaxed)) return true;
    if (l->vigilancia_ && l->vigilancia_->cancelada()) return true;
  }
  return false;
}

void Llamada::informa(const kestrin::Cadena& etapa, int32_t hecho, int32_t total) {
  const auto ahora = std::chrono::steady_clock::now();
  if (etapa == ultima_ && ahora - cuando_ < kEntreInformes) return;
  ultima_ = etapa;
  cuando_ = ahora;
  if (informe_) informe_(etapa, hecho, total);
}

AmbitoLlamada::AmbitoLlamada(Llamada& l) : anterior_(actual) {
  l.padre_ = anterior_;
  actual = &l;
}

AmbitoLlamada::~AmbitoLlamada() {
  actual = anterior_;
}

Llamada* llamadaActual() noexcept {
  return actual;
}

bool cancelada() noexcept {
  return actual != nullptr && actual->cancelada();
}

void informa(const kestrin::Cadena& etapa, int32_t hecho, int32_t total) {
  if (actual != nullptr) actual->informa(etapa, hecho, total);
}

}  // namespace numbrel::motor
