// Block counting and the indices derived from counts.
#include "recuento.h"

#include <cmath>
#include <limits>

#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"

namespace tarnel::recuento {
namespace {

constexpr int32_t kTamDirecto = 3;  // 64^3 counters: one megabyte
constexpr size_t kAnchoUno = ORVNumCar + 1;  // one table of blocks of one symbol
// Long blocks are kept by their text. A large block size on a long text makes
// nearly every block distinct; past these bounds (a few hundred megabytes)
// the count stops with the out-of-memory error instead of exhausting memory.
constexpr size_t kMaxBloquesLargos = size_t{2} << 20;
constexpr size_t kMaxSimbolosLargos = size_t{16} << 20;

int32_t cuenta32(uint64_t cuenta) {
  if (cuenta > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    throw kestrin::ErrorDesbordamiento();
  }
  return static_cast<int32_t>(cuenta);
}

}  // namespace

Contador::Contador(int32_t tam) : tam_(tam) {
  if (tam_ == 1) {
    uno_.assign(4 * kAnchoUno, 0);
  } else if (tam_ > 1 && tam_ <= kTamDirecto) {
    cuentas_.assign(size_t{1} << (6 * tam_), 0);
  }
}

void Contador::anadeTexto(VistaCadena texto) {
  if (tam_ != 1) {
    for (const char32_t c : texto) {
      const int v = alfabeto::valor(c);
      if (v >= 0) anade(v);
    }
    return;
  }
  // Count first, without a branch per character, into four interleaved
  // tables so that repeated symbols do not wait on each other's increment;
  // then, only if the piece brought symbols not seen before, find the order
  // in which they appear.
  uint32_t* t0 = uno_.data() + 1;
  uint32_t* t1 = t0 + kAnchoUno;
  uint32_t* t2 = t1 + kAnchoUno;
  uint32_t* t3 = t2 + kAnchoUno;
  const char32_t* c = texto.data();
  const char32_t* const fin = c + texto.size();
  for (; fin - c >= 4; c += 4) {
    ++t0[alfabeto::valor(c[0])];
    ++t1[alfabeto::valor(c[1])];
    ++t2[alfabeto::valor(c[2])];
    ++t3[alfabeto::valor(c[3])];
  }
  for (; c < fin; ++c) ++t0[alfabeto::valor(*c)];
  uint64_t nuevos = 0;
  for (uint64_t sinVer = ~vistos_; sinVer != 0; sinVer &= sinVer - 1) {
    const int v = __builtin_ctzll(sinVer);
    if (t0[v] + t1[v] + t2[v] + t3[v] != 0) nuevos |= uint64_t{1} << v;
  }
  vistos_ |= nuevos;
  for (const char32_t car : texto) {
    if (nuevos == 0) break;
    const int v = alfabeto::valor(car);
    if (v >= 0 && (nuevos >> v) & 1) {
      orden_.push_back(static_cast<uint32_t>(v));
      nuevos &= ~(uint64_t{1} << v);
    }
  }
}

void Contador::anadeLargo(int valor) {
  if (tam_ <= kTamDirecto) {
    codigo_ = ((codigo_ << 6) | static_cast<uint32_t>(valor)) & ((1u << (6 * tam_)) - 1);
    if (++llenos_ < tam_) return;
    llenos_ = tam_;
    if (cuentas_[codigo_]++ == 0) orden_.push_back(codigo_);
    return;
  }
  bloque_.push_back(alfabeto::simbolo(valor));
  if (bloque_.size() < static_cast<size_t>(tam_)) return;
  const auto [sitio, nuevo] = indice_.try_emplace(bloque_, largos_.size());
  if (nuevo) {
    if (largos_.size() >= kMaxBloquesLargos ||
        (largos_.size() + 1) * bloque_.size() > kMaxSimbolosLargos) {
      indice_.erase(sitio);
      kestrin::lanzaError(kestrin::kMemoriaInsuficiente);
    }
    largos_.emplace_back(bloque_, 1);
  } else {
    ++largos_[sitio->second].second;
  }
  bloque_.erase(0, 1);
}

void Contador::vuelca(ORVResultado& resultado) const {
  if (tam_ > kTamDirecto) {
    for (const auto& [texto, cuenta] : largos_) resultado.Add(texto, cuenta32(cuenta));
    return;
  }
  Cadena texto(static_cast<size_t>(std::max(tam_, 0)), U'·');
  const auto cuenta = [this](uint32_t codigo) -> uint64_t {
    if (tam_ != 1) return cuentas_[codigo];
    uint64_t total = 0;
    for (size_t t = 0; t < 4; ++t) total += uno_[t * kAnchoUno + 1 + codigo];
    return total;
  };
  for (const uint32_t codigo : orden_) {
    for (int32_t i = 0; i < tam_; ++i) {
      texto[static_cast<size_t>(i)] = alfabeto::simbolo(static_cast<int>(codigo >> (6 * (tam_ - 1 - i))));
    }
    resultado.Add(texto, cuenta32(cuenta(codigo)));
  }
}

Moneda log2(double x) { return Moneda::desdeDouble(std::log(x) / std::log(2.0)); }

Moneda indiceCoincidencia(const ORVResultado& resultado) {
  const int64_t total = resultado.Total();
  if (total < 2) return Moneda();
  int64_t suma = 0;
  for (const auto& item : resultado) {
    const int64_t f = item->Frecuencia();
    suma += f * (f - 1);
  }
  return Moneda::desdeDouble(static_cast<double>(suma) /
                             (static_cast<double>(total) * static_cast<double>(total - 1)));
}

Moneda entropia(const ORVResultado& resultado) {
  const int32_t total = resultado.Total();
  if (total < 1) return Moneda();
  Moneda suma;
  for (const auto& item : resultado) {
    const int32_t f = item->Frecuencia();
    if (f > 0) suma += Moneda(f) * log2(f);
  }
  return log2(total) - Moneda::desdeDouble(suma.aDouble() * (1.0 / total));
}

VistaCadena sinEtiqueta(VistaCadena texto) {
  if (kestrin::etiqueta::busca(texto, /*sinMayusculas=*/true)) {
    return texto.substr(kestrin::etiqueta::kLongitud);
  }
  return texto;
}

int32_t longitud32(size_t longitud) { return cuenta32(longitud); }

}  // namespace tarnel::recuento
