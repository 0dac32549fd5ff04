// The extended text box: toolbar, text area, files, clipboard and drops.
#include "pemmick/orvexttextbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <utility>

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

// The patterns of a "desc|pat|desc|pat" filter, by description.
QList<std::pair<QString, QStringList>> patronesFiltro(const QString& filtro) {
  const QStringList partes = filtro.split(QLatin1Char('|'));
  QList<std::pair<QString, QStringList>> salida;
  for (int i = 0; i + 1 < partes.size(); i += 2) {
    QString patrones = partes[i + 1];
    patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
    salida.append({partes[i], patrones.split(QLatin1Char(' '), Qt::SkipEmptyParts)});
  }
  return salida;
}

// "desc|pat|desc|pat" to the dialog's "desc (pat);;desc (pat)". Names on
// Linux are case-sensitive, and a file saved as "x.orv" is as much a text of
// ours as "x.ORV": each pattern goes in its own case, in capitals and in small
// letters. Any file can be chosen under a last filter of all files.
QString filtroDialogo(const QString& filtro) {
  QStringList salida;
  bool todos = false;
  for (const auto& [descripcion, patrones] : patronesFiltro(filtro)) {
    QStringList casos;
    for (const QString& p : patrones) {
      for (const QString& v : {p, p.toUpper(), p.toLower()})
        if (!casos.contains(v)) casos << v;
      todos = todos || p == QLatin1String("*");
    }
    salida << QStringLiteral("%1 (%2)").arg(descripcion, casos.join(QLatin1Char(' ')));
  }
  if (!todos) salida << QStringLiteral("Todos los ficheros (*)");
  return salida.join(QStringLiteral(";;"));
}

// The extension a saved text takes when its name has none: that of the
// filter's first pattern of the form "*.ext" ("ORV"), or none.
QString sufijoFiltro(const QString& filtro) {
  for (const auto& [descripcion, patrones] : patronesFiltro(filtro))
    for (const QString& p : patrones) {
      const QString ext = p.mid(2);
      if (p.startsWith(QLatin1String("*.")) && !ext.isEmpty() && !ext.contains(QLatin1Char('*')) &&
          !ext.contains(QLatin1Char('?')) && !ext.contains(QLatin1Char('[')) &&
          !ext.contains(QLatin1Char('.')))
        return ext;
    }
  return QString();
}

// `ruta` with the extension added when the name typed has none, so the open
// dialog's filter finds the file again; a name that exists is taken as it is.
QString conSufijo(const QString& ruta, const QString& sufijo) {
  const QFileInfo info(ruta);
  if (sufijo.isEmpty() || info.exists() || !info.suffix().isEmpty()) return ruta;
  return ruta.endsWith(QLatin1Char('.')) ? ruta + sufijo : ruta + QLatin1Char('.') + sufijo;
}

// The folder of the last text the user opened or saved, for every box of the
// process: where the next dialog starts.
std::mutex& cerrojoCarpeta() {
  static std::mutex m;
  return m;
}
QString& ultimaCarpeta() {
  static QString carpeta;
  return carpeta;
}
void recuerdaCarpeta(const QString& ruta) {
  std::lock_guard bloqueo(cerrojoCarpeta());
  ultimaCarpeta() = QFileInfo(ruta).absolutePath();
}

bool mismaCarpeta(const QString& a, const QString& b) {
  if (QDir::cleanPath(a) == QDir::cleanPath(b)) return true;
  const QString ca = QFileInfo(a).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Why a file could not be read or written, in words for the user: what the
// names show first, then the system's error number read just after the
// failing call.
QString razon(const QString& ruta, bool escribir, int error) {
  const QFileInfo info(ruta);
  if (info.isDir()) return QStringLiteral("es una carpeta");
  if (!QFileInfo(info.absolutePath()).isDir()) return QStringLiteral("la carpeta no existe");
  if (!escribir && !info.exists()) return QStringLiteral("no existe");
  switch (error) {
    case EACCES:
    case EPERM:
      return QStringLiteral("permiso denegado");
    case ENOENT:
      return escribir ? QStringLiteral("la carpeta no existe") : QStringLiteral("no existe");
    case ENOTDIR:
      return QStringLiteral("la carpeta no existe");
    case EISDIR:
      return QStringLiteral("es una carpeta");
    case ENOSPC:
      return QStringLiteral("no queda espacio en el disco");
    case EDQUOT:
      return QStringLiteral("se ha agotado la cuota de disco");
    case EROFS:
      return QStringLiteral("el disco es de solo lectura");
    case ENAMETOOLONG:
      return QStringLiteral("el nombre es demasiado largo");
    case EFBIG:
      return QStringLiteral("el fichero es demasiado grande");
    case EMFILE:
    case ENFILE:
      return QStringLiteral("hay demasiados ficheros abiertos");
    case EIO:
      return QStringLiteral("error de entrada o salida");
    default:
      return error != 0 ? QStringLiteral("error del sistema número %1").arg(error)
                        : QStringLiteral("error del sistema");
  }
}

const QString kFicheroErroneo = QStringLiteral("Fichero erróneo");

// Long lines. Qt lays out a block (a line of the area) whole, and again on
// every edit of it: a line of megabytes costs seconds per key. So a line longer
// than kBloque is held in the area as several blocks, and the separators
// between them are soft: their character format carries the object type
// kSuave, they are no part of the text, and every reading of the area (the
// tagged text, what a cut or a drag takes) leaves them out. Qt clears the
// object type of what is typed or inserted, so a line end the user makes is
// always a real one; undo brings a soft separator back with its format.
constexpr qsizetype kBloque = 4096;
constexpr qsizetype kHolgura = kBloque / 8;  // how far back a cut looks for a space
constexpr int kSuave = QTextFormat::UserObject + 1;

QTextCharFormat formatoSuave() {
  QTextCharFormat f;
  f.setObjectType(kSuave);
  return f;
}

// Whether the separator in front of `b` is soft.
bool esSuave(const QTextBlock& b) {
  return b.isValid() && b.position() > 0 && b.charFormat().objectType() == kSuave;
}

// Where a long line running from `desde` is cut near `limite`: after the last
// space of the final stretch, so the break looks like a wrap, else at the
// limit but never inside a surrogate pair.
qsizetype corte(QStringView s, qsizetype desde, qsizetype limite) {
  for (qsizetype i = limite; i > std::max(desde + 1, limite - kHolgura); --i) {
    const QChar c = s.at(i - 1);
    if (c == QLatin1Char(' ') || c == QChar(0xB7) || c == QLatin1Char('\t')) return i;
  }
  if (limite < s.size() && s.at(limite).isLowSurrogate() && limite - 1 > desde) return limite - 1;
  return limite;
}

bool tieneLineaLarga(QStringView s) {
  for (qsizetype linea = 0; linea <= s.size();) {
    qsizetype fin = s.indexOf(QLatin1Char('\n'), linea);
    if (fin < 0) fin = s.size();
    if (fin - linea > kBloque) return true;
    linea = fin + 1;
  }
  return false;
}

// The characters the area holds for others of the text, as toPlainText reads them.
void comoTexto(QString& s) {
  for (QChar& c : s) {
    switch (c.unicode()) {
      case QChar::LineSeparator:
      case QChar::ParagraphSeparator:
      case 0xFDD0:  // frame marks
      case 0xFDD1:
        c = QLatin1Char('\n');
        break;
      case QChar::Nbsp:
        c = QLatin1Char(' ');
        break;
      default:
        break;
    }
  }
}

// Texts longer than this are shown a piece at a time so the window keeps
// answering while a large file fills the box.
constexpr qsizetype kTrozo = 1 << 18;

bool tieneSurrogados(const QString& s) {
  return std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c.isSurrogate(); });
}

// The text as the text area gives it back: line ends become "\n" and
// non-breaking spaces plain spaces. True when anything changed.
bool normaliza(QString& s) {
  const bool cambia = std::any_of(s.cbegin(), s.cend(), [](QChar c) {
    return c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator ||
           c == QChar::Nbsp || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
  });
  if (cambia) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    comoTexto(s);
  }
  return cambia;
}

QString comoArea(QString s) {
  normaliza(s);
  return s;
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
    // Without a mailbox in the profile the connection maps the program's own
    // folder, which holds no texts of the user's.
    const QString carpeta = aQString(cnx->Carpeta());
    if (!carpeta.isEmpty() && !mismaCarpeta(carpeta, aQString(w->Carpeta()))) return carpeta;
  }
  {
    std::lock_guard bloqueo(cerrojoCarpeta());
    if (!ultimaCarpeta().isEmpty() && QFileInfo(ultimaCarpeta()).isDir()) return ultimaCarpeta();
  }
  const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documentos.isEmpty() && QFileInfo(documentos).isDir()) return documentos;
  return QDir::homePath();
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
      pasaTecla(e);
      return;
    }
    int16_t ascii = static_cast<int16_t>(texto.at(0).unicode());
    const int16_t original = ascii;
    ev.KeyPress.lanza(ascii);
    if (ascii == 0) return;  // the host swallowed the key
    if (ascii == 32 && !caja_->espacios_.isEmpty()) ascii = static_cast<int16_t>(caja_->espacios_.at(0).unicode());
    if (ascii == original) {
      pasaTecla(e);
    } else if (!isReadOnly()) {
      insertPlainText(QString(QChar(static_cast<char16_t>(ascii))));
    }
  }
  // What a cut or a drag takes: the selection as text, without the breaks
  // of long lines.
  QMimeData* createMimeDataFromSelection() const override {
    const QTextCursor c = textCursor();
    auto* datos = new QMimeData;
    datos->setText(caja_->textoReal(c.selectionStart(), c.selectionEnd()));
    return datos;
  }
  // Text dropped in: long lines are cut as when a text is placed.
  void insertFromMimeData(const QMimeData* fuente) override {
    if (!fuente || !fuente->hasText()) return;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    caja_->insertaConCortes(c, comoArea(fuente->text()), false);
    caja_->limpiaVacios(c);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
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
      if (msg == hookwell::kWmCopy) a->setEnabled(!document()->isEmpty());
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

  void pasaTecla(QKeyEvent* e) {
    if (!caja_->teclaEnFrontera(e)) QPlainTextEdit::keyPressEvent(e);
    // Undo and redo bring back states that were already tidy.
    if (!e->matches(QKeySequence::Undo) && !e->matches(QKeySequence::Redo))
      caja_->limpiaTrasEdicion();
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
    if (!ordenando_) eventos.Change.lanza();
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
    // The dialog adds it before it asks whether to replace a file.
    if (guardar) dialogo.setDefaultSuffix(sufijoFiltro(filtro));
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
  if (mostrado.size() <= kTrozo && !tieneLineaLarga(mostrado)) {
    poniendo_ = true;
    area_->setPlainText(mostrado);
    poniendo_ = false;
    contenidoCambiado();
  } else {
    // The tagged text is up to date at once; the display follows in pieces
    // cut at line ends (or inside a long line), read-only and without undo
    // until it is complete.
    if (normaliza(mostrado)) texto_->asigna(aCadena(mostrado), texto_->Key());
    relleno_ = std::move(mostrado);
    rellenoHecho_ = 0;
    rellenoSuave_ = false;
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
  bool cortado = false;
  if (fin < relleno_.size()) {
    // Whole lines where the piece has a line end; a longer line is cut and
    // goes on after a soft separator in the next piece.
    const qsizetype salto =
        QStringView(relleno_).sliced(rellenoHecho_, fin - rellenoHecho_).lastIndexOf(u'\n');
    if (salto >= 0) {
      fin = rellenoHecho_ + salto + 1;
    } else {
      fin = corte(relleno_, rellenoHecho_, fin);
      cortado = true;
    }
  }
  poniendo_ = true;
  if (rellenoHecho_ == 0) {
    area_->setPlainText(QString());
    suaves_ = 0;
  }
  // One edit per piece: the area then lays out only the blocks it shows.
  QTextCursor c(area_->document());
  c.movePosition(QTextCursor::End);
  c.beginEditBlock();
  suaves_ += insertaConCortes(c, QStringView(relleno_).sliced(rellenoHecho_, fin - rellenoHecho_),
                              rellenoSuave_);
  c.endEditBlock();
  poniendo_ = false;
  bloques_ = area_->document()->blockCount();
  rellenoHecho_ = fin;
  rellenoSuave_ = cortado;
  if (rellenoHecho_ < relleno_.size()) {
    QTimer::singleShot(0, this, [this, generacion] { rellena(generacion); });
    return;
  }
  terminaRelleno();
}

void ORVExtTextBox::terminaRelleno() {
  relleno_ = QString();
  rellenoHecho_ = 0;
  rellenoSuave_ = false;
  area_->setReadOnly(bloqueado_);
  area_->setUndoRedoEnabled(true);
  area_->moveCursor(QTextCursor::Start);
}

void ORVExtTextBox::cancelaRelleno() {
  if (!rellenando()) return;
  ++generacion_;
  terminaRelleno();
}

int ORVExtTextBox::insertaConCortes(QTextCursor& c, QStringView texto, bool suaveAlPrincipio) {
  const QTextCharFormat plano;
  int suaves = 0;
  auto separaSuave = [&] {
    c.insertBlock(QTextBlockFormat(), formatoSuave());
    ++suaves;
  };
  if (suaveAlPrincipio) separaSuave();
  // Short lines go in together with what follows them.
  qsizetype pendiente = 0;
  for (qsizetype linea = 0; linea <= texto.size();) {
    qsizetype fin = texto.indexOf(u'\n', linea);
    if (fin < 0) fin = texto.size();
    for (qsizetype k = linea; fin - k > kBloque;) {
      k = corte(texto, k, k + kBloque);
      c.insertText(texto.sliced(pendiente, k - pendiente).toString(), plano);
      separaSuave();
      pendiente = k;
    }
    linea = fin + 1;
  }
  if (pendiente < texto.size()) c.insertText(texto.sliced(pendiente).toString(), plano);
  return suaves;
}

QString ORVExtTextBox::textoMostrado() const {
  return textoReal(0, area_->document()->characterCount() - 1);
}

QString ORVExtTextBox::textoReal(int desde, int hasta, int* separadores, int* suaves) const {
  const QTextDocument* doc = area_->document();
  hasta = std::min(hasta, doc->characterCount() - 1);
  QString s;
  if (hasta <= desde) return s;
  s.reserve(hasta - desde);
  // The separator in front of a block stands at its position - 1.
  for (QTextBlock b = doc->findBlock(desde); b.isValid() && b.position() <= hasta; b = b.next()) {
    const int inicio = b.position();
    if (inicio > desde) {
      const bool suave = esSuave(b);
      if (!suave) s += QLatin1Char('\n');
      if (separadores) ++*separadores;
      if (suaves && suave) ++*suaves;
    }
    if (inicio >= hasta) break;
    const QString t = b.text();
    const int a = std::max(desde, inicio) - inicio;
    const int z = std::min(hasta - inicio, static_cast<int>(t.size()));
    if (z > a) s += QStringView(t).sliced(a, z - a);
  }
  comoTexto(s);
  return s;
}

int ORVExtTextBox::suavesAntes(int posicion) const {
  return suaves_ == 0 ? 0 : suavesHasta(posicion);
}

int ORVExtTextBox::cuentaSuaves() const {
  return suavesHasta(area_->document()->characterCount());
}

int ORVExtTextBox::suavesHasta(int posicion) const {
  int n = 0;
  for (QTextBlock b = area_->document()->begin().next(); b.isValid() && b.position() <= posicion;
       b = b.next())
    n += esSuave(b) ? 1 : 0;
  return n;
}

void ORVExtTextBox::contenidoCambiado() {
  if (poniendo_) return;
  // Typing never loses the cryptosystem identifier; the text is taken as it
  // stands, a tag-like start included.
  const int32_t key = texto_->Key();
  const QString s = textoMostrado();
  texto_->asigna(aCadena(s), key);
  surrogados_ = tieneSurrogados(s);
  bloques_ = area_->document()->blockCount();
  suaves_ = cuentaSuaves();
  if (!ordenando_) eventos.Change.lanza();
}

void ORVExtTextBox::cambioParcial(int posicion, int quitados, int anadidos) {
  if (poniendo_) return;
  // One edit changes one stretch: only that stretch of the tagged text is
  // rewritten, so typing stays quick in a long text. Positions of the area
  // count UTF-16 units and soft separators; without surrogate pairs, a
  // position less the soft separators in front of it is one of the text.
  // Anything that does not add up falls back to taking the whole text.
  const QTextDocument* doc = area_->document();
  const int largo = doc->characterCount() - 1;
  const int bloques = doc->blockCount();
  const int desde = std::max(0, posicion);
  int separadores = 0;
  int suavesNuevos = 0;
  const QString anadido =
      textoReal(desde, std::min(largo, desde + std::max(0, anadidos)), &separadores, &suavesNuevos);
  // The separators the edit took away are gone from the area: how many of
  // them were soft follows from the count before and after.
  const int separadoresQuitados = bloques_ - bloques + separadores;
  const int suavesQuitados =
      separadoresQuitados > 0 && suaves_ > 0 ? suaves_ + suavesNuevos - cuentaSuaves() : 0;
  const int inicioReal = desde - suavesAntes(desde);
  suaves_ += suavesNuevos - suavesQuitados;
  bloques_ = bloques;
  const kestrin::Cadena& actual = texto_->Texto();
  const auto inicio = static_cast<size_t>(inicioReal);
  const auto quitar = static_cast<size_t>(std::max(0, quitados - suavesQuitados));
  const bool cuadra = !surrogados_ && !tieneSurrogados(anadido) && posicion >= 0 &&
                      separadoresQuitados >= 0 && suavesQuitados >= 0 &&
                      quitados >= suavesQuitados && inicio <= actual.size() &&
                      quitar <= actual.size() - inicio &&
                      actual.size() - quitar + static_cast<size_t>(anadido.size()) ==
                          static_cast<size_t>(largo - suaves_);
  sincronizado_ = cuadra;
  if (cuadra && (quitar > 0 || !anadido.isEmpty()))
    reemplazaEnTexto(inicio, quitar, aCadena(anadido));
}

void ORVExtTextBox::reemplazaEnTexto(size_t inicio, size_t quitar, const kestrin::Cadena& anadido) {
  // Whoever took the string (a cryptosystem that searched the text) keeps
  // the text it saw: the text object copies it first then, and only then.
  texto_->reemplaza(inicio, quitar, anadido);
}

// Keys at a break of a long line act on the text, where the break is not:
// deleting takes the character beyond it and moving steps over it. Returns
// true when the key has been handled.
bool ORVExtTextBox::teclaEnFrontera(QKeyEvent* e) {
  if (suaves_ == 0) return false;
  QTextCursor c = area_->textCursor();
  const bool atras = e->key() == Qt::Key_Backspace && !(e->modifiers() & ~Qt::ShiftModifier);
  const bool adelante = e->matches(QKeySequence::Delete);
  const bool izquierda =
      e->matches(QKeySequence::MoveToPreviousChar) || e->matches(QKeySequence::SelectPreviousChar);
  const bool derecha =
      e->matches(QKeySequence::MoveToNextChar) || e->matches(QKeySequence::SelectNextChar);
  auto salta = [&c](bool haciaAtras, QTextCursor::MoveMode modo) {
    if (haciaAtras) {
      while (c.atBlockStart() && esSuave(c.block()))
        c.movePosition(QTextCursor::PreviousCharacter, modo);
    } else {
      while (c.atBlockEnd() && esSuave(c.block().next()))
        c.movePosition(QTextCursor::NextCharacter, modo);
    }
  };
  if (atras || adelante) {
    if (area_->isReadOnly()) return false;
    c.beginEditBlock();
    if (c.hasSelection()) {
      c.removeSelectedText();
    } else if (atras) {
      salta(true, QTextCursor::MoveAnchor);
      c.deletePreviousChar();
    } else {
      salta(false, QTextCursor::MoveAnchor);
      c.deleteChar();
    }
    limpiaVacios(c);
    c.endEditBlock();
    area_->setTextCursor(c);
    area_->ensureCursorVisible();
    return true;
  }
  if (izquierda || derecha) {
    const bool selecciona =
        e->matches(QKeySequence::SelectPreviousChar) || e->matches(QKeySequence::SelectNextChar);
    if (c.hasSelection() && !selecciona) return false;
    salta(izquierda, selecciona ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    area_->setTextCursor(c);
  }
  return false;
}

namespace {
// The soft separator that would leave an empty block on its own line near the
// cursor's block, or -1: an empty block beside a soft separator shows a line
// the text does not have.
int separadorSobrante(const QTextBlock& cursor) {
  for (const QTextBlock& b : {cursor.previous(), cursor, cursor.next()}) {
    if (!b.isValid() || b.length() != 1) continue;
    if (esSuave(b)) return b.position() - 1;
    if (esSuave(b.next())) return b.position();
  }
  return -1;
}
}  // namespace

void ORVExtTextBox::limpiaVacios(QTextCursor& c) {
  for (int i = 0, p = separadorSobrante(c.block()); i < 3 && p >= 0;
       ++i, p = separadorSobrante(c.block())) {
    QTextCursor q(area_->document());
    q.setPosition(p);
    q.deleteChar();
  }
}

void ORVExtTextBox::limpiaTrasEdicion() {
  if (suaves_ == 0 || area_->isReadOnly()) return;
  QTextCursor c = area_->textCursor();
  if (separadorSobrante(c.block()) < 0) return;
  // Part of the edit just made, for undo; the text does not change.
  ordenando_ = true;
  c.joinPreviousEditBlock();
  limpiaVacios(c);
  c.endEditBlock();
  ordenando_ = false;
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
  c.beginEditBlock();
  c.select(QTextCursor::Document);
  c.removeSelectedText();
  insertaConCortes(c, comoArea(s), false);
  c.endEditBlock();
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
  // The text shown stays until a file has been read in its place.
  if (!ruta.isEmpty()) LeeFichero(ruta);
}

void ORVExtTextBox::guarda() {
  const QString ruta = pideFichero(true, carpetaInicial(), fileFilter_);
  if (!ruta.isEmpty()) GuardaFichero(conSufijo(ruta, sufijoFiltro(fileFilter_)));
}

bool ORVExtTextBox::LeeFichero(const QString& ruta) {
  eventos.BeforeRead.lanza();
  QFile f(ruta);
  QByteArray bytes;
  errno = 0;
  bool abierto = !QFileInfo(ruta).isDir() && f.open(QIODevice::ReadOnly);
  if (abierto) {
    bytes = f.readAll();
    abierto = f.error() == QFileDevice::NoError;
  }
  if (!abierto) {
    const int error = errno;
    avisa(kFicheroErroneo, QStringLiteral("No se puede leer el fichero «%1»: %2.")
                               .arg(QDir::toNativeSeparators(ruta), razon(ruta, false, error)));
    return false;
  }
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
  if (!setCSTexto(std::move(t))) return false;
  recuerdaCarpeta(ruta);
  return true;
}

bool ORVExtTextBox::GuardaFichero(const QString& ruta) {
  QString texto = aQString(texto_->KeyText());
  eventos.BeforeSave.lanza(texto);
  const std::string bytes = kestrin::aAnsi(aCadena(texto));
  // Written beside the target and renamed over it once complete: a failure
  // leaves the old file as it was, never a piece of the new one.
  QSaveFile f(ruta);
  errno = 0;
  bool escrito = f.open(QIODevice::WriteOnly) &&
                 f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                     static_cast<qint64>(bytes.size()) &&
                 f.commit();
  if (!escrito) {
    const int error = errno;
    f.cancelWriting();
    avisa(kFicheroErroneo, QStringLiteral("No se puede escribir el fichero «%1»: %2.")
                               .arg(QDir::toNativeSeparators(ruta), razon(ruta, true, error)));
    return false;
  }
  recuerdaCarpeta(ruta);
  return true;
}

void ORVExtTextBox::resizeEvent(QResizeEvent*) {
  const int borde = borderStyle_ == 0 ? 0 : 1;
  const QRect interior = rect().adjusted(borde, borde, -borde, -borde);
  const QSize barra = barra_->sizeHint();
  barra_->setGeometry(interior.left(), interior.top(), barra.width(), std::min(interior.height(), barra.height()));
  const int izquierda = barra.width() + kSeparacion / detalle::kTwipsPorPixel;
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
