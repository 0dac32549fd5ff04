// Tagged texts and the tag format "[ORVKey=ddd]".
#include "kestrin/orvtexto.h"

#include <algorithm>
#include <string>

#include "kestrin/errores.h"

namespace kestrin {
namespace etiqueta {
namespace {

constexpr VistaCadena kPalabra = U"[ORVKey";

// The three characters after "=" read as an unsigned or signed decimal integer.
std::optional<int32_t> leeIdentificador(VistaCadena tres) {
  size_t i = 0;
  while (i < tres.size() && tres[i] == U' ') ++i;
  bool negativo = false;
  if (i < tres.size() && (tres[i] == U'+' || tres[i] == U'-')) negativo = tres[i++] == U'-';
  int32_t valor = 0;
  size_t digitos = 0;
  for (; i < tres.size() && tres[i] >= U'0' && tres[i] <= U'9'; ++i, ++digitos) {
    valor = valor * 10 + static_cast<int32_t>(tres[i] - U'0');
  }
  while (i < tres.size() && tres[i] == U' ') ++i;
  if (digitos == 0 || i != tres.size()) return std::nullopt;
  return negativo ? -valor : valor;
}

}  // namespace

std::optional<int32_t> busca(VistaCadena texto, bool sinMayusculas) {
  if (texto.size() < kLongitud) return std::nullopt;
  const VistaCadena cabeza = texto.substr(0, kLongitud);
  if (std::count(cabeza.begin(), cabeza.end(), U'=') != 1) return std::nullopt;
  const size_t igual = cabeza.find(U'=');
  const VistaCadena palabra = cabeza.substr(0, igual);
  const bool coincide =
      sinMayusculas ? igualesSinMayusculas(palabra, kPalabra) : palabra == kPalabra;
  if (!coincide) return std::nullopt;
  return leeIdentificador(cabeza.substr(igual + 1, 3));
}

int32_t lee(VistaCadena texto, bool sinMayusculas) {
  return busca(texto, sinMayusculas).value_or(CSKNone);
}

Cadena escribe(int32_t key) {
  std::string digitos = std::to_string(key < 0 ? -static_cast<int64_t>(key) : key);
  if (digitos.size() < 3) digitos.insert(0, 3 - digitos.size(), '0');
  Cadena tag = U"[ORVKey=";
  if (key < 0) tag += U'-';
  tag.append(digitos.begin(), digitos.end());
  tag += U']';
  return tag;
}

}  // namespace etiqueta

void ORVTexto::setTexto(VistaCadena texto) try {
  // The new string first: a text too large to copy leaves the object as it was.
  const auto key = etiqueta::busca(texto, /*sinMayusculas=*/false);
  auto nuevo = std::make_shared<Cadena>(key ? texto.substr(etiqueta::kLongitud) : texto);
  key_ = key.value_or(CSKNone);
  texto_ = std::move(nuevo);
} catch (...) {
  relanzaComoErrorORV();
}

void ORVTexto::asigna(Cadena texto, int32_t key) try {
  texto_ = std::make_shared<Cadena>(std::move(texto));
  key_ = key;
} catch (...) {
  relanzaComoErrorORV();
}

const std::shared_ptr<Cadena>& ORVTexto::vacia() {
  static const auto vacia = std::make_shared<Cadena>();
  return vacia;
}

void ORVTexto::reemplaza(size_t inicio, size_t quitar, VistaCadena anadido) try {
  const Cadena& actual = *texto_;
  inicio = std::min(inicio, actual.size());
  quitar = std::min(quitar, actual.size() - inicio);
  if (texto_.use_count() == 1) {
    // `anadido` may be a view into this very string: replace through a copy of it then.
    const bool dentro = !anadido.empty() && anadido.data() >= actual.data() &&
                        anadido.data() < actual.data() + actual.size();
    if (dentro) {
      texto_->replace(inicio, quitar, Cadena(anadido));
    } else {
      texto_->replace(inicio, quitar, anadido);
    }
    return;
  }
  Cadena nuevo;
  nuevo.reserve(actual.size() - quitar + anadido.size());
  nuevo.append(actual, 0, inicio);
  nuevo.append(anadido);
  nuevo.append(actual, inicio + quitar);
  texto_ = std::make_shared<Cadena>(std::move(nuevo));
} catch (...) {
  relanzaComoErrorORV();
}

Cadena ORVTexto::KeyText() const try {
  if (key_ == CSKNone) return *texto_;
  return etiqueta::escribe(key_) + *texto_;
} catch (...) {
  relanzaComoErrorORV();
}

}  // namespace kestrin
