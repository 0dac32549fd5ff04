// Shared pieces of the Python bindings: value conversions, events and the
// binding functions of each library.
//
// Texts are str, currency is decimal.Decimal with four decimals, untyped
// values map to the nearest Python kind, shared objects keep their identity.
#pragma once

#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "kestrin/evento.h"
#include "kestrin/moneda.h"
#include "kestrin/variante.h"

namespace py = pybind11;

namespace orvane {

// An event argument passed by reference that a handler may change.
template <typename T>
inline constexpr bool kPorReferencia =
    std::is_lvalue_reference_v<T> && !std::is_const_v<std::remove_reference_t<T>>;

// Writes what a Python handler returned into the event's arguments passed by
// reference: the new value itself when there is one such argument, a tuple
// in their order when there are several; None keeps them as they are.
template <typename... Args>
void devuelve(const py::object& resultado, Args... args) {
  constexpr size_t n = (size_t{0} + ... + size_t{kPorReferencia<Args>});
  if (resultado.is_none()) return;
  const py::tuple valores = n == 1 ? py::make_tuple(resultado) : resultado.cast<py::tuple>();
  if (valores.size() != n) throw py::value_error("el manejador devuelve otro número de valores");
  size_t i = 0;
  (
      [&] {
        if constexpr (kPorReferencia<Args>) {
          args = valores[i++].template cast<std::remove_reference_t<Args>>();
        }
      }(),
      ...);
}

// A Python handler held by C++ code that may run without the GIL (a member
// that released it for long work, and raises its events meanwhile): copies
// of the holder touch no Python object, and the last one takes the GIL to
// let the function go.
inline std::shared_ptr<py::function> manejadorPython(py::function f) {
  return std::shared_ptr<py::function>(new py::function(std::move(f)), [](py::function* g) {
    if (!Py_IsInitialized()) return;  // the interpreter has gone: nothing to free
    py::gil_scoped_acquire gil;
    delete g;
  });
}

// Binds the event type Evento<Args...> once, under `nombre`, in the module.
// A handler is any callable; it is called with the event's arguments, with
// the GIL taken (the member raising the event may have released it). For an
// event with arguments passed by reference, what the handler returns becomes
// their new value (see devuelve), seen by the next handlers and the component.
template <typename... Args>
void enlazaEvento(py::module_& m, const char* nombre) {
  using E = kestrin::Evento<Args...>;
  if (py::detail::get_type_info(typeid(E))) return;
  py::class_<E>(m, nombre)
      .def("conecta",
           [](E& evento, py::function f) {
             return evento.conecta([manejador = manejadorPython(std::move(f))](Args... args) {
               py::gil_scoped_acquire gil;
               if constexpr ((kPorReferencia<Args> || ...)) {
                 devuelve<Args...>((*manejador)(args...), args...);
               } else {
                 (*manejador)(args...);
               }
             });
           },
           py::arg("manejador"))
      .def("desconecta", &E::desconecta, py::arg("id"));
}

// `eventos` of a component class: `.eventos.Cifrado`, ... in their order.
template <typename Clase, typename... Opciones, typename Eventos>
py::class_<Eventos> enlazaEventos(py::class_<Clase, Opciones...>& clase, Eventos Clase::*miembro) {
  clase.def_property_readonly(
      "eventos", [miembro](Clase& o) -> Eventos& { return o.*miembro; },
      py::return_value_policy::reference_internal);
  return py::class_<Eventos>(clase, "Eventos");
}

// Adds one event to an Eventos class.
template <typename Eventos, typename E>
void evento(py::class_<Eventos>& eventos, const char* nombre, E Eventos::*miembro) {
  eventos.def_property_readonly(
      nombre, [miembro](Eventos& e) -> E& { return e.*miembro; },
      py::return_value_policy::reference_internal);
}

void enlazaKestrin(py::module_& m, py::module_& kestrin);
void enlazaTarnel(py::module_& m, py::module_& tarnel);
void enlazaHalvard(py::module_& m, py::module_& halvard);
void enlazaLinkmere(py::module_& m, py::module_& linkmere);
void enlazaNumbrel(py::module_& m, py::module_& numbrel);

}  // namespace orvane

namespace pybind11::detail {

// Currency <-> decimal.Decimal. Writing also takes int, float and str;
// values are rounded to four decimals, halves to even.
template <>
struct type_caster<kestrin::Moneda> {
  PYBIND11_TYPE_CASTER(kestrin::Moneda, const_name("Decimal"));
  bool load(handle fuente, bool convertir);
  static handle cast(kestrin::Moneda valor, return_value_policy, handle);
};

// Untyped values: None, bool, int, float, str, Decimal or a component.
template <>
struct type_caster<kestrin::Variante> {
  PYBIND11_TYPE_CASTER(kestrin::Variante, const_name("object"));
  bool load(handle fuente, bool convertir);
  static handle cast(const kestrin::Variante& valor, return_value_policy, handle);
};

}  // namespace pybind11::detail
