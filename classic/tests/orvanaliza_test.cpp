// Text analyser: counts, indices, entropy, events and caching.
#include "tarnel/orvanaliza.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "kestrin/errores.h"
#include "kestrin/procesa.h"

namespace tarnel {
namespace {

using Cuentas = std::vector<std::pair<Cadena, int32_t>>;

Moneda m(const char* texto) { return Moneda::desdeDouble(std::stod(texto)); }

Cuentas cuentas(const ORVResultado& r) {
  Cuentas c;
  for (const auto& item : r) c.emplace_back(item->Texto(), item->Frecuencia());
  return c;
}

// Records every event as "Inicio(3)", "Progreso(125)", ...
struct Registro {
  std::vector<std::string> eventos;
  explicit Registro(ORVAnaliza& a) {
    a.eventos.Inicio.conecta([this](int32_t& n) { eventos.push_back("Inicio(" + std::to_string(n) + ")"); });
    a.eventos.Progreso.conecta([this](int32_t& n) { eventos.push_back("Progreso(" + std::to_string(n) + ")"); });
    a.eventos.Fin.conecta([this](int32_t& n) { eventos.push_back("Fin(" + std::to_string(n) + ")"); });
  }
};

struct Caso {
  const char* nombre;
  const char32_t* texto;
  int32_t bloque;
  const char* ic;
  const char* entropia;
  Cuentas resultado;  // by position, after sorting
};

TEST(ORVAnaliza, CountsBlocksAndDerivesIndexAndEntropy) {
  const Caso casos[] = {
      {"aab", U"aab", 1, "0.3333", "0.9183", {{U"a", 2}, {U"b", 1}}},
      {"vacio", U"", 1, "0", "0", {}},
      {"un simbolo", U"a", 1, "0", "0", {{U"a", 1}}},
      // Equal counts: the sort exchanges them.
      {"bloques solapados", U"abc", 2, "0", "1", {{U"bc", 1}, {U"ab", 1}}},
      {"bloque mayor que el texto", U"ab", 3, "0", "0", {}},
      {"etiqueta fuera", U"[ORVKey=008]aab", 1, "0.3333", "0.9183", {{U"a", 2}, {U"b", 1}}},
      {"etiqueta en minusculas", U"[orvkey=008]aab", 1, "0.3333", "0.9183", {{U"a", 2}, {U"b", 1}}},
      {"fuera del alfabeto no corta el bloque", U"a#b\tb", 2, "0", "1", {{U"bb", 1}, {U"ab", 1}}},
      {"pliega", U"ÁÉ\r\ná", 1, "0.2", "1.5219", {{U"·", 2}, {U"a", 2}, {U"e", 1}}},
      {"bloque tres", U"aaaa", 3, "1", "0", {{U"aaa", 2}}},
      {"bloque cuatro", U"abababa", 4, "0.3333", "1", {{U"baba", 2}, {U"abab", 2}}},
      {"bloque cero", U"abc", 0, "0", "0", {}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    ORVAnaliza a;
    a.setTamBloque(caso.bloque);
    a.setTexto(caso.texto);
    EXPECT_EQ(a.IC(), m(caso.ic));
    EXPECT_EQ(a.Entropia(), m(caso.entropia));
    EXPECT_EQ(cuentas(*a.Resultado()), caso.resultado);
    EXPECT_EQ(a.Resultado()->Total(), [&] {
      int32_t t = 0;
      for (const auto& [texto, f] : caso.resultado) t += f;
      return t;
    }());
  }
}

// A NUL is a character outside the alphabet like any other: it does not drop
// the rest of its piece from the counts.
TEST(ORVAnaliza, NulCharacterIsSkippedNotATerminator) {
  ORVAnaliza a;
  a.setTexto(Cadena(U"aa\0ab", 5));
  EXPECT_EQ(a.IC(), m("0.5"));
  EXPECT_EQ(cuentas(*a.Resultado()), (Cuentas{{U"a", 3}, {U"b", 1}}));
}

// The fast counts must give exactly what adding every block one by one and
// sorting gives, ties included (the sort is not stable, so the order in which
// blocks first appear matters).
TEST(ORVAnaliza, MatchesAddingEveryBlockInOrder) {
  const Cadena texto =
      U"En un lugar de la Mancha, de cuyo nombre no quiero acordarme, no ha mucho tiempo "
      U"que vivía un hidalgo de los de lanza en astillero, adarga antigua, rocín flaco y galgo "
      U"corredor. ¿Qué? ¡Sí! 1605 (primera parte) #fin";
  for (int32_t bloque : {1, 2, 3, 4, 5}) {
    SCOPED_TRACE(bloque);
    ORVResultado esperado;
    Cadena ventana;
    for (char32_t c : texto) {
      const int v = alfabeto::valor(c);
      if (v < 0) continue;
      ventana.push_back(alfabeto::simbolo(v));
      if (ventana.size() == static_cast<size_t>(bloque)) {
        esperado.Add(ventana);
        ventana.erase(0, 1);
      }
    }
    esperado.Ordena();
    ORVAnaliza a;
    a.setTamBloque(bloque);
    a.setTexto(texto);
    a.IC();
    EXPECT_EQ(cuentas(*a.Resultado()), cuentas(esperado));
  }
}

// T * (T - 1) does not fit 32 bits past about 46,000 blocks.
TEST(ORVAnaliza, LongTextsDoNotOverflow) {
  ORVAnaliza a;
  a.setTexto(Cadena(60000, U'a') + Cadena(40000, U'b'));
  // (60000*59999 + 40000*39999) / (100000*99999)
  EXPECT_EQ(a.IC(), m("0.52"));
  EXPECT_EQ(a.Entropia(), m("0.9709"));
}

TEST(ORVAnaliza, TooManyDistinctLongBlocksIsOutOfMemoryNotExhaustion) {
  // Random symbols in blocks of 40: every block is new. 600 000 blocks of 40
  // symbols pass the bound on kept symbols long before memory runs short.
  Cadena texto(600000, U'a');
  uint32_t x = 12345;
  for (char32_t& c : texto) {
    x = x * 1103515245u + 12345u;
    c = alfabeto::simbolo(static_cast<int>(x >> 26));
  }
  ORVAnaliza a;
  a.setTamBloque(40);
  a.setTexto(texto);
  try {
    a.IC();
    FAIL();
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), 7);
  }
  // The analyser stays usable with a sensible size.
  a.setTamBloque(3);
  a.setTexto(texto);
  a.IC();
  EXPECT_EQ(a.Resultado()->Total(), 600000 - 2);
}

TEST(ORVAnaliza, RaisesItsEventsPerPieceAndLetsTheInterfaceRun) {
  int pasadas = 0;
  kestrin::fijaProcesaEventos([&] { ++pasadas; });
  ORVAnaliza a;
  Registro r(a);
  a.setTexto(Cadena(300, U'x'));
  a.IC();
  kestrin::fijaProcesaEventos(nullptr);
  EXPECT_EQ(r.eventos, (std::vector<std::string>{"Fin(0)", "Inicio(300)", "Progreso(125)",
                                                 "Progreso(250)", "Progreso(300)", "Fin(0)"}));
  EXPECT_EQ(pasadas, 3);

  r.eventos.clear();
  a.setTexto(U"");
  EXPECT_EQ(a.IC(), Moneda());
  EXPECT_EQ(r.eventos, (std::vector<std::string>{"Fin(0)", "Inicio(0)", "Fin(0)"}));
}

TEST(ORVAnaliza, CachesUntilAnInputChanges) {
  ORVAnaliza a;
  Registro r(a);
  a.setTexto(U"aab");
  EXPECT_EQ(a.IC(), m("0.3333"));
  r.eventos.clear();
  EXPECT_EQ(a.IC(), m("0.3333"));
  EXPECT_TRUE(r.eventos.empty()) << "a cached index is not computed again";

  // Texto1 is the same text as Texto: writing it drops the cached index.
  a.setTexto1(U"ab");
  EXPECT_EQ(a.Texto(), U"ab");
  EXPECT_EQ(a.IC(), Moneda());
  // An index that really is 0 is computed at every read.
  r.eventos.clear();
  a.IC();
  EXPECT_EQ(r.eventos.size(), 4u);

  // A new block size empties the counts and drops the index computed with the old one.
  a.setTexto(U"aaa");
  EXPECT_EQ(a.IC(), m("1"));
  r.eventos.clear();
  a.setTamBloque(2);
  EXPECT_EQ(r.eventos, std::vector<std::string>{"Fin(0)"});
  EXPECT_EQ(a.Resultado()->Count(), 0);
  EXPECT_EQ(a.IC(), m("1"));
  EXPECT_EQ(cuentas(*a.Resultado()), (Cuentas{{U"aa", 2}}));

  // Vacia keeps the results.
  a.Vacia();
  EXPECT_EQ(a.Resultado()->Count(), 0);
  EXPECT_EQ(a.Entropia(), Moneda());
}

TEST(ORVAnaliza, HandlersShareTheArgumentWithoutSteeringTheAnalysis) {
  ORVAnaliza a;
  std::vector<int32_t> vistos;
  a.eventos.Progreso.conecta([](int32_t& n) { n = -7; });
  a.eventos.Progreso.conecta([&](int32_t& n) { vistos.push_back(n); });
  a.setTexto(Cadena(200, U'a'));
  EXPECT_EQ(a.IC(), m("1"));
  EXPECT_EQ(vistos, (std::vector<int32_t>{-7, -7}));
  EXPECT_EQ(a.Resultado()->Item(1)->Frecuencia(), 200);
}

// The user interface runs during an analysis: a handler that writes a new
// text or reads the index meanwhile neither disturbs nor nests the analysis.
TEST(ORVAnaliza, HandlersMayWriteOrReadDuringAnAnalysis) {
  ORVAnaliza a;
  a.setTexto(Cadena(200, U'a') + Cadena(100, U'b'));
  std::vector<Moneda> leidos;
  a.eventos.Progreso.conecta([&](int32_t& n) {
    if (n == 125) {
      leidos.push_back(a.IC());
      a.setTexto(U"xyz");
    }
  });
  // (200*199 + 100*99) / (300*299)
  EXPECT_EQ(a.IC(), m("0.5541"));
  EXPECT_EQ(leidos, std::vector<Moneda>{Moneda()});
  EXPECT_EQ(cuentas(*a.Resultado()), (Cuentas{{U"a", 200}, {U"b", 100}}));
  EXPECT_EQ(a.Texto(), U"xyz");
  // The index kept is not the old text's: the next read analyses "xyz".
  EXPECT_EQ(a.IC(), Moneda());
  EXPECT_EQ(a.Resultado()->Total(), 3);
}

TEST(ORVAnaliza, MutualIndex) {
  struct CasoICM {
    const char* nombre;
    const char32_t* texto1;
    const char32_t* texto2;
    const char* icm;
  };
  const CasoICM casos[] = {
      {"un simbolo igual", U"a", U"a", "1"},
      {"mitad", U"ab", U"ab", "0.5"},
      {"sin comunes", U"ab", U"cd", "0"},
      {"longitudes en bruto", U"a#", U"A", "0.5"},
      {"etiqueta sin quitar", U"[ORVKey=008]", U"e", "0.0833"},
      {"uno vacio", U"abc", U"", "0"},
      {"otro vacio", U"", U"abc", "0"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    ORVAnaliza a;
    a.setTexto1(caso.texto1);
    a.setTexto2(caso.texto2);
    EXPECT_EQ(a.ICM(), m(caso.icm));
  }
}

TEST(ORVAnaliza, MutualIndexEvents) {
  ORVAnaliza a;
  Registro r(a);
  a.setTexto1(U"ab");
  a.setTexto2(U"a");
  a.ICM();
  EXPECT_EQ(r.eventos, (std::vector<std::string>{"Inicio(2)", "Progreso(1)", "Progreso(2)",
                                                 "Progreso(1)", "Fin(2)"}));
  // Exactly one empty text: the events still run and the index is 0.
  r.eventos.clear();
  a.setTexto2(U"");
  EXPECT_EQ(a.ICM(), Moneda());
  EXPECT_EQ(r.eventos, (std::vector<std::string>{"Inicio(2)", "Progreso(1)", "Progreso(2)", "Fin(2)"}));
  // Both empty: nothing at all.
  r.eventos.clear();
  a.setTexto1(U"");
  EXPECT_EQ(a.ICM(), Moneda());
  EXPECT_TRUE(r.eventos.empty());
  // Writing Texto (the same text as Texto1) drops the cached mutual index.
  a.setTexto2(U"a");
  a.setTexto(U"a");
  EXPECT_EQ(a.ICM(), m("1"));
  a.setTexto(U"b");
  EXPECT_EQ(a.ICM(), Moneda());
}

}  // namespace
}  // namespace tarnel
