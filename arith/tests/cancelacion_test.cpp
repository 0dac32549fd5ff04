// Long calls of ORVBigNum watched from other threads: cancellation (Cancela
// and the thread's Vigilancia), what each member answers when stopped, the
// stages reported, and calls from several threads at once, also while the
// process has other threads busy.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "numbrel/orvbignum.h"
#include "numbrel/vigilancia.h"

namespace numbrel {
namespace {

using namespace std::chrono_literals;
using kestrin::aUtf8;
using kestrin::desdeUtf8;
using Reloj = std::chrono::steady_clock;

struct Etapa {
  std::string texto;
  int32_t hecho, total;
  Reloj::time_point cuando;
};

// A service whose AritError messages and stages are collected.
class CancelacionTest : public ::testing::Test {
 public:
  CancelacionTest() {
    big.eventos.AritError.conecta([this](Cadena& d) { mensajes.push_back(aUtf8(d)); });
    big.eventos.Etapa.conecta([this](Cadena e, int32_t h, int32_t t) {
      etapas.push_back({aUtf8(e), h, t, Reloj::now()});
    });
  }
  // n evaluated as an integer, in UTF-8.
  std::string z(const std::string& expr) { return aUtf8(big.Eval(desdeUtf8(expr), {}, true)); }
  std::string primo(const std::string& desde) { return aUtf8(big.NextPrime(desdeUtf8(desde))); }

  // The product of a factorisation, evaluated by the service.
  std::string producto(const std::vector<Cadena>& f, const std::vector<Cadena>& e) {
    Cadena t = U"1";
    for (size_t i = 0; i < f.size(); ++i) t += U"*(" + f[i] + U")^" + e[i];
    return aUtf8(big.Eval(t, {}, true));
  }

  // The distinct stages in the order they came (repeats of one merged).
  std::vector<std::string> orden() const {
    std::vector<std::string> r;
    for (const Etapa& e : etapas) {
      if (r.empty() || r.back() != e.texto) r.push_back(e.texto);
    }
    return r;
  }

  ORVBigNum big;
  std::vector<std::string> mensajes;
  std::vector<Etapa> etapas;
};

// Checks a factorisation stopped before its end: False, the primes found
// ascending, then the composite cofactor with exponent 1, all multiplying to n.
void compruebaIncompleta(CancelacionTest& t, const std::string& n, const std::vector<Cadena>& f,
                         const std::vector<Cadena>& e, const std::vector<std::string>& primos,
                         const std::string& cofactor) {
  ASSERT_EQ(f.size(), primos.size() + 1);
  for (size_t i = 0; i < primos.size(); ++i) EXPECT_EQ(aUtf8(f[i]), primos[i]);
  EXPECT_EQ(aUtf8(f.back()), cofactor);
  EXPECT_EQ(aUtf8(e.back()), "1");
  EXPECT_EQ(t.producto(f, e), n);
}

TEST_F(CancelacionTest, CancelaStopsALongFactorisationSoon) {
  // Minutes of sieving (75 digits) or of curves (120 digits) otherwise,
  // stopped by Cancela or by the thread's watcher after 300 ms.
  const std::string s75 = z(primo("3*10^37") + "*" + primo("7*10^37"));
  const std::string s120 = z(primo("3*10^59") + "*" + primo("7*10^59"));
  struct Caso {
    std::string cofactor;
    bool porVigilancia;
  };
  for (const Caso& c : {Caso{s75, false}, Caso{s120, false}, Caso{s120, true}}) {
    SCOPED_TRACE(c.cofactor.size());
    SCOPED_TRACE(c.porVigilancia ? "Vigilancia" : "Cancela");
    // 65521 is the last prime trial division takes.
    const std::string n = z("2^5*3*65521*" + c.cofactor);
    auto vigilancia = std::make_shared<Vigilancia>();
    std::atomic<int64_t> cancelado{0};
    std::thread otro([&] {
      std::this_thread::sleep_for(300ms);
      cancelado = Reloj::now().time_since_epoch().count();
      if (c.porVigilancia) {
        vigilancia->cancela();
      } else {
        big.Cancela();
      }
    });
    std::vector<Cadena> f, e;
    bool completa;
    {
      AmbitoVigilancia ambito(vigilancia);
      completa = big.Factorize(desdeUtf8(n), f, e);
    }
    const auto vuelta = Reloj::now();
    otro.join();
    EXPECT_LT(vuelta - Reloj::time_point(Reloj::duration(cancelado.load())), 1s);
    EXPECT_FALSE(completa);
    compruebaIncompleta(*this, n, f, e, {"2", "3", "65521"}, c.cofactor);
  }
  EXPECT_TRUE(mensajes.empty());
}

TEST_F(CancelacionTest, CancelaBeforeACallDoesNotStopIt) {
  big.Cancela();
  std::vector<Cadena> f, e;
  EXPECT_TRUE(big.Factorize(U"360", f, e));
  EXPECT_EQ(f.size(), 3u);
  EXPECT_EQ(aUtf8(big.Eval(U"2^10")), "1024");
  EXPECT_EQ(aUtf8(big.NextPrime(U"100")), "101");
  EXPECT_TRUE(mensajes.empty());
}

TEST_F(CancelacionTest, StoppedMembersAnswerAsDocumented) {
  // A watcher cancelled before the calls: every member stops at once.
  auto vigilancia = std::make_shared<Vigilancia>();
  vigilancia->cancela();
  AmbitoVigilancia ambito(vigilancia);
  const char* const kCancelado = "Cálculo cancelado";
  const std::pair<const char*, std::function<Cadena()>> textos[] = {
      {"Eval", [&] { return big.Eval(U"2+2"); }},
      {"Eval N", [&] { return big.Eval(U"N(1/4)"); }},
      {"ToDecimal", [&] { return big.ToDecimal(U"1/4"); }},
      {"NextPrime", [&] { return big.NextPrime(U"2^3000"); }},
      {"RndPrimo", [&] { return big.RndPrimo(4096); }},
      {"ModInv", [&] { return big.ModInv(U"3", U"7"); }},
      {"EulerFi", [&] { return big.EulerFi(U"360"); }},
      {"ToBasis", [&] { return big.ToBasis(16, U"255"); }},
      {"Mcd", [&] { return big.Mcd(U"12", U"18"); }},
      {"ModPower", [&] { return big.ModPower(U"3", U"5", U"7"); }},
      {"BMod", [&] { return big.BMod(U"3^5", U"7"); }},
  };
  for (const auto& [nombre, llamada] : textos) {
    SCOPED_TRACE(nombre);
    mensajes.clear();
    EXPECT_EQ(aUtf8(llamada()), "Error");
    EXPECT_EQ(mensajes, std::vector<std::string>{kCancelado});
  }
  mensajes.clear();
  EXPECT_FALSE(big.EsPrimo(U"97"));
  EXPECT_EQ(big.NumBits(U"255"), 0);
  EXPECT_EQ(big.Max(U"1", U"2"), -1);
  Cadena a = U"1", b = U"1", d = U"1";
  EXPECT_FALSE(big.ExMcd(U"240", U"46", a, b, d));
  EXPECT_EQ(aUtf8(d), "Error");
  std::vector<Cadena> f, e;
  EXPECT_FALSE(big.Factorize(U"360", f, e));
  EXPECT_TRUE(mensajes.empty());
}

TEST_F(CancelacionTest, LongWorkInProcessStopsSoon) {
  // Work that runs in this process, cancelled from another thread after 200 ms
  // (seconds of work otherwise): a modular power with a 4-million-bit
  // exponent and a factorial residue of sixty million steps.
  const std::pair<const char*, std::function<Cadena()>> casos[] = {
      {"ModPower", [&] { return big.ModPower(U"3", U"2^4000000+1", U"2^4096+1"); }},
      {"BMod", [&] { return big.BMod(U"(6*10^7)!", U"2^64+13"); }},
  };
  for (const auto& [nombre, llamada] : casos) {
    SCOPED_TRACE(nombre);
    mensajes.clear();
    std::atomic<int64_t> cancelado{0};
    std::thread otro([&] {
      std::this_thread::sleep_for(200ms);
      cancelado = Reloj::now().time_since_epoch().count();
      big.Cancela();
    });
    const Cadena r = llamada();
    const auto vuelta = Reloj::now();
    otro.join();
    EXPECT_LT(vuelta - Reloj::time_point(Reloj::duration(cancelado.load())), 1s);
    EXPECT_EQ(aUtf8(r), "Error");
    EXPECT_EQ(mensajes, std::vector<std::string>{"Cálculo cancelado"});
  }
}

TEST_F(CancelacionTest, PrimeSearchesReportAndStopBetweenCandidates) {
  // The stage handler itself cancels as the search begins: the search looks
  // before each candidate and stops.
  big.eventos.Etapa.conecta([this](Cadena e, int32_t, int32_t) {
    if (e == U"buscando primo") big.Cancela();
  });
  const std::pair<const char*, std::function<Cadena()>> casos[] = {
      {"NextPrime", [&] { return big.NextPrime(U"2^4000"); }},
      {"RndPrimo", [&] { return big.RndPrimo(4096); }},
  };
  for (const auto& [nombre, llamada] : casos) {
    SCOPED_TRACE(nombre);
    mensajes.clear();
    etapas.clear();
    EXPECT_EQ(aUtf8(llamada()), "Error");
    EXPECT_EQ(mensajes, std::vector<std::string>{"Cálculo cancelado"});
    EXPECT_EQ(orden(), std::vector<std::string>{"buscando primo"});
    ASSERT_FALSE(etapas.empty());
    EXPECT_EQ(etapas.back().total, 0);
  }
  // Uncancelled, the searches report the candidates tried, in growing counts.
  ORVBigNum otro;
  std::vector<int32_t> cuentas;
  otro.eventos.Etapa.conecta([&](Cadena e, int32_t h, int32_t t) {
    EXPECT_EQ(aUtf8(e), "buscando primo");
    EXPECT_EQ(t, 0);
    cuentas.push_back(h);
  });
  EXPECT_TRUE(otro.EsPrimo(otro.NextPrime(U"2^2000")));
  ASSERT_FALSE(cuentas.empty());
  for (size_t i = 1; i < cuentas.size(); ++i) EXPECT_GT(cuentas[i], cuentas[i - 1]);
}

TEST_F(CancelacionTest, FactorisationStagesArriveInOrder) {
  // Each factorisation is stopped (from the stage handler) at the stage the
  // case is about; the stages seen until then, in order.
  struct Caso {
    std::string n;
    std::string paraEn;  // the stage that cancels ("" runs to the end)
    std::vector<std::string> esperadas;
  };
  const Caso casos[] = {
      {z("2*" + primo("2^1100")), "", {"división por tentativa", "prueba de primalidad"}},
      {z(primo("10^14") + "*" + primo("3*10^15")), "", {"división por tentativa", "criba cuadrática"}},
      {z(primo("3*10^31") + "*" + primo("7*10^32")), "criba cuadrática",
       {"división por tentativa", "curvas ECM", "criba cuadrática"}},
      {z(primo("3*10^59") + "*" + primo("7*10^59")), "curvas ECM",
       {"división por tentativa", "curvas ECM"}},
  };
  std::string paraEn;
  int curvas = 0;
  big.eventos.Etapa.conecta([&](Cadena e, int32_t h, int32_t) {
    // ECM stops after a few curves have been reported.
    if (aUtf8(e) == paraEn && (paraEn != "curvas ECM" || (h > 0 && ++curvas >= 2))) big.Cancela();
  });
  auto vigilancia = std::make_shared<Vigilancia>();
  std::vector<std::string> oidas;
  vigilancia->alProgresar = [&](const Cadena& e, int32_t, int32_t) { oidas.push_back(aUtf8(e)); };
  AmbitoVigilancia ambito(vigilancia);
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.n);
    etapas.clear();
    oidas.clear();
    paraEn = c.paraEn;
    curvas = 0;
    std::vector<Cadena> f, e;
    EXPECT_EQ(big.Factorize(desdeUtf8(c.n), f, e), c.paraEn.empty());
    EXPECT_EQ(producto(f, e), c.n);
    EXPECT_EQ(orden(), c.esperadas);
    // The thread's watcher hears exactly what the event does.
    ASSERT_EQ(oidas.size(), etapas.size());
    for (size_t i = 0; i < etapas.size(); ++i) {
      const Etapa& x = etapas[i];
      EXPECT_EQ(oidas[i], x.texto);
      EXPECT_GE(x.hecho, 0);
      EXPECT_GE(x.total, 0);
      if (x.total > 0) {
        EXPECT_LE(x.hecho, x.total) << x.texto;
      }
      if (x.texto == "división por tentativa") {
        EXPECT_EQ(x.total, 6542);
      }
      // A few reports a second at most within one stage.
      if (i > 0 && etapas[i - 1].texto == x.texto) {
        EXPECT_GE(x.cuando - etapas[i - 1].cuando, 200ms) << x.texto;
      }
    }
  }
}

TEST_F(CancelacionTest, SeveralThreadsShareOneInstance) {
  // Two threads evaluate and factor while a third keeps changing the
  // variables: every answer is one the table could give. The handlers run
  // on both calling threads, so they only count.
  ORVBigNum compartido;
  std::atomic<int> errores{0}, informes{0};
  compartido.eventos.AritError.conecta([&](Cadena&) { ++errores; });
  compartido.eventos.Etapa.conecta([&](Cadena, int32_t, int32_t) { ++informes; });
  ORVBigNum& big = compartido;
  std::atomic<bool> fin{false};
  std::thread cambia([&] {
    for (int i = 0; !fin; ++i) {
      big.setvar(U"a1", i % 2 ? U"2" : U"3");
      big.setvar(U"B2", i % 3 ? U"5" : U"7");
      if (i % 50 == 0) big.setvar(U"", U"");
    }
  });
  std::atomic<int> malas{0};
  std::vector<std::thread> hilos;
  for (int h = 0; h < 2; ++h) {
    hilos.emplace_back([&] {
      ORVBigNum& b = big;
      for (int i = 0; i < 20000; ++i) {
        const std::string r = aUtf8(b.Eval(U"a1*b2+1"));
        if (r != "11" && r != "15" && r != "16" && r != "22" && r != "Error") ++malas;
        if (i % 100 != 0) continue;
        std::vector<Cadena> f, e;
        if (!b.Factorize(U"1000000016000000063", f, e) || f.size() != 2 ||
            aUtf8(f[0]) != "1000000007") {
          ++malas;
        }
        if (aUtf8(b.RndPrimo(64)).empty()) ++malas;
      }
    });
  }
  for (std::thread& t : hilos) t.join();
  fin = true;
  cambia.join();
  EXPECT_EQ(malas.load(), 0);
  EXPECT_GE(informes.load(), 400);  // each factorisation's trial division at least
}

TEST_F(CancelacionTest, WorkersStartFromABusyMultithreadedProcess) {
  // Threads that keep the allocator and the service busy (their own
  // instance and this one) while this thread factors with workers: the
  // workers start and answer every time.
  std::atomic<bool> fin{false};
  std::vector<std::thread> ocupados;
  for (int h = 0; h < 3; ++h) {
    ocupados.emplace_back([&fin, h] {
      std::vector<std::unique_ptr<char[]>> bloques(64);
      for (unsigned i = 0; !fin; ++i) {
        bloques[(i * 7 + h) % bloques.size()] = std::make_unique<char[]>(16 + (i * 131) % 40000);
      }
    });
  }
  ocupados.emplace_back([&] {
    ORVBigNum propio;
    while (!fin) {
      propio.Eval(U"3^5000 mod 1000007");
      big.Eval(U"2^100");
      propio.RndPrimo(128);
    }
  });
  // Sieve workers (50 digits) and ECM workers (a 15-digit factor of 95 digits).
  const std::string s50 = z(primo("3*10^24") + "*" + primo("7*10^24"));
  const std::string p15 = primo("123456789012345"), p80 = primo("10^79");
  const std::string e95 = z(p15 + "*" + p80);
  for (int vuelta = 0; vuelta < 3; ++vuelta) {
    for (const std::string& n : {s50, e95}) {
      SCOPED_TRACE(n);
      std::vector<Cadena> f, e;
      EXPECT_TRUE(big.Factorize(desdeUtf8(n), f, e));
      EXPECT_EQ(f.size(), 2u);
      EXPECT_EQ(producto(f, e), n);
    }
  }
  fin = true;
  for (std::thread& t : ocupados) t.join();
}

}  // namespace
}  // namespace numbrel
