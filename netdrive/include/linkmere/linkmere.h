// Linkmere: the connection to the shared mailbox folder.
//
// A connection hands a resource record (letter, path) to a provider; the
// provider checks the path and records it in its table of drive letters, and
// answers with a network error number. The connection turns that number into
// ErrorNumber, ErrorDescription and its events. The folder provider of the
// process serves every connection created without one; tests give their own.
//
// Linkmere sits below Kestrin (Kestrin links it), so it takes from Kestrin only
// what lives in headers: the Objeto base and the class-table entry, Evento and
// the Cadena alias. registra() is therefore inline: it runs in the caller,
// which links Kestrin.
#pragma once

#include <span>

#include "kestrin/objeto.h"
#include "linkmere/connection.h"
#include "linkmere/proveedor.h"

namespace linkmere {

// Linkmere's creatable classes ("Linkmere.connection").
std::span<const kestrin::EntradaClase> clases();

// Adds clases() to the table of kestrin::CreaObjeto.
inline void registra() { kestrin::registraClases(clases()); }

}  // namespace linkmere
