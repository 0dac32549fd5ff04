// Errors at a component's boundary: standard failures become error 7.
#include "kestrin/errores.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace kestrin {
namespace {

int32_t numeroDe(const std::function<void()>& trabajo) {
  try {
    traduceExcepciones(trabajo);
  } catch (const ErrorORV& e) {
    EXPECT_EQ(std::string(e.what()), mensajeError(e.numero()));
    return e.numero();
  }
  return 0;
}

TEST(TraduceExcepciones, StandardFailuresBecomeInsufficientMemory) {
  const struct {
    const char* nombre;
    std::function<void()> falla;
  } casos[] = {
      {"bad_alloc", [] { throw std::bad_alloc(); }},
      {"bad_array_new_length", [] { throw std::bad_array_new_length(); }},
      {"length_error", [] { std::string().resize(std::string().max_size() + 1); }},
      {"out_of_range", [] { (void)std::vector<int>().at(1); }},
      {"invalid_argument", [] { (void)std::stoi("x"); }},
      {"overflow_error", [] { throw std::overflow_error("x"); }},
      {"system_error", [] { throw std::system_error(std::make_error_code(std::errc::io_error)); }},
      {"bad_optional_access", [] { (void)std::optional<int>().value(); }},
      {"bad_function_call", [] { std::function<void()>()(); }},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    EXPECT_EQ(numeroDe(caso.falla), kMemoriaInsuficiente);
  }
}

TEST(TraduceExcepciones, OtherExceptionsPassUnchanged) {
  EXPECT_EQ(numeroDe([] { throw ErrorSubindice(); }), kSubindiceFuera);
  EXPECT_EQ(numeroDe([] { lanzaError(kValorPropiedadNoValido); }), kValorPropiedadNoValido);
  EXPECT_THROW(traduceExcepciones([] { throw ErrorDesbordamiento(); }), ErrorDesbordamiento);
  // An event handler's own exception reaches the caller as it was.
  struct Propia {};
  EXPECT_THROW(traduceExcepciones([] { throw Propia(); }), Propia);
  try {
    traduceExcepciones([] { throw std::runtime_error("del manejador"); });
    ADD_FAILURE();
  } catch (const ErrorORV&) {
    ADD_FAILURE();
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "del manejador");
  }
}

TEST(TraduceExcepciones, ResultsPassThrough) {
  EXPECT_EQ(traduceExcepciones([] { return 42; }), 42);
  int x = 1;
  int& r = traduceExcepciones([&]() -> int& { return x; });
  EXPECT_EQ(&r, &x);
  traduceExcepciones([] {});
}

}  // namespace
}  // namespace kestrin
