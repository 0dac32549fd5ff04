// The analyser laboratory: block frequencies, index of coincidence, entropy
// and the mutual index, with a progress bar that follows the count.
#include "orv/orvanalizar.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "estilo.h"
#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "kestrin/procesa.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/graficofrecuencias.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "tarnel/orvanaliza.h"
#include "tarnel/orvresultado.h"

namespace orv {
namespace {

constexpr int kPrimeraPestana = 0;
// The limits of the block size's arrows.
constexpr int kBloqueMinimo = 1;
constexpr int kBloqueMaximo = 10;
// How often a count lets the window repaint, at most.
constexpr auto kIntervaloRepintado = std::chrono::milliseconds(15);

// The block size a text names: its number in the user's format rounded to a
// whole number, 0 when it is none or does not fit 32 bits.
int32_t tamBloque(const QString& texto) {
  const double v = ORVW().Eval(texto.toStdU32String());
  if (!(std::fabs(v) < 2147483647.5)) return 0;
  return kestrin::aLong(v);
}

QLineEdit* cajaResultado(const QString& nombre, QWidget* parent) {
  auto* caja = new QLineEdit(parent);
  caja->setObjectName(nombre);
  caja->setReadOnly(true);
  caja->setAlignment(Qt::AlignRight);
  QFont courier = estilo::fuente(QStringLiteral("Courier New"), 10);
  courier.setStyleHint(QFont::TypeWriter);
  caja->setFont(courier);
  caja->setFixedWidth(estilo::anchoCaracteres(caja, 9));
  return caja;
}

}  // namespace

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
  const int32_t v = tamBloque(texto());
  return std::clamp<int32_t>(v, minimo_, maximo_);
}

void CajaArribaAbajo::stepBy(int pasos) {
  const int nuevo = std::clamp(valor() + pasos, minimo_, maximo_);
  setTexto(QString::number(nuevo));
}

QAbstractSpinBox::StepEnabled CajaArribaAbajo::stepEnabled() const {
  StepEnabled e = StepNone;
  const int32_t v = tamBloque(texto());
  if (v < maximo_) e |= StepUpEnabled;
  if (v > minimo_) e |= StepDownEnabled;
  return e;
}

ORVAnalizar::ORVAnalizar(QWidget* parent) : QWidget(parent) {
  // Load.
  analisis_ =
      std::dynamic_pointer_cast<tarnel::ORVAnaliza>(kestrin::CreaObjeto("Tarnel.ORVAnaliza"));
  construye();
  conectaAnalisis();
  setWindowIcon(arte::Icono(u"ANALIZA1"));
  paginas_->setCurrentIndex(kPrimeraPestana);
}

ORVAnalizar::~ORVAnalizar() {
  // A count still running holds the analyser: its events must not reach a
  // window that is gone.
  analisis_->eventos.Inicio.desconecta(conexiones_[0]);
  analisis_->eventos.Progreso.desconecta(conexiones_[1]);
  analisis_->eventos.Fin.desconecta(conexiones_[2]);
}

QSize ORVAnalizar::sizeHint() const {
  return QSize(720, 560).expandedTo(minimumSizeHint());
}

QTabBar* ORVAnalizar::tsAnaliza() const {
  return paginas_->tabBar();
}

void ORVAnalizar::construye() {
  setObjectName(QStringLiteral("ORVAnalizar"));
  setWindowTitle(QStringLiteral("Análisis del texto"));

  paginas_ = new QTabWidget(this);
  paginas_->setObjectName(QStringLiteral("tsAnaliza"));
  for (int i = 0; i < 2; ++i) {
    panel_[static_cast<size_t>(i)] = new QFrame(paginas_);
    panel_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Panel(%1)").arg(i));
  }
  paginas_->addTab(panel_[0], QStringLiteral("I. C."));
  paginas_->addTab(panel_[1], QStringLiteral("I. C. M."));
  tsAnaliza()->setTabData(0, QStringLiteral("ic"));
  tsAnaliza()->setTabData(1, QStringLiteral("icm"));

  for (int i = 0; i < 3; ++i) {
    auto* caja = new pemmick::ORVExtTextBox(panel_[i == 0 ? 0 : 1]);
    caja->setObjectName(QStringLiteral("txtTexto(%1)").arg(i));
    caja->setFontName(QStringLiteral("Arial"));
    caja->setFontSize(9.75F);
    caja->setMostrarEspaciosComo(QStringLiteral("·"));
    estilo::altoBarra(caja);
    txtTexto_[static_cast<size_t>(i)] = caja;
  }

  // First page: the text, the block size, the results.
  QFrame* ic = panel_[0];
  txtTamBloque_ = new CajaArribaAbajo(ic, kBloqueMinimo, kBloqueMaximo);
  txtTamBloque_->setObjectName(QStringLiteral("txtTamBloque"));
  txtTamBloque_->setTexto(QStringLiteral("1"));
  txtTamBloque_->setFixedWidth(estilo::anchoCaracteres(txtTamBloque_, 4) + 16);
  auto* etiquetaBloque = new QLabel(QStringLiteral("Tamaño de bloque"), ic);
  etiquetaBloque->setBuddy(txtTamBloque_);
  cmdAnalizar_ = estilo::boton(QStringLiteral("CmdAnalizar"), QStringLiteral("Analizar"), ic);
  cmdAnalizar_->setMinimumWidth(estilo::anchoCaracteres(cmdAnalizar_, 12));

  flexResultados_ = new Rejilla(ic);
  flexResultados_->setObjectName(QStringLiteral("FlexResultados"));
  flexResultados_->setFilasFijas(1);
  flexResultados_->setColumnasFijas(0);
  flexResultados_->setColumnas(3);
  flexResultados_->setFilas(1);
  // The heading "Car.|>Frec.        |>Prob.": the counts and the
  // frequencies to the right, the count's column as wide as its spaces ask.
  const QStringList titulos{QStringLiteral("Car."), QStringLiteral("Frec."),
                            QStringLiteral("Prob.")};
  const QList<Alineacion> alineaciones{IzquierdaCentro, DerechaCentro, DerechaCentro};
  const QFontMetrics medidas(flexResultados_->tabla()->font());
  const QList<int> anchos{medidas.horizontalAdvance(QStringLiteral("Car.")) + 24,
                          medidas.horizontalAdvance(QStringLiteral("Frec.        ")) + 16,
                          medidas.horizontalAdvance(QStringLiteral("0,00000")) + 20};
  for (int c = 0; c < 3; ++c) {
    flexResultados_->setAlineacionFija(c, alineaciones[c]);
    flexResultados_->setAlineacionColumna(c, alineaciones[c]);
    flexResultados_->setTexto(0, c, titulos[c]);
    flexResultados_->setAnchoColumna(c, anchos[c] * 15);
  }
  flexResultados_->tabla()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  flexResultados_->tabla()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  flexResultados_->setFixedWidth(anchos[0] + anchos[1] + anchos[2] + 4 +
                                 flexResultados_->tabla()->verticalScrollBar()->sizeHint().width());
  grafico_ = new GraficoFrecuencias(ic);
  grafico_->setObjectName(QStringLiteral("Grafico"));

  txtIC_ = cajaResultado(QStringLiteral("TxtIC"), ic);
  QPalette gris = txtIC_->palette();
  gris.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
  txtIC_->setPalette(gris);
  textEntropia_ = cajaResultado(QStringLiteral("TextEntropia"), ic);
  textEntPonderada_ = cajaResultado(QStringLiteral("TextEntPonderada"), ic);

  auto* filaBloque = new QHBoxLayout;
  filaBloque->setSpacing(8);
  filaBloque->addWidget(etiquetaBloque);
  filaBloque->addWidget(txtTamBloque_);
  filaBloque->addSpacing(8);
  filaBloque->addWidget(cmdAnalizar_);
  filaBloque->addStretch(1);

  auto* medidasTexto = new QVBoxLayout;
  medidasTexto->setSpacing(2);
  const std::pair<const char*, QLineEdit*> resultados[] = {{"Índice de coincidencia", txtIC_},
                                                           {"Entropía", textEntropia_},
                                                           {"Ponderada", textEntPonderada_}};
  for (const auto& [texto, caja] : resultados) {
    auto* etiqueta = new QLabel(QString::fromUtf8(texto), ic);
    etiqueta->setBuddy(caja);
    medidasTexto->addWidget(etiqueta);
    medidasTexto->addWidget(caja);
    medidasTexto->addSpacing(8);
  }
  medidasTexto->addStretch(1);

  auto* filaResultado = new QHBoxLayout;
  filaResultado->setSpacing(8);
  filaResultado->addWidget(flexResultados_);
  filaResultado->addWidget(grafico_, 1);
  filaResultado->addLayout(medidasTexto);

  auto* rejillaIC = new QGridLayout(ic);
  rejillaIC->setContentsMargins(8, 8, 8, 8);
  rejillaIC->setHorizontalSpacing(4);
  rejillaIC->setVerticalSpacing(8);
  rejillaIC->addWidget(estilo::rotulo(QStringLiteral("Texto"), ic), 0, 0);
  rejillaIC->addWidget(txtTexto_[0], 0, 1);
  rejillaIC->addLayout(filaBloque, 1, 1);
  rejillaIC->addWidget(estilo::rotulo(QStringLiteral("Resultado"), ic), 2, 0);
  rejillaIC->addLayout(filaResultado, 2, 1);
  rejillaIC->setRowStretch(0, 2);
  rejillaIC->setRowStretch(2, 3);
  rejillaIC->setColumnStretch(1, 1);

  // Second page: two texts and their mutual index.
  QFrame* icm = panel_[1];
  cmdICM_ = estilo::boton(QStringLiteral("cmdICM"), QStringLiteral("Analizar"), icm);
  cmdICM_->setMinimumWidth(estilo::anchoCaracteres(cmdICM_, 12));
  textICM_ = cajaResultado(QStringLiteral("TextICM"), icm);
  auto* etiquetaICM = new QLabel(QStringLiteral("Índice de coincidencia mutuo"), icm);
  etiquetaICM->setBuddy(textICM_);
  auto* filaICM = new QHBoxLayout;
  filaICM->setSpacing(8);
  filaICM->addWidget(cmdICM_);
  filaICM->addStretch(1);
  filaICM->addWidget(etiquetaICM);
  filaICM->addWidget(textICM_);
  auto* rejillaICM = new QGridLayout(icm);
  rejillaICM->setContentsMargins(8, 8, 8, 8);
  rejillaICM->setHorizontalSpacing(4);
  rejillaICM->setVerticalSpacing(8);
  rejillaICM->addWidget(estilo::rotulo(QStringLiteral("Texto 1"), icm), 0, 0);
  rejillaICM->addWidget(txtTexto_[1], 0, 1);
  rejillaICM->addWidget(estilo::rotulo(QStringLiteral("Texto 2"), icm), 1, 0);
  rejillaICM->addWidget(txtTexto_[2], 1, 1);
  rejillaICM->addLayout(filaICM, 2, 1);
  rejillaICM->setRowStretch(0, 1);
  rejillaICM->setRowStretch(1, 1);
  rejillaICM->setColumnStretch(1, 1);

  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setTextVisible(false);
  progressBar_->setFixedHeight(14);
  progressBar_->setValue(0);

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->setSpacing(6);
  todo->addWidget(paginas_, 1);
  todo->addWidget(progressBar_);
  resize(sizeHint());

  connect(txtTamBloque_->caja(), &QLineEdit::textChanged, this, &ORVAnalizar::cambiaTamBloque);
  connect(cmdAnalizar_, &plankett::FlatButton::Click, this, &ORVAnalizar::Analizar);
  connect(cmdICM_, &plankett::FlatButton::Click, this, &ORVAnalizar::AnalizarICM);
}

void ORVAnalizar::conectaAnalisis() {
  conexiones_[0] = analisis_->eventos.Inicio.conecta([this](int32_t& n) { Inicio(n); });
  conexiones_[1] = analisis_->eventos.Progreso.conecta([this](int32_t& n) { Progreso(n); });
  conexiones_[2] = analisis_->eventos.Fin.conecta([this](int32_t& n) { Fin(n); });
}

QString ORVAnalizar::numero(double valor, int decimales) const {
  QString s = QString::number(valor, 'f', decimales);
  const char32_t decimal = ORVW().Formato().decimal;
  if (decimal != U'.') s.replace(QLatin1Char('.'), QString::fromUcs4(&decimal, 1));
  return s;
}

void ORVAnalizar::cambiaTamBloque() {
  analisis_->setTamBloque(tamBloque(txtTamBloque_->texto()));
}

template <typename F>
void ORVAnalizar::cuenta(F&& trabajo) {
  // A second press while the events of a count run would start nothing (the
  // analyser answers with its stored value) and show that instead.
  if (contando_ > 0) return;
  // The block size waits too: a new one would empty the result being shown.
  ++contando_;
  for (QWidget* w : std::initializer_list<QWidget*>{cmdAnalizar_, cmdICM_, txtTamBloque_})
    w->setEnabled(false);
  ultimoRepintado_ = std::chrono::steady_clock::now();
  try {
    trabajo();
  } catch (const kestrin::ErrorORV& e) {
    // A block size so large on so long a text that nearly every block is new
    // is refused by the analyser before memory runs out; tell the student.
    const QString motivo = e.numero() == kestrin::kMemoriaInsuficiente
                               ? QStringLiteral("Hay demasiados bloques distintos para contarlos. "
                                                "Pruebe con un tamaño de bloque menor.")
                               : QString::fromStdString(e.what());
    QMessageBox::warning(this, QStringLiteral("Análisis del texto"), motivo);
  }
  --contando_;
  for (QWidget* w : std::initializer_list<QWidget*>{cmdAnalizar_, cmdICM_, txtTamBloque_})
    w->setEnabled(true);
  if (cerrarAlTerminar_) {
    cerrarAlTerminar_ = false;
    auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (marco != nullptr)
      marco->close();
    else
      close();
  }
}

void ORVAnalizar::Analizar() {
  cuenta([this] {
    analisis_->setTexto(txtTexto_[0]->CSTexto()->Texto());
    txtIC_->setText(numero(analisis_->IC().aDouble(), 3));
    const double entropia = analisis_->Entropia().aDouble();
    textEntropia_->setText(numero(entropia, 3));
    // A block size of 0 has no weighted entropy: the box stays empty.
    const double bloque = ORVW().Eval(txtTamBloque_->texto().toStdU32String());
    textEntPonderada_->setText(bloque != 0 ? numero(entropia / bloque, 3) : QString());
  });
}

void ORVAnalizar::AnalizarICM() {
  cuenta([this] {
    analisis_->setTexto1(txtTexto_[1]->CSTexto()->Texto());
    analisis_->setTexto2(txtTexto_[2]->CSTexto()->Texto());
    textICM_->setText(numero(analisis_->ICM().aDouble(), 3));
  });
}

void ORVAnalizar::Inicio(int32_t n) {
  // A bar cannot have a maximum of 0 (an empty text): it keeps the one it had.
  if (n > 0) progressBar_->setRange(0, n);
  progressBar_->setValue(0);
  ultimoProgreso_ = 0;
}

void ORVAnalizar::Progreso(int32_t n) {
  const int maximo = progressBar_->maximum();
  const int valor = std::min(n, maximo);
  // Moving the bar by less than a thousandth of its length shows nothing new.
  if (valor - ultimoProgreso_ >= std::max(1, maximo / 1000) || valor == maximo) {
    progressBar_->setValue(valor);
    ultimoProgreso_ = valor;
  }
  repinta();
}

void ORVAnalizar::repinta() {
  const auto ahora = std::chrono::steady_clock::now();
  if (ahora - ultimoRepintado_ >= kIntervaloRepintado) {
    ultimoRepintado_ = ahora;
    kestrin::ProcesaEventos();
  }
}

void ORVAnalizar::Fin(int32_t n) {
  progressBar_->setValue(std::clamp(n, progressBar_->minimum(), progressBar_->maximum()));
  if (paginas_->currentIndex() != kPrimeraPestana) return;
  llenaResultados();
}

void ORVAnalizar::llenaResultados() {
  const tarnel::ORVResultado& resultado = *analisis_->Resultado();
  Rejilla& g = *flexResultados_;
  g.setRedibujo(false);
  g.setAlineacionColumna(0, IzquierdaCentro);
  const int32_t n = resultado.Count();
  g.setFilas(n + 1);
  const double total = resultado.Total();
  for (int32_t i = 1; i <= n; ++i) {
    const auto item = resultado.Item(i);
    g.setTexto(i, 0, QString::fromStdU32String(item->Texto()));
    g.setTexto(i, 1, QString::number(item->Frecuencia()));
    g.setTexto(i, 2, numero(item->Frecuencia() / total, 5));
    // A result of many thousands of blocks takes a while to show: the window
    // keeps repainting meanwhile (its buttons wait while a count is on).
    if (i % 1024 == 0 && contando_ > 0) repinta();
  }
  if (g.Filas() >= 2) {
    if (contando_ > 0) repinta();
    g.Selecciona(1, 1, g.Filas() - 1, 1);
    g.Ordena(Rejilla::GenericoDescendente);
    g.Selecciona(0, 0, 0, 0);
  }
  g.setRedibujo(true);
  if (contando_ > 0) repinta();

  std::vector<GraficoFrecuencias::Barra> barras;
  barras.reserve(static_cast<size_t>(n));
  for (int32_t i = 1; i < g.Filas(); ++i) {
    barras.push_back({g.Texto(i, 0), g.Texto(i, 1).toDouble() / total});
  }
  const char32_t decimal = ORVW().Formato().decimal;
  grafico_->setBarras(std::move(barras), QString::fromUcs4(&decimal, 1).at(0));
}

void ORVAnalizar::closeEvent(QCloseEvent* e) {
  analisis_->setUserCancel(true);
  kestrin::ProcesaEventos();
  if (contando_ > 0) {
    // The count below still runs on this window's stack: hide now, go when it ends.
    cerrarAlTerminar_ = true;
    e->ignore();
    if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget())) marco->hide();
    hide();
    return;
  }
  QWidget::closeEvent(e);
}

}  // namespace orv
