// The orvane module: errors, creation by class name, value conversions.
#include <pybind11/eval.h>
#include <pybind11/pybind11.h>

#include <climits>
#include <string>

#include "kestrin/errores.h"
#include "kestrin/kestrin.h"
#include "linkmere/linkmere.h"
#include "numbrel/numbrel.h"
#include "orvane.h"
#include "halvard/halvard.h"
#include "tarnel/tarnel.h"

namespace py = pybind11;

namespace pybind11::detail {
namespace {

object moduloDecimal() { return module_::import("decimal"); }

}  // namespace

bool type_caster<kestrin::Moneda>::load(handle fuente, bool) {
  if (PyBool_Check(fuente.ptr())) return false;
  if (PyLong_Check(fuente.ptr())) {
    int desborde = 0;
    const long long entero = PyLong_AsLongLongAndOverflow(fuente.ptr(), &desborde);
    if (desborde != 0) throw kestrin::ErrorDesbordamiento();
    value = kestrin::Moneda::desdeEntero(entero);
    return true;
  }
  if (PyFloat_Check(fuente.ptr())) {
    value = kestrin::Moneda::desdeDouble(PyFloat_AsDouble(fuente.ptr()));
    return true;
  }
  const object decimal = moduloDecimal();
  object numero;
  if (PyUnicode_Check(fuente.ptr())) {
    numero = decimal.attr("Decimal")(reinterpret_borrow<str>(fuente).attr("strip")());
  } else if (isinstance(fuente, decimal.attr("Decimal"))) {
    numero = reinterpret_borrow<object>(fuente);
  } else {
    return false;
  }
  if (!numero.attr("is_finite")().cast<bool>()) throw kestrin::ErrorTipos();
  // Scale to ten-thousandths, round half to even, and check the 64-bit range.
  const object escalado = numero.attr("scaleb")(4).attr("to_integral_value")(
      arg("rounding") = decimal.attr("ROUND_HALF_EVEN"));
  int desborde = 0;
  const long long crudo = PyLong_AsLongLongAndOverflow(int_(escalado).ptr(), &desborde);
  if (desborde != 0) throw kestrin::ErrorDesbordamiento();
  value = kestrin::Moneda::desdeEscalado(crudo);
  return true;
}

handle type_caster<kestrin::Moneda>::cast(kestrin::Moneda valor, return_value_policy, handle) {
  return moduloDecimal()
      .attr("Decimal")(int_(valor.escalado()))
      .attr("scaleb")(-4)
      .release();
}

bool type_caster<kestrin::Variante>::load(handle fuente, bool) {
  PyObject* p = fuente.ptr();
  if (p == Py_None) {
    value = std::monostate{};
  } else if (PyBool_Check(p)) {
    value = p == Py_True;
  } else if (PyLong_Check(p)) {
    int desborde = 0;
    const long long entero = PyLong_AsLongLongAndOverflow(p, &desborde);
    if (desborde == 0 && entero >= INT32_MIN && entero <= INT32_MAX) {
      value = static_cast<int32_t>(entero);
    } else {
      value = PyLong_AsDouble(p);  // a number still, too big for 32 bits
      if (PyErr_Occurred()) {
        PyErr_Clear();
        throw kestrin::ErrorDesbordamiento();
      }
    }
  } else if (PyFloat_Check(p)) {
    value = PyFloat_AsDouble(p);
  } else if (PyUnicode_Check(p)) {
    value = fuente.cast<kestrin::Cadena>();
  } else if (isinstance(fuente, moduloDecimal().attr("Decimal"))) {
    value = fuente.cast<kestrin::Moneda>();
  } else {
    make_caster<std::shared_ptr<kestrin::Objeto>> objeto;
    // A value of any other kind travels as "no object".
    value = objeto.load(fuente, false) ? cast_op<std::shared_ptr<kestrin::Objeto>>(objeto)
                                       : std::shared_ptr<kestrin::Objeto>();
  }
  return true;
}

handle type_caster<kestrin::Variante>::cast(const kestrin::Variante& valor, return_value_policy,
                                            handle) {
  return std::visit(
      [](const auto& v) -> handle {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return none().release();
        } else {
          return make_caster<T>::cast(v, return_value_policy::automatic, handle());
        }
      },
      valor);
}

}  // namespace pybind11::detail

namespace {

// The Python classes of the errors, kept for the life of the process.
struct ClasesError {
  py::object base, subindice, desbordamiento;
};

ClasesError* clasesError = nullptr;

void defineErrores(py::module_& m) {
  py::dict espacio;
  espacio["__builtins__"] = py::module_::import("builtins");
  py::exec(R"(
class ErrorORV(Exception):
    """An error of a component, with its classic number in `numero`."""
    def __init__(self, numero, mensaje):
        super().__init__(mensaje)
        self.numero = numero

class ErrorSubindice(ErrorORV, IndexError):
    pass

class ErrorDesbordamiento(ErrorORV, OverflowError):
    pass
)",
           espacio);
  clasesError = new ClasesError{espacio["ErrorORV"], espacio["ErrorSubindice"],
                                espacio["ErrorDesbordamiento"]};
  for (const char* nombre : {"ErrorORV", "ErrorSubindice", "ErrorDesbordamiento"}) {
    espacio[nombre].attr("__module__") = "orvane";
    m.attr(nombre) = espacio[nombre];
  }
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      // A failure of the standard library in the bindings themselves is
      // error 7 too, as at the components' boundaries; other exceptions go on
      // to pybind11's own translation.
      try {
        if (p) std::rethrow_exception(p);
      } catch (...) {
        kestrin::relanzaComoErrorORV();
      }
    } catch (const kestrin::ErrorORV& e) {
      const py::object& clase = e.numero() == kestrin::kSubindiceFuera  ? clasesError->subindice
                                : e.numero() == kestrin::kDesbordamiento ? clasesError->desbordamiento
                                                                         : clasesError->base;
      const py::object error = clase(e.numero(), e.what());
      PyErr_SetObject(clase.ptr(), error.ptr());
    }
  });
}

}  // namespace

PYBIND11_MODULE(orvane, m) {
  m.doc() = "Orvane: componentes del laboratorio de criptografía";
  tarnel::registra();
  halvard::registra();
  linkmere::registra();
  numbrel::registra();
  defineErrores(m);

  py::class_<kestrin::Objeto, std::shared_ptr<kestrin::Objeto>>(m, "Objeto");
  auto kestrin = m.def_submodule("Kestrin", "Servicios compartidos");
  auto tarnel = m.def_submodule("Tarnel", "Criptosistemas clásicos");
  orvane::enlazaKestrin(m, kestrin);
  orvane::enlazaTarnel(m, tarnel);
  auto halvard = m.def_submodule("Halvard", "Criptosistemas de clave pública");
  orvane::enlazaHalvard(m, halvard);
  auto linkmere = m.def_submodule("Linkmere", "Conexión del buzón");
  orvane::enlazaLinkmere(m, linkmere);
  auto numbrel = m.def_submodule("Numbrel", "Aritmética de números grandes");
  orvane::enlazaNumbrel(m, numbrel);

  m.def(
      "CreaObjeto", [](const std::string& nombre) { return kestrin::CreaObjeto(nombre); },
      py::arg("nombre"), "Crea un componente por su nombre de clase, p. ej. 'Tarnel.ORVCriptoAfin'.");
}
