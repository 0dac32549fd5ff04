// Conversions between the core's text type, UTF-8 and Windows-1252.
#include "kestrin/cadena.h"

#include <array>

namespace kestrin {
namespace {

constexpr char32_t kReemplazo = 0xFFFD;

// Characters of Windows-1252 codes 0x80..0x9F; the five undefined codes keep
// the C1 control of the same number, as the platform's conversion does.
constexpr std::array<char32_t, 32> kAnsi80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

Cadena desdeUtf8(std::string_view utf8) {
  Cadena salida;
  salida.reserve(utf8.size());
  size_t i = 0;
  const size_t n = utf8.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {
      salida.push_back(b0);
      ++i;
      continue;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t minimo = 0;
    if ((b0 & 0xE0) == 0xC0) {
      extra = 1, c = b0 & 0x1F, minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, c = b0 & 0x0F, minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, c = b0 & 0x07, minimo = 0x10000;
    } else {
      salida.push_back(kReemplazo);
      ++i;
      continue;
    }
    bool valido = true;
    for (int k = 1; valido && k <= extra; ++k) {
      if (i + k >= n) {
        valido = false;
        break;
      }
      const auto b = static_cast<unsigned char>(utf8[i + k]);
      if ((b & 0xC0) != 0x80) {
        valido = false;
        break;
      }
      c = (c << 6) | (b & 0x3F);
    }
    if (!valido || c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      salida.push_back(kReemplazo);
      ++i;
      continue;
    }
    salida.push_back(c);
    i += extra + 1;
  }
  return salida;
}

std::string aUtf8(VistaCadena texto) {
  std::string salida;
  salida.reserve(texto.size());
  for (char32_t c : texto) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReemplazo;
    if (c < 0x80) {
      salida.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      salida.push_back(static_cast<char>(0xC0 | (c >> 6)));
      salida.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      salida.push_back(static_cast<char>(0xE0 | (c >> 12)));
      salida.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      salida.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      salida.push_back(static_cast<char>(0xF0 | (c >> 18)));
      salida.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      salida.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      salida.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return salida;
}

char32_t caracterAnsi(uint8_t codigo) {
  return (codigo >= 0x80 && codigo < 0xA0) ? kAnsi80[codigo - 0x80] : char32_t{codigo};
}

uint8_t codigoAnsi(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
  for (size_t i = 0; i < kAnsi80.size(); ++i) {
    if (kAnsi80[i] == c) return static_cast<uint8_t>(0x80 + i);
  }
  return '?';
}

Cadena desdeAnsi(std::string_view bytes) {
  Cadena salida;
  salida.reserve(bytes.size());
  for (char b : bytes) salida.push_back(caracterAnsi(static_cast<uint8_t>(b)));
  return salida;
}

std::string aAnsi(VistaCadena texto) {
  std::string salida;
  salida.reserve(texto.size());
  for (char32_t c : texto) salida.push_back(static_cast<char>(codigoAnsi(c)));
  return salida;
}

char32_t minuscula(char32_t c) {
  if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // Latin-1 capitals, Ñ and accents
  switch (c) {
    case 0x0152: return 0x0153;  // Œ
    case 0x0160: return 0x0161;  // Š
    case 0x017D: return 0x017E;  // Ž
    case 0x0178: return 0x00FF;  // Ÿ
    default: return c;
  }
}

Cadena enMinusculas(VistaCadena texto) {
  Cadena salida(texto);
  for (char32_t& c : salida) c = minuscula(c);
  return salida;
}

bool igualesSinMayusculas(VistaCadena a, VistaCadena b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (minuscula(a[i]) != minuscula(b[i])) return false;
  }
  return true;
}

}  // namespace kestrin
