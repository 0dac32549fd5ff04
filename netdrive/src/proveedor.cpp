// The folder provider, the scripted provider and their table of letters.
#include "linkmere/proveedor.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

namespace linkmere {
namespace {

// UTF-8 for the file system; the alias is Kestrin's, the conversion is ours so
// that Linkmere needs none of Kestrin's code.
std::string aUtf8(VistaCadena texto) {
  std::string salida;
  for (char32_t c : texto) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      salida.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      salida.push_back(static_cast<char>(0xC0 | (c >> 6)));
      salida.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      salida.push_back(static_cast<char>(0xE0 | (c >> 12)));
      salida.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      salida.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      salida.push_back(static_cast<char>(0xF0 | (c >> 18)));
      salida.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      salida.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      salida.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return salida;
}

// The folder as the table keeps it: absolute and without "." or "..", so the
// same folder written two ways reads back the same.
int32_t compruebaCarpeta(VistaCadena ruta, Cadena& absoluta) {
  if (ruta.empty() || ruta.find(U'\0') != VistaCadena::npos) return ERROR_BAD_NET_NAME;
  std::error_code ec;
  const auto camino = std::filesystem::absolute(aUtf8(ruta), ec).lexically_normal();
  if (ec) return ERROR_BAD_NET_NAME;
  struct stat datos {};
  if (::stat(camino.c_str(), &datos) != 0) {
    return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_BAD_NET_NAME;
  }
  if (!S_ISDIR(datos.st_mode)) return ERROR_BAD_NET_NAME;
  DIR* carpeta = ::opendir(camino.c_str());
  if (carpeta == nullptr) return ERROR_ACCESS_DENIED;
  ::closedir(carpeta);
  if (::access(camino.c_str(), R_OK | X_OK) != 0) return ERROR_ACCESS_DENIED;
  // Back to characters for the table: the path is UTF-8 on this system.
  absoluta.clear();
  const std::string bytes = camino.string();
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : 3;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= extra && i + k < bytes.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    }
    absoluta.push_back(c);
    i += extra + 1;
  }
  return NO_ERROR;
}

}  // namespace

char32_t TablaUnidades::letra(VistaCadena nombreLocal) {
  if (nombreLocal.size() != 2 || nombreLocal[1] != U':') return 0;
  char32_t c = nombreLocal[0];
  if (c >= U'a' && c <= U'z') c -= 32;
  return (c >= U'A' && c <= U'Z') ? c : 0;
}

int32_t TablaUnidades::anade(VistaCadena nombreLocal, Cadena remoto) {
  const char32_t l = letra(nombreLocal);
  if (l == 0) return ERROR_BAD_DEV_TYPE;
  std::lock_guard bloqueo(cerrojo_);
  if (!unidades_.emplace(l, std::move(remoto)).second) return ERROR_ALREADY_ASSIGNED;
  return NO_ERROR;
}

int32_t TablaUnidades::cancela(VistaCadena nombreLocal) {
  const char32_t l = letra(nombreLocal);
  if (l == 0) return ERROR_BAD_DEV_TYPE;
  std::lock_guard bloqueo(cerrojo_);
  return unidades_.erase(l) == 1 ? NO_ERROR : ERROR_NOT_CONNECTED;
}

int32_t TablaUnidades::lee(VistaCadena nombreLocal, Cadena& remoto) const {
  const char32_t l = letra(nombreLocal);
  if (l == 0) return ERROR_BAD_DEV_TYPE;
  std::lock_guard bloqueo(cerrojo_);
  const auto it = unidades_.find(l);
  if (it == unidades_.end()) return ERROR_NOT_CONNECTED;
  remoto = it->second;
  return NO_ERROR;
}

int32_t ProveedorCarpetas::AnadeConexion(const RecursoRed& recurso, VistaCadena, VistaCadena,
                                         int32_t) {
  if (TablaUnidades::letra(recurso.nombreLocal) == 0) return ERROR_BAD_DEV_TYPE;
  Cadena ocupante;
  if (tabla_.lee(recurso.nombreLocal, ocupante) == NO_ERROR) return ERROR_ALREADY_ASSIGNED;
  Cadena carpeta;
  if (const int32_t error = compruebaCarpeta(recurso.nombreRemoto, carpeta); error != NO_ERROR) {
    return error;
  }
  return tabla_.anade(recurso.nombreLocal, std::move(carpeta));
}

int32_t ProveedorCarpetas::CancelaConexion(VistaCadena nombreLocal, int32_t, bool) {
  return tabla_.cancela(nombreLocal);
}

int32_t ProveedorCarpetas::LeeConexion(VistaCadena nombreLocal, Cadena& remoto) const {
  return tabla_.lee(nombreLocal, remoto);
}

std::shared_ptr<Proveedor> proveedorCarpetas() {
  static const auto unico = std::make_shared<ProveedorCarpetas>();
  return unico;
}

void ProveedorPrueba::ocupa(char32_t letra, Cadena remoto) {
  tabla_.anade(Cadena{letra, U':'}, std::move(remoto));
}

int32_t ProveedorPrueba::AnadeConexion(const RecursoRed& recurso, VistaCadena password,
                                       VistaCadena username, int32_t flags) {
  intentos.push_back({recurso, Cadena(username), !password.empty(), flags});
  if (errorAnade != NO_ERROR) return errorAnade;
  // The local name is checked before the share, as the folder provider does.
  if (TablaUnidades::letra(recurso.nombreLocal) == 0) return ERROR_BAD_DEV_TYPE;
  Cadena ocupante;
  if (tabla_.lee(recurso.nombreLocal, ocupante) == NO_ERROR) return ERROR_ALREADY_ASSIGNED;
  if (!passwordValida.empty() && password != passwordValida) return ERROR_INVALID_PASSWORD;
  if (recurso.nombreRemoto.empty()) return ERROR_BAD_NET_NAME;
  return tabla_.anade(recurso.nombreLocal, recurso.nombreRemoto);
}

int32_t ProveedorPrueba::CancelaConexion(VistaCadena nombreLocal, int32_t, bool forzar) {
  cancelaciones.emplace_back(Cadena(nombreLocal), forzar);
  if (errorCancela != NO_ERROR) return errorCancela;
  return tabla_.cancela(nombreLocal);
}

int32_t ProveedorPrueba::LeeConexion(VistaCadena nombreLocal, Cadena& remoto) const {
  return tabla_.lee(nombreLocal, remoto);
}

}  // namespace linkmere
