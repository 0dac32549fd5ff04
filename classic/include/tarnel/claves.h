// Keys the laboratories offer: the affine keys that agree with two known
// pairs of symbols, and a random substitution key.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "tarnel/alfabeto.h"

namespace tarnel {

// An affine key y = a*x + b (mod 64), both parts reduced into 0..63.
struct ClaveAfin {
  int32_t a = 1;
  int32_t b = 0;
  bool operator==(const ClaveAfin&) const = default;
};

// Every valid key (a odd) that takes the plain symbol values x0 and x1 onto
// the cipher values y0 and y1, in increasing a. A value outside 0..63 (-1 is
// "no symbol") gives no keys.
std::vector<ClaveAfin> ClavesAfines(int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// A substitution key: the 64 symbols of the alphabet in a uniformly random
// order (position i holds the symbol that replaces value i). Drawn from one
// generator of the process, seeded once from std::random_device and guarded
// by a lock, so any thread may call it.
Cadena ClaveSustAleatoria();
// The same draw from the caller's generator (reproducible runs, tests).
Cadena ClaveSustAleatoria(std::mt19937_64& generador);

}  // namespace tarnel
