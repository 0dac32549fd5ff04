// The mailbox connection over the folder provider and the scripted provider.
#include "linkmere/connection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "kestrin/kestrin.h"
#include "linkmere/linkmere.h"

namespace linkmere {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class CarpetaTemporal {
 public:
  CarpetaTemporal() {
    char plantilla[] = "/tmp/linkmere-XXXXXX";
    ruta_ = ::mkdtemp(plantilla);
  }
  ~CarpetaTemporal() {
    std::error_code ec;
    fs::permissions(ruta_, fs::perms::owner_all, ec);
    fs::remove_all(ruta_, ec);
  }
  const fs::path& ruta() const { return ruta_; }
  Cadena texto(const std::string& resto = "") const {
    return kestrin::desdeUtf8((resto.empty() ? ruta_ : ruta_ / resto).string());
  }

 private:
  fs::path ruta_;
};

// What the events of a connection reported, in order.
struct Registro {
  std::vector<std::string> eventos;
  explicit Registro(connection& c) {
    c.eventos.Connected.conecta([this] { eventos.push_back("Connected"); });
    c.eventos.Disconnected.conecta([this] { eventos.push_back("Disconnected"); });
    c.eventos.LinkmereError.conecta(
        [this](int32_t& n) { eventos.push_back("LinkmereError " + std::to_string(n)); });
  }
};

TEST(Linkmere, DescribesEveryErrorNumber) {
  const std::pair<int32_t, const char32_t*> casos[] = {
      {0, U""},
      {5, U"Acceso denegado"},
      {66, U"Letra de unidad no válida"},
      {67, U"Nombre de red incorrecto"},
      {85, U"Letra de unidad ya asignada"},
      {86, U"Contraseña incorrecta"},
      {170, U"Red ocupada"},
      {1200, U"Dispositivo incorrecto"},
      {1202, U"Dispositivo ya conectado"},
      {1203, U"No hay red, o la ruta es incorrecta"},
      {1204, U"Proveedor de red incorrecto"},
      {1205, U"Error al abrir el perfil"},
      {1206, U"Perfil incorrecto"},
      {1208, U"Error extendido"},
      {1223, U"Conexión cancelada"},
      {2250, U"Error no identificado"},
      {-1, U"Error no identificado"},
      {1, U"Error no identificado"},
  };
  connection c(std::make_shared<ProveedorPrueba>());
  EXPECT_EQ(c.ErrorNumber(), 0);
  EXPECT_EQ(c.ErrorDescription(), U"");
  for (const auto& [numero, texto] : casos) {
    c.setErrorNumber(numero);
    EXPECT_EQ(c.ErrorNumber(), numero);
    EXPECT_EQ(c.ErrorDescription(), texto) << numero;
  }
}

TEST(Linkmere, NetDeviceDropsTrailingSeparators) {
  const std::pair<const char32_t*, const char32_t*> casos[] = {
      {U"/srv/buzon/", U"/srv/buzon"},
      {U"/srv/buzon//", U"/srv/buzon"},
      {U"\\\\servidor\\buzon\\", U"\\\\servidor\\buzon"},
      {U"/srv/buzon", U"/srv/buzon"},
      {U"/", U"/"},
      {U"", U""},
  };
  connection c(std::make_shared<ProveedorPrueba>());
  for (const auto& [escrito, leido] : casos) {
    c.setNetDevice(escrito);
    EXPECT_EQ(c.NetDevice(), leido) << kestrin::aUtf8(escrito);
  }
}

TEST(Linkmere, FolderProviderMapsToTheFirstFreeLetter) {
  CarpetaTemporal carpeta;
  fs::create_directory(carpeta.ruta() / "buzón");
  auto proveedor = std::make_shared<ProveedorCarpetas>();

  connection primera(proveedor);
  primera.setNetDevice(carpeta.texto("buzón") + U"/");
  Registro registro(primera);
  EXPECT_EQ(primera.Connect(), NO_ERROR);
  EXPECT_EQ(primera.LocalUnit(), U"E");
  EXPECT_EQ(primera.Carpeta(), carpeta.texto("buzón"));
  EXPECT_EQ(registro.eventos, std::vector<std::string>{"Connected"});

  // E is taken: the same folder goes to F.
  connection segunda(proveedor);
  segunda.setNetDevice(carpeta.texto("buzón"));
  EXPECT_EQ(segunda.Connect(), NO_ERROR);
  EXPECT_EQ(segunda.LocalUnit(), U"F");
  EXPECT_EQ(segunda.ErrorDescription(), U"");

  // A letter given by hand and in use fails with 85 and leaves LocalUnit empty.
  connection tercera(proveedor);
  tercera.setNetDevice(carpeta.texto());
  tercera.setLocalUnit(U"e");
  Registro errores(tercera);
  EXPECT_EQ(tercera.Connect(), ERROR_ALREADY_ASSIGNED);
  EXPECT_EQ(tercera.ErrorDescription(), U"Letra de unidad ya asignada");
  EXPECT_EQ(tercera.LocalUnit(), U"");
  EXPECT_EQ(errores.eventos, std::vector<std::string>{"LinkmereError 85"});
  // A free letter given by hand, in either case.
  tercera.setLocalUnit(U"k");
  EXPECT_EQ(tercera.Connect(), NO_ERROR);
  EXPECT_EQ(tercera.LocalUnit(), U"K");
  EXPECT_EQ(tercera.Carpeta(), carpeta.texto());
}

TEST(Linkmere, FolderProviderRefusesBadPathsAndLetters) {
  CarpetaTemporal carpeta;
  std::ofstream(carpeta.ruta() / "fichero") << "x";
  struct Caso {
    const char* nombre;
    Cadena ruta;
    Cadena letra;
    int32_t error;
  };
  const Caso casos[] = {
      {"no existe", carpeta.texto("no-existe"), U"", ERROR_BAD_NET_NAME},
      {"bajo un fichero", carpeta.texto("fichero/dentro"), U"", ERROR_BAD_NET_NAME},
      {"fichero", carpeta.texto("fichero"), U"", ERROR_BAD_NET_NAME},
      {"vacia", U"", U"", ERROR_BAD_NET_NAME},
      {"ruta de Windows", U"\\\\servidor\\buzon", U"", ERROR_BAD_NET_NAME},
      {"letra no valida", carpeta.texto(), U"1", ERROR_BAD_DEV_TYPE},
      {"dos letras", carpeta.texto(), U"EF", ERROR_BAD_DEV_TYPE},
  };
  auto proveedor = std::make_shared<ProveedorCarpetas>();
  for (const auto& caso : casos) {
    connection c(proveedor);
    c.setNetDevice(caso.ruta);
    c.setLocalUnit(caso.letra);
    Registro registro(c);
    EXPECT_EQ(c.Connect(), caso.error) << caso.nombre;
    EXPECT_EQ(c.ErrorNumber(), caso.error) << caso.nombre;
    EXPECT_EQ(c.LocalUnit(), U"") << caso.nombre;
    EXPECT_EQ(c.Carpeta(), U"") << caso.nombre;
    EXPECT_EQ(registro.eventos,
              std::vector<std::string>{"LinkmereError " + std::to_string(caso.error)})
        << caso.nombre;
  }
  // No failed attempt left a letter behind.
  connection libre(proveedor);
  libre.setNetDevice(carpeta.texto());
  EXPECT_EQ(libre.Connect(), NO_ERROR);
  EXPECT_EQ(libre.LocalUnit(), U"E");
}

TEST(Linkmere, FolderThatCannotBeReadIsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  CarpetaTemporal carpeta;
  fs::create_directory(carpeta.ruta() / "cerrada");
  fs::permissions(carpeta.ruta() / "cerrada", fs::perms::none);
  connection c(std::make_shared<ProveedorCarpetas>());
  c.setNetDevice(carpeta.texto("cerrada"));
  EXPECT_EQ(c.Connect(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(c.ErrorDescription(), U"Acceso denegado");
  fs::permissions(carpeta.ruta() / "cerrada", fs::perms::owner_all);
}

TEST(Linkmere, ReleaseAndDisconnectFreeTheLetter) {
  CarpetaTemporal carpeta;
  auto proveedor = std::make_shared<ProveedorCarpetas>();
  Cadena remoto;
  {
    connection c(proveedor);
    c.setNetDevice(carpeta.texto());
    ASSERT_EQ(c.Connect(), NO_ERROR);
    EXPECT_EQ(proveedor->LeeConexion(U"E:", remoto), NO_ERROR);
  }
  EXPECT_EQ(proveedor->LeeConexion(U"E:", remoto), ERROR_NOT_CONNECTED);

  connection c(proveedor);
  c.setNetDevice(carpeta.texto());
  Registro registro(c);
  ASSERT_EQ(c.Connect(), NO_ERROR);
  EXPECT_EQ(c.LocalUnit(), U"E");
  // Connecting again reuses the letter instead of leaving it mapped.
  ASSERT_EQ(c.Connect(), NO_ERROR);
  EXPECT_EQ(c.LocalUnit(), U"E");
  EXPECT_EQ(c.Disconnect(), NO_ERROR);
  EXPECT_EQ(proveedor->LeeConexion(U"E:", remoto), ERROR_NOT_CONNECTED);
  EXPECT_EQ(c.Carpeta(), U"");
  // Nothing is mapped any more.
  EXPECT_EQ(c.Disconnect(), ERROR_NOT_CONNECTED);
  EXPECT_EQ(c.ErrorDescription(), U"Error no identificado");
  EXPECT_EQ(registro.eventos, (std::vector<std::string>{"Connected", "Connected", "Disconnected",
                                                        "LinkmereError 2250"}));
}

TEST(Linkmere, ReleaseLeavesOtherMappingsAlone) {
  auto proveedor = std::make_shared<ProveedorPrueba>();
  proveedor->ocupa(U'G', U"/srv/otro");
  {
    connection c(proveedor);
    c.setLocalUnit(U"G");  // chosen, never connected: the letter is not ours
    Registro registro(c);
  }
  EXPECT_TRUE(proveedor->cancelaciones.empty());
  Cadena remoto;
  EXPECT_EQ(proveedor->LeeConexion(U"G:", remoto), NO_ERROR);
}

TEST(Linkmere, ScriptedProviderReachesEveryError) {
  for (const int32_t error : std::initializer_list<int32_t>{
           ERROR_ACCESS_DENIED, ERROR_BAD_DEV_TYPE, ERROR_BAD_NET_NAME, ERROR_INVALID_PASSWORD,
        ERROR_BUSY, ERROR_BAD_DEVICE, ERROR_DEVICE_ALREADY_REMEMBERED, ERROR_NO_NET_OR_BAD_PATH,
        ERROR_BAD_PROVIDER, ERROR_CANNOT_OPEN_PROFILE, ERROR_BAD_PROFILE, ERROR_EXTENDED_ERROR,
        ERROR_CANCELLED, 999}) {
    auto proveedor = std::make_shared<ProveedorPrueba>();
    proveedor->errorAnade = error;
    connection c(proveedor);
    c.setNetDevice(U"/srv/buzon");
    Registro registro(c);
    EXPECT_EQ(c.Connect(), error);
    EXPECT_EQ(c.ErrorNumber(), error);
    EXPECT_EQ(c.ErrorDescription(), descripcionError(error));
    EXPECT_EQ(c.LocalUnit(), U"");
    EXPECT_EQ(registro.eventos, std::vector<std::string>{"LinkmereError " + std::to_string(error)});
    // Only a letter in use moves on to the next letter.
    EXPECT_EQ(proveedor->intentos.size(), 1u) << error;
  }
}

TEST(Linkmere, WrongPasswordIsTriedOnceAndPasswordIsNotKeptByTheRecord) {
  auto proveedor = std::make_shared<ProveedorPrueba>();
  proveedor->passwordValida = U"secreta";
  proveedor->ocupa(U'E', U"/srv/otro");
  connection c(proveedor);
  c.setNetDevice(U"\\\\servidor\\buzon\\");
  c.setusername(U"ana");
  c.setpassword(U"mala");
  EXPECT_EQ(c.Connect(), ERROR_INVALID_PASSWORD);
  EXPECT_EQ(c.ErrorDescription(), U"Contraseña incorrecta");
  EXPECT_EQ(c.LocalUnit(), U"");
  ASSERT_EQ(proveedor->intentos.size(), 2u);  // E in use, then F refused

  c.setpassword(U"secreta");
  EXPECT_EQ(c.Connect(), NO_ERROR);
  EXPECT_EQ(c.LocalUnit(), U"F");
  const auto& intento = proveedor->intentos.back();
  EXPECT_EQ(intento.recurso.alcance, RESOURCE_GLOBALNET);
  EXPECT_EQ(intento.recurso.tipo, RESOURCETYPE_DISK);
  EXPECT_EQ(intento.recurso.presentacion, RESOURCEDISPLAYTYPE_SHARE);
  EXPECT_EQ(intento.recurso.uso, RESOURCEUSAGE_CONNECTABLE);
  EXPECT_EQ(intento.recurso.nombreLocal, U"F:");
  EXPECT_EQ(intento.recurso.nombreRemoto, U"\\\\servidor\\buzon");
  EXPECT_EQ(intento.username, U"ana");
  EXPECT_TRUE(intento.conPassword);
  EXPECT_EQ(intento.flags, CONNECT_NO_UPDATE_PROFILE);
  EXPECT_EQ(c.Carpeta(), U"\\\\servidor\\buzon");
}

TEST(Linkmere, DisconnectErrorsAndForce) {
  auto proveedor = std::make_shared<ProveedorPrueba>();
  connection c(proveedor);
  c.setNetDevice(U"/srv/buzon");
  Registro registro(c);
  ASSERT_EQ(c.Connect(), NO_ERROR);
  proveedor->errorCancela = ERROR_BUSY;
  EXPECT_EQ(c.Disconnect(), ERROR_BUSY);
  EXPECT_EQ(c.ErrorDescription(), U"Red ocupada");
  proveedor->errorCancela = NO_ERROR;
  EXPECT_EQ(c.Disconnect(), NO_ERROR);
  EXPECT_EQ(registro.eventos,
            (std::vector<std::string>{"Connected", "LinkmereError 170", "Disconnected"}));
  ASSERT_EQ(proveedor->cancelaciones.size(), 2u);
  EXPECT_EQ(proveedor->cancelaciones[0], std::make_pair(Cadena(U"E:"), true));
}

TEST(Linkmere, HandlerExceptionReachesTheCaller) {
  connection c(std::make_shared<ProveedorPrueba>());
  c.eventos.LinkmereError.conecta([](int32_t&) { throw std::runtime_error("manejador"); });
  EXPECT_THROW(c.Connect(), std::runtime_error);  // NetDevice empty: 67
  EXPECT_EQ(c.ErrorNumber(), ERROR_BAD_NET_NAME);
}

TEST(Linkmere, CreatableByName) {
  EXPECT_EQ(kestrin::creaObjetoSiExiste("Linkmere.connection"), nullptr);
  registra();
  EXPECT_NE(std::dynamic_pointer_cast<connection>(kestrin::CreaObjeto("linkmere.CONNECTION")),
            nullptr);
}

}  // namespace
}  // namespace linkmere
