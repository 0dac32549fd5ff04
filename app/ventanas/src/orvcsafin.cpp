// The affine laboratory: key, enciphering page and key search.
#include "orv/orvcsafin.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "estilo.h"
#include "kestrin/errores.h"
#include "kestrin/variante.h"
#include "pemmick/orvexttextbox.h"
#include "pemmick/orvrotlabel.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"
#include "tarnel/claves.h"
#include "tarnel/orvcar.h"
#include "tarnel/orvcriptoafin.h"

namespace orv {
namespace {

// The key of a tab, as the design names it.
constexpr int kCifrado = 0;

// A symbol value of a one-character box, -1 when it holds no symbol of the alphabet.
int valorDe(const QLineEdit* caja) {
  tarnel::ORVCar car;
  car.setItem(kestrin::Variante(caja->text().toStdU32String()));
  return car.Valido() ? static_cast<int>(car.Valor().aLong()) : -1;
}

}  // namespace

CajaCaracter::CajaCaracter(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(1);
  setAlignment(Qt::AlignCenter);
}

void CajaCaracter::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  // A mouse click places the cursor after this event; select once it has.
  setSelection(0, 1);
  QTimer::singleShot(0, this, [this] {
    if (hasFocus()) setSelection(0, 1);
  });
}

void CajaCaracter::mousePressEvent(QMouseEvent* e) {
  QLineEdit::mousePressEvent(e);
  // A click into the box that already has the focus places the cursor too:
  // select again, so the next key still replaces the character.
  if (e->button() == Qt::LeftButton) setSelection(0, 1);
}

void CajaCaracter::mouseReleaseEvent(QMouseEvent* e) {
  QLineEdit::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton) setSelection(0, 1);
}

void CajaCaracter::keyPressEvent(QKeyEvent* e) {
  if (e->text() == QLatin1String(" ") && !espacio_.isEmpty()) {
    QKeyEvent sustituto(e->type(), e->key(), e->modifiers(), espacio_.left(1), e->isAutoRepeat(),
                        static_cast<ushort>(e->count()));
    QLineEdit::keyPressEvent(&sustituto);
    return;
  }
  QLineEdit::keyPressEvent(e);
}

ORVCSAfin::ORVCSAfin(QWidget* parent)
    : Laboratorio(QStringLiteral("ORVCSAfin"), QStringLiteral("Criptosistema afín"), parent) {
  // Load: the cryptosystem first; its events place the results.
  cs_ = creaComponente<tarnel::ORVCriptoAfin>("Tarnel.ORVCriptoAfin");
  construye();
  flexClaves_->tabla()->viewport()->installEventFilter(this);
  anchoColumnas();
  explicaClave();
  tsCripto_->setCurrentIndex(kCifrado);
  cambiaPestana(kCifrado);
}

void ORVCSAfin::construye() {
  // The key, always visible above the pages.
  auto* clave = new QFrame(this);
  clave->setObjectName(QStringLiteral("Panel(2)"));
  clave->setFrameShape(QFrame::StyledPanel);
  clave->setFrameShadow(QFrame::Sunken);
  panel_[2] = clave;
  const QFont times = estilo::fuente(QStringLiteral("Times New Roman"), 12);
  QFont formula = times;
  formula.setPointSizeF(14);
  formula.setItalic(true);
  auto* f = estilo::etiqueta(QStringLiteral("f(x) = a·x + b"), formula, clave);
  auto* etiquetaA = estilo::etiqueta(QStringLiteral("a ="), times, clave);
  auto* etiquetaB = estilo::etiqueta(QStringLiteral("b ="), times, clave);
  txtA_ = lab::cajaLinea(clave, QStringLiteral("TxtA"), 6);
  txtB_ = lab::cajaLinea(clave, QStringLiteral("TxtB"), 6);
  etiquetaA->setBuddy(txtA_);
  etiquetaB->setBuddy(txtB_);
  auto* filaClave = new QHBoxLayout(clave);
  filaClave->setContentsMargins(12, 6, 12, 6);
  filaClave->setSpacing(6);
  filaClave->addWidget(f);
  filaClave->addStretch(1);
  filaClave->addWidget(etiquetaA);
  filaClave->addWidget(txtA_);
  filaClave->addSpacing(18);
  filaClave->addWidget(etiquetaB);
  filaClave->addWidget(txtB_);
  // Why "Cifra" and "Descifra" would do nothing with the key as it stands.
  lblClave_ = new QLabel(clave);
  lblClave_->setObjectName(QStringLiteral("LblClave"));
  QPalette aviso = lblClave_->palette();
  aviso.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
  lblClave_->setPalette(aviso);
  filaClave->addSpacing(12);
  filaClave->addWidget(lblClave_);

  // The two pages.
  const lab::Paginas paginas =
      lab::paginas(this, QStringLiteral("tsCripto"),
                   {{"Cifrado", "cifracion"}, {"Criptoanálisis", "criptoanalisis"}});
  tsCripto_ = paginas.barra();
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);

  // Enciphering page: plain text, the two buttons, ciphertext.
  const lab::PaginaCifrado cifrado = lab::paginaCifrado(panel_[0], kestrin::CSKAfin);
  txtTO_ = cifrado.TxtTO;
  txtTC_ = cifrado.txtTC;
  panelCifrar_ = cifrado.panelCifrar;

  // Cryptanalysis page: two known pairs, the button and the candidates.
  QFrame* analisis = panel_[1];
  auto* pares = new QGridLayout;
  pares->setHorizontalSpacing(8);
  pares->setVerticalSpacing(8);
  for (int k = 0; k < 2; ++k) {
    auto* x = new CajaCaracter(analisis);
    x->setObjectName(QStringLiteral("txtX(%1)").arg(k));
    x->setToolTip(QStringLiteral("Caracteres del texto en claro"));
    auto* y = new CajaCaracter(analisis);
    y->setObjectName(QStringLiteral("TxtY(%1)").arg(k));
    y->setToolTip(QStringLiteral("Caracteres del texto cifrado"));
    for (CajaCaracter* caja : {x, y}) {
      QFont fuente = caja->font();
      fuente.setFamily(QStringLiteral("Arial"));
      fuente.setPointSizeF(12);
      caja->setFont(fuente);
      caja->setFixedWidth(estilo::anchoCaracteres(caja, 3));
    }
    txtX_[static_cast<size_t>(k)] = x;
    txtY_[static_cast<size_t>(k)] = y;
    pares->addWidget(x, k, 0);
    pares->addWidget(new QLabel(QStringLiteral("se transforma en"), analisis), k, 1);
    pares->addWidget(y, k, 2);
  }
  cmdAnalizar_ = estilo::boton(QStringLiteral("cmdAnalizar"), QStringLiteral("Analizar"), analisis);
  pares->addWidget(cmdAnalizar_, 2, 0, 1, 3);
  pares->setRowStretch(3, 1);

  flexClaves_ = lab::rejilla(analisis, QStringLiteral("FlexClaves"), 1, 2, 1, 0);
  flexClaves_->setTexto(0, 0, QStringLiteral("a"));
  flexClaves_->setTexto(0, 1, QStringLiteral("b"));
  flexClaves_->tabla()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  flexClaves_->setFixedWidth(estilo::anchoCaracteres(flexClaves_, 20));

  auto* filaAnalisis = new QHBoxLayout(analisis);
  filaAnalisis->setContentsMargins(12, 12, 12, 12);
  filaAnalisis->setSpacing(16);
  filaAnalisis->addLayout(pares);
  filaAnalisis->addStretch(1);
  filaAnalisis->addWidget(flexClaves_);

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->setSpacing(8);
  todo->addWidget(clave);
  todo->addWidget(paginas.pestanas, 1);
  resize(sizeHint());

  connect(paginas.pestanas, &QTabWidget::currentChanged, this, &ORVCSAfin::cambiaPestana);
  connect(txtA_, &QLineEdit::textChanged, this, [this] { cambiaClave(txtA_, true); });
  connect(txtB_, &QLineEdit::textChanged, this, [this] { cambiaClave(txtB_, false); });
  enlazaTextos(conexiones, cs_, txtTO_, txtTC_);
  connect(cmdCifra(), &plankett::FlatButton::Click, this, &ORVCSAfin::cifra);
  connect(cmdDescifra(), &plankett::FlatButton::Click, this, &ORVCSAfin::descifra);
  connect(cmdAnalizar_, &plankett::FlatButton::Click, this, &ORVCSAfin::Analizar);
  conexiones.conecta(flexClaves_->eventos.CeldaCambiada, [this] { eligeCandidata(); });
  for (int k = 0; k < 2; ++k) {
    txtX_[static_cast<size_t>(k)]->setEspacio(txtTO_->MostrarEspaciosComo());
    txtY_[static_cast<size_t>(k)]->setEspacio(txtTC_->MostrarEspaciosComo());
  }
}

QSize ORVCSAfin::sizeHint() const {
  return QSize(560, 460).expandedTo(minimumSizeHint());
}

bool ORVCSAfin::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::Resize) anchoColumnas();
  return QWidget::eventFilter(objeto, evento);
}

void ORVCSAfin::anchoColumnas() {
  const int ancho = (flexClaves_->AnchoInterior() - 100) / 2;
  if (ancho > 0) {
    flexClaves_->setAnchoColumna(0, ancho);
    flexClaves_->setAnchoColumna(1, ancho);
  }
}

void ORVCSAfin::cambiaPestana(int i) {
  // The tab widget brings the page to the front; only enciphering needs the plain text.
  cmdCifra()->setEnabled(i == kCifrado);
}

void ORVCSAfin::cambiaClave(QLineEdit* caja, bool multiplicador) {
  // Only a number that fits 32 bits is a key; anything else keeps the last one.
  try {
    const int32_t valor = kestrin::aLong(kestrin::Variante(caja->text().toStdU32String()));
    if (multiplicador)
      cs_->setMultiplicador(kestrin::Moneda(valor));
    else
      cs_->setDesplazamiento(kestrin::Moneda(valor));
  } catch (const kestrin::ErrorORV&) {
  }
  explicaClave();
}

void ORVCSAfin::explicaClave() {
  // The cryptosystem ignores a key it cannot use; the student is told why.
  const auto esNumero = [](const QLineEdit* caja) {
    try {
      kestrin::aLong(kestrin::Variante(caja->text().toStdU32String()));
      return true;
    } catch (const kestrin::ErrorORV&) {
      return false;
    }
  };
  QString motivo;
  if (!txtA_->text().isEmpty() && !esNumero(txtA_))
    motivo = QStringLiteral("a debe ser un número entero");
  else if (cs_->Multiplicador().aLong() % 2 == 0)  // prime to 64 is odd
    motivo = QStringLiteral("a debe ser primo con 64");
  else if (!txtB_->text().isEmpty() && !esNumero(txtB_))
    motivo = QStringLiteral("b debe ser un número entero");
  lblClave_->setText(motivo);
}

QString ORVCSAfin::textoError(const std::exception& e) const {
  const auto* error = dynamic_cast<const kestrin::ErrorORV*>(&e);
  if (error != nullptr && error->numero() == kestrin::kDesbordamiento) {
    return QStringLiteral(
        "La clave es demasiado grande para esta operación; use valores de a y b entre 0 y 63.");
  }
  return Laboratorio::textoError(e);
}

void ORVCSAfin::cifra() {
  protege(QStringLiteral("Clave errónea"), [this] {
    cs_->setTextoOriginal(txtTO_->CSTexto());
    cs_->Cifra();
  });
}

void ORVCSAfin::descifra() {
  protege(QStringLiteral("Clave errónea"), [this] { cs_->Descifra(); });
}

void ORVCSAfin::Analizar() {
  // The library finds the keys; a box that holds no symbol gives none.
  const std::vector<tarnel::ClaveAfin> claves = tarnel::ClavesAfines(
      valorDe(txtX_[0]), valorDe(txtX_[1]), valorDe(txtY_[0]), valorDe(txtY_[1]));
  flexClaves_->setRedibujo(false);
  flexClaves_->setFilas(static_cast<int32_t>(claves.size()) + 1);
  int32_t fila = 1;
  for (const tarnel::ClaveAfin& clave : claves) {
    flexClaves_->setTexto(fila, 0, QString::number(clave.a));
    flexClaves_->setTexto(fila, 1, QString::number(clave.b));
    ++fila;
  }
  flexClaves_->setRedibujo(true);
}

void ORVCSAfin::eligeCandidata() {
  const int fila = flexClaves_->Fila();
  if (fila < 1 || fila >= flexClaves_->Filas()) return;
  txtA_->setText(flexClaves_->Texto(fila, 0));
  txtB_->setText(flexClaves_->Texto(fila, 1));
}

}  // namespace orv
