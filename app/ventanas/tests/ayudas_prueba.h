// What the laboratories' tests share: typing as a user does, and Spanish
// prose from the corpus beside the project.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>
#include <QWidget>

#include <memory>

#include "orv/orvprincipal.h"

namespace orv::prueba {

// Types a text key by key; characters beyond ASCII go as key events with their text.
inline void teclea(QWidget* w, const QString& texto) {
  for (const QChar c : texto) {
    if (c.unicode() < 0x80)
      QTest::keyClicks(w, QString(c));
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// The first `caracteres` characters of the Spanish corpus beside the project
// (../shared/corpus/es.txt from its root, or from the working folder), or ""
// when it is not there.
inline QString corpus(int caracteres) {
  const QString raiz = QDir::cleanPath(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                                       QStringLiteral("/../../.."));
  for (const QString& ruta : {raiz + QStringLiteral("/../shared/corpus/es.txt"),
                              QStringLiteral("../shared/corpus/es.txt")}) {
    QFile f(ruta);
    if (f.open(QIODevice::ReadOnly)) return QString::fromUtf8(f.readAll()).left(caracteres);
  }
  return QString();
}

// The window the menu row with that key makes; null when the row has no
// maker or there is no such row.
inline std::unique_ptr<QWidget> ventanaDelMenu(const char* clave) {
  for (const auto& fila : ORVPrincipal::Laboratorios()) {
    if (QLatin1String(fila.clave) == QLatin1String(clave) && fila.fabrica != nullptr)
      return std::unique_ptr<QWidget>(fila.fabrica());
  }
  return nullptr;
}

}  // namespace orv::prueba
