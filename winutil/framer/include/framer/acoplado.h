// Docking of child widgets to the sides of their parent.
//
// A child whose property "Align" is 1 (top), 2 (bottom), 3 (left) or 4
// (right) is docked: the children of a parent are docked in their stacking
// order (first child first), each taking a band of its own thickness (its
// height for top and bottom, its width for left and right) from what the
// earlier ones left. The parent's contents margins grow by the docked bands,
// so its layout (a main window's central widget, for one) keeps clear of them.
// Hidden children take no band. The docking is kept as the parent or a docked
// child is resized, shown, hidden, added or removed.
#pragma once

#include <cstdint>

class QWidget;

namespace framer {

enum Alineacion : int16_t {
  kSinAlinear = 0,
  kAlineaArriba = 1,
  kAlineaAbajo = 2,
  kAlineaIzquierda = 3,
  kAlineaDerecha = 4,
};

// The docking of a widget: its property "Align", 0 when absent or not 1..4.
int16_t Align(const QWidget* control);

// Docks the widget to a side of its parent (0 undocks it) and lays the
// parent out again. A widget without a parent only keeps the property.
void setAlign(QWidget* control, int16_t alineacion);

// Lays the docked children of the widget out now.
void acopla(QWidget* padre);

}  // namespace framer
