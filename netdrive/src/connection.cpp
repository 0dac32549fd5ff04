// The mailbox connection.
#include "linkmere/connection.h"

#include <exception>

#include "linkmere/proveedor.h"

namespace linkmere {
namespace {

bool esSeparador(char32_t c) { return c == U'/' || c == U'\\'; }

}  // namespace

Cadena descripcionError(int32_t numero) {
  switch (numero) {
    case NO_ERROR: return U"";
    case ERROR_ACCESS_DENIED: return U"Acceso denegado";
    case ERROR_BAD_DEV_TYPE: return U"Letra de unidad no válida";
    case ERROR_BAD_NET_NAME: return U"Nombre de red incorrecto";
    case ERROR_ALREADY_ASSIGNED: return U"Letra de unidad ya asignada";
    case ERROR_INVALID_PASSWORD: return U"Contraseña incorrecta";
    case ERROR_BUSY: return U"Red ocupada";
    case ERROR_BAD_DEVICE: return U"Dispositivo incorrecto";
    case ERROR_DEVICE_ALREADY_REMEMBERED: return U"Dispositivo ya conectado";
    case ERROR_NO_NET_OR_BAD_PATH: return U"No hay red, o la ruta es incorrecta";
    case ERROR_BAD_PROVIDER: return U"Proveedor de red incorrecto";
    case ERROR_CANNOT_OPEN_PROFILE: return U"Error al abrir el perfil";
    case ERROR_BAD_PROFILE: return U"Perfil incorrecto";
    case ERROR_EXTENDED_ERROR: return U"Error extendido";
    case ERROR_CANCELLED: return U"Conexión cancelada";
    default: return U"Error no identificado";
  }
}

void borraSecreto(Cadena& secreto) noexcept {
  // Volatile writes, so that the compiler cannot drop them as dead stores.
  volatile char32_t* p = secreto.data();
  for (size_t i = 0; i < secreto.size(); ++i) p[i] = 0;
  secreto.clear();
}

connection::connection() : connection(proveedorCarpetas()) {}

connection::connection(std::shared_ptr<Proveedor> proveedor)
    : proveedor_(proveedor ? std::move(proveedor) : proveedorCarpetas()) {}

connection::~connection() {
  // Releasing removes the mapping silently: the clients of an object that is
  // going away can no longer be told.
  if (propia_) {
    try {
      proveedor_->CancelaConexion(*propia_ + U":", CONNECT_NO_UPDATE_PROFILE, true);
    } catch (...) {
    }
  }
  borraSecreto(password_);
}

void connection::setpassword(Cadena valor) {
  borraSecreto(password_);
  password_ = std::move(valor);
  borraSecreto(valor);
}

void connection::setNetDevice(VistaCadena valor) {
  while (valor.size() > 1 && esSeparador(valor.back())) valor.remove_suffix(1);
  netDevice_ = valor;
}

void connection::setErrorNumber(int32_t numero) {
  errorNumber_ = numero;
  errorDescription_ = descripcionError(numero);
}

int32_t connection::conectaLetra(Cadena letra) {
  if (letra.size() == 1 && letra[0] >= U'a' && letra[0] <= U'z') letra[0] -= 32;
  RecursoRed recurso;
  recurso.nombreLocal = letra + U":";
  recurso.nombreRemoto = NetDevice();
  int32_t resultado;
  try {
    resultado =
        proveedor_->AnadeConexion(recurso, password_, username_, CONNECT_NO_UPDATE_PROFILE);
  } catch (const std::exception&) {
    resultado = ERROR_EXTENDED_ERROR;
  }
  setErrorNumber(resultado);
  if (resultado == NO_ERROR) {
    localUnit_ = letra;
    propia_ = letra;
  } else {
    localUnit_.clear();
  }
  return resultado;
}

int32_t connection::Connect() {
  if (propia_) {
    // Connecting again: release our own letter first, or it would stay mapped
    // with nobody left to remove it.
    try {
      proveedor_->CancelaConexion(*propia_ + U":", CONNECT_NO_UPDATE_PROFILE, true);
    } catch (const std::exception&) {
    }
    propia_.reset();
  }
  int32_t resultado = NO_ERROR;
  if (!localUnit_.empty()) {
    resultado = conectaLetra(localUnit_);
  } else {
    // Only a letter in use moves on to the next one: any other error would
    // repeat for every letter (and a wrong password would be tried 22 times).
    for (char32_t letra = U'E'; letra <= U'Z'; ++letra) {
      resultado = conectaLetra(Cadena(1, letra));
      if (resultado != ERROR_ALREADY_ASSIGNED) break;
    }
  }
  if (resultado != NO_ERROR) {
    int32_t numero = resultado;
    eventos.LinkmereError.lanza(numero);
  } else {
    eventos.Connected.lanza();
  }
  return resultado;
}

int32_t connection::Disconnect() {
  const Cadena nombre = localUnit_ + U":";
  int32_t resultado;
  try {
    resultado = proveedor_->CancelaConexion(nombre, CONNECT_NO_UPDATE_PROFILE, true);
  } catch (const std::exception&) {
    resultado = ERROR_EXTENDED_ERROR;
  }
  setErrorNumber(resultado);
  if (resultado == NO_ERROR && propia_ && TablaUnidades::letra(nombre) ==
                                              TablaUnidades::letra(*propia_ + U":")) {
    propia_.reset();
  }
  if (resultado != NO_ERROR) {
    int32_t numero = resultado;
    eventos.LinkmereError.lanza(numero);
  } else {
    eventos.Disconnected.lanza();
  }
  return resultado;
}

Cadena connection::Carpeta() const {
  Cadena remoto;
  try {
    if (proveedor_->LeeConexion(localUnit_ + U":", remoto) != NO_ERROR) return U"";
  } catch (const std::exception&) {
    return U"";
  }
  // As read from a fixed buffer: up to the first zero, without outer spaces.
  if (const auto cero = remoto.find(U'\0'); cero != Cadena::npos) remoto.resize(cero);
  const auto inicio = remoto.find_first_not_of(U' ');
  if (inicio == Cadena::npos) return U"";
  return remoto.substr(inicio, remoto.find_last_not_of(U' ') - inicio + 1);
}

}  // namespace linkmere
