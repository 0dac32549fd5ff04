// Folding table of the working alphabet.
#include "tarnel/alfabeto.h"

#include <array>

namespace tarnel::alfabeto {
namespace {

// What a character folds to before it is looked up: line breaks and spaces
// become "·", accented vowels lose their accents, brackets and the backslash
// become their alphabet counterparts. Case is folded first.
constexpr char32_t pliega(char32_t c) {
  if (c < 0x80) {
    if (c >= U'A' && c <= U'Z') c += 32;
  } else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
    c += 32;
  }
  switch (c) {
    case U' ': case U'\r': case U'\n': case U'·': return U'·';
    case U'á': case U'à': case U'â': case U'ä': return U'a';
    case U'é': case U'è': case U'ê': case U'ë': return U'e';
    case U'í': case U'ì': case U'î': case U'ï': return U'i';
    case U'ó': case U'ò': case U'ô': case U'ö': return U'o';
    case U'ú': case U'ù': case U'û': case U'ü': return U'u';
    case U'[': return U'(';
    case U']': return U')';
    case U'\\': return U'/';
    default: return c;
  }
}

// Every character the alphabet can fold from lies in Latin-1.
constexpr std::array<int8_t, 256> construyeTabla() {
  std::array<int8_t, 256> tabla{};
  for (char32_t c = 0; c < 256; ++c) {
    const auto posicion = Alfabeto.find(pliega(c));
    tabla[c] = posicion == VistaCadena::npos ? int8_t{-1} : static_cast<int8_t>(posicion);
  }
  return tabla;
}

static_assert(Alfabeto.size() == ORVNumCar);
static_assert(AlfabetoFrecuencias.size() == ORVNumCar);
static_assert(LetrasFrecuentes.size() == 28);

}  // namespace

// Constant-initialised, so it is ready before any static constructor runs.
constinit const std::array<int8_t, 256> detalle::kValores = construyeTabla();

int valorDeTexto(VistaCadena texto) { return texto.empty() ? 0 : valor(texto.front()); }

}  // namespace tarnel::alfabeto
