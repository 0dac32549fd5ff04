// Big-number work on a worker thread, with its status and "Cancelar"
// (see calculofondo.h).
#include "orv/calculofondo.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "estilo.h"
#include "kestrin/cadena.h"
#include "numbrel/vigilancia.h"
#include "plankett/flatbutton.h"

namespace orv {

namespace {

using Reloj = std::chrono::steady_clock;

// How long going away waits for a cancelled worker before leaving it to the
// application: the service answers a cancellation well within this.
constexpr auto kEsperaAlIrse = std::chrono::milliseconds(500);

// A worker whose window went first: the application joins it when it ends
// (the worker posts this object's deleteLater) or when the application goes.
class Retirado : public QObject {
 public:
  Retirado(std::thread hilo, QObject* aplicacion) : QObject(aplicacion), hilo_(std::move(hilo)) {
    setObjectName(QStringLiteral("CalculoEnFondo.retirado"));
  }
  ~Retirado() override {
    if (hilo_.joinable()) hilo_.join();
  }

 private:
  std::thread hilo_;
};

}  // namespace

// Between the adapter and its worker, under `cerrojo`: the worker's stage,
// and who hears its end (the adapter, or the object that took it over).
struct CalculoEnFondo::Estado {
  std::mutex cerrojo;
  std::condition_variable acabado;
  std::shared_ptr<numbrel::Vigilancia> vigilancia = std::make_shared<numbrel::Vigilancia>();
  std::thread hilo;
  QString que;
  Reloj::time_point inicio = Reloj::now();
  QString etapa;
  int hecho = 0;
  int total = 0;
  bool terminado = false;
  std::exception_ptr error;
  CalculoEnFondo* destino = nullptr;
  QObject* retiro = nullptr;
  std::function<void(const Desenlace&)> fin;
};

CalculoEnFondo::CalculoEnFondo(QObject* parent) : QObject(parent) {
  reloj_.setInterval(200);
  connect(&reloj_, &QTimer::timeout, this, &CalculoEnFondo::cambiado);
}

CalculoEnFondo::~CalculoEnFondo() {
  if (!estado_) return;
  std::shared_ptr<Estado> e = std::move(estado_);
  e->vigilancia->cancela();
  QCoreApplication* aplicacion = QCoreApplication::instance();
  std::unique_lock<std::mutex> cerrojo(e->cerrojo);
  e->destino = nullptr;
  if (!e->acabado.wait_for(cerrojo, kEsperaAlIrse, [&e] { return e->terminado; }) && aplicacion) {
    e->retiro = new Retirado(std::move(e->hilo), aplicacion);
    return;
  }
  cerrojo.unlock();
  if (e->hilo.joinable()) e->hilo.join();
}

bool CalculoEnFondo::inicia(const QString& que, std::function<void()> trabajo,
                            std::function<void(const Desenlace&)> fin) {
  if (estado_) return false;
  auto e = std::make_shared<Estado>();
  e->que = que;
  e->destino = this;
  e->fin = std::move(fin);
  e->vigilancia->alProgresar = [w = std::weak_ptr<Estado>(e)](const kestrin::Cadena& etapa,
                                                               int32_t hecho, int32_t total) {
    if (auto e = w.lock()) {
      std::lock_guard<std::mutex> cerrojo(e->cerrojo);
      e->etapa = QString::fromStdU32String(etapa);
      e->hecho = hecho;
      e->total = total;
    }
  };
  estado_ = e;
  e->hilo = std::thread([e, trabajo = std::move(trabajo)] {
    std::exception_ptr error;
    {
      numbrel::AmbitoVigilancia ambito(e->vigilancia);
      try {
        trabajo();
      } catch (...) {
        error = std::current_exception();
      }
    }
    std::lock_guard<std::mutex> cerrojo(e->cerrojo);
    e->terminado = true;
    e->error = error;
    e->acabado.notify_all();
    if (CalculoEnFondo* destino = e->destino) {
      QMetaObject::invokeMethod(
          destino, [destino, e] { destino->termina(e); }, Qt::QueuedConnection);
    } else if (e->retiro) {
      e->retiro->deleteLater();
    }
  });
  reloj_.start();
  emit cambiado();
  return true;
}

void CalculoEnFondo::cancela() {
  if (estado_) {
    estado_->vigilancia->cancela();
    emit cambiado();
  }
}

void CalculoEnFondo::termina(const std::shared_ptr<Estado>& e) {
  if (e != estado_) return;
  // The worker has had its last word: it ends at once.
  if (e->hilo.joinable()) e->hilo.join();
  estado_.reset();
  reloj_.stop();
  Desenlace desenlace;
  desenlace.cancelado = e->vigilancia->cancelada();
  desenlace.error = e->error;
  auto fin = std::move(e->fin);
  emit cambiado();
  // Nothing of this object is touched after `fin`: it may delete it.
  if (fin) fin(desenlace);
}

QString CalculoEnFondo::textoEstado() const {
  if (!estado_) return {};
  const auto segundos =
      std::chrono::duration_cast<std::chrono::seconds>(Reloj::now() - estado_->inicio).count();
  if (estado_->vigilancia->cancelada()) return QStringLiteral("Cancelando…");
  std::lock_guard<std::mutex> cerrojo(estado_->cerrojo);
  QString t = estado_->que;
  if (!estado_->etapa.isEmpty()) {
    t += QStringLiteral(": ") + estado_->etapa;
    if (estado_->total > 0) t += QStringLiteral(" %1/%2").arg(estado_->hecho).arg(estado_->total);
  }
  return t + QStringLiteral(", %1 s").arg(segundos);
}

int CalculoEnFondo::hecho() const {
  if (!estado_) return 0;
  std::lock_guard<std::mutex> cerrojo(estado_->cerrojo);
  return estado_->hecho;
}

int CalculoEnFondo::total() const {
  if (!estado_) return 0;
  std::lock_guard<std::mutex> cerrojo(estado_->cerrojo);
  return estado_->total;
}

// ---------------------------------------------------------------------------

FranjaTrabajo::FranjaTrabajo(CalculoEnFondo* calculo, QWidget* parent)
    : QFrame(parent), calculo_(calculo) {
  setObjectName(QStringLiteral("FranjaTrabajo"));
  setFrameShape(QFrame::StyledPanel);
  texto_ = new QLabel(this);
  texto_->setObjectName(QStringLiteral("LabelTrabajo"));
  barra_ = new QProgressBar(this);
  barra_->setObjectName(QStringLiteral("BarraTrabajo"));
  barra_->setTextVisible(false);
  barra_->setFixedWidth(120);
  cmdCancelar_ = estilo::boton(QStringLiteral("cmdCancelar"), QStringLiteral("Cancelar"), this);
  auto* fila = new QHBoxLayout(this);
  fila->setContentsMargins(6, 3, 6, 3);
  fila->addWidget(texto_, 1);
  fila->addWidget(barra_);
  fila->addWidget(cmdCancelar_);
  connect(cmdCancelar_, &plankett::FlatButton::Click, calculo_, &CalculoEnFondo::cancela);
  connect(calculo_, &CalculoEnFondo::cambiado, this, &FranjaTrabajo::actualiza);
  actualiza();
}

void FranjaTrabajo::actualiza() {
  const bool ocupado = calculo_->ocupado();
  setVisible(ocupado);
  if (!ocupado) return;
  texto_->setText(calculo_->textoEstado());
  const int total = calculo_->total();
  if (total > 0) {
    barra_->setRange(0, total);
    barra_->setValue(std::min(calculo_->hecho(), total));
  } else {
    // No total known: the bar moves on its own, to show the work is alive.
    barra_->setRange(0, 0);
  }
}

}  // namespace orv
