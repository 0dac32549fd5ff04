// GraficoFrecuencias: the frequencies of an analysis as horizontal bars, one
// row per block in the order given (largest first), the block's text as its
// label and the relative frequency as the bar's length. Only the rows in view
// are drawn, so a result of any size scrolls smoothly.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <vector>

namespace orv {

class GraficoFrecuencias : public QAbstractScrollArea {
  Q_OBJECT

 public:
  struct Barra {
    QString texto;      // the block, as the grid shows it
    double frecuencia;  // relative frequency, 0..1
  };

  explicit GraficoFrecuencias(QWidget* parent);

  // Replaces the bars and scrolls to the first. The longest bar spans the
  // width; `decimal` separates the decimals of the percentages written beside
  // the bars.
  void setBarras(std::vector<Barra> barras, QChar decimal);
  const std::vector<Barra>& Barras() const { return barras_; }

  // The height of one row, in logical pixels.
  int altoFila() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void ajustaBarra();
  QString porcentaje(double frecuencia) const;

  std::vector<Barra> barras_;
  double mayor_ = 0;
  int anchoEtiquetas_ = 0;
  QChar decimal_ = QLatin1Char('.');
};

}  // namespace orv
