// Text preparation of the big-number service (see preparacion.h).
#include "preparacion.h"

#include <algorithm>
#include <vector>

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

Cadena sustituyeVariables(const Cadena& s, const std::map<Cadena, Cadena>& tabla) {
  Cadena salida;
  size_t i = 0;
  while (i < s.size()) {
    if (i + 1 < s.size() && esLetra(s[i]) && esDigito(s[i + 1])) {
      size_t fin = i + 1;
      while (fin < s.size() && esDigito(s[fin])) ++fin;
      const Cadena nombre = s.substr(i, fin - i);
      Cadena clave = nombre;
      clave[0] = baja(clave[0]);
      const auto encontrado = tabla.find(clave);
      salida += encontrado == tabla.end() ? nombre : U"(" + encontrado->second + U")";
      i = fin;
    } else {
      salida.push_back(s[i++]);
    }
  }
  return salida;
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

std::optional<ExpresionMotor> expresionMotor(const Cadena& s) {
  ExpresionMotor e;
  Cadena cuerpo = s;
  if (cuerpo.size() >= 3 && (cuerpo[0] == U'N' || cuerpo[0] == U'n') && cuerpo[1] == U'(' &&
      cuerpo.back() == U')') {
    e.decimal = true;
    cuerpo = cuerpo.substr(2, cuerpo.size() - 3);
  }
  std::vector<char32_t> abiertos;
  for (char32_t c : cuerpo) {
    if (c == U'(' || c == U'[' || c == U'{') {
      abiertos.push_back(c == U'(' ? U')' : c == U'[' ? U']' : U'}');
    } else if (c == U')' || c == U']' || c == U'}') {
      if (abiertos.empty() || abiertos.back() != c) return std::nullopt;
      abiertos.pop_back();
    }
  }
  if (!abiertos.empty()) return std::nullopt;
  e.texto = kestrin::aAnsi(U"0+(" + cuerpo + U")");
  return e;
}

}  // namespace numbrel
