// What every fuzz target shares: the one error guard around a call, and the
// checks of what a call gives.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "kestrin/errores.h"

namespace orvfuzz {

// Runs one call of the code under test. An ErrorORV is one of its expected
// answers; anything else escaping it (a standard exception the code should
// have handled or refused) is a fault, and aborts so the fuzzer records it.
template <typename F>
void protege(F&& llamada) {
  try {
    llamada();
  } catch (const kestrin::ErrorORV&) {
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Excepción no esperada: %s\n", e.what());
    std::abort();
  } catch (...) {
    std::fprintf(stderr, "Excepción no esperada de tipo desconocido\n");
    std::abort();
  }
}

[[noreturn]] inline void falla(const char* archivo, int linea, const char* condicion) {
  std::fprintf(stderr, "%s:%d: no se cumple %s\n", archivo, linea, condicion);
  std::abort();
}

}  // namespace orvfuzz

// A property every input must keep; a broken one aborts the run.
#define ORV_EXIGE(condicion) \
  ((condicion) ? (void)0 : ::orvfuzz::falla(__FILE__, __LINE__, #condicion))
