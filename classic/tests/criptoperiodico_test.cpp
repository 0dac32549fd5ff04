// Vigenère and XOR: enciphering, the tables and the three-stage attack.
#include "tarnel/criptoperiodico.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ayudas_prueba.h"
#include "kestrin/errores.h"
#include "tarnel/orvanaliza.h"

namespace tarnel {
namespace {

using prueba::pliega;
using prueba::texto;

using kestrin::CSKNone;
using kestrin::CSKVig;
using kestrin::CSKXOR;

Moneda m(const char* texto) { return Moneda::desdeDouble(std::stod(texto)); }

// The excerpt of Spanish prose kept beside the tests.
Cadena extracto() { return prueba::datos("es_extracto.txt"); }

std::unique_ptr<CriptoPeriodico> crea(bool xor_) {
  if (xor_) return std::make_unique<ORVCriptoXOR>();
  return std::make_unique<ORVCriptoVigenere>();
}

struct Registro {
  std::vector<std::string> eventos;
  explicit Registro(CriptoPeriodico& c) {
    c.eventos.Inicio.conecta([this](int32_t& n) { eventos.push_back("Inicio(" + std::to_string(n) + ")"); });
    c.eventos.Progreso.conecta([this](int32_t& n) { eventos.push_back("Progreso(" + std::to_string(n) + ")"); });
    c.eventos.Fin.conecta([this](int32_t& n) { eventos.push_back("Fin(" + std::to_string(n) + ")"); });
    c.eventos.Warning.conecta([this](const Cadena& s) { eventos.push_back("Warning:" + kestrin::aUtf8(s)); });
  }
  std::vector<std::string> progresos(int desde, int hasta) const {
    std::vector<std::string> v;
    for (int k = desde; k <= hasta; ++k) v.push_back("Progreso(" + std::to_string(k) + ")");
    return v;
  }
};

struct CasoCifra {
  const char* nombre;
  bool xor_;
  const char32_t* clave;
  const char32_t* claveGuardada;
  const char32_t* claro;
  const char32_t* cifrado;
};

TEST(CriptoPeriodico, EnciphersAndDeciphersBothWays) {
  const CasoCifra casos[] = {
      {"clave cero", false, U"·", U"·", U"Hola, Ñu", U"hola,·ñu"},
      {"mas dos", false, U"b", U"b", U"az", U"c1"},
      {"vuelta del alfabeto", false, U"a", U"a", U"\"", U"·"},
      {"periodica", false, U"ab", U"ab", U"aaaa", U"bcbc"},
      {"clave con caracteres fuera", false, U"a#b_", U"ab", U"aa#aa", U"bcbc"},
      {"clave plegada", false, U"Á B", U"a·b", U"···", U"a·b"},
      {"xor clave cero", true, U"·", U"·", U"Hola", U"hola"},
      {"xor uno", true, U"a", U"a", U"·abc", U"a·cb"},
      {"xor periodica", true, U"ab", U"ab", U"····", U"abab"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    auto c = crea(caso.xor_);
    c->setClave(caso.clave);
    EXPECT_EQ(c->Clave(), caso.claveGuardada);
    int cifrados = 0, descifrados = 0;
    c->eventos.Cifrado.conecta([&] { ++cifrados; });
    c->eventos.DesCifrado.conecta([&] { ++descifrados; });
    const auto claro = texto(caso.claro);
    c->setTextoOriginal(claro);
    c->Cifra();
    EXPECT_EQ(c->TextoCifrado()->Texto(), caso.cifrado);
    EXPECT_EQ(c->TextoCifrado()->Key(), caso.xor_ ? CSKXOR : CSKVig);
    EXPECT_EQ(claro->Texto(), caso.claro) << "the input is not changed";
    // Deciphering reads a saved text, tag and all.
    c->setTextoCifrado(texto(c->TextoCifrado()->KeyText()));
    c->Descifra();
    EXPECT_EQ(c->TextoOriginal()->Texto(), pliega(caso.claro));
    EXPECT_EQ(c->TextoOriginal()->Key(), CSKNone);
    EXPECT_EQ(cifrados, 1);
    EXPECT_EQ(descifrados, 1);
  }
}

TEST(CriptoPeriodico, XorEnciphersTwiceBackToTheText) {
  ORVCriptoXOR x;
  x.setClave(U"clave");
  x.setTextoOriginal(texto(U"En un lugar de la Mancha"));
  x.Cifra();
  x.setTextoOriginal(x.TextoCifrado());
  x.Cifra();
  EXPECT_EQ(x.TextoCifrado()->Texto(), U"en·un·lugar·de·la·mancha");
}

TEST(CriptoPeriodico, EmptyKeyDoesNothingEitherWay) {
  for (bool xor_ : {false, true}) {
    auto c = crea(xor_);
    int eventos = 0;
    c->eventos.Cifrado.conecta([&] { ++eventos; });
    c->eventos.DesCifrado.conecta([&] { ++eventos; });
    const auto original = texto(U"abc");
    const auto cifrado = texto(U"xyz");
    c->setTextoOriginal(original);
    c->setTextoCifrado(cifrado);
    c->setClave(U"#_");
    EXPECT_EQ(c->Clave(), U"");
    c->Cifra();
    c->Descifra();
    EXPECT_EQ(eventos, 0);
    EXPECT_EQ(c->TextoOriginal(), original);
    EXPECT_EQ(c->TextoCifrado(), cifrado);
  }
}

TEST(CriptoPeriodico, TablesKeepTheirBoundsAndConventions) {
  ORVCriptoVigenere v;
  EXPECT_EQ(v.MaxPeriodo(), 25);
  EXPECT_EQ(v.Periodo(), 0);
  EXPECT_THROW(v.IC(0, 1), kestrin::ErrorSubindice);
  EXPECT_THROW(v.IC(1, 26), kestrin::ErrorSubindice);
  EXPECT_THROW(v.MediaIC(26), kestrin::ErrorSubindice);
  EXPECT_THROW(v.TextoCol(26), kestrin::ErrorSubindice);
  EXPECT_THROW(v.ICM(1, 1, 0), kestrin::ErrorSubindice) << "no period yet";
  EXPECT_THROW(v.ClaveProbable(65), kestrin::ErrorSubindice);
  EXPECT_EQ(v.ClaveProbable(64), U"");

  v.setPeriodo(0);
  EXPECT_EQ(v.Periodo(), 0) << "below 1 is ignored";
  v.setPeriodo(1);
  EXPECT_EQ(v.Desplazamiento(1, 1), 0);
  v.setPeriodo(4);
  v.setDesplazamiento(1, 3, 5);
  EXPECT_EQ(v.Desplazamiento(3, 1), -5);
  v.setDesplazamiento(4, 2, 7);
  EXPECT_EQ(v.Desplazamiento(4, 2), 7);
  EXPECT_EQ(v.Desplazamiento(2, 4), -7);
  v.setICM(3, 1, 63, m("0.25"));
  EXPECT_EQ(v.ICM(1, 3, 63), m("0.25"));
  EXPECT_EQ(v.ICM(1, 4, 63), Moneda());
  EXPECT_THROW(v.ICM(1, 3, 64), kestrin::ErrorSubindice);
  EXPECT_THROW(v.ICM(1, 5, 0), kestrin::ErrorSubindice);
  EXPECT_THROW(v.setDesplazamiento(0, 1, 0), kestrin::ErrorSubindice);

  // A negated INT32_MIN does not fit 32 bits.
  v.setDesplazamiento(1, 2, INT32_MIN);
  EXPECT_THROW(v.Desplazamiento(2, 1), kestrin::ErrorDesbordamiento);

  // Writing Periodo empties the shift tables; MaxPeriodo the period tables.
  v.setPeriodo(4);
  EXPECT_EQ(v.Desplazamiento(1, 3), 0);
  v.setIC(2, 1, m("0.5"));
  v.setTextoCol(3, U"abc");
  v.setMaxPeriodo(3);
  EXPECT_EQ(v.IC(2, 1), Moneda());
  EXPECT_EQ(v.TextoCol(3), U"");
  EXPECT_THROW(v.TextoCol(4), kestrin::ErrorSubindice);

  for (int32_t fuera : {-1, CriptoPeriodico::kPeriodoLimite + 1}) {
    try {
      v.setMaxPeriodo(fuera);
      ADD_FAILURE() << fuera;
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), 380);
    }
    EXPECT_THROW(v.setPeriodo(CriptoPeriodico::kPeriodoLimite + 1), kestrin::ErrorORV);
  }
  EXPECT_EQ(v.MaxPeriodo(), 3);
  EXPECT_EQ(v.Periodo(), 4);
}

// Every index of the period search equals what the analyser gives on the
// column itself; means and variances follow from them.
TEST(CriptoPeriodico, PeriodSearchTablesMatchTheAnalyserOnEachColumn) {
  const Cadena s = U"Los médicos cortan, queman, torturan... y haciendo a los enfermos un bien, que más "
                   U"parece mal, exigen una recompensa que casi no merecen. #123";
  ORVCriptoVigenere v;
  v.setMaxPeriodo(12);
  v.setTextoCifrado(texto(U"[ORVKey=008]" + s));
  v.BuscaPeriodo();
  for (int32_t per = 1; per <= 12; ++per) {
    Moneda media;
    for (int32_t c = 1; c <= per; ++c) {
      Cadena columna;
      for (size_t i = static_cast<size_t>(c - 1); i < s.size(); i += static_cast<size_t>(per)) columna += s[i];
      ORVAnaliza a;
      a.setTexto(columna);
      ASSERT_EQ(v.IC(per, c), a.IC()) << per << "," << c;
      media += a.IC() / Moneda(per);
      if (per == 12) {
        EXPECT_EQ(v.TextoCol(c), columna);
      }
    }
    EXPECT_EQ(v.MediaIC(per), media) << per;
    Moneda varianza;
    for (int32_t c = 1; c <= per; ++c) varianza += (v.IC(per, c) - media) * (v.IC(per, c) - media);
    EXPECT_EQ(v.VarianzaIC(per), varianza) << per;
  }
}

// On a long text the counts of several periods come from one pass at a
// common multiple of them, added up in stages; every index must still be the
// column's own. The shortest text keeps 16-bit counts; the longest allows
// the largest common cycles.
TEST(CriptoPeriodico, PeriodSearchOnALongTextMatchesEachColumn) {
  struct Caso {
    size_t longitud;
    int32_t maxPeriodo;
  };
  for (const Caso caso : {Caso{60000, 25}, Caso{200000, 25}, Caso{1100003, 31}}) {
    std::mt19937 azar(25);
    Cadena s;
    for (size_t i = 0; i < caso.longitud; ++i) {
      const unsigned x = azar() % 100;
      s += x < 60 ? alfabeto::simbolo(static_cast<int>(x % 7)) : x < 98 ? alfabeto::simbolo(static_cast<int>(x)) : U'#';
    }
    ORVCriptoVigenere v;
    v.setMaxPeriodo(caso.maxPeriodo);
    v.setTextoCifrado(texto(s));
    v.BuscaPeriodo();
    for (int32_t per = 1; per <= caso.maxPeriodo; ++per) {
      for (int32_t c = 1; c <= per; ++c) {
        std::array<int64_t, 64> cuentas{};
        int64_t total = 0;
        for (size_t i = static_cast<size_t>(c - 1); i < s.size(); i += static_cast<size_t>(per)) {
          const int x = alfabeto::valor(s[i]);
          if (x >= 0) ++cuentas[static_cast<size_t>(x)], ++total;
        }
        int64_t suma = 0;
        for (const int64_t f : cuentas) suma += f * (f - 1);
        const Moneda esperado = Moneda::desdeDouble(static_cast<double>(suma) /
                                                    (static_cast<double>(total) * static_cast<double>(total - 1)));
        ASSERT_EQ(v.IC(per, c), esperado) << caso.longitud << ": " << per << "," << c;
      }
    }
  }
}

TEST(CriptoPeriodico, PeriodSearchEventsAndDefault) {
  ORVCriptoVigenere v;
  v.setMaxPeriodo(0);
  v.setTextoCifrado(texto(U"abcabcabcabc"));
  Registro r(v);
  v.BuscaPeriodo();
  EXPECT_EQ(v.MaxPeriodo(), 20);
  std::vector<std::string> esperado{"Inicio(20)"};
  for (const auto& p : r.progresos(1, 20)) esperado.push_back(p);
  esperado.push_back("Fin(20)");
  EXPECT_EQ(r.eventos, esperado);
  // ICTipo 0: the pure minimum of the distance. Every column of period 4
  // holds "a", "b" and "c" once: index 0.
  EXPECT_EQ(v.Periodo(), 4);
  // ICTipo 1: every column of period 3 is constant; period 6 is as close
  // but not less spread, and ties keep the smaller period.
  v.setICTipo(m("1"));
  v.BuscaPeriodo();
  EXPECT_EQ(v.Periodo(), 3);
}

// The shifted mutual indices equal the analyser's on explicitly shifted
// copies of the columns. A character outside the alphabet stays in its
// column unshifted: it keeps the column's length and never coincides.
TEST(CriptoPeriodico, ShiftSearchMatchesTheAnalyserOnShiftedColumns) {
  for (bool xor_ : {false, true}) {
    SCOPED_TRACE(xor_ ? "xor" : "vigenere");
    const Cadena s = U"kd#ñ0(qa)zz·mp\"!ei#wrtyaaq";
    auto c = crea(xor_);
    c->setTextoCifrado(texto(s));
    c->setPeriodo(3);
    c->setICTipo(m("0.07"));
    c->BuscaDesplazamientos();
    for (int32_t a = 1; a <= 3; ++a) {
      for (int32_t b = a + 1; b <= 3; ++b) {
        for (int32_t j = 0; j < 64; ++j) {
          Cadena colA, colB;
          for (size_t i = static_cast<size_t>(a - 1); i < s.size(); i += 3) colA += s[i];
          for (size_t i = static_cast<size_t>(b - 1); i < s.size(); i += 3) {
            const int v = alfabeto::valor(s[i]);
            colB += v < 0 ? s[i] : alfabeto::simbolo(xor_ ? (v ^ j) : (v - j));
          }
          ORVAnaliza an;
          an.setTexto1(colA);
          an.setTexto2(colB);
          ASSERT_EQ(c->ICM(a, b, j), an.ICM()) << a << b << " " << j;
        }
      }
    }
    // The chosen shift is the closest to ICTipo, ties to the smallest.
    for (int32_t a = 1; a <= 3; ++a) {
      for (int32_t b = a + 1; b <= 3; ++b) {
        int32_t mejor = 0;
        for (int32_t j = 1; j < 64; ++j) {
          const auto d = [&](int32_t k) {
            const Moneda x = c->ICM(a, b, k) - c->ICTipo();
            return x < Moneda() ? -x : x;
          };
          if (d(j) < d(mejor)) mejor = j;
        }
        EXPECT_EQ(c->Desplazamiento(a, b), mejor);
      }
    }
    EXPECT_EQ(c->TextoCol(2), U"d0azpewyq");
  }
}

// The columns and counts belong to the text that was searched: changing the
// ciphertext afterwards changes neither, and the next search sees the new text.
// Columns longer than 32767 symbols take the wide sums.
TEST(CriptoPeriodico, ShiftSearchOnLongColumnsMatchesTheAnalyser) {
  std::mt19937 azar(7);
  Cadena s;
  for (int i = 0; i < 70001; ++i) s += alfabeto::simbolo(static_cast<int>(azar() % 64 < 40 ? azar() % 9 : azar() % 64));
  for (bool xor_ : {false, true}) {
    SCOPED_TRACE(xor_ ? "xor" : "vigenere");
    auto c = crea(xor_);
    c->setTextoCifrado(texto(s));
    c->setPeriodo(2);
    c->BuscaDesplazamientos();
    for (int32_t j : {0, 1, 9, 63}) {
      Cadena colA, colB;
      for (size_t i = 0; i < s.size(); i += 2) colA += s[i];
      for (size_t i = 1; i < s.size(); i += 2) {
        const int v = alfabeto::valor(s[i]);
        colB += alfabeto::simbolo(xor_ ? (v ^ j) : (v - j));
      }
      ORVAnaliza an;
      an.setTexto1(colA);
      an.setTexto2(colB);
      EXPECT_EQ(c->ICM(1, 2, j), an.ICM()) << j;
    }
  }
}

TEST(CriptoPeriodico, SearchesWorkOnTheTextTheyWereGiven) {
  const Cadena a = U"abcdefghijklmnopqrstuvwxyz";
  const Cadena b = U"zzzzyyyyxxxxwwwwvvvvuuuutt";
  ORVCriptoVigenere v;
  const auto cifrado = texto(a);
  v.setTextoCifrado(cifrado);
  v.setMaxPeriodo(4);
  v.BuscaPeriodo();
  cifrado->setTexto(b);  // the same object, changed in place
  EXPECT_EQ(v.TextoCol(2), U"bfjnrvz");
  v.setPeriodo(2);
  v.BuscaDesplazamientos();
  EXPECT_EQ(v.TextoCol(1), U"zzyyxxwwvvuut");
  EXPECT_EQ(v.TextoCol(3), U"cgkosw") << "beyond the period, the columns of the period search";
  for (int32_t j : {0, 1, 2}) {
    Cadena colA, colB;
    for (size_t i = 0; i < b.size(); i += 2) colA += b[i];
    for (size_t i = 1; i < b.size(); i += 2) colB += alfabeto::simbolo(alfabeto::valor(b[i]) - j);
    ORVAnaliza an;
    an.setTexto1(colA);
    an.setTexto2(colB);
    EXPECT_EQ(v.ICM(1, 2, j), an.ICM()) << j;
  }
  // A column written by the caller is what BuscaClaves aligns.
  v.setTextoCol(2, U"");
  v.setTextoCol(1, U"dddd");
  v.BuscaClaves();
  EXPECT_EQ(v.ClaveProbable(1).substr(0, 1), U"d");
}

TEST(CriptoPeriodico, ShiftSearchEvents) {
  ORVCriptoVigenere v;
  v.setTextoCifrado(texto(U"abcdefgh"));
  v.setPeriodo(2);
  Registro r(v);
  v.BuscaDesplazamientos();
  std::vector<std::string> esperado{"Inicio(65)"};
  for (const auto& p : r.progresos(1, 65)) esperado.push_back(p);
  esperado.push_back("Fin(65)");
  EXPECT_EQ(r.eventos, esperado);
}

// A period above MaxPeriodo, and columns left empty by a text shorter than
// the period: the search still completes, with mutual index 0 for an empty
// column, and the keys have the period's length.
TEST(CriptoPeriodico, PeriodAboveMaxAndEmptyColumns) {
  for (bool xor_ : {false, true}) {
    auto c = crea(xor_);
    c->setMaxPeriodo(3);
    c->setTextoCifrado(texto(U"abcd"));
    c->setPeriodo(6);
    Registro r(c.operator*());
    c->BuscaDesplazamientos();
    ASSERT_FALSE(r.eventos.empty());
    EXPECT_EQ(r.eventos.front(), "Inicio(975)");
    EXPECT_EQ(r.eventos.back(), "Fin(975)");
    EXPECT_EQ(c->TextoCol(4), U"d");
    EXPECT_EQ(c->TextoCol(6), U"");
    EXPECT_EQ(c->ICM(1, 6, 0), Moneda());
    EXPECT_EQ(c->ICM(5, 6, 0), Moneda());
    c->BuscaClaves();
    EXPECT_EQ(c->ClaveProbable(1).size(), 6u);
  }
}

TEST(CriptoPeriodico, VigenereWarnsOfInconsistentShiftsXorNever) {
  // Three columns "a" and ICTipo 0: each pair takes the first shift with no
  // coincidence, 1, and 1 + 1 - 1 is not a multiple of 64.
  const Cadena s = U"aaa";
  for (bool xor_ : {false, true}) {
    auto c = crea(xor_);
    c->setTextoCifrado(texto(s));
    c->setPeriodo(3);
    c->setICTipo(Moneda());
    Registro r(*c);
    c->BuscaDesplazamientos();
    const int64_t suma = int64_t{c->Desplazamiento(1, 2)} + c->Desplazamiento(2, 3) - c->Desplazamiento(1, 3);
    const bool incoherente = suma % 64 != 0;
    ASSERT_TRUE(incoherente) << "the fixture must give inconsistent shifts";
    const auto avisos = std::count_if(r.eventos.begin(), r.eventos.end(),
                                      [](const std::string& e) { return e.rfind("Warning:", 0) == 0; });
    EXPECT_EQ(avisos, xor_ ? 0 : 1);
    if (!xor_) {
      EXPECT_EQ(r.eventos[r.eventos.size() - 2],
                "Warning:Los desplazamientos estimados no son coherentes. Puede que la clave sea "
                "demasiado larga en relación con el tamaño del mensaje.\r\n\r\nPor favor, revise el proceso.");
    }
  }
}

TEST(CriptoPeriodico, KeyProposalsFollowTheReferenceOrder) {
  // Period 1 on a text whose most frequent symbol is "d" (4): candidate i
  // assumes it enciphers the i-th reference symbol.
  for (bool xor_ : {false, true}) {
    SCOPED_TRACE(xor_ ? "xor" : "vigenere");
    auto c = crea(xor_);
    c->setPeriodo(1);
    c->setTextoCol(1, U"dddxa");
    std::vector<std::string> avisos;
    c->eventos.Warning.conecta([&](const Cadena& s) { avisos.push_back(kestrin::aUtf8(s)); });
    c->BuscaClaves();
    const VistaCadena referencia = xor_ ? AlfabetoFrecuencias : LetrasFrecuentes;
    for (size_t i = 0; i < 64; ++i) {
      const Cadena& clave = c->ClaveProbable(static_cast<int32_t>(i + 1));
      if (i >= referencia.size()) {
        EXPECT_EQ(clave, U"") << i;
        continue;
      }
      const int v = alfabeto::valor(referencia[i]);
      EXPECT_EQ(clave, Cadena(1, alfabeto::simbolo(xor_ ? (4 ^ v) : (4 - v)))) << i;
    }
    // ICTipo 0: the warning fires whenever the index is not 0.
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0],
              "Es probable que el índice de coincidencia del texto no sea el supuesto. Puede que "
              "la desCifrado no sea correcta.\r\n\r\nPor favor, revise el proceso.");
  }
  // Keys chain the consecutive shifts; an empty aligned text assumes the space.
  ORVCriptoVigenere v;
  v.setTextoCifrado(texto(U""));
  v.setPeriodo(3);
  v.setDesplazamiento(1, 2, 1);
  v.setDesplazamiento(2, 3, -2);
  v.BuscaClaves();
  EXPECT_EQ(v.ClaveProbable(1), U"·a\"");
  EXPECT_EQ(v.ClaveProbable(2), U"?¡¿");  // the space enciphers "e" (5): 0 - 5 = 59, "?"
  ORVCriptoVigenere sinPeriodo;
  EXPECT_THROW(sinPeriodo.BuscaClaves(), kestrin::ErrorSubindice);
}

// Symbols tied at the top count: the one the analyser's sort lists first,
// which depends on the order in which they first appear.
TEST(CriptoPeriodico, KeyProposalWithTiedSymbolsFollowsTheSortedResult) {
  for (const auto& [alineado, x] : std::vector<std::pair<Cadena, Cadena>>{
           {U"ab", U"b"}, {U"ba", U"a"}, {U"a·b·", U"·"}, {U"cab", U"b"}}) {
    SCOPED_TRACE(kestrin::aUtf8(alineado));
    ORVCriptoVigenere escrito;  // a column written by the caller
    escrito.setPeriodo(1);
    escrito.setTextoCol(1, alineado);
    escrito.BuscaClaves();
    EXPECT_EQ(escrito.ClaveProbable(1), x);
    ORVCriptoVigenere buscado;  // a column left by the shift search
    buscado.setTextoCifrado(texto(alineado));
    buscado.setPeriodo(1);
    buscado.BuscaDesplazamientos();
    buscado.BuscaClaves();
    EXPECT_EQ(buscado.ClaveProbable(1), x);
  }
}

// The classroom attack on real Spanish prose, with the window's defaults,
// recovers a 5-symbol key.
TEST(CriptoPeriodico, AttackRecoversPeriodAndKeyOfSpanishText) {
  const Cadena claro = extracto();
  ASSERT_GT(claro.size(), 3000u) << "tests/data/es_extracto.txt";
  for (bool xor_ : {false, true}) {
    SCOPED_TRACE(xor_ ? "xor" : "vigenere");
    auto c = crea(xor_);
    c->setClave(U"limón");
    c->setTextoOriginal(texto(claro));
    c->Cifra();
    c->setICTipo(m("0.080"));
    c->setMaxPeriodo(10);
    c->BuscaPeriodo();
    EXPECT_EQ(c->Periodo(), 5);
    c->BuscaDesplazamientos();
    c->BuscaClaves();
    EXPECT_EQ(c->ClaveProbable(1), U"limon");
  }
}

}  // namespace
}  // namespace tarnel
