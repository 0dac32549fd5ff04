// Standard failures inside the classic systems' work reach the caller as
// error 7; a handler's own exception passes as it is.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "kestrin/errores.h"
#include "tarnel/criptoperiodico.h"
#include "tarnel/orvanaliza.h"
#include "tarnel/orvcriptoafin.h"
#include "tarnel/orvcriptohill.h"
#include "tarnel/orvcriptosust.h"

namespace tarnel {
namespace {

using Fallo = std::function<void()>;

std::shared_ptr<ORVTexto> texto(const Cadena& s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

const Cadena kClaro = U"En un lugar de la Mancha, de cuyo nombre no quiero acordarme";

// Each case makes one member fail inside its work: a handler of one of the
// events it raises calls `fallo`.
const struct {
  const char* nombre;
  std::function<void(const Fallo&)> ejecuta;
} kMiembros[] = {
    {"afín Cifra",
     [](const Fallo& fallo) {
       ORVCriptoAfin afin;
       afin.setMultiplicador(Moneda(5));
       afin.setTextoOriginal(texto(kClaro));
       afin.eventos.Cifrado.conecta([&] { fallo(); });
       afin.Cifra();
     }},
    {"sustitución Descifra",
     [](const Fallo& fallo) {
       ORVCriptoSust sust;
       sust.setTextoCifrado(texto(kClaro));
       sust.eventos.DesCifrado.conecta([&] { fallo(); });
       sust.Descifra();
     }},
    {"Vigenère Cifra",
     [](const Fallo& fallo) {
       ORVCriptoVigenere vig;
       vig.setClave(U"limón");
       vig.setTextoOriginal(texto(kClaro));
       vig.eventos.Cifrado.conecta([&] { fallo(); });
       vig.Cifra();
     }},
    {"Vigenère BuscaPeriodo",
     [](const Fallo& fallo) {
       ORVCriptoVigenere vig;
       vig.setTextoCifrado(texto(kClaro));
       vig.eventos.Progreso.conecta([&](int32_t&) { fallo(); });
       vig.BuscaPeriodo();
     }},
    {"Hill TamClave",
     [](const Fallo& fallo) {
       ORVCriptoHill hill;
       hill.eventos.CambiaTamaño.conecta([&](int32_t) { fallo(); });
       hill.setTamClave(2);
     }},
    {"Hill Cifra",
     [](const Fallo& fallo) {
       ORVCriptoHill hill;
       hill.setTamClave(1);
       hill.Clave()->setElemento(1, 1, 3);
       hill.setTextoOriginal(texto(kClaro));
       hill.eventos.Cifrado.conecta([&] { fallo(); });
       hill.Cifra();
     }},
    {"análisis IC",
     [](const Fallo& fallo) {
       ORVAnaliza analiza;
       analiza.setTexto(kClaro);
       analiza.eventos.Progreso.conecta([&](int32_t&) { fallo(); });
       analiza.IC();
     }},
};

TEST(FronteraTarnel, StandardFailuresInTheWorkAreErrorSeven) {
  const struct {
    const char* nombre;
    Fallo fallo;
  } fallos[] = {
      {"bad_alloc", [] { throw std::bad_alloc(); }},
      {"length_error", [] { throw std::length_error("x"); }},
  };
  for (const auto& miembro : kMiembros) {
    for (const auto& f : fallos) {
      SCOPED_TRACE(std::string(miembro.nombre) + ", " + f.nombre);
      try {
        miembro.ejecuta(f.fallo);
        ADD_FAILURE() << "no error";
      } catch (const kestrin::ErrorORV& e) {
        EXPECT_EQ(e.numero(), kestrin::kMemoriaInsuficiente);
      }
    }
  }
}

TEST(FronteraTarnel, AHandlersOwnExceptionPassesAsItIs) {
  struct Propia {};
  for (const auto& miembro : kMiembros) {
    SCOPED_TRACE(miembro.nombre);
    EXPECT_THROW(miembro.ejecuta([] { throw Propia(); }), Propia);
    EXPECT_THROW(miembro.ejecuta([] { throw std::runtime_error("x"); }), std::runtime_error);
  }
}

}  // namespace
}  // namespace tarnel
