// Workspace services: the members every component calls as global functions.
#pragma once

#include <cstdint>
#include <locale>
#include <memory>

#include "kestrin/cadena.h"
#include "kestrin/objeto.h"
#include "linkmere/connection.h"

namespace kestrin {

// How the user writes numbers: the decimal separator and the thousands
// separator (0 when the regional format groups no digits).
struct FormatoNumerico {
  char32_t decimal = U'.';
  char32_t miles = 0;

  // The format of a locale's numeric facet.
  static FormatoNumerico de(const std::locale& locale);
  // The user's format (LC_ALL, LC_NUMERIC, LANG); the "C" format when the
  // environment names a locale the system does not have.
  static FormatoNumerico delUsuario();
};

// The folder of the running executable, without a trailing separator.
Cadena carpetaPrograma();

// The user's own settings folder of the program: $XDG_CONFIG_HOME/ORV, or
// ~/.config/ORV when that variable is unset or not an absolute path; empty
// when no home folder is known. Only the path: nothing is created.
Cadena carpetaUsuario();

// The one folder of the program's data files: the profile ORV.INI and the key
// files (claves.rsa, claves.mhm). The program's folder `programa` while it can
// be written (a build tree, a portable copy); an installed program's folder is
// read-only, so then the user's folder (carpetaUsuario), created when missing.
// Writable means access(W_OK) and a file actually created and removed there,
// so the answer is the same for root, whom permission bits do not stop.
// Without a home folder, `programa` (read-only, but its files can be read).
Cadena carpetaDatos(const Cadena& programa);
// The same for the running executable's folder.
Cadena carpetaDatos();

// Tag helpers on plain character strings, the description of each identifier
// and the unassigned-symbol marker; the settings profile and its writer; small
// string and file utilities; the grid colour; and the mailbox connection,
// attempted once when the object is created. A text too large for the memory
// left raises the classic error 7 (ErrorORV), never a standard exception.
class ORVW : public Objeto {
 public:
  // Where the start-up looks: the application folder (empty: carpetaDatos(),
  // the executable's folder or, when that is read-only, the user's) and the
  // provider of the mailbox connection (empty: the folder provider of the
  // process).
  struct Entorno {
    Cadena carpeta;
    std::shared_ptr<linkmere::Proveedor> proveedor;
  };

  // Runs the start-up: COLFIX, the profile "ORV.INI" in the application
  // folder, and the mailbox connection from its section "Buzón" (URL,
  // username, password). A failed connection does not stop the object.
  ORVW();
  explicit ORVW(const Entorno& entorno);

  // Identifier of the tag at the start of `buffer` (tag word in any case), or CSKNone.
  int32_t CSKey(const Cadena& buffer) const;
  // Removes any tag from `buffer`, then puts the tag for `key` in front unless
  // `key` is CSKNone.
  void setCSKey(Cadena& buffer, int32_t key) const;
  // The text after the tag, or `buffer` itself when it carries none.
  Cadena CSText(const Cadena& buffer) const;
  // "Texto en claro", "Cifrado con el criptosistema Afín", ... or "Cifrado desconocido".
  Cadena CSDescription(int32_t key) const;
  // The marker of an unassigned symbol: "_".
  Cadena ORVNoKey() const { return Cadena(1, kNoKey); }

  static constexpr char32_t kNoKey = U'_';

  // The value of `clave` in section `Seccion` of the initialisation file
  // `profile`, or `defecto` (without trailing spaces) when the file, the
  // section or the key is missing. Names compare without regard to case;
  // values lose their outer spaces and one pair of enclosing quotes; the file
  // is Windows-1252 (UTF-8 when it starts with the UTF-8 mark). At most
  // kMaxPerfil characters come back: the platform reads into a buffer of 2048
  // characters, one of which holds the terminating zero.
  Cadena GetProfile(const Cadena& Seccion, const Cadena& clave, const Cadena& defecto,
                    const Cadena& profile) const;
  static constexpr size_t kMaxPerfil = 2047;

  // Sets `clave` = `valor` in section `Seccion` of `profile`: creates the file
  // and the section when missing, replaces the key's line in place and keeps
  // every other line, comment and line ending as it was. The new contents go to
  // a temporary file in the same folder that is then renamed over the old one,
  // so a failed write leaves the old file whole. False (and no change) when the
  // file cannot be read or written, or when a name or the value cannot be
  // stored: a line break or zero anywhere, "=" in the key, "]" in the section,
  // an empty name, or a character the file's code page cannot hold.
  bool WriteProfile(const Cadena& Seccion, const Cadena& clave, const Cadena& valor,
                    const Cadena& profile) const;

  // True when a file or folder with that path exists (its attributes can be read).
  bool ExistFileDir(const Cadena& sSpec) const;

  // The text as a number in the user's format ("12,5" with the decimal comma,
  // "1.234,5" with the point grouping thousands), or 0 when it is not one.
  double Eval(VistaCadena x) const;
  const FormatoNumerico& Formato() const { return formato_; }
  void setFormato(FormatoNumerico formato) { formato_ = formato; }

  // `buffer` with each zero character made a space, without outer spaces.
  Cadena XTrim(VistaCadena buffer) const;

  // Grid header colour, red + 256 green + 65536 blue.
  int32_t COLFIX() const { return colfix_; }
  void setCOLFIX(int32_t color) { colfix_ = color; }

  // The mailbox connection; assigning another releases this one's hold.
  const std::shared_ptr<linkmere::connection>& NetCnx() const { return netCnx_; }
  void setNetCnx(std::shared_ptr<linkmere::connection> conexion) { netCnx_ = std::move(conexion); }

  // The application folder and the profile file in it ("…/ORV.INI"); the key
  // files go in the same folder.
  const Cadena& Carpeta() const { return carpeta_; }
  const Cadena& Perfil() const { return perfil_; }

  static constexpr int32_t kColfixInicial = 14737632;  // E0E0E0, light grey

 private:
  int32_t colfix_ = kColfixInicial;
  Cadena carpeta_;
  Cadena perfil_;
  FormatoNumerico formato_;
  std::shared_ptr<linkmere::connection> netCnx_;
};

}  // namespace kestrin
