// Periodic-key cryptosystems and their three-stage attack.
//
// The attack never builds a shifted copy of a column: each column's symbols
// are counted once, and every index (of coincidence of a column, mutual of
// two columns under any shift, of the aligned text) is derived from those
// counts. The period search counts each period above MaxPeriodo / 2 (several
// in one pass, at a common multiple, when the text is long) and adds up the
// columns of 2m for every smaller m; the shift search reuses those counts
// when it runs on the same text. The columns TextoCol shows are cut when
// first read from the ciphertext searched, which the text object shares
// (its string is never modified, only replaced).
#include "tarnel/criptoperiodico.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <type_traits>

#include "combinacion.h"
#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "kestrin/procesa.h"
#include "recuento.h"

namespace tarnel {
namespace {

constexpr Combinacion kVigenere = construyeCombinacion(
    [](unsigned k, unsigned v) { return v + k; }, [](unsigned k, unsigned v) { return v - k; },
    [](unsigned j, unsigned v) { return v - j; }, [](unsigned x, unsigned v) { return x - v; },
    [](unsigned p, unsigned d) { return p + d; }, LetrasFrecuentes,
    /*compruebaCoherencia=*/true, kestrin::CSKVig);

constexpr Combinacion kXOR = construyeCombinacion(
    [](unsigned k, unsigned v) { return v ^ k; }, [](unsigned k, unsigned v) { return v ^ k; },
    [](unsigned j, unsigned v) { return v ^ j; }, [](unsigned x, unsigned v) { return x ^ v; },
    [](unsigned p, unsigned d) { return p ^ d; }, AlfabetoFrecuencias,
    /*compruebaCoherencia=*/false, kestrin::CSKXOR);

// Counters per column: one per symbol and a last one for the characters
// outside the alphabet, so that the counting loops need no branch.
constexpr size_t kAncho = ORVNumCar + 1;
constexpr uint8_t kFuera = ORVNumCar;

const Cadena kSaltos = U"\r\n\r\n";
const Cadena kAvisoDesplazamientos =
    U"Los desplazamientos estimados no son coherentes. Puede que la clave sea demasiado larga "
    U"en relación con el tamaño del mensaje." +
    kSaltos + U"Por favor, revise el proceso.";
const Cadena kAvisoIndice =
    U"Es probable que el índice de coincidencia del texto no sea el supuesto. Puede que la "
    U"desCifrado no sea correcta." +
    kSaltos + U"Por favor, revise el proceso.";

void compruebaIndice(int32_t i, size_t n) {
  if (i < 1 || static_cast<size_t>(i) > n) throw kestrin::ErrorSubindice();
}

void compruebaPeriodo(int32_t periodo) {
  if (periodo > CriptoPeriodico::kPeriodoLimite) kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
}

int32_t negado(int32_t valor) {
  if (valor == INT32_MIN) throw kestrin::ErrorDesbordamiento();
  return -valor;
}

Moneda absoluto(Moneda m) { return m < Moneda() ? -m : m; }

// |a - b| in ten-thousandths, with the currency's overflow error.
int64_t distancia(Moneda a, Moneda b) {
  int64_t d = 0;
  if (__builtin_sub_overflow(a.escalado(), b.escalado(), &d) || d == INT64_MIN) {
    throw kestrin::ErrorDesbordamiento();
  }
  return d < 0 ? -d : d;
}

// The index of coincidence of one column from its counters.
template <typename Cuenta>
Moneda indiceColumna(const Cuenta* cuentas) {
  uint64_t total = 0;
  for (size_t v = 0; v < ORVNumCar; ++v) total += cuentas[v];
  if (total < 2) return Moneda();
  // The sum of f (f - 1) is the sum of the squares less the total. Below
  // 46341 symbols the squares add up within 32 bits, more of them to a
  // vector instruction than in 64.
  uint64_t cuadrados = 0;
  if (total <= static_cast<uint64_t>(INT16_MAX)) {
    // Counts within 16 bits: eight products a vector instruction.
    std::array<int16_t, ORVNumCar> cortas{};
    for (size_t v = 0; v < ORVNumCar; ++v) cortas[v] = static_cast<int16_t>(cuentas[v]);
    int32_t suma = 0;
    for (size_t v = 0; v < ORVNumCar; ++v) suma += int32_t{cortas[v]} * cortas[v];
    cuadrados = static_cast<uint64_t>(suma);
  } else if (total <= 46340) {
    uint32_t suma = 0;
    for (size_t v = 0; v < ORVNumCar; ++v) suma += uint32_t{cuentas[v]} * cuentas[v];
    cuadrados = suma;
  } else {
    for (size_t v = 0; v < ORVNumCar; ++v) cuadrados += uint64_t{cuentas[v]} * cuentas[v];
  }
  return Moneda::desdeDouble(static_cast<double>(cuadrados - total) /
                             (static_cast<double>(total) * static_cast<double>(total - 1)));
}

// Length of column c (0-based) of a text of n characters cut with a period.
size_t longitudColumna(size_t n, size_t periodo, size_t c) {
  return n > c ? (n - c + periodo - 1) / periodo : 0;
}

// Column c (0-based) of a text cut with a period: positions c, c + periodo, ...
Cadena columnaDe(VistaCadena s, size_t periodo, size_t c) {
  Cadena columna(longitudColumna(s.size(), periodo, c), U'·');
  for (size_t i = c, k = 0; i < s.size(); i += periodo, ++k) columna[k] = s[i];
  return columna;
}

// Counters of the columns of a text for a period, kAncho per column; with
// `valores`, also the value of each character there (its symbol's, or
// kFuera). The text, four bytes a character, is read once for both.
template <typename Cuenta>
std::vector<Cuenta> cuentaColumnasTexto(VistaCadena s, size_t periodo, uint8_t* valores) {
  std::array<uint8_t, 256> tabla{};
  for (size_t c = 0; c < tabla.size(); ++c) {
    const int v = alfabeto::valor(static_cast<char32_t>(c));
    tabla[c] = v < 0 ? kFuera : static_cast<uint8_t>(v);
  }
  std::vector<Cuenta> cuentas(periodo * kAncho, 0);
  for (size_t base = 0; base < s.size(); base += periodo) {
    const size_t n = std::min(periodo, s.size() - base);
    const char32_t* x = s.data() + base;
    Cuenta* fila = cuentas.data();
    for (size_t c = 0; c < n; ++c, fila += kAncho) {
      const uint8_t v = x[c] < tabla.size() ? tabla[x[c]] : kFuera;
      if (valores) valores[base + c] = v;
      ++fila[v];
    }
  }
  return cuentas;
}

// Counters of the columns of `valores` (symbol values, kFuera outside the
// alphabet) for the period `ciclo`. A long cycle is counted a band of columns
// at a time, so that the band's counters stay in the fastest cache while the
// rows go by. Counters of 16 bits serve while the column is shorter than
// 65536: half the memory to take and to walk through.
template <typename Cuenta>
std::vector<Cuenta> cuentaColumnas(const std::vector<uint8_t>& valores, size_t ciclo) {
  constexpr size_t kBanda = 128;
  std::vector<Cuenta> cuentas(ciclo * kAncho, 0);
  const uint8_t* v = valores.data();
  const size_t n = valores.size();
  const size_t filas = n / ciclo;
  for (size_t desde = 0; desde < ciclo; desde += kBanda) {
    const size_t ancho = std::min(kBanda, ciclo - desde);
    Cuenta* const banda = cuentas.data() + desde * kAncho;
    for (size_t fila = 0; fila < filas; ++fila) {
      const uint8_t* x = v + fila * ciclo + desde;
      Cuenta* f = banda;
      size_t c = 0;
      // Four columns a step: their counters are distinct, so the increments overlap.
      for (; c + 4 <= ancho; c += 4, f += 4 * kAncho) {
        ++f[x[c]];
        ++f[kAncho + x[c + 1]];
        ++f[2 * kAncho + x[c + 2]];
        ++f[3 * kAncho + x[c + 3]];
      }
      for (; c < ancho; ++c, f += kAncho) ++f[x[c]];
    }
  }
  // The last, incomplete row.
  Cuenta* f = cuentas.data();
  for (size_t i = filas * ciclo; i < n; ++i, f += kAncho) ++f[v[i]];
  return cuentas;
}

// The counters of the period m from those of a multiple `ciclo` of it: column
// c of m is made of the columns c, c + m, c + 2m, ... of `ciclo`.
template <typename Destino, typename Origen>
std::vector<Destino> sumaColumnas(const std::vector<Origen>& cuentas, size_t ciclo, size_t m) {
  std::vector<Destino> suma(cuentas.begin(), cuentas.begin() + static_cast<ptrdiff_t>(m * kAncho));
  const Origen* origen = cuentas.data() + m * kAncho;
  for (size_t vuelta = m; vuelta < ciclo; vuelta += m) {
    Destino* destino = suma.data();
    for (size_t i = 0; i < m * kAncho; ++i) destino[i] += origen[i];
    origen += m * kAncho;
  }
  return suma;
}

// The prime factors of n.
std::vector<size_t> primosDe(size_t n) {
  std::vector<size_t> primos;
  for (size_t p = 2; p * p <= n; ++p) {
    if (n % p != 0) continue;
    primos.push_back(p);
    while (n % p == 0) n /= p;
  }
  if (n > 1) primos.push_back(n);
  return primos;
}

// Gives each period of `periodos` (all dividing `ciclo`) its counters, from
// the counters of `ciclo`. Several periods that divide ciclo / p for a prime p
// are served from that smaller table, added up once: a long cycle's table is
// then added up a few times instead of once per period.
template <typename Destino, typename Origen>
void reparte(std::vector<Origen> cuentas, size_t ciclo, std::vector<size_t> periodos,
             std::vector<std::vector<Destino>>& destino) {
  const bool propio = std::erase(periodos, ciclo) > 0;
  while (!periodos.empty()) {
    size_t mejorPrimo = 0;
    size_t mejorCuenta = 0;
    for (const size_t p : primosDe(ciclo)) {
      const auto cuenta = static_cast<size_t>(
          std::count_if(periodos.begin(), periodos.end(), [&](size_t m) { return (ciclo / p) % m == 0; }));
      if (cuenta > mejorCuenta) {
        mejorPrimo = p;
        mejorCuenta = cuenta;
      }
    }
    if (mejorCuenta < 2) {
      for (const size_t m : periodos) destino[m] = sumaColumnas<Destino>(cuentas, ciclo, m);
      break;
    }
    const size_t menor = ciclo / mejorPrimo;
    std::vector<size_t> parte;
    std::erase_if(periodos, [&](size_t m) {
      if (menor % m != 0) return false;
      parte.push_back(m);
      return true;
    });
    reparte(sumaColumnas<Destino>(cuentas, ciclo, menor), menor, std::move(parte), destino);
  }
  if (propio) {
    if constexpr (std::is_same_v<Origen, Destino>) {
      destino[ciclo] = std::move(cuentas);
    } else {
      destino[ciclo].assign(cuentas.begin(), cuentas.end());
    }
  }
}

// Periods counted together in one pass at their least common multiple.
struct Grupo {
  size_t ciclo = 1;
  std::vector<size_t> periodos;
};

// The largest group of `periodos` whose least common multiple stays within
// `tope` (of equal size, the one with the smaller multiple), by a depth-first
// search that gives up after `presupuesto` steps with the best found so far.
void buscaGrupo(const std::vector<size_t>& periodos, size_t desde, Grupo& actual, Grupo& mejor,
                size_t tope, int& presupuesto) {
  if (actual.periodos.size() > mejor.periodos.size() ||
      (actual.periodos.size() == mejor.periodos.size() && actual.ciclo < mejor.ciclo)) {
    mejor = actual;
  }
  for (size_t i = desde; i < periodos.size() && presupuesto > 0; ++i) {
    if (actual.periodos.size() + (periodos.size() - i) < mejor.periodos.size()) return;
    const size_t comun = std::lcm(actual.ciclo, periodos[i]);
    if (comun > tope) continue;
    --presupuesto;
    const size_t anterior = actual.ciclo;
    actual.ciclo = comun;
    actual.periodos.push_back(periodos[i]);
    buscaGrupo(periodos, i + 1, actual, mejor, tope, presupuesto);
    actual.periodos.pop_back();
    actual.ciclo = anterior;
  }
}

// Splits the periods into groups, largest first, each with a cycle within `tope`.
std::vector<Grupo> agrupa(std::vector<size_t> pendientes, size_t tope) {
  std::vector<Grupo> grupos;
  while (!pendientes.empty()) {
    Grupo actual, mejor;
    int presupuesto = 20000;
    buscaGrupo(pendientes, 0, actual, mejor, tope, presupuesto);
    if (mejor.periodos.empty()) mejor = Grupo{pendientes.front(), {pendientes.front()}};
    std::erase_if(pendientes, [&](size_t m) {
      return std::find(mejor.periodos.begin(), mejor.periodos.end(), m) != mejor.periodos.end();
    });
    grupos.push_back(std::move(mejor));
  }
  return grupos;
}

// The counters of every period 1..maximo (index m). The periods above
// maximo / 2 are counted from the values, several in one pass when the text
// is long enough for a common multiple of them to pay off: one pass at their
// least common multiple, then adding up its columns. Every smaller period m
// adds up the columns of 2m.
// Counts are kept as Cuenta: 16 bits serve a text shorter than 65536
// characters, at half the memory.
template <typename Cuenta>
std::vector<std::vector<Cuenta>> cuentasPorPeriodo(VistaCadena texto, size_t maximo) {
  std::vector<std::vector<Cuenta>> cuentas(maximo + 1);
  // Adding up a cycle's counters (kAncho per column) for each member must
  // cost well under the pass each member saves, and the counters must stay
  // small beside the text and within the second-level cache.
  const size_t tope = std::min<size_t>(texto.size() / (2 * kAncho), 8192);
  std::vector<size_t> pendientes;
  for (size_t m = maximo; m > maximo / 2; --m) pendientes.push_back(m);
  std::vector<Grupo> grupos = agrupa(std::move(pendientes), tope);
  if (grupos.empty()) return cuentas;
  // The group of the shortest cycle is counted while the values are read.
  std::iter_swap(grupos.begin(),
                 std::min_element(grupos.begin(), grupos.end(),
                                  [](const Grupo& a, const Grupo& b) { return a.ciclo < b.ciclo; }));
  std::vector<uint8_t> valores(texto.size());
  for (Grupo& grupo : grupos) {
    if (&grupo == &grupos.front()) {
      reparte(cuentaColumnasTexto<Cuenta>(texto, grupo.ciclo, valores.data()), grupo.ciclo,
              std::move(grupo.periodos), cuentas);
    } else if ((texto.size() + grupo.ciclo - 1) / grupo.ciclo <= UINT16_MAX) {
      reparte(cuentaColumnas<uint16_t>(valores, grupo.ciclo), grupo.ciclo, std::move(grupo.periodos),
              cuentas);
    } else {
      reparte(cuentaColumnas<uint32_t>(valores, grupo.ciclo), grupo.ciclo, std::move(grupo.periodos),
              cuentas);
    }
  }
  std::vector<uint8_t>().swap(valores);
  for (size_t m = maximo / 2; m >= 1; --m) cuentas[m] = sumaColumnas<Cuenta>(cuentas[2 * m], 2 * m, m);
  return cuentas;
}

// The index of coincidence of every column of every period 1..maximo
// (indices[m][c]), and the counters of every period.
template <typename Cuenta>
std::vector<std::vector<Moneda>> indicesPorPeriodo(VistaCadena texto, size_t maximo,
                                                   std::vector<std::vector<Cuenta>>& cuentas) {
  cuentas = cuentasPorPeriodo<Cuenta>(texto, maximo);
  std::vector<std::vector<Moneda>> indices(maximo + 1);
  for (size_t m = 1; m <= maximo; ++m) {
    indices[m].resize(m);
    for (size_t c = 0; c < m; ++c) indices[m][c] = indiceColumna(&cuentas[m][c * kAncho]);
  }
  return indices;
}

}  // namespace

CriptoPeriodico::CriptoPeriodico(const Combinacion& combinacion) : combinacion_(combinacion) {
  setMaxPeriodo(25);
}

ORVCriptoVigenere::ORVCriptoVigenere() : CriptoPeriodico(kVigenere) {}

ORVCriptoXOR::ORVCriptoXOR() : CriptoPeriodico(kXOR) {}

void CriptoPeriodico::setClave(VistaCadena clave) {
  clave_.clear();
  valoresClave_.clear();
  for (const char32_t c : clave) {
    const int v = alfabeto::valor(c);
    if (v < 0) continue;
    clave_.push_back(alfabeto::simbolo(v));
    valoresClave_.push_back(static_cast<uint8_t>(v));
  }
}

void CriptoPeriodico::setMaxPeriodo(int32_t maxPeriodo) {
  kestrin::traduceExcepciones([&] {
    if (maxPeriodo < 0) kestrin::lanzaError(kestrin::kValorPropiedadNoValido);
    compruebaPeriodo(maxPeriodo);
    const auto m = static_cast<size_t>(maxPeriodo);
    maxPeriodo_ = maxPeriodo;
    ic_.assign(m * m, Moneda());
    mediaIC_.assign(m, Moneda());
    varianzaIC_.assign(m, Moneda());
    textoCol_.assign(m, Cadena());
    cortes_.assign(m, Corte());
    resumenes_.assign(m, std::nullopt);
  });
}

Moneda CriptoPeriodico::IC(int32_t m, int32_t c) const {
  compruebaIndice(m, mediaIC_.size());
  compruebaIndice(c, mediaIC_.size());
  return ic_[static_cast<size_t>(m - 1) * mediaIC_.size() + static_cast<size_t>(c - 1)];
}

void CriptoPeriodico::setIC(int32_t m, int32_t c, Moneda valor) {
  compruebaIndice(m, mediaIC_.size());
  compruebaIndice(c, mediaIC_.size());
  ic_[static_cast<size_t>(m - 1) * mediaIC_.size() + static_cast<size_t>(c - 1)] = valor;
}

Moneda CriptoPeriodico::MediaIC(int32_t m) const {
  compruebaIndice(m, mediaIC_.size());
  return mediaIC_[static_cast<size_t>(m - 1)];
}

void CriptoPeriodico::setMediaIC(int32_t m, Moneda valor) {
  compruebaIndice(m, mediaIC_.size());
  mediaIC_[static_cast<size_t>(m - 1)] = valor;
}

Moneda CriptoPeriodico::VarianzaIC(int32_t m) const {
  compruebaIndice(m, varianzaIC_.size());
  return varianzaIC_[static_cast<size_t>(m - 1)];
}

void CriptoPeriodico::setVarianzaIC(int32_t m, Moneda valor) {
  compruebaIndice(m, varianzaIC_.size());
  varianzaIC_[static_cast<size_t>(m - 1)] = valor;
}

const Cadena& CriptoPeriodico::TextoCol(int32_t i) const {
  compruebaIndice(i, textoCol_.size());
  construye(static_cast<size_t>(i - 1));
  return textoCol_[static_cast<size_t>(i - 1)];
}

void CriptoPeriodico::setTextoCol(int32_t i, Cadena texto) {
  compruebaIndice(i, textoCol_.size());
  textoCol_[static_cast<size_t>(i - 1)] = std::move(texto);
  cortes_[static_cast<size_t>(i - 1)] = Corte();
  resumenes_[static_cast<size_t>(i - 1)].reset();
}

void CriptoPeriodico::construye(size_t columna) const {
  Corte& corte = cortes_[columna];
  if (!corte.texto) return;
  textoCol_[columna] = columnaDe(corte.texto->vista(), corte.periodo, columna);
  corte = Corte();
}

CriptoPeriodico::Instantanea CriptoPeriodico::instantanea(const ORVTexto& cifrado,
                                                          VistaCadena texto) {
  Instantanea instantanea{cifrado.TextoCompartido(), 0, texto.size()};
  instantanea.inicio = static_cast<size_t>(texto.data() - instantanea.cadena->data());
  return instantanea;
}

void CriptoPeriodico::aseguraColumnas(int32_t n) {
  if (n > 0 && textoCol_.size() < static_cast<size_t>(n)) {
    textoCol_.resize(static_cast<size_t>(n));
    cortes_.resize(static_cast<size_t>(n));
    resumenes_.resize(static_cast<size_t>(n));
  }
}

void CriptoPeriodico::setPeriodo(int32_t periodo) {
  kestrin::traduceExcepciones([&] {
    if (periodo < 1) return;
    compruebaPeriodo(periodo);
    const auto p = static_cast<size_t>(periodo);
    const size_t pares = p * (p + 1) / 2;
    periodo_ = periodo;
    icm_.assign(pares * ORVNumCar, Moneda());
    desplazamientos_.assign(pares, 0);
  });
}

// Pairs i <= j, row by row: row a (0-based) holds the pairs (a, a..P-1).
size_t CriptoPeriodico::celdaPar(int32_t i, int32_t j) const {
  const auto p = static_cast<size_t>(periodo_);
  compruebaIndice(i, desplazamientos_.empty() ? 0 : p);
  compruebaIndice(j, desplazamientos_.empty() ? 0 : p);
  const auto a = static_cast<size_t>(std::min(i, j) - 1);
  const auto b = static_cast<size_t>(std::max(i, j) - 1);
  return a * p - a * (a - 1) / 2 + (b - a);
}

size_t CriptoPeriodico::celdaICM(int32_t i, int32_t j, int32_t s) const {
  const size_t par = celdaPar(i, j);
  if (s < 0 || s >= ORVNumCar) throw kestrin::ErrorSubindice();
  return par * ORVNumCar + static_cast<size_t>(s);
}

Moneda CriptoPeriodico::ICM(int32_t i, int32_t j, int32_t s) const { return icm_[celdaICM(i, j, s)]; }

void CriptoPeriodico::setICM(int32_t i, int32_t j, int32_t s, Moneda valor) {
  icm_[celdaICM(i, j, s)] = valor;
}

int32_t CriptoPeriodico::Desplazamiento(int32_t i, int32_t j) const {
  const int32_t guardado = desplazamientos_[celdaPar(i, j)];
  return j < i ? negado(guardado) : guardado;
}

// Writing (j, i) stores the negated value at (i, j), so that it reads back as written.
void CriptoPeriodico::setDesplazamiento(int32_t i, int32_t j, int32_t valor) {
  const size_t celda = celdaPar(i, j);
  desplazamientos_[celda] = j < i ? negado(valor) : valor;
}

const Cadena& CriptoPeriodico::ClaveProbable(int32_t i) const {
  compruebaIndice(i, clavesProbables_.size());
  return clavesProbables_[static_cast<size_t>(i - 1)];
}

Cadena CriptoPeriodico::transforma(VistaCadena texto, bool cifrando) const {
  const auto& tabla = cifrando ? combinacion_.cifra : combinacion_.descifra;
  const size_t n = valoresClave_.size();
  Cadena salida;
  salida.reserve(texto.size());
  size_t i = 0;
  for (const char32_t c : texto) {
    const int v = alfabeto::valor(c);
    if (v < 0) continue;
    salida.push_back(alfabeto::simbolo(tabla[valoresClave_[i]][static_cast<size_t>(v)]));
    if (++i == n) i = 0;
  }
  return salida;
}

void CriptoPeriodico::Cifra() {
  kestrin::traduceExcepciones([&] {
    if (clave_.empty()) return;
    setTextoCifrado(salida(transforma(entrada(TextoOriginal()), true), combinacion_.key));
    eventos.Cifrado.lanza();
  });
}

// An empty key does nothing, as in Cifra: there is no key symbol to take.
void CriptoPeriodico::Descifra() {
  kestrin::traduceExcepciones([&] {
    if (clave_.empty()) return;
    const Cadena claro = transforma(recuento::sinEtiqueta(entrada(TextoCifrado())), false);
    setTextoOriginal(salida(claro, kestrin::CSKNone));
    eventos.DesCifrado.lanza();
  });
}

void CriptoPeriodico::avisa(VistaCadena mensaje) { eventos.Warning.lanza(Cadena(mensaje)); }

void CriptoPeriodico::BuscaPeriodo() {
  kestrin::traduceExcepciones([&] {
    // Everything the search needs is read from the text before the first event:
    // a handler may change or release it.
    const auto cifrado = TextoCifrado();
    const VistaCadena s = recuento::sinEtiqueta(entrada(cifrado));
    recuento::longitud32(s.size());
    if (maxPeriodo_ == 0) setMaxPeriodo(20);
    const auto maximo = static_cast<size_t>(maxPeriodo_);

    const Instantanea texto = instantanea(*cifrado, s);
    // indices[m][c]: IC of column c for the period m. The counters of every
    // period are kept until the period is chosen; the chosen one's serve the
    // shift search.
    std::vector<std::vector<uint16_t>> cortas;
    std::vector<std::vector<uint32_t>> largas;
    const auto indices = s.size() <= UINT16_MAX ? indicesPorPeriodo(s, maximo, cortas)
                                                : indicesPorPeriodo(s, maximo, largas);
    cuentasElegidas_.clear();
    textoContado_.reset();
    for (size_t c = 0; c < maximo; ++c) {
      Cadena().swap(textoCol_[c]);
      cortes_[c] = Corte{texto, maximo};
      resumenes_[c].reset();
    }

    int32_t previstos = maxPeriodo_;
    eventos.Inicio.lanza(previstos);
    const int32_t maxPeriodo = maxPeriodo_;
    for (int32_t m = 1; m <= maxPeriodo; ++m) {
      int32_t progreso = m;
      eventos.Progreso.lanza(progreso);
      const auto& ics = indices[static_cast<size_t>(m)];
      Moneda media;
      for (int32_t c = 1; c <= m; ++c) {
        setIC(m, c, ics[static_cast<size_t>(c - 1)]);
        media += ics[static_cast<size_t>(c - 1)] / Moneda(m);
      }
      setMediaIC(m, media);
      Moneda varianza;
      for (const Moneda ic : ics) varianza += (ic - media) * (ic - media);
      setVarianzaIC(m, varianza);
      kestrin::ProcesaEventos();
    }

    const Moneda tolerancia = icTipo_ / Moneda(10);
    int32_t mejor = 1;
    Moneda mejorDistancia = absoluto(icTipo_ - MediaIC(1));
    Moneda mejorVarianza = VarianzaIC(1);
    for (int32_t m = 2; m <= maxPeriodo; ++m) {
      const Moneda distancia = absoluto(icTipo_ - MediaIC(m));
      const Moneda varianza = VarianzaIC(m);
      if (distancia < mejorDistancia - tolerancia ||
          (absoluto(distancia - mejorDistancia) < tolerancia && varianza < mejorVarianza)) {
        mejor = m;
        mejorDistancia = distancia;
        mejorVarianza = varianza;
      }
    }
    setPeriodo(mejor);
    const auto elegido = static_cast<size_t>(mejor);
    if (elegido < cortas.size())
      cuentasElegidas_.assign(cortas[elegido].begin(), cortas[elegido].end());
    if (elegido < largas.size()) cuentasElegidas_ = std::move(largas[elegido]);
    textoContado_ = texto;
    int32_t hechos = maxPeriodo;
    eventos.Fin.lanza(hechos);
  });
}

const CriptoPeriodico::ResumenColumna& CriptoPeriodico::resumen(size_t columna, bool conOrden) {
  auto& resumen = resumenes_[columna];
  const Corte& corte = cortes_[columna];
  // The characters of the column, where they are.
  const auto recorre = [&](auto&& visita) {
    if (corte.texto) {
      const VistaCadena s = corte.texto->vista();
      for (size_t i = columna; i < s.size(); i += corte.periodo) {
        if (!visita(s[i])) return;
      }
    } else {
      for (const char32_t c : textoCol_[columna]) {
        if (!visita(c)) return;
      }
    }
  };
  if (!resumen) {
    resumen.emplace();
    resumen->conOrden = true;
    recorre([&](char32_t c) {
      const int v = alfabeto::valor(c);
      if (v >= 0 && resumen->cuentas[static_cast<size_t>(v)]++ == 0) {
        resumen->orden.push_back(static_cast<uint8_t>(v));
      }
      return true;
    });
  } else if (conOrden && !resumen->conOrden) {
    // The counts say how many symbols there are to find: stop at the last.
    const auto distintos = static_cast<size_t>(
        std::count_if(resumen->cuentas.begin(), resumen->cuentas.end(), [](uint32_t n) { return n > 0; }));
    uint64_t vistos = 0;
    recorre([&](char32_t c) {
      const int v = alfabeto::valor(c);
      if (v >= 0 && !((vistos >> v) & 1)) {
        vistos |= uint64_t{1} << v;
        resumen->orden.push_back(static_cast<uint8_t>(v));
      }
      return resumen->orden.size() < distintos;
    });
    resumen->conOrden = true;
  }
  return *resumen;
}

namespace {

// The counts of a column moved back by each shift j in turn: movida[u] is the
// count of desplaza[j][u]. A shift that subtracts is a window on the counts
// written twice; one that XORs moves blocks of eight counts, permuted once
// for each of the eight low bits of j; any other is looked up symbol by symbol.
template <typename Cuenta>
class Movidas {
 public:
  Movidas(const Combinacion& combinacion, const Cuenta* cuentas) : combinacion_(combinacion) {
    if (combinacion.forma == Combinacion::Forma::Resta) {
      std::copy_n(cuentas, ORVNumCar, doble_.begin());
      std::copy_n(cuentas, ORVNumCar, doble_.begin() + ORVNumCar);
    } else if (combinacion.forma == Combinacion::Forma::Xor) {
      for (size_t l = 0; l < 8; ++l) {
        for (size_t u = 0; u < ORVNumCar; ++u) bajos_[l][u] = cuentas[u ^ l];
      }
    }
    cuentas_ = cuentas;
  }

  const Cuenta* con(size_t j) {
    switch (combinacion_.forma) {
      case Combinacion::Forma::Resta:
        return doble_.data() + (ORVNumCar - j);
      case Combinacion::Forma::Xor: {
        const auto& bajos = bajos_[j & 7u];
        for (size_t bloque = 0; bloque < 8; ++bloque) {
          std::copy_n(&bajos[(bloque ^ (j >> 3)) * 8], 8, &movida_[bloque * 8]);
        }
        return movida_.data();
      }
      case Combinacion::Forma::Otra:
        break;
    }
    const auto& desplaza = combinacion_.desplaza[j];
    for (size_t u = 0; u < ORVNumCar; ++u) movida_[u] = cuentas_[desplaza[u]];
    return movida_.data();
  }

 private:
  const Combinacion& combinacion_;
  const Cuenta* cuentas_ = nullptr;
  std::array<Cuenta, 2 * ORVNumCar> doble_{};
  std::array<std::array<Cuenta, ORVNumCar>, 8> bajos_{};
  std::array<Cuenta, ORVNumCar> movida_{};
};

// The pairs of columns a < b (0-based) of a period p, numbered row by row.
size_t numeroPar(size_t a, size_t b, size_t p) { return a * p - a * (a + 1) / 2 + (b - a - 1); }

// The mutual index of every pair of columns a < b under every shift j, at
// indices[j * pares + numeroPar(a, b, p)], from the columns' counters, with
// counts held as Cuenta and their products summed as Suma.
template <typename Cuenta, typename Suma>
void indicesMutuos(const Combinacion& combinacion, const std::vector<uint32_t>& cuentasColumnas,
                   const std::vector<size_t>& longitudes, size_t p, std::vector<Moneda>& indices) {
  std::vector<Cuenta> cuentas(p * ORVNumCar);
  for (size_t c = 0; c < p; ++c) {
    for (size_t u = 0; u < ORVNumCar; ++u) {
      cuentas[c * ORVNumCar + u] = static_cast<Cuenta>(cuentasColumnas[c * kAncho + u]);
    }
  }
  for (size_t a = 0; a < p; ++a) {
    Movidas<Cuenta> movidas(combinacion, &cuentas[a * ORVNumCar]);
    for (size_t j = 0; j < ORVNumCar; ++j) {
      const Cuenta* movida = movidas.con(j);
      for (size_t b = a + 1; b < p; ++b) {
        const Cuenta* cuentasB = &cuentas[b * ORVNumCar];
        Suma suma = 0;
        for (size_t u = 0; u < ORVNumCar; ++u) suma += static_cast<Suma>(movida[u]) * cuentasB[u];
        indices[j * (p * (p - 1) / 2) + numeroPar(a, b, p)] =
            recuento::indiceMutuo(static_cast<int64_t>(suma), longitudes[a], longitudes[b]);
      }
    }
  }
}

}  // namespace

void CriptoPeriodico::BuscaDesplazamientos() {
  kestrin::traduceExcepciones([&] {
    const auto cifrado = TextoCifrado();
    const VistaCadena s = recuento::sinEtiqueta(entrada(cifrado));
    recuento::longitud32(s.size());
    const int32_t periodo = periodo_;
    const auto p = static_cast<size_t>(std::max(periodo, 0));
    const int32_t total = 65 * periodo * (periodo - 1) / 2;

    // The counters of the columns: those of the period search when it
    // examined this period on this same text.
    const Instantanea texto = instantanea(*cifrado, s);
    std::vector<uint32_t> cuentasColumnas;
    if (textoContado_ == texto && p > 0 && cuentasElegidas_.size() == p * kAncho) {
      cuentasColumnas = cuentasElegidas_;
    } else if (p > 0) {
      cuentasColumnas = cuentaColumnasTexto<uint32_t>(s, p, nullptr);
    }
    // The columns are sized for the period in use, whatever MaxPeriodo is.
    aseguraColumnas(periodo);
    std::vector<size_t> longitudes(p);
    for (size_t c = 0; c < p; ++c) {
      longitudes[c] = longitudColumna(s.size(), p, c);
      Cadena().swap(textoCol_[c]);
      cortes_[c] = Corte{texto, p};
      auto& resumen = resumenes_[c].emplace();
      std::copy_n(&cuentasColumnas[c * kAncho], ORVNumCar, resumen.cuentas.begin());
    }

    // Every mutual index from the counters: column b moved back by j holds
    // desplaza[j][u] wherever it held u, so its coincidences with column a are
    // the sum over u of a's count of desplaza[j][u] times b's count of u.
    std::vector<Moneda> indices(static_cast<size_t>(ORVNumCar) * (p * (p - 1) / 2));
    const size_t masLarga = p > 0 ? longitudes[0] : 0;
    if (masLarga <= static_cast<size_t>(INT16_MAX)) {
      // Short columns: 16-bit counts, whose products summed over a column pair
      // (at most its two lengths multiplied) fit in 32 bits, four times as many
      // to a vector instruction.
      indicesMutuos<int16_t, int32_t>(combinacion_, cuentasColumnas, longitudes, p, indices);
    } else {
      indicesMutuos<uint32_t, uint64_t>(combinacion_, cuentasColumnas, longitudes, p, indices);
    }

    // The first cell of each pair in the table, in the order of the loops.
    std::vector<size_t> celdas;
    for (int32_t a = 1; a < periodo; ++a) {
      for (int32_t b = a + 1; b <= periodo; ++b) celdas.push_back(celdaICM(a, b, 0));
    }
    const size_t tamano = icm_.size();

    int32_t previstos = total;
    eventos.Inicio.lanza(previstos);
    int32_t k = 0;
    for (int32_t j = 0; j < ORVNumCar; ++j) {
      size_t par = 0;
      for (int32_t a = 1; a <= periodo; ++a) {
        for (int32_t b = a + 1; b <= periodo; ++b, ++par) {
          int32_t progreso = ++k;
          eventos.Progreso.lanza(progreso);
          const Moneda valor = indices[static_cast<size_t>(j) * (p * (p - 1) / 2) + par];
          // A handler that set another period replaced the table: the checked
          // accessor then says so.
          if (icm_.size() == tamano) {
            icm_[celdas[par] + static_cast<size_t>(j)] = valor;
          } else {
            setICM(a, b, j, valor);
          }
          kestrin::ProcesaEventos();
        }
      }
    }

    for (int32_t a = 1; a <= periodo; ++a) {
      for (int32_t b = a + 1; b <= periodo; ++b) {
        int32_t progreso = ++k;
        eventos.Progreso.lanza(progreso);
        // The pair's 64 values lie together in the table.
        const Moneda* valores = &icm_[celdaICM(a, b, 0)];
        int32_t mejor = 0;
        int64_t mejorDistancia = distancia(valores[0], icTipo_);
        for (int32_t j = 1; j < ORVNumCar; ++j) {
          const int64_t d = distancia(valores[j], icTipo_);
          if (d < mejorDistancia) {
            mejor = j;
            mejorDistancia = d;
          }
        }
        setDesplazamiento(a, b, mejor);
      }
    }

    if (combinacion_.compruebaCoherencia) {
      for (int32_t o = 1; o <= periodo - 2; ++o) {
        const int64_t suma = int64_t{Desplazamiento(o, o + 1)} + Desplazamiento(o + 1, o + 2) -
                             Desplazamiento(o, o + 2);
        if (suma % ORVNumCar != 0) {
          avisa(kAvisoDesplazamientos);
          break;
        }
      }
    }
    int32_t hechos = total;
    eventos.Fin.lanza(hechos);
  });
}

void CriptoPeriodico::BuscaClaves() {
  kestrin::traduceExcepciones([&] {
    const int32_t periodo = periodo_;
    if (periodo < 1) throw kestrin::ErrorSubindice();
    aseguraColumnas(periodo);

    // The aligned text: column 1, then every other column moved back by its
    // shift relative to column 1. Only its counts are needed, and they follow
    // from the columns'.
    std::vector<const Combinacion::Tabla::value_type*> desplazas;
    std::array<uint64_t, ORVNumCar> cuentas{};
    for (int32_t i = 1; i <= periodo; ++i) {
      const int32_t desplazamiento = i == 1 ? 0 : Desplazamiento(1, i);
      const auto& desplaza = combinacion_.desplaza[static_cast<size_t>(desplazamiento & 63)];
      desplazas.push_back(&desplaza);
      const ResumenColumna& columna = resumen(static_cast<size_t>(i - 1), false);
      for (size_t u = 0; u < ORVNumCar; ++u) cuentas[desplaza[u]] += columna.cuentas[u];
    }
    uint64_t total = 0;
    uint64_t suma = 0;
    uint64_t maximo = 0;
    int masFrecuente = 0;  // the space when the aligned text is empty
    int empatados = 0;
    for (int w = 0; w < ORVNumCar; ++w) {
      const uint64_t f = cuentas[static_cast<size_t>(w)];
      total += f;
      if (f > 0) suma += f * (f - 1);
      if (f > maximo) {
        maximo = f;
        masFrecuente = w;
        empatados = 1;
      } else if (f == maximo && f > 0) {
        ++empatados;
      }
    }
    if (total > static_cast<uint64_t>(INT32_MAX)) throw kestrin::ErrorDesbordamiento();
    const Moneda ic =
        total < 2
            ? Moneda()
            : Moneda::desdeDouble(static_cast<double>(suma) /
                                  (static_cast<double>(total) * static_cast<double>(total - 1)));
    // With several symbols at the top count, the one the analyser would list
    // first depends on the order in which they first appear in the text.
    int x = masFrecuente;
    if (empatados > 1) {
      std::vector<uint8_t> orden;
      uint64_t vistos = 0;
      for (int32_t i = 1; i <= periodo; ++i) {
        const auto& desplaza = *desplazas[static_cast<size_t>(i - 1)];
        for (const uint8_t u : resumen(static_cast<size_t>(i - 1), true).orden) {
          const uint8_t w = desplaza[u];
          if (!((vistos >> w) & 1)) {
            vistos |= uint64_t{1} << w;
            orden.push_back(w);
          }
        }
      }
      ORVResultado resultado;
      for (const uint8_t w : orden) {
        resultado.Add(Cadena(1, alfabeto::simbolo(w)), static_cast<int32_t>(cuentas[w]));
      }
      resultado.Ordena();
      x = alfabeto::valorDeTexto(resultado.Item(1)->Texto());
    }

    if (absoluto(ic - icTipo_) > icTipo_ / Moneda(10)) avisa(kAvisoIndice);

    std::vector<uint8_t> pasos;
    for (int32_t j = 2; j <= periodo; ++j) {
      pasos.push_back(static_cast<uint8_t>(Desplazamiento(j - 1, j) & 63));
    }
    const auto& referencia = combinacion_.referencia;
    for (size_t i = 0; i < referencia.size(); ++i) {
      const int v = alfabeto::valor(referencia[i]);
      uint8_t simbolo = combinacion_.primera[static_cast<size_t>(x)][static_cast<size_t>(v)];
      Cadena clave(1, alfabeto::simbolo(simbolo));
      for (const uint8_t paso : pasos) {
        simbolo = combinacion_.siguiente[simbolo][paso];
        clave.push_back(alfabeto::simbolo(simbolo));
      }
      clavesProbables_[i] = std::move(clave);
    }
  });
}

}  // namespace tarnel
