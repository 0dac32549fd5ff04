// Tarnel: the classical cryptosystems and their cryptanalysis.
//
// Every system folds its input onto the 64-symbol alphabet (alfabeto.h),
// works on symbol values modulo 64, and publishes a new tagged text
// (kestrin::ORVTexto) through TextoCifrado or TextoOriginal before raising
// Cifrado or DesCifrado. Frequency results travel as ORVResultado collections.
//
// Cryptanalysis: the analyser (ORVAnaliza) counts blocks of a text and
// derives the index of coincidence and the entropy; the periodic ciphers
// (Vigenère, XOR) attack their own ciphertext in three stages (period,
// relative shifts of the columns, candidate keys) from symbol counts, and
// report progress through Inicio / Progreso / Fin while the user interface
// keeps running (kestrin::ProcesaEventos).
#pragma once

#include <span>

#include "kestrin/objeto.h"
#include "tarnel/alfabeto.h"
#include "tarnel/claves.h"
#include "tarnel/criptoperiodico.h"
#include "tarnel/estadisticas.h"
#include "tarnel/orvanaliza.h"
#include "tarnel/orvcar.h"
#include "tarnel/orvcriptoafin.h"
#include "tarnel/orvcriptohill.h"
#include "tarnel/orvcriptosust.h"
#include "tarnel/orvmatriz.h"
#include "tarnel/orvresultado.h"

namespace tarnel {

// Tarnel's creatable classes ("Tarnel.ORVCar", ...).
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace tarnel
