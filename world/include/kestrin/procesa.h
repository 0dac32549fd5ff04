// The hook through which long work lets the user interface process pending events.
//
// The core never depends on a user interface: the program installs a function
// at start-up (one that runs the pending window messages) and long analyses
// call ProcesaEventos() between pieces of work. Without a user interface the
// call does nothing.
#pragma once

#include <functional>

namespace kestrin {

// Installs the hook; an empty function removes it. Called on the user-interface thread.
void fijaProcesaEventos(std::function<void()> procesa);

namespace detalle {
extern bool hayGancho;
void llamaGancho();
}  // namespace detalle

// Runs the installed hook, if any. An exception from the hook reaches the
// caller. Inline: searches call it thousands of times, mostly with no hook.
inline void ProcesaEventos() {
  if (detalle::hayGancho) detalle::llamaGancho();
}

}  // namespace kestrin
