// GeneradorRSA: builds a random RSA key away from the user-interface thread.
//
// A key of 2048 bits or more takes long enough to freeze a window, so the
// primes are drawn on a worker thread (halvard::GeneraClaveRSA, on a
// big-number service instance of the worker's own); the result comes back
// through the event loop and is checked there by building it with
// ORVCriptoRSA (whose service is the library's shared one, kept on this
// thread). Then `generada` or `fallo` is emitted, on this thread, once per
// request that was taken.
//
// Going away while a key is drawn returns at once: the worker is asked to
// stop (it looks between one prime and the next) and is handed to an object
// of the application, which joins it when it ends, or when the application
// goes (never later than the prime under way: up to a second or so at 4096
// bits). Nothing arrives after the adapter is gone; connect with the window
// as the receiver, and a window that goes first hears nothing either.
#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <thread>

#include "halvard/generarsa.h"

namespace orv {

// The parts of a generated key, as decimal texts.
struct ClaveGenerada {
  QString p;
  QString q;
  QString e;
  int bloque = 1;
  // What building the key gave: modulus, private exponent, modulus bits.
  QString n;
  QString d;
  int bits = 0;
};

class GeneradorRSA : public QObject {
  Q_OBJECT

 public:
  explicit GeneradorRSA(QObject* parent = nullptr);
  ~GeneradorRSA() override;

  // Starts generating a key with a modulus of exactly that many bits and
  // returns true. While one is under way the request is ignored (false). A
  // size outside halvard::kMinBitsClaveRSA .. kMaxBitsClaveRSA is refused
  // at once through `fallo` (false).
  bool genera(int bits);
  bool ocupado() const { return hilo_.joinable(); }
  // The size being generated (0 when idle).
  int bitsEnCurso() const { return bits_; }

 signals:
  void generada(const orv::ClaveGenerada& clave);
  void fallo(const QString& motivo);

 private:
  struct Resultado {
    std::optional<halvard::ClaveRSA> clave;
    QString error;
  };
  struct Enlace;
  void termina(const Resultado& resultado);

  std::jthread hilo_;
  // What the worker of the request under way posts its answer through.
  std::shared_ptr<Enlace> enlace_;
  int bits_ = 0;
};

}  // namespace orv

Q_DECLARE_METATYPE(orv::ClaveGenerada)
