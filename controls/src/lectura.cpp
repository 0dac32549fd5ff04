// Decoding of text files: UTF-8 when it is clearly UTF-8, else the code page.
#include "lectura.h"

#include "kestrin/cadena.h"

namespace pemmick::detalle {

bool esUtf8MultiByte(std::string_view bytes) {
  bool multiByte = false;
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t largo;
    char32_t minimo;
    char32_t cp;
    if ((b & 0xE0) == 0xC0) {
      largo = 2, minimo = 0x80, cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      largo = 3, minimo = 0x800, cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      largo = 4, minimo = 0x10000, cp = b & 0x07;
    } else {
      return false;
    }
    if (n - i < largo) return false;
    for (size_t k = 1; k < largo; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    multiByte = true;
    i += largo;
  }
  return multiByte;
}

QString decodifica(const QByteArray& bytes) {
  const std::string_view vista(bytes.constData(), static_cast<size_t>(bytes.size()));
  if (esUtf8MultiByte(vista)) return QString::fromUtf8(bytes);
  return QString::fromStdU32String(kestrin::desdeAnsi(vista));
}

}  // namespace pemmick::detalle
