// The per-user settings the big-number service reads: "Precision" in section
// "Aritmetica" of the application ORV.
//
// On Linux the store is an INI file in the user's folder of the program
// (kestrin::carpetaUsuario()): $XDG_CONFIG_HOME/ORV/ORV.ini, or
// ~/.config/ORV/ORV.ini when that variable is unset or not an absolute path.
// Nothing in the program writes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numbrel {

// The settings file's path, or "" when no home folder is known.
std::string rutaAjustes();

// The value of `clave` in `seccion` of an INI file, trimmed and without
// surrounding quotes; section and key compare without regard to ASCII case.
// Nothing when the file, the section or the key is missing, and when the
// path is not a regular file of a megabyte at most.
std::optional<std::string> leeIni(const std::string& ruta, std::string_view seccion,
                                  std::string_view clave);

// The precision setting as a 32-bit integer: "100" when absent, and when the
// stored text is not a number in range.
int32_t precisionUsuario();

}  // namespace numbrel
