// The profile reader and writer, on a file's bytes.
//
// Input: the file's bytes, then optionally the byte 0x01 and a write request
// "sección 0x02 clave 0x02 valor" (code page characters). Every section and
// key the file's first lines name is read; the request is written, and what
// the new bytes give is checked against the old.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "comun.h"
#include "kestrin/cadena.h"
#include "perfil.h"

namespace {

using kestrin::Cadena;
using kestrin::VistaCadena;
namespace perfil = kestrin::perfil;

constexpr size_t kMaximo = 2047;
constexpr size_t kMaxConsultas = 24;
// A default no file holds, to tell "missing" from any value.
const Cadena kAusente = U"\x01\x02";

VistaCadena recorta(VistaCadena s) {
  while (!s.empty() && (s.front() == U' ' || s.front() == U'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == U' ' || s.back() == U'\t')) s.remove_suffix(1);
  return s;
}

// Sections and keys named in the file's lines, in a rough reading of the
// format (the reader itself decides what they mean).
std::vector<std::pair<Cadena, Cadena>> consultas(const Cadena& texto) {
  std::vector<std::pair<Cadena, Cadena>> r;
  Cadena seccion;
  size_t inicio = 0;
  while (inicio <= texto.size() && r.size() < kMaxConsultas) {
    size_t fin = texto.find_first_of(U"\r\n", inicio);
    if (fin == Cadena::npos) fin = texto.size();
    const VistaCadena linea = recorta(VistaCadena(texto).substr(inicio, fin - inicio));
    if (!linea.empty() && linea.front() == U'[') {
      seccion = Cadena(linea.substr(1, linea.find(U']') == VistaCadena::npos ? VistaCadena::npos
                                                                                 : linea.find(U']') - 1));
    } else if (const size_t igual = linea.find(U'='); igual != VistaCadena::npos) {
      r.emplace_back(seccion, Cadena(linea.substr(0, igual)));
    }
    inicio = fin + 1;
  }
  return r;
}

bool iguales(VistaCadena a, VistaCadena b) {
  return kestrin::igualesSinMayusculas(recorta(a), recorta(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  const std::string entrada(reinterpret_cast<const char*>(datos), tamano);
  const size_t marca = entrada.find('\x01');
  const std::string fichero = entrada.substr(0, marca);

  orvfuzz::protege([&] {
    const Cadena texto = kestrin::desdeAnsi(fichero);
    const auto lista = consultas(texto);
    for (const auto& [seccion, clave] : lista) {
      const Cadena todo = perfil::leeEn(fichero, seccion, clave, kAusente, kMaximo);
      ORV_EXIGE(todo.size() <= kMaximo);
      // A smaller buffer gives the start of the same value.
      const Cadena corto = perfil::leeEn(fichero, seccion, clave, kAusente, 3);
      ORV_EXIGE(todo.substr(0, 3) == corto);
    }
    if (marca == std::string::npos) return;

    const std::string peticion = entrada.substr(marca + 1);
    const size_t a = peticion.find('\x02');
    const size_t b = a == std::string::npos ? a : peticion.find('\x02', a + 1);
    if (b == std::string::npos) return;
    const Cadena seccion = kestrin::desdeAnsi(peticion.substr(0, a));
    const Cadena clave = kestrin::desdeAnsi(peticion.substr(a + 1, b - a - 1));
    const Cadena valor = kestrin::desdeAnsi(peticion.substr(b + 1));
    const auto nuevo = perfil::cambiaEn(&fichero, seccion, clave, valor);
    if (!nuevo) return;

    // The value written is the value read, as the reader gives values back:
    // without outer blanks and one pair of enclosing quotes.
    VistaCadena esperado = recorta(valor);
    if (esperado.size() >= 2 && (esperado.front() == U'"' || esperado.front() == U'\'') &&
        esperado.back() == esperado.front()) {
      esperado = esperado.substr(1, esperado.size() - 2);
    }
    ORV_EXIGE(perfil::leeEn(*nuevo, seccion, clave, kAusente, kMaximo) ==
              Cadena(esperado.substr(0, kMaximo)));
    // Every other entry reads as before.
    for (const auto& [s, k] : lista) {
      if (iguales(s, seccion) && iguales(k, clave)) continue;
      ORV_EXIGE(perfil::leeEn(fichero, s, k, kAusente, kMaximo) ==
                perfil::leeEn(*nuevo, s, k, kAusente, kMaximo));
    }
    // Writing the same again changes nothing.
    const auto otra = perfil::cambiaEn(&*nuevo, seccion, clave, valor);
    ORV_EXIGE(otra && *otra == *nuevo);
    // A file that did not exist yet gets the entry the same way (in the
    // code page, which a UTF-8 file's characters need not fit).
    const auto solo = perfil::cambiaEn(nullptr, seccion, clave, valor);
    if (!fichero.starts_with("\xEF\xBB\xBF")) ORV_EXIGE(solo.has_value());
    if (solo) {
      ORV_EXIGE(perfil::leeEn(*solo, seccion, clave, kAusente, kMaximo) ==
                Cadena(esperado.substr(0, kMaximo)));
    }
  });
  return 0;
}
