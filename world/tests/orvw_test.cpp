// Workspace services: profile files, utilities and the start-up connection.
#include "kestrin/orvw.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

#include "linkmere/proveedor.h"

namespace kestrin {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class CarpetaTemporal {
 public:
  CarpetaTemporal() {
    char plantilla[] = "/tmp/kestrin-XXXXXX";
    ruta_ = ::mkdtemp(plantilla);
  }
  ~CarpetaTemporal() {
    std::error_code ec;
    fs::remove_all(ruta_, ec);
  }
  Cadena texto(const std::string& nombre = "") const {
    return desdeUtf8((nombre.empty() ? ruta_ : ruta_ / nombre).string());
  }
  fs::path ruta(const std::string& nombre) const { return ruta_ / nombre; }
  void escribe(const std::string& nombre, const std::string& bytes) const {
    std::ofstream(ruta_ / nombre, std::ios::binary) << bytes;
  }
  std::string lee(const std::string& nombre) const {
    std::ifstream f(ruta_ / nombre, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  size_t ficheros() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(ruta_), {}));
  }

 private:
  fs::path ruta_;
};

ORVW::Entorno entornoDePrueba(const CarpetaTemporal& carpeta,
                              std::shared_ptr<linkmere::Proveedor> proveedor = nullptr) {
  if (!proveedor) proveedor = std::make_shared<linkmere::ProveedorPrueba>();
  return {carpeta.texto(), std::move(proveedor)};
}

// The profile in Windows-1252 bytes: "Buzón" has 0xF3, "Nº" has 0xBA.
const std::string kPerfil =
    "; ajustes del laboratorio\r\n"
    "[Buz\xF3n]\r\n"
    "URL =  /srv/buzon  \r\n"
    "username=ana\r\n"
    "password=\"clave con espacios\"\r\n"
    "vacio=\r\n"
    "sin igual\r\n"
    "\r\n"
    "[RSA 1]\r\n"
    "N\xBA de bits=512\r\n"
    "Clave='12345'\r\n"
    "\tTama\xF1o de bloque\t=\t3\r\n"
    "[buz\xD3N]\r\n"
    "URL=segunda\r\n";

TEST(ORVWPerfil, ReadsLikeThePrivateProfileReader) {
  CarpetaTemporal carpeta;
  carpeta.escribe("ORV.INI", kPerfil);
  ORVW w(entornoDePrueba(carpeta));
  struct Caso {
    const char32_t *seccion, *clave, *defecto, *esperado;
  };
  const Caso casos[] = {
      {U"Buzón", U"URL", U"x", U"/srv/buzon"},
      {U"BUZÓN", U"url", U"x", U"/srv/buzon"},  // any case, accents included; first section wins
      {U"Buzón", U"username", U"", U"ana"},
      {U"Buzón", U"password", U"", U"clave con espacios"},
      {U"Buzón", U"vacio", U"def", U""},
      {U"Buzón", U"sin igual", U"def", U"def"},
      {U"Buzón", U"falta", U"def  ", U"def"},  // the default loses its trailing spaces
      {U"Nada", U"URL", U"def", U"def"},
      {U"RSA 1", U"Nº de bits", U"0", U"512"},
      {U"rsa 1", U"CLAVE", U"", U"12345"},
      {U"RSA 1", U"Tamaño de bloque", U"1", U"3"},
      {U"RSA 1", U"username", U"nadie", U"nadie"},  // keys belong to their section
  };
  for (const auto& c : casos) {
    EXPECT_EQ(w.GetProfile(c.seccion, c.clave, c.defecto, w.Perfil()), c.esperado)
        << aUtf8(c.seccion) << " / " << aUtf8(c.clave);
  }
  // A missing file, a folder, a named pipe, a device and an empty name give the default.
  ASSERT_EQ(::mkfifo(carpeta.ruta("tuberia").c_str(), 0600), 0);
  for (const Cadena& perfil : {carpeta.texto("NO.INI"), carpeta.texto(), carpeta.texto("tuberia"),
                               Cadena(U"/dev/zero"), Cadena()}) {
    EXPECT_EQ(w.GetProfile(U"Buzón", U"URL", U"def", perfil), U"def") << aUtf8(perfil);
  }
}

TEST(ORVWPerfil, LongValuesAreCutToTheBuffer) {
  CarpetaTemporal carpeta;
  const std::string largo(3000, 'x');
  carpeta.escribe("largo.ini", "[S]\nlargo=" + largo + "\nexacto=" + std::string(2047, 'y') +
                                   "\nsolo cr=1\rsigue=2\r");
  ORVW w(entornoDePrueba(carpeta));
  const Cadena perfil = carpeta.texto("largo.ini");
  EXPECT_EQ(w.GetProfile(U"S", U"largo", U"", perfil), Cadena(ORVW::kMaxPerfil, U'x'));
  EXPECT_EQ(w.GetProfile(U"S", U"exacto", U"", perfil), Cadena(2047, U'y'));
  EXPECT_EQ(w.GetProfile(U"S", U"falta", Cadena(3000, U'd'), perfil), Cadena(2047, U'd'));
  EXPECT_EQ(w.GetProfile(U"S", U"sigue", U"", perfil), U"2");
}

TEST(ORVWPerfil, WriterRoundTripKeepsEveryOtherLine) {
  CarpetaTemporal carpeta;
  carpeta.escribe("claves.rsa", kPerfil);
  ORVW w(entornoDePrueba(carpeta));
  const Cadena perfil = carpeta.texto("claves.rsa");

  ASSERT_TRUE(w.WriteProfile(U"rsa 1", U"Nº DE BITS", U"1024", perfil));  // in place
  ASSERT_TRUE(w.WriteProfile(U"RSA 1", U"Exponente", U"65537", perfil));  // appended to the section
  ASSERT_TRUE(w.WriteProfile(U"RSA 2", U"Clave", U"  77 ", perfil));      // a new section
  EXPECT_EQ(w.GetProfile(U"RSA 1", U"Nº de bits", U"0", perfil), U"1024");
  EXPECT_EQ(w.GetProfile(U"RSA 1", U"Exponente", U"", perfil), U"65537");
  EXPECT_EQ(w.GetProfile(U"RSA 2", U"Clave", U"", perfil), U"77");

  std::string esperado = kPerfil;
  const std::string viejo = "N\xBA de bits=512";
  esperado.replace(esperado.find(viejo), viejo.size(), "N\xBA DE BITS=1024");
  esperado.insert(esperado.find("[buz\xD3N]"), "Exponente=65537\r\n");
  esperado += "\r\n[RSA 2]\r\nClave=  77 \r\n";
  EXPECT_EQ(carpeta.lee("claves.rsa"), esperado);
  EXPECT_EQ(carpeta.ficheros(), 1u);  // no temporary file left behind
}

TEST(ORVWPerfil, WriterCreatesTheFileAndKeepsItsLineEndsAndCodePage) {
  CarpetaTemporal carpeta;
  ORVW w(entornoDePrueba(carpeta));
  const Cadena nuevo = carpeta.texto("nuevo.ini");
  ASSERT_TRUE(w.WriteProfile(U"Mochila", U"Nº de bits", U"año", nuevo));
  EXPECT_EQ(carpeta.lee("nuevo.ini"), "[Mochila]\r\nN\xBA de bits=a\xF1o\r\n");

  carpeta.escribe("unix.ini", "[A]\nx=1");  // LF ends, no final line end
  ASSERT_TRUE(w.WriteProfile(U"A", U"y", U"2", carpeta.texto("unix.ini")));
  EXPECT_EQ(carpeta.lee("unix.ini"), "[A]\nx=1\ny=2\n");

  carpeta.escribe("utf8.ini", "\xEF\xBB\xBF[Buz\xC3\xB3n]\nURL=/a\n");  // marked UTF-8
  ASSERT_TRUE(w.WriteProfile(U"Buzón", U"URL", U"/srv/☃", carpeta.texto("utf8.ini")));
  EXPECT_EQ(carpeta.lee("utf8.ini"), "\xEF\xBB\xBF[Buz\xC3\xB3n]\nURL=/srv/\xE2\x98\x83\n");
  EXPECT_EQ(w.GetProfile(U"BUZÓN", U"url", U"", carpeta.texto("utf8.ini")), U"/srv/☃");

  // Through a link the file it names is replaced, and the link stays.
  fs::create_symlink(carpeta.ruta("unix.ini"), carpeta.ruta("enlace.ini"));
  ASSERT_TRUE(w.WriteProfile(U"A", U"x", U"9", carpeta.texto("enlace.ini")));
  EXPECT_TRUE(fs::is_symlink(carpeta.ruta("enlace.ini")));
  EXPECT_EQ(carpeta.lee("unix.ini"), "[A]\nx=9\ny=2\n");
}

TEST(ORVWPerfil, WriterRefusesWhatCannotBeStoredAndChangesNothing) {
  CarpetaTemporal carpeta;
  carpeta.escribe("p.ini", kPerfil);
  ORVW w(entornoDePrueba(carpeta));
  const Cadena perfil = carpeta.texto("p.ini");
  struct Caso {
    const char* nombre;
    Cadena seccion, clave, valor, ruta;
  };
  const Caso casos[] = {
      {"salto en el valor", U"S", U"k", U"a\r\n[Buzón]\r\nURL=/otra", perfil},
      {"salto en la clave", U"S", U"k\nj", U"v", perfil},
      {"igual en la clave", U"S", U"k=j", U"v", perfil},
      {"corchete en la seccion", U"S]x", U"k", U"v", perfil},
      {"clave vacia", U"S", U"  ", U"v", perfil},
      {"seccion vacia", U"", U"k", U"v", perfil},
      {"clave de comentario", U"S", U";k", U"v", perfil},
      {"cero", U"S", U"k", Cadena(U"a\0b", 3), perfil},
      {"fuera de la pagina de codigos", U"S", U"k", U"☃", perfil},
      {"carpeta que no existe", U"S", U"k", U"v", carpeta.texto("no/existe.ini")},
      {"una carpeta", U"S", U"k", U"v", carpeta.texto()},
  };
  for (const auto& c : casos) {
    EXPECT_FALSE(w.WriteProfile(c.seccion, c.clave, c.valor, c.ruta)) << c.nombre;
  }
  EXPECT_EQ(carpeta.lee("p.ini"), kPerfil);
  EXPECT_EQ(carpeta.ficheros(), 1u);
}

TEST(ORVWPerfil, FailedWriteLosesNothing) {
  CarpetaTemporal carpeta;
  carpeta.escribe("claves.mhm", kPerfil);
  ORVW w(entornoDePrueba(carpeta));
  // Files may not grow past 512 bytes: the temporary copy cannot be written.
  // As root too, unlike permissions.
  const auto anterior = ::signal(SIGXFSZ, SIG_IGN);
  rlimit limite{};
  ::getrlimit(RLIMIT_FSIZE, &limite);
  rlimit corto = limite;
  corto.rlim_cur = 512;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &corto), 0);
  const bool escrito =
      w.WriteProfile(U"RSA 1", U"Clave", Cadena(1000, U'7'), carpeta.texto("claves.mhm"));
  ::setrlimit(RLIMIT_FSIZE, &limite);
  ::signal(SIGXFSZ, anterior);

  EXPECT_FALSE(escrito);
  EXPECT_EQ(carpeta.lee("claves.mhm"), kPerfil);
  EXPECT_EQ(carpeta.ficheros(), 1u);
}

// A numeric facet with the decimal comma and the point grouping thousands.
struct ComaDecimal : std::numpunct<wchar_t> {
  wchar_t do_decimal_point() const override { return L','; }
  wchar_t do_thousands_sep() const override { return L'.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(ORVW, EvalFollowsTheRegionalFormat) {
  CarpetaTemporal carpeta;
  ORVW w(entornoDePrueba(carpeta));
  const FormatoNumerico coma = FormatoNumerico::de(std::locale(std::locale::classic(),
                                                               new ComaDecimal));
  EXPECT_EQ(coma.decimal, U',');
  EXPECT_EQ(coma.miles, U'.');
  const FormatoNumerico punto = FormatoNumerico::de(std::locale::classic());
  EXPECT_EQ(punto.decimal, U'.');
  EXPECT_EQ(punto.miles, 0u);  // "C" groups no digits
  const FormatoNumerico ingles{U'.', U','};

  struct Caso {
    const char32_t* texto;
    double conComa, conPunto, enIngles;
  };
  const Caso casos[] = {
      {U"12,5", 12.5, 0, 125},
      {U"12.5", 125, 12.5, 12.5},
      {U"  -3,25 ", -3.25, 0, -325},
      {U"1.234,5", 1234.5, 0, 0},
      {U"1,234.5", 0, 0, 1234.5},
      {U"+7", 7, 7, 7},
      {U"2E3", 2000, 2000, 2000},
      {U"1,5e-2", 0.015, 0, 0.15},
      {U",5", 0.5, 0, 0},
      {U"palabra", 0, 0, 0},
      {U"", 0, 0, 0},
      {U"12,5x", 0, 0, 0},
      {U"1e999", 0, 0, 0},
      {U"inf", 0, 0, 0},
      {U"0x1A", 0, 0, 0},
      {U"--1", 0, 0, 0},
      {U"1e", 0, 0, 0},
  };
  for (const auto& c : casos) {
    w.setFormato(coma);
    EXPECT_DOUBLE_EQ(w.Eval(c.texto), c.conComa) << aUtf8(c.texto);
    w.setFormato(punto);
    EXPECT_DOUBLE_EQ(w.Eval(c.texto), c.conPunto) << aUtf8(c.texto);
    w.setFormato(ingles);
    EXPECT_DOUBLE_EQ(w.Eval(c.texto), c.enIngles) << aUtf8(c.texto);
  }
}

TEST(ORVW, XTrimAndExistFileDir) {
  CarpetaTemporal carpeta;
  carpeta.escribe("fichero.ORV", "x");
  ORVW w(entornoDePrueba(carpeta));
  const std::pair<Cadena, Cadena> recortes[] = {
      {Cadena(U"abc\0\0\0", 6), U"abc"},
      {Cadena(U"\0 a\0b \0", 7), U"a b"},
      {U"   ", U""},
      {U"", U""},
      {U"\tx\t", U"\tx\t"},  // only spaces are trimmed
  };
  for (const auto& [entrada, salida] : recortes) EXPECT_EQ(w.XTrim(entrada), salida);

  EXPECT_TRUE(w.ExistFileDir(carpeta.texto("fichero.ORV")));
  EXPECT_TRUE(w.ExistFileDir(carpeta.texto()));
  EXPECT_TRUE(w.ExistFileDir(carpeta.texto() + U"/"));
  EXPECT_FALSE(w.ExistFileDir(carpeta.texto("falta.ORV")));
  EXPECT_FALSE(w.ExistFileDir(carpeta.texto("fichero.ORV/dentro")));
  EXPECT_FALSE(w.ExistFileDir(U""));
  EXPECT_FALSE(w.ExistFileDir(carpeta.texto("fichero.ORV") + Cadena(1, U'\0') + U"x"));
}

TEST(ORVWArranque, WithoutProfileConnectsTheApplicationFolder) {
  CarpetaTemporal carpeta;
  auto proveedor = std::make_shared<linkmere::ProveedorPrueba>();
  ORVW w(entornoDePrueba(carpeta, proveedor));
  EXPECT_EQ(w.COLFIX(), 14737632);
  EXPECT_EQ(w.Carpeta(), carpeta.texto());
  EXPECT_EQ(w.Perfil(), carpeta.texto() + U"/ORV.INI");
  ASSERT_NE(w.NetCnx(), nullptr);
  EXPECT_EQ(w.NetCnx()->NetDevice(), carpeta.texto());
  EXPECT_EQ(w.NetCnx()->ErrorNumber(), 0);
  EXPECT_EQ(w.NetCnx()->LocalUnit(), U"E");
  ASSERT_EQ(proveedor->intentos.size(), 1u);
  EXPECT_EQ(proveedor->intentos[0].username, U"");
  EXPECT_FALSE(proveedor->intentos[0].conPassword);
  w.setCOLFIX(255);
  EXPECT_EQ(w.COLFIX(), 255);
}

TEST(ORVWArranque, ReadsTheMailboxAndForgetsThePassword) {
  CarpetaTemporal carpeta;
  carpeta.escribe("ORV.INI", kPerfil);
  auto proveedor = std::make_shared<linkmere::ProveedorPrueba>();
  proveedor->passwordValida = U"clave con espacios";
  proveedor->ocupa(U'E', U"/otra");
  {
    ORVW w(entornoDePrueba(carpeta, proveedor));
    EXPECT_EQ(w.NetCnx()->NetDevice(), U"/srv/buzon");
    EXPECT_EQ(w.NetCnx()->username(), U"ana");
    EXPECT_EQ(w.NetCnx()->password(), U"");
    EXPECT_EQ(w.NetCnx()->LocalUnit(), U"F");
    EXPECT_EQ(proveedor->intentos.back().username, U"ana");
    EXPECT_TRUE(proveedor->intentos.back().conPassword);
    EXPECT_EQ(w.NetCnx()->Carpeta(), U"/srv/buzon");
  }
  // Releasing the workspace releases its connection, which frees F.
  Cadena remoto;
  EXPECT_EQ(proveedor->LeeConexion(U"F:", remoto), linkmere::ERROR_NOT_CONNECTED);
}

TEST(ORVWArranque, AFailedConnectionDoesNotStopTheObject) {
  CarpetaTemporal carpeta;
  for (const int32_t error : {linkmere::ERROR_CANCELLED, linkmere::ERROR_INVALID_PASSWORD,
                              linkmere::ERROR_NO_NET_OR_BAD_PATH}) {
    auto proveedor = std::make_shared<linkmere::ProveedorPrueba>();
    proveedor->errorAnade = error;
    ORVW w(entornoDePrueba(carpeta, proveedor));
    EXPECT_EQ(w.NetCnx()->ErrorNumber(), error);
    EXPECT_EQ(w.NetCnx()->LocalUnit(), U"");
    EXPECT_EQ(w.CSKey(U"[ORVKey=008]x"), 8);  // and the services still work
  }
  // The folder provider with a mailbox folder that does not exist.
  carpeta.escribe("ORV.INI", "[Buz\xF3n]\nURL=" + aUtf8(carpeta.texto("falta")) + "\n");
  ORVW w(ORVW::Entorno{carpeta.texto(), std::make_shared<linkmere::ProveedorCarpetas>()});
  EXPECT_EQ(w.NetCnx()->ErrorNumber(), linkmere::ERROR_BAD_NET_NAME);
  EXPECT_EQ(w.NetCnx()->ErrorDescription(), U"Nombre de red incorrecto");
}

TEST(ORVWArranque, DefaultFolderIsTheExecutables) {
  const Cadena carpeta = carpetaPrograma();
  EXPECT_TRUE(fs::exists(aUtf8(carpeta) + "/kestrin_tests"));
  EXPECT_NE(carpeta.back(), U'/');
}

}  // namespace
}  // namespace kestrin
