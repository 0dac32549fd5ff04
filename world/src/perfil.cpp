// Initialisation files read as the platform's private-profile reader does, and
// written in place through a temporary file.
#include "perfil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "linkmere/connection.h"

namespace kestrin::perfil {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";
// A settings file is a few lines; anything this large is not one.
constexpr off_t kTamanoMaximo = 16 << 20;

struct Linea {
  Cadena texto;
  Cadena fin;  // "\r\n", "\n", "\r", or "" for a last line without one
};

struct Documento {
  bool utf8 = false;  // started with the UTF-8 mark, and is written back so
  std::vector<Linea> lineas;
};

bool esBlanco(char32_t c) { return c == U' ' || c == U'\t'; }

VistaCadena recorta(VistaCadena s) {
  while (!s.empty() && esBlanco(s.front())) s.remove_prefix(1);
  while (!s.empty() && esBlanco(s.back())) s.remove_suffix(1);
  return s;
}

// The name of a section header "[nombre]", or nothing for another line.
std::optional<VistaCadena> seccionDe(VistaCadena linea) {
  linea = recorta(linea);
  if (linea.empty() || linea.front() != U'[') return std::nullopt;
  linea.remove_prefix(1);
  return recorta(linea.substr(0, linea.find(U']')));
}

// The key and the raw value of a "clave=valor" line.
bool claveDe(VistaCadena linea, VistaCadena& clave, VistaCadena& valor) {
  const auto igual = linea.find(U'=');
  if (igual == VistaCadena::npos) return false;
  clave = recorta(linea.substr(0, igual));
  valor = recorta(linea.substr(igual + 1));
  return true;
}

fs::path camino(VistaCadena ruta) { return fs::path(aUtf8(ruta)); }

// The file's bytes; nothing when it cannot be read, with `falta` set when it
// simply does not exist.
std::optional<std::string> leeBytes(const fs::path& ruta, bool& falta) {
  falta = false;
  // Without blocking: a named pipe given as the profile must not hang the caller.
  const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    falta = errno == ENOENT;
    return std::nullopt;
  }
  struct stat datos {};
  if (::fstat(fd, &datos) != 0 || !S_ISREG(datos.st_mode) || datos.st_size > kTamanoMaximo) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  char bloque[65536];
  for (;;) {
    const ssize_t n = ::read(fd, bloque, sizeof bloque);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(bloque, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

Documento analiza(std::string_view bytes) {
  Documento doc;
  Cadena texto;
  if (bytes.starts_with(kMarcaUtf8)) {
    doc.utf8 = true;
    texto = desdeUtf8(bytes.substr(kMarcaUtf8.size()));
  } else {
    texto = desdeAnsi(bytes);
  }
  size_t inicio = 0;
  while (inicio < texto.size()) {
    const auto salto = texto.find_first_of(U"\r\n", inicio);
    if (salto == Cadena::npos) {
      doc.lineas.push_back({texto.substr(inicio), U""});
      break;
    }
    const size_t largo = (texto[salto] == U'\r' && salto + 1 < texto.size() &&
                          texto[salto + 1] == U'\n')
                             ? 2
                             : 1;
    doc.lineas.push_back({texto.substr(inicio, salto - inicio), texto.substr(salto, largo)});
    inicio = salto + largo;
  }
  linkmere::borraSecreto(texto);
  return doc;
}

// The document's bytes, or nothing when a character does not fit its code page.
std::optional<std::string> serializa(const Documento& doc) {
  Cadena texto;
  for (const auto& linea : doc.lineas) texto += linea.texto + linea.fin;
  if (doc.utf8) return std::string(kMarcaUtf8) + aUtf8(texto);
  for (char32_t c : texto) {
    if (c != U'?' && codigoAnsi(c) == '?') return std::nullopt;
  }
  return aAnsi(texto);
}

// The index of the first header of `seccion`, or the number of lines.
size_t buscaSeccion(const Documento& doc, VistaCadena seccion) {
  for (size_t i = 0; i < doc.lineas.size(); ++i) {
    const auto nombre = seccionDe(doc.lineas[i].texto);
    if (nombre && igualesSinMayusculas(*nombre, seccion)) return i;
  }
  return doc.lineas.size();
}

bool escribeTodo(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writes `bytes` to a new file beside `destino` and renames it over `destino`.
// On any failure the temporary file is removed and `destino` is untouched.
bool reemplaza(const fs::path& destino, std::string_view bytes, std::optional<mode_t> modo) {
  const fs::path carpeta = destino.has_parent_path() ? destino.parent_path() : fs::path(".");
  std::mt19937 azar(std::random_device{}());
  fs::path temporal;
  int fd = -1;
  for (int intento = 0; intento < 100 && fd < 0; ++intento) {
    temporal = carpeta / ("." + destino.filename().string() + ".tmp" + std::to_string(azar()));
    fd = ::open(temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool bien = escribeTodo(fd, bytes) && ::fsync(fd) == 0;
  if (bien && modo) bien = ::fchmod(fd, *modo) == 0;
  bien = (::close(fd) == 0) && bien;
  if (bien) bien = ::rename(temporal.c_str(), destino.c_str()) == 0;
  if (!bien) {
    ::unlink(temporal.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  if (const int dir = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool nombreValido(VistaCadena nombre) {
  return !nombre.empty() && nombre.find_first_of(U"\r\n", 0) == VistaCadena::npos &&
         nombre.find(U'\0') == VistaCadena::npos;
}

// Whether a key can be written as given: no line break or zero anywhere, no
// "=" in the key, no "]" in the section, no empty name, and no key line that
// would read as a header or a comment. The names are trimmed first.
bool admite(VistaCadena& seccion, VistaCadena& clave, VistaCadena valor) {
  seccion = recorta(seccion);
  clave = recorta(clave);
  if (!nombreValido(seccion) || seccion.find(U']') != VistaCadena::npos) return false;
  if (!nombreValido(clave) || clave.find(U'=') != VistaCadena::npos || clave.front() == U'[' ||
      clave.front() == U';') {
    return false;
  }
  return valor.find_first_of(U"\r\n", 0) == VistaCadena::npos &&
         valor.find(U'\0') == VistaCadena::npos;
}

Cadena porDefectoDe(VistaCadena defecto, size_t maximo) {
  // The default loses its trailing spaces, as the platform's reader does.
  while (!defecto.empty() && defecto.back() == U' ') defecto.remove_suffix(1);
  return Cadena(defecto.substr(0, maximo));
}

}  // namespace

Cadena leeEn(std::string_view bytes, VistaCadena seccion, VistaCadena clave, VistaCadena defecto,
             size_t maximo) {
  const Cadena porDefecto = porDefectoDe(defecto, maximo);
  Documento doc = analiza(bytes);
  // The file may hold a password: the lines are wiped before they are freed.
  struct Borrado {
    Documento& doc;
    ~Borrado() {
      for (auto& linea : doc.lineas) linkmere::borraSecreto(linea.texto);
    }
  } borrado{doc};
  const VistaCadena buscada = recorta(seccion);
  const VistaCadena nombreClave = recorta(clave);
  for (size_t i = buscaSeccion(doc, buscada) + 1; i < doc.lineas.size(); ++i) {
    const VistaCadena linea = doc.lineas[i].texto;
    if (seccionDe(linea)) break;
    VistaCadena k, valor;
    if (!claveDe(linea, k, valor) || !igualesSinMayusculas(k, nombreClave)) continue;
    if (valor.size() >= 2 && (valor.front() == U'"' || valor.front() == U'\'') &&
        valor.back() == valor.front()) {
      valor = valor.substr(1, valor.size() - 2);
    }
    return Cadena(valor.substr(0, maximo));
  }
  return porDefecto;
}

Cadena lee(VistaCadena seccion, VistaCadena clave, VistaCadena defecto, VistaCadena ruta,
           size_t maximo) {
  if (ruta.empty() || ruta.find(U'\0') != VistaCadena::npos) return porDefectoDe(defecto, maximo);
  bool falta = false;
  auto bytes = leeBytes(camino(ruta), falta);
  if (!bytes) return porDefectoDe(defecto, maximo);
  // The file may hold a password: its bytes are wiped before they are freed.
  struct Borrado {
    std::string& bytes;
    ~Borrado() {
      volatile char* p = bytes.data();
      for (size_t i = 0; i < bytes.size(); ++i) p[i] = 0;
    }
  } borrado{*bytes};
  return leeEn(*bytes, seccion, clave, defecto, maximo);
}

std::optional<std::string> cambiaEn(const std::string* bytes, VistaCadena seccion,
                                    VistaCadena clave, VistaCadena valor) {
  if (!admite(seccion, clave, valor)) return std::nullopt;
  Documento doc = bytes ? analiza(*bytes) : Documento{};
  Cadena fin = U"\r\n";
  for (const auto& linea : doc.lineas) {
    if (!linea.fin.empty()) {
      fin = linea.fin;
      break;
    }
  }
  const Cadena nueva = Cadena(clave) + U"=" + Cadena(valor);
  auto& lineas = doc.lineas;
  const size_t cabecera = buscaSeccion(doc, seccion);
  if (cabecera == lineas.size()) {
    if (!lineas.empty()) {
      if (lineas.back().fin.empty()) lineas.back().fin = fin;
      if (!recorta(lineas.back().texto).empty()) lineas.push_back({U"", fin});
    }
    lineas.push_back({U"[" + Cadena(seccion) + U"]", fin});
    lineas.push_back({nueva, fin});
  } else {
    size_t ultima = cabecera;  // the last line of the section that is not blank
    size_t i = cabecera + 1;
    bool hecho = false;
    for (; i < lineas.size() && !seccionDe(lineas[i].texto); ++i) {
      VistaCadena k, v;
      if (claveDe(lineas[i].texto, k, v) && igualesSinMayusculas(k, clave)) {
        lineas[i].texto = nueva;
        hecho = true;
        break;
      }
      if (!recorta(lineas[i].texto).empty()) ultima = i;
    }
    if (!hecho) {
      if (lineas[ultima].fin.empty()) lineas[ultima].fin = fin;
      lineas.insert(lineas.begin() + static_cast<std::ptrdiff_t>(ultima) + 1, {nueva, fin});
    }
  }
  return serializa(doc);
}

bool escribe(VistaCadena seccion, VistaCadena clave, VistaCadena valor, VistaCadena ruta) {
  if (!admite(seccion, clave, valor)) return false;
  if (ruta.empty() || ruta.find(U'\0') != VistaCadena::npos) return false;

  fs::path destino = camino(ruta);
  std::error_code ec;
  // Through a link, the file it names is the one replaced.
  if (fs::is_symlink(fs::symlink_status(destino, ec))) {
    destino = fs::canonical(destino, ec);
    if (ec) return false;
  }
  bool falta = false;
  const auto bytes = leeBytes(destino, falta);
  if (!bytes && !falta) return false;
  std::optional<mode_t> modo;
  if (struct stat datos {}; bytes && ::stat(destino.c_str(), &datos) == 0) {
    modo = datos.st_mode & 07777;
  }
  const auto salida = cambiaEn(bytes ? &*bytes : nullptr, seccion, clave, valor);
  if (!salida) return false;
  return reemplaza(destino, *salida, modo);
}

}  // namespace kestrin::perfil
