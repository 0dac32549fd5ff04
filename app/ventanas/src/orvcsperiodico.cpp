// The Vigenère and XOR laboratories.
#include "orv/orvcsperiodico.h"

namespace orv {

ORVCSVigenere::ORVCSVigenere(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSVigenere"), QStringLiteral("Criptosistema Vigenère"),
                  parent) {}

ORVCSXOR::ORVCSXOR(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSXOR"), QStringLiteral("Criptosistema XOR simple"), parent) {}

}  // namespace orv
