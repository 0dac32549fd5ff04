// SetFramer: four empty, borderless panels docked to the sides of a window,
// so that what the window shows in its client area keeps a margin.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "kestrin/objeto.h"

namespace framer {

// Frame panels around one window. Thicknesses are in the window's pixels.
class SetFramer : public kestrin::Objeto {
 public:
  SetFramer() = default;
  SetFramer(const SetFramer&) = delete;
  SetFramer& operator=(const SetFramer&) = delete;

  // The window framed, or null. Setting it lays the panels out there; an
  // object that is not a widget cannot hold panels and gets none. Panels made
  // for an earlier window move to the new one.
  QObject* Parent() const { return padre_; }
  void setParent(QObject* padre);

  // Each border is the thickness of its panel; writing a different value lays
  // the panels out, writing the same value does nothing.
  int16_t BorderLeft() const { return izquierdo_; }
  int16_t BorderTop() const { return superior_; }
  int16_t BorderRight() const { return derecho_; }
  int16_t BorderBottom() const { return inferior_; }
  void setBorderLeft(int16_t valor);
  void setBorderTop(int16_t valor);
  void setBorderRight(int16_t valor);
  void setBorderBottom(int16_t valor);

  // The panels ("PanelLeft", ...), null until the first layout.
  QWidget* PanelLeft() const { return panelIzquierdo_; }
  QWidget* PanelTop() const { return panelSuperior_; }
  QWidget* PanelRight() const { return panelDerecho_; }
  QWidget* PanelBottom() const { return panelInferior_; }

 private:
  void dispone();
  void cambia(int16_t& borde, int16_t valor);

  QPointer<QObject> padre_;
  int16_t izquierdo_ = 0, superior_ = 0, derecho_ = 0, inferior_ = 0;
  QPointer<QWidget> panelIzquierdo_, panelSuperior_, panelDerecho_, panelInferior_;
};

}  // namespace framer
