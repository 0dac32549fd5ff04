// The spreadsheet laboratory: formulas and values, evaluation off the
// interface thread, the wide-value display and the floating zoom panel.
#include "orv/orvcalc.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <mutex>

#include "kestrin/orvtexto.h"
#include "numbrel/orvbignum.h"
#include "numbrel/vigilancia.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/calculofondo.h"
#include "pemmick/orvexttextbox.h"
#include "rejilla/rejilla.h"

namespace orv {

namespace {

const QString kTitulo = QStringLiteral("Mini hoja de cálculo");
constexpr int kTeclaEsc = 27;
// Grey for a cell whose new formula is being evaluated.
constexpr uint32_t kGrisPendiente = 0x808080;
// The room a cell's text leaves to its borders, in pixels.
constexpr int kMargenCelda = 8;

// A toolbar image: the resource bitmap of that key at the usual pixel ratios.
QIcon iconoBarra(const QString& key) {
  QIcon icono;
  for (const qreal ratio : {1.0, 1.5, 2.0, 3.0})
    icono.addPixmap(QPixmap::fromImage(arte::Bitmap(key, ratio)));
  return icono;
}

kestrin::Cadena cadena(const QString& s) {
  return s.toStdU32String();
}

}  // namespace

// Between the window and its worker, under `cerrojo`: whether the worker
// still runs, and whether the window closed meanwhile. A worker reads the
// variable table while it evaluates, so a window closed under it does not
// empty the table itself: the worker does it as it ends, and publishes
// nothing after the window closed.
struct ORVCalc::Publicacion {
  std::mutex cerrojo;
  bool trabajando = true;
  bool cerrada = false;
  bool vaciar = false;
};

bool ORVCalc::lanza(const QString& que, std::function<void(Publicacion&)> trabajo,
                    std::function<void(const CalculoEnFondo::Desenlace&)> fin) {
  if (calculo_->ocupado()) return false;
  auto publicacion = std::make_shared<Publicacion>();
  publicacion_ = publicacion;
  const bool empezado = calculo_->inicia(
      que,
      [publicacion, trabajo = std::move(trabajo)] {
        // However the work ends, it says so, and empties the table when the
        // window closed meanwhile.
        struct AlTerminar {
          Publicacion& p;
          ~AlTerminar() {
            std::lock_guard<std::mutex> cerrojo(p.cerrojo);
            p.trabajando = false;
            if (p.vaciar) BigNum().setvar(U"", U"");
          }
        } alTerminar{*publicacion};
        trabajo(*publicacion);
      },
      std::move(fin));
  if (!empezado) publicacion->trabajando = false;
  return empezado;
}

// ---------------------------------------------------------------------------
// The zoom panel's title strip.

EtiquetaZoom::EtiquetaZoom(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("LabelZoom"));
  setAutoFillBackground(true);
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, palette().color(QPalette::Highlight));
  paleta.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
  setPalette(paleta);
  QFont f = font();
  f.setBold(true);
  setFont(f);
  setContentsMargins(6, 2, 0, 2);
  setCursor(Qt::SizeAllCursor);
}

QRect EtiquetaZoom::cajaCierre() const {
  const int lado = std::max(10, height() - 6);
  return QRect(width() - lado - 3, (height() - lado) / 2, lado, lado);
}

QSize EtiquetaZoom::minimumSizeHint() const {
  const QSize s = QLabel::minimumSizeHint();
  return QSize(s.width() + s.height() + 8, s.height());
}

void EtiquetaZoom::paintEvent(QPaintEvent* e) {
  QLabel::paintEvent(e);
  QPainter p(this);
  // A raised button face with an X.
  QStyleOptionButton opcion;
  opcion.initFrom(this);
  opcion.rect = cajaCierre();
  opcion.state = QStyle::State_Enabled | QStyle::State_Raised;
  style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opcion, &p, this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(palette().color(QPalette::ButtonText), 1.6, Qt::SolidLine, Qt::RoundCap));
  const QRectF x = QRectF(cajaCierre()).adjusted(4, 4, -4, -4);
  p.drawLine(x.topLeft(), x.bottomRight());
  p.drawLine(x.topRight(), x.bottomLeft());
}

// ---------------------------------------------------------------------------
// The window.

ORVCalc::ORVCalc(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCalc"), kTitulo, parent),
      formulas_(static_cast<size_t>(kFilas) * kColumnas),
      valores_(static_cast<size_t>(kFilas) * kColumnas),
      publicacion_(std::make_shared<Publicacion>()) {
  publicacion_->trabajando = false;
  setWindowIcon(arte::Icono(u"CALC1"));
  construye();
}

ORVCalc::~ORVCalc() {
  // The work goes first: nothing of it may reach this window's members.
  delete calculo_;
  calculo_ = nullptr;
}

QSize ORVCalc::sizeHint() const {
  return QSize(820, 560);
}

QAction* ORVCalc::boton(const QString& key) const {
  for (QAction* a : toolbar_->actions())
    if (a->objectName() == key) return a;
  return nullptr;
}

void ORVCalc::construye() {
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName(QStringLiteral("Toolbar"));
  toolbar_->setIconSize(QSize(16, 15));
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const std::pair<const char*, const char*> botones[] = {
      {"zoom", "Zoom del resultado de la celda"}, {"expr", "Muestra la fórmula de la celda"}};
  for (const auto& [key, ayuda] : botones) {
    QAction* a =
        toolbar_->addAction(iconoBarra(QString::fromLatin1(key)), QString::fromLatin1(key));
    a->setObjectName(QString::fromLatin1(key));
    a->setData(QString::fromLatin1(key));
    a->setToolTip(QString::fromUtf8(ayuda));
  }
  boton(QStringLiteral("zoom"))->setCheckable(true);

  // The grid: headers in bold, values to the right as numbers are.
  flexCalc_ = lab::rejilla(this, QStringLiteral("FlexCalc"), kFilas, kColumnas, 1, 1);
  flexCalc_->setEditable(true);
  flexCalc_->setColumnas(kColumnas);
  QTableWidget* tabla = flexCalc_->tabla();
  const QFontMetrics medidas(tabla->font());
  QFont negrita = tabla->font();
  negrita.setBold(true);
  const QFontMetrics medidasNegrita(negrita);
  flexCalc_->setAnchoColumna(
      0, (medidasNegrita.horizontalAdvance(QStringLiteral("00")) + 2 * kMargenCelda) * 15);
  // Twenty digits show whole (2^64 among them); a longer value shows its
  // first digits and its length, up to a million digits.
  const int ancho =
      std::max(medidas.horizontalAdvance(QStringLiteral("0000…(000\u2009000 cifras)")),
               medidas.horizontalAdvance(QString(20, QLatin1Char('0')))) +
      2 * kMargenCelda;
  for (int32_t c = 1; c < kColumnas; ++c) {
    flexCalc_->setTexto(0, c, QString(QChar(u'A' + (c - 1))));
    flexCalc_->setNegritaCelda(0, c, true);
    flexCalc_->setAnchoColumna(c, ancho * 15);
    flexCalc_->setAlineacionColumna(c, DerechaCentro);
    flexCalc_->setAlineacionFija(c, CentroCentro);
  }
  for (int32_t f = 1; f < kFilas; ++f) {
    flexCalc_->setTexto(f, 0, QString::number(f));
    flexCalc_->setNegritaCelda(f, 0, true);
  }
  flexCalc_->setNegritaCelda(0, 0, true);
  // Every cell has its item from the start: an edit that is opening then
  // only changes a text, never the table's items.
  for (int32_t f = 1; f < kFilas; ++f)
    for (int32_t c = 1; c < kColumnas; ++c) flexCalc_->setTexto(f, c, QString());
  flexCalc_->setFila(1);
  flexCalc_->setColumna(1);

  recalcular_ = new QAction(QStringLiteral("Recalcular"), this);
  recalcular_->setObjectName(QStringLiteral("Recalcular"));
  recalcular_->setShortcut(Qt::Key_F9);
  recalcular_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  recalcular_->setToolTip(QStringLiteral("Evalúa de nuevo todas las celdas, por filas (F9)"));
  addAction(recalcular_);
  tabla->setContextMenuPolicy(Qt::ActionsContextMenu);
  tabla->addAction(recalcular_);

  // The strip at the foot: a hint while idle, the work's strip while it runs.
  calculo_ = new CalculoEnFondo(this);
  auto* pie = new QWidget(this);
  pie->setObjectName(QStringLiteral("Pie"));
  auto* filaPie = new QHBoxLayout(pie);
  filaPie->setContentsMargins(0, 0, 0, 0);
  auto* ayuda = new QLabel(
      QStringLiteral("Escriba una expresión en una celda; otras celdas pueden nombrarla (A1, B7…). "
                     "F9 recalcula la hoja."),
      pie);
  ayuda->setObjectName(QStringLiteral("LabelAyuda"));
  ayuda->setContentsMargins(6, 0, 6, 0);
  ayuda->setEnabled(false);
  franja_ = new FranjaTrabajo(calculo_, pie);
  aviso_ = new QLabel(QStringLiteral("Espere a que termine o pulse «Cancelar»"), franja_);
  aviso_->setObjectName(QStringLiteral("LabelAviso"));
  aviso_->setStyleSheet(QStringLiteral("color: #a01010;"));
  aviso_->hide();
  if (auto* filaFranja = qobject_cast<QHBoxLayout*>(franja_->layout()))
    filaFranja->insertWidget(1, aviso_);
  filaPie->addWidget(ayuda, 1);
  filaPie->addWidget(franja_, 1);
  pie->setFixedHeight(std::max(franja_->sizeHint().height(), ayuda->sizeHint().height()));
  connect(calculo_, &CalculoEnFondo::cambiado, this, [this, ayuda] {
    const bool ocupado = calculo_->ocupado();
    ayuda->setVisible(!ocupado);
    if (!ocupado) aviso_->hide();
  });

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(0, 0, 0, 0);
  todo->setSpacing(0);
  todo->addWidget(toolbar_);
  todo->addWidget(flexCalc_, 1);
  todo->addWidget(pie);

  // The floating zoom panel, over the grid, hidden at first.
  panelZoom_ = new QFrame(this);
  panelZoom_->setObjectName(QStringLiteral("PanelZoom"));
  panelZoom_->setFrameShape(QFrame::Panel);
  panelZoom_->setFrameShadow(QFrame::Raised);
  panelZoom_->setLineWidth(2);
  panelZoom_->setAutoFillBackground(true);
  labelZoom_ = new EtiquetaZoom(panelZoom_);
  labelZoom_->setText(QStringLiteral("Valor de A1"));
  textZoom_ = new pemmick::ORVExtTextBox(panelZoom_);
  textZoom_->setObjectName(QStringLiteral("TextZoom"));
  textZoom_->setLocked(true);
  textZoom_->setFontName(QStringLiteral("Courier New"));
  textZoom_->setFontBold(true);
  textZoom_->setFontSize(10);
  textZoom_->setBotonAbrir(false);
  textZoom_->setBotonCortar(false);
  textZoom_->setBotonPegar(false);
  textZoom_->setBotonDeshacer(false);
  const QIcon lupa = iconoBarra(QStringLiteral("zoom"));
  QAction* tamano = textZoom_->AddButton(lupa, lupa, QStringLiteral("zoom"));
  tamano->setToolTip(
      QStringLiteral("Cambia el tamaño de la letra (de %1 a %2)").arg(kTamMinimo).arg(kTamMaximo));
  auto* columnaZoom = new QVBoxLayout(panelZoom_);
  columnaZoom->setContentsMargins(3, 3, 3, 3);
  columnaZoom->setSpacing(2);
  columnaZoom->addWidget(labelZoom_);
  columnaZoom->addWidget(textZoom_, 1);
  panelZoom_->hide();
  labelZoom_->installEventFilter(this);
  panelZoom_->installEventFilter(this);

  resize(sizeHint());

  // Events.
  conexiones.conecta(flexCalc_->eventos.AntesDeEditar,
                     [this](int32_t f, int32_t c, bool& cancela) { antesDeEditar(f, c, cancela); });
  conexiones.conecta(flexCalc_->eventos.DespuesDeEditar,
                     [this](int32_t f, int32_t c) { despuesDeEditar(f, c); });
  conexiones.conecta(flexCalc_->eventos.CeldaCambiada, [this] { celdaCambiada(); });
  connect(tabla->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
          [this] { editorCerrado(); });
  connect(tabla->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int columna) { muestraColumna(columna + 1); });
  connect(boton(QStringLiteral("zoom")), &QAction::toggled, this, &ORVCalc::botonZoom);
  connect(boton(QStringLiteral("expr")), &QAction::triggered, this, &ORVCalc::muestraExpresion);
  connect(recalcular_, &QAction::triggered, this, [this] { Recalcula(); });
  conexiones.conecta(textZoom_->eventos.ButtonClick, [this](QAction*& b) {
    if (b != nullptr && b->objectName() == QLatin1String("zoom")) pasoFuente();
  });
  conexiones.conecta(textZoom_->eventos.KeyDown, [this](int16_t& codigo, int16_t&) {
    if (codigo == kTeclaEsc) ocultaZoom();
  });
}

// ---------------------------------------------------------------------------
// Cells.

QString ORVCalc::Formula(int32_t fila, int32_t columna) const {
  return esDato(fila, columna) ? formulas_[indice(fila, columna)] : QString();
}

QString ORVCalc::Valor(int32_t fila, int32_t columna) const {
  return esDato(fila, columna) ? valores_[indice(fila, columna)] : QString();
}

QString ORVCalc::NombreCelda(int32_t fila, int32_t columna) const {
  return flexCalc_->Texto(0, columna) + flexCalc_->Texto(fila, 0);
}

QString ORVCalc::agrupado(qsizetype n) {
  QString cifras = QString::number(n);
  // Groups of three from the right, parted by a thin space.
  for (qsizetype i = cifras.size() - 3; i > 0; i -= 3) cifras.insert(i, QChar(0x2009));
  return cifras;
}

QString ORVCalc::textoAjustado(const QString& valor, const QFontMetrics& medidas, int ancho) {
  // Every character takes at least a pixel: a text longer than the room in
  // characters never fits, and a value of a million digits is not measured.
  if (valor.size() <= ancho && medidas.horizontalAdvance(valor) <= ancho) return valor;
  qsizetype cifras = 0;
  for (const QChar c : valor)
    if (c.isDigit()) ++cifras;
  const QString cola = QStringLiteral("…(%1 cifras)").arg(agrupado(cifras));
  // As many leading characters as the room takes, one at least.
  qsizetype k = 1;
  const qsizetype tope = std::min<qsizetype>(valor.size() - 1, ancho);
  while (k < tope && medidas.horizontalAdvance(valor.left(k + 1) + cola) <= ancho) ++k;
  return valor.left(k) + cola;
}

void ORVCalc::muestra(int32_t fila, int32_t columna) {
  if (!esDato(fila, columna)) return;
  const QTableWidget* tabla = flexCalc_->tabla();
  const int ancho = tabla->columnWidth(columna - 1) - kMargenCelda;
  flexCalc_->setTexto(fila, columna,
                      textoAjustado(valores_[indice(fila, columna)], tabla->fontMetrics(), ancho));
  flexCalc_->setColorTextoCelda(fila, columna, flexCalc_->ColorTexto());
}

void ORVCalc::muestraColumna(int32_t columna) {
  if (columna < 1 || columna >= kColumnas) return;
  for (int32_t f = 1; f < kFilas; ++f) {
    const bool pendiente = f == filaCalculo_ && columna == columnaCalculo_;
    const bool editada = f == filaEditada_ && columna == columnaEditada_;
    // A cell that shows its formula ("expr") keeps showing it.
    const QString& formula = formulas_[indice(f, columna)];
    const bool conFormula = !formula.isEmpty() && flexCalc_->Texto(f, columna) == formula &&
                            formula != valores_[indice(f, columna)];
    if (!pendiente && !editada && !conFormula) muestra(f, columna);
  }
}

void ORVCalc::antesDeEditar(int32_t fila, int32_t columna, bool& cancela) {
  if (!esDato(fila, columna)) return;
  if (calculo_->ocupado()) {
    cancela = true;
    rehusa();
    return;
  }
  // The user edits the formula, not the value.
  filaEditada_ = fila;
  columnaEditada_ = columna;
  flexCalc_->setTexto(fila, columna, formulas_[indice(fila, columna)]);
}

void ORVCalc::despuesDeEditar(int32_t fila, int32_t columna) {
  filaEditada_ = columnaEditada_ = 0;
  if (!esDato(fila, columna)) return;
  const QString texto = flexCalc_->Texto(fila, columna);
  if (texto == formulas_[indice(fila, columna)]) {
    // The same formula: its value stands.
    muestra(fila, columna);
    return;
  }
  evalua(fila, columna, texto);
}

void ORVCalc::editorCerrado() {
  // An edit left with Esc commits nothing: the cell shows its value again.
  if (filaEditada_ == 0) return;
  const int32_t f = filaEditada_, c = columnaEditada_;
  filaEditada_ = columnaEditada_ = 0;
  if (f != filaCalculo_ || c != columnaCalculo_) muestra(f, c);
}

bool ORVCalc::evalua(int32_t fila, int32_t columna, const QString& formula) {
  const QString nombre = NombreCelda(fila, columna);
  auto resultado = std::make_shared<QString>();
  const bool empezado = lanza(
      QStringLiteral("Calculando %1").arg(nombre),
      [expresion = cadena(formula), resultado](Publicacion&) {
        *resultado = QString::fromStdU32String(BigNum().Eval(expresion, {}, false));
      },
      [this, fila, columna, formula, nombre, resultado](const CalculoEnFondo::Desenlace& d) {
        filaCalculo_ = columnaCalculo_ = 0;
        if (d.error) {
          protege(kTitulo, [&d] { std::rethrow_exception(d.error); });
        } else if (!d.cancelado) {
          const size_t i = indice(fila, columna);
          formulas_[i] = formula;
          valores_[i] = *resultado;
          protege(kTitulo, [&] { BigNum().setvar(cadena(nombre), cadena(valores_[i])); });
        }
        // Cancelled or failed, the cell keeps its formula and value.
        muestra(fila, columna);
        if (panelZoom_->isVisible()) refrescaZoom();
      });
  if (!empezado) {
    rehusa();
    muestra(fila, columna);
    return false;
  }
  filaCalculo_ = fila;
  columnaCalculo_ = columna;
  flexCalc_->setTexto(fila, columna, formula);
  flexCalc_->setColorTextoCelda(fila, columna, kGrisPendiente);
  return true;
}

bool ORVCalc::EscribeFormula(int32_t fila, int32_t columna, const QString& formula) {
  if (!esDato(fila, columna)) return false;
  if (calculo_->ocupado()) {
    rehusa();
    return false;
  }
  if (formula == formulas_[indice(fila, columna)]) {
    muestra(fila, columna);
    return true;
  }
  return evalua(fila, columna, formula);
}

bool ORVCalc::Recalcula() {
  if (calculo_->ocupado()) {
    rehusa();
    return false;
  }
  if (flexCalc_->editando()) return false;
  struct Celda {
    int32_t fila, columna;
    kestrin::Cadena nombre, formula;
  };
  auto celdas = std::make_shared<std::vector<Celda>>();
  for (int32_t f = 1; f < kFilas; ++f)
    for (int32_t c = 1; c < kColumnas; ++c)
      if (!formulas_[indice(f, c)].isEmpty())
        celdas->push_back({f, c, cadena(NombreCelda(f, c)), cadena(formulas_[indice(f, c)])});
  if (celdas->empty()) return true;
  auto valores = std::make_shared<std::vector<QString>>();
  valores->reserve(celdas->size());
  return lanza(
      QStringLiteral("Recalculando"),
      [celdas, valores](Publicacion& publicacion) {
        const std::shared_ptr<numbrel::Vigilancia>& vigilancia = numbrel::vigilanciaActual();
        const auto total = static_cast<int32_t>(celdas->size());
        for (int32_t k = 0; k < total; ++k) {
          const Celda& celda = (*celdas)[static_cast<size_t>(k)];
          if (vigilancia && vigilancia->cancelada()) return;
          if (vigilancia && vigilancia->alProgresar)
            vigilancia->alProgresar(celda.nombre, k + 1, total);
          const kestrin::Cadena valor = BigNum().Eval(celda.formula, {}, false);
          // Each value is published before the next cell is evaluated, so
          // the cells below follow; a stopped evaluation publishes nothing.
          std::lock_guard<std::mutex> cerrojo(publicacion.cerrojo);
          if (publicacion.cerrada || (vigilancia && vigilancia->cancelada())) return;
          BigNum().setvar(celda.nombre, valor);
          valores->push_back(QString::fromStdU32String(valor));
        }
      },
      [this, celdas, valores](const CalculoEnFondo::Desenlace& d) {
        if (d.error) protege(kTitulo, [&d] { std::rethrow_exception(d.error); });
        // What was evaluated and published is kept, even when cancelled.
        for (size_t k = 0; k < valores->size(); ++k) {
          const Celda& celda = (*celdas)[k];
          valores_[indice(celda.fila, celda.columna)] = (*valores)[k];
          muestra(celda.fila, celda.columna);
        }
        if (panelZoom_->isVisible()) refrescaZoom();
      });
}

void ORVCalc::rehusa() {
  // No dialog: the strip says why nothing happened.
  aviso_->show();
}

void ORVCalc::muestraExpresion() {
  const int32_t f = flexCalc_->Fila(), c = flexCalc_->Columna();
  if (!esDato(f, c) || (f == filaCalculo_ && c == columnaCalculo_)) return;
  flexCalc_->setTexto(f, c, formulas_[indice(f, c)]);
}

// ---------------------------------------------------------------------------
// The zoom panel.

void ORVCalc::celdaCambiada() {
  if (panelZoom_->isVisible()) refrescaZoom();
}

void ORVCalc::refrescaZoom() {
  const int32_t f = flexCalc_->Fila(), c = flexCalc_->Columna();
  if (!esDato(f, c)) return;
  labelZoom_->setText(QStringLiteral("Valor de ") + NombreCelda(f, c));
  const QString& valor = valores_[indice(f, c)];
  if (QString::fromStdU32String(textZoom_->CSTexto()->Texto()) == valor) return;
  auto texto = std::make_shared<kestrin::ORVTexto>();
  texto->asigna(cadena(valor), kestrin::CSKNone);
  protege(kTitulo, [&] { textZoom_->setCSTexto(texto); });
}

void ORVCalc::botonZoom(bool abajo) {
  if (!abajo) {
    panelZoom_->hide();
    return;
  }
  if (!zoomColocado_) colocaZoom();
  refrescaZoom();
  panelZoom_->show();
  panelZoom_->raise();
}

void ORVCalc::ocultaZoom() {
  panelZoom_->hide();
  boton(QStringLiteral("zoom"))->setChecked(false);
  flexCalc_->tabla()->setFocus();
}

void ORVCalc::pasoFuente() {
  // 7, 8, … 26 and round to 7; a size outside that range comes back into it.
  const int tamano = static_cast<int>(textZoom_->FontSize());
  const int paso = ((tamano - kTamMinimo + 1) % 20 + 20) % 20;
  textZoom_->setFontSize(static_cast<float>(paso + kTamMinimo));
}

void ORVCalc::colocaZoom() {
  // At the upper right of the grid, as wide as half the window at least.
  const int ancho = std::min(std::max(440, width() / 2), width() - 24);
  const int alto = std::min(220, std::max(120, flexCalc_->height() - 40));
  const QRect rejilla = flexCalc_->geometry();
  panelZoom_->setGeometry(rejilla.right() - ancho - 24, rejilla.top() + 36, ancho, alto);
  zoomColocado_ = true;
}

void ORVCalc::resizeEvent(QResizeEvent* e) {
  Laboratorio::resizeEvent(e);
  if (!zoomColocado_) return;
  // The panel never goes out of reach when the window shrinks.
  QRect g = panelZoom_->geometry();
  g.moveLeft(std::clamp(g.left(), 0, std::max(0, width() - g.width())));
  g.moveTop(std::clamp(g.top(), 0, std::max(0, height() - g.height())));
  panelZoom_->setGeometry(g);
}

bool ORVCalc::eventFilter(QObject* objeto, QEvent* e) {
  if (objeto != labelZoom_ && objeto != panelZoom_) return Laboratorio::eventFilter(objeto, e);
  auto* w = static_cast<QWidget*>(objeto);
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      auto* m = static_cast<QMouseEvent*>(e);
      if (m->button() != Qt::LeftButton) break;
      const QPoint p = m->position().toPoint();
      if (objeto == labelZoom_ && labelZoom_->cajaCierre().contains(p)) {
        ocultaZoom();
        return true;
      }
      arrastrando_ = true;
      agarre_ = w->mapTo(panelZoom_, p);
      return true;
    }
    case QEvent::MouseMove: {
      if (!arrastrando_) break;
      auto* m = static_cast<QMouseEvent*>(e);
      QPoint destino =
          panelZoom_->mapToParent(w->mapTo(panelZoom_, m->position().toPoint())) - agarre_;
      destino.setX(std::clamp(destino.x(), 0, std::max(0, width() - panelZoom_->width())));
      destino.setY(std::clamp(destino.y(), 0, std::max(0, height() - panelZoom_->height())));
      panelZoom_->move(destino);
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (arrastrando_) {
        arrastrando_ = false;
        return true;
      }
      break;
    default:
      break;
  }
  return Laboratorio::eventFilter(objeto, e);
}

// ---------------------------------------------------------------------------

void ORVCalc::alCerrar() {
  // The work under way stops and publishes nothing more; the table is
  // emptied now, or by the worker as it ends if it still reads it.
  calculo_->cancela();
  std::lock_guard<std::mutex> cerrojo(publicacion_->cerrojo);
  publicacion_->cerrada = true;
  if (publicacion_->trabajando)
    publicacion_->vaciar = true;
  else
    protege(kTitulo, [] { BigNum().setvar(U"", U""); });
}

}  // namespace orv
