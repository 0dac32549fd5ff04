// The workspace object: tag helpers, profile, utilities and the mailbox.
#include "kestrin/orvw.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "linkmere/connection.h"
#include "perfil.h"

namespace kestrin {

FormatoNumerico FormatoNumerico::de(const std::locale& locale) {
  FormatoNumerico formato;
  const auto& puntuacion = std::use_facet<std::numpunct<wchar_t>>(locale);
  formato.decimal = static_cast<char32_t>(puntuacion.decimal_point());
  formato.miles =
      puntuacion.grouping().empty() ? 0 : static_cast<char32_t>(puntuacion.thousands_sep());
  if (formato.miles == formato.decimal) formato.miles = 0;
  return formato;
}

FormatoNumerico FormatoNumerico::delUsuario() {
  try {
    return de(std::locale(""));
  } catch (const std::exception&) {
    return de(std::locale::classic());
  }
}

Cadena carpetaPrograma() {
  std::error_code ec;
  auto programa = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || !programa.has_parent_path()) programa = std::filesystem::current_path(ec) / "x";
  return desdeUtf8(programa.parent_path().string());
}

Cadena carpetaUsuario() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return desdeUtf8(std::string(xdg) + "/ORV");
  const char* casa = std::getenv("HOME");
  if (casa && casa[0] != '\0') return desdeUtf8(std::string(casa) + "/.config/ORV");
  return {};
}

namespace {

// access() alone says yes to root everywhere but on a read-only mount, and
// can say yes where a network or FUSE folder refuses the file; so a file is
// created and removed as well.
bool sePuedeEscribir(const std::string& carpeta) {
  if (carpeta.empty() || ::access(carpeta.c_str(), W_OK) != 0) return false;
  std::string plantilla = carpeta + "/.orv-escritura-XXXXXX";
  const int fd = ::mkstemp(plantilla.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(plantilla.c_str());
  return true;
}

}  // namespace

Cadena carpetaDatos(const Cadena& programa) {
  if (sePuedeEscribir(aUtf8(programa))) return programa;
  const Cadena usuario = carpetaUsuario();
  if (usuario.empty()) return programa;
  // A failure here shows later as a profile that cannot be written.
  std::error_code ec;
  std::filesystem::create_directories(aUtf8(usuario), ec);
  return usuario;
}

Cadena carpetaDatos() {
  return carpetaDatos(carpetaPrograma());
}

ORVW::ORVW() : ORVW(Entorno{}) {}

ORVW::ORVW(const Entorno& entorno) try
    : carpeta_(entorno.carpeta.empty() ? carpetaDatos() : entorno.carpeta),
      formato_(FormatoNumerico::delUsuario()) {
  colfix_ = kColfixInicial;
  perfil_ = carpeta_;
  if (perfil_.empty() || perfil_.back() != U'/') perfil_ += U'/';
  perfil_ += U"ORV.INI";
  netCnx_ = std::make_shared<linkmere::connection>(entorno.proveedor);
  netCnx_->setNetDevice(GetProfile(U"Buzón", U"URL", carpeta_, perfil_));
  netCnx_->setLocalUnit(U"");
  netCnx_->setusername(GetProfile(U"Buzón", U"username", U"", perfil_));
  netCnx_->setpassword(GetProfile(U"Buzón", U"password", U"", perfil_));
  // The outcome is the connection's own business; nothing here depends on it.
  netCnx_->Connect();
  // The password is needed for the attempt only.
  netCnx_->setpassword(U"");
} catch (...) {
  relanzaComoErrorORV();
}

Cadena ORVW::GetProfile(const Cadena& Seccion, const Cadena& clave, const Cadena& defecto,
                        const Cadena& profile) const try {
  return perfil::lee(Seccion, clave, defecto, profile, kMaxPerfil);
} catch (...) {
  relanzaComoErrorORV();
}

bool ORVW::WriteProfile(const Cadena& Seccion, const Cadena& clave, const Cadena& valor,
                        const Cadena& profile) const try {
  return perfil::escribe(Seccion, clave, valor, profile);
} catch (...) {
  relanzaComoErrorORV();
}

bool ORVW::ExistFileDir(const Cadena& sSpec) const try {
  if (sSpec.empty() || sSpec.find(U'\0') != Cadena::npos) return false;
  struct stat datos {};
  return ::stat(aUtf8(sSpec).c_str(), &datos) == 0;
} catch (...) {
  relanzaComoErrorORV();
}

double ORVW::Eval(VistaCadena x) const try {
  while (!x.empty() && x.front() == U' ') x.remove_prefix(1);
  while (!x.empty() && x.back() == U' ') x.remove_suffix(1);
  // Rewritten as a plain decimal for from_chars, which ignores the process locale.
  std::string numero;
  bool digitos = false, decimal = false, exponente = false, digitosExponente = false;
  for (size_t i = 0; i < x.size(); ++i) {
    const char32_t c = x[i];
    if (c >= U'0' && c <= U'9') {
      numero.push_back(static_cast<char>(c));
      (exponente ? digitosExponente : digitos) = true;
    } else if ((c == U'+' || c == U'-') &&
               (i == 0 || (exponente && (x[i - 1] == U'e' || x[i - 1] == U'E')))) {
      if (c == U'-') numero.push_back('-');
    } else if (c == formato_.decimal && !decimal && !exponente) {
      numero.push_back('.');
      decimal = true;
    } else if (formato_.miles != 0 && c == formato_.miles && digitos && !decimal && !exponente) {
      // digit grouping: leave it out
    } else if ((c == U'e' || c == U'E') && digitos && !exponente) {
      numero.push_back('e');
      exponente = true;
    } else {
      return 0;
    }
  }
  if (!digitos || (exponente && !digitosExponente)) return 0;
  double valor = 0;
  const auto [fin, error] = std::from_chars(numero.data(), numero.data() + numero.size(), valor);
  if (error != std::errc() || fin != numero.data() + numero.size() || !std::isfinite(valor)) {
    return 0;
  }
  return valor;
} catch (...) {
  relanzaComoErrorORV();
}

Cadena ORVW::XTrim(VistaCadena buffer) const try {
  Cadena salida(buffer);
  for (char32_t& c : salida) {
    if (c == 0) c = U' ';
  }
  const auto inicio = salida.find_first_not_of(U' ');
  if (inicio == Cadena::npos) return U"";
  return salida.substr(inicio, salida.find_last_not_of(U' ') - inicio + 1);
} catch (...) {
  relanzaComoErrorORV();
}

int32_t ORVW::CSKey(const Cadena& buffer) const {
  return etiqueta::lee(buffer, /*sinMayusculas=*/true);
}

void ORVW::setCSKey(Cadena& buffer, int32_t key) const try {
  if (etiqueta::busca(buffer, /*sinMayusculas=*/true)) buffer.erase(0, etiqueta::kLongitud);
  if (key != CSKNone) buffer.insert(0, etiqueta::escribe(key));
} catch (...) {
  relanzaComoErrorORV();
}

Cadena ORVW::CSText(const Cadena& buffer) const try {
  if (etiqueta::busca(buffer, /*sinMayusculas=*/true)) return buffer.substr(etiqueta::kLongitud);
  return buffer;
} catch (...) {
  relanzaComoErrorORV();
}

Cadena ORVW::CSDescription(int32_t key) const {
  static constexpr VistaCadena kPrefijo = U"Cifrado con el criptosistema ";
  switch (key) {
    case CSKNone:
      return U"Texto en claro";
    case CSKAfin:
      return Cadena(kPrefijo) + U"Afín";
    case CSKSust:
      return Cadena(kPrefijo) + U"de sustitución";
    case CSKVig:
      return Cadena(kPrefijo) + U"de Vigenère";
    case CSKXOR:
      return Cadena(kPrefijo) + U"XOR";
    case CSKHill:
      return Cadena(kPrefijo) + U"de Hill";
    case CSKRSA:
      return Cadena(kPrefijo) + U"RSA";
    case CSKMH:
      return Cadena(kPrefijo) + U"Merkle-Hellmann";
    default:
      return U"Cifrado desconocido";
  }
}

}  // namespace kestrin
