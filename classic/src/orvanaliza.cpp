// Text analyser.
#include "tarnel/orvanaliza.h"

#include <algorithm>
#include <array>

#include "kestrin/errores.h"
#include "kestrin/procesa.h"
#include "recuento.h"

namespace tarnel {
namespace {

// Characters per piece: one progress event and one pass of pending interface
// events after each.
constexpr size_t kTrozo = 125;

// Marks an analysis as running for its scope; a handler that reads IC or ICM
// meanwhile gets the stored value instead of starting a nested analysis.
class EnCurso {
 public:
  explicit EnCurso(bool& bandera) : bandera_(bandera) { bandera_ = true; }
  ~EnCurso() { bandera_ = false; }
  EnCurso(const EnCurso&) = delete;
  EnCurso& operator=(const EnCurso&) = delete;

 private:
  bool& bandera_;
};

}  // namespace

ORVAnaliza::ORVAnaliza()
    : texto_(std::make_shared<const Cadena>()),
      texto2_(std::make_shared<const Cadena>()),
      resultado_(std::make_shared<ORVResultado>()) {}

// Texto and Texto1 are the same text, so writing it under either name drops
// both results computed from it.
void ORVAnaliza::setTexto(Cadena texto) {
  texto_ = std::make_shared<const Cadena>(std::move(texto));
  ic_ = Moneda();
  icm_ = Moneda();
}

void ORVAnaliza::setTexto2(Cadena texto) {
  texto2_ = std::make_shared<const Cadena>(std::move(texto));
  icm_ = Moneda();
}

// The cached index belongs to the old block size: drop it with the counts.
void ORVAnaliza::setTamBloque(int32_t tamBloque) {
  tamBloque_ = tamBloque;
  Vacia();
  ic_ = Moneda();
}

void ORVAnaliza::Vacia() {
  resultado_->Vacia();
  int32_t cero = 0;
  eventos.Fin.lanza(cero);
}

Moneda ORVAnaliza::IC() {
  if (ic_ == Moneda() && !analizando_) return Analiza();
  return ic_;
}

Moneda ORVAnaliza::ICM() {
  if (icm_ == Moneda() && !analizando_) return CalculaICM();
  return icm_;
}

Moneda ORVAnaliza::Analiza() {
  return kestrin::traduceExcepciones([&]() -> Moneda {
    EnCurso enCurso(analizando_);
    const auto texto = texto_;
    const int32_t tamBloque = tamBloque_;
    Vacia();
    const VistaCadena s = recuento::sinEtiqueta(*texto);
    int32_t previstos = recuento::longitud32(s.size());
    eventos.Inicio.lanza(previstos);

    recuento::Contador contador(tamBloque);
    for (size_t hecho = 0; hecho < s.size();) {
      const VistaCadena trozo = s.substr(hecho, kTrozo);
      contador.anadeTexto(trozo);
      hecho += trozo.size();
      int32_t analizados = static_cast<int32_t>(hecho);
      eventos.Progreso.lanza(analizados);
      kestrin::ProcesaEventos();
    }

    resultado_->Vacia();
    contador.vuelca(*resultado_);
    const Moneda ic = recuento::indiceCoincidencia(*resultado_);
    entropia_ = recuento::entropia(*resultado_);
    resultado_->Ordena();
    // A text or block size written meanwhile (by a handler, or by the user
    // interface while it ran) is not what was analysed: keep nothing cached.
    if (texto == texto_ && tamBloque == tamBloque_) ic_ = ic;
    int32_t restantes = 0;
    eventos.Fin.lanza(restantes);
    return ic;
  });
}

Moneda ORVAnaliza::CalculaICM() {
  return kestrin::traduceExcepciones([&]() -> Moneda {
    EnCurso enCurso(analizando_);
    const auto texto1 = texto_;
    const auto texto2 = texto2_;
    icm_ = Moneda();
    const size_t mayor = std::max(texto1->size(), texto2->size());
    if (mayor == 0) return Moneda();
    int32_t previstos = recuento::longitud32(mayor);
    eventos.Inicio.lanza(previstos);

    // Symbol counts of one text; Progreso after every character, valid or not.
    const auto cuentaSimbolos = [this](const Cadena& texto,
                                       std::array<int64_t, ORVNumCar>& cuentas) {
      cuentas.fill(0);
      for (const char32_t c : texto) {
        const int v = alfabeto::valor(c);
        if (v >= 0) ++cuentas[static_cast<size_t>(v)];
      }
      if (eventos.Progreso.conectados() > 0) {
        const int32_t n = recuento::longitud32(texto.size());
        for (int32_t i = 1; i <= n; ++i) {
          int32_t posicion = i;
          eventos.Progreso.lanza(posicion);
        }
      }
      kestrin::ProcesaEventos();
    };
    std::array<int64_t, ORVNumCar> primero{};
    std::array<int64_t, ORVNumCar> segundo{};
    cuentaSimbolos(*texto1, primero);
    cuentaSimbolos(*texto2, segundo);
    int64_t suma = 0;
    for (size_t v = 0; v < ORVNumCar; ++v) suma += primero[v] * segundo[v];
    // With exactly one empty text there is nothing in common: 0, as when the
    // texts share no symbol, rather than a division by zero.
    const Moneda icm = recuento::indiceMutuo(suma, texto1->size(), texto2->size());
    if (texto1 == texto_ && texto2 == texto2_) icm_ = icm;
    int32_t analizados = recuento::longitud32(mayor);
    eventos.Fin.lanza(analizados);
    return icm;
  });
}

}  // namespace tarnel
