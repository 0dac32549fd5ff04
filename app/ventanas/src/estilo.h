// Small helpers the laboratory windows share to build their controls with one look.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QString>
#include <QToolBar>
#include <QWidget>

#include "pemmick/orvexttextbox.h"
#include "pemmick/orvrotlabel.h"
#include "plankett/flatbutton.h"

namespace orv::estilo {

// A font of that family and size in points, the rest as the application's.
inline QFont fuente(const QString& familia, qreal puntos) {
  QFont f;
  f.setFamily(familia);
  f.setPointSizeF(puntos);
  return f;
}

// The width of `n` average characters of the widget's font, plus its frame.
inline int anchoCaracteres(const QWidget* w, int n) {
  return QFontMetrics(w->font()).averageCharWidth() * n + 12;
}

inline QLabel* etiqueta(const QString& texto, const QFont& f, QWidget* parent) {
  auto* l = new QLabel(texto, parent);
  l->setFont(f);
  return l;
}

// The side caption of a text box: embossed, reading upwards, at least as tall
// as its caption and no wider than it needs.
inline pemmick::ORVRotLabel* rotulo(const QString& texto, QWidget* parent) {
  auto* r = new pemmick::ORVRotLabel(parent);
  r->setObjectName(QStringLiteral("Rotulo") + texto);
  r->setCaption(texto);
  r->setFontSize(10);
  r->setBorderStyle(0);
  // Dark letters over a light edge: embossed, and legible on the grey face.
  r->setBackColor3D(0xFFFFFF);
  r->setForeColor3D(0x404040);
  const QFontMetrics m(r->fuenteCaption());
  r->setFixedWidth(m.height() + 6);
  r->setMinimumHeight(m.horizontalAdvance(texto) + 12);
  return r;
}

// A text box never shorter than its toolbar, so every button shows.
inline void altoBarra(pemmick::ORVExtTextBox* caja) {
  caja->setMinimumHeight(caja->barra()->sizeHint().height() + 4);
}

// A flat button drawn with its raised edge at rest, so it reads as a button.
inline plankett::FlatButton* boton(const QString& nombre, const QString& texto, QWidget* parent) {
  auto* b = new plankett::FlatButton(parent);
  b->setObjectName(nombre);
  b->setCaption(texto);
  b->setStyle(plankett::FlatButton::Estilo3D);
  b->setMinimumSize(b->sizeHint());
  return b;
}

}  // namespace orv::estilo
