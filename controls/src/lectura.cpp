// Decoding of text files: UTF-8 when it is clearly UTF-8, else the code page.
#include "lectura.h"

#include <array>

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
  // One character per byte through the code page's table, built once.
  static const auto tabla = [] {
    std::array<char16_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = static_cast<char16_t>(kestrin::caracterAnsi(static_cast<uint8_t>(b)));
    return t;
  }();
  QString s(bytes.size(), Qt::Uninitialized);
  QChar* destino = s.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) destino[i] = QChar(tabla[static_cast<uint8_t>(bytes[i])]);
  return s;
}

QString aQString(const std::u32string& texto) {
  QString s(static_cast<qsizetype>(texto.size()), Qt::Uninitialized);
  QChar* d = s.data();
  qsizetype n = 0;
  for (size_t i = 0; i < texto.size(); ++i) {
    const char32_t c = texto[i];
    if (c < 0x10000) {
      d[n++] = (c >= 0xD800 && c <= 0xDFFF) ? QChar(QChar::ReplacementCharacter) : QChar(static_cast<char16_t>(c));
    } else {
      // A pair takes two units: finish the rest the slow way.
      s.truncate(n);
      s.reserve(n + static_cast<qsizetype>(texto.size() - i) * 2);
      for (; i < texto.size(); ++i) {
        const char32_t r = texto[i];
        if (r > 0x10FFFF || (r >= 0xD800 && r <= 0xDFFF)) {
          s += QChar(QChar::ReplacementCharacter);
        } else if (r >= 0x10000) {
          s += QChar(QChar::highSurrogate(r));
          s += QChar(QChar::lowSurrogate(r));
        } else {
          s += QChar(static_cast<char16_t>(r));
        }
      }
      return s;
    }
  }
  return s;
}

std::u32string aCadena(const QString& texto) {
  std::u32string c;
  c.resize(static_cast<size_t>(texto.size()));
  const QChar* o = texto.constData();
  const qsizetype n = texto.size();
  size_t k = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = o[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(o[i + 1].unicode())) {
      c[k++] = QChar::surrogateToUcs4(u, o[i + 1].unicode());
      ++i;
    } else if (QChar::isSurrogate(u)) {
      c[k++] = 0xFFFD;
    } else {
      c[k++] = u;
    }
  }
  c.resize(k);
  return c;
}

}  // namespace pemmick::detalle
