// Tarnel: the classical cryptosystems and their cryptanalysis.
//
// Every system folds its input onto the 64-symbol alphabet (alfabeto.h),
// works on symbol values modulo 64, and publishes a new tagged text
// (kestrin::ORVTexto) through TextoCifrado or TextoOriginal before raising
// Cifrado or DesCifrado. Frequency results travel as ORVResultado collections.
#pragma once

#include <span>

#include "kestrin/objeto.h"
#include "tarnel/alfabeto.h"
#include "tarnel/orvcar.h"
#include "tarnel/orvcriptoafin.h"
#include "tarnel/orvcriptosust.h"
#include "tarnel/orvresultado.h"

namespace tarnel {

// Tarnel's creatable classes ("Tarnel.ORVCar", ...).
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace tarnel
