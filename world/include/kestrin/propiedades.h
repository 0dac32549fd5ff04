// The design-time property store a window keeps a control's configuration in.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kestrin/cadena.h"
#include "kestrin/variante.h"

namespace kestrin {

// Name → value pairs in the order they were written. Names compare without
// regard to case (minuscula). A control writes each saved property under the
// property's own name and reads it back with its default; the store keeps the
// order of writes and records the order of reads, so a control's order can be
// checked. Values are Variante; objects are kept by reference and are not
// written by aTexto().
class Propiedades {
 public:
  // Stores the value under the name. A name already present keeps its place
  // and takes the new value; a new name goes to the end.
  void Escribe(VistaCadena nombre, Variante valor);

  // The stored value, or porDefecto when the name is absent. Records the read.
  Variante Lee(VistaCadena nombre, const Variante& porDefecto = {}) const;

  bool Contiene(VistaCadena nombre) const;
  // Names in write order.
  std::vector<Cadena> Nombres() const;
  // Names in the order Lee() asked for them since the last OlvidaLecturas().
  const std::vector<Cadena>& Lecturas() const { return lecturas_; }
  void OlvidaLecturas() { lecturas_.clear(); }
  size_t Cuenta() const { return pares_.size(); }
  void Borra();

  // One line per property, "Nombre=tipo:valor", UTF-8, in write order; the
  // kinds are e (Empty), b, i (16-bit), l (32-bit), f, d, m (currency), s
  // (text, escaped). Objects are left out.
  std::string aTexto() const;
  // Reads what aTexto() wrote. Returns nullopt for a malformed line or value;
  // nothing is half-read.
  static std::optional<Propiedades> desdeTexto(std::string_view texto);

 private:
  std::vector<std::pair<Cadena, Variante>> pares_;
  mutable std::vector<Cadena> lecturas_;
};

}  // namespace kestrin
