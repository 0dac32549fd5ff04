// Figures of the text box with large files: time to read a file into the box
// and to paint it once, for texts with lines, one long line and binary data.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "pemmick/orvexttextbox.h"

namespace {

QByteArray contenido(const char* tipo, qsizetype bytes) {
  QByteArray b;
  b.reserve(bytes);
  QRandomGenerator azar(7);
  if (qstrcmp(tipo, "binario") == 0) {
    while (b.size() < bytes) b.append(static_cast<char>(azar.bounded(256)));
    return b;
  }
  const QByteArray palabra("CRIPTOGRAMA ");
  qsizetype enLinea = 0;
  while (b.size() < bytes) {
    b.append(palabra);
    enLinea += palabra.size();
    if (qstrcmp(tipo, "lineas") == 0 && enLinea >= 72) {
      b.append('\n');
      enLinea = 0;
    }
  }
  b.truncate(bytes);
  return b;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                   : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QTemporaryDir dir;
  std::printf("%-8s %4s %11s %13s %12s %11s %9s\n", "texto", "MB", "lectura ms", "mayor pausa", "completo ms", "pintado ms",
              "tecla ms");
  for (const char* tipo : {"lineas", "una", "binario"}) {
    for (const int mb : {1, 5, 20}) {
      const QString ruta = dir.filePath(QStringLiteral("f"));
      {
        QFile f(ruta);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(contenido(tipo, qsizetype{mb} * 1024 * 1024));
      }
      QWidget ventana;
      ventana.resize(640, 400);
      auto* caja = new pemmick::ORVExtTextBox(&ventana);
      caja->setGeometry(0, 0, 640, 400);
      caja->avisa = [](const QString&, const QString&) {};
      ventana.show();
      QApplication::processEvents();
      // The call itself, then the pieces the event loop shows: the longest
      // of them is how long the window stops answering.
      QElapsedTimer t;
      t.start();
      caja->LeeFichero(ruta);
      const double lectura = static_cast<double>(t.nsecsElapsed()) / 1e6;
      double pausa = lectura;
      while (caja->rellenando()) {
        QElapsedTimer paso;
        paso.start();
        QApplication::processEvents();
        pausa = std::max(pausa, static_cast<double>(paso.nsecsElapsed()) / 1e6);
      }
      const double completo = static_cast<double>(t.nsecsElapsed()) / 1e6;
      t.restart();
      caja->area()->viewport()->grab();
      const double pintado = static_cast<double>(t.nsecsElapsed()) / 1e6;
      // One typed character: the box brings its tagged text up to date.
      QKeyEvent tecla(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      t.restart();
      QApplication::sendEvent(caja->area(), &tecla);
      const double escrito = static_cast<double>(t.nsecsElapsed()) / 1e6;
      std::printf("%-8s %4d %11.1f %13.1f %12.1f %11.1f %9.1f\n", tipo, mb, lectura, pausa, completo, pintado,
                  escrito);
      std::fflush(stdout);
    }
  }
  return 0;
}
