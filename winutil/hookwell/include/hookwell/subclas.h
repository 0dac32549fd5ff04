// SubClas: lets an object receive chosen messages of a widget before the
// widget's own handling sees them, and answer them itself.
//
// A widget is hooked by setting hWnd. The Qt events that carry the meaning of
// a window message reach the WndProc event under that message's number:
//   15  paint              the widget's Paint event (the viewport's, for a scroll area)
//   563 files dropped      a Drop carrying local files (wParam = number of files);
//                          while 563 is registered the widget accepts file drags
//   769 copy, 770 paste    a key press matching the platform's Copy / Paste keys; the
//                          Copy and Paste entries ("edit-copy", "edit-paste") of the
//                          context menu the widget shows send the message too
//   130 window destroyed   raised while the widget is being destroyed; hWnd becomes null
// Any message, these included, can also be sent with EnviaMensaje(); the
// system command (274) and the erase-background message (20) have no Qt
// event and arrive only that way (Qt never wipes a widget's background
// outside its paint, so 20 needs no interception).
//
// A registered message never reaches the widget unless the handler calls
// CallWndProc; unregistered messages pass untouched. One hook per widget: a
// second object hooking the same widget replaces the first.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "kestrin/evento.h"
#include "kestrin/objeto.h"

class QEvent;

namespace hookwell {

enum Mensaje : int32_t {
  kWmPaint = 15,
  kWmEraseBkgnd = 20,
  kWmNcDestroy = 130,
  kWmSysCommand = 274,
  kWmDropFiles = 563,
  kWmCopy = 769,
  kWmPaste = 770,
};

class Filtro;

// Window-message interception on one widget at a time.
class SubClas : public kestrin::Objeto {
 public:
  SubClas();
  // Unhooks the widget, if any.
  ~SubClas() override;
  SubClas(const SubClas&) = delete;
  SubClas& operator=(const SubClas&) = delete;

  // The hooked widget, or null. Setting the same widget again does nothing;
  // setting another unhooks the current one first.
  QWidget* hWnd() const { return ventana_; }
  void sethWnd(QWidget* h);

  // True when the message is registered. Registering appends it once;
  // unregistering removes it and keeps the order of the rest.
  bool Messages(int32_t nMessage) const;
  void setMessages(int32_t nMessage, bool registrado);
  const std::vector<int32_t>& MensajesRegistrados() const { return mensajes_; }

  // Runs the widget's normal handling of the message, bypassing this hook,
  // and returns its result (0 when no widget is hooked, and for the Qt events,
  // which carry no result). Called from a handler for the message being
  // delivered, it hands that same event on.
  int32_t CallWndProc(int32_t Msg, int32_t wParam, int32_t lParam);

  // While a WndProc handler runs: the Qt event being delivered and the widget
  // receiving it (the viewport of a scroll area for paint and drops); null
  // for messages sent with EnviaMensaje and for 130.
  QEvent* EventoActual() const { return eventoActual_; }
  QWidget* DestinoActual() const { return destinoActual_; }
  // While a 563 handler runs: the local paths of the dropped files, in order.
  const QStringList& ArchivosSoltados() const { return archivos_; }

  struct Eventos {
    // Msg, wParam, lParam and Result; Result starts at 0 and is the answer.
    // An exception thrown by a handler is ignored.
    kestrin::Evento<int32_t&, int32_t&, int32_t&, int32_t&> WndProc;
  } eventos;

 private:
  friend class Filtro;
  int32_t despacha(int32_t msg, int32_t wParam, int32_t lParam, QEvent* evento, QWidget* destino);
  void ventanaDestruida(const QWidget* ventana);

  QPointer<QWidget> ventana_;
  std::vector<int32_t> mensajes_;
  QEvent* eventoActual_ = nullptr;
  QWidget* destinoActual_ = nullptr;
  int32_t mensajeActual_ = 0;
  QStringList archivos_;
  std::shared_ptr<bool> vivo_ = std::make_shared<bool>(true);
};

// Sends a message to a widget as the platform delivers it: through its hook
// when the message is registered there, else to the widget's normal handling.
// Returns the answer (0 for a null widget or a message the widget ignores).
// A paint (15) repaints the widget at once, so a hook receives it as a real
// Paint event it can draw in.
int32_t EnviaMensaje(QWidget* ventana, int32_t Msg, int32_t wParam = 0, int32_t lParam = 0);

// Number of widgets hooked in the process.
size_t VentanasEnganchadas();

}  // namespace hookwell
