// Conversions of untyped values.
#include "kestrin/variante.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "kestrin/errores.h"

namespace kestrin {
namespace {

// Reads a whole text as a decimal number: optional spaces, sign, digits with
// one decimal point or comma, optional exponent. False when it is not one.
bool leeNumero(VistaCadena texto, double& valor) {
  std::string ascii;
  for (char32_t c : texto) {
    if (c >= 0x80) return false;
    ascii.push_back(c == U',' ? '.' : static_cast<char>(c));
  }
  const auto inicio = ascii.find_first_not_of(' ');
  if (inicio == std::string::npos) return false;
  const auto fin = ascii.find_last_not_of(' ');
  ascii = ascii.substr(inicio, fin - inicio + 1);
  // strtod would also take hexadecimal, "inf" and "nan": only decimals here.
  for (char c : ascii) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '+' || c == '-' ||
          c == 'e' || c == 'E')) {
      return false;
    }
  }
  char* fin_lectura = nullptr;
  valor = std::strtod(ascii.c_str(), &fin_lectura);
  return fin_lectura == ascii.c_str() + ascii.size();
}

}  // namespace

bool esNumero(const Variante& v) {
  return std::holds_alternative<int16_t>(v) || std::holds_alternative<int32_t>(v) ||
         std::holds_alternative<float>(v) || std::holds_alternative<double>(v) ||
         std::holds_alternative<Moneda>(v);
}

int32_t aLong(const Variante& v) {
  struct Visitante {
    int32_t operator()(std::monostate) const { return 0; }
    int32_t operator()(bool b) const { return b ? -1 : 0; }
    int32_t operator()(int16_t i) const { return i; }
    int32_t operator()(int32_t i) const { return i; }
    int32_t operator()(float f) const { return kestrin::aLong(static_cast<double>(f)); }
    int32_t operator()(double d) const { return kestrin::aLong(d); }
    int32_t operator()(Moneda m) const { return m.aLong(); }
    int32_t operator()(const Cadena& c) const {
      double valor = 0;
      if (!leeNumero(c, valor)) throw ErrorTipos();
      return kestrin::aLong(valor);
    }
    int32_t operator()(const std::shared_ptr<Objeto>&) const { throw ErrorTipos(); }
  };
  return std::visit(Visitante{}, v);
}

}  // namespace kestrin
