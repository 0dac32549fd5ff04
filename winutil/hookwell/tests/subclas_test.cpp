// Window-message interception: registered messages are taken, the rest pass,
// and the hook table follows the widgets' lives.
#include "hookwell/hookwell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>
#include <memory>

namespace hookwell {
namespace {

// Counts its own paints, as the widget's normal handling of message 15.
class Lienzo : public QWidget {
 public:
  using QWidget::QWidget;
  int pintados = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++pintados; }
};

struct Registro {
  std::vector<int32_t> mensajes;
  int conecta(SubClas& s, std::function<void(int32_t, int32_t&)> extra = {}) {
    return s.eventos.WndProc.conecta([this, extra](int32_t& m, int32_t&, int32_t&, int32_t& r) {
      mensajes.push_back(m);
      if (extra) extra(m, r);
    });
  }
};

TEST(SubClas, RegisteredPasteIsTakenUntilTheHandlerPassesItOn) {
  QPlainTextEdit caja;
  QApplication::clipboard()->setText(QStringLiteral("pegado"));
  SubClas hook;
  bool pasar = false;
  hook.eventos.WndProc.conecta([&](int32_t& m, int32_t& w, int32_t& l, int32_t&) {
    if (pasar) hook.CallWndProc(m, w, l);
  });
  hook.sethWnd(&caja);
  hook.setMessages(kWmPaste, true);

  QTest::keyClick(&caja, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(caja.toPlainText(), QString());
  pasar = true;
  QTest::keyClick(&caja, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(caja.toPlainText(), QStringLiteral("pegado"));

  // Unregistered messages behave as without the hook: copy and typing work.
  caja.selectAll();
  QTest::keyClick(&caja, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("pegado"));
  QTest::keyClicks(&caja, QStringLiteral("ab"));
  EXPECT_EQ(caja.toPlainText(), QStringLiteral("ab"));

  // Unhooked, paste reaches the widget again.
  hook.sethWnd(nullptr);
  pasar = false;
  QTest::keyClick(&caja, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(caja.toPlainText(), QStringLiteral("abpegado"));
}

TEST(SubClas, TheEditorsMenuSendsRegisteredCopyAndPaste) {
  QPlainTextEdit caja;
  caja.resize(200, 100);
  caja.show();
  QApplication::clipboard()->setText(QStringLiteral("del menú"));
  SubClas hook;
  Registro registro;
  registro.conecta(hook);
  hook.sethWnd(&caja);
  hook.setMessages(kWmPaste, true);

  // Opens the editor's menu at a point of its text area and chooses an entry.
  auto elige = [&](const char* nombre) {
    QContextMenuEvent evento(QContextMenuEvent::Mouse, QPoint(20, 20),
                             caja.viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(caja.viewport(), &evento);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return false;
    for (QAction* accion : menu->actions()) {
      if (accion->objectName() == QLatin1String(nombre)) accion->trigger();
    }
    menu->close();
    return true;
  };
  ASSERT_TRUE(elige("edit-paste"));
  EXPECT_EQ(registro.mensajes, std::vector<int32_t>{kWmPaste});
  EXPECT_EQ(caja.toPlainText(), QString());  // the editor did not paste by itself

  // Copy is not registered: the menu's copy works as without the hook.
  caja.setPlainText(QStringLiteral("texto"));
  caja.selectAll();
  ASSERT_TRUE(elige("edit-copy"));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("texto"));
  EXPECT_EQ(registro.mensajes.size(), 1u);
  QApplication::processEvents();
}

// An editor with a menu of its own, whose Copy is enabled only with text.
class EditorPropio : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;
  int menus = 0;

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override {
    ++menus;
    QMenu* menu = createStandardContextMenu(e->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* a : menu->actions()) {
      if (a->objectName() == QLatin1String("edit-copy")) a->setEnabled(!toPlainText().isEmpty());
    }
    menu->popup(e->globalPos());
  }
};

TEST(SubClas, AWidgetsOwnMenuIsKeptAndItsEntriesRouted) {
  EditorPropio caja;
  caja.resize(200, 100);
  caja.show();
  SubClas hook;
  Registro registro;
  registro.conecta(hook);
  hook.sethWnd(&caja);
  hook.setMessages(kWmCopy, true);
  // Opens the menu; returns whether its Copy was enabled, choosing it if so.
  auto copia = [&] {
    QContextMenuEvent evento(QContextMenuEvent::Mouse, QPoint(5, 5),
                             caja.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(caja.viewport(), &evento);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    bool habilitada = false;
    if (menu == nullptr) return habilitada;
    for (QAction* accion : menu->actions()) {
      if (accion->objectName() != QLatin1String("edit-copy")) continue;
      habilitada = accion->isEnabled();
      accion->trigger();
    }
    menu->close();
    return habilitada;
  };
  QApplication::clipboard()->setText(QStringLiteral("antes"));
  EXPECT_FALSE(copia());  // empty: the widget's choice stands
  caja.setPlainText(QStringLiteral("texto"));
  caja.selectAll();
  EXPECT_TRUE(copia());
  EXPECT_EQ(caja.menus, 2);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("antes"));  // the hook took it
  EXPECT_EQ(registro.mensajes, std::vector<int32_t>{kWmCopy});
}

TEST(SubClas, PaintReachesTheWidgetOnlyThroughCallWndProc) {
  Lienzo lienzo;
  lienzo.resize(40, 30);
  lienzo.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&lienzo));
  SubClas hook;
  Registro registro;
  bool pasar = false;
  registro.conecta(hook, [&](int32_t m, int32_t&) {
    if (pasar) hook.CallWndProc(m, 0, 0);
  });
  hook.sethWnd(&lienzo);
  hook.sethWnd(&lienzo);  // the same widget twice hooks once
  EXPECT_EQ(VentanasEnganchadas(), 1u);
  hook.setMessages(kWmPaint, true);

  lienzo.pintados = 0;
  lienzo.repaint();
  EXPECT_EQ(lienzo.pintados, 0);
  EXPECT_EQ(registro.mensajes, std::vector<int32_t>{kWmPaint});
  pasar = true;
  lienzo.repaint();
  EXPECT_EQ(lienzo.pintados, 1);
  EXPECT_EQ(registro.mensajes.size(), 2u);

  // A paint sent as a message arrives as a real paint the handler can draw in.
  QEvent::Type tipo = QEvent::None;
  const int id = hook.eventos.WndProc.conecta([&](int32_t&, int32_t&, int32_t&, int32_t&) {
    if (hook.EventoActual() != nullptr) tipo = hook.EventoActual()->type();
  });
  EXPECT_EQ(EnviaMensaje(&lienzo, kWmPaint), 0);
  EXPECT_EQ(tipo, QEvent::Paint);
  EXPECT_EQ(lienzo.pintados, 2);
  hook.eventos.WndProc.desconecta(id);
  EXPECT_EQ(hook.EventoActual(), nullptr);
  lienzo.pintados = 1;

  hook.setMessages(kWmPaint, false);
  lienzo.repaint();
  EXPECT_EQ(lienzo.pintados, 2);
  EXPECT_EQ(registro.mensajes.size(), 3u);  // the unregistered paint was not seen
}

TEST(SubClas, MessagesKeepOrderWithoutDuplicates) {
  SubClas hook;
  for (int32_t m : {563, 770, 769, 770, 15}) hook.setMessages(m, true);
  hook.setMessages(770, false);
  hook.setMessages(999, false);
  EXPECT_EQ(hook.MensajesRegistrados(), (std::vector<int32_t>{563, 769, 15}));
  EXPECT_TRUE(hook.Messages(15));
  EXPECT_FALSE(hook.Messages(770));
}

TEST(SubClas, DestroyingTheWidgetRaises130AndEmptiesTheHook) {
  SubClas hook;
  Registro registro;
  registro.conecta(hook);
  hook.setMessages(kWmNcDestroy, true);
  {
    auto* marco = new QWidget;
    hook.sethWnd(marco);
    EXPECT_EQ(VentanasEnganchadas(), 1u);
    delete marco;
  }
  EXPECT_EQ(hook.hWnd(), nullptr);
  EXPECT_EQ(VentanasEnganchadas(), 0u);
  EXPECT_EQ(registro.mensajes, std::vector<int32_t>{kWmNcDestroy});
  hook.sethWnd(nullptr);  // nothing left to undo
}

TEST(SubClas, ASecondHookReplacesTheFirstAndSurvivesItsRelease) {
  QWidget ventana;
  Registro primero, segundo;
  auto viejo = std::make_unique<SubClas>();
  SubClas nuevo;
  primero.conecta(*viejo);
  segundo.conecta(nuevo);
  for (SubClas* s : {viejo.get(), &nuevo}) s->setMessages(kWmSysCommand, true);
  viejo->sethWnd(&ventana);
  nuevo.sethWnd(&ventana);
  EXPECT_EQ(VentanasEnganchadas(), 1u);

  EnviaMensaje(&ventana, kWmSysCommand, 10);
  viejo.reset();  // must not take the newer hook with it
  EnviaMensaje(&ventana, kWmSysCommand, 10);
  EXPECT_TRUE(primero.mensajes.empty());
  EXPECT_EQ(segundo.mensajes.size(), 2u);
  EXPECT_EQ(VentanasEnganchadas(), 1u);
  nuevo.sethWnd(nullptr);
  EXPECT_EQ(VentanasEnganchadas(), 0u);
}

TEST(SubClas, SentMessagesReturnTheHandlersResult) {
  QWidget ventana;
  SubClas hook;
  hook.sethWnd(&ventana);
  hook.setMessages(kWmSysCommand, true);
  hook.eventos.WndProc.conecta([&](int32_t& m, int32_t& w, int32_t& l, int32_t& r) {
    if (w == 10)
      r = 1;
    else if (w == 66)
      throw std::runtime_error("fallo del manejador");
    else
      r = hook.CallWndProc(m, w, l);
  });
  struct Caso {
    int32_t msg, wParam, esperado;
  };
  for (const Caso& c : {Caso{kWmSysCommand, 10, 1}, Caso{kWmSysCommand, 61536, 0},
                        Caso{kWmSysCommand, 66, 0}, Caso{kWmEraseBkgnd, 0, 0}}) {
    EXPECT_EQ(EnviaMensaje(&ventana, c.msg, c.wParam), c.esperado) << c.msg << " " << c.wParam;
  }
  EXPECT_EQ(EnviaMensaje(nullptr, kWmSysCommand, 10), 0);
  SubClas libre;
  EXPECT_EQ(libre.CallWndProc(kWmSysCommand, 10, 0), 0);
}

TEST(SubClas, FileDropsOnAScrollAreaReachTheHandlerWithTheirNames) {
  QPlainTextEdit caja;
  caja.resize(200, 100);
  caja.show();
  SubClas hook;
  QStringList recibidos;
  int32_t cuantos = 0;
  hook.eventos.WndProc.conecta([&](int32_t& m, int32_t& w, int32_t&, int32_t&) {
    if (m == kWmDropFiles) {
      cuantos = w;
      recibidos = hook.ArchivosSoltados();
    }
  });
  hook.sethWnd(&caja);
  hook.setMessages(kWmDropFiles, true);
  EXPECT_TRUE(caja.acceptDrops());

  QMimeData datos;
  datos.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/uno.ORV")),
                 QUrl::fromLocalFile(QStringLiteral("/tmp/dos.ORV"))});
  const QPointF punto(10, 10);
  QDragEnterEvent entra(punto.toPoint(), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(caja.viewport(), &entra);
  EXPECT_TRUE(entra.isAccepted());
  QDropEvent suelta(punto, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(caja.viewport(), &suelta);
  EXPECT_EQ(cuantos, 2);
  EXPECT_EQ(recibidos,
            (QStringList{QStringLiteral("/tmp/uno.ORV"), QStringLiteral("/tmp/dos.ORV")}));
  EXPECT_TRUE(hook.ArchivosSoltados().isEmpty());
  EXPECT_EQ(caja.toPlainText(), QString());  // the editor's own drop never ran
}

TEST(SubClas, FileDropsMakeAnAreaAcceptDropsOnlyWhileRegistered) {
  QMdiArea area;
  ASSERT_FALSE(area.viewport()->acceptDrops());
  SubClas hook;
  hook.sethWnd(&area);
  hook.setMessages(kWmDropFiles, true);
  EXPECT_TRUE(area.viewport()->acceptDrops());
  hook.setMessages(kWmDropFiles, false);
  EXPECT_FALSE(area.viewport()->acceptDrops());
  hook.setMessages(kWmDropFiles, true);
  hook.sethWnd(nullptr);  // unhooking gives the widget back as it was
  EXPECT_FALSE(area.viewport()->acceptDrops());
  EXPECT_FALSE(area.acceptDrops());
}

TEST(SubClas, AHandlerMayUnhookOrDestroyWhileItRuns) {
  auto ventana = std::make_unique<QWidget>();
  SubClas hook;
  hook.sethWnd(ventana.get());
  hook.setMessages(kWmSysCommand, true);
  hook.eventos.WndProc.conecta([&](int32_t&, int32_t&, int32_t&, int32_t& r) {
    hook.sethWnd(nullptr);
    r = 7;
  });
  EXPECT_EQ(EnviaMensaje(ventana.get(), kWmSysCommand), 7);
  EXPECT_EQ(VentanasEnganchadas(), 0u);
  EXPECT_EQ(EnviaMensaje(ventana.get(), kWmSysCommand), 0);

  auto propio = std::make_shared<SubClas>();
  propio->sethWnd(ventana.get());
  propio->setMessages(kWmSysCommand, true);
  propio->eventos.WndProc.conecta([&](int32_t&, int32_t&, int32_t&, int32_t& r) {
    propio.reset();
    r = 3;
  });
  EXPECT_EQ(EnviaMensaje(ventana.get(), kWmSysCommand), 3);
  EXPECT_EQ(VentanasEnganchadas(), 0u);
}

TEST(SubClas, CreatedByClassName) {
  registra();
  EXPECT_NE(std::dynamic_pointer_cast<SubClas>(kestrin::CreaObjeto("hookwell.subclas")), nullptr);
}

}  // namespace
}  // namespace hookwell
