// The rules of the Autosizer and the filter that applies them on resize.
#include "resizer/autosizer.h"

#include <QEvent>
#include <QVariant>

#include "resizer/resizer.h"

namespace resizer {
namespace {

// Applies the owner's rules whenever the target window is resized.
class Vigia : public QObject {
 public:
  Vigia(QWidget* ventana, Autosizer* dueno) : QObject(ventana), dueno_(dueno) {
    ventana->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() == QEvent::Resize) dueno_->Resize();
    return false;
  }

 private:
  Autosizer* dueno_;
};

struct Bordes {
  int izquierda = 0, arriba = 0, derecha = 0, abajo = 0;
};

// The docking a window's child asks for (the property "Align"), 0 when none.
int alineacion(const QWidget* control) {
  bool ok = false;
  const int valor = control->property("Align").toInt(&ok);
  return ok ? valor : 0;
}

bool bordesDe(const QObject* fuente, const QWidget* primerDestino, Bordes& b) {
  const auto* w = qobject_cast<const QWidget*>(fuente);
  if (w == nullptr) return false;
  if (w->isWindow()) {
    b.derecha = w->width();
    b.abajo = w->height();
    for (const QObject* objeto : w->children()) {
      const auto* hijo = qobject_cast<const QWidget*>(objeto);
      if (hijo == nullptr || hijo->isWindow() || !hijo->isVisibleTo(w)) continue;
      const int lado = alineacion(hijo);
      if (lado == 3 || lado == 4) b.derecha -= hijo->width();
      if (lado == 1 || lado == 2) b.abajo -= hijo->height();
    }
  } else if (primerDestino != nullptr && primerDestino->parentWidget() == w) {
    const QRect interior = w->contentsRect();
    b = {interior.left(), interior.top(), interior.right() + 1, interior.bottom() + 1};
  } else {
    const QRect g = w->geometry();
    b = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  }
  return true;
}

// Writes the geometry; a negative size is refused and leaves that size as it was.
void coloca(QWidget* d, int x, int y, int ancho, int alto) {
  d->setGeometry(x, y, ancho < 0 ? d->width() : ancho, alto < 0 ? d->height() : alto);
}

}  // namespace

Autosizer::~Autosizer() {
  delete vigia_.data();
}

void Autosizer::setTargetForm(QWidget* ventana) {
  if (ventana == objetivo_.data() && (vigia_ || ventana == nullptr)) return;
  delete vigia_.data();
  objetivo_ = ventana;
  if (ventana != nullptr) vigia_ = new Vigia(ventana, this);
}

void Autosizer::AddRule(int32_t Rule, QObject* Source, int32_t Border,
                        const std::vector<QObject*>& Dest) {
  Regla regla{Rule, Source, Border, {}};
  for (QObject* d : Dest) regla.destinos.emplace_back(d);
  reglas_.push_back(std::move(regla));
}

void Autosizer::Resize() {
  for (const Regla& regla : reglas_) aplica(regla);
}

void Autosizer::aplica(const Regla& regla) {
  std::vector<QWidget*> destinos;
  for (const auto& d : regla.destinos) {
    if (auto* w = qobject_cast<QWidget*>(d.data())) destinos.push_back(w);
  }
  Bordes b;
  if (destinos.empty() || !bordesDe(regla.fuente, destinos.front(), b)) return;
  const int borde = regla.borde;
  const int ancho = b.derecha - b.izquierda, alto = b.abajo - b.arriba;

  switch (regla.tipo) {
    case RRSizeToWidth:
      for (QWidget* d : destinos) coloca(d, b.izquierda + borde, d->y(), ancho - 2 * borde, -1);
      break;
    case RRSizeToRight:
      for (QWidget* d : destinos) coloca(d, d->x(), d->y(), b.derecha - d->x() - borde, -1);
      break;
    case RRSizeToBottom:
      for (QWidget* d : destinos) coloca(d, d->x(), d->y(), -1, b.abajo - d->y() - borde);
      break;
    case RRAlignRightToRight:
      for (QWidget* d : destinos) d->move(b.derecha - d->width() - borde, d->y());
      break;
    case RRSameHSize:
    case RRSameVSize: {
      // Equal shares; the pixels an uneven division leaves go one each to
      // the first destinations, so the row fills the source exactly.
      const bool horizontal = regla.tipo == RRSameHSize;
      const int n = static_cast<int>(destinos.size());
      const int libre = (horizontal ? ancho : alto) - (n + 1) * borde;
      if (libre < 0) break;
      int posicion = (horizontal ? b.izquierda : b.arriba) + borde;
      for (int i = 0; i < n; ++i) {
        const int tamano = libre / n + (i < libre % n ? 1 : 0);
        QWidget* d = destinos[i];
        if (horizontal)
          coloca(d, posicion, d->y(), tamano, -1);
        else
          coloca(d, d->x(), posicion, -1, tamano);
        posicion += tamano + borde;
      }
      break;
    }
    case RRFill:
      for (QWidget* d : destinos) {
        coloca(d, b.izquierda + borde, b.arriba + borde, ancho - 2 * borde, alto - 2 * borde);
      }
      break;
    default:
      break;
  }
}

std::span<const kestrin::EntradaClase> clases() {
  static const kestrin::EntradaClase t[] = {{"Resizer.Autosizer", &kestrin::crea<Autosizer>}};
  return t;
}

void registra() {
  kestrin::registraClases(clases());
}

}  // namespace resizer
