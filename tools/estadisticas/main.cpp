// estadisticas: the language statistics the solvers use, from a text.
//
//   estadisticas [--excluye-final N] [--ansi] ENTRADA [SALIDA]
//
// Counts the blocks of 1 to 4 symbols of ENTRADA (UTF-8, or Windows-1252
// with --ansi) folded onto the 64-symbol alphabet and writes them in the
// statistics' text form to SALIDA (the standard output without it).
// --excluye-final N leaves out the last N characters (from the start of the
// line they fall in), kept apart to measure the solvers on unseen text.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "kestrin/cadena.h"
#include "kestrin/errores.h"
#include "tarnel/estadisticas.h"

namespace {

int uso() {
  std::cerr << "Uso: estadisticas [--excluye-final N] [--ansi] ENTRADA [SALIDA]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  size_t excluidos = 0;
  bool ansi = false;
  std::string entrada, salida;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--excluye-final" && i + 1 < argc) {
      const std::string n = argv[++i];
      if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos || n.size() > 15) return uso();
      excluidos = std::stoull(n);
    } else if (arg == "--ansi") {
      ansi = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return uso();
    } else if (entrada.empty()) {
      entrada = arg;
    } else if (salida.empty()) {
      salida = arg;
    } else {
      return uso();
    }
  }
  if (entrada.empty()) return uso();
  std::ifstream fichero(entrada, std::ios::binary);
  if (!fichero) {
    std::cerr << "No se puede leer «" << entrada << "».\n";
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(fichero)), std::istreambuf_iterator<char>());
  try {
    const kestrin::Cadena texto = ansi ? kestrin::desdeAnsi(bytes) : kestrin::desdeUtf8(bytes);
    const auto estadisticas = tarnel::EstadisticasLengua::Cuenta(texto, excluidos);
    if (salida.empty()) {
      estadisticas.Escribe(std::cout);
      std::cout.flush();
      if (!std::cout) throw std::runtime_error("");
    } else {
      // Written beside the destination and renamed over it, so that a failed
      // run never leaves half a file where the program looks for one.
      const std::string temporal = salida + ".tmp";
      {
        std::ofstream fuera(temporal, std::ios::binary | std::ios::trunc);
        estadisticas.Escribe(fuera);
        fuera.close();
        if (!fuera) {
          std::remove(temporal.c_str());
          std::cerr << "No se puede escribir «" << salida << "».\n";
          return 1;
        }
      }
      if (std::rename(temporal.c_str(), salida.c_str()) != 0) {
        std::remove(temporal.c_str());
        std::cerr << "No se puede escribir «" << salida << "».\n";
        return 1;
      }
    }
    std::cerr << estadisticas.Total(1) << " símbolos contados; " << estadisticas.Excluidos()
              << " caracteres del final excluidos.\n";
  } catch (const kestrin::ErrorORV& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::exception&) {
    std::cerr << "No se pueden escribir las estadísticas.\n";
    return 1;
  }
  return 0;
}
