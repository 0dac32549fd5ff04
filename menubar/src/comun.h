// The controls' shared translations, under this library's name; the bar
// draws the button shadow darker than the other controls.
#pragma once

#include "qtcomun/traducciones.h"

namespace vimbar::detalle {

using qtcomun::botones;
using qtcomun::codigoTecla;
using qtcomun::mayusculas;

// Button shadow: dark enough to carry the highlight-text captions.
inline QColor color(uint32_t valor) {
  if (valor == 0x80000010u) return QGuiApplication::palette().color(QPalette::Dark).darker(125);
  return qtcomun::color(valor);
}

}  // namespace vimbar::detalle
