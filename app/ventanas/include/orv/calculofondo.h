// CalculoEnFondo: a window's big-number work away from the interface thread,
// visibly and cancellably.
//
// A factorisation may take minutes and a 2000-bit random prime or a huge
// expression seconds: on the interface thread the whole program would
// freeze. A window hands such work to its CalculoEnFondo, which runs it on a
// worker thread under a numbrel::Vigilancia (so "Cancelar" stops the service
// call within a fraction of a second and the stages of the work are known),
// says what it is doing and for how long ("Factorizando: curvas ECM 40/250,
// 12 s") and hands the outcome back on the interface thread. One piece of
// work at a time: a second start while one runs is refused.
//
// The work itself calls the program's shared service (orv::BigNum()), which
// takes calls from several threads at once; it must not touch any widget.
// `FranjaTrabajo` is the strip a window shows while its work runs: the
// status text, a bar and "Cancelar".
#pragma once

#include <QFrame>
#include <QObject>
#include <QString>
#include <QTimer>

#include <exception>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;

namespace plankett {
class FlatButton;
}

namespace orv {

class CalculoEnFondo : public QObject {
  Q_OBJECT

 public:
  explicit CalculoEnFondo(QObject* parent = nullptr);
  // Cancels the work under way. A worker that does not end at once is left
  // to an object of the application, which waits for it; nothing reaches
  // this object or its `fin` afterwards.
  ~CalculoEnFondo() override;

  // What `fin` is told when the work ends.
  struct Desenlace {
    bool cancelado = false;      // Cancela came before the work ended
    std::exception_ptr error;    // what the work threw, if anything
  };

  // Starts `trabajo` on a worker thread and returns true; `fin` then runs on
  // this object's thread with the outcome. While work runs, nothing starts
  // and the answer is false. `que` names the work in the status text
  // ("Factorizando").
  bool inicia(const QString& que, std::function<void()> trabajo,
              std::function<void(const Desenlace&)> fin);
  // Asks the work under way to stop; `fin` still comes, with `cancelado`.
  void cancela();
  bool ocupado() const { return static_cast<bool>(estado_); }

  // "Factorizando: curvas ECM 40/250, 12 s"; empty while idle.
  QString textoEstado() const;
  // The current stage's units done and total (0 when unknown).
  int hecho() const;
  int total() const;

 signals:
  // The status changed: work started or ended, a stage moved, a second passed.
  void cambiado();

 private:
  struct Estado;
  void termina(const std::shared_ptr<Estado>& estado);

  std::shared_ptr<Estado> estado_;
  QTimer reloj_;
};

// The strip that shows a CalculoEnFondo at work: its status text, a bar
// (moving on its own while the total is unknown) and the "Cancelar" button.
// Hidden while the work is idle.
class FranjaTrabajo : public QFrame {
  Q_OBJECT

 public:
  FranjaTrabajo(CalculoEnFondo* calculo, QWidget* parent);
  QLabel* texto() const { return texto_; }
  QProgressBar* barra() const { return barra_; }
  plankett::FlatButton* cmdCancelar() const { return cmdCancelar_; }

 private:
  void actualiza();

  CalculoEnFondo* calculo_;
  QLabel* texto_;
  QProgressBar* barra_;
  plankett::FlatButton* cmdCancelar_;
};

}  // namespace orv
