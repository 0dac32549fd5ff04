// Tagged texts: a text with the identifier of the cryptosystem that produced it.
#pragma once

#include <cstdint>
#include <memory>
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
// "[ORVKey=ddd]" (case exact); KeyText writes it back. A text too large for
// the memory left raises the classic error 7 and leaves the object as it was.
class ORVTexto : public Objeto {
 public:
  int32_t Key() const { return key_; }
  void setKey(int32_t key) { key_ = key; }

  const Cadena& Texto() const { return *texto_; }
  // The current text as a shared string that never changes while it is
  // held: a change of Texto then replaces it, so a holder keeps a snapshot
  // without copying and can tell whether the text changed by comparing
  // pointers.
  std::shared_ptr<const Cadena> TextoCompartido() const { return texto_; }
  // Replaces `quitar` characters at `inicio` (both clipped to the text) by
  // `anadido`: how an editor passes on one change. The string is changed in
  // place while nobody holds it, so a keystroke in a long text costs no copy;
  // a held string is replaced by a changed copy instead.
  void reemplaza(size_t inicio, size_t quitar, VistaCadena anadido);
  // A tagged string sets Key from the tag and Texto to the rest; any other
  // string sets Key to CSKNone and Texto to the whole string.
  void setTexto(VistaCadena texto);

  // Sets both parts as given, without reading a tag: how a cryptosystem
  // publishes its result.
  void asigna(Cadena texto, int32_t key);

  // Texto for a plain text, otherwise the tag followed by Texto.
  Cadena KeyText() const;

 private:
  int32_t key_ = CSKNone;
  // Never empty; the empty text is one string shared by all, so it is
  // always copied before a change.
  std::shared_ptr<Cadena> texto_ = vacia();
  static const std::shared_ptr<Cadena>& vacia();
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
