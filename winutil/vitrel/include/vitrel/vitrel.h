// Vitrel: transparent pictures over a surface.
//
// CPictureGlass turns a picture into an image with its mask colour made
// transparent, then each Draw puts back the saved background, saves the
// background at the new position and composes the picture over it.
#pragma once

#include <span>

#include "kestrin/objeto.h"
#include "vitrel/cpictureglass.h"

namespace vitrel {

// Vitrel's creatable classes ("Vitrel.CPictureGlass").
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace vitrel
