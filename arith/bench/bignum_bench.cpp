// Benchmark of the big-number service against PARI/GP, in one run: the same
// inputs (drawn by gp from a fixed seed) timed on both sides, wall-clock.
//
//   build/bench/bignum_bench            everything (a few minutes)
//   build/bench/bignum_bench --rapido   without the 70-digit semiprime and
//                                       without PARI on the 105-digit number
//   build/bench/bignum_bench --solo RP4,NP4   only the rows of those names
//                                       (S20..S70, R, E105, RP, NP, RP4, NP4, PP, P3, MP)
//
// Semiprimes of up to 40 digits and random numbers of 20 to 40 digits are
// factored in process; the rows show how close that comes to PARI. The last
// rows time long expressions (variables named many times, long products and
// sums), parsed and evaluated.
//
// PARI/GP (`gp`, Debian's pari-gp) is only run as an outside program.
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "numbrel/orvbignum.h"

namespace {

using kestrin::aUtf8;
using kestrin::Cadena;
using kestrin::desdeUtf8;
using Reloj = std::chrono::steady_clock;

struct Caso {
  std::string nombre;    // key shared with the gp script
  std::string etiqueta;  // what the table shows
  int repeticiones;
  std::string gp;        // gp code timed on PARI's side (uses the inputs by name)
  std::string objetivo;  // the target, in words
};

std::string ejecuta(const std::string& guion) {
  const std::string ruta = "/tmp/bignum_bench_" + std::to_string(::getpid()) + ".gp";
  if (FILE* f = std::fopen(ruta.c_str(), "w")) {
    std::fputs(guion.c_str(), f);
    std::fclose(f);
  }
  std::string salida;
  if (FILE* tubo = popen(("gp -q -f < " + ruta + " 2>&1").c_str(), "r")) {
    char bloque[4096];
    size_t n;
    while ((n = std::fread(bloque, 1, sizeof bloque, tubo)) > 0) salida.append(bloque, n);
    pclose(tubo);
  }
  std::remove(ruta.c_str());
  return salida;
}

// Random numbers of 20 to 40 digits, one per repetition of their row.
constexpr int kAleatorios = 200;

double segundos(Reloj::duration d) {
  return std::chrono::duration<double>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const bool rapido = argc > 1 && std::strcmp(argv[1], "--rapido") == 0;
  const std::string solo =
      argc > 2 && std::strcmp(argv[1], "--solo") == 0 ? "," + std::string(argv[2]) + "," : "";
  if (std::system("command -v gp >/dev/null 2>&1") != 0) {
    std::printf("bignum_bench: PARI/GP (gp) no está instalado; instálalo con scripts/deps.sh.\n");
    return 1;
  }

  std::vector<Caso> casos;
  for (int d : {20, 30, 40, 50, 60, 70}) {
    if (rapido && d == 70) continue;
    const int rep = d <= 20 ? 200 : d <= 30 ? 50 : d <= 40 ? 20 : d == 50 ? 3 : 1;
    casos.push_back({"S" + std::to_string(d),
                     "semiprimo equilibrado de " + std::to_string(d) + " cifras", rep,
                     "factorint(S" + std::to_string(d) + ")",
                     d <= 40   ? "<= 2 x PARI"
                     : d >= 60 ? "< PARI"
                               : "<= 1,5 x PARI"});
  }
  // Each repetition takes the next of the random numbers, on both sides.
  casos.push_back({"R", "aleatorio de 20 a 40 cifras", kAleatorios, "fr()", "<= 2 x PARI"});
  // ECM finds the factor after a random number of curves: several runs, and
  // each one's time below the table.
  casos.push_back({"E105", "105 cifras con un factor de 25", 5,
                   rapido ? "" : "iferr(alarm(150, factorint(E105)), E, 0)", "< 5 s"});
  casos.push_back({"RP", "primo aleatorio de 2000 bits", 5, "randomprime([2^1999, 2^2000-1])",
                   "<= 1,5 x PARI"});
  casos.push_back({"NP", "siguiente primo tras 2000 bits", 5, "nextprime(NP+1)", "<= 1,5 x PARI"});
  // The search's time depends on the gap it lands in: medians of several
  // runs, each side's shown below the table.
  casos.push_back({"RP4", "primo aleatorio de 4096 bits", 9, "randomprime([2^4095, 2^4096-1])",
                   "mediana <= PARI"});
  casos.push_back({"NP4", "siguiente primo tras 4096 bits", 5, "nextprime(NP4[ni++]+1)",
                   "mediana <= PARI"});
  casos.push_back({"PP", "test de primo de 2000 bits", 20, "ispseudoprime(PP)", "<= 1,5 x PARI"});
  casos.push_back({"P3", "3^200000 en decimal", 20, "Str(3^200000)", "<= 1,5 x PARI"});
  casos.push_back(
      {"MP", "potencia modular de 2048 bits", 50, "lift(Mod(MPB, MPM)^MPE)", "<= 1,5 x PARI"});
  // Long expressions: a variable of a million digits named a thousand times
  // (a gigabyte once written out), and a megabyte of products or of fractions
  // summed. PARI's side computes the same values from vectors, unparsed.
  casos.push_back({"VA", "variable de 10^6 cifras x 1000", 3, "sum(i = 1, 1000, VA)", "< 1 s"});
  casos.push_back({"PM", "producto de un megabyte", 3, "vecprod(vector(111112, i, 99999999))",
                   "< 1 s"});
  casos.push_back({"SM", "suma de fracciones de un megabyte", 3,
                   "sum(i = 1, 100000, 1/(10^7 + i))", "< 2 s"});

  if (!solo.empty()) {
    std::erase_if(casos, [&](const Caso& c) { return solo.find("," + c.nombre + ",") == std::string::npos; });
  }

  // One gp run draws the inputs and times PARI on them.
  std::string guion =
      "default(parisizemax, 2000000000)\n"
      "setrand(20261210)\n"
      "pr(c) = nextprime(10^(c-1) + random(9*10^(c-1)))\n"
      "t(nombre, reps, f) = my(t0 = getwalltime()); for(i = 1, reps, f()); "
      "print(\"T \", nombre, \" \", (getwalltime() - t0) / reps * 1.)\n"
      "u(nombre, reps, f) = my(s = 0, t0); for(i = 1, reps, t0 = getwalltime(); f(); "
      "my(d = getwalltime() - t0); s += d; print(\"U \", nombre, \" \", d)); "
      "print(\"T \", nombre, \" \", s / reps * 1.)\n";
  for (int d : {20, 30, 40, 50, 60, 70}) {
    guion += "S" + std::to_string(d) + " = pr(" + std::to_string(d / 2) + ") * pr(" +
             std::to_string(d - d / 2) + ")\n";
  }
  guion += "R = vector(" + std::to_string(kAleatorios) +
           ", i, my(c = 20 + random(21)); 10^(c-1) + random(9*10^(c-1)))\n"
           "ri = 0\nfr() = ri++; factorint(R[ri])\n"
           "for(i = 1, #R, print(\"A \", R[i]))\n";
  guion +=
      "E105 = pr(25) * pr(80)\nNP = random(2^2000)\nPP = randomprime([2^1999, 2^2000-1])\n"
      "MPM = random(2^2048) + 2^2047\nMPB = random(MPM)\nMPE = random(2^2048)\n"
      "VA = 10^(10^6) - 1\n"
      "NP4 = vector(5, i, random(2^4096))\nni = 0\n"
      "for(i = 1, #NP4, print(\"B \", NP4[i]))\n";
  for (const char* v :
       {"S20", "S30", "S40", "S50", "S60", "S70", "E105", "NP", "PP", "MPM", "MPB", "MPE"}) {
    guion += std::string("print(\"N ") + v + " \", " + v + ")\n";
  }
  guion += "v = version(); print(\"V \", v[1], \".\", v[2], \".\", v[3])\n";
  for (const Caso& c : casos) {
    if (c.nombre == "RP4" || c.nombre == "NP4") {
      guion += "u(\"" + c.nombre + "\", " + std::to_string(c.repeticiones) + ", () -> " + c.gp +
               ")\n";
    } else if (!c.gp.empty()) {
      guion += "t(\"" + c.nombre + "\", " +
               std::to_string(c.nombre == "E105" ? 1 : c.repeticiones) + ", () -> " + c.gp +
               ")\n";  // PARI's run of the 105 digits takes minutes: once
    }
  }
  guion += "\\q\n";
  const std::string salida = ejecuta(guion);

  std::map<std::string, std::string> entradas;
  std::vector<std::string> aleatorios;
  std::map<std::string, double> pari;
  std::map<std::string, std::vector<double>> vueltasPari;  // each run, for medians
  std::vector<std::string> siguientes4096;
  std::string version;
  std::istringstream lineas(salida);
  for (std::string l; std::getline(lineas, l);) {
    std::istringstream campos(l);
    std::string marca, nombre, valor;
    campos >> marca >> nombre >> valor;
    if (marca == "N") entradas[nombre] = valor;
    if (marca == "A") aleatorios.push_back(nombre);
    if (marca == "T") pari[nombre] = std::atof(valor.c_str()) / 1000.0;
    if (marca == "V") version = nombre;
    if (marca == "U") vueltasPari[nombre].push_back(std::atof(valor.c_str()) / 1000.0);
    if (marca == "B") siguientes4096.push_back(nombre);
  }
  if (entradas.size() < 12 || aleatorios.size() != kAleatorios || siguientes4096.size() != 5) {
    std::printf("bignum_bench: gp no dio las entradas:\n%s\n", salida.c_str());
    return 1;
  }
  const auto e = [&](const char* v) { return desdeUtf8(entradas[v]); };

  numbrel::ORVBigNum big;
  std::vector<double> vueltas;  // the time of each repetition of the last case
  const auto mide = [&vueltas](int reps, const std::function<bool()>& f, bool& bien) {
    bien = true;
    vueltas.clear();
    const auto inicio = Reloj::now();
    for (int i = 0; i < reps; ++i) {
      const auto antes = Reloj::now();
      bien = f() && bien;
      vueltas.push_back(segundos(Reloj::now() - antes));
    }
    return segundos(Reloj::now() - inicio) / reps;
  };
  const auto factoriza = [&](const Cadena& n) {
    std::vector<Cadena> f, x;
    return big.Factorize(n, f, x) && f.size() == 2;
  };
  // The random numbers' factorisations are kept and checked after the timing
  // (complete, and their product is n), so the check is not timed.
  std::vector<std::pair<std::vector<Cadena>, std::vector<Cadena>>> hechas;
  const auto compruebaAleatorios = [&] {
    if (hechas.size() != aleatorios.size()) return false;
    for (size_t k = 0; k < hechas.size(); ++k) {
      const auto& [f, x] = hechas[k];
      if (f.empty()) return false;
      Cadena producto = U"1";
      for (size_t i = 0; i < f.size(); ++i) producto += U"*" + f[i] + U"^" + x[i];
      if (aUtf8(big.Eval(producto, {}, true)) != aleatorios[k]) return false;
    }
    return true;
  };
  std::map<std::string, std::function<bool()>> nuestras;
  nuestras["R"] = [&] {
    std::vector<Cadena> f, x;
    const bool bien = big.Factorize(desdeUtf8(aleatorios[hechas.size() % aleatorios.size()]), f, x);
    hechas.emplace_back(std::move(f), std::move(x));
    return bien;
  };
  for (int d : {20, 30, 40, 50, 60, 70}) {
    const std::string v = "S" + std::to_string(d);
    nuestras[v] = [&, v] { return factoriza(desdeUtf8(entradas[v])); };
  }
  nuestras["E105"] = [&] { return factoriza(e("E105")); };
  nuestras["RP"] = [&] { return big.NumBits(big.RndPrimo(2000)) == 2000; };
  nuestras["NP"] = [&] { return big.EsPrimo(big.NextPrime(e("NP"))); };
  nuestras["RP4"] = [&] {
    const Cadena p = big.RndPrimo(4096);
    return big.NumBits(p) == 4096 && big.EsPrimo(p);
  };
  size_t siguiente = 0;
  nuestras["NP4"] = [&] {
    const Cadena n = desdeUtf8(siguientes4096[siguiente++ % siguientes4096.size()]);
    const Cadena p = big.NextPrime(n);
    return big.EsPrimo(p) && big.Max(n, p) == 2;
  };
  nuestras["PP"] = [&] { return big.EsPrimo(e("PP")); };
  nuestras["P3"] = [&] { return big.Eval(U"3^200000", {}, true).size() == 95425; };
  nuestras["MP"] = [&] { return !big.ModPower(e("MPB"), e("MPE"), e("MPM")).empty(); };
  Cadena nombrada = U"a1", producto = U"99999999", suma = U"0";
  for (int i = 1; i < 1000; ++i) nombrada += U"+a1";
  for (int i = 1; i < 111112; ++i) producto += U"*99999999";
  for (int i = 1; i <= 100000; ++i) suma += U"+1/" + desdeUtf8(std::to_string(10000000 + i));
  nuestras["VA"] = [&] {
    big.setvar(U"a1", Cadena(1000000, U'9'));
    return big.Eval(nombrada).size() == 1000003;
  };
  nuestras["PM"] = [&] { return big.Eval(producto).size() == 888896; };
  nuestras["SM"] = [&] { return big.Eval(suma).find(U'/') != Cadena::npos; };

  std::printf("Orvane (Numbrel: GMP, FLINT, GMP-ECM) frente a PARI/GP %s\n", version.c_str());
  std::printf("tiempo de reloj por operación, en segundos (media de las repeticiones)\n\n");
  std::printf("%-36s %5s %10s %10s %8s  %s\n", "caso", "rep.", "Orvane", "PARI", "O/P", "objetivo");
  for (const Caso& c : casos) {
    bool bien = false;
    const double nuestro = mide(c.repeticiones, nuestras[c.nombre], bien);
    if (c.nombre == "R") bien = compruebaAleatorios() && bien;
    const bool hayPari = pari.count(c.nombre) != 0;
    char suyo[32] = "-", razon[32] = "-";
    if (hayPari) {
      std::snprintf(suyo, sizeof suyo, "%.4f", pari[c.nombre]);
      if (c.nombre == "E105" && pari[c.nombre] >= 149.0) std::snprintf(suyo, sizeof suyo, "> 150");
      if (pari[c.nombre] > 0) std::snprintf(razon, sizeof razon, "%.2f", nuestro / pari[c.nombre]);
    }
    std::printf("%-36s %5d %10.4f %10s %8s  %s%s\n", c.etiqueta.c_str(), c.repeticiones, nuestro,
                suyo, razon, c.objetivo.c_str(),
                bien ? "" : "  (¡resultado incorrecto o incompleto!)");
    if (c.nombre == "RP4" || c.nombre == "NP4") {
      const auto mediana = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
      };
      for (const auto& [lado, v] : {std::pair{"Orvane", vueltas},
                                    std::pair{"PARI", vueltasPari[c.nombre]}}) {
        std::vector<double> orden = v;
        std::sort(orden.begin(), orden.end());
        std::printf("  %-34s", (std::string("cada vuelta, ") + lado + " (ordenadas):").c_str());
        for (const double x : orden) std::printf(" %.2f", x);
        std::printf("   mediana %.2f\n", mediana(v));
      }
    }
    if (c.nombre == "E105") {
      std::sort(vueltas.begin(), vueltas.end());
      std::printf("%-36s", "  cada vuelta (ordenadas):");
      for (const double v : vueltas) std::printf(" %.2f", v);
      std::printf("   mediana %.2f\n", vueltas[vueltas.size() / 2]);
    }
    std::fflush(stdout);
  }
  return 0;
}
