// The About window and splash.
#include "orv/orvacercade.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "orv/arte.h"
#include "orv/version.h"
#include "pemmick/orvrotlabel.h"
#include "plankett/flatbutton.h"

namespace orv {

QString textoVersion(const Version& v) {
  return QStringLiteral("Versión %1.%2 Rev. %3").arg(v.mayor).arg(v.menor).arg(v.revision);
}

QString versionFichero(const Version& v) {
  return QStringLiteral("%1.%2.%3")
      .arg(v.mayor)
      .arg(v.menor, 2, 10, QLatin1Char('0'))
      .arg(v.revision, 4, 10, QLatin1Char('0'));
}

namespace {

constexpr int kCierre = 5000;     // milliseconds the window stays up
constexpr int kAnchoTitulo = 58;  // the vertical title band
constexpr int kAncho = 470;

ORVAcercaDe::AbreUrl& abreUrl() {
  static ORVAcercaDe::AbreUrl abre = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return abre;
}

QLabel* etiqueta(QWidget* padre, const char* nombre, const QString& texto) {
  auto* l = new QLabel(texto, padre);
  l->setObjectName(QLatin1String(nombre));
  l->setWordWrap(true);
  QPalette paleta = l->palette();
  paleta.setColor(QPalette::WindowText, QColor(0x22, 0x2b, 0x38));
  l->setPalette(paleta);
  return l;
}

// The program's sign, painted from the icon at the screen's own density.
class Sello : public QWidget {
 public:
  explicit Sello(QWidget* padre) : QWidget(padre) { setFixedSize(40, 40); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    arte::Icono(u"A").paint(&p, rect());
  }
};

QFrame* linea(QWidget* padre, const char* nombre) {
  auto* l = new QFrame(padre);
  l->setObjectName(QLatin1String(nombre));
  l->setFrameShape(QFrame::HLine);
  l->setFrameShadow(QFrame::Sunken);
  return l;
}

}  // namespace

QUrl ORVAcercaDe::PaginaAutor() {
  return QUrl(QStringLiteral("https://orvane.example.org/"));
}

QString ORVAcercaDe::LineaAutor() {
  return QStringLiteral("Equipo Orvane, 2003–2026 · orvane@example.org");
}

void ORVAcercaDe::fijaAbreUrl(AbreUrl abre) {
  abreUrl() = abre ? std::move(abre)
                   : AbreUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

ORVAcercaDe::ORVAcercaDe(QWidget* principal)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint), principal_(principal) {
  setObjectName(QStringLiteral("ORVAcercaDe"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString());
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, Qt::white);
  setPalette(paleta);

  labelTitulo_ = new pemmick::ORVRotLabel(this);
  labelTitulo_->setObjectName(QStringLiteral("LabelTitulo"));
  labelTitulo_->setFontName(QStringLiteral("Arial"));
  labelTitulo_->setFontSize(18);
  labelTitulo_->setFontBold(true);
  labelTitulo_->setAngulo(90);
  labelTitulo_->setBorderStyle(0);
  labelTitulo_->setBackStyle(1);
  labelTitulo_->setBackColor(0x4A2A16);  // navy, as 0xBBGGRR
  labelTitulo_->setForeColor(0xFFFFFF);
  labelTitulo_->setBackColor3D(0x2A1A0E);
  labelTitulo_->setForeColor3D(0xFFFFFF);
  labelTitulo_->setCaption(QStringLiteral("Orvane"));

  lblDescription_ = etiqueta(this, "lblDescription", QStringLiteral("Experiencias en criptología"));
  QFont negrita(QStringLiteral("Arial"));
  negrita.setPointSizeF(15);
  negrita.setBold(true);
  lblDescription_->setFont(negrita);
  label1_ = etiqueta(this, "Label1",
                     QStringLiteral("Juegos y experiencias sobre criptografía y criptoanálisis."));
  lblVersion_ = etiqueta(this, "lblVersion", QStringLiteral("Versión"));
  lblDisclaimer_ = etiqueta(this, "lblDisclaimer", QStringLiteral("Autor"));
  lblDisclaimer_->setToolTip(QStringLiteral("Pulse para información sobre el autor"));
  lblDisclaimer_->setCursor(Qt::PointingHandCursor);
  QPalette enlace = lblDisclaimer_->palette();
  enlace.setColor(QPalette::WindowText, QColor(0x1d, 0x4f, 0x91));
  lblDisclaimer_->setPalette(enlace);
  lblDisclaimer_->installEventFilter(this);
  line1_ = linea(this, "Line1");
  line2_ = linea(this, "Line2");
  cmdOK_ = new plankett::FlatButton(this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setCaption(QStringLiteral("Aceptar"));
  cmdOK_->setBorderStyle(plankett::FlatButton::ConBorde);
  cmdOK_->setFixedSize(96, 28);
  connect(cmdOK_, &plankett::FlatButton::Click, this, [this] {
    close();
    muestraPrincipal();
  });

  // The program's sign beside the description.
  auto* sello = new Sello(this);
  auto* cabecera = new QHBoxLayout;
  cabecera->addWidget(lblDescription_, 1);
  cabecera->addWidget(sello, 0, Qt::AlignRight | Qt::AlignVCenter);

  auto* texto = new QVBoxLayout;
  texto->setSpacing(8);
  texto->addLayout(cabecera);
  texto->addWidget(line1_);
  texto->addWidget(label1_);
  texto->addWidget(lblVersion_);
  texto->addSpacing(14);
  texto->addWidget(line2_);
  texto->addWidget(lblDisclaimer_);
  texto->addStretch(1);
  texto->addWidget(cmdOK_, 0, Qt::AlignRight);
  auto* principalLayout = new QHBoxLayout(this);
  principalLayout->setContentsMargins(kAnchoTitulo + 22, 20, 22, 16);
  principalLayout->addLayout(texto);

  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("Timer"));

  // Load.
  timer_->setInterval(kCierre);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &QWidget::close);
  timer_->start();
  lblDisclaimer_->setText(LineaAutor());
  setWindowIcon(arte::Icono(u"A"));
  lblVersion_->setText(textoVersion());
  labelTitulo_->setCaption(QString::fromLatin1(kProducto));
  if (principal_) principal_->hide();

  setFixedSize(kAncho, std::max(250, principalLayout->heightForWidth(kAncho) > 0
                                         ? principalLayout->heightForWidth(kAncho)
                                         : principalLayout->sizeHint().height()));
  if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
    move(pantalla->availableGeometry().center() - rect().center());
  }
}

ORVAcercaDe::~ORVAcercaDe() = default;

void ORVAcercaDe::muestraPrincipal() {
  if (principal_) principal_->show();
}

void ORVAcercaDe::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QImage teja = arte::Bitmap(u"cuadritos", devicePixelRatioF());
  const QSizeF paso = teja.deviceIndependentSize();
  for (qreal y = 0; y < height(); y += paso.height()) {
    for (qreal x = 0; x < width(); x += paso.width()) p.drawImage(QPointF(x, y), teja);
  }
  p.setPen(QColor(0x8a, 0x96, 0xa8));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ORVAcercaDe::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  labelTitulo_->setGeometry(0, 0, kAnchoTitulo, height());
}

void ORVAcercaDe::closeEvent(QCloseEvent* e) {
  // Unload, whatever caused it: the frame comes back.
  timer_->stop();
  muestraPrincipal();
  e->accept();
}

bool ORVAcercaDe::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    activada_ = true;
  } else if (e->type() == QEvent::WindowDeactivate && activada_ && isVisible()) {
    // Losing the focus closes the window, but only once it has had it.
    QTimer::singleShot(0, this, &QWidget::close);
  }
  return QWidget::event(e);
}

bool ORVAcercaDe::eventFilter(QObject* objeto, QEvent* e) {
  if (objeto == lblDisclaimer_ && e->type() == QEvent::MouseButtonRelease) {
    auto* raton = static_cast<QMouseEvent*>(e);
    if (raton->button() == Qt::LeftButton &&
        lblDisclaimer_->rect().contains(raton->position().toPoint())) {
      // A failing open is ignored: nothing is shown and the window stays.
      abreUrl()(PaginaAutor());
      return true;
    }
  }
  return QWidget::eventFilter(objeto, e);
}

}  // namespace orv
