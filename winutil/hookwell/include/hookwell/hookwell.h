// Hookwell: window-message interception on Qt widgets.
//
// A SubClas object hooks one widget through a Qt event filter; the filter
// turns the widget's events into message numbers, gives the registered ones
// to the object's WndProc event and lets the rest through. A library-wide
// table keeps one hook per widget.
#pragma once

#include <span>

#include "hookwell/subclas.h"
#include "kestrin/objeto.h"

namespace hookwell {

// Hookwell's creatable classes ("Hookwell.SubClas").
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace hookwell
