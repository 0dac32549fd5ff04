// Tag helpers of the workspace object.
#include "kestrin/orvw.h"

#include <array>

#include "kestrin/orvtexto.h"

namespace kestrin {

int32_t ORVW::CSKey(const Cadena& buffer) const {
  return etiqueta::lee(buffer, /*sinMayusculas=*/true);
}

void ORVW::setCSKey(Cadena& buffer, int32_t key) const {
  if (etiqueta::busca(buffer, /*sinMayusculas=*/true)) buffer.erase(0, etiqueta::kLongitud);
  if (key != CSKNone) buffer.insert(0, etiqueta::escribe(key));
}

Cadena ORVW::CSText(const Cadena& buffer) const {
  if (etiqueta::busca(buffer, /*sinMayusculas=*/true)) return buffer.substr(etiqueta::kLongitud);
  return buffer;
}

Cadena ORVW::CSDescription(int32_t key) const {
  static constexpr VistaCadena kPrefijo = U"Cifrado con el criptosistema ";
  switch (key) {
    case CSKNone: return U"Texto en claro";
    case CSKAfin: return Cadena(kPrefijo) + U"Afín";
    case CSKSust: return Cadena(kPrefijo) + U"de sustitución";
    case CSKVig: return Cadena(kPrefijo) + U"de Vigenère";
    case CSKXOR: return Cadena(kPrefijo) + U"XOR";
    case CSKHill: return Cadena(kPrefijo) + U"de Hill";
    case CSKRSA: return Cadena(kPrefijo) + U"RSA";
    case CSKMH: return Cadena(kPrefijo) + U"Merkle-Hellmann";
    default: return U"Cifrado desconocido";
  }
}

}  // namespace kestrin
