// Start-up of the laboratory: the class tables of every library, the shared
// workspace object, the hook that lets long work repaint the windows and Qt's
// own texts in Spanish.
#pragma once

#include <memory>

namespace kestrin {
class ORVW;
}
namespace numbrel {
class ORVBigNum;
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

// The program's one big-number service, shared by every window that
// evaluates expressions (so they share one variable table), created at its
// first use.
numbrel::ORVBigNum& BigNum();

// Installs the hook that long analyses call between pieces of work: it runs
// the pending events of the application.
void instalaProcesaEventos();

// Loads Qt's own Spanish texts (the standard dialogs, the text areas' context
// menus, the message boxes' buttons) whatever the user's locale, since the
// whole interface is Spanish. Needs the application object. False when the
// translations are not installed: Qt's English texts stay. Calling it again
// does no harm.
bool instalaTraducciones();

}  // namespace orv
