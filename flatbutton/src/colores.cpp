// System colour numbers mapped onto the roles of a Qt palette.
#include "plankett/colores.h"

namespace plankett {

QColor colorORV(uint32_t valor, const QPalette& paleta) {
  if ((valor & 0x80000000u) == 0) {
    return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
  }
  switch (valor & 0xFF) {
    case 0x01:  // desktop
    case 0x0C:  // application workspace
      return paleta.color(QPalette::Dark);
    case 0x02:  // active caption
    case 0x0D:  // highlight
      return paleta.color(QPalette::Highlight);
    case 0x09:  // caption text
    case 0x0E:  // highlight text
      return paleta.color(QPalette::HighlightedText);
    case 0x04:  // menu
    case 0x05:  // window
      return paleta.color(QPalette::Base);
    case 0x0F:  // button face
      return paleta.color(QPalette::Button);
    case 0x10:  // button shadow
      return paleta.color(QPalette::Dark);
    case 0x11:  // grey text
      return paleta.color(QPalette::Disabled, QPalette::Text);
    case 0x12:  // button text
      return paleta.color(QPalette::ButtonText);
    case 0x14:  // 3-D highlight
      return paleta.color(QPalette::Light);
    case 0x15:  // 3-D dark shadow
      return paleta.color(QPalette::Shadow);
    case 0x16:  // 3-D light
      return paleta.color(QPalette::Midlight);
    case 0x17:  // tooltip text
      return paleta.color(QPalette::ToolTipText);
    case 0x18:  // tooltip background
      return paleta.color(QPalette::ToolTipBase);
    default:  // window text, menu text and the rest
      return paleta.color(QPalette::WindowText);
  }
}

uint32_t valorORV(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<uint32_t>(rgb.red()) | static_cast<uint32_t>(rgb.green()) << 8 |
         static_cast<uint32_t>(rgb.blue()) << 16;
}

}  // namespace plankett
