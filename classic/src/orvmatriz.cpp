// Matrices modulo 64.
#include "tarnel/orvmatriz.h"

#include <limits>

#include "kestrin/errores.h"
#include "kestrin/orvmcd.h"
#include "tarnel/alfabeto.h"

namespace tarnel {
namespace {

uint8_t reduce64(int64_t valor) {
  return static_cast<uint8_t>(((valor % ORVNumCar) + ORVNumCar) % ORVNumCar);
}

int64_t en32(int64_t valor) {
  if (valor > std::numeric_limits<int32_t>::max() || valor < std::numeric_limits<int32_t>::min()) {
    throw kestrin::ErrorDesbordamiento();
  }
  return valor;
}

}  // namespace

size_t ORVMatriz::celda(int32_t fila, int32_t columna) const {
  if (fila < 1 || fila > filas_ || columna < 1 || columna > columnas_) {
    throw kestrin::ErrorSubindice();
  }
  return static_cast<size_t>(fila - 1) * static_cast<size_t>(columnas_) +
         static_cast<size_t>(columna - 1);
}

int32_t ORVMatriz::Elemento(int32_t fila, int32_t columna) const {
  return elementos_[celda(fila, columna)];
}

void ORVMatriz::setElemento(int32_t fila, int32_t columna, int32_t valor) {
  elementos_[celda(fila, columna)] = reduce64(valor);
}

void ORVMatriz::redimensiona(int32_t filas, int32_t columnas) {
  kestrin::traduceExcepciones([&] {
    if (filas > 0 && columnas > 0) {
      if (int64_t{filas} * columnas > kElementosLimite) {
        kestrin::lanzaError(kestrin::kMemoriaInsuficiente);
      }
      elementos_.assign(static_cast<size_t>(filas) * static_cast<size_t>(columnas), 0);
      filas_ = filas;
      columnas_ = columnas;
    }
    numFilas_ = filas;
    numColumnas_ = columnas;
  });
}

void ORVMatriz::setNumFilas(int32_t filas) { redimensiona(filas, numColumnas_); }

void ORVMatriz::setNumColumnas(int32_t columnas) { redimensiona(numFilas_, columnas); }

void ORVMatriz::F1(int32_t i, int32_t j) {
  celda(i, 1);
  celda(j, 1);
  for (int32_t c = 1; c <= columnas_; ++c) std::swap(elementos_[celda(i, c)], elementos_[celda(j, c)]);
}

void ORVMatriz::F2(int32_t i, int32_t k) {
  kestrin::traduceExcepciones([&] {
    celda(i, 1);
    std::vector<uint8_t> fila(static_cast<size_t>(columnas_));
    for (int32_t c = 1; c <= columnas_; ++c) {
      fila[static_cast<size_t>(c - 1)] = reduce64(en32(int64_t{Elemento(i, c)} * k));
    }
    for (int32_t c = 1; c <= columnas_; ++c)
      elementos_[celda(i, c)] = fila[static_cast<size_t>(c - 1)];
  });
}

void ORVMatriz::F3(int32_t i, int32_t j, int32_t k) {
  kestrin::traduceExcepciones([&] {
    celda(i, 1);
    celda(j, 1);
    std::vector<uint8_t> fila(static_cast<size_t>(columnas_));
    for (int32_t c = 1; c <= columnas_; ++c) {
      const int64_t suma = Elemento(i, c) + en32(int64_t{k} * Elemento(j, c));
      fila[static_cast<size_t>(c - 1)] = reduce64(en32(suma));
    }
    for (int32_t c = 1; c <= columnas_; ++c)
      elementos_[celda(i, c)] = fila[static_cast<size_t>(c - 1)];
  });
}

std::shared_ptr<ORVMatriz> ORVMatriz::Reduce() const {
  return kestrin::traduceExcepciones([&]() -> std::shared_ptr<ORVMatriz> {
    auto r = std::make_shared<ORVMatriz>(*this);
    kestrin::ORVmcd euclides;
    euclides.setNumero1(kestrin::Moneda(ORVNumCar));
    int32_t p = 1;
    for (int32_t c = 1; c <= numColumnas_ && p <= numFilas_; ++c) {
      int32_t pivote = 0;
      int32_t inverso = 0;
      for (int32_t i = p; i <= numFilas_ && pivote == 0; ++i) {
        euclides.setNumero2(kestrin::Moneda(r->Elemento(i, c)));
        if (euclides.mcd() == kestrin::Moneda(1)) {
          pivote = i;
          inverso = reduce64(euclides.Coeficiente2().aLong());
        }
      }
      if (pivote == 0) continue;
      if (pivote > p) r->F1(pivote, p);
      if (r->Elemento(p, c) != 1) r->F2(p, inverso);
      for (int32_t m = 1; m <= numFilas_; ++m) {
        if (m != p && r->Elemento(m, c) != 0) r->F3(m, p, -r->Elemento(m, c));
      }
      ++p;
    }
    return r;
  });
}

std::shared_ptr<ORVMatriz> ORVMatriz::Inversa() const {
  return kestrin::traduceExcepciones([&]() -> std::shared_ptr<ORVMatriz> {
    if (numFilas_ != numColumnas_ || numFilas_ < 1) return nullptr;
    const int32_t n = numFilas_;
    ORVMatriz ampliada;
    ampliada.setNumFilas(n);
    ampliada.setNumColumnas(2 * n);
    for (int32_t i = 1; i <= n; ++i) {
      for (int32_t j = 1; j <= n; ++j) ampliada.setElemento(i, j, Elemento(i, j));
      ampliada.setElemento(i, n + i, 1);
    }
    const auto reducida = ampliada.Reduce();
    for (int32_t k = 1; k <= n; ++k) {
      if (reducida->Elemento(k, k) != 1) return nullptr;
    }
    auto inversa = std::make_shared<ORVMatriz>();
    inversa->setNumFilas(n);
    inversa->setNumColumnas(n);
    for (int32_t i = 1; i <= n; ++i) {
      for (int32_t j = 1; j <= n; ++j) inversa->setElemento(i, j, reducida->Elemento(i, n + j));
    }
    return inversa;
  });
}

std::shared_ptr<ORVMatriz> ORVMatriz::Por(const std::shared_ptr<ORVMatriz>& a) const {
  return kestrin::traduceExcepciones([&]() -> std::shared_ptr<ORVMatriz> {
    if (!a || a->numFilas_ != numColumnas_) return nullptr;
    auto producto = std::make_shared<ORVMatriz>();
    producto->setNumFilas(numFilas_);
    producto->setNumColumnas(a->numColumnas_);
    for (int32_t i = 1; i <= numFilas_; ++i) {
      for (int32_t c = 1; c <= a->numColumnas_; ++c) {
        int32_t suma = 0;
        for (int32_t j = 1; j <= numColumnas_; ++j) {
          suma = (suma + Elemento(i, j) * a->Elemento(j, c)) % ORVNumCar;
        }
        producto->setElemento(i, c, suma);
      }
    }
    return producto;
  });
}

}  // namespace tarnel
