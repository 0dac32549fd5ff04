// Numbrel: big-number arithmetic for the laboratory.
//
// Flow: a client passes decimal texts and expressions to ORVBigNum, which
// substitutes variables, rewrites "mod" and hands the text to the engine
// (internal, over GMP, FLINT and GMP-ECM); the engine parses and evaluates it,
// tests and finds primes, factors within an effort bound in forked workers,
// and writes decimal texts back; ORVBigNum cleans them and reports failures
// through its AritError event with the result "Error".
#pragma once

#include <span>

#include "kestrin/objeto.h"
#include "numbrel/orvbignum.h"

namespace numbrel {

// Numbrel's creatable classes ("Numbrel.ORVBigNum").
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
void registra();

}  // namespace numbrel
