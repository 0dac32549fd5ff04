// The text box's file decoder: UTF-8 detection, the code page, and the
// characters' way to Qt's strings and back.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

#include "comun.h"
#include "kestrin/cadena.h"
#include "lectura.h"

namespace {

namespace detalle = pemmick::detalle;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
  const std::string_view vista(bytes.constData(), tamano);

  orvfuzz::protege([&] {
    const bool utf8 = detalle::esUtf8MultiByte(vista);
    const QString leido = detalle::decodifica(bytes);
    if (utf8) {
      // Nothing of a UTF-8 file is lost or replaced.
      ORV_EXIGE(leido.toUtf8() == bytes);
      ORV_EXIGE(!leido.contains(QChar(QChar::ReplacementCharacter)) ||
                bytes.contains("\xEF\xBF\xBD"));
    } else {
      // One character per byte, the code page's.
      ORV_EXIGE(leido.size() == bytes.size());
      for (qsizetype i = 0; i < bytes.size(); ++i) {
        ORV_EXIGE(leido.at(i).unicode() ==
                  kestrin::caracterAnsi(static_cast<uint8_t>(bytes.at(i))));
      }
      // What the box saves (the code page) it reads back the same, unless
      // those bytes happen to be UTF-8.
      const std::string guardado = kestrin::aAnsi(detalle::aCadena(leido));
      if (!detalle::esUtf8MultiByte(guardado)) {
        ORV_EXIGE(detalle::decodifica(QByteArray::fromStdString(guardado)) == leido);
      }
    }
    // Characters to Qt's strings and back lose nothing of a decoded text.
    const std::u32string cadena = detalle::aCadena(leido);
    ORV_EXIGE(detalle::aQString(cadena) == leido);
    // Any code points at all (the bytes read four at a time) become a string
    // without lone halves of a pair.
    std::u32string crudo;
    for (size_t i = 0; i + 4 <= tamano; i += 4) {
      crudo.push_back(static_cast<char32_t>(datos[i] | datos[i + 1] << 8 | datos[i + 2] << 16 |
                                            static_cast<uint32_t>(datos[i + 3]) << 24));
    }
    const QString q = detalle::aQString(crudo);
    const std::u32string vuelta = detalle::aCadena(q);
    ORV_EXIGE(vuelta.size() == crudo.size());
    for (size_t i = 0; i < crudo.size(); ++i) {
      const char32_t c = crudo[i];
      const bool valido = c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
      ORV_EXIGE(vuelta[i] == (valido ? c : char32_t{0xFFFD}));
    }
  });
  return 0;
}
