// Generating RSA keys away from the user-interface thread.
#include "orv/generadorrsa.h"

namespace orv {

GeneradorRSA::GeneradorRSA(QObject* parent) : QObject(parent) {}
GeneradorRSA::~GeneradorRSA() = default;

void GeneradorRSA::genera(int) {
  emit fallo(QStringLiteral("La generación de claves aún no está disponible."));
}

}  // namespace orv
