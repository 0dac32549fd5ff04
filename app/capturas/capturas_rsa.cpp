// Screenshots of the RSA laboratory, filled as a student leaves it:
//   rsa_clave.png    a key typed as expressions (two Mersenne primes) and built
//   rsa_lista.png    the saved keys listed over the key frames
//   rsa_cifrado.png  the sample text enciphered with that key
//   rsa_generando.png  a 2048-bit key being generated, the window at work
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

#include "capturas.h"
#include "orv/orvcsrsa.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"

namespace capturas {
namespace {

// Types into a key field and leaves it, as the user does.
void escribe(orv::CampoClave* campo, const QString& texto) {
  campo->setPlainText(texto);
  emit campo->salida();
}

}  // namespace

bool rsa() {
  // The key file goes to a folder of its own, never the program's.
  QTemporaryDir carpetaClaves;
  orv::ORVCSRSA v;
  v.setFicheroClaves(carpetaClaves.filePath(QStringLiteral("claves.rsa")));
  v.avisa = [](const QString& titulo, const QString& texto) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(titulo), qPrintable(texto));
  };
  // The size the window opens at from the menu.
  v.TextTamBloque()->setTexto(QStringLiteral("50"));
  emit v.TextTamBloque()->editingFinished();
  escribe(v.TextExponente(), QStringLiteral("65537"));
  escribe(v.TextClaveFactor(1), QStringLiteral("2^521-1"));
  escribe(v.TextClaveFactor(2), QStringLiteral("2^607-1"));
  v.TextId()->setText(QStringLiteral("Mersenne 521 y 607"));
  v.GuardaClave();
  bool bien = ventana(v, "rsa_clave.png");

  v.TextId()->clear();
  v.GuardaClave();  // a second key, named by the date and time
  v.ListaClaves();
  bien &= ventana(v, "rsa_lista.png");
  v.OcultaClaves();

  v.Pestanas()->setCurrentIndex(1);
  v.TextTO()->area()->setPlainText(kMuestra);
  v.Cifra();
  bien &= ventana(v, "rsa_cifrado.png");

  v.Pestanas()->setCurrentIndex(0);
  v.ComboBits()->setCurrentIndex(v.ComboBits()->findData(2048));
  v.Generar();
  bien &= ventana(v, "rsa_generando.png");
  // The generator's thread is left to finish before the window goes.
  QElapsedTimer espera;
  espera.start();
  while (!v.cmdGenerar()->isEnabled() && espera.elapsed() < 60000)
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  return bien;
}

}  // namespace capturas
