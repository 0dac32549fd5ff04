// The language model the solvers score deciphered texts with.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "tarnel/estadisticas.h"

namespace tarnel {

// The log-probability of each symbol after the three before it, for every
// block of four symbols, as a cost of one byte: -10 * ln(p) rounded (a tenth
// of a natural unit a step; 255 the worst), so the whole table (16 MB) is
// looked up by block code and the costs add up in integers.
class ModeloCuadrigramas {
 public:
  static constexpr double kEscala = 10;

  explicit ModeloCuadrigramas(std::shared_ptr<const EstadisticasLengua> estadisticas);

  const std::shared_ptr<const EstadisticasLengua>& estadisticas() const { return estadisticas_; }
  // Cost of the last symbol of the block of code `codigo` (6 bits a symbol).
  uint8_t coste(uint32_t codigo) const { return costes_[codigo]; }
  const uint8_t* costes() const { return costes_.data(); }
  // The cost of the last symbol of a shorter block (n = 1..3 symbols): for
  // the first symbols of a text, which have fewer than three before them.
  uint8_t costeCorto(int n, uint32_t codigo) const { return cortos_[static_cast<size_t>(n)][codigo]; }
  // The cost of symbol e of a text t of symbol values: from the block that
  // ends at e (shorter at the start).
  uint8_t costeEn(const uint8_t* t, size_t e) const {
    if (e >= 3) {
      return costes_[(uint32_t{t[e - 3]} << 18) | (uint32_t{t[e - 2]} << 12) | (uint32_t{t[e - 1]} << 6) | t[e]];
    }
    uint32_t codigo = 0;
    for (size_t i = 0; i <= e; ++i) codigo = (codigo << 6) | t[i];
    return cortos_[e + 1][codigo];
  }
  // Smoothed log-frequency of each symbol.
  const std::array<double, ORVNumCar>& logUno() const { return logUno_; }

  static uint8_t cuantiza(double logProbabilidad);

 private:
  std::shared_ptr<const EstadisticasLengua> estadisticas_;
  std::vector<uint8_t> costes_;
  std::array<std::vector<uint8_t>, 4> cortos_;
  std::array<double, ORVNumCar> logUno_{};
};

// The model of EstadisticasEnUso, built with it on first use.
std::shared_ptr<const ModeloCuadrigramas> modeloEnUso();

}  // namespace tarnel
