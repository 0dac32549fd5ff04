// Matrices of integers modulo 64.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "kestrin/objeto.h"

namespace tarnel {

// A matrix whose elements are held reduced to 0..63, with the elementary row
// operations, Gauss-Jordan reduction, inversion and product modulo 64.
// Rows and columns are 1-based; an index outside the element table raises
// ErrorSubindice.
class ORVMatriz : public kestrin::Objeto {
 public:
  // Largest element table: 16 M elements.
  static constexpr int64_t kElementosLimite = int64_t{1} << 24;

  // The default member. Writing reduces the value into 0..63.
  int32_t Elemento(int32_t fila, int32_t columna) const;
  void setElemento(int32_t fila, int32_t columna, int32_t valor);

  // Writing stores the value; when both dimensions are then above 0 the
  // element table is re-created with them, all 0. A table above
  // kElementosLimite raises error 7 and changes nothing.
  int32_t NumFilas() const { return numFilas_; }
  void setNumFilas(int32_t filas);
  int32_t NumColumnas() const { return numColumnas_; }
  void setNumColumnas(int32_t columnas);

  // Exchanges rows i and j.
  void F1(int32_t i, int32_t j);
  // Multiplies row i by k. A product beyond 32 bits raises
  // ErrorDesbordamiento and leaves the row unchanged.
  void F2(int32_t i, int32_t k);
  // Adds k times row j to row i; beyond 32 bits, as F2.
  void F3(int32_t i, int32_t j, int32_t k);

  // The reduced row echelon form modulo 64 of a copy: pivots are the first
  // odd (invertible) element of each column at or below the pivot row.
  std::shared_ptr<ORVMatriz> Reduce() const;
  // The inverse modulo 64, or no object when the matrix is not square or
  // not invertible.
  std::shared_ptr<ORVMatriz> Inversa() const;
  // this x a, or no object when a is absent or a.NumFilas != NumColumnas.
  std::shared_ptr<ORVMatriz> Por(const std::shared_ptr<ORVMatriz>& a) const;

 private:
  void redimensiona(int32_t filas, int32_t columnas);
  size_t celda(int32_t fila, int32_t columna) const;

  int32_t numFilas_ = 0;
  int32_t numColumnas_ = 0;
  // The element table keeps its own bounds: writing one dimension below 1
  // leaves it as it was.
  int32_t filas_ = 0;
  int32_t columnas_ = 0;
  std::vector<uint8_t> elementos_;
};

}  // namespace tarnel
