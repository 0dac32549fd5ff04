// Benchmark of the text analyser and of the attacks on the periodic ciphers,
// on Spanish prose (../shared/corpus/es.txt from the project root, or the file
// given as the first argument), repeated as needed. Prints figures; asserts
// nothing.
//
// - Analyser throughput for blocks of 1, 2 and 3 symbols, against a plain
//   histogram loop over the same buffer in the same run.
// - The whole Vigenère and XOR attacks (BuscaPeriodo with MaxPeriodo 25,
//   BuscaDesplazamientos, BuscaClaves) on ciphertexts of 10 KB, 100 KB and
//   1 MB with a 7-symbol key, in analyser passes (attack time / one block-1
//   analysis of the same text), whether ClaveProbable(1) or (2) is the key,
//   and the peak memory the attack adds, in times the text's size (one byte
//   per character, as in a text file).
#include <algorithm>
#include <atomic>
#include <malloc.h>
#include <new>
#include <array>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

#include "tarnel/tarnel.h"

namespace {

// CPU time of this thread: the machine may be shared, and time spent waiting
// for the processor is not the program's.
struct Reloj {
  static double ahora() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  }
};
using tarnel::Cadena;

// Best of `veces` runs, in seconds of CPU time.
double mide(const std::function<void()>& trabajo, int veces = 5) {
  double mejor = 1e300;
  for (int i = 0; i < veces; ++i) {
    const double inicio = Reloj::ahora();
    trabajo();
    mejor = std::min(mejor, Reloj::ahora() - inicio);
  }
  return mejor;
}

// Every allocation of the process goes through the operators below, which
// keep the bytes alive and their peak since the last reset: the attack's
// memory is all of it, and a heap that reuses freed memory would hide it
// from the resident size.
std::atomic<size_t> vivos{0};
std::atomic<size_t> pico{0};

void reiniciaPico() { pico = vivos.load(); }

}  // namespace

// The replacements pair malloc with free, as they should.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t tam) {
  void* p = std::malloc(tam == 0 ? 1 : tam);
  if (!p) throw std::bad_alloc();
  const size_t ahora = vivos += malloc_usable_size(p);
  size_t antes = pico.load();
  while (ahora > antes && !pico.compare_exchange_weak(antes, ahora)) {
  }
  return p;
}
void* operator new[](size_t tam) { return operator new(tam); }
void operator delete(void* p) noexcept {
  if (!p) return;
  vivos -= malloc_usable_size(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace {

Cadena repite(const Cadena& base, size_t n) {
  Cadena texto;
  texto.reserve(n);
  while (texto.size() < n) texto.append(base, 0, std::min(base.size(), n - texto.size()));
  return texto;
}

std::shared_ptr<kestrin::ORVTexto> textoDe(Cadena s) {
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->asigna(std::move(s), kestrin::CSKNone);
  return t;
}

void rendimientoDelAnalizador(const Cadena& corpus) {
  const Cadena texto = repite(corpus, 4'000'000);
  std::array<uint32_t, 256> histograma{};
  const double plano = mide([&] {
    histograma.fill(0);
    for (const char32_t c : texto) ++histograma[c & 0xFFu];
  });
  std::printf("Analizador sobre %zu caracteres (bucle plano de histograma: %.2f ns/car)\n",
              texto.size(), plano * 1e9 / static_cast<double>(texto.size()));
  std::printf("  %-8s %10s %12s %22s\n", "bloque", "ns/car", "MB/s", "velocidad / bucle plano");
  for (int32_t bloque : {1, 2, 3}) {
    tarnel::ORVAnaliza analizador;
    analizador.setTexto(texto);
    const double analisis = mide([&] {
      analizador.setTamBloque(bloque);  // drops the cached index: the next read analyses again
      analizador.IC();
    });
    std::printf("  %-8d %10.2f %12.1f %22.2f   (IC %s, %d bloques distintos)\n", bloque,
                analisis * 1e9 / static_cast<double>(texto.size()),
                static_cast<double>(texto.size()) / analisis / 1e6, plano / analisis,
                analizador.IC().aTexto().c_str(), analizador.Resultado()->Count());
  }
  if (histograma[1] == 12345) std::printf(" ");  // keeps the plain loop from being optimised away
}

// One attack, in a process of its own (see main), so that its peak memory
// and its first run on untouched memory are its own. Prints one row.
template <typename Cripto>
void ataque(const char* nombre, const Cadena& claro, size_t n, const Cadena& clave) {
  Cripto cifrador;
  cifrador.setClave(clave);
  cifrador.setTextoOriginal(textoDe(repite(claro, n)));
  cifrador.Cifra();
  const auto cifrado = cifrador.TextoCifrado();
  cifrador.setTextoOriginal(nullptr);

  tarnel::ORVAnaliza analizador;
  analizador.setTexto(cifrado->Texto());
  const auto analiza = [&] {
    analizador.setTamBloque(1);  // drops the cached index: the next read analyses again
    analizador.IC();
  };
  // Short runs are repeated for about a tenth of a second, so that the best
  // of them is not one slowed down by another process.
  const auto veces = [](double unaVez) { return std::clamp(static_cast<int>(0.1 / unaVez), 3, 500); };
  const double primeraPasada = mide(analiza, 1);
  const double unaPasada = mide(analiza, veces(primeraPasada));

  int32_t periodo = 0;
  bool primera = false, segunda = false;
  const auto ataca = [&] {
    Cripto c;
    c.setTextoCifrado(cifrado);
    c.setICTipo(kestrin::Moneda::desdeDouble(0.080));
    c.setMaxPeriodo(25);
    c.BuscaPeriodo();
    c.BuscaDesplazamientos();
    c.BuscaClaves();
    periodo = c.Periodo();
    primera = c.ClaveProbable(1) == cifrador.Clave();
    segunda = c.ClaveProbable(2) == cifrador.Clave();
  };
  // The first attack of the process: its memory is new to the process, and
  // its peak is what it holds at most beyond what was alive before it.
  reiniciaPico();
  const size_t antes = vivos;
  const double primeraVez = mide(ataca, 1);
  const long picoKB = static_cast<long>((pico - antes) / 1024);
  // Later attacks reuse memory the process already holds.
  const double despues = mide(ataca, veces(primeraVez));
  std::printf("  %-5s %9zu %8.2f %8.2f %9.2f %9.2f %9.2f %8d %8s %8s %8ld %8.2f\n", nombre, n,
              primeraVez * 1e3, despues * 1e3, primeraVez / unaPasada, primeraVez / primeraPasada,
              despues / unaPasada, periodo,
              primera ? "sí" : "no", segunda ? "sí" : "no", picoKB,
              static_cast<double>(pico - antes) / static_cast<double>(n));
}

Cadena leeClaro(const std::string& ruta, Cadena* corpus) {
  std::ifstream fichero(ruta, std::ios::binary);
  if (!fichero) return Cadena();
  std::stringstream contenido;
  contenido << fichero.rdbuf();
  *corpus = kestrin::desdeUtf8(contenido.str());
  // The plain text as the cipher keeps it: only symbols of the alphabet.
  Cadena claro;
  for (const char32_t c : *corpus) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) claro.push_back(tarnel::alfabeto::simbolo(v));
  }
  return claro;
}

const Cadena kClave = U"secreto";

}  // namespace

int main(int argc, char** argv) {
  // analisis_bench [corpus] | analisis_bench --ataque vig|xor <símbolos> <corpus>
  if (argc == 5 && std::string(argv[1]) == "--ataque") {
    Cadena corpus;
    const Cadena claro = leeClaro(argv[4], &corpus);
    corpus = Cadena();
    const size_t n = std::stoul(argv[3]);
    if (std::string(argv[2]) == "vig") {
      ataque<tarnel::ORVCriptoVigenere>("Vig", claro, n, kClave);
    } else {
      ataque<tarnel::ORVCriptoXOR>("XOR", claro, n, kClave);
    }
    return 0;
  }

  const std::string ruta = argc > 1 ? argv[1] : "../shared/corpus/es.txt";
  Cadena corpus;
  if (leeClaro(ruta, &corpus).empty()) {
    std::printf("analisis_bench: no se encuentra el corpus %s; se omite.\n", ruta.c_str());
    return 0;
  }
  rendimientoDelAnalizador(corpus);

  std::printf("\nAtaques completos (BuscaPeriodo, BuscaDesplazamientos, BuscaClaves), clave de 7 "
              "símbolos \"%s\", ICTipo 0.080, MaxPeriodo 25.\n"
              "Cada fila en un proceso propio: «1.ª» es el primer ataque del proceso (memoria "
              "nueva), «luego» el mejor de los siguientes (unos 0,1 s de repeticiones);\npasadas = tiempo / un análisis de bloque 1 "
              "del mismo texto (el mejor); «1.ª/1.ª» = primer ataque / primer análisis del proceso; pico = memoria que el primer ataque tiene a la vez, como mucho (en veces el texto a un byte por carácter).\n",
              kestrin::aUtf8(kClave).c_str());
  std::printf("  %-5s %9s %8s %8s %9s %9s %9s %8s %8s %8s %8s %8s\n", "", "símbolos", "1.ª ms",
              "luego ms", "1.ª pas.", "1.ª/1.ª", "luego pas.", "periodo", "clave(1)", "clave(2)",
              "pico KB", "pico/n");
  std::fflush(stdout);
  char programa[4096] = {};
  if (readlink("/proc/self/exe", programa, sizeof programa - 1) <= 0) return 1;
  for (const char* n : {"10000", "100000", "1000000"}) {
    for (const char* cifra : {"vig", "xor"}) {
      const std::string orden =
          "'" + std::string(programa) + "' --ataque " + cifra + " " + n + " '" + ruta + "'";
      if (std::system(orden.c_str()) != 0) std::printf("  (falló: %s)\n", orden.c_str());
    }
  }
  return 0;
}
