// The frame-panel object of the bar: the window whose client area takes the
// bar's margins as docked panels.
#pragma once

#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "framer/setframer.h"
#include "qtcomun/medidas.h"
#include "vimbar/vimbar.h"

namespace vimbar {

class Vimbar::Marco {
 public:
  // True once a frame control has been set: the margins then live in its panels.
  bool tieneVentana() const { return puesta_ && marco_.Parent() != nullptr; }
  QWidget* ventana() const { return qobject_cast<QWidget*>(marco_.Parent()); }
  // Gives the frame-panel object its window without handing it the margins.
  void adopta(QWidget* v) {
    if (!marco_.Parent()) marco_.setParent(v);
  }
  void ponVentana(QWidget* v) {
    puesta_ = v != nullptr;
    marco_.setParent(v);
  }
  // Side 0 left, 1 top, 2 right, 3 bottom; value in twips.
  void ponBorde(int lado, int32_t twips) {
    const auto px = static_cast<int16_t>(
        std::clamp<long>(std::lround(twips / double(qtcomun::kTwipsPorPixel)), 0, 32767));
    switch (lado) {
      case 0: marco_.setBorderLeft(px); break;
      case 1: marco_.setBorderTop(px); break;
      case 2: marco_.setBorderRight(px); break;
      default: marco_.setBorderBottom(px); break;
    }
  }
  const framer::SetFramer& marco() const { return marco_; }

 private:
  framer::SetFramer marco_;
  bool puesta_ = false;
};

}  // namespace vimbar
