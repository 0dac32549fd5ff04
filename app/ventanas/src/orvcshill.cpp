// The Hill laboratory: block size, key and inverse grids, enciphering.
#include "orv/orvcshill.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QAbstractItemView>
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
#include "tarnel/alfabeto.h"
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
      lab::paginas(this, QStringLiteral("TsCripto"), {{"Clave y texto"}, {"Texto Cifrado"}, {"Texto conocido"}},
                   QStringLiteral("panel"), 1);
  paginas_ = paginas.pestanas;
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);
  panel_[2] = paginas.panel(2);

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
  textTamConocido_ = new CajaArribaAbajo(this, kTamMinimo, kTamMaximo);
  textTamConocido_->setObjectName(QStringLiteral("TextTamConocido"));
  for (CajaArribaAbajo* caja : {textTamClave_, textTamClaveInversa_, textTamConocido_}) {
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
  panelClave_[2] = construyeConocido(panel_[2]);
  dimensiona(flexClave_, kTamMaximo);
  dimensiona(flexClaveInversa_, kTamMaximo);
  QSize mayor;
  for (QFrame* p : {panelClave_[0], panelClave_[1]}) {
    p->layout()->activate();
    mayor = mayor.expandedTo(p->minimumSizeHint());
  }
  for (QFrame* p : {panelClave_[0], panelClave_[1]}) {
    p->setFixedWidth(mayor.width());
    p->setMinimumHeight(mayor.height());
  }

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->addWidget(paginas_);
  resize(sizeHint());

  conexiones.conecta(cs_, cs_->eventos.CambiaTamaño, [this](int32_t m) { CambiaTamano(m); });
  enlazaTextos(conexiones, cs_, textTO_, textTC_);
  for (CajaArribaAbajo* caja : {textTamClave_, textTamClaveInversa_, textTamConocido_}) {
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
  connect(cmdBuscarClaves_, &plankett::FlatButton::Click, this, &ORVCSHill::BuscaClaves);
  conexiones.conecta(flexEncontradas_->eventos.Click,
                     [this] { EligeClaveEncontrada(flexEncontradas_->Fila()); });
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
  for (CajaArribaAbajo* caja : {textTamClave_, textTamClaveInversa_, textTamConocido_}) {
    if (enteroDe(caja->texto()) != m) caja->setTexto(QString::number(m));
  }
  dimensiona(flexClave_, m);
  dimensiona(flexClaveInversa_, m);
  // Keys of another size are no answer any more.
  vaciaEncontradas();
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

// ---------------------------------------------------------------------------
// A known plain text.

namespace orv {
namespace {

// The plain text of a known pair as the key search should read it. The
// search pads a last, partial plain block with "·", which is right only when
// the message ended there; when the cipher text goes on, that block was
// followed by real symbols, and padding it would make the true key disagree
// with the pair. Then only the whole blocks of the plain text are given.
std::shared_ptr<kestrin::ORVTexto> claroConocido(const std::shared_ptr<kestrin::ORVTexto>& claro,
                                                 const std::shared_ptr<kestrin::ORVTexto>& cifrado,
                                                 int32_t n) {
  if (n < 1) return claro;
  const auto simbolos = [](const kestrin::Cadena& t) {
    kestrin::VistaCadena v(t);
    // Any leading tag is no part of the text, as the cipher reads it.
    if (kestrin::etiqueta::busca(v, true)) v.remove_prefix(kestrin::etiqueta::kLongitud);
    kestrin::Cadena r;
    for (const char32_t c : v)
      if (tarnel::alfabeto::valor(c) >= 0) r += c;
    return r;
  };
  const kestrin::Cadena p = simbolos(claro->Texto());
  const size_t q = simbolos(cifrado->Texto()).size();
  const auto bloque = static_cast<size_t>(n);
  if (p.size() % bloque == 0 || q <= (p.size() / bloque + 1) * bloque) return claro;
  auto enteros = std::make_shared<kestrin::ORVTexto>();
  enteros->asigna(p.substr(0, p.size() / bloque * bloque), claro->Key());
  return enteros;
}

}  // namespace

QFrame* ORVCSHill::construyeConocido(QFrame* pagina) {
  textConocidoTO_ = lab::cajaTexto(pagina, QStringLiteral("TextConocidoTO"));
  textConocidoTC_ =
      lab::cajaTexto(pagina, QStringLiteral("TextConocidoTC"), kestrin::CSKHill, true);
  // The cipher text of the pair, as the ciphertext box takes it.
  textConocidoTC_->setKeysAccepted(kestrin::CSKHill);

  auto* panel = new QFrame(pagina);
  panel->setObjectName(QStringLiteral("PanelConocido"));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  textTamConocido_->setParent(panel);
  cmdBuscarClaves_ =
      estilo::boton(QStringLiteral("CmdBuscarClaves"), QStringLiteral("Buscar claves"), panel);
  cmdBuscarClaves_->setMinimumWidth(estilo::anchoCaracteres(cmdBuscarClaves_, 14));
  cmdBuscarClaves_->setFocusPolicy(Qt::ClickFocus);
  textEncontradas_ = new QLabel(panel);
  textEncontradas_->setObjectName(QStringLiteral("TextEncontradas"));
  textEncontradas_->setWordWrap(true);
  flexEncontradas_ = lab::rejilla(panel, QStringLiteral("FlexEncontradas"), 1, 2, 1, 1);
  flexEncontradas_->setTexto(0, 0, QStringLiteral("N.º"));
  flexEncontradas_->setTexto(0, 1, QStringLiteral("Clave (por filas)"));
  const QFontMetrics medidas(flexEncontradas_->tabla()->font());
  flexEncontradas_->setAnchoColumna(
      0, (medidas.horizontalAdvance(QStringLiteral("N.º 00")) + 12) * qtcomun::kTwipsPorPixel);
  flexEncontradas_->setAnchoColumna(
      1, (medidas.horizontalAdvance(QStringLiteral("00 00 00 / 00 00 00 / 00 00 00")) + 16) *
             qtcomun::kTwipsPorPixel);
  flexEncontradas_->setAlineacionColumna(1, IzquierdaCentro);
  flexEncontradas_->tabla()->setSelectionMode(QAbstractItemView::NoSelection);
  flexEncontradas_->setTextoAyuda(QStringLiteral("Pulse una clave para llevarla a la rejilla "
                                                 "«Clave», lista para descifrar."));
  flexClaveElegida_ = lab::rejilla(panel, QStringLiteral("FlexClaveElegida"), 3, 3, 1, 1);
  flexClaveElegida_->setBarrasDesplazamiento(Rejilla::SinBarras);

  auto* etiquetaTamano = new QLabel(QStringLiteral("Tamaño"), panel);
  etiquetaTamano->setBuddy(textTamConocido_);
  auto* filaTamano = new QHBoxLayout;
  filaTamano->setSpacing(8);
  filaTamano->addWidget(etiquetaTamano);
  filaTamano->addWidget(textTamConocido_);
  filaTamano->addStretch(1);
  filaTamano->addWidget(cmdBuscarClaves_);
  auto* etiquetaElegida = new QLabel(QStringLiteral("Clave elegida"), panel);
  etiquetaElegida->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  auto* columna = new QVBoxLayout(panel);
  columna->setContentsMargins(10, 10, 10, 10);
  columna->setSpacing(6);
  columna->addLayout(filaTamano);
  columna->addWidget(textEncontradas_);
  columna->addWidget(new QLabel(QStringLiteral("Claves que llevan un texto al otro"), panel));
  columna->addWidget(flexEncontradas_, 1);
  columna->addWidget(etiquetaElegida);
  columna->addWidget(flexClaveElegida_, 0, Qt::AlignHCenter);
  panel->setFixedWidth(std::max(
      estilo::anchoCaracteres(panel, 34),
      (flexEncontradas_->AnchoColumna(0) + flexEncontradas_->AnchoColumna(1)) /
              qtcomun::kTwipsPorPixel +
          60));

  auto* textos = new lab::FilasRotuladas(nullptr);
  textos->setSpacing(6);
  textos->fila(QStringLiteral("Texto en claro"), textConocidoTO_, 1);
  textos->fila(QStringLiteral("Texto cifrado"), textConocidoTC_, 1);
  auto* fila = new QHBoxLayout(pagina);
  fila->setContentsMargins(8, 8, 8, 8);
  fila->setSpacing(6);
  fila->addLayout(textos, 1);
  fila->addSpacing(4);
  fila->addWidget(panel);
  vaciaEncontradas();
  return panel;
}

void ORVCSHill::vaciaEncontradas() {
  if (!flexEncontradas_) return;
  flexEncontradas_->setFilas(1);
  const int32_t n = std::max(0, cs_->TamClave());
  dimensiona(flexClaveElegida_, n);
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j) flexClaveElegida_->setTexto(i, j, QString());
  textEncontradas_->setText(
      QStringLiteral("Escriba un texto en claro y su cifrado con una clave de tamaño %1, y "
                     "pulse «Buscar claves».")
          .arg(n));
}

void ORVCSHill::BuscaClaves() {
  bool hay = false;
  protege(kTitulo, [this, &hay] {
    vaciaEncontradas();
    const int32_t n = cs_->TamClave();
    cs_->BuscaClaves(claroConocido(textConocidoTO_->CSTexto(), textConocidoTC_->CSTexto(), n),
                     textConocidoTC_->CSTexto());
    const int32_t total = cs_->NumClavesEncontradas();
    if (total == 0) {
      textEncontradas_->setText(
          QStringLiteral("Ninguna clave de tamaño %1 lleva este texto en claro a este texto "
                         "cifrado (o los textos no llegan a un bloque de %1 símbolos).")
              .arg(n));
      return;
    }
    Rejilla& g = *flexEncontradas_;
    g.setRedibujo(false);
    g.setFilas(total + 1);
    for (int32_t k = 1; k <= total; ++k) {
      const auto clave = cs_->ClaveEncontrada(k);
      QStringList filas;
      for (int32_t i = 1; i <= n; ++i) {
        QStringList elementos;
        for (int32_t j = 1; j <= n; ++j) elementos << QString::number(clave->Elemento(i, j));
        filas << elementos.join(QLatin1Char(' '));
      }
      g.setTexto(k, 0, QString::number(k));
      g.setTexto(k, 1, filas.join(QStringLiteral(" / ")));
    }
    g.setRedibujo(true);
    QString texto = total == 1
                        ? QStringLiteral("Una sola clave lleva un texto al otro.")
                        : QStringLiteral("%1 claves llevan un texto al otro: los bloques no "
                                         "bastan para decidir entre ellas.")
                              .arg(total);
    if (cs_->MasClavesEncontradas())
      texto += QStringLiteral(" Hay más; se ven las %1 primeras.").arg(total);
    textEncontradas_->setText(texto);
    hay = true;
  });
  // The first key goes to the key grid at once.
  if (hay) EligeClaveEncontrada(1);
}

void ORVCSHill::EligeClaveEncontrada(int32_t fila) {
  Rejilla& g = *flexEncontradas_;
  if (fila < 1 || fila >= g.Filas()) return;
  protege(kTitulo, [&] {
    const int32_t n = cs_->TamClave();
    const auto clave = cs_->ClaveEncontrada(fila);
    if (!clave || clave->NumFilas() != n) return;
    for (int32_t i = 1; i <= n; ++i) {
      for (int32_t j = 1; j <= n; ++j) {
        const int32_t v = clave->Elemento(i, j);
        cs_->Clave()->setElemento(i, j, v);
        flexClave_->setTexto(i, j, QString::number(v));
        flexClaveElegida_->setTexto(i, j, QString::number(v));
      }
    }
    muestraInversa();
    estadoDescifra();
    for (int32_t f = 1; f < g.Filas(); ++f) {
      const bool elegida = f == fila;
      for (int32_t c = 0; c < g.Columnas(); ++c) {
        g.setColorFondoCelda(f, c, elegida ? g.ColorFondoSeleccion() : g.ColorFondo());
        g.setColorTextoCelda(f, c, elegida ? g.ColorTextoSeleccion() : g.ColorTexto());
      }
    }
  });
}

}  // namespace orv
