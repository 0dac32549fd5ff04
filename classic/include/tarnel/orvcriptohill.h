// Hill cryptosystem: blocks of n symbols multiplied by an n x n key modulo 64.
#pragma once

#include <memory>
#include <vector>

#include "kestrin/evento.h"
#include "tarnel/alfabeto.h"
#include "tarnel/criptosistema.h"
#include "tarnel/orvmatriz.h"

namespace tarnel {

// The key is an ORVMatriz shared with the caller, who fills it element by
// element after setting TamClave. Deciphering multiplies by the inverse key.
class ORVCriptoHill : public Criptosistema {
 public:
  ORVCriptoHill();

  // Largest key size. Inverting the key takes time as the cube of the size:
  // at 100 it takes about 20 ms, and deciphering a megabyte about 0.3 s.
  static constexpr int32_t kTamMaximo = 100;

  // Writing n empties the key and makes it n x n, then raises CambiaTamaño(n).
  // Above kTamMaximo it raises ErrorORV 380 and changes nothing.
  int32_t TamClave() const { return tamClave_; }
  void setTamClave(int32_t n);

  const std::shared_ptr<ORVMatriz>& Clave() const { return clave_; }
  // The inverse of the key at each read, or no object when it has none. A
  // key that is no longer TamClave x TamClave raises ErrorSubindice.
  std::shared_ptr<ORVMatriz> ClaveInversa() const;

  // Enciphers the valid symbols of TextoOriginal in blocks of TamClave,
  // padding the last block with "·", into a new TextoCifrado tagged CSKHill,
  // then raises Cifrado. Does nothing while TamClave is below 1; a key that
  // is no longer TamClave x TamClave raises ErrorSubindice.
  void Cifra();
  // Deciphers TextoCifrado (any leading tag removed) into a new TextoOriginal
  // tagged CSKNone, then raises DesCifrado. Does nothing while TamClave is
  // below 1 or the key has no inverse; a key that is no longer TamClave x
  // TamClave raises ErrorSubindice.
  void Descifra();

  // Known-plaintext attack: every invertible key of size TamClave that takes
  // the plain text `claro` onto the cipher text `cifrado`. Both are read as
  // Cifra and Descifra read them: the valid symbols in order (any leading tag
  // removed), the plain text padded with "·" to whole blocks; as many blocks
  // as both texts hold are used. The system over all the blocks is solved
  // modulo 64 (as 64 is a power of two, a key is invertible when its
  // determinant is odd); when it has several solutions they are listed in
  // order, at most kMaxClavesEncontradas (MasClavesEncontradas says whether
  // there were more, or whether the search for invertible ones among very
  // many solutions stopped before the end: it tries a bounded number, fewer
  // the larger the key). No key when TamClave is below 1, the texts hold no
  // whole block, or no invertible key agrees with them. "No object" raises
  // error 91.
  static constexpr int32_t kMaxClavesEncontradas = 64;
  void BuscaClaves(const std::shared_ptr<ORVTexto>& claro, const std::shared_ptr<ORVTexto>& cifrado);
  int32_t NumClavesEncontradas() const { return static_cast<int32_t>(encontradas_.size()); }
  // A new matrix, a copy of key i (1..NumClavesEncontradas); outside, ErrorSubindice.
  std::shared_ptr<ORVMatriz> ClaveEncontrada(int32_t i) const;
  // True when more keys agree with the pair than the list holds.
  bool MasClavesEncontradas() const { return masEncontradas_; }

  // Only CambiaTamaño, Cifrado and DesCifrado are ever raised.
  struct Eventos {
    kestrin::Evento<int32_t> CambiaTamaño;
    kestrin::Evento<const Cadena&> Warning;
    kestrin::Evento<> Cifrado;
    kestrin::Evento<> DesCifrado;
    kestrin::Evento<int32_t&> Inicio;
    kestrin::Evento<int32_t&> Progreso;
    kestrin::Evento<int32_t&> Fin;
  } eventos;

 private:
  // Multiplies blocks of the text by `matriz`; see Cifra and Descifra for how
  // characters outside the alphabet fill a block.
  Cadena multiplica(VistaCadena texto, const ORVMatriz& matriz, bool descifrando) const;
  // Raises ErrorSubindice unless `matriz` is TamClave x TamClave.
  void compruebaForma(const ORVMatriz& matriz) const;

  int32_t tamClave_ = 0;
  std::shared_ptr<ORVMatriz> clave_;
  // Row-major keys found, TamClave x TamClave values each.
  std::vector<std::vector<uint8_t>> encontradas_;
  bool masEncontradas_ = false;
};

}  // namespace tarnel
