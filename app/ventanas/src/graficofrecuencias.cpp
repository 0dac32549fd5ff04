// Frequency bars of an analysis.
#include "orv/graficofrecuencias.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace orv {
namespace {

// Widest label measured: longer blocks are elided rather than squeezing the bars.
constexpr int kCaracteresEtiqueta = 12;
constexpr int kMargen = 6;

const QColor kColorBarra(0x3B, 0x6E, 0xA8);
const QColor kColorBordeBarra(0x2A, 0x50, 0x7C);
const QColor kColorEje(0x80, 0x80, 0x80);

}  // namespace

GraficoFrecuencias::GraficoFrecuencias(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  verticalScrollBar()->setSingleStep(1);
}

int GraficoFrecuencias::altoFila() const {
  return fontMetrics().height() + 4;
}

QSize GraficoFrecuencias::sizeHint() const {
  return {fontMetrics().averageCharWidth() * 36, 200};
}

void GraficoFrecuencias::setBarras(std::vector<Barra> barras, QChar decimal) {
  barras_ = std::move(barras);
  decimal_ = decimal;
  mayor_ = 0;
  int ancho = 0;
  const QFontMetrics m = fontMetrics();
  const int tope = m.averageCharWidth() * kCaracteresEtiqueta;
  for (const Barra& b : barras_) {
    mayor_ = std::max(mayor_, b.frecuencia);
    if (ancho < tope) ancho = std::max(ancho, m.horizontalAdvance(b.texto));
  }
  anchoEtiquetas_ = std::min(ancho, tope);
  ajustaBarra();
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void GraficoFrecuencias::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  ajustaBarra();
}

// The scroll bar counts rows, so its range never meets a pixel limit.
void GraficoFrecuencias::ajustaBarra() {
  const int visibles = std::max(1, (viewport()->height() - 2 * kMargen) / altoFila());
  const int total = static_cast<int>(barras_.size());
  verticalScrollBar()->setPageStep(visibles);
  verticalScrollBar()->setRange(0, std::max(0, total - visibles));
}

QString GraficoFrecuencias::porcentaje(double frecuencia) const {
  QString s = QString::number(frecuencia * 100, 'f', 1);
  s.replace(QLatin1Char('.'), decimal_);
  return s + QStringLiteral(" %");
}

void GraficoFrecuencias::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.setRenderHint(QPainter::Antialiasing, false);
  const QFontMetrics m = fontMetrics();
  const int alto = altoFila();
  const int xEje = kMargen + anchoEtiquetas_ + kMargen;
  const int anchoTexto = m.horizontalAdvance(porcentaje(1.0)) + kMargen;
  const int anchoUtil = std::max(0, viewport()->width() - xEje - anchoTexto - kMargen);
  const int primera = verticalScrollBar()->value();
  const int total = static_cast<int>(barras_.size());

  int y = kMargen;
  for (int i = primera; i < total && y < viewport()->height(); ++i, y += alto) {
    const Barra& b = barras_[static_cast<size_t>(i)];
    const QRect etiqueta(kMargen, y, anchoEtiquetas_, alto);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(etiqueta, Qt::AlignRight | Qt::AlignVCenter,
               m.elidedText(b.texto, Qt::ElideRight, anchoEtiquetas_));
    const int largo = mayor_ > 0 ? static_cast<int>(anchoUtil * (b.frecuencia / mayor_) + 0.5) : 0;
    if (largo > 0) {
      const QRect barra(xEje + 1, y + 2, largo, alto - 4);
      p.fillRect(barra, kColorBarra);
      p.setPen(kColorBordeBarra);
      p.drawRect(barra.adjusted(0, 0, -1, -1));
    }
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRect(xEje + largo + kMargen, y, anchoTexto, alto), Qt::AlignLeft | Qt::AlignVCenter,
               porcentaje(b.frecuencia));
  }
  if (total > 0) {
    p.setPen(kColorEje);
    p.drawLine(xEje, kMargen, xEje, std::min(y, viewport()->height()) - 1);
  }
}

}  // namespace orv
