// Random RSA keys for the laboratory: two random primes of the big-number
// service, the public exponent 65537 (or the next odd number coprime to φ)
// and the largest block size ORVCriptoRSA accepts with those factors.
//
// Threads: GeneraClaveRSA and CompletaClaveRSA work on a big-number service
// instance of their own, created for the call on the calling thread, so any
// thread may run them (the engine under the service keeps no unguarded
// global state). CompruebaClaveRSA builds the key with ORVCriptoRSA, whose
// service is the library's shared instance, used by the user-interface
// thread: call it there.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>

#include "kestrin/cadena.h"

namespace halvard {

using kestrin::Cadena;

// Sizes of the modulus GeneraClaveRSA accepts, in bits. Below 18 bits one of
// the factors could not exceed 255, the largest one-character block; above
// 8192 the factors pass the 4096 bits the service's random primes reach.
inline constexpr int32_t kMinBitsClaveRSA = 18;
inline constexpr int32_t kMaxBitsClaveRSA = 8192;

// The public exponent tried first.
inline constexpr int32_t kExponenteRSA = 65537;

struct ClaveRSA {
  Cadena p, q;  // the prime factors, p != q
  Cadena e;     // the public exponent, coprime to (p-1)(q-1)
  // Characters per block: the largest count whose greatest block number
  // ("255" repeated) is below both factors, as ORVCriptoRSA's key check asks
  // (so every block is also below the modulus).
  int32_t bloque = 1;
  // Filled by CompruebaClaveRSA: the modulus, the private exponent and the
  // modulus' bits.
  Cadena n, d;
  int32_t bits = 0;
};

// A key whose modulus has exactly `bits` bits: factors of ceil(bits/2) and
// floor(bits/2) bits drawn with the service's RndPrimo, drawn again while
// their product falls one bit short or they are equal; then completed as
// CompletaClaveRSA does. Nothing when `parar` is requested (it is looked at
// between one prime and the next). A size outside kMinBitsClaveRSA ..
// kMaxBitsClaveRSA raises ErrorORV 5; a failing service raises ErrorORV too.
std::optional<ClaveRSA> GeneraClaveRSA(int32_t bits, std::stop_token parar = {});

// The exponent and the block size for two given primes (n, d and bits stay
// empty). Equal factors, or factors that are not whole numbers above 255,
// raise ErrorORV 5; primality is CompruebaClaveRSA's check.
ClaveRSA CompletaClaveRSA(const Cadena& p, const Cadena& q);

// Builds the key with ORVCriptoRSA (factors, exponent, block size) and takes
// its modulus and private exponent. False, with ORVCriptoRSA's message in
// `mensaje`, when the key check refuses it.
bool CompruebaClaveRSA(ClaveRSA& clave, Cadena& mensaje);

}  // namespace halvard
