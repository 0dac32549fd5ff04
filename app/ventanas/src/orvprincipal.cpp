// The main frame: menu bar, laboratories as MDI children, decorated client area.
#include "orv/orvprincipal.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <random>

#include "hookwell/subclas.h"
#include "kestrin/errores.h"
#include "kestrin/orvimagen.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/orvacercade.h"
#include "orv/orvanalizar.h"
#include "orv/orvcalc.h"
#include "orv/orvcsafin.h"
#include "orv/orvcshill.h"
#include "orv/orvcsmhm.h"
#include "orv/orvcsperiodico.h"
#include "orv/orvcsrsa.h"
#include "orv/orvcssubst.h"
#include "orv/orvprimos.h"
#include "vimbar/vimbar.h"
#include "vitrel/cpictureglass.h"

namespace orv {

namespace {

constexpr int kComandoAcercaDe = 10;
constexpr int kIntervaloBaila = 50000;  // milliseconds
// Initial client area: 9510 × 7905 twips at 15 twips per pixel.
constexpr int kAnchoInicial = 9510 / vitrel::kTwipsPorPixel;
constexpr int kAltoInicial = 7905 / vitrel::kTwipsPorPixel;
constexpr int kAnchoMenu = 92;
const QColor kGrisFondo(224, 224, 224);

// Dynamic properties of a laboratory's frame: its row of the menu table, and
// of its window: its number among the open windows of that row.
constexpr const char* kPropiedadFila = "orvFila";
constexpr const char* kPropiedadNumero = "orvNumero";

// Menu keys in the order a chosen key is compared with them.
constexpr const char* kOrdenClaves[] = {"calc", "analiza", "primos", "afin", "sust",
                                        "vig",  "xor",     "hill",   "RSA",  "MH"};

QImage imagenDe(const kestrin::Imagen& origen) {
  QImage imagen(origen.ancho, origen.alto, QImage::Format_ARGB32);
  for (int32_t y = 0; y < origen.alto; ++y) {
    auto* fila = reinterpret_cast<QRgb*>(imagen.scanLine(y));
    for (int32_t x = 0; x < origen.ancho; ++x) {
      fila[x] = origen.pixeles[static_cast<size_t>(y) * origen.ancho + x];
    }
  }
  return imagen;
}

// Pixels to picture units (HIMETRIC), as the sprite positions are given.
double aHiMetrico(int pixeles) {
  return vitrel::CPictureGlass::PixelXToPic(pixeles);
}

}  // namespace

template <typename Ventana>
QWidget* crea() {
  return new Ventana;
}

const std::vector<ORVPrincipal::EntradaMenu>& ORVPrincipal::Laboratorios() {
  // A laboratory still to be built has no maker: its item shows nothing.
  static const std::vector<EntradaMenu> tabla = {
      {1, "Hoja de cálculo", "CALC1", "calc", false, crea<ORVCalc>},
      {1, "Primos", "PRIMOS1", "primos", false, crea<ORVPrimos>},
      {1, "Analizador", "ANALIZA1", "analiza", true, crea<ORVAnalizar>},
      {2, "Afín", "AFIN1", "afin", false, crea<ORVCSAfin>},
      {2, "Sustitución", "SUST1", "sust", false, crea<ORVCSSubst>},
      {2, "Vigenère", "VIGENERE1", "vig", false, crea<ORVCSVigenere>},
      {2, "XOR", "XOR1", "xor", false, crea<ORVCSXOR>},
      {2, "Hill", "HILL1", "hill", false, crea<ORVCSHill>},
      {2, "RSA", "RSA1", "RSA", false, crea<ORVCSRSA>},
      {2, "M-H Mochila", "MHMochila1", "MH", false, crea<ORVCSMHM>},
  };
  return tabla;
}

ORVPrincipal::ORVPrincipal(QWidget* parent) : QMainWindow(parent), unicas_(Laboratorios().size()) {
  for (const EntradaMenu& l : Laboratorios()) fabricas_.emplace_back(l.fabrica);
  setWindowTitle(QStringLiteral("Orvane"));
  setWindowIcon(arte::Icono(u"A"));
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, kGrisFondo);
  setPalette(paleta);
  setAutoFillBackground(true);

  vmenu_ = new vimbar::Vimbar(this);
  vmenu_->setObjectName(QStringLiteral("VMenu"));
  vmenu_->resize(kAnchoMenu, height());

  cliente_ = new QMdiArea(this);
  cliente_->setObjectName(QStringLiteral("Cliente"));
  cliente_->setBackground(kGrisFondo);
  cliente_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  cliente_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(cliente_);

  timerBaila_ = new QTimer(this);
  timerBaila_->setObjectName(QStringLiteral("TimerBaila"));

  accionAcercaDe_ = new QAction(QStringLiteral("&Acerca de ORV"), this);
  accionAcercaDe_->setShortcut(QKeySequence(Qt::Key_F1));
  accionAcercaDe_->setShortcutContext(Qt::WindowShortcut);
  accionAcercaDe_->setIcon(arte::Icono(u"A"));
  connect(accionAcercaDe_, &QAction::triggered, this,
          [this] { hookwell::EnviaMensaje(this, hookwell::kWmSysCommand, kComandoAcercaDe, 0); });
  addAction(accionAcercaDe_);

  resize(kAnchoInicial + kAnchoMenu, kAltoInicial);
  Load();
}

ORVPrincipal::~ORVPrincipal() {
  // Unload: the frame's hook goes first, then the About window if it is up.
  subClass_.reset();
  subClass1_.reset();
  if (acercaDe_) delete acercaDe_.data();
}

void ORVPrincipal::Load() {
  const auto& tabla = Laboratorios();
  vmenu_->AddMenuGroup(QStringLiteral("Utilidades"));
  for (const auto& l : tabla) {
    if (l.grupo == 1) {
      vmenu_->AddMenuItem(1, QString::fromUtf8(l.titulo), arte::Icono(QString::fromLatin1(l.icono)),
                          QLatin1String(l.clave));
    }
  }
  vmenu_->AddMenuGroup(QStringLiteral("Criptosistemas"));
  for (const auto& l : tabla) {
    if (l.grupo == 2) {
      vmenu_->AddMenuItem(2, QString::fromUtf8(l.titulo), arte::Icono(QString::fromLatin1(l.icono)),
                          QLatin1String(l.clave));
    }
  }
  // Wide enough for the longest group caption in the bar's own font.
  int ancho = kAnchoMenu;
  for (const char* grupo : {"Utilidades", "Criptosistemas"}) {
    ancho = std::max(
        ancho, vmenu_->menu()->fontMetrics().horizontalAdvance(QString::fromLatin1(grupo)) + 28);
  }
  vmenu_->resize(ancho, vmenu_->height());
  vmenu_->setFrameControl(this);
  vmenu_->eventos.MenuItemClick.conecta(
      [this](int32_t&, int32_t&, QString& clave) { MenuItemClick(clave); });

  // The frame answers system command 10 (About) itself and passes on the rest.
  subClass_ = std::make_unique<hookwell::SubClas>();
  subClass_->sethWnd(this);
  subClass_->setMessages(hookwell::kWmSysCommand, true);
  subClass_->eventos.WndProc.conecta(
      [this](int32_t& msg, int32_t& wParam, int32_t& lParam, int32_t& resultado) {
        if (msg == hookwell::kWmSysCommand && wParam == kComandoAcercaDe) {
          AcercaDe();
          resultado = 0;
          return;
        }
        resultado = subClass_->CallWndProc(msg, wParam, lParam);
      });

  // The client area paints its own background first, then the decoration on
  // top; it is never wiped before painting.
  subClass1_ = std::make_unique<hookwell::SubClas>();
  subClass1_->sethWnd(cliente_);
  subClass1_->setMessages(hookwell::kWmPaint, true);
  subClass1_->setMessages(hookwell::kWmEraseBkgnd, true);
  subClass1_->eventos.WndProc.conecta(
      [this](int32_t& msg, int32_t& wParam, int32_t& lParam, int32_t& resultado) {
        if (msg == hookwell::kWmPaint) {
          resultado = subClass1_->CallWndProc(msg, wParam, lParam);
          PintaFondo(teja());
        } else if (msg == hookwell::kWmEraseBkgnd) {
          resultado = 1;
        } else {
          resultado = subClass1_->CallWndProc(msg, wParam, lParam);
        }
      });

  timerBaila_->setInterval(kIntervaloBaila);
  connect(timerBaila_, &QTimer::timeout, this, &ORVPrincipal::Baila);
  timerBaila_->start();
  Baila();
}

void ORVPrincipal::Arranca() {
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  AcercaDe();
  QCoreApplication::processEvents();
  ORVW();
  QCoreApplication::processEvents();
}

void ORVPrincipal::setFabrica(const QString& clave, Fabrica fabrica) {
  const auto& tabla = Laboratorios();
  for (size_t i = 0; i < tabla.size(); ++i) {
    if (clave.compare(QLatin1String(tabla[i].clave), Qt::CaseInsensitive) == 0) {
      fabricas_[i] = std::move(fabrica);
    }
  }
}

void ORVPrincipal::MenuItemClick(const QString& clave) {
  AbreLaboratorio(clave);
}

QWidget* ORVPrincipal::AbreLaboratorio(const QString& clave) {
  const auto& tabla = Laboratorios();
  for (const char* candidata : kOrdenClaves) {
    if (clave.compare(QLatin1String(candidata), Qt::CaseInsensitive) != 0) continue;
    size_t fila = 0;
    while (QLatin1String(tabla[fila].clave) != QLatin1String(candidata)) ++fila;
    const EntradaMenu& lab = tabla[fila];
    QMdiSubWindow* marco = lab.nuevaCadaVez ? nullptr : unicas_[fila].data();
    if (!marco) {
      if (!fabricas_[fila]) return nullptr;
      QWidget* ventana = nullptr;
      try {
        ventana = fabricas_[fila]();
      } catch (const std::exception& e) {
        // A laboratory whose component cannot be created does not open.
        QMessageBox::critical(this, QStringLiteral("Orvane"), QString::fromStdString(e.what()));
        return nullptr;
      }
      if (!ventana) return nullptr;
      if (lab.nuevaCadaVez) numera(ventana, fila);
      marco = cliente_->addSubWindow(ventana);
      marco->setAttribute(Qt::WA_DeleteOnClose);
      marco->setWindowIcon(arte::Icono(QString::fromLatin1(lab.icono)));
      marco->setProperty(kPropiedadFila, static_cast<int>(fila));
      colocaEnCascada(marco);
      if (!lab.nuevaCadaVez) unicas_[fila] = marco;
    }
    marco->show();
    marco->widget()->show();
    marco->raise();
    cliente_->setActiveSubWindow(marco);
    return marco->widget();
  }
  return nullptr;
}

void ORVPrincipal::numera(QWidget* ventana, size_t fila) {
  // Windows of the same laboratory are told apart by the lowest number that
  // no open one of them carries; the first keeps the plain caption.
  std::vector<bool> usados;
  for (QMdiSubWindow* otra : cliente_->subWindowList()) {
    // A closed window may still wait for its deletion, hidden.
    const QVariant suya = otra->property(kPropiedadFila);
    if (!suya.isValid() || suya.toInt() != static_cast<int>(fila) || !otra->widget() ||
        otra->isHidden())
      continue;
    const int n = otra->widget()->property(kPropiedadNumero).toInt();
    if (n >= 1) {
      if (usados.size() <= static_cast<size_t>(n)) usados.resize(static_cast<size_t>(n) + 1);
      usados[static_cast<size_t>(n)] = true;
    }
  }
  int numero = 1;
  while (static_cast<size_t>(numero) < usados.size() && usados[static_cast<size_t>(numero)])
    ++numero;
  ventana->setProperty(kPropiedadNumero, numero);
  if (numero > 1)
    ventana->setWindowTitle(QStringLiteral("%1 (%2)").arg(ventana->windowTitle()).arg(numero));
}

void ORVPrincipal::colocaEnCascada(QMdiSubWindow* marco) {
  // Each new window a step below and to the right of the last one, always
  // wholly inside the client area, shrunk when the area is smaller.
  const QRect area = cliente_->viewport()->rect();
  const int paso =
      std::max(20, marco->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, marco));
  // A window larger than the area leaves room for a few steps of the cascade.
  const QSize maximo = (area.size() - QSize(4 * paso, 4 * paso)).expandedTo(area.size() * 2 / 3);
  const QSize tamano = marco->sizeHint().boundedTo(maximo);
  int abiertas = 0;
  for (QMdiSubWindow* otra : cliente_->subWindowList())
    abiertas += otra != marco && !otra->isHidden();
  const int holguraX = std::max(0, area.width() - tamano.width());
  const int holguraY = std::max(0, area.height() - tamano.height());
  // Steps that fit; past them the cascade starts again at the top left.
  const int pasos = std::max(1, std::min(holguraX, holguraY) / paso + 1);
  const int k = abiertas % pasos;
  marco->setGeometry(
      QRect(QPoint(std::min(k * paso, holguraX), std::min(k * paso, holguraY)), tamano));
}

ORVAcercaDe* ORVPrincipal::AcercaDe() {
  if (!acercaDe_) {
    acercaDe_ = new ORVAcercaDe(this);
  }
  acercaDe_->show();
  acercaDe_->raise();
  acercaDe_->activateWindow();
  return acercaDe_;
}

void ORVPrincipal::Baila() {
  static std::mt19937 generador;
  generador.seed(
      static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  const int n = std::uniform_int_distribution<int>(1, 6)(generador);
  fraseActual_ = kestrin::ORVImagen().Str(n);
  fondoValido_ = false;
  cliente_->viewport()->update();
}

const QImage& ORVPrincipal::teja() {
  const qreal ratio = cliente_->viewport()->devicePixelRatioF();
  if (teja_.isNull() || teja_.devicePixelRatio() != ratio) teja_ = arte::Bitmap(u"gris", ratio);
  return teja_;
}

void ORVPrincipal::componeFondo(const QImage& picture) {
  QWidget* vista = cliente_->viewport();
  const qreal ratio = vista->devicePixelRatioF();
  const QSize dispositivo = (QSizeF(vista->size()) * ratio).toSize();
  if (fondoValido_ && fondo_.size() == dispositivo && fondo_.devicePixelRatio() == ratio) return;
  if (dispositivo.isEmpty()) return;  // nothing to decorate, nor to draw sprites on
  fondo_ = QPixmap(dispositivo);
  fondo_.setDevicePixelRatio(ratio);
  fondo_.fill(kGrisFondo);
  {
    // The tiles, row by row from the top-left corner.
    const QSizeF paso = picture.deviceIndependentSize();
    QPainter p(&fondo_);
    for (qreal y = 0; !paso.isEmpty() && y < vista->height(); y += paso.height()) {
      for (qreal x = 0; x < vista->width(); x += paso.width()) p.drawImage(QPointF(x, y), picture);
    }
  }
  PintaFirma(fondo_);
  PintaFrase(fondo_);
  fondoValido_ = true;
  ++composiciones_;
}

void ORVPrincipal::PintaFondo(const QImage& picture) {
  // Composed once per size, pixel ratio and phrase; each paint copies it.
  componeFondo(picture);
  QWidget* vista = cliente_->viewport();
  QPainter p(vista);
  p.drawPixmap(0, 0, fondo_);
}

void ORVPrincipal::PintaFirma(QPixmap& lienzo) {
  const QImage firma = arte::Bitmap(u"autor", lienzo.devicePixelRatio());
  vitrel::CPictureGlass cristal;
  cristal.Create(vitrel::Lienzo{&lienzo, vitrel::kHiMetrico}, QVariant(firma), 0xFFFFFF);
  const int ancho = static_cast<int>(lienzo.deviceIndependentSize().width());
  cristal.Move(aHiMetrico(ancho) - cristal.Width(), 10);
}

void ORVPrincipal::PintaFrase(QPixmap& lienzo) {
  const kestrin::ORVImagen imagenes;
  const QSizeF tamano = lienzo.deviceIndependentSize();
  double x = aHiMetrico(static_cast<int>(tamano.width()));
  const double alto = aHiMetrico(static_cast<int>(tamano.height()));
  for (auto c = fraseActual_.rbegin(); c != fraseActual_.rend(); ++c) {
    kestrin::Cadena nombre = U"sh";
    if (*c != U' ') nombre.push_back(*c);
    const auto bitmap = imagenes.Bitmap(nombre);
    if (!bitmap) continue;
    vitrel::CPictureGlass cristal;
    cristal.Create(vitrel::Lienzo{&lienzo, vitrel::kHiMetrico}, QVariant(imagenDe(*bitmap)),
                   0xC0C0C0);
    x -= cristal.Width();
    cristal.Move(x, alto - cristal.Height());
  }
}

void ORVPrincipal::contextMenuEvent(QContextMenuEvent* e) {
  QMenu menu(this);
  menu.addAction(accionAcercaDe_);
  menu.exec(e->globalPos());
}

void ORVPrincipal::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (!isMinimized()) cliente_->viewport()->update();
}

void ORVPrincipal::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && !isMinimized()) cliente_->viewport()->update();
}

}  // namespace orv
