// The header of an RSA or knapsack enciphered file, as the windows read it:
// the tag removed, the header tokens split from the text, the public key
// checked. A header read is written again before the rest and read back.
//
// Input: the first byte chooses the decimal separator of the numbers and how
// the rest becomes characters; the rest is the file's text.
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <string>

#include "comun.h"
#include "kestrin/cadena.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/lecturaclaves.h"

namespace {

namespace lectura = orv::lectura;

kestrin::ORVW& w() {
  static auto* o = new kestrin::ORVW(kestrin::ORVW::Entorno{});
  return *o;
}

// What splitting keeps: the header tokens are header tokens, the rest holds
// none, and together they are no longer than the text.
void compruebaSeparado(const QString& t, const lectura::Separado& s,
                       bool (*esCabecera)(const QString&)) {
  qsizetype suma = s.resto.size();
  for (const QString& f : s.cabecera) {
    ORV_EXIGE(esCabecera(f));
    suma += f.size();
  }
  ORV_EXIGE(suma <= t.size() && suma + s.cabecera.size() >= t.size());
  for (const QString& f : s.resto.split(QLatin1Char(' '))) ORV_EXIGE(f.isEmpty() || !esCabecera(f));
}

QString sinEtiqueta(const QString& t) {
  return QString::fromStdU32String(w().CSText(t.toStdU32String()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
  if (tamano == 0 || tamano > 65536) return 0;
  const uint8_t modo = datos[0];
  const std::string_view bytes(reinterpret_cast<const char*>(datos + 1), tamano - 1);
  const QString leido = QString::fromStdU32String((modo & 1) ? kestrin::desdeUtf8(bytes)
                                                             : kestrin::desdeAnsi(bytes));
  w().setFormato(modo & 2 ? kestrin::FormatoNumerico{U',', U'.'} : kestrin::FormatoNumerico{U'.', 0});

  orvfuzz::protege([&] {
    const QString t = sinEtiqueta(leido);

    const auto rsa = lectura::separaCabecera(t, lectura::rsa::esCabecera);
    compruebaSeparado(t, rsa, lectura::rsa::esCabecera);
    if (const auto clave = lectura::rsa::leeCabecera(rsa.cabecera)) {
      ORV_EXIGE(lectura::rsa::esEntero(clave->clave) && lectura::rsa::esEntero(clave->exponente));
      // Saving puts the header before the text and tags it; reading gives both back.
      kestrin::Cadena guardado = (lectura::rsa::kCabeceraClave + clave->clave + QLatin1Char(' ') +
                                  lectura::rsa::kCabeceraExponente + clave->exponente +
                                  QLatin1Char(' ') + rsa.resto)
                                     .toStdU32String();
      w().setCSKey(guardado, kestrin::CSKRSA);
      const QString otra = sinEtiqueta(QString::fromStdU32String(guardado));
      const auto vuelta = lectura::separaCabecera(otra, lectura::rsa::esCabecera);
      ORV_EXIGE(vuelta.resto == rsa.resto);
      const auto releida = lectura::rsa::leeCabecera(vuelta.cabecera);
      ORV_EXIGE(releida && releida->clave == clave->clave &&
                releida->exponente == clave->exponente);
    }

    const auto mhm = lectura::separaCabecera(t, lectura::mhm::esCabecera);
    compruebaSeparado(t, mhm, lectura::mhm::esCabecera);
    if (const auto publica = lectura::mhm::leeCabecera(mhm.cabecera, w())) {
      ORV_EXIGE(publica->size() >= 2);
      QStringList numeros;
      for (const kestrin::Moneda& m : *publica) {
        ORV_EXIGE(!(m < kestrin::Moneda()));
        numeros << QString::number(m.escalado() / kestrin::Moneda::kEscala);
      }
      kestrin::Cadena guardado =
          (lectura::mhm::kCabecera + numeros.join(QLatin1Char('-')) + QLatin1Char(' ') + mhm.resto)
              .toStdU32String();
      w().setCSKey(guardado, kestrin::CSKMH);
      const auto vuelta =
          lectura::separaCabecera(sinEtiqueta(QString::fromStdU32String(guardado)), lectura::mhm::esCabecera);
      ORV_EXIGE(vuelta.resto == mhm.resto);
      const auto releida = lectura::mhm::leeCabecera(vuelta.cabecera, w());
      ORV_EXIGE(releida && *releida == *publica);
    }
  });
  return 0;
}
