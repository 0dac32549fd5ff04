// The primes laboratory: primality, the next prime, random primes of a given
// size and factorisations, each on a worker thread with its strip.
#include "orv/orvprimos.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "estilo.h"
#include "kestrin/orvtexto.h"
#include "kestrin/variante.h"
#include "numbrel/orvbignum.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/calculofondo.h"
#include "pemmick/orvexttextbox.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace orv {

namespace primos {

bool esEntero(const QString& texto) {
  const qsizetype desde = texto.startsWith(QLatin1Char('-')) ? 1 : 0;
  if (texto.size() <= desde) return false;
  for (qsizetype i = desde; i < texto.size(); ++i) {
    if (texto[i] < QLatin1Char('0') || texto[i] > QLatin1Char('9')) return false;
  }
  return true;
}

namespace {

// Exact order of two whole numbers in decimal, of any length: the grid's
// own sort reads numbers as doubles, which cannot tell two large factors
// apart and takes a factor of more than 308 digits for a text.
bool menorEntero(const QString& a, const QString& b) {
  const bool negA = a.startsWith(QLatin1Char('-'));
  const bool negB = b.startsWith(QLatin1Char('-'));
  if (negA != negB) return negA;
  // Digits without sign or leading zeros.
  auto digitos = [](const QString& t) {
    QStringView v(t);
    if (v.startsWith(QLatin1Char('-'))) v = v.mid(1);
    while (v.size() > 1 && v.front() == QLatin1Char('0')) v = v.mid(1);
    return v;
  };
  const QStringView da = digitos(a);
  const QStringView db = digitos(b);
  const int magnitud = da.size() != db.size() ? (da.size() < db.size() ? -1 : 1)
                                               : da.compare(db);
  return negA ? magnitud > 0 : magnitud < 0;
}

}  // namespace

std::vector<Factor> ordenados(std::vector<Factor> factores, bool completa) {
  const auto fin = (!completa && !factores.empty()) ? factores.end() - 1 : factores.end();
  std::stable_sort(factores.begin(), fin, [](const Factor& a, const Factor& b) {
    const bool ea = esEntero(a.first);
    const bool eb = esEntero(b.first);
    if (ea && eb) return menorEntero(a.first, b.first);
    return ea && !eb;
  });
  return factores;
}

}  // namespace primos

namespace {

const QString kTitulo = QStringLiteral("Primos");
const QString kCancelado = QStringLiteral("Cancelado");
const QString kError = QStringLiteral("Error");
const QString kEsPrimo = QStringLiteral("Es primo");
const QString kNoEsPrimo = QStringLiteral("No es primo");
constexpr uint32_t kNegro = 0;

QString qtexto(const kestrin::Cadena& c) {
  return QString::fromStdU32String(c);
}

}  // namespace

ORVPrimos::ORVPrimos(QWidget* parent) : Laboratorio(QStringLiteral("ORVPrimos"), kTitulo, parent) {
  setWindowIcon(arte::Icono(u"PRIMOS1"));
  calculo_ = new CalculoEnFondo(this);
  construye();
  textTest_->setText(kNoEsPrimo);
  paginas_->setCurrentIndex(0);
}

ORVPrimos::~ORVPrimos() {
  // The work goes before the window's controls: no outcome reaches them.
  delete calculo_;
  calculo_ = nullptr;
}

QSize ORVPrimos::sizeHint() const {
  return QSize(640, 440).expandedTo(minimumSizeHint());
}

QTabBar* ORVPrimos::TabStripPrimos() const {
  return paginas_->tabBar();
}

QFrame* ORVPrimos::Panel(int i) const {
  return paneles_.at(static_cast<size_t>(i));
}

void ORVPrimos::construye() {
  const lab::Paginas p = lab::paginas(this, QStringLiteral("TabStripPrimos"),
                                      {{"Primos", "test"}, {"Factorización", "factorizacion"}});
  paginas_ = p.pestanas;
  paneles_ = p.paneles;

  // First page: the number, then its test, the next prime and the size.
  QFrame* test = p.panel(0);
  textNumero_ = lab::cajaTexto(test, QStringLiteral("TextNumero"));
  cmdTest_ = estilo::boton(QStringLiteral("CmdTest"), QStringLiteral("¿Es primo?"), test);
  textTest_ = lab::cajaLinea(test, QStringLiteral("TextTest"), 12, Qt::AlignCenter);
  textTest_->setReadOnly(true);
  cmdSigPrimo_ =
      estilo::boton(QStringLiteral("cmdSigPrimo"), QStringLiteral("Siguiente primo"), test);
  textNumBits_ = lab::cajaLinea(test, QStringLiteral("TextNumBits"), 8);
  textNumBits_->setToolTip(
      QStringLiteral("Bits del número; escriba de %1 a %2 para generar un primo de ese tamaño")
          .arg(kBitsMinimo)
          .arg(kBitsMaximo));
  cmdNumBits_ = estilo::boton(QStringLiteral("CMDNumBits"), QStringLiteral("Nº de bits"), test);
  cmdNumBits_->setToolTip(
      QStringLiteral("Pulsa para generar aleatoriamente un primo de ese tamaño"));

  auto* filaTest = new QHBoxLayout;
  filaTest->setSpacing(6);
  filaTest->addWidget(cmdTest_);
  filaTest->addWidget(textTest_);
  filaTest->addStretch(1);
  filaTest->addWidget(cmdSigPrimo_);
  filaTest->addStretch(1);
  filaTest->addWidget(textNumBits_);
  filaTest->addWidget(cmdNumBits_);
  auto* filas = new lab::FilasRotuladas(test);
  filas->fila(QStringLiteral("Número o expresión"), textNumero_);
  filas->fila(filaTest);

  // Second page: the number, the button and the factors.
  QFrame* factores = p.panel(1);
  textNumF_ = lab::cajaTexto(factores, QStringLiteral("TextNumF"));
  cmdFactoriza_ =
      estilo::boton(QStringLiteral("CmdFactoriza"), QStringLiteral("Factoriza"), factores);
  flexFactores_ = lab::rejilla(factores, QStringLiteral("FlexFactores"), 1, 2, 1, 0);
  flexFactores_->setBarrasDesplazamiento(Rejilla::BarraVertical);
  flexFactores_->setTexto(0, 0, QStringLiteral("Factor primo"));
  flexFactores_->setTexto(0, 1, QStringLiteral("Exponente"));
  for (int32_t c = 0; c < 2; ++c) {
    flexFactores_->setAlineacionFija(c, DerechaCentro);
    flexFactores_->setAlineacionColumna(c, DerechaCentro);
  }
  flexFactores_->setTextoAyuda(QStringLiteral("Pulse un factor para copiarlo"));
  // The inner width changes with the grid and with its scroll bar.
  flexFactores_->tabla()->viewport()->installEventFilter(this);
  auto* filaFactoriza = new QHBoxLayout;
  filaFactoriza->addStretch(1);
  filaFactoriza->addWidget(cmdFactoriza_);
  filaFactoriza->addStretch(1);
  auto* filasF = new lab::FilasRotuladas(factores);
  filasF->fila(QStringLiteral("Número"), textNumF_, 1);
  filasF->fila(filaFactoriza);
  filasF->fila(flexFactores_, {}, 2);

  // Expressions are typed with their spaces ("17 mod 5"), not the dots a
  // cipher text shows them as.
  for (pemmick::ORVExtTextBox* caja : {textNumero_, textNumF_}) {
    caja->setMostrarEspaciosComo(QStringLiteral(" "));
  }
  for (plankett::FlatButton* b : {cmdTest_, cmdSigPrimo_, cmdNumBits_, cmdFactoriza_}) {
    b->setMinimumWidth(estilo::anchoCaracteres(b, 14));
  }

  labelEstado_ = new QLabel(this);
  labelEstado_->setObjectName(QStringLiteral("LabelEstado"));
  labelEstado_->setVisible(false);
  franja_ = new FranjaTrabajo(calculo_, this);

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->setSpacing(4);
  todo->addWidget(paginas_, 1);
  todo->addWidget(labelEstado_);
  todo->addWidget(franja_);
  resize(sizeHint());

  connect(cmdTest_, &plankett::FlatButton::Click, this, &ORVPrimos::Test);
  connect(cmdSigPrimo_, &plankett::FlatButton::Click, this, &ORVPrimos::SigPrimo);
  connect(cmdNumBits_, &plankett::FlatButton::Click, this, &ORVPrimos::NumBits);
  connect(cmdFactoriza_, &plankett::FlatButton::Click, this, &ORVPrimos::Factoriza);
  // A click on a cell: the header is no cell, so a click there copies nothing.
  connect(flexFactores_->tabla(), &QTableWidget::cellClicked, this,
          [this](int fila, int) { copiaFactor(fila + 1); });
}

bool ORVPrimos::eventFilter(QObject* objeto, QEvent* e) {
  if (objeto == flexFactores_->tabla()->viewport() && e->type() == QEvent::Resize) anchoColumnas();
  return Laboratorio::eventFilter(objeto, e);
}

void ORVPrimos::anchoColumnas() {
  // Each column half of the grid's inner width.
  const int32_t mitad = flexFactores_->AnchoInterior() / 2;
  flexFactores_->setAnchoColumna(0, mitad);
  flexFactores_->setAnchoColumna(1, flexFactores_->AnchoInterior() - mitad);
}

void ORVPrimos::alCerrar() {
  calculo_->cancela();
}

// ---------------------------------------------------------------------------
// Work.

void ORVPrimos::estado(const QString& texto) {
  labelEstado_->setText(texto);
  labelEstado_->setVisible(!texto.isEmpty());
}

bool ORVPrimos::empieza(const QString& que, std::function<void()> trabajo,
                        std::function<void(bool cancelado)> fin, bool cursorOcupado) {
  if (calculo_->ocupado()) return false;
  estado({});
  const bool empezado = calculo_->inicia(
      que, std::move(trabajo), [this, fin = std::move(fin)](const CalculoEnFondo::Desenlace& d) {
        unsetCursor();
        habilita(true);
        protege(kTitulo, [&] {
          if (d.error) std::rethrow_exception(d.error);
          fin(d.cancelado);
        });
        if (d.cancelado && labelEstado_->text().isEmpty()) estado(kCancelado);
      });
  if (empezado) {
    habilita(false);
    // The pointer says the window is at work, but still takes clicks ("Cancelar").
    if (cursorOcupado) setCursor(Qt::BusyCursor);
  }
  return empezado;
}

void ORVPrimos::habilita(bool si) {
  for (QWidget* b : {cmdTest_, cmdSigPrimo_, cmdNumBits_, cmdFactoriza_}) b->setEnabled(si);
}

void ORVPrimos::ponNumero(const QString& numero) {
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->asigna(numero.toStdU32String(), kestrin::CSKNone);
  textNumero_->setCSTexto(std::move(t));
}

bool ORVPrimos::Test() {
  struct Resultado {
    bool primo = false;
    int32_t bits = 0;
  };
  auto r = std::make_shared<Resultado>();
  numbrel::ORVBigNum* servicio = &BigNum();
  const kestrin::Cadena n = textNumero_->CSTexto()->Texto();
  return empieza(
      QStringLiteral("Comprobando"),
      [servicio, n, r] {
        // One evaluation for both questions: the expression may be huge.
        const kestrin::Cadena v = servicio->Eval(n);
        r->primo = servicio->EsPrimo(v);
        r->bits = servicio->NumBits(v);
      },
      [this, r](bool cancelado) {
        if (cancelado) return;
        textTest_->setText(r->primo ? kEsPrimo : kNoEsPrimo);
        textNumBits_->setText(QString::number(r->bits));
      },
      // A test is quick but for huge numbers: no busy pointer for it.
      false);
}

bool ORVPrimos::SigPrimo() {
  struct Resultado {
    QString primo;
    int32_t bits = 0;
  };
  auto r = std::make_shared<Resultado>();
  numbrel::ORVBigNum* servicio = &BigNum();
  const kestrin::Cadena n = textNumero_->CSTexto()->Texto();
  return empieza(
      QStringLiteral("Buscando el siguiente primo"),
      [servicio, n, r] {
        const kestrin::Cadena p = servicio->NextPrime(n);
        r->primo = qtexto(p);
        r->bits = servicio->NumBits(p);
      },
      [this, r](bool cancelado) {
        if (cancelado) return;
        ponNumero(r->primo);
        textNumBits_->setText(QString::number(r->bits));
        // What is not a number has no next prime: "Error" is no prime.
        textTest_->setText(r->primo == kError ? kNoEsPrimo : kEsPrimo);
      });
}

bool ORVPrimos::NumBits() {
  // The size is an expression too, evaluated away from the interface; only a
  // whole number from 2 to 2000 generates, anything else (a fraction, a word,
  // "Error" for what passes 2000) takes the focus back to the box.
  auto b = std::make_shared<QString>();
  numbrel::ORVBigNum* servicio = &BigNum();
  const kestrin::Cadena texto = textNumBits_->text().toStdU32String();
  return empieza(
      QStringLiteral("Comprobando el número de bits"),
      [servicio, texto, b] {
        *b = qtexto(servicio->Eval(texto, kestrin::Variante(int32_t{kBitsMaximo}), false));
      },
      [this, b](bool cancelado) {
        if (cancelado) return;
        bool esNumero = false;
        const int bits = primos::esEntero(*b) ? b->toInt(&esNumero) : 0;
        if (!esNumero || bits < kBitsMinimo || bits > kBitsMaximo) {
          textNumBits_->setFocus(Qt::OtherFocusReason);
          textNumBits_->selectAll();
          return;
        }
        generaPrimo(bits);
      });
}

void ORVPrimos::generaPrimo(int bits) {
  auto p = std::make_shared<QString>();
  numbrel::ORVBigNum* servicio = &BigNum();
  empieza(
      QStringLiteral("Generando un primo de %1 bits").arg(bits),
      [servicio, bits, p] { *p = qtexto(servicio->RndPrimo(static_cast<int16_t>(bits))); },
      [this, p](bool cancelado) {
        if (cancelado || *p == kError) return;
        ponNumero(*p);
        textTest_->setText(kEsPrimo);
      });
}

bool ORVPrimos::Factoriza() {
  struct Resultado {
    std::vector<kestrin::Cadena> factores, exponentes;
    bool completa = false;
  };
  auto r = std::make_shared<Resultado>();
  numbrel::ORVBigNum* servicio = &BigNum();
  const kestrin::Cadena n = textNumF_->CSTexto()->Texto();
  return empieza(
      QStringLiteral("Factorizando"),
      [servicio, n, r] {
        const kestrin::Cadena v = servicio->Eval(n);
        r->completa = servicio->Factorize(v, r->factores, r->exponentes);
      },
      [this, r](bool cancelado) {
        std::vector<primos::Factor> filas;
        for (size_t i = 0; i < r->factores.size(); ++i) {
          filas.emplace_back(qtexto(r->factores[i]),
                             i < r->exponentes.size() ? qtexto(r->exponentes[i]) : QString());
        }
        muestraFactores(std::move(filas), r->completa);
        if (cancelado) {
          estado(r->factores.empty() ? kCancelado
                               : QStringLiteral("Cancelado: la factorización está incompleta"));
        } else if (r->factores.empty() && !r->completa) {
          estado(QStringLiteral("Solo se factoriza un número entero distinto de cero"));
        }
      });
}

void ORVPrimos::muestraFactores(std::vector<primos::Factor> factores, bool completa) {
  // The cofactor of an incomplete factorisation stays last, red, whatever
  // its value: the rows above it are the primes found.
  factores = primos::ordenados(std::move(factores), completa);
  Rejilla* g = flexFactores_;
  g->setRedibujo(false);
  g->setFilas(1);
  g->setFilas(static_cast<int32_t>(factores.size()) + 1);
  for (size_t i = 0; i < factores.size(); ++i) {
    const auto f = static_cast<int32_t>(i + 1);
    g->setTexto(f, 0, factores[i].first);
    g->setTexto(f, 1, factores[i].second);
    for (int32_t c = 0; c < 2; ++c) g->setColorTextoCelda(f, c, kNegro);
  }
  if (!factores.empty()) {
    g->Selecciona(1, 0, 1, 0);
    g->setFila(1);
    g->setColumna(0);
    if (!completa) {
      const auto ultima = static_cast<int32_t>(factores.size());
      for (int32_t c = 0; c < 2; ++c) g->setColorTextoCelda(ultima, c, kRojo);
    }
  }
  g->setRedibujo(true);
}

void ORVPrimos::copiaFactor(int fila) {
  if (fila < 1 || fila >= flexFactores_->Filas()) return;
  QGuiApplication::clipboard()->setText(flexFactores_->Texto(fila, 0));
}

}  // namespace orv
