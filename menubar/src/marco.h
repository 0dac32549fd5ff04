// The frame-panel object of the bar: the window whose client area takes the
// bar's margins as docked panels.
#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>

#include "vimbar/vimbar.h"

namespace vimbar {

class Vimbar::Marco {
 public:
  bool tieneVentana() const { return !ventana_.isNull(); }
  QWidget* ventana() const { return ventana_; }
  void ponVentana(QWidget* v) { ventana_ = v; }
  // Side 0 left, 1 top, 2 right, 3 bottom; value in twips.
  void ponBorde(int lado, int32_t valor) { bordes_[lado] = valor; }
  int32_t borde(int lado) const { return bordes_[lado]; }

 private:
  QPointer<QWidget> ventana_;
  int32_t bordes_[4] = {0, 0, 0, 0};
};

}  // namespace vimbar
