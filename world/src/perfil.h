// Initialisation files: reading a value and writing one in place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kestrin/cadena.h"

namespace kestrin::perfil {

// See ORVW::GetProfile.
Cadena lee(VistaCadena seccion, VistaCadena clave, VistaCadena defecto, VistaCadena ruta,
           size_t maximo);

// The same on a file's bytes.
Cadena leeEn(std::string_view bytes, VistaCadena seccion, VistaCadena clave, VistaCadena defecto,
             size_t maximo);

// See ORVW::WriteProfile.
bool escribe(VistaCadena seccion, VistaCadena clave, VistaCadena valor, VistaCadena ruta);

// The new bytes of a file (`bytes`, or null for a file that does not exist
// yet) once `clave` = `valor` is written into `seccion`, or nothing when the
// names or the value cannot be stored, under the same rules.
std::optional<std::string> cambiaEn(const std::string* bytes, VistaCadena seccion,
                                    VistaCadena clave, VistaCadena valor);

}  // namespace kestrin::perfil
