// The Hill laboratory.
#include "orv/orvcshill.h"

namespace orv {

ORVCSHill::ORVCSHill(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSHill"), QStringLiteral("Criptosistema de Hill"), parent) {}

}  // namespace orv
