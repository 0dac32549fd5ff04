// Screenshots of the primes laboratory, as a student leaves it:
//   primos.png               the first page, a Mersenne number tested
//   primos_factorizando.png  a long factorisation under way, its strip showing
//   primos_incompleta.png    that factorisation cancelled: the cofactor in red
//   primos_factores.png      a finished factorisation
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <cstdio>

#include "capturas.h"
#include "orv/calculofondo.h"
#include "orv/orvprimos.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"

namespace capturas {

namespace {

// Lets the window run until its work ends, at most `ms` milliseconds.
bool esperaFin(orv::ORVPrimos& v, int ms) {
  QElapsedTimer reloj;
  reloj.start();
  while (v.calculo()->ocupado() && reloj.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  asienta();
  if (v.calculo()->ocupado()) std::fprintf(stderr, "El cálculo de Primos no terminó\n");
  return !v.calculo()->ocupado();
}

void espera(int ms) {
  QElapsedTimer reloj;
  reloj.start();
  while (reloj.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

bool primos() {
  bool bien = true;
  {
    orv::ORVPrimos v;
    v.TextNumero()->area()->setPlainText(QStringLiteral("2^127-1"));
    v.show();
    asienta();
    emit v.CmdTest()->Click();
    bien &= esperaFin(v, 30000) && guarda(v.grab(), "primos.png");
  }
  {
    orv::ORVPrimos v;
    v.paginas()->setCurrentIndex(1);
    // 2^3 * 3 times two 60-digit primes: the rest takes minutes.
    v.TextNumF()->area()->setPlainText(QStringLiteral(
        "24*314159265358979323846264338327950288419716939937510582097503*"
        "271828182845904523536028747135266249775724709369995957496787"));
    v.show();
    asienta();
    emit v.CmdFactoriza()->Click();
    espera(2300);
    bien &= guarda(v.grab(), "primos_factorizando.png");
    emit v.franja()->cmdCancelar()->Click();
    bien &= esperaFin(v, 15000) && guarda(v.grab(), "primos_incompleta.png");
  }
  {
    orv::ORVPrimos v;
    v.paginas()->setCurrentIndex(1);
    v.TextNumF()->area()->setPlainText(QStringLiteral("2^4*3^2*5*7*1000003*(10^18+9)"));
    v.show();
    asienta();
    emit v.CmdFactoriza()->Click();
    bien &= esperaFin(v, 30000) && guarda(v.grab(), "primos_factores.png");
  }
  return bien;
}

}  // namespace capturas
