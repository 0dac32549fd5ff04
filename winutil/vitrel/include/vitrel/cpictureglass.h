// CPictureGlass: a sprite. A picture with one colour treated as transparent
// is drawn onto a surface, moved across it and removed, and what was
// underneath comes back each time.
#pragma once

#include <QImage>
#include <QVariant>
#include <cstdint>

#include "kestrin/objeto.h"
#include "qtcomun/medidas.h"

class QPaintDevice;

namespace vitrel {

enum EErrorPictureGlass : int32_t {
  eeBasePictureGlass = 13140,
  eePictureNotBitmap = 13141,
  eeInvalidCanvas = 13142,
};

enum EConversions : int32_t {
  TwipsPerPoint = 20,
  TwipsPerCharX = 120,
  TwipsPerCharY = 240,
  TwipsPerInch = 1440,
  TwipsPerDecimeter = 5669,
};

// Twips in one device-independent pixel, the controls' own constant.
using qtcomun::kTwipsPorPixel;
static_assert(TwipsPerInch == qtcomun::kTwipsPorPulgada);

// The units a drawing object measures positions in.
enum ModoEscala : int16_t { kTwips = 1, kPuntos = 2, kPixeles = 3, kHiMetrico = 8 };

// A drawing object: a surface that can be read back (a QImage or a QPixmap,
// its device-pixel ratio honoured) and the units its positions are in. The
// surface must outlive the sprite or its Destroy().
struct Lienzo {
  QPaintDevice* superficie = nullptr;
  ModoEscala escala = kPixeles;
};

// A picture drawn with a transparent colour and moved over a surface.
class CPictureGlass : public kestrin::Objeto {
 public:
  CPictureGlass() = default;
  ~CPictureGlass() override { Destroy(); }
  CPictureGlass(const CPictureGlass&) = delete;
  CPictureGlass& operator=(const CPictureGlass&) = delete;

  // Prepares the sprite over a drawing object; x and y are in its units.
  // picSrc is the picture: a QImage or QPixmap is a bitmap; anything else (an
  // icon, a QPicture metafile, no picture) raises ErrorORV 13141. A surface
  // that is not a QImage or QPixmap, or an empty bitmap, raises 13142.
  // clrMaskA is an RGB colour value (red in the low byte): the picture's
  // pixels of that colour are transparent. The sprite starts visible, not yet
  // drawn.
  void Create(const Lienzo& cvsDstA, const QVariant& picSrc, uint32_t clrMaskA, double x = 0,
              double y = 0);
  // The same over a bare surface, positions in pixels.
  void Create(QPaintDevice* cvsDstA, const QVariant& picSrc, uint32_t clrMaskA, int32_t x = 0,
              int32_t y = 0);

  // Puts back what was under the last drawing, saves what is under the
  // current position and draws the picture there. Nothing when not visible.
  void Draw();
  // Puts back what was under the last drawing (when visible and drawn).
  void Remove();
  // Releases the surfaces; the sprite can be created again.
  void Destroy();

  // Moves to a position in picture units (hundredths of a millimetre) and
  // draws; yTopA −1 keeps the current top.
  void Move(double xLeftA, double yTopA = -1);

  uint32_t MaskColor() const { return mascara_; }
  // Position and size in the drawing object's units; setting Left or Top draws.
  double Left() const;
  double Top() const;
  void setLeft(double valor);
  void setTop(double valor);
  double Width() const;
  double Height() const;
  // Setting only stores the flag.
  bool Visible() const { return visible_; }
  void setVisible(bool valor) { visible_ = valor; }

  // Picture units (HIMETRIC) to pixels and back, rounded to integers.
  static int32_t PicXToPixel(double xHiMetric);
  static int32_t PicYToPixel(double yHiMetric);
  static int32_t PixelXToPic(double x);
  static int32_t PixelYToPic(double y);

 private:
  double aPixeles(double valor) const;
  double desdePixeles(double pixeles) const;
  QImage lee(const QRect& dispositivo) const;
  void pinta(const QImage& imagen, QPoint logico, bool opaca);
  QRect rectDispositivo(QPoint logico) const;

  QPaintDevice* destino_ = nullptr;
  ModoEscala escala_ = kPixeles;
  uint32_t mascara_ = 0;
  QImage imagen_;  // the picture, transparent where the mask colour was
  QImage fondo_;   // what lies under the last drawing
  QSize tamano_;   // in pixels
  QPoint posicion_;
  QPoint ultima_;
  bool dibujado_ = false;
  bool visible_ = false;
  bool creado_ = false;
};

}  // namespace vitrel
