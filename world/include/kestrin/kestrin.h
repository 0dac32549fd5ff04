// Kestrin: the shared services every library and window builds on.
//
// Texts travel as Cadena (one element per character) inside ORVTexto objects
// that carry the identifier of the cryptosystem that produced them; ORVW turns
// identifiers into tags of plain strings and back, reads and writes profile
// files and holds the mailbox connection (Linkmere); ORVImagen serves the
// figures and phrases of the main window as plain pictures and texts; ORVmcd
// traces Euclid's algorithm for the systems that need inverses modulo 64. Components are
// created by class name through CreaObjeto, report to their clients through
// Evento members, and raise only ErrorORV errors.
#pragma once

#include "kestrin/cadena.h"
#include "kestrin/errores.h"
#include "kestrin/evento.h"
#include "kestrin/moneda.h"
#include "kestrin/objeto.h"
#include "kestrin/orvimagen.h"
#include "kestrin/orvmcd.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "kestrin/variante.h"

namespace kestrin {

// Kestrin's own creatable classes.
std::span<const EntradaClase> clases();

}  // namespace kestrin
