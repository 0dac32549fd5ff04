// Qt's own texts (standard dialogs, context menus, message-box buttons) come
// out in Spanish once the start-up has loaded its translations, whatever the
// user's locale.
#include <gtest/gtest.h>

#include <ostream>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "orv/arranque.h"
#include "pemmick/orvexttextbox.h"

// Failures show the texts, not their code units.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << s.toStdString();
}

namespace orv {
namespace {

// A widget's text as the user reads it: without the mnemonic marks and
// without the shortcut a menu item shows after a tab.
QString leido(QString texto) {
  texto = texto.section(QLatin1Char('\t'), 0, 0);
  texto.remove(QLatin1Char('&'));
  return texto;
}

class TraduccionesTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // An English-speaking user: the translations do not depend on the locale.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(instalaTraducciones()) << "faltan las traducciones de Qt (scripts/deps.sh)";
    EXPECT_TRUE(instalaTraducciones());  // a second call finds them in place
  }
  static void TearDownTestSuite() { QLocale::setDefault(QLocale::system()); }
};

TEST_F(TraduccionesTest, MessageBoxButtonsAreSpanish) {
  QMessageBox caja(QMessageBox::Question, QStringLiteral("Título"), QStringLiteral("Texto"),
                   QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
  const std::pair<QMessageBox::StandardButton, QString> casos[] = {
      {QMessageBox::Ok, QStringLiteral("Aceptar")},
      {QMessageBox::Cancel, QStringLiteral("Cancelar")},
      {QMessageBox::Yes, QStringLiteral("Sí")},
      {QMessageBox::No, QStringLiteral("No")},
  };
  for (const auto& [boton, texto] : casos) {
    ASSERT_NE(caja.button(boton), nullptr);
    EXPECT_EQ(leido(caja.button(boton)->text()), texto);
  }
}

// The text box's own context menu is built from the area's standard one.
TEST_F(TraduccionesTest, TextBoxContextMenuIsSpanish) {
  QWidget ventana;
  ventana.resize(400, 200);
  auto* caja = new pemmick::ORVExtTextBox(&ventana);
  caja->setGeometry(0, 0, 400, 200);
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  caja->area()->setPlainText(QStringLiteral("texto"));
  QWidget* donde = caja->area()->viewport();
  QContextMenuEvent evento(QContextMenuEvent::Mouse, QPoint(20, 20),
                           donde->mapToGlobal(QPoint(20, 20)));
  QApplication::sendEvent(donde, &evento);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QStringList textos;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) textos << leido(a->text());
  menu->close();
  EXPECT_EQ(textos, (QStringList{QStringLiteral("Deshacer"), QStringLiteral("Rehacer"),
                                 QStringLiteral("Cortar"), QStringLiteral("Copiar"),
                                 QStringLiteral("Pegar"), QStringLiteral("Borrar"),
                                 QStringLiteral("Seleccionar todo")}));
}

TEST_F(TraduccionesTest, FileDialogIsSpanish) {
  QFileDialog dialogo(nullptr, QStringLiteral("Archivo para guardar"), QDir::tempPath(),
                      QStringLiteral("Archivos de texto de Orvane (*.ORV)"));
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  const std::pair<const char*, QString> etiquetas[] = {
      {"lookInLabel", QStringLiteral("Ver en:")},
      {"fileNameLabel", QStringLiteral("Nombre de fichero:")},
      {"fileTypeLabel", QStringLiteral("Ficheros de tipo:")},
  };
  for (const auto& [nombre, texto] : etiquetas) {
    auto* etiqueta = dialogo.findChild<QLabel*>(QLatin1String(nombre));
    ASSERT_NE(etiqueta, nullptr) << nombre;
    EXPECT_EQ(leido(etiqueta->text()), texto) << nombre;
  }
  auto* botones = dialogo.findChild<QDialogButtonBox*>();
  ASSERT_NE(botones, nullptr);
  EXPECT_EQ(leido(botones->button(QDialogButtonBox::Save)->text()), QStringLiteral("Guardar"));
  EXPECT_EQ(leido(botones->button(QDialogButtonBox::Cancel)->text()), QStringLiteral("Cancelar"));
}

}  // namespace
}  // namespace orv
