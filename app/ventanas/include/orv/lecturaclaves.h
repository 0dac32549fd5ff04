// What the RSA and knapsack windows read from files, apart from the windows:
// the key file's lines and sections, the header tokens of an enciphered file,
// and the checks of a saved key and of a header. Qt Core and Kestrin only, no
// widget, so each piece can be run on any bytes without a display.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "kestrin/moneda.h"

namespace kestrin {
class ORVW;
}

namespace orv::lectura {

// One entry of a saved key: its value, or `defecto` when the file, the
// section or the entry is missing (how the window's LeeEntrada answers).
using Lector = std::function<QString(const QString& entrada, const QString& defecto)>;

// ---- The key file --------------------------------------------------------

// The lines of a key file's bytes as the profile reader decodes them (UTF-8
// after the UTF-8 mark, else Windows-1252), without their line ends.
QStringList lineasClaves(const QByteArray& bytes);
// True when the line is a section line, with `nombre` the text between its
// first and last characters once trimmed.
bool esSeccion(const QString& linea, QString* nombre);
// The section names among the lines, in order.
QStringList secciones(const QStringList& lineas);

// ---- The enciphered-file header ------------------------------------------

struct Separado {
  QStringList cabecera;  // the header tokens, in file order
  QString resto;         // the text without them
};
// Splits a read text (its tag already removed) at single spaces: the tokens
// `esCabecera` accepts go to the header, each with the space after it; the
// rest stays as it was.
Separado separaCabecera(const QString& texto,
                        const std::function<bool(const QString&)>& esCabecera);

// ---- RSA -----------------------------------------------------------------

namespace rsa {

// The key file's entries, in the order they are written.
extern const QString kBits;
extern const QString kFactor1;
extern const QString kFactor2;
extern const QString kClave;
extern const QString kTamBloque;
extern const QString kExponente;
extern const QString kClavePrivada;
// The header's two tokens start so ("Clave=…", "Exponente=…").
extern const QString kCabeceraClave;
extern const QString kCabeceraExponente;

// The component's limits of the block size.
inline constexpr int kBloqueMinimo = 1;
inline constexpr int kBloqueMaximo = 4096;

// Digits 0-9 only, at least one.
bool esEntero(const QString& s);
// A block size as the component takes it (read as the workspace object reads
// numbers), or nothing.
std::optional<int32_t> tamBloqueDe(const QString& s, const kestrin::ORVW& w);

bool esCabecera(const QString& ficha);
struct Cabecera {
  QString clave;      // n
  QString exponente;  // e
};
// The public key of a header (the last of each token wins), or nothing when
// either part is missing or not digits.
std::optional<Cabecera> leeCabecera(const QStringList& fichas);

struct Clave {
  int32_t bits = 0;
  QString factor1, factor2, clave;
  int32_t tamBloque = 1;
  QString exponente, clavePrivada;
};
// A saved key read whole and checked, or nothing with the reason in `motivo`
// (the end of "La clave «…» del fichero no se ha cargado: …").
std::optional<Clave> leeClave(const Lector& lee, const kestrin::ORVW& w, QString* motivo);

}  // namespace rsa

// ---- Knapsack ------------------------------------------------------------

namespace mhm {

extern const QString kPrivada;
extern const QString kPublica;
extern const QString kMultiplicador;
extern const QString kModulo;
extern const QString kCabecera;  // "ClaveMHM="

// The cryptosystem takes no longer sequence.
inline constexpr qsizetype kMaxElementos = 1 << 16;

// A whole number of 0 or more written in the user's format, within the
// currency range; the reason it is not one goes to `motivo`.
std::optional<kestrin::Moneda> leeEntero(const QString& pieza, const kestrin::ORVW& w,
                                         QString* motivo);
// The pieces between spaces; a run of spaces, tabs or line breaks is one separator.
QStringList piezas(const QString& texto);
// The numbers of a sequence's text; the reason it is none goes to `motivo`.
std::optional<std::vector<kestrin::Moneda>> leeSucesion(const QString& texto,
                                                        const kestrin::ORVW& w, QString* motivo);

bool esCabecera(const QString& ficha);
// The public sequence of a header (its last token), at least two numbers, or
// nothing.
std::optional<std::vector<kestrin::Moneda>> leeCabecera(const QStringList& fichas,
                                                        const kestrin::ORVW& w);

struct Clave {
  std::vector<kestrin::Moneda> privada;
  std::vector<kestrin::Moneda> publica;
  kestrin::Moneda multiplicador;
  kestrin::Moneda modulo;
};
// A saved key read whole and checked, or nothing with the reason in `motivo`.
std::optional<Clave> leeClave(const Lector& lee, const kestrin::ORVW& w, QString* motivo);

}  // namespace mhm

}  // namespace orv::lectura
