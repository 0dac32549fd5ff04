// Differential tests against PARI/GP (`gp`, Debian's pari-gp), an independent
// engine, on random inputs from a fixed seed. Skipped when gp is missing.
#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "numbrel/orvbignum.h"

namespace numbrel {
namespace {

using kestrin::aUtf8;
using kestrin::desdeUtf8;

bool hayGp() {
  return std::system("command -v gp >/dev/null 2>&1") == 0;
}

// Runs one gp script (one answer per line) and returns its lines.
std::vector<std::string> ejecutaGp(const std::vector<std::string>& consultas) {
  const auto ruta = std::filesystem::temp_directory_path() /
                    ("numbrel-oraculo-" + std::to_string(getpid()) + ".gp");
  {
    std::ofstream guion(ruta);
    guion << "default(parisizemax, 2000000000)\n";
    for (const std::string& c : consultas) guion << c << "\n";
    guion << "\\q\n";
  }
  std::vector<std::string> lineas;
  const std::string orden = "gp -q -f < " + ruta.string() + " 2>/dev/null";
  if (FILE* tubo = popen(orden.c_str(), "r")) {
    std::string actual;
    for (int c; (c = std::fgetc(tubo)) != EOF;) {
      if (c == '\n') {
        lineas.push_back(actual);
        actual.clear();
      } else {
        actual.push_back(static_cast<char>(c));
      }
    }
    pclose(tubo);
  }
  std::filesystem::remove(ruta);
  return lineas;
}

class OraculoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!hayGp()) GTEST_SKIP() << "PARI/GP (gp) not found: differential tests skipped";
  }
  // A random decimal number of 1..maxDigitos digits (exactly `digitos` when given).
  std::string numero(int maxDigitos, bool exacto = false) {
    const int d = exacto ? maxDigitos : std::uniform_int_distribution<int>(1, maxDigitos)(azar_);
    std::string s(1, static_cast<char>('1' + azar_() % 9));
    for (int i = 1; i < d; ++i) s.push_back(static_cast<char>('0' + azar_() % 10));
    return s;
  }
  std::string conSigno(int maxDigitos) {
    return (azar_() % 3 == 0 ? "-" : "") + numero(maxDigitos);
  }
  // Compares each of our answers with gp's line for the same query.
  void compara(const std::vector<std::string>& consultas,
               const std::vector<std::string>& nuestras) {
    const auto suyas = ejecutaGp(consultas);
    ASSERT_EQ(suyas.size(), consultas.size()) << "gp did not answer every query";
    for (size_t i = 0; i < consultas.size(); ++i) {
      EXPECT_EQ(nuestras[i], suyas[i]) << "query: " << consultas[i];
    }
  }
  std::string s(const Cadena& c) { return aUtf8(c); }
  Cadena c(const std::string& t) { return desdeUtf8(t); }

  std::mt19937_64 azar_{20261210};
  ORVBigNum big_;
};

TEST_F(OraculoTest, PrimalityAndNextPrime) {
  std::vector<std::string> consultas, nuestras;
  for (int i = 0; i < 150; ++i) {
    std::string n = numero(80);
    if (i % 3 == 0) n = s(big_.NextPrime(c(n)));  // make sure primes are well represented
    consultas.push_back("print(if(ispseudoprime(" + n + "),1,0))");
    nuestras.push_back(big_.EsPrimo(c(n)) ? "1" : "0");
    consultas.push_back("print(nextprime(" + n + "+1))");
    nuestras.push_back(s(big_.NextPrime(c(n))));
  }
  compara(consultas, nuestras);
}

TEST_F(OraculoTest, Factorisations) {
  std::vector<std::string> consultas, nuestras;
  for (int i = 0; i < 60; ++i) {
    // Products of a few random numbers: repeated and medium factors appear.
    std::string n = numero(12);
    for (int k = azar_() % 3; k >= 0; --k) n += "*" + numero(9);
    if (i % 10 == 0) n = "(" + n + ")^2";
    const std::string valor = s(big_.Eval(c(n)));
    consultas.push_back("f=factorint(" + valor +
                        ");for(i=1,#f~,print1(f[i,1],\" \",f[i,2],\" \"));print()");
    std::vector<Cadena> f, e;
    std::string linea;
    EXPECT_TRUE(big_.Factorize(c(valor), f, e)) << valor;
    for (size_t k = 0; k < f.size(); ++k) linea += s(f[k]) + " " + s(e[k]) + " ";
    nuestras.push_back(linea);
    consultas.push_back("print(eulerphi(" + valor + "))");
    nuestras.push_back(s(big_.EulerFi(c(valor))));
  }
  compara(consultas, nuestras);
}

TEST_F(OraculoTest, FactorisationsOfTwentyToFortyDigits) {
  // The sizes factored in process: random numbers and semiprimes of two
  // random primes, balanced or not.
  std::vector<std::string> consultas, nuestras;
  for (int i = 0; i < 60; ++i) {
    const int digitos = 20 + i % 21;
    std::string n = numero(digitos, true);
    if (i % 2 == 1) {
      const int d = 6 + static_cast<int>(azar_() % static_cast<unsigned>(digitos / 2 - 5));
      n = s(big_.Eval(c(s(big_.NextPrime(c(numero(d, true)))) + "*" +
                        s(big_.NextPrime(c(numero(digitos - d, true)))))));
    }
    consultas.push_back("f=factorint(" + n +
                        ");for(i=1,#f~,print1(f[i,1],\" \",f[i,2],\" \"));print()");
    std::vector<Cadena> f, e;
    std::string linea;
    EXPECT_TRUE(big_.Factorize(c(n), f, e)) << n;
    for (size_t k = 0; k < f.size(); ++k) linea += s(f[k]) + " " + s(e[k]) + " ";
    nuestras.push_back(linea);
  }
  compara(consultas, nuestras);
}

TEST_F(OraculoTest, GcdBezoutInversePowerAndBases) {
  std::vector<std::string> consultas, nuestras;
  for (int i = 0; i < 100; ++i) {
    const std::string x = conSigno(60), y = conSigno(60), m = numero(50);
    consultas.push_back("print(gcd(" + x + "," + y + "))");
    nuestras.push_back(s(big_.Mcd(c(x), c(y))));
    Cadena a, b, d;
    EXPECT_TRUE(big_.ExMcd(c(x), c(y), a, b, d));
    // Our own coefficients, checked by gp: a*x + b*y = gcd.
    consultas.push_back("print((" + s(a) + ")*(" + x + ")+(" + s(b) + ")*(" + y + ")==gcd(" + x +
                        "," + y + ") && " + s(d) + "==gcd(" + x + "," + y + "))");
    nuestras.push_back("1");
    if (m == "1") continue;
    consultas.push_back("print(iferr(lift(Mod(" + x + "," + m + ")^-1),E,\"Error\"))");
    nuestras.push_back(s(big_.ModInv(c(x), c(m))));
    const std::string e = numero(40);
    consultas.push_back("print(lift(Mod(" + x + "," + m + ")^" + e + "))");
    nuestras.push_back(s(big_.ModPower(c(x), c(e), c(m))));
    const int base = 2 + static_cast<int>(azar_() % 35);
    consultas.push_back("n=" + x + ";d=digits(abs(n)," + std::to_string(base) +
                        ");print1(if(n<0,\"-\",\"\"));for(i=1,#d,print1(if(d[i]<10,Str(d[i]),"
                        "Strchr(55+d[i]))));print()");
    nuestras.push_back(s(big_.ToBasis(static_cast<int16_t>(base), c(x))));
  }
  compara(consultas, nuestras);
}

TEST_F(OraculoTest, ChineseRemainders) {
  std::vector<std::string> consultas, nuestras;
  for (int i = 0; i < 80; ++i) {
    const int k = 1 + static_cast<int>(azar_() % 4);
    std::vector<Cadena> restos, moduli;
    std::string mods;
    for (int j = 0; j < k; ++j) {
      // Small moduli often share factors, so consistent and inconsistent systems both occur.
      const std::string m = i % 2 ? numero(3) : numero(25), r = conSigno(30);
      restos.push_back(c(r));
      moduli.push_back(c(m));
      mods += (j ? "," : "") + std::string("Mod(") + r + "," + m + ")";
    }
    consultas.push_back("print(iferr(lift(chinese([" + mods + "])),E,\"Error\"))");
    nuestras.push_back(s(big_.CRT(restos, moduli)));
  }
  compara(consultas, nuestras);
}

TEST_F(OraculoTest, RationalAndIntegerArithmetic) {
  std::vector<std::string> consultas, nuestras;
  const char* const operadores[] = {"+", "-", "*", "/"};
  for (int i = 0; i < 120; ++i) {
    std::string expr = "(" + conSigno(20) + "/" + numero(20) + ")";
    for (int k = 0; k < 4; ++k) {
      expr += operadores[azar_() % 4];
      expr += azar_() % 4 == 0 ? "(" + conSigno(6) + ")^" + std::to_string(azar_() % 9)
                               : "(" + conSigno(25) + "/" + numero(25) + ")";
    }
    consultas.push_back("print(" + expr + ")");
    nuestras.push_back(s(big_.Eval(c(expr))));
    // Floor quotient and remainder for a positive divisor agree with gp's \ and %.
    const std::string a = conSigno(40), b = numero(20), f = std::to_string(azar_() % 60);
    const std::string entera = a + "\\" + b + "+" + a + "%" + b + "*" + f + "!-" + b + "^3";
    consultas.push_back("print(" + entera + ")");
    nuestras.push_back(s(big_.Eval(c(entera), {}, true)));
    const std::string m = numero(30), e = numero(30);
    const std::string modular = "(" + a + ")^" + e + "*" + b + "-" + f + "!";
    consultas.push_back("print(lift(Mod(" + a + "," + m + ")^" + e + "*" + b + "-" + f + "!))");
    nuestras.push_back(s(big_.BMod(c(modular), c(m))));
  }
  compara(consultas, nuestras);
}

}  // namespace
}  // namespace numbrel
