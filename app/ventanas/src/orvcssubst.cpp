// The substitution laboratory.
#include "orv/orvcssubst.h"

namespace orv {

ORVCSSubst::ORVCSSubst(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSSubst"), QStringLiteral("Criptosistema por sustitución"),
                  parent) {}

}  // namespace orv
