// The program's artwork, drawn in code so it stays sharp at any size and
// pixel ratio: the ten menu icons, the window icon, the three bitmaps of
// the backgrounds and the spreadsheet's two toolbar bitmaps.
#pragma once

#include <QIcon>
#include <QImage>
#include <QStringList>
#include <QStringView>

namespace orv::arte {

// The icon of that resource name: the menu icons "CALC1", "PRIMOS1",
// "ANALIZA1", "AFIN1", "SUST1", "VIGENERE1", "XOR1", "HILL1", "RSA1",
// "MHMochila1", and "A", the windows' icon. Drawn afresh at whatever size it
// is painted; a name that is not one of these gives a null icon.
QIcon Icono(QStringView nombre);

// The bitmap of that resource name at `ratio` device pixels per logical pixel:
// "gris" (30 × 30, the frame's background tile), "autor" (25 × 200, the
// signature strip, white where the background shows through) and "cuadritos"
// (8 × 8, the About window's tile), and the spreadsheet's toolbar bitmaps
// "zoom" and "expr" (16 × 15, transparent around). Sizes are logical pixels; the image has
// its device-pixel ratio set. An unknown name gives a null image.
QImage Bitmap(QStringView nombre, qreal ratio = 1.0);

// The names above, in the order they are listed.
QStringList NombresIconos();
QStringList NombresBitmaps();

}  // namespace orv::arte
