// Text preparation of the big-number service (see preparacion.h).
#include "preparacion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "motor.h"

namespace numbrel {
namespace {

bool esLetra(char32_t c) {
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}
bool esDigito(char32_t c) {
  return c >= U'0' && c <= U'9';
}
bool esBlanco(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n';
}
bool esDelimitador(char32_t c) {
  return Cadena(U" ()[]{}0123456789\r\n").find(c) != Cadena::npos;
}
using VistaNombre = std::u32string_view;

char32_t baja(char32_t c) {
  return c >= U'A' && c <= U'Z' ? c + 32 : c;
}

}  // namespace

Cadena limpiaBuffer(const Cadena& s) {
  size_t inicio = 0, fin = std::min(s.find(U'\0'), s.size());
  while (inicio < fin && esBlanco(s[inicio])) ++inicio;
  while (fin > inicio && esBlanco(s[fin - 1])) --fin;
  return s.substr(inicio, fin - inicio);
}

namespace {

// Walks s as the substitution reads it: `nombre(clave, texto)` for each name
// (the key in lower case) and `otro(c)` for every other character.
template <typename Nombre, typename Otro>
void recorreNombres(const Cadena& s, Nombre&& nombre, Otro&& otro) {
  size_t i = 0;
  while (i < s.size()) {
    if (i + 1 < s.size() && esLetra(s[i]) && esDigito(s[i + 1])) {
      size_t fin = i + 1;
      while (fin < s.size() && esDigito(s[fin])) ++fin;
      const VistaNombre texto(s.data() + i, fin - i);
      Cadena clave(texto);
      clave[0] = baja(clave[0]);
      nombre(clave, texto);
      i = fin;
    } else {
      otro(s[i++]);
    }
  }
}

}  // namespace

Cadena sustituyeVariables(const Cadena& s, const std::map<Cadena, Cadena>& tabla) {
  Cadena salida;
  recorreNombres(
      s,
      [&](const Cadena& clave, VistaNombre texto) {
        const auto encontrado = tabla.find(clave);
        if (encontrado == tabla.end()) {
          salida += texto;
        } else {
          salida += U"(" + encontrado->second + U")";
        }
      },
      [&](char32_t c) { salida.push_back(c); });
  return salida;
}

std::shared_ptr<const ValorVariable> preparaValor(const Cadena& texto) {
  auto v = std::make_shared<ValorVariable>();
  v->texto = texto;
  v->motor = kestrin::aAnsi(reescribeMod(texto));
  v->aparte = texto.find(U'\0') == Cadena::npos && corchetesEquilibrados(texto);
  return v;
}

ConVariables sustituyeVariables(const Cadena& s, const TablaVariables& tabla) {
  constexpr char32_t kMarca = static_cast<unsigned char>(motor::kMarcaVariable);
  ConVariables r;
  std::map<const ValorVariable*, size_t> indices;
  const auto sinMarca = [](char32_t c) { return c == kMarca ? U'?' : c; };
  recorreNombres(
      s,
      [&](const Cadena& clave, VistaNombre texto) {
        const auto encontrado = tabla.find(clave);
        if (encontrado == tabla.end()) {
          r.texto += texto;
          return;
        }
        const auto& valor = encontrado->second;
        if (valor->aparte) {
          const auto [entrada, nuevo] = indices.emplace(valor.get(), r.valores.size());
          if (nuevo) r.valores.push_back(valor);
          r.texto += U"(";
          r.texto.push_back(kMarca);
          r.texto += kestrin::desdeAnsi(std::to_string(entrada->second));
          r.texto += U")";
          return;
        }
        if (r.demasiadoLargo || r.texto.size() + valor->texto.size() > s.size() + kMaxCrecimiento) {
          r.demasiadoLargo = true;
          return;
        }
        r.texto += U"(";
        for (char32_t c : valor->texto) r.texto.push_back(sinMarca(c));
        r.texto += U")";
      },
      [&](char32_t c) { r.texto.push_back(sinMarca(c)); });
  if (r.demasiadoLargo) r.texto.clear();
  return r;
}

Cadena reescribeMod(const Cadena& s) {
  Cadena salida;
  size_t i = 0;
  while (i < s.size()) {
    const bool palabra =
        i + 3 <= s.size() && baja(s[i]) == U'm' && baja(s[i + 1]) == U'o' && baja(s[i + 2]) == U'd';
    if (!palabra) {
      salida.push_back(s[i++]);
      continue;
    }
    const bool antes = i == 0 || esDelimitador(s[i - 1]);
    const bool despues = i + 3 == s.size() || esDelimitador(s[i + 3]);
    salida += antes && despues ? Cadena(U"%") : s.substr(i, 3);
    i += 3;
  }
  return salida;
}

bool corchetesEquilibrados(const Cadena& s) {
  std::vector<char32_t> abiertos;
  for (char32_t c : s) {
    if (c == U'(' || c == U'[' || c == U'{') {
      abiertos.push_back(c == U'(' ? U')' : c == U'[' ? U']' : U'}');
    } else if (c == U')' || c == U']' || c == U'}') {
      if (abiertos.empty() || abiertos.back() != c) return false;
      abiertos.pop_back();
    }
  }
  return abiertos.empty();
}

std::optional<ExpresionMotor> expresionMotor(const Cadena& s) {
  ExpresionMotor e;
  Cadena cuerpo = s;
  if (cuerpo.size() >= 3 && (cuerpo[0] == U'N' || cuerpo[0] == U'n') && cuerpo[1] == U'(' &&
      cuerpo.back() == U')') {
    e.decimal = true;
    cuerpo = cuerpo.substr(2, cuerpo.size() - 3);
  }
  if (!corchetesEquilibrados(cuerpo)) return std::nullopt;
  e.texto = kestrin::aAnsi(U"0+(" + cuerpo + U")");
  return e;
}

}  // namespace numbrel
