// ORVAcercaDe: the About window, also the start-up splash. It shows the
// product's name, version and author line over a tiled background, hides the
// main window while it is up, and closes itself after five seconds, on
// "Aceptar" or when it loses the focus; closing shows the main window again.
#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QTimer;

namespace pemmick {
class ORVRotLabel;
}
namespace plankett {
class FlatButton;
}

namespace orv {

class ORVAcercaDe : public QWidget {
  Q_OBJECT

 public:
  // Loads the window: arms the timer, fills the author and version lines and
  // hides `principal` (when given). A top-level window that deletes itself
  // on closing; it has no parent because it outlives the frame's hiding.
  explicit ORVAcercaDe(QWidget* principal);
  ~ORVAcercaDe() override;

  // The author's web page, opened by clicking the author line.
  static QUrl PaginaAutor();
  // The author line: name, years of the work, contact address.
  static QString LineaAutor();
  // Who opens a web page: the desktop's browser unless replaced (tests). The
  // result is not examined.
  using AbreUrl = std::function<bool(const QUrl&)>;
  static void fijaAbreUrl(AbreUrl abre);

  // Controls, by their names, for tests and screenshots.
  pemmick::ORVRotLabel* LabelTitulo() const { return labelTitulo_; }
  QLabel* Label1() const { return label1_; }
  QLabel* lblDescription() const { return lblDescription_; }
  QLabel* lblVersion() const { return lblVersion_; }
  QLabel* lblDisclaimer() const { return lblDisclaimer_; }
  plankett::FlatButton* cmdOK() const { return cmdOK_; }
  QTimer* Timer() const { return timer_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* e) override;

 private:
  void muestraPrincipal();

  QPointer<QWidget> principal_;
  pemmick::ORVRotLabel* labelTitulo_;
  QLabel* label1_;
  QLabel* lblDescription_;
  QLabel* lblVersion_;
  QLabel* lblDisclaimer_;
  QFrame* line1_;
  QFrame* line2_;
  plankett::FlatButton* cmdOK_;
  QTimer* timer_;
  bool activada_ = false;
};

}  // namespace orv
