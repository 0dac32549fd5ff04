// Breaking a substitution by hill climbing on the language statistics.
#include "tarnel/orvcriptosust.h"

namespace tarnel {

void ORVCriptoSust::Resuelve(int32_t) {}

}  // namespace tarnel
