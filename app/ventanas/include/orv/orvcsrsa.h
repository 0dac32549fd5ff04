// ORVCSRSA: the laboratory of RSA, with its key file claves.rsa.
//
// Data flow: the key fields write the window's ORVCriptoRSA on leaving them
// (factors and exponent evaluated as expressions, then the key built and
// checked); its CambiaClave refreshes every field and ConstruyeClave reports a
// bad key in the "Clave errónea" box. "Cifra" hands it the plain text and its
// Cifrado event writes the blocks into "Cifrado"; "Descifra" hands it the
// blocks and DesCifrado shows the text. Both run as long work with the
// progress bar moving. "Generar" asks GeneradorRSA for a random key of the
// chosen size away from the window's thread and builds it as typed factors are
// built. What the twin windows share (pages, toolbar, key file, the
// enciphered-file header) is ORVCSPublico's.
//
// Choices of ours where the design says nothing:
// - A block size that is not a whole number from 1 to 4096 (what the component
//   takes) is refused with a word in "Clave errónea", the box showing the size
//   in force again. A new block size rebuilds a complete key, so a key that no
//   longer fits it is reported at once instead of deciphering into rubbish.
// - An expression in a factor or the exponent that names no whole number is
//   refused the same way, the key unchanged.
// - A key of the file is loaded only whole: a block size that is not a whole
//   number from 1 to 4096, or a number entry that is not digits, refuses it.
// - An enciphered file whose "Clave" or "Exponente" are not whole numbers is
//   refused as one without them. A file whose key is not in the key file
//   (or with no key file yet) loads its public key and empties TextId, so a
//   later "guardar" does not overwrite the key that was loaded before.
// - Line breaks in the ciphertext separate blocks as spaces do; when no block
//   deciphers, the student is told instead of seeing an empty text.
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "orv/orvcspublico.h"

class QComboBox;
class QLabel;
class QProgressBar;

namespace halvard {
class ORVCriptoRSA;
}

namespace orv {

class CajaArribaAbajo;
class GeneradorRSA;
struct ClaveGenerada;

// The whole number an expression names, evaluated by the big-number service;
// nothing when it names none. Blank gives "".
std::optional<QString> evaluaEntero(const QString& expresion);

class ORVCSRSA : public ORVCSPublico {
  Q_OBJECT

 public:
  // Loads the window: the cryptosystem (created by class name), its events,
  // the key fields and the first tab.
  explicit ORVCSRSA(QWidget* parent = nullptr);
  ~ORVCSRSA() override;

  halvard::ORVCriptoRSA& cs() const { return *cs_; }

  // "Cifra" and "Descifra", as the buttons run them.
  void Cifra();
  void Descifra();
  // "Generar": a key of the size chosen in ComboBits.
  void Generar();

  // Controls, named as the window's design names them.
  QLabel* LabelClave() const { return labelClave_; }
  CampoClave* TextClave() const { return textClave_; }
  CampoClave* TextExponente() const { return textExponente_; }
  // Index 1 or 2.
  CampoClave* TextClaveFactor(int k) const {
    return textClaveFactor_.at(static_cast<size_t>(k - 1));
  }
  CampoClave* TextClavePrivada() const { return textClavePrivada_; }
  CajaArribaAbajo* TextTamBloque() const { return textTamBloque_; }
  plankett::FlatButton* cmdGenerar() const { return cmdGenerar_; }
  QComboBox* ComboBits() const { return comboBits_; }
  // Shown while a key is being generated.
  QProgressBar* BarraGenerando() const { return barraGenerando_; }
  GeneradorRSA& generador() const { return *generador_; }

 protected:
  std::vector<std::pair<QString, QString>> entradasClave() const override;
  bool cargaClave(const QString& seccion) override;
  QString cabeceraCifrado() const override;
  bool esCabecera(const QString& ficha) const override;
  QString tomaCabecera(const QStringList& fichas) override;
  void habilita() override;
  void confirmaEdicion() override;

 private:
  void construye();
  void refresca();
  void cambiaFactor(int k);
  void cambiaExponente();
  void cambiaTamBloque();
  void cifrado(int32_t n);
  void generada(const ClaveGenerada& clave);
  void finGenerar();
  bool claveRechazada(const QString& seccion, const QString& motivo);

  std::shared_ptr<halvard::ORVCriptoRSA> cs_;
  QLabel* labelClave_ = nullptr;
  CampoClave* textClave_ = nullptr;
  CampoClave* textExponente_ = nullptr;
  std::array<CampoClave*, 2> textClaveFactor_{};
  CampoClave* textClavePrivada_ = nullptr;
  CajaArribaAbajo* textTamBloque_ = nullptr;
  plankett::FlatButton* cmdGenerar_ = nullptr;
  QComboBox* comboBits_ = nullptr;
  QProgressBar* barraGenerando_ = nullptr;
  QLabel* labelGenerando_ = nullptr;
  GeneradorRSA* generador_ = nullptr;
};

}  // namespace orv
