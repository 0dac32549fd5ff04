// Reading and writing widget values in the design-time property store,
// shared by the controls.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <memory>

#include "kestrin/cadena.h"
#include "kestrin/propiedades.h"
#include "kestrin/variante.h"

namespace qtcomun {

// A picture kept in the store by reference.
class Imagen : public kestrin::Objeto {
 public:
  explicit Imagen(QIcon i) : icono(std::move(i)) {}
  QIcon icono;
};

inline kestrin::Cadena nombre(const QString& s) { return kestrin::desdeUtf8(s.toStdString()); }

inline void escribe(kestrin::Propiedades& p, const QString& clave, const QString& v) {
  p.Escribe(nombre(clave), kestrin::desdeUtf8(v.toStdString()));
}
inline void escribe(kestrin::Propiedades& p, const QString& clave, int32_t v) {
  p.Escribe(nombre(clave), v);
}
inline void escribe(kestrin::Propiedades& p, const QString& clave, bool v) {
  p.Escribe(nombre(clave), v);
}
inline void escribe(kestrin::Propiedades& p, const QString& clave, float v) {
  p.Escribe(nombre(clave), v);
}
inline void escribe(kestrin::Propiedades& p, const QString& clave, const QIcon& v) {
  p.Escribe(nombre(clave), v.isNull() ? std::shared_ptr<kestrin::Objeto>()
                                      : std::make_shared<Imagen>(v));
}

// Each reader returns the default when the stored value has another kind.
inline QString leeTexto(const kestrin::Propiedades& p, const QString& clave, const QString& def) {
  const auto v = p.Lee(nombre(clave), nombre(def));
  if (const auto* s = std::get_if<kestrin::Cadena>(&v)) return QString::fromStdString(kestrin::aUtf8(*s));
  return def;
}
inline int32_t leeLong(const kestrin::Propiedades& p, const QString& clave, int32_t def) {
  const auto v = p.Lee(nombre(clave), def);
  if (!kestrin::esNumero(v) && !std::holds_alternative<bool>(v)) return def;
  try {
    return kestrin::aLong(v);
  } catch (...) {
    return def;
  }
}
inline bool leeBool(const kestrin::Propiedades& p, const QString& clave, bool def) {
  const auto v = p.Lee(nombre(clave), def);
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  if (!kestrin::esNumero(v)) return def;
  try {
    return kestrin::aLong(v) != 0;
  } catch (...) {
    return def;
  }
}
inline float leeSimple(const kestrin::Propiedades& p, const QString& clave, float def) {
  const auto v = p.Lee(nombre(clave), def);
  if (const auto* f = std::get_if<float>(&v)) return *f;
  if (const auto* d = std::get_if<double>(&v)) return static_cast<float>(*d);
  if (const auto* i = std::get_if<int32_t>(&v)) return static_cast<float>(*i);
  if (const auto* i = std::get_if<int16_t>(&v)) return static_cast<float>(*i);
  return def;
}
inline QIcon leeIcono(const kestrin::Propiedades& p, const QString& clave) {
  const auto v = p.Lee(nombre(clave));
  if (const auto* o = std::get_if<std::shared_ptr<kestrin::Objeto>>(&v)) {
    if (const auto* img = dynamic_cast<const Imagen*>(o->get())) return img->icono;
  }
  return QIcon();
}
inline QFont leeFuente(const kestrin::Propiedades& p, const QString& clave, const QFont& def) {
  const QString s = leeTexto(p, clave, QString());
  QFont f = def;
  if (s.isEmpty() || !f.fromString(s)) return def;
  return f;
}

}  // namespace qtcomun
