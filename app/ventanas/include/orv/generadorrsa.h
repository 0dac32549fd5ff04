// GeneradorRSA: builds a random RSA key away from the user-interface thread.
#pragma once

#include <QObject>
#include <QString>

namespace orv {

// The parts of a generated key, as decimal texts.
struct ClaveGenerada {
  QString p;
  QString q;
  QString e;
  int bloque = 1;
};

class GeneradorRSA : public QObject {
  Q_OBJECT

 public:
  explicit GeneradorRSA(QObject* parent = nullptr);
  ~GeneradorRSA() override;
  // Starts generating a key of that many bits; ignored while one is under way.
  void genera(int bits);
  bool ocupado() const { return false; }

 signals:
  void generada(const orv::ClaveGenerada& clave);
  void fallo(const QString& motivo);
};

}  // namespace orv
