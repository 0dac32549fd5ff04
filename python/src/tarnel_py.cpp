// Python bindings of Tarnel: the alphabet and the classical cryptosystems.
#include "orvane.h"
#include "tarnel/tarnel.h"

namespace orvane {

using namespace tarnel;
using kestrin::Cadena;

namespace {

// TextoOriginal and TextoCifrado, shared with the caller.
template <typename Clase, typename... Opciones>
void textos(py::class_<Clase, Opciones...>& clase) {
  clase.def_property("TextoOriginal", &Clase::TextoOriginal, &Clase::setTextoOriginal)
      .def_property("TextoCifrado", &Clase::TextoCifrado, &Clase::setTextoCifrado);
}

}  // namespace

void enlazaTarnel(py::module_& m, py::module_& t) {
  m.attr("ORVNumCar") = static_cast<int32_t>(ORVNumCar);
  m.attr("Alfabeto") = Cadena(Alfabeto);
  m.attr("AlfabetoFrecuencias") = Cadena(AlfabetoFrecuencias);
  m.attr("LetrasFrecuentes") = Cadena(LetrasFrecuentes);

  py::class_<ORVCar, kestrin::Objeto, std::shared_ptr<ORVCar>>(t, "ORVCar")
      .def(py::init<>())
      .def_property("Texto", &ORVCar::Texto, [](ORVCar& c, const Cadena& s) { c.setTexto(s); })
      .def_property("Valor", &ORVCar::Valor, &ORVCar::setValor)
      .def_property("Item", &ORVCar::Item, &ORVCar::setItem)
      .def_property("Valido", &ORVCar::Valido, &ORVCar::setValido);

  py::class_<ORVItemTexto, kestrin::Objeto, std::shared_ptr<ORVItemTexto>>(t, "ORVItemTexto")
      .def(py::init<>())
      .def_property("Texto", &ORVItemTexto::Texto, &ORVItemTexto::setTexto)
      .def_property("Frecuencia", &ORVItemTexto::Frecuencia, &ORVItemTexto::setFrecuencia);

  py::class_<ORVResultado, kestrin::Objeto, std::shared_ptr<ORVResultado>>(t, "ORVResultado")
      .def(py::init<>())
      .def(
          "Add", [](ORVResultado& r, const Cadena& texto, int32_t f) { return r.Add(texto, f); },
          py::arg("Texto"), py::arg("Frecuencia") = 1)
      .def("Item", py::overload_cast<int32_t>(&ORVResultado::Item, py::const_),
           py::arg("vntIndexKey"))
      .def(
          "Item", [](const ORVResultado& r, const Cadena& clave) { return r.Item(clave); },
          py::arg("vntIndexKey"))
      .def("Remove", py::overload_cast<int32_t>(&ORVResultado::Remove), py::arg("vntIndexKey"))
      .def(
          "Remove", [](ORVResultado& r, const Cadena& clave) { r.Remove(clave); },
          py::arg("vntIndexKey"))
      .def_property_readonly("Count", &ORVResultado::Count)
      .def("Vacia", &ORVResultado::Vacia)
      .def("Ordena", &ORVResultado::Ordena)
      .def_property("Total", &ORVResultado::Total, &ORVResultado::setTotal)
      .def("__len__", &ORVResultado::Count)
      .def(
          "__iter__",
          [](const ORVResultado& r) { return py::make_iterator(r.begin(), r.end()); },
          py::keep_alive<0, 1>());

  py::class_<ORVCriptoAfin, kestrin::Objeto, std::shared_ptr<ORVCriptoAfin>> afin(t,
                                                                                 "ORVCriptoAfin");
  afin.def(py::init<>())
      .def_property("Multiplicador", &ORVCriptoAfin::Multiplicador,
                    &ORVCriptoAfin::setMultiplicador)
      .def_property("Desplazamiento", &ORVCriptoAfin::Desplazamiento,
                    &ORVCriptoAfin::setDesplazamiento)
      .def("Cifra", &ORVCriptoAfin::Cifra)
      .def("Descifra", &ORVCriptoAfin::Descifra);
  textos(afin);
  auto eventosAfin = enlazaEventos(afin, &ORVCriptoAfin::eventos);
  evento(eventosAfin, "Cifrado", &ORVCriptoAfin::Eventos::Cifrado);
  evento(eventosAfin, "DesCifrado", &ORVCriptoAfin::Eventos::DesCifrado);

  py::class_<ORVCriptoSust, kestrin::Objeto, std::shared_ptr<ORVCriptoSust>> sust(t,
                                                                                 "ORVCriptoSust");
  sust.def(py::init<>())
      .def("Clave", &ORVCriptoSust::Clave, py::arg("CarOrig"))
      .def(
          "setClave",
          [](ORVCriptoSust& s, const kestrin::Variante& i, const Cadena& v) { s.setClave(i, v); },
          py::arg("CarOrig"), py::arg("valor"))
      .def("ClaveInv", &ORVCriptoSust::ClaveInv, py::arg("CarCod"))
      .def("Cifra", &ORVCriptoSust::Cifra)
      .def("Descifra", &ORVCriptoSust::Descifra);
  textos(sust);
  auto eventosSust = enlazaEventos(sust, &ORVCriptoSust::eventos);
  evento(eventosSust, "Cifrado", &ORVCriptoSust::Eventos::Cifrado);
  evento(eventosSust, "DesCifrado", &ORVCriptoSust::Eventos::DesCifrado);
}

}  // namespace orvane
