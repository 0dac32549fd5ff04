// GraficoPeriodos: one vertical bar per candidate period, for the period
// aids of the periodic-cipher laboratories (the coincidences of the text
// with itself shifted by d, the distances of Kasiski's test that p divides).
//
// The likely period's bar is drawn in a colour of its own and the period the
// student has chosen is framed; the period numbers stand under the bars (as
// many as fit) and each bar's value above it when there is room. A click on
// a bar chooses its period (`eligePeriodo`); hovering shows its value in the
// tool tip. Values are counts: every bar is measured against the largest.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace orv {

class GraficoPeriodos : public QWidget {
  Q_OBJECT

 public:
  explicit GraficoPeriodos(QWidget* parent = nullptr);

  // The bars: valores[k] is the value of period primero + k. Empty: no bars,
  // and the chart shows `vacio`.
  void setValores(int32_t primero, std::vector<int32_t> valores);
  int32_t Primero() const { return primero_; }
  const std::vector<int32_t>& Valores() const { return valores_; }
  // The value of period p, or -1 when it has no bar.
  int32_t Valor(int32_t p) const;

  // The likely period (0: none), drawn in its own colour.
  int32_t Destacado() const { return destacado_; }
  void setDestacado(int32_t p);
  // The chosen period (0: none), framed.
  int32_t Elegido() const { return elegido_; }
  void setElegido(int32_t p);

  // The text shown while there are no bars.
  void setVacio(const QString& texto);
  // The tool tip of a bar: "Periodo 7: 45" when not given.
  std::function<QString(int32_t periodo, int32_t valor)> ayuda;

  // Called with the period of the bar clicked.
  std::function<void(int32_t periodo)> eligePeriodo;

  // The rectangle of period p's column (the bar and the room above it), in
  // the widget's coordinates; empty when p has no bar.
  QRect rectColumna(int32_t p) const;
  // The period whose column holds the point, or 0.
  int32_t periodoEn(const QPoint& punto) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  bool event(QEvent* e) override;

 private:
  // The area the bars are drawn in.
  QRect areaBarras() const;

  int32_t primero_ = 1;
  std::vector<int32_t> valores_;
  int32_t mayor_ = 0;
  int32_t destacado_ = 0;
  int32_t elegido_ = 0;
  QString vacio_;
};

}  // namespace orv
