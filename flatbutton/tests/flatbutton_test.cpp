// The flat button: Click only for a press that ends over the button, the
// caption's place, and its saved properties.
#include "plankett/plankett.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>

#include "kestrin/errores.h"
#include "qtcomun/traducciones.h"

namespace plankett {
namespace {

using Tipo = QEvent::Type;

// Sends a pointer event at (x, y) with the given buttons held afterwards.
void raton(QWidget& w, Tipo tipo, int x, int y, Qt::MouseButtons sostenidos) {
  const Qt::MouseButton boton = tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent evento(tipo, QPointF(x, y), w.mapToGlobal(QPointF(x, y)), boton, sostenidos,
                     Qt::NoModifier);
  QApplication::sendEvent(&w, &evento);
}

struct Boton : testing::Test {
  QWidget ventana;
  FlatButton* boton = new FlatButton(&ventana);
  Boton() {
    boton->setGeometry(0, 0, 80, 24);
    boton->setCaption(QStringLiteral("Cifra"));
  }
};

TEST_F(Boton, ClickOnlyWhenThePressEndsOverTheButton) {
  struct Paso {
    Tipo tipo;
    int x, y;
    bool sostenido;
  };
  struct Caso {
    const char* nombre;
    std::vector<Paso> pasos;
    int clicks;
  };
  const Tipo mueve = QEvent::MouseMove, pulsa = QEvent::MouseButtonPress,
             suelta = QEvent::MouseButtonRelease, doble = QEvent::MouseButtonDblClick;
  const Caso casos[] = {
      {"pulsa y suelta",
       {{mueve, 10, 10, false}, {pulsa, 10, 10, true}, {suelta, 10, 10, false}},
       1},
      {"arrastra fuera",
       {{mueve, 10, 10, false},
        {pulsa, 10, 10, true},
        {mueve, 120, 10, true},
        {suelta, 120, 10, false}},
       0},
      {"fuera y vuelve",
       {{mueve, 10, 10, false},
        {pulsa, 10, 10, true},
        {mueve, 10, 40, true},
        {mueve, 20, 12, true},
        {suelta, 20, 12, false}},
       1},
      {"borde incluido",
       {{mueve, 80, 24, false},
        {pulsa, 80, 24, true},
        {mueve, 80, 24, true},
        {suelta, 80, 24, false}},
       1},
      {"doble clic",
       {{mueve, 5, 5, false},
        {pulsa, 5, 5, true},
        {suelta, 5, 5, false},
        {doble, 5, 5, true},
        {suelta, 5, 5, false}},
       2},
      {"suelta sin pulsar", {{mueve, 5, 5, false}, {suelta, 5, 5, false}}, 0},
  };
  for (const Caso& c : casos) {
    QSignalSpy clicks(boton, &FlatButton::Click);
    for (const Paso& p : c.pasos) {
      raton(*boton, p.tipo, p.x, p.y, p.sostenido ? Qt::LeftButton : Qt::NoButton);
    }
    EXPECT_EQ(clicks.count(), c.clicks) << c.nombre;
    EXPECT_FALSE(boton->Pulsado()) << c.nombre;
    raton(*boton, mueve, 500, 500, Qt::NoButton);  // leave between cases
    EXPECT_FALSE(boton->Encima()) << c.nombre;
  }
}

TEST_F(Boton, StatesFollowThePointer) {
  raton(*boton, QEvent::MouseMove, 10, 10, Qt::NoButton);
  EXPECT_TRUE(boton->Encima());
  EXPECT_FALSE(boton->Pulsado());
  raton(*boton, QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);
  EXPECT_TRUE(boton->Pulsado());
  raton(*boton, QEvent::MouseMove, -1, 10, Qt::LeftButton);
  EXPECT_FALSE(boton->Encima());
  EXPECT_FALSE(boton->Pulsado());
  raton(*boton, QEvent::MouseMove, 3, 3, Qt::LeftButton);  // back in, still held
  EXPECT_TRUE(boton->Pulsado());
  raton(*boton, QEvent::MouseButtonRelease, 3, 3, Qt::NoButton);
  EXPECT_TRUE(boton->Encima());
  QEvent sale(QEvent::Leave);
  QApplication::sendEvent(boton, &sale);
  EXPECT_FALSE(boton->Encima());
}

TEST_F(Boton, ADisabledButtonRaisesNothing) {
  QSignalSpy clicks(boton, &FlatButton::Click);
  boton->setEnabled(false);
  EXPECT_FALSE(boton->Enabled());
  raton(*boton, QEvent::MouseMove, 10, 10, Qt::NoButton);
  raton(*boton, QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);
  raton(*boton, QEvent::MouseButtonRelease, 10, 10, Qt::NoButton);
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_FALSE(boton->Pulsado());
  EXPECT_FALSE(boton->grab().isNull());  // paints etched without trouble
}

TEST_F(Boton, CaptionIsCentredAndAWideOneStartsLeftOfTheButton) {
  const QFontMetrics medidas(boton->font());
  const QString textos[] = {QStringLiteral("Cifra"), QStringLiteral(""),
                            QStringLiteral("Un rótulo mucho más ancho que el botón entero")};
  for (const QString& texto : textos) {
    boton->setCaption(texto);
    const QPoint esperado((80 - medidas.horizontalAdvance(texto)) / 2, (24 - medidas.height()) / 2);
    EXPECT_EQ(boton->OrigenTexto(), esperado) << texto.toStdString();
  }
  EXPECT_LT(boton->OrigenTexto().x(), 0);
  boton->resize(200, 60);
  EXPECT_EQ(boton->OrigenTexto().y(), (60 - medidas.height()) / 2);
  boton->setBorderStyle(FlatButton::ConBorde);  // the border takes a pixel each side
  EXPECT_EQ(boton->OrigenTexto().y(), 1 + (58 - medidas.height()) / 2);
}

TEST_F(Boton, PropertiesAreSavedAndReadInTheirOrder) {
  const std::vector<kestrin::Cadena> orden = {U"BorderStyle", U"Appearance", U"Font",
                                              U"Caption",     U"Enabled",    U"TextColor",
                                              U"HoverColor",  U"BackColor",  U"Style"};
  QSignalSpy avisos(boton, &FlatButton::PropertyChanged);
  boton->setTextColor(0x0000FF);
  boton->setHoverColor(0x8000000E);
  boton->setBackColor(0x00FFFFFF);
  boton->setStyle(FlatButton::Estilo3D);
  boton->setBorderStyle(FlatButton::ConBorde);
  boton->setAppearance(0);
  QFont fuente = boton->font();
  fuente.setPointSize(13);
  fuente.setBold(true);
  boton->setFont(fuente);
  boton->setEnabled(false);
  EXPECT_EQ(avisos.count(), 8);

  kestrin::Propiedades bolsa;
  boton->EscribePropiedades(bolsa);
  EXPECT_EQ(bolsa.Nombres(), orden);

  // Through the text form and into a new button.
  const auto leida = kestrin::Propiedades::desdeTexto(bolsa.aTexto());
  ASSERT_TRUE(leida.has_value());
  FlatButton copia(&ventana);
  copia.LeePropiedades(*leida);
  EXPECT_EQ(leida->Lecturas(), orden);
  EXPECT_EQ(copia.Caption(), QStringLiteral("Cifra"));
  EXPECT_EQ(copia.TextColor(), 0x0000FFu);
  EXPECT_EQ(copia.HoverColor(), 0x8000000Eu);
  EXPECT_EQ(copia.BackColor(), 0x00FFFFFFu);
  EXPECT_EQ(copia.Style(), FlatButton::Estilo3D);
  EXPECT_EQ(copia.BorderStyle(), FlatButton::ConBorde);
  EXPECT_EQ(copia.Appearance(), 0);
  EXPECT_EQ(copia.Font().pointSize(), 13);
  EXPECT_TRUE(copia.Font().bold());
  EXPECT_FALSE(copia.Enabled());
}

TEST_F(Boton, NewInstanceAndBadStoredValuesGetTheDefaults) {
  ventana.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
  FlatButton nuevo(&ventana);
  nuevo.setObjectName(QStringLiteral("cmdCifra"));
  nuevo.IniciaPropiedades();
  EXPECT_EQ(nuevo.Caption(), QStringLiteral("cmdCifra"));
  EXPECT_EQ(nuevo.Font().pointSize(), 11);
  EXPECT_EQ(nuevo.TextColor(), kColorTextoBoton);
  EXPECT_EQ(nuevo.HoverColor(), kColorResaltado);
  EXPECT_EQ(nuevo.BackColor(), kColorCaraBoton);
  EXPECT_EQ(nuevo.Style(), FlatButton::plano);
  EXPECT_EQ(nuevo.BorderStyle(), FlatButton::SinBorde);
  EXPECT_EQ(nuevo.Appearance(), 1);
  EXPECT_TRUE(nuevo.Enabled());

  kestrin::Propiedades mala;
  mala.Escribe(U"BorderStyle", kestrin::Variante{int32_t{7}});
  mala.Escribe(U"TextColor", kestrin::Variante{kestrin::Cadena(U"rojo")});
  mala.Escribe(U"Caption", kestrin::Variante{int32_t{5}});
  mala.Escribe(U"Enabled", kestrin::Variante{kestrin::Cadena(U"sí")});
  mala.Escribe(U"Style", kestrin::Variante{int32_t{-1}});
  mala.Escribe(U"Font", kestrin::Variante{kestrin::Cadena(U"")});
  nuevo.LeePropiedades(mala);
  EXPECT_EQ(nuevo.BorderStyle(), FlatButton::SinBorde);
  EXPECT_EQ(nuevo.TextColor(), kColorTextoBoton);
  EXPECT_EQ(nuevo.Caption(), QStringLiteral("cmdCifra"));
  EXPECT_TRUE(nuevo.Enabled());
  EXPECT_EQ(nuevo.Style(), FlatButton::plano);
  EXPECT_EQ(nuevo.Font().pointSize(), 11);

  for (int valor : {-1, 2}) {
    try {
      nuevo.setStyle(valor);
      ADD_FAILURE() << valor;
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), 380);
    }
    EXPECT_THROW(nuevo.setBorderStyle(valor), kestrin::ErrorORV);
  }
}

TEST(Colores, SystemColoursComeFromThePaletteAndRgbHasRedLow) {
  QPalette paleta;
  paleta.setColor(QPalette::Button, QColor(1, 2, 3));
  paleta.setColor(QPalette::ButtonText, QColor(4, 5, 6));
  paleta.setColor(QPalette::Highlight, QColor(7, 8, 9));
  paleta.setColor(QPalette::Light, QColor(10, 11, 12));
  paleta.setColor(QPalette::Dark, QColor(13, 14, 15));
  struct Caso {
    uint32_t valor;
    QColor color;
  };
  for (const Caso& c :
       {Caso{0x8000000F, QColor(1, 2, 3)}, Caso{0x80000012, QColor(4, 5, 6)},
        Caso{0x8000000D, QColor(7, 8, 9)}, Caso{0x80000014, QColor(10, 11, 12)},
        Caso{0x80000010, QColor(13, 14, 15)}, Caso{0x000000FF, QColor(255, 0, 0)},
        Caso{0x00FF0000, QColor(0, 0, 255)}, Caso{0x00123456, QColor(0x56, 0x34, 0x12)}}) {
    EXPECT_EQ(colorORV(c.valor, paleta), c.color) << std::hex << c.valor;
  }
  EXPECT_EQ(valorORV(QColor(0x56, 0x34, 0x12)), 0x00123456u);
}

// The button and the other controls show a system colour alike.
TEST(Colores, SystemColoursAreTheControlsSharedTable) {
  QPalette paleta;
  for (int r = 0; r < QPalette::NColorRoles; ++r) {
    paleta.setColor(QPalette::ColorRole(r), QColor(r * 10, 50, 99));
    paleta.setColor(QPalette::Disabled, QPalette::ColorRole(r), QColor(r * 10, 150, 99));
  }
  for (uint32_t n = 0; n < 0x20; ++n) {
    EXPECT_EQ(colorORV(0x80000000u | n, paleta), qtcomun::color(0x80000000u | n, paleta)) << n;
  }
}

}  // namespace
}  // namespace plankett
