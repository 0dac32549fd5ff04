// Time to generate RSA keys of the sizes the window offers: the random primes,
// exponent and block size (GeneraClaveRSA, the worker's part) and the key
// check with ORVCriptoRSA (CompruebaClaveRSA, the window thread's part).
// Three runs per size; the time depends on how far the primes lie from the
// random starting points.
#include <chrono>
#include <cstdio>

#include "halvard/generarsa.h"
#include "kestrin/cadena.h"

namespace {

using Reloj = std::chrono::steady_clock;

double segundos(Reloj::time_point desde) {
  return std::chrono::duration<double>(Reloj::now() - desde).count();
}

}  // namespace

int main() {
  constexpr int kVeces = 3;
  std::printf("Generación de claves RSA, %d veces por tamaño\n", kVeces);
  std::printf("  %6s %10s %10s %8s\n", "bits", "genera (s)", "comprueba", "bloque");
  bool todas = true;
  for (int bits : {512, 1024, 2048, 3072, 4096}) {
    for (int vez = 0; vez < kVeces; ++vez) {
      auto inicio = Reloj::now();
      auto clave = halvard::GeneraClaveRSA(bits);
      const double tGenera = segundos(inicio);
      kestrin::Cadena mensaje;
      inicio = Reloj::now();
      const bool ok = clave && halvard::CompruebaClaveRSA(*clave, mensaje);
      const double tComprueba = segundos(inicio);
      todas = todas && ok && clave->bits == bits;
      std::printf("  %6d %10.3f %10.4f %8d%s\n", bits, tGenera, tComprueba,
                  clave ? clave->bloque : 0, ok ? "" : "  clave NO válida");
    }
  }
  return todas ? 0 : 1;
}
