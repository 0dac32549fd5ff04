// The key files of the RSA and knapsack windows: the list's sections, and
// each section's key read and checked as choosing it in the list does.
// A key that loads is written to a new file and read back the same.
//
// Input: the first byte chooses the decimal separator; the rest is the file.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

#include "comun.h"
#include "kestrin/cadena.h"
#include "kestrin/orvw.h"
#include "orv/lecturaclaves.h"
#include "perfil.h"

namespace {

namespace lectura = orv::lectura;
constexpr qsizetype kMaxSecciones = 8;

kestrin::ORVW& w() {
  static auto* o = new kestrin::ORVW(kestrin::ORVW::Entorno{});
  return *o;
}

// LeeEntrada of a section, on the file's bytes.
lectura::Lector lector(const std::string& bytes, const QString& seccion) {
  return [&bytes, seccion](const QString& entrada, const QString& defecto) {
    return QString::fromStdU32String(kestrin::perfil::leeEn(
        bytes, seccion.toStdU32String(), entrada.toStdU32String(), defecto.toStdU32String(),
        kestrin::ORVW::kMaxPerfil));
  };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  if (tamano == 0) return 0;
  w().setFormato(datos[0] & 1 ? kestrin::FormatoNumerico{U',', U'.'}
                              : kestrin::FormatoNumerico{U'.', 0});
  const std::string fichero(reinterpret_cast<const char*>(datos + 1), tamano - 1);

  orvfuzz::protege([&] {
    const QStringList secciones =
        lectura::secciones(lectura::lineasClaves(QByteArray::fromStdString(fichero)));
    for (qsizetype i = 0; i < secciones.size() && i < kMaxSecciones; ++i) {
      const QString& seccion = secciones[i];
      QString motivo;
      if (const auto rsa = lectura::rsa::leeClave(lector(fichero, seccion), w(), &motivo)) {
        ORV_EXIGE(rsa->tamBloque >= lectura::rsa::kBloqueMinimo &&
                  rsa->tamBloque <= lectura::rsa::kBloqueMaximo);
        for (const QString* v : {&rsa->factor1, &rsa->factor2, &rsa->clave, &rsa->exponente,
                                 &rsa->clavePrivada})
          ORV_EXIGE(v->isEmpty() || lectura::rsa::esEntero(*v));
        // Saved again (as "guardar" writes it) and read back: the same key.
        std::string nuevo;
        const std::pair<QString, QString> entradas[] = {
            {lectura::rsa::kBits, QString::number(rsa->bits)},
            {lectura::rsa::kFactor1, rsa->factor1},
            {lectura::rsa::kFactor2, rsa->factor2},
            {lectura::rsa::kClave, rsa->clave},
            {lectura::rsa::kTamBloque, QString::number(rsa->tamBloque)},
            {lectura::rsa::kExponente, rsa->exponente},
            {lectura::rsa::kClavePrivada, rsa->clavePrivada}};
        bool escrito = true;
        for (const auto& [entrada, valor] : entradas) {
          const auto r = kestrin::perfil::cambiaEn(nuevo.empty() ? nullptr : &nuevo,
                                                   U"Copia", entrada.toStdU32String(),
                                                   valor.toStdU32String());
          ORV_EXIGE(r.has_value());
          escrito = escrito && r.has_value();
          nuevo = *r;
        }
        QString otro;
        const auto vuelta = lectura::rsa::leeClave(lector(nuevo, QStringLiteral("Copia")), w(), &otro);
        ORV_EXIGE(vuelta && vuelta->clave == rsa->clave && vuelta->exponente == rsa->exponente &&
                  vuelta->factor1 == rsa->factor1 && vuelta->factor2 == rsa->factor2 &&
                  vuelta->clavePrivada == rsa->clavePrivada &&
                  vuelta->tamBloque == rsa->tamBloque);
      } else {
        ORV_EXIGE(!motivo.isEmpty());
      }
      motivo.clear();
      if (const auto mhm = lectura::mhm::leeClave(lector(fichero, seccion), w(), &motivo)) {
        ORV_EXIGE(mhm->privada.size() >= 2 && mhm->privada.size() == mhm->publica.size());
        ORV_EXIGE(kestrin::Moneda() < mhm->modulo);
      } else {
        ORV_EXIGE(!motivo.isEmpty());
      }
    }
  });
  return 0;
}
