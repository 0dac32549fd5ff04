// Vigenère and XOR: Kasiski's test, autocorrelation and the key solved from
// the language statistics.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ayudas_prueba.h"
#include "kestrin/errores.h"
#include "tarnel/criptoperiodico.h"

namespace tarnel {
namespace {

using prueba::pliega;
using prueba::reservado;
using prueba::texto;


std::unique_ptr<CriptoPeriodico> crea(bool xor_) {
  if (xor_) return std::make_unique<ORVCriptoXOR>();
  return std::make_unique<ORVCriptoVigenere>();
}

// `claro` enciphered with `clave` and left as the ciphertext.
std::unique_ptr<CriptoPeriodico> cifrado(bool xor_, VistaCadena clave, VistaCadena claro) {
  auto cs = crea(xor_);
  cs->setClave(clave);
  cs->setTextoOriginal(texto(claro));
  cs->Cifra();
  return cs;
}

Cadena aleatorio(size_t n, uint64_t semilla) {
  std::mt19937_64 g(semilla);
  Cadena s;
  for (size_t i = 0; i < n; ++i) s.push_back(alfabeto::simbolo(static_cast<int>(g() % 64)));
  return s;
}

// ---------------------------------------------------------------- Kasiski

using Repeticion = std::tuple<int32_t, int32_t, std::u32string>;  // position, distance, sequence

std::vector<Repeticion> repeticiones(CriptoPeriodico& cs) {
  std::vector<Repeticion> r;
  for (int32_t i = 1; i <= cs.NumDistanciasKasiski(); ++i) {
    r.emplace_back(cs.PosicionKasiski(i), cs.DistanciaKasiski(i), cs.SecuenciaKasiski(i));
  }
  return r;
}

TEST(Kasiski, ListaCadaRepeticionConSuDistanciaLasMasLargasPrimero) {
  struct Caso {
    const char32_t* cifrado;
    std::vector<Repeticion> esperadas;
  };
  const Caso casos[] = {
      // "abcdefg" at 1 and 11, "hij" at 8 and 22; the blocks inside the long
      // repeat ("bcd", "efg", ...) are not listed again.
      {U"abcdefghijabcdefgklmnhij", {{1, 10, U"abcdefg"}, {8, 14, U"hij"}}},
      // A repeat that overlaps itself runs as far as the two copies agree.
      {U"abcabcabc", {{1, 3, U"abcabc"}}},
      // Each occurrence is paired with the one before it.
      {U"xyz12xyz345xyz", {{1, 5, U"xyz"}, {6, 6, U"xyz"}}},
      // Characters outside the alphabet are dropped and the tag is not text.
      {U"[ORVKey=008]ab#c_dab\tc", {{1, 4, U"abc"}}},
      {U"abab", {}},
      {U"", {}},
  };
  for (const bool xor_ : {false, true}) {
    for (const Caso& c : casos) {
      auto cs = crea(xor_);
      cs->setTextoCifrado(texto(c.cifrado));
      cs->Kasiski();
      EXPECT_EQ(repeticiones(*cs), c.esperadas) << kestrin::aUtf8(c.cifrado);
      EXPECT_EQ(cs->LongitudKasiski(), c.esperadas.empty() ? 3 : static_cast<int32_t>(std::get<2>(c.esperadas.back()).size()));
    }
  }
}

TEST(Kasiski, CuentaLosFactoresDeLasDistancias) {
  auto cs = crea(false);
  cs->setMaxPeriodo(16);
  cs->setTextoCifrado(texto(U"abcdefghijabcdefgklmnhij"));  // distances 10 and 14
  cs->Kasiski();
  for (int32_t p = 2; p <= 16; ++p) {
    const int esperado = (10 % p == 0) + (14 % p == 0);
    EXPECT_EQ(cs->CuentaFactorKasiski(p), esperado) << p;
  }
  // Two distances are no evidence of a period.
  EXPECT_EQ(cs->PeriodoKasiski(), 0);
  EXPECT_THROW(cs->CuentaFactorKasiski(1), kestrin::ErrorSubindice);
  EXPECT_THROW(cs->CuentaFactorKasiski(17), kestrin::ErrorSubindice);
  EXPECT_THROW(cs->DistanciaKasiski(3), kestrin::ErrorSubindice);
  EXPECT_THROW(cs->SecuenciaKasiski(0), kestrin::ErrorSubindice);
  // The bound is MaxPeriodo as it was when Kasiski ran.
  cs->setMaxPeriodo(25);
  EXPECT_THROW(cs->CuentaFactorKasiski(20), kestrin::ErrorSubindice);
}

TEST(Kasiski, ElPeriodoDeUnCifradoReal) {
  const Cadena claro = reservado();
  ASSERT_GT(claro.size(), 3000u);
  for (const bool xor_ : {false, true}) {
    for (const char32_t* clave : {U"luna", U"clave7x", U"ñ0q(zk:xy"}) {
      auto cs = cifrado(xor_, clave, claro.substr(0, 2500));
      cs->Kasiski();
      const int32_t periodo = static_cast<int32_t>(std::u32string_view(clave).size());
      EXPECT_EQ(cs->PeriodoKasiski(), periodo) << kestrin::aUtf8(clave) << (xor_ ? " XOR" : "");
      // Every long repeat is a repeat of the plain text under the same key symbols.
      for (int32_t i = 1; i <= cs->NumDistanciasKasiski(); ++i) {
        if (cs->SecuenciaKasiski(i).size() >= 6) {
          EXPECT_EQ(cs->DistanciaKasiski(i) % periodo, 0) << i;
        }
      }
    }
  }
}

TEST(Kasiski, UnTextoLargoListaSoloLasRepeticionesMasLargas) {
  auto cs = crea(false);
  // Chance repeats: some 800 000 of three symbols, 14 000 of four.
  cs->setTextoCifrado(texto(aleatorio(1u << 20, 7)));
  cs->Kasiski();
  ASSERT_EQ(cs->NumDistanciasKasiski(), CriptoPeriodico::kMaxDistanciasKasiski);
  EXPECT_GT(cs->LongitudKasiski(), 3);
  size_t anterior = SIZE_MAX;
  for (int32_t i = 1; i <= cs->NumDistanciasKasiski(); ++i) {
    const size_t n = cs->SecuenciaKasiski(i).size();
    EXPECT_LE(n, anterior);
    EXPECT_GE(static_cast<int32_t>(n), cs->LongitudKasiski());
    anterior = n;
  }
  EXPECT_EQ(cs->PeriodoKasiski(), 0);  // chance repeats point nowhere
}

// -------------------------------------------------------- Autocorrelación

TEST(Autocorrelacion, CuentaLasCoincidenciasDeCadaDesplazamiento) {
  struct Caso {
    const char32_t* cifrado;
    std::vector<int32_t> coincidencias;  // shifts 1, 2, ...; the rest 0
  };
  const Caso casos[] = {
      {U"aaaa", {3, 2, 1}},
      {U"abcabc", {0, 0, 3}},
      {U"ab#ab", {0, 2}},  // the dropped character takes no place
      {U"", {}},
  };
  for (const Caso& c : casos) {
    auto cs = crea(true);
    cs->setMaxPeriodo(8);
    cs->setTextoCifrado(texto(c.cifrado));
    for (int32_t d = 1; d <= 8; ++d) {
      const size_t i = static_cast<size_t>(d - 1);
      EXPECT_EQ(cs->Autocorrelacion(d), i < c.coincidencias.size() ? c.coincidencias[i] : 0)
          << kestrin::aUtf8(c.cifrado) << " d=" << d;
    }
    EXPECT_THROW(cs->Autocorrelacion(0), kestrin::ErrorSubindice);
    EXPECT_THROW(cs->Autocorrelacion(9), kestrin::ErrorSubindice);
  }
}

TEST(Autocorrelacion, SeRecalculaCuandoCambiaElTextoOMaxPeriodo) {
  auto cs = crea(false);
  cs->setMaxPeriodo(4);
  cs->setTextoCifrado(texto(U"aaaa"));
  EXPECT_EQ(cs->Autocorrelacion(1), 3);
  cs->setTextoCifrado(texto(U"abab"));
  EXPECT_EQ(cs->Autocorrelacion(1), 0);
  EXPECT_EQ(cs->Autocorrelacion(2), 2);
  // The same object with a new text.
  cs->TextoCifrado()->setTexto(U"bbbbbbbb");
  EXPECT_EQ(cs->Autocorrelacion(1), 7);
  cs->setMaxPeriodo(0);  // then 20
  EXPECT_EQ(cs->Autocorrelacion(20), 0);
  EXPECT_EQ(cs->Autocorrelacion(7), 1);
}

TEST(Autocorrelacion, ElPeriodoEsElPrimerPicoDestacado) {
  const Cadena claro = reservado().substr(0, 1500);
  struct Caso {
    const char32_t* clave;
    int32_t periodo;
  };
  for (const bool xor_ : {false, true}) {
    for (const Caso& c : {Caso{U"k", 1}, Caso{U"sol", 3}, Caso{U"clave7x", 7}, Caso{U"abcdefghijk", 11}}) {
      auto cs = cifrado(xor_, c.clave, claro);
      EXPECT_EQ(cs->PeriodoAutocorrelacion(), c.periodo) << kestrin::aUtf8(c.clave) << (xor_ ? " XOR" : "");
      if (c.periodo > 1) {
        // The period coincides far more than most other shifts.
        std::vector<int32_t> otros;
        for (int32_t d = 1; d <= 20; ++d) {
          if (d % c.periodo != 0) otros.push_back(cs->Autocorrelacion(d));
        }
        std::sort(otros.begin(), otros.end());
        EXPECT_GT(cs->Autocorrelacion(c.periodo), 2 * otros[otros.size() / 2])
            << kestrin::aUtf8(c.clave) << (xor_ ? " XOR" : "");
      }
    }
  }
  auto azar = crea(false);
  azar->setTextoCifrado(texto(aleatorio(3000, 3)));
  EXPECT_EQ(azar->PeriodoAutocorrelacion(), 0);
}

// --------------------------------------------------------------- Resuelve

TEST(Resuelve, EncuentraLaClaveDeUnTextoQueLasEstadisticasNoVieron) {
  const Cadena claro = reservado();
  struct Caso {
    const char32_t* clave;
    size_t desde, longitud;
  };
  // 40 symbols of text per key symbol, and fewer.
  const Caso casos[] = {{U"clave7x", 0, 280}, {U"sol", 900, 120}, {U"ñ0q(zk:xy", 1500, 360}, {U"abcde", 2500, 100}};
  for (const bool xor_ : {false, true}) {
    for (const Caso& c : casos) {
      const Cadena parte = claro.substr(c.desde, c.longitud);
      auto cs = cifrado(xor_, c.clave, parte);
      cs->setPeriodo(static_cast<int32_t>(std::u32string_view(c.clave).size()));
      cs->Resuelve();
      ASSERT_EQ(cs->NumClavesResueltas(), CriptoPeriodico::kClavesResueltas);
      EXPECT_EQ(cs->ClaveResuelta(1), c.clave) << (xor_ ? "XOR " : "") << kestrin::aUtf8(c.clave);
      // Best first, every key different, each as long as the period.
      for (int32_t i = 1; i <= cs->NumClavesResueltas(); ++i) {
        EXPECT_EQ(cs->ClaveResuelta(i).size(), std::u32string_view(c.clave).size());
        if (i > 1) {
          EXPECT_LE(cs->PuntuacionResuelta(i), cs->PuntuacionResuelta(i - 1));
        }
        for (int32_t j = 1; j < i; ++j) EXPECT_NE(cs->ClaveResuelta(i), cs->ClaveResuelta(j));
      }
      EXPECT_GT(cs->PuntuacionResuelta(1), -3.0);  // Spanish, not noise
      // The key deciphers the text.
      cs->setClave(cs->ClaveResuelta(1));
      cs->Descifra();
      EXPECT_EQ(cs->TextoOriginal()->Texto(), parte);
    }
  }
}

TEST(Resuelve, CuentaLosSimbolosComoDescifra) {
  // Characters outside the alphabet in the ciphertext do not move the key.
  const Cadena parte = reservado().substr(300, 300);
  auto cs = cifrado(false, U"rayo", parte);
  Cadena sucio;
  const Cadena c = cs->TextoCifrado()->Texto();
  for (size_t i = 0; i < c.size(); ++i) {
    sucio.push_back(c[i]);
    if (i % 17 == 0) sucio += U"#\t_";
  }
  cs->setTextoCifrado(texto(U"[ORVKey=008]" + sucio));
  cs->setPeriodo(4);
  cs->Resuelve();
  EXPECT_EQ(cs->ClaveResuelta(1), U"rayo");
}

TEST(Resuelve, NoTocaLasEtapasYNecesitaUnPeriodo) {
  auto cs = cifrado(false, U"sol", reservado().substr(0, 600));
  EXPECT_THROW(cs->Resuelve(), kestrin::ErrorSubindice);
  cs->setICTipo(Moneda::desdeDouble(0.07));
  cs->BuscaPeriodo();
  const Moneda media = cs->MediaIC(3);
  cs->setPeriodo(3);
  cs->BuscaDesplazamientos();
  cs->BuscaClaves();
  const int32_t periodo = cs->Periodo();
  const Cadena probable = cs->ClaveProbable(1);
  const int32_t desplazamiento = cs->Desplazamiento(1, 2);
  cs->Resuelve();
  cs->Kasiski();
  (void)cs->Autocorrelacion(3);
  EXPECT_EQ(cs->Periodo(), periodo);
  EXPECT_EQ(cs->MediaIC(3), media);
  EXPECT_EQ(cs->ClaveProbable(1), probable);
  EXPECT_EQ(cs->Desplazamiento(1, 2), desplazamiento);
}

TEST(Resuelve, TextosVaciosYMuyCortos) {
  auto cs = crea(true);
  cs->setPeriodo(5);
  cs->Resuelve();
  EXPECT_EQ(cs->NumClavesResueltas(), 0);
  EXPECT_THROW(cs->ClaveResuelta(1), kestrin::ErrorSubindice);
  // Fewer symbols than the period: the key symbols of the empty columns are
  // still proposed, and nothing breaks.
  cs->setTextoCifrado(texto(U"ab"));
  cs->Resuelve();
  ASSERT_EQ(cs->NumClavesResueltas(), CriptoPeriodico::kClavesResueltas);
  EXPECT_EQ(cs->ClaveResuelta(1).size(), 5u);
  cs->setTextoCifrado(nullptr);
  EXPECT_THROW(cs->Resuelve(), kestrin::ErrorORV);
}

}  // namespace
}  // namespace tarnel
