// Python bindings of Kestrin: tagged texts, ORVW, ORVImagen, ORVmcd and the identifiers.
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
      // The application folder the start-up reads ORV.INI from (default: the
      // folder of the running program).
      .def(py::init([](const Cadena& carpeta) {
             return std::make_shared<ORVW>(ORVW::Entorno{carpeta, nullptr});
           }),
           py::arg("carpeta"))
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
      .def_property_readonly("ORVNoKey", &ORVW::ORVNoKey)
      .def("GetProfile", &ORVW::GetProfile, py::arg("Seccion"), py::arg("clave"),
           py::arg("default"), py::arg("profile"))
      .def("WriteProfile", &ORVW::WriteProfile, py::arg("Seccion"), py::arg("clave"),
           py::arg("valor"), py::arg("profile"))
      .def("ExistFileDir", &ORVW::ExistFileDir, py::arg("sSpec"))
      .def(
          "Eval",
          [](const ORVW& w, const Variante& x) -> double {
            if (const auto* texto = std::get_if<Cadena>(&x)) return w.Eval(*texto);
            if (const auto* d = std::get_if<double>(&x)) return *d;
            if (const auto* i = std::get_if<int32_t>(&x)) return *i;
            if (const auto* m = std::get_if<Moneda>(&x)) return m->aDouble();
            return 0;
          },
          py::arg("x"))
      .def("XTrim", &ORVW::XTrim, py::arg("buffer"))
      .def_property("COLFIX", &ORVW::COLFIX, &ORVW::setCOLFIX)
      .def_property("NetCnx", &ORVW::NetCnx, &ORVW::setNetCnx)
      .def_property_readonly("Carpeta", &ORVW::Carpeta)
      .def_property_readonly("Perfil", &ORVW::Perfil);

  py::class_<Imagen>(k, "Imagen")
      .def_readonly("ancho", &Imagen::ancho)
      .def_readonly("alto", &Imagen::alto)
      .def_readonly("pixeles", &Imagen::pixeles)
      .def("pixel", &Imagen::pixel, py::arg("x"), py::arg("y"))
      .def("__eq__", [](const Imagen& a, const Imagen& b) { return a == b; });

  py::class_<ORVImagen, Objeto, std::shared_ptr<ORVImagen>>(k, "ORVImagen")
      .def(py::init<>())
      .def(
          "Bitmap",
          [](const ORVImagen& i, const Cadena& id, int32_t escala) { return i.Bitmap(id, escala); },
          py::arg("id"), py::arg("escala") = 1)
      .def("Icon", &ORVImagen::Icon, py::arg("id"))
      .def("Str", &ORVImagen::Str, py::arg("id"))
      .def_static("Identificadores", &ORVImagen::Identificadores);

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
