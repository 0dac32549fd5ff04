// The RSA laboratory.
#include "orv/orvcsrsa.h"

namespace orv {

ORVCSRSA::ORVCSRSA(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSRSA"), QStringLiteral("R.S.A."), parent) {}

}  // namespace orv
