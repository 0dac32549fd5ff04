// Entry point of the laboratory: registers the libraries' classes and starts
// the main frame, which shows the About window as its splash first.
#include <QApplication>

#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/orvprincipal.h"
#include "orv/version.h"

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  orv::instalaTraducciones();
  QApplication::setApplicationName(QString::fromLatin1(orv::kProducto));
  QApplication::setApplicationVersion(orv::versionFichero());
  QApplication::setWindowIcon(orv::arte::Icono(u"A"));
  orv::registraBibliotecas();
  orv::instalaProcesaEventos();

  orv::ORVPrincipal principal;
  principal.Arranca();
  return QApplication::exec();
}
