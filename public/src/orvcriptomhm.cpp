// Merkle-Hellman knapsack cryptosystem.
#include "halvard/orvcriptomhm.h"

#include "kestrin/errores.h"
#include "kestrin/orvmcd.h"

namespace halvard {
namespace {

// Longer sequences or block lists than these are no knapsack a student can
// build (a superincreasing sequence of currency values has at most about 50
// elements); refusing them keeps a typing slip from exhausting memory.
constexpr int32_t kMaxLongitud = 1 << 16;
constexpr int64_t kMaxBloques = 1 << 24;
// Longest deciphered text, in characters (512 MiB as text): every text Cifra
// makes with a sequence of up to 64 elements, as kMaxBloques blocks allow.
// Both limits may be set far apart, and their product is no text to hold.
constexpr uint64_t kMaxCaracteres = uint64_t{1} << 27;

int64_t entero(Moneda m) { return m.redondeado(); }

// (a * b) mod m with the sign of the product, exact for any currency values.
Moneda productoModular(Moneda a, Moneda b, Moneda m) {
  const __int128 producto = static_cast<__int128>(entero(a)) * entero(b);
  return Moneda::desdeEntero(static_cast<int64_t>(producto % entero(m)));
}

bool esSupercreciente(const std::vector<Moneda>& s) {
  Moneda suma;
  for (size_t i = 0; i < s.size(); ++i) {
    if (i > 0 && !(s[i] > suma)) return false;
    suma += s[i];
  }
  return true;
}

}  // namespace

ORVCriptoMHM::ORVCriptoMHM() = default;

void ORVCriptoMHM::rellena(Cadena& texto) const {
  if (privada_.empty()) return;
  const auto espacios = (8 * static_cast<uint64_t>(texto.size())) % privada_.size();
  texto.append(espacios, U' ');
}

void ORVCriptoMHM::setLongitudSucesion(int32_t longitud) {
  kestrin::traduceExcepciones([&] {
    if (longitud == 0 || longitud == LongitudSucesion()) return;
    if (longitud < 0 || longitud > kMaxLongitud)
      kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
    privada_.assign(static_cast<size_t>(longitud), Moneda());
    publica_.assign(static_cast<size_t>(longitud), Moneda());
    Cadena texto = textoOriginal_->Texto();
    rellena(texto);
    textoOriginal_->asigna(std::move(texto), textoOriginal_->Key());
    eventos.CambiaClave.lanza();
  });
}

size_t ORVCriptoMHM::indiceSucesion(int32_t i) const {
  if (i < 1 || i > LongitudSucesion()) throw kestrin::ErrorSubindice();
  return static_cast<size_t>(i - 1);
}

Moneda ORVCriptoMHM::SucesionPrivada(int32_t i) const { return privada_[indiceSucesion(i)]; }

void ORVCriptoMHM::setSucesionPrivada(int32_t i, Moneda valor) {
  privada_[indiceSucesion(i)] = valor;
  eventos.CambiaClave.lanza();
}

Moneda ORVCriptoMHM::SucesionPublica(int32_t i) const { return publica_[indiceSucesion(i)]; }

void ORVCriptoMHM::setSucesionPublica(int32_t i, Moneda valor) {
  publica_[indiceSucesion(i)] = valor;
  eventos.CambiaClave.lanza();
}

void ORVCriptoMHM::setModulo(Moneda m) {
  modulo_ = m;
  eventos.CambiaClave.lanza();
}

void ORVCriptoMHM::setMultiplicador(Moneda w) {
  multiplicador_ = w;
  eventos.CambiaClave.lanza();
}

void ORVCriptoMHM::setClavePublicaOK(bool ok) {
  clavePublicaOK_ = ok;
  if (!ok) clavePrivadaOK_ = false;
  eventos.CambiaClave.lanza();
}

void ORVCriptoMHM::setClavePrivadaOK(bool ok) {
  clavePrivadaOK_ = ok;
  if (ok) clavePublicaOK_ = true;
  eventos.CambiaClave.lanza();
}

void ORVCriptoMHM::setTextoOriginal(const std::shared_ptr<kestrin::ORVTexto>& texto) {
  kestrin::traduceExcepciones([&] {
    if (!texto) kestrin::lanzaError(kestrin::kObjetoNoEstablecido);
    Cadena copia = texto->Texto();
    rellena(copia);
    textoOriginal_->asigna(std::move(copia), textoOriginal_->Key());
  });
}

int32_t ORVCriptoMHM::UltimoBloque() const { return bloques_.ultimo(); }

Moneda ORVCriptoMHM::TextoCifrado(int32_t i) const { return bloques_[i]; }

void ORVCriptoMHM::setTextoCifrado(int32_t i, Moneda valor) { bloques_[i] = valor; }

void ORVCriptoMHM::setNumBloques(int32_t n) {
  kestrin::traduceExcepciones([&] {
    if (n > kMaxBloques) kestrin::lanzaError(kestrin::kMemoriaInsuficiente);
    bloques_.crea(n);
    numBloques_ = n;
  });
}

void ORVCriptoMHM::rechaza(const Cadena& mensaje) {
  bool ok = false;
  eventos.ConstruyeClave.lanza(ok, mensaje);
  setClavePublicaOK(false);
}

void ORVCriptoMHM::ConstruyeClave() {
  kestrin::traduceExcepciones([&] {
    // Every check stops at its rejection: a rejected key never goes on to be
    // accepted.
    if (LongitudSucesion() < 2) return rechaza(U"Debe haber al menos 2 elementos en la sucesión");
    if (!esSupercreciente(privada_)) return rechaza(U"La sucesión debe ser supercreciente");
    Moneda suma;
    for (const Moneda& elemento : privada_) suma += elemento;
    // A modulus that is not positive could never be divided by.
    if (!(modulo_ > suma) || !(modulo_ > Moneda())) {
      return rechaza(U"El módulo debe ser mayor que la suma de los elementos de la sucesión");
    }
    kestrin::ORVmcd euclides;
    euclides.setNumero1(multiplicador_);
    euclides.setNumero2(modulo_);
    if (euclides.mcd() != Moneda(1))
      return rechaza(U"El multiplicador debe ser primo con el módulo");
    for (size_t i = 0; i < privada_.size(); ++i) {
      publica_[i] = productoModular(multiplicador_, privada_[i], modulo_);
    }
    if (esSupercreciente(publica_))
      return rechaza(U"La sucesión pública NO debe ser supercreciente");

    bool ok = true;
    eventos.ConstruyeClave.lanza(ok, U"Clave correcta");
    eventos.CambiaClave.lanza();
    setClavePublicaOK(true);
    setClavePrivadaOK(true);
  });
}

void ORVCriptoMHM::Cifra() {
  kestrin::traduceExcepciones([&] {
    if (!clavePublicaOK_ || privada_.empty()) return;
    const std::string codigos = kestrin::aAnsi(textoOriginal_->Texto());
    const uint64_t totalBits = 8 * static_cast<uint64_t>(codigos.size());
    const uint64_t largo = privada_.size();
    const uint64_t b = (totalBits + largo - 1) / largo;
    if (b > static_cast<uint64_t>(kMaxBloques)) kestrin::lanzaError(kestrin::kMemoriaInsuficiente);
    const auto n = static_cast<int32_t>(b);
    bloques_.crea(n);
    eventos.Inicio.lanza(n);
    int32_t i = 0;
    for (uint64_t inicio = 0; inicio < totalBits; inicio += largo) {
      Moneda valor;
      const uint64_t fin = std::min(inicio + largo, totalBits);
      for (uint64_t bit = inicio; bit < fin; ++bit) {
        const auto codigo = static_cast<uint8_t>(codigos[bit / 8]);
        if ((codigo >> (7 - bit % 8)) & 1) valor += publica_[bit - inicio];
      }
      ++i;
      eventos.Progreso.lanza(i);
      bloques_[i] = valor;
    }
    eventos.Cifrado.lanza(i);
    eventos.Fin.lanza(n);
  });
}

void ORVCriptoMHM::Descifra() {
  kestrin::traduceExcepciones([&] {
    // Without a modulus (an emptied key, or one read without it) there is
    // nothing to divide by.
    if (!clavePrivadaOK_ || privada_.empty() || modulo_ == Moneda()) return;
    kestrin::ORVmcd euclides;
    euclides.setNumero1(multiplicador_);
    euclides.setNumero2(modulo_);
    int64_t v = entero(euclides.Coeficiente1()) % entero(modulo_);
    if (v < 0) v += entero(modulo_);
    const Moneda inverso = Moneda::desdeEntero(v);

    const int32_t ultimo = UltimoBloque();
    const size_t largo = privada_.size();
    // The size is known before any work: refused whole rather than found
    // missing halfway.
    const uint64_t totalBits = static_cast<uint64_t>(std::max(ultimo, 0)) * largo;
    if (totalBits / 8 > kMaxCaracteres) kestrin::lanzaError(kestrin::kMemoriaInsuficiente);
    eventos.Inicio.lanza(ultimo);
    // Bits go straight into their characters.
    std::string codigos(static_cast<size_t>(totalBits / 8), '\0');
    std::vector<bool> bloque(largo);
    for (int32_t g = 1; g <= ultimo; ++g) {
      eventos.Progreso.lanza(g);
      Moneda s = productoModular(inverso, TextoCifrado(g), modulo_);
      for (size_t n = largo; n-- > 0;) {
        bloque[n] = !(s < privada_[n]);
        if (bloque[n]) s -= privada_[n];
      }
      const uint64_t primero = static_cast<uint64_t>(g - 1) * largo;
      for (size_t n = 0; n < largo; ++n) {
        const uint64_t bit = primero + n;
        if (bloque[n] && bit / 8 < codigos.size()) {
          codigos[bit / 8] =
              static_cast<char>(static_cast<uint8_t>(codigos[bit / 8]) | (0x80u >> (bit % 8)));
        }
      }
    }
    // A last partial block deciphers with zero bits in its missing positions.
    // Those that make no whole character are left out; with blocks longer
    // than a character they can also make whole NUL characters, which are not
    // text either. The text reaches at least one character into the last block.
    if (ultimo > 0) {
      const size_t minimo = (static_cast<size_t>(ultimo - 1) * largo) / 8 + 1;
      while (codigos.size() > minimo && codigos.back() == '\0') codigos.pop_back();
    }
    textoOriginal_->asigna(kestrin::desdeAnsi(codigos), textoOriginal_->Key());
    eventos.DesCifrado.lanza();
    eventos.Fin.lanza(ultimo);
  });
}

void ORVCriptoMHM::VaciaClave() {
  setMultiplicador(Moneda());
  setModulo(Moneda());
}

}  // namespace halvard
