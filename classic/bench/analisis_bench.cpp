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
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "tarnel/tarnel.h"

namespace {

using Reloj = std::chrono::steady_clock;
using tarnel::Cadena;

// Best of `veces` runs, in seconds: the machine is shared.
double mide(const std::function<void()>& trabajo, int veces = 5) {
  double mejor = 1e300;
  for (int i = 0; i < veces; ++i) {
    const auto inicio = Reloj::now();
    trabajo();
    mejor = std::min(mejor, std::chrono::duration<double>(Reloj::now() - inicio).count());
  }
  return mejor;
}

// A line of /proc/self/status in kilobytes ("VmRSS", "VmHWM").
long kilobytes(const char* campo) {
  std::ifstream estado("/proc/self/status");
  std::string linea;
  const std::string prefijo = std::string(campo) + ":";
  while (std::getline(estado, linea)) {
    if (linea.rfind(prefijo, 0) == 0) return std::stol(linea.substr(prefijo.size()));
  }
  return -1;
}

// Sets the peak to the current resident size, so that the next peak read
// measures only what follows.
void reiniciaPico() { std::ofstream("/proc/self/clear_refs") << "5"; }

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
  const double unaPasada = mide([&] {
    analizador.setTamBloque(1);
    analizador.IC();
  });

  int32_t periodo = 0;
  bool primera = false, segunda = false;
  long pico = 0;
  const double t = mide(
      [&] {
        Cripto c;
        c.setTextoCifrado(cifrado);
        c.setICTipo(kestrin::Moneda::desdeDouble(0.080));
        c.setMaxPeriodo(25);
        reiniciaPico();
        const long antes = kilobytes("VmRSS");
        c.BuscaPeriodo();
        c.BuscaDesplazamientos();
        c.BuscaClaves();
        pico = std::max(pico, kilobytes("VmHWM") - antes);
        periodo = c.Periodo();
        primera = c.ClaveProbable(1) == cifrador.Clave();
        segunda = c.ClaveProbable(2) == cifrador.Clave();
      },
      3);
  std::printf("  %-5s %9zu %12.2f %10.2f %8d %8s %8s %10ld %10.2f\n", nombre, n, t * 1e3,
              t / unaPasada, periodo, primera ? "sí" : "no", segunda ? "sí" : "no", pico,
              static_cast<double>(pico) * 1024.0 / static_cast<double>(n));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string ruta = argc > 1 ? argv[1] : "../shared/corpus/es.txt";
  std::ifstream fichero(ruta, std::ios::binary);
  if (!fichero) {
    std::printf("analisis_bench: no se encuentra el corpus %s; se omite.\n", ruta.c_str());
    return 0;
  }
  std::stringstream contenido;
  contenido << fichero.rdbuf();
  const Cadena corpus = kestrin::desdeUtf8(contenido.str());
  // The plain text as the cipher keeps it: only symbols of the alphabet.
  Cadena claro;
  for (const char32_t c : corpus) {
    const int v = tarnel::alfabeto::valor(c);
    if (v >= 0) claro.push_back(tarnel::alfabeto::simbolo(v));
  }

  rendimientoDelAnalizador(corpus);

  const Cadena clave = U"secreto";
  std::printf("\nAtaques completos, clave de 7 símbolos \"%s\", ICTipo 0.080, MaxPeriodo 25\n",
              kestrin::aUtf8(clave).c_str());
  std::printf("  %-5s %9s %12s %10s %8s %8s %8s %10s %10s\n", "", "símbolos", "ms", "pasadas",
              "periodo", "clave(1)", "clave(2)", "pico KB", "pico/texto");
  for (const size_t n : {size_t{10'000}, size_t{100'000}, size_t{1'000'000}}) {
    ataque<tarnel::ORVCriptoVigenere>("Vig", claro, n, clave);
    ataque<tarnel::ORVCriptoXOR>("XOR", claro, n, clave);
  }
  return 0;
}
