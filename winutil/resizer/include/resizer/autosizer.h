// Autosizer: keeps controls fitted to a window, a container or another
// control as the target window is resized, by rules applied in order.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "kestrin/objeto.h"

namespace resizer {

// What a rule does to each destination; "right" and "bottom" are the
// source's edges, all in pixels.
enum RRules : int32_t {
  RRSizeToWidth = 0,        // left = left edge + border; width = source width − 2 × border
  RRSizeToRight = 1,        // width = right − its own left − border
  RRSizeToBottom = 2,       // height = bottom − its own top − border
  RRAlignRightToRight = 3,  // left = right − its own width − border
  RRSameHSize = 4,          // equal widths side by side, border between and around
  RRSameVSize = 5,          // equal heights one above another, border between and around
  RRFill = 6,               // cover the source, border all round
};

// Rule-based resizing. The source's edges come from what it is:
// - a window (a top-level widget): left and top 0, right and bottom its size
//   less the bands of its children docked left/right and top/bottom (the
//   property "Align" 3/4 and 1/2); the docked children's width on the left
//   does not move the left edge;
// - the parent of the rule's first destination (a container): 0, 0 and its
//   inner size;
// - any other widget (a sibling): its own geometry.
// A destination that is not a widget, or is gone, is skipped; a size that
// would be negative is not written.
class Autosizer : public kestrin::Objeto {
 public:
  Autosizer() = default;
  ~Autosizer() override;
  Autosizer(const Autosizer&) = delete;
  Autosizer& operator=(const Autosizer&) = delete;

  // The window whose resizes apply the rules (null for none).
  QWidget* TargetForm() const { return objetivo_; }
  void setTargetForm(QWidget* ventana);

  // Appends a rule. Rule values outside RRules are kept and do nothing.
  void AddRule(int32_t Rule, QObject* Source, int32_t Border, const std::vector<QObject*>& Dest);

  // Applies every rule now, from the first added to the last.
  void Resize();

  size_t CuentaReglas() const { return reglas_.size(); }

 private:
  struct Regla {
    int32_t tipo;
    QPointer<QObject> fuente;
    int32_t borde;
    std::vector<QPointer<QObject>> destinos;
  };
  void aplica(const Regla& regla);

  QPointer<QWidget> objetivo_;
  QPointer<QObject> vigia_;
  std::vector<Regla> reglas_;
};

}  // namespace resizer
