// The controls' shared translations (colours, keys, mouse), under this library's name.
#pragma once

#include "qtcomun/traducciones.h"

namespace pemmick::detalle {
using namespace qtcomun;
}  // namespace pemmick::detalle
