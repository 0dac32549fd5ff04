// The sprite: transparency, exact restoring of the background, units and
// refused pictures and surfaces.
#include "vitrel/vitrel.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QWidget>

#include "kestrin/errores.h"

namespace vitrel {
namespace {

// A background where every pixel differs from its neighbours.
QImage fondo(int ancho, int alto, qreal ratio = 1) {
  QImage imagen(ancho, alto, QImage::Format_RGB32);
  for (int y = 0; y < alto; ++y) {
    for (int x = 0; x < ancho; ++x)
      imagen.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x ^ y) & 0xFF));
  }
  imagen.setDevicePixelRatio(ratio);
  return imagen;
}

// A 6×4 picture: white (the mask colour) on its left half, red and blue on its right.
QImage sello() {
  QImage imagen(6, 4, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  for (int y = 0; y < 4; ++y) {
    for (int x = 3; x < 6; ++x) imagen.setPixel(x, y, y < 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
  }
  return imagen;
}

constexpr uint32_t kBlanco = 0xFFFFFF;

TEST(CPictureGlass, DrawsOpaquePixelsOnlyAndRestoresExactly) {
  const QImage original = fondo(40, 30);
  QImage lienzo = original;
  CPictureGlass sprite;
  sprite.Create(&lienzo, QVariant(sello()), kBlanco, 10, 5);
  EXPECT_TRUE(sprite.Visible());
  sprite.Remove();  // nothing drawn yet
  EXPECT_EQ(lienzo, original);

  sprite.Draw();
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const QRgb esperado = x < 3 ? original.pixel(10 + x, 5 + y) : sello().pixel(x, y);
      EXPECT_EQ(lienzo.pixel(10 + x, 5 + y), esperado) << x << "," << y;
    }
  }
  const QImage unaVez = lienzo;
  sprite.Draw();
  EXPECT_EQ(lienzo, unaVez);

  // Moving puts the old place back; removing puts the last one back.
  sprite.Move(CPictureGlass::PixelXToPic(30), CPictureGlass::PixelYToPic(20));
  EXPECT_EQ(lienzo.pixel(13, 5), original.pixel(13, 5));
  EXPECT_EQ(lienzo.pixel(33, 20), qRgb(255, 0, 0));
  sprite.Move(CPictureGlass::PixelXToPic(35));  // partly outside, same top
  EXPECT_EQ(lienzo.pixel(33, 20), original.pixel(33, 20));
  EXPECT_EQ(lienzo.pixel(38, 21), qRgb(255, 0, 0));
  EXPECT_EQ(lienzo.pixel(39, 23), qRgb(0, 0, 255));
  sprite.Remove();
  EXPECT_EQ(lienzo, original);
}

TEST(CPictureGlass, HighDensitySurfacesAndPixmaps) {
  const QImage original = fondo(80, 60, 2);
  QImage lienzo = original;
  CPictureGlass sprite;
  sprite.Create(&lienzo, QVariant(sello()), kBlanco, 3, 4);  // logical pixels
  sprite.Draw();
  EXPECT_EQ(lienzo.pixel(6 + 6, 8), qRgb(255, 0, 0));  // each pixel covers 2×2
  EXPECT_EQ(lienzo.pixel(6 + 11, 8 + 7), qRgb(0, 0, 255));
  EXPECT_EQ(lienzo.pixel(6 + 5, 8), original.pixel(6 + 5, 8));
  EXPECT_EQ(sprite.Width(), 6);
  sprite.Remove();
  EXPECT_EQ(lienzo, original);

  QPixmap mapa = QPixmap::fromImage(fondo(20, 20));
  const QImage antes = mapa.toImage();
  CPictureGlass otro;
  otro.Create(&mapa, QVariant(QPixmap::fromImage(sello())), kBlanco, 1, 1);
  otro.Draw();
  EXPECT_EQ(mapa.toImage().pixel(5, 1), qRgb(255, 0, 0));
  otro.Remove();
  EXPECT_EQ(mapa.toImage(), antes);
}

TEST(CPictureGlass, UnitsOfTheDrawingObjectAndOfPictures) {
  struct Caso {
    double himetrico;
    int32_t pixeles;
  };
  for (const Caso& c : {Caso{0, 0}, Caso{2646, 100}, Caso{26.46, 1}, Caso{-2646, -100}}) {
    EXPECT_EQ(CPictureGlass::PicXToPixel(c.himetrico), c.pixeles) << c.himetrico;
    EXPECT_EQ(CPictureGlass::PicYToPixel(c.himetrico), c.pixeles) << c.himetrico;
  }
  EXPECT_EQ(CPictureGlass::PixelXToPic(100), 2646);
  EXPECT_EQ(CPictureGlass::PixelYToPic(1), 26);

  QImage lienzo = fondo(40, 30);
  CPictureGlass sprite;
  sprite.Create(Lienzo{&lienzo, kTwips}, QVariant(sello()), kBlanco, 150, 75);
  EXPECT_EQ(sprite.Left(), 150);
  EXPECT_EQ(sprite.Top(), 75);
  EXPECT_EQ(sprite.Width(), 6 * 15);
  EXPECT_EQ(sprite.Height(), 4 * 15);
  EXPECT_EQ(sprite.MaskColor(), kBlanco);
  sprite.setLeft(300);  // 20 pixels, and draws
  EXPECT_EQ(lienzo.pixel(23, 5), qRgb(255, 0, 0));

  sprite.setVisible(false);  // only the flag: nothing is removed or drawn
  const QImage quieto = lienzo;
  sprite.setTop(0);
  sprite.Remove();
  EXPECT_EQ(lienzo, quieto);
}

TEST(CPictureGlass, RefusesPicturesThatAreNotBitmapsAndBadSurfaces) {
  QImage lienzo = fondo(10, 10);
  QWidget ventana;
  QPicture metafichero;
  struct Caso {
    const char* nombre;
    QPaintDevice* destino;
    QVariant imagen;
    int32_t error;
  };
  const Caso casos[] = {
      {"icono", &lienzo, QVariant::fromValue(QIcon()), eePictureNotBitmap},
      {"metafichero", &lienzo, QVariant::fromValue(metafichero), eePictureNotBitmap},
      {"nada", &lienzo, QVariant(), eePictureNotBitmap},
      {"texto", &lienzo, QVariant(QStringLiteral("x")), eePictureNotBitmap},
      {"imagen vacía", &lienzo, QVariant(QImage()), eeInvalidCanvas},
      {"sin destino", nullptr, QVariant(sello()), eeInvalidCanvas},
      {"ventana", &ventana, QVariant(sello()), eeInvalidCanvas},
  };
  for (const Caso& c : casos) {
    CPictureGlass sprite;
    try {
      sprite.Create(c.destino, c.imagen, kBlanco);
      ADD_FAILURE() << c.nombre;
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), c.error) << c.nombre;
      EXPECT_FALSE(std::string(e.what()).empty());
    }
    sprite.Draw();  // harmless after a failed Create
  }
  // Re-creating after Destroy works on the same object.
  CPictureGlass sprite;
  sprite.Create(&lienzo, QVariant(sello()), kBlanco);
  sprite.Destroy();
  sprite.Draw();
  sprite.Create(&lienzo, QVariant(sello()), kBlanco, 2, 2);
  sprite.Draw();
  EXPECT_EQ(lienzo.pixel(5, 2), qRgb(255, 0, 0));
}

TEST(CPictureGlass, CreatedByClassName) {
  registra();
  EXPECT_NE(std::dynamic_pointer_cast<CPictureGlass>(kestrin::CreaObjeto("Vitrel.CPictureGlass")),
            nullptr);
}

}  // namespace
}  // namespace vitrel
