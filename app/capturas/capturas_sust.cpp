// Screenshots of the substitution laboratory, filled as a student leaves it:
// a random key with a text enciphered, a ciphertext half broken by hand, and
// one broken by "Resolver" (sustitucion_resuelta.png).
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

#include <QThread>

#include "capturas.h"
#include "orv/calculofondo.h"
#include "orv/orvcssubst.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "tarnel/alfabeto.h"

namespace capturas {
namespace {


// Writes a guess under the first place of a cipher symbol, through the grid's
// own editor as the student does.
void supone(orv::Rejilla* g, int k, const QString& plano) {
  const int fila = 2 * (k / 27);
  const int columna = k % 27;
  g->setFila(fila);
  g->setColumna(columna);
  g->Edita();
  if (!g->editando()) return;
  g->setTextoEdicion(plano);
  QTableWidget* t = g->tabla();
  if (auto* editor = qobject_cast<QLineEdit*>(t->indexWidget(t->currentIndex()))) {
    QKeyEvent intro(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(editor, &intro);
  }
  asienta();
}

}  // namespace

bool sustitucion() {
  bool bien = true;
  QString cifrado;
  QString clave;
  {
    orv::ORVCSSubst w;
    w.show();
    asienta();
    w.MenuClaveAleatoria()->trigger();
    clave.clear();
    for (int i = 0; i < tarnel::ORVNumCar; ++i) clave += w.FlexClaves()->Texto(1, i);
    w.TxtTO()->area()->setPlainText(kMuestra);
    emit w.cmdCifra()->Click();
    cifrado = QString::fromStdU32String(w.txtTC()->CSTexto()->Texto());
    bien &= ventana(w, "sustitucion.png");
  }
  {
    // A fresh window with only the ciphertext: the student has guessed the
    // space and the most frequent letters.
    orv::ORVCSSubst w;
    w.show();
    asienta();
    w.txtTC()->area()->setPlainText(cifrado);
    w.paginas()->setCurrentIndex(1);
    asienta();
    orv::Rejilla* g = w.FlexTexto();
    for (const QString& plano :
         {QStringLiteral("·"), QStringLiteral("e"), QStringLiteral("a"), QStringLiteral("o"),
          QStringLiteral("n"), QStringLiteral("d"), QStringLiteral("l")}) {
      const int valor = tarnel::alfabeto::valor(plano.at(0).unicode());
      const int k = static_cast<int>(cifrado.indexOf(clave.at(valor)));
      if (k >= 0) supone(g, k, plano);
    }
    g->setFila(0);
    g->setColumna(0);
    bien &= ventana(w, "sustitucion_analisis.png");
  }
  {
    // A longer ciphertext broken by "Resolver", ready for corrections by hand.
    orv::ORVCSSubst w;
    w.show();
    asienta();
    w.MenuClaveAleatoria()->trigger();
    w.TxtTO()->area()->setPlainText(kProsa);
    emit w.cmdCifra()->Click();
    w.MenuBorrarClave()->trigger();
    w.paginas()->setCurrentIndex(1);
    asienta();
    w.Resuelve();
    for (int i = 0; i < 3000 && w.Calculo()->ocupado(); ++i) {
      QThread::msleep(10);
      asienta();
    }
    w.FlexTexto()->setFila(0);
    w.FlexTexto()->setColumna(0);
    bien &= ventana(w, "sustitucion_resuelta.png");
  }
  return bien;
}

}  // namespace capturas
