// The Hill laboratory: block size, key and inverse grids, enciphering.
#include "orv/orvcshill.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "estilo.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "pemmick/orvexttextbox.h"
#include "pemmick/orvrotlabel.h"
#include "plankett/flatbutton.h"
#include "qtcomun/medidas.h"
#include "rejilla/rejilla.h"
#include "tarnel/orvcriptohill.h"
#include "tarnel/orvmatriz.h"

namespace orv {
namespace {

const QString kTitulo = QStringLiteral("Criptosistema de Hill");
constexpr int kPaginaClave = 0;
constexpr int kPaginaCifrado = 1;
constexpr int kModulo = 64;

// The element a cell holds: its number rounded (halves to even, as every
// whole number of the program), 0 when it is no number. A number beyond 32
// bits counts by its remainder modulo 64, which is all the key keeps of it,
// rather than failing halfway through reading the grid.
int32_t elementoDe(const QString& texto) {
  const double v = ORVW().Eval(texto.toStdU32String());
  if (!std::isfinite(v)) return 0;
  double resto = std::fmod(std::nearbyint(v), static_cast<double>(kModulo));
  if (resto < 0) resto += kModulo;
  return static_cast<int32_t>(resto);
}

// True while the keyboard focus is on the grid or on its cell editor.
bool tieneFoco(const QWidget* rejilla) {
  const QWidget* foco = QApplication::focusWidget();
  return foco != nullptr && (foco == rejilla || rejilla->isAncestorOf(foco));
}

}  // namespace

ORVCSHill::ORVCSHill(QWidget* parent) : Laboratorio(QStringLiteral("ORVCSHill"), kTitulo, parent) {
  // Load: the cryptosystem first, whose CambiaTamaño sizes the grids; then
  // block size 2 through the size box, as if typed.
  setWindowIcon(arte::Icono(u"HILL1"));
  cs_ = creaComponente<tarnel::ORVCriptoHill>("Tarnel.ORVCriptoHill");
  construye();
  textTamClave_->setTexto(QStringLiteral("2"));
  paginas_->setCurrentIndex(kPaginaClave);
}

ORVCSHill::~ORVCSHill() = default;

QTabBar* ORVCSHill::TsCripto() const {
  return paginas_->tabBar();
}

QSize ORVCSHill::sizeHint() const {
  return QSize(860, 520).expandedTo(minimumSizeHint());
}

Rejilla* ORVCSHill::nuevaRejilla(QWidget* parent, const QString& nombre) {
  Rejilla* g = lab::rejilla(parent, nombre, 3, 3, 1, 1);
  g->setEditable(true);
  // The grid is as large as its cells at every size, so it never scrolls.
  g->setBarrasDesplazamiento(Rejilla::SinBarras);
  // Tab leaves the grid, as it leaves any other box; the arrows move between cells.
  g->tabla()->setTabKeyNavigation(false);
  return g;
}

QFrame* ORVCSHill::construyePagina(QFrame* pagina, pemmick::ORVExtTextBox* texto,
                                   pemmick::ORVRotLabel* rotulo, CajaArribaAbajo* tamano,
                                   const QString& tituloRejilla, Rejilla* rejilla,
                                   plankett::FlatButton* boton) {
  auto* panel = new QFrame(pagina);
  panel->setObjectName(QStringLiteral("PanelClave"));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  tamano->setParent(panel);
  rejilla->setParent(panel);
  boton->setParent(panel);

  auto* etiquetaTamano = new QLabel(QStringLiteral("Tamaño"), panel);
  etiquetaTamano->setBuddy(tamano);
  auto* filaTamano = new QHBoxLayout;
  filaTamano->setSpacing(8);
  filaTamano->addStretch(1);
  filaTamano->addWidget(etiquetaTamano);
  filaTamano->addWidget(tamano);
  filaTamano->addStretch(1);
  auto* etiquetaRejilla = new QLabel(tituloRejilla, panel);
  etiquetaRejilla->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

  auto* columna = new QVBoxLayout(panel);
  columna->setContentsMargins(10, 10, 10, 10);
  columna->setSpacing(6);
  columna->addLayout(filaTamano);
  columna->addSpacing(6);
  columna->addWidget(etiquetaRejilla);
  columna->addWidget(rejilla, 0, Qt::AlignHCenter);
  columna->addStretch(1);
  columna->addWidget(boton, 0, Qt::AlignHCenter);

  auto* fila = new QHBoxLayout(pagina);
  fila->setContentsMargins(8, 8, 8, 8);
  fila->setSpacing(6);
  fila->addWidget(rotulo);
  fila->addWidget(texto, 1);
  fila->addSpacing(4);
  fila->addWidget(panel);
  return panel;
}

void ORVCSHill::construye() {
  const lab::Paginas paginas =
      lab::paginas(this, QStringLiteral("TsCripto"), {{"Clave y texto"}, {"Texto Cifrado"}},
                   QStringLiteral("panel"), 1);
  paginas_ = paginas.pestanas;
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);

  textTO_ = lab::cajaTexto(panel_[0], QStringLiteral("TextTO"));
  textTC_ = lab::cajaTexto(panel_[1], QStringLiteral("TextTC"), kestrin::CSKHill, true);
  // Only a Hill ciphertext (or nothing) may be placed in the ciphertext box.
  textTC_->setKeysAccepted(kestrin::CSKHill);
  labelTO_ = estilo::rotulo(QStringLiteral("Texto original"), panel_[0]);
  labelTO_->setObjectName(QStringLiteral("LabelTO"));
  labelTC_ = estilo::rotulo(QStringLiteral("Texto Cifrado"), panel_[1]);
  labelTC_->setObjectName(QStringLiteral("LabelTC"));

  textTamClave_ = new CajaArribaAbajo(this, kTamMinimo, kTamMaximo);
  textTamClave_->setObjectName(QStringLiteral("TextTamClave"));
  textTamClaveInversa_ = new CajaArribaAbajo(this, kTamMinimo, kTamMaximo);
  textTamClaveInversa_->setObjectName(QStringLiteral("TextTamClaveInversa"));
  for (CajaArribaAbajo* caja : {textTamClave_, textTamClaveInversa_}) {
    caja->setFixedWidth(estilo::anchoCaracteres(caja, 4) + 16);
    caja->setToolTip(
        QStringLiteral("Tamaño del bloque, de %1 a %2").arg(kTamMinimo).arg(kTamMaximo));
  }

  flexClave_ = nuevaRejilla(this, QStringLiteral("FlexClave"));
  flexClaveInversa_ = nuevaRejilla(this, QStringLiteral("FlexClaveInversa"));
  // Square cells wide enough for two digits and as tall as a line of text.
  const QFontMetrics medidas(flexClave_->tabla()->font());
  lado_ = std::max(medidas.height() + 8, medidas.horizontalAdvance(QStringLiteral("00")) + 12);

  cmdCifra_ = estilo::boton(QStringLiteral("CmdCifra"), QStringLiteral("Cifra"), this);
  cmdDescifra_ = estilo::boton(QStringLiteral("CmdDescifra"), QStringLiteral("Descifra"), this);
  for (plankett::FlatButton* b : {cmdCifra_, cmdDescifra_}) {
    b->setMinimumWidth(estilo::anchoCaracteres(b, 12));
    // Pressing the button takes the focus, as a command button does: the
    // grid being edited is left, and its key read, before the click acts.
    b->setFocusPolicy(Qt::ClickFocus);
  }

  panelClave_[0] = construyePagina(panel_[0], textTO_, labelTO_, textTamClave_,
                                   QStringLiteral("Clave"), flexClave_, cmdCifra_);
  panelClave_[1] =
      construyePagina(panel_[1], textTC_, labelTC_, textTamClaveInversa_,
                      QStringLiteral("Clave inversa"), flexClaveInversa_, cmdDescifra_);
  // Both key panels take the room of the largest grid, so the text boxes of
  // the two pages take the same place and neither moves when the size changes.
  dimensiona(flexClave_, kTamMaximo);
  dimensiona(flexClaveInversa_, kTamMaximo);
  QSize mayor;
  for (QFrame* p : panelClave_) {
    p->layout()->activate();
    mayor = mayor.expandedTo(p->minimumSizeHint());
  }
  for (QFrame* p : panelClave_) {
    p->setFixedWidth(mayor.width());
    p->setMinimumHeight(mayor.height());
  }

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->addWidget(paginas_);
  resize(sizeHint());

  conexiones.conecta(cs_, cs_->eventos.CambiaTamaño, [this](int32_t m) { CambiaTamano(m); });
  enlazaTextos(conexiones, cs_, textTO_, textTC_);
  for (CajaArribaAbajo* caja : {textTamClave_, textTamClaveInversa_}) {
    connect(caja->caja(), &QLineEdit::textChanged, this, [this, caja] { cambiaTexto(caja); });
    connect(caja, &QAbstractSpinBox::editingFinished, this, [this, caja] { dejaTamano(caja); });
  }
  conexiones.conecta(flexClave_->eventos.DespuesDeEditar,
                     [this](int32_t f, int32_t c) { editaClave(f, c); });
  conexiones.conecta(flexClave_->eventos.SalidaFoco, [this] { salidaClave(); });
  conexiones.conecta(flexClaveInversa_->eventos.DespuesDeEditar,
                     [this](int32_t, int32_t) { editaInversa(); });
  conexiones.conecta(flexClaveInversa_->eventos.SalidaFoco, [this] { salidaInversa(); });
  connect(cmdCifra_, &plankett::FlatButton::Click, this, &ORVCSHill::cifra);
  connect(cmdDescifra_, &plankett::FlatButton::Click, this, &ORVCSHill::descifra);
}

// ---------------------------------------------------------------------------
// Block size.

void ORVCSHill::cambiaTexto(CajaArribaAbajo* caja) {
  // Only a size within the limits is taken; anything else (on the way to a
  // number, too) leaves the size and the grids as they are.
  const int32_t n = enteroDe(caja->texto());
  if (n < kTamMinimo || n > kTamMaximo || n == cs_->TamClave()) return;
  protege(kTitulo, [this, n] { cs_->setTamClave(n); });
}

void ORVCSHill::dejaTamano(CajaArribaAbajo* caja) {
  // A size that was not taken does not stay in the box.
  const QString tamano = QString::number(cs_->TamClave());
  if (caja->texto() != tamano) caja->setTexto(tamano);
}

void ORVCSHill::CambiaTamano(int32_t m) {
  // Comparing first keeps the two boxes from setting one another without end.
  for (CajaArribaAbajo* caja : {textTamClave_, textTamClaveInversa_}) {
    if (enteroDe(caja->texto()) != m) caja->setTexto(QString::number(m));
  }
  dimensiona(flexClave_, m);
  dimensiona(flexClaveInversa_, m);
  // The new size empties the key while the cells keep their texts: the key
  // takes them again at once, so that what the grids show is the key in use.
  leeClave();
  muestraInversa();
  estadoDescifra();
}

void ORVCSHill::dimensiona(Rejilla* rejilla, int32_t m) {
  const int32_t n = std::max(0, m);
  rejilla->setRedibujo(false);
  rejilla->setFilas(n + 1);
  rejilla->setColumnas(n + 1);
  for (int32_t i = 0; i <= n; ++i) rejilla->setAltoFila(i, lado_ * qtcomun::kTwipsPorPixel);
  // Square cells: every column as wide as the header row is high.
  const int32_t ancho = rejilla->AltoFila(0);
  for (int32_t c = 0; c <= n; ++c) {
    rejilla->setAnchoColumna(c, ancho);
    rejilla->setAlineacionColumna(c, CentroCentro);
    rejilla->setAlineacionFija(c, CentroCentro);
  }
  for (int32_t i = 1; i <= n; ++i) {
    rejilla->setTexto(0, i, QString::number(i));
    rejilla->setTexto(i, 0, QString::number(i));
  }
  const int lado = (n + 1) * lado_ + 2 * rejilla->tabla()->frameWidth();
  rejilla->setFixedSize(lado, lado);
  rejilla->setRedibujo(true);
}

// ---------------------------------------------------------------------------
// Key entry.

void ORVCSHill::editaClave(int32_t fila, int32_t columna) {
  protege(kTitulo, [&] {
    cs_->Clave()->setElemento(fila, columna, elementoDe(flexClave_->Texto(fila, columna)));
    estadoDescifra();
  });
  // An edit closed by a click elsewhere leaves the grid without its focus
  // ever going from the grid itself: that is leaving it too.
  if (!tieneFoco(flexClave_)) salidaClave();
}

void ORVCSHill::editaInversa() {
  if (!tieneFoco(flexClaveInversa_)) salidaInversa();
}

void ORVCSHill::salidaClave() {
  protege(kTitulo, [this] {
    leeClave();
    muestraInversa();
    estadoDescifra();
  });
}

void ORVCSHill::salidaInversa() {
  protege(kTitulo, [this] {
    const int32_t n = cs_->TamClave();
    if (n < 1) return;
    auto inversa = creaComponente<tarnel::ORVMatriz>("Tarnel.ORVMatriz");
    inversa->setNumColumnas(n);
    inversa->setNumFilas(n);
    for (int32_t i = 1; i <= n; ++i)
      for (int32_t j = 1; j <= n; ++j)
        inversa->setElemento(i, j, elementoDe(flexClaveInversa_->Texto(i, j)));
    // A matrix without inverse leaves the key as it was.
    const auto clave = inversa->Inversa();
    if (!clave) return;
    for (int32_t i = 1; i <= n; ++i) {
      for (int32_t j = 1; j <= n; ++j) {
        const int32_t v = clave->Elemento(i, j);
        cs_->Clave()->setElemento(i, j, v);
        flexClave_->setTexto(i, j, QString::number(v));
      }
    }
    estadoDescifra();
  });
}

void ORVCSHill::leeClave() {
  const int32_t n = cs_->TamClave();
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j)
      cs_->Clave()->setElemento(i, j, elementoDe(flexClave_->Texto(i, j)));
}

void ORVCSHill::muestraInversa() {
  const int32_t n = cs_->TamClave();
  const auto inversa = cs_->ClaveInversa();
  flexClaveInversa_->setRedibujo(false);
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j)
      flexClaveInversa_->setTexto(i, j,
                                  inversa ? QString::number(inversa->Elemento(i, j)) : QString());
  flexClaveInversa_->setRedibujo(true);
}

void ORVCSHill::estadoDescifra() {
  // A key without inverse cannot decipher: the button says so instead of
  // doing nothing.
  const bool puede = cs_->TamClave() > 0 && cs_->ClaveInversa() != nullptr;
  cmdDescifra_->setEnabled(puede);
  cmdDescifra_->setToolTip(
      puede ? QString()
            : QStringLiteral("La clave no tiene inversa módulo 64: escriba en «Clave» una "
                             "matriz de determinante impar."));
}

// ---------------------------------------------------------------------------
// Texts.

void ORVCSHill::cifra() {
  const bool bien = protege(kTitulo, [this] {
    cs_->setTextoOriginal(textTO_->CSTexto());
    cs_->Cifra();
  });
  // The ciphertext is on the other page: bring it to the front.
  if (bien) paginas_->setCurrentIndex(kPaginaCifrado);
}

void ORVCSHill::descifra() {
  bool descifrado = false;
  protege(kTitulo, [this, &descifrado] {
    if (!cs_->ClaveInversa()) return;
    cs_->setTextoCifrado(textTC_->CSTexto());
    cs_->Descifra();
    descifrado = true;
  });
  if (descifrado) paginas_->setCurrentIndex(kPaginaClave);
}

}  // namespace orv
