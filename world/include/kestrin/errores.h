// Errors that components raise to their callers, each with its classic number.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace kestrin {

// Base of every error a component lets reach its caller. Nothing else escapes.
class ErrorORV : public std::runtime_error {
 public:
  ErrorORV(int32_t numero, const std::string& mensaje)
      : std::runtime_error(mensaje), numero_(numero) {}
  // The classic error number (9 subscript out of range, 6 overflow, ...).
  int32_t numero() const noexcept { return numero_; }

 private:
  int32_t numero_;
};

enum NumeroError : int32_t {
  kArgumentoNoValido = 5,
  kDesbordamiento = 6,
  kMemoriaInsuficiente = 7,
  kSubindiceFuera = 9,
  kDivisionPorCero = 11,
  kTiposNoCoinciden = 13,
  kObjetoNoEstablecido = 91,
  kRecursoNoEncontrado = 326,
  kValorPropiedadNoValido = 380,
  kNoPuedeCrearObjeto = 429,
};

// The usual Spanish text of a classic error number.
std::string mensajeError(int32_t numero);

class ErrorDesbordamiento : public ErrorORV {
 public:
  ErrorDesbordamiento() : ErrorORV(kDesbordamiento, mensajeError(kDesbordamiento)) {}
};

class ErrorSubindice : public ErrorORV {
 public:
  ErrorSubindice() : ErrorORV(kSubindiceFuera, mensajeError(kSubindiceFuera)) {}
};

class ErrorTipos : public ErrorORV {
 public:
  ErrorTipos() : ErrorORV(kTiposNoCoinciden, mensajeError(kTiposNoCoinciden)) {}
};

class ErrorDivisionPorCero : public ErrorORV {
 public:
  ErrorDivisionPorCero() : ErrorORV(kDivisionPorCero, mensajeError(kDivisionPorCero)) {}
};

// Raises the error with this number, with its usual text.
[[noreturn]] void lanzaError(int32_t numero);

// Rethrows the exception being handled so that only ErrorORV leaves a
// component: a failure of the standard library (memory exhausted, a size
// beyond a container's reach, a bad index or conversion) becomes error 7;
// ErrorORV, and any other type (an event handler's own, a Python error
// among them), passes unchanged. Call it only inside a catch handler.
[[noreturn]] void relanzaComoErrorORV();

// Runs a component's member at its boundary, translating as
// relanzaComoErrorORV does.
template <typename F>
decltype(auto) traduceExcepciones(F&& trabajo) {
  try {
    return std::forward<F>(trabajo)();
  } catch (...) {
    relanzaComoErrorORV();
  }
}

}  // namespace kestrin
