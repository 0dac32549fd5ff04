// Workspace services: the members every component calls as global functions.
#pragma once

#include <cstdint>

#include "kestrin/cadena.h"
#include "kestrin/objeto.h"

namespace kestrin {

// Tag helpers on plain character strings, the description of each identifier
// and the unassigned-symbol marker.
class ORVW : public Objeto {
 public:
  // Identifier of the tag at the start of `buffer` (tag word in any case), or CSKNone.
  int32_t CSKey(const Cadena& buffer) const;
  // Removes any tag from `buffer`, then puts the tag for `key` in front unless
  // `key` is CSKNone.
  void setCSKey(Cadena& buffer, int32_t key) const;
  // The text after the tag, or `buffer` itself when it carries none.
  Cadena CSText(const Cadena& buffer) const;
  // "Texto en claro", "Cifrado con el criptosistema Afín", ... or "Cifrado desconocido".
  Cadena CSDescription(int32_t key) const;
  // The marker of an unassigned symbol: "_".
  Cadena ORVNoKey() const { return Cadena(1, kNoKey); }

  static constexpr char32_t kNoKey = U'_';
};

}  // namespace kestrin
