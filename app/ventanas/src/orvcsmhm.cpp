// The Merkle-Hellman knapsack laboratory.
#include "orv/orvcsmhm.h"

namespace orv {

ORVCSMHM::ORVCSMHM(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSMHM"), QStringLiteral("Criptosistema Merkle-Hellman"),
                  parent) {}

}  // namespace orv
