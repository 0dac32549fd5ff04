// Resizing rules: the edges of each kind of source, each rule's arithmetic,
// and the order rules apply in.
#include "resizer/resizer.h"

#include <gtest/gtest.h>

#include <QTest>

namespace resizer {
namespace {

TEST(Autosizer, WindowSourceLosesItsDockedBandsOnTheRightOnly) {
  QWidget ventana;
  ventana.resize(400, 300);
  auto* barra = new QWidget(&ventana);
  barra->setGeometry(0, 0, 60, 300);
  barra->setProperty("Align", 3);
  auto* estado = new QWidget(&ventana);
  estado->setGeometry(0, 280, 400, 20);
  estado->setProperty("Align", 2);
  auto* caja = new QWidget(&ventana);
  caja->setGeometry(70, 10, 50, 30);
  auto* lista = new QWidget(&ventana);
  lista->setGeometry(70, 50, 50, 30);

  Autosizer a;
  a.AddRule(RRSizeToWidth, &ventana, 5, {caja});
  a.AddRule(RRSizeToBottom, &ventana, 5, {lista});
  a.setTargetForm(&ventana);
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  EXPECT_EQ(caja->geometry(), QRect(5, 10, 330, 30));    // (400 − 60) − 2 × 5, from x = 0 + 5
  EXPECT_EQ(lista->geometry(), QRect(70, 50, 50, 225));  // (300 − 20) − 50 − 5

  ventana.resize(500, 200);  // the window's resizes apply the rules
  EXPECT_EQ(caja->geometry(), QRect(5, 10, 430, 30));
  EXPECT_EQ(lista->geometry(), QRect(70, 50, 50, 125));
  barra->hide();  // a hidden bar takes no band
  a.Resize();
  EXPECT_EQ(caja->geometry(), QRect(5, 10, 490, 30));
}

TEST(Autosizer, EachRuleAgainstAContainerAndASibling) {
  QWidget ventana;
  auto* panel = new QWidget(&ventana);
  panel->setGeometry(20, 30, 100, 60);
  struct Caso {
    const char* nombre;
    int32_t regla;
    bool contenedor;  // destination inside the panel, or beside it
    int32_t borde;
    QRect antes, despues;
  };
  const Caso casos[] = {
      {"ancho en panel", RRSizeToWidth, true, 4, {9, 9, 10, 10}, {4, 9, 92, 10}},
      {"ancho junto al panel", RRSizeToWidth, false, 4, {9, 9, 10, 10}, {24, 9, 92, 10}},
      {"a la derecha", RRSizeToRight, true, 3, {10, 5, 10, 10}, {10, 5, 87, 10}},
      {"a la derecha, hermano", RRSizeToRight, false, 0, {30, 5, 10, 10}, {30, 5, 90, 10}},
      {"hasta abajo", RRSizeToBottom, true, 2, {1, 20, 10, 10}, {1, 20, 10, 38}},
      {"hasta abajo, hermano", RRSizeToBottom, false, 0, {1, 40, 10, 10}, {1, 40, 10, 50}},
      {"alinea a la derecha", RRAlignRightToRight, true, 5, {0, 0, 30, 10}, {65, 0, 30, 10}},
      {"alinea, hermano", RRAlignRightToRight, false, 0, {0, 0, 30, 10}, {90, 0, 30, 10}},
      {"llena sin borde", RRFill, true, 0, {3, 3, 3, 3}, {0, 0, 100, 60}},
      {"llena con borde", RRFill, true, 6, {3, 3, 3, 3}, {6, 6, 88, 48}},
      {"llena, hermano", RRFill, false, 0, {3, 3, 3, 3}, {20, 30, 100, 60}},
      {"negativo no se escribe", RRSizeToRight, true, 0, {150, 0, 10, 10}, {150, 0, 10, 10}},
      {"regla desconocida", 17, true, 0, {1, 2, 3, 4}, {1, 2, 3, 4}},
  };
  for (const Caso& c : casos) {
    QWidget destino(c.contenedor ? panel : &ventana);
    destino.setGeometry(c.antes);
    Autosizer a;
    a.AddRule(c.regla, panel, c.borde, {&destino});
    a.Resize();
    EXPECT_EQ(destino.geometry(), c.despues) << c.nombre;
  }
}

TEST(Autosizer, SameSizeSharesTheSourceExactly) {
  QWidget panel;
  panel.resize(100, 50);
  struct Caso {
    int32_t regla, borde, n;
    std::vector<std::pair<int, int>> posicionYTamano;
  };
  const Caso casos[] = {
      {RRSameHSize, 0, 2, {{0, 50}, {50, 50}}},
      {RRSameHSize, 0, 3, {{0, 34}, {34, 33}, {67, 33}}},
      {RRSameHSize, 4, 3, {{4, 28}, {36, 28}, {68, 28}}},
      {RRSameHSize, 5, 3, {{5, 27}, {37, 27}, {69, 26}}},
      {RRSameVSize, 2, 4, {{2, 10}, {14, 10}, {26, 10}, {38, 10}}},
      {RRSameVSize, 0, 3, {{0, 17}, {17, 17}, {34, 16}}},
  };
  for (const Caso& c : casos) {
    std::vector<std::unique_ptr<QWidget>> hijos;
    std::vector<QObject*> destinos;
    for (int i = 0; i < c.n; ++i) {
      hijos.push_back(std::make_unique<QWidget>(&panel));
      hijos.back()->setGeometry(1, 1, 5, 5);
      destinos.push_back(hijos.back().get());
    }
    Autosizer a;
    a.AddRule(c.regla, &panel, c.borde, destinos);
    a.Resize();
    for (int i = 0; i < c.n; ++i) {
      const QRect g = hijos[i]->geometry();
      const auto obtenido =
          c.regla == RRSameHSize ? std::pair{g.x(), g.width()} : std::pair{g.y(), g.height()};
      EXPECT_EQ(obtenido, c.posicionYTamano[i]) << c.regla << " borde " << c.borde << " #" << i;
    }
  }
}

TEST(Autosizer, RulesApplyInOrderAndSkipWhatIsNotThere) {
  QWidget ventana;
  ventana.resize(200, 100);
  auto* panel = new QWidget(&ventana);
  panel->setGeometry(0, 0, 10, 40);
  auto* boton = new QWidget(&ventana);
  boton->setGeometry(0, 50, 10, 20);
  QObject noWidget;
  auto* efimero = new QWidget(&ventana);

  Autosizer a;
  a.Resize();                                                          // no rules: nothing happens
  a.AddRule(RRSizeToWidth, &ventana, 0, {panel, &noWidget, efimero});  // panel first
  a.AddRule(RRSameHSize, panel, 0, {boton});                           // then from the panel
  delete efimero;
  a.Resize();
  EXPECT_EQ(panel->geometry(), QRect(0, 0, 200, 40));
  EXPECT_EQ(boton->geometry(), QRect(0, 50, 200, 20));
  EXPECT_EQ(a.CuentaReglas(), 2u);

  a.setTargetForm(&ventana);
  a.setTargetForm(nullptr);  // no longer driven by the window
  ventana.resize(300, 100);
  ventana.show();
  EXPECT_EQ(panel->width(), 200);
}

TEST(Autosizer, CreatedByClassName) {
  registra();
  EXPECT_NE(std::dynamic_pointer_cast<Autosizer>(kestrin::CreaObjeto("Resizer.Autosizer")),
            nullptr);
}

}  // namespace
}  // namespace resizer
