// Merkle-Hellman knapsack cryptosystem on currency arithmetic.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "halvard/bloques.h"
#include "kestrin/cadena.h"
#include "kestrin/evento.h"
#include "kestrin/moneda.h"
#include "kestrin/objeto.h"
#include "kestrin/orvtexto.h"

namespace halvard {

using kestrin::Cadena;
using kestrin::Moneda;

// The private key is a superincreasing sequence with a modulus and a
// multiplier; the public key is the sequence of (multiplier * element) mod
// modulus. Texts become bits (eight per 8-bit character code) cut into blocks
// of LongitudSucesion bits, each enciphered as the sum of the public elements
// its 1-bits select. Every number is a whole currency value; products are
// taken modulo the modulus exactly, and only a sum that leaves the currency
// range raises the overflow error.
class ORVCriptoMHM : public kestrin::Objeto {
 public:
  ORVCriptoMHM();

  int32_t LongitudSucesion() const { return static_cast<int32_t>(privada_.size()); }
  // 0 or the current length change nothing; any other length pads the text
  // with (8 * length) mod L spaces, re-creates both sequences with L zeros and
  // raises CambiaClave. A negative length raises ErrorSubindice.
  void setLongitudSucesion(int32_t longitud);

  // Elements 1..LongitudSucesion; any other index raises ErrorSubindice.
  Moneda SucesionPrivada(int32_t i) const;
  void setSucesionPrivada(int32_t i, Moneda valor);
  Moneda SucesionPublica(int32_t i) const;
  void setSucesionPublica(int32_t i, Moneda valor);

  Moneda Modulo() const { return modulo_; }
  void setModulo(Moneda m);
  Moneda Multiplicador() const { return multiplicador_; }
  void setMultiplicador(Moneda w);

  // Setting the private flag true sets the public one; clearing the public
  // flag clears the private one. Each write raises CambiaClave.
  bool ClavePublicaOK() const { return clavePublicaOK_; }
  void setClavePublicaOK(bool ok);
  bool ClavePrivadaOK() const { return clavePrivadaOK_; }
  void setClavePrivadaOK(bool ok);

  // The object's own text. Writing copies the given text's Texto into it,
  // padded with (8 * length) mod L spaces.
  const std::shared_ptr<kestrin::ORVTexto>& TextoOriginal() const { return textoOriginal_; }
  void setTextoOriginal(const std::shared_ptr<kestrin::ORVTexto>& texto);

  // Enciphered blocks, indexes 1..NumBloques, or the single slot 0 when there
  // are none. Any other index raises ErrorSubindice.
  Moneda TextoCifrado(int32_t i) const;
  void setTextoCifrado(int32_t i, Moneda valor);
  int32_t NumBloques() const { return numBloques_; }
  // Re-creates the block list with n zero blocks.
  void setNumBloques(int32_t n);
  // Highest valid index of TextoCifrado (0 when there are no blocks).
  int32_t UltimoBloque() const;

  // Checks the private key and derives the public sequence, reporting through
  // the ConstruyeClave event; it stops at the first problem.
  void ConstruyeClave();
  // Needs ClavePublicaOK; enciphers TextoOriginal into TextoCifrado.
  void Cifra();
  // Needs ClavePrivadaOK and a modulus; deciphers TextoCifrado into TextoOriginal.
  void Descifra();
  // Multiplicador and Modulo become 0, each raising CambiaClave.
  void VaciaClave();

  struct Eventos {
    kestrin::Evento<bool&, const Cadena&> ConstruyeClave;
    kestrin::Evento<int32_t> Cifrado;
    kestrin::Evento<> DesCifrado;
    kestrin::Evento<> CambiaClave;
    kestrin::Evento<int32_t> Fin;
    kestrin::Evento<int32_t> Inicio;
    kestrin::Evento<int32_t> Progreso;
    kestrin::Evento<const Cadena&> Warning;
  } eventos;

 private:
  void rechaza(const Cadena& mensaje);
  void rellena(Cadena& texto) const;
  size_t indiceSucesion(int32_t i) const;

  std::vector<Moneda> privada_;
  std::vector<Moneda> publica_;
  Moneda modulo_;
  Moneda multiplicador_;
  bool clavePublicaOK_ = false;
  bool clavePrivadaOK_ = false;
  std::shared_ptr<kestrin::ORVTexto> textoOriginal_ = std::make_shared<kestrin::ORVTexto>();
  ListaBloques<Moneda> bloques_;
  int32_t numBloques_ = 0;
};

}  // namespace halvard
