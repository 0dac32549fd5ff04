// Screenshots of the Hill laboratory, filled as a student leaves it:
//   hill.png          the first page, with a 3 × 3 key and a text
//   hill_cifrado.png  the second page, with the inverse key and the ciphertext
//   hill_texto_conocido.png  the key found again from a known plain text
#include <QPlainTextEdit>
#include <QTabWidget>

#include "capturas.h"
#include "orv/orvcshill.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace capturas {

bool hill() {
  orv::ORVCSHill hill;
  hill.TextTamClave()->setTexto(QStringLiteral("3"));
  // A key of odd determinant (-49), typed cell by cell and left.
  const int clave[3][3] = {{2, 3, 1}, {5, 1, 4}, {1, 7, 3}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      hill.FlexClave()->setTexto(i + 1, j + 1, QString::number(clave[i][j]));
  hill.FlexClave()->eventos.SalidaFoco.lanza();
  hill.TextTO()->area()->setPlainText(kMuestra);
  bool bien = ventana(hill, "hill.png");
  // "Cifra" brings the ciphertext and the inverse to the front.
  emit hill.CmdCifra()->Click();
  asienta();
  bien &= guarda(hill.grab(), "hill_cifrado.png");

  // The key broken again from a stretch of the text and its cipher text.
  const auto cifrado = hill.TextTC()->CSTexto();
  hill.paginas()->setCurrentIndex(2);
  hill.TextConocidoTO()->area()->setPlainText(kMuestra.left(40));
  hill.TextConocidoTC()->setCSTexto(cifrado);
  hill.BuscaClaves();
  bien &= ventana(hill, "hill_texto_conocido.png");
  return bien;
}

}  // namespace capturas
