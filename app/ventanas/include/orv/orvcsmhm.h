// ORVCSMHM: the laboratory of the Merkle-Hellman knapsack, with its key file.
//
// The twin of the RSA window (ORVCSPublico holds what both share: pages,
// toolbar, key list, key file, enciphered-file header); this window adds the
// knapsack's key fields, its status bar and the enciphering with
// ORVCriptoMHM. Key problems are said in the status bar ("msg"), never in a
// message box.
//
// Data flow: leaving a key field writes the cryptosystem (the private sequence,
// the modulus and the multiplier then build the key); its CambiaClave refreshes
// every field; "Cifra" / "Descifra" run through `trabaja`, the progress bar
// following the blocks, and Cifrado / DesCifrado place the new text in the
// other box.
//
// Choices of our own where the design says nothing:
// - Numbers of the key (elements, modulus, multiplier, blocks) are whole
//   numbers of 0 or more in the user's format, up to 922337203685477 (the
//   currency range): the knapsack works on whole numbers, and a negative
//   public element could not be written in a header, whose elements are
//   joined by "-". Anything else is refused with a word in the status bar and
//   the cryptosystem is left as it was; nothing of a refused sequence is set.
//   A key whose sums leave the currency range is said there too, and left
//   unusable.
// - A sequence or a ciphertext is split at spaces, and a run of spaces (two
//   typed by mistake, a line break) is one separator: an empty piece is no
//   element.
// - Emptying a sequence field changes no key; the status bar says so.
// - A public sequence typed by hand is a public key of its own: it enables
//   "Cifra" (as a file's header does) and no longer the private key.
// - A key of the key file is loaded only whole: both sequences of two elements
//   or more and of the same length, and a modulus. A key without "Módulo" is
//   refused (it could decipher nothing); the status bar says what is missing
//   and the list stays for another choice.
// - Reading an enciphered file whose key is not in the key file (or is there
//   but not whole, or the key file does not exist yet) loads its public key,
//   empties the identifier (a later "guardar" would otherwise overwrite the
//   key of that name with this one) and sets the private sequence to zeros;
//   the status bar says that only enciphering is possible, and why.
// - The status bar lies below the two pages, so what it says shows on both;
//   it also says how many blocks were enciphered or deciphered.
// - A ciphertext's numbers are read inside the long work, so a long one keeps
//   the window repainting and a refused one changes nothing.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "kestrin/moneda.h"
#include "orv/lecturaclaves.h"
#include "orv/orvcspublico.h"

class QLabel;
class QStatusBar;

namespace halvard {
class ORVCriptoMHM;
}

namespace orv {

class ORVCSMHM : public ORVCSPublico {
  Q_OBJECT

 public:
  // Loads the window: the cryptosystem (created by class name), the key
  // fields, the status bar and the first page.
  explicit ORVCSMHM(QWidget* parent = nullptr);
  ~ORVCSMHM() override;

  // The cryptosystem the window drives.
  halvard::ORVCriptoMHM& cs() const { return *cs_; }

  // Controls, named as the window's design names them.
  QLabel* LabelClave() const { return labelClave_; }
  CampoClave* TextSucesionPublica() const { return textSucesionPublica_; }
  pemmick::ORVExtTextBox* TextSucesionPrivada() const { return textSucesionPrivada_; }
  CampoClave* TextModulo() const { return textModulo_; }
  CampoClave* TextMultiplicador() const { return textMultiplicador_; }
  QStatusBar* StatusBar() const { return statusBar_; }
  // The status bar's panel "msg".
  QLabel* msg() const { return msg_; }

  // "Cifra" and "Descifra", as the buttons run them.
  void Cifra();
  void Descifra();

 protected:
  std::vector<std::pair<QString, QString>> entradasClave() const override;
  bool cargaClave(const QString& seccion) override;
  QString cabeceraCifrado() const override;
  bool esCabecera(const QString& ficha) const override;
  QString tomaCabecera(const QStringList& fichas) override;
  void informa(const QString& texto) override;
  void habilita() override;
  QString textoError(const std::exception& e) const override;

 private:
  // A key as the key file holds it, checked whole.
  using ClaveGuardada = lectura::mhm::Clave;

  void construye();
  // Runs a change of the key; what it raises is said in the status bar and
  // leaves the key unusable. False when it failed.
  bool cambiaClave(const std::function<void()>& cambio);
  void refresca();
  void cambiaSucesionPrivada();
  void cambiaSucesionPublica();
  void cambiaNumero(CampoClave* campo, bool modulo);
  void cifrado(int32_t n);
  void desCifrado();
  // Reads and checks the key saved under `seccion`; the reason it cannot be
  // loaded goes to `motivo`.
  std::optional<ClaveGuardada> leeGuardada(const QString& seccion, QString* motivo) const;
  // Sets the sequences (and the length) with one refresh at the end.
  void ponSucesiones(const std::vector<kestrin::Moneda>& privada,
                     const std::vector<kestrin::Moneda>& publica);
  QString textoPublica(const QString& separador) const;

  std::shared_ptr<halvard::ORVCriptoMHM> cs_;
  QLabel* labelClave_ = nullptr;
  CampoClave* textSucesionPublica_ = nullptr;
  pemmick::ORVExtTextBox* textSucesionPrivada_ = nullptr;
  CampoClave* textModulo_ = nullptr;
  CampoClave* textMultiplicador_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  QLabel* msg_ = nullptr;
  // Watches the private sequence's text area for its leaving.
  QObject* foco_ = nullptr;
  // The private sequence's text as it was when the field was entered.
  QString privadaAlEntrar_;
  // Many key changes at once refresh the fields once, at the end.
  int sinRefresco_ = 0;
};

}  // namespace orv
