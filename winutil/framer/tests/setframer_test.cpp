// Frame panels and the docking under them.
#include "framer/framer.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTextEdit>

namespace framer {
namespace {

QList<QWidget*> paneles(QWidget& ventana) {
  QList<QWidget*> lista;
  for (const char* nombre : {"PanelLeft", "PanelTop", "PanelRight", "PanelBottom"}) {
    lista += ventana.findChildren<QWidget*>(QLatin1String(nombre));
  }
  return lista;
}

TEST(SetFramer, SameBorderTwiceCreatesAndLaysOutOnce) {
  QWidget ventana;
  ventana.resize(400, 300);
  SetFramer marco;
  marco.setParent(&ventana);
  ASSERT_EQ(paneles(ventana).size(), 4);
  marco.setBorderLeft(50);
  const QList<QWidget*> primeros = paneles(ventana);
  marco.PanelLeft()->setGeometry(0, 0, 1, 1);  // a second layout would undo this
  marco.setBorderLeft(50);
  EXPECT_EQ(paneles(ventana), primeros);
  EXPECT_EQ(marco.PanelLeft()->geometry(), QRect(0, 0, 1, 1));
}

TEST(SetFramer, PanelsFrameTheClientAreaOfAMainWindow) {
  QMainWindow ventana;
  auto* centro = new QTextEdit(&ventana);
  ventana.setCentralWidget(centro);
  ventana.resize(400, 300);
  SetFramer marco;
  marco.setParent(&ventana);
  marco.setBorderRight(30);
  marco.setBorderLeft(50);
  marco.setBorderTop(20);
  marco.setBorderBottom(10);  // takes effect at once, like the others
  ventana.show();

  struct Caso {
    QWidget* panel;
    QRect geometria;
  };
  for (const Caso& c : {Caso{marco.PanelRight(), QRect(370, 0, 30, 300)},
                        Caso{marco.PanelLeft(), QRect(0, 0, 50, 300)},
                        Caso{marco.PanelTop(), QRect(50, 0, 320, 20)},
                        Caso{marco.PanelBottom(), QRect(50, 290, 320, 10)}}) {
    EXPECT_EQ(c.panel->geometry(), c.geometria) << c.panel->objectName().toStdString();
    EXPECT_TRUE(c.panel->isVisible());
    EXPECT_EQ(Align(c.panel) == kAlineaArriba || Align(c.panel) == kAlineaAbajo,
              c.panel == marco.PanelTop() || c.panel == marco.PanelBottom());
  }
  EXPECT_EQ(centro->geometry(), QRect(50, 20, 320, 270));

  // The docking follows the window's size.
  ventana.resize(500, 200);
  EXPECT_EQ(marco.PanelRight()->geometry(), QRect(470, 0, 30, 200));
  EXPECT_EQ(centro->geometry(), QRect(50, 20, 420, 170));
}

TEST(SetFramer, AParentThatCannotHoldPanelsGetsNone) {
  QObject noVentana;
  SetFramer marco;
  marco.setParent(&noVentana);
  marco.setBorderLeft(40);
  EXPECT_EQ(marco.PanelLeft(), nullptr);
  EXPECT_EQ(marco.Parent(), &noVentana);
  marco.setParent(nullptr);
  marco.setBorderTop(5);
  EXPECT_EQ(marco.PanelTop(), nullptr);
}

TEST(SetFramer, PanelsFollowANewParentAndTheOldOneIsFreed) {
  QWidget primera, segunda;
  primera.resize(200, 100);
  segunda.resize(300, 100);
  SetFramer marco;
  marco.setBorderLeft(25);
  marco.setParent(&primera);
  EXPECT_EQ(primera.contentsMargins().left(), 25);
  marco.setParent(&segunda);
  EXPECT_TRUE(paneles(primera).isEmpty());
  EXPECT_EQ(paneles(segunda).size(), 4);
  EXPECT_EQ(primera.contentsMargins(), QMargins());
  EXPECT_EQ(segunda.contentsMargins(), QMargins(25, 0, 0, 0));

  {
    auto* efimera = new QWidget;
    marco.setParent(efimera);
    delete efimera;
  }
  EXPECT_EQ(marco.Parent(), nullptr);
  EXPECT_EQ(marco.PanelLeft(), nullptr);
  marco.setParent(&primera);
  EXPECT_EQ(paneles(primera).size(), 4);
}

TEST(Acoplado, DockedChildrenTakeBandsInOrderAndHiddenOnesNone) {
  QWidget ventana;
  ventana.resize(300, 200);
  auto* barra = new QWidget(&ventana);
  barra->resize(60, 10);
  setAlign(barra, kAlineaIzquierda);
  auto* estado = new QWidget(&ventana);
  estado->resize(10, 22);
  setAlign(estado, kAlineaAbajo);
  auto* suelto = new QWidget(&ventana);
  suelto->setGeometry(100, 100, 5, 5);
  ventana.show();
  EXPECT_EQ(barra->geometry(), QRect(0, 0, 60, 200));
  EXPECT_EQ(estado->geometry(), QRect(60, 178, 240, 22));
  EXPECT_EQ(suelto->geometry(), QRect(100, 100, 5, 5));
  EXPECT_EQ(Align(suelto), kSinAlinear);

  barra->hide();
  EXPECT_EQ(estado->geometry(), QRect(0, 178, 300, 22));
  EXPECT_EQ(ventana.contentsMargins(), QMargins(0, 0, 0, 22));
  barra->show();
  barra->resize(80, 200);  // dragged wider
  EXPECT_EQ(estado->geometry(), QRect(80, 178, 220, 22));
  delete estado;
  EXPECT_EQ(ventana.contentsMargins(), QMargins(80, 0, 0, 0));
  setAlign(barra, 9);
  EXPECT_EQ(Align(barra), kSinAlinear);
  EXPECT_EQ(ventana.contentsMargins(), QMargins());
}

TEST(SetFramer, CreatedByClassName) {
  registra();
  EXPECT_NE(std::dynamic_pointer_cast<SetFramer>(kestrin::CreaObjeto("Framer.SetFramer")), nullptr);
}

}  // namespace
}  // namespace framer
