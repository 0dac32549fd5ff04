// Creation by class name and events.
#include <gtest/gtest.h>

#include "kestrin/kestrin.h"

namespace kestrin {
namespace {

class Prueba : public Objeto {};

TEST(CreaObjeto, CreatesRegisteredClassesByNameInAnyCase) {
  EXPECT_NE(std::dynamic_pointer_cast<ORVTexto>(CreaObjeto("Kestrin.ORVTexto")), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<ORVmcd>(CreaObjeto("kestrin.orvmcd")), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<ORVW>(CreaObjeto("Kestrin.ORVW")), nullptr);
  // Each call makes a new object.
  EXPECT_NE(CreaObjeto("Kestrin.ORVTexto"), CreaObjeto("Kestrin.ORVTexto"));

  static const EntradaClase tabla[] = {{"Prueba.Clase", &crea<Prueba>}};
  EXPECT_EQ(creaObjetoSiExiste("Prueba.Clase"), nullptr);
  registraClases(tabla);
  registraClases(tabla);
  EXPECT_NE(std::dynamic_pointer_cast<Prueba>(CreaObjeto("Prueba.Clase")), nullptr);
}

TEST(CreaObjeto, UnknownNameIsError429) {
  for (const char* nombre : {"Kestrin.NoExiste", "", "Kestrin", "ORVTexto"}) {
    EXPECT_EQ(creaObjetoSiExiste(nombre), nullptr);
    try {
      CreaObjeto(nombre);
      ADD_FAILURE() << nombre;
    } catch (const ErrorORV& e) {
      EXPECT_EQ(e.numero(), 429) << nombre;
    }
  }
}

TEST(Evento, CallsHandlersInOrderAndPassesReferences) {
  Evento<int&, const Cadena&> evento;
  std::vector<std::string> llamadas;
  const int primero = evento.conecta([&](int& n, const Cadena&) {
    llamadas.push_back("uno");
    n += 1;
  });
  evento.conecta([&](int& n, const Cadena& s) {
    llamadas.push_back("dos");
    n *= static_cast<int>(s.size());
  });
  int valor = 4;
  evento.lanza(valor, U"abc");
  EXPECT_EQ(valor, 15);  // (4 + 1) * 3: the second handler sees the first's change
  EXPECT_EQ(llamadas, (std::vector<std::string>{"uno", "dos"}));

  evento.desconecta(primero);
  evento.desconecta(999);
  valor = 2;
  evento.lanza(valor, U"ab");
  EXPECT_EQ(valor, 4);
  EXPECT_EQ(evento.conectados(), 1u);
}

TEST(Evento, HandlerMayDisconnectItselfWhileRaised) {
  Evento<> evento;
  int cuenta = 0;
  int id = 0;
  id = evento.conecta([&] {
    ++cuenta;
    evento.desconecta(id);
  });
  evento.lanza();
  evento.lanza();
  EXPECT_EQ(cuenta, 1);
}

}  // namespace
}  // namespace kestrin
