// Hill cryptosystem.
#include "tarnel/orvcriptohill.h"

#include <vector>

#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "recuento.h"

namespace tarnel {

ORVCriptoHill::ORVCriptoHill() : clave_(std::make_shared<ORVMatriz>()) {}

void ORVCriptoHill::setTamClave(int32_t n) {
  kestrin::traduceExcepciones([&] {
    if (n > kTamMaximo) kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
    clave_->setNumColumnas(n);
    clave_->setNumFilas(n);
    tamClave_ = n;
    eventos.CambiaTamaño.lanza(n);
  });
}

void ORVCriptoHill::compruebaForma(const ORVMatriz& matriz) const {
  if (matriz.NumFilas() != tamClave_ || matriz.NumColumnas() != tamClave_) {
    throw kestrin::ErrorSubindice();
  }
}

// The key is checked first: reshaped through the shared reference it could be
// far beyond kTamMaximo, and inverting it would take minutes.
std::shared_ptr<ORVMatriz> ORVCriptoHill::ClaveInversa() const {
  return kestrin::traduceExcepciones([&]() -> std::shared_ptr<ORVMatriz> {
    compruebaForma(*clave_);
    return clave_->Inversa();
  });
}

Cadena ORVCriptoHill::multiplica(VistaCadena texto, const ORVMatriz& matriz,
                                 bool descifrando) const {
  const auto n = static_cast<size_t>(tamClave_);
  compruebaForma(matriz);
  std::vector<uint32_t> m(n * n);
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = 0; j < n; ++j) {
      m[i * n + j] = static_cast<uint32_t>(
          matriz.Elemento(static_cast<int32_t>(i + 1), static_cast<int32_t>(j + 1)));
    }
  }
  Cadena salida;
  salida.reserve(texto.size() + n);
  std::vector<uint32_t> bloque(n, 0);
  size_t pos = 0;
  // A new block starts while characters remain, even if none of them is in
  // the alphabet: such a tail gives one block of padding.
  while (pos < texto.size()) {
    if (descifrando) {
      // Every character takes its place; one outside the alphabet keeps the
      // value of the previous block there.
      for (size_t k = 0; k < n; ++k) {
        if (pos < texto.size()) {
          const int v = alfabeto::valor(texto[pos++]);
          if (v >= 0) bloque[k] = static_cast<uint32_t>(v);
        } else {
          bloque[k] = 0;
        }
      }
    } else {
      size_t k = 0;
      while (k < n && pos < texto.size()) {
        const int v = alfabeto::valor(texto[pos++]);
        if (v >= 0) bloque[k++] = static_cast<uint32_t>(v);
      }
      for (; k < n; ++k) bloque[k] = 0;
    }
    for (size_t i = 0; i < n; ++i) {
      uint32_t suma = 0;
      for (size_t j = 0; j < n; ++j) suma = (suma + m[i * n + j] * bloque[j]) & 63u;
      salida.push_back(alfabeto::simbolo(static_cast<int>(suma)));
    }
  }
  return salida;
}

void ORVCriptoHill::Cifra() {
  kestrin::traduceExcepciones([&] {
    if (tamClave_ < 1) return;
    setTextoCifrado(salida(multiplica(entrada(TextoOriginal()), *clave_, false), kestrin::CSKHill));
    eventos.Cifrado.lanza();
  });
}

void ORVCriptoHill::Descifra() {
  kestrin::traduceExcepciones([&] {
    if (tamClave_ < 1) return;
    const auto inversa = ClaveInversa();
    if (!inversa) return;
    const Cadena claro = multiplica(recuento::sinEtiqueta(entrada(TextoCifrado())), *inversa, true);
    setTextoOriginal(salida(claro, kestrin::CSKNone));
    eventos.DesCifrado.lanza();
  });
}

}  // namespace tarnel
