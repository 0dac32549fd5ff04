// The big-number service: preparation of the engine's input and cleaning of
// its output (see orvbignum.h).
#include "numbrel/orvbignum.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include "ajustes.h"
#include "kestrin/errores.h"
#include "llamada.h"
#include "motor.h"
#include "numbrel/vigilancia.h"
#include "preparacion.h"

namespace numbrel {
namespace {

namespace motor = numbrel::motor;

const Cadena kError = U"Error";

std::string ansi(const Cadena& s) {
  return kestrin::aAnsi(s);
}
Cadena texto(const std::string& s) {
  return kestrin::desdeAnsi(s);
}

// MaxValor as the text the engine compares: numbers in plain decimal form.
Cadena comoTexto(const kestrin::Variante& v) {
  struct Visitante {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(bool b) const { return b ? "-1" : "0"; }
    std::string operator()(int16_t i) const { return std::to_string(i); }
    std::string operator()(int32_t i) const { return std::to_string(i); }
    std::string operator()(float f) const { return (*this)(static_cast<double>(f)); }
    std::string operator()(double d) const {
      if (!std::isfinite(d)) return "Error";
      char buffer[400];
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::fixed);
      return r.ec == std::errc() ? std::string(buffer, r.ptr) : "Error";
    }
    std::string operator()(kestrin::Moneda m) const { return m.aTexto(); }
    std::string operator()(const Cadena& c) const { return ansi(c); }
    std::string operator()(const std::shared_ptr<kestrin::Objeto>&) const { return "Error"; }
  };
  if (const Cadena* c = std::get_if<Cadena>(&v)) return *c;
  return texto(std::visit(Visitante{}, v));
}

bool esError(const Cadena& s) {
  return s.size() == kError.size() && kestrin::igualesSinMayusculas(s, kError);
}

// An expression as the engine reads it: names replaced, "mod" rewritten,
// wrapped in "0+(...)". `motor` is empty when it cannot be read at all.
struct Entrada {
  bool vacia = false;  // blank once prepared
  std::optional<ExpresionMotor> motor;
  std::vector<std::shared_ptr<const ValorVariable>> guardados;  // keep `valores` alive
  motor::Valores valores;
};

Entrada prepara(const Cadena& expr, const TablaVariables& variables) {
  ConVariables sustituida = sustituyeVariables(limpiaBuffer(expr), variables);
  Entrada e;
  if (sustituida.demasiadoLargo) return e;
  const Cadena s = limpiaBuffer(sustituida.texto);
  if (s.empty()) {
    e.vacia = true;
    return e;
  }
  e.motor = expresionMotor(reescribeMod(s));
  e.guardados = std::move(sustituida.valores);
  for (const auto& v : e.guardados) e.valores.emplace_back(v->motor);
  return e;
}

// One generator for RndRange, seeded once: reseeding from the clock on every
// call would repeat the same value for calls within one clock tick.
// Calls from several threads take turns (mutexRango).
std::mutex mutexRango;
std::mt19937_64& generador() {
  static std::mt19937_64 g(
      std::random_device{}() ^
      static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  return g;
}

}  // namespace

// Thread safety of what the calls share. The variable table and the list of
// calls in progress are behind cerrojo_, held only to copy or change them.
// The engine's own shared state is safe as it is: the precision and the
// count of uses are atomics; RndPrimo's generator is behind its mutex and
// RndRange's behind mutexRango; the prime tables are built once by
// function-local statics; FLINT keeps its caches per thread (freed when a
// thread that sieved ends, cribapequena.cpp), and nothing in process uses
// FLINT's thread pool or GMP-ECM, which run only in the helper program's
// children (aislado.h).

// The watch over one call on this instance (llamada.h): the outermost member
// opens it on the calling thread, with the thread's Vigilancia, and lists it
// for Cancela; the members it calls meanwhile share it.
class ORVBigNum::Guardia {
 public:
  explicit Guardia(ORVBigNum& b) : b_(b) {
    motor::Llamada* actual = motor::llamadaActual();
    if (actual != nullptr && actual->dueno == &b) return;
    std::shared_ptr<Vigilancia> vigilancia = vigilanciaActual();
    llamada_.emplace(vigilancia, [&b, vigilancia](const Cadena& etapa, int32_t hecho,
                                                  int32_t total) {
      if (vigilancia && vigilancia->alProgresar) vigilancia->alProgresar(etapa, hecho, total);
      b.eventos.Etapa.lanza(etapa, hecho, total);
    });
    llamada_->dueno = &b;
    ambito_.emplace(*llamada_);
    std::lock_guard<std::mutex> cerrojo(b.cerrojo_);
    b.enCurso_.push_back(&*llamada_);
  }
  ~Guardia() {
    if (!llamada_) return;
    {
      std::lock_guard<std::mutex> cerrojo(b_.cerrojo_);
      std::erase(b_.enCurso_, &*llamada_);
    }
    ambito_.reset();
  }
  Guardia(const Guardia&) = delete;
  Guardia& operator=(const Guardia&) = delete;

  // This member opened the call (it is not one called by another member).
  bool propia() const { return llamada_.has_value(); }

 private:
  ORVBigNum& b_;
  std::optional<motor::Llamada> llamada_;
  std::optional<motor::AmbitoLlamada> ambito_;
};

// True when the current call was cancelled; the member that opened it then
// raises "Cálculo cancelado" (the members it called stay silent).
bool ORVBigNum::cancelado(const Guardia& g) {
  if (!motor::cancelada()) return false;
  if (g.propia()) error(U"Cálculo cancelado");
  return true;
}

// The pattern of the members with a status: the cleaned output on success,
// the member's message and "Error" on failure.
Cadena ORVBigNum::conEstado(const Guardia& g, int16_t estado, const std::string& salida,
                            const Cadena& mensaje) {
  if (estado == 0) {
    if (!cancelado(g)) error(mensaje);
    return kError;
  }
  return limpiaBuffer(texto(salida));
}

ORVBigNum::ORVBigNum() try { motor::InitMiracl(precisionUsuario()); } catch (...) {
  kestrin::relanzaComoErrorORV();
}

ORVBigNum::~ORVBigNum() {
  motor::EndMiracl();
}

void ORVBigNum::error(const Cadena& descripcion) {
  Cadena d = descripcion;
  eventos.AritError.lanza(d);
}

template <typename T>
T ORVBigNum::trasFallo(T siFalla, bool avisa) {
  try {
    throw;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  // A handler that fails again leaves as the classic error 7, never as itself.
  if (avisa) {
    kestrin::traduceExcepciones(
        [&] { error(kestrin::desdeUtf8(kestrin::mensajeError(kestrin::kMemoriaInsuficiente))); });
  }
  return siFalla;
}

int16_t ORVBigNum::Max(const Cadena& x, const Cadena& y) try {
  Guardia g(*this);
  const Cadena a = Eval(x), b = Eval(y);
  return motor::BMax(ansi(a), ansi(b));
} catch (...) {
  return trasFallo(int16_t{-1});
}

bool ORVBigNum::EsPrimo(const Cadena& t) try {
  Guardia g(*this);
  return motor::IsPrime(ansi(Eval(t))) != 0;
} catch (...) {
  return trasFallo(false);
}

int32_t ORVBigNum::NumBits(const Cadena& t) try {
  Guardia g(*this);
  return motor::NumBits(ansi(Eval(t)));
} catch (...) {
  return trasFallo(int32_t{0});
}

Cadena ORVBigNum::Eval(const Cadena& expr, const kestrin::Variante& MaxValor, bool Entero) try {
  Guardia g(*this);
  const Entrada preparada = prepara(expr, tablaActual());
  if (preparada.vacia) return {};
  const auto& entrada = preparada.motor;
  Cadena resultado = kError;
  if (entrada) {
    std::string salida;
    const int16_t estado = Entero ? motor::ZEval(entrada->texto, preparada.valores, salida)
                                  : motor::QEval(entrada->texto, preparada.valores, salida);
    if (estado != 0) {
      resultado = limpiaBuffer(texto(salida));
      if (!std::holds_alternative<std::monostate>(MaxValor)) {
        // A limit that is not a number cannot be checked: the value is refused.
        const int16_t comparacion = motor::BMax(ansi(comoTexto(MaxValor)), salida);
        if (comparacion >= 2 || comparacion < 0) resultado = kError;
      }
    }
    if (!esError(resultado) && entrada->decimal) resultado = ToDecimal(resultado);
  }
  if (esError(resultado) && !cancelado(g)) {
    error(U"Ha dado una expresión errónea o el número es demasiado grande");
  }
  return resultado;
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::ToDecimal(const Cadena& n) try {
  Guardia g(*this);
  const Cadena v = Eval(n);
  std::string salida;
  if (motor::ToDecimal(ansi(v), salida) == 0) {
    if (!cancelado(g)) error(U"Error al convertir " + n + U" a decimal");
    return kError;
  }
  Cadena t = limpiaBuffer(texto(salida));
  // A leading point reads "0,25" and "-0,25", never ",25" or "-,25".
  if (!t.empty() && t[0] == U'.') return U"0," + t.substr(1);
  if (t.size() >= 2 && t[0] == U'-' && t[1] == U'.') return U"-0," + t.substr(2);
  const size_t punto = t.find(U'.');
  if (punto != Cadena::npos) t[punto] = U',';
  return t;
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::RndPrimo(int16_t numBits) try {
  Guardia g(*this);
  std::string salida;
  if (motor::RndPrimo(numBits, salida) == 0 && cancelado(g)) return kError;
  return limpiaBuffer(texto(salida));
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::ModInv(const Cadena& n, const Cadena& modulo) try {
  Guardia g(*this);
  const Cadena a = Eval(n), m = Eval(modulo);
  std::string salida;
  if (motor::InvMod(ansi(a), ansi(m), salida) == 0 && cancelado(g)) return kError;
  return limpiaBuffer(texto(salida));
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::CRT(const std::vector<Cadena>& restos, const std::vector<Cadena>& CoPrimos) try {
  Guardia g(*this);
  std::vector<std::string> r, m;
  for (const Cadena& c : restos) r.push_back(ansi(c));
  for (const Cadena& c : CoPrimos) m.push_back(ansi(c));
  std::string salida;
  const int16_t estado = motor::CRT(r, m, salida);
  return conEstado(g, estado, salida, U"Error en el los datos del Teorema Chino del Resto");
} catch (...) {
  return trasFallo(kError);
}

int32_t ORVBigNum::RndRange(int32_t n1, int32_t n2) {
  double r;
  {
    std::lock_guard<std::mutex> cerrojo(mutexRango);
    r = std::uniform_real_distribution<double>(0.0, 1.0)(generador());
  }
  const double valor = std::floor(r * (static_cast<double>(n2) - n1 + 1) + n1);
  return static_cast<int32_t>(std::clamp(valor, static_cast<double>(std::min(n1, n2)),
                                         static_cast<double>(std::max(n1, n2))));
}

Cadena ORVBigNum::NextPrime(const Cadena& num) try {
  Guardia g(*this);
  const Cadena n = Eval(num);
  std::string salida;
  if (motor::NextPrime(ansi(n), salida) == 0 && cancelado(g)) return kError;
  return limpiaBuffer(texto(salida));
} catch (...) {
  return trasFallo(kError);
}

bool ORVBigNum::Factorize(const Cadena& num, std::vector<Cadena>& Factores,
                          std::vector<Cadena>& Exponentes) try {
  Guardia g(*this);
  const Cadena n = Eval(num);
  std::vector<std::string> f, e;
  const int16_t estado = motor::Factors(ansi(n), f, e);
  Factores.clear();
  Exponentes.clear();
  for (size_t i = 0; i < f.size(); ++i) {
    Factores.push_back(limpiaBuffer(texto(f[i])));
    Exponentes.push_back(limpiaBuffer(texto(e[i])));
  }
  return estado != 0;
} catch (...) {
  Factores.clear();
  Exponentes.clear();
  return trasFallo(false);
}

Cadena ORVBigNum::EulerFi(const Cadena& n) try {
  Guardia g(*this);
  const Cadena v = Eval(n);
  std::string salida;
  const int16_t estado = motor::EulerFi(ansi(v), salida);
  return conEstado(g, estado, salida, U"Error al calcular la función de Euler");
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::ToBasis(int16_t base, const Cadena& num) try {
  Guardia g(*this);
  const Cadena v = Eval(num);
  std::string salida;
  const int16_t estado = motor::ToBasis(base, ansi(v), salida);
  return conEstado(g, estado, salida, U"Error al cambiar de base");
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::Mcd(const Cadena& x, const Cadena& y) try {
  Guardia g(*this);
  const Cadena a = Eval(x), b = Eval(y);
  std::string salida;
  const int16_t estado = motor::BMcd(ansi(a), ansi(b), salida);
  return conEstado(g, estado, salida, U"Error al hallar el mcd");
} catch (...) {
  return trasFallo(kError);
}

Cadena ORVBigNum::ModPower(const Cadena& base, const Cadena& exponente, const Cadena& modulo) try {
  Guardia g(*this);
  const Cadena b = Eval(base), e = Eval(exponente), m = Eval(modulo);
  std::string salida;
  const int16_t estado = motor::PowMod(ansi(b), ansi(e), ansi(m), salida);
  return conEstado(g, estado, salida, U"Error al elevar a una potencia");
} catch (...) {
  return trasFallo(kError);
}

bool ORVBigNum::ExMcd(const Cadena& x, const Cadena& y, Cadena& a, Cadena& b, Cadena& d) try {
  Guardia g(*this);
  const Cadena u = Eval(x), v = Eval(y);
  std::string sa, sb, sd;
  if (motor::BExMcd(ansi(u), ansi(v), sa, sb, sd) == 0) {
    // Never leave a previous gcd of 1 behind to be mistaken for this one.
    a = b = d = kError;
    return false;
  }
  a = limpiaBuffer(texto(sa));
  b = limpiaBuffer(texto(sb));
  d = limpiaBuffer(texto(sd));
  return true;
} catch (...) {
  const bool r = trasFallo(false);
  kestrin::traduceExcepciones([&] { a = b = d = kError; });
  return r;
}

Cadena ORVBigNum::BMod(const Cadena& expr, const Cadena& modulo) try {
  Guardia g(*this);
  // Read as Eval reads them, with integer meaning; N(...) changes nothing in a residue.
  const auto tabla = tablaActual();
  const Entrada e = prepara(expr, tabla), m = prepara(modulo, tabla);
  std::string salida;
  const int16_t estado =
      e.motor && m.motor ? motor::BMod(e.motor->texto, e.valores, m.motor->texto, m.valores, salida)
                         : int16_t{0};
  return conEstado(g, estado, salida, U"Error al tomar modulo");
} catch (...) {
  return trasFallo(kError);
}

void ORVBigNum::Cancela() {
  std::lock_guard<std::mutex> cerrojo(cerrojo_);
  for (motor::Llamada* l : enCurso_) l->cancela();
}

// A copy of the variable table (its values are shared, so this copies
// pointers), taken under the lock so that setvar may run meanwhile.
std::map<Cadena, std::shared_ptr<const ValorVariable>> ORVBigNum::tablaActual() {
  std::lock_guard<std::mutex> cerrojo(cerrojo_);
  return variables_;
}

void ORVBigNum::setvar(const Cadena& nombre, const Cadena& valor) try {
  // The value is prepared before the lock is taken.
  std::shared_ptr<const ValorVariable> preparado;
  if (!nombre.empty() && !valor.empty()) preparado = preparaValor(valor);
  std::lock_guard<std::mutex> cerrojo(cerrojo_);
  if (nombre.empty()) {
    variables_.clear();
    return;
  }
  Cadena clave = nombre;
  for (char32_t& c : clave) c = kestrin::minuscula(c);
  variables_.erase(clave);
  if (preparado) variables_.emplace(clave, std::move(preparado));
} catch (...) {
  // Every failure of an assignment is ignored: the name is left unset.
  trasFallo(0, false);
}

}  // namespace numbrel
