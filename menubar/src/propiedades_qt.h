// The controls' shared property-store helpers, under this library's name.
#pragma once

#include "qtcomun/propiedades_qt.h"

namespace vimbar::detalle {
using namespace qtcomun;
}  // namespace vimbar::detalle
