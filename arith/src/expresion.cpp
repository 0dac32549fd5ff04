// Parser and evaluators of the engine's expression language (see expresion.h).
#include "expresion.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "llamada.h"

namespace numbrel::motor {
namespace {

// Internal signal of a malformed or refused expression; never leaves this file.
struct Fallo {};

[[noreturn]] void falla() {
  throw Fallo{};
}

// A cancelled call stops between two operations.
void revisa() {
  if (cancelada()) falla();
}
struct Valor;

struct Nodo {
  enum class Tipo { Numero, Cadena, Negativo, Potencia, Factorial, Variable } tipo;
  std::string texto;  // digits of a number, with at most one '.'
  // Cadena: operands with the operator before each ('\0' for the first);
  // the other kinds use hijos[0] (and hijos[1], the exponent).
  std::vector<std::pair<char, std::unique_ptr<Nodo>>> hijos;
  const Valor* valor = nullptr;  // Variable: the value it names
};
using PNodo = std::unique_ptr<Nodo>;

// A variable's value, parsed once however often it is named, and its value
// in each kind of evaluation computed once (a call reduces modulo one m).
struct Valor {
  PNodo raiz;
  int profundidad = 0;  // deepest nesting inside the value
  mutable std::optional<mpz_class> entero, modulo;
  mutable std::optional<mpq_class> racional;
};

// The values an expression's variables name, parsed when first named.
class Variables {
 public:
  explicit Variables(const Valores& textos) : textos_(textos), valores_(textos.size()) {}
  const Valor& valor(size_t k);

 private:
  const Valores& textos_;
  std::vector<std::unique_ptr<Valor>> valores_;
};

PNodo nodo(Nodo::Tipo tipo) {
  auto n = std::make_unique<Nodo>();
  n->tipo = tipo;
  return n;
}

class Parser {
 public:
  // `variables` is null where references mean nothing (inside a value).
  explicit Parser(std::string_view s, Variables* variables = nullptr)
      : s_(s), variables_(variables) {}

  PNodo todo() {
    PNodo n = expresion();
    salta();
    if (i_ != s_.size()) falla();
    return n;
  }
  // The deepest nesting reached so far.
  int profundidadMaxima() const { return maxima_; }

 private:
  void salta() {
    while (i_ < s_.size() &&
           (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) {
      ++i_;
    }
  }
  char mira() {
    salta();
    return i_ < s_.size() ? s_[i_] : '\0';
  }
  void entra() {
    if (++profundidad_ > kMaxProfundidad) falla();
    maxima_ = std::max(maxima_, profundidad_);
  }

  PNodo cadena(PNodo (Parser::*operando)(), std::string_view operadores) {
    PNodo primero = (this->*operando)();
    char c = mira();
    if (c == '\0' || operadores.find(c) == std::string_view::npos) return primero;
    PNodo n = nodo(Nodo::Tipo::Cadena);
    n->hijos.emplace_back('\0', std::move(primero));
    while (c != '\0' && operadores.find(c) != std::string_view::npos) {
      ++i_;
      n->hijos.emplace_back(c, (this->*operando)());
      c = mira();
    }
    return n;
  }

  PNodo expresion() { return cadena(&Parser::termino, "+-"); }
  PNodo termino() { return cadena(&Parser::unario, "*/%\\"); }

  PNodo unario() {
    const char c = mira();
    if (c != '-' && c != '+') return potencia();
    ++i_;
    entra();
    PNodo operando = unario();
    --profundidad_;
    if (c == '+') return operando;
    PNodo n = nodo(Nodo::Tipo::Negativo);
    n->hijos.emplace_back('\0', std::move(operando));
    return n;
  }

  PNodo potencia() {
    PNodo base = postfijo();
    if (mira() != '^') return base;
    ++i_;
    entra();
    PNodo n = nodo(Nodo::Tipo::Potencia);
    n->hijos.emplace_back('\0', std::move(base));
    n->hijos.emplace_back('^', unario());
    --profundidad_;
    return n;
  }

  PNodo postfijo() {
    PNodo n = primario();
    int anidados = 0;
    while (mira() == '!') {
      ++i_;
      entra();
      ++anidados;
      PNodo f = nodo(Nodo::Tipo::Factorial);
      f->hijos.emplace_back('\0', std::move(n));
      n = std::move(f);
    }
    profundidad_ -= anidados;
    return n;
  }

  PNodo primario() {
    const char c = mira();
    const char cierre = c == '(' ? ')' : c == '[' ? ']' : c == '{' ? '}' : '\0';
    if (cierre != '\0') {
      ++i_;
      entra();
      PNodo n = expresion();
      if (mira() != cierre) falla();
      ++i_;
      --profundidad_;
      return n;
    }
    if (c == kMarcaVariable && variables_ != nullptr) return variable();
    if (!esDigito(c) && c != '.' && c != ',') falla();
    PNodo n = nodo(Nodo::Tipo::Numero);
    bool punto = false, digitos = false;
    while (i_ < s_.size()) {
      const char d = s_[i_];
      if (esDigito(d)) {
        n->texto.push_back(d);
        digitos = true;
      } else if ((d == '.' || d == ',') && !punto) {
        n->texto.push_back('.');
        punto = true;
      } else {
        break;
      }
      ++i_;
    }
    if (!digitos) falla();
    return n;
  }

  PNodo variable() {
    ++i_;
    size_t k = 0, cifras = 0;
    for (; i_ < s_.size() && esDigito(s_[i_]) && cifras < 9; ++i_, ++cifras) {
      k = k * 10 + static_cast<size_t>(s_[i_] - '0');
    }
    if (cifras == 0) falla();
    const Valor& v = variables_->valor(k);
    // As deep as the value would be, written here.
    if (profundidad_ + v.profundidad > kMaxProfundidad) falla();
    maxima_ = std::max(maxima_, profundidad_ + v.profundidad);
    PNodo n = nodo(Nodo::Tipo::Variable);
    n->valor = &v;
    return n;
  }

  static bool esDigito(char c) { return c >= '0' && c <= '9'; }

  std::string_view s_;
  Variables* variables_;
  size_t i_ = 0;
  int profundidad_ = 0;
  int maxima_ = 0;
};

const Valor& Variables::valor(size_t k) {
  if (k >= valores_.size()) falla();
  if (!valores_[k]) {
    auto v = std::make_unique<Valor>();
    Parser parser(textos_[k]);
    v->raiz = parser.todo();
    v->profundidad = parser.profundidadMaxima();
    valores_[k] = std::move(v);
  }
  return *valores_[k];
}

uint64_t bits(const mpz_class& z) {
  return z == 0 ? 0 : mpz_sizeinbase(z.get_mpz_t(), 2);
}

void limita(const mpz_class& z) {
  if (bits(z) > kMaxBits) falla();
}
void limita(const mpq_class& q) {
  if (bits(q.get_num()) > kMaxBits || bits(q.get_den()) > kMaxBits) falla();
}

// log2 |z| for z nonzero.
double log2Abs(const mpz_class& z) {
  long exponente = 0;
  const double mantisa = mpz_get_d_2exp(&exponente, z.get_mpz_t());
  return std::log2(std::fabs(mantisa)) + static_cast<double>(exponente);
}

// Exponent as a machine integer once the size of base^e is known to fit.
unsigned long exponenteAsumible(const mpz_class& e, const mpz_class& base) {
  if (e > static_cast<unsigned long>(kMaxBits)) falla();
  const unsigned long k = e.get_ui();
  if (static_cast<double>(k) * log2Abs(base) > static_cast<double>(kMaxBits)) falla();
  return k;
}

mpz_class potenciaEntera(const mpz_class& base, const mpz_class& e) {
  if (e < 0) {
    // Only 1 and -1 have integer reciprocals.
    if (base == 1) return 1;
    if (base == -1) return mpz_odd_p(e.get_mpz_t()) ? -1 : 1;
    falla();
  }
  if (base == 0) return e == 0 ? 1 : 0;
  if (base == 1) return 1;
  if (base == -1) return mpz_odd_p(e.get_mpz_t()) ? -1 : 1;
  mpz_class r;
  mpz_pow_ui(r.get_mpz_t(), base.get_mpz_t(), exponenteAsumible(e, base));
  return r;
}

unsigned long operandoFactorial(const mpz_class& n) {
  if (n < 0 || n > 1000000) falla();
  const unsigned long k = n.get_ui();
  // log2(k!) from lgamma, refused before the product is built.
  if (k > 1 && std::lgamma(static_cast<double>(k) + 1) / std::log(2.0) > kMaxBits) falla();
  return k;
}

mpz_class factorial(const mpz_class& n) {
  mpz_class r;
  mpz_fac_ui(r.get_mpz_t(), operandoFactorial(n));
  return r;
}

// A run of products of whole numbers a*b*c*..., multiplied as a balanced
// tree: n small factors cost about one multiplication of the final size, not
// n of them (a product written out over a megabyte took seconds). Sizes are
// refused as the left-to-right product refuses them: that one fails exactly
// when a partial product before the first zero factor passes kMaxBits (the
// partial products only grow), or, after a zero, when a factor alone has more
// than `limiteTrasCero` bits.
class ProductoEntero {
 public:
  ProductoEntero(mpz_class primero, uint64_t limiteTrasCero) : limiteTrasCero_(limiteTrasCero) {
    por(std::move(primero));
  }

  void por(mpz_class b) {
    if (cero_) {
      if (bits(b) > limiteTrasCero_) falla();
      return;
    }
    if (b == 0) {
      // Against a zero, a lone first factor is refused as a factor after it would be.
      if (cuenta_ == 1 && suma_ > limiteTrasCero_) falla();
      cero_ = true;
      return;
    }
    // The product of k factors has at least (sum of their bits) - (k - 1)
    // bits; the first factor alone is never checked.
    suma_ += bits(b);
    ++cuenta_;
    if (cuenta_ >= 2 && suma_ > kMaxBits + cuenta_ - 1) falla();
    // Small factors are gathered into one word: fewer numbers held.
    if (!factores_.empty() && bits(factores_.back()) + bits(b) <= 64) {
      factores_.back() *= b;
      return;
    }
    factores_.push_back(std::move(b));
  }

  mpz_class valor() {
    mpz_class r = factores_.empty() ? mpz_class(1) : producto(0, factores_.size());
    if (cuenta_ >= 2) limita(r);
    return cero_ ? mpz_class(0) : r;
  }

 private:
  mpz_class producto(size_t desde, size_t hasta) {
    if (hasta - desde == 1) return std::move(factores_[desde]);
    const size_t medio = desde + (hasta - desde) / 2;
    return producto(desde, medio) * producto(medio, hasta);
  }

  std::vector<mpz_class> factores_;
  uint64_t suma_ = 0, cuenta_ = 0;  // bits and number of the factors before a zero
  uint64_t limiteTrasCero_;
  bool cero_ = false;
};

// ---- Integers -------------------------------------------------------------

mpz_class evaluaZ(const Nodo& n);

mpz_class literalEntero(const std::string& texto) {
  if (texto.find('.') != std::string::npos) falla();
  // 10 > 2^3.32: a literal of more digits than this cannot fit.
  if (texto.size() > kMaxBits * 30103 / 100000 + 1) falla();
  return mpz_class(texto, 10);
}

mpz_class operaZ(char op, const mpz_class& a, const mpz_class& b) {
  mpz_class r;
  switch (op) {
    case '+':
      r = a + b;
      break;
    case '-':
      r = a - b;
      break;
    case '*':
      if (bits(a) + bits(b) > kMaxBits + 1) falla();
      r = a * b;
      break;
    case '/':
    case '\\':
      if (b == 0) falla();
      mpz_fdiv_q(r.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
      break;
    case '%':
      if (b == 0) falla();
      mpz_fdiv_r(r.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
      break;
    default:
      falla();
  }
  limita(r);
  return r;
}

mpz_class evaluaZ(const Nodo& n) {
  revisa();
  switch (n.tipo) {
    case Nodo::Tipo::Numero:
      return literalEntero(n.texto);
    case Nodo::Tipo::Variable:
      if (!n.valor->entero) n.valor->entero = evaluaZ(*n.valor->raiz);
      return *n.valor->entero;
    case Nodo::Tipo::Negativo:
      return -evaluaZ(*n.hijos[0].second);
    case Nodo::Tipo::Factorial:
      return factorial(evaluaZ(*n.hijos[0].second));
    case Nodo::Tipo::Potencia: {
      const mpz_class r = potenciaEntera(evaluaZ(*n.hijos[0].second), evaluaZ(*n.hijos[1].second));
      limita(r);
      return r;
    }
    case Nodo::Tipo::Cadena: {
      mpz_class r = evaluaZ(*n.hijos[0].second);
      for (size_t i = 1; i < n.hijos.size();) {
        if (n.hijos[i].first != '*') {
          r = operaZ(n.hijos[i].first, r, evaluaZ(*n.hijos[i].second));
          ++i;
          continue;
        }
        // operaZ refuses 0*b when b alone has more than kMaxBits + 1 bits.
        ProductoEntero producto(std::move(r), kMaxBits + 1);
        for (; i < n.hijos.size() && n.hijos[i].first == '*'; ++i) {
          producto.por(evaluaZ(*n.hijos[i].second));
        }
        r = producto.valor();
      }
      return r;
    }
  }
  falla();
}

// ---- Rationals ------------------------------------------------------------

mpq_class evaluaQ(const Nodo& n);

mpq_class literalRacional(const std::string& texto) {
  const size_t punto = texto.find('.');
  if (punto == std::string::npos) return mpq_class(literalEntero(texto));
  const std::string entera = texto.substr(0, punto), fraccion = texto.substr(punto + 1);
  if (texto.size() > kMaxBits * 30103 / 100000) falla();
  mpz_class escala;
  mpz_ui_pow_ui(escala.get_mpz_t(), 10, fraccion.size());
  mpq_class q(mpz_class(entera.empty() ? "0" : entera, 10) * escala +
                  mpz_class(fraccion.empty() ? "0" : fraccion, 10),
              escala);
  q.canonicalize();
  return q;
}

mpq_class suelo(const mpq_class& q) {
  mpz_class r;
  mpz_fdiv_q(r.get_mpz_t(), q.get_num_mpz_t(), q.get_den_mpz_t());
  return mpq_class(r);
}

uint64_t bitsQ(const mpq_class& q) {
  return bits(q.get_num()) + bits(q.get_den());
}

mpq_class operaQ(char op, const mpq_class& a, const mpq_class& b) {
  mpq_class r;
  switch (op) {
    case '+':
    case '-':
      if (bits(a.get_den()) + bits(b.get_den()) > kMaxBits + 1) falla();
      if (op == '+') {
        r = a + b;
      } else {
        r = a - b;
      }
      break;
    case '*':
      if (bitsQ(a) + bitsQ(b) > 2 * kMaxBits + 2) falla();
      r = a * b;
      break;
    case '/':
      if (b == 0 || bitsQ(a) + bitsQ(b) > 2 * kMaxBits + 2) falla();
      r = a / b;
      break;
    case '\\':
      if (b == 0) falla();
      r = suelo(a / b);
      break;
    case '%':
      if (b == 0) falla();
      r = a - b * suelo(a / b);
      break;
    default:
      falla();
  }
  limita(r);
  return r;
}

// A chain of sums and differences of rationals. From left to right each step
// costs the size of the denominator so far, so a megabyte of "+1/n" terms
// took seconds; here the terms are added as a balanced tree while no sum of
// any of them can pass the bounds (then the chain from left to right refuses
// nothing, and the value is the same), and the chain takes one step from
// left to right, with its refusals, where that could happen, then goes on
// from there. Terms held at once stay within a few megabytes.
class SumaRacional {
 public:
  explicit SumaRacional(mpq_class primero) { anade(std::move(primero)); }

  void mas(char op, mpq_class b) {
    if (!cabe(b)) {
      mpq_class r = operaQ(op, total(), b);
      terminos_.clear();
      denominadores_ = numeradorMaximo_ = tamano_ = cuenta_ = 0;
      anade(std::move(r));
      return;
    }
    if (op == '-') b = -b;
    // Whole terms in a row are added at once, as cheap as from left to right.
    if (b.get_den() == 1 && terminos_.back().get_den() == 1) {
      numeradorMaximo_ = std::max(numeradorMaximo_, bits(b.get_num()));
      ++cuenta_;
      mpq_class& ultimo = terminos_.back();
      tamano_ -= bitsQ(ultimo);
      ultimo += b;
      tamano_ += bitsQ(ultimo);
      numeradorMaximo_ = std::max(numeradorMaximo_, bits(ultimo.get_num()));
      return;
    }
    anade(std::move(b));
  }

  mpq_class total() {
    if (terminos_.size() > 1) {
      mpq_class r = suma(0, terminos_.size());
      terminos_.assign(1, std::move(r));
    }
    return terminos_.front();
  }

 private:
  // Any sum of terms n_i/d_i has a denominator below the product of the d_i
  // and a numerator below k * max |n_i| * that product (k terms as written,
  // whole ones gathered or not).
  bool cabe(const mpq_class& b) const {
    const uint64_t k = cuenta_ + 1;
    const uint64_t d = denominadores_ + bits(b.get_den());
    const uint64_t n = std::max(numeradorMaximo_, bits(b.get_num()));
    return d + n + bits(mpz_class(static_cast<unsigned long>(k))) + 1 <= kMaxBits &&
           tamano_ + bitsQ(b) <= 4 * kMaxBits;
  }

  void anade(mpq_class b) {
    denominadores_ += bits(b.get_den());
    numeradorMaximo_ = std::max(numeradorMaximo_, bits(b.get_num()));
    tamano_ += bitsQ(b);
    ++cuenta_;
    terminos_.push_back(std::move(b));
  }

  mpq_class suma(size_t desde, size_t hasta) {
    if (hasta - desde == 1) return std::move(terminos_[desde]);
    const size_t medio = desde + (hasta - desde) / 2;
    return suma(desde, medio) + suma(medio, hasta);
  }

  std::vector<mpq_class> terminos_;
  uint64_t denominadores_ = 0, numeradorMaximo_ = 0, tamano_ = 0, cuenta_ = 0;
};

mpz_class enteroDe(const mpq_class& q) {
  if (q.get_den() != 1) falla();
  return q.get_num();
}

mpq_class evaluaQ(const Nodo& n) {
  revisa();
  switch (n.tipo) {
    case Nodo::Tipo::Numero:
      return literalRacional(n.texto);
    case Nodo::Tipo::Variable:
      if (!n.valor->racional) n.valor->racional = evaluaQ(*n.valor->raiz);
      return *n.valor->racional;
    case Nodo::Tipo::Negativo:
      return -evaluaQ(*n.hijos[0].second);
    case Nodo::Tipo::Factorial:
      return mpq_class(factorial(enteroDe(evaluaQ(*n.hijos[0].second))));
    case Nodo::Tipo::Potencia: {
      const mpq_class base = evaluaQ(*n.hijos[0].second);
      const mpz_class e = enteroDe(evaluaQ(*n.hijos[1].second));
      if (e < 0 && base == 0) falla();
      const mpz_class k = abs(e);
      mpq_class r(potenciaEntera(base.get_num(), k), potenciaEntera(base.get_den(), k));
      if (e < 0) r = 1 / r;
      r.canonicalize();
      limita(r);
      return r;
    }
    case Nodo::Tipo::Cadena: {
      const char primero = n.hijos[1].first;
      if (primero == '+' || primero == '-') {  // a chain of sums has no other operator
        SumaRacional suma(evaluaQ(*n.hijos[0].second));
        for (size_t i = 1; i < n.hijos.size(); ++i) {
          suma.mas(n.hijos[i].first, evaluaQ(*n.hijos[i].second));
        }
        return suma.total();
      }
      mpq_class r = evaluaQ(*n.hijos[0].second);
      for (size_t i = 1; i < n.hijos.size();) {
        if (n.hijos[i].first != '*' || r.get_den() != 1) {
          r = operaQ(n.hijos[i].first, r, evaluaQ(*n.hijos[i].second));
          ++i;
          continue;
        }
        // Whole factors go to the tree until a fraction comes, which is then
        // multiplied in as before. operaQ never refuses 0*b for a value b.
        ProductoEntero producto(r.get_num(), 2 * kMaxBits);
        std::optional<mpq_class> fraccion;
        for (; i < n.hijos.size() && n.hijos[i].first == '*' && !fraccion; ++i) {
          mpq_class b = evaluaQ(*n.hijos[i].second);
          if (b.get_den() == 1) {
            producto.por(b.get_num());
          } else {
            fraccion = std::move(b);
          }
        }
        r = mpq_class(producto.valor());
        if (fraccion) r = operaQ('*', r, *fraccion);
      }
      return r;
    }
  }
  falla();
}

// ---- Residues -------------------------------------------------------------

mpz_class reduce(const mpz_class& z, const mpz_class& m) {
  mpz_class r;
  mpz_mod(r.get_mpz_t(), z.get_mpz_t(), m.get_mpz_t());
  return r;
}

mpz_class evaluaM(const Nodo& n, const mpz_class& m) {
  revisa();
  switch (n.tipo) {
    case Nodo::Tipo::Numero:
      return reduce(literalEntero(n.texto), m);
    case Nodo::Tipo::Variable:
      if (!n.valor->modulo) n.valor->modulo = evaluaM(*n.valor->raiz, m);
      return *n.valor->modulo;
    case Nodo::Tipo::Negativo:
      return reduce(-evaluaM(*n.hijos[0].second, m), m);
    case Nodo::Tipo::Factorial: {
      const mpz_class k = evaluaZ(*n.hijos[0].second);
      if (k < 0) falla();
      if (k >= m) return 0;  // m itself is one of the factors
      if (k <= 1000000 &&
          std::lgamma(k.get_d() + 1) / std::log(2.0) <= static_cast<double>(kMaxBits)) {
        return reduce(factorial(k), m);
      }
      // k! itself is too large: multiply step by step, if that is short enough.
      const double limbs = static_cast<double>(bits(m)) / 64.0 + 1.0;
      if (k > 100000000 || k.get_d() * limbs > 2e8) falla();
      mpz_class r = 1;
      for (unsigned long i = 2; i <= k.get_ui(); ++i) {
        if (i % 65536 == 0) revisa();
        mpz_mul_ui(r.get_mpz_t(), r.get_mpz_t(), i);
        mpz_mod(r.get_mpz_t(), r.get_mpz_t(), m.get_mpz_t());
      }
      return r;
    }
    case Nodo::Tipo::Potencia: {
      mpz_class base = evaluaM(*n.hijos[0].second, m);
      mpz_class e = evaluaZ(*n.hijos[1].second);
      if (m == 1) return 0;
      if (e < 0) {
        if (mpz_invert(base.get_mpz_t(), base.get_mpz_t(), m.get_mpz_t()) == 0) falla();
        e = -e;
      }
      if (!potenciaModularAsumible(e, bits(m))) falla();
      mpz_class r;
      mpz_powm(r.get_mpz_t(), base.get_mpz_t(), e.get_mpz_t(), m.get_mpz_t());
      return r;
    }
    case Nodo::Tipo::Cadena: {
      for (size_t i = 1; i < n.hijos.size(); ++i) {
        const char op = n.hijos[i].first;
        if (op != '+' && op != '-' && op != '*') return reduce(evaluaZ(n), m);
      }
      mpz_class r = evaluaM(*n.hijos[0].second, m);
      for (size_t i = 1; i < n.hijos.size(); ++i) {
        const mpz_class b = evaluaM(*n.hijos[i].second, m);
        const char op = n.hijos[i].first;
        const mpz_class c = op == '+'   ? mpz_class(r + b)
                            : op == '-' ? mpz_class(r - b)
                                        : mpz_class(r * b);
        r = reduce(c, m);
      }
      return r;
    }
  }
  falla();
}

template <typename F>
auto protege(F&& f) -> std::optional<decltype(f())> {
  try {
    return f();
  } catch (const Fallo&) {
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  } catch (const std::invalid_argument&) {
  }
  return std::nullopt;
}

}  // namespace

bool potenciaModularAsumible(const mpz_class& e, uint64_t bitsModulo) {
  // Cost of square-and-multiply: bits(e) products of limbs^1.6 limb operations.
  const double limbs = std::max<double>(1.0, static_cast<double>(bitsModulo) / 64.0);
  return static_cast<double>(bits(e)) * std::pow(limbs, 1.6) <= 4e9;
}

std::optional<mpz_class> evaluaEntero(std::string_view expr, const Valores& valores) {
  return protege([&] {
    Variables variables(valores);
    const PNodo raiz = Parser(expr, &variables).todo();
    return evaluaZ(*raiz);
  });
}

std::optional<mpq_class> evaluaRacional(std::string_view expr, const Valores& valores) {
  return protege([&] {
    Variables variables(valores);
    const PNodo raiz = Parser(expr, &variables).todo();
    return evaluaQ(*raiz);
  });
}

std::optional<mpz_class> evaluaModulo(std::string_view expr, const mpz_class& m,
                                      const Valores& valores) {
  if (m == 0) return std::nullopt;
  const mpz_class absoluto = abs(m);
  return protege([&] {
    Variables variables(valores);
    const PNodo raiz = Parser(expr, &variables).todo();
    return evaluaM(*raiz, absoluto);
  });
}

std::string textoEntero(const mpz_class& z) {
  return z.get_str(10);
}

std::string textoRacional(const mpq_class& q) {
  return q.get_den() == 1 ? q.get_num().get_str(10) : q.get_str(10);
}

}  // namespace numbrel::motor
