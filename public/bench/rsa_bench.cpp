// RSA through the laboratory's service against bare GMP modular powers.
//
// Enciphers and deciphers 20 KB of Spanish text with a key of two 1024-bit
// primes and the largest block size the key allows, then repeats the same
// modular powers directly with mpz_powm, and prints both times.
#include <gmp.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "halvard/orvcriptorsa.h"
#include "kestrin/cadena.h"
#include "kestrin/orvtexto.h"
#include "numbrel/orvbignum.h"

namespace {

using Reloj = std::chrono::steady_clock;

double segundos(Reloj::time_point desde) {
  return std::chrono::duration<double>(Reloj::now() - desde).count();
}

std::string leeCorpus() {
  for (const char* ruta : {"../shared/corpus/es.txt", "../../shared/corpus/es.txt",
                           "/work/shared/corpus/es.txt"}) {
    std::ifstream f(ruta, std::ios::binary);
    if (f) {
      std::stringstream s;
      s << f.rdbuf();
      return s.str();
    }
  }
  return {};
}

// The modular powers of all blocks, done directly.
double potenciasDesnudas(const std::vector<std::string>& bases, const std::string& exponente,
                         const std::string& modulo) {
  mpz_t b, e, m, r;
  mpz_inits(b, e, m, r, nullptr);
  mpz_set_str(e, exponente.c_str(), 10);
  mpz_set_str(m, modulo.c_str(), 10);
  const auto inicio = Reloj::now();
  for (const auto& base : bases) {
    mpz_set_str(b, base.c_str(), 10);
    mpz_powm(r, b, e, m);
  }
  const double t = segundos(inicio);
  mpz_clears(b, e, m, r, nullptr);
  return t;
}

}  // namespace

int main() {
  const std::string corpus = leeCorpus();
  if (corpus.empty()) {
    std::puts("rsa_bench: no encuentro ../shared/corpus/es.txt; nada que medir");
    return 0;
  }
  const kestrin::Cadena texto = kestrin::desdeUtf8(corpus).substr(0, 20000);

  numbrel::ORVBigNum big;
  // Fixed starting points keep the key the same from run to run.
  const kestrin::Cadena p = big.NextPrime(U"2^1023+123456789123456789");
  const kestrin::Cadena q = big.NextPrime(U"2^1023+987654321987654321987");

  halvard::ORVCriptoRSA rsa;
  rsa.setClaveFactor(1, p);
  rsa.setClaveFactor(2, q);
  rsa.setExponente(U"65537");
  int32_t tam = 1;
  bool correcta = false;
  rsa.eventos.ConstruyeClave.conecta([&](bool& ok, const kestrin::Cadena&) { correcta = ok; });
  for (;; ++tam) {
    rsa.setTamBloque(tam + 1);
    rsa.ConstruyeClave();
    if (!correcta) break;
  }
  rsa.setTamBloque(tam);
  rsa.ConstruyeClave();

  auto claro = std::make_shared<kestrin::ORVTexto>();
  claro->setTexto(texto);
  rsa.setTextoOriginal(claro);
  auto inicio = Reloj::now();
  rsa.Cifra();
  const double tCifra = segundos(inicio);

  std::vector<std::string> bloques, cifrados;
  const std::string ansi = kestrin::aAnsi(texto);
  for (size_t i = 0; i < ansi.size(); i += static_cast<size_t>(tam)) {
    std::string numero;
    for (size_t k = i; k < i + static_cast<size_t>(tam); ++k) {
      char digitos[4];
      std::snprintf(digitos, sizeof digitos, "%03u",
                    k < ansi.size() ? static_cast<unsigned char>(ansi[k]) : 32u);
      numero += digitos;
    }
    bloques.push_back(numero);
  }
  for (int32_t i = 1; i <= rsa.NumBloques(); ++i) cifrados.push_back(kestrin::aUtf8(rsa.TextoCifrado(i)));

  inicio = Reloj::now();
  rsa.Descifra();
  const double tDescifra = segundos(inicio);
  const bool vuelve = rsa.TextoOriginal()->Texto().substr(0, texto.size()) == texto;

  const std::string n = kestrin::aUtf8(rsa.Clave());
  const double gCifra = potenciasDesnudas(bloques, "65537", n);
  const double gDescifra = potenciasDesnudas(cifrados, kestrin::aUtf8(rsa.ClavePrivada()), n);

  std::printf("RSA, clave de %d bits, bloques de %d caracteres, %d bloques, 20000 caracteres\n",
              rsa.NumBits(), tam, rsa.NumBloques());
  std::printf("  %-10s %10s %12s %8s\n", "", "Orvane (s)", "mpz_powm (s)", "razón");
  std::printf("  %-10s %10.4f %12.4f %8.2f\n", "Cifra", tCifra, gCifra, tCifra / gCifra);
  std::printf("  %-10s %10.4f %12.4f %8.2f\n", "Descifra", tDescifra, gDescifra,
              tDescifra / gDescifra);
  std::printf("  %-10s %10.4f %12.4f %8.2f\n", "Total", tCifra + tDescifra, gCifra + gDescifra,
              (tCifra + tDescifra) / (gCifra + gDescifra));
  std::printf("  texto recuperado: %s\n", vuelve ? "sí" : "NO");
  return vuelve ? 0 : 1;
}
