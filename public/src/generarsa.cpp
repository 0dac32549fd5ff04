// Random RSA keys (see generarsa.h).
#include "halvard/generarsa.h"

#include <string>

#include "halvard/orvcriptorsa.h"
#include "kestrin/errores.h"
#include "numbrel/orvbignum.h"

namespace halvard {
namespace {

bool esNumero(const Cadena& s) {
  return !s.empty() && s.front() >= U'0' && s.front() <= U'9';
}

Cadena cadena(int64_t n) {
  return kestrin::desdeUtf8(std::to_string(n));
}

// A result of the service that is not a number is a fault of the service,
// never of the caller's input (that was checked before).
const Cadena& numero(const Cadena& s) {
  if (!esNumero(s)) kestrin::lanzaError(kestrin::kArgumentoNoValido);
  return s;
}

Cadena repite255(int32_t veces) {
  Cadena s;
  s.reserve(3 * static_cast<size_t>(veces));
  for (int32_t i = 0; i < veces; ++i) s += U"255";
  return s;
}

// ORVCriptoRSA refuses a factor that is not above "255" repeated TamBloque
// times, the greatest block number; that bound, not the modulus, limits the
// block size. A number of k decimal digits exceeds every block of fewer than
// k digits, so only a block of exactly k digits needs comparing.
int32_t mayorBloque(numbrel::ORVBigNum& big, const Cadena& menor) {
  auto veces = static_cast<int32_t>(menor.size() / 3);
  while (veces > 0 && big.Max(repite255(veces), menor) != 2) --veces;
  return veces;
}

ClaveRSA completa(numbrel::ORVBigNum& big, const Cadena& p, const Cadena& q) {
  const Cadena menor = big.Max(p, q) == 2 ? p : q;
  ClaveRSA clave;
  clave.p = p;
  clave.q = q;
  clave.bloque = mayorBloque(big, menor);
  if (clave.bloque < 1) kestrin::lanzaError(kestrin::kArgumentoNoValido);
  const Cadena phi = numero(big.Eval(U"((" + p + U")-1)*((" + q + U")-1)", {}, true));
  // φ is even, so no even exponent is coprime to it.
  int64_t e = kExponenteRSA;
  for (;;) {
    const Cadena mcd = numero(big.Mcd(cadena(e), phi));
    if (mcd == U"1") break;
    e += 2;
  }
  clave.e = cadena(e);
  return clave;
}

}  // namespace

std::optional<ClaveRSA> GeneraClaveRSA(int32_t bits, std::stop_token parar) {
  return kestrin::traduceExcepciones([&]() -> std::optional<ClaveRSA> {
    if (bits < kMinBitsClaveRSA || bits > kMaxBitsClaveRSA) {
      kestrin::lanzaError(kestrin::kArgumentoNoValido);
    }
    // An instance for this call alone: the library's shared one belongs to the
    // user-interface thread, and this may run on another.
    numbrel::ORVBigNum big;
    const auto bitsP = static_cast<int16_t>((bits + 1) / 2);
    const auto bitsQ = static_cast<int16_t>(bits / 2);
    for (;;) {
      if (parar.stop_requested()) return std::nullopt;
      const Cadena p = numero(big.RndPrimo(bitsP));
      if (parar.stop_requested()) return std::nullopt;
      const Cadena q = numero(big.RndPrimo(bitsQ));
      // Both drawn again rather than one, so that neither factor leans towards
      // the top of its range; about 2.6 pairs on average.
      if (p == q || big.NumBits(U"(" + p + U")*(" + q + U")") != bits) continue;
      if (parar.stop_requested()) return std::nullopt;
      return completa(big, p, q);
    }
  });
}

ClaveRSA CompletaClaveRSA(const Cadena& p, const Cadena& q) {
  return kestrin::traduceExcepciones([&]() -> ClaveRSA {
    numbrel::ORVBigNum big;
    const Cadena a = big.Eval(p, {}, true), b = big.Eval(q, {}, true);
    if (!esNumero(a) || !esNumero(b) || a == b || big.Max(U"255", a) != 2 ||
        big.Max(U"255", b) != 2) {
      kestrin::lanzaError(kestrin::kArgumentoNoValido);
    }
    return completa(big, a, b);
  });
}

bool CompruebaClaveRSA(ClaveRSA& clave, Cadena& mensaje) {
  return kestrin::traduceExcepciones([&]() -> bool {
    ORVCriptoRSA rsa;
    bool correcta = false;
    bool informada = false;
    rsa.eventos.ConstruyeClave.conecta([&](bool& ok, const Cadena& texto) {
      correcta = ok;
      informada = true;
      mensaje = texto;
    });
    rsa.setClaveFactor(1, clave.p);
    rsa.setClaveFactor(2, clave.q);
    rsa.setExponente(clave.e);
    rsa.setTamBloque(clave.bloque);
    rsa.ConstruyeClave();
    if (!informada) mensaje = U"Faltan factores o exponente.";
    if (!correcta) return false;
    clave.n = rsa.Clave();
    clave.d = rsa.ClavePrivada();
    clave.bits = rsa.NumBits();
    return true;
  });
}

}  // namespace halvard
