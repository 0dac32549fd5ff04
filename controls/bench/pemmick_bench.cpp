// Figures of the text box with large files: time to read a file into the box,
// the longest stop of the window while it fills, the time to paint it once and
// that of a key typed at the start, in the middle and at the end, for texts
// with lines, one long line (a ciphertext) and binary data.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

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

// One typed character at `posicion` of the area, until the window has
// repainted; -1 places it at the end.
double tecla(pemmick::ORVExtTextBox* caja, int posicion) {
  QPlainTextEdit* area = caja->area();
  QTextCursor c(area->document());
  if (posicion < 0) {
    c.movePosition(QTextCursor::End);
  } else {
    c.setPosition(posicion);
  }
  area->setTextCursor(c);
  QApplication::processEvents();
  QKeyEvent pulsada(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QElapsedTimer t;
  t.start();
  QApplication::sendEvent(area, &pulsada);
  QApplication::processEvents();
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                   : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QTemporaryDir dir;
  std::printf("%-8s %4s %11s %13s %12s %11s %13s %12s %10s\n", "texto", "MB", "lectura ms",
              "mayor pausa", "completo ms", "pintado ms", "tecla inicio", "tecla medio",
              "tecla fin");
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
      // Typed characters: the box brings its tagged text up to date.
      const double inicio = tecla(caja, 0);
      const double medio = tecla(caja, caja->area()->document()->characterCount() / 2);
      const double fin = tecla(caja, -1);
      std::printf("%-8s %4d %11.1f %13.1f %12.1f %11.1f %13.1f %12.1f %10.1f\n", tipo, mb, lectura,
                  pausa, completo, pintado, inicio, medio, fin);
      std::fflush(stdout);
    }
  }
  return 0;
}
