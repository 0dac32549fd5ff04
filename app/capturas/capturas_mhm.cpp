// Screenshots of the Merkle-Hellman knapsack laboratory, filled as a student
// leaves it:
//   mochila_clave.png    the key page with an eight-element key built
//   mochila_cifrado.png  the enciphering page with a text enciphered
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include "capturas.h"
#include "kestrin/orvtexto.h"
#include "orv/orvcsmhm.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"

namespace capturas {

bool mochila() {
  orv::ORVCSMHM mochila;
  // The pictures need no key file: one of their own, never the user's.
  QTemporaryDir claves;
  mochila.setFicheroClaves(QDir(claves.path()).filePath(QStringLiteral("claves.mhm")));
  // A superincreasing sequence, a modulus above its sum and a multiplier
  // prime to it, each field left as the student leaves it.
  auto privada = std::make_shared<kestrin::ORVTexto>();
  privada->setTexto(U"2 3 7 14 30 57 120 251");
  mochila.TextSucesionPrivada()->setCSTexto(privada);
  mochila.TextModulo()->setTexto(QStringLiteral("491"));
  emit mochila.TextModulo()->salida();
  mochila.TextMultiplicador()->setTexto(QStringLiteral("41"));
  emit mochila.TextMultiplicador()->salida();
  mochila.TextId()->setText(QStringLiteral("Mochila de ocho"));
  bool bien = ventana(mochila, "mochila_clave.png");

  mochila.Pestanas()->setCurrentIndex(1);
  mochila.TextTO()->area()->setPlainText(kMuestra);
  emit mochila.cmdCifra()->Click();
  asienta();
  bien &= guarda(mochila.grab(), "mochila_cifrado.png");
  return bien;
}

}  // namespace capturas
