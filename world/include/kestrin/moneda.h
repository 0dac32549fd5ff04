// Currency: a 64-bit fixed-point value with four decimals.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace kestrin {

// Value type for typed numeric keys, indices of coincidence and knapsack
// numbers. Arithmetic is exact to four decimals; every result that leaves the
// range of +-922337203685477.5807 raises ErrorDesbordamiento.
class Moneda {
 public:
  static constexpr int64_t kEscala = 10000;

  constexpr Moneda() = default;
  // Any 32-bit integer fits.
  constexpr Moneda(int32_t entero) : escalado_(int64_t{entero} * kEscala) {}

  // Raises ErrorDesbordamiento when the integer does not fit.
  static Moneda desdeEntero(int64_t entero);
  // Rounds to four decimals, half to even; NaN or out of range overflows.
  // Inline for the values well inside the range (indices, frequencies),
  // which analyses convert by the thousand.
  static Moneda desdeDouble(double valor) {
    if (valor > -9e14 && valor < 9e14) {
      // The conversion truncates exactly; adding and taking away 1.5 * 2^52
      // rounds to an integer, halves to even, as nearbyint does.
      const auto entero = static_cast<int64_t>(valor);
      constexpr double kRedondeo = 6755399441055744.0;
      const double fraccion = ((valor - static_cast<double>(entero)) * kEscala + kRedondeo) - kRedondeo;
      return desdeEscalado(entero * kEscala + static_cast<int64_t>(fraccion));
    }
    return desdeDoubleLejano(valor);
  }
  // The raw representation: value times 10000.
  static constexpr Moneda desdeEscalado(int64_t escalado) {
    Moneda m;
    m.escalado_ = escalado;
    return m;
  }

  constexpr int64_t escalado() const { return escalado_; }
  double aDouble() const { return static_cast<double>(escalado_) / kEscala; }
  // Nearest 32-bit integer, halves to even; out of range overflows.
  int32_t aLong() const;
  // Nearest 64-bit integer, halves to even.
  int64_t redondeado() const;
  // Largest integer not above the value.
  Moneda suelo() const;
  // Remainder of the division by a whole modulus, with the sign of the value.
  Moneda resto(int32_t modulo) const;
  // Decimal text with a point and no trailing zeros: "12", "-0.25".
  std::string aTexto() const;

  Moneda operator-() const;
  Moneda& operator+=(Moneda otro);
  Moneda& operator-=(Moneda otro);
  Moneda& operator*=(Moneda otro);
  // Raises ErrorDivisionPorCero for a zero divisor.
  Moneda& operator/=(Moneda otro);

  friend Moneda operator+(Moneda a, Moneda b) { return a += b; }
  friend Moneda operator-(Moneda a, Moneda b) { return a -= b; }
  friend Moneda operator*(Moneda a, Moneda b) { return a *= b; }
  friend Moneda operator/(Moneda a, Moneda b) { return a /= b; }
  friend constexpr auto operator<=>(Moneda, Moneda) = default;
  friend constexpr bool operator==(Moneda, Moneda) = default;

 private:
  // desdeDouble for values near the edges of the range, NaN and beyond.
  static Moneda desdeDoubleLejano(double valor);
  int64_t escalado_ = 0;
};

// CLng of a double: nearest 32-bit integer, halves to even; overflow outside the range.
int32_t aLong(double valor);

}  // namespace kestrin
