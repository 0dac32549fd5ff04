// Entry point of the laboratory: registers the libraries' classes and starts
// the main frame, which shows the About window as its splash first.
//
// ORV --prueba-arranque does the same start, closes the splash at once, and
// exits once the main window is up: 0 and one line saying where the data
// files live, or 1. It is how an installed copy is checked without a person.
#include <QApplication>
#include <QDir>

#include <cstdio>

#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/orvacercade.h"
#include "orv/orvprincipal.h"
#include "orv/version.h"

namespace {

int pruebaArranque(orv::ORVPrincipal& principal, bool traducciones) {
  if (orv::ORVAcercaDe* acerca = principal.VentanaAcercaDe()) acerca->close();
  QApplication::processEvents();
  if (!principal.isVisible()) {
    std::fputs("ORV: la ventana principal no se ha abierto\n", stderr);
    return 1;
  }
  const QString datos = QString::fromStdU32String(orv::ORVW().Carpeta());
  std::printf("ORV %s: ventana principal abierta; datos en %s; textos de Qt en español: %s\n",
              qPrintable(QApplication::applicationVersion()),
              qPrintable(QDir::toNativeSeparators(datos)), traducciones ? "sí" : "no");
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  const bool traducciones = orv::instalaTraducciones();
  QApplication::setApplicationName(QString::fromLatin1(orv::kProducto));
  QApplication::setApplicationVersion(orv::versionFichero());
  // The desktop entry's name, which Wayland and the docks match windows by.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.orvane.ORV"));
  QApplication::setWindowIcon(orv::arte::Icono(u"A"));
  orv::registraBibliotecas();
  orv::instalaProcesaEventos();

  orv::ORVPrincipal principal;
  principal.Arranca();
  if (QApplication::arguments().contains(QStringLiteral("--prueba-arranque"))) {
    return pruebaArranque(principal, traducciones);
  }
  return QApplication::exec();
}
