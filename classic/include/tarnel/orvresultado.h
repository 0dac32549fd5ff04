// Counted text fragments: the results of frequency analyses.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "kestrin/objeto.h"
#include "tarnel/alfabeto.h"

namespace tarnel {

// One fragment and its count.
class ORVItemTexto : public kestrin::Objeto {
 public:
  const Cadena& Texto() const { return texto_; }
  void setTexto(Cadena texto) { texto_ = std::move(texto); }
  int32_t Frecuencia() const { return frecuencia_; }
  void setFrecuencia(int32_t frecuencia) { frecuencia_ = frecuencia; }

 private:
  Cadena texto_;
  int32_t frecuencia_ = 0;
};

// Fragments in insertion order, keyed case-insensitively by the text they were
// added with, with the running Total of the counts.
class ORVResultado : public kestrin::Objeto {
 public:
  using Items = std::vector<std::shared_ptr<ORVItemTexto>>;

  // Adds `frecuencia` to the item with that key, appending it when new.
  // Raises ErrorDesbordamiento, changing nothing, if a count leaves 32 bits.
  std::shared_ptr<ORVItemTexto> Add(VistaCadena texto, int32_t frecuencia = 1);

  // 1-based position; out of range raises ErrorSubindice.
  std::shared_ptr<ORVItemTexto> Item(int32_t posicion) const;
  // By key; a missing key raises the invalid-argument error (5).
  std::shared_ptr<ORVItemTexto> Item(VistaCadena clave) const;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }

  // Removes the item and subtracts its count from Total; a missing item is ignored.
  void Remove(int32_t posicion);
  void Remove(VistaCadena clave);

  // Removes every item and sets Total to 0.
  void Vacia();

  // Sorts by count, largest first, by swapping the contents of the items; the
  // keys stay with the item objects, so read a sorted result by position.
  void Ordena();

  int32_t Total() const { return total_; }
  void setTotal(int32_t total) { total_ = total; }

  Items::const_iterator begin() const { return items_.begin(); }
  Items::const_iterator end() const { return items_.end(); }

 private:
  void quita(size_t indice);
  void ordena(int32_t bajo, int32_t alto);

  Items items_;
  std::unordered_map<Cadena, std::shared_ptr<ORVItemTexto>> porClave_;
  int32_t total_ = 0;
};

}  // namespace tarnel
