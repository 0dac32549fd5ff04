// ORVCalc: the spreadsheet laboratory, "Mini hoja de cálculo".
//
// A grid of 49 rows × 26 columns (A–Z) whose cells hold big-number
// expressions. Each cell keeps the formula as typed and its value as last
// evaluated (exact rationals, no limit, "Error" for what cannot be
// evaluated). Editing a cell shows its formula; leaving it with a changed
// formula evaluates it and publishes the value as the cell's variable (A1,
// B7, ...) in the program's one shared big-number service, so other cells
// (and the primes window) can name it. Re-entering the same formula does not
// evaluate again. Only the edited cell is evaluated; F9 ("Recalcular")
// evaluates every cell again in reading order, each published before the
// next, so that cells that name others follow a change.
//
// Evaluation runs on a worker thread (CalculoEnFondo) with a status strip
// ("Calculando A1", "Recalculando: C7 3/20") and "Cancelar": a huge
// expression never freezes the program. While it runs, a new edit or F9 is
// refused and the strip says why. "Cancelar" leaves the cell as it was
// before the edit, formula and value, as Esc in the editor does: the user
// asked for nothing to change. A cancelled recalculation keeps the cells it
// had already evaluated (their new values are published) and leaves the rest.
//
// A value wider than its column shows its leading digits, "…" and its length
// ("1234…(5 021 cifras)"); the floating zoom panel ("Valor de A1") shows the
// whole value of the current cell. The panel is dragged by its title strip,
// closed by its close box or Esc, and its text's own "zoom" button steps the
// font size from 7 to 26 and round again.
//
// Closing the window empties the shared variable table, variables set through
// other windows included, after telling the work under way to stop; a worker
// that is still evaluating (and so reading the table) empties it as it ends
// and publishes nothing more.
#pragma once

#include <QLabel>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "orv/calculofondo.h"
#include "orv/laboratorio.h"

class QAction;
class QFrame;
class QToolBar;

namespace orv {

class Rejilla;

// The title strip of the zoom panel: its caption, with a raised close box
// drawn at its right end.
class EtiquetaZoom : public QLabel {
  Q_OBJECT

 public:
  explicit EtiquetaZoom(QWidget* parent);
  // The close box, in the label's coordinates.
  QRect cajaCierre() const;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

class ORVCalc : public Laboratorio {
  Q_OBJECT

 public:
  // The grid's rows and columns with their headers.
  static constexpr int32_t kFilas = 50;
  static constexpr int32_t kColumnas = 27;  // Asc("Z") - Asc("A") + 2
  // The zoom text's font sizes, stepped by its own "zoom" button.
  static constexpr int kTamMinimo = 7;
  static constexpr int kTamMaximo = 26;

  explicit ORVCalc(QWidget* parent = nullptr);
  ~ORVCalc() override;

  QSize sizeHint() const override;

  // Controls, named as the window's design names them.
  Rejilla* FlexCalc() const { return flexCalc_; }
  QToolBar* Toolbar() const { return toolbar_; }
  QAction* boton(const QString& key) const;
  QFrame* PanelZoom() const { return panelZoom_; }
  EtiquetaZoom* LabelZoom() const { return labelZoom_; }
  pemmick::ORVExtTextBox* TextZoom() const { return textZoom_; }
  FranjaTrabajo* Franja() const { return franja_; }
  CalculoEnFondo* Calculo() const { return calculo_; }
  QAction* Recalcular() const { return recalcular_; }

  // The cell's formula as typed and its value as last evaluated (row and
  // column from 1); empty outside the sheet.
  QString Formula(int32_t fila, int32_t columna) const;
  QString Valor(int32_t fila, int32_t columna) const;
  // The cell's name, header of its column then header of its row ("B7").
  QString NombreCelda(int32_t fila, int32_t columna) const;

  // What a cell shows for `valor` in `ancho` pixels of `medidas`' font: the
  // value itself when it fits, else its leading characters, "…" and its
  // number of digits ("1234…(5 021 cifras)").
  static QString textoAjustado(const QString& valor, const QFontMetrics& medidas, int ancho);
  // A count with its digits in groups of three ("5 021").
  static QString agrupado(qsizetype n);

  // Gives a cell a formula as leaving its editor does: a changed formula is
  // evaluated and published, its value arriving through the event loop.
  // False when other work runs (nothing changes) or outside the sheet.
  bool EscribeFormula(int32_t fila, int32_t columna, const QString& formula);
  // Evaluates every cell again in reading order (F9). False when work runs.
  bool Recalcula();

 protected:
  void alCerrar() override;
  bool eventFilter(QObject* objeto, QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  struct Publicacion;

  // Starts work on the worker with a fresh Publicacion; false when work runs.
  bool lanza(const QString& que, std::function<void(Publicacion&)> trabajo,
             std::function<void(const CalculoEnFondo::Desenlace&)> fin);
  void construye();
  void antesDeEditar(int32_t fila, int32_t columna, bool& cancela);
  void despuesDeEditar(int32_t fila, int32_t columna);
  void editorCerrado();
  bool evalua(int32_t fila, int32_t columna, const QString& formula);
  void muestra(int32_t fila, int32_t columna);
  void muestraColumna(int32_t columna);
  void celdaCambiada();
  void refrescaZoom();
  void botonZoom(bool abajo);
  void muestraExpresion();
  void ocultaZoom();
  void pasoFuente();
  void colocaZoom();
  void rehusa();
  size_t indice(int32_t fila, int32_t columna) const {
    return static_cast<size_t>(fila) * kColumnas + static_cast<size_t>(columna);
  }
  bool esDato(int32_t fila, int32_t columna) const {
    return fila >= 1 && fila < kFilas && columna >= 1 && columna < kColumnas;
  }

  // Formulas and values, indexed (row, column) from 1 as the grid's cells.
  std::vector<QString> formulas_;
  std::vector<QString> valores_;
  // The cell whose editor is open, or 0, 0.
  int32_t filaEditada_ = 0;
  int32_t columnaEditada_ = 0;
  // The cell being evaluated (0, 0 when none, or during a recalculation).
  int32_t filaCalculo_ = 0;
  int32_t columnaCalculo_ = 0;
  // What a worker may still publish: closed when the window closes.
  std::shared_ptr<Publicacion> publicacion_;
  // Where a drag of the zoom panel took hold, in the panel's coordinates.
  QPoint agarre_;
  bool arrastrando_ = false;
  bool zoomColocado_ = false;

  Rejilla* flexCalc_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QFrame* panelZoom_ = nullptr;
  EtiquetaZoom* labelZoom_ = nullptr;
  pemmick::ORVExtTextBox* textZoom_ = nullptr;
  CalculoEnFondo* calculo_ = nullptr;
  FranjaTrabajo* franja_ = nullptr;
  QLabel* aviso_ = nullptr;
  QAction* recalcular_ = nullptr;
};

}  // namespace orv
