// What the screenshot program's parts share: where the pictures go, how a
// window is shown and saved, and the sample text; one function per
// laboratory, each in its own file.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace capturas {

// The folder the pictures go to.
extern QString carpeta;
// A sentence of Spanish prose to fill the text boxes with.
extern const QString kMuestra;
// Prose long enough for the attacks and solvers to find a key (about 1300 characters).
extern const QString kProsa;

// Lets the event loop lay out and paint what was just shown.
void asienta();
// Saves the picture as `nombre` in the folder; false when it cannot.
bool guarda(const QPixmap& imagen, const char* nombre);
// Shows the window, lets it paint and saves it.
bool ventana(QWidget& w, const char* nombre);

// Each laboratory's pictures; false when one could not be written.
bool sustitucion();
bool periodicos();
bool hill();
bool rsa();
bool mochila();
bool primos();
bool calc();

}  // namespace capturas
