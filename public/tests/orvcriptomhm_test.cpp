// Merkle-Hellman knapsack: key checks, block encoding, events and round trips.
#include "halvard/orvcriptomhm.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>

#include "kestrin/errores.h"

namespace halvard {
namespace {

using kestrin::ORVTexto;

Moneda M(int64_t v) { return Moneda::desdeEntero(v); }

std::shared_ptr<ORVTexto> texto(const Cadena& s) {
  auto t = std::make_shared<ORVTexto>();
  t->setTexto(s);
  return t;
}

// Sets a private key; returns the ConstruyeClave messages and the event trail.
struct Clave {
  std::vector<int64_t> privada;
  int64_t modulo, multiplicador;
};

void fija(ORVCriptoMHM& mhm, const Clave& clave) {
  mhm.setLongitudSucesion(static_cast<int32_t>(clave.privada.size()));
  for (size_t i = 0; i < clave.privada.size(); ++i) {
    mhm.setSucesionPrivada(static_cast<int32_t>(i + 1), M(clave.privada[i]));
  }
  mhm.setModulo(M(clave.modulo));
  mhm.setMultiplicador(M(clave.multiplicador));
}

struct CasoRechazo {
  const char* nombre;
  Clave clave;
  const char* mensaje;
};

const CasoRechazo kRechazos[] = {
    {"un elemento", {{5}, 100, 3}, "Debe haber al menos 2 elementos en la sucesión"},
    {"iguales", {{2, 2, 5}, 100, 3}, "La sucesión debe ser supercreciente"},
    {"tercero menor", {{2, 3, 4}, 100, 3}, "La sucesión debe ser supercreciente"},
    {"modulo igual a la suma", {{2, 3, 7, 15}, 27, 4}, "El módulo debe ser mayor que la suma de los elementos de la sucesión"},
    {"modulo negativo", {{-9, -5}, -1, 1}, "El módulo debe ser mayor que la suma de los elementos de la sucesión"},
    {"factor comun", {{2, 3, 7, 15}, 30, 6}, "El multiplicador debe ser primo con el módulo"},
    {"publica supercreciente", {{2, 3, 7, 15}, 28, 1}, "La sucesión pública NO debe ser supercreciente"},
};

TEST(ORVCriptoMHM, RejectedKeysStopAtTheirFirstProblem) {
  for (const auto& caso : kRechazos) {
    SCOPED_TRACE(caso.nombre);
    ORVCriptoMHM mhm;
    fija(mhm, caso.clave);
    mhm.setClavePrivadaOK(true);
    std::vector<std::string> traza;
    mhm.eventos.ConstruyeClave.conecta([&](bool& ok, const Cadena& mensaje) {
      traza.push_back((ok ? "ok:" : "no:") + kestrin::aUtf8(mensaje));
    });
    mhm.eventos.CambiaClave.conecta([&] { traza.push_back("CambiaClave"); });
    mhm.ConstruyeClave();
    EXPECT_EQ(traza, (std::vector<std::string>{std::string("no:") + caso.mensaje, "CambiaClave"}));
    EXPECT_FALSE(mhm.ClavePublicaOK());
    EXPECT_FALSE(mhm.ClavePrivadaOK());
  }
}

TEST(ORVCriptoMHM, AcceptedKeyDerivesThePublicSequence) {
  ORVCriptoMHM mhm;
  fija(mhm, {{2, 3, 7, 15}, 28, 3});  // the modulus is the sum plus one
  std::vector<std::string> traza;
  mhm.eventos.ConstruyeClave.conecta([&](bool& ok, const Cadena& m) {
    traza.push_back((ok ? "ok:" : "no:") + kestrin::aUtf8(m));
  });
  mhm.eventos.CambiaClave.conecta([&] { traza.push_back("CambiaClave"); });
  mhm.ConstruyeClave();
  EXPECT_EQ(traza, (std::vector<std::string>{"ok:Clave correcta", "CambiaClave", "CambiaClave",
                                             "CambiaClave"}));
  EXPECT_TRUE(mhm.ClavePublicaOK());
  EXPECT_TRUE(mhm.ClavePrivadaOK());
  const int64_t publica[] = {6, 9, 21, 17};
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(mhm.SucesionPublica(i), M(publica[i - 1])) << i;
}

TEST(ORVCriptoMHM, BlocksAndEventsOfAFiveElementKey) {
  ORVCriptoMHM mhm;
  fija(mhm, {{1, 2, 4, 9, 20}, 41, 7});
  mhm.ConstruyeClave();
  ASSERT_TRUE(mhm.ClavePrivadaOK());
  // One character gets (8 mod 5) = 3 spaces: 32 bits, 7 blocks, the last of 2 bits.
  mhm.setTextoOriginal(texto(U"A"));
  EXPECT_EQ(mhm.TextoOriginal()->Texto(), U"A   ");
  auto traza = std::vector<std::string>();
  std::vector<std::string>* t = &traza;
  mhm.eventos.Inicio.conecta([t](int32_t n) { t->push_back("Inicio " + std::to_string(n)); });
  mhm.eventos.Progreso.conecta([t](int32_t n) { t->push_back("P" + std::to_string(n)); });
  mhm.eventos.Cifrado.conecta([t](int32_t n) { t->push_back("Cifrado " + std::to_string(n)); });
  mhm.eventos.Fin.conecta([t](int32_t n) { t->push_back("Fin " + std::to_string(n)); });
  mhm.eventos.DesCifrado.conecta([t] { t->push_back("DesCifrado"); });
  mhm.Cifra();
  EXPECT_EQ(traza, (std::vector<std::string>{"Inicio 7", "P1", "P2", "P3", "P4", "P5", "P6", "P7",
                                             "Cifrado 7", "Fin 7"}));
  EXPECT_EQ(mhm.UltimoBloque(), 7);
  EXPECT_EQ(mhm.NumBloques(), 0);  // Cifra does not change it
  // "A" is 01000 001|00 10000 0|010 00000 100|00 0010 0000: first block 01000
  // selects the second public element.
  EXPECT_EQ(mhm.TextoCifrado(1), mhm.SucesionPublica(2));
  // Last block "00" selects nothing.
  EXPECT_EQ(mhm.TextoCifrado(7), Moneda());
  EXPECT_THROW(mhm.TextoCifrado(8), kestrin::ErrorSubindice);
  EXPECT_THROW(mhm.TextoCifrado(0), kestrin::ErrorSubindice);
  traza.clear();
  mhm.Descifra();
  EXPECT_EQ(mhm.TextoOriginal()->Texto(), U"A   ");
  EXPECT_EQ(traza.front(), "Inicio 7");
  EXPECT_EQ(traza[traza.size() - 2], "DesCifrado");
  EXPECT_EQ(traza.back(), "Fin 7");
}

TEST(ORVCriptoMHM, EightElementsMakeOneBlockPerCharacter) {
  ORVCriptoMHM mhm;
  fija(mhm, {{1, 3, 5, 11, 23, 47, 97, 199}, 389, 31});
  mhm.ConstruyeClave();
  mhm.setTextoOriginal(texto(U"ñ·¿"));
  EXPECT_EQ(mhm.TextoOriginal()->Texto(), U"ñ·¿");
  mhm.Cifra();
  EXPECT_EQ(mhm.UltimoBloque(), 3);
  mhm.setTextoOriginal(texto(U""));
  mhm.Descifra();
  EXPECT_EQ(mhm.TextoOriginal()->Texto(), U"ñ·¿");
}

TEST(ORVCriptoMHM, WithoutAValidKeyNothingHappens) {
  ORVCriptoMHM mhm;
  fija(mhm, {{1, 3, 5, 11}, 21, 4});
  mhm.ConstruyeClave();
  ASSERT_TRUE(mhm.ClavePrivadaOK());
  mhm.setTextoOriginal(texto(U"hola"));
  mhm.Cifra();
  const Moneda primero = mhm.TextoCifrado(1);
  mhm.VaciaClave();
  EXPECT_EQ(mhm.Modulo(), Moneda());
  EXPECT_TRUE(mhm.ClavePrivadaOK());  // the flags are not touched
  int eventos = 0;
  mhm.eventos.Inicio.conecta([&](int32_t) { ++eventos; });
  mhm.Descifra();  // no modulus: no division, nothing happens
  EXPECT_EQ(eventos, 0);
  EXPECT_EQ(mhm.TextoOriginal()->Texto(), U"hola");
  mhm.Cifra();  // the public sequence still enciphers
  EXPECT_EQ(mhm.TextoCifrado(1), primero);
  mhm.setClavePublicaOK(false);
  EXPECT_FALSE(mhm.ClavePrivadaOK());
  mhm.setNumBloques(0);
  mhm.Cifra();
  EXPECT_EQ(mhm.UltimoBloque(), 0);
}

TEST(ORVCriptoMHM, ZeroBitsOfAPartialLastBlockAreNotText) {
  // The padded text and the blocks: 12 elements, "ab" + 4 spaces, 4 whole
  // blocks; 10, "ab" + 6 spaces, 6 extra zero bits; 24, "abc", one block;
  // 24, "abcd" + 8 spaces, whole blocks; 40, "ab" + 16 spaces, 16 extra zero
  // bits that would make two NUL characters.
  const std::pair<int32_t, const char32_t*> casos[] = {
      {12, U"ab"}, {10, U"ab"}, {24, U"abc"}, {24, U"abcd"}, {40, U"ab"}};
  for (const auto& [largo, claro] : casos) {
    std::vector<int64_t> privada;
    int64_t suma = 0;
    for (int32_t i = 0; i < largo; ++i) {
      privada.push_back(suma + 1);
      suma += suma + 1;
    }
    ORVCriptoMHM mhm;
    fija(mhm, {privada, suma + 2, 1000003});
    mhm.ConstruyeClave();
    ASSERT_TRUE(mhm.ClavePrivadaOK()) << largo;
    mhm.setTextoOriginal(texto(claro));
    const Cadena rellenado = mhm.TextoOriginal()->Texto();
    mhm.Cifra();
    mhm.Descifra();
    EXPECT_EQ(mhm.TextoOriginal()->Texto(), rellenado) << largo;
    EXPECT_EQ(rellenado.find(char32_t{0}), Cadena::npos) << largo;
  }
}

TEST(ORVCriptoMHM, LargeProductsStayExact) {
  // w * element far above 2^31; modulus near 10^13.
  ORVCriptoMHM mhm;
  fija(mhm, {{123456789, 987654321, 2222222222, 5555555555, 11111111111}, 9999999999971,
             7777777777777 % 9999999999971});
  mhm.ConstruyeClave();
  ASSERT_TRUE(mhm.ClavePrivadaOK());
  const __int128 esperado = static_cast<__int128>(7777777777777 % 9999999999971) * 5555555555 % 9999999999971;
  EXPECT_EQ(mhm.SucesionPublica(4), M(static_cast<int64_t>(esperado)));
  mhm.setTextoOriginal(texto(U"Ataque al amanecer"));
  mhm.Cifra();
  mhm.Descifra();
  EXPECT_EQ(mhm.TextoOriginal()->Texto().substr(0, 18), U"Ataque al amanecer");
}

TEST(ORVCriptoMHM, RandomKeysAndTextsRoundTrip) {
  std::mt19937_64 azar(20261210);
  for (int32_t largo = 2; largo <= 40; ++largo) {
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
      // A superincreasing sequence whose sum stays below 10^13.
      const int64_t tope = 10000000000000 >> largo;
      std::vector<int64_t> privada;
      int64_t suma = 0;
      for (int32_t i = 0; i < largo; ++i) {
        const int64_t e = suma + 1 + static_cast<int64_t>(azar() % static_cast<uint64_t>(std::max<int64_t>(tope, 1)));
        privada.push_back(e);
        suma += e;
      }
      const int64_t modulo = suma + 1 + static_cast<int64_t>(azar() % 1000);
      int64_t w = 0;
      do w = 2 + static_cast<int64_t>(azar() % static_cast<uint64_t>(modulo - 3));
      while (std::gcd(w, modulo) != 1);

      ORVCriptoMHM mhm;
      fija(mhm, {privada, modulo, w});
      mhm.ConstruyeClave();
      if (!mhm.ClavePrivadaOK()) continue;  // a rare superincreasing public sequence
      std::string bytes(azar() % 40, '\0');
      for (char& c : bytes) c = static_cast<char>(azar() % 256);
      const Cadena original = kestrin::desdeAnsi(bytes);
      mhm.setTextoOriginal(texto(original));
      const Cadena rellenado = mhm.TextoOriginal()->Texto();
      mhm.Cifra();
      mhm.setTextoOriginal(texto(U""));
      mhm.Descifra();
      ASSERT_EQ(mhm.TextoOriginal()->Texto(), rellenado) << "L=" << largo << " w=" << w;
    }
  }
}

TEST(ORVCriptoMHM, IndicesAndLengthsOutOfRange) {
  ORVCriptoMHM mhm;
  EXPECT_THROW(mhm.SucesionPrivada(1), kestrin::ErrorSubindice);
  mhm.setLongitudSucesion(3);
  EXPECT_THROW(mhm.setSucesionPublica(4, M(1)), kestrin::ErrorSubindice);
  EXPECT_THROW(mhm.SucesionPrivada(0), kestrin::ErrorSubindice);
  EXPECT_THROW(mhm.setNumBloques(-1), kestrin::ErrorSubindice);
  try {
    mhm.setLongitudSucesion(-2);
    FAIL();
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), 380);
  }
  EXPECT_EQ(mhm.LongitudSucesion(), 3);
  mhm.setLongitudSucesion(0);  // ignored
  EXPECT_EQ(mhm.LongitudSucesion(), 3);
  mhm.setNumBloques(2);
  EXPECT_EQ(mhm.TextoCifrado(2), Moneda());
  EXPECT_THROW(mhm.TextoCifrado(0), kestrin::ErrorSubindice);
  mhm.setNumBloques(0);
  EXPECT_EQ(mhm.TextoCifrado(0), Moneda());
  EXPECT_THROW(mhm.setTextoOriginal(nullptr), kestrin::ErrorORV);
}

// Blocks times sequence length is the deciphered text's size, known before
// any work: too large, it is refused whole and nothing changes.
TEST(ORVCriptoMHM, DecipheringMoreThanCanBeHeldIsRefusedFirst) {
  const struct {
    const char* nombre;
    int32_t longitud, bloques;
    bool cabe;
  } casos[] = {
      {"los mayores de cada uno", 1 << 16, 1 << 24, false},
      {"un bloque más que el límite del texto", 1 << 16, (1 << 14) + 1, false},
      {"bloques cortos pero muchos", 1 << 11, (1 << 20) + 1, false},
      {"un bloque de la mayor longitud", 1 << 16, 1, true},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    ORVCriptoMHM mhm;
    mhm.setLongitudSucesion(caso.longitud);
    mhm.setModulo(M(7));
    mhm.setMultiplicador(M(3));
    mhm.setClavePrivadaOK(true);
    mhm.setTextoOriginal(texto(U"sin tocar"));
    const Cadena antes = mhm.TextoOriginal()->Texto();
    mhm.setNumBloques(caso.bloques);
    int eventos = 0;
    mhm.eventos.Inicio.conecta([&](int32_t) { ++eventos; });
    mhm.eventos.DesCifrado.conecta([&] { ++eventos; });
    if (caso.cabe) {
      mhm.Descifra();
      EXPECT_EQ(eventos, 2);
      continue;
    }
    try {
      mhm.Descifra();
      ADD_FAILURE();
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), kestrin::kMemoriaInsuficiente);
      EXPECT_EQ(std::string(e.what()), "Memoria insuficiente");
    }
    EXPECT_EQ(eventos, 0);
    EXPECT_EQ(mhm.TextoOriginal()->Texto(), antes);
    EXPECT_EQ(mhm.NumBloques(), caso.bloques);
  }
}

TEST(ORVCriptoMHM, OverflowingBlockSumIsAnError) {
  ORVCriptoMHM mhm;
  mhm.setLongitudSucesion(2);
  mhm.setSucesionPublica(1, M(900000000000000));
  mhm.setSucesionPublica(2, M(900000000000000));
  mhm.setClavePublicaOK(true);
  mhm.setTextoOriginal(texto(U"\u00FF"));  // every bit set
  EXPECT_THROW(mhm.Cifra(), kestrin::ErrorDesbordamiento);
}

}  // namespace
}  // namespace halvard
