// The engine on decimal texts: its grammar, its guards and every function.
#include "motor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace numbrel::motor {
namespace {

std::string z(const std::string& expr) {
  std::string out;
  return ZEval(expr, out) ? out : "Error";
}
std::string q(const std::string& expr) {
  std::string out;
  return QEval(expr, out) ? out : "Error";
}

struct Caso {
  const char* expr;
  const char* entero;    // ZEval
  const char* racional;  // QEval
};

TEST(GramaticaTest, IntegersAndRationals) {
  const Caso casos[] = {
      {"1+2*3", "7", "7"},
      {"(1+2)*3", "9", "9"},
      {"[1+2]*{3}", "9", "9"},
      {"2^10", "1024", "1024"},
      {"2^3^2", "512", "512"},
      {"-2^2", "-4", "-4"},
      {"(-2)^3", "-8", "-8"},
      {"2^-1", "Error", "1/2"},
      {"1^-5", "1", "1"},
      {"(-1)^-3", "-1", "-1"},
      {"0^0", "1", "1"},
      {"5!", "120", "120"},
      {"3!!", "720", "720"},
      {"-3!", "-6", "-6"},
      {"0!", "1", "1"},
      {"2*3!", "12", "12"},
      {"(-1)!", "Error", "Error"},
      {"(1/2)!", "1", "Error"},
      {"7/2", "3", "7/2"},
      {"-7/2", "-4", "-7/2"},
      {"7/-2", "-4", "-7/2"},
      {"-7%2", "1", "1"},
      {"7%-2", "-1", "-1"},
      {"17%5", "2", "2"},
      {"7\\2", "3", "3"},
      {"-7\\2", "-4", "-4"},
      {"(7/2)%1", "0", "1/2"},
      {"1/3+1/6", "0", "1/2"},
      {"6/4", "1", "3/2"},
      {"-6/4", "-2", "-3/2"},
      {"2/4*2", "0", "1"},
      {"1/0", "Error", "Error"},
      {"5%0", "Error", "Error"},
      {"0.25", "Error", "1/4"},
      {"1,5*2", "Error", "3"},
      {".5", "Error", "1/2"},
      {"--3", "3", "3"},
      {"+3", "3", "3"},
      {" 1 +\t2\r\n", "3", "3"},
      {"123456789012345678901234567890*987654321098765432109876543210",
       "121932631137021795226185032733622923332237463801111263526900",
       "121932631137021795226185032733622923332237463801111263526900"},
      {"0+(1)+(2)", "3", "3"},
      {"", "Error", "Error"},
      {"()", "Error", "Error"},
      {"2(3)", "Error", "Error"},
      {"1)+(2", "Error", "Error"},
      {"(1", "Error", "Error"},
      {"(1]", "Error", "Error"},
      {"2^", "Error", "Error"},
      {"x+1", "Error", "Error"},
      {"1..2", "Error", "Error"},
      {"1 2", "Error", "Error"},
      {"Error", "Error", "Error"},
      {"3 % 2 ^ 2", "3", "3"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.expr);
    EXPECT_EQ(z(c.expr), c.entero);
    EXPECT_EQ(q(c.expr), c.racional);
  }
}

TEST(GramaticaTest, HugeResultsAreRefusedAtOnce) {
  const auto inicio = std::chrono::steady_clock::now();
  for (const char* expr : {"2^(2^32)", "2^4194305", "10^1263000", "(2^3000000)*(2^3000000)",
                           "300000!", "(10^10)!", "(2^4000000)^2", "2^(10^100)", "7^(2^62)"}) {
    SCOPED_TRACE(expr);
    EXPECT_EQ(z(expr), "Error");
    EXPECT_EQ(q(expr), "Error");
  }
  EXPECT_EQ(q("(1/3)^3000000"), "Error");
  EXPECT_EQ(z("(1/3)^3000000"), "0");  // 1/3 is 0 among integers
  // The largest sizes still work.
  EXPECT_EQ(z("2^4194303").size(), 1262612u);
  EXPECT_EQ(z("(2^4194303) % 1000"), "8");
  EXPECT_EQ(z("2^4194304"), "Error");
  EXPECT_EQ(z("1^(10^1000)"), "1");
  EXPECT_EQ(z("(-1)^(10^1000+1)"), "-1");
  EXPECT_EQ(z("0^(10^1000)"), "0");
  // Refusal is immediate, not a computation that gives up.
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(20));
}

// A chain of products gives what the product from left to right gives, and
// is refused where that one is: a partial product before the first zero
// factor above the bound.
TEST(GramaticaTest, LongProductsAndTheirRefusals) {
  const Caso casos[] = {
      {"0*2^4000000*2^4000000", "0", "0"},
      {"2^4000000*2^4000000*0", "Error", "Error"},
      {"2^2000000*2^2000000*1*0", "0", "0"},
      {"2^2097151*2^2097152 % 7", "1", "1"},
      {"2^2097152*2^2097152 % 7", "Error", "Error"},
      {"2^4194303*2*(1/2)", "Error", "Error"},
      {"2^4194303*(1/2)*2 % 7", "0", "1"},
      {"1/2*4*3", "0", "6"},
      {"2*3*(1/2)*5*7", "0", "105"},
      {"2*3/4*5*6", "30", "45"},
      {"-1*2*-3*4*(-5)", "-120", "-120"},
      {"(2/3)*(3/2)*7*(1/7)", "0", "1"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.expr);
    EXPECT_EQ(z(c.expr), c.entero);
    EXPECT_EQ(q(c.expr), c.racional);
  }
  // A literal just above the bound: from left to right an integer product
  // refuses it even against a zero, a rational one does not.
  const std::string enorme(1262612, '9');
  const Caso grandes[] = {
      {"E*0", "Error", "0"},       {"0*E", "Error", "0"},     {"2*3*0*E", "Error", "0"},
      {"1*E*0", "Error", "Error"}, {"E*1", "Error", "Error"},
  };
  for (const Caso& c : grandes) {
    SCOPED_TRACE(c.expr);
    std::string e = c.expr;
    e.replace(e.find('E'), 1, enorme);
    EXPECT_EQ(z(e), c.entero);
    EXPECT_EQ(q(e), c.racional);
  }
  // Many small factors and many whole terms.
  std::string doses = "2", unos = "0";
  for (int i = 1; i < 400000; ++i) doses += "*2";
  for (int i = 0; i < 400000; ++i) unos += i % 3 == 2 ? "-1" : "+1";
  EXPECT_EQ(z(doses), z("2^400000"));
  EXPECT_EQ(q(doses), z("2^400000"));
  EXPECT_EQ(q(unos), "133334");
  EXPECT_EQ(q(unos + "+1/3"), "400003/3");
  // A megabyte of factors, against the power.
  std::string producto = "99999999";
  for (int i = 1; i < 111112; ++i) producto += "*99999999";
  const std::string potencia = z("(10^8-1)^111112");
  ASSERT_EQ(potencia.size(), 888896u);
  EXPECT_EQ(z(producto), potencia);
  EXPECT_EQ(q(producto), potencia);
  EXPECT_EQ(q("1/3*" + producto + "*3"), potencia);
}

// Long sums of fractions are added as a tree where nothing can pass the
// bounds; the values, and what is refused, are those of the sum from left
// to right.
TEST(GramaticaTest, LongSumsAndTheirRefusals) {
  const Caso casos[] = {
      {"1/2^2097152 + 1/3^1323000 - 1/3^1323000", "0", "Error"},
      {"1/3^1323000 - 1/3^1323000 + 1/2^2097151 + 1 - 1/2^2097151", "1", "1"},
      {"1/3^1323000 - 1/3^1323000 + 1/2^2097152 + 1 - 1/2^2097152", "1", "Error"},
      {"1/3 + 1/6 + 1/2", "0", "1"},
      {"2^4194303+2^4194303-2^4194303", "Error", "Error"},
      {"(2^4194303-2^4194303+2^4194303)%7", "1", "1"},
      {"2^4194302+2^4194302-1-2^4194303", "-1", "-1"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.expr);
    EXPECT_EQ(z(c.expr), c.entero);
    EXPECT_EQ(q(c.expr), c.racional);
  }
  // A telescoping megabyte: 1/1 - 1/2 + 1/2 - 1/3 + ... - 1/n.
  const int n = 60000;
  std::string t = "0";
  for (int i = 1; i < n; ++i) t += "+1/" + std::to_string(i) + "-1/" + std::to_string(i + 1);
  EXPECT_EQ(q(t), std::to_string(n - 1) + "/" + std::to_string(n));
  // Distinct denominators, against the same terms in another order.
  std::string a = "0", b = "0";
  for (int i = 1; i <= 3000; ++i) {
    a += "+1/" + std::to_string(10000000 + i);
    b += "+1/" + std::to_string(10003001 - i);
  }
  EXPECT_EQ(q(a), q(b));
  EXPECT_EQ(q(a + "-(" + b + ")"), "0");
}

TEST(GramaticaTest, DeepNestingIsAnErrorNotAStackOverflow) {
  const std::string profundo = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(z(profundo), "Error");
  EXPECT_EQ(q(std::string(100000, '-') + "1"), "Error");
  EXPECT_EQ(z("2" + std::string(100000, '!')), "Error");
  std::string torre = "2";
  for (int i = 0; i < 50000; ++i) torre += "^2";
  EXPECT_EQ(z(torre), "Error");
  // Moderate nesting is fine, and long flat chains are not nesting at all.
  EXPECT_EQ(z(std::string(150, '(') + "1" + std::string(150, ')')), "1");
  std::string suma = "0";
  for (int i = 0; i < 100000; ++i) suma += "+1";
  EXPECT_EQ(z(suma), "100000");
}

TEST(MotorTest, ModularEvaluation) {
  struct {
    const char* expr;
    const char* modulo;
    const char* resto;
  } const casos[] = {
      {"17", "5", "2"},
      {"-17", "5", "3"},
      {"17", "-5", "2"},
      {"3^(10^100)", "1000000007", "9102203"},
      {"2^-1", "7", "4"},
      {"2^-1", "8", "Error"},
      {"100000000!", "1000", "0"},
      {"300000!", "1000000007", "373281933"},
      {"999999!", "2^4000000+1", "Error"},
      {"20!", "1000003", "511524"},
      {"(10^30+7)/3", "1000", "335"},
      {"7/2", "5", "3"},
      {"1+2*3", "4", "3"},
      {"5", "1", "0"},
      {"5", "0", "Error"},
      {"5", "2^3+1", "5"},
      {"1)+(2", "7", "Error"},
      {"x", "7", "Error"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.expr) + " mod " + c.modulo);
    std::string out;
    const int16_t estado = BMod(c.expr, c.modulo, out);
    EXPECT_EQ(out, c.resto);
    EXPECT_EQ(estado != 0, std::string(c.resto) != "Error");
  }
}

TEST(MotorTest, DecimalExpansionFollowsThePrecision) {
  const int32_t antes = Precision();
  struct {
    int32_t precision;
    const char* valor;
    const char* decimal;
  } const casos[] = {
      {100, "1/4", "0.25"},    {100, "-1/4", "-0.25"}, {100, "12", "12"},
      {100, "-7/2", "-3.5"},   {5, "1/3", "0.33333"},  {5, "2/3", "0.66667"},
      {5, "-2/3", "-0.66667"}, {2, "1/1000", "0"},     {2, "-1/1000", "0"},
      {2, "199/200", "1"},     {0, "5/2", "3"},        {-7, "5/2", "3"},  // clamped to 0
      {3, "x", "Error"},       {3, "1/0", "Error"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.valor);
    InitMiracl(c.precision);
    std::string out;
    ToDecimal(c.valor, out);
    EXPECT_EQ(out, c.decimal);
    EndMiracl();
  }
  InitMiracl(100);
  std::string tercio;
  ToDecimal("1/3", tercio);
  EXPECT_EQ(tercio, "0." + std::string(100, '3'));
  EndMiracl();
  InitMiracl(antes);
  EndMiracl();
}

TEST(MotorTest, KnownAnswers) {
  std::string out;
  EXPECT_EQ(IsPrime("2"), -1);
  EXPECT_EQ(IsPrime("170141183460469231731687303715884105727"), -1);  // 2^127 - 1
  EXPECT_EQ(IsPrime("3215031751"), 0);  // strong pseudoprime to bases 2, 3, 5, 7
  for (const char* no : {"1", "0", "-7", "7/2", "Error", ""}) EXPECT_EQ(IsPrime(no), 0) << no;
  EXPECT_EQ(NumBits("255"), 8);
  EXPECT_EQ(NumBits("-256"), 9);
  EXPECT_EQ(NumBits("0"), 0);
  EXPECT_EQ(NumBits("1/2"), 0);
  EXPECT_EQ(BMax("1", "2"), 2);
  EXPECT_EQ(BMax("2", "2"), 1);
  EXPECT_EQ(BMax("2", "1/2"), 0);
  EXPECT_EQ(BMax("2^10", "1023"), 0);
  EXPECT_EQ(BMax("x", "1"), -1);
  EXPECT_TRUE(NextPrime("100", out));
  EXPECT_EQ(out, "101");
  EXPECT_TRUE(NextPrime("101", out));
  EXPECT_EQ(out, "103");
  EXPECT_TRUE(NextPrime("-5", out));
  EXPECT_EQ(out, "2");
  EXPECT_FALSE(NextPrime("1/2", out));
  EXPECT_EQ(out, "Error");
  EXPECT_TRUE(InvMod("3", "7", out));
  EXPECT_EQ(out, "5");
  EXPECT_TRUE(InvMod("-3", "7", out));
  EXPECT_EQ(out, "2");
  EXPECT_FALSE(InvMod("2", "4", out));
  EXPECT_EQ(out, "Error");
  EXPECT_FALSE(InvMod("2", "0", out));
  EXPECT_TRUE(CRT({"2", "3", "2"}, {"3", "5", "7"}, out));
  EXPECT_EQ(out, "23");
  EXPECT_TRUE(CRT({"1", "3"}, {"4", "6"}, out));  // not coprime, consistent
  EXPECT_EQ(out, "9");
  EXPECT_FALSE(CRT({"1", "2"}, {"4", "6"}, out));  // inconsistent
  EXPECT_FALSE(CRT({"1"}, {"4", "6"}, out));
  EXPECT_FALSE(CRT({}, {}, out));
  EXPECT_FALSE(CRT({"1"}, {"0"}, out));
  EXPECT_TRUE(EulerFi("360", out));
  EXPECT_EQ(out, "96");
  EXPECT_TRUE(EulerFi("1", out));
  EXPECT_EQ(out, "1");
  EXPECT_FALSE(EulerFi("0", out));
  EXPECT_TRUE(ToBasis(16, "255", out));
  EXPECT_EQ(out, "FF");
  EXPECT_TRUE(ToBasis(2, "-5", out));
  EXPECT_EQ(out, "-101");
  EXPECT_TRUE(ToBasis(36, "35", out));
  EXPECT_EQ(out, "Z");
  EXPECT_FALSE(ToBasis(1, "5", out));
  EXPECT_FALSE(ToBasis(37, "5", out));
  EXPECT_TRUE(BMcd("240", "-46", out));
  EXPECT_EQ(out, "2");
  EXPECT_TRUE(BMcd("0", "0", out));
  EXPECT_EQ(out, "0");
  EXPECT_TRUE(PowMod("4", "13", "497", out));
  EXPECT_EQ(out, "445");
  EXPECT_TRUE(PowMod("3", "-1", "7", out));
  EXPECT_EQ(out, "5");
  EXPECT_TRUE(PowMod("-2", "3", "5", out));
  EXPECT_EQ(out, "2");
  EXPECT_FALSE(PowMod("2", "-1", "4", out));
  EXPECT_FALSE(PowMod("2", "3", "0", out));
  EXPECT_FALSE(PowMod("2", "10^1000", "7", out));  // not a number: the service evaluates first
  std::string a, b, d;
  EXPECT_TRUE(BExMcd("240", "46", a, b, d));
  EXPECT_EQ(std::stoll(a) * 240 + std::stoll(b) * 46, 2);
  EXPECT_EQ(d, "2");
  EXPECT_FALSE(BExMcd("1/2", "46", a, b, d));
}

TEST(MotorTest, PrimalityOfLargeNumbers) {
  // Above 8192 bits the test runs in a bounded worker; the answers are the same.
  EXPECT_EQ(IsPrime(z("2^9689-1")), -1);             // a Mersenne prime
  EXPECT_EQ(IsPrime(z("(2^9689-1)*(2^521-1)")), 0);  // no small factor
  EXPECT_EQ(IsPrime(z("(2^9689-1)*65537")), 0);
}

TEST(MotorTest, RandomPrimesHaveTheirSize) {
  std::string p;
  for (int16_t bits : {2, 3, 16, 64, 512}) {
    ASSERT_TRUE(RndPrimo(bits, p)) << bits;
    EXPECT_EQ(NumBits(p), bits);
    EXPECT_EQ(IsPrime(p), -1) << p;
  }
  EXPECT_FALSE(RndPrimo(1, p));
  EXPECT_FALSE(RndPrimo(4097, p));
  EXPECT_FALSE(RndPrimo(-3, p));
}

struct Esperada {
  std::string n;
  std::vector<std::string> factores, exponentes;
  bool completa;
};

TEST(FactorizacionTest, KnownFactorisations) {
  const Esperada casos[] = {
      {"360", {"2", "3", "5"}, {"3", "2", "1"}, true},
      {"1", {}, {}, true},
      {"-12", {"-1", "2", "3"}, {"1", "2", "1"}, true},
      {"97", {"97"}, {"1"}, true},
      {"0", {}, {}, false},
      {"1/2", {}, {}, false},
      // A square of a prime beyond trial division, and a word-sized composite.
      {z("10^180"), {"2", "5"}, {"180", "180"}, true},
      {"10403", {"101", "103"}, {"1", "1"}, true},
      {"1000000016000000063", {"1000000007", "1000000009"}, {"1", "1"}, true},
      {"1000000014000000049", {"1000000007"}, {"2"}, true},
      // 2^128 + 1 = 59649589127497217 * 5704689200685129054721 (split in process).
      {"340282366920938463463374607431768211457",
       {"59649589127497217", "5704689200685129054721"},
       {"1", "1"},
       true},
  };
  for (const Esperada& c : casos) {
    SCOPED_TRACE(c.n);
    std::vector<std::string> f, e;
    EXPECT_EQ(Factors(c.n, f, e) != 0, c.completa);
    EXPECT_EQ(f, c.factores);
    EXPECT_EQ(e, c.exponentes);
  }
}

TEST(FactorizacionTest, WithinTheSievesReach) {
  // From 55 digits: a medium factor found by the short ECM pass, and three
  // balanced factors that the sieve returns and that are split again.
  std::string a, b, c, d, e;
  ASSERT_TRUE(NextPrime("314159265358", a));
  ASSERT_TRUE(NextPrime(z("2718281828459045*10^30"), b));
  ASSERT_TRUE(NextPrime("1414213562373095048", c));
  ASSERT_TRUE(NextPrime("1732050807568877293", d));
  ASSERT_TRUE(NextPrime("2236067977499789696", e));
  std::vector<std::string> f, x;
  EXPECT_NE(Factors(z(a + "*" + b), f, x), 0);
  EXPECT_EQ(f, (std::vector<std::string>{a, b}));
  EXPECT_NE(Factors(z(c + "*" + d + "*" + e), f, x), 0);
  EXPECT_EQ(f, (std::vector<std::string>{c, d, e}));
}

TEST(FactorizacionTest, PowersAndHugeInputs) {
  std::string p;
  ASSERT_TRUE(NextPrime(z("10^30"), p));
  std::vector<std::string> f, e;
  EXPECT_NE(Factors(z("(" + p + ")^35*7"), f, e), 0);
  EXPECT_EQ(f, (std::vector<std::string>{"7", p}));
  EXPECT_EQ(e, (std::vector<std::string>{"1", "35"}));
  EXPECT_NE(Factors(z("2^4000000"), f, e), 0);
  EXPECT_EQ(e, std::vector<std::string>{"4000000"});
  // A cofactor of more than a million bits is returned unfactored, at once.
  const auto inicio = std::chrono::steady_clock::now();
  const std::string enorme = z("2^3000000+1");
  EXPECT_EQ(Factors(enorme, f, e), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(60));
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(f.back().size() > 100000, true);
}

TEST(FactorizacionTest, HardCompositeGivesAPartialResultSoon) {
  // 3 * 5^2 * p * q with p, q primes of 150 digits: far beyond the sieve.
  std::string p, r, n;
  ASSERT_TRUE(NextPrime(z("7*10^149+12345"), p));
  ASSERT_TRUE(NextPrime(z("9*10^149+54321"), r));
  n = z("75*" + p + "*" + r);
  const auto inicio = std::chrono::steady_clock::now();
  std::vector<std::string> f, e;
  EXPECT_EQ(Factors(n, f, e), 0);
  const auto duracion = std::chrono::steady_clock::now() - inicio;
  EXPECT_LT(duracion, std::chrono::seconds(30));  // the bound holds (about 2 s here)
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0], "3");
  EXPECT_EQ(f[1], "5");
  EXPECT_EQ(e[1], "2");
  EXPECT_EQ(f[2], z(p + "*" + r));  // the cofactor, unfactored, last
  EXPECT_EQ(e[2], "1");
  std::string fi;
  EXPECT_FALSE(EulerFi(n, fi));
  EXPECT_EQ(fi, "Error");
}

TEST(FactorizacionTest, SieveRunsWhereTheProgramsFolderIsNotWritable) {
  // The sieve writes a file into its working folder and crashes when it cannot.
  const auto previa = std::filesystem::current_path();
  std::filesystem::current_path("/proc");
  std::vector<std::string> f, e;
  // 2^128 + 1, whose factors are 17 and 22 digits, split in process (which
  // writes nothing), then a larger semiprime for the sieve in its worker.
  const int16_t estado = Factors("340282366920938463463374607431768211457", f, e);
  // Beyond the sizes split in process: two primes of 22 and 24 digits.
  std::string p, r;
  ASSERT_TRUE(NextPrime("3162277660168379332349", p));
  ASSERT_TRUE(NextPrime("244948974278317809819728", r));
  std::vector<std::string> g, x;
  const int16_t estadoCriba = Factors(z(p + "*" + r), g, x);
  std::filesystem::current_path(previa);
  EXPECT_NE(estado, 0);
  EXPECT_EQ(f, (std::vector<std::string>{"59649589127497217", "5704689200685129054721"}));
  EXPECT_NE(estadoCriba, 0);
  EXPECT_EQ(g, (std::vector<std::string>{p, r}));
  EXPECT_EQ(x, (std::vector<std::string>{"1", "1"}));
}

TEST(FactorizacionTest, EcmFindsAMediumFactorOfABigNumber) {
  // A 15-digit prime times a 90-digit prime: beyond the sieve, within ECM's reach.
  std::string p, r;
  ASSERT_TRUE(NextPrime("314159265358979", p));
  ASSERT_TRUE(NextPrime(z("27182818284590452353*10^70"), r));
  std::vector<std::string> f, e;
  ASSERT_NE(Factors(z(p + "*" + r), f, e), 0);
  EXPECT_EQ(f, (std::vector<std::string>{p, r}));
}

}  // namespace
}  // namespace numbrel::motor
