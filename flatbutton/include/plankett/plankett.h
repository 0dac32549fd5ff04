// Plankett: the flat button.
//
// FlatButton turns pointer events into two flags (over, pressed), paints its
// caption and edges from them, and raises Click on a release that ends a
// press; its properties are saved to and read from a kestrin::Propiedades.
#pragma once

#include "plankett/colores.h"
#include "plankett/flatbutton.h"
