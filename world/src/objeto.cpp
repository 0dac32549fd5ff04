// The table of creatable classes, filled explicitly at start-up.
#include "kestrin/objeto.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <vector>

#include "kestrin/errores.h"
#include "kestrin/kestrin.h"

namespace kestrin {
namespace {

bool mismoNombre(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

struct Registro {
  std::mutex cerrojo;
  std::vector<EntradaClase> entradas;

  Registro() { anade(clases()); }

  void anade(std::span<const EntradaClase> tabla) {
    for (const auto& entrada : tabla) {
      const bool conocida = std::any_of(entradas.begin(), entradas.end(), [&](const auto& e) {
        return mismoNombre(e.nombre, entrada.nombre);
      });
      if (!conocida) entradas.push_back(entrada);
    }
  }
};

Registro& registro() {
  static Registro unico;
  return unico;
}

}  // namespace

std::span<const EntradaClase> clases() {
  static const EntradaClase tabla[] = {
      {"Kestrin.ORVTexto", &crea<ORVTexto>},
      {"Kestrin.ORVW", &crea<ORVW>},
      {"Kestrin.ORVImagen", &crea<ORVImagen>},
      {"Kestrin.ORVmcd", &crea<ORVmcd>},
  };
  return tabla;
}

void registraClases(std::span<const EntradaClase> tabla) {
  auto& r = registro();
  std::lock_guard bloqueo(r.cerrojo);
  r.anade(tabla);
}

std::shared_ptr<Objeto> creaObjetoSiExiste(std::string_view nombre) {
  auto& r = registro();
  std::shared_ptr<Objeto> (*fabrica)() = nullptr;
  {
    std::lock_guard bloqueo(r.cerrojo);
    for (const auto& e : r.entradas) {
      if (mismoNombre(e.nombre, nombre)) fabrica = e.crea;
    }
  }
  return fabrica ? fabrica() : nullptr;
}

std::shared_ptr<Objeto> CreaObjeto(std::string_view nombre) {
  auto objeto = creaObjetoSiExiste(nombre);
  if (!objeto) lanzaError(kNoPuedeCrearObjeto);
  return objeto;
}

}  // namespace kestrin
