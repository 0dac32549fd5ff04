// The RSA laboratory: key fields, enciphering in blocks, key generation.
#include "orv/orvcsrsa.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>

#include <cmath>

#include "estilo.h"
#include "halvard/orvcriptorsa.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "numbrel/orvbignum.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/generadorrsa.h"
#include "orv/lecturaclaves.h"
#include "plankett/flatbutton.h"

namespace orv {
namespace {

const QString kClaveErronea = QStringLiteral("Clave errónea");
const int kTamanos[] = {512, 1024, 2048, 3072, 4096};
constexpr int kTamanoInicial = 1024;

using namespace lectura::rsa;

QString texto(const kestrin::Cadena& c) {
  return QString::fromStdU32String(c);
}

// A block size as the component takes it, or nothing.
std::optional<int32_t> tamBloqueDe(const QString& s) {
  return lectura::rsa::tamBloqueDe(s, ORVW());
}

// The block size box: its arrows change the size at once, as leaving it does.
class CajaBloque : public CajaArribaAbajo {
 public:
  using CajaArribaAbajo::CajaArribaAbajo;
  std::function<void()> alCambiar;
  void stepBy(int pasos) override {
    CajaArribaAbajo::stepBy(pasos);
    if (alCambiar) alCambiar();
  }
};

}  // namespace

std::optional<QString> evaluaEntero(const QString& expresion) {
  // The program's big-number service evaluates exactly, so a fraction stays a
  // fraction and is refused rather than rounded into a different key.
  const QString x = expresion.trimmed();
  if (x.isEmpty()) return QString();
  const QString valor = QString::fromStdU32String(BigNum().Eval(x.toStdU32String()));
  static const QRegularExpression entero(QStringLiteral("^-?[0-9]+$"));
  if (!entero.match(valor).hasMatch()) return std::nullopt;
  return valor;
}

// ---------------------------------------------------------------------------

ORVCSRSA::ORVCSRSA(QWidget* parent)
    : ORVCSPublico(QStringLiteral("ORVCSRSA"), QStringLiteral("R.S.A."),
                   QStringLiteral("claves.rsa"), kestrin::CSKRSA, parent) {
  // Load: the cryptosystem first; its events fill the fields.
  cs_ = creaComponente<halvard::ORVCriptoRSA>("Halvard.ORVCriptoRSA");
  construye();
  setWindowIcon(arte::Icono(u"RSA1"));
  progreso().conecta(conexiones, cs_, cs_->eventos);
  conexiones.conecta(cs_, cs_->eventos.CambiaClave, [this] { refresca(); });
  conexiones.conecta(cs_, cs_->eventos.ConstruyeClave, [this](bool& ok, const kestrin::Cadena& m) {
    if (!ok) avisa(kClaveErronea, texto(m));
  });
  conexiones.conecta(cs_, cs_->eventos.Cifrado, [this](int32_t n) { cifrado(n); });
  conexiones.conecta(cs_, cs_->eventos.DesCifrado,
                     [this] { TextTO()->setCSTexto(cs_->TextoOriginal()); });
  refresca();
  Pestanas()->setCurrentIndex(0);
}

ORVCSRSA::~ORVCSRSA() = default;

void ORVCSRSA::construye() {
  QWidget* publico = PanelPublico();
  QWidget* privado = Panelprivado();
  labelClave_ = new QLabel(publico);
  labelClave_->setObjectName(QStringLiteral("LabelClave"));
  textClave_ = new CampoClave(publico, QStringLiteral("TextClave"), 3);
  textExponente_ = new CampoClave(publico, QStringLiteral("TextExponente"));
  auto* caja = new CajaBloque(publico, kBloqueMinimo, kBloqueMaximo);
  caja->alCambiar = [this] { cambiaTamBloque(); };
  textTamBloque_ = caja;
  textTamBloque_->setObjectName(QStringLiteral("TextTamBloque"));
  textTamBloque_->setFixedWidth(
      estilo::anchoCaracteres(textTamBloque_, 6) +
      textTamBloque_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, textTamBloque_) +
      8);
  textClaveFactor_[0] = new CampoClave(privado, QStringLiteral("TextClaveFactor(1)"), 3);
  textClaveFactor_[1] = new CampoClave(privado, QStringLiteral("TextClaveFactor(2)"), 3);
  textClavePrivada_ = new CampoClave(privado, QStringLiteral("TextClavePrivada"), 3);

  const auto fila = [](QGridLayout* g, int f, QLabel* etiqueta, QWidget* campo,
                       Qt::Alignment alineacion = {}) {
    etiqueta->setBuddy(campo);
    etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    etiqueta->setContentsMargins(0, 4, 0, 0);
    g->addWidget(etiqueta, f, 0);
    g->addWidget(campo, f, 1, alineacion);
  };
  QGridLayout* gp = filasPublico();
  fila(gp, 0, labelClave_, textClave_);
  fila(gp, 1, new QLabel(QStringLiteral("Exponente"), publico), textExponente_);
  fila(gp, 2, new QLabel(QStringLiteral("Tamaño de bloque"), publico), textTamBloque_,
       Qt::AlignLeft);
  gp->setRowStretch(0, 1);

  QGridLayout* gq = filasPrivado();
  fila(gq, 0, new QLabel(QStringLiteral("Primer factor primo"), privado), textClaveFactor_[0]);
  fila(gq, 1, new QLabel(QStringLiteral("Segundo factor primo"), privado), textClaveFactor_[1]);
  fila(gq, 2, new QLabel(QStringLiteral("Clave privada"), privado), textClavePrivada_);
  for (int f = 0; f < 3; ++f) gq->setRowStretch(f, f == 2 ? 2 : 1);

  // Generating: two random primes of half the size each, in the background.
  cmdGenerar_ = estilo::boton(QStringLiteral("cmdGenerar"), QStringLiteral("Generar"), privado);
  cmdGenerar_->setMinimumWidth(estilo::anchoCaracteres(cmdGenerar_, 10));
  cmdGenerar_->setToolTip(QStringLiteral("Genera una clave al azar del tamaño elegido"));
  comboBits_ = new QComboBox(privado);
  comboBits_->setObjectName(QStringLiteral("ComboBits"));
  comboBits_->setToolTip(QStringLiteral("Tamaño de la clave que se genera"));
  for (const int bits : kTamanos) comboBits_->addItem(QStringLiteral("%1 bits").arg(bits), bits);
  comboBits_->setCurrentIndex(comboBits_->findData(kTamanoInicial));
  barraGenerando_ = new QProgressBar(privado);
  barraGenerando_->setObjectName(QStringLiteral("BarraGenerando"));
  barraGenerando_->setRange(0, 0);
  barraGenerando_->setTextVisible(false);
  barraGenerando_->setFixedSize(90, 12);
  labelGenerando_ = new QLabel(privado);
  labelGenerando_->setObjectName(QStringLiteral("LabelGenerando"));
  auto* generar = new QHBoxLayout;
  generar->setSpacing(8);
  generar->addWidget(cmdGenerar_);
  generar->addWidget(comboBits_);
  generar->addSpacing(8);
  generar->addWidget(barraGenerando_);
  generar->addWidget(labelGenerando_, 1);
  gq->addLayout(generar, 3, 1);
  barraGenerando_->hide();
  generador_ = new GeneradorRSA(this);

  connect(textClaveFactor_[0], &CampoClave::salida, this, [this] { cambiaFactor(1); });
  connect(textClaveFactor_[1], &CampoClave::salida, this, [this] { cambiaFactor(2); });
  connect(textExponente_, &CampoClave::salida, this, &ORVCSRSA::cambiaExponente);
  connect(textClave_, &CampoClave::salida, this, [this] {
    protege(kClaveErronea, [this] { cs_->setClave(textClave_->texto().toStdU32String()); });
  });
  connect(textClavePrivada_, &CampoClave::salida, this, [this] {
    protege(kClaveErronea,
            [this] { cs_->setClavePrivada(textClavePrivada_->texto().toStdU32String()); });
  });
  connect(textTamBloque_, &QAbstractSpinBox::editingFinished, this, &ORVCSRSA::cambiaTamBloque);
  for (CampoClave* c : {textClave_, textExponente_, textClavePrivada_})
    connect(c, &CampoClave::cambiado, this, &ORVCSRSA::habilita);
  connect(textTamBloque_->caja(), &QLineEdit::textChanged, this, &ORVCSRSA::habilita);
  connect(cmdCifra(), &plankett::FlatButton::Click, this, &ORVCSRSA::Cifra);
  connect(cmdDescifra(), &plankett::FlatButton::Click, this, &ORVCSRSA::Descifra);
  connect(cmdGenerar_, &plankett::FlatButton::Click, this, &ORVCSRSA::Generar);
  connect(generador_, &GeneradorRSA::generada, this, &ORVCSRSA::generada);
  connect(generador_, &GeneradorRSA::fallo, this, [this](const QString& motivo) {
    finGenerar();
    avisa(QStringLiteral("Generar"), motivo);
  });
}

void ORVCSRSA::refresca() {
  labelClave_->setText(QStringLiteral("Clave de %1 bits").arg(cs_->NumBits()));
  textClaveFactor_[0]->setTexto(texto(cs_->ClaveFactor(1)));
  textClaveFactor_[1]->setTexto(texto(cs_->ClaveFactor(2)));
  textClave_->setTexto(texto(cs_->Clave()));
  if (textTamBloque_->texto().trimmed() != QString::number(cs_->TamBloque()))
    textTamBloque_->setTexto(QString::number(cs_->TamBloque()));
  textExponente_->setTexto(texto(cs_->Exponente()));
  textClavePrivada_->setTexto(texto(cs_->ClavePrivada()));
  habilita();
}

void ORVCSRSA::habilita() {
  if (Ocupado()) return;
  const bool clave = !textClave_->texto().isEmpty();
  cmdCifra()->setEnabled(clave && !textExponente_->texto().isEmpty() &&
                         enteroDe(textTamBloque_->texto()) > 0);
  cmdDescifra()->setEnabled(clave && !textClavePrivada_->texto().isEmpty());
  habilitaGuardarCifrado();
}

void ORVCSRSA::confirmaEdicion() {
  ORVCSPublico::confirmaEdicion();
  if (textTamBloque_->hasFocus() &&
      textTamBloque_->texto().trimmed() != QString::number(cs_->TamBloque()))
    cambiaTamBloque();
}

void ORVCSRSA::cambiaFactor(int k) {
  const QString escrito = textClaveFactor_.at(static_cast<size_t>(k - 1))->texto();
  const auto valor = evaluaEntero(escrito);
  if (!valor) {
    avisa(kClaveErronea,
          QStringLiteral("El %1 factor primo, «%2», no es un número entero.")
              .arg(k == 1 ? QStringLiteral("primer") : QStringLiteral("segundo"), escrito));
    refresca();
    return;
  }
  protege(kClaveErronea, [&] {
    cs_->setClaveFactor(k, valor->toStdU32String());
    cs_->ConstruyeClave();
  });
}

void ORVCSRSA::cambiaExponente() {
  const QString escrito = textExponente_->texto();
  const auto valor = evaluaEntero(escrito);
  if (!valor) {
    avisa(kClaveErronea,
          QStringLiteral("El exponente, «%1», no es un número entero.").arg(escrito));
    refresca();
    return;
  }
  protege(kClaveErronea, [&] {
    cs_->setExponente(valor->toStdU32String());
    cs_->ConstruyeClave();
  });
}

void ORVCSRSA::cambiaTamBloque() {
  const QString escrito = textTamBloque_->texto();
  const auto valor = tamBloqueDe(escrito);
  if (!valor) {
    avisa(kClaveErronea,
          QStringLiteral("El tamaño de bloque, «%1», tiene que ser un número entero de %2 a %3.")
              .arg(escrito)
              .arg(kBloqueMinimo)
              .arg(kBloqueMaximo));
    textTamBloque_->setTexto(QString::number(cs_->TamBloque()));
    return;
  }
  if (*valor == cs_->TamBloque()) {
    textTamBloque_->setTexto(QString::number(*valor));
    return;
  }
  protege(kClaveErronea, [&] {
    cs_->setTamBloque(*valor);
    // Each factor must exceed the largest block: a complete key is checked
    // again against the new size.
    cs_->ConstruyeClave();
  });
}

// ---------------------------------------------------------------------------

void ORVCSRSA::Cifra() {
  confirmaEdicion();
  if (TextTO()->CSTexto()->Texto().empty()) {
    avisa(QStringLiteral("Cifra"), QStringLiteral("No hay ningún texto que cifrar en «Original»."));
    return;
  }
  trabaja(QStringLiteral("Cifra"), {cmdCifra(), cmdDescifra(), Panel(0), TextTO(), textTC()},
          [this] {
            cs_->setTextoOriginal(TextTO()->CSTexto());
            cs_->Cifra();
          });
  habilita();
}

void ORVCSRSA::cifrado(int32_t n) {
  QString bloques;
  for (int32_t i = 1; i <= n; ++i) {
    bloques += texto(cs_->TextoCifrado(i));
    bloques += QLatin1Char(' ');
  }
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->asigna(bloques.toStdU32String(), kestrin::CSKRSA);
  textTC()->setCSTexto(t);
}

void ORVCSRSA::Descifra() {
  confirmaEdicion();
  if (textTC()->textoMostrado().trimmed().isEmpty()) {
    avisa(QStringLiteral("Descifra"),
          QStringLiteral("No hay ningún texto que descifrar en «Cifrado»."));
    return;
  }
  bool nada = false;
  trabaja(QStringLiteral("Descifra"), {cmdCifra(), cmdDescifra(), Panel(0), TextTO(), textTC()},
          [&] {
            QString t = textTC()->textoMostrado().trimmed();
            t.replace(QLatin1Char('\r'), QLatin1Char(' '));
            t.replace(QLatin1Char('\n'), QLatin1Char(' '));
            const QStringList piezas = t.split(QLatin1Char(' '));
            cs_->setNumBloques(static_cast<int32_t>(piezas.size()));
            for (int32_t i = 0; i < piezas.size(); ++i)
              cs_->setTextoCifrado(i + 1, piezas[i].toStdU32String());
            cs_->Descifra();
            nada = !t.isEmpty() && cs_->TextoOriginal()->Texto().empty();
          });
  habilita();
  if (nada) {
    avisa(
        QStringLiteral("Descifra"),
        QStringLiteral("Ningún bloque del texto cifrado se pudo descifrar: los bloques tienen que "
                       "ser números separados por un espacio."));
  }
}

// ---------------------------------------------------------------------------

void ORVCSRSA::Generar() {
  if (generador_->ocupado()) return;
  const int bits = comboBits_->currentData().toInt();
  cmdGenerar_->setEnabled(false);
  comboBits_->setEnabled(false);
  barraGenerando_->show();
  labelGenerando_->setText(QStringLiteral("Generando una clave de %1 bits…").arg(bits));
  generador_->genera(bits);
}

void ORVCSRSA::finGenerar() {
  cmdGenerar_->setEnabled(true);
  comboBits_->setEnabled(true);
  barraGenerando_->hide();
  labelGenerando_->clear();
}

void ORVCSRSA::generada(const ClaveGenerada& clave) {
  if (Ocupado()) {
    // The key changes only between two pieces of work, never under one.
    QTimer::singleShot(50, this, [this, clave] { generada(clave); });
    return;
  }
  finGenerar();
  protege(kClaveErronea, [&] {
    // A new key is not the one saved under the identifier shown.
    TextId()->clear();
    cs_->setTamBloque(clave.bloque);
    cs_->setClaveFactor(1, clave.p.toStdU32String());
    cs_->setClaveFactor(2, clave.q.toStdU32String());
    cs_->setExponente(clave.e.toStdU32String());
    cs_->ConstruyeClave();
  });
}

// ---------------------------------------------------------------------------
// The key file and the enciphered-file header.

std::vector<std::pair<QString, QString>> ORVCSRSA::entradasClave() const {
  return {{kBits, QString::number(cs_->NumBits())},        {kFactor1, texto(cs_->ClaveFactor(1))},
          {kFactor2, texto(cs_->ClaveFactor(2))},          {kClave, texto(cs_->Clave())},
          {kTamBloque, QString::number(cs_->TamBloque())}, {kExponente, texto(cs_->Exponente())},
          {kClavePrivada, texto(cs_->ClavePrivada())}};
}

bool ORVCSRSA::claveRechazada(const QString& seccion, const QString& motivo) {
  avisa(kClaveErronea,
        QStringLiteral("La clave «%1» del fichero no se ha cargado: %2").arg(seccion, motivo));
  return false;
}

bool ORVCSRSA::cargaClave(const QString& seccion) {
  // Everything is read and checked before anything is set: a key is loaded whole or not at all.
  QString motivo;
  const auto clave = lectura::rsa::leeClave(
      [&](const QString& entrada, const QString& defecto) {
        return LeeEntrada(seccion, entrada, defecto);
      },
      ORVW(), &motivo);
  if (!clave) return claveRechazada(seccion, motivo);
  cs_->setNumBits(clave->bits);
  cs_->setClaveFactor(1, clave->factor1.toStdU32String());
  cs_->setClaveFactor(2, clave->factor2.toStdU32String());
  cs_->setClave(clave->clave.toStdU32String());
  cs_->setTamBloque(clave->tamBloque);
  cs_->setExponente(clave->exponente.toStdU32String());
  cs_->setClavePrivada(clave->clavePrivada.toStdU32String());
  return true;
}

QString ORVCSRSA::cabeceraCifrado() const {
  if (cs_->Clave().empty() || cs_->Exponente().empty()) return QString();
  return kCabeceraClave + texto(cs_->Clave()) + QLatin1Char(' ') + kCabeceraExponente +
         texto(cs_->Exponente()) + QLatin1Char(' ');
}

bool ORVCSRSA::esCabecera(const QString& ficha) const {
  return lectura::rsa::esCabecera(ficha);
}

QString ORVCSRSA::tomaCabecera(const QStringList& fichas) {
  const auto cabecera = lectura::rsa::leeCabecera(fichas);
  if (!cabecera) return QStringLiteral("El fichero RSA leído no tiene un formato válido");
  const QString& n = cabecera->clave;
  const QString& e = cabecera->exponente;
  cs_->VaciaClave();
  cs_->setClave(n.toStdU32String());
  cs_->setExponente(e.toStdU32String());
  for (const QString& seccion : Secciones()) {
    if (LeeEntrada(seccion, kClave).compare(n, Qt::CaseInsensitive) == 0 &&
        LeeEntrada(seccion, kExponente).compare(e, Qt::CaseInsensitive) == 0) {
      if (cargaClave(seccion)) {
        TextId()->setText(seccion);
        return QString();
      }
      break;
    }
  }
  TextId()->clear();
  return QString();
}

}  // namespace orv
