// Creation of components by class name ("Tarnel.ORVCriptoAfin").
//
// Every library publishes one explicit table of its creatable classes; the
// program and the Python module register each table at start-up. Kestrin's own
// table is always present.
#pragma once

#include <memory>
#include <span>
#include <string_view>

namespace kestrin {

// Base of every component that can be created by class name.
class Objeto {
 public:
  virtual ~Objeto() = default;
};

struct EntradaClase {
  std::string_view nombre;  // "Deliverable.Class"
  std::shared_ptr<Objeto> (*crea)();
};

// Adds a library's table. Registering the same table again changes nothing.
void registraClases(std::span<const EntradaClase> tabla);

// The object of that class, or an empty pointer for an unknown name.
// Names compare without regard to case.
std::shared_ptr<Objeto> creaObjetoSiExiste(std::string_view nombre);

// The object of that class; an unknown name raises ErrorORV 429.
std::shared_ptr<Objeto> CreaObjeto(std::string_view nombre);

// The table entry helper: `{"Kestrin.ORVTexto", &crea<ORVTexto>}`.
template <typename T>
std::shared_ptr<Objeto> crea() {
  return std::make_shared<T>();
}

}  // namespace kestrin
