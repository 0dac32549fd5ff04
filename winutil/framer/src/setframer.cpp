// Frame panels: created once per framer, docked and sized from the borders.
#include "framer/setframer.h"

#include "framer/acoplado.h"
#include "framer/framer.h"

namespace framer {

void SetFramer::setParent(QObject* padre) {
  padre_ = padre;
  dispone();
}

void SetFramer::cambia(int16_t& borde, int16_t valor) {
  if (borde == valor) return;
  borde = valor;
  dispone();
}

void SetFramer::setBorderLeft(int16_t valor) {
  cambia(izquierdo_, valor);
}
void SetFramer::setBorderTop(int16_t valor) {
  cambia(superior_, valor);
}
void SetFramer::setBorderRight(int16_t valor) {
  cambia(derecho_, valor);
}
// The bottom border lays out like the others, so a margin handed last still shows.
void SetFramer::setBorderBottom(int16_t valor) {
  cambia(inferior_, valor);
}

void SetFramer::dispone() {
  auto* ventana = qobject_cast<QWidget*>(padre_.data());
  if (ventana == nullptr) return;
  struct Panel {
    QPointer<QWidget>& widget;
    const char* nombre;
    int16_t alineacion;
    int16_t grosor;
  };
  // Created in this order, which is also the order they dock in: the side
  // panels take the full height, the top and bottom ones fit between them.
  Panel paneles[] = {
      {panelDerecho_, "PanelRight", kAlineaDerecha, derecho_},
      {panelIzquierdo_, "PanelLeft", kAlineaIzquierda, izquierdo_},
      {panelSuperior_, "PanelTop", kAlineaArriba, superior_},
      {panelInferior_, "PanelBottom", kAlineaAbajo, inferior_},
  };
  for (Panel& p : paneles) {
    if (!p.widget) {
      p.widget = new QWidget(ventana);
      p.widget->setObjectName(QLatin1String(p.nombre));
    } else if (p.widget->parentWidget() != ventana) {
      p.widget->setParent(ventana);
    }
  }
  for (Panel& p : paneles) {
    const int grosor = std::max<int>(p.grosor, 0);
    if (p.alineacion == kAlineaArriba || p.alineacion == kAlineaAbajo) {
      p.widget->resize(p.widget->width(), grosor);
    } else {
      p.widget->resize(grosor, p.widget->height());
    }
    setAlign(p.widget, p.alineacion);
    p.widget->show();
  }
}

std::span<const kestrin::EntradaClase> clases() {
  static const kestrin::EntradaClase t[] = {{"Framer.SetFramer", &kestrin::crea<SetFramer>}};
  return t;
}

void registra() {
  kestrin::registraClases(clases());
}

}  // namespace framer
