// Initialisation files: reading a value and writing one in place.
#pragma once

#include "kestrin/cadena.h"

namespace kestrin::perfil {

// See ORVW::GetProfile.
Cadena lee(VistaCadena seccion, VistaCadena clave, VistaCadena defecto, VistaCadena ruta,
           size_t maximo);

// See ORVW::WriteProfile.
bool escribe(VistaCadena seccion, VistaCadena clave, VistaCadena valor, VistaCadena ruta);

}  // namespace kestrin::perfil
