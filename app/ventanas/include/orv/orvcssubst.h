// ORVCSSubst: the laboratory of the monoalphabetic substitution.
//
// The key is a grid of 64 cells, one per plain symbol, holding the cipher
// symbol given to it or "_" while it has none. The student fills it directly
// or, on the cryptanalysis page, by writing guessed plain symbols under the
// ciphertext; every change reaches the window's ORVCriptoSust at once and the
// partial decipherment is redrawn. The text boxes hand their tagged texts to
// the cryptosystem, whose events Cifrado / DesCifrado place the results. The
// cryptanalysis page exists only while the ciphertext box holds a text.
//
// Beside the hand work, "Resolver" on the cryptanalysis page breaks the
// ciphertext from the statistics of Spanish and puts the key found in the key
// grid (symbols whose cipher symbol does not occur stay "_"), where the
// student goes on correcting it by hand. The search takes a second or two, so
// it runs on a worker thread with its own cryptosystem and its own copy of
// the ciphertext; meanwhile the key, the text grid and the tabs wait, and the
// strip under the grid shows the work with its "Cancelar". Each press starts
// from another seed, so pressing again may find a better key.
#pragma once

#include <array>
#include <memory>

#include "orv/laboratorio.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QTabBar;
class QTabWidget;

namespace tarnel {
class ORVCar;
class ORVCriptoSust;
}  // namespace tarnel

namespace orv {

class CalculoEnFondo;
class FranjaTrabajo;
class Rejilla;

class ORVCSSubst : public Laboratorio {
  Q_OBJECT

 public:
  // Loads the window: the cryptosystem (created by class name), the key of
  // 64 unassigned symbols, the grids' columns and the first page.
  explicit ORVCSSubst(QWidget* parent = nullptr);
  ~ORVCSSubst() override;

  // The cryptosystem the window drives.
  tarnel::ORVCriptoSust& cs() const { return *cs_; }

  // The size the window opens at: wide enough for the whole key.
  QSize sizeHint() const override;

  // Rebuilds the text grid from the two text boxes: plain row over cipher
  // row, 27 symbols a pair; the grid's "Tag" property is the number of cells
  // used in the last pair (0 when it is full or there is no text).
  void LlenaTexto();
  // Hands the key grid to the cryptosystem after cell (fila, columna)
  // changed: the bold plain symbols are those no cell gives as its cipher
  // symbol yet, "Cifra" waits for a whole permutation, and the cryptanalysis
  // page, when shown, is deciphered and redrawn.
  void ActualizaClave(int32_t fila, int32_t columna);
  // "Borrar clave": every symbol unassigned.
  void BorrarClave();
  // "Clave aleatoria": a uniformly drawn permutation of the 64 symbols.
  void ClaveAleatoria();
  // "Resolver": starts breaking the ciphertext on the worker thread; the key
  // found reaches the key grid when it ends. Nothing while a search runs.
  void Resuelve();
  // The seed of the next search (each search takes the next one).
  int32_t Semilla() const { return semilla_; }
  void setSemilla(int32_t s) { semilla_ = s; }

  // Controls, named as the window's design names them.
  QFrame* Frame1() const { return frame1_; }
  Rejilla* FlexClaves() const { return flexClaves_; }
  QTabWidget* paginas() const { return paginas_; }
  QTabBar* tsCripto() const;
  QFrame* Panel(int i) const { return panel_.at(static_cast<size_t>(i)); }
  Rejilla* FlexTexto() const { return flexTexto_; }
  pemmick::ORVExtTextBox* TxtTO() const { return txtTO_; }
  pemmick::ORVExtTextBox* txtTC() const { return txtTC_; }
  lab::PanelCifrar* PanelCifrar() const { return panelCifrar_; }
  plankett::FlatButton* cmdCifra() const { return panelCifrar_->cmdCifra(); }
  plankett::FlatButton* cmdDescifra() const { return panelCifrar_->cmdDescifra(); }
  // The key grid's pop-up menu (a right click on the grid opens it).
  QMenu* MenuClave() const { return menuClave_; }
  QAction* MenuBorrarClave() const { return menuBorrarClave_; }
  QAction* MenuClaveAleatoria() const { return menuClaveAleatoria_; }
  plankett::FlatButton* CmdResolver() const { return cmdResolver_; }
  QLabel* TextResolver() const { return textResolver_; }
  CalculoEnFondo* Calculo() const { return calculo_; }
  FranjaTrabajo* Franja() const { return franja_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void construye();
  void conecta();
  void cambiaPestana(int i);
  void cambiaCifrado();
  void anchoColumnas();
  void abreMenuClave(const QPoint& global);

  // Key grid.
  void validaClave(int32_t fila, int32_t columna, QString& texto, bool& cancela);
  // Text grid.
  int32_t usadasUltimoPar() const;
  bool fueraDeUso(int32_t fila, int32_t columna) const;
  void celdaTextoCambiada();
  void antesDeEditarTexto(int32_t fila, int32_t columna, bool& cancela);
  void validaTexto(int32_t fila, int32_t columna, QString& texto, bool& cancela);
  void despuesDeEditarTexto(int32_t fila, int32_t columna);
  // While a search runs, nothing that could change the key or the text.
  void esperaResolver(bool espera);

  std::shared_ptr<tarnel::ORVCriptoSust> cs_;
  std::shared_ptr<tarnel::ORVCar> car_;
  QFrame* frame1_ = nullptr;
  Rejilla* flexClaves_ = nullptr;
  QTabWidget* paginas_ = nullptr;
  std::array<QFrame*, 2> panel_{};
  Rejilla* flexTexto_ = nullptr;
  pemmick::ORVExtTextBox* txtTO_ = nullptr;
  pemmick::ORVExtTextBox* txtTC_ = nullptr;
  lab::PanelCifrar* panelCifrar_ = nullptr;
  QMenu* menuClave_ = nullptr;
  QAction* menuBorrarClave_ = nullptr;
  QAction* menuClaveAleatoria_ = nullptr;
  plankett::FlatButton* cmdResolver_ = nullptr;
  QLabel* textResolver_ = nullptr;
  CalculoEnFondo* calculo_ = nullptr;
  FranjaTrabajo* franja_ = nullptr;
  int32_t semilla_ = 1;
  // The narrowest key column that shows a bold symbol whole, in pixels.
  int anchoMinimoClave_ = 0;
};

}  // namespace orv
