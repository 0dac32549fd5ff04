// A small INI reader for the per-user settings (see ajustes.h).
#include "ajustes.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "kestrin/cadena.h"
#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "kestrin/variante.h"

namespace numbrel {
namespace {

constexpr std::uintmax_t kTamanoMaximo = 1 << 20;

std::string_view recorta(std::string_view s) {
  const auto inicio = s.find_first_not_of(" \t\r\n");
  if (inicio == std::string_view::npos) return {};
  return s.substr(inicio, s.find_last_not_of(" \t\r\n") - inicio + 1);
}

bool igualesAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto baja = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (baja(a[i]) != baja(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string rutaAjustes() {
  const kestrin::Cadena carpeta = kestrin::carpetaUsuario();
  if (carpeta.empty()) return {};
  return kestrin::aUtf8(carpeta) + "/ORV.ini";
}

std::optional<std::string> leeIni(const std::string& ruta, std::string_view seccion,
                                  std::string_view clave) {
  // A settings file is a few lines: a device, a pipe (which would block the
  // opening) or a file of megabytes is not one.
  std::error_code error;
  if (!std::filesystem::is_regular_file(ruta, error) ||
      std::filesystem::file_size(ruta, error) > kTamanoMaximo || error) {
    return std::nullopt;
  }
  std::ifstream fichero(ruta);
  if (!fichero) return std::nullopt;
  std::string linea;
  bool dentro = false, primera = true;
  while (std::getline(fichero, linea)) {
    std::string_view l = linea;
    if (primera && l.substr(0, 3) == "\xEF\xBB\xBF") l.remove_prefix(3);  // UTF-8 mark
    primera = false;
    l = recorta(l);
    if (l.empty() || l[0] == ';' || l[0] == '#') continue;
    if (l[0] == '[') {
      const auto cierre = l.find(']');
      dentro = cierre != std::string_view::npos &&
               igualesAscii(recorta(l.substr(1, cierre - 1)), seccion);
      continue;
    }
    const auto igual = l.find('=');
    if (!dentro || igual == std::string_view::npos ||
        !igualesAscii(recorta(l.substr(0, igual)), clave)) {
      continue;
    }
    std::string_view valor = recorta(l.substr(igual + 1));
    if (valor.size() >= 2 && valor.front() == '"' && valor.back() == '"') {
      valor = valor.substr(1, valor.size() - 2);
    }
    return std::string(valor);
  }
  return std::nullopt;
}

int32_t precisionUsuario() {
  constexpr int32_t kPorDefecto = 100;
  const auto texto = leeIni(rutaAjustes(), "Aritmetica", "Precision");
  if (!texto) return kPorDefecto;
  try {
    return kestrin::aLong(kestrin::Variante(kestrin::desdeUtf8(*texto)));
  } catch (const kestrin::ErrorORV&) {
    return kPorDefecto;  // not a number, or beyond 32 bits
  }
}

}  // namespace numbrel
