// The design-time property store and its text form.
#include "kestrin/propiedades.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kestrin {
namespace {

// Backslash, line breaks and '=' are escaped so that a name or a text fits on
// one line and the first bare '=' ends the name.
std::string escapa(std::string_view s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '\\':
        r += "\\\\";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\r':
        r += "\\r";
        break;
      case '=':
        r += "\\=";
        break;
      default:
        r.push_back(c);
    }
  }
  return r;
}

std::optional<std::string> desescapa(std::string_view s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      r.push_back(s[i]);
      continue;
    }
    if (++i == s.size()) return std::nullopt;
    switch (s[i]) {
      case '\\':
        r.push_back('\\');
        break;
      case 'n':
        r.push_back('\n');
        break;
      case 'r':
        r.push_back('\r');
        break;
      case '=':
        r.push_back('=');
        break;
      default:
        return std::nullopt;
    }
  }
  return r;
}

template <typename T>
std::string numero(T valor) {
  char buffer[64];
  const auto fin = std::to_chars(buffer, buffer + sizeof buffer, valor).ptr;
  return std::string(buffer, fin);
}

template <typename T>
std::optional<T> leeNumero(std::string_view s) {
  T valor{};
  const auto [fin, error] = std::from_chars(s.data(), s.data() + s.size(), valor);
  if (error != std::errc() || fin != s.data() + s.size() || s.empty()) return std::nullopt;
  return valor;
}

std::optional<Variante> leeValor(char tipo, std::string_view s) {
  switch (tipo) {
    case 'e':
      if (!s.empty()) return std::nullopt;
      return Variante{};
    case 'b':
      if (s == "1") return Variante{true};
      if (s == "0") return Variante{false};
      return std::nullopt;
    case 'i':
      if (auto v = leeNumero<int16_t>(s)) return Variante{*v};
      return std::nullopt;
    case 'l':
      if (auto v = leeNumero<int32_t>(s)) return Variante{*v};
      return std::nullopt;
    case 'f':
      if (auto v = leeNumero<float>(s)) return Variante{*v};
      return std::nullopt;
    case 'd':
      if (auto v = leeNumero<double>(s)) return Variante{*v};
      return std::nullopt;
    case 'm':
      if (auto v = leeNumero<int64_t>(s)) return Variante{Moneda::desdeEscalado(*v)};
      return std::nullopt;
    case 's':
      if (auto t = desescapa(s)) return Variante{desdeUtf8(*t)};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

void Propiedades::Escribe(VistaCadena nombre, Variante valor) {
  for (auto& [clave, actual] : pares_) {
    if (igualesSinMayusculas(clave, nombre)) {
      actual = std::move(valor);
      return;
    }
  }
  pares_.emplace_back(Cadena(nombre), std::move(valor));
}

Variante Propiedades::Lee(VistaCadena nombre, const Variante& porDefecto) const {
  lecturas_.emplace_back(nombre);
  for (const auto& [clave, valor] : pares_) {
    if (igualesSinMayusculas(clave, nombre)) return valor;
  }
  return porDefecto;
}

bool Propiedades::Contiene(VistaCadena nombre) const {
  return std::any_of(pares_.begin(), pares_.end(),
                     [&](const auto& par) { return igualesSinMayusculas(par.first, nombre); });
}

std::vector<Cadena> Propiedades::Nombres() const {
  std::vector<Cadena> nombres;
  for (const auto& par : pares_) nombres.push_back(par.first);
  return nombres;
}

void Propiedades::Borra() {
  pares_.clear();
  lecturas_.clear();
}

std::string Propiedades::aTexto() const {
  struct Visitante {
    std::string operator()(std::monostate) const { return "e:"; }
    std::string operator()(bool b) const { return b ? "b:1" : "b:0"; }
    std::string operator()(int16_t i) const { return "i:" + numero(i); }
    std::string operator()(int32_t i) const { return "l:" + numero(i); }
    std::string operator()(float f) const { return "f:" + numero(f); }
    std::string operator()(double d) const { return "d:" + numero(d); }
    std::string operator()(Moneda m) const { return "m:" + numero(m.escalado()); }
    std::string operator()(const Cadena& c) const { return "s:" + escapa(aUtf8(c)); }
    std::string operator()(const std::shared_ptr<Objeto>&) const { return {}; }
  };
  std::string texto;
  for (const auto& [nombre, valor] : pares_) {
    const std::string linea = std::visit(Visitante{}, valor);
    if (linea.empty()) continue;
    texto += escapa(aUtf8(nombre)) + "=" + linea + "\n";
  }
  return texto;
}

std::optional<Propiedades> Propiedades::desdeTexto(std::string_view texto) {
  Propiedades resultado;
  while (!texto.empty()) {
    const size_t salto = texto.find('\n');
    std::string_view linea = texto.substr(0, salto);
    texto = salto == std::string_view::npos ? std::string_view{} : texto.substr(salto + 1);
    if (!linea.empty() && linea.back() == '\r') linea.remove_suffix(1);
    if (linea.empty()) continue;
    // The name ends at the first '=' that is not escaped.
    size_t igual = std::string_view::npos;
    for (size_t i = 0; i < linea.size(); ++i) {
      if (linea[i] == '\\') {
        ++i;
      } else if (linea[i] == '=') {
        igual = i;
        break;
      }
    }
    if (igual == std::string_view::npos || igual == 0) return std::nullopt;
    const auto nombre = desescapa(linea.substr(0, igual));
    const std::string_view resto = linea.substr(igual + 1);
    if (!nombre || resto.size() < 2 || resto[1] != ':') return std::nullopt;
    auto valor = leeValor(resto[0], resto.substr(2));
    if (!valor) return std::nullopt;
    resultado.Escribe(desdeUtf8(*nombre), std::move(*valor));
  }
  return resultado;
}

}  // namespace kestrin
