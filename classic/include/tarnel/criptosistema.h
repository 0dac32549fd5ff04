// The shape the classical cryptosystems share: the two tagged texts.
#pragma once

#include <memory>

#include "kestrin/evento.h"
#include "kestrin/objeto.h"
#include "kestrin/orvtexto.h"

namespace tarnel {

using kestrin::ORVTexto;

// TextoOriginal and TextoCifrado are shared references: assigning stores the
// caller's object; enciphering and deciphering publish new objects and never
// change their input. An empty pointer is "no object".
class Criptosistema : public kestrin::Objeto {
 public:
  const std::shared_ptr<ORVTexto>& TextoOriginal() const { return textoOriginal_; }
  void setTextoOriginal(std::shared_ptr<ORVTexto> texto) { textoOriginal_ = std::move(texto); }
  const std::shared_ptr<ORVTexto>& TextoCifrado() const { return textoCifrado_; }
  void setTextoCifrado(std::shared_ptr<ORVTexto> texto) { textoCifrado_ = std::move(texto); }

 protected:
  // The text of an input; "no object" raises error 91.
  static const kestrin::Cadena& entrada(const std::shared_ptr<ORVTexto>& texto);
  // A new result text with its identifier.
  static std::shared_ptr<ORVTexto> salida(kestrin::Cadena texto, int32_t key);

 private:
  std::shared_ptr<ORVTexto> textoOriginal_ = std::make_shared<ORVTexto>();
  std::shared_ptr<ORVTexto> textoCifrado_ = std::make_shared<ORVTexto>();
};

}  // namespace tarnel
