// Language statistics: counting, the text form, the shipped file.
//
// The shipped file lies beside the library's own file (found through
// dladdr), so that a build tree and an installed tree each find their copy
// and the program never needs the corpus it was made from.
#include "tarnel/estadisticas.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <istream>
#include <mutex>
#include <ostream>
#include <sstream>

#include "kestrin/errores.h"
#include "modelo.h"

namespace tarnel {
namespace {

constexpr uint32_t kBloques[5] = {0, 64, 64 * 64, 64 * 64 * 64, 64 * 64 * 64 * 64};
const double kLogRetroceso = std::log(0.4);
const std::string kCabecera = "orvane-estadisticas 1";

[[noreturn]] void malformado(size_t linea, const std::string& motivo) {
  throw kestrin::ErrorORV(kestrin::kArgumentoNoValido,
                          "El fichero de estadísticas no es válido (línea " + std::to_string(linea) +
                              "): " + motivo + ".");
}

Cadena bloqueDe(int n, uint32_t codigo) {
  Cadena s(static_cast<size_t>(n), U'·');
  for (int i = n - 1; i >= 0; --i, codigo >>= 6) s[static_cast<size_t>(i)] = alfabeto::simbolo(static_cast<int>(codigo & 63u));
  return s;
}

// The code of a block of 1..4 symbols, or -1 when a character is outside the alphabet.
int64_t codigoDe(VistaCadena bloque) {
  uint32_t codigo = 0;
  for (const char32_t c : bloque) {
    const int v = alfabeto::valor(c);
    if (v < 0) return -1;
    codigo = (codigo << 6) | static_cast<uint32_t>(v);
  }
  return codigo;
}

}  // namespace

EstadisticasLengua::EstadisticasLengua()
    : uno_(kBloques[1], 0), dos_(kBloques[2], 0), tres_(kBloques[3], 0) {}

EstadisticasLengua EstadisticasLengua::Cuenta(VistaCadena texto) { return Cuenta(texto, 0); }

EstadisticasLengua EstadisticasLengua::Cuenta(VistaCadena texto, size_t excluidos) {
  EstadisticasLengua e;
  size_t corte = texto.size() - std::min(excluidos, texto.size());
  if (excluidos > 0) {
    while (corte > 0 && texto[corte - 1] != U'\n') --corte;
  }
  e.excluidos_ = texto.size() - corte;
  // Counts are kept in 32 bits.
  if (corte >= UINT32_MAX) kestrin::lanzaError(kestrin::kDesbordamiento);
  uint32_t codigo = 0;
  uint64_t vistos = 0;
  for (size_t i = 0; i < corte; ++i) {
    const int v = alfabeto::valor(texto[i]);
    if (v < 0) continue;
    codigo = ((codigo << 6) | static_cast<uint32_t>(v)) & 0xFFFFFFu;
    ++vistos;
    ++e.uno_[static_cast<size_t>(v)];
    if (vistos >= 2) ++e.dos_[codigo & 0xFFFu];
    if (vistos >= 3) ++e.tres_[codigo & 0x3FFFFu];
    if (vistos >= 4) ++e.cuatro_[codigo];
  }
  for (int n = 1; n <= 4; ++n) e.totales_[static_cast<size_t>(n)] = vistos >= static_cast<uint64_t>(n) ? vistos - static_cast<uint64_t>(n) + 1 : 0;
  e.completa();
  return e;
}

void EstadisticasLengua::completa() {
  filas1_.assign(kBloques[1], 0);
  filas2_.assign(kBloques[2], 0);
  filas3_.assign(kBloques[3], 0);
  for (uint32_t c = 0; c < kBloques[2]; ++c) filas1_[c >> 6] += dos_[c];
  for (uint32_t c = 0; c < kBloques[3]; ++c) filas2_[c >> 6] += tres_[c];
  for (const auto& [c, n] : cuatro_) filas3_[c >> 6] += n;
}

uint64_t EstadisticasLengua::cuenta(int n, uint32_t codigo) const {
  switch (n) {
    case 1: return uno_[codigo];
    case 2: return dos_[codigo];
    case 3: return tres_[codigo];
    case 4: {
      const auto it = cuatro_.find(codigo);
      return it == cuatro_.end() ? 0 : it->second;
    }
    default: return 0;
  }
}

uint64_t EstadisticasLengua::fila(int n, uint32_t codigo) const {
  switch (n) {
    case 1: return filas1_[codigo];
    case 2: return filas2_[codigo];
    case 3: return filas3_[codigo];
    default: return 0;
  }
}

double EstadisticasLengua::logCondicional(int n, uint32_t codigo) const {
  if (n <= 1) return LogFrecuencia(static_cast<int32_t>(codigo & 63u));
  const uint32_t contexto = codigo >> 6;
  const uint64_t c = cuenta(n, codigo);
  if (c > 0) {
    return std::log(static_cast<double>(c)) - std::log(static_cast<double>(fila(n - 1, contexto)));
  }
  // Not seen: back off to the shorter context.
  return kLogRetroceso + logCondicional(n - 1, codigo & (kBloques[n - 1] - 1));
}

uint64_t EstadisticasLengua::Total(int32_t n) const {
  return n >= 1 && n <= 4 ? totales_[static_cast<size_t>(n)] : 0;
}

uint64_t EstadisticasLengua::CuentaBloque(VistaCadena bloque) const {
  if (bloque.empty() || bloque.size() > 4) return 0;
  const int64_t codigo = codigoDe(bloque);
  return codigo < 0 ? 0 : cuenta(static_cast<int>(bloque.size()), static_cast<uint32_t>(codigo));
}

double EstadisticasLengua::Frecuencia(int32_t v) const {
  if (v < 0 || v >= ORVNumCar) throw kestrin::ErrorSubindice();
  return totales_[1] == 0 ? 0.0 : static_cast<double>(uno_[static_cast<size_t>(v)]) / static_cast<double>(totales_[1]);
}

double EstadisticasLengua::LogFrecuencia(int32_t v) const {
  if (v < 0 || v >= ORVNumCar) throw kestrin::ErrorSubindice();
  return std::log((static_cast<double>(uno_[static_cast<size_t>(v)]) + 0.5) /
                  (static_cast<double>(totales_[1]) + 0.5 * static_cast<double>(ORVNumCar)));
}

double EstadisticasLengua::IndiceCoincidencia() const {
  double suma = 0;
  for (int v = 0; v < ORVNumCar; ++v) suma += Frecuencia(v) * Frecuencia(v);
  return suma;
}

double EstadisticasLengua::LogProbabilidad(VistaCadena bloque) const {
  const int64_t codigo = bloque.empty() || bloque.size() > 4 ? -1 : codigoDe(bloque);
  if (codigo < 0) kestrin::lanzaError(kestrin::kArgumentoNoValido);
  return logCondicional(static_cast<int>(bloque.size()), static_cast<uint32_t>(codigo));
}

void EstadisticasLengua::Escribe(std::ostream& salida) const {
  salida << "# Estadísticas de una lengua sobre el alfabeto de 64 símbolos: cuentas de\n"
            "# los bloques de 1 a 4 símbolos seguidos, de más a menos frecuentes.\n"
         << kCabecera << "\nexcluidos " << excluidos_ << "\n";
  for (int n = 1; n <= 4; ++n) {
    std::vector<std::pair<uint32_t, uint64_t>> bloques;
    if (n == 4) {
      for (const auto& [c, k] : cuatro_) bloques.emplace_back(c, k);
    } else {
      for (uint32_t c = 0; c < kBloques[n]; ++c) {
        if (const uint64_t k = cuenta(n, c); k > 0) bloques.emplace_back(c, k);
      }
    }
    std::sort(bloques.begin(), bloques.end(), [](const auto& a, const auto& b) {
      return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    salida << "orden " << n << ' ' << totales_[static_cast<size_t>(n)] << ' ' << bloques.size() << '\n';
    for (const auto& [c, k] : bloques) salida << kestrin::aUtf8(bloqueDe(n, c)) << ' ' << k << '\n';
  }
}

EstadisticasLengua EstadisticasLengua::Lee(std::istream& entrada) {
  EstadisticasLengua e;
  std::string linea;
  size_t numero = 0;
  // The next line that is not a comment or blank; false at the end.
  const auto siguiente = [&]() {
    while (std::getline(entrada, linea)) {
      ++numero;
      if (!linea.empty() && linea.back() == '\r') linea.pop_back();
      if (!linea.empty() && linea[0] != '#') return true;
    }
    return false;
  };
  const auto numeroDe = [&](std::istringstream& campos, const char* que) {
    std::string texto;
    if (!(campos >> texto) || texto.empty() ||
        !std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        texto.size() > 18) {
      malformado(numero, std::string("se esperaba ") + que);
    }
    return std::stoull(texto);
  };
  if (!siguiente() || linea != kCabecera) malformado(numero, "falta la cabecera «" + kCabecera + "»");
  {
    if (!siguiente()) malformado(numero, "falta la línea «excluidos»");
    std::istringstream campos(linea);
    std::string palabra;
    campos >> palabra;
    if (palabra != "excluidos") malformado(numero, "se esperaba «excluidos»");
    e.excluidos_ = numeroDe(campos, "un número de caracteres");
  }
  for (int n = 1; n <= 4; ++n) {
    if (!siguiente()) malformado(numero, "falta la sección de orden " + std::to_string(n));
    std::istringstream campos(linea);
    std::string palabra;
    campos >> palabra;
    if (palabra != "orden" || numeroDe(campos, "el orden") != static_cast<uint64_t>(n)) {
      malformado(numero, "se esperaba «orden " + std::to_string(n) + "»");
    }
    const uint64_t total = numeroDe(campos, "el total");
    const uint64_t distintos = numeroDe(campos, "el número de bloques");
    if (distintos > kBloques[n]) malformado(numero, "demasiados bloques");
    e.totales_[static_cast<size_t>(n)] = total;
    uint64_t suma = 0;
    for (uint64_t k = 0; k < distintos; ++k) {
      if (!siguiente()) malformado(numero, "faltan bloques de orden " + std::to_string(n));
      const size_t espacio = linea.find(' ');
      if (espacio == std::string::npos) malformado(numero, "se esperaba un bloque y su cuenta");
      const Cadena bloque = kestrin::desdeUtf8(std::string_view(linea).substr(0, espacio));
      const int64_t codigo = bloque.size() == static_cast<size_t>(n) ? codigoDe(bloque) : -1;
      if (codigo < 0) malformado(numero, "el bloque no tiene " + std::to_string(n) + " símbolos del alfabeto");
      std::istringstream resto(linea.substr(espacio));
      const uint64_t cuenta = numeroDe(resto, "una cuenta");
      std::string sobra;
      if (resto >> sobra) malformado(numero, "sobra texto tras la cuenta");
      if (cuenta == 0 || cuenta > UINT32_MAX - 1) malformado(numero, "cuenta fuera de rango");
      const auto c = static_cast<uint32_t>(codigo);
      if (e.cuenta(n, c) != 0) malformado(numero, "bloque repetido");
      switch (n) {
        case 1: e.uno_[c] = cuenta; break;
        case 2: e.dos_[c] = static_cast<uint32_t>(cuenta); break;
        case 3: e.tres_[c] = static_cast<uint32_t>(cuenta); break;
        default: e.cuatro_[c] = static_cast<uint32_t>(cuenta); break;
      }
      suma += cuenta;
    }
    if (suma != total) malformado(numero, "las cuentas no suman el total de orden " + std::to_string(n));
  }
  if (siguiente()) malformado(numero, "sobran líneas al final");
  e.completa();
  return e;
}

EstadisticasLengua EstadisticasLengua::LeeFichero(const std::string& ruta) {
  std::ifstream fichero(ruta, std::ios::binary);
  if (!fichero) {
    throw kestrin::ErrorORV(kestrin::kRecursoNoEncontrado,
                            "No se puede leer el fichero de estadísticas de la lengua «" + ruta + "».");
  }
  return kestrin::traduceExcepciones([&] { return Lee(fichero); });
}

ModeloCuadrigramas::ModeloCuadrigramas(std::shared_ptr<const EstadisticasLengua> estadisticas)
    : estadisticas_(std::move(estadisticas)), costes_(kBloques[4]) {
  const EstadisticasLengua& e = *estadisticas_;
  for (int v = 0; v < ORVNumCar; ++v) logUno_[static_cast<size_t>(v)] = e.LogFrecuencia(v);
  for (int n = 1; n <= 3; ++n) {
    auto& cortos = cortos_[static_cast<size_t>(n)];
    cortos.resize(kBloques[n]);
    for (uint32_t c = 0; c < kBloques[n]; ++c) cortos[c] = cuantiza(e.logCondicional(n, c));
  }
  // Unseen blocks back off to the block of three that ends them: one row of
  // 64 costs per context of two symbols, copied under every first symbol.
  std::vector<uint8_t> filas3(kBloques[3]);
  for (uint32_t c = 0; c < kBloques[3]; ++c) filas3[c] = cuantiza(kLogRetroceso + e.logCondicional(3, c));
  for (uint32_t w = 0; w < 64; ++w) {
    std::copy(filas3.begin(), filas3.end(), costes_.begin() + static_cast<ptrdiff_t>(w) * kBloques[3]);
  }
  for (const auto& [c, n] : e.cuatro_) costes_[c] = cuantiza(e.logCondicional(4, c));
}

uint8_t ModeloCuadrigramas::cuantiza(double logProbabilidad) {
  const double coste = std::round(-logProbabilidad * kEscala);
  return static_cast<uint8_t>(std::clamp(coste, 0.0, 255.0));
}

namespace {

struct EnUso {
  std::mutex cerrojo;
  std::shared_ptr<const ModeloCuadrigramas> modelo;
};

EnUso& enUso() {
  static EnUso e;
  return e;
}

std::shared_ptr<const ModeloCuadrigramas> modeloDe(const std::string& ruta) {
  auto estadisticas = std::make_shared<const EstadisticasLengua>(EstadisticasLengua::LeeFichero(ruta));
  return kestrin::traduceExcepciones([&] { return std::make_shared<const ModeloCuadrigramas>(std::move(estadisticas)); });
}

}  // namespace

std::string RutaEstadisticas() {
  Dl_info info{};
  std::string carpeta;
  if (dladdr(reinterpret_cast<const void*>(&RutaEstadisticas), &info) != 0 && info.dli_fname) {
    carpeta = info.dli_fname;
    const size_t barra = carpeta.rfind('/');
    carpeta = barra == std::string::npos ? std::string() : carpeta.substr(0, barra + 1);
  }
  return carpeta + "es.estadisticas";
}

std::shared_ptr<const ModeloCuadrigramas> modeloEnUso() {
  EnUso& e = enUso();
  std::lock_guard bloqueo(e.cerrojo);
  if (!e.modelo) e.modelo = modeloDe(RutaEstadisticas());
  return e.modelo;
}

std::shared_ptr<const EstadisticasLengua> EstadisticasEnUso() { return modeloEnUso()->estadisticas(); }

void UsaEstadisticas(const std::string& ruta) {
  auto modelo = modeloDe(ruta);
  EnUso& e = enUso();
  std::lock_guard bloqueo(e.cerrojo);
  e.modelo = std::move(modelo);
}

}  // namespace tarnel
