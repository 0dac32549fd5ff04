// Pictures and phrases stored in Kestrin: the dancing figures and six sayings.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "kestrin/cadena.h"
#include "kestrin/objeto.h"

namespace kestrin {

// A picture as a plain value: the GUI turns it into its own image type.
// Pixels are 0xAARRGGBB, row after row from the top-left corner.
struct Imagen {
  int32_t ancho = 0;
  int32_t alto = 0;
  std::vector<uint32_t> pixeles;

  // The pixel at (x, y); raises ErrorSubindice outside the picture.
  uint32_t pixel(int32_t x, int32_t y) const;
  friend bool operator==(const Imagen&, const Imagen&) = default;
};

// The image service. Bitmaps "SHA" … "SHZ", "SHÑ" are 20 × 30 dancing stick
// figures, one per letter, and "SH" is a figure holding a flag; they use the
// 16 colours of the classic palette on a silver background (192, 192, 192),
// the colour the main window draws as transparent. The phrases 1 to 6 are
// stored enciphered and deciphered when read.
class ORVImagen : public Objeto {
 public:
  // The bitmap with that identifier (compared without regard to case, so
  // "shA" is "SHA"), or nothing.
  std::optional<Imagen> Bitmap(VistaCadena id) const;
  // The same figure drawn afresh at `escala` (1 to kEscalaMaxima) pixels per
  // pixel, for high-density screens: the same shapes as the 1:1 picture scaled
  // up, with smooth diagonals. Nothing for another scale.
  std::optional<Imagen> Bitmap(VistaCadena id, int32_t escala) const;
  static constexpr int32_t kEscalaMaxima = 8;
  // Kestrin stores no icons: always nothing.
  std::optional<Imagen> Icon(VistaCadena id) const;
  // Phrase `id` (1 to 6), capital letters and spaces; any other number raises
  // the resource-not-found error (326).
  Cadena Str(int32_t id) const;

  static constexpr int32_t kAncho = 20;
  static constexpr int32_t kAlto = 30;
  static constexpr uint32_t kFondo = 0xFFC0C0C0;  // silver, drawn as transparent
  // The identifiers of the 28 bitmaps, in alphabetical order with "SH" last.
  static std::vector<Cadena> Identificadores();
};

}  // namespace kestrin
