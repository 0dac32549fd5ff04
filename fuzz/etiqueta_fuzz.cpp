// Tagged texts: the tag parser of ORVTexto and of the workspace object, the
// tag written back, and the editor's in-place changes of a shared text.
//
// Input: the first byte chooses how the rest becomes characters (code page or
// UTF-8) and seeds the edits; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "comun.h"
#include "kestrin/cadena.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"

namespace {

using kestrin::Cadena;
using kestrin::ORVTexto;

kestrin::ORVW& w() {
  static auto* o = new kestrin::ORVW(kestrin::ORVW::Entorno{});
  return *o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  if (tamano == 0) return 0;
  const uint8_t modo = datos[0];
  const std::string_view bytes(reinterpret_cast<const char*>(datos + 1), tamano - 1);
  const Cadena texto = (modo & 1) ? kestrin::desdeUtf8(bytes) : kestrin::desdeAnsi(bytes);

  orvfuzz::protege([&] {
    ORVTexto t;
    t.setTexto(texto);
    const auto etiqueta = kestrin::etiqueta::busca(texto, false);
    if (etiqueta) {
      ORV_EXIGE(t.Key() == *etiqueta);
      ORV_EXIGE(t.Texto() == texto.substr(kestrin::etiqueta::kLongitud));
    } else {
      ORV_EXIGE(t.Key() == kestrin::CSKNone);
      ORV_EXIGE(t.Texto() == texto);
    }
    // A tag of three digits is read back as written, with the same text.
    if (t.Key() >= 0 && t.Key() <= 999 && t.Key() != kestrin::CSKNone) {
      ORVTexto otra;
      otra.setTexto(t.KeyText());
      ORV_EXIGE(otra.Key() == t.Key());
      ORV_EXIGE(otra.Texto() == t.Texto());
    }

    // The workspace helpers: the tag word in any case.
    const int32_t clave = w().CSKey(texto);
    if (etiqueta) ORV_EXIGE(clave == *etiqueta);
    const Cadena solo = w().CSText(texto);
    ORV_EXIGE(solo.size() <= texto.size());
    for (const int32_t k : {int32_t{kestrin::CSKNone}, int32_t{kestrin::CSKVig}, int32_t{modo % 200}}) {
      Cadena b = texto;
      w().setCSKey(b, k);
      if (k != kestrin::CSKNone) {
        ORV_EXIGE(w().CSKey(b) == k);
        ORV_EXIGE(w().CSText(b) == solo);
      } else {
        ORV_EXIGE(b == solo);
      }
    }

    // The editor's changes: a snapshot someone holds never changes, and the
    // text is what replacing in a plain string gives.
    Cadena modelo = t.Texto();
    for (size_t paso = 0; paso < 4; ++paso) {
      const size_t inicio = (modo * 7u + paso * 13u) % (modelo.size() + 3);
      const size_t quitar = (modo >> 2) % 5 + paso;
      const Cadena anadido = texto.substr(0, (modo >> 4) % 4 + paso);
      const auto retenida = paso % 2 ? t.TextoCompartido() : nullptr;
      const Cadena copia = retenida ? *retenida : Cadena();
      // Half the time the added characters are a view into the text itself.
      if (paso == 2 && !t.Texto().empty()) {
        const Cadena& propio = t.Texto();
        const kestrin::VistaCadena vista(propio.data(), std::min<size_t>(propio.size(), 3));
        const Cadena esperado(vista);
        const size_t i = std::min(inicio, modelo.size());
        modelo.replace(i, std::min(quitar, modelo.size() - i), esperado);
        t.reemplaza(inicio, quitar, vista);
      } else {
        const size_t i = std::min(inicio, modelo.size());
        modelo.replace(i, std::min(quitar, modelo.size() - i), anadido);
        t.reemplaza(inicio, quitar, anadido);
      }
      ORV_EXIGE(t.Texto() == modelo);
      if (retenida) ORV_EXIGE(*retenida == copia);
    }
  });
  return 0;
}
