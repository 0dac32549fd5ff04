// The docking of children to their parent's sides, kept by an event filter
// that lives as a child of the parent.
#include "framer/acoplado.h"

#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace framer {
namespace {

constexpr const char* kPropiedad = "Align";
constexpr const char* kNombreAcoplador = "framer.acoplador";

class Acoplador : public QObject {
 public:
  explicit Acoplador(QWidget* padre)
      : QObject(padre), padre_(padre), margenes_(padre->contentsMargins()) {
    setObjectName(QLatin1String(kNombreAcoplador));
    padre->installEventFilter(this);
  }

  static Acoplador* de(QWidget* padre) {
    auto* acoplador =
        padre->findChild<Acoplador*>(QLatin1String(kNombreAcoplador), Qt::FindDirectChildrenOnly);
    return acoplador != nullptr ? acoplador : new Acoplador(padre);
  }

  void vigila(QWidget* hijo) { hijo->installEventFilter(this); }

  void dispone() {
    if (!padre_ || disponiendo_) return;
    disponiendo_ = true;
    QRect libre = padre_->rect();
    for (QObject* objeto : padre_->children()) {
      auto* hijo = qobject_cast<QWidget*>(objeto);
      if (hijo == nullptr || hijo->isWindow() || !hijo->isVisibleTo(padre_)) continue;
      const int16_t lado = Align(hijo);
      if (lado == kSinAlinear) continue;
      const bool horizontal = lado == kAlineaArriba || lado == kAlineaAbajo;
      const int grosor = std::clamp(horizontal ? hijo->height() : hijo->width(), 0,
                                    horizontal ? libre.height() : libre.width());
      switch (lado) {
        case kAlineaArriba:
          hijo->setGeometry(libre.left(), libre.top(), libre.width(), grosor);
          libre.setTop(libre.top() + grosor);
          break;
        case kAlineaAbajo:
          hijo->setGeometry(libre.left(), libre.bottom() + 1 - grosor, libre.width(), grosor);
          libre.setBottom(libre.bottom() - grosor);
          break;
        case kAlineaIzquierda:
          hijo->setGeometry(libre.left(), libre.top(), grosor, libre.height());
          libre.setLeft(libre.left() + grosor);
          break;
        default:
          hijo->setGeometry(libre.right() + 1 - grosor, libre.top(), grosor, libre.height());
          libre.setRight(libre.right() - grosor);
          break;
      }
    }
    const QRect todo = padre_->rect();
    padre_->setContentsMargins(
        margenes_ + QMargins(libre.left() - todo.left(), libre.top() - todo.top(),
                             todo.right() - libre.right(), todo.bottom() - libre.bottom()));
    disponiendo_ = false;
  }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    switch (evento->type()) {
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
      case QEvent::ChildRemoved:
        dispone();
        break;
      case QEvent::ChildAdded:
        // A new child is docked once it asks for it through setAlign.
        break;
      default:
        break;
    }
    (void)objeto;
    return false;
  }

 private:
  QPointer<QWidget> padre_;
  QMargins margenes_;  // the parent's own margins, before any band
  bool disponiendo_ = false;
};

}  // namespace

int16_t Align(const QWidget* control) {
  if (control == nullptr) return kSinAlinear;
  bool ok = false;
  const int valor = control->property(kPropiedad).toInt(&ok);
  if (!ok || valor < kAlineaArriba || valor > kAlineaDerecha) return kSinAlinear;
  return static_cast<int16_t>(valor);
}

void setAlign(QWidget* control, int16_t alineacion) {
  if (control == nullptr) return;
  const int16_t valor = alineacion >= kAlineaArriba && alineacion <= kAlineaDerecha
                            ? alineacion
                            : static_cast<int16_t>(kSinAlinear);
  control->setProperty(kPropiedad, static_cast<int>(valor));
  auto* padre = control->parentWidget();
  if (padre == nullptr || control->isWindow()) return;
  auto* acoplador = Acoplador::de(padre);
  acoplador->vigila(control);
  acoplador->dispone();
}

void acopla(QWidget* padre) {
  if (padre != nullptr) Acoplador::de(padre)->dispone();
}

}  // namespace framer
