// Python bindings of Linkmere: the mailbox connection and its constants.
#include "linkmere/linkmere.h"
#include "orvane.h"

namespace orvane {

using namespace linkmere;

void enlazaLinkmere(py::module_& m, py::module_& l) {
  enlazaEvento<int32_t&>(m, "EventoLongRef");

  for (const auto& [nombre, valor] : std::initializer_list<std::pair<const char*, int32_t>>{
           {"NO_ERROR", NO_ERROR},
           {"CONNECT_NO_UPDATE_PROFILE", CONNECT_NO_UPDATE_PROFILE},
           {"CONNECT_UPDATE_PROFILE", CONNECT_UPDATE_PROFILE},
           {"RESOURCETYPE_DISK", RESOURCETYPE_DISK},
           {"RESOURCETYPE_PRINT", RESOURCETYPE_PRINT},
           {"RESOURCETYPE_ANY", RESOURCETYPE_ANY},
           {"RESOURCE_CONNECTED", RESOURCE_CONNECTED},
           {"RESOURCE_REMEMBERED", RESOURCE_REMEMBERED},
           {"RESOURCE_GLOBALNET", RESOURCE_GLOBALNET},
           {"RESOURCEDISPLAYTYPE_DOMAIN", RESOURCEDISPLAYTYPE_DOMAIN},
           {"RESOURCEDISPLAYTYPE_GENERIC", RESOURCEDISPLAYTYPE_GENERIC},
           {"RESOURCEDISPLAYTYPE_SERVER", RESOURCEDISPLAYTYPE_SERVER},
           {"RESOURCEDISPLAYTYPE_SHARE", RESOURCEDISPLAYTYPE_SHARE},
           {"RESOURCEUSAGE_CONNECTABLE", RESOURCEUSAGE_CONNECTABLE},
           {"RESOURCEUSAGE_CONTAINER", RESOURCEUSAGE_CONTAINER},
           {"ERROR_ACCESS_DENIED", ERROR_ACCESS_DENIED},
           {"ERROR_ALREADY_ASSIGNED", ERROR_ALREADY_ASSIGNED},
           {"ERROR_BAD_DEV_TYPE", ERROR_BAD_DEV_TYPE},
           {"ERROR_BAD_DEVICE", ERROR_BAD_DEVICE},
           {"ERROR_BAD_NET_NAME", ERROR_BAD_NET_NAME},
           {"ERROR_BAD_PROFILE", ERROR_BAD_PROFILE},
           {"ERROR_BAD_PROVIDER", ERROR_BAD_PROVIDER},
           {"ERROR_BUSY", ERROR_BUSY},
           {"ERROR_CANCELLED", ERROR_CANCELLED},
           {"ERROR_CANNOT_OPEN_PROFILE", ERROR_CANNOT_OPEN_PROFILE},
           {"ERROR_DEVICE_ALREADY_REMEMBERED", ERROR_DEVICE_ALREADY_REMEMBERED},
           {"ERROR_EXTENDED_ERROR", ERROR_EXTENDED_ERROR},
           {"ERROR_INVALID_PASSWORD", ERROR_INVALID_PASSWORD},
           {"ERROR_NO_NET_OR_BAD_PATH", ERROR_NO_NET_OR_BAD_PATH},
           {"ERROR_NOT_CONNECTED", ERROR_NOT_CONNECTED}}) {
    m.attr(nombre) = valor;
  }

  py::class_<connection, kestrin::Objeto, std::shared_ptr<connection>> c(l, "connection");
  c.def(py::init<>())
      .def_property("username", &connection::username,
                    [](connection& o, const Cadena& v) { o.setusername(v); })
      .def_property("password", &connection::password,
                    [](connection& o, const Cadena& v) { o.setpassword(v); })
      .def_property("NetDevice", &connection::NetDevice,
                    [](connection& o, const Cadena& v) { o.setNetDevice(v); })
      .def_property("LocalUnit", &connection::LocalUnit,
                    [](connection& o, const Cadena& v) { o.setLocalUnit(v); })
      .def_property("ErrorNumber", &connection::ErrorNumber, &connection::setErrorNumber)
      .def_property_readonly("ErrorDescription", &connection::ErrorDescription)
      .def_property_readonly("Carpeta", &connection::Carpeta)
      .def("Connect", &connection::Connect)
      .def("Disconnect", &connection::Disconnect);
  auto eventos = enlazaEventos(c, &connection::eventos);
  evento(eventos, "Connected", &connection::Eventos::Connected);
  evento(eventos, "Disconnected", &connection::Eventos::Disconnected);
  evento(eventos, "LinkmereError", &connection::Eventos::LinkmereError);
}

}  // namespace orvane
