// Events of the components: handlers called synchronously in connection order.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace kestrin {

// One event of a component. An argument declared as a reference (Evento<int&>)
// reaches every handler by reference, so a handler can change it and the
// component reads it back after raising.
template <typename... Args>
class Evento {
 public:
  using Manejador = std::function<void(Args...)>;

  // Returns the id that desconecta() takes.
  int conecta(Manejador manejador) {
    manejadores_.emplace_back(++ultimoId_, std::move(manejador));
    return ultimoId_;
  }

  // Removes a handler; an unknown id does nothing.
  void desconecta(int id) {
    std::erase_if(manejadores_, [id](const auto& m) { return m.first == id; });
  }

  size_t conectados() const { return manejadores_.size(); }

  // Raises the event. Handlers may connect or disconnect while it runs; the
  // ones present when it was raised are called.
  void lanza(Args... args) const {
    const auto copia = manejadores_;
    for (const auto& [id, manejador] : copia) manejador(args...);
  }

 private:
  std::vector<std::pair<int, Manejador>> manejadores_;
  int ultimoId_ = 0;
};

}  // namespace kestrin
