// What the RSA and knapsack windows read from files (see lecturaclaves.h).
#include "orv/lecturaclaves.h"

#include <QStringView>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "kestrin/cadena.h"
#include "kestrin/orvw.h"

namespace orv::lectura {

using kestrin::Moneda;

QStringList lineasClaves(const QByteArray& bytes) {
  QString texto;
  if (bytes.startsWith("\xEF\xBB\xBF"))
    texto = QString::fromUtf8(bytes.mid(3));
  else
    texto = QString::fromStdU32String(
        kestrin::desdeAnsi(std::string_view(bytes.data(), static_cast<size_t>(bytes.size()))));
  QStringList resultado = texto.split(QLatin1Char('\n'));
  for (QString& l : resultado)
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  return resultado;
}

bool esSeccion(const QString& linea, QString* nombre) {
  const QString l = linea.trimmed();
  if (!l.startsWith(QLatin1Char('['))) return false;
  *nombre = l.size() >= 2 ? l.mid(1, l.size() - 2) : QString();
  return true;
}

QStringList secciones(const QStringList& lineas) {
  QStringList r;
  QString nombre;
  for (const QString& l : lineas)
    if (esSeccion(l, &nombre)) r << nombre;
  return r;
}

Separado separaCabecera(const QString& t, const std::function<bool(const QString&)>& esCabecera) {
  Separado s;
  s.resto.reserve(t.size());
  qsizetype desde = 0;
  while (desde <= t.size()) {
    qsizetype hasta = t.indexOf(QLatin1Char(' '), desde);
    if (hasta < 0) hasta = t.size();
    const QString ficha = t.mid(desde, hasta - desde);
    if (!ficha.isEmpty() && esCabecera(ficha)) {
      s.cabecera << ficha;
    } else {
      s.resto += ficha;
      if (hasta < t.size()) s.resto += QLatin1Char(' ');
    }
    desde = hasta + 1;
  }
  return s;
}

// ---- RSA -----------------------------------------------------------------

namespace rsa {

const QString kBits = QStringLiteral("Nº de bits");
const QString kFactor1 = QStringLiteral("Primer factor primo");
const QString kFactor2 = QStringLiteral("Segundo factor primo");
const QString kClave = QStringLiteral("Clave");
const QString kTamBloque = QStringLiteral("Tamaño de bloque");
const QString kExponente = QStringLiteral("Exponente");
const QString kClavePrivada = QStringLiteral("Clave privada");
const QString kCabeceraClave = QStringLiteral("Clave=");
const QString kCabeceraExponente = QStringLiteral("Exponente=");

bool esEntero(const QString& s) {
  if (s.isEmpty()) return false;
  for (const QChar c : s)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

std::optional<int32_t> tamBloqueDe(const QString& s, const kestrin::ORVW& w) {
  const double v = w.Eval(s.trimmed().toStdU32String());
  if (v != std::floor(v) || v < kBloqueMinimo || v > kBloqueMaximo) return std::nullopt;
  return static_cast<int32_t>(v);
}

bool esCabecera(const QString& ficha) {
  return ficha.startsWith(kCabeceraClave, Qt::CaseInsensitive) ||
         ficha.startsWith(kCabeceraExponente, Qt::CaseInsensitive);
}

std::optional<Cabecera> leeCabecera(const QStringList& fichas) {
  Cabecera c;
  for (const QString& ficha : fichas) {
    if (ficha.startsWith(kCabeceraClave, Qt::CaseInsensitive))
      c.clave = ficha.mid(kCabeceraClave.size());
    else
      c.exponente = ficha.mid(kCabeceraExponente.size());
  }
  if (!esEntero(c.clave) || !esEntero(c.exponente)) return std::nullopt;
  return c;
}

std::optional<Clave> leeClave(const Lector& lee, const kestrin::ORVW& w, QString* motivo) {
  const QString bits = lee(kBits, QStringLiteral("0"));
  const QString p = lee(kFactor1, QString());
  const QString q = lee(kFactor2, QString());
  const QString n = lee(kClave, QString());
  const QString tam = lee(kTamBloque, QStringLiteral("1"));
  const QString e = lee(kExponente, QString());
  const QString d = lee(kClavePrivada, QString());
  if (p.isEmpty() && q.isEmpty() && n.isEmpty() && e.isEmpty() && d.isEmpty()) {
    *motivo = QStringLiteral("no tiene ninguna entrada de la clave.");
    return std::nullopt;
  }
  const std::pair<const QString&, const QString&> numeros[] = {
      {kFactor1, p}, {kFactor2, q}, {kClave, n}, {kExponente, e}, {kClavePrivada, d}};
  for (const auto& [nombre, valor] : numeros) {
    // The reader gives at most kMaxPerfil characters: a value that long may be cut.
    if (valor.size() >= static_cast<qsizetype>(kestrin::ORVW::kMaxPerfil)) {
      *motivo = QStringLiteral("«%1» es más largo de lo que el fichero de claves puede guardar.")
                    .arg(nombre);
      return std::nullopt;
    }
    if (!valor.isEmpty() && !esEntero(valor)) {
      *motivo = QStringLiteral("«%1» no es un número entero.").arg(nombre);
      return std::nullopt;
    }
  }
  const auto bloque = tamBloqueDe(tam, w);
  if (!esEntero(tam) || !bloque) {
    *motivo = QStringLiteral("el tamaño de bloque, «%1», no es un número entero de %2 a %3.")
                  .arg(tam)
                  .arg(kBloqueMinimo)
                  .arg(kBloqueMaximo);
    return std::nullopt;
  }
  Clave c;
  c.bits = esEntero(bits) ? bits.toInt() : 0;
  c.factor1 = p;
  c.factor2 = q;
  c.clave = n;
  c.tamBloque = *bloque;
  c.exponente = e;
  c.clavePrivada = d;
  return c;
}

}  // namespace rsa

// ---- Knapsack ------------------------------------------------------------

namespace mhm {
namespace {

// The largest whole number a currency value holds.
constexpr double kMayor = 922337203685477.0;

// A piece of a text as a message quotes it: long ones cut.
QString cita(const QString& pieza) {
  return QStringLiteral("«%1»").arg(pieza.size() > 24 ? pieza.left(20) + QStringLiteral("…")
                                                      : pieza);
}

}  // namespace

const QString kPrivada = QStringLiteral("Sucesión privada");
const QString kPublica = QStringLiteral("Sucesión pública");
const QString kMultiplicador = QStringLiteral("Multiplicador");
const QString kModulo = QStringLiteral("Módulo");
const QString kCabecera = QStringLiteral("ClaveMHM=");

std::optional<Moneda> leeEntero(const QString& pieza, const kestrin::ORVW& w, QString* motivo) {
  const QString t = pieza.trimmed();
  if (t.isEmpty()) {
    *motivo = QStringLiteral("falta el número.");
    return std::nullopt;
  }
  const double v = w.Eval(t.toStdU32String());
  bool numero = v != 0;
  if (!numero) {
    // Eval gives 0 for what is no number, too: a zero is a number that still
    // is one with a 1 in front.
    QStringView s(t);
    if (s.front() == QLatin1Char('+') || s.front() == QLatin1Char('-')) s = s.mid(1);
    const char32_t decimal = w.Formato().decimal;
    numero = !s.isEmpty() &&
             ((s.front() >= QLatin1Char('0') && s.front() <= QLatin1Char('9')) ||
              s.front().unicode() == decimal) &&
             w.Eval((QStringLiteral("1") + s.toString()).toStdU32String()) != 0;
  }
  if (!numero) {
    // Digits alone are a number too large for the evaluator.
    QStringView d(t);
    if (d.front() == QLatin1Char('+') || d.front() == QLatin1Char('-')) d = d.mid(1);
    const bool digitos = !d.isEmpty() && std::all_of(d.begin(), d.end(), [](QChar c) {
      return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (digitos) {
      *motivo =
          QStringLiteral("%1 es demasiado grande (el mayor es 922337203685477).").arg(cita(t));
      return std::nullopt;
    }
    *motivo = QStringLiteral("%1 no es un número.").arg(cita(t));
    return std::nullopt;
  }
  if (v != std::floor(v)) {
    *motivo = QStringLiteral("%1 no es un número entero.").arg(cita(t));
    return std::nullopt;
  }
  // A negative public element would not survive the header, whose elements
  // are joined by "-": a knapsack has none.
  if (v < 0) {
    *motivo = QStringLiteral("%1 es negativo: los números de la mochila no lo son.").arg(cita(t));
    return std::nullopt;
  }
  if (std::fabs(v) > kMayor) {
    *motivo = QStringLiteral("%1 es demasiado grande (el mayor es 922337203685477).").arg(cita(t));
    return std::nullopt;
  }
  return Moneda::desdeEntero(static_cast<int64_t>(v));
}

QStringList piezas(const QString& texto) {
  QStringList r;
  qsizetype desde = -1;
  for (qsizetype i = 0; i <= texto.size(); ++i) {
    const bool espacio = i == texto.size() || texto.at(i).isSpace();
    if (espacio && desde >= 0) {
      r << texto.mid(desde, i - desde);
      desde = -1;
    } else if (!espacio && desde < 0) {
      desde = i;
    }
  }
  return r;
}

std::optional<std::vector<Moneda>> leeSucesion(const QString& texto, const kestrin::ORVW& w,
                                               QString* motivo) {
  const QStringList p = piezas(texto);
  if (p.size() > kMaxElementos) {
    *motivo = QStringLiteral("tiene más de %1 elementos.").arg(kMaxElementos);
    return std::nullopt;
  }
  std::vector<Moneda> r;
  r.reserve(static_cast<size_t>(p.size()));
  for (const QString& pieza : p) {
    const auto v = leeEntero(pieza, w, motivo);
    if (!v) return std::nullopt;
    r.push_back(*v);
  }
  return r;
}

bool esCabecera(const QString& ficha) {
  return ficha.startsWith(kCabecera, Qt::CaseInsensitive);
}

std::optional<std::vector<Moneda>> leeCabecera(const QStringList& fichas,
                                               const kestrin::ORVW& w) {
  if (fichas.isEmpty()) return std::nullopt;
  const QStringList trozos = fichas.back().mid(kCabecera.size()).split(QLatin1Char('-'));
  if (trozos.size() < 2 || trozos.size() > kMaxElementos) return std::nullopt;
  std::vector<Moneda> publica;
  publica.reserve(static_cast<size_t>(trozos.size()));
  for (const QString& trozo : trozos) {
    QString motivo;
    const auto v = leeEntero(trozo, w, &motivo);
    if (!v) return std::nullopt;
    publica.push_back(*v);
  }
  return publica;
}

std::optional<Clave> leeClave(const Lector& lee, const kestrin::ORVW& w, QString* motivo) {
  Clave clave;
  QString error;
  const auto sucesion = [&](const QString& entrada, std::vector<Moneda>* destino) {
    const auto s = leeSucesion(lee(entrada, QString()), w, &error);
    if (!s) {
      *motivo = QStringLiteral("en «%1», %2").arg(entrada, error);
      return false;
    }
    if (s->size() < 2) {
      *motivo = s->empty() ? QStringLiteral("le falta la «%1».").arg(entrada)
                           : QStringLiteral("su «%1» tiene un solo elemento.").arg(entrada);
      return false;
    }
    *destino = *s;
    return true;
  };
  if (!sucesion(kPrivada, &clave.privada) || !sucesion(kPublica, &clave.publica)) {
    return std::nullopt;
  }
  if (clave.privada.size() != clave.publica.size()) {
    *motivo = QStringLiteral("sus dos sucesiones no tienen el mismo número de elementos.");
    return std::nullopt;
  }
  const auto multiplicador = leeEntero(lee(kMultiplicador, QStringLiteral("1")), w, &error);
  if (!multiplicador) {
    *motivo = QStringLiteral("en «%1», %2").arg(kMultiplicador, error);
    return std::nullopt;
  }
  const QString textoModulo = lee(kModulo, QString());
  if (textoModulo.trimmed().isEmpty()) {
    *motivo = QStringLiteral("le falta el «%1».").arg(kModulo);
    return std::nullopt;
  }
  const auto modulo = leeEntero(textoModulo, w, &error);
  if (!modulo) {
    *motivo = QStringLiteral("en «%1», %2").arg(kModulo, error);
    return std::nullopt;
  }
  if (!(*modulo > Moneda())) {
    *motivo = QStringLiteral("su «%1» no es mayor que 0.").arg(kModulo);
    return std::nullopt;
  }
  clave.multiplicador = *multiplicador;
  clave.modulo = *modulo;
  return clave;
}

}  // namespace mhm

}  // namespace orv::lectura
