// Python bindings of Halvard: the public-key cryptosystems.
#include "halvard/generarsa.h"
#include "halvard/halvard.h"
#include "orvane.h"

namespace orvane {

using namespace halvard;

void enlazaHalvard(py::module_& m, py::module_& h) {
  enlazaEvento<bool&, const Cadena&>(m, "EventoClave");
  enlazaEvento<int32_t>(m, "EventoLong");
  enlazaEvento<const Cadena&>(m, "EventoTexto");

  py::class_<ORVCriptoRSA, kestrin::Objeto, std::shared_ptr<ORVCriptoRSA>> rsa(h, "ORVCriptoRSA");
  rsa.def(py::init<>())
      .def("ClaveFactor", &ORVCriptoRSA::ClaveFactor, py::arg("Indice"))
      .def(
          "setClaveFactor",
          [](ORVCriptoRSA& r, int32_t i, const Cadena& v) { r.setClaveFactor(i, v); },
          py::arg("Indice"), py::arg("valor"))
      .def_property("Exponente", &ORVCriptoRSA::Exponente,
                    [](ORVCriptoRSA& r, const Cadena& v) { r.setExponente(v); })
      .def_property("Clave", &ORVCriptoRSA::Clave,
                    [](ORVCriptoRSA& r, const Cadena& v) { r.setClave(v); })
      .def_property("ClavePrivada", &ORVCriptoRSA::ClavePrivada,
                    [](ORVCriptoRSA& r, const Cadena& v) { r.setClavePrivada(v); })
      .def_property("TamBloque", &ORVCriptoRSA::TamBloque, &ORVCriptoRSA::setTamBloque)
      .def_property("NumBits", &ORVCriptoRSA::NumBits, &ORVCriptoRSA::setNumBits)
      .def_property("NumBloques", &ORVCriptoRSA::NumBloques, &ORVCriptoRSA::setNumBloques)
      .def("TextoCifrado", &ORVCriptoRSA::TextoCifrado, py::arg("i"))
      .def(
          "setTextoCifrado",
          [](ORVCriptoRSA& r, int32_t i, const Cadena& v) { r.setTextoCifrado(i, v); },
          py::arg("i"), py::arg("valor"))
      .def_property("TextoOriginal", &ORVCriptoRSA::TextoOriginal, &ORVCriptoRSA::setTextoOriginal)
      .def("ConstruyeClave", &ORVCriptoRSA::ConstruyeClave)
      .def("Cifra", &ORVCriptoRSA::Cifra)
      .def("Descifra", &ORVCriptoRSA::Descifra)
      .def("VaciaClave", &ORVCriptoRSA::VaciaClave);
  {
    auto eventos = enlazaEventos(rsa, &ORVCriptoRSA::eventos);
    using E = ORVCriptoRSA::Eventos;
    evento(eventos, "CambiaClave", &E::CambiaClave);
    evento(eventos, "ConstruyeClave", &E::ConstruyeClave);
    evento(eventos, "Cifrado", &E::Cifrado);
    evento(eventos, "DesCifrado", &E::DesCifrado);
    evento(eventos, "Fin", &E::Fin);
    evento(eventos, "Inicio", &E::Inicio);
    evento(eventos, "Progreso", &E::Progreso);
    evento(eventos, "Warning", &E::Warning);
  }

  py::class_<ORVCriptoMHM, kestrin::Objeto, std::shared_ptr<ORVCriptoMHM>> mhm(h, "ORVCriptoMHM");
  mhm.def(py::init<>())
      .def_property("LongitudSucesion", &ORVCriptoMHM::LongitudSucesion,
                    &ORVCriptoMHM::setLongitudSucesion)
      .def("SucesionPrivada", &ORVCriptoMHM::SucesionPrivada, py::arg("i"))
      .def("setSucesionPrivada", &ORVCriptoMHM::setSucesionPrivada, py::arg("i"), py::arg("valor"))
      .def("SucesionPublica", &ORVCriptoMHM::SucesionPublica, py::arg("i"))
      .def("setSucesionPublica", &ORVCriptoMHM::setSucesionPublica, py::arg("i"), py::arg("valor"))
      .def_property("Modulo", &ORVCriptoMHM::Modulo, &ORVCriptoMHM::setModulo)
      .def_property("Multiplicador", &ORVCriptoMHM::Multiplicador, &ORVCriptoMHM::setMultiplicador)
      .def_property("ClavePublicaOK", &ORVCriptoMHM::ClavePublicaOK,
                    &ORVCriptoMHM::setClavePublicaOK)
      .def_property("ClavePrivadaOK", &ORVCriptoMHM::ClavePrivadaOK,
                    &ORVCriptoMHM::setClavePrivadaOK)
      .def_property("TextoOriginal", &ORVCriptoMHM::TextoOriginal, &ORVCriptoMHM::setTextoOriginal)
      .def("TextoCifrado", &ORVCriptoMHM::TextoCifrado, py::arg("i"))
      .def("setTextoCifrado", &ORVCriptoMHM::setTextoCifrado, py::arg("i"), py::arg("valor"))
      .def_property("NumBloques", &ORVCriptoMHM::NumBloques, &ORVCriptoMHM::setNumBloques)
      .def_property_readonly("UltimoBloque", &ORVCriptoMHM::UltimoBloque)
      .def("ConstruyeClave", &ORVCriptoMHM::ConstruyeClave)
      .def("Cifra", &ORVCriptoMHM::Cifra)
      .def("Descifra", &ORVCriptoMHM::Descifra)
      .def("VaciaClave", &ORVCriptoMHM::VaciaClave);
  auto eventos = enlazaEventos(mhm, &ORVCriptoMHM::eventos);
  using E = ORVCriptoMHM::Eventos;
  evento(eventos, "ConstruyeClave", &E::ConstruyeClave);
  evento(eventos, "Cifrado", &E::Cifrado);
  evento(eventos, "DesCifrado", &E::DesCifrado);
  evento(eventos, "CambiaClave", &E::CambiaClave);
  evento(eventos, "Fin", &E::Fin);
  evento(eventos, "Inicio", &E::Inicio);
  evento(eventos, "Progreso", &E::Progreso);
  evento(eventos, "Warning", &E::Warning);

  py::class_<ClaveRSA>(h, "ClaveRSA")
      .def(py::init<>())
      .def_readwrite("p", &ClaveRSA::p)
      .def_readwrite("q", &ClaveRSA::q)
      .def_readwrite("e", &ClaveRSA::e)
      .def_readwrite("bloque", &ClaveRSA::bloque)
      .def_readwrite("n", &ClaveRSA::n)
      .def_readwrite("d", &ClaveRSA::d)
      .def_readwrite("bits", &ClaveRSA::bits);
  h.attr("kMinBitsClaveRSA") = kMinBitsClaveRSA;
  h.attr("kMaxBitsClaveRSA") = kMaxBitsClaveRSA;
  // The primes are drawn without the interpreter's lock, so other Python
  // threads run meanwhile.
  h.def(
      "GeneraClaveRSA", [](int32_t bits) { return GeneraClaveRSA(bits); }, py::arg("bits"),
      py::call_guard<py::gil_scoped_release>());
  h.def("CompletaClaveRSA", &CompletaClaveRSA, py::arg("p"), py::arg("q"));
  // (ok, mensaje); the key gets its modulus, private exponent and bits.
  h.def(
      "CompruebaClaveRSA",
      [](ClaveRSA& clave) {
        Cadena mensaje;
        const bool ok = CompruebaClaveRSA(clave, mensaje);
        return py::make_tuple(ok, mensaje);
      },
      py::arg("clave"));
}

}  // namespace orvane
