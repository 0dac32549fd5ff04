// What the classical systems' tests share: texts to hand the components, the
// alphabet folding of a text, and the Spanish prose kept beside the tests.
#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "kestrin/orvtexto.h"
#include "tarnel/alfabeto.h"

namespace tarnel::prueba {

using kestrin::ORVTexto;

inline std::shared_ptr<ORVTexto> texto(VistaCadena s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

// The symbols of s that are in the alphabet, folded as the systems fold them.
inline Cadena pliega(VistaCadena s) {
  Cadena r;
  for (char32_t c : s) {
    const int v = alfabeto::valor(c);
    if (v >= 0) r.push_back(alfabeto::simbolo(v));
  }
  return r;
}

// A UTF-8 file of tests/data (the tests run in the library folder).
inline Cadena datos(const char* nombre) {
  std::ifstream fichero(std::string("tests/data/") + nombre, std::ios::binary);
  std::stringstream contenido;
  contenido << fichero.rdbuf();
  return kestrin::desdeUtf8(contenido.str());
}

// Spanish prose the shipped statistics never saw (the end of the corpus they
// leave out, without the lines that also occur before it), folded.
inline Cadena reservado() {
  return pliega(datos("es_reservado.txt"));
}

}  // namespace tarnel::prueba
