// Python bindings of Kestrin: tagged texts, ORVW, ORVmcd and the identifiers.
#include "kestrin/kestrin.h"
#include "orvane.h"

namespace orvane {

using namespace kestrin;

void enlazaKestrin(py::module_& m, py::module_& k) {
  enlazaEvento<>(m, "Evento");

  for (const auto& [nombre, valor] : std::initializer_list<std::pair<const char*, int32_t>>{
           {"CSKNone", CSKNone}, {"CSKAfin", CSKAfin}, {"CSKSust", CSKSust}, {"CSKVig", CSKVig},
           {"CSKXOR", CSKXOR}, {"CSKHill", CSKHill}, {"CSKRSA", CSKRSA}, {"CSKMH", CSKMH},
           {"CSKAll", CSKAll}}) {
    m.attr(nombre) = valor;
  }

  py::class_<ORVTexto, Objeto, std::shared_ptr<ORVTexto>>(k, "ORVTexto")
      .def(py::init<>())
      .def_property("Key", &ORVTexto::Key, &ORVTexto::setKey)
      .def_property("Texto", &ORVTexto::Texto,
                    [](ORVTexto& t, const Cadena& texto) { t.setTexto(texto); })
      .def_property_readonly("KeyText", &ORVTexto::KeyText);

  py::class_<ORVW, Objeto, std::shared_ptr<ORVW>>(k, "ORVW")
      .def(py::init<>())
      .def("CSKey", &ORVW::CSKey, py::arg("buffer"))
      .def(
          "setCSKey",
          [](const ORVW& w, Cadena buffer, int32_t key) {
            w.setCSKey(buffer, key);
            return buffer;
          },
          py::arg("buffer"), py::arg("k"))
      .def("CSText", &ORVW::CSText, py::arg("buffer"))
      .def("CSDescription", &ORVW::CSDescription, py::arg("k"))
      .def_property_readonly("ORVNoKey", &ORVW::ORVNoKey);

  py::class_<ORVmcd, Objeto, std::shared_ptr<ORVmcd>>(k, "ORVmcd")
      .def(py::init<>())
      .def_property("Numero1", &ORVmcd::Numero1, &ORVmcd::setNumero1)
      .def_property("Numero2", &ORVmcd::Numero2, &ORVmcd::setNumero2)
      .def_property_readonly("mcd", &ORVmcd::mcd)
      .def_property_readonly("Coeficiente1", &ORVmcd::Coeficiente1)
      .def_property_readonly("Coeficiente2", &ORVmcd::Coeficiente2)
      .def_property_readonly("NumDivisiones", &ORVmcd::NumDivisiones);
}

}  // namespace orvane
