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
#include <QStyle>
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
// The limits of the block size's arrows: as far as a number the box can show,
// so the arrows go on from any size typed; a size the text cannot hold
// leaves the results empty.
constexpr int kBloqueMaximo = 999999;
const QString kTitulo = QStringLiteral("Análisis del texto");

QLineEdit* cajaResultado(const QString& nombre, QWidget* parent) {
  auto* caja = lab::cajaLinea(parent, nombre, 9);
  caja->setReadOnly(true);
  QFont courier = estilo::fuente(QStringLiteral("Courier New"), 10);
  courier.setStyleHint(QFont::TypeWriter);
  caja->setFont(courier);
  caja->setFixedWidth(estilo::anchoCaracteres(caja, 9));
  return caja;
}

}  // namespace

ORVAnalizar::ORVAnalizar(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVAnalizar"), kTitulo, parent) {
  // Load.
  analisis_ = creaComponente<tarnel::ORVAnaliza>("Tarnel.ORVAnaliza");
  construye();
  // A count still running holds the analyser: its events must not reach a
  // window that is gone, which the window's connections see to.
  progreso_ = std::make_unique<SeguimientoProgreso>(std::vector<QProgressBar*>{progressBar_});
  progreso_->conecta(conexiones, analisis_, analisis_->eventos, false);
  conexiones.conecta(analisis_, analisis_->eventos.Fin, [this](int32_t& n) { Fin(n); });
  setWindowIcon(arte::Icono(u"ANALIZA1"));
  paginas_->setCurrentIndex(kPrimeraPestana);
}

QSize ORVAnalizar::sizeHint() const {
  return QSize(720, 560).expandedTo(minimumSizeHint());
}

QTabBar* ORVAnalizar::tsAnaliza() const {
  return paginas_->tabBar();
}

void ORVAnalizar::construye() {
  const lab::Paginas paginas =
      lab::paginas(this, QStringLiteral("tsAnaliza"), {{"I. C.", "ic"}, {"I. C. M.", "icm"}});
  paginas_ = paginas.pestanas;
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);

  for (int i = 0; i < 3; ++i) {
    txtTexto_[static_cast<size_t>(i)] =
        lab::cajaTexto(panel_[i == 0 ? 0 : 1], QStringLiteral("txtTexto(%1)").arg(i));
  }

  // First page: the text, the block size, the results.
  QFrame* ic = panel_[0];
  txtTamBloque_ = new CajaArribaAbajo(ic, kBloqueMinimo, kBloqueMaximo);
  txtTamBloque_->setObjectName(QStringLiteral("txtTamBloque"));
  txtTamBloque_->setTexto(QStringLiteral("1"));
  // Room for six digits beside the arrows.
  txtTamBloque_->setFixedWidth(
      estilo::anchoCaracteres(txtTamBloque_, 7) +
      txtTamBloque_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, txtTamBloque_) + 8);
  auto* etiquetaBloque = new QLabel(QStringLiteral("Tamaño de bloque"), ic);
  etiquetaBloque->setBuddy(txtTamBloque_);
  cmdAnalizar_ = estilo::boton(QStringLiteral("CmdAnalizar"), QStringLiteral("Analizar"), ic);
  cmdAnalizar_->setMinimumWidth(estilo::anchoCaracteres(cmdAnalizar_, 12));

  flexResultados_ = lab::rejilla(ic, QStringLiteral("FlexResultados"), 1, 3, 1, 0);
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

  auto* filasIC = new lab::FilasRotuladas(ic);
  filasIC->setVerticalSpacing(8);
  filasIC->fila(QStringLiteral("Texto"), txtTexto_[0], 2);
  filasIC->fila(filaBloque);
  filasIC->fila(QStringLiteral("Resultado"), filaResultado, 3);

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
  auto* filasICM = new lab::FilasRotuladas(icm);
  filasICM->setVerticalSpacing(8);
  filasICM->fila(QStringLiteral("Texto 1"), txtTexto_[1]);
  filasICM->fila(QStringLiteral("Texto 2"), txtTexto_[2]);
  filasICM->fila(filaICM);

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

void ORVAnalizar::cambiaTamBloque() {
  analisis_->setTamBloque(enteroDe(txtTamBloque_->texto()));
  // The counts are gone with the old size, and so are the figures drawn from them.
  limpiaMedidas();
}

void ORVAnalizar::limpiaMedidas() {
  for (QLineEdit* caja : {txtIC_, textEntropia_, textEntPonderada_}) caja->clear();
}

template <typename F>
bool ORVAnalizar::cuenta(F&& trabajo) {
  // A second press while the events of a count run would start nothing (the
  // analyser answers with its stored value) and show that instead; the block
  // size waits too, since a new one would empty the result being shown.
  return trabaja(kTitulo, {cmdAnalizar_, cmdICM_, txtTamBloque_}, std::forward<F>(trabajo));
}

QString ORVAnalizar::textoError(const std::exception& e) const {
  // A block size so large on so long a text that nearly every block is new
  // is refused by the analyser before memory runs out; tell the student.
  const auto* error = dynamic_cast<const kestrin::ErrorORV*>(&e);
  if (error != nullptr && error->numero() == kestrin::kMemoriaInsuficiente) {
    return QStringLiteral(
        "Hay demasiados bloques distintos para contarlos. Pruebe con un tamaño de bloque menor.");
  }
  return Laboratorio::textoError(e);
}

void ORVAnalizar::Analizar() {
  // A refused count shows no figures of an earlier one.
  const bool bien = cuenta([this] {
    analisis_->setTexto(txtTexto_[0]->CSTexto()->Texto());
    txtIC_->setText(numeroMostrado(analisis_->IC().aDouble(), 3));
    const double entropia = analisis_->Entropia().aDouble();
    textEntropia_->setText(numeroMostrado(entropia, 3));
    // A block size of 0 has no weighted entropy: the box stays empty.
    const double bloque = ORVW().Eval(txtTamBloque_->texto().toStdU32String());
    textEntPonderada_->setText(bloque != 0 ? numeroMostrado(entropia / bloque, 3) : QString());
  });
  if (!bien && !Ocupado()) limpiaMedidas();
}

void ORVAnalizar::AnalizarICM() {
  const bool bien = cuenta([this] {
    analisis_->setTexto1(txtTexto_[1]->CSTexto()->Texto());
    analisis_->setTexto2(txtTexto_[2]->CSTexto()->Texto());
    textICM_->setText(numeroMostrado(analisis_->ICM().aDouble(), 3));
  });
  if (!bien && !Ocupado()) textICM_->clear();
}

void ORVAnalizar::Fin(int32_t n) {
  progreso_->Fin(n);
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
    g.setTexto(i, 2, numeroMostrado(item->Frecuencia() / total, 5));
    // A result of many thousands of blocks takes a while to show: the window
    // keeps repainting meanwhile (its buttons wait while a count is on).
    if (i % 1024 == 0 && Ocupado()) progreso_->repinta();
  }
  if (g.Filas() >= 2) {
    if (Ocupado()) progreso_->repinta();
    g.Selecciona(1, 1, g.Filas() - 1, 1);
    g.Ordena(Rejilla::GenericoDescendente);
    g.Selecciona(0, 0, 0, 0);
  }
  g.setRedibujo(true);
  if (Ocupado()) progreso_->repinta();

  std::vector<GraficoFrecuencias::Barra> barras;
  barras.reserve(static_cast<size_t>(n));
  for (int32_t i = 1; i < g.Filas(); ++i) {
    barras.push_back({g.Texto(i, 0), g.Texto(i, 1).toDouble() / total});
  }
  const char32_t decimal = ORVW().Formato().decimal;
  grafico_->setBarras(std::move(barras), QString::fromUcs4(&decimal, 1).at(0));
}

void ORVAnalizar::alCerrar() {
  analisis_->setUserCancel(true);
}

}  // namespace orv
