// Screenshots of the Vigenère and XOR laboratories, filled as a student
// leaves them: a text enciphered, then each stage of the attack run, the
// period aids (prefix_kasiski.png) and a short text solved (prefix_resolver.png).
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

#include <cstdio>

#include "capturas.h"
#include "orv/orvcsperiodico.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"

namespace capturas {
namespace {


template <typename W>
bool capturasDe(const char* prefijo, const QString& clave) {
  W w;
  // A picture program shows no boxes: whatever the window would say is printed.
  const auto imprime = [](const QString& titulo, const QString& texto) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(titulo), qPrintable(texto));
  };
  w.avisa = imprime;
  w.informa = imprime;
  const auto nombre = [prefijo](const char* etapa) {
    return QStringLiteral("%1_%2.png").arg(QLatin1String(prefijo), QLatin1String(etapa)).toLatin1();
  };
  bool bien = true;

  w.TxtTO()->area()->setPlainText(kProsa);
  w.TxtClave()->setText(clave);
  emit w.cmdCifra()->Click();
  bien &= ventana(w, nombre("cifrado").constData());

  w.tsCripto()->setCurrentIndex(1);
  w.AnalizaPeriodo();
  bien &= ventana(w, nombre("periodo").constData());

  w.tsAnaliza()->setCurrentIndex(1);
  w.AnalizaDesplazamientos();
  bien &= ventana(w, nombre("desplazamientos").constData());

  w.tsAnaliza()->setCurrentIndex(2);
  bien &= ventana(w, nombre("clave").constData());

  // The aids beside the index: Kasiski's test and the autocorrelation.
  w.tsAnaliza()->setCurrentIndex(0);
  bien &= ventana(w, nombre("kasiski").constData());

  // A short text (forty symbols per key symbol) solved from the statistics.
  w.tsCripto()->setCurrentIndex(0);
  w.TxtTO()->area()->setPlainText(kProsa.left(40 * clave.size()));
  w.TxtClave()->setText(clave);
  emit w.cmdCifra()->Click();
  w.tsCripto()->setCurrentIndex(1);
  w.TextPeriodo()->setText(QString::number(clave.size()));
  emit w.TextPeriodo()->returnPressed();
  w.tsAnaliza()->setCurrentIndex(3);
  w.Resuelve();
  bien &= ventana(w, nombre("resolver").constData());
  return bien;
}

}  // namespace

bool periodicos() {
  bool bien = capturasDe<orv::ORVCSVigenere>("vigenere", QStringLiteral("clave"));
  bien &= capturasDe<orv::ORVCSXOR>("xor", QStringLiteral("secreto"));
  return bien;
}

}  // namespace capturas
