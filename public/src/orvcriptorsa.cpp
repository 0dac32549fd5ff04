// RSA cryptosystem.
#include "halvard/orvcriptorsa.h"

#include "kestrin/errores.h"
#include "numbrel/orvbignum.h"

namespace halvard {
namespace {

// The library's one big-number service, created at first use.
numbrel::ORVBigNum& servicio() {
  static numbrel::ORVBigNum unico;
  return unico;
}

bool empiezaPorDigito(const Cadena& s) { return !s.empty() && s.front() >= U'0' && s.front() <= U'9'; }

// Keeps a typing slip in the block size from building absurd numbers.
constexpr int32_t kMaxTamBloque = 4096;

// Every block slot is an empty text of 32 bytes before any digit: more blocks
// than this (as the knapsack allows) are refused before the list is made.
constexpr int32_t kMaxBloques = 1 << 24;

}  // namespace

ORVCriptoRSA::ORVCriptoRSA() = default;

const Cadena& ORVCriptoRSA::ClaveFactor(int32_t indice) const {
  if (indice != 1 && indice != 2) throw kestrin::ErrorSubindice();
  return factores_[static_cast<size_t>(indice - 1)];
}

void ORVCriptoRSA::setClaveFactor(int32_t indice, VistaCadena valor) {
  if (indice != 1 && indice != 2) throw kestrin::ErrorSubindice();
  factores_[static_cast<size_t>(indice - 1)] = Cadena(valor);
  eventos.CambiaClave.lanza();
}

void ORVCriptoRSA::setExponente(VistaCadena valor) {
  exponente_ = Cadena(valor);
  eventos.CambiaClave.lanza();
}

void ORVCriptoRSA::setClave(VistaCadena valor) {
  kestrin::traduceExcepciones([&] {
    numBits_ = servicio().NumBits(Cadena(valor));
    clave_ = Cadena(valor);
    eventos.CambiaClave.lanza();
  });
}

void ORVCriptoRSA::setClavePrivada(VistaCadena valor) {
  clavePrivada_ = Cadena(valor);
  eventos.CambiaClave.lanza();
}

void ORVCriptoRSA::setTamBloque(int32_t caracteres) {
  // A block of no characters would make the block count a division by zero.
  if (caracteres < 1 || caracteres > kMaxTamBloque) {
    kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
  }
  tamBloque_ = caracteres;
  eventos.CambiaClave.lanza();
}

void ORVCriptoRSA::setNumBloques(int32_t n) {
  if (n > kMaxBloques) kestrin::lanzaError(kestrin::kMemoriaInsuficiente);
  kestrin::traduceExcepciones([&] {
    bloques_.crea(n);
    numBloques_ = n;
  });
}

const Cadena& ORVCriptoRSA::TextoCifrado(int32_t i) const { return bloques_[i]; }

void ORVCriptoRSA::setTextoCifrado(int32_t i, VistaCadena valor) { bloques_[i] = Cadena(valor); }

void ORVCriptoRSA::informa(bool ok, const Cadena& mensaje) {
  eventos.ConstruyeClave.lanza(ok, mensaje);
}

void ORVCriptoRSA::ConstruyeClave() {
  kestrin::traduceExcepciones([&] {
    const Cadena& p = factores_[0];
    const Cadena& q = factores_[1];
    if (p.empty() || q.empty() || exponente_.empty()) return;
    auto& big = servicio();

    Cadena minimo;
    for (int32_t i = 0; i < tamBloque_; ++i) minimo += U"255";
    for (const Cadena& factor : factores_) {
      if (!big.EsPrimo(factor)) {
        informa(false, U"Cada factor debe ser primo.");
        setClave(U"");
        return;
      }
      if (big.Max(minimo, factor) != 2) {
        informa(false, U"Cada factor primo debe ser mayor que " + minimo + U".");
        setClave(U"");
        return;
      }
    }
    // With p = q the modulus is a square and (p-1)^2 is not its totient, so
    // the private exponent would not decipher.
    if (big.Max(p, q) == 1) {
      informa(false, U"Los dos factores primos deben ser distintos.");
      setClave(U"");
      return;
    }
    // An exponent of 1 leaves every block as it is; a negative or zero one is
    // no power the arithmetic takes (a block of 0 would be lost).
    const int16_t orden = big.Max(U"1", exponente_);
    if (orden == 0 || orden == 1) {
      informa(false, U"El exponente debe ser mayor que 1.");
      setClave(U"");
      return;
    }
    setClave(big.Eval(U"(" + p + U")*(" + q + U")"));
    const Cadena phi = big.Eval(U"((" + p + U")-1)*((" + q + U")-1)");
    Cadena a, b, d;
    if (!big.ExMcd(exponente_, phi, a, b, d) || d != U"1") {
      informa(false, U"El exponente debe ser primo con " + phi);
      return;
    }
    setClavePrivada(big.BMod(a, phi));
    numBits_ = big.NumBits(clave_);
    informa(true, U"Clave OK");
    eventos.CambiaClave.lanza();
  });
}

void ORVCriptoRSA::Cifra() {
  kestrin::traduceExcepciones([&] {
    if (!textoOriginal_) kestrin::lanzaError(kestrin::kObjetoNoEstablecido);
    Cadena t = textoOriginal_->Texto();
    const size_t tam = static_cast<size_t>(tamBloque_);
    if (t.size() % tam != 0) t.append(tam - t.size() % tam, U' ');
    const size_t n = t.size() / tam;
    if (n > static_cast<size_t>(INT32_MAX)) throw kestrin::ErrorDesbordamiento();
    setNumBloques(static_cast<int32_t>(n));
    eventos.Inicio.lanza(numBloques_);
    auto& big = servicio();
    for (size_t i = 0; i < n; ++i) {
      const auto indice = static_cast<int32_t>(i + 1);
      eventos.Progreso.lanza(indice);
      Cadena numero;
      numero.reserve(3 * tam);
      for (size_t k = 0; k < tam; ++k) {
        const unsigned codigo = kestrin::codigoAnsi(t[i * tam + k]);
        numero += static_cast<char32_t>(U'0' + codigo / 100);
        numero += static_cast<char32_t>(U'0' + codigo / 10 % 10);
        numero += static_cast<char32_t>(U'0' + codigo % 10);
      }
      const Cadena y = big.ModPower(numero, exponente_, clave_);
      if (empiezaPorDigito(y)) bloques_[indice] = y;
    }
    eventos.Fin.lanza(numBloques_);
    eventos.Cifrado.lanza(numBloques_);
  });
}

Cadena ORVCriptoRSA::NumeroATexto(VistaCadena numero) const {
  Cadena digitos(numero.substr(0, numero.find(U'\0')));
  while (!digitos.empty() && digitos.back() == U' ') digitos.pop_back();
  while (!digitos.empty() && digitos.front() == U' ') digitos.erase(0, 1);
  // The arithmetic drops the leading zeros of a block; a whole block has
  // 3 * TamBloque digits, so a first character of code below 100 (or even 0)
  // comes back whole. A longer number (the wrong key) is read as it comes.
  const size_t completo = 3 * static_cast<size_t>(tamBloque_);
  if (digitos.size() < completo) {
    digitos.insert(0, completo - digitos.size(), U'0');
  } else if (digitos.size() % 3 != 0) {
    digitos.insert(0, 3 - digitos.size() % 3, U'0');
  }
  Cadena texto;
  texto.reserve(digitos.size() / 3);
  for (size_t i = 0; i + 3 <= digitos.size(); i += 3) {
    unsigned valor = 0;
    for (size_t k = i; k < i + 3; ++k) {
      const char32_t c = digitos[k];
      if (c >= U'0' && c <= U'9') valor = valor * 10 + (c - U'0');
    }
    texto += kestrin::caracterAnsi(static_cast<uint8_t>(valor & 255));
  }
  return texto;
}

void ORVCriptoRSA::Descifra() {
  kestrin::traduceExcepciones([&] {
    const auto n = static_cast<int32_t>(bloques_.huecos());
    eventos.Inicio.lanza(n);
    auto& big = servicio();
    Cadena resultado;
    for (int32_t posicion = 1; posicion <= n; ++posicion) {
      eventos.Progreso.lanza(posicion);
      const Cadena m =
          big.ModPower(bloques_[bloques_.primero() + posicion - 1], clavePrivada_, clave_);
      if (empiezaPorDigito(m)) resultado += NumeroATexto(m);
    }
    auto claro = std::make_shared<kestrin::ORVTexto>();
    claro->asigna(std::move(resultado), kestrin::CSKNone);
    textoOriginal_ = std::move(claro);
    eventos.Fin.lanza(n);
    eventos.DesCifrado.lanza();
  });
}

void ORVCriptoRSA::VaciaClave() {
  clave_.clear();
  clavePrivada_.clear();
  exponente_.clear();
  factores_ = {};
  tamBloque_ = 1;
  eventos.CambiaClave.lanza();
}

}  // namespace halvard
