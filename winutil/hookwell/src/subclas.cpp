// The hook table, the event filter that stands for the widget's window
// procedure, and the translation of Qt events into message numbers.
#include "hookwell/subclas.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "hookwell/hookwell.h"

namespace hookwell {
namespace {

// A message sent with EnviaMensaje: carries its numbers and the answer.
class EventoMensaje : public QEvent {
 public:
  EventoMensaje(int32_t msg, int32_t wParam, int32_t lParam)
      : QEvent(tipo()), msg(msg), wParam(wParam), lParam(lParam) {}
  static QEvent::Type tipo() {
    static const auto t = static_cast<QEvent::Type>(QEvent::registerEventType());
    return t;
  }
  int32_t msg, wParam, lParam;
  int32_t resultado = 0;
};

QStringList ficherosLocales(const QMimeData* datos) {
  QStringList ficheros;
  if (datos == nullptr) return ficheros;
  for (const QUrl& url : datos->urls()) {
    if (url.isLocalFile()) ficheros.append(url.toLocalFile());
  }
  return ficheros;
}

// The widget whose paint and drop events stand for the client area.
QWidget* cliente(QWidget* ventana) {
  if (auto* area = qobject_cast<QAbstractScrollArea*>(ventana)) return area->viewport();
  return ventana;
}

// The widget's own handling of a message that was not taken by a hook.
int32_t manejoNormal(QWidget* ventana, int32_t msg) {
  if (ventana == nullptr) return 0;
  switch (msg) {
    case kWmCopy:
    case kWmPaste: {
      QKeyEvent tecla(QEvent::KeyPress, msg == kWmPaste ? Qt::Key_V : Qt::Key_C,
                      Qt::ControlModifier);
      QApplication::sendEvent(ventana, &tecla);
      return 0;
    }
    case kWmPaint:
      cliente(ventana)->repaint();
      return 0;
    default:
      return 0;
  }
}

}  // namespace

// Stands for the hooked widget's window procedure: a child of the widget, so
// it goes with it, and its destruction without an unhook is the widget's end.
class Filtro : public QObject {
 public:
  Filtro(QWidget* ventana, SubClas* objeto)
      : QObject(ventana),
        ventana_(ventana),
        ventanaCruda_(ventana),
        cliente_(cliente(ventana)),
        objeto_(objeto) {
    ventana->installEventFilter(this);
    if (cliente_ != ventana) cliente_->installEventFilter(this);
    aceptabaSoltar_ = ventana->acceptDrops();
    clienteAceptabaSoltar_ = cliente_->acceptDrops();
  }

  ~Filtro() override {
    if (!desenganchado_ && objeto_ != nullptr) objeto_->ventanaDestruida(ventanaCruda_);
  }

  // Removes the filter; the object is deleted now, or when the event it is
  // delivering returns.
  void desengancha() {
    desenganchado_ = true;
    objeto_ = nullptr;
    // Restoring the widget sends it events; this object must outlive them.
    ++profundidad_;
    if (ventana_) ventana_->removeEventFilter(this);
    if (cliente_) cliente_->removeEventFilter(this);
    if (ventana_) ventana_->setAcceptDrops(aceptabaSoltar_);
    if (cliente_) cliente_->setAcceptDrops(clienteAceptabaSoltar_);
    if (--profundidad_ == 0) delete this;
  }

  // Files dropped are accepted only while the message is registered.
  void actualizaSoltar() {
    if (!ventana_ || !cliente_ || objeto_ == nullptr) return;
    const bool archivos = objeto_->Messages(kWmDropFiles);
    ventana_->setAcceptDrops(aceptabaSoltar_ || archivos);
    // Drops land on the client (a scroll area's viewport), which must take them too.
    cliente_->setAcceptDrops(clienteAceptabaSoltar_ || archivos);
  }

  bool pasando = false;
  QWidget* ventana() const { return ventana_; }

 protected:
  bool eventFilter(QObject* receptor, QEvent* evento) override {
    if (pasando || objeto_ == nullptr) return false;
    ++profundidad_;
    const bool tomado = filtra(receptor, evento);
    if (--profundidad_ == 0 && desenganchado_) delete this;
    return tomado;
  }

 private:
  bool filtra(QObject* receptor, QEvent* evento) {
    const bool esCliente = receptor == cliente_.data();
    const bool esVentana = receptor == ventana_.data();
    int32_t msg = 0, wParam = 0;
    switch (evento->type()) {
      case QEvent::Paint:
        if (esCliente) msg = kWmPaint;
        break;
      case QEvent::KeyPress:
        if (esVentana) {
          auto* tecla = static_cast<QKeyEvent*>(evento);
          if (tecla->matches(QKeySequence::Paste))
            msg = kWmPaste;
          else if (tecla->matches(QKeySequence::Copy))
            msg = kWmCopy;
        }
        break;
      case QEvent::ContextMenu:
        if (esCliente || esVentana)
          return menuContextual(static_cast<QWidget*>(receptor),
                                static_cast<QContextMenuEvent*>(evento));
        return false;
      case QEvent::DragEnter:
      case QEvent::DragMove:
        if (esCliente && objeto_->Messages(kWmDropFiles)) {
          auto* arrastre = static_cast<QDropEvent*>(evento);
          if (ficherosLocales(arrastre->mimeData()).isEmpty()) return false;
          arrastre->acceptProposedAction();
          return true;
        }
        return false;
      case QEvent::Drop:
        if (esCliente) {
          auto* suelta = static_cast<QDropEvent*>(evento);
          const QStringList ficheros = ficherosLocales(suelta->mimeData());
          if (ficheros.isEmpty() || !objeto_->Messages(kWmDropFiles)) return false;
          suelta->acceptProposedAction();
          objeto_->archivos_ = ficheros;
          objeto_->despacha(kWmDropFiles, static_cast<int32_t>(ficheros.size()), 0, evento,
                            cliente_);
          if (objeto_ != nullptr) objeto_->archivos_.clear();
          return true;
        }
        return false;
      default:
        if (evento->type() == EventoMensaje::tipo() && esVentana) {
          auto* m = static_cast<EventoMensaje*>(evento);
          if (!objeto_->Messages(m->msg)) {
            m->resultado = manejoNormal(ventana_, m->msg);
          } else {
            m->resultado = objeto_->despacha(m->msg, m->wParam, m->lParam, nullptr, ventana_);
          }
          return true;
        }
        return false;
    }
    if (msg == 0 || !objeto_->Messages(msg)) return false;
    objeto_->despacha(msg, wParam, 0, evento, static_cast<QWidget*>(receptor));
    evento->accept();
    return true;
  }

  // A context menu pastes and copies without a key press. While 769 or 770
  // is registered the widget still builds and shows its own menu, and then
  // that menu's Copy and Paste entries ("edit-copy", "edit-paste", the names
  // Qt's editors give them) are turned into the message; which entries are
  // enabled stays the widget's choice.
  bool menuContextual(QWidget* receptor, QContextMenuEvent* evento) {
    if (!objeto_->Messages(kWmCopy) && !objeto_->Messages(kWmPaste)) return false;
    QPointer<QWidget> antes = QApplication::activePopupWidget();
    pasando = true;
    QApplication::sendEvent(receptor, evento);
    pasando = false;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || menu == antes.data() || objeto_ == nullptr || !ventana_) return true;
    for (QAction* accion : menu->actions()) {
      const int32_t msg = accion->objectName() == QLatin1String("edit-paste")  ? kWmPaste
                          : accion->objectName() == QLatin1String("edit-copy") ? kWmCopy
                                                                               : 0;
      if (msg == 0 || !objeto_->Messages(msg)) continue;
      QObject::disconnect(accion, &QAction::triggered, nullptr, nullptr);
      QPointer<QWidget> ventana = ventana_;
      QObject::connect(accion, &QAction::triggered, menu, [ventana, msg] {
        if (ventana) EnviaMensaje(ventana, msg);
      });
    }
    return true;
  }

  QPointer<QWidget> ventana_;
  QWidget* ventanaCruda_;  // for the table, once the widget is going
  QPointer<QWidget> cliente_;
  SubClas* objeto_;
  bool aceptabaSoltar_ = false;
  bool clienteAceptabaSoltar_ = false;
  bool desenganchado_ = false;
  int profundidad_ = 0;
};

namespace {

struct Entrada {
  QWidget* ventana;
  SubClas* objeto;
  Filtro* filtro;
};

// Library-wide, used only from the thread that owns the widgets.
std::vector<Entrada>& tabla() {
  static std::vector<Entrada> t;
  return t;
}

std::vector<Entrada>::iterator busca(const QWidget* ventana) {
  auto& t = tabla();
  return std::find_if(t.begin(), t.end(), [&](const Entrada& e) { return e.ventana == ventana; });
}

// Removes the entry of this widget. Only the object that holds the entry may
// remove it: an object whose hook was replaced by a later one must not undo
// the later hook when it lets go of the widget.
void desengancha(const QWidget* ventana, const SubClas* objeto) {
  auto it = busca(ventana);
  if (it == tabla().end() || (objeto != nullptr && it->objeto != objeto)) return;
  Filtro* filtro = it->filtro;
  tabla().erase(it);
  filtro->desengancha();
}

}  // namespace

SubClas::SubClas() = default;

SubClas::~SubClas() {
  *vivo_ = false;
  sethWnd(nullptr);
}

void SubClas::sethWnd(QWidget* h) {
  if (h == ventana_.data()) return;
  if (ventana_) desengancha(ventana_, this);
  ventana_ = h;
  if (h == nullptr) return;
  desengancha(h, nullptr);
  auto* filtro = new Filtro(h, this);
  tabla().push_back({h, this, filtro});
  filtro->actualizaSoltar();
}

bool SubClas::Messages(int32_t nMessage) const {
  return std::find(mensajes_.begin(), mensajes_.end(), nMessage) != mensajes_.end();
}

void SubClas::setMessages(int32_t nMessage, bool registrado) {
  const auto it = std::find(mensajes_.begin(), mensajes_.end(), nMessage);
  if (registrado && it == mensajes_.end()) mensajes_.push_back(nMessage);
  if (!registrado && it != mensajes_.end()) mensajes_.erase(it);
  if (nMessage == kWmDropFiles && ventana_) {
    auto entrada = busca(ventana_);
    if (entrada != tabla().end() && entrada->objeto == this) entrada->filtro->actualizaSoltar();
  }
}

int32_t SubClas::CallWndProc(int32_t Msg, int32_t, int32_t) {
  if (!ventana_) return 0;
  auto entrada = busca(ventana_);
  Filtro* filtro = entrada != tabla().end() && entrada->objeto == this ? entrada->filtro : nullptr;
  const bool antes = filtro != nullptr && filtro->pasando;
  if (filtro != nullptr) filtro->pasando = true;
  int32_t resultado = 0;
  if (eventoActual_ != nullptr && destinoActual_ != nullptr && Msg == mensajeActual_) {
    // The event under way goes on to the widget's own handling.
    QApplication::sendEvent(destinoActual_, eventoActual_);
  } else {
    resultado = manejoNormal(ventana_, Msg);
  }
  if (filtro != nullptr) filtro->pasando = antes;
  return resultado;
}

int32_t SubClas::despacha(int32_t msg, int32_t wParam, int32_t lParam, QEvent* evento,
                          QWidget* destino) {
  const auto vivo = vivo_;
  QEvent* eventoAnterior = eventoActual_;
  QWidget* destinoAnterior = destinoActual_;
  const int32_t mensajeAnterior = mensajeActual_;
  eventoActual_ = evento;
  destinoActual_ = evento != nullptr ? destino : nullptr;
  mensajeActual_ = msg;
  int32_t Msg = msg, WParam = wParam, LParam = lParam, Result = 0;
  try {
    eventos.WndProc.lanza(Msg, WParam, LParam, Result);
  } catch (...) {
    // A handler's error must not unwind through Qt's event delivery.
  }
  if (*vivo) {
    eventoActual_ = eventoAnterior;
    destinoActual_ = destinoAnterior;
    mensajeActual_ = mensajeAnterior;
  }
  return Result;
}

void SubClas::ventanaDestruida(const QWidget* ventana) {
  // The filter is going with the widget: the entry goes, and 130 is raised
  // when registered, before hWnd becomes null.
  const auto it = busca(ventana);
  if (it != tabla().end() && it->objeto == this) tabla().erase(it);
  const auto vivo = vivo_;
  if (Messages(kWmNcDestroy)) despacha(kWmNcDestroy, 0, 0, nullptr, nullptr);
  // A handler may already have hooked another widget.
  if (*vivo && (ventana_.isNull() || ventana_.data() == ventana)) ventana_ = nullptr;
}

int32_t EnviaMensaje(QWidget* ventana, int32_t Msg, int32_t wParam, int32_t lParam) {
  if (ventana == nullptr) return 0;
  // A paint is only a paint inside Qt's paint cycle: repainting now delivers
  // a real Paint event, through the hook when there is one.
  if (Msg == kWmPaint || busca(ventana) == tabla().end()) return manejoNormal(ventana, Msg);
  EventoMensaje mensaje(Msg, wParam, lParam);
  QApplication::sendEvent(ventana, &mensaje);
  return mensaje.resultado;
}

size_t VentanasEnganchadas() {
  return tabla().size();
}

std::span<const kestrin::EntradaClase> clases() {
  static const kestrin::EntradaClase t[] = {{"Hookwell.SubClas", &kestrin::crea<SubClas>}};
  return t;
}

void registra() {
  kestrin::registraClases(clases());
}

}  // namespace hookwell
