// In-process factoring of composites of up to about 40 digits.
//
// A fork and FLINT's sieve cost tens of milliseconds even for numbers that
// take a fraction of that to split, and FLINT's sieve writes a file into the
// current folder, so it cannot run in process. Numbers this small are split
// here, after a few short elliptic curves for a small factor, by a
// self-initialising quadratic sieve whose work is bounded for the size; when
// the bound passes first the caller falls back to the workers.
#pragma once

#include <gmpxx.h>

#include <chrono>

namespace numbrel::motor {

// Sizes, in bits, of the composites divisorCribaPequena accepts. Below the
// lower bound FLINT's word-sized factoring is faster.
inline constexpr size_t kMinBitsCribaPequena = 60;
inline constexpr size_t kMaxBitsCribaPequena = 136;

// A proper divisor of the composite c (without prime factors below 2^16), or
// 0 when c is out of range or neither the work bound nor `limite` let the
// sieve finish, or the current call (llamada.h) was cancelled meanwhile.
mpz_class divisorCribaPequena(const mpz_class& c, std::chrono::steady_clock::time_point limite);

}  // namespace numbrel::motor
