// Affine key candidates and random substitution keys.
#include "tarnel/claves.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "kestrin/errores.h"

namespace tarnel {

namespace {

int32_t modulo(int32_t v) {
  v %= ORVNumCar;
  return v < 0 ? v + ORVNumCar : v;
}

bool esSimbolo(int32_t v) { return v >= 0 && v < ORVNumCar; }

}  // namespace

// a*x0 + b = y0 and a*x1 + b = y1 give a*(x0 - x1) = y0 - y1: each odd a
// that solves it fixes b. With x0 = x1 every a solves it when y0 = y1 and
// none otherwise.
std::vector<ClaveAfin> ClavesAfines(int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  return kestrin::traduceExcepciones([&]() -> std::vector<ClaveAfin> {
    std::vector<ClaveAfin> claves;
    if (!esSimbolo(x0) || !esSimbolo(x1) || !esSimbolo(y0) || !esSimbolo(y1)) return claves;
    const int32_t dx = modulo(x0 - x1);
    const int32_t dy = modulo(y0 - y1);
    // gcd(a, 64) = 1 exactly when a is odd.
    for (int32_t a = 1; a < ORVNumCar; a += 2) {
      if ((dx * a) % ORVNumCar != dy) continue;
      claves.push_back({a, modulo(y0 - a * x0)});
    }
    return claves;
  });
}

Cadena ClaveSustAleatoria(std::mt19937_64& generador) {
  return kestrin::traduceExcepciones([&]() -> Cadena {
    Cadena clave(Alfabeto);
    std::shuffle(clave.begin(), clave.end(), generador);
    return clave;
  });
}

Cadena ClaveSustAleatoria() {
  return kestrin::traduceExcepciones([&]() -> Cadena {
    static std::mutex cerrojo;
    // Seeded once with 256 bits of the device: a key drawn right after another
    // comes from the same sequence, never from a clock that may not have moved.
    static std::mt19937_64 generador = [] {
      std::random_device dispositivo;
      std::array<std::random_device::result_type, 8> semilla;
      for (auto& s : semilla) s = dispositivo();
      std::seed_seq secuencia(semilla.begin(), semilla.end());
      return std::mt19937_64(secuencia);
    }();
    std::lock_guard<std::mutex> bloqueo(cerrojo);
    return ClaveSustAleatoria(generador);
  });
}

}  // namespace tarnel
