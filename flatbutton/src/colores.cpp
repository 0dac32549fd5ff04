// Colour values under the button's names; the table itself is the controls'
// shared one.
#include "plankett/colores.h"

#include "qtcomun/traducciones.h"

namespace plankett {

QColor colorORV(uint32_t valor, const QPalette& paleta) { return qtcomun::color(valor, paleta); }

uint32_t valorORV(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<uint32_t>(rgb.red()) | static_cast<uint32_t>(rgb.green()) << 8 |
         static_cast<uint32_t>(rgb.blue()) << 16;
}

}  // namespace plankett
