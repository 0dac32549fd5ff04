// Currency arithmetic: int64 scaled by 10000, products and quotients through 128 bits.
#include "kestrin/moneda.h"

#include <cmath>
#include <limits>

#include "kestrin/errores.h"

namespace kestrin {
namespace {

using Ancho = __int128;

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

int64_t estrecha(Ancho v) {
  if (v > kMax || v < kMin) throw ErrorDesbordamiento();
  return static_cast<int64_t>(v);
}

// The quotient of n / d (d > 0), from its truncated quotient q and remainder
// r, rounded to the nearest integer, halves to even.
template <typename T>
T redondea(T n, T d, T q, T r) {
  if (r < 0) r = -r;
  if (r > d - r || (r == d - r && (q % 2 != 0))) q += (n < 0) ? -1 : 1;
  return q;
}

// num / den rounded to the nearest integer, halves to even; den > 0.
Ancho divideRedondeando(Ancho num, Ancho den) {
  // Most operands fit in 32 or 64 bits, where the division is one
  // instruction instead of a library call; products divide by the scale, a
  // constant the compiler turns into a multiplication.
  if (num >= INT32_MIN && num <= INT32_MAX && den <= INT32_MAX) {
    const auto n = static_cast<int32_t>(num);
    const auto d = static_cast<int32_t>(den);
    return redondea(n, d, n / d, n % d);
  }
  if (num >= kMin && num <= kMax && den <= kMax) {
    const auto n = static_cast<int64_t>(num);
    const auto d = static_cast<int64_t>(den);
    if (d == Moneda::kEscala) return redondea(n, d, n / Moneda::kEscala, n % Moneda::kEscala);
    return redondea(n, d, n / d, n % d);
  }
  return redondea(num, den, num / den, num % den);
}

}  // namespace

Moneda Moneda::desdeEntero(int64_t entero) {
  if (entero > kMax / kEscala || entero < kMin / kEscala) throw ErrorDesbordamiento();
  return desdeEscalado(entero * kEscala);
}

Moneda Moneda::desdeDoubleLejano(double valor) {
  if (!(std::fabs(valor) < 1e15)) throw ErrorDesbordamiento();  // NaN included
  // The whole part scales exactly; scaling the whole value in double would
  // lose the last digits of large integers.
  const double entero = std::trunc(valor);
  const double fraccion = std::nearbyint((valor - entero) * kEscala);
  return desdeEscalado(estrecha(static_cast<Ancho>(static_cast<int64_t>(entero)) * kEscala +
                                static_cast<int64_t>(fraccion)));
}

int64_t Moneda::redondeado() const {
  return static_cast<int64_t>(divideRedondeando(escalado_, kEscala));
}

int32_t Moneda::aLong() const {
  const int64_t r = redondeado();
  if (r > std::numeric_limits<int32_t>::max() || r < std::numeric_limits<int32_t>::min()) {
    throw ErrorDesbordamiento();
  }
  return static_cast<int32_t>(r);
}

Moneda Moneda::suelo() const {
  int64_t q = escalado_ / kEscala;
  if (escalado_ % kEscala < 0) --q;
  return desdeEscalado(q * kEscala);
}

Moneda Moneda::resto(int32_t modulo) const {
  const int64_t m = int64_t{modulo} * kEscala;
  if (m == 0) throw ErrorDivisionPorCero();
  return desdeEscalado(escalado_ % m);
}

std::string Moneda::aTexto() const {
  const bool negativo = escalado_ < 0;
  const unsigned __int128 absoluto = negativo ? -static_cast<Ancho>(escalado_) : escalado_;
  const auto entero = static_cast<uint64_t>(absoluto / kEscala);
  auto fraccion = static_cast<uint64_t>(absoluto % kEscala);
  std::string texto = (negativo ? "-" : "") + std::to_string(entero);
  if (fraccion != 0) {
    std::string decimales = std::to_string(fraccion + kEscala).substr(1);
    while (decimales.back() == '0') decimales.pop_back();
    texto += "." + decimales;
  }
  return texto;
}

Moneda Moneda::operator-() const { return desdeEscalado(estrecha(-static_cast<Ancho>(escalado_))); }

Moneda& Moneda::operator+=(Moneda otro) {
  escalado_ = estrecha(static_cast<Ancho>(escalado_) + otro.escalado_);
  return *this;
}

Moneda& Moneda::operator-=(Moneda otro) {
  escalado_ = estrecha(static_cast<Ancho>(escalado_) - otro.escalado_);
  return *this;
}

Moneda& Moneda::operator*=(Moneda otro) {
  escalado_ = estrecha(divideRedondeando(static_cast<Ancho>(escalado_) * otro.escalado_, kEscala));
  return *this;
}

Moneda& Moneda::operator/=(Moneda otro) {
  if (otro.escalado_ == 0) throw ErrorDivisionPorCero();
  Ancho num = static_cast<Ancho>(escalado_) * kEscala;
  Ancho den = otro.escalado_;
  if (den < 0) num = -num, den = -den;
  escalado_ = estrecha(divideRedondeando(num, den));
  return *this;
}

int32_t aLong(double valor) {
  const double r = std::nearbyint(valor);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw ErrorDesbordamiento();
  return static_cast<int32_t>(r);
}

}  // namespace kestrin
