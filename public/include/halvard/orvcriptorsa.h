// RSA cryptosystem on the big-number service, enciphering in numbered blocks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "halvard/bloques.h"
#include "kestrin/cadena.h"
#include "kestrin/evento.h"
#include "kestrin/objeto.h"
#include "kestrin/orvtexto.h"

namespace halvard {

using kestrin::Cadena;
using kestrin::VistaCadena;

// Numbers are decimal texts. A block of TamBloque characters is the number
// written by the three-digit 8-bit codes of its characters (leading zeros
// included); each block is enciphered as m^e mod n. Key problems are reported
// through the ConstruyeClave event; a failure of the arithmetic leaves a block
// empty (enciphering) or skips it (deciphering).
class ORVCriptoRSA : public kestrin::Objeto {
 public:
  ORVCriptoRSA();

  // Index 1 or 2; any other raises ErrorSubindice.
  const Cadena& ClaveFactor(int32_t indice) const;
  void setClaveFactor(int32_t indice, VistaCadena valor);
  const Cadena& Exponente() const { return exponente_; }
  void setExponente(VistaCadena valor);
  const Cadena& Clave() const { return clave_; }
  // Also sets NumBits to the bit length of the modulus.
  void setClave(VistaCadena valor);
  const Cadena& ClavePrivada() const { return clavePrivada_; }
  void setClavePrivada(VistaCadena valor);
  int32_t TamBloque() const { return tamBloque_; }
  // Characters per block, at least 1 (otherwise ErrorORV 380).
  void setTamBloque(int32_t caracteres);
  int32_t NumBits() const { return numBits_; }
  void setNumBits(int32_t bits) { numBits_ = bits; }

  int32_t NumBloques() const { return numBloques_; }
  // Re-creates the block list empty: indexes 1..n, or the single slot 0 for
  // n = 0. More than 2^24 blocks raise ErrorORV 7 (Cifra too, for a text that
  // many blocks long).
  void setNumBloques(int32_t n);
  const Cadena& TextoCifrado(int32_t i) const;
  void setTextoCifrado(int32_t i, VistaCadena valor);

  const std::shared_ptr<kestrin::ORVTexto>& TextoOriginal() const { return textoOriginal_; }
  void setTextoOriginal(std::shared_ptr<kestrin::ORVTexto> texto) {
    textoOriginal_ = std::move(texto);
  }

  // Checks the factors and the exponent and completes the key; does nothing
  // unless both factors and the exponent are given.
  void ConstruyeClave();
  void Cifra();
  void Descifra();
  // Empties the key and sets TamBloque to 1, raising CambiaClave once.
  void VaciaClave();

  struct Eventos {
    kestrin::Evento<> CambiaClave;
    kestrin::Evento<bool&, const Cadena&> ConstruyeClave;
    kestrin::Evento<int32_t> Cifrado;
    kestrin::Evento<> DesCifrado;
    kestrin::Evento<int32_t> Fin;
    kestrin::Evento<int32_t> Inicio;
    kestrin::Evento<int32_t> Progreso;
    kestrin::Evento<const Cadena&> Warning;
  } eventos;

 private:
  void informa(bool ok, const Cadena& mensaje);
  Cadena NumeroATexto(VistaCadena numero) const;

  std::array<Cadena, 2> factores_;
  Cadena exponente_, clave_, clavePrivada_;
  int32_t tamBloque_ = 1;
  int32_t numBits_ = 0;
  int32_t numBloques_ = 0;
  ListaBloques<Cadena> bloques_;
  std::shared_ptr<kestrin::ORVTexto> textoOriginal_ = std::make_shared<kestrin::ORVTexto>();
};

}  // namespace halvard
