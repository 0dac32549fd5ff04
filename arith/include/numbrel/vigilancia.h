// Vigilancia: how a long big-number call is watched from another thread.
//
// A client that runs service calls away from its interface thread gives that
// thread a `Vigilancia` for as long as an `AmbitoVigilancia` lives there.
// Every call of any ORVBigNum made on the thread meanwhile
// - stops within a fraction of a second once `cancela()` is called (from any
//   thread): its worker processes are killed, the in-process work looks at
//   the flag between steps, and the call answers what it has (see
//   ORVBigNum::Cancela for what each member answers);
// - reports the stages of its long work through `alProgresar`, on the
//   thread doing the call.
// No Qt here: the interface turns these into its own signals.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "kestrin/cadena.h"

namespace numbrel {

class Vigilancia {
 public:
  // Asks the watched calls to stop. Any thread; it stays cancelled.
  void cancela() noexcept { cancelada_.store(true, std::memory_order_relaxed); }
  bool cancelada() const noexcept { return cancelada_.load(std::memory_order_relaxed); }

  // A stage of long work: its Spanish description ("curvas ECM", "criba
  // cuadrática"), the units done and their total (0 when unknown). Called on
  // the thread doing the call, at most a few times a second, never while a
  // lock of the service is held. Set it before the scope opens.
  std::function<void(const kestrin::Cadena& etapa, int32_t hecho, int32_t total)> alProgresar;

 private:
  std::atomic<bool> cancelada_{false};
};

// While it lives, the calls made on this thread answer to `v` (scopes nest:
// the innermost wins, the outer comes back when it goes).
class AmbitoVigilancia {
 public:
  explicit AmbitoVigilancia(std::shared_ptr<Vigilancia> v);
  ~AmbitoVigilancia();
  AmbitoVigilancia(const AmbitoVigilancia&) = delete;
  AmbitoVigilancia& operator=(const AmbitoVigilancia&) = delete;

 private:
  std::shared_ptr<Vigilancia> anterior_;
};

// The watcher of the calls on this thread (null when none).
const std::shared_ptr<Vigilancia>& vigilanciaActual();

}  // namespace numbrel
