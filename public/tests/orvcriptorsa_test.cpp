// RSA: key checks, block encoding, events and round trips.
#include "halvard/orvcriptorsa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "kestrin/errores.h"
#include "numbrel/orvbignum.h"

namespace halvard {
namespace {

using kestrin::ORVTexto;

std::shared_ptr<ORVTexto> texto(const Cadena& s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

struct Mensajes {
  std::vector<std::string> vistos;
  explicit Mensajes(ORVCriptoRSA& rsa) {
    rsa.eventos.ConstruyeClave.conecta([this](bool& ok, const Cadena& m) {
      vistos.push_back((ok ? "ok:" : "no:") + kestrin::aUtf8(m));
    });
    rsa.eventos.CambiaClave.conecta([this] { vistos.push_back("CambiaClave"); });
  }
};

void clave(ORVCriptoRSA& rsa, const char32_t* p, const char32_t* q, const char32_t* e,
           int32_t tam = 1) {
  rsa.setTamBloque(tam);
  rsa.setClaveFactor(1, p);
  rsa.setClaveFactor(2, q);
  rsa.setExponente(e);
}

struct CasoRechazo {
  const char* nombre;
  const char32_t *p, *q, *e;
  int32_t tam;
  const char* mensaje;
  const char32_t* claveFinal;
};

const CasoRechazo kRechazos[] = {
    {"no primo", U"255", U"257", U"3", 1, "Cada factor debe ser primo.", U""},
    {"segundo no primo", U"257", U"259", U"3", 1, "Cada factor debe ser primo.", U""},
    {"primo pequeño", U"251", U"257", U"3", 1, "Cada factor primo debe ser mayor que 255.", U""},
    {"bloque de dos", U"65537", U"257", U"3", 2, "Cada factor primo debe ser mayor que 255255.", U""},
    {"exponente con factor comun", U"257", U"263", U"131", 1,
     "El exponente debe ser primo con 67072", U"67591"},
    {"exponente 2, par como φ", U"257", U"263", U"2", 1, "El exponente debe ser primo con 67072",
     U"67591"},
    {"factores iguales", U"257", U"257", U"3", 1, "Los dos factores primos deben ser distintos.",
     U""},
    {"iguales escritos de otro modo", U"257", U"256+1", U"3", 1,
     "Los dos factores primos deben ser distintos.", U""},
    {"exponente 1", U"257", U"263", U"1", 1, "El exponente debe ser mayor que 1.", U""},
    {"exponente 0", U"257", U"263", U"0", 1, "El exponente debe ser mayor que 1.", U""},
    {"exponente negativo", U"257", U"263", U"-3", 1, "El exponente debe ser mayor que 1.", U""},
    {"exponente negativo primo con φ", U"257", U"263", U"-65537", 1,
     "El exponente debe ser mayor que 1.", U""},
};

TEST(ORVCriptoRSA, RejectedKeysAndTheirMessages) {
  for (const auto& caso : kRechazos) {
    SCOPED_TRACE(caso.nombre);
    ORVCriptoRSA rsa;
    clave(rsa, caso.p, caso.q, caso.e, caso.tam);
    rsa.setClavePrivada(U"77");
    Mensajes m(rsa);
    rsa.ConstruyeClave();
    // Rejections that empty or set the modulus report it first.
    const std::vector<std::string> esperado = {std::string("no:") + caso.mensaje, "CambiaClave"};
    const std::vector<std::string> conClave = {"CambiaClave", std::string("no:") + caso.mensaje};
    EXPECT_EQ(m.vistos, *caso.claveFinal ? conClave : esperado);
    EXPECT_EQ(rsa.Clave(), caso.claveFinal);
    EXPECT_EQ(rsa.ClavePrivada(), U"77");  // the old private exponent stays
  }
}

// A refused key leaves no modulus: every block enciphers empty and nothing
// deciphers, whatever the text.
TEST(ORVCriptoRSA, RefusedKeysEncipherNothing) {
  const struct {
    const char* nombre;
    const char32_t *p, *q, *e;
  } casos[] = {
      {"no primo", U"255", U"257", U"3"},
      {"factores iguales", U"257", U"257", U"3"},
      {"exponente 1", U"257", U"263", U"1"},
      {"exponente 0", U"257", U"263", U"0"},
      {"exponente negativo", U"257", U"263", U"-3"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    ORVCriptoRSA rsa;
    clave(rsa, caso.p, caso.q, caso.e);
    bool aceptada = true;
    rsa.eventos.ConstruyeClave.conecta([&](bool& ok, const Cadena&) { aceptada = ok; });
    rsa.ConstruyeClave();
    EXPECT_FALSE(aceptada);
    rsa.setTextoOriginal(texto(Cadena(U"a") + char32_t{0}));
    rsa.Cifra();
    ASSERT_EQ(rsa.NumBloques(), 2);
    EXPECT_EQ(rsa.TextoCifrado(1), U"");
    EXPECT_EQ(rsa.TextoCifrado(2), U"");
    rsa.setTextoCifrado(1, U"5");
    rsa.setTextoCifrado(2, U"0");
    rsa.Descifra();
    EXPECT_EQ(rsa.TextoOriginal()->Texto(), U"");
  }
}

// The smallest exponents and distinct factors next to each other still make
// keys that decipher what they encipher.
TEST(ORVCriptoRSA, AcceptedKeysAtTheEdgesRoundTrip) {
  const struct {
    const char* nombre;
    const char32_t *p, *q, *e;
  } casos[] = {
      {"exponente 3", U"257", U"263", U"3"},
      {"el mayor primero", U"263", U"257", U"5"},
      {"exponente mayor que φ", U"257", U"263", U"67073"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    ORVCriptoRSA rsa;
    clave(rsa, caso.p, caso.q, caso.e);
    Mensajes m(rsa);
    rsa.ConstruyeClave();
    EXPECT_NE(std::find(m.vistos.begin(), m.vistos.end(), "ok:Clave OK"), m.vistos.end());
    const Cadena original = Cadena(U"Año ") + char32_t{0} + U"z";
    rsa.setTextoOriginal(texto(original));
    rsa.Cifra();
    rsa.Descifra();
    EXPECT_EQ(rsa.TextoOriginal()->Texto(), original);
  }
}

TEST(ORVCriptoRSA, ValidKeyAndItsEvents) {
  ORVCriptoRSA rsa;
  clave(rsa, U"257", U"263", U"5");
  Mensajes m(rsa);
  rsa.ConstruyeClave();
  EXPECT_EQ(rsa.Clave(), U"67591");
  EXPECT_EQ(rsa.NumBits(), 17);
  // 5 * d = 1 mod 256 * 262
  EXPECT_EQ(rsa.ClavePrivada(), U"26829");
  EXPECT_EQ(m.vistos, (std::vector<std::string>{"CambiaClave", "CambiaClave", "ok:Clave OK",
                                                "CambiaClave"}));
  // Empty parts: nothing happens.
  ORVCriptoRSA vacia;
  Mensajes nada(vacia);
  vacia.setClaveFactor(1, U"257");
  vacia.setExponente(U"5");
  nada.vistos.clear();
  vacia.ConstruyeClave();
  EXPECT_TRUE(nada.vistos.empty());
  EXPECT_EQ(vacia.Clave(), U"");
}

TEST(ORVCriptoRSA, BlocksKeepLeadingZerosAndPadding) {
  ORVCriptoRSA rsa;
  clave(rsa, U"1000003", U"1000033", U"65537", 2);
  rsa.ConstruyeClave();
  ASSERT_FALSE(rsa.ClavePrivada().empty());
  std::vector<std::string> traza;
  rsa.eventos.Inicio.conecta([&](int32_t n) { traza.push_back("Inicio " + std::to_string(n)); });
  rsa.eventos.Progreso.conecta([&](int32_t n) { traza.push_back("P" + std::to_string(n)); });
  rsa.eventos.Fin.conecta([&](int32_t n) { traza.push_back("Fin " + std::to_string(n)); });
  rsa.eventos.Cifrado.conecta([&](int32_t n) { traza.push_back("Cifrado " + std::to_string(n)); });
  rsa.eventos.DesCifrado.conecta([&] { traza.push_back("DesCifrado"); });
  // "Hi" is the block 072105; a first character of code 0 needs all six digits back.
  rsa.setTextoOriginal(texto(Cadena(U"Hi") + char32_t{0} + U"ab"));
  rsa.Cifra();
  EXPECT_EQ(rsa.NumBloques(), 3);
  EXPECT_EQ(traza, (std::vector<std::string>{"Inicio 3", "P1", "P2", "P3", "Fin 3", "Cifrado 3"}));
  numbrel::ORVBigNum big;
  EXPECT_EQ(rsa.TextoCifrado(1), big.ModPower(U"72105", U"65537", rsa.Clave()));
  traza.clear();
  const auto entrada = rsa.TextoOriginal();
  rsa.Descifra();
  EXPECT_NE(rsa.TextoOriginal(), entrada);
  EXPECT_EQ(rsa.TextoOriginal()->Texto(), Cadena(U"Hi") + char32_t{0} + U"ab ");
  EXPECT_EQ(rsa.TextoOriginal()->Key(), kestrin::CSKNone);
  EXPECT_EQ(traza, (std::vector<std::string>{"Inicio 3", "P1", "P2", "P3", "Fin 3", "DesCifrado"}));
}

TEST(ORVCriptoRSA, FailedBlocksAreLeftEmptyOrSkipped) {
  ORVCriptoRSA rsa;
  rsa.setTextoOriginal(texto(U"ab"));
  rsa.Cifra();  // no key: every block fails
  EXPECT_EQ(rsa.NumBloques(), 2);
  EXPECT_EQ(rsa.TextoCifrado(1), U"");
  rsa.Descifra();
  EXPECT_EQ(rsa.TextoOriginal()->Texto(), U"");
  rsa.setNumBloques(0);
  EXPECT_EQ(rsa.TextoCifrado(0), U"");
  EXPECT_THROW(rsa.TextoCifrado(1), kestrin::ErrorSubindice);
  EXPECT_THROW(rsa.ClaveFactor(3), kestrin::ErrorSubindice);
  EXPECT_THROW(rsa.setTamBloque(0), kestrin::ErrorORV);
  EXPECT_EQ(rsa.TamBloque(), 1);
}

TEST(ORVCriptoRSA, RandomTextsRoundTripForEveryBlockSize) {
  numbrel::ORVBigNum big;
  std::mt19937_64 azar(77);
  // Two 64-bit primes allow blocks of up to 6 characters (255255255255255255 < p).
  const Cadena p = big.NextPrime(U"2^63"), q = big.NextPrime(U"2^63+2^40");
  for (int32_t tam = 1; tam <= 6; ++tam) {
    ORVCriptoRSA rsa;
    clave(rsa, p.c_str(), q.c_str(), U"65537", tam);
    rsa.ConstruyeClave();
    ASSERT_FALSE(rsa.ClavePrivada().empty()) << tam;
    for (int vuelta = 0; vuelta < 20; ++vuelta) {
      std::string bytes(1 + azar() % 30, '\0');
      for (char& c : bytes) c = static_cast<char>(azar() % 256);
      const Cadena original = kestrin::desdeAnsi(bytes);
      rsa.setTextoOriginal(texto(original));
      rsa.Cifra();
      rsa.Descifra();
      const Cadena vuelto = rsa.TextoOriginal()->Texto();
      ASSERT_EQ(vuelto.substr(0, original.size()), original) << tam;
      ASSERT_EQ(vuelto.size(), (original.size() + tam - 1) / tam * tam) << tam;
    }
  }
  // Seven characters need a factor above 255255255255255255255.
  ORVCriptoRSA grande;
  clave(grande, p.c_str(), q.c_str(), U"65537", 7);
  Mensajes m(grande);
  grande.ConstruyeClave();
  EXPECT_EQ(m.vistos.at(0), "no:Cada factor primo debe ser mayor que 255255255255255255255.");
}

}  // namespace
}  // namespace halvard
