// The 32-bit colour values controls store: an RGB value with red in the low
// byte, or 0x80000000 + n for the platform's system colour n, taken here from
// the widget's palette.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace plankett {

// System colours the controls use by default.
inline constexpr uint32_t kColorCaraBoton = 0x8000000F;       // button face
inline constexpr uint32_t kColorTextoBoton = 0x80000012;      // button text
inline constexpr uint32_t kColorResaltado = 0x8000000D;       // highlight
inline constexpr uint32_t kColorTextoResaltado = 0x8000000E;  // highlight text
inline constexpr uint32_t kColorSombraBoton = 0x80000010;     // button shadow
inline constexpr uint32_t kColorLuz3D = 0x80000014;           // 3-D highlight
inline constexpr uint32_t kColorSombraOscura3D = 0x80000015;  // 3-D dark shadow

// The colour a value names, system colours read from the palette (an unknown
// system colour number reads as the window text colour).
QColor colorORV(uint32_t valor, const QPalette& paleta);

// The value of an RGB colour (alpha is dropped).
uint32_t valorORV(const QColor& color);

}  // namespace plankett
