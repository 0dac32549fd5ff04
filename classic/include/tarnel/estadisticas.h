// Statistics of a language over the 64-symbol alphabet: the counts of its
// symbols and of its blocks of two, three and four symbols, from which the
// solvers derive symbol frequencies and n-gram log-probabilities.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "tarnel/alfabeto.h"

namespace tarnel {

// Counts of the overlapping blocks of 1 to 4 symbols of a text folded onto
// the alphabet (characters outside it are dropped, as the ciphers drop them).
//
// Text form (UTF-8, one item a line, "#" starts a comment line):
//   orvane-estadisticas 1
//   excluidos <characters of the source left out at its end>
//   orden <n> <total blocks> <distinct blocks>
//   <block of n symbols> <count>        (one line per block seen)
// for n = 1, 2, 3, 4 in this order. Symbols are written as the alphabet's own
// characters ("·" the space), so a block never holds a blank.
//
// Log-probabilities (natural logarithms) are derived when read: a symbol's
// with add-one-half smoothing, a block's as the probability of its last
// symbol after the others, from the longest context seen and a factor 0.4 for
// each step back to a shorter one.
class EstadisticasLengua {
 public:
  // Counts `texto` whole.
  static EstadisticasLengua Cuenta(VistaCadena texto);
  // Counts `texto` without its last `excluidos` characters (moved back to the
  // start of the line they fall in), held out to measure the solvers on text
  // the statistics have not seen.
  static EstadisticasLengua Cuenta(VistaCadena texto, size_t excluidos);

  // Reads the text form; a malformed text raises ErrorORV 5 (naming the line)
  // with nothing read.
  static EstadisticasLengua Lee(std::istream& entrada);
  // Reads a file; a missing or unreadable file raises ErrorORV 326.
  static EstadisticasLengua LeeFichero(const std::string& ruta);
  // Writes the text form, blocks of each order by decreasing count (ties in
  // alphabet order), so that the same text always gives the same file.
  void Escribe(std::ostream& salida) const;

  // Characters left out at the end of the source.
  uint64_t Excluidos() const { return excluidos_; }
  // Blocks of n symbols (1..4) counted, and the count of one of them (a
  // block of another length, or with a character outside the alphabet, is 0).
  uint64_t Total(int32_t n) const;
  uint64_t CuentaBloque(VistaCadena bloque) const;

  // Relative frequency of the symbol of value v (0..63; outside, ErrorSubindice).
  double Frecuencia(int32_t v) const;
  // Natural logarithm of the smoothed probability of the symbol v.
  double LogFrecuencia(int32_t v) const;
  // Index of coincidence expected of a text of the language: the sum of the
  // squared frequencies.
  double IndiceCoincidencia() const;
  // Log-probability of the last symbol of `bloque` (1 to 4 symbols, each
  // folded) after the others; another length or a character outside the
  // alphabet raises ErrorORV 5.
  double LogProbabilidad(VistaCadena bloque) const;

  // The same from block codes (6 bits a symbol, the first the highest), for
  // n = 1..4 symbols; internal to the solvers.
  double logCondicional(int n, uint32_t codigo) const;

 private:
  friend class ModeloCuadrigramas;
  EstadisticasLengua();
  // Counts of the blocks of n symbols by code.
  uint64_t cuenta(int n, uint32_t codigo) const;
  // Counts of the blocks of n + 1 symbols that begin with the context `codigo`.
  uint64_t fila(int n, uint32_t codigo) const;
  // Fills the row sums from the counts.
  void completa();

  uint64_t excluidos_ = 0;
  std::array<uint64_t, 5> totales_{};
  std::vector<uint64_t> uno_;    // 64, by value
  std::vector<uint32_t> dos_;    // 64^2, by code
  std::vector<uint32_t> tres_;   // 64^3, by code
  std::unordered_map<uint32_t, uint32_t> cuatro_;  // by code
  std::vector<uint64_t> filas1_;  // 64: blocks of two by their first symbol
  std::vector<uint64_t> filas2_;  // 64^2: blocks of three by their first two
  std::vector<uint32_t> filas3_;  // 64^3: blocks of four by their first three
};

// The statistics the solvers use: those shipped with the library (the file
// es.estadisticas beside the library's own file), read on first use. Missing
// or malformed, the solvers raise ErrorORV 326. Safe from any thread.
std::shared_ptr<const EstadisticasLengua> EstadisticasEnUso();
// Makes the statistics of the file `ruta` those of the process (for a
// user's own language or corpus); errors as LeeFichero, leaving the previous
// ones in use.
void UsaEstadisticas(const std::string& ruta);
// Where the shipped statistics are looked for.
std::string RutaEstadisticas();

}  // namespace tarnel
