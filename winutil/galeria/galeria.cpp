// Gallery of the window utilities, rendered to PNG at twice the pixel density
// for review by eye. Usage: winutil_galeria <carpeta>
//   marco.png     a main window framed by SetFramer, its client area painted
//                 through a SubClas hook with tiles and a transparent picture
//   autosizer_*.png  a window whose buttons and box follow Autosizer rules,
//                 at two widths
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QPlainTextEdit>
#include <cstdio>

#include "framer/framer.h"
#include "hookwell/hookwell.h"
#include "plankett/plankett.h"
#include "resizer/resizer.h"
#include "vitrel/vitrel.h"

namespace {

constexpr qreal kDensidad = 2;

bool guarda(QWidget& ventana, const QString& carpeta, const char* nombre) {
  QPixmap imagen(ventana.size() * kDensidad);
  imagen.setDevicePixelRatio(kDensidad);
  imagen.fill(ventana.palette().color(QPalette::Window));
  ventana.render(&imagen);
  const QString ruta = QDir(carpeta).filePath(QLatin1String(nombre));
  if (!imagen.save(ruta, "PNG")) {
    std::fprintf(stderr, "No se puede escribir %s\n", qPrintable(ruta));
    return false;
  }
  std::printf("%s\n", qPrintable(ruta));
  return true;
}

// A 24-pixel tile of soft diagonal stripes.
QPixmap azulejo() {
  QPixmap tesela(QSize(24, 24) * kDensidad);
  tesela.setDevicePixelRatio(kDensidad);
  tesela.fill(QColor(0x5a, 0x6e, 0x84));
  QPainter p(&tesela);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x66, 0x7b, 0x92), 3));
  p.drawLine(QPointF(-6, 30), QPointF(30, -6));
  p.drawLine(QPointF(-6, 6), QPointF(6, -6));
  p.drawLine(QPointF(18, 30), QPointF(30, 18));
  return tesela;
}

// The signature strip: dark lettering on white, white being the mask colour.
// Drawn without antialiasing so no near-white fringe survives the mask.
QImage firma() {
  QImage imagen(QSize(150, 34) * kDensidad, QImage::Format_RGB32);
  imagen.setDevicePixelRatio(kDensidad);
  imagen.fill(Qt::white);
  QPainter p(&imagen);
  QFont fuente(QStringLiteral("DejaVu Serif"), 17);
  fuente.setItalic(true);
  fuente.setBold(true);
  fuente.setStyleStrategy(QFont::NoAntialias);
  p.setFont(fuente);
  p.setPen(QColor(0xf2, 0xd4, 0x8a));
  p.drawText(QRect(0, 0, 150, 34), Qt::AlignCenter, QStringLiteral("Orvane"));
  return imagen;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "Uso: %s <carpeta de salida>\n", argv[0]);
    return 2;
  }
  const QString carpeta = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(carpeta)) {
    std::fprintf(stderr, "No se puede crear la carpeta %s\n", argv[1]);
    return 1;
  }
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  bool bien = true;

  // A framed main window with a hooked, decorated client area.
  {
    QMainWindow ventana;
    auto* mdi = new QMdiArea(&ventana);
    ventana.setCentralWidget(mdi);
    ventana.resize(420, 260);
    framer::SetFramer marco;
    marco.setParent(&ventana);
    marco.setBorderLeft(18);
    marco.setBorderTop(12);
    marco.setBorderRight(18);
    marco.setBorderBottom(12);
    for (QWidget* panel :
         {marco.PanelLeft(), marco.PanelTop(), marco.PanelRight(), marco.PanelBottom()}) {
      panel->setAutoFillBackground(true);
      QPalette paleta = panel->palette();
      paleta.setColor(QPalette::Window, QColor(0xd9, 0xdd, 0xe3));
      panel->setPalette(paleta);
    }

    const QPixmap tesela = azulejo();
    const QImage letrero = firma();
    hookwell::SubClas cliente;
    cliente.sethWnd(mdi);
    cliente.setMessages(hookwell::kWmPaint, true);
    cliente.eventos.WndProc.conecta([&](int32_t& m, int32_t& w, int32_t& l, int32_t& r) {
      r = cliente.CallWndProc(m, w, l);
      QWidget* superficie = cliente.DestinoActual();
      if (superficie == nullptr) return;
      QPixmap fondo(superficie->size() * kDensidad);
      fondo.setDevicePixelRatio(kDensidad);
      QPainter(&fondo).drawTiledPixmap(QRect(QPoint(), superficie->size()), tesela);
      vitrel::CPictureGlass sprite;
      sprite.Create(&fondo, QVariant(letrero), 0xFFFFFF, superficie->width() - 150 - 8, 8);
      sprite.Draw();
      QPainter(superficie).drawPixmap(0, 0, fondo);
    });
    ventana.show();
    QApplication::processEvents();
    bien = guarda(ventana, carpeta, "marco.png") && bien;
  }

  // Buttons kept the width of their panel, a box the width of the window.
  {
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("Reglas"));
    auto* titulo = new QLabel(QStringLiteral("Texto original"), &ventana);
    titulo->setGeometry(10, 8, 200, 18);
    auto* caja = new QPlainTextEdit(&ventana);
    caja->setPlainText(QStringLiteral("EN·UN·LUGAR·DE·LA·MANCHA"));
    caja->setGeometry(10, 28, 100, 70);
    caja->setFocusPolicy(Qt::NoFocus);
    auto* panel = new QWidget(&ventana);
    panel->setGeometry(10, 106, 100, 34);
    std::vector<QObject*> botones;
    for (const char* texto : {"Cifra", "Descifra", "Borra"}) {
      auto* b = new plankett::FlatButton(panel);
      b->setCaption(QLatin1String(texto));
      b->setStyle(plankett::FlatButton::Estilo3D);
      b->setGeometry(0, 4, 10, 26);
      botones.push_back(b);
    }
    resizer::Autosizer reglas;
    // The panel is 6 pixels wider on each side than the box, and the buttons
    // keep 6 pixels between and around them, so their outer edges line up
    // with the box.
    reglas.AddRule(resizer::RRSizeToWidth, &ventana, 10, {caja});
    reglas.AddRule(resizer::RRSizeToWidth, &ventana, 4, {panel});
    reglas.AddRule(resizer::RRSameHSize, panel, 6, botones);
    reglas.setTargetForm(&ventana);
    for (auto [ancho, nombre] :
         {std::pair{300, "autosizer_estrecho.png"}, std::pair{460, "autosizer_ancho.png"}}) {
      ventana.resize(ancho, 150);
      ventana.show();
      QApplication::processEvents();
      reglas.Resize();
      bien = guarda(ventana, carpeta, nombre) && bien;
    }
  }
  return bien ? 0 : 1;
}
