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

  py::class_<ORVBigNum, kestrin::Objeto, std::shared_ptr<ORVBigNum>> big(n, "ORVBigNum");
  big.def(py::init<>())
      .def("Max", &ORVBigNum::Max, py::arg("x"), py::arg("y"))
      .def("EsPrimo", &ORVBigNum::EsPrimo, py::arg("texto"))
      .def("NumBits", &ORVBigNum::NumBits, py::arg("texto"))
      .def(
          "Eval",
          [](ORVBigNum& b, const Cadena& expr, const kestrin::Variante& max, bool entero) {
            return b.Eval(expr, max, entero);
          },
          py::arg("expr"), py::arg("MaxValor") = py::none(), py::arg("Entero") = false)
      .def("ToDecimal", &ORVBigNum::ToDecimal, py::arg("n"))
      .def(
          "RndPrimo", [](ORVBigNum& b, long long bits) { return b.RndPrimo(entero16(bits)); },
          py::arg("NumBits"))
      .def("ModInv", &ORVBigNum::ModInv, py::arg("n"), py::arg("modulo"))
      .def("CRT", &ORVBigNum::CRT, py::arg("restos"), py::arg("CoPrimos"))
      .def("RndRange", &ORVBigNum::RndRange, py::arg("n1"), py::arg("n2"))
      .def("NextPrime", &ORVBigNum::NextPrime, py::arg("num"))
      .def(
          "Factorize",
          [](ORVBigNum& b, const Cadena& num) {
            std::vector<Cadena> factores, exponentes;
            const bool ok = b.Factorize(num, factores, exponentes);
            return py::make_tuple(ok, factores, exponentes);
          },
          py::arg("num"))
      .def("EulerFi", &ORVBigNum::EulerFi, py::arg("n"))
      .def(
          "ToBasis",
          [](ORVBigNum& b, long long base, const Cadena& num) {
            return b.ToBasis(entero16(base), num);
          },
          py::arg("base"), py::arg("num"))
      .def("Mcd", &ORVBigNum::Mcd, py::arg("x"), py::arg("y"))
      .def("ModPower", &ORVBigNum::ModPower, py::arg("base"), py::arg("exponente"),
           py::arg("modulo"))
      .def(
          "ExMcd",
          [](ORVBigNum& b, const Cadena& x, const Cadena& y) {
            Cadena a, c, d;
            const bool ok = b.ExMcd(x, y, a, c, d);
            return py::make_tuple(ok, a, c, d);
          },
          py::arg("x"), py::arg("y"))
      .def("BMod", &ORVBigNum::BMod, py::arg("expr"), py::arg("modulo"))
      .def("setvar", &ORVBigNum::setvar, py::arg("nombre"), py::arg("valor"));
  auto eventos = enlazaEventos(big, &ORVBigNum::eventos);
  evento(eventos, "AritError", &ORVBigNum::Eventos::AritError);
}

}  // namespace orvane
