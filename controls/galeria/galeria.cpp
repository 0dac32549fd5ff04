// Gallery of the controls: renders the menu bar, the rotated labels, the text
// box and a grid to PNG files for review by eye.
//
//   controles_galeria <output folder> [scale]
//
// Runs on any Qt platform (scripts/galeria.sh uses the offscreen one); the
// scale (default 2) renders as a high-density screen would.
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <QToolBar>

#include <cstdio>
#include <memory>

#include "framer/acoplado.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "pemmick/orvexttextbox.h"
#include "pemmick/orvrotlabel.h"
#include "rejilla/rejilla.h"
#include "vimbar/vimbar.h"

namespace {

// A menu icon: a rounded tile with a short symbol, drawn at every density.
QIcon icono(const QColor& fondo, const QString& simbolo) {
  QIcon i;
  for (const qreal escala : {1.0, 2.0, 3.0}) {
    QPixmap px(QSize(32, 32) * escala);
    px.setDevicePixelRatio(escala);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, fondo.lighter(125));
    g.setColorAt(1, fondo.darker(115));
    p.setPen(QPen(fondo.darker(160), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(simbolo.size() > 2 ? 11 : 15);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, simbolo);
    i.addPixmap(px);
  }
  return i;
}

bool guarda(QWidget* w, const QString& carpeta, const QString& nombre, qreal escala) {
  QPixmap px(w->size() * escala);
  px.setDevicePixelRatio(escala);
  px.fill(w->palette().color(QPalette::Window));
  w->render(&px);
  const QString ruta = QDir(carpeta).filePath(nombre);
  const bool ok = px.save(ruta, "PNG");
  std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "escrito" : "no se pudo escribir",
               qPrintable(QDir::toNativeSeparators(ruta)));
  return ok;
}

void llenaMenu(vimbar::Vimbar* barra) {
  barra->AddMenuGroup(QStringLiteral("Utilidades"));
  barra->AddMenuItem(1, QStringLiteral("Hoja de cálculo"), icono(QColor(0x2e, 0x8b, 0x57), QStringLiteral("Σ")),
                     QStringLiteral("calc"));
  barra->AddMenuItem(1, QStringLiteral("Primos"), icono(QColor(0x6a, 0x5a, 0xcd), QStringLiteral("p")),
                     QStringLiteral("primos"));
  barra->AddMenuItem(1, QStringLiteral("Analizador"), icono(QColor(0xcd, 0x85, 0x3f), QStringLiteral("IC")),
                     QStringLiteral("analiza"));
  barra->AddMenuGroup(QStringLiteral("Criptosistemas"));
  const struct {
    const char* nombre;
    const char* simbolo;
    QColor color;
    const char* clave;
  } items[] = {
      {"Afín", "ax+b", QColor(0x1f, 0x6f, 0xc4), "afin"},
      {"Sustitución", "A→Q", QColor(0x8b, 0x45, 0x13), "sust"},
      {"Vigenère", "V", QColor(0xb2, 0x22, 0x22), "vig"},
      {"XOR", "⊕", QColor(0x2f, 0x4f, 0x4f), "xor"},
      {"Hill", "M", QColor(0x55, 0x6b, 0x2f), "hill"},
      {"RSA", "RSA", QColor(0x4b, 0x00, 0x82), "RSA"},
      {"M-H Mochila", "MH", QColor(0x8b, 0x00, 0x8b), "MH"},
  };
  for (const auto& it : items)
    barra->AddMenuItem(2, QString::fromUtf8(it.nombre), icono(it.color, QString::fromUtf8(it.simbolo)),
                       QString::fromLatin1(it.clave));
}

void mueveRaton(QWidget* w, QPoint p) {
  QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "uso: controles_galeria <carpeta de salida> [escala]\n");
    return 2;
  }
  const QString carpeta = QString::fromLocal8Bit(argv[1]);
  const qreal escala = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : 2.0;
  if (!QDir().mkpath(carpeta) || escala <= 0) {
    std::fprintf(stderr, "no se puede usar la carpeta %s\n", argv[1]);
    return 1;
  }
  bool ok = true;

  // Menu bar: the main window's menu, one item under the pointer, a second
  // bar too short for its items so the scroll arrows show.
  {
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("Vimbar"));
    ventana.resize(290, 480);
    auto* barra = new vimbar::Vimbar(&ventana);
    barra->setGeometry(0, 0, 140, 480);
    llenaMenu(barra);
    auto* corta = new vimbar::Vimbar(&ventana);
    framer::setAlign(corta, framer::kSinAlinear);
    corta->setGeometry(150, 0, 140, 300);
    llenaMenu(corta);
    corta->setMenuGroupSel(1);
    ventana.show();
    QApplication::processEvents();
    QThread::msleep(250);
    QApplication::processEvents();
    // Item 3 of group 2: one icon every 64 pixels below the two buttons at the top.
    mueveRaton(barra->menu(), QPoint(barra->menu()->width() / 2, 64 * 3 - 32 + 18 + 16));
    corta->menu()->Refresh();
    ok &= guarda(&ventana, carpeta, QStringLiteral("vimbar.png"), escala);
  }

  // Rotated labels: embossed (the default), embossed with more relief and a
  // bold face, and flat.
  {
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("ORVRotLabel"));
    auto* fila = new QHBoxLayout(&ventana);
    const struct {
      const char* texto;
      bool tresD;
      float relieve;
      bool negrita;
      float tamano;
      uint32_t fondo;
    } casos[] = {
        {"Texto en claro", true, 10, false, 10, 0x8000000F},
        {"Texto cifrado", true, 20, true, 12, 0x808080},
        {"Clave", false, 10, true, 11, 0x8000000F},
    };
    for (const auto& c : casos) {
      auto* l = new pemmick::ORVRotLabel(&ventana);
      l->setCaption(QString::fromUtf8(c.texto));
      l->setFont3D(c.tresD);
      l->setRelieve(c.relieve);
      l->setFontBold(c.negrita);
      l->setFontSize(c.tamano);
      l->setBackColor(c.fondo);
      l->setFixedSize(34, 180);
      fila->addWidget(l);
    }
    ventana.show();
    QApplication::processEvents();
    ok &= guarda(&ventana, carpeta, QStringLiteral("orvrotlabel.png"), escala);
  }

  // Text box: a Vigenère text with its spaces shown as middle dots.
  {
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("ORVExtTextBox"));
    ventana.resize(460, 170);
    auto* caja = new pemmick::ORVExtTextBox(&ventana);
    caja->setGeometry(8, 8, 444, 154);
    caja->setMostrarEspaciosComo(QStringLiteral("·"));
    auto t = std::make_shared<kestrin::ORVTexto>();
    t->asigna(U"EN·UN·LUGAR·DE·LA·MANCHA,·DE·CUYO·NOMBRE·NO·QUIERO·ACORDARME,·NO·HA·MUCHO·"
              U"TIEMPO·QUE·VIVÍA·UN·HIDALGO·DE·LOS·DE·LANZA·EN·ASTILLERO,·ADARGA·ANTIGUA,·"
              U"ROCÍN·FLACO·Y·GALGO·CORREDOR.",
              kestrin::CSKVig);
    caja->setCSTexto(t);
    ventana.show();
    QApplication::processEvents();
    // The button under the pointer shows its coloured image.
    if (QWidget* boton = caja->barra()->widgetForAction(caja->boton(QStringLiteral("guardar")))) {
      boton->setAttribute(Qt::WA_UnderMouse, true);
      boton->update();
    }
    ok &= guarda(&ventana, carpeta, QStringLiteral("orvexttextbox.png"), escala);
  }

  // Text box with a ciphertext of one long line, shown where the box breaks
  // it into blocks: the break should read as an ordinary wrap.
  {
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("ORVExtTextBox, una línea larga"));
    ventana.resize(460, 170);
    auto* caja = new pemmick::ORVExtTextBox(&ventana);
    caja->setGeometry(8, 8, 444, 154);
    const kestrin::Cadena alfabeto = U"·abcdefghijklmnñopqrstuvwxyz0123456789.,;:-()¿?!¡";
    kestrin::Cadena cifrado;
    uint32_t x = 12345;
    for (int i = 0; i < 20000; ++i) {
      x = x * 1103515245u + 12345u;
      cifrado += alfabeto[(x >> 16) % alfabeto.size()];
    }
    auto t = std::make_shared<kestrin::ORVTexto>();
    t->asigna(cifrado, kestrin::CSKXOR);
    caja->setCSTexto(t);
    ventana.show();
    QApplication::processEvents();
    QTextCursor c(caja->area()->document()->begin().next());
    caja->area()->setTextCursor(c);
    caja->area()->centerCursor();
    QApplication::processEvents();
    ok &= guarda(&ventana, carpeta, QStringLiteral("orvexttextbox_larga.png"), escala);
  }

  // Grid: a period table as the Vigenère window fills it.
  {
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("Rejilla"));
    ventana.resize(420, 200);
    auto* r = new orv::Rejilla(&ventana);
    r->setGeometry(8, 8, 404, 184);
    const int M = 6;
    r->setColumnas(M + 1);
    r->setFilas(M + 1);
    r->setColorFondo(0xE0E0E0);
    r->setTexto(0, 0, QStringLiteral("m"));
    for (int c = 1; c <= M; ++c) {
      r->setTexto(0, c, QString::number(c));
      r->setFormatoColumna(c, QStringLiteral("0.000"));
      r->setAlineacionColumna(c, orv::CentroCentro);
      r->setAnchoColumna(c, 780);
    }
    r->setAnchoColumna(0, 450);
    const double ic[] = {0.0452, 0.0467, 0.0448, 0.0781, 0.0476, 0.0459};
    for (int m = 1; m <= M; ++m) {
      r->setTexto(m, 0, QString::number(m));
      for (int k = 1; k <= m; ++k) r->setTexto(m, k, QString::number(ic[(m + k) % M] + 0.001 * k, 'f', 4));
    }
    for (int c = 0; c <= M; ++c) {
      r->setColorFondoCelda(4, c, 0x6B2408);
      r->setColorTextoCelda(4, c, 0xFFFFFF);
    }
    ventana.show();
    QApplication::processEvents();
    ok &= guarda(&ventana, carpeta, QStringLiteral("rejilla.png"), escala);
  }
  return ok ? 0 : 1;
}
