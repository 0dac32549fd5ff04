// The Merkle-Hellman knapsack laboratory: key fields, status bar and
// enciphering; the rest is the public-key windows' shared piece.
#include "orv/orvcsmhm.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>

#include <algorithm>
#include <cmath>
#include <functional>

#include "estilo.h"
#include "halvard/orvcriptomhm.h"
#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/lecturaclaves.h"
#include "plankett/flatbutton.h"

namespace orv {
namespace {

using kestrin::Moneda;

using namespace lectura::mhm;

std::optional<Moneda> leeEntero(const QString& pieza, QString* motivo) {
  return lectura::mhm::leeEntero(pieza, ORVW(), motivo);
}

std::optional<std::vector<Moneda>> leeSucesion(const QString& texto, QString* motivo) {
  return lectura::mhm::leeSucesion(texto, ORVW(), motivo);
}

// A number as the fields show it (the user's decimal separator, should one appear).
QString muestra(Moneda m) {
  QString s = QString::fromStdString(m.aTexto());
  const char32_t decimal = ORVW().Formato().decimal;
  if (decimal != U'.') s.replace(QLatin1Char('.'), QString::fromUcs4(&decimal, 1));
  return s;
}

// A number as the key file and the enciphered files hold it.
QString enFichero(Moneda m) {
  return QString::fromStdString(m.aTexto());
}

// Watches a widget's focus: `entra` when it gets it, `sale` when the user
// leaves it (a menu or another window taking it for a while is no leaving).
class Foco : public QObject {
 public:
  Foco(QWidget* w, std::function<void()> entra, std::function<void()> sale)
      : QObject(w), entra_(std::move(entra)), sale_(std::move(sale)) {
    w->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (evento->type() == QEvent::FocusIn) {
      entra_();
    } else if (evento->type() == QEvent::FocusOut) {
      const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
      if (razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason) sale_();
    }
    return QObject::eventFilter(objeto, evento);
  }

 private:
  std::function<void()> entra_;
  std::function<void()> sale_;
};

}  // namespace

ORVCSMHM::ORVCSMHM(QWidget* parent)
    : ORVCSPublico(QStringLiteral("ORVCSMHM"), QStringLiteral("Criptosistema Merkle-Hellman"),
                   QStringLiteral("claves.mhm"), kestrin::CSKMH, parent) {
  // Load: the cryptosystem first; its events fill the fields.
  cs_ = creaComponente<halvard::ORVCriptoMHM>("Halvard.ORVCriptoMHM");
  construye();
  setWindowIcon(arte::Icono(u"MHMochila1"));
  // Unlike the RSA window's, this ciphertext box takes a text of any origin.
  textTC()->setKeysAccepted(kestrin::CSKAll);
  progreso().conecta(conexiones, cs_, cs_->eventos);
  conexiones.conecta(cs_, cs_->eventos.CambiaClave, [this] {
    if (sinRefresco_ == 0) refresca();
  });
  conexiones.conecta(cs_, cs_->eventos.ConstruyeClave,
                     [this](bool& ok, const kestrin::Cadena& mensaje) {
                       if (ok) refresca();
                       informa(QString::fromStdU32String(mensaje));
                       habilita();
                     });
  conexiones.conecta(cs_, cs_->eventos.Cifrado, [this](int32_t n) { cifrado(n); });
  conexiones.conecta(cs_, cs_->eventos.DesCifrado, [this] { desCifrado(); });
  refresca();
  Pestanas()->setCurrentIndex(0);
}

ORVCSMHM::~ORVCSMHM() {
  // The text area outlives this part of the window: leaving it now must reach
  // nothing of it.
  delete foco_;
}

void ORVCSMHM::construye() {
  QWidget* publico = PanelPublico();
  QWidget* privado = Panelprivado();
  labelClave_ = new QLabel(publico);
  labelClave_->setObjectName(QStringLiteral("LabelClave"));
  textSucesionPublica_ = new CampoClave(publico, QStringLiteral("TextSucesionPublica"), 2);
  textSucesionPublica_->setToolTip(QStringLiteral("Elementos separados por espacios"));
  textSucesionPrivada_ = lab::cajaTexto(privado, QStringLiteral("TextSucesionPrivada"));
  // Elements are separated by spaces: they show as spaces.
  textSucesionPrivada_->setMostrarEspaciosComo(QStringLiteral(" "));
  textSucesionPrivada_->setToolTip(QStringLiteral("Elementos separados por espacios"));
  // Numbers in the same letter as every other key field.
  textSucesionPrivada_->setFontName(textSucesionPublica_->font().family());
  textModulo_ = new CampoClave(privado, QStringLiteral("TextModulo"));
  textMultiplicador_ = new CampoClave(privado, QStringLiteral("TextMultiplicador"));
  for (CampoClave* c : {textModulo_, textMultiplicador_}) {
    // Fifteen digits at most: one line, with no scroll bar that looks like arrows.
    c->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c->setMaximumWidth(estilo::anchoCaracteres(c, 22));
  }

  const auto fila = [](QGridLayout* g, int f, QLabel* etiqueta, QWidget* campo) {
    etiqueta->setBuddy(campo);
    etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    etiqueta->setContentsMargins(0, 4, 0, 0);
    g->addWidget(etiqueta, f, 0);
    g->addWidget(campo, f, 1,
                 campo->maximumWidth() < QWIDGETSIZE_MAX ? Qt::AlignLeft : Qt::Alignment());
  };
  QGridLayout* gp = filasPublico();
  fila(gp, 0, labelClave_, textSucesionPublica_);
  gp->setRowStretch(0, 1);
  QGridLayout* gq = filasPrivado();
  fila(gq, 0, new QLabel(QStringLiteral("Sucesión supercreciente"), privado), textSucesionPrivada_);
  fila(gq, 1, new QLabel(QStringLiteral("Módulo"), privado), textModulo_);
  fila(gq, 2, new QLabel(QStringLiteral("Multiplicador"), privado), textMultiplicador_);
  gq->setRowStretch(0, 1);

  // Below the pages, so what it says shows on both.
  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar"));
  statusBar_->setSizeGripEnabled(false);
  msg_ = new QLabel(statusBar_);
  msg_->setObjectName(QStringLiteral("msg"));
  // A long message must not widen the window: it is cut, and whole in the tooltip.
  msg_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  msg_->setMinimumWidth(1);
  statusBar_->addWidget(msg_, 1);
  if (auto* todo = qobject_cast<QBoxLayout*>(layout())) todo->addWidget(statusBar_);

  foco_ = new Foco(
      textSucesionPrivada_->area(),
      [this] {
        privadaAlEntrar_ = QString::fromStdU32String(textSucesionPrivada_->CSTexto()->Texto());
      },
      [this] {
        const QString ahora = QString::fromStdU32String(textSucesionPrivada_->CSTexto()->Texto());
        if (ahora.trimmed() != privadaAlEntrar_.trimmed()) {
          privadaAlEntrar_ = ahora;
          cambiaSucesionPrivada();
        }
      });
  // A file read or a text pasted through the box's toolbar, away from the
  // keyboard, is taken at once, as leaving the field.
  conexiones.conecta(textSucesionPrivada_->eventos.Change, [this] {
    if (sinRefresco_ > 0 || textSucesionPrivada_->area()->hasFocus()) return;
    const QString ahora = QString::fromStdU32String(textSucesionPrivada_->CSTexto()->Texto());
    if (ahora.trimmed() == privadaAlEntrar_.trimmed()) return;
    privadaAlEntrar_ = ahora;
    cambiaSucesionPrivada();
  });
  connect(textSucesionPublica_, &CampoClave::salida, this, &ORVCSMHM::cambiaSucesionPublica);
  connect(textModulo_, &CampoClave::salida, this, [this] { cambiaNumero(textModulo_, true); });
  connect(textMultiplicador_, &CampoClave::salida, this,
          [this] { cambiaNumero(textMultiplicador_, false); });
  connect(cmdCifra(), &plankett::FlatButton::Click, this, &ORVCSMHM::Cifra);
  connect(cmdDescifra(), &plankett::FlatButton::Click, this, &ORVCSMHM::Descifra);
}

// ---------------------------------------------------------------------------
// The key.

QString ORVCSMHM::textoPublica(const QString& separador) const {
  QStringList r;
  for (int32_t i = 1; i <= cs_->LongitudSucesion(); ++i) r << enFichero(cs_->SucesionPublica(i));
  return r.join(separador);
}

void ORVCSMHM::refresca() {
  const int32_t largo = cs_->LongitudSucesion();
  labelClave_->setText(QStringLiteral("Clave de %1 elementos").arg(largo));
  QStringList privada, publica;
  for (int32_t i = 1; i <= largo; ++i) {
    privada << muestra(cs_->SucesionPrivada(i));
    publica << muestra(cs_->SucesionPublica(i));
  }
  // A window that holds no key yet shows empty fields, not zeros.
  const bool vacia = largo == 0 && cs_->Modulo() == Moneda() && cs_->Multiplicador() == Moneda();
  textModulo_->setTexto(vacia ? QString() : muestra(cs_->Modulo()));
  textMultiplicador_->setTexto(vacia ? QString() : muestra(cs_->Multiplicador()));
  textSucesionPublica_->setTexto(publica.join(QLatin1Char(' ')));
  const QString textoPrivada = privada.join(QLatin1Char(' '));
  if (QString::fromStdU32String(textSucesionPrivada_->CSTexto()->Texto()) != textoPrivada) {
    ++sinRefresco_;
    auto t = std::make_shared<kestrin::ORVTexto>();
    t->setTexto(textoPrivada.toStdU32String());
    textSucesionPrivada_->setCSTexto(t);
    --sinRefresco_;
  }
  privadaAlEntrar_ = textoPrivada;
  habilita();
}

void ORVCSMHM::ponSucesiones(const std::vector<Moneda>& privada,
                             const std::vector<Moneda>& publica) {
  // Each element raises CambiaClave: the fields are refreshed once, at the end.
  struct Pausa {
    int& n;
    explicit Pausa(int& c) : n(c) { ++n; }
    ~Pausa() { --n; }
  };
  {
    Pausa pausa(sinRefresco_);
    const size_t largo = std::max(privada.size(), publica.size());
    cs_->setLongitudSucesion(static_cast<int32_t>(largo));
    for (size_t i = 0; i < privada.size(); ++i)
      cs_->setSucesionPrivada(static_cast<int32_t>(i + 1), privada[i]);
    for (size_t i = 0; i < publica.size(); ++i)
      cs_->setSucesionPublica(static_cast<int32_t>(i + 1), publica[i]);
  }
  refresca();
}

bool ORVCSMHM::cambiaClave(const std::function<void()>& cambio) {
  // A key whose numbers overflow while it is built is a key problem like any
  // other: said in the status bar, and the key left unusable, not half-built.
  try {
    cambio();
    return true;
  } catch (const std::exception& e) {
    informa(textoError(e));
  }
  protege(windowTitle(), [this] { cs_->setClavePublicaOK(false); });
  return false;
}

void ORVCSMHM::cambiaSucesionPrivada() {
  const QString texto = QString::fromStdU32String(textSucesionPrivada_->CSTexto()->Texto());
  if (texto.trimmed().isEmpty()) {
    informa(QStringLiteral("La sucesión supercreciente está vacía. La clave no cambia."));
    return;
  }
  QString motivo;
  const auto privada = leeSucesion(texto, &motivo);
  if (!privada) {
    informa(QStringLiteral("Sucesión supercreciente: %1 La clave no cambia.").arg(motivo));
    return;
  }
  cambiaClave([&] {
    ponSucesiones(*privada, {});
    cs_->ConstruyeClave();
  });
  habilita();
}

void ORVCSMHM::cambiaSucesionPublica() {
  const QString texto = textSucesionPublica_->texto();
  if (texto.isEmpty()) {
    informa(QStringLiteral("La sucesión pública está vacía. La clave no cambia."));
    return;
  }
  QString motivo;
  const auto publica = leeSucesion(texto, &motivo);
  if (!publica) {
    informa(QStringLiteral("Sucesión pública: %1 La clave no cambia.").arg(motivo));
    return;
  }
  if (publica->size() < 2) {
    informa(
        QStringLiteral("Sucesión pública: debe haber al menos 2 elementos. La clave no cambia."));
    return;
  }
  const bool bien = cambiaClave([&] {
    ponSucesiones({}, *publica);
    // A public key of its own: it enciphers, and the private key no longer
    // deciphers what it gives.
    cs_->setClavePublicaOK(false);
    cs_->setClavePublicaOK(true);
  });
  if (bien) {
    informa(QStringLiteral("Clave pública de %1 elementos: sirve para cifrar; para descifrar hace "
                           "falta la clave privada.")
                .arg(publica->size()));
  }
  habilita();
}

void ORVCSMHM::cambiaNumero(CampoClave* campo, bool modulo) {
  const QString nombre = modulo ? QStringLiteral("Módulo") : QStringLiteral("Multiplicador");
  QString motivo;
  const auto valor = leeEntero(campo->texto(), &motivo);
  if (!valor) {
    informa(QStringLiteral("%1: %2 La clave no cambia.").arg(nombre, motivo));
    return;
  }
  cambiaClave([&] {
    if (modulo)
      cs_->setModulo(*valor);
    else
      cs_->setMultiplicador(*valor);
    cs_->ConstruyeClave();
  });
  habilita();
}

std::optional<ORVCSMHM::ClaveGuardada> ORVCSMHM::leeGuardada(const QString& seccion,
                                                             QString* motivo) const {
  return lectura::mhm::leeClave(
      [&](const QString& entrada, const QString& defecto) {
        return LeeEntrada(seccion, entrada, defecto);
      },
      ORVW(), motivo);
}

std::vector<std::pair<QString, QString>> ORVCSMHM::entradasClave() const {
  QStringList privada;
  for (int32_t i = 1; i <= cs_->LongitudSucesion(); ++i)
    privada << enFichero(cs_->SucesionPrivada(i));
  return {{kPrivada, privada.join(QLatin1Char(' '))},
          {kPublica, textoPublica(QStringLiteral(" "))},
          {kMultiplicador, enFichero(cs_->Multiplicador())},
          {kModulo, enFichero(cs_->Modulo())}};
}

bool ORVCSMHM::cargaClave(const QString& seccion) {
  QString motivo;
  const auto clave = leeGuardada(seccion, &motivo);
  if (!clave) {
    informa(QStringLiteral("No se ha cargado la clave «%1»: %2").arg(seccion, motivo));
    return false;
  }
  ponSucesiones(clave->privada, clave->publica);
  cs_->setMultiplicador(clave->multiplicador);
  cs_->setModulo(clave->modulo);
  // Usable at once, as it was saved, without building it again.
  cs_->setClavePrivadaOK(true);
  informa(QStringLiteral("Clave «%1» cargada.").arg(seccion));
  return true;
}

// ---------------------------------------------------------------------------
// The enciphered-file header.

QString ORVCSMHM::cabeceraCifrado() const {
  if (!cs_ || cs_->LongitudSucesion() == 0 || !cs_->ClavePublicaOK()) return {};
  return kCabecera + textoPublica(QStringLiteral("-")) + QLatin1Char(' ');
}

bool ORVCSMHM::esCabecera(const QString& ficha) const {
  return lectura::mhm::esCabecera(ficha);
}

QString ORVCSMHM::tomaCabecera(const QStringList& fichas) {
  // Every piece is checked before the key changes.
  const auto leida = lectura::mhm::leeCabecera(fichas, ORVW());
  if (!leida) return QStringLiteral("El fichero MHM leído no tiene un formato válido");
  const std::vector<Moneda>& publica = *leida;

  cs_->VaciaClave();
  ponSucesiones(std::vector<Moneda>(publica.size()), publica);
  cs_->setClavePublicaOK(false);
  cs_->setClavePublicaOK(true);

  // The rest of the key, from the first saved key with this public sequence.
  const QString texto = textoPublica(QStringLiteral(" "));
  QString seccion;
  for (const QString& s : Secciones()) {
    if (LeeEntrada(s, kPublica) == texto) {
      seccion = s;
      break;
    }
  }
  QString motivo;
  const auto clave = seccion.isEmpty() ? std::nullopt : leeGuardada(seccion, &motivo);
  if (clave && clave->publica == publica) {
    ponSucesiones(clave->privada, clave->publica);
    cs_->setMultiplicador(clave->multiplicador);
    cs_->setModulo(clave->modulo);
    cs_->setClavePrivadaOK(true);
    TextId()->setText(seccion);
    informa(QStringLiteral("Clave «%1» del fichero de claves: se puede cifrar y descifrar.")
                .arg(seccion));
  } else {
    // The identifier belongs to another key now: saving must not overwrite it.
    TextId()->clear();
    if (!seccion.isEmpty()) {
      informa(QStringLiteral("La clave «%1» del fichero de claves tiene esta sucesión pública, "
                             "pero %2 Sólo se puede cifrar.")
                  .arg(seccion, motivo.isEmpty() ? QStringLiteral("no coincide.") : motivo));
    } else {
      informa(
          QStringLiteral("La clave de este texto no está en el fichero de claves: sólo se "
                         "puede cifrar."));
    }
  }
  habilita();
  return {};
}

void ORVCSMHM::informa(const QString& texto) {
  msg_->setText(texto);
  msg_->setToolTip(texto);
}

// ---------------------------------------------------------------------------
// Enciphering.

void ORVCSMHM::habilita() {
  if (!cs_ || Ocupado()) return;
  cmdCifra()->setEnabled(!TextTO()->CSTexto()->Texto().empty() && cs_->ClavePublicaOK());
  cmdDescifra()->setEnabled(!textTC()->CSTexto()->Texto().empty() && cs_->ClavePrivadaOK());
  habilitaGuardarCifrado();
}

QString ORVCSMHM::textoError(const std::exception& e) const {
  const auto* error = dynamic_cast<const kestrin::ErrorORV*>(&e);
  if (error != nullptr && error->numero() == kestrin::kDesbordamiento) {
    return QStringLiteral(
        "Los números de la clave son demasiado grandes: una suma de sus elementos no cabe en "
        "922337203685477.");
  }
  if (error != nullptr && error->numero() == kestrin::kMemoriaInsuficiente) {
    return QStringLiteral("El texto tiene demasiados bloques para esta clave.");
  }
  return ORVCSPublico::textoError(e);
}

void ORVCSMHM::Cifra() {
  if (!cs_->ClavePublicaOK()) {
    informa(QStringLiteral("Para cifrar hace falta una clave pública válida."));
    return;
  }
  const bool bien =
      trabaja(windowTitle(), {cmdCifra(), cmdDescifra(), Panel(0), TextTO(), textTC()}, [this] {
        cs_->setTextoOriginal(TextTO()->CSTexto());
        cs_->Cifra();
      });
  if (bien) {
    informa(QStringLiteral("Texto cifrado en %1 bloques de %2 bits.")
                .arg(cs_->UltimoBloque())
                .arg(cs_->LongitudSucesion()));
  }
  habilita();
}

void ORVCSMHM::cifrado(int32_t n) {
  QString texto;
  texto.reserve(static_cast<qsizetype>(n) * 8);
  progreso().Inicio(n);
  for (int32_t i = 1; i <= n; ++i) {
    progreso().Progreso(i);
    texto += enFichero(cs_->TextoCifrado(i));
    texto += QLatin1Char(' ');
  }
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->asigna(texto.toStdU32String(), kestrin::CSKMH);
  textTC()->setCSTexto(t);
}

void ORVCSMHM::Descifra() {
  if (!cs_->ClavePrivadaOK()) {
    informa(QStringLiteral("Para descifrar hace falta la clave privada."));
    return;
  }
  // Reading the blocks is part of the work: a long ciphertext keeps the
  // window repainting while its numbers are read, too.
  QString motivo;
  const bool bien =
      trabaja(windowTitle(), {cmdCifra(), cmdDescifra(), Panel(0), TextTO(), textTC()}, [&] {
        const QString texto = QString::fromStdU32String(ORVW().XTrim(textTC()->CSTexto()->Texto()));
        const QStringList p = piezas(texto);
        if (p.isEmpty()) {
          motivo = QStringLiteral("No hay texto cifrado que descifrar.");
          return;
        }
        std::vector<Moneda> bloques;
        bloques.reserve(static_cast<size_t>(p.size()));
        for (const QString& pieza : p) {
          const auto v = leeEntero(pieza, &motivo);
          if (!v) {
            motivo = QStringLiteral("Texto cifrado: %1 No se ha descifrado nada.").arg(motivo);
            return;
          }
          bloques.push_back(*v);
          if (bloques.size() % 4096 == 0) progreso().repinta();
        }
        motivo.clear();
        cs_->setNumBloques(static_cast<int32_t>(bloques.size()));
        for (size_t i = 0; i < bloques.size(); ++i)
          cs_->setTextoCifrado(static_cast<int32_t>(i + 1), bloques[i]);
        cs_->Descifra();
      });
  if (!motivo.isEmpty())
    informa(motivo);
  else if (bien)
    informa(QStringLiteral("Descifrados %1 bloques.").arg(cs_->UltimoBloque()));
  habilita();
}

void ORVCSMHM::desCifrado() {
  // A copy: the box's edits must not reach the cryptosystem's own text.
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->asigna(cs_->TextoOriginal()->Texto(), kestrin::CSKNone);
  TextTO()->setCSTexto(t);
}

}  // namespace orv
