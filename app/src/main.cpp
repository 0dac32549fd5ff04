// Entry point of the laboratory: registers the libraries' classes and opens the main frame.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "kestrin/kestrin.h"
#include "tarnel/tarnel.h"

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane"));
  tarnel::registra();

  QMainWindow principal;
  principal.setWindowTitle(QStringLiteral("Orvane"));
  auto* bienvenida = new QLabel(QStringLiteral("Laboratorio de criptografía"), &principal);
  bienvenida->setAlignment(Qt::AlignCenter);
  principal.setCentralWidget(bienvenida);
  principal.resize(900, 600);
  principal.show();
  return QApplication::exec();
}
