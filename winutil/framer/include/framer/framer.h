// Framer: frame panels docked around a window's client area.
//
// SetFramer keeps four panels docked to the sides of a window through the
// docking of acoplado.h, which also docks any other child that asks for it
// (the menu bar to the left of the main window, for one).
#pragma once

#include <span>

#include "framer/acoplado.h"
#include "framer/setframer.h"
#include "kestrin/objeto.h"

namespace framer {

// Framer's creatable classes ("Framer.SetFramer").
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace framer
