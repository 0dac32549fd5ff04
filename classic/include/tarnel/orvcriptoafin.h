// Affine cryptosystem: y = a*x + b modulo 64.
#pragma once

#include "kestrin/moneda.h"
#include "tarnel/alfabeto.h"
#include "tarnel/criptosistema.h"

namespace tarnel {

using kestrin::Moneda;

// The key is kept as given and reduced modulo 64 when used. With an invalid
// key (a even, zero included) Cifra and Descifra do nothing.
class ORVCriptoAfin : public Criptosistema {
 public:
  Moneda Multiplicador() const { return multiplicador_; }
  void setMultiplicador(Moneda a) { multiplicador_ = a; }
  Moneda Desplazamiento() const { return desplazamiento_; }
  void setDesplazamiento(Moneda b) { desplazamiento_ = b; }

  // Enciphers TextoOriginal into a new TextoCifrado tagged CSKAfin, then raises Cifrado.
  void Cifra();
  // Deciphers TextoCifrado into a new TextoOriginal tagged CSKNone, then raises DesCifrado.
  void Descifra();

  struct Eventos {
    kestrin::Evento<> Cifrado;
    kestrin::Evento<> DesCifrado;
  } eventos;

 private:
  bool ClaveValida() const;
  static int32_t InversoModular(Moneda a);
  // Maps every symbol of `texto` through v -> v*a + b (mod 64), dropping the rest.
  static Cadena transforma(VistaCadena texto, Moneda a, Moneda b);

  Moneda multiplicador_;
  Moneda desplazamiento_;
};

}  // namespace tarnel
