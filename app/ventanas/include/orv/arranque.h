// Start-up of the laboratory: the class tables of every library, the shared
// workspace object and the hook that lets long work repaint the windows.
#pragma once

#include <memory>

namespace kestrin {
class ORVW;
}

namespace orv {

// Registers the creatable classes of every library the program links
// (Kestrin's own table is always there). Calling it again does no harm.
void registraBibliotecas();

// The program's shared workspace object. The start-up creates it; a caller
// that comes first (a test, a window built alone) gets it created on demand.
kestrin::ORVW& ORVW();
// Replaces the shared object (a test's own environment); null drops it, so the
// next use creates it afresh.
void fijaORVW(std::shared_ptr<kestrin::ORVW> w);

// Installs the hook that long analyses call between pieces of work: it runs
// the pending events of the application.
void instalaProcesaEventos();

}  // namespace orv
