// Language statistics: counting, the text form, the shipped file.
#include "tarnel/estadisticas.h"

#include "kestrin/errores.h"

namespace tarnel {

EstadisticasLengua EstadisticasLengua::Cuenta(VistaCadena texto) { return Cuenta(texto, 0); }
EstadisticasLengua EstadisticasLengua::Cuenta(VistaCadena, size_t) { return {}; }
EstadisticasLengua EstadisticasLengua::Lee(std::istream&) { return {}; }
EstadisticasLengua EstadisticasLengua::LeeFichero(const std::string&) {
  kestrin::lanzaError(kestrin::kRecursoNoEncontrado);
}
void EstadisticasLengua::Escribe(std::ostream&) const {}
uint64_t EstadisticasLengua::Total(int32_t) const { return 0; }
uint64_t EstadisticasLengua::CuentaBloque(VistaCadena) const { return 0; }
double EstadisticasLengua::Frecuencia(int32_t) const { return 0; }
double EstadisticasLengua::LogFrecuencia(int32_t) const { return 0; }
double EstadisticasLengua::IndiceCoincidencia() const { return 0; }
double EstadisticasLengua::LogProbabilidad(VistaCadena) const { return 0; }

std::shared_ptr<const EstadisticasLengua> EstadisticasEnUso() {
  kestrin::lanzaError(kestrin::kRecursoNoEncontrado);
}
void UsaEstadisticas(const std::string&) {}
std::string RutaEstadisticas() { return {}; }

}  // namespace tarnel
