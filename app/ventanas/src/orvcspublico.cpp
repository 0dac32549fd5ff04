// What the RSA and knapsack laboratories share: pages, key panel, toolbar,
// key file and the enciphered-file header.
#include "orv/orvcspublico.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

#include "estilo.h"
#include "kestrin/cadena.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "orv/arranque.h"
#include "orv/lecturaclaves.h"
#include "plankett/flatbutton.h"
#include "rejilla/rejilla.h"

namespace orv {
namespace {

constexpr uint32_t kAzul = 0xFF0000;  // RGB 0000FF, red in the low byte
// A key file larger than this is no key file: the list says so rather than
// filling itself for minutes.
constexpr qint64 kMaxFichero = 16 * 1024 * 1024;

// The toolbar's images, drawn so they stay sharp at any density: grey at rest,
// coloured under the pointer, as the text boxes' toolbars.
QColor tono(QColor c, bool color) {
  if (color) return c;
  const int g = qGray(c.rgb());
  return QColor(g, g, g, c.alpha());
}

void llave(QPainter& p, QPointF o, double escala, bool color) {
  p.save();
  p.translate(o);
  p.scale(escala, escala);
  const QColor oro = tono(QColor(0xd4, 0xa0, 0x17), color);
  const QColor borde = tono(QColor(0x7a, 0x55, 0x08), color);
  p.setPen(QPen(borde, 1.0));
  p.setBrush(oro);
  p.drawEllipse(QPointF(3.5, 3.5), 3, 3);
  QPainterPath cana;
  cana.moveTo(6, 2.8);
  cana.lineTo(14.5, 2.8);
  cana.lineTo(14.5, 6);
  cana.lineTo(12.8, 6);
  cana.lineTo(12.8, 4.4);
  cana.lineTo(11.2, 4.4);
  cana.lineTo(11.2, 6);
  cana.lineTo(9.6, 6);
  cana.lineTo(9.6, 4.4);
  cana.lineTo(6, 4.4);
  cana.closeSubpath();
  p.drawPath(cana);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(3.5, 3.5), 1, 1);
  p.restore();
}

void dibuja(QPainter& p, const QString& key, bool color) {
  p.setRenderHint(QPainter::Antialiasing, true);
  if (key == QLatin1String("abrir")) {
    // A folder with a key: a saved key brought back.
    QPainterPath atras;
    atras.moveTo(1.5, 13.5);
    atras.lineTo(1.5, 3.5);
    atras.lineTo(5.5, 3.5);
    atras.lineTo(7, 5);
    atras.lineTo(12.5, 5);
    atras.lineTo(12.5, 7);
    p.setPen(QPen(tono(QColor(0x8a, 0x64, 0x12), color), 1.0));
    p.setBrush(tono(QColor(0xe0, 0xb0, 0x40), color));
    p.drawPath(atras);
    QPainterPath frente;
    frente.moveTo(1.5, 13.5);
    frente.lineTo(4, 7.5);
    frente.lineTo(15, 7.5);
    frente.lineTo(12.5, 13.5);
    frente.closeSubpath();
    p.setBrush(tono(QColor(0xf6, 0xd3, 0x6b), color));
    p.drawPath(frente);
    llave(p, QPointF(5, 8.8), 0.62, color);
  } else if (key == QLatin1String("guardar")) {
    QPainterPath cuerpo;
    cuerpo.moveTo(1.5, 1.5);
    cuerpo.lineTo(12, 1.5);
    cuerpo.lineTo(14.5, 4);
    cuerpo.lineTo(14.5, 13.5);
    cuerpo.lineTo(1.5, 13.5);
    cuerpo.closeSubpath();
    p.setPen(QPen(tono(QColor(0x1d, 0x3f, 0x7a), color), 1.0));
    p.setBrush(tono(QColor(0x3b, 0x6f, 0xc6), color));
    p.drawPath(cuerpo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfa, 0xfa, 0xfa));
    p.drawRect(QRectF(4, 2, 7.5, 4.5));
    p.setBrush(tono(QColor(0xdc, 0xe6, 0xf5), color));
    p.drawRect(QRectF(3.5, 8.5, 9, 5));
    llave(p, QPointF(4, 9.2), 0.55, color);
  } else if (key == QLatin1String("claves")) {
    // A sheet of keys: the key file in the editor.
    p.setPen(QPen(tono(QColor(0x50, 0x60, 0x80), color), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 0.5, 10, 13.5));
    p.setPen(QPen(tono(QColor(0x5a, 0x8a, 0xd6), color), 0.9));
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(3.5, 3 + 2.2 * i), QPointF(9.5, 3 + 2.2 * i));
    llave(p, QPointF(5.5, 8.5), 0.68, color);
  }
}

QIcon icono(const QString& key) {
  QIcon icono;
  for (const qreal escala : {1.0, 1.5, 2.0, 3.0}) {
    for (const bool color : {false, true}) {
      QPixmap px(QSize(16, 15) * escala);
      px.setDevicePixelRatio(escala);
      px.fill(Qt::transparent);
      QPainter p(&px);
      dibuja(p, key, color);
      p.end();
      icono.addPixmap(px, color ? QIcon::Active : QIcon::Normal);
    }
  }
  return icono;
}

// The key file's lines, read in its code page as the profile reader reads it
// (UTF-8 when it starts with the UTF-8 mark, else Windows-1252).
QStringList lineas(const QString& ruta, bool* existe, bool* grande = nullptr) {
  QFile f(ruta);
  *existe = f.exists();
  if (grande != nullptr) *grande = f.size() > kMaxFichero;
  if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFichero) return {};
  return lectura::lineasClaves(f.readAll());
}

using lectura::esSeccion;

}  // namespace

// ---------------------------------------------------------------------------

CampoClave::CampoClave(QWidget* parent, const QString& nombre, int lineas)
    : QPlainTextEdit(parent), lineas_(lineas) {
  setObjectName(nombre);
  setTabChangesFocus(true);
  setWordWrapMode(QTextOption::WrapAnywhere);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  QFont f = font();
  f.setFamily(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  setFont(f);
  const QFontMetrics m(f);
  setMinimumHeight(m.lineSpacing() * lineas_ + 2 * frameWidth() +
                   static_cast<int>(std::ceil(2 * document()->documentMargin())) + 2);
  if (lineas_ > 1)
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  else {
    // One line shows no scroll bar; a longer number still scrolls with the keys.
    setFixedHeight(minimumHeight());
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  connect(this, &QPlainTextEdit::textChanged, this, &CampoClave::cambiado);
}

QString CampoClave::texto() const {
  QString t = toPlainText();
  t.remove(QLatin1Char('\n'));
  t.remove(QLatin1Char('\r'));
  return t.trimmed();
}

void CampoClave::setTexto(const QString& texto) {
  if (texto != toPlainText()) setPlainText(texto);
  alEntrar_ = this->texto();
}

QSize CampoClave::sizeHint() const {
  return QSize(QPlainTextEdit::sizeHint().width(), minimumHeight());
}

void CampoClave::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  alEntrar_ = texto();
}

void CampoClave::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  // A menu or a message box taking the focus is not leaving the field.
  if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason) sale();
}

void CampoClave::keyPressEvent(QKeyEvent* e) {
  // A number has no lines: Enter takes what was typed, as leaving does.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    sale();
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void CampoClave::sale() {
  const QString ahora = texto();
  if (ahora == alEntrar_) return;
  alEntrar_ = ahora;
  emit salida();
}

// ---------------------------------------------------------------------------

ORVCSPublico::ORVCSPublico(const QString& nombre, const QString& titulo, const QString& fichero,
                           int32_t claveCifrado, QWidget* parent)
    : Laboratorio(nombre, titulo, parent), claveCifrado_(claveCifrado) {
  ficheroClaves_ = QString::fromStdU32String(ORVW().Carpeta()) + QLatin1Char('/') + fichero;
  abreEditor = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  avisaCritico = [this](const QString& t, const QString& texto) {
    QMessageBox::critical(this, t, texto);
  };
  construye(claveCifrado);
}

ORVCSPublico::~ORVCSPublico() = default;

QTabBar* ORVCSPublico::tsClave() const {
  return pestanas_->tabBar();
}

plankett::FlatButton* ORVCSPublico::cmdCifra() const {
  return panelCifrar_->cmdCifra();
}

plankett::FlatButton* ORVCSPublico::cmdDescifra() const {
  return panelCifrar_->cmdDescifra();
}

QAction* ORVCSPublico::boton(const QString& key) const {
  for (QAction* a : toolbar_->actions())
    if (a->data().toString() == key) return a;
  return nullptr;
}

QSize ORVCSPublico::sizeHint() const {
  return QSize(760, 640).expandedTo(minimumSizeHint());
}

void ORVCSPublico::construye(int32_t claveCifrado) {
  const lab::Paginas paginas =
      lab::paginas(this, QStringLiteral("tsClave"), {{"Clave", "clave"}, {"Cifrado", "cifrado"}});
  pestanas_ = paginas.pestanas;
  panel_[0] = paginas.panel(0);
  panel_[1] = paginas.panel(1);

  // Key page: toolbar and identifier, then the two frames, with the list over them.
  QFrame* clave = panel_[0];
  toolbar_ = new QToolBar(clave);
  toolbar_->setObjectName(QStringLiteral("Toolbar"));
  toolbar_->setIconSize(QSize(16, 15));
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const std::pair<const char*, const char*> botones[] = {
      {"abrir", "Recupera una clave previamente guardada"},
      {"guardar", "Guarda la clave en disco"},
      {"claves", "Edita las claves guardadas"}};
  for (const auto& [key, ayuda] : botones) {
    QAction* a = toolbar_->addAction(icono(QString::fromLatin1(key)), QString::fromLatin1(key));
    a->setData(QString::fromLatin1(key));
    a->setToolTip(QString::fromUtf8(ayuda));
    a->setObjectName(QString::fromLatin1(key));
  }
  textId_ = new QLineEdit(clave);
  textId_->setObjectName(QStringLiteral("TextId"));
  textId_->setToolTip(QStringLiteral("Identificador de la clave"));
  textId_->setPlaceholderText(QStringLiteral("Identificador de la clave"));

  panelPublico_ = new QGroupBox(QStringLiteral("Público"), clave);
  panelPublico_->setObjectName(QStringLiteral("PanelPublico"));
  filasPublico_ = new QGridLayout(panelPublico_);
  panelPrivado_ = new QGroupBox(QStringLiteral("Privado"), clave);
  panelPrivado_->setObjectName(QStringLiteral("Panelprivado"));
  filasPrivado_ = new QGridLayout(panelPrivado_);
  for (QGridLayout* g : {filasPublico_, filasPrivado_}) {
    g->setContentsMargins(8, 6, 8, 8);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    g->setColumnStretch(1, 1);
  }
  auto* marcos = new QWidget(clave);
  auto* columna = new QVBoxLayout(marcos);
  columna->setContentsMargins(0, 0, 0, 0);
  columna->setSpacing(8);
  // The private part holds more numbers.
  columna->addWidget(panelPublico_, 2);
  columna->addWidget(panelPrivado_, 3);

  marcoClaves_ = new QFrame(clave);
  marcoClaves_->setObjectName(QStringLiteral("MarcoClaves"));
  marcoClaves_->setFrameShape(QFrame::StyledPanel);
  marcoClaves_->setAutoFillBackground(true);
  labelFichero_ = new QLabel(marcoClaves_);
  labelFichero_->setObjectName(QStringLiteral("LabelFichero"));
  labelFichero_->setWordWrap(true);
  labelFichero_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  flexClaves_ = lab::rejilla(marcoClaves_, QStringLiteral("FlexClaves"), 1, 3, 1, 0);
  flexClaves_->setTexto(0, 0, QStringLiteral("Clave"));
  flexClaves_->setTexto(0, 1, QStringLiteral("Entrada"));
  flexClaves_->setTexto(0, 2, QStringLiteral("Valor"));
  for (int c = 0; c < 3; ++c) {
    flexClaves_->setAlineacionColumna(c, IzquierdaCentro);
    flexClaves_->setAlineacionFija(c, IzquierdaCentro);
  }
  const QFontMetrics medidas(flexClaves_->tabla()->font());
  flexClaves_->setAnchoColumna(
      0, (medidas.horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) + 16) * 15);
  flexClaves_->setAnchoColumna(
      1, (medidas.horizontalAdvance(QStringLiteral("Segundo factor primo")) + 16) * 15);
  flexClaves_->setAnchoColumna(2, 400 * 15);
  flexClaves_->tabla()->setWordWrap(false);
  flexClaves_->tabla()->horizontalHeader()->setStretchLastSection(true);
  auto* listaClaves = new QVBoxLayout(marcoClaves_);
  listaClaves->setContentsMargins(6, 6, 6, 6);
  listaClaves->setSpacing(4);
  listaClaves->addWidget(labelFichero_);
  listaClaves->addWidget(flexClaves_, 1);
  marcoClaves_->hide();

  auto* cabeza = new QHBoxLayout;
  cabeza->setSpacing(8);
  cabeza->addWidget(toolbar_);
  cabeza->addWidget(textId_, 1);
  auto* paginaClave = new QGridLayout(clave);
  paginaClave->setContentsMargins(8, 8, 8, 8);
  paginaClave->setVerticalSpacing(8);
  paginaClave->addLayout(cabeza, 0, 0);
  // The list lies over the two frames while it is shown.
  paginaClave->addWidget(marcos, 1, 0);
  paginaClave->addWidget(marcoClaves_, 1, 0);
  paginaClave->setRowStretch(1, 1);
  marcoClaves_->raise();

  // Enciphering page.
  const lab::PaginaCifrado cifrado = lab::paginaCifrado(panel_[1], claveCifrado);
  textTO_ = cifrado.TxtTO;
  textTO_->setObjectName(QStringLiteral("TextTO"));
  textTC_ = cifrado.txtTC;
  textTC_->setObjectName(QStringLiteral("textTC"));
  textTC_->setKeysAccepted(claveCifrado);
  // A ciphertext is numbers between single spaces, shown as they are.
  textTC_->setMostrarEspaciosComo(QStringLiteral(" "));
  textTC_->setSeparadores(QStringLiteral(" "));
  panelCifrar_ = cifrado.panelCifrar;
  progressBar_ = new QProgressBar(panel_[1]);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setTextVisible(false);
  progressBar_->setFixedHeight(14);
  progressBar_->setValue(0);
  static_cast<lab::FilasRotuladas*>(panel_[1]->layout())->fila(progressBar_);
  progreso_ = std::make_unique<SeguimientoProgreso>(std::vector<QProgressBar*>{progressBar_});

  auto* todo = new QVBoxLayout(this);
  todo->setContentsMargins(8, 8, 8, 8);
  todo->addWidget(pestanas_, 1);
  resize(sizeHint());

  connect(boton(QStringLiteral("abrir")), &QAction::triggered, this, &ORVCSPublico::ListaClaves);
  connect(boton(QStringLiteral("guardar")), &QAction::triggered, this, &ORVCSPublico::GuardaClave);
  connect(boton(QStringLiteral("claves")), &QAction::triggered, this, &ORVCSPublico::EditaClaves);
  // A click chooses the row under the pointer; one below the last row chooses nothing.
  conexiones.conecta(flexClaves_->eventos.Click, [this] {
    const int32_t fila = filaPulsada_;
    filaPulsada_ = -1;
    if (fila > 0) EligeClave(fila);
  });
  flexClaves_->tabla()->installEventFilter(this);
  flexClaves_->tabla()->viewport()->installEventFilter(this);
  conexiones.conecta(textTC_->eventos.AfterRead,
                     [this](QString& texto, bool& cancel) { leido(texto, cancel); });
  conexiones.conecta(textTC_->eventos.BeforeSave, [this](QString& texto) { guardando(texto); });
  for (pemmick::ORVExtTextBox* caja : {textTO_, textTC_})
    conexiones.conecta(caja->eventos.Change, [this] { habilita(); });
}

bool ORVCSPublico::eventFilter(QObject* objeto, QEvent* evento) {
  QTableWidget* tabla = flexClaves_->tabla();
  if (objeto == tabla && evento->type() == QEvent::KeyPress) {
    const int tecla = static_cast<QKeyEvent*>(evento)->key();
    if (tecla == Qt::Key_Escape) {
      OcultaClaves();
      return true;
    }
    // Enter chooses the current row, as a click does.
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
      EligeClave(flexClaves_->Fila());
      return true;
    }
  } else if (objeto == tabla->viewport() && evento->type() == QEvent::MouseButtonPress) {
    const int fila = tabla->rowAt(static_cast<QMouseEvent*>(evento)->position().toPoint().y());
    filaPulsada_ = fila < 0 ? -1 : fila + 1;  // the header row is row 0
  }
  return Laboratorio::eventFilter(objeto, evento);
}

QString ORVCSPublico::tituloFicheroErroneo() const {
  return QStringLiteral("Fichero erróneo");
}

void ORVCSPublico::informa(const QString& texto) {
  avisa(windowTitle(), texto);
}

void ORVCSPublico::confirmaEdicion() {
  if (auto* campo = qobject_cast<CampoClave*>(QApplication::focusWidget()))
    if (isAncestorOf(campo)) campo->confirma();
}

void ORVCSPublico::habilitaGuardarCifrado() {
  if (QAction* a = textTC_->boton(QStringLiteral("guardar")))
    a->setEnabled(!cabeceraCifrado().isEmpty());
}

// ---------------------------------------------------------------------------
// The key file.

QString ORVCSPublico::LeeEntrada(const QString& seccion, const QString& entrada,
                                 const QString& defecto) const {
  return QString::fromStdU32String(
      ORVW().GetProfile(seccion.toStdU32String(), entrada.toStdU32String(),
                        defecto.toStdU32String(), ficheroClaves_.toStdU32String()));
}

QStringList ORVCSPublico::Secciones() const {
  bool existe = false;
  return lectura::secciones(lineas(ficheroClaves_, &existe));
}

void ORVCSPublico::GuardaClave() {
  confirmaEdicion();
  QString id = textId_->text().trimmed();
  if (id.isEmpty())
    id = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
  const auto entradas = entradasClave();
  for (const auto& [entrada, valor] : entradas) {
    // The profile reader gives back at most kMaxPerfil characters of a value.
    if (valor.size() >= static_cast<qsizetype>(kestrin::ORVW::kMaxPerfil)) {
      informa(QStringLiteral("No se pudo guardar la clave «%1»: «%2» tiene %3 caracteres y el "
                             "fichero de claves solo guarda %4.")
                  .arg(id, entrada)
                  .arg(valor.size())
                  .arg(kestrin::ORVW::kMaxPerfil - 1));
      return;
    }
  }
  const kestrin::Cadena ruta = ficheroClaves_.toStdU32String();
  const kestrin::Cadena seccion = id.toStdU32String();
  for (const auto& [entrada, valor] : entradas) {
    if (!ORVW().WriteProfile(seccion, entrada.toStdU32String(), valor.toStdU32String(), ruta)) {
      // Each entry goes through a temporary file: what was saved before stays whole.
      informa(
          QStringLiteral("No se pudo guardar la clave «%1» en %2: el nombre no puede llevar "
                         "corchetes ni saltos de línea, y la carpeta tiene que admitir escritura.")
              .arg(id, QDir::toNativeSeparators(ficheroClaves_)));
      return;
    }
  }
  textId_->setText(id);
  // A list on show follows the file.
  if (marcoClaves_->isVisible()) {
    marcoClaves_->hide();
    ListaClaves();
  }
}

void ORVCSPublico::ListaClaves() {
  if (marcoClaves_->isVisible()) {
    marcoClaves_->hide();
    return;
  }
  Rejilla& g = *flexClaves_;
  g.setRedibujo(false);
  g.setFilas(1);
  g.tabla()->clearSpans();
  bool existe = false;
  bool grande = false;
  const QStringList texto = lineas(ficheroClaves_, &existe, &grande);
  const QString ruta = QDir::toNativeSeparators(ficheroClaves_);
  for (const QString& linea : texto) {
    QString nombre;
    if (esSeccion(linea, &nombre)) {
      const int32_t f = g.Filas();
      g.setFilas(f + 1);
      g.setTexto(f, 0, nombre);
      g.setColorTextoCelda(f, 0, kAzul);
      g.setEsNodo(f, true);
      g.setNivelEsquema(f, 0);
      // A key's name runs over the entry columns, which a section row leaves empty.
      g.tabla()->setSpan(f - 1, 0, 1, 3);
    } else if (const qsizetype igual = linea.indexOf(QLatin1Char('=')); igual >= 0) {
      const int32_t f = g.Filas();
      g.setFilas(f + 1);
      g.setTexto(f, 1, linea.left(igual).trimmed());
      g.setTexto(f, 2, linea.mid(igual + 1).trimmed());
      g.setNivelEsquema(f, 1);
    }
  }
  g.setRedibujo(true);
  if (!existe) {
    labelFichero_->setText(
        QStringLiteral("Aún no hay claves guardadas: %1 no existe. «Guardar» la creará.")
            .arg(ruta));
  } else if (grande) {
    labelFichero_->setText(
        QStringLiteral("%1 es demasiado grande para ser un fichero de claves.").arg(ruta));
  } else if (g.Filas() == 1) {
    labelFichero_->setText(QStringLiteral("No hay claves en %1.").arg(ruta));
  } else {
    labelFichero_->setText(
        QStringLiteral("Claves de %1. Elija una; Esc cierra la lista.").arg(ruta));
  }
  marcoClaves_->show();
  flexClaves_->tabla()->setFocus();
}

void ORVCSPublico::OcultaClaves() {
  marcoClaves_->hide();
}

void ORVCSPublico::EligeClave(int32_t fila) {
  Rejilla& g = *flexClaves_;
  if (fila < 1 || fila >= g.Filas()) return;
  int32_t f = fila;
  while (f >= 1 && !g.EsNodo(f)) --f;
  if (f < 1) {
    // Entries before the first section belong to no key.
    marcoClaves_->hide();
    informa(QStringLiteral("Esa línea del fichero de claves no pertenece a ninguna clave."));
    return;
  }
  const QString seccion = g.Texto(f, 0);
  bool cargada = false;
  protege(QStringLiteral("Clave errónea"), [&] { cargada = cargaClave(seccion); });
  if (!cargada) return;
  textId_->setText(seccion);
  marcoClaves_->hide();
  habilita();
}

void ORVCSPublico::EditaClaves() {
  const QString ruta = QDir::toNativeSeparators(ficheroClaves_);
  if (!QFileInfo::exists(ficheroClaves_)) {
    informa(QStringLiteral("Aún no hay claves guardadas: %1 no existe. Guarde una clave primero.")
                .arg(ruta));
    return;
  }
  if (!abreEditor(QUrl::fromLocalFile(ficheroClaves_))) {
    informa(QStringLiteral("No hay ningún editor de textos para abrir %1. Ábralo con el editor que "
                           "prefiera.")
                .arg(ruta));
  }
}

// ---------------------------------------------------------------------------
// The enciphered-file header.

void ORVCSPublico::guardando(QString& texto) const {
  kestrin::Cadena c = texto.toStdU32String();
  c = ORVW().CSText(c);
  kestrin::Cadena conCabecera = cabeceraCifrado().toStdU32String() + c;
  ORVW().setCSKey(conCabecera, claveCifrado_);
  texto = QString::fromStdU32String(conCabecera);
}

void ORVCSPublico::leido(QString& texto, bool& cancel) {
  const kestrin::Cadena sinEtiqueta = ORVW().CSText(texto.toStdU32String());
  // Tokens at single spaces: a header token goes with the space after it.
  const lectura::Separado separado = lectura::separaCabecera(
      QString::fromStdU32String(sinEtiqueta), [this](const QString& f) { return esCabecera(f); });
  const QStringList& cabecera = separado.cabecera;
  const QString& resto = separado.resto;
  QString motivo;
  if (!protege(tituloFicheroErroneo(), [&] { motivo = tomaCabecera(cabecera); })) {
    cancel = true;
    return;
  }
  if (!motivo.isEmpty()) {
    cancel = true;
    avisaCritico(tituloFicheroErroneo(), motivo);
    return;
  }
  kestrin::Cadena etiquetado = resto.toStdU32String();
  ORVW().setCSKey(etiquetado, claveCifrado_);
  texto = QString::fromStdU32String(etiquetado);
  habilita();
}

}  // namespace orv
