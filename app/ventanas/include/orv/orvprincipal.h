// ORVPrincipal: the main frame. Every laboratory window lives inside it.
//
// Data flow: the vertical menu bar (Vimbar) reports a chosen item's key →
// AbreLaboratorio finds the laboratory of that key and shows its window as an
// MDI child (one shared instance per laboratory, a new analyser every time).
// The frame owns no cryptographic logic. Its empty client area is decorated:
// the MDI area is hooked (SubClas) so that after its own paint the frame
// draws the tiled background, the signature strip at the top right and, in
// dancing figures along the bottom edge, a phrase the timer changes every 50
// seconds. "&Acerca de ORV" (context menu and F1) sends system command 10 to
// the frame, whose hook opens the About window.
#pragma once

#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "kestrin/cadena.h"
#include "orv/orvacercade.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace hookwell {
class SubClas;
}
namespace vimbar {
class Vimbar;
}

namespace orv {

class ORVPrincipal : public QMainWindow {
  Q_OBJECT

 public:
  // One row of the menu table: group (1 "Utilidades", 2 "Criptosistemas"),
  // caption, icon resource, key, whether every choice opens a new window,
  // and what builds the window (null while a laboratory is not built).
  // Adding a laboratory is adding its maker to its row.
  struct EntradaMenu {
    int grupo;
    const char* titulo;
    const char* icono;
    const char* clave;
    bool nuevaCadaVez;
    QWidget* (*fabrica)();
  };
  // The ten items, in the order they are added to the menu bar.
  static const std::vector<EntradaMenu>& Laboratorios();

  // Builds the frame and runs its Load: menu bar, hooks, the timer and the
  // first phrase. The frame is not shown; see Arranca for the program's start.
  explicit ORVPrincipal(QWidget* parent = nullptr);
  ~ORVPrincipal() override;

  // The program's start: shows the About window as the splash (the frame
  // comes up when it closes) and creates the shared workspace object.
  void Arranca();

  // Opens or raises the laboratory of that key (compared without regard to
  // case). Returns the window shown, or null when the key matches nothing or
  // that laboratory is not available.
  QWidget* AbreLaboratorio(const QString& clave);

  // Opens the About window, or brings it forward when it is already up.
  ORVAcercaDe* AcercaDe();

  // The timer's tick: a new phrase from the six, and the background redrawn.
  void Baila();

  // The phrase drawn at the bottom right; empty before the first tick.
  const kestrin::Cadena& FraseActual() const { return fraseActual_; }

  // Parts, for tests and the screenshot program.
  vimbar::Vimbar* VMenu() const { return vmenu_; }
  QMdiArea* Cliente() const { return cliente_; }
  QTimer* TimerBaila() const { return timerBaila_; }
  QAction* AccionAcercaDe() const { return accionAcercaDe_; }
  ORVAcercaDe* VentanaAcercaDe() const { return acercaDe_; }
  // Times the decoration has been composed (tiles, signature, phrase).
  int Composiciones() const { return composiciones_; }
  // The decoration as last composed, at the client's pixel ratio.
  const QPixmap& Fondo() const { return fondo_; }

  // What builds each key's window: the frame starts with the laboratories the
  // program has; a key without one shows nothing when chosen. Replacing one
  // (a test's own window) affects windows opened from then on.
  using Fabrica = std::function<QWidget*()>;
  void setFabrica(const QString& clave, Fabrica fabrica);

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void Load();
  void PintaFondo(const QImage& picture);
  void PintaFirma(QPixmap& lienzo);
  void PintaFrase(QPixmap& lienzo);
  void componeFondo(const QImage& picture);
  // The tile "gris" at the client's pixel ratio, drawn once per ratio.
  const QImage& teja();
  void MenuItemClick(const QString& clave);
  // A window of a laboratory that opens anew every time gets its number.
  void numera(QWidget* ventana, size_t fila);
  // Places a new laboratory in cascade inside the client area.
  void colocaEnCascada(QMdiSubWindow* marco);

  vimbar::Vimbar* vmenu_ = nullptr;
  QMdiArea* cliente_ = nullptr;
  QTimer* timerBaila_ = nullptr;
  QAction* accionAcercaDe_ = nullptr;
  std::unique_ptr<hookwell::SubClas> subClass_;
  std::unique_ptr<hookwell::SubClas> subClass1_;
  QPointer<ORVAcercaDe> acercaDe_;
  std::vector<Fabrica> fabricas_;                // one per row of the table
  std::vector<QPointer<QMdiSubWindow>> unicas_;  // the shared instance of each row
  kestrin::Cadena fraseActual_;
  QPixmap fondo_;
  QImage teja_;
  bool fondoValido_ = false;
  int composiciones_ = 0;
};

}  // namespace orv
