// Aids beside the periodic-cipher attack: Kasiski's test, autocorrelation,
// and the key solved from the language statistics.
#include "kestrin/errores.h"
#include "tarnel/criptoperiodico.h"

namespace tarnel {

void CriptoPeriodico::Resuelve() {}
const Cadena& CriptoPeriodico::ClaveResuelta(int32_t) const { throw kestrin::ErrorSubindice(); }
double CriptoPeriodico::PuntuacionResuelta(int32_t) const { throw kestrin::ErrorSubindice(); }
void CriptoPeriodico::Kasiski() {}
int32_t CriptoPeriodico::DistanciaKasiski(int32_t) const { throw kestrin::ErrorSubindice(); }
Cadena CriptoPeriodico::SecuenciaKasiski(int32_t) const { throw kestrin::ErrorSubindice(); }
int32_t CriptoPeriodico::PosicionKasiski(int32_t) const { throw kestrin::ErrorSubindice(); }
int32_t CriptoPeriodico::CuentaFactorKasiski(int32_t) const { throw kestrin::ErrorSubindice(); }
int32_t CriptoPeriodico::Autocorrelacion(int32_t) const { throw kestrin::ErrorSubindice(); }
int32_t CriptoPeriodico::PeriodoAutocorrelacion() const { return 0; }

}  // namespace tarnel
