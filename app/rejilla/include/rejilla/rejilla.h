// Rejilla: the grid every laboratory window shows its tables in.
//
// A thin class over Qt's table widget that offers only what the windows use:
// layout, cell texts and looks, the current cell, editing with its three
// notifications, outline rows and a generic sort. Rows and columns are
// numbered from 0 with the fixed header rows and columns first; the first
// fixed row and column are shown as the table's frozen headers (further fixed
// ones as shaded cells). Widths and heights are in twips, 15 per logical pixel.
// Notifications arrive synchronously, before the grid goes on.
#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "kestrin/evento.h"

class QTableWidget;
class QTableWidgetItem;

namespace orv {

// Cell alignment, the numbering grids have always used.
enum Alineacion : int32_t {
  IzquierdaArriba = 0,
  IzquierdaCentro = 1,
  IzquierdaAbajo = 2,
  CentroArriba = 3,
  CentroCentro = 4,
  CentroAbajo = 5,
  DerechaArriba = 6,
  DerechaCentro = 7,
  DerechaAbajo = 8,
  General = 9,  // numbers to the right, text to the left
};

class TablaInterna;
class Esquina;

class Rejilla : public QWidget {
  Q_OBJECT

 public:
  explicit Rejilla(QWidget* parent);
  ~Rejilla() override;

  // Layout. Setting the row count to 1 with one fixed row leaves only the header.
  int32_t Filas() const;
  void setFilas(int32_t n);
  int32_t Columnas() const;
  void setColumnas(int32_t n);
  int32_t FilasFijas() const { return filasFijas_; }
  void setFilasFijas(int32_t n);
  int32_t ColumnasFijas() const { return columnasFijas_; }
  void setColumnasFijas(int32_t n);
  int32_t AnchoColumna(int32_t c) const;
  void setAnchoColumna(int32_t c, int32_t twips);
  Alineacion AlineacionColumna(int32_t c) const;
  void setAlineacionColumna(int32_t c, Alineacion a);
  // A number pattern ("0", "0.000") for the numbers the column shows; the
  // stored text stays as written.
  QString FormatoColumna(int32_t c) const;
  void setFormatoColumna(int32_t c, const QString& formato);
  // Alignment of the column's fixed cells (the header); centred at first.
  Alineacion AlineacionFija(int32_t c) const;
  void setAlineacionFija(int32_t c, Alineacion a);
  QVariant DatoColumna(int32_t c) const;
  void setDatoColumna(int32_t c, const QVariant& dato);
  int32_t AltoFila(int32_t f) const;
  void setAltoFila(int32_t f, int32_t twips);
  // The width the cells can use, in twips.
  int32_t AnchoInterior() const;

  // Cells. Indices outside the grid raise ErrorORV 9.
  QString Texto(int32_t f, int32_t c) const;
  void setTexto(int32_t f, int32_t c, const QString& texto);
  // The text as shown, with the column's number format applied.
  QString TextoMostrado(int32_t f, int32_t c) const;
  uint32_t ColorFondoCelda(int32_t f, int32_t c) const;
  void setColorFondoCelda(int32_t f, int32_t c, uint32_t color);
  uint32_t ColorTextoCelda(int32_t f, int32_t c) const;
  void setColorTextoCelda(int32_t f, int32_t c, uint32_t color);
  bool NegritaCelda(int32_t f, int32_t c) const;
  void setNegritaCelda(int32_t f, int32_t c, bool negrita);
  QVariant DatoCelda(int32_t f, int32_t c) const;
  void setDatoCelda(int32_t f, int32_t c, const QVariant& dato);
  uint32_t ColorFondoFijo() const { return colorFijo_; }
  void setColorFondoFijo(uint32_t color);

  // Selects the rectangle of cells between the two corners (any order).
  void Selecciona(int32_t f1, int32_t c1, int32_t f2, int32_t c2);
  // The generic sorts, numbered as grids number them.
  enum Orden : int32_t { GenericoAscendente = 1, GenericoDescendente = 2 };
  // Sorts the selected rows in that order of the selected columns,
  // numerically where both texts are numbers; equal keys keep their order.
  // Whole rows move with their looks and data.
  void Ordena(Orden orden = GenericoAscendente);

  // Current cell.
  int32_t Fila() const;
  void setFila(int32_t f);
  int32_t Columna() const;
  void setColumna(int32_t c);
  int32_t FilaSuperior() const;
  void setFilaSuperior(int32_t f);
  // The cell under the mouse, -1 when there is none.
  int32_t FilaRaton() const { return filaRaton_; }
  int32_t ColumnaRaton() const { return columnaRaton_; }
  QString TextoAyuda() const;
  void setTextoAyuda(const QString& texto);

  // Editing.
  bool Editable() const { return editable_; }
  void setEditable(bool v) { editable_ = v; }
  bool CeldaEditable(int32_t f, int32_t c) const;
  void setCeldaEditable(int32_t f, int32_t c, bool v);
  // Starts editing the current cell (when it may be edited).
  void Edita();
  // The text in the cell editor, or the current cell's text when none is open.
  QString TextoEdicion() const;
  void setTextoEdicion(const QString& texto);
  bool editando() const;

  // Outline.
  bool EsNodo(int32_t f) const;
  void setEsNodo(int32_t f, bool v);
  int32_t NivelEsquema(int32_t f) const;
  void setNivelEsquema(int32_t f, int32_t nivel);

  // Scroll bars: none, horizontal, vertical or both, each shown when the
  // cells do not fit; `siempreVertical` keeps the vertical one always shown.
  enum Barras : int32_t { SinBarras = 0, BarraHorizontal = 1, BarraVertical = 2, AmbasBarras = 3 };
  Barras BarrasDesplazamiento() const { return barras_; }
  void setBarrasDesplazamiento(Barras b, bool siempreVertical = false);
  // Width of the vertical scroll bar, in logical pixels.
  int anchoBarraVertical() const;

  // Drawing.
  void setRedibujo(bool v);
  bool Redibujo() const;
  uint32_t ColorFondo() const { return colorFondo_; }
  void setColorFondo(uint32_t c);
  uint32_t ColorTexto() const { return colorTexto_; }
  void setColorTexto(uint32_t c);
  uint32_t ColorFondoSeleccion() const { return colorFondoSel_; }
  void setColorFondoSeleccion(uint32_t c);
  uint32_t ColorTextoSeleccion() const { return colorTextoSel_; }
  void setColorTextoSeleccion(uint32_t c);

  struct Eventos {
    kestrin::Evento<> Click;
    kestrin::Evento<> DblClick;
    kestrin::Evento<int16_t&> KeyPress;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseMove;
    // The current cell changed.
    kestrin::Evento<> CeldaCambiada;
    // Row, column, cancel: an edit is about to start.
    kestrin::Evento<int32_t, int32_t, bool&> AntesDeEditar;
    // Row, column, new text, cancel: an edit is about to be committed.
    kestrin::Evento<int32_t, int32_t, QString&, bool&> ValidaEdicion;
    // Row, column: an edit was committed.
    kestrin::Evento<int32_t, int32_t> DespuesDeEditar;
    // The keyboard focus left the grid.
    kestrin::Evento<> SalidaFoco;
  } eventos;

  QTableWidget* tabla() const;

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  friend class TablaInterna;
  friend class Delegado;
  void compruebaCelda(int32_t f, int32_t c) const;
  QTableWidgetItem* item(int32_t f, int32_t c) const;
  QTableWidgetItem* itemCrea(int32_t f, int32_t c);
  bool esCabeceraFila() const { return filasFijas_ > 0; }
  bool esCabeceraColumna() const { return columnasFijas_ > 0; }
  int32_t filaTabla(int32_t f) const { return f - (esCabeceraFila() ? 1 : 0); }
  int32_t columnaTabla(int32_t c) const { return c - (esCabeceraColumna() ? 1 : 0); }
  bool esFija(int32_t f, int32_t c) const { return f < filasFijas_ || c < columnasFijas_; }
  void aplicaPaleta();
  void pintaFijas();
  void cambiaFijas(int32_t filas, int32_t columnas);
  void colocaEsquina();

  TablaInterna* tabla_;
  Esquina* esquina_;
  int32_t filasFijas_ = 1;
  int32_t columnasFijas_ = 1;
  bool editable_ = false;
  int32_t filaRaton_ = -1;
  int32_t columnaRaton_ = -1;
  uint32_t colorFondo_ = 0x80000005;
  uint32_t colorTexto_ = 0x80000008;
  uint32_t colorFondoSel_ = 0x8000000D;
  uint32_t colorTextoSel_ = 0x8000000E;
  uint32_t colorFijo_ = 0x8000000F;
  std::vector<QString> formatos_;
  std::vector<Alineacion> alineaciones_;
  std::vector<Alineacion> alineacionesFijas_;
  Barras barras_ = AmbasBarras;
  std::vector<QVariant> datosColumna_;
};

}  // namespace orv
