// ORVBigNum: every member with its AritError texts, the preparation of the
// engine's input, variables, MaxValor and the precision setting.
#include "numbrel/orvbignum.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "kestrin/errores.h"
#include "kestrin/objeto.h"
#include "numbrel/numbrel.h"
#include "preparacion.h"

namespace numbrel {
namespace {

using kestrin::aUtf8;
using kestrin::desdeUtf8;

const char* const kMensajeEval = "Ha dado una expresión errónea o el número es demasiado grande";

// A service whose AritError messages are collected, in UTF-8.
class BigNumTest : public ::testing::Test {
 protected:
  BigNumTest() {
    big.eventos.AritError.conecta([this](Cadena& d) { mensajes.push_back(aUtf8(d)); });
  }
  std::string eval(const std::string& expr, const kestrin::Variante& max = {},
                   bool entero = false) {
    return aUtf8(big.Eval(desdeUtf8(expr), max, entero));
  }
  ORVBigNum big;
  std::vector<std::string> mensajes;
};

TEST(PreparacionTest, ModRewrite) {
  const std::pair<const char32_t*, const char32_t*> casos[] = {
      {U"17 mod 5", U"17 % 5"},   {U"1mod2mod3", U"1%2%3"},   {U"xmod 3", U"xmod 3"},
      {U"17 MOD 5", U"17 % 5"},   {U"(7)mod(3)", U"(7)%(3)"}, {U"mod", U"%"},
      {U"model", U"model"},       {U"7 modo 3", U"7 modo 3"}, {U"[8]Mod{3}", U"[8]%{3}"},
      {U"2\nmod\r3", U"2\n%\r3"}, {U"amod", U"amod"},         {U"modmod", U"modmod"},
  };
  for (const auto& [entrada, salida] : casos) {
    EXPECT_EQ(aUtf8(reescribeMod(entrada)), aUtf8(salida)) << aUtf8(entrada);
  }
}

TEST(PreparacionTest, VariablesAndTheEngineText) {
  const std::map<Cadena, Cadena> tabla = {{U"a1", U"5"}, {U"b12", U"7"}, {U"c1", U"d1"}};
  const std::pair<const char32_t*, const char32_t*> casos[] = {
      {U"a1*2", U"(5)*2"},  {U"A1*2", U"(5)*2"}, {U"AB12", U"A(7)"},
      {U"Z9+1", U"Z9+1"},   {U"c1", U"(d1)"},    {U"a12", U"a12"},
      {U"a1a1", U"(5)(5)"}, {U"2a1", U"2(5)"},   {U"ñ1", U"ñ1"},
  };
  for (const auto& [entrada, salida] : casos) {
    EXPECT_EQ(aUtf8(sustituyeVariables(entrada, tabla)), aUtf8(salida)) << aUtf8(entrada);
  }
  EXPECT_EQ(expresionMotor(reescribeMod(U"17 mod 5"))->texto, "0+(17 % 5)");
  EXPECT_EQ(expresionMotor(sustituyeVariables(U"a1*2", tabla))->texto, "0+((5)*2)");
  const auto n = expresionMotor(U"n(1/4)");
  EXPECT_TRUE(n->decimal);
  EXPECT_EQ(n->texto, "0+(1/4)");
  // The user's brackets must balance on their own: they cannot close the wrapper.
  for (const char32_t* mala : {U"1)+(2", U"(1", U"1)", U"N(1)+N(2)", U"(1]", U")("}) {
    EXPECT_FALSE(expresionMotor(mala).has_value()) << aUtf8(mala);
  }
  EXPECT_EQ(aUtf8(limpiaBuffer(Cadena(U"  12 \0basura", 12))), "12");
  EXPECT_EQ(aUtf8(limpiaBuffer(U"\t 7\r\n")), "7");
}

TEST_F(BigNumTest, CreatedByClassName) {
  registra();
  EXPECT_NE(std::dynamic_pointer_cast<ORVBigNum>(kestrin::CreaObjeto("Numbrel.ORVBigNum")),
            nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<ORVBigNum>(kestrin::CreaObjeto("numbrel.orvbignum")),
            nullptr);
}

TEST_F(BigNumTest, EvalResultsAndEvents) {
  struct {
    const char* expr;
    kestrin::Variante max;
    bool entero;
    const char* resultado;
  } const casos[] = {
      {"17 mod 5", {}, false, "2"},
      {"1mod2mod3", {}, false, "1"},
      {"7/2", {}, false, "7/2"},
      {"7/2", {}, true, "3"},
      {"-7 mod 3", {}, true, "2"},
      {"2^100", {}, false, "1267650600228229401496703205376"},
      {"N(1/4)", {}, false, "0,25"},
      {"n(-1/4)", {}, false, "-0,25"},
      {"N(2^10)", {}, false, "1024"},
      {"N(7/2)", {}, true, "3"},
      {"2000", Cadena(U"2000"), false, "2000"},
      {"2001", Cadena(U"2000"), false, "Error"},
      {"2000", int32_t{2000}, false, "2000"},
      {"2001", int16_t{2000}, false, "Error"},
      {"4001/2", 2000.5, false, "4001/2"},
      {"2001", 2000.5, false, "Error"},
      {"2048", Cadena(U"2^11"), false, "2048"},
      {"5", Cadena(U"abc"), false, "Error"},
      {"1)+(2", {}, false, "Error"},
      {"xmod 3", {}, false, "Error"},
      {"2^(2^40)", {}, false, "Error"},
      {"Error", {}, false, "Error"},
      {"1/0", {}, true, "Error"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.expr);
    mensajes.clear();
    EXPECT_EQ(eval(c.expr, c.max, c.entero), c.resultado);
    if (std::string(c.resultado) == "Error") {
      EXPECT_EQ(mensajes, std::vector<std::string>{kMensajeEval});
    } else {
      EXPECT_TRUE(mensajes.empty());
    }
  }
}

TEST_F(BigNumTest, BlankInputIsEmptyWithoutEvent) {
  for (const char* blanco : {"", "   ", " \t\r\n "}) {
    EXPECT_EQ(eval(blanco), "");
    EXPECT_EQ(eval(blanco, Cadena(U"5"), true), "");
  }
  EXPECT_TRUE(mensajes.empty());
}

TEST_F(BigNumTest, Variables) {
  big.setvar(U"A1", U"5");
  big.setvar(U"b12", U"1/2");
  EXPECT_EQ(eval("a1*2"), "10");
  EXPECT_EQ(eval("B12+A1"), "11/2");
  EXPECT_EQ(eval("AB12*4"), "Error");  // "A(1/2)*4": the name is B12
  EXPECT_EQ(eval("Z9"), "Error");      // unknown names stay and fail
  big.setvar(U"a1", U"7");             // replaces, whatever the case
  EXPECT_EQ(eval("A1"), "7");
  big.setvar(U"A1", U"");
  EXPECT_EQ(eval("A1"), "Error");
  big.setvar(U"Q7", U"");    // absent: ignored
  big.setvar(U"C1", U"A1");  // values are not substituted again
  big.setvar(U"A1", U"3");
  EXPECT_EQ(eval("C1"), "Error");
  big.setvar(U"", U"cualquiera");
  EXPECT_EQ(eval("b12"), "Error");
  EXPECT_EQ(aUtf8(big.NextPrime(U"C1")), "Error");
  big.setvar(U"D4", U"2^61-1");
  EXPECT_TRUE(big.EsPrimo(U"D4"));
}

// A value means what its text would mean written in brackets in place of the
// name, though it is not copied there: compared with a service that is given
// the written-out text.
TEST_F(BigNumTest, AValueMeansItsTextInBrackets) {
  const std::string hondo = std::string(150, '(') + "1" + std::string(150, ')');
  const std::map<std::string, std::string> valores = {
      {"a1", "5"},
      {"a2", "1/2"},
      {"a3", "17 mod 5"},
      {"a4", "1)+(2"},  // brackets that only balance in the expression
      {"a5", "2^61-1"},
      {"a6", "Error"},
      {"a7", "A1"},  // not scanned again
      {"a8", hondo},
      {"a9", " 3 "},
      {"b1", std::string("7\0"
                         "9",
                         3)},
      {"b2",
       "\x01"
       "0"},
      {"b3", "mod"},
      {"b4", "2)mod(3"},
      {"b5", "N(1/4)"},
      {"b6", "[1+2}"},
  };
  std::map<Cadena, Cadena> tabla;
  for (const auto& [nombre, valor] : valores) {
    big.setvar(desdeUtf8(nombre), desdeUtf8(valor));
    tabla[desdeUtf8(nombre)] = desdeUtf8(valor);
  }
  const std::string expresiones[] = {
      "a1*2",
      "A1+a2",
      "a3*a3",
      "a4",
      "a4*3",
      "a5",
      "a5 mod a1",
      "3moda1",
      "a1mod3",
      "N(a2)",
      "n(a1)",
      "a6",
      "a7",
      "a8",
      "(((a8)))",
      std::string(49, '(') + "a8" + std::string(49, ')'),
      std::string(50, '(') + "a8" + std::string(50, ')'),
      "a9",
      "b1",
      "b1+1",
      "b2",
      "a1+(\x01"
      "0)",
      "\x01"
      "0",
      "b3",
      "b4",
      "b5",
      "b6",
      "Aa1",
      "a1a1",
      "  a1  ",
      "a1^a1!",
      "-a2^-2",
      "a1 /a2*a1*a1*a2*a9*a5",
  };
  ORVBigNum escrito;
  for (const std::string& e : expresiones) {
    SCOPED_TRACE(e);
    const Cadena fuera = sustituyeVariables(desdeUtf8(e), tabla);
    for (const bool entero : {false, true}) {
      EXPECT_EQ(aUtf8(big.Eval(desdeUtf8(e), {}, entero)), aUtf8(escrito.Eval(fuera, {}, entero)));
    }
    EXPECT_EQ(aUtf8(big.BMod(desdeUtf8(e), U"1000003")), aUtf8(escrito.BMod(fuera, U"1000003")));
  }
  // Some of the above, known by heart.
  EXPECT_EQ(eval("a4*3"), "7");
  EXPECT_EQ(eval("3moda1"), "3");
  EXPECT_EQ(eval("b4"), "2");
  EXPECT_EQ(eval(std::string(50, '(') + "a8" + std::string(50, ')')), "Error");
}

TEST_F(BigNumTest, AValueNamedManyTimesIsReadOnce) {
  // A million digits named a thousand times: a gigabyte once written out.
  const size_t n = 1000000;
  big.setvar(U"a1", Cadena(n, U'9'));
  Cadena suma = U"a1";
  for (int i = 1; i < 1000; ++i) suma += U"+a1";
  for (const bool entero : {false, true}) {
    // 1000 * (10^n - 1) = 10^(n+3) - 1000
    const std::string r = aUtf8(big.Eval(suma, {}, entero));
    ASSERT_EQ(r.size(), n + 3);
    EXPECT_EQ(r.find_first_not_of('9'), n);
    EXPECT_EQ(r.substr(n), "000");
  }
  EXPECT_EQ(aUtf8(big.BMod(suma, U"10^9+7")), aUtf8(big.Eval(U"(" + suma + U") mod (10^9+7)")));
  EXPECT_TRUE(mensajes.empty());

  // Past the result bound, or a value that must be written out past the
  // expansion bound: the usual Error, at once.
  Cadena producto = U"a1";
  for (int i = 1; i < 1000; ++i) producto += U"*a1";
  EXPECT_EQ(aUtf8(big.Eval(producto)), "Error");
  big.setvar(U"a1", U"(" + Cadena(n, U'9'));
  EXPECT_EQ(aUtf8(big.Eval(suma)), "Error");
  EXPECT_EQ(aUtf8(big.BMod(suma, U"7")), "Error");
  EXPECT_EQ(mensajes,
            (std::vector<std::string>{kMensajeEval, kMensajeEval, "Error al tomar modulo"}));
}

// Memory that runs out inside a member ends it as a failure with its event,
// never as a standard exception. The first AritError handler call fails as
// an allocation would.
TEST_F(BigNumTest, AnAllocationFailureIsAFailedResult) {
  struct Caso {
    const char* nombre;
    std::function<std::string(ORVBigNum&)> llamada;
    const char* resultado;
  };
  const auto texto = [](const Cadena& c) { return aUtf8(c); };
  const Caso casos[] = {
      {"Eval", [&](ORVBigNum& b) { return texto(b.Eval(U"x")); }, "Error"},
      {"ToDecimal", [&](ORVBigNum& b) { return texto(b.ToDecimal(U"x")); }, "Error"},
      {"Mcd", [&](ORVBigNum& b) { return texto(b.Mcd(U"x", U"4")); }, "Error"},
      {"ModInv", [&](ORVBigNum& b) { return texto(b.ModInv(U"x", U"4")); }, "Error"},
      {"NextPrime", [&](ORVBigNum& b) { return texto(b.NextPrime(U"x")); }, "Error"},
      {"CRT", [&](ORVBigNum& b) { return texto(b.CRT({U"x"}, {U"3"})); }, "Error"},
      {"EulerFi", [&](ORVBigNum& b) { return texto(b.EulerFi(U"0")); }, "Error"},
      {"ToBasis", [&](ORVBigNum& b) { return texto(b.ToBasis(1, U"5")); }, "Error"},
      {"ModPower", [&](ORVBigNum& b) { return texto(b.ModPower(U"2", U"3", U"0")); }, "Error"},
      {"BMod", [&](ORVBigNum& b) { return texto(b.BMod(U"1", U"0")); }, "Error"},
      {"EsPrimo", [](ORVBigNum& b) { return std::to_string(b.EsPrimo(U"x")); }, "0"},
      {"NumBits", [](ORVBigNum& b) { return std::to_string(b.NumBits(U"x")); }, "0"},
      {"Max", [](ORVBigNum& b) { return std::to_string(b.Max(U"x", U"1")); }, "-1"},
      {"Factorize",
       [](ORVBigNum& b) {
         std::vector<Cadena> f{U"viejo"}, e{U"1"};
         const bool ok = b.Factorize(U"x", f, e);
         return std::to_string(ok) + "," + std::to_string(f.size() + e.size());
       },
       "0,0"},
      {"ExMcd",
       [](ORVBigNum& b) {
         Cadena a, c, d = U"1";
         const bool ok = b.ExMcd(U"x", U"4", a, c, d);
         return std::to_string(ok) + "," + aUtf8(d);
       },
       "0,Error"},
  };
  const std::function<void()> fallos[] = {[] { throw std::bad_alloc(); },
                                          [] { throw std::length_error("x"); }};
  for (const Caso& c : casos) {
    for (const auto& falla : fallos) {
      SCOPED_TRACE(c.nombre);
      ORVBigNum b;
      std::vector<std::string> vistos;
      b.eventos.AritError.conecta([&](Cadena& d) {
        vistos.push_back(aUtf8(d));
        if (vistos.size() == 1) falla();
      });
      EXPECT_EQ(c.llamada(b), c.resultado);
      ASSERT_GE(vistos.size(), 2u);
      EXPECT_EQ(vistos[1], "Memoria insuficiente");
    }
  }
  // A handler that fails every time: the classic error 7 leaves, nothing else.
  ORVBigNum b;
  b.eventos.AritError.conecta([](Cadena&) { throw std::bad_alloc(); });
  try {
    b.Eval(U"x");
    ADD_FAILURE() << "sin error";
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), kestrin::kMemoriaInsuficiente);
  }
  // A handler's own exception passes as it is.
  struct Propia {};
  ORVBigNum otro;
  otro.eventos.AritError.conecta([](Cadena&) { throw Propia(); });
  EXPECT_THROW(otro.Mcd(U"x", U"4"), Propia);
  EXPECT_THROW(otro.Eval(U"x"), Propia);
}

TEST_F(BigNumTest, ToDecimalReportsWithTheCallersText) {
  EXPECT_EQ(aUtf8(big.ToDecimal(U"1/8")), "0,125");
  EXPECT_EQ(aUtf8(big.ToDecimal(U"-3/2")), "-1,5");
  EXPECT_EQ(aUtf8(big.ToDecimal(U"42")), "42");
  mensajes.clear();
  EXPECT_EQ(aUtf8(big.ToDecimal(U"1/0 ")), "Error");
  EXPECT_EQ(mensajes,
            (std::vector<std::string>{kMensajeEval, "Error al convertir 1/0  a decimal"}));
}

TEST_F(BigNumTest, MembersAndTheirErrors) {
  struct Caso {
    const char* nombre;
    std::function<Cadena(ORVBigNum&)> llamada;
    const char* resultado;
    std::vector<std::string> eventos;
  };
  const std::string malo = kMensajeEval;
  const Caso casos[] = {
      {"ModInv", [](ORVBigNum& b) { return b.ModInv(U"3", U"7"); }, "5", {}},
      {"ModInv sin inverso", [](ORVBigNum& b) { return b.ModInv(U"2", U"4"); }, "Error", {}},
      {"NextPrime", [](ORVBigNum& b) { return b.NextPrime(U"2^31"); }, "2147483659", {}},
      {"NextPrime malo", [](ORVBigNum& b) { return b.NextPrime(U"x"); }, "Error", {malo}},
      {"CRT",
       [](ORVBigNum& b) {
         return b.CRT({U"2", U"3"}, {U"3", U"5"});
       },
       "8",
       {}},
      {"CRT sin evaluar",
       [](ORVBigNum& b) { return b.CRT({U"1+1"}, {U"3"}); },
       "Error",
       {"Error en el los datos del Teorema Chino del Resto"}},
      {"CRT desigual",
       [](ORVBigNum& b) {
         return b.CRT({U"1", U"2"}, {U"3"});
       },
       "Error",
       {"Error en el los datos del Teorema Chino del Resto"}},
      {"EulerFi", [](ORVBigNum& b) { return b.EulerFi(U"2^4*3"); }, "16", {}},
      {"EulerFi cero",
       [](ORVBigNum& b) { return b.EulerFi(U"0"); },
       "Error",
       {"Error al calcular la función de Euler"}},
      {"ToBasis", [](ORVBigNum& b) { return b.ToBasis(16, U"255+1"); }, "100", {}},
      {"ToBasis base",
       [](ORVBigNum& b) { return b.ToBasis(40, U"5"); },
       "Error",
       {"Error al cambiar de base"}},
      {"ToBasis fraccion",
       [](ORVBigNum& b) { return b.ToBasis(2, U"1/2"); },
       "Error",
       {"Error al cambiar de base"}},
      {"Mcd", [](ORVBigNum& b) { return b.Mcd(U"240", U"46"); }, "2", {}},
      {"Mcd malo",
       [](ORVBigNum& b) { return b.Mcd(U"x", U"46"); },
       "Error",
       {malo, "Error al hallar el mcd"}},
      {"ModPower", [](ORVBigNum& b) { return b.ModPower(U"4", U"13", U"497"); }, "445", {}},
      {"ModPower modulo 0",
       [](ORVBigNum& b) { return b.ModPower(U"4", U"13", U"0"); },
       "Error",
       {"Error al elevar a una potencia"}},
      {"BMod", [](ORVBigNum& b) { return b.BMod(U"3^(10^100)", U"1000000007"); }, "9102203", {}},
      {"BMod modulo 0",
       [](ORVBigNum& b) { return b.BMod(U"5", U"0"); },
       "Error",
       {"Error al tomar modulo"}},
      // Both arguments are read as Eval reads them: variables and "mod" too.
      {"BMod con variables", [](ORVBigNum& b) { return b.BMod(U"a1^100", U"7"); }, "4", {}},
      {"BMod modulo variable", [](ORVBigNum& b) { return b.BMod(U"10", U"A1+4"); }, "3", {}},
      {"BMod con mod", [](ORVBigNum& b) { return b.BMod(U"17 mod 5", U"7"); }, "2", {}},
      {"BMod N", [](ORVBigNum& b) { return b.BMod(U"N(10)", U"a1"); }, "1", {}},
      {"BMod corchetes",
       [](ORVBigNum& b) { return b.BMod(U"1)+(2", U"7"); },
       "Error",
       {"Error al tomar modulo"}},
      {"BMod en blanco",
       [](ORVBigNum& b) { return b.BMod(U"  ", U"7"); },
       "Error",
       {"Error al tomar modulo"}},
      {"BMod nombre ausente",
       [](ORVBigNum& b) { return b.BMod(U"z9", U"7"); },
       "Error",
       {"Error al tomar modulo"}},
      {"RndPrimo fuera", [](ORVBigNum& b) { return b.RndPrimo(1); }, "Error", {}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    big.setvar(U"a1", U"3");
    mensajes.clear();
    EXPECT_EQ(aUtf8(c.llamada(big)), c.resultado);
    EXPECT_EQ(mensajes, c.eventos);
  }
}

TEST_F(BigNumTest, BooleanAndNumericMembers) {
  EXPECT_TRUE(big.EsPrimo(U"2^127-1"));
  EXPECT_FALSE(big.EsPrimo(U"2^128+1"));
  EXPECT_FALSE(big.EsPrimo(U"7/2"));
  EXPECT_EQ(big.NumBits(U"2^100"), 101);
  EXPECT_EQ(big.Max(U"1", U"2"), 2);
  EXPECT_EQ(big.Max(U"2", U"2"), 1);
  EXPECT_EQ(big.Max(U"2^10", U"1000"), 0);
  EXPECT_LT(big.Max(U"x", U"1"), 2);
  const Cadena p = big.RndPrimo(128);
  EXPECT_EQ(big.NumBits(p), 128);
  EXPECT_TRUE(big.EsPrimo(p));

  Cadena a, b, d;
  EXPECT_TRUE(big.ExMcd(U"240", U"46", a, b, d));
  EXPECT_EQ(aUtf8(big.Eval(a + U"*240+(" + b + U")*46")), "2");
  EXPECT_EQ(aUtf8(d), "2");
  mensajes.clear();
  d = Cadena(1, U'1');  // a stale gcd of 1
  EXPECT_FALSE(big.ExMcd(U"1/2", U"46", a, b, d));
  EXPECT_TRUE(mensajes.empty());
  EXPECT_EQ(aUtf8(d), "Error");  // never a stale gcd of 1

  std::vector<Cadena> f{U"viejo"}, e;
  EXPECT_TRUE(big.Factorize(U"2^4*3^2*101", f, e));
  EXPECT_EQ(f, (std::vector<Cadena>{U"2", U"3", U"101"}));
  EXPECT_EQ(e, (std::vector<Cadena>{U"4", U"2", U"1"}));
  EXPECT_FALSE(big.Factorize(U"0", f, e));
  EXPECT_TRUE(f.empty());
}

TEST_F(BigNumTest, OverlappingInstancesKeepTheEngineUsable) {
  {
    ORVBigNum otro;
    EXPECT_EQ(aUtf8(otro.Eval(U"2^64")), "18446744073709551616");
  }
  EXPECT_EQ(eval("2^64"), "18446744073709551616");
  std::vector<Cadena> f, e;
  EXPECT_TRUE(big.Factorize(U"2^64-1", f, e));
  EXPECT_EQ(f.size(), 7u);
}

TEST_F(BigNumTest, RndRangeStaysInRangeAndVaries) {
  std::set<int32_t> vistos;
  for (int i = 0; i < 200; ++i) {
    const int32_t r = big.RndRange(1, 6);
    EXPECT_GE(r, 1);
    EXPECT_LE(r, 6);
    vistos.insert(r);
  }
  EXPECT_EQ(vistos.size(), 6u);  // calls in quick succession still differ
  EXPECT_EQ(big.RndRange(5, 5), 5);
  const int32_t extremo = big.RndRange(INT32_MIN, INT32_MAX);
  EXPECT_GE(extremo, INT32_MIN);
  const int32_t alreves = big.RndRange(10, 1);
  EXPECT_GE(alreves, 1);
  EXPECT_LE(alreves, 10);
}

// The precision setting comes from $XDG_CONFIG_HOME/ORV/ORV.ini.
class PrecisionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ =
        std::filesystem::temp_directory_path() / ("numbrel-ajustes-" + std::to_string(getpid()));
    std::filesystem::create_directories(carpeta_ / "ORV");
    const char* previo = getenv("XDG_CONFIG_HOME");
    if (previo) previo_ = previo;
    setenv("XDG_CONFIG_HOME", carpeta_.c_str(), 1);
  }
  void TearDown() override {
    if (previo_.empty()) {
      unsetenv("XDG_CONFIG_HOME");
    } else {
      setenv("XDG_CONFIG_HOME", previo_.c_str(), 1);
    }
    std::filesystem::remove_all(carpeta_);
  }
  void escribe(const std::string& contenido) {
    std::ofstream(carpeta_ / "ORV" / "ORV.ini") << contenido;
  }
  std::filesystem::path carpeta_;
  std::string previo_;
};

TEST_F(PrecisionTest, SetsTheDigitsOfToDecimal) {
  const struct {
    const char* fichero;
    size_t decimales;
  } casos[] = {
      {"", 100},
      {"[Aritmetica]\nPrecision=5\n", 5},
      {"\xEF\xBB\xBF; comentario\n[otra]\nPrecision=7\n[ aritmetica ]\n precision = \"12\" \n", 12},
      {"[Aritmetica]\nPrecision=muchos\n", 100},
      {"[Aritmetica]\nPrecision=99999999999\n", 100},
      {"[Aritmetica]\nOtra=3\n", 100},
      {"[Aritmetica]\r\nPrecision=3\r\n", 3},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.fichero);
    escribe(c.fichero);
    ORVBigNum big;
    EXPECT_EQ(aUtf8(big.ToDecimal(U"1/3")), "0," + std::string(c.decimales, '3'));
  }
  // What is not a settings file is not read: an endless device, a pipe that
  // would block the opening, a folder.
  const auto ini = carpeta_ / "ORV" / "ORV.ini";
  std::filesystem::remove(ini);
  std::filesystem::create_symlink("/dev/zero", ini);
  EXPECT_EQ(aUtf8(ORVBigNum().ToDecimal(U"1/3")), "0," + std::string(100, '3'));
  std::filesystem::remove(ini);
  ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
  EXPECT_EQ(aUtf8(ORVBigNum().ToDecimal(U"1/3")), "0," + std::string(100, '3'));
  std::filesystem::remove(ini);
  std::filesystem::create_directory(ini);
  EXPECT_EQ(aUtf8(ORVBigNum().ToDecimal(U"1/3")), "0," + std::string(100, '3'));
  std::filesystem::remove(ini);
  ORVBigNum sinFichero;
  EXPECT_EQ(aUtf8(sinFichero.Eval(U"N(2/3)")), "0," + std::string(99, '6') + "7");
}

}  // namespace
}  // namespace numbrel
