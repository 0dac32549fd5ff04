// Bars by period, for the period aids of the periodic-cipher laboratories.
#include "orv/graficoperiodos.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace orv {
namespace {

constexpr int kMargen = 6;

const QColor kColorBarra(0x3B, 0x6E, 0xA8);
const QColor kColorBordeBarra(0x2A, 0x50, 0x7C);
const QColor kColorDestacado(0xD9, 0x82, 0x2B);
const QColor kColorBordeDestacado(0x9C, 0x55, 0x12);
const QColor kColorEje(0x80, 0x80, 0x80);

}  // namespace

GraficoPeriodos::GraficoPeriodos(QWidget* parent) : QWidget(parent) {
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setMouseTracking(true);
  ayuda = [](int32_t periodo, int32_t valor) {
    return QStringLiteral("Periodo %1: %2").arg(periodo).arg(valor);
  };
}

void GraficoPeriodos::setValores(int32_t primero, std::vector<int32_t> valores) {
  primero_ = primero;
  valores_ = std::move(valores);
  mayor_ = 0;
  for (const int32_t v : valores_) mayor_ = std::max(mayor_, v);
  update();
}

int32_t GraficoPeriodos::Valor(int32_t p) const {
  const int64_t k = static_cast<int64_t>(p) - primero_;
  if (k < 0 || k >= static_cast<int64_t>(valores_.size())) return -1;
  return valores_[static_cast<size_t>(k)];
}

void GraficoPeriodos::setDestacado(int32_t p) {
  if (destacado_ == p) return;
  destacado_ = p;
  update();
}

void GraficoPeriodos::setElegido(int32_t p) {
  if (elegido_ == p) return;
  elegido_ = p;
  update();
}

void GraficoPeriodos::setVacio(const QString& texto) {
  vacio_ = texto;
  update();
}

QSize GraficoPeriodos::sizeHint() const {
  return {fontMetrics().averageCharWidth() * 40, fontMetrics().height() * 9};
}

QSize GraficoPeriodos::minimumSizeHint() const {
  return {fontMetrics().averageCharWidth() * 16, fontMetrics().height() * 5};
}

QRect GraficoPeriodos::areaBarras() const {
  // Room under the bars for the periods and over them for the values.
  const int linea = fontMetrics().height();
  return rect().adjusted(kMargen, kMargen + linea + 2, -kMargen, -(kMargen + linea + 4));
}

QRect GraficoPeriodos::rectColumna(int32_t p) const {
  const int32_t v = Valor(p);
  if (v < 0) return {};
  const QRect area = areaBarras();
  const int n = static_cast<int>(valores_.size());
  const int k = p - primero_;
  const int x0 = area.left() + static_cast<int>(static_cast<int64_t>(area.width()) * k / n);
  const int x1 = area.left() + static_cast<int>(static_cast<int64_t>(area.width()) * (k + 1) / n);
  return QRect(QPoint(x0, rect().top() + kMargen), QPoint(x1 - 1, area.bottom()));
}

int32_t GraficoPeriodos::periodoEn(const QPoint& punto) const {
  if (valores_.empty()) return 0;
  const QRect area = areaBarras();
  if (punto.x() < area.left() || punto.x() > area.right() || punto.y() < rect().top() ||
      punto.y() > rect().bottom() || area.width() <= 0) {
    return 0;
  }
  const int n = static_cast<int>(valores_.size());
  const int k = std::clamp(
      static_cast<int>(static_cast<int64_t>(punto.x() - area.left()) * n / area.width()), 0, n - 1);
  return primero_ + k;
}

void GraficoPeriodos::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QFontMetrics m = fontMetrics();
  const QColor texto = palette().color(QPalette::Text);
  if (valores_.empty()) {
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(rect().adjusted(kMargen, kMargen, -kMargen, -kMargen),
               Qt::AlignCenter | Qt::TextWordWrap, vacio_);
    return;
  }
  const QRect area = areaBarras();
  const int n = static_cast<int>(valores_.size());
  const int anchoColumna = std::max(1, area.width() / n);
  // Period numbers: every `paso`-th, so that they never run together.
  const int anchoNumero = m.horizontalAdvance(QString::number(primero_ + n - 1)) + 4;
  const int paso = std::max(1, (anchoNumero + anchoColumna - 1) / anchoColumna);
  // The values above the bars, in a smaller letter when narrow columns need it.
  QFont fuenteValores = font();
  bool conValores = m.horizontalAdvance(QString::number(mayor_)) + 2 <= anchoColumna;
  if (!conValores) {
    fuenteValores.setPointSizeF(font().pointSizeF() * 0.8);
    conValores = QFontMetrics(fuenteValores).horizontalAdvance(QString::number(mayor_)) + 2 <=
                 anchoColumna;
  }

  for (int k = 0; k < n; ++k) {
    const int32_t periodo = primero_ + k;
    const int32_t valor = valores_[static_cast<size_t>(k)];
    const QRect columna = rectColumna(periodo);
    const int ancho = std::max(1, columna.width() * 7 / 10);
    const int x = columna.left() + (columna.width() - ancho) / 2;
    const int alto = mayor_ > 0 ? static_cast<int>(static_cast<int64_t>(area.height()) * valor /
                                                   mayor_)
                                : 0;
    const bool destacado = periodo == destacado_;
    if (alto > 0) {
      const QRect barra(x, area.bottom() - alto + 1, ancho, alto);
      p.fillRect(barra, destacado ? kColorDestacado : kColorBarra);
      p.setPen(destacado ? kColorBordeDestacado : kColorBordeBarra);
      p.drawRect(barra.adjusted(0, 0, -1, -1));
    }
    p.setPen(texto);
    if (conValores) {
      p.setFont(fuenteValores);
      p.drawText(QRect(columna.left(), area.bottom() - alto - m.height() - 1, columna.width(),
                       m.height()),
                 Qt::AlignHCenter | Qt::AlignBottom, QString::number(valor));
      p.setFont(font());
    }
    if (k % paso == 0 || destacado || periodo == elegido_) {
      QFont f = font();
      f.setBold(destacado || periodo == elegido_);
      p.setFont(f);
      const int centro = columna.center().x();
      p.drawText(QRect(centro - anchoNumero, area.bottom() + 3, 2 * anchoNumero, m.height()),
                 Qt::AlignHCenter | Qt::AlignTop, QString::number(periodo));
      p.setFont(font());
    }
    if (periodo == elegido_) {
      QPen marco(texto);
      marco.setWidth(1);
      marco.setStyle(Qt::DashLine);
      p.setPen(marco);
      p.drawRect(columna.adjusted(0, 0, -1, m.height() + 3));
    }
  }
  p.setPen(kColorEje);
  p.drawLine(area.left(), area.bottom() + 1, area.right(), area.bottom() + 1);
}

void GraficoPeriodos::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    const int32_t periodo = periodoEn(e->position().toPoint());
    if (periodo != 0 && eligePeriodo) eligePeriodo(periodo);
  }
  QWidget::mouseReleaseEvent(e);
}

bool GraficoPeriodos::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* h = static_cast<QHelpEvent*>(e);
    const int32_t periodo = periodoEn(h->pos());
    if (periodo != 0 && ayuda) {
      QToolTip::showText(h->globalPos(), ayuda(periodo, Valor(periodo)), this);
    } else {
      QToolTip::hideText();
      e->ignore();
    }
    return true;
  }
  return QWidget::event(e);
}

}  // namespace orv
