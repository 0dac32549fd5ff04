// Spanish texts of the classic error numbers.
#include "kestrin/errores.h"

#include <functional>
#include <new>
#include <optional>
#include <system_error>
#include <typeinfo>
#include <variant>

namespace kestrin {

std::string mensajeError(int32_t numero) {
  switch (numero) {
    case kArgumentoNoValido: return "Llamada a procedimiento o argumento no válidos";
    case kDesbordamiento: return "Desbordamiento";
    case kMemoriaInsuficiente: return "Memoria insuficiente";
    case kSubindiceFuera: return "El subíndice está fuera del intervalo";
    case kDivisionPorCero: return "División por cero";
    case kTiposNoCoinciden: return "No coinciden los tipos";
    case kObjetoNoEstablecido: return "Variable de objeto o bloque With no establecida";
    case kRecursoNoEncontrado: return "No se encuentra el recurso con el identificador especificado";
    case kValorPropiedadNoValido: return "Valor de propiedad no válido";
    case kNoPuedeCrearObjeto: return "El componente no puede crear el objeto";
    default: return "Error definido por la aplicación o por el objeto";
  }
}

void lanzaError(int32_t numero) {
  switch (numero) {
    case kDesbordamiento: throw ErrorDesbordamiento();
    case kSubindiceFuera: throw ErrorSubindice();
    case kTiposNoCoinciden: throw ErrorTipos();
    case kDivisionPorCero: throw ErrorDivisionPorCero();
    default: throw ErrorORV(numero, mensajeError(numero));
  }
}

void relanzaComoErrorORV() {
  try {
    throw;
  } catch (const ErrorORV&) {
    throw;
  } catch (const std::bad_alloc&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::logic_error&) {  // length_error, out_of_range, invalid_argument, ...
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::overflow_error&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::underflow_error&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::range_error&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::system_error&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::bad_function_call&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::bad_optional_access&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::bad_variant_access&) {
    lanzaError(kMemoriaInsuficiente);
  } catch (const std::bad_cast&) {
    lanzaError(kMemoriaInsuficiente);
  }
}

}  // namespace kestrin
