// ORVCSHill: the laboratory of the Hill cipher, blocks of n symbols
// multiplied by an n × n key modulo 64.
//
// Data flow: the two size boxes (one per page, always showing the same n)
// set the block size of the window's ORVCriptoHill, whose CambiaTamaño sizes
// both grids. The key grid writes each edited cell into the key; leaving it
// shows the key's inverse modulo 64 in the inverse grid (or empties it when
// there is none), and leaving the inverse grid inverts what was typed there
// back into the key. "Cifra" and "Descifra" run the cryptosystem on the two
// text boxes and bring the page with the result to the front.
//
// Block sizes go from 1 to 10: the matrix class takes far larger ones, but a
// key of more than a hundred cells is not one a student types, and a grid of
// 11 × 11 cells still fits the window whole. A typed size outside those
// limits (0, a negative number, a word, 11 or more) is ignored: the size and
// the grids stay, and the box shows the size again when it is left.
//
// A third page of our own, "Texto conocido", breaks the key from a stretch
// of plain text and its cipher text: "Buscar claves" lists every key of the
// current size (at most 64) that takes the one onto the other; a click on one
// puts it in the key grid (and its inverse in the inverse grid), ready to
// decipher. The page has its own size box, kept equal to the other two.
#pragma once

#include <array>
#include <memory>

#include "orv/laboratorio.h"

class QFrame;
class QLabel;
class QTabBar;
class QTabWidget;

namespace pemmick {
class ORVRotLabel;
}
namespace tarnel {
class ORVCriptoHill;
}

namespace orv {

class Rejilla;

class ORVCSHill : public Laboratorio {
  Q_OBJECT

 public:
  // The limits of the block size.
  static constexpr int kTamMinimo = 1;
  static constexpr int kTamMaximo = 10;

  // Loads the window: the cryptosystem (created by class name), the icon,
  // block size 2 and the first tab.
  explicit ORVCSHill(QWidget* parent = nullptr);
  ~ORVCSHill() override;

  // The cryptosystem the window drives.
  tarnel::ORVCriptoHill& cs() const { return *cs_; }

  // The size the window opens at.
  QSize sizeHint() const override;

  // Controls, named as the window's design names them; the pages are
  // panel(1) and panel(2), each with its own PanelClave.
  QTabBar* TsCripto() const;
  QTabWidget* paginas() const { return paginas_; }
  QFrame* panel(int i) const { return panel_.at(static_cast<size_t>(i - 1)); }
  QFrame* PanelClave(int i) const { return panelClave_.at(static_cast<size_t>(i - 1)); }
  pemmick::ORVExtTextBox* TextTO() const { return textTO_; }
  pemmick::ORVExtTextBox* TextTC() const { return textTC_; }
  pemmick::ORVRotLabel* LabelTO() const { return labelTO_; }
  pemmick::ORVRotLabel* LabelTC() const { return labelTC_; }
  // The size boxes; their arrows (UpDownClave, UpDown1) are part of them.
  CajaArribaAbajo* TextTamClave() const { return textTamClave_; }
  CajaArribaAbajo* TextTamClaveInversa() const { return textTamClaveInversa_; }
  Rejilla* FlexClave() const { return flexClave_; }
  Rejilla* FlexClaveInversa() const { return flexClaveInversa_; }
  plankett::FlatButton* CmdCifra() const { return cmdCifra_; }
  plankett::FlatButton* CmdDescifra() const { return cmdDescifra_; }
  // The "Texto conocido" page (panel(3)).
  pemmick::ORVExtTextBox* TextConocidoTO() const { return textConocidoTO_; }
  pemmick::ORVExtTextBox* TextConocidoTC() const { return textConocidoTC_; }
  CajaArribaAbajo* TextTamConocido() const { return textTamConocido_; }
  plankett::FlatButton* CmdBuscarClaves() const { return cmdBuscarClaves_; }
  QLabel* TextEncontradas() const { return textEncontradas_; }
  Rejilla* FlexEncontradas() const { return flexEncontradas_; }
  Rejilla* FlexClaveElegida() const { return flexClaveElegida_; }

  // "Buscar claves": the keys that take the known plain text onto its cipher text.
  void BuscaClaves();
  // Puts key `fila` (1 = the first) of FlexEncontradas in the key grid.
  void EligeClaveEncontrada(int32_t fila);

 private:
  void construye();
  QFrame* construyePagina(QFrame* pagina, pemmick::ORVExtTextBox* texto,
                          pemmick::ORVRotLabel* rotulo, CajaArribaAbajo* tamano,
                          const QString& tituloRejilla, Rejilla* rejilla,
                          plankett::FlatButton* boton);
  Rejilla* nuevaRejilla(QWidget* parent, const QString& nombre);
  void cambiaTexto(CajaArribaAbajo* caja);
  void dejaTamano(CajaArribaAbajo* caja);
  void CambiaTamano(int32_t m);
  void dimensiona(Rejilla* rejilla, int32_t m);
  void editaClave(int32_t fila, int32_t columna);
  void editaInversa();
  void salidaClave();
  void salidaInversa();
  void leeClave();
  void muestraInversa();
  void estadoDescifra();
  void cifra();
  void descifra();
  QFrame* construyeConocido(QFrame* pagina);
  void vaciaEncontradas();

  std::shared_ptr<tarnel::ORVCriptoHill> cs_;
  // The side of a square cell, in logical pixels.
  int lado_ = 0;

  QTabWidget* paginas_ = nullptr;
  std::array<QFrame*, 3> panel_{};
  std::array<QFrame*, 3> panelClave_{};
  pemmick::ORVExtTextBox* textTO_ = nullptr;
  pemmick::ORVExtTextBox* textTC_ = nullptr;
  pemmick::ORVRotLabel* labelTO_ = nullptr;
  pemmick::ORVRotLabel* labelTC_ = nullptr;
  CajaArribaAbajo* textTamClave_ = nullptr;
  CajaArribaAbajo* textTamClaveInversa_ = nullptr;
  Rejilla* flexClave_ = nullptr;
  Rejilla* flexClaveInversa_ = nullptr;
  plankett::FlatButton* cmdCifra_ = nullptr;
  plankett::FlatButton* cmdDescifra_ = nullptr;
  pemmick::ORVExtTextBox* textConocidoTO_ = nullptr;
  pemmick::ORVExtTextBox* textConocidoTC_ = nullptr;
  CajaArribaAbajo* textTamConocido_ = nullptr;
  plankett::FlatButton* cmdBuscarClaves_ = nullptr;
  QLabel* textEncontradas_ = nullptr;
  Rejilla* flexEncontradas_ = nullptr;
  Rejilla* flexClaveElegida_ = nullptr;
};

}  // namespace orv
