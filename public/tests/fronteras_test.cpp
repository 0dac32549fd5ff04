// Standard failures inside the public-key systems' work reach the caller as
// error 7; a handler's own exception passes as it is.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "halvard/orvcriptomhm.h"
#include "halvard/orvcriptorsa.h"
#include "kestrin/errores.h"

namespace halvard {
namespace {

using Fallo = std::function<void()>;

std::shared_ptr<kestrin::ORVTexto> texto(const Cadena& s) {
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->setTexto(s);
  return t;
}

void claveRSA(ORVCriptoRSA& rsa) {
  rsa.setClaveFactor(1, U"257");
  rsa.setClaveFactor(2, U"263");
  rsa.setExponente(U"5");
}

void claveMHM(ORVCriptoMHM& mhm) {
  mhm.setLongitudSucesion(4);
  for (int32_t i = 1; i <= 4; ++i) mhm.setSucesionPrivada(i, Moneda(int64_t{1} << (2 * i)));
  mhm.setModulo(Moneda(500));
  mhm.setMultiplicador(Moneda(7));
}

// Each case makes one member fail inside its work: a handler of one of the
// events it raises midway calls `fallo`.
const struct {
  const char* nombre;
  std::function<void(const Fallo&)> ejecuta;
} kMiembros[] = {
    {"RSA ConstruyeClave",
     [](const Fallo& fallo) {
       ORVCriptoRSA rsa;
       claveRSA(rsa);
       rsa.eventos.ConstruyeClave.conecta([&](bool&, const Cadena&) { fallo(); });
       rsa.ConstruyeClave();
     }},
    {"RSA Cifra",
     [](const Fallo& fallo) {
       ORVCriptoRSA rsa;
       claveRSA(rsa);
       rsa.ConstruyeClave();
       rsa.setTextoOriginal(texto(U"abc"));
       rsa.eventos.Progreso.conecta([&](int32_t) { fallo(); });
       rsa.Cifra();
     }},
    {"RSA Descifra",
     [](const Fallo& fallo) {
       ORVCriptoRSA rsa;
       rsa.setNumBloques(2);
       rsa.eventos.Progreso.conecta([&](int32_t) { fallo(); });
       rsa.Descifra();
     }},
    {"mochila ConstruyeClave",
     [](const Fallo& fallo) {
       ORVCriptoMHM mhm;
       claveMHM(mhm);
       mhm.eventos.ConstruyeClave.conecta([&](bool&, const Cadena&) { fallo(); });
       mhm.ConstruyeClave();
     }},
    {"mochila Cifra",
     [](const Fallo& fallo) {
       ORVCriptoMHM mhm;
       claveMHM(mhm);
       mhm.ConstruyeClave();
       mhm.setTextoOriginal(texto(U"abc"));
       mhm.eventos.Progreso.conecta([&](int32_t) { fallo(); });
       mhm.Cifra();
     }},
    {"mochila Descifra",
     [](const Fallo& fallo) {
       ORVCriptoMHM mhm;
       claveMHM(mhm);
       mhm.ConstruyeClave();
       mhm.setNumBloques(3);
       mhm.eventos.Progreso.conecta([&](int32_t) { fallo(); });
       mhm.Descifra();
     }},
};

TEST(FronteraHalvard, StandardFailuresInTheWorkAreErrorSeven) {
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

TEST(FronteraHalvard, AHandlersOwnExceptionPassesAsItIs) {
  struct Propia {};
  for (const auto& miembro : kMiembros) {
    SCOPED_TRACE(miembro.nombre);
    EXPECT_THROW(miembro.ejecuta([] { throw Propia(); }), Propia);
    EXPECT_THROW(miembro.ejecuta([] { throw std::runtime_error("x"); }), std::runtime_error);
  }
}

// A block list too long to hold is refused before it is made.
TEST(FronteraHalvard, RSABlockListsBeyondTheLimitAreRefused) {
  ORVCriptoRSA rsa;
  rsa.setNumBloques(3);
  for (const int32_t n : {(1 << 24) + 1, INT32_MAX}) {
    SCOPED_TRACE(n);
    try {
      rsa.setNumBloques(n);
      ADD_FAILURE();
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), kestrin::kMemoriaInsuficiente);
    }
    EXPECT_EQ(rsa.NumBloques(), 3);
  }
}

}  // namespace
}  // namespace halvard
