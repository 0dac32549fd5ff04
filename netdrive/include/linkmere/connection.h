// The mailbox connection: a shared folder mapped to a drive letter.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "kestrin/cadena.h"
#include "kestrin/evento.h"
#include "kestrin/objeto.h"

namespace linkmere {

using kestrin::Cadena;
using kestrin::VistaCadena;

// Network constants and error numbers, with the values the Windows network
// service gives them, so that stored settings and callers keep their meaning.
enum EnumLinkmerest : int32_t {
  NO_ERROR = 0,
  CONNECT_NO_UPDATE_PROFILE = 0,
  CONNECT_UPDATE_PROFILE = 1,
  RESOURCETYPE_DISK = 1,
  RESOURCETYPE_PRINT = 2,
  RESOURCETYPE_ANY = 0,
  RESOURCE_CONNECTED = 1,
  RESOURCE_REMEMBERED = 3,
  RESOURCE_GLOBALNET = 2,
  RESOURCEDISPLAYTYPE_DOMAIN = 1,
  RESOURCEDISPLAYTYPE_GENERIC = 0,
  RESOURCEDISPLAYTYPE_SERVER = 2,
  RESOURCEDISPLAYTYPE_SHARE = 3,
  RESOURCEUSAGE_CONNECTABLE = 1,
  RESOURCEUSAGE_CONTAINER = 2,
  ERROR_ACCESS_DENIED = 5,
  ERROR_ALREADY_ASSIGNED = 85,
  ERROR_BAD_DEV_TYPE = 66,
  ERROR_BAD_DEVICE = 1200,
  ERROR_BAD_NET_NAME = 67,
  ERROR_BAD_PROFILE = 1206,
  ERROR_BAD_PROVIDER = 1204,
  ERROR_BUSY = 170,
  ERROR_CANCELLED = 1223,
  ERROR_CANNOT_OPEN_PROFILE = 1205,
  ERROR_DEVICE_ALREADY_REMEMBERED = 1202,
  ERROR_EXTENDED_ERROR = 1208,
  ERROR_INVALID_PASSWORD = 86,
  ERROR_NO_NET_OR_BAD_PATH = 1203,
  // Cancelling a letter that holds no mapping.
  ERROR_NOT_CONNECTED = 2250,
};

// The Spanish text of a network error number: "" for 0, "Acceso denegado" for
// 5, ..., "Error no identificado" for a number without a text of its own.
Cadena descripcionError(int32_t numero);

class Proveedor;

// Maps the folder named by NetDevice to a drive letter (LocalUnit) through a
// provider, and removes the mapping again. Every outcome is an error number in
// ErrorNumber (0 for success) and an event; nothing is raised to the caller.
// Releasing the object removes the mapping it made.
class connection : public kestrin::Objeto {
 public:
  // Uses the process-wide folder provider (proveedorCarpetas()).
  connection();
  explicit connection(std::shared_ptr<Proveedor> proveedor);
  ~connection() override;
  connection(const connection&) = delete;
  connection& operator=(const connection&) = delete;

  // User name for the share ("" for the current user).
  const Cadena& username() const { return username_; }
  void setusername(Cadena valor) { username_ = std::move(valor); }
  // Password for the share ("" for none). Replacing it wipes the old one.
  const Cadena& password() const { return password_; }
  void setpassword(Cadena valor);

  // The share's path; trailing separators ("/" or "\") are dropped, except
  // when the path is nothing but one.
  const Cadena& NetDevice() const { return netDevice_; }
  void setNetDevice(VistaCadena valor);

  // Drive letter without the colon; "" before a successful Connect and after a
  // failed one. Setting it chooses the letter the next Connect uses.
  const Cadena& LocalUnit() const { return localUnit_; }
  void setLocalUnit(VistaCadena valor) { localUnit_ = valor; }

  // Result of the last operation; setting it also sets ErrorDescription.
  int32_t ErrorNumber() const { return errorNumber_; }
  void setErrorNumber(int32_t numero);
  const Cadena& ErrorDescription() const { return errorDescription_; }

  // Maps NetDevice to LocalUnit, or with LocalUnit empty to the first free
  // letter from E to Z. Returns 0 or the error number, and raises Connected
  // or LinkmereError. Connecting again first releases this object's mapping.
  int32_t Connect();
  // Removes the mapping of LocalUnit. Returns 0 or the error number, and
  // raises Disconnected or LinkmereError.
  int32_t Disconnect();

  // The path mapped at LocalUnit (for the folder provider, the folder where
  // the open and save dialogs start), or "" when the letter holds none.
  Cadena Carpeta() const;

  struct Eventos {
    kestrin::Evento<> Connected;
    kestrin::Evento<> Disconnected;
    kestrin::Evento<int32_t&> LinkmereError;
  } eventos;

 private:
  int32_t conectaLetra(Cadena letra);

  std::shared_ptr<Proveedor> proveedor_;
  Cadena username_;
  Cadena password_;
  Cadena netDevice_;
  Cadena localUnit_;
  int32_t errorNumber_ = NO_ERROR;
  Cadena errorDescription_;
  // The letter this object mapped and has not yet released.
  std::optional<Cadena> propia_;
};

// Overwrites a secret before its memory is given back.
void borraSecreto(Cadena& secreto) noexcept;

}  // namespace linkmere
