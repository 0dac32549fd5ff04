// The artwork: every resource exists at its size and is drawn at the pixel
// ratio asked for.
#include "orv/arte.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPixmap>

namespace orv::arte {
namespace {

TEST(Arte, EveryIconDrawsSomethingAtEverySizeAndRatio) {
  for (const QString& nombre : NombresIconos()) {
    const QIcon icono = Icono(nombre);
    ASSERT_FALSE(icono.isNull()) << nombre.toStdString();
    for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
      const QPixmap pm = icono.pixmap(QSize(32, 32), ratio);
      EXPECT_EQ(pm.size(), (QSizeF(32, 32) * ratio).toSize())
          << nombre.toStdString() << " " << ratio;
      EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), ratio);
      const QImage img = pm.toImage();
      // Transparent corners, an opaque centre: the rounded tile is there.
      EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << nombre.toStdString();
      EXPECT_EQ(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 255) << nombre.toStdString();
    }
  }
}

TEST(Arte, IconsDifferFromEachOther) {
  QList<QImage> vistas;
  for (const QString& nombre : NombresIconos()) {
    const QImage img = Icono(nombre).pixmap(QSize(32, 32)).toImage();
    for (const QImage& otra : vistas) EXPECT_NE(img, otra) << nombre.toStdString();
    vistas << img;
  }
  EXPECT_EQ(vistas.size(), 11);
}

TEST(Arte, BitmapsHaveTheirLogicalSizesAtAnyRatio) {
  struct Caso {
    const char* nombre;
    QSize tamano;
  };
  const Caso casos[] = {{"gris", {30, 30}}, {"autor", {25, 200}}, {"cuadritos", {8, 8}},
                       {"zoom", {16, 15}},   {"expr", {16, 15}}};
  for (const auto& c : casos) {
    for (qreal ratio : {1.0, 2.0}) {
      const QImage img = Bitmap(QString::fromLatin1(c.nombre), ratio);
      EXPECT_EQ(img.deviceIndependentSize().toSize(), c.tamano) << c.nombre << " " << ratio;
      EXPECT_EQ(img.size(), (QSizeF(c.tamano) * ratio).toSize()) << c.nombre;
    }
  }
}

TEST(Arte, UnknownNamesGiveNothing) {
  EXPECT_TRUE(Icono(u"calc1").isNull());  // resource names are exact
  EXPECT_TRUE(Icono(u"").isNull());
  EXPECT_TRUE(Bitmap(u"Gris").isNull());
  EXPECT_TRUE(Bitmap(u"sha").isNull());
}

// The signature strip is white where the tiles must show, and its letters'
// soft edges are not near-white, which would leave a light fringe once white
// is made transparent.
TEST(Arte, SignatureIsWhiteAroundAndHasNoLightFringe) {
  const QImage firma = Bitmap(u"autor", 2.0);
  int blancos = 0, tinta = 0, claros = 0;
  for (int y = 0; y < firma.height(); ++y) {
    for (int x = 0; x < firma.width(); ++x) {
      const QRgb c = firma.pixel(x, y);
      if ((c & 0xFFFFFF) == 0xFFFFFF) {
        ++blancos;
      } else {
        ++tinta;
        if (qGray(c) > 230) ++claros;
      }
    }
  }
  EXPECT_GT(blancos, firma.width() * firma.height() / 2);
  EXPECT_GT(tinta, 200);
  EXPECT_EQ(claros, 0);
  EXPECT_EQ(firma.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace orv::arte
