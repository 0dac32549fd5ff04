// ORVCSAfin: the laboratory of the affine cryptosystem y = a·x + b (mod 64).
//
// Data flow: the key boxes (a, b) write the window's ORVCriptoAfin; the text
// boxes hand it their tagged texts; "Cifra" / "Descifra" run it, and its
// events Cifrado / DesCifrado place the new text in the other box. The
// cryptanalysis page finds every key that maps two known plain characters onto
// their cipher characters and lists the candidates; choosing one fills a and b.
#pragma once

#include <QLineEdit>

#include <array>
#include <memory>

#include "orv/laboratorio.h"

class QFrame;
class QLabel;
class QTabBar;

namespace tarnel {
class ORVCriptoAfin;
}

namespace orv {

class Rejilla;

// A box for one known character: it selects its character when it gets the
// focus, so the next key replaces it, and types a space as the first character
// of the space substitute it is given.
class CajaCaracter : public QLineEdit {
  Q_OBJECT

 public:
  explicit CajaCaracter(QWidget* parent);
  // The character a typed space becomes (the first of the text).
  void setEspacio(const QString& espacio) { espacio_ = espacio; }

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QString espacio_;
};

class ORVCSAfin : public Laboratorio {
  Q_OBJECT

 public:
  // Loads the window: the cryptosystem (created by class name), the sizing
  // rule of the two buttons, the grid's columns and the first tab.
  explicit ORVCSAfin(QWidget* parent = nullptr);

  // The cryptosystem the window drives.
  tarnel::ORVCriptoAfin& cs() const { return *cs_; }

  // The size the window opens at.
  QSize sizeHint() const override;

  // Runs the key search with the four character boxes ("Analizar").
  void Analizar();

  // Controls, named as the window's design names them.
  QTabBar* tsCripto() const { return tsCripto_; }
  QFrame* Panel(int i) const { return panel_.at(static_cast<size_t>(i)); }
  pemmick::ORVExtTextBox* TxtTO() const { return txtTO_; }
  pemmick::ORVExtTextBox* txtTC() const { return txtTC_; }
  lab::PanelCifrar* PanelCifrar() const { return panelCifrar_; }
  plankett::FlatButton* cmdCifra() const { return panelCifrar_->cmdCifra(); }
  plankett::FlatButton* cmdDescifra() const { return panelCifrar_->cmdDescifra(); }
  plankett::FlatButton* cmdAnalizar() const { return cmdAnalizar_; }
  QLineEdit* TxtA() const { return txtA_; }
  QLineEdit* TxtB() const { return txtB_; }
  // Says why the key as it stands enciphers nothing (empty when it is valid).
  QLabel* LblClave() const { return lblClave_; }
  CajaCaracter* txtX(int k) const { return txtX_.at(static_cast<size_t>(k)); }
  CajaCaracter* TxtY(int k) const { return txtY_.at(static_cast<size_t>(k)); }
  Rejilla* FlexClaves() const { return flexClaves_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  QString textoError(const std::exception& e) const override;

 private:
  void construye();
  void cambiaPestana(int i);
  void cambiaClave(QLineEdit* caja, bool multiplicador);
  void explicaClave();
  void cifra();
  void descifra();
  void eligeCandidata();
  void anchoColumnas();

  std::shared_ptr<tarnel::ORVCriptoAfin> cs_;
  QTabBar* tsCripto_ = nullptr;
  std::array<QFrame*, 3> panel_{};
  pemmick::ORVExtTextBox* txtTO_ = nullptr;
  pemmick::ORVExtTextBox* txtTC_ = nullptr;
  lab::PanelCifrar* panelCifrar_ = nullptr;
  plankett::FlatButton* cmdAnalizar_ = nullptr;
  QLineEdit* txtA_ = nullptr;
  QLineEdit* txtB_ = nullptr;
  QLabel* lblClave_ = nullptr;
  std::array<CajaCaracter*, 2> txtX_{};
  std::array<CajaCaracter*, 2> txtY_{};
  Rejilla* flexClaves_ = nullptr;
};

}  // namespace orv
