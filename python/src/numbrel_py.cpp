// Python bindings of Numbrel: the big-number service.
#include "kestrin/errores.h"
#include "numbrel/numbrel.h"
#include "orvane.h"

namespace orvane {

using namespace numbrel;
using kestrin::Cadena;

namespace {

// A 16-bit argument: out of range is the overflow error, as everywhere else.
int16_t entero16(long long v) {
  if (v < INT16_MIN || v > INT16_MAX) throw kestrin::ErrorDesbordamiento();
  return static_cast<int16_t>(v);
}

}  // namespace

void enlazaNumbrel(py::module_& m, py::module_& n) {
  enlazaEvento<Cadena&>(m, "EventoTextoRef");

  enlazaEvento<Cadena, int32_t, int32_t>(m, "EventoEtapa");

  // Every member but setvar and Cancela may run long: it lets the GIL go, so
  // that another Python thread can run meanwhile (and call Cancela). Its
  // events take the GIL back for their Python handlers (enlazaEvento).
  using Libera = py::call_guard<py::gil_scoped_release>;
  py::class_<ORVBigNum, kestrin::Objeto, std::shared_ptr<ORVBigNum>> big(n, "ORVBigNum");
  big.def(py::init<>())
      .def("Max", &ORVBigNum::Max, py::arg("x"), py::arg("y"), Libera())
      .def("EsPrimo", &ORVBigNum::EsPrimo, py::arg("texto"), Libera())
      .def("NumBits", &ORVBigNum::NumBits, py::arg("texto"), Libera())
      .def(
          "Eval",
          [](ORVBigNum& b, const Cadena& expr, const kestrin::Variante& max, bool entero) {
            py::gil_scoped_release libera;
            return b.Eval(expr, max, entero);
          },
          py::arg("expr"), py::arg("MaxValor") = py::none(), py::arg("Entero") = false)
      .def("ToDecimal", &ORVBigNum::ToDecimal, py::arg("n"), Libera())
      .def(
          "RndPrimo",
          [](ORVBigNum& b, long long bits) {
            const int16_t n = entero16(bits);
            py::gil_scoped_release libera;
            return b.RndPrimo(n);
          },
          py::arg("NumBits"))
      .def("ModInv", &ORVBigNum::ModInv, py::arg("n"), py::arg("modulo"), Libera())
      .def("CRT", &ORVBigNum::CRT, py::arg("restos"), py::arg("CoPrimos"), Libera())
      .def("RndRange", &ORVBigNum::RndRange, py::arg("n1"), py::arg("n2"))
      .def("NextPrime", &ORVBigNum::NextPrime, py::arg("num"), Libera())
      .def(
          "Factorize",
          [](ORVBigNum& b, const Cadena& num) {
            std::vector<Cadena> factores, exponentes;
            bool ok;
            {
              py::gil_scoped_release libera;
              ok = b.Factorize(num, factores, exponentes);
            }
            return py::make_tuple(ok, factores, exponentes);
          },
          py::arg("num"))
      .def("EulerFi", &ORVBigNum::EulerFi, py::arg("n"), Libera())
      .def(
          "ToBasis",
          [](ORVBigNum& b, long long base, const Cadena& num) {
            const int16_t n = entero16(base);
            py::gil_scoped_release libera;
            return b.ToBasis(n, num);
          },
          py::arg("base"), py::arg("num"))
      .def("Mcd", &ORVBigNum::Mcd, py::arg("x"), py::arg("y"), Libera())
      .def("ModPower", &ORVBigNum::ModPower, py::arg("base"), py::arg("exponente"),
           py::arg("modulo"), Libera())
      .def(
          "ExMcd",
          [](ORVBigNum& b, const Cadena& x, const Cadena& y) {
            Cadena a, c, d;
            bool ok;
            {
              py::gil_scoped_release libera;
              ok = b.ExMcd(x, y, a, c, d);
            }
            return py::make_tuple(ok, a, c, d);
          },
          py::arg("x"), py::arg("y"))
      .def("BMod", &ORVBigNum::BMod, py::arg("expr"), py::arg("modulo"), Libera())
      .def("setvar", &ORVBigNum::setvar, py::arg("nombre"), py::arg("valor"))
      .def("Cancela", &ORVBigNum::Cancela, Libera());
  auto eventos = enlazaEventos(big, &ORVBigNum::eventos);
  evento(eventos, "AritError", &ORVBigNum::Eventos::AritError);
  evento(eventos, "Etapa", &ORVBigNum::Eventos::Etapa);
}

}  // namespace orvane
