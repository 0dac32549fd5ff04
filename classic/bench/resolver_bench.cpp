// Benchmark of the solvers that use the language statistics, on Spanish text
// they have not seen: the end of the corpus (../shared/corpus/es.txt from the
// project root, or the file given as the first argument) that the shipped
// statistics left out when they were made (their "excluidos" count), less
// the lines of it that also occur earlier in the corpus. Prints figures;
// asserts nothing.
//
// - Periodic keys (Vigenère and XOR), 3 to 9 symbols, on texts of 10 to 60
//   symbols per key symbol: how often Resuelve puts the true key first,
//   against the three stages (BuscaDesplazamientos and BuscaClaves with the
//   true period and ICTipo from the statistics), whose ClaveProbable(1) is
//   their first key (and how often the key is among all their candidates).
// - Substitution: Resuelve on texts of 300 to 2000 symbols, 60 random keys
//   each: the share of deciphered symbols that are right, against the key
//   that pairs symbols by frequency (the first step of breaking one by hand),
//   and the time of each Resuelve.
// - Kasiski, autocorrelation and Resuelve on a ciphertext of 1 MB.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "tarnel/tarnel.h"

namespace {

using tarnel::Cadena;
using VistaCadenaBench = tarnel::VistaCadena;

double ahora() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double mide(const std::function<void()>& trabajo) {
  const double inicio = ahora();
  trabajo();
  return ahora() - inicio;
}

std::shared_ptr<kestrin::ORVTexto> texto(const Cadena& s) {
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->setTexto(s);
  return t;
}

// The folded symbols of a text.
Cadena pliega(const Cadena& s) {
  Cadena r;
  for (const char32_t c : s) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) r.push_back(tarnel::alfabeto::simbolo(v));
  }
  return r;
}

size_t azar(std::mt19937_64& g, size_t n) { return static_cast<size_t>(g() % n); }

void periodicos(const char* nombre, const std::function<std::shared_ptr<tarnel::CriptoPeriodico>()>& crea,
                const Cadena& reserva, double icTipo) {
  std::printf("\n%s: la clave verdadera la primera (%d pruebas por longitud de clave de 3 a 9)\n", nombre, 30);
  std::printf("  %-12s %10s %12s %12s %12s %12s\n", "car./símbolo", "Resolver", "tres etapas", "(entre todas)",
              "ms Resolver", "ms etapas");
  std::mt19937_64 g(20261211);
  for (const int factor : {10, 15, 20, 30, 40, 60}) {
    int aciertos = 0, aciertosEtapas = 0, entreTodas = 0, pruebas = 0;
    double tiempo = 0, tiempoEtapas = 0;
    for (int k = 3; k <= 9; ++k) {
      for (int prueba = 0; prueba < 30; ++prueba) {
        const size_t n = static_cast<size_t>(factor * k);
        const Cadena claro = reserva.substr(azar(g, reserva.size() - n), n);
        Cadena clave;
        for (int i = 0; i < k; ++i) clave.push_back(tarnel::alfabeto::simbolo(static_cast<int>(azar(g, 64))));
        auto cs = crea();
        cs->setClave(clave);
        cs->setTextoOriginal(texto(claro));
        cs->Cifra();
        cs->setPeriodo(k);
        tiempo += mide([&] { cs->Resuelve(); });
        aciertos += cs->NumClavesResueltas() > 0 && cs->ClaveResuelta(1) == clave;
        cs->setICTipo(kestrin::Moneda::desdeDouble(icTipo));
        tiempoEtapas += mide([&] {
          cs->BuscaDesplazamientos();
          cs->BuscaClaves();
        });
        aciertosEtapas += cs->ClaveProbable(1) == clave;
        for (int i = 1; i <= 64; ++i) {
          if (cs->ClaveProbable(i) == clave) {
            ++entreTodas;
            break;
          }
        }
        ++pruebas;
      }
    }
    std::printf("  %-12d %9.1f%% %11.1f%% %11.1f%% %12.2f %12.2f\n", factor, 100.0 * aciertos / pruebas,
                100.0 * aciertosEtapas / pruebas, 100.0 * entreTodas / pruebas, 1000 * tiempo / pruebas,
                1000 * tiempoEtapas / pruebas);
  }
}

void sustitucion(const Cadena& reserva, const tarnel::EstadisticasLengua& estadisticas) {
  constexpr int kClaves = 60;
  std::printf("\nSustitución: símbolos bien descifrados (%d claves al azar por longitud)\n", kClaves);
  std::printf("  %-9s %9s %9s %9s %9s %13s %9s %9s\n", "símbolos", "media", "peor", ">= 90 %", ">= 98 %",
              "frecuencias", "ms media", "ms peor");
  // The plain symbols by expected frequency, for the key that pairs them.
  std::vector<int> lengua(64);
  for (int v = 0; v < 64; ++v) lengua[static_cast<size_t>(v)] = v;
  std::stable_sort(lengua.begin(), lengua.end(),
                   [&](int a, int b) { return estadisticas.Frecuencia(a) > estadisticas.Frecuencia(b); });
  std::mt19937_64 g(11122026);
  for (const size_t n : {300, 600, 1000, 2000}) {
    double suma = 0, peor = 1, sumaFrecuencias = 0, tiempo = 0, tiempoPeor = 0;
    int sobre90 = 0, sobre98 = 0;
    for (int prueba = 0; prueba < kClaves; ++prueba) {
      const Cadena claro = reserva.substr(azar(g, reserva.size() - n), n);
      const Cadena clave = tarnel::ClaveSustAleatoria(g);
      tarnel::ORVCriptoSust cs;
      for (int v = 0; v < 64; ++v) cs.setClave(v, Cadena(1, clave[static_cast<size_t>(v)]));
      cs.setTextoOriginal(texto(claro));
      cs.Cifra();
      const Cadena cifrado = cs.TextoCifrado()->Texto();
      const double t = mide([&] { cs.Resuelve(prueba); });
      tiempo += t;
      tiempoPeor = std::max(tiempoPeor, t);
      cs.Descifra();
      const Cadena descifrado = cs.TextoOriginal()->Texto();
      size_t bien = 0;
      for (size_t i = 0; i < n && i < descifrado.size(); ++i) bien += descifrado[i] == claro[i];
      const double parte = static_cast<double>(bien) / static_cast<double>(n);
      suma += parte;
      peor = std::min(peor, parte);
      sobre90 += parte >= 0.90;
      sobre98 += parte >= 0.98;

      // By frequency alone.
      std::vector<size_t> cuentas(64, 0);
      for (const char32_t c : cifrado) ++cuentas[static_cast<size_t>(tarnel::alfabeto::valor(c))];
      std::vector<int> porCuenta(64);
      for (int v = 0; v < 64; ++v) porCuenta[static_cast<size_t>(v)] = v;
      std::stable_sort(porCuenta.begin(), porCuenta.end(),
                       [&](int a, int b) { return cuentas[static_cast<size_t>(a)] > cuentas[static_cast<size_t>(b)]; });
      std::vector<int> descifra(64);
      for (size_t i = 0; i < 64; ++i) descifra[static_cast<size_t>(porCuenta[i])] = lengua[i];
      size_t bienFrecuencias = 0;
      for (size_t i = 0; i < n; ++i) {
        bienFrecuencias +=
            tarnel::alfabeto::simbolo(descifra[static_cast<size_t>(tarnel::alfabeto::valor(cifrado[i]))]) == claro[i];
      }
      sumaFrecuencias += static_cast<double>(bienFrecuencias) / static_cast<double>(n);
    }
    std::printf("  %-9zu %8.1f%% %8.1f%% %8.0f%% %8.0f%% %12.1f%% %9.1f %9.1f\n", n, 100 * suma / kClaves, 100 * peor,
                100.0 * sobre90 / kClaves, 100.0 * sobre98 / kClaves, 100 * sumaFrecuencias / kClaves,
                1000 * tiempo / kClaves, 1000 * tiempoPeor);
  }
}

void largo(const Cadena& corpus) {
  Cadena claro = pliega(corpus);
  while (claro.size() < (1u << 20)) claro += claro;
  claro.resize(1u << 20);
  std::printf("\nTexto cifrado de %zu símbolos, clave de 7 símbolos, MaxPeriodo 25 (ms)\n", claro.size());
  std::printf("  %-10s %10s %16s %10s %10s\n", "", "Kasiski", "autocorrelación", "Resuelve", "sustitución");
  auto vig = std::make_shared<tarnel::ORVCriptoVigenere>();
  vig->setClave(U"clave7x");
  vig->setTextoOriginal(texto(claro));
  vig->Cifra();
  const double kasiski = mide([&] { vig->Kasiski(); });
  const double auto_ = mide([&] { (void)vig->Autocorrelacion(1); });
  vig->setPeriodo(7);
  const double resuelve = mide([&] { vig->Resuelve(); });
  tarnel::ORVCriptoSust cs;
  const Cadena clave = tarnel::ClaveSustAleatoria();
  for (int v = 0; v < 64; ++v) cs.setClave(v, Cadena(1, clave[static_cast<size_t>(v)]));
  cs.setTextoOriginal(texto(claro));
  cs.Cifra();
  const double sust = mide([&] { cs.Resuelve(1); });
  std::printf("  %-10s %10.1f %16.1f %10.1f %10.1f\n", "Vigenère", 1000 * kasiski, 1000 * auto_, 1000 * resuelve,
              1000 * sust);
  std::printf("  (Kasiski: período %d, %d distancias de %d símbolos o más; autocorrelación: período %d; "
              "Resuelve: %s)\n",
              vig->PeriodoKasiski(), vig->NumDistanciasKasiski(), vig->LongitudKasiski(),
              vig->PeriodoAutocorrelacion(), vig->ClaveResuelta(1) == U"clave7x" ? "la clave" : "otra clave");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string ruta = argc > 1 ? argv[1] : "../shared/corpus/es.txt";
  std::ifstream fichero(ruta, std::ios::binary);
  if (!fichero) {
    std::printf("resolver_bench: no se encuentra el corpus %s; se omite.\n", ruta.c_str());
    return 0;
  }
  std::stringstream bytes;
  bytes << fichero.rdbuf();
  const Cadena corpus = kestrin::desdeUtf8(bytes.str());
  std::shared_ptr<const tarnel::EstadisticasLengua> estadisticas;
  double carga = 0;
  try {
    carga = mide([&] { estadisticas = tarnel::EstadisticasEnUso(); });
  } catch (const kestrin::ErrorORV& e) {
    std::printf("resolver_bench: %s\n", e.what());
    return 1;
  }
  const size_t excluidos = std::min<size_t>(estadisticas->Excluidos(), corpus.size());
  // The corpus repeats lines (attributions, proverbs in several collections):
  // a line of the end that also occurs before it is left out as well, so
  // that no trial text was seen by the statistics.
  const auto lineas = [](VistaCadenaBench texto) {
    std::vector<Cadena> r;
    size_t inicio = 0;
    while (inicio < texto.size()) {
      size_t fin = texto.find(U'\n', inicio);
      if (fin == VistaCadenaBench::npos) fin = texto.size();
      r.emplace_back(texto.substr(inicio, fin - inicio));
      inicio = fin + 1;
    }
    return r;
  };
  const auto recorta = [](Cadena l) {
    while (!l.empty() && (l.back() == U' ' || l.back() == U'\t' || l.back() == U'\r')) l.pop_back();
    size_t i = 0;
    while (i < l.size() && (l[i] == U' ' || l[i] == U'\t')) ++i;
    return l.substr(i);
  };
  std::set<Cadena> vistas;
  for (const Cadena& l : lineas(VistaCadenaBench(corpus).substr(0, corpus.size() - excluidos))) vistas.insert(recorta(l));
  Cadena final;
  size_t repetidas = 0;
  for (const Cadena& l : lineas(VistaCadenaBench(corpus).substr(corpus.size() - excluidos))) {
    if (vistas.count(recorta(l))) {
      repetidas += l.size() + 1;
    } else {
      final += l + U"\n";
    }
  }
  const Cadena reserva = pliega(final);
  std::printf("Estadísticas: %s (%.0f ms en cargarlas)\n", tarnel::RutaEstadisticas().c_str(), 1000 * carga);
  std::printf("Texto reservado: %zu símbolos de los %zu últimos caracteres del corpus, sin %zu caracteres de "
              "líneas que ya estaban antes\n",
              reserva.size(), excluidos, repetidas);
  if (reserva.size() < 4000) {
    std::printf("resolver_bench: las estadísticas no reservaron texto del corpus; se omite.\n");
    return 0;
  }
  const double ic = estadisticas->IndiceCoincidencia();
  periodicos("Vigenère", [] { return std::make_shared<tarnel::ORVCriptoVigenere>(); }, reserva, ic);
  periodicos("XOR", [] { return std::make_shared<tarnel::ORVCriptoXOR>(); }, reserva, ic);
  sustitucion(reserva, *estadisticas);
  largo(corpus);
  return 0;
}
