// Periodic-key cryptosystems (Vigenère, XOR) and their three-stage attack.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "kestrin/evento.h"
#include "kestrin/moneda.h"
#include "tarnel/alfabeto.h"
#include "tarnel/criptosistema.h"

namespace tarnel {

using kestrin::Moneda;

// How a key symbol combines with a text symbol (internal): the one thing in
// which the periodic ciphers differ.
struct Combinacion;

// A periodic key over the alphabet and the classroom attack on it:
// BuscaPeriodo estimates the period from the index of coincidence of the
// columns, BuscaDesplazamientos the relative shift of every pair of columns
// from their mutual index, BuscaClaves proposes keys from the expected symbol
// frequencies. Every intermediate table is an indexed property (1-based;
// indices outside the current bounds raise ErrorSubindice) so that a window
// can show it. Doubtful results are reported through Warning; the searches
// always complete.
//
// The searches work on TextoCifrado with any leading tag removed. A character
// outside the alphabet in a column takes its place in the column (it counts in
// the column's length) but is not a symbol: shifting a column leaves it as it
// is, and it never counts as a coincidence.
class CriptoPeriodico : public Criptosistema {
 public:
  // Largest MaxPeriodo and Periodo accepted: the shift tables grow with the
  // square of the period.
  static constexpr int32_t kPeriodoLimite = 256;

  // Writing keeps the folded symbols of the text that are in the alphabet.
  const Cadena& Clave() const { return clave_; }
  void setClave(VistaCadena clave);

  // Writing re-creates IC, MediaIC, VarianzaIC and TextoCol with bounds
  // 1..MaxPeriodo, all empty. A value below 0 or above kPeriodoLimite raises
  // error 380. 0 leaves no tables; BuscaPeriodo then uses 20.
  int32_t MaxPeriodo() const { return maxPeriodo_; }
  void setMaxPeriodo(int32_t maxPeriodo);

  // Index of coincidence of column c for the period m.
  Moneda IC(int32_t m, int32_t c) const;
  void setIC(int32_t m, int32_t c, Moneda valor);
  Moneda MediaIC(int32_t m) const;
  void setMediaIC(int32_t m, Moneda valor);
  // Sum of the squared deviations of IC(m, c) from MediaIC(m).
  Moneda VarianzaIC(int32_t m) const;
  void setVarianzaIC(int32_t m, Moneda valor);
  // Columns of the ciphertext for the period last used. The table has at
  // least MaxPeriodo entries and grows to the period a search uses.
  const Cadena& TextoCol(int32_t i) const;
  void setTextoCol(int32_t i, Cadena texto);

  // Writing 1 or more re-creates ICM and Desplazamiento with bounds
  // 1..Periodo, all 0; a value below 1 is ignored; above kPeriodoLimite it
  // raises error 380.
  int32_t Periodo() const { return periodo_; }
  void setPeriodo(int32_t periodo);

  // Mutual index of column i with column j moved back by s (0..63); one cell
  // per unordered pair of columns.
  Moneda ICM(int32_t i, int32_t j, int32_t s) const;
  void setICM(int32_t i, int32_t j, int32_t s, Moneda valor);
  // Shift of column j relative to column i, stored for i <= j; (j, i) reads
  // and writes the negated value of (i, j).
  int32_t Desplazamiento(int32_t i, int32_t j) const;
  void setDesplazamiento(int32_t i, int32_t j, int32_t valor);

  // The index of coincidence expected of a plain text of the language.
  Moneda ICTipo() const { return icTipo_; }
  void setICTipo(Moneda icTipo) { icTipo_ = icTipo; }

  // Candidate keys, 1..64.
  const Cadena& ClaveProbable(int32_t i) const;

  // Enciphers TextoOriginal into a new TextoCifrado, then raises Cifrado.
  // Characters outside the alphabet are dropped. An empty key does nothing.
  void Cifra();
  // Deciphers TextoCifrado (any leading tag removed) into a new TextoOriginal
  // tagged CSKNone, then raises DesCifrado. An empty key does nothing.
  void Descifra();

  // Inicio(MaxPeriodo), Progreso(1..MaxPeriodo), Fin(MaxPeriodo). Fills IC,
  // MediaIC and VarianzaIC for every period up to MaxPeriodo, leaves in
  // TextoCol the columns for MaxPeriodo and sets Periodo to the period whose
  // mean index is closest to ICTipo (within ICTipo / 10, the one with the
  // smaller variance; ties to the smaller period).
  void BuscaPeriodo();
  // Inicio(N), Progreso(1..N), Fin(N) with N = 65 * P * (P - 1) / 2 for
  // P = Periodo. Fills ICM for every pair of columns and shift and
  // Desplazamiento with the shift whose ICM is closest to ICTipo; leaves in
  // TextoCol the columns for P.
  void BuscaDesplazamientos();
  // Aligns the columns with the shifts found and proposes keys in
  // ClaveProbable, one per symbol of the reference order, each Periodo
  // symbols long. Raises ErrorSubindice when no period has been set.
  void BuscaClaves();

  // The methods below are further aids beside the three stages, which they
  // neither read nor change. They work on the symbols of TextoCifrado (any
  // leading tag removed) in order, characters outside the alphabet dropped,
  // as Cifra and Descifra count them.

  // Solves the key for the current Periodo from the language statistics
  // (EstadisticasEnUso): each column's key symbol is the one whose deciphered
  // column is likeliest symbol by symbol, then the key is refined one
  // symbol at a time with the score of blocks of four symbols until no
  // change improves it. Fills ClaveResuelta and PuntuacionResuelta with the
  // best key and the best keys that differ from it in one symbol, best first
  // (at most kClavesResueltas). The score is the mean log-probability per
  // symbol of the deciphered text (higher is better; near -2 for Spanish).
  // Scores are taken over the first kMuestraResuelve symbols at most. An
  // empty ciphertext leaves no keys. Raises ErrorSubindice when no period
  // has been set, ErrorORV 326 when the statistics cannot be read.
  static constexpr int32_t kClavesResueltas = 10;
  static constexpr int32_t kMuestraResuelve = 20000;
  void Resuelve();
  // 1..NumClavesResueltas; outside, ErrorSubindice.
  const Cadena& ClaveResuelta(int32_t i) const;
  double PuntuacionResuelta(int32_t i) const;
  int32_t NumClavesResueltas() const { return static_cast<int32_t>(resueltas_.size()); }

  // Kasiski's test: the repeated sequences of at least three symbols with the
  // distance between two occurrences in a row, one entry per repeat (the
  // sequence as long as the two occurrences agree), longest sequences first,
  // then by position. Of more than kMaxDistanciasKasiski only the first
  // kMaxDistanciasKasiski in that order are kept (a long text repeats many
  // blocks of three by chance; its long repeats are the telling ones), and
  // LongitudKasiski is the length of the shortest kept. The factor counts are taken over the entries
  // listed, for p = 2..MaxPeriodo (20 when it is 0) as it was when Kasiski ran.
  static constexpr int32_t kMaxDistanciasKasiski = 5000;
  void Kasiski();
  int32_t NumDistanciasKasiski() const { return static_cast<int32_t>(kasiski_.size()); }
  // 1..NumDistanciasKasiski; outside, ErrorSubindice.
  int32_t DistanciaKasiski(int32_t i) const;
  Cadena SecuenciaKasiski(int32_t i) const;
  // Position (1-based, among the symbols) of the first of the two occurrences.
  int32_t PosicionKasiski(int32_t i) const;
  // The least length of the sequences listed (3, or more for long texts);
  // 0 before Kasiski has run.
  int32_t LongitudKasiski() const { return longitudKasiski_; }
  // How many distances p divides, 2 <= p <= the bound above; outside,
  // ErrorSubindice.
  int32_t CuentaFactorKasiski(int32_t p) const;
  // The period the distances point to: the p with the largest excess of
  // distances it divides over the 1 / p expected by chance, when that excess
  // is significant; 0 otherwise.
  int32_t PeriodoKasiski() const { return periodoKasiski_; }

  // Coincidences of the symbols with themselves moved by d: how many
  // positions i have symbol i equal to symbol i + d, for 1 <= d <= MaxPeriodo
  // (20 when it is 0); outside, ErrorSubindice. Computed from the current
  // TextoCifrado when read, and kept while that text and MaxPeriodo stay.
  int32_t Autocorrelacion(int32_t d) const;
  // The smallest shift whose rate of coincidences stands out from the rest
  // (halfway from their median to their top, and significantly): the likely
  // period; 1 when every shift coincides as often as plain text does; 0 when
  // none stands out.
  int32_t PeriodoAutocorrelacion() const;

  struct Eventos {
    kestrin::Evento<const Cadena&> Warning;
    kestrin::Evento<> Cifrado;
    kestrin::Evento<> DesCifrado;
    // Counts of work units. Handlers share one variable, so a change made by
    // one reaches the next, but it never steers the search.
    kestrin::Evento<int32_t&> Inicio;
    kestrin::Evento<int32_t&> Progreso;
    kestrin::Evento<int32_t&> Fin;
  } eventos;

 protected:
  explicit CriptoPeriodico(const Combinacion& combinacion);

 private:
  // Symbol counts of a column and, once asked for, its symbols in order of
  // first appearance; kept while the column is unchanged.
  struct ResumenColumna {
    std::array<uint32_t, ORVNumCar> cuentas{};
    std::vector<uint8_t> orden;
    bool conOrden = false;
  };
  // The summary of a column (0-based), with the order of its symbols when asked.
  const ResumenColumna& resumen(size_t columna, bool conOrden);

  // The ciphertext a search worked on: a part of a string that is never
  // modified (the text object's own, shared), so that the columns stay those
  // of the text searched without copying it.
  struct Instantanea {
    std::shared_ptr<const Cadena> cadena;
    size_t inicio = 0;
    size_t longitud = 0;
    VistaCadena vista() const { return VistaCadena(*cadena).substr(inicio, longitud); }
    bool operator==(const Instantanea& otra) const {
      return cadena == otra.cadena && inicio == otra.inicio && longitud == otra.longitud;
    }
  };
  // The part `texto` (a view into the text object's string) of `cifrado`.
  static Instantanea instantanea(const ORVTexto& cifrado, VistaCadena texto);

  // A column of TextoCol that is built when first read: the text it comes
  // from and the period it was cut with.
  struct Corte {
    std::optional<Instantanea> texto;
    size_t periodo = 0;
  };
  void construye(size_t columna) const;

  size_t celdaICM(int32_t i, int32_t j, int32_t s) const;
  size_t celdaPar(int32_t i, int32_t j) const;
  Cadena transforma(VistaCadena texto, bool cifrando) const;
  void aseguraColumnas(int32_t n);
  void avisa(VistaCadena mensaje);

  const Combinacion& combinacion_;
  Cadena clave_;
  std::vector<uint8_t> valoresClave_;

  int32_t maxPeriodo_ = 0;
  std::vector<Moneda> ic_;  // MaxPeriodo x MaxPeriodo, row m
  std::vector<Moneda> mediaIC_;
  std::vector<Moneda> varianzaIC_;
  // TextoCol: each entry is either built or still a Corte.
  mutable std::vector<Cadena> textoCol_;
  mutable std::vector<Corte> cortes_;
  std::vector<std::optional<ResumenColumna>> resumenes_;  // one per TextoCol entry
  // Counters of the period the last period search chose, and its text.
  std::vector<uint32_t> cuentasElegidas_;
  std::optional<Instantanea> textoContado_;

  int32_t periodo_ = 0;
  std::vector<Moneda> icm_;               // 64 per pair i <= j
  std::vector<int32_t> desplazamientos_;  // one per pair i <= j
  Moneda icTipo_;
  std::array<Cadena, ORVNumCar> clavesProbables_;

  // The symbol values Resuelve, Kasiski and the autocorrelation work on.
  std::vector<uint8_t> simbolosCifrado() const;
  struct Resuelta {
    Cadena clave;
    double puntuacion = 0;
  };
  std::vector<Resuelta> resueltas_;
  struct EntradaKasiski {
    uint32_t posicion = 0;  // 0-based, among the symbols
    uint32_t distancia = 0;
    uint32_t longitud = 0;
  };
  std::vector<EntradaKasiski> kasiski_;
  std::vector<uint8_t> simbolosKasiski_;  // the symbols the entries point into
  std::vector<int32_t> factoresKasiski_;  // index p
  int32_t longitudKasiski_ = 0;
  int32_t periodoKasiski_ = 0;
  struct Autocorrelaciones {
    std::optional<Instantanea> texto;
    int32_t cota = 0;
    std::vector<int32_t> coincidencias;  // index d
    int32_t periodo = 0;
  };
  const Autocorrelaciones& autocorrelaciones() const;
  mutable Autocorrelaciones autocorrelaciones_;
};

// Vigenère: the key symbol is added modulo 64. Enciphered texts carry CSKVig;
// BuscaClaves proposes 28 keys, one per symbol of LetrasFrecuentes.
class ORVCriptoVigenere : public CriptoPeriodico {
 public:
  ORVCriptoVigenere();
};

// XOR: the key symbol is combined by bitwise exclusive or, so enciphering and
// deciphering are one operation. Enciphered texts carry CSKXOR; BuscaClaves
// proposes 64 keys, one per symbol of AlfabetoFrecuencias; the shifts are not
// checked for consistency.
class ORVCriptoXOR : public CriptoPeriodico {
 public:
  ORVCriptoXOR();
};

}  // namespace tarnel
