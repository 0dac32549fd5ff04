// Screenshots of the laboratory, filled as a student leaves it.
#include "capturas.h"

namespace capturas {

bool periodicos() {
  return true;
}

}  // namespace capturas
