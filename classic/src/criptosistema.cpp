// Inputs and outputs of the classical cryptosystems.
#include "tarnel/criptosistema.h"

#include "kestrin/errores.h"

namespace tarnel {

const kestrin::Cadena& Criptosistema::entrada(const std::shared_ptr<ORVTexto>& texto) {
  if (!texto) kestrin::lanzaError(kestrin::kObjetoNoEstablecido);
  return texto->Texto();
}

std::shared_ptr<ORVTexto> Criptosistema::salida(kestrin::Cadena texto, int32_t key) {
  // The result is stored as it is: it is never read as a tag, even when a
  // substitution key happens to produce one.
  auto resultado = std::make_shared<ORVTexto>();
  resultado->asigna(std::move(texto), key);
  return resultado;
}

}  // namespace tarnel
