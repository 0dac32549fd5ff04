// Substitution: the key found by hill climbing on the language statistics.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>

#include "ayudas_prueba.h"
#include "kestrin/errores.h"
#include "tarnel/claves.h"
#include "tarnel/orvcriptosust.h"

namespace tarnel {
namespace {

using prueba::pliega;
using prueba::reservado;
using prueba::texto;


// `claro` enciphered with a random key drawn from `semilla`; the ciphertext
// left in a new object, which knows no key.
std::unique_ptr<ORVCriptoSust> cifrado(VistaCadena claro, uint64_t semilla, Cadena* clave = nullptr) {
  std::mt19937_64 g(semilla);
  const Cadena k = ClaveSustAleatoria(g);
  ORVCriptoSust cs;
  for (int v = 0; v < ORVNumCar; ++v) cs.setClave(v, Cadena(1, k[static_cast<size_t>(v)]));
  cs.setTextoOriginal(texto(claro));
  cs.Cifra();
  auto roto = std::make_unique<ORVCriptoSust>();
  roto->setTextoCifrado(cs.TextoCifrado());
  if (clave) *clave = k;
  return roto;
}

double aciertos(ORVCriptoSust& cs, VistaCadena claro) {
  cs.Descifra();
  const Cadena descifrado = cs.TextoOriginal()->Texto();
  EXPECT_EQ(descifrado.size(), claro.size());
  size_t bien = 0;
  for (size_t i = 0; i < claro.size() && i < descifrado.size(); ++i) bien += descifrado[i] == claro[i];
  return static_cast<double>(bien) / static_cast<double>(claro.size());
}

TEST(RompeSust, RecuperaLaClaveDeUnTextoQueLasEstadisticasNoVieron) {
  const Cadena claro = reservado();
  ASSERT_GT(claro.size(), 3000u);
  struct Caso {
    size_t desde, longitud;
    double minimo;
  };
  for (const Caso& c : {Caso{0, 2000, 0.98}, Caso{2200, 600, 0.90}}) {
    const Cadena parte = claro.substr(c.desde, c.longitud);
    Cadena clave;
    auto cs = cifrado(parte, 42, &clave);
    cs->Resuelve(1);
    EXPECT_GE(aciertos(*cs, parte), c.minimo) << c.longitud;
    EXPECT_LT(cs->PuntuacionResuelta(), 0);
    // The frequent symbols all found: the space, "e", "a".
    for (const char32_t p : {U'·', U'e', U'a'}) {
      EXPECT_EQ(cs->Clave(Cadena(1, p)), Cadena(1, clave[static_cast<size_t>(alfabeto::valor(p))]));
    }
  }
}

TEST(RompeSust, LaMismaSemillaDaLaMismaClave) {
  const Cadena parte = reservado().substr(1000, 300);
  auto a = cifrado(parte, 9);
  auto b = cifrado(parte, 9);
  a->Resuelve(77);
  b->setClave(5, U"q");  // whatever it held before
  b->Resuelve(77);
  for (int v = 0; v < ORVNumCar; ++v) EXPECT_EQ(a->Clave(v), b->Clave(v)) << v;
  EXPECT_EQ(a->PuntuacionResuelta(), b->PuntuacionResuelta());
}

TEST(RompeSust, SoloSeEncuentranLosSimbolosDelCifrado) {
  const Cadena parte = reservado().substr(0, 800);
  auto cs = cifrado(parte, 5);
  cs->setClave(U"ñ", U"ñ");  // replaced by Resuelve
  cs->Resuelve(3);
  const Cadena c = cs->TextoCifrado()->Texto();
  const std::set<char32_t> enCifrado(c.begin(), c.end());
  std::set<Cadena> usados;
  size_t asignados = 0;
  for (int v = 0; v < ORVNumCar; ++v) {
    const Cadena k = cs->Clave(v);
    if (k == U"_") continue;
    ++asignados;
    EXPECT_EQ(k.size(), 1u);
    EXPECT_TRUE(enCifrado.count(k[0])) << kestrin::aUtf8(k);
    EXPECT_TRUE(usados.insert(k).second) << "repetido " << kestrin::aUtf8(k);
    EXPECT_EQ(cs->ClaveInv(k), Cadena(1, alfabeto::simbolo(v)));
  }
  EXPECT_EQ(asignados, enCifrado.size());
}

TEST(RompeSust, UnTextoAlAzarDaUnaClaveValida) {
  // No key makes random symbols Spanish: the search still ends with a key
  // that gives each cipher symbol its own plain symbol.
  std::mt19937_64 g(8);
  Cadena ruido;
  for (int i = 0; i < 1000; ++i) ruido.push_back(alfabeto::simbolo(static_cast<int>(g() % 64)));
  ORVCriptoSust cs;
  cs.setTextoCifrado(texto(ruido));
  cs.Resuelve(2);
  std::set<Cadena> usados;
  for (int v = 0; v < ORVNumCar; ++v) usados.insert(cs.Clave(v));
  EXPECT_EQ(usados.size(), static_cast<size_t>(ORVNumCar));  // all 64 occur, each once
  EXPECT_EQ(usados.count(U"_"), 0u);
}

TEST(RompeSust, TextosSinSimbolosOConUnoSolo) {
  struct Caso {
    const char32_t* cifrado;
    size_t asignados;
  };
  for (const Caso& c : {Caso{U"", 0}, Caso{U"#_\t", 0}, Caso{U"xxxx", 1}, Caso{U"[ORVKey=004]x#y", 2}}) {
    ORVCriptoSust cs;
    cs.setTextoCifrado(texto(c.cifrado));
    cs.Resuelve(0);
    size_t asignados = 0;
    for (int v = 0; v < ORVNumCar; ++v) asignados += cs.Clave(v) != U"_";
    EXPECT_EQ(asignados, c.asignados) << kestrin::aUtf8(c.cifrado);
  }
  ORVCriptoSust cs;
  cs.setTextoCifrado(nullptr);
  EXPECT_THROW(cs.Resuelve(0), kestrin::ErrorORV);
}

}  // namespace
}  // namespace tarnel
