// The Vigenère and XOR laboratories: enciphering with a key word and the
// three stages of the attack on a periodic key.
#include "orv/orvcsperiodico.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

#include "estilo.h"
#include "kestrin/moneda.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "kestrin/procesa.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/graficoperiodos.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "qtcomun/medidas.h"
#include "rejilla/rejilla.h"
#include "tarnel/criptoperiodico.h"

namespace orv {
namespace {

constexpr int kCifrado = 0;
constexpr int kEtapaPeriodo = 0;
constexpr int kEtapaDesplazamientos = 1;
constexpr int kEtapaClave = 2;
constexpr int kEtapaResolver = 3;
// The shifts a pair of columns is tried at: the symbols of the alphabet.
constexpr int kDesplazamientos = 64;
// The candidate keys the component proposes, at most.
constexpr int kCandidatas = 64;
// The system colour of tool-tip backgrounds: a shift the student chose.
constexpr uint32_t kFondoAyuda = 0x80000018;

const QString kTituloPeriodo = QStringLiteral("Periodo");
const QString kTituloDesplazamientos = QStringLiteral("Desplazamientos");
const QString kTituloClave = QStringLiteral("Clave");
const QString kTituloResolver = QStringLiteral("Resolver");
const QString kTituloClaveErronea = QStringLiteral("Clave errónea");

// A message box with a Spanish button, whatever translations Qt has.
void caja(QWidget* padre, QMessageBox::Icon icono, const QString& titulo, const QString& texto) {
  QMessageBox m(icono, titulo, texto, QMessageBox::NoButton, padre);
  m.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
  m.exec();
}

// The pairs of key positions (i, j), i < j, in the order of the shift grid's
// columns: (1,2), (1,3), …, (1,P), (2,3), …, (P−1,P).
std::vector<std::pair<int32_t, int32_t>> paresDe(int32_t periodo) {
  std::vector<std::pair<int32_t, int32_t>> pares;
  if (periodo > 1) pares.reserve(static_cast<size_t>(periodo) * (periodo - 1) / 2);
  for (int32_t i = 1; i < periodo; ++i)
    for (int32_t j = i + 1; j <= periodo; ++j) pares.emplace_back(i, j);
  return pares;
}

// A width that holds the widest of the samples in the grid's font, in twips.
int32_t anchoPara(const Rejilla* g, std::initializer_list<QString> muestras) {
  const QFontMetrics medidas(g->tabla()->font());
  int ancho = 0;
  for (const QString& s : muestras) ancho = std::max(ancho, medidas.horizontalAdvance(s));
  return (ancho + 18) * qtcomun::kTwipsPorPixel;
}

// An index as the grids keep it: its four decimals, in the user's format.
QString indice(kestrin::Moneda valor) {
  return numeroMostrado(valor.aDouble(), 4);
}

QLabel* rotuloEtapa(const QString& texto, QWidget* parent) {
  auto* l = new QLabel(texto, parent);
  l->setWordWrap(true);
  return l;
}

// A caption with its box.
QLabel* etiquetaDe(const QString& texto, QWidget* caja, QWidget* parent) {
  auto* l = new QLabel(texto, parent);
  l->setBuddy(caja);
  return l;
}

QProgressBar* barra(const QString& nombre, QWidget* parent) {
  auto* b = new QProgressBar(parent);
  b->setObjectName(nombre);
  b->setTextVisible(false);
  b->setFixedHeight(14);
  b->setValue(0);
  return b;
}

}  // namespace

ORVCSPeriodico::ORVCSPeriodico(const Modelo& modelo, QWidget* parent)
    : Laboratorio(QString::fromLatin1(modelo.nombre), QString::fromUtf8(modelo.titulo), parent) {
  avisa = [this](const QString& titulo, const QString& texto) {
    caja(this, QMessageBox::Warning, titulo, texto);
  };
  informa = [this](const QString& titulo, const QString& texto) {
    caja(this, QMessageBox::Information, titulo, texto);
  };
  // Load: the cryptosystem first; its events place the results.
  cs_ = creaComponente<tarnel::CriptoPeriodico>(modelo.clase);
  construye(modelo.claveCifrado);
  progreso_ = std::make_unique<SeguimientoProgreso>(
      std::vector<QProgressBar*>{progressBarPeriodo_, progressBar_});
  progreso_->vacioLleno = true;
  progreso_->actual = [this] {
    return etapas_->currentIndex() == kEtapaPeriodo ? progressBarPeriodo_ : progressBar_;
  };
  progreso_->conecta(conexiones, cs_, cs_->eventos, false);
  conecta();
  setWindowIcon(arte::Icono(QString::fromLatin1(modelo.icono)));
  paginas_->setCurrentIndex(kCifrado);
  cambiaCripto(kCifrado);
  etapas_->setCurrentIndex(kEtapaPeriodo);
}

ORVCSPeriodico::~ORVCSPeriodico() {
  // The controls outlive this part of the window while they are taken down,
  // and a tab widget losing its pages still signals: nothing of theirs may
  // reach the window any more.
  conexiones.desconectaTodo();
  for (QObject* emisor :
       std::initializer_list<QObject*>{paginas_, etapas_, cbClave_, textPeriodo_, cmdCifra(),
                                       cmdDescifra(), cmdPeriodo_, cmdDesplazamientos_,
                                       cmdResolver_}) {
    emisor->disconnect(this);
  }
  textPeriodo_->removeEventFilter(this);
  flexIC_->tabla()->horizontalHeader()->viewport()->removeEventFilter(this);
}

QSize ORVCSPeriodico::sizeHint() const {
  // Room for the index grid and, under it, the period aids.
  return QSize(900, 760).expandedTo(minimumSizeHint());
}

QTabBar* ORVCSPeriodico::tsCripto() const {
  return paginas_->tabBar();
}

QTabBar* ORVCSPeriodico::tsAnaliza() const {
  return etapas_->tabBar();
}

void ORVCSPeriodico::construye(int32_t claveCifrado) {
  const lab::Paginas paginas = lab::paginas(
      this, QStringLiteral("tsCripto"), {{"Cifrado", "cifracion"}, {"Criptoanálisis", "analisis"}});
  paginas_ = paginas.pestanas;
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);

  // Enciphering: the two texts, the key word beside the two buttons.
  const lab::PaginaCifrado cifrado = lab::paginaCifrado(panel_[0], claveCifrado);
  txtTO_ = cifrado.TxtTO;
  txtTC_ = cifrado.txtTC;
  txtTC_->setKeysAccepted(claveCifrado);
  panelCifrar_ = cifrado.panelCifrar;
  panelClave_ = new QFrame(panel_[0]);
  panelClave_->setObjectName(QStringLiteral("PanelClave"));
  txtClave_ = lab::cajaLinea(panelClave_, QStringLiteral("TxtClave"), 24, Qt::AlignLeft);
  auto* filaClave = new QHBoxLayout(panelClave_);
  filaClave->setContentsMargins(0, 0, 0, 0);
  filaClave->setSpacing(6);
  filaClave->addWidget(etiquetaDe(QStringLiteral("Clave"), txtClave_, panelClave_));
  filaClave->addWidget(txtClave_);
  cifrado.filaBotones->insertWidget(1, panelClave_);
  cifrado.filaBotones->insertSpacing(2, 24);

  // Cryptanalysis: one page per stage.
  const lab::Paginas etapas =
      lab::paginas(panel_[1], QStringLiteral("tsAnaliza"),
                   {{"Periodo"}, {"Desplazamientos"}, {"Clave"}, {"Resolver"}}, QStringLiteral("PanelAnalisis"));
  etapas_ = etapas.pestanas;
  QFont estrecha = estilo::fuente(QStringLiteral("Arial Narrow"), etapas_->font().pointSizeF());
  estrecha.setStretch(QFont::SemiCondensed);
  etapas_->tabBar()->setFont(estrecha);
  for (size_t i = 0; i < panelAnalisis_.size(); ++i) panelAnalisis_[i] = etapas.panel(i);
  auto* analisis = new QVBoxLayout(panel_[1]);
  analisis->setContentsMargins(4, 4, 4, 4);
  analisis->addWidget(etapas_);

  // Stage 1: the period.
  QFrame* periodo = panelAnalisis_[0];
  textICTipico_ = lab::cajaLinea(periodo, QStringLiteral("TextICTipico"), 6);
  textICTipico_->setText(numeroMostrado(0.080, 3));
  txtMaxM_ = new CajaArribaAbajo(periodo, 1, kPeriodoMayor);
  txtMaxM_->setObjectName(QStringLiteral("txtMaxM"));
  txtMaxM_->setTexto(QStringLiteral("10"));
  txtMaxM_->setFixedWidth(estilo::anchoCaracteres(txtMaxM_, 4) + 16);
  textPeriodo_ = lab::cajaLinea(periodo, QStringLiteral("TextPeriodo"), 4);
  cmdPeriodo_ = estilo::boton(QStringLiteral("CmdPeriodo"), QStringLiteral("Analiza"), periodo);
  cmdPeriodo_->setMinimumWidth(estilo::anchoCaracteres(cmdPeriodo_, 12));
  flexIC_ = lab::rejilla(periodo, QStringLiteral("FlexIC"), 1, 2);
  flexIC_->setTexto(0, 0, QStringLiteral("Periodo"));
  flexIC_->setAnchoColumna(
      0, anchoPara(flexIC_,
                   {QStringLiteral("Periodo"), QStringLiteral("Col. 40"), numeroMostrado(0.1, 4)}));
  flexIC_->setAnchoColumna(1, flexIC_->AnchoColumna(0));
  panelProgreso_ = new QFrame(periodo);
  panelProgreso_->setObjectName(QStringLiteral("PanelProgreso"));
  progressBarPeriodo_ = barra(QStringLiteral("ProgressBarPeriodo"), panelProgreso_);
  auto* filaProgreso = new QHBoxLayout(panelProgreso_);
  filaProgreso->setContentsMargins(0, 0, 0, 0);
  filaProgreso->addWidget(progressBarPeriodo_);
  // Shown only while the search runs; its place is kept so nothing moves.
  QSizePolicy politica = panelProgreso_->sizePolicy();
  politica.setRetainSizeWhenHidden(true);
  panelProgreso_->setSizePolicy(politica);
  panelProgreso_->hide();

  auto* filaPeriodo = new QHBoxLayout;
  filaPeriodo->setSpacing(6);
  filaPeriodo->addWidget(etiquetaDe(QStringLiteral("I. C. Típico"), textICTipico_, periodo));
  filaPeriodo->addWidget(textICTipico_);
  filaPeriodo->addSpacing(14);
  filaPeriodo->addWidget(etiquetaDe(QStringLiteral("Periodo máximo:"), txtMaxM_, periodo));
  filaPeriodo->addWidget(txtMaxM_);
  filaPeriodo->addSpacing(14);
  filaPeriodo->addWidget(etiquetaDe(QStringLiteral("Periodo estimado:"), textPeriodo_, periodo));
  filaPeriodo->addWidget(textPeriodo_);
  filaPeriodo->addStretch(1);
  filaPeriodo->addWidget(cmdPeriodo_);
  auto* etapa1 = new QVBoxLayout(periodo);
  etapa1->setContentsMargins(10, 10, 10, 10);
  etapa1->setSpacing(8);
  etapa1->addWidget(rotuloEtapa(
      QStringLiteral("Etapa 1: determinación de la longitud de la clave (periodo) mediante el "
                     "índice de coincidencia."),
      periodo));
  etapa1->addLayout(filaPeriodo);
  construyeAyudas(periodo, etapa1);
  etapa1->addWidget(panelProgreso_);

  // Stage 2: the shifts between the columns.
  QFrame* desplazamientos = panelAnalisis_[1];
  cmdDesplazamientos_ = estilo::boton(QStringLiteral("CmdDesplazamientos"),
                                      QStringLiteral("Analiza"), desplazamientos);
  cmdDesplazamientos_->setMinimumWidth(estilo::anchoCaracteres(cmdDesplazamientos_, 12));
  flexICM_ = lab::rejilla(desplazamientos, QStringLiteral("FlexICM"), 1, 2);
  flexICM_->setTexto(0, 0, QStringLiteral("Despl."));
  flexICM_->setTexto(0, 1, QStringLiteral("1-2"));
  flexICM_->setAnchoColumna(
      0, anchoPara(flexICM_,
                   {QStringLiteral("Despl."), QStringLiteral("39-40"), numeroMostrado(0.1, 3)}));
  flexICM_->setAnchoColumna(1, flexICM_->AnchoColumna(0));
  progressBar_ = barra(QStringLiteral("ProgressBar"), desplazamientos);
  auto* filaDesplazamientos = new QHBoxLayout;
  filaDesplazamientos->addStretch(1);
  filaDesplazamientos->addWidget(cmdDesplazamientos_);
  auto* etapa2 = new QVBoxLayout(desplazamientos);
  etapa2->setContentsMargins(10, 10, 10, 10);
  etapa2->setSpacing(8);
  etapa2->addWidget(rotuloEtapa(
      QStringLiteral("Etapa 2: determinación de los desplazamientos relativos entre los "
                     "caracteres de la clave."),
      desplazamientos));
  etapa2->addLayout(filaDesplazamientos);
  etapa2->addWidget(flexICM_, 1);
  etapa2->addWidget(progressBar_);

  // A click on these grids chooses a period or a shift: it moves the current
  // cell only, so the colours the window gives stay in sight.
  for (Rejilla* g : {flexIC_, flexICM_}) {
    g->tabla()->setSelectionMode(QAbstractItemView::NoSelection);
  }

  // Stage 3: the key.
  QFrame* clave = panelAnalisis_[2];
  cbClave_ = new QComboBox(clave);
  cbClave_->setObjectName(QStringLiteral("CbClave"));
  cbClave_->setMinimumWidth(estilo::anchoCaracteres(cbClave_, 44));
  cbClave_->setMaxVisibleItems(16);
  // The decipherment with its side caption, under the caption and the list
  // that line up with the other stages'.
  auto* descifrado = new QWidget(clave);
  textOriginal_ = lab::cajaTexto(descifrado, QStringLiteral("TextOriginal"));
  // A trial decipherment to read: nothing to open, cut, paste or undo.
  textOriginal_->setLocked(true);
  textOriginal_->setBotonAbrir(false);
  textOriginal_->setBotonCortar(false);
  textOriginal_->setBotonPegar(false);
  textOriginal_->setBotonDeshacer(false);
  auto* filaCandidatas = new QHBoxLayout;
  filaCandidatas->setSpacing(6);
  filaCandidatas->addWidget(etiquetaDe(QStringLiteral("Clave:"), cbClave_, clave));
  filaCandidatas->addWidget(cbClave_);
  filaCandidatas->addStretch(1);
  auto* filaDescifrado = new lab::FilasRotuladas(descifrado);
  filaDescifrado->setContentsMargins(0, 0, 0, 0);
  filaDescifrado->fila(QStringLiteral("Texto original"), textOriginal_, 1);
  auto* etapa3 = new QVBoxLayout(clave);
  etapa3->setContentsMargins(10, 10, 10, 10);
  etapa3->setSpacing(8);
  etapa3->addWidget(rotuloEtapa(QStringLiteral("Etapa 3: determinación de la clave y desCifrado "
                                               "mediante exploración sistemática."),
                                clave));
  etapa3->addLayout(filaCandidatas);
  etapa3->addWidget(descifrado, 1);

  construyeResolver(panelAnalisis_[kEtapaResolver]);

  for (pemmick::ORVExtTextBox* t : {txtTO_, txtTC_, textOriginal_, textoResuelto_}) {
    t->avisa = [this](const QString& titulo, const QString& texto) {
      caja(this, QMessageBox::Information, titulo, texto);
    };
  }

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->addWidget(paginas_);
  resize(sizeHint());
}

void ORVCSPeriodico::conecta() {
  enlazaTextos(conexiones, cs_, txtTO_, txtTC_);
  conexiones.conecta(cs_, cs_->eventos.Cifrado, [this] { cifrado(); });
  conexiones.conecta(cs_, cs_->eventos.Warning, [this](const kestrin::Cadena& texto) {
    aviso(QString::fromStdU32String(texto));
  });
  connect(paginas_, &QTabWidget::currentChanged, this, &ORVCSPeriodico::cambiaCripto);
  connect(etapas_, &QTabWidget::currentChanged, this, &ORVCSPeriodico::cambiaEtapa);
  connect(cmdCifra(), &plankett::FlatButton::Click, this, &ORVCSPeriodico::cifra);
  connect(cmdDescifra(), &plankett::FlatButton::Click, this, &ORVCSPeriodico::descifra);
  connect(cmdPeriodo_, &plankett::FlatButton::Click, this, &ORVCSPeriodico::AnalizaPeriodo);
  connect(cmdDesplazamientos_, &plankett::FlatButton::Click, this,
          &ORVCSPeriodico::AnalizaDesplazamientos);
  connect(textPeriodo_, &QLineEdit::returnPressed, this, &ORVCSPeriodico::tomaPeriodo);
  textPeriodo_->installEventFilter(this);
  connect(cbClave_, &QComboBox::activated, this, &ORVCSPeriodico::eligeClave);

  conexiones.conecta(flexIC_->eventos.MouseMove, [this](int16_t&, int16_t&, float&, float&) {
    mueveRaton(flexIC_->FilaRaton());
  });
  conexiones.conecta(flexIC_->eventos.CeldaCambiada, [this] { eligeFilaPeriodo(); });
  // The header row is no part of the cells the grid follows the mouse over.
  QHeaderView* cabecera = flexIC_->tabla()->horizontalHeader();
  cabecera->setMouseTracking(true);
  cabecera->viewport()->setMouseTracking(true);
  cabecera->viewport()->installEventFilter(this);
  conexiones.conecta(flexICM_->eventos.Click, [this] { corrigeDesplazamiento(); });
}

bool ORVCSPeriodico::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == textPeriodo_ && evento->type() == QEvent::FocusOut) {
    // Another window or a menu taking the focus for a while is no leaving
    // of the box: the focus comes back to it.
    const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
    if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) tomaPeriodo();
  } else if (objeto == flexIC_->tabla()->horizontalHeader()->viewport() &&
             evento->type() == QEvent::MouseMove) {
    mueveRaton(0);
  }
  return Laboratorio::eventFilter(objeto, evento);
}

template <typename F>
bool ORVCSPeriodico::trabajaEspera(const QString& titulo, F&& trabajo) {
  // Everything that could start a search or change what one works on waits,
  // the tabs included: the enciphering page would replace the text.
  return trabaja(titulo,
                 {paginas_->tabBar(), etapas_->tabBar(), cmdPeriodo_, cmdDesplazamientos_, txtMaxM_,
                  textICTipico_, textPeriodo_, flexIC_, flexICM_, cbClave_, cmdResolver_,
                  flexResueltas_, graficoFactores_, graficoAutocorrelacion_},
                 std::forward<F>(trabajo));
}

// ---------------------------------------------------------------------------
// Enciphering.

void ORVCSPeriodico::cambiaCripto(int i) {
  // The tab widget brings the page to the front; only enciphering needs the plain text.
  cmdCifra()->setEnabled(i == kCifrado);
}

bool ORVCSPeriodico::claveEscrita() {
  cs_->setClave(txtClave_->text().toStdU32String());
  if (!cs_->Clave().empty()) return true;
  // The component would do nothing at all with an empty key: say why.
  avisa(kTituloClaveErronea,
        QStringLiteral("Escriba una clave con al menos un carácter del alfabeto (letras, "
                       "cifras, espacios o signos)."));
  return false;
}

void ORVCSPeriodico::cifra() {
  protege(kTituloClaveErronea, [this] {
    if (!claveEscrita()) return;
    cs_->setTextoOriginal(txtTO_->CSTexto());
    cs_->Cifra();
  });
}

void ORVCSPeriodico::descifra() {
  protege(kTituloClaveErronea, [this] {
    if (!claveEscrita()) return;
    cs_->setTextoCifrado(txtTC_->CSTexto());
    cs_->Descifra();
  });
}

void ORVCSPeriodico::cifrado() {
  // A new ciphertext: the period table of the earlier one goes.
  Rejilla& g = *flexIC_;
  llenandoPeriodos_ = true;
  g.setFilas(1);
  g.setColumnas(2);
  g.setTexto(0, 1, QString());
  g.setTextoAyuda(QString());
  filaRaton_ = -1;
  llenandoPeriodos_ = false;
  vaciaAyudas();
  vaciaResueltas();
}

void ORVCSPeriodico::aviso(const QString& texto) {
  QString t = texto;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  informa(QStringLiteral("Posible error"), t);
}

// ---------------------------------------------------------------------------
// Stage 1: the period.

void ORVCSPeriodico::AnalizaPeriodo() {
  trabajaEspera(kTituloPeriodo, [this] {
    panelProgreso_->show();
    struct Oculta {
      QWidget* panel;
      ~Oculta() { panel->hide(); }
    } oculta{panelProgreso_};
    kestrin::ProcesaEventos();

    cs_->setTextoCifrado(txtTC_->CSTexto());
    const int32_t maximo = enteroDe(txtMaxM_->texto());
    const double tipico = ORVW().Eval(textICTipico_->text().toStdU32String());
    if (maximo < 1 || maximo > kPeriodoMayor) {
      avisa(
          kTituloPeriodo,
          QStringLiteral("Escriba como periodo máximo un número entre 1 y %1.").arg(kPeriodoMayor));
      return;
    }
    if (!(tipico >= 0 && tipico <= 1)) {
      avisa(kTituloPeriodo,
            QStringLiteral("El índice de coincidencia típico es un número entre 0 y 1; para un "
                           "texto en castellano, %1.")
                .arg(numeroMostrado(0.080, 3)));
      return;
    }
    cs_->setMaxPeriodo(maximo);
    cs_->setICTipo(kestrin::Moneda::desdeDouble(tipico));
    // The search writes the period, which empties the shift tables.
    desplazamientosVigentes_ = false;
    cs_->BuscaPeriodo();
    poneTextoPeriodo();
    llenaPeriodos();
    // The aids beside the index, over the same text and periods.
    vaciaAyudas();
    cs_->Kasiski();
    llenaAyudas();
  });
}

void ORVCSPeriodico::llenaPeriodos() {
  Rejilla& g = *flexIC_;
  const int32_t m = cs_->MaxPeriodo();
  struct Llenando {
    ORVCSPeriodico* w;
    ~Llenando() {
      w->llenandoPeriodos_ = false;
      w->flexIC_->setRedibujo(true);
    }
  } llenando{this};
  llenandoPeriodos_ = true;
  g.setRedibujo(false);
  // The cells of an earlier table go with their colours: every new cell has
  // the grid's normal colours.
  g.setFilas(1);
  g.setColumnas(m + 1);
  g.setFilas(m + 1);
  const int32_t ancho = g.AnchoColumna(0);
  for (int32_t c = 0; c <= m; ++c) {
    g.setAnchoColumna(c, ancho);
    g.setAlineacionColumna(c, CentroCentro);
  }
  for (int32_t k = 1; k <= m; ++k) {
    g.setFormatoColumna(k, QStringLiteral("0.000"));
    g.setTexto(0, k, QStringLiteral("Col. %1").arg(k));
    g.setTexto(k, 0, QString::number(k));
  }
  const uint32_t fondo = g.ColorFondo();
  const uint32_t texto = g.ColorTexto();
  for (int32_t fila = 1; fila <= m; ++fila) {
    progreso_->repinta();
    for (int32_t k = 1; k <= fila; ++k) g.setTexto(fila, k, indice(cs_->IC(fila, k)));
    for (int32_t c = 0; c <= m; ++c) {
      g.setColorFondoCelda(fila, c, fondo);
      g.setColorTextoCelda(fila, c, texto);
    }
  }
  // The estimated period stands out; it is also the current row, so a
  // click on any other row chooses that period.
  const int32_t p = cs_->Periodo();
  if (p >= 1 && p <= m) {
    for (int32_t c = 0; c <= m; ++c) {
      g.setColorFondoCelda(p, c, g.ColorFondoSeleccion());
      g.setColorTextoCelda(p, c, g.ColorTextoSeleccion());
    }
    g.setFila(p);
  }
  filaRaton_ = -1;
  g.setTextoAyuda(QString());
}

void ORVCSPeriodico::mueveRaton(int32_t fila) {
  if (fila == filaRaton_) return;
  filaRaton_ = fila;
  Rejilla& g = *flexIC_;
  const int32_t periodo = fila >= 0 && fila < g.Filas() ? enteroDe(g.Texto(fila, 0)) : 0;
  // A row the component holds no indices for (a table being replaced) shows none.
  if (periodo == 0 || fila < 1 || fila > cs_->MaxPeriodo()) {
    g.setTextoAyuda(QString());
    return;
  }
  g.setTextoAyuda(QStringLiteral("I.C. Medio = %1 var = %2")
                      .arg(numeroMostrado(cs_->MediaIC(fila).aDouble(), 4),
                           numeroMostrado(cs_->VarianzaIC(fila).aDouble(), 4)));
}

void ORVCSPeriodico::eligeFilaPeriodo() {
  if (llenandoPeriodos_ || Ocupado()) return;
  const Rejilla& g = *flexIC_;
  const int32_t fila = g.Fila();
  if (fila < 1 || fila >= g.Filas()) return;
  const int32_t periodo = enteroDe(g.Texto(fila, 0));
  protege(kTituloPeriodo, [&] {
    fijaPeriodo(periodo);
    poneTextoPeriodo();
  });
}

void ORVCSPeriodico::tomaPeriodo() {
  // Leaving the box because a search disabled it is no new period.
  if (Ocupado()) return;
  const int32_t periodo = enteroDe(textPeriodo_->text());
  protege(kTituloPeriodo, [&] {
    if (periodo > kPeriodoMayor) {
      poneTextoPeriodo();
      avisa(kTituloPeriodo,
            QStringLiteral("El periodo debe estar entre 1 y %1.").arg(kPeriodoMayor));
      return;
    }
    // Below 1 (or no number) the component keeps its period, and the box shows it again.
    fijaPeriodo(periodo);
    poneTextoPeriodo();
  });
}

bool ORVCSPeriodico::fijaPeriodo(int32_t periodo) {
  // Writing the period empties the shift tables: the same period again
  // keeps what the later stages found.
  if (periodo < 1 || periodo > kPeriodoMayor || periodo == cs_->Periodo()) return false;
  cs_->setPeriodo(periodo);
  desplazamientosVigentes_ = false;
  return true;
}

void ORVCSPeriodico::poneTextoPeriodo() {
  const int32_t p = cs_->Periodo();
  textPeriodo_->setText(p >= 1 ? QString::number(p) : QString());
  // Every view of the period shows the one chosen.
  graficoFactores_->setElegido(p);
  graficoAutocorrelacion_->setElegido(p);
  textPeriodoResuelve_->setText(p >= 1 ? QString::number(p)
                                       : QStringLiteral("ninguno (etapa 1, pestaña «Periodo»)"));
}

// ---------------------------------------------------------------------------
// Stage 2: the shifts.

void ORVCSPeriodico::cambiaEtapa(int i) {
  // A period typed and not yet taken is taken now, whatever moved the focus.
  tomaPeriodo();
  if (i == kEtapaDesplazamientos) {
    // With no period yet there is nothing to lay out: the page shows the
    // empty grid, and its "Analiza" asks for stage 1.
    if (cs_->Periodo() >= 1) preparaDesplazamientos();
  } else if (i == kEtapaClave) {
    buscaClaves();
  } else if (i == kEtapaResolver) {
    poneTextoPeriodo();
  }
}

void ORVCSPeriodico::preparaDesplazamientos() {
  const int32_t p = cs_->Periodo();
  // The grid already shows this period's present tables (a return to the page).
  if (desplazamientosVigentes_ && periodoDesplazamientos_ == p) return;
  Rejilla& g = *flexICM_;
  const auto pares = paresDe(p);
  const int32_t columnas = static_cast<int32_t>(pares.size()) + 1;
  g.setRedibujo(false);
  g.setFilas(1);
  g.setColumnas(columnas);
  const int32_t ancho = g.AnchoColumna(0);
  for (int32_t k = 0; k < columnas; ++k) {
    g.setAnchoColumna(k, ancho);
    g.setAlineacionColumna(k, CentroCentro);
  }
  for (int32_t k = 1; k < columnas; ++k) {
    const auto [i, j] = pares[static_cast<size_t>(k - 1)];
    g.setTexto(0, k, QStringLiteral("%1-%2").arg(i).arg(j));
    g.setDatoColumna(k, i);
    g.setDatoCelda(0, k, j);
  }
  g.setFilas(kFilasDesplazamientos);
  g.setRedibujo(true);
  periodoDesplazamientos_ = p;
  desplazamientosVigentes_ = false;
}

void ORVCSPeriodico::AnalizaDesplazamientos() {
  trabajaEspera(kTituloDesplazamientos, [this] {
    if (cs_->Periodo() < 1) {
      avisa(kTituloDesplazamientos,
            QStringLiteral("Antes hay que determinar el periodo, en la etapa 1 (pestaña "
                           "«Periodo»)."));
      return;
    }
    cs_->BuscaDesplazamientos();
    llenaDesplazamientos();
  });
}

void ORVCSPeriodico::llenaDesplazamientos() {
  const int32_t p = cs_->Periodo();
  if (periodoDesplazamientos_ != p) {
    desplazamientosVigentes_ = false;
    preparaDesplazamientos();
  }
  Rejilla& g = *flexICM_;
  struct Redibuja {
    Rejilla& g;
    ~Redibuja() { g.setRedibujo(true); }
  } redibuja{g};
  g.setRedibujo(false);
  const int32_t columnas = g.Columnas();
  g.setFormatoColumna(0, QStringLiteral("0"));
  for (int32_t k = 1; k < columnas; ++k) g.setFormatoColumna(k, QStringLiteral("0.000"));
  if (columnas >= 2) {
    // New cells, in the grid's normal colours: the marks of an earlier search go.
    g.setFilas(1);
    g.setFilas(kFilasDesplazamientos);
  }
  const auto pares = paresDe(p);
  for (int32_t d = 0; d < kDesplazamientos; ++d) {
    progreso_->repinta();
    g.setTexto(d + 1, 0, QString::number(d));
    for (size_t k = 0; k < pares.size(); ++k) {
      g.setTexto(d + 1, static_cast<int32_t>(k) + 1,
                 indice(cs_->ICM(pares[k].first, pares[k].second, d)));
    }
  }
  // The shift the search chose for each pair.
  for (size_t k = 0; k < pares.size(); ++k) {
    const int32_t d = cs_->Desplazamiento(pares[k].first, pares[k].second);
    const int32_t fila = ((d % kDesplazamientos) + kDesplazamientos) % kDesplazamientos + 1;
    const auto c = static_cast<int32_t>(k) + 1;
    g.setColorFondoCelda(fila, c, g.ColorFondoSeleccion());
    g.setColorTextoCelda(fila, c, g.ColorTextoSeleccion());
  }
  desplazamientosVigentes_ = true;
}

void ORVCSPeriodico::corrigeDesplazamiento() {
  Rejilla& g = *flexICM_;
  const int32_t fila = g.Fila();
  const int32_t columna = g.Columna();
  if (fila < 1 || columna < 1 || fila >= g.Filas() || columna >= g.Columnas()) return;
  const int32_t i = g.DatoColumna(columna).toInt();
  const int32_t j = g.DatoCelda(0, columna).toInt();
  if (i < 1 || j <= i) return;
  const bool bien =
      protege(kTituloDesplazamientos, [&] { cs_->setDesplazamiento(i, j, fila - 1); });
  if (!bien) return;
  // Only the chosen cell stands out in its column, in the colour of a
  // choice of the student's; the mark of the search goes, text and all.
  for (int32_t f = 1; f < g.Filas(); ++f) {
    g.setColorFondoCelda(f, columna, g.ColorFondo());
    g.setColorTextoCelda(f, columna, g.ColorTexto());
  }
  g.setColorFondoCelda(fila, columna, kFondoAyuda);
}

// ---------------------------------------------------------------------------
// Stage 3: the key.

void ORVCSPeriodico::buscaClaves() {
  trabajaEspera(kTituloClave, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Puntero {
      ~Puntero() { QApplication::restoreOverrideCursor(); }
    } puntero;
    {
      const QSignalBlocker bloqueo(cbClave_);
      cbClave_->clear();
    }
    if (cs_->Periodo() < 1) {
      textOriginal_->setCSTexto(std::make_shared<kestrin::ORVTexto>());
      avisa(kTituloClave,
            QStringLiteral("Antes hay que determinar el periodo, en la etapa 1 (pestaña "
                           "«Periodo»)."));
      return;
    }
    cs_->BuscaClaves();
    {
      const QSignalBlocker bloqueo(cbClave_);
      for (int32_t i = 1; i <= kCandidatas; ++i)
        cbClave_->addItem(QString::fromStdU32String(cs_->ClaveProbable(i)));
      cbClave_->setCurrentIndex(0);
    }
    eligeClave(0);
  });
}

void ORVCSPeriodico::eligeClave(int i) {
  if (i < 0 || i >= cbClave_->count()) return;
  protege(kTituloClave, [&] { muestraDescifrado(cbClave_->itemText(i), textOriginal_); });
}

void ORVCSPeriodico::muestraDescifrado(const QString& clave, pemmick::ORVExtTextBox* caja) {
  txtClave_->setText(clave);
  cs_->setClave(clave.toStdU32String());
  auto original = std::make_shared<kestrin::ORVTexto>();
  // An empty entry is no key: nothing is deciphered, and nothing is shown
  // as though it had been.
  if (!cs_->Clave().empty()) {
    cs_->Descifra();
    original->asigna(cs_->TextoOriginal()->Texto(), kestrin::CSKNone);
  }
  caja->setCSTexto(std::move(original));
}

// ---------------------------------------------------------------------------
// The period aids (Kasiski's test, the autocorrelation) and "Resolver".

void ORVCSPeriodico::construyeAyudas(QFrame* periodo, QVBoxLayout* etapa1) {
  // Kasiski: the repeats on the left, the factor counts beside them.
  panelKasiski_ = new QGroupBox(QStringLiteral("Método de Kasiski"), periodo);
  panelKasiski_->setObjectName(QStringLiteral("PanelKasiski"));
  textKasiski_ = new QLabel(panelKasiski_);
  textKasiski_->setObjectName(QStringLiteral("TextKasiski"));
  textKasiski_->setWordWrap(true);
  flexKasiski_ = lab::rejilla(panelKasiski_, QStringLiteral("FlexKasiski"), 1, 3, 1, 0);
  flexKasiski_->setTexto(0, 0, QStringLiteral("Secuencia"));
  flexKasiski_->setTexto(0, 1, QStringLiteral("Posición"));
  flexKasiski_->setTexto(0, 2, QStringLiteral("Distancia"));
  flexKasiski_->setAnchoColumna(0, anchoPara(flexKasiski_, {QStringLiteral("Secuencia"),
                                                             QStringLiteral("mmmmmmmm")}));
  for (int32_t c = 1; c < 3; ++c) {
    flexKasiski_->setAnchoColumna(
        c, anchoPara(flexKasiski_, {QStringLiteral("Distancia"), QStringLiteral("0000000")}));
  }
  flexKasiski_->setAlineacionColumna(0, IzquierdaCentro);
  flexKasiski_->setFilas(1);
  flexKasiski_->tabla()->setSelectionMode(QAbstractItemView::NoSelection);
  flexKasiski_->setTextoAyuda(
      QStringLiteral("Secuencias de símbolos que se repiten en el texto cifrado, la posición de "
                     "la primera aparición y la distancia a la siguiente"));
  flexKasiski_->setFixedWidth(flexKasiski_->AnchoColumna(0) / qtcomun::kTwipsPorPixel +
                              2 * flexKasiski_->AnchoColumna(1) / qtcomun::kTwipsPorPixel + 24);
  graficoFactores_ = new GraficoPeriodos(panelKasiski_);
  graficoFactores_->setObjectName(QStringLiteral("GraficoFactores"));
  graficoFactores_->ayuda = [](int32_t p, int32_t n) {
    return QStringLiteral("Periodo %1: %2 distancias divisibles por %1").arg(p).arg(n);
  };
  auto* factores = new QVBoxLayout;
  factores->setSpacing(2);
  factores->addWidget(new QLabel(QStringLiteral("Distancias divisibles por cada periodo"),
                                 panelKasiski_));
  factores->addWidget(graficoFactores_, 1);
  auto* filaKasiski = new QHBoxLayout;
  filaKasiski->setSpacing(8);
  filaKasiski->addWidget(flexKasiski_);
  filaKasiski->addLayout(factores, 1);
  auto* kasiski = new QVBoxLayout(panelKasiski_);
  kasiski->setContentsMargins(8, 6, 8, 8);
  kasiski->setSpacing(6);
  kasiski->addWidget(textKasiski_);
  kasiski->addLayout(filaKasiski, 1);

  // The autocorrelation: one bar per shift.
  panelAutocorrelacion_ = new QGroupBox(QStringLiteral("Autocorrelación"), periodo);
  panelAutocorrelacion_->setObjectName(QStringLiteral("PanelAutocorrelacion"));
  textAutocorrelacion_ = new QLabel(panelAutocorrelacion_);
  textAutocorrelacion_->setObjectName(QStringLiteral("TextAutocorrelacion"));
  textAutocorrelacion_->setWordWrap(true);
  graficoAutocorrelacion_ = new GraficoPeriodos(panelAutocorrelacion_);
  graficoAutocorrelacion_->setObjectName(QStringLiteral("GraficoAutocorrelacion"));
  graficoAutocorrelacion_->ayuda = [](int32_t d, int32_t n) {
    return QStringLiteral("Desplazamiento %1: %2 símbolos iguales al que está %1 posiciones "
                          "más adelante")
        .arg(d)
        .arg(n);
  };
  auto* autocorrelacion = new QVBoxLayout(panelAutocorrelacion_);
  autocorrelacion->setContentsMargins(8, 6, 8, 8);
  autocorrelacion->setSpacing(6);
  autocorrelacion->addWidget(textAutocorrelacion_);
  autocorrelacion->addWidget(
      new QLabel(QStringLiteral("Coincidencias del texto consigo mismo desplazado"),
                 panelAutocorrelacion_));
  autocorrelacion->addWidget(graficoAutocorrelacion_, 1);

  for (GraficoPeriodos* g : {graficoFactores_, graficoAutocorrelacion_}) {
    g->eligePeriodo = [this](int32_t p) { EligePeriodo(p); };
  }

  auto* ayudas = new QWidget(periodo);
  ayudas->setObjectName(QStringLiteral("AyudasPeriodo"));
  auto* filaAyudas = new QHBoxLayout(ayudas);
  filaAyudas->setContentsMargins(0, 0, 0, 0);
  filaAyudas->setSpacing(8);
  filaAyudas->addWidget(panelKasiski_, 5);
  filaAyudas->addWidget(panelAutocorrelacion_, 3);

  // The index grid over the aids; the student moves the border between them.
  auto* reparto = new QSplitter(Qt::Vertical, periodo);
  reparto->setObjectName(QStringLiteral("RepartoPeriodo"));
  reparto->setChildrenCollapsible(false);
  reparto->addWidget(flexIC_);
  reparto->addWidget(ayudas);
  reparto->setStretchFactor(0, 1);
  reparto->setStretchFactor(1, 1);
  // At first the grid shows the ten periods of the default maximum whole.
  reparto->setSizes({11 * (QFontMetrics(flexIC_->tabla()->font()).height() + 8) + 8, 300});
  etapa1->addWidget(reparto, 1);
  vaciaAyudas();
}

void ORVCSPeriodico::construyeResolver(QFrame* pagina) {
  textPeriodoResuelve_ = new QLabel(pagina);
  textPeriodoResuelve_->setObjectName(QStringLiteral("TextPeriodoResuelve"));
  QFont negrita = textPeriodoResuelve_->font();
  negrita.setBold(true);
  textPeriodoResuelve_->setFont(negrita);
  cmdResolver_ = estilo::boton(QStringLiteral("CmdResolver"), QStringLiteral("Resolver"), pagina);
  cmdResolver_->setMinimumWidth(estilo::anchoCaracteres(cmdResolver_, 12));
  flexResueltas_ = lab::rejilla(pagina, QStringLiteral("FlexResueltas"), 1, 3, 1, 1);
  flexResueltas_->setTexto(0, 0, QStringLiteral("N.º"));
  flexResueltas_->setTexto(0, 1, QStringLiteral("Clave"));
  flexResueltas_->setTexto(0, 2, QStringLiteral("Puntuación"));
  flexResueltas_->setAnchoColumna(0, anchoPara(flexResueltas_, {QStringLiteral("N.º 00")}));
  flexResueltas_->setAnchoColumna(
      1, anchoPara(flexResueltas_, {QStringLiteral("mmmmmmmmmmmmmmmmmmmm")}));
  flexResueltas_->setAnchoColumna(2, anchoPara(flexResueltas_, {QStringLiteral("Puntuación")}));
  flexResueltas_->setAlineacionColumna(1, IzquierdaCentro);
  flexResueltas_->tabla()->setSelectionMode(QAbstractItemView::NoSelection);
  flexResueltas_->setTextoAyuda(
      QStringLiteral("La puntuación es la media por símbolo del logaritmo de la probabilidad del "
                     "texto descifrado en castellano: cuanto mayor, mejor. Pulse una clave para "
                     "descifrar con ella."));
  int ancho = 0;
  for (int32_t c = 0; c < 3; ++c) ancho += flexResueltas_->AnchoColumna(c);
  flexResueltas_->setFixedWidth(ancho / qtcomun::kTwipsPorPixel + 24);

  auto* descifrado = new QWidget(pagina);
  textoResuelto_ = lab::cajaTexto(descifrado, QStringLiteral("TextoResuelto"));
  textoResuelto_->setLocked(true);
  textoResuelto_->setBotonAbrir(false);
  textoResuelto_->setBotonCortar(false);
  textoResuelto_->setBotonPegar(false);
  textoResuelto_->setBotonDeshacer(false);
  auto* filaDescifrado = new lab::FilasRotuladas(descifrado);
  filaDescifrado->setContentsMargins(0, 0, 0, 0);
  filaDescifrado->fila(QStringLiteral("Texto original"), textoResuelto_, 1);

  auto* filaPeriodo = new QHBoxLayout;
  filaPeriodo->setSpacing(6);
  filaPeriodo->addWidget(new QLabel(QStringLiteral("Periodo elegido:"), pagina));
  filaPeriodo->addWidget(textPeriodoResuelve_);
  filaPeriodo->addStretch(1);
  filaPeriodo->addWidget(cmdResolver_);
  auto* filaResultados = new QHBoxLayout;
  filaResultados->setSpacing(8);
  filaResultados->addWidget(flexResueltas_);
  filaResultados->addWidget(descifrado, 1);
  auto* etapa = new QVBoxLayout(pagina);
  etapa->setContentsMargins(10, 10, 10, 10);
  etapa->setSpacing(8);
  etapa->addWidget(rotuloEtapa(
      QStringLiteral("Resolución de la clave del periodo elegido con las estadísticas del "
                     "castellano: cada columna según la frecuencia de sus símbolos, y después la "
                     "clave entera según la de los bloques de cuatro símbolos."),
      pagina));
  etapa->addLayout(filaPeriodo);
  etapa->addLayout(filaResultados, 1);

  connect(cmdResolver_, &plankett::FlatButton::Click, this, &ORVCSPeriodico::Resuelve);
  conexiones.conecta(flexResueltas_->eventos.Click,
                     [this] { EligeClaveResuelta(flexResueltas_->Fila()); });
  poneTextoPeriodo();
}

void ORVCSPeriodico::vaciaAyudas() {
  Rejilla& g = *flexKasiski_;
  g.setFilas(1);
  textKasiski_->setText(QStringLiteral("Las secuencias que se repiten y sus distancias, al pulsar "
                                       "«Analiza»."));
  textAutocorrelacion_->setText(
      QStringLiteral("Cuántos símbolos coinciden con el que está d posiciones más adelante, al "
                     "pulsar «Analiza»."));
  for (GraficoPeriodos* grafico : {graficoFactores_, graficoAutocorrelacion_}) {
    grafico->setValores(1, {});
    grafico->setDestacado(0);
    grafico->setVacio(QStringLiteral("Sin datos todavía"));
  }
}

void ORVCSPeriodico::llenaAyudas() {
  // Kasiski's repeats, as many as can be read.
  Rejilla& g = *flexKasiski_;
  const int32_t n = cs_->NumDistanciasKasiski();
  const int32_t filas = std::min(n, kFilasKasiski);
  g.setRedibujo(false);
  g.setFilas(filas + 1);
  for (int32_t i = 1; i <= filas; ++i) {
    g.setTexto(i, 0, QString::fromStdU32String(cs_->SecuenciaKasiski(i)));
    g.setTexto(i, 1, QString::number(cs_->PosicionKasiski(i)));
    g.setTexto(i, 2, QString::number(cs_->DistanciaKasiski(i)));
  }
  g.setRedibujo(true);

  const int32_t cota = cs_->MaxPeriodo() > 0 ? cs_->MaxPeriodo() : 20;
  std::vector<int32_t> factores;
  for (int32_t p = 2; p <= cota; ++p) factores.push_back(cs_->CuentaFactorKasiski(p));
  const int32_t pk = cs_->PeriodoKasiski();
  graficoFactores_->setValores(2, std::move(factores));
  graficoFactores_->setDestacado(pk);
  graficoFactores_->setVacio(QStringLiteral("Periodo máximo menor que 2"));
  QString kasiski;
  if (n == 0) {
    kasiski = QStringLiteral("Ninguna secuencia de tres o más símbolos se repite.");
  } else {
    kasiski = pk > 0 ? QStringLiteral("Periodo probable: %1.").arg(pk)
                     : QStringLiteral("Ningún periodo destaca.");
    kasiski += QStringLiteral(" %1 repeticiones de %2 o más símbolos")
                   .arg(n)
                   .arg(cs_->LongitudKasiski());
    kasiski += filas < n ? QStringLiteral(" (se ven las %1 primeras).").arg(filas)
                         : QStringLiteral(".");
  }
  textKasiski_->setText(kasiski);

  std::vector<int32_t> coincidencias;
  for (int32_t d = 1; d <= cota; ++d) coincidencias.push_back(cs_->Autocorrelacion(d));
  const int32_t pa = cs_->PeriodoAutocorrelacion();
  graficoAutocorrelacion_->setValores(1, std::move(coincidencias));
  graficoAutocorrelacion_->setDestacado(pa);
  if (pa > 1) {
    textAutocorrelacion_->setText(QStringLiteral("Periodo probable: %1.").arg(pa));
  } else if (pa == 1) {
    textAutocorrelacion_->setText(
        QStringLiteral("Periodo probable: 1 (todos los desplazamientos coinciden como en un "
                       "texto en claro)."));
  } else {
    textAutocorrelacion_->setText(QStringLiteral("Ningún desplazamiento destaca."));
  }
  poneTextoPeriodo();
}

void ORVCSPeriodico::EligePeriodo(int32_t p) {
  if (Ocupado() || p < 1) return;
  protege(kTituloPeriodo, [&] {
    fijaPeriodo(p);
    poneTextoPeriodo();
    // The index grid follows, as though its row had been clicked.
    Rejilla& g = *flexIC_;
    if (cs_->Periodo() == p && p < g.Filas() && g.Fila() != p) {
      llenandoPeriodos_ = true;
      g.setFila(p);
      llenandoPeriodos_ = false;
    }
  });
}

void ORVCSPeriodico::vaciaResueltas() {
  flexResueltas_->setFilas(1);
  periodoResuelto_ = 0;
  textoResuelto_->setCSTexto(std::make_shared<kestrin::ORVTexto>());
}

void ORVCSPeriodico::Resuelve() {
  bool resuelto = false;
  trabajaEspera(kTituloResolver, [this, &resuelto] {
    tomaPeriodo();
    if (cs_->Periodo() < 1) {
      avisa(kTituloResolver,
            QStringLiteral("Antes hay que elegir el periodo, en la etapa 1 (pestaña «Periodo»)."));
      return;
    }
    vaciaResueltas();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Puntero {
      ~Puntero() { QApplication::restoreOverrideCursor(); }
    } puntero;
    cs_->setTextoCifrado(txtTC_->CSTexto());
    cs_->Resuelve();
    const int32_t n = cs_->NumClavesResueltas();
    if (n == 0) {
      avisa(kTituloResolver,
            QStringLiteral("No hay texto cifrado que resolver: escriba o cifre un texto en la "
                           "pestaña «Cifrado»."));
      return;
    }
    Rejilla& g = *flexResueltas_;
    g.setRedibujo(false);
    g.setFilas(n + 1);
    QString masLarga;
    for (int32_t i = 1; i <= n; ++i) {
      const QString clave = QString::fromStdU32String(cs_->ClaveResuelta(i));
      if (clave.size() > masLarga.size()) masLarga = clave;
      g.setTexto(i, 0, QString::number(i));
      g.setTexto(i, 1, clave);
      g.setTexto(i, 2, numeroMostrado(cs_->PuntuacionResuelta(i), 3));
    }
    // The key column as wide as the longest key (the grid scrolls beyond).
    g.setAnchoColumna(1, std::max(anchoPara(&g, {QStringLiteral("mmmmmmmmmmmmmmmmmmmm")}),
                                  anchoPara(&g, {masLarga})));
    g.setRedibujo(true);
    periodoResuelto_ = cs_->Periodo();
    resuelto = true;
  });
  // The best key is chosen at once, as stage 3 chooses its first.
  if (resuelto) EligeClaveResuelta(1);
}

void ORVCSPeriodico::EligeClaveResuelta(int32_t fila) {
  Rejilla& g = *flexResueltas_;
  if (Ocupado() || fila < 1 || fila >= g.Filas()) return;
  protege(kTituloResolver, [&] {
    // The chosen key in the selection colours, the others plain.
    for (int32_t f = 1; f < g.Filas(); ++f) {
      const bool elegida = f == fila;
      for (int32_t c = 0; c < g.Columnas(); ++c) {
        g.setColorFondoCelda(f, c, elegida ? g.ColorFondoSeleccion() : g.ColorFondo());
        g.setColorTextoCelda(f, c, elegida ? g.ColorTextoSeleccion() : g.ColorTexto());
      }
    }
    muestraDescifrado(g.Texto(fila, 1), textoResuelto_);
  });
}

// ---------------------------------------------------------------------------

ORVCSVigenere::ORVCSVigenere(QWidget* parent)
    : ORVCSPeriodico({"ORVCSVigenere", "Criptosistema Vigenère", "VIGENERE1",
                      "Tarnel.ORVCriptoVigenere", kestrin::CSKVig},
                     parent) {}

ORVCSXOR::ORVCSXOR(QWidget* parent)
    : ORVCSPeriodico(
          {"ORVCSXOR", "Criptosistema XOR simple", "XOR1", "Tarnel.ORVCriptoXOR", kestrin::CSKXOR},
          parent) {}

}  // namespace orv
