// Resizer: rule-based resizing of a window's controls.
//
// An Autosizer watches its target window's resize events through an event
// filter and applies its rules in the order they were added; each rule reads
// its source's edges and moves and sizes its destinations.
#pragma once

#include <span>

#include "kestrin/objeto.h"
#include "resizer/autosizer.h"

namespace resizer {

// Resizer's creatable classes ("Resizer.Autosizer").
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace resizer
