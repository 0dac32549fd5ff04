// Halvard: the public-key cryptosystems.
//
// The knapsack system works on whole currency values and the Euclid tracer;
// both systems take a tagged text (kestrin::ORVTexto), encipher it in
// numbered blocks reported through Inicio / Progreso / Fin, and report key
// problems through their ConstruyeClave event rather than errors.
#pragma once

#include <span>

#include "halvard/orvcriptomhm.h"
#include "halvard/orvcriptorsa.h"
#include "kestrin/objeto.h"

namespace halvard {

// Halvard's creatable classes ("Halvard.ORVCriptoMHM", ...).
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace halvard
