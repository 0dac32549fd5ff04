// The watch over one big-number call on the thread that makes it: whether it
// has been cancelled, and where the reports of its stages go.
//
// ORVBigNum opens one `Llamada` for each call it receives (calls it makes to
// itself meanwhile share it) and installs it on the calling thread with an
// `AmbitoLlamada`; the engine underneath asks `cancelada()` between steps and
// reports stages with `informa(...)`, without knowing who listens. Without a
// call installed (the engine's own tests) nothing is ever cancelled and
// reports go nowhere.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "kestrin/cadena.h"
#include "numbrel/vigilancia.h"

namespace numbrel::motor {

class Llamada {
 public:
  using Informe = std::function<void(const kestrin::Cadena& etapa, int32_t hecho, int32_t total)>;

  // `vigilancia` (may be null) is the calling thread's watcher; `informe`
  // hears the stages, on the calling thread.
  Llamada(std::shared_ptr<Vigilancia> vigilancia, Informe informe);

  // Any thread.
  void cancela() noexcept { propia_.store(true, std::memory_order_relaxed); }
  // Cancelled by its own flag, by the thread's watcher or by the enclosing call.
  bool cancelada() const noexcept;

  // Passes a stage on when its text differs from the last one passed or when
  // a quarter of a second has gone since; the rest are dropped, so the
  // listeners hear a few reports a second at most.
  void informa(const kestrin::Cadena& etapa, int32_t hecho, int32_t total);

  // Who opened the call (the service instance), so that its members share it.
  const void* dueno = nullptr;

 private:
  friend class AmbitoLlamada;
  std::atomic<bool> propia_{false};
  std::shared_ptr<Vigilancia> vigilancia_;
  Informe informe_;
  const Llamada* padre_ = nullptr;
  kestrin::Cadena ultima_;
  std::chrono::steady_clock::time_point cuando_{};
};

// While it lives, `l` is the current call of this thread (scopes nest).
class AmbitoLlamada {
 public:
  explicit AmbitoLlamada(Llamada& l);
  ~AmbitoLlamada();
  AmbitoLlamada(const AmbitoLlamada&) = delete;
  AmbitoLlamada& operator=(const AmbitoLlamada&) = delete;

 private:
  Llamada* anterior_;
};

// The current call of this thread, or null.
Llamada* llamadaActual() noexcept;

// Whether the current call of this thread has been cancelled (false without one).
bool cancelada() noexcept;

// A stage of the current call (nothing without one). May throw what a
// listener throws.
void informa(const kestrin::Cadena& etapa, int32_t hecho, int32_t total);

}  // namespace numbrel::motor
