// The controls' shared property-store helpers, under this library's name.
#pragma once

#include "qtcomun/propiedades_qt.h"

namespace pemmick::detalle {
using namespace qtcomun;
}  // namespace pemmick::detalle
