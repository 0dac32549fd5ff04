// The controls' shared translations (colours, keys, mouse) and the twip, under this
// library's name.
#pragma once

#include "qtcomun/medidas.h"
#include "qtcomun/traducciones.h"

namespace pemmick::detalle {
using namespace qtcomun;
}  // namespace pemmick::detalle
