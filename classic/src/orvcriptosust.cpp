// Substitution cryptosystem.
#include "tarnel/orvcriptosust.h"

#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "tarnel/alfabeto.h"

namespace tarnel {
namespace {

const Cadena kNoKey(1, kestrin::ORVW::kNoKey);

// The table index of a key argument: a text's first character folded onto the
// alphabet (-1 when it is not there), or a number converted to 32 bits.
int32_t indice(const Variante& argumento) {
  if (const auto* texto = std::get_if<Cadena>(&argumento)) return alfabeto::valorDeTexto(*texto);
  return kestrin::aLong(argumento);
}

}  // namespace

ORVCriptoSust::ORVCriptoSust() {
  clave_.fill(kNoKey);
  claveInv_.fill(kNoKey);
}

Cadena ORVCriptoSust::lee(const Tabla& tabla, const Variante& argumento) {
  const int32_t i = indice(argumento);
  if (i >= 0 && i < ORVNumCar) return tabla[i];
  if (std::holds_alternative<Cadena>(argumento)) return Cadena();
  throw kestrin::ErrorSubindice();
}

Cadena ORVCriptoSust::Clave(const Variante& carOrig) const { return lee(clave_, carOrig); }

Cadena ORVCriptoSust::ClaveInv(const Variante& carCod) const { return lee(claveInv_, carCod); }

void ORVCriptoSust::setClave(const Variante& carOrig, VistaCadena texto) {
  const int32_t i = indice(carOrig);
  if (i < 0 || i >= ORVNumCar) throw kestrin::ErrorSubindice();
  clave_[i] = Cadena(texto);
  ConstruyeInversa();
}

void ORVCriptoSust::ConstruyeInversa() {
  kestrin::traduceExcepciones([&] {
    claveInv_.fill(kNoKey);
    // In increasing order, so that when two symbols share a cipher symbol the
    // higher one keeps the inverse entry.
    for (int i = 0; i < ORVNumCar; ++i) {
      if (clave_[i] == kNoKey) continue;
      const int cifrado = alfabeto::valorDeTexto(clave_[i]);
      if (cifrado >= 0) claveInv_[cifrado] = Cadena(1, alfabeto::simbolo(i));
    }
  });
}

Cadena ORVCriptoSust::sustituye(const Tabla& tabla, VistaCadena texto) {
  Cadena salida;
  salida.reserve(texto.size());
  for (char32_t c : texto) {
    const int v = alfabeto::valor(c);
    if (v >= 0) salida += tabla[v];
  }
  return salida;
}

void ORVCriptoSust::Cifra() {
  kestrin::traduceExcepciones([&] {
    setTextoCifrado(salida(sustituye(clave_, entrada(TextoOriginal())), kestrin::CSKSust));
    eventos.Cifrado.lanza();
  });
}

void ORVCriptoSust::Descifra() {
  kestrin::traduceExcepciones([&] {
    setTextoOriginal(salida(sustituye(claveInv_, entrada(TextoCifrado())), kestrin::CSKNone));
    eventos.DesCifrado.lanza();
  });
}

}  // namespace tarnel
