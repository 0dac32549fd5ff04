// ORVPrimos: the primes laboratory. It tests numbers for primality, finds
// the next prime, generates random primes of a given size and factorises.
//
// Every number box takes an expression, which the program's shared
// big-number service evaluates, so the spreadsheet's cells can be named.
// Each button's service call runs on a worker thread (a CalculoEnFondo): the
// window stays responsive, its strip says what it is doing and for how long
// and offers "Cancelar", and the buttons that would start more work are
// disabled meanwhile. The work captures its inputs by value and a shared
// result; it never touches the window.
//
// A cancelled factorisation shows what was found, the unfactored cofactor
// last and in red, as any incomplete one; other cancelled work leaves the
// boxes as they were and says "Cancelado" under the pages.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "orv/laboratorio.h"

class QLabel;
class QLineEdit;
class QTabBar;
class QTabWidget;

namespace orv {

class CalculoEnFondo;
class FranjaTrabajo;
class Rejilla;

namespace primos {

// A row of the factor table: a factor and its exponent, as decimal texts.
using Factor = std::pair<QString, QString>;

// The order the table shows the factors in: ascending by exact value (a
// sign, then digits, of any length). When `completa` is false the last row
// is the unfactored cofactor and stays last whatever its value. Texts that
// are not integers go after the integers, in their order.
std::vector<Factor> ordenados(std::vector<Factor> factores, bool completa);

// True when the text is a whole number in decimal: an optional sign and digits.
bool esEntero(const QString& texto);

}  // namespace primos

class ORVPrimos : public Laboratorio {
  Q_OBJECT

 public:
  // The limits of "Nº de bits".
  static constexpr int kBitsMinimo = 2;
  static constexpr int kBitsMaximo = 2000;
  // The colour of an incomplete factorisation's last row (red).
  static constexpr uint32_t kRojo = 255;

  // Loads the window on the first tab, "No es primo" in the test box.
  explicit ORVPrimos(QWidget* parent = nullptr);
  ~ORVPrimos() override;

  QSize sizeHint() const override;

  // Controls, named as the window's design names them.
  QTabBar* TabStripPrimos() const;
  QTabWidget* paginas() const { return paginas_; }
  QFrame* Panel(int i) const;
  pemmick::ORVExtTextBox* TextNumero() const { return textNumero_; }
  plankett::FlatButton* CmdTest() const { return cmdTest_; }
  QLineEdit* TextTest() const { return textTest_; }
  plankett::FlatButton* cmdSigPrimo() const { return cmdSigPrimo_; }
  QLineEdit* TextNumBits() const { return textNumBits_; }
  plankett::FlatButton* CMDNumBits() const { return cmdNumBits_; }
  pemmick::ORVExtTextBox* TextNumF() const { return textNumF_; }
  plankett::FlatButton* CmdFactoriza() const { return cmdFactoriza_; }
  Rejilla* FlexFactores() const { return flexFactores_; }
  // The work under way and its strip; the line under the pages that says
  // what became of the last work ("Cancelado"), empty otherwise.
  CalculoEnFondo* calculo() const { return calculo_; }
  FranjaTrabajo* franja() const { return franja_; }
  QLabel* LabelEstado() const { return labelEstado_; }

  // The buttons' actions, as a click runs them. Each returns false when it
  // started nothing (work already running).
  bool Test();
  bool SigPrimo();
  bool NumBits();
  bool Factoriza();

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override;
  void alCerrar() override;

 private:
  void construye();
  bool empieza(const QString& que, std::function<void()> trabajo,
               std::function<void(bool cancelado)> fin, bool cursorOcupado = true);
  void generaPrimo(int bits);
  void muestraFactores(std::vector<primos::Factor> factores, bool completa);
  void copiaFactor(int fila);
  void anchoColumnas();
  void estado(const QString& texto);
  void habilita(bool si);
  void ponNumero(const QString& numero);

  CalculoEnFondo* calculo_ = nullptr;
  FranjaTrabajo* franja_ = nullptr;
  QLabel* labelEstado_ = nullptr;
  QTabWidget* paginas_ = nullptr;
  std::vector<QFrame*> paneles_;
  pemmick::ORVExtTextBox* textNumero_ = nullptr;
  plankett::FlatButton* cmdTest_ = nullptr;
  QLineEdit* textTest_ = nullptr;
  plankett::FlatButton* cmdSigPrimo_ = nullptr;
  QLineEdit* textNumBits_ = nullptr;
  plankett::FlatButton* cmdNumBits_ = nullptr;
  pemmick::ORVExtTextBox* textNumF_ = nullptr;
  plankett::FlatButton* cmdFactoriza_ = nullptr;
  Rejilla* flexFactores_ = nullptr;
};

}  // namespace orv
