// The rotated label: placement, layers, defaults and saved properties.
#include "pemmick/orvrotlabel.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPixmap>

namespace pemmick {
namespace {

// The box around every pixel that differs from the background colour.
QRect tinta(const QImage& img, QRgb fondo) {
  QRect r;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != fondo) r |= QRect(x, y, 1, 1);
  return r;
}

QImage imagen(ORVRotLabel& l) { return l.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(ORVRotLabel, NewInstanceDefaults) {
  QWidget ventana;
  ORVRotLabel l(&ventana);
  EXPECT_EQ(l.Caption(), QString());
  EXPECT_EQ(l.Angulo(), 90);
  EXPECT_TRUE(l.Font3D());
  EXPECT_EQ(l.BackColor3D(), 0u);
  EXPECT_EQ(l.ForeColor3D(), 0xFFFFFFu);
  EXPECT_FLOAT_EQ(l.Relieve(), 10);
  EXPECT_EQ(l.BackColor(), 0x8000000Fu);
  EXPECT_EQ(l.ForeColor(), 0x404040u);
  EXPECT_FLOAT_EQ(l.FontSize(), 10);
  EXPECT_EQ(l.FontName(), QStringLiteral("Arial"));
}

TEST(ORVRotLabel, CaptionIsCentredAndReadsUpwards) {
  QWidget ventana;
  ORVRotLabel l(&ventana);
  l.setBorderStyle(0);
  l.resize(40, 300);
  l.setBackColor(0xFFFFFF);
  l.setFont3D(false);
  l.setForeColor(0x000000);
  l.setCaption(QStringLiteral("Texto cifrado"));
  const QFontMetricsF fm(l.fuenteCaption());
  const double h = fm.height();
  const double w = fm.horizontalAdvance(l.Caption());
  EXPECT_DOUBLE_EQ(l.origen().x(), (40 - h) / 2);
  EXPECT_DOUBLE_EQ(l.origen().y(), w + (300 - w) / 2);

  // The ink is a tall strip around the middle of the label.
  const QRect r = tinta(imagen(l), qRgb(255, 255, 255));
  ASSERT_FALSE(r.isEmpty());
  EXPECT_GT(r.height(), 3 * r.width());
  EXPECT_NEAR(r.center().y(), 150, 4);
  EXPECT_NEAR(r.center().x(), 20, 4);
}

TEST(ORVRotLabel, EmptyCaptionOnlyClearsAndFlatCaptionIgnoresTheAngle) {
  QWidget ventana;
  ORVRotLabel l(&ventana);
  l.setBorderStyle(0);
  l.resize(30, 120);
  l.setBackColor(0x00FF00);
  EXPECT_TRUE(tinta(imagen(l), qRgb(0, 255, 0)).isEmpty());

  l.setCaption(QStringLiteral("Clave"));
  l.setFont3D(false);
  const QImage antes = imagen(l);
  l.setAngulo(0);
  EXPECT_EQ(imagen(l), antes);
  // Embossed, the angle matters.
  l.setFont3D(true);
  const QImage a0 = imagen(l);
  l.setAngulo(90);
  EXPECT_NE(imagen(l), a0);
}

TEST(ORVRotLabel, FaceNamesAreCutAt31Characters) {
  QWidget ventana;
  ORVRotLabel l(&ventana);
  l.setFontName(QString(40, QLatin1Char('x')));
  EXPECT_EQ(l.FontName().size(), 31);
}

TEST(ORVRotLabel, PropertiesSaveAndRestoreWithNotification) {
  QWidget ventana;
  ORVRotLabel a(&ventana);
  std::vector<QString> avisadas;
  a.propiedadCambiada.conecta([&](const QString& k) { avisadas.push_back(k); });
  a.setCaption(QStringLiteral("Análisis"));
  a.setAngulo(45);
  a.setRelieve(0);
  a.setFontBold(true);
  EXPECT_EQ(avisadas, (std::vector<QString>{QStringLiteral("Caption"), QStringLiteral("Angulo"),
                                            QStringLiteral("Relieve"), QStringLiteral("FontBold")}));
  kestrin::Propiedades p;
  a.GuardaPropiedades(p);
  ORVRotLabel b(&ventana);
  b.LeePropiedades(p);
  EXPECT_EQ(b.Caption(), QStringLiteral("Análisis"));
  EXPECT_EQ(b.Angulo(), 45);
  EXPECT_FLOAT_EQ(b.Relieve(), 0);
  EXPECT_TRUE(b.FontBold());
  // An empty store gives the defaults.
  ORVRotLabel c(&ventana);
  c.LeePropiedades(kestrin::Propiedades());
  EXPECT_EQ(c.Angulo(), 90);
  EXPECT_TRUE(c.Font3D());
}

TEST(ORVRotLabel, MouseIconIsThePointerOnlyForTheCustomValue) {
  QWidget ventana;
  ORVRotLabel l(&ventana);
  EXPECT_EQ(l.MousePointer(), 0);
  EXPECT_TRUE(l.MouseIcon().isNull());
  EXPECT_FALSE(l.testAttribute(Qt::WA_SetCursor));  // the default pointer

  QPixmap dibujo(16, 16);
  dibujo.fill(Qt::red);
  std::vector<QString> avisadas;
  l.propiedadCambiada.conecta([&](const QString& k) { avisadas.push_back(k); });
  l.setMouseIcon(QIcon(dibujo));
  EXPECT_EQ(avisadas, std::vector<QString>{QStringLiteral("MouseIcon")});
  EXPECT_NE(l.cursor().shape(), Qt::BitmapCursor);  // not asked for yet
  struct Caso {
    int16_t puntero;
    Qt::CursorShape forma;
  };
  for (const Caso c :
       {Caso{99, Qt::BitmapCursor}, Caso{11, Qt::WaitCursor}, Caso{2, Qt::CrossCursor}}) {
    l.setMousePointer(c.puntero);
    EXPECT_EQ(l.cursor().shape(), c.forma) << c.puntero;
  }
  l.setMousePointer(99);
  EXPECT_EQ(l.cursor().pixmap().toImage().pixelColor(8, 8), QColor(Qt::red));
  l.setMouseIcon(QIcon());
  EXPECT_EQ(l.cursor().shape(), Qt::ArrowCursor);  // custom, but nothing to show

  // Saved last, after MousePointer, and restored with the pointer it makes.
  l.setMouseIcon(QIcon(dibujo));
  kestrin::Propiedades p;
  l.GuardaPropiedades(p);
  const std::vector<kestrin::Cadena> nombres = p.Nombres();
  ASSERT_GE(nombres.size(), 2u);
  EXPECT_EQ(nombres[nombres.size() - 2], U"MousePointer");
  EXPECT_EQ(nombres.back(), U"MouseIcon");
  ORVRotLabel otra(&ventana);
  p.OlvidaLecturas();
  otra.LeePropiedades(p);
  EXPECT_EQ(p.Lecturas(), nombres);
  EXPECT_EQ(otra.MousePointer(), 99);
  EXPECT_FALSE(otra.MouseIcon().isNull());
  EXPECT_EQ(otra.cursor().shape(), Qt::BitmapCursor);
  ORVRotLabel nueva(&ventana);
  nueva.LeePropiedades(kestrin::Propiedades());
  EXPECT_TRUE(nueva.MouseIcon().isNull());
}

}  // namespace
}  // namespace pemmick
