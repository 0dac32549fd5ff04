// The skeleton every laboratory window is built on, so that a window holds
// only its own controls and behaviour.
//
// - `Laboratorio`, the base class: one error guard at the slot boundary that
//   reports alike in every window (`protege`), the busy guard of long work
//   (`trabaja`: a second press waits, the window may be closed meanwhile and
//   goes when the work ends), and the window's event connections, removed
//   when it goes (`conexiones`).
// - `SeguimientoProgreso`: a component's Inicio / Progreso / Fin driving
//   progress bars that repaint while the core works; it takes events whose
//   counts are passed by reference or by value alike.
// - `Conexiones`: connections to components' and controls' events that are
//   removed (only these, never other holders' handlers) when it goes.
// - Building blocks: tab pages with their `Panel(i)` frames, a text box as
//   every laboratory shows it, captions and boxes in rows, a grid with its
//   header row and column, the enciphering buttons with their sizing rule,
//   a box with an up-down control, numbers in the user's format.
#pragma once

#include <QAbstractSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "kestrin/errores.h"
#include "kestrin/evento.h"
#include "kestrin/objeto.h"
#include "pemmick/orvexttextbox.h"

class QHBoxLayout;
class QLineEdit;
class QProgressBar;
class QTabBar;
class QTabWidget;

namespace plankett {
class FlatButton;
}
namespace resizer {
class Autosizer;
}

namespace orv {

class Rejilla;

// ---------------------------------------------------------------------------
// Components and numbers.

// Creates the component of that class name as its own type. An unknown class
// raises ErrorORV 429; a class of another type, 13.
template <typename T>
std::shared_ptr<T> creaComponente(const char* clase) {
  auto objeto = std::dynamic_pointer_cast<T>(kestrin::CreaObjeto(clase));
  if (!objeto) kestrin::lanzaError(kestrin::kTiposNoCoinciden);
  return objeto;
}

// A number with `decimales` decimals and the decimal separator of the user's
// format (what the workspace object reads back), no digits grouped.
QString numeroMostrado(double valor, int decimales);

// The whole number a text names in the user's format, rounded; 0 when it is
// no number or does not fit 32 bits.
int32_t enteroDe(const QString& texto);

// ---------------------------------------------------------------------------
// Event connections.

// Handlers connected to components' and controls' events, each removed when
// this goes (or on `desconectaTodo`). A component given as its shared pointer
// is kept alive until its handlers are removed, so the removal never reaches
// a component that is gone; a control must outlive this object (a window's
// controls are its children and go after its members).
class Conexiones {
 public:
  Conexiones() = default;
  Conexiones(const Conexiones&) = delete;
  Conexiones& operator=(const Conexiones&) = delete;
  ~Conexiones() { desconectaTodo(); }

  template <typename... A, typename F>
  void conecta(kestrin::Evento<A...>& evento, F&& manejador) {
    const int id = evento.conecta(std::forward<F>(manejador));
    quitas_.emplace_back([&evento, id] { evento.desconecta(id); });
  }

  template <typename T, typename... A, typename F>
  void conecta(std::shared_ptr<T> dueno, kestrin::Evento<A...>& evento, F&& manejador) {
    const int id = evento.conecta(std::forward<F>(manejador));
    quitas_.emplace_back([dueno = std::move(dueno), &evento, id] { evento.desconecta(id); });
  }

  // Removes every handler connected here, the last first.
  void desconectaTodo();

  size_t size() const { return quitas_.size(); }

 private:
  std::vector<std::function<void()>> quitas_;
};

// ---------------------------------------------------------------------------
// Progress.

// Turns a component's Inicio(n) / Progreso(k) / Fin(n) into progress bars.
// Inicio sets the range of every bar; Progreso moves the bar `actual` names
// (the first when none is given) only when the move shows, at most every
// 15 ms but for the last step, and lets the window repaint at most every 15 ms, so a count of
// millions of units keeps the window alive without paying for the event loop per unit.
class SeguimientoProgreso {
 public:
  explicit SeguimientoProgreso(std::vector<QProgressBar*> barras);

  // The bar Progreso moves; by default the first.
  std::function<QProgressBar*()> actual;
  // What Inicio(0) shows: a full bar (true), or the bar as it was at 0.
  bool vacioLleno = false;

  void Inicio(int32_t n);
  void Progreso(int32_t n);
  void Fin(int32_t n);
  // Lets pending events run, at most every few milliseconds.
  void repinta();

  // Connects the component's three events (counts by reference or by value);
  // `conFin` false leaves Fin to the window.
  template <typename T, typename E>
  void conecta(Conexiones& conexiones, const std::shared_ptr<T>& componente, E& eventos,
               bool conFin = true) {
    conectaUno(conexiones, componente, eventos.Inicio, [this](int32_t n) { Inicio(n); });
    conectaUno(conexiones, componente, eventos.Progreso, [this](int32_t n) { Progreso(n); });
    if (conFin) conectaUno(conexiones, componente, eventos.Fin, [this](int32_t n) { Fin(n); });
  }

 private:
  template <typename T, typename A, typename F>
  static void conectaUno(Conexiones& c, const std::shared_ptr<T>& componente,
                         kestrin::Evento<A>& evento, F f) {
    c.conecta(componente, evento, [f](A n) { f(static_cast<int32_t>(n)); });
  }

  std::vector<QProgressBar*> barras_;
  int ultimoValor_ = 0;
  std::chrono::steady_clock::time_point ultimoRepintado_;
  std::chrono::steady_clock::time_point ultimoMovimiento_;
};

// ---------------------------------------------------------------------------
// The window.

class Laboratorio : public QWidget {
  Q_OBJECT

 public:
  // Builds an empty laboratory: caption and object name; the window's own
  // constructor builds its controls.
  Laboratorio(const QString& nombre, const QString& titulo, QWidget* parent);
  ~Laboratorio() override;

  // How a failure is reported (title, text): a warning box. Tests replace it.
  std::function<void(const QString& titulo, const QString& texto)> avisa;

  // True while long work runs (see `trabaja`).
  bool Ocupado() const { return ocupado_ > 0; }

  // The text an error is reported with: the error's own message, or a word
  // on memory; a window says more where it knows what the error means.
  virtual QString textoError(const std::exception& e) const;

 protected:
  // Runs a call into the core; an error it raises is reported with that
  // title instead of escaping the slot. Returns false when it failed.
  template <typename F>
  bool protege(const QString& titulo, F&& llamada) {
    try {
      llamada();
      return true;
    } catch (const std::exception& e) {
      avisa(titulo, textoError(e));
    }
    return false;
  }

  // Runs long work guarded as `protege` does. A second call while one runs
  // does nothing and returns false; the widgets in `esperan` are disabled
  // meanwhile. A window closed meanwhile is hidden at once and goes when the
  // work ends.
  template <typename F>
  bool trabaja(const QString& titulo, std::initializer_list<QWidget*> esperan, F&& trabajo) {
    if (ocupado_ > 0) return false;
    empiezaTrabajo(esperan);
    const bool bien = protege(titulo, std::forward<F>(trabajo));
    terminaTrabajo();
    return bien;
  }

  // Called when the user closes the window, before it goes (or hides while
  // work runs): a window whose component can be told to stop does it here.
  virtual void alCerrar() {}

  void closeEvent(QCloseEvent* e) override;

  // The window's event connections: removed before the window's controls go.
  Conexiones conexiones;

 private:
  void empiezaTrabajo(std::initializer_list<QWidget*> esperan);
  void terminaTrabajo();

  int ocupado_ = 0;
  bool cerrarAlTerminar_ = false;
  std::vector<QWidget*> esperan_;
};

// ---------------------------------------------------------------------------
// Building blocks.

namespace lab {

// A tab of a tab strip: caption and key (the tab's data).
struct Pestana {
  const char* titulo;
  const char* clave = nullptr;
};

// Tab pages: a tab widget named `nombre`, one frame per tab named
// `prefijo(i)` with i from `primero` on.
struct Paginas {
  QTabWidget* pestanas = nullptr;
  std::vector<QFrame*> paneles;
  QTabBar* barra() const;
  QFrame* panel(size_t i) const { return paneles.at(i); }
};
Paginas paginas(QWidget* parent, const QString& nombre, std::initializer_list<Pestana> pestanas,
                const QString& prefijo = QStringLiteral("Panel"), int primero = 0);

// A text box as the laboratories show it: Arial 9.75 points, spaces shown
// as "·", never shorter than its toolbar. `clave` (an identifier, 0 for none)
// is the box's Key, the tag of the text it holds; which texts it accepts
// (KeysAccepted) is the window's to say. A grey background marks a
// ciphertext box.
pemmick::ORVExtTextBox* cajaTexto(QWidget* parent, const QString& nombre, int32_t clave = 0,
                                  bool gris = false);

// A one-line box for a number or a short text.
QLineEdit* cajaLinea(QWidget* parent, const QString& nombre, int caracteres,
                     Qt::Alignment alineacion = Qt::AlignRight);

// Captions and boxes in rows: a rotated caption in column 0 and its box (or
// layout) in column 1, which takes the width.
class FilasRotuladas : public QGridLayout {
 public:
  explicit FilasRotuladas(QWidget* pagina);
  // A row with a rotated caption; `estira` is the row's share of the height.
  void fila(const QString& rotulo, QWidget* caja, int estira = 1);
  void fila(const QString& rotulo, QLayout* contenido, int estira = 1);
  // A row with no caption.
  void fila(QWidget* caja, Qt::Alignment alineacion = {}, int estira = 0);
  void fila(QLayout* contenido, int estira = 0);

 private:
  int siguiente_ = 0;
};

// A grid with `filasFijas` header rows and `columnasFijas` header columns,
// of `filas` × `columnas` cells, every column centred.
Rejilla* rejilla(QWidget* parent, const QString& nombre, int32_t filas, int32_t columnas,
                 int32_t filasFijas = 1, int32_t columnasFijas = 1);

// The frame of the two enciphering buttons, "Cifra" and "Descifra", which an
// Autosizer keeps as wide as the frame between them.
class PanelCifrar : public QFrame {
  Q_OBJECT

 public:
  explicit PanelCifrar(QWidget* parent);
  ~PanelCifrar() override;
  plankett::FlatButton* cmdCifra() const { return cmdCifra_; }
  plankett::FlatButton* cmdDescifra() const { return cmdDescifra_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  plankett::FlatButton* cmdCifra_;
  plankett::FlatButton* cmdDescifra_;
  std::unique_ptr<resizer::Autosizer> autosizer_;
};

// The page of enciphering every classical laboratory has: the plain text
// ("Original"), the two buttons (and whatever the window adds beside them)
// and the ciphertext ("Cifrado"), the boxes sharing the height.
struct PaginaCifrado {
  pemmick::ORVExtTextBox* TxtTO = nullptr;
  pemmick::ORVExtTextBox* txtTC = nullptr;
  PanelCifrar* panelCifrar = nullptr;
  QHBoxLayout* filaBotones = nullptr;  // the buttons' row, centred
};
PaginaCifrado paginaCifrado(QFrame* pagina, int32_t claveCifrado);

}  // namespace lab

// Enciphering and deciphering between a classical cryptosystem and its two
// text boxes: each box hands its text to the component as it changes, and
// the component's Cifrado / DesCifrado place its new text in the other box.
template <typename CS>
void enlazaTextos(Conexiones& conexiones, const std::shared_ptr<CS>& cs,
                  pemmick::ORVExtTextBox* original, pemmick::ORVExtTextBox* cifrado) {
  conexiones.conecta(cs, cs->eventos.Cifrado,
                     [cs = cs.get(), cifrado] { cifrado->setCSTexto(cs->TextoCifrado()); });
  conexiones.conecta(cs, cs->eventos.DesCifrado,
                     [cs = cs.get(), original] { original->setCSTexto(cs->TextoOriginal()); });
  conexiones.conecta(original->eventos.Change,
                     [cs = cs.get(), original] { cs->setTextoOriginal(original->CSTexto()); });
  conexiones.conecta(cifrado->eventos.Change,
                     [cs = cs.get(), cifrado] { cs->setTextoCifrado(cifrado->CSTexto()); });
}

// A text box with an up-down control: the arrows step a whole number between
// the limits, while the text itself may hold anything the user types.
class CajaArribaAbajo : public QAbstractSpinBox {
  Q_OBJECT

 public:
  CajaArribaAbajo(QWidget* parent, int minimo, int maximo);
  QString texto() const;
  void setTexto(const QString& texto);
  QLineEdit* caja() const { return lineEdit(); }
  int minimo() const { return minimo_; }
  int maximo() const { return maximo_; }
  void stepBy(int pasos) override;

 protected:
  QValidator::State validate(QString& texto, int& posicion) const override;
  void fixup(QString&) const override {}
  StepEnabled stepEnabled() const override;

 private:
  int valor() const;
  int minimo_;
  int maximo_;
};

}  // namespace orv
