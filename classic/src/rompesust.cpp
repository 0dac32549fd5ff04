// Breaking a substitution by hill climbing on the language statistics.
//
// The deciphered text is scored by the cost of each symbol after the three
// before it. The blocks of four cipher symbols are counted once, each distinct
// block with how often it occurs, and each cipher symbol knows the blocks it
// is in: a change of key rescores only the blocks of the symbols it moves.
// The random draws are our own (a Mersenne twister and plain remainders), not
// the standard library's distributions, whose results vary between library
// versions: a seed gives the same key everywhere.
#include <algorithm>
#include <random>

#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "kestrin/procesa.h"
#include "modelo.h"
#include "recuento.h"
#include "tarnel/orvcriptosust.h"

namespace tarnel {
namespace {

// A distinct block of the ciphertext: up to four cipher symbols (fewer at
// the start of the text), and how often it occurs.
struct Bloque {
  std::array<uint8_t, 4> simbolos{};
  uint8_t longitud = 0;
  uint32_t veces = 0;
};

class Escalador {
 public:
  // `limite`: the most blocks rescored, after which a climb stops where it is.
  Escalador(const ModeloCuadrigramas& modelo, const std::vector<uint8_t>& cifrado, uint32_t semilla,
            uint64_t limite)
      : modelo_(modelo), generador_(semilla), limite_(limite) {
    // The distinct blocks, by code (the length apart).
    std::vector<uint64_t> codigos;
    codigos.reserve(cifrado.size());
    for (size_t e = 0; e < cifrado.size(); ++e) {
      const size_t desde = e >= 3 ? e - 3 : 0;
      uint64_t codigo = e - desde + 1;  // the length in the low bits
      for (size_t i = desde; i <= e; ++i) codigo |= uint64_t{cifrado[i]} << (8 + 6 * (i - desde));
      codigos.push_back(codigo);
    }
    std::sort(codigos.begin(), codigos.end());
    for (size_t i = 0; i < codigos.size();) {
      size_t j = i;
      while (j < codigos.size() && codigos[j] == codigos[i]) ++j;
      Bloque b;
      b.longitud = static_cast<uint8_t>(codigos[i] & 7u);
      for (size_t k = 0; k < b.longitud; ++k) b.simbolos[k] = static_cast<uint8_t>((codigos[i] >> (8 + 6 * k)) & 63u);
      b.veces = static_cast<uint32_t>(j - i);
      bloques_.push_back(b);
      i = j;
    }
    for (size_t w = 0; w < bloques_.size(); ++w) {
      const Bloque& b = bloques_[w];
      for (size_t k = 0; k < b.longitud; ++k) {
        const uint8_t x = b.simbolos[k];
        if (std::find(b.simbolos.begin(), b.simbolos.begin() + static_cast<ptrdiff_t>(k), x) ==
            b.simbolos.begin() + static_cast<ptrdiff_t>(k)) {
          deBloques_[x].push_back(static_cast<uint32_t>(w));
        }
      }
    }
    std::array<uint64_t, ORVNumCar> cuentas{};
    for (const uint8_t x : cifrado) ++cuentas[x];
    for (uint8_t x = 0; x < ORVNumCar; ++x) {
      if (cuentas[x]) presentes_.push_back(x);
    }
    // The first key pairs the cipher symbols with the plain ones by frequency.
    std::vector<uint8_t> porCuenta = presentes_;
    std::stable_sort(porCuenta.begin(), porCuenta.end(), [&](uint8_t a, uint8_t b) { return cuentas[a] > cuentas[b]; });
    std::vector<uint8_t> lengua(ORVNumCar);
    for (uint8_t v = 0; v < ORVNumCar; ++v) lengua[v] = v;
    const auto& logUno = modelo.logUno();
    std::stable_sort(lengua.begin(), lengua.end(), [&](uint8_t a, uint8_t b) { return logUno[a] > logUno[b]; });
    descifra_.fill(0);
    for (size_t i = 0; i < porCuenta.size(); ++i) descifra_[porCuenta[i]] = lengua[i];
    porCuenta_ = std::move(porCuenta);
    lengua_ = std::move(lengua);
    costes_.resize(bloques_.size());
  }

  // Starts from `previa` (cipher symbol -> plain symbol, -1 for none) where
  // it says something; the other cipher symbols, most frequent first, take
  // the likeliest plain symbols left.
  void parteDe(const std::array<int, ORVNumCar>& previa) {
    uint64_t usados = 0;
    for (const uint8_t x : presentes_) {
      if (previa[x] >= 0) usados |= uint64_t{1} << previa[x];
    }
    size_t siguiente = 0;
    for (const uint8_t x : porCuenta_) {
      if (previa[x] >= 0) {
        descifra_[x] = static_cast<uint8_t>(previa[x]);
        continue;
      }
      while ((usados >> lengua_[siguiente]) & 1) ++siguiente;
      descifra_[x] = lengua_[siguiente];
      usados |= uint64_t{1} << lengua_[siguiente];
    }
  }

  // One climb from the key as it is.
  void pule() {
    if (presentes_.empty()) return;
    recalcula();
    sube();
  }

  // Climbs from the frequency key, then from random changes of the best key
  // while no more than `presupuesto` blocks have been rescored, and leaves
  // the best key found.
  void resuelve(int reinicios, uint64_t presupuesto) {
    if (presentes_.empty()) return;
    recalcula();
    sube();
    std::array<uint8_t, ORVNumCar> mejor = descifra_;
    int64_t mejorCoste = coste_;
    int sinMejora = 0;
    for (int r = 1; r < reinicios && sinMejora < 10 && trabajo_ < presupuesto; ++r) {
      descifra_ = mejor;
      const size_t k = presentes_.size();
      const size_t cambios = 2 + azar(std::max<size_t>(1, k / 3));
      for (size_t c = 0; c < cambios; ++c) {
        const uint8_t a = presentes_[azar(k)];
        const size_t libres = ORVNumCar - k;
        if (libres == 0 || (k > 1 && azar(2) == 0)) {
          std::swap(descifra_[a], descifra_[presentes_[azar(k)]]);
        } else {
          descifra_[a] = libre(azar(libres));
        }
      }
      recalcula();
      sube();
      if (coste_ < mejorCoste) {
        mejor = descifra_;
        mejorCoste = coste_;
        sinMejora = 0;
      } else {
        ++sinMejora;
      }
      kestrin::ProcesaEventos();
    }
    descifra_ = mejor;
    coste_ = mejorCoste;
  }

  const std::vector<uint8_t>& presentes() const { return presentes_; }
  uint8_t descifra(uint8_t x) const { return descifra_[x]; }
  int64_t coste() const { return coste_; }
  uint64_t simbolos() const {
    uint64_t n = 0;
    for (const Bloque& b : bloques_) n += b.veces;
    return n;
  }

 private:
  size_t azar(size_t n) { return n <= 1 ? 0 : static_cast<size_t>(generador_() % n); }

  // The i-th plain symbol (0-based, by value) that no cipher symbol takes
  // (there are at least i + 1).
  uint8_t libre(size_t i) {
    uint64_t usados = 0;
    for (const uint8_t x : presentes_) usados |= uint64_t{1} << descifra_[x];
    for (uint8_t v = 0; v < ORVNumCar; ++v) {
      if (!((usados >> v) & 1) && i-- == 0) return v;
    }
    return 0;
  }

  uint8_t costeDe(const Bloque& b) const {
    uint32_t codigo = 0;
    for (size_t k = 0; k < b.longitud; ++k) codigo = (codigo << 6) | descifra_[b.simbolos[k]];
    return b.longitud == 4 ? modelo_.coste(codigo) : modelo_.costeCorto(b.longitud, codigo);
  }

  void recalcula() {
    coste_ = 0;
    for (size_t w = 0; w < bloques_.size(); ++w) {
      costes_[w] = costeDe(bloques_[w]);
      coste_ += int64_t{costes_[w]} * bloques_[w].veces;
    }
  }

  // The change of cost once descifra_ has changed for a (and b, which may be
  // a); the new costs wait in nuevos_ until acepta.
  int64_t cambio(uint8_t a, uint8_t b) {
    trabajo_ += deBloques_[a].size() + (b != a ? deBloques_[b].size() : 0);
    nuevos_.clear();
    int64_t d = 0;
    for (const uint32_t w : deBloques_[a]) {
      const uint8_t c = costeDe(bloques_[w]);
      d += (int64_t{c} - costes_[w]) * bloques_[w].veces;
      nuevos_.emplace_back(w, c);
    }
    if (b != a) {
      for (const uint32_t w : deBloques_[b]) {
        const Bloque& bl = bloques_[w];
        if (std::find(bl.simbolos.begin(), bl.simbolos.begin() + bl.longitud, a) != bl.simbolos.begin() + bl.longitud) continue;
        const uint8_t c = costeDe(bl);
        d += (int64_t{c} - costes_[w]) * bl.veces;
        nuevos_.emplace_back(w, c);
      }
    }
    return d;
  }

  void acepta(int64_t d) {
    for (const auto& [w, c] : nuevos_) costes_[w] = c;
    coste_ += d;
  }

  // First-improvement hill climbing: exchanges of two cipher symbols' plain
  // symbols and moves of one to a plain symbol no other takes, until no
  // change lowers the cost.
  void sube() {
    const size_t k = presentes_.size();
    std::vector<uint8_t> orden = presentes_;
    for (int pasada = 0; pasada < 200 && trabajo_ < limite_; ++pasada) {
      bool mejora = false;
      for (size_t i = k; i > 1; --i) std::swap(orden[i - 1], orden[azar(i)]);
      for (size_t i = 0; i < k && trabajo_ < limite_; ++i) {
        const uint8_t a = orden[i];
        for (size_t j = i + 1; j < k; ++j) {
          const uint8_t b = orden[j];
          std::swap(descifra_[a], descifra_[b]);
          const int64_t d = cambio(a, b);
          if (d < 0) {
            acepta(d);
            mejora = true;
          } else {
            std::swap(descifra_[a], descifra_[b]);
          }
        }
        uint64_t usados = 0;
        for (const uint8_t x : presentes_) usados |= uint64_t{1} << descifra_[x];
        for (uint8_t v = 0; v < ORVNumCar; ++v) {
          if ((usados >> v) & 1) continue;
          const uint8_t antes = descifra_[a];
          descifra_[a] = v;
          const int64_t d = cambio(a, a);
          if (d < 0) {
            acepta(d);
            mejora = true;
            usados = (usados & ~(uint64_t{1} << antes)) | (uint64_t{1} << v);
          } else {
            descifra_[a] = antes;
          }
        }
      }
      if (!mejora) break;
    }
  }

  const ModeloCuadrigramas& modelo_;
  std::mt19937 generador_;
  std::vector<Bloque> bloques_;
  std::array<std::vector<uint32_t>, ORVNumCar> deBloques_;
  std::vector<uint8_t> presentes_;
  std::vector<uint8_t> porCuenta_;  // the cipher symbols, most frequent first
  std::vector<uint8_t> lengua_;     // the plain symbols, likeliest first
  std::array<uint8_t, ORVNumCar> descifra_{};
  std::vector<uint8_t> costes_;
  std::vector<std::pair<uint32_t, uint8_t>> nuevos_;
  int64_t coste_ = 0;
  // Blocks rescored so far, and the most a climb may reach.
  uint64_t trabajo_ = 0;
  uint64_t limite_ = 0;
};

}  // namespace

void ORVCriptoSust::Resuelve(int32_t semilla) {
  kestrin::traduceExcepciones([&] {
    const auto modelo = modeloEnUso();
    const VistaCadena texto = recuento::sinEtiqueta(entrada(TextoCifrado()));
    std::vector<uint8_t> cifrado;
    cifrado.reserve(texto.size());
    for (const char32_t c : texto) {
      const int v = alfabeto::valor(c);
      if (v >= 0) cifrado.push_back(static_cast<uint8_t>(v));
    }
    const auto publica = [&](const Escalador& escalador) {
      Tabla clave;
      clave.fill(Cadena(1, kestrin::ORVW::kNoKey));
      for (const uint8_t x : escalador.presentes()) clave[escalador.descifra(x)] = Cadena(1, alfabeto::simbolo(x));
      clave_ = std::move(clave);
      ConstruyeInversa();
      const uint64_t n = escalador.simbolos();
      puntuacion_ = n == 0 ? 0.0
                           : -static_cast<double>(escalador.coste()) /
                                 (ModeloCuadrigramas::kEscala * static_cast<double>(n));
    };
    // A long text is solved on its beginning, whose blocks are fewer to
    // rescore, and the key found is then climbed once on the whole text.
    const size_t muestra = std::min(cifrado.size(), static_cast<size_t>(kMuestraResuelve));
    // The work is bounded by blocks rescored, not by time, so that a seed
    // always gives the same key: Spanish text of 2000 symbols takes at most
    // some 7e7; random symbols, which no key makes Spanish, stop at the bounds.
    constexpr uint64_t kPresupuesto = 100'000'000;
    Escalador escalador(*modelo,
                        std::vector<uint8_t>(cifrado.begin(), cifrado.begin() + static_cast<ptrdiff_t>(muestra)),
                        static_cast<uint32_t>(semilla), kPresupuesto + kPresupuesto / 2);
    escalador.resuelve(kReiniciosResuelve, kPresupuesto);
    if (muestra == cifrado.size()) return publica(escalador);
    std::array<int, ORVNumCar> previa;
    previa.fill(-1);
    for (const uint8_t x : escalador.presentes()) previa[x] = escalador.descifra(x);
    Escalador entero(*modelo, cifrado, static_cast<uint32_t>(semilla), kPresupuesto * 2 / 5);
    entero.parteDe(previa);
    entero.pule();
    publica(entero);
  });
}

}  // namespace tarnel
