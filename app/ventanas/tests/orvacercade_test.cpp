// The About window: texts, timer, closing paths and the frame it hides.
#include "orv/orvacercade.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "orv/version.h"
#include "pemmick/orvrotlabel.h"
#include "plankett/flatbutton.h"

namespace orv {
namespace {

TEST(Version, PlainNumbersWithoutPadding) {
  struct Caso {
    Version v;
    const char* texto;
    const char* fichero;
  };
  const Caso casos[] = {
      {{2, 5, 3}, "Versión 2.5 Rev. 3", "2.05.0003"},
      {{2, 10, 0}, "Versión 2.10 Rev. 0", "2.10.0000"},
      {{12, 0, 1234}, "Versión 12.0 Rev. 1234", "12.00.1234"},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(textoVersion(c.v), QString::fromUtf8(c.texto));
    EXPECT_EQ(versionFichero(c.v), QString::fromUtf8(c.fichero));
  }
  EXPECT_EQ(textoVersion(), QStringLiteral("Versión 2.5 Rev. 3"));
}

TEST(ORVAcercaDe, LoadFillsTheTextsAndHidesTheFrame) {
  QWidget principal;
  principal.show();
  QPointer<ORVAcercaDe> acerca = new ORVAcercaDe(&principal);
  acerca->show();
  EXPECT_FALSE(principal.isVisible());
  EXPECT_EQ(acerca->windowTitle(), QString());
  EXPECT_EQ(acerca->LabelTitulo()->Caption(), QStringLiteral("Orvane"));
  EXPECT_EQ(acerca->lblVersion()->text(), QStringLiteral("Versión 2.5 Rev. 3"));
  EXPECT_EQ(acerca->Label1()->text(),
            QStringLiteral("Juegos y experiencias sobre criptografía y criptoanálisis."));
  EXPECT_EQ(acerca->lblDescription()->text(), QStringLiteral("Experiencias en criptología"));
  EXPECT_TRUE(acerca->lblDescription()->font().bold());
  EXPECT_EQ(acerca->lblDisclaimer()->text(), ORVAcercaDe::LineaAutor());
  EXPECT_EQ(acerca->lblDisclaimer()->toolTip(),
            QStringLiteral("Pulse para información sobre el autor"));
  EXPECT_EQ(acerca->cmdOK()->Caption(), QStringLiteral("Aceptar"));
  EXPECT_TRUE(acerca->Timer()->isActive());
  EXPECT_EQ(acerca->Timer()->interval(), 5000);
  // The title band runs down the whole left edge.
  EXPECT_EQ(acerca->LabelTitulo()->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(acerca->LabelTitulo()->height(), acerca->height());
  delete acerca.data();
}

// Every way of closing unloads the window and brings the frame back.
TEST(ORVAcercaDe, EveryClosingPathShowsTheFrameAgain) {
  enum Cierre { kTimer, kBoton, kFoco, kCierre };
  for (Cierre c : {kTimer, kBoton, kFoco, kCierre}) {
    QWidget principal;
    QPointer<ORVAcercaDe> acerca = new ORVAcercaDe(&principal);
    acerca->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(acerca));
    ASSERT_FALSE(principal.isVisible());
    switch (c) {
      case kTimer:
        acerca->Timer()->setInterval(1);  // the five seconds, cut short
        acerca->Timer()->start();
        break;
      case kBoton:
        QTest::mouseClick(acerca->cmdOK(), Qt::LeftButton);
        break;
      case kFoco: {
        QEvent activa(QEvent::WindowActivate);
        QApplication::sendEvent(acerca, &activa);
        QEvent desactiva(QEvent::WindowDeactivate);
        QApplication::sendEvent(acerca, &desactiva);
        break;
      }
      case kCierre:
        acerca->close();
        break;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return acerca.isNull(); }, 2000)) << c;
    EXPECT_TRUE(principal.isVisible()) << c;
  }
}

TEST(ORVAcercaDe, DeactivationBeforeItWasEverActiveDoesNotClose) {
  QPointer<ORVAcercaDe> acerca = new ORVAcercaDe(nullptr);
  acerca->show();
  QEvent desactiva(QEvent::WindowDeactivate);
  QApplication::sendEvent(acerca, &desactiva);
  QTest::qWait(20);
  EXPECT_FALSE(acerca.isNull());
  delete acerca.data();
}

TEST(ORVAcercaDe, AuthorLineOpensThePageAndAFailureKeepsTheWindow) {
  QList<QUrl> abiertas;
  ORVAcercaDe::fijaAbreUrl([&](const QUrl& url) {
    abiertas << url;
    return false;
  });
  QPointer<ORVAcercaDe> acerca = new ORVAcercaDe(nullptr);
  acerca->show();
  QTest::mouseClick(acerca->lblDisclaimer(), Qt::LeftButton);
  ORVAcercaDe::fijaAbreUrl(nullptr);
  ASSERT_EQ(abiertas.size(), 1);
  EXPECT_EQ(abiertas[0], ORVAcercaDe::PaginaAutor());
  EXPECT_FALSE(acerca.isNull());
  EXPECT_TRUE(acerca->isVisible());
  delete acerca.data();
}

}  // namespace
}  // namespace orv
