// Keyed collection of counted fragments and its quicksort by count.
#include "tarnel/orvresultado.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "kestrin/errores.h"

namespace tarnel {
namespace {

int32_t suma(int32_t a, int32_t b) {
  int32_t resultado = 0;
  if (__builtin_add_overflow(a, b, &resultado)) throw kestrin::ErrorDesbordamiento();
  return resultado;
}

}  // namespace

std::shared_ptr<ORVItemTexto> ORVResultado::Add(VistaCadena texto, int32_t frecuencia) {
  const Cadena clave = kestrin::enMinusculas(texto);
  const auto existente = porClave_.find(clave);
  const int32_t total = suma(total_, frecuencia);
  if (existente != porClave_.end()) {
    auto& item = existente->second;
    item->setFrecuencia(suma(item->Frecuencia(), frecuencia));
    total_ = total;
    return item;
  }
  auto item = std::make_shared<ORVItemTexto>();
  item->setTexto(Cadena(texto));
  item->setFrecuencia(frecuencia);
  items_.push_back(item);
  porClave_.emplace(clave, item);
  total_ = total;
  return item;
}

std::shared_ptr<ORVItemTexto> ORVResultado::Item(int32_t posicion) const {
  if (posicion < 1 || posicion > Count()) throw kestrin::ErrorSubindice();
  return items_[posicion - 1];
}

std::shared_ptr<ORVItemTexto> ORVResultado::Item(VistaCadena clave) const {
  const auto existente = porClave_.find(kestrin::enMinusculas(clave));
  if (existente == porClave_.end()) kestrin::lanzaError(kestrin::kArgumentoNoValido);
  return existente->second;
}

void ORVResultado::quita(size_t indice) {
  const auto item = items_[indice];
  std::erase_if(porClave_, [&](const auto& par) { return par.second == item; });
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(indice));
  total_ -= item->Frecuencia();
}

void ORVResultado::Remove(int32_t posicion) {
  if (posicion >= 1 && posicion <= Count()) quita(static_cast<size_t>(posicion - 1));
}

void ORVResultado::Remove(VistaCadena clave) {
  const auto existente = porClave_.find(kestrin::enMinusculas(clave));
  if (existente == porClave_.end()) return;
  const auto posicion = std::find(items_.begin(), items_.end(), existente->second);
  quita(static_cast<size_t>(posicion - items_.begin()));
}

void ORVResultado::Vacia() {
  items_.clear();
  porClave_.clear();
  total_ = 0;
}

void ORVResultado::Ordena() {
  if (Count() > 1) ordena(1, Count());
}

void ORVResultado::ordena(int32_t bajo, int32_t alto) {
  // The two halves left by a partition are independent, so sorting the
  // smaller one by recursion and the larger one in the loop gives the same
  // order as recursing on both, with a stack depth of log2(Count) at most.
  while (bajo < alto) {
    const auto frecuencia = [this](int32_t posicion) { return items_[posicion - 1]->Frecuencia(); };
    // The middle position, halves rounded to even.
    const int32_t medio = static_cast<int32_t>(std::nearbyint((bajo + alto) / 2.0));
    const int32_t pivote = frecuencia(medio);
    int32_t i = bajo;
    int32_t j = alto;
    while (i <= j) {
      while (frecuencia(i) > pivote) ++i;
      while (frecuencia(j) < pivote) --j;
      if (i <= j) {
        auto& a = *items_[i - 1];
        auto& b = *items_[j - 1];
        std::swap(a, b);
        ++i;
        --j;
      }
    }
    if (j - bajo < alto - i) {
      if (bajo < j) ordena(bajo, j);
      bajo = i;
    } else {
      if (i < alto) ordena(i, alto);
      alto = j;
    }
  }
}

}  // namespace tarnel
