// Providers of drive mappings: the folder provider and a scripted one for tests.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "linkmere/connection.h"

namespace linkmere {

// The record a connection hands to its provider, the fields of a network
// resource description.
struct RecursoRed {
  int32_t alcance = RESOURCE_GLOBALNET;
  int32_t tipo = RESOURCETYPE_DISK;
  int32_t presentacion = RESOURCEDISPLAYTYPE_SHARE;
  int32_t uso = RESOURCEUSAGE_CONNECTABLE;
  Cadena nombreLocal;   // the letter and a colon: "E:"
  Cadena nombreRemoto;  // NetDevice
};

// What a connection asks of the system. Each call returns 0 or a network error
// number (EnumLinkmerest); none raises. The credentials are read during the
// call only, never kept, logged or passed on a command line.
class Proveedor {
 public:
  virtual ~Proveedor() = default;
  // Maps recurso.nombreRemoto to recurso.nombreLocal.
  virtual int32_t AnadeConexion(const RecursoRed& recurso, VistaCadena password,
                                VistaCadena username, int32_t flags) = 0;
  // Removes the mapping of `nombreLocal` ("E:").
  virtual int32_t CancelaConexion(VistaCadena nombreLocal, int32_t flags, bool forzar) = 0;
  // The remote name mapped at `nombreLocal`, in `remoto`.
  virtual int32_t LeeConexion(VistaCadena nombreLocal, Cadena& remoto) const = 0;
};

// A table of drive letters A..Z, each holding at most one remote name.
// Safe to use from several threads.
class TablaUnidades {
 public:
  // 0, ERROR_BAD_DEV_TYPE for a name that is not one letter and a colon,
  // ERROR_ALREADY_ASSIGNED for a letter in use.
  int32_t anade(VistaCadena nombreLocal, Cadena remoto);
  // 0, ERROR_BAD_DEV_TYPE, or ERROR_NOT_CONNECTED for a free letter.
  int32_t cancela(VistaCadena nombreLocal);
  int32_t lee(VistaCadena nombreLocal, Cadena& remoto) const;

  // The upper-case letter of "e:" / "E:", or 0 when the name is not one.
  static char32_t letra(VistaCadena nombreLocal);

 private:
  mutable std::mutex cerrojo_;
  std::map<char32_t, Cadena> unidades_;
};

// On Linux there are no drive letters: NetDevice is a folder (local, or a share
// the system has already mounted). Connecting checks that it exists and can be
// read and records it under the letter; the credentials are not needed.
// Errors: ERROR_BAD_NET_NAME for a path that is missing or not a folder,
// ERROR_ACCESS_DENIED for one that cannot be read, ERROR_ALREADY_ASSIGNED for
// a letter in use, ERROR_BAD_DEV_TYPE for a name that is not a letter.
class ProveedorCarpetas : public Proveedor {
 public:
  int32_t AnadeConexion(const RecursoRed& recurso, VistaCadena password, VistaCadena username,
                        int32_t flags) override;
  int32_t CancelaConexion(VistaCadena nombreLocal, int32_t flags, bool forzar) override;
  int32_t LeeConexion(VistaCadena nombreLocal, Cadena& remoto) const override;

 private:
  TablaUnidades tabla_;
};

// The folder provider of the process, whose letter table every connection
// created without a provider shares.
std::shared_ptr<Proveedor> proveedorCarpetas();

// A provider whose answers the caller sets: every error number can be reached
// without a network. It maps letters in its own table like the folder
// provider, without looking at the file system.
class ProveedorPrueba : public Proveedor {
 public:
  struct Intento {
    RecursoRed recurso;
    Cadena username;
    bool conPassword = false;
    int32_t flags = 0;
  };

  // Forced result of every AnadeConexion (0: map normally).
  int32_t errorAnade = NO_ERROR;
  // Forced result of every CancelaConexion (0: cancel normally).
  int32_t errorCancela = NO_ERROR;
  // When not empty, any other password gives ERROR_INVALID_PASSWORD.
  Cadena passwordValida;
  // Every AnadeConexion received, in order (without the password).
  std::vector<Intento> intentos;
  // Every CancelaConexion received: the local name and the force flag.
  std::vector<std::pair<Cadena, bool>> cancelaciones;

  // Marks a letter as used by someone else.
  void ocupa(char32_t letra, Cadena remoto);

  int32_t AnadeConexion(const RecursoRed& recurso, VistaCadena password, VistaCadena username,
                        int32_t flags) override;
  int32_t CancelaConexion(VistaCadena nombreLocal, int32_t flags, bool forzar) override;
  int32_t LeeConexion(VistaCadena nombreLocal, Cadena& remoto) const override;

 private:
  TablaUnidades tabla_;
};

}  // namespace linkmere
