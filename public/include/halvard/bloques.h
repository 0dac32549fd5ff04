// The numbered block list both public-key systems keep their ciphertext in.
#pragma once

#include <cstdint>
#include <vector>

#include "kestrin/errores.h"

namespace halvard {

// Blocks 1..n, or the single empty slot 0 when there are none; any other
// index raises ErrorSubindice.
template <typename T>
class ListaBloques {
 public:
  ListaBloques() { crea(0); }

  // Re-creates the list with n empty blocks; a negative n raises ErrorSubindice.
  void crea(int32_t n) {
    if (n < 0) throw kestrin::ErrorSubindice();
    bloques_.assign(n == 0 ? 1 : static_cast<size_t>(n), T());
    base_ = n == 0 ? 0 : 1;
  }

  int32_t primero() const { return base_; }
  int32_t ultimo() const { return base_ + static_cast<int32_t>(bloques_.size()) - 1; }
  // Number of slots, the empty slot 0 included.
  size_t huecos() const { return bloques_.size(); }

  const T& operator[](int32_t i) const { return bloques_[indice(i)]; }
  T& operator[](int32_t i) { return bloques_[indice(i)]; }

 private:
  size_t indice(int32_t i) const {
    if (i < base_ || i > ultimo()) throw kestrin::ErrorSubindice();
    return static_cast<size_t>(i - base_);
  }

  std::vector<T> bloques_;
  int32_t base_ = 0;
};

}  // namespace halvard
