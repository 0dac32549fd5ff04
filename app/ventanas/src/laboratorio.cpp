// The laboratory skeleton: error and busy guards, progress, event
// connections and the building blocks of the windows.
#include "orv/laboratorio.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <cmath>
#include <new>

#include "estilo.h"
#include "kestrin/orvw.h"
#include "kestrin/procesa.h"
#include "kestrin/variante.h"
#include "orv/arranque.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "resizer/autosizer.h"

namespace orv {
namespace {

// How often long work lets the window repaint, at most.
constexpr auto kIntervaloRepintado = std::chrono::milliseconds(15);

}  // namespace

QString numeroMostrado(double valor, int decimales) {
  QString s = QString::number(valor, 'f', decimales);
  const char32_t decimal = ORVW().Formato().decimal;
  if (decimal != U'.') s.replace(QLatin1Char('.'), QString::fromUcs4(&decimal, 1));
  return s;
}

int32_t enteroDe(const QString& texto) {
  const double v = ORVW().Eval(texto.toStdU32String());
  if (!(std::fabs(v) < 2147483647.5)) return 0;
  return kestrin::aLong(v);
}

// ---------------------------------------------------------------------------

void Conexiones::desconectaTodo() {
  while (!quitas_.empty()) {
    auto quita = std::move(quitas_.back());
    quitas_.pop_back();
    quita();
  }
}

// ---------------------------------------------------------------------------

SeguimientoProgreso::SeguimientoProgreso(std::vector<QProgressBar*> barras)
    : barras_(std::move(barras)) {}

void SeguimientoProgreso::Inicio(int32_t n) {
  for (QProgressBar* barra : barras_) {
    if (n > 0) {
      barra->setRange(0, n);
      barra->setValue(0);
    } else if (vacioLleno) {
      // Nothing to count: the work is done as soon as it starts.
      barra->setRange(0, 1);
      barra->setValue(1);
    } else {
      // A bar cannot have a maximum of 0: it keeps the one it had.
      barra->setValue(0);
    }
  }
  ultimoValor_ = 0;
  ultimoRepintado_ = std::chrono::steady_clock::now();
  ultimoMovimiento_ = {};
}

void SeguimientoProgreso::Progreso(int32_t n) {
  QProgressBar* barra = actual ? actual() : (barras_.empty() ? nullptr : barras_.front());
  if (barra != nullptr) {
    const int maximo = barra->maximum();
    const int valor = std::clamp(n, barra->minimum(), maximo);
    // Moving the bar by less than a thousandth of its length shows nothing
    // new, and a bar repaints itself at once on every move it can show: more
    // often than the window repaints is lost work.
    const auto ahora = std::chrono::steady_clock::now();
    if (valor == maximo || (std::abs(valor - ultimoValor_) >= std::max(1, maximo / 1000) &&
                            ahora - ultimoMovimiento_ >= kIntervaloRepintado)) {
      barra->setValue(valor);
      ultimoValor_ = valor;
      ultimoMovimiento_ = ahora;
    }
  }
  repinta();
}

void SeguimientoProgreso::Fin(int32_t n) {
  QProgressBar* barra = actual ? actual() : (barras_.empty() ? nullptr : barras_.front());
  if (barra != nullptr) barra->setValue(std::clamp(n, barra->minimum(), barra->maximum()));
}

void SeguimientoProgreso::repinta() {
  const auto ahora = std::chrono::steady_clock::now();
  if (ahora - ultimoRepintado_ >= kIntervaloRepintado) {
    ultimoRepintado_ = ahora;
    kestrin::ProcesaEventos();
  }
}

// ---------------------------------------------------------------------------

Laboratorio::Laboratorio(const QString& nombre, const QString& titulo, QWidget* parent)
    : QWidget(parent) {
  setObjectName(nombre);
  setWindowTitle(titulo);
  avisa = [this](const QString& t, const QString& texto) { QMessageBox::warning(this, t, texto); };
}

Laboratorio::~Laboratorio() {
  // The components may outlive the window in other holders, and the controls
  // outlive the window's members while they are taken down: none of their
  // events may reach the window any more. A tab widget losing its pages, for
  // one, still signals while the window's children go.
  conexiones.desconectaTodo();
  for (QObject* control : findChildren<QObject*>())
    QObject::disconnect(control, nullptr, this, nullptr);
}

QString Laboratorio::textoError(const std::exception& e) const {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
    return QStringLiteral("No hay memoria suficiente para esta operación.");
  }
  if (dynamic_cast<const kestrin::ErrorORV*>(&e) != nullptr) {
    return QString::fromStdString(e.what());
  }
  return QStringLiteral("No se pudo completar la operación: ") + QString::fromStdString(e.what());
}

void Laboratorio::empiezaTrabajo(std::initializer_list<QWidget*> esperan) {
  ++ocupado_;
  esperan_.assign(esperan.begin(), esperan.end());
  for (QWidget* w : esperan_) w->setEnabled(false);
}

void Laboratorio::terminaTrabajo() {
  --ocupado_;
  for (QWidget* w : esperan_) w->setEnabled(true);
  esperan_.clear();
  if (cerrarAlTerminar_) {
    cerrarAlTerminar_ = false;
    if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget()))
      marco->close();
    else
      close();
  }
}

void Laboratorio::closeEvent(QCloseEvent* e) {
  alCerrar();
  if (ocupado_ > 0) {
    kestrin::ProcesaEventos();
    // The work still runs on this window's stack: hide now, go when it ends.
    cerrarAlTerminar_ = true;
    e->ignore();
    if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget())) marco->hide();
    hide();
    return;
  }
  QWidget::closeEvent(e);
}

// ---------------------------------------------------------------------------

namespace lab {

QTabBar* Paginas::barra() const {
  return pestanas->tabBar();
}

Paginas paginas(QWidget* parent, const QString& nombre, std::initializer_list<Pestana> pestanas,
                const QString& prefijo, int primero) {
  Paginas p;
  p.pestanas = new QTabWidget(parent);
  p.pestanas->setObjectName(nombre);
  int i = 0;
  for (const Pestana& pestana : pestanas) {
    auto* panel = new QFrame(p.pestanas);
    panel->setObjectName(QStringLiteral("%1(%2)").arg(prefijo).arg(primero + i));
    p.pestanas->addTab(panel, QString::fromUtf8(pestana.titulo));
    if (pestana.clave != nullptr) p.barra()->setTabData(i, QString::fromUtf8(pestana.clave));
    p.paneles.push_back(panel);
    ++i;
  }
  return p;
}

pemmick::ORVExtTextBox* cajaTexto(QWidget* parent, const QString& nombre, int32_t clave,
                                  bool gris) {
  auto* caja = new pemmick::ORVExtTextBox(parent);
  caja->setObjectName(nombre);
  caja->setFontName(QStringLiteral("Arial"));
  caja->setFontSize(9.75F);
  caja->setMostrarEspaciosComo(QStringLiteral("·"));
  estilo::altoBarra(caja);
  if (clave != 0) caja->setKey(clave);
  if (gris) caja->setBackColor(0xE0E0E0);
  return caja;
}

QLineEdit* cajaLinea(QWidget* parent, const QString& nombre, int caracteres,
                     Qt::Alignment alineacion) {
  auto* caja = new QLineEdit(parent);
  caja->setObjectName(nombre);
  caja->setAlignment(alineacion);
  caja->setFixedWidth(estilo::anchoCaracteres(caja, caracteres));
  return caja;
}

FilasRotuladas::FilasRotuladas(QWidget* pagina) : QGridLayout(pagina) {
  setContentsMargins(8, 8, 8, 8);
  setHorizontalSpacing(4);
  setVerticalSpacing(6);
  setColumnStretch(1, 1);
}

void FilasRotuladas::fila(const QString& rotulo, QWidget* caja, int estira) {
  addWidget(estilo::rotulo(rotulo, parentWidget()), siguiente_, 0);
  addWidget(caja, siguiente_, 1);
  setRowStretch(siguiente_++, estira);
}

void FilasRotuladas::fila(const QString& rotulo, QLayout* contenido, int estira) {
  addWidget(estilo::rotulo(rotulo, parentWidget()), siguiente_, 0);
  addLayout(contenido, siguiente_, 1);
  setRowStretch(siguiente_++, estira);
}

void FilasRotuladas::fila(QWidget* caja, Qt::Alignment alineacion, int estira) {
  addWidget(caja, siguiente_, 1, alineacion);
  setRowStretch(siguiente_++, estira);
}

void FilasRotuladas::fila(QLayout* contenido, int estira) {
  addLayout(contenido, siguiente_, 1);
  setRowStretch(siguiente_++, estira);
}

Rejilla* rejilla(QWidget* parent, const QString& nombre, int32_t filas, int32_t columnas,
                 int32_t filasFijas, int32_t columnasFijas) {
  auto* g = new Rejilla(parent);
  g->setObjectName(nombre);
  g->setFilasFijas(filasFijas);
  g->setColumnasFijas(columnasFijas);
  g->setColumnas(columnas);
  g->setFilas(filas);
  for (int32_t c = 0; c < columnas; ++c) {
    g->setAlineacionFija(c, CentroCentro);
    g->setAlineacionColumna(c, CentroCentro);
  }
  return g;
}

PanelCifrar::PanelCifrar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelCifrar"));
  cmdCifra_ = estilo::boton(QStringLiteral("cmdCifra"), QStringLiteral("Cifra"), this);
  cmdDescifra_ = estilo::boton(QStringLiteral("cmdDescifra"), QStringLiteral("Descifra"), this);
  const int alto = cmdCifra_->sizeHint().height();
  for (plankett::FlatButton* b : {cmdCifra_, cmdDescifra_}) b->setGeometry(0, 0, 10, alto);
  setFixedSize(2 * estilo::anchoCaracteres(cmdCifra_, 12), alto);
  // The two buttons share the frame's width, side by side.
  autosizer_ = std::make_unique<resizer::Autosizer>();
  autosizer_->AddRule(resizer::RRSameHSize, this, 0, {cmdCifra_, cmdDescifra_});
  autosizer_->setTargetForm(parent != nullptr ? parent->window() : this);
  autosizer_->Resize();
}

PanelCifrar::~PanelCifrar() = default;

void PanelCifrar::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  autosizer_->Resize();
}

PaginaCifrado paginaCifrado(QFrame* pagina, int32_t claveCifrado) {
  PaginaCifrado p;
  p.TxtTO = cajaTexto(pagina, QStringLiteral("TxtTO"));
  p.txtTC = cajaTexto(pagina, QStringLiteral("txtTC"), claveCifrado, true);
  p.panelCifrar = new PanelCifrar(pagina);
  p.filaBotones = new QHBoxLayout;
  p.filaBotones->addStretch(1);
  p.filaBotones->addWidget(p.panelCifrar);
  p.filaBotones->addStretch(1);
  auto* filas = new FilasRotuladas(pagina);
  filas->fila(QStringLiteral("Original"), p.TxtTO);
  filas->fila(p.filaBotones);
  filas->fila(QStringLiteral("Cifrado"), p.txtTC);
  return p;
}

}  // namespace lab

// ---------------------------------------------------------------------------

CajaArribaAbajo::CajaArribaAbajo(QWidget* parent, int minimo, int maximo)
    : QAbstractSpinBox(parent), minimo_(minimo), maximo_(maximo) {
  setAlignment(Qt::AlignRight);
}

QString CajaArribaAbajo::texto() const {
  return lineEdit()->text();
}
void CajaArribaAbajo::setTexto(const QString& texto) {
  lineEdit()->setText(texto);
}

QValidator::State CajaArribaAbajo::validate(QString&, int&) const {
  return QValidator::Acceptable;
}

int CajaArribaAbajo::valor() const {
  return std::clamp<int32_t>(enteroDe(texto()), minimo_, maximo_);
}

void CajaArribaAbajo::stepBy(int pasos) {
  const int nuevo = std::clamp(valor() + pasos, minimo_, maximo_);
  setTexto(QString::number(nuevo));
}

QAbstractSpinBox::StepEnabled CajaArribaAbajo::stepEnabled() const {
  StepEnabled e = StepNone;
  const int32_t v = enteroDe(texto());
  if (v < maximo_) e |= StepUpEnabled;
  if (v > minimo_) e |= StepDownEnabled;
  return e;
}

}  // namespace orv
