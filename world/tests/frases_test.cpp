// The stored phrases are what the laboratory's own affine system gives back.
#include <gtest/gtest.h>

#include "../src/frases.h"
#include "kestrin/kestrin.h"
#include "tarnel/orvcriptoafin.h"

namespace kestrin {
namespace {

TEST(Frases, StoredEncipheredWithTheAffineSystem) {
  const ORVImagen imagenes;
  tarnel::ORVCriptoAfin afin;
  afin.setMultiplicador(frases::kMultiplicador);
  afin.setDesplazamiento(frases::kDesplazamiento);
  for (int32_t n = 1; n <= 6; ++n) {
    const VistaCadena guardada = frases::kCifradas[n - 1];
    const Cadena frase = imagenes.Str(n);
    EXPECT_EQ(frase.find(guardada), Cadena::npos);
    auto cifrado = std::make_shared<ORVTexto>();
    cifrado->asigna(Cadena(guardada), CSKAfin);
    afin.setTextoCifrado(cifrado);
    afin.Descifra();
    // The system gives lower case and "·" for the space.
    Cadena esperada;
    for (char32_t c : frase) esperada.push_back(c == U' ' ? U'·' : minuscula(c));
    EXPECT_EQ(afin.TextoOriginal()->Texto(), esperada) << n;
  }
}

}  // namespace
}  // namespace kestrin
