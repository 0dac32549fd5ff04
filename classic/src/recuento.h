// Block counting and the indices derived from counts, shared by the analyser
// and the cryptanalysis of the periodic ciphers.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "kestrin/moneda.h"
#include "tarnel/alfabeto.h"
#include "tarnel/orvresultado.h"

namespace tarnel::recuento {

using kestrin::Moneda;

// Counts the overlapping blocks of `tam` consecutive symbols, remembering the
// order in which each block first appeared (the order an analyser adds them to
// its result, which decides how the unstable sort orders equal counts).
// Blocks of up to three symbols are counted in a direct table indexed by their
// values, longer ones by their text, up to a few million distinct blocks
// (beyond them the out-of-memory error, 7). A size below 1 counts nothing.
class Contador {
 public:
  explicit Contador(int32_t tam);

  // One symbol value 0..63.
  void anade(int valor) {
    if (tam_ == 1) {
      if (uno_[static_cast<size_t>(valor) + 1]++ == 0) {
        orden_.push_back(static_cast<uint32_t>(valor));
        vistos_ |= uint64_t{1} << valor;
      }
    } else if (tam_ > 1) {
      anadeLargo(valor);
    }
  }

  // Every symbol of a text; characters outside the alphabet are skipped.
  void anadeTexto(VistaCadena texto);

  // Adds every block to `resultado` with its count, in order of first
  // appearance. A count or total beyond 32 bits raises ErrorDesbordamiento.
  void vuelca(ORVResultado& resultado) const;

 private:
  void anadeLargo(int valor);

  int32_t tam_;
  // Blocks of one symbol: four tables of counters by value + 1 (index 0
  // takes the characters outside the alphabet, so the loop needs no branch),
  // summed when read, and the symbols seen so far.
  std::vector<uint32_t> uno_;
  uint64_t vistos_ = 0;
  std::vector<uint32_t> cuentas_;  // by block code, for 2 <= tam_ <= 3
  std::vector<uint32_t> orden_;    // block codes in order of first appearance
  uint32_t codigo_ = 0;
  int32_t llenos_ = 0;
  // Longer blocks.
  Cadena bloque_;
  std::unordered_map<Cadena, size_t> indice_;
  std::vector<std::pair<Cadena, uint32_t>> largos_;
};

// Log2 of x rounded to four decimals.
Moneda log2(double x);

// Sum of f*(f-1) / (T*(T-1)) over the items (T = Total), four decimals; 0
// when T < 2. Computed in 64 bits, so texts of any countable size fit.
Moneda indiceCoincidencia(const ORVResultado& resultado);

// Shannon entropy in bits per block: Log2(T) - (1/T) * sum of f*Log2(f), with
// each Log2 and the product by 1/T rounded to four decimals; 0 when T < 1.
Moneda entropia(const ORVResultado& resultado);

// sum / (longitud1 * longitud2) to four decimals; 0 when a length is 0.
// Inline: the shift search takes thousands of them.
inline Moneda indiceMutuo(int64_t suma, size_t longitud1, size_t longitud2) {
  if (longitud1 == 0 || longitud2 == 0) return Moneda();
  return Moneda::desdeDouble(static_cast<double>(suma) /
                             (static_cast<double>(longitud2) * static_cast<double>(longitud1)));
}

// The text after a leading tag (tag word in any case), or the whole text.
VistaCadena sinEtiqueta(VistaCadena texto);

// A length as the 32-bit count the events carry; beyond it, ErrorDesbordamiento.
int32_t longitud32(size_t longitud);

}  // namespace tarnel::recuento
