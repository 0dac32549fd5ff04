// Tagged texts: a text with the identifier of the cryptosystem that produced it.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "kestrin/cadena.h"
#include "kestrin/objeto.h"

namespace kestrin {

// Cryptosystem identifiers, one bit each.
enum ORVCSKey : int32_t {
  CSKNone = 1,
  CSKAfin = 2,
  CSKSust = 4,
  CSKVig = 8,
  CSKXOR = 16,
  CSKHill = 32,
  CSKRSA = 64,
  CSKMH = 128,
  CSKAll = 255,
};

// A text with its identifier. Writing Texto parses a leading tag
// "[ORVKey=ddd]" (case exact); KeyText writes it back.
class ORVTexto : public Objeto {
 public:
  int32_t Key() const { return key_; }
  void setKey(int32_t key) { key_ = key; }

  const Cadena& Texto() const { return texto_; }
  // A tagged string sets Key from the tag and Texto to the rest; any other
  // string sets Key to CSKNone and Texto to the whole string.
  void setTexto(VistaCadena texto);

  // Sets both parts as given, without reading a tag: how a cryptosystem
  // publishes its result.
  void asigna(Cadena texto, int32_t key) {
    texto_ = std::move(texto);
    key_ = key;
  }

  // Texto for a plain text, otherwise the tag followed by Texto.
  Cadena KeyText() const;

 private:
  int32_t key_ = CSKNone;
  Cadena texto_;
};

namespace etiqueta {

inline constexpr size_t kLongitud = 12;

// The identifier of the tag at the start of `texto`, or nothing when there is
// none. `sinMayusculas` compares the tag word without regard to case.
std::optional<int32_t> busca(VistaCadena texto, bool sinMayusculas);
// The same, with CSKNone when there is no tag.
int32_t lee(VistaCadena texto, bool sinMayusculas);

// "[ORVKey=" + the identifier with at least three digits + "]".
Cadena escribe(int32_t key);

}  // namespace etiqueta

}  // namespace kestrin
