// The extended text box: toolbar, text area, files, clipboard and drops.
#include "pemmick/orvexttextbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QSaveFile>
#include <QToolBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <mutex>

#include "comun.h"
#include "hookwell/subclas.h"
#include "iconos.h"
#include "kestrin/errores.h"
#include "kestrin/orvw.h"
#include "lectura.h"
#include "propiedades_qt.h"

namespace pemmick {

using detalle::color;

namespace {

constexpr int kTwipsPorPixel = 15;
constexpr int kSeparacion = 100;  // twips between the toolbar and the text area

struct Boton {
  const char* key;
  const char* ayuda;
};
constexpr Boton kBotones[] = {
    {"abrir", "Lee de un fichero de texto"},
    {"guardar", "Guarda en un fichero de texto"},
    {"cortar", "Cortar todo"},
    {"copiar", "Copia todo el texto"},
    {"pegar", "Pegar"},
    {"deshacer", "Deshacer"},
};

std::mutex& cerrojoEspacio() {
  static std::mutex m;
  return m;
}
std::shared_ptr<kestrin::ORVW>& espacioGlobal() {
  static std::shared_ptr<kestrin::ORVW> w;
  return w;
}

// Direct conversions: Qt's own go through its general decoders, which cost
// seconds on texts of many megabytes.
QString aQString(const kestrin::Cadena& c) { return detalle::aQString(c); }
kestrin::Cadena aCadena(const QString& s) { return detalle::aCadena(s); }

// "desc|pat|desc|pat" to the dialog's "desc (pat);;desc (pat)".
QString filtroDialogo(const QString& filtro) {
  const QStringList partes = filtro.split(QLatin1Char('|'));
  QStringList salida;
  for (int i = 0; i + 1 < partes.size(); i += 2) {
    QString patrones = partes[i + 1];
    patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
    salida << QStringLiteral("%1 (%2)").arg(partes[i], patrones);
  }
  if (salida.isEmpty()) salida << QStringLiteral("* (*)");
  return salida.join(QStringLiteral(";;"));
}

}  // namespace

void ponEspacioTrabajo(std::shared_ptr<kestrin::ORVW> w) {
  std::lock_guard bloqueo(cerrojoEspacio());
  espacioGlobal() = std::move(w);
}

std::shared_ptr<kestrin::ORVW> espacioTrabajo() {
  std::lock_guard bloqueo(cerrojoEspacio());
  if (!espacioGlobal()) espacioGlobal() = std::make_shared<kestrin::ORVW>();
  return espacioGlobal();
}

QString carpetaInicial() {
  const auto w = espacioTrabajo();
  if (const auto& cnx = w->NetCnx(); cnx && cnx->ErrorNumber() == 0) {
    const QString carpeta = aQString(cnx->Carpeta());
    if (!carpeta.isEmpty()) return carpeta;
  }
  return aQString(kestrin::carpetaPrograma());
}

// The inner text area: passes its keys and mouse to the box's events and
// sends the context menu's copy and paste as the messages the box takes over.
class AreaTexto : public QPlainTextEdit {
 public:
  explicit AreaTexto(ORVExtTextBox* caja) : QPlainTextEdit(caja), caja_(caja) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    auto& ev = caja_->eventos;
    int16_t codigo = detalle::codigoTecla(e->key());
    int16_t mayus = detalle::mayusculas(e->modifiers());
    ev.KeyDown.lanza(codigo, mayus);
    const QString texto = e->text();
    if (texto.size() != 1 || texto.at(0).unicode() < 32 || (e->modifiers() & Qt::ControlModifier)) {
      QPlainTextEdit::keyPressEvent(e);
      return;
    }
    int16_t ascii = static_cast<int16_t>(texto.at(0).unicode());
    const int16_t original = ascii;
    ev.KeyPress.lanza(ascii);
    if (ascii == 0) return;  // the host swallowed the key
    if (ascii == 32 && !caja_->espacios_.isEmpty()) ascii = static_cast<int16_t>(caja_->espacios_.at(0).unicode());
    if (ascii == original) {
      QPlainTextEdit::keyPressEvent(e);
    } else if (!isReadOnly()) {
      insertPlainText(QString(QChar(static_cast<char16_t>(ascii))));
    }
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    int16_t codigo = detalle::codigoTecla(e->key());
    int16_t mayus = detalle::mayusculas(e->modifiers());
    caja_->eventos.KeyUp.lanza(codigo, mayus);
    QPlainTextEdit::keyReleaseEvent(e);
  }
  void mousePressEvent(QMouseEvent* e) override {
    raton(caja_->eventos.MouseDown, e);
    QPlainTextEdit::mousePressEvent(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    raton(caja_->eventos.MouseMove, e);
    QPlainTextEdit::mouseMoveEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    raton(caja_->eventos.MouseUp, e);
    QPlainTextEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && viewport()->rect().contains(e->position().toPoint()))
      caja_->eventos.Click.lanza();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    raton(caja_->eventos.MouseDown, e);
    QPlainTextEdit::mouseDoubleClickEvent(e);
    caja_->eventos.DblClick.lanza();
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    QMenu* menu = createStandardContextMenu(e->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* a : menu->actions()) {
      const int32_t msg = a->objectName() == QLatin1String("edit-paste")  ? hookwell::kWmPaste
                          : a->objectName() == QLatin1String("edit-copy") ? hookwell::kWmCopy
                                                                          : 0;
      if (msg == 0) continue;
      QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
      if (msg == hookwell::kWmCopy) a->setEnabled(!toPlainText().isEmpty());
      connect(a, &QAction::triggered, this, [this, msg] { hookwell::EnviaMensaje(this, msg); });
    }
    menu->popup(e->globalPos());
  }

 private:
  template <typename E>
  void raton(E& evento, QMouseEvent* e) {
    int16_t b = detalle::botones(e->type() == QEvent::MouseMove ? e->buttons() : e->button());
    int16_t s = detalle::mayusculas(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    evento.lanza(b, s, x, y);
  }

  ORVExtTextBox* caja_;
};

ORVExtTextBox::ORVExtTextBox(QWidget* parent)
    : QWidget(parent),
      barra_(new QToolBar(this)),
      area_(new AreaTexto(this)),
      gancho_(std::make_unique<hookwell::SubClas>()),
      texto_(std::make_shared<kestrin::ORVTexto>()) {
  barra_->setOrientation(Qt::Vertical);
  barra_->setIconSize(detalle::tamanoIcono());
  barra_->setMovable(false);
  barra_->setFloatable(false);
  barra_->setContentsMargins(0, 0, 0, 0);
  barra_->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 1px; }"));
  for (const auto& b : kBotones) {
    const QString key = QString::fromLatin1(b.key);
    QAction* a = barra_->addAction(detalle::iconoBarra(key), QString());
    a->setObjectName(key);
    a->setToolTip(QString::fromUtf8(b.ayuda));
    connect(a, &QAction::triggered, this, [this, key] { Comando(key); });
  }
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  area_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  area_->setToolTip(aQString(espacioTrabajo()->CSDescription(texto_->Key())));
  connect(area_->document(), &QTextDocument::contentsChange, this, &ORVExtTextBox::cambioParcial);
  connect(area_, &QPlainTextEdit::textChanged, this, [this] {
    if (poniendo_) return;
    if (!sincronizado_) {
      contenidoCambiado();
      return;
    }
    eventos.Change.lanza();
  });

  gancho_->sethWnd(area_);
  gancho_->setMessages(hookwell::kWmDropFiles, true);
  gancho_->setMessages(hookwell::kWmPaste, true);
  gancho_->setMessages(hookwell::kWmCopy, true);
  gancho_->eventos.WndProc.conecta(
      [this](int32_t& msg, int32_t&, int32_t&, int32_t& resultado) { resultado = mensaje(msg); });

  pideFichero = [this](bool guardar, const QString& carpeta, const QString& filtro) {
    QFileDialog dialogo(this, guardar ? QStringLiteral("Archivo para guardar") : QStringLiteral("Abrir archivo"),
                        carpeta, filtroDialogo(filtro));
    dialogo.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return QString();
    return dialogo.selectedFiles().constFirst();
  };
  avisa = [this](const QString& titulo, const QString& texto) {
    QMessageBox::information(this, titulo, texto);
  };
  aplicaFuente();
  aplicaColores();
  setAppearance(appearance_);
}

ORVExtTextBox::~ORVExtTextBox() {
  // Unhook before the text area goes.
  gancho_.reset();
}

QPlainTextEdit* ORVExtTextBox::area() const { return area_; }

QAction* ORVExtTextBox::boton(const QString& key) const {
  for (QAction* a : barra_->actions())
    if (a->objectName() == key) return a;
  return nullptr;
}

bool ORVExtTextBox::visible(const char* key) const {
  const QAction* a = boton(QString::fromLatin1(key));
  return a && a->isVisible();
}

void ORVExtTextBox::muestraBoton(const char* key, bool v, const char* clave) {
  if (QAction* a = boton(QString::fromLatin1(key))) a->setVisible(v);
  if (QLatin1String(key) == QLatin1String("copiar")) botonCopiar_ = v;
  cambiada(clave);
}

void ORVExtTextBox::cambiada(const char* clave) {
  const QString k = QString::fromLatin1(clave);
  propiedadCambiada.lanza(k);
}

void ORVExtTextBox::setBackColor(uint32_t v) {
  backColor_ = v;
  aplicaColores();
  cambiada("BackColor");
}
void ORVExtTextBox::setForeColor(uint32_t v) {
  foreColor_ = v;
  aplicaColores();
  cambiada("ForeColor");
}
void ORVExtTextBox::aplicaColores() {
  QPalette p = area_->palette();
  p.setColor(QPalette::Base, color(backColor_));
  p.setColor(QPalette::Text, color(foreColor_));
  area_->setPalette(p);
}
bool ORVExtTextBox::Enabled() const { return area_->isEnabled(); }
void ORVExtTextBox::setEnabled_(bool v) {
  area_->setEnabled(v);
  cambiada("Enabled");
}
QFont ORVExtTextBox::Font() const { return area_->font(); }
void ORVExtTextBox::setFont_(const QFont& f) {
  fontName_ = f.family().left(31);
  if (f.pointSizeF() > 0) fontSize_ = static_cast<float>(f.pointSizeF());
  fontItalic_ = f.italic();
  fontBold_ = f.bold();
  aplicaFuente();
  cambiada("Font");
}
void ORVExtTextBox::aplicaFuente() {
  QFont f = area_->font();
  f.setFamily(fontName_);
  f.setPointSizeF(fontSize_ > 0 ? fontSize_ : 10);
  f.setItalic(fontItalic_);
  f.setBold(fontBold_);
  area_->setFont(f);
}
void ORVExtTextBox::setAppearance(int16_t v) {
  appearance_ = v;
  if (v == 0) {
    area_->setFrameStyle(QFrame::Box | QFrame::Plain);
    area_->setLineWidth(1);
  } else {
    area_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
  cambiada("Appearance");
}
void ORVExtTextBox::setBackStyle(int16_t v) {
  backStyle_ = v;
  cambiada("BackStyle");
}
void ORVExtTextBox::setBorderStyle(int16_t v) {
  borderStyle_ = v;
  resizeEvent(nullptr);
  update();
  cambiada("BorderStyle");
}
void ORVExtTextBox::setFileName(const QString& v) {
  fileName_ = v;
  cambiada("FileName");
}
bool ORVExtTextBox::Locked() const { return bloqueado_; }
void ORVExtTextBox::setLocked(bool v) {
  bloqueado_ = v;
  if (!rellenando()) area_->setReadOnly(v);
  cambiada("Locked");
}
void ORVExtTextBox::setSeparadores(const QString& v) {
  separadores_ = v;
  cambiada("Separadores");
}
void ORVExtTextBox::setFontSize(float v) {
  fontSize_ = v;
  aplicaFuente();
  cambiada("FontSize");
}
void ORVExtTextBox::setFontName(const QString& v) {
  fontName_ = v;
  aplicaFuente();
  cambiada("FontName");
}
void ORVExtTextBox::setFontItalic(bool v) {
  fontItalic_ = v;
  aplicaFuente();
  cambiada("FontItalic");
}
void ORVExtTextBox::setFontBold(bool v) {
  fontBold_ = v;
  aplicaFuente();
  cambiada("FontBold");
}
void ORVExtTextBox::setFileFilter(const QString& v) {
  fileFilter_ = v;
  cambiada("FileFilter");
}
void ORVExtTextBox::setKeysAccepted(int32_t v) {
  keysAccepted_ = v;
  cambiada("KeysAccepted");
}
void ORVExtTextBox::setKey(int32_t v) {
  texto_->setKey(v);
  area_->setToolTip(aQString(espacioTrabajo()->CSDescription(v)));
  cambiada("Key");
}
void ORVExtTextBox::setMostrarEspaciosComo(const QString& v) {
  espacios_ = v;
  cambiada("MostrarEspaciosComo");
}

void ORVExtTextBox::Refresh() { area_->viewport()->repaint(); }

QAction* ORVExtTextBox::AddButton(const QIcon& bmp0, const QIcon& bmp1, const QString& Key) {
  QIcon icono;
  for (const QSize& s : bmp1.availableSizes()) icono.addPixmap(bmp1.pixmap(s), QIcon::Normal);
  for (const QSize& s : bmp0.availableSizes()) icono.addPixmap(bmp0.pixmap(s), QIcon::Active);
  QAction* a = barra_->addAction(icono, QString());
  a->setObjectName(Key);
  a->setToolTip(Key);
  connect(a, &QAction::triggered, this, [this, Key] { Comando(Key); });
  return a;
}

namespace {

// Texts longer than this are shown a piece at a time so the window keeps
// answering while a large file fills the box.
constexpr qsizetype kTrozo = 1 << 18;

bool tieneSurrogados(const QString& s) {
  return std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c.isSurrogate(); });
}

// The text as the text area gives it back: line ends become "\n" and
// non-breaking spaces plain spaces.
QString comoArea(QString s) {
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  s.replace(QChar::LineSeparator, QLatin1Char('\n'));
  s.replace(QChar::Nbsp, QLatin1Char(' '));
  return s;
}

}  // namespace

bool ORVExtTextBox::setCSTexto(std::shared_ptr<kestrin::ORVTexto> t) {
  if (!t) kestrin::lanzaError(91);
  if (!t->Texto().empty() && (t->Key() & keysAccepted_) < 1) {
    avisa(QStringLiteral("Texto no admitido"),
          QStringLiteral("El texto que ha elegido no se puede poner aquí."));
    return false;
  }
  cancelaRelleno();
  texto_ = std::move(t);
  QString mostrado = aQString(texto_->Texto());
  surrogados_ = tieneSurrogados(mostrado);
  if (mostrado.size() <= kTrozo) {
    poniendo_ = true;
    area_->setPlainText(mostrado);
    poniendo_ = false;
    contenidoCambiado();
  } else {
    // The tagged text is up to date at once; the display follows in pieces
    // cut at line ends, read-only and without undo until it is complete.
    mostrado = comoArea(std::move(mostrado));
    texto_->asigna(aCadena(mostrado), texto_->Key());
    relleno_ = std::move(mostrado);
    rellenoHecho_ = 0;
    ++generacion_;
    area_->setUndoRedoEnabled(false);
    area_->setReadOnly(true);
    rellena(generacion_);
    eventos.Change.lanza();
  }
  area_->setToolTip(aQString(espacioTrabajo()->CSDescription(texto_->Key())));
  cambiada("CSTexto");
  return true;
}

bool ORVExtTextBox::rellenando() const { return !relleno_.isNull(); }

void ORVExtTextBox::rellena(unsigned generacion) {
  if (generacion != generacion_ || !rellenando()) return;
  qsizetype fin = std::min(relleno_.size(), rellenoHecho_ + kTrozo);
  if (fin < relleno_.size()) {
    // Whole lines only: a line laid out again for every piece would cost more
    // than laying it out once.
    const qsizetype salto = relleno_.lastIndexOf(QLatin1Char('\n'), fin - 1);
    if (salto >= rellenoHecho_) {
      fin = salto + 1;
    } else {
      const qsizetype siguiente = relleno_.indexOf(QLatin1Char('\n'), fin);
      fin = siguiente < 0 ? relleno_.size() : siguiente + 1;
    }
  }
  const QString trozo = QStringView(relleno_).sliced(rellenoHecho_, fin - rellenoHecho_).toString();
  poniendo_ = true;
  if (rellenoHecho_ == 0) {
    area_->setPlainText(trozo);  // no cursor to place: cheaper on a long line
  } else {
    QTextCursor c(area_->document());
    c.movePosition(QTextCursor::End);
    c.insertText(trozo);
  }
  poniendo_ = false;
  rellenoHecho_ = fin;
  if (rellenoHecho_ < relleno_.size()) {
    QTimer::singleShot(0, this, [this, generacion] { rellena(generacion); });
    return;
  }
  terminaRelleno();
}

void ORVExtTextBox::terminaRelleno() {
  relleno_ = QString();
  rellenoHecho_ = 0;
  area_->setReadOnly(bloqueado_);
  area_->setUndoRedoEnabled(true);
  area_->moveCursor(QTextCursor::Start);
}

void ORVExtTextBox::cancelaRelleno() {
  if (!rellenando()) return;
  ++generacion_;
  terminaRelleno();
}

void ORVExtTextBox::contenidoCambiado() {
  if (poniendo_) return;
  // Typing never loses the cryptosystem identifier; the text is taken as it
  // stands, a tag-like start included.
  const int32_t key = texto_->Key();
  texto_->asigna(aCadena(area_->toPlainText()), key);
  surrogados_ = tieneSurrogados(area_->toPlainText());
  eventos.Change.lanza();
}

void ORVExtTextBox::cambioParcial(int posicion, int quitados, int anadidos) {
  if (poniendo_) return;
  // One edit changes one stretch: only that stretch of the tagged text is
  // rewritten, so typing stays quick in a long text. Positions count UTF-16
  // units, equal to characters while no surrogate pair is involved; anything
  // that does not add up falls back to taking the whole text.
  const QTextDocument* doc = area_->document();
  const qsizetype largo = doc->characterCount() - 1;
  // The held object is not const: its text is edited in place, which spares
  // copying megabytes on every key.
  auto& actual = const_cast<kestrin::Cadena&>(texto_->Texto());
  QString anadido;
  if (anadidos > 0) {
    QTextCursor c(area_->document());
    c.setPosition(posicion);
    c.setPosition(std::min<qsizetype>(posicion + anadidos, largo), QTextCursor::KeepAnchor);
    anadido = c.selectedText();
    anadido.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    anadido.replace(QChar::LineSeparator, QLatin1Char('\n'));
    anadido.replace(QChar::Nbsp, QLatin1Char(' '));
  }
  const auto inicio = static_cast<size_t>(std::max(0, posicion));
  const auto quitar = static_cast<size_t>(std::max(0, quitados));
  const bool cuadra = !surrogados_ && !tieneSurrogados(anadido) && posicion >= 0 && inicio <= actual.size() &&
                      quitar <= actual.size() - inicio &&
                      actual.size() - quitar + static_cast<size_t>(anadido.size()) == static_cast<size_t>(largo);
  sincronizado_ = cuadra;
  if (cuadra) actual.replace(inicio, quitar, aCadena(anadido));
}

void ORVExtTextBox::Comando(const QString& key) {
  if (key == QLatin1String("abrir")) {
    abre();
  } else if (key == QLatin1String("guardar")) {
    guarda();
  } else if (key == QLatin1String("deshacer")) {
    area_->undo();
  } else if (key == QLatin1String("copiar")) {
    copia();
  } else if (key == QLatin1String("pegar")) {
    // The whole content, without acceptance check; the key stays.
    reemplazaTodo(QGuiApplication::clipboard()->text());
  } else if (key == QLatin1String("cortar")) {
    copia();
    reemplazaTodo(QString());
  } else {
    QAction* a = boton(key);
    eventos.ButtonClick.lanza(a);
  }
}

void ORVExtTextBox::reemplazaTodo(const QString& s) {
  cancelaRelleno();
  // One edit of the document, so the toolbar's undo brings the old text back.
  QTextCursor c(area_->document());
  c.select(QTextCursor::Document);
  c.insertText(s);
}

void ORVExtTextBox::copia() { QGuiApplication::clipboard()->setText(aQString(texto_->Texto())); }

void ORVExtTextBox::pega() {
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->setTexto(aCadena(QGuiApplication::clipboard()->text()));
  setCSTexto(std::move(t));
}

int32_t ORVExtTextBox::mensaje(int32_t msg) {
  switch (msg) {
    case hookwell::kWmDropFiles: {
      const QStringList archivos = gancho_->ArchivosSoltados();
      setCSTexto(std::make_shared<kestrin::ORVTexto>());
      for (const QString& a : archivos) LeeFichero(a);
      return 0;
    }
    case hookwell::kWmPaste:
      pega();
      return 0;
    case hookwell::kWmCopy:
      copia();
      return 0;
    default:
      return 0;
  }
}

void ORVExtTextBox::abre() {
  const QString ruta = pideFichero(false, carpetaInicial(), fileFilter_);
  if (ruta.isEmpty()) return;
  texto_->asigna(kestrin::Cadena(), texto_->Key());
  if (espacioTrabajo()->ExistFileDir(aCadena(ruta))) LeeFichero(ruta);
}

void ORVExtTextBox::guarda() {
  const QString ruta = pideFichero(true, carpetaInicial(), fileFilter_);
  if (!ruta.isEmpty()) GuardaFichero(ruta);
}

bool ORVExtTextBox::LeeFichero(const QString& ruta) {
  eventos.BeforeRead.lanza();
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return false;
  f.close();
  QString leido = detalle::decodifica(bytes);

  // Separators raise GetToken with what has been read so far; spaces become
  // the substitute on the way in.
  QString acumulado;
  if (separadores_.isEmpty()) {
    acumulado = std::move(leido);
    if (espacios_ != QLatin1String(" ")) acumulado.replace(QLatin1Char(' '), espacios_);
  } else {
    acumulado.reserve(leido.size());
    for (qsizetype i = 0; i < leido.size(); ++i) {
      const QChar c = leido.at(i);
      if (separadores_.contains(c)) {
        QString separador(c);
        eventos.GetToken.lanza(acumulado, separador);
      }
      if (c == QLatin1Char(' ')) {
        acumulado += espacios_;
      } else {
        acumulado += c;
      }
    }
    leido.clear();
  }
  bool cancela = false;
  eventos.AfterRead.lanza(acumulado, cancela);
  if (cancela) return false;
  auto t = std::make_shared<kestrin::ORVTexto>();
  t->setTexto(aCadena(acumulado));
  return setCSTexto(std::move(t));
}

bool ORVExtTextBox::GuardaFichero(const QString& ruta) {
  QString texto = aQString(texto_->KeyText());
  eventos.BeforeSave.lanza(texto);
  const std::string bytes = kestrin::aAnsi(aCadena(texto));
  QSaveFile f(ruta);
  if (!f.open(QIODevice::WriteOnly)) return false;
  if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    f.cancelWriting();
    return false;
  }
  return f.commit();
}

void ORVExtTextBox::resizeEvent(QResizeEvent*) {
  const int borde = borderStyle_ == 0 ? 0 : 1;
  const QRect interior = rect().adjusted(borde, borde, -borde, -borde);
  const QSize barra = barra_->sizeHint();
  barra_->setGeometry(interior.left(), interior.top(), barra.width(), std::min(interior.height(), barra.height()));
  const int izquierda = barra.width() + kSeparacion / kTwipsPorPixel;
  area_->setGeometry(interior.left() + izquierda, interior.top(), std::max(0, interior.width() - izquierda),
                     interior.height());
}

void ORVExtTextBox::paintEvent(QPaintEvent*) {
  if (borderStyle_ == 0) return;
  QPainter p(this);
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void ORVExtTextBox::GuardaPropiedades(kestrin::Propiedades& p) const {
  using detalle::escribe;
  escribe(p, QStringLiteral("KeysAccepted"), keysAccepted_);
  escribe(p, QStringLiteral("BackColor"), static_cast<int32_t>(backColor_));
  escribe(p, QStringLiteral("ForeColor"), static_cast<int32_t>(foreColor_));
  escribe(p, QStringLiteral("Enabled"), Enabled());
  escribe(p, QStringLiteral("Font"), Font().toString());
  escribe(p, QStringLiteral("Appearance"), static_cast<int32_t>(appearance_));
  escribe(p, QStringLiteral("BackStyle"), static_cast<int32_t>(backStyle_));
  escribe(p, QStringLiteral("BorderStyle"), static_cast<int32_t>(borderStyle_));
  escribe(p, QStringLiteral("FileName"), fileName_);
  escribe(p, QStringLiteral("BotonCortar"), BotonCortar());
  escribe(p, QStringLiteral("BotonPegar"), BotonPegar());
  escribe(p, QStringLiteral("BotonCopiar"), botonCopiar_);
  escribe(p, QStringLiteral("BotonDeshacer"), BotonDeshacer());
  escribe(p, QStringLiteral("BotonAbrir"), BotonAbrir());
  escribe(p, QStringLiteral("BotonGuardar"), BotonGuardar());
  escribe(p, QStringLiteral("Locked"), Locked());
  escribe(p, QStringLiteral("Separadores"), separadores_);
  escribe(p, QStringLiteral("FontSize"), fontSize_);
  escribe(p, QStringLiteral("FontName"), fontName_);
  escribe(p, QStringLiteral("FontItalic"), fontItalic_);
  escribe(p, QStringLiteral("FontBold"), fontBold_);
  escribe(p, QStringLiteral("FileFilter"), fileFilter_);
  escribe(p, QStringLiteral("Key"), texto_->Key());
  escribe(p, QStringLiteral("MostrarEspaciosComo"), espacios_);
}

void ORVExtTextBox::LeePropiedades(const kestrin::Propiedades& p) {
  using namespace detalle;
  keysAccepted_ = leeLong(p, QStringLiteral("KeysAccepted"), kestrin::CSKAll);
  backColor_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("BackColor"), static_cast<int32_t>(0x80000005)));
  foreColor_ = static_cast<uint32_t>(leeLong(p, QStringLiteral("ForeColor"), static_cast<int32_t>(0x80000008)));
  aplicaColores();
  area_->setEnabled(leeBool(p, QStringLiteral("Enabled"), true));
  area_->setFont(leeFuente(p, QStringLiteral("Font"), area_->font()));
  appearance_ = static_cast<int16_t>(leeLong(p, QStringLiteral("Appearance"), 1));
  backStyle_ = static_cast<int16_t>(leeLong(p, QStringLiteral("BackStyle"), 0));
  borderStyle_ = static_cast<int16_t>(leeLong(p, QStringLiteral("BorderStyle"), 1));
  fileName_ = leeTexto(p, QStringLiteral("FileName"), QString());
  for (const char* k : {"abrir", "cortar", "pegar", "copiar", "deshacer", "guardar"}) {
    QString clave = QStringLiteral("Boton") + QString::fromLatin1(k);
    clave[5] = clave[5].toUpper();
    const bool v = leeBool(p, clave, true);
    if (QAction* a = boton(QString::fromLatin1(k))) a->setVisible(v);
    if (QLatin1String(k) == QLatin1String("copiar")) botonCopiar_ = v;
  }
  bloqueado_ = leeBool(p, QStringLiteral("Locked"), false);
  if (!rellenando()) area_->setReadOnly(bloqueado_);
  separadores_ = leeTexto(p, QStringLiteral("Separadores"), QString());
  fontSize_ = leeSimple(p, QStringLiteral("FontSize"), 10);
  fontName_ = leeTexto(p, QStringLiteral("FontName"), QStringLiteral("Arial")).left(31);
  fontItalic_ = leeBool(p, QStringLiteral("FontItalic"), false);
  fontBold_ = leeBool(p, QStringLiteral("FontBold"), false);
  aplicaFuente();
  fileFilter_ = leeTexto(p, QStringLiteral("FileFilter"), QStringLiteral("Archivos de texto de Orvane|*.ORV"));
  texto_->setKey(leeLong(p, QStringLiteral("Key"), kestrin::CSKNone));
  espacios_ = leeTexto(p, QStringLiteral("MostrarEspaciosComo"), QStringLiteral(" "));
  setAppearance(appearance_);
  resizeEvent(nullptr);
}

}  // namespace pemmick
