// Generating RSA keys away from the user-interface thread.
//
// Why a thread and not the other two ways to keep the window alive: the
// service's RndPrimo is one uninterruptible call (half a second on average
// for a 2048-bit prime, a 4096-bit key's factor), so small steps on this
// thread would still freeze the window that long per step; and a child
// process would fork the whole program for work that needs no isolation (a
// prime search neither crashes nor runs unbounded, unlike the factoring the
// engine isolates itself). The engine is safe on a second thread: its
// settings are atomic, its random generator is behind a lock, FLINT keeps its
// caches per thread, and the only state of a service instance (variables,
// event handlers) belongs to the instance, which GeneraClaveRSA creates for
// each call on the worker. What is shared with the windows, ORVCriptoRSA's
// service, is used only here, on this thread (CompruebaClaveRSA).
#include "orv/generadorrsa.h"

#include <QCoreApplication>

#include <functional>
#include <mutex>
#include <new>

#include "kestrin/cadena.h"

namespace orv {

// Between the adapter and its worker. The worker posts its answer under the
// lock, and the adapter (or the object that took the worker over) clears its
// pointer under the same lock before it goes, so a post never reaches an
// object that is gone; an event posted to one that then goes goes with it.
struct GeneradorRSA::Enlace {
  std::mutex cerrojo;
  GeneradorRSA* destino = nullptr;
  QObject* retiro = nullptr;
  bool dicho = false;  // the worker has had its last word and is ending
};

namespace {

QString qtexto(const kestrin::Cadena& s) {
  return QString::fromStdString(kestrin::aUtf8(s));
}

// A worker whose adapter went first. It belongs to the application, so it is
// joined before the program's static objects (the engine's among them) go.
class Retirado : public QObject {
 public:
  template <typename E>
  Retirado(std::jthread hilo, std::shared_ptr<E> enlace, QObject* aplicacion)
      : QObject(aplicacion), hilo_(std::move(hilo)), olvida_([enlace] {
          std::lock_guard<std::mutex> cerrojo(enlace->cerrojo);
          enlace->retiro = nullptr;
        }) {
    setObjectName(QStringLiteral("GeneradorRSA.retirado"));
  }
  ~Retirado() override {
    olvida_();
    if (hilo_.joinable()) hilo_.join();
  }

 private:
  std::jthread hilo_;
  std::function<void()> olvida_;
};

}  // namespace

GeneradorRSA::GeneradorRSA(QObject* parent) : QObject(parent) {}

GeneradorRSA::~GeneradorRSA() {
  if (!hilo_.joinable()) return;
  hilo_.request_stop();
  QCoreApplication* aplicacion = QCoreApplication::instance();
  {
    std::lock_guard<std::mutex> cerrojo(enlace_->cerrojo);
    enlace_->destino = nullptr;
    // A worker that has already answered would never tell the other object
    // to go; it is ending, and is joined here at once.
    if (aplicacion && !enlace_->dicho) {
      // The worker posts the object's deleteLater when it ends.
      enlace_->retiro = new Retirado(std::move(hilo_), enlace_, aplicacion);
      return;
    }
  }
  hilo_.join();
}

bool GeneradorRSA::genera(int bits) {
  if (ocupado()) return false;
  if (bits < halvard::kMinBitsClaveRSA || bits > halvard::kMaxBitsClaveRSA) {
    emit fallo(QStringLiteral("El tamaño de la clave debe estar entre %1 y %2 bits.")
                   .arg(halvard::kMinBitsClaveRSA)
                   .arg(halvard::kMaxBitsClaveRSA));
    return false;
  }
  bits_ = bits;
  enlace_ = std::make_shared<Enlace>();
  enlace_->destino = this;
  hilo_ = std::jthread([enlace = enlace_, bits](std::stop_token parar) {
    Resultado resultado;
    try {
      resultado.clave = halvard::GeneraClaveRSA(bits, parar);
    } catch (const std::bad_alloc&) {
      resultado.error = QStringLiteral("No hay memoria suficiente para generar la clave.");
    } catch (const std::exception& e) {
      resultado.error =
          QStringLiteral("No se ha podido generar la clave: %1").arg(QString::fromUtf8(e.what()));
    }
    std::lock_guard<std::mutex> cerrojo(enlace->cerrojo);
    enlace->dicho = true;
    if (GeneradorRSA* destino = enlace->destino) {
      QMetaObject::invokeMethod(
          destino, [destino, resultado] { destino->termina(resultado); }, Qt::QueuedConnection);
    } else if (enlace->retiro) {
      enlace->retiro->deleteLater();
    }
  });
  return true;
}

void GeneradorRSA::termina(const Resultado& resultado) {
  // The worker has posted its last word; it ends at once.
  hilo_.join();
  enlace_.reset();
  bits_ = 0;
  if (!resultado.clave) {
    emit fallo(resultado.error.isEmpty() ? QStringLiteral("No se ha podido generar la clave.")
                                         : resultado.error);
    return;
  }
  halvard::ClaveRSA clave = *resultado.clave;
  kestrin::Cadena mensaje;
  bool correcta = false;
  try {
    correcta = halvard::CompruebaClaveRSA(clave, mensaje);
  } catch (const std::exception& e) {
    mensaje = kestrin::desdeUtf8(e.what());
  }
  if (!correcta) {
    emit fallo(QStringLiteral("La clave generada no es válida: %1").arg(qtexto(mensaje)));
    return;
  }
  ClaveGenerada salida;
  salida.p = qtexto(clave.p);
  salida.q = qtexto(clave.q);
  salida.e = qtexto(clave.e);
  salida.bloque = clave.bloque;
  salida.n = qtexto(clave.n);
  salida.d = qtexto(clave.d);
  salida.bits = clave.bits;
  // Nothing of this object is touched after the signal: a receiver may
  // delete it.
  emit generada(salida);
}

}  // namespace orv
