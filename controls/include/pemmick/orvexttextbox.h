// ORVExtTextBox: the text area every laboratory shows its texts in.
//
// The box holds a tagged text (kestrin::ORVTexto) and hands the same object to
// the window. A narrow toolbar on the left opens, saves, cuts, copies, pastes
// and undoes; files are written in the 8-bit code page with the tag in front
// (read back as UTF-8 when they are valid UTF-8 with multi-byte characters).
// Texts from cryptosystems outside KeysAccepted are refused with a message.
// File drops, paste and copy on the text area are taken over through a
// hookwell::SubClas, so both the keys and the context menu follow the rules
// below and the text area's own handling never runs for them.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "kestrin/evento.h"
#include "kestrin/orvtexto.h"
#include "kestrin/propiedades.h"

class QAction;
class QKeyEvent;
class QPlainTextEdit;
class QTextCursor;
class QToolBar;

namespace kestrin {
class ORVW;
}
namespace hookwell {
class SubClas;
}

namespace pemmick {

// The workspace the boxes ask for descriptions and the mailbox folder. The
// program sets it once at start-up; without it a box uses a workspace of its
// own, created on first need.
void ponEspacioTrabajo(std::shared_ptr<kestrin::ORVW> w);
std::shared_ptr<kestrin::ORVW> espacioTrabajo();

// Where the open and save dialogs start: the mailbox folder when the
// workspace's connection reports no error and maps a folder other than the
// program's own; else the folder of the last text a box of the process read
// or saved, while it exists; else the user's documents folder, or home.
QString carpetaInicial();

class AreaTexto;

class ORVExtTextBox : public QWidget {
  Q_OBJECT
  Q_PROPERTY(uint32_t BackColor READ BackColor WRITE setBackColor)
  Q_PROPERTY(uint32_t ForeColor READ ForeColor WRITE setForeColor)
  Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled_)
  Q_PROPERTY(QFont Font READ Font WRITE setFont_)
  Q_PROPERTY(int16_t Appearance READ Appearance WRITE setAppearance)
  Q_PROPERTY(int16_t BackStyle READ BackStyle WRITE setBackStyle)
  Q_PROPERTY(int16_t BorderStyle READ BorderStyle WRITE setBorderStyle)
  Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
  Q_PROPERTY(bool BotonAbrir READ BotonAbrir WRITE setBotonAbrir)
  Q_PROPERTY(bool BotonGuardar READ BotonGuardar WRITE setBotonGuardar)
  Q_PROPERTY(bool BotonCortar READ BotonCortar WRITE setBotonCortar)
  Q_PROPERTY(bool BotonPegar READ BotonPegar WRITE setBotonPegar)
  Q_PROPERTY(bool BotonDeshacer READ BotonDeshacer WRITE setBotonDeshacer)
  Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
  Q_PROPERTY(QString Separadores READ Separadores WRITE setSeparadores)
  Q_PROPERTY(float FontSize READ FontSize WRITE setFontSize)
  Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
  Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
  Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
  Q_PROPERTY(QString FileFilter READ FileFilter WRITE setFileFilter)
  Q_PROPERTY(int32_t KeysAccepted READ KeysAccepted WRITE setKeysAccepted)
  Q_PROPERTY(int32_t Key READ Key WRITE setKey)
  Q_PROPERTY(QString MostrarEspaciosComo READ MostrarEspaciosComo WRITE setMostrarEspaciosComo)

 public:
  explicit ORVExtTextBox(QWidget* parent);
  ~ORVExtTextBox() override;

  uint32_t BackColor() const { return backColor_; }
  void setBackColor(uint32_t v);
  uint32_t ForeColor() const { return foreColor_; }
  void setForeColor(uint32_t v);
  bool Enabled() const;
  void setEnabled_(bool v);
  QFont Font() const;
  void setFont_(const QFont& f);
  int16_t Appearance() const { return appearance_; }
  void setAppearance(int16_t v);
  int16_t BackStyle() const { return backStyle_; }
  void setBackStyle(int16_t v);
  int16_t BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int16_t v);
  QString FileName() const { return fileName_; }
  void setFileName(const QString& v);

  // The tagged text shown: the held object itself.
  std::shared_ptr<kestrin::ORVTexto> CSTexto() const { return texto_; }
  // Places `t` (the same object) unless its text is not empty and its key is
  // outside KeysAccepted: then the message "El texto que ha elegido no se
  // puede poner aquí." is shown and nothing changes. A null object raises
  // ErrorORV 91. Returns whether the text was placed.
  bool setCSTexto(std::shared_ptr<kestrin::ORVTexto> t);

  bool BotonAbrir() const { return visible("abrir"); }
  void setBotonAbrir(bool v) { muestraBoton("abrir", v, "BotonAbrir"); }
  bool BotonGuardar() const { return visible("guardar"); }
  void setBotonGuardar(bool v) { muestraBoton("guardar", v, "BotonGuardar"); }
  bool BotonCortar() const { return visible("cortar"); }
  void setBotonCortar(bool v) { muestraBoton("cortar", v, "BotonCortar"); }
  void setBotonCopiar(bool v) { muestraBoton("copiar", v, "BotonCopiar"); }
  bool BotonPegar() const { return visible("pegar"); }
  void setBotonPegar(bool v) { muestraBoton("pegar", v, "BotonPegar"); }
  bool BotonDeshacer() const { return visible("deshacer"); }
  void setBotonDeshacer(bool v) { muestraBoton("deshacer", v, "BotonDeshacer"); }

  bool Locked() const;
  void setLocked(bool v);
  QString Separadores() const { return separadores_; }
  void setSeparadores(const QString& v);
  float FontSize() const { return fontSize_; }
  void setFontSize(float v);
  QString FontName() const { return fontName_; }
  void setFontName(const QString& v);
  bool FontItalic() const { return fontItalic_; }
  void setFontItalic(bool v);
  bool FontBold() const { return fontBold_; }
  void setFontBold(bool v);
  // "description|pattern" pairs joined by vertical bars.
  QString FileFilter() const { return fileFilter_; }
  void setFileFilter(const QString& v);
  int32_t KeysAccepted() const { return keysAccepted_; }
  void setKeysAccepted(int32_t v);
  int32_t Key() const { return texto_->Key(); }
  void setKey(int32_t v);
  QString MostrarEspaciosComo() const { return espacios_; }
  void setMostrarEspaciosComo(const QString& v);

  void Refresh();
  // Appends a toolbar button under `Key`: bmp1 is its image, bmp0 the one
  // shown while the pointer is over it. Its clicks reach ButtonClick.
  QAction* AddButton(const QIcon& bmp0, const QIcon& bmp1, const QString& Key);

  // Runs the toolbar command of a key ("abrir", "guardar", "cortar",
  // "copiar", "pegar", "deshacer", or an added one).
  void Comando(const QString& key);
  // Reads a file into the box as the open command and drops do (events,
  // separators, spaces, acceptance). False when the file cannot be read (said
  // through avisa, titled "Fichero erróneo", the text shown kept) or the host
  // cancelled.
  bool LeeFichero(const QString& ruta);
  // Writes the tagged text to a file in the 8-bit code page; the old file is
  // replaced only once the new one is complete. False when it cannot be
  // written, said as for reading. The save command adds the filter's
  // extension (".ORV") to a new name typed without one.
  bool GuardaFichero(const QString& ruta);

  // What the open and save commands ask the user: a file name, or "" when
  // cancelled. Tests and hosts may replace it.
  std::function<QString(bool guardar, const QString& carpeta, const QString& filtro)> pideFichero;
  // How a refusal is shown (title, text). Replaceable for the same reason.
  std::function<void(const QString& titulo, const QString& texto)> avisa;

  // The text area. A line of many thousands of characters is held there as
  // several blocks, so its toPlainText() may show line ends the text does not
  // have; textoMostrado() is what the area shows as the box's text.
  QPlainTextEdit* area() const;
  QString textoMostrado() const;
  // True while a large text is still being shown; the tagged text is complete.
  bool rellenando() const;
  QToolBar* barra() const { return barra_; }
  QAction* boton(const QString& key) const;

  void GuardaPropiedades(kestrin::Propiedades& p) const;
  void LeePropiedades(const kestrin::Propiedades& p);

  // Events, in their order.
  struct Eventos {
    kestrin::Evento<QAction*&> ButtonClick;
    kestrin::Evento<> BeforeRead;
    kestrin::Evento<QString&, bool&> AfterRead;
    kestrin::Evento<QString&, QString&> GetToken;
    kestrin::Evento<QString&> BeforeSave;
    kestrin::Evento<> Click;
    kestrin::Evento<> DblClick;
    kestrin::Evento<int16_t&, int16_t&> KeyDown;
    kestrin::Evento<int16_t&> KeyPress;
    kestrin::Evento<int16_t&, int16_t&> KeyUp;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseDown;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseMove;
    kestrin::Evento<int16_t&, int16_t&, float&, float&> MouseUp;
    kestrin::Evento<> Change;
  } eventos;

  // Notified with the key of each persisted property written.
  kestrin::Evento<const QString&> propiedadCambiada;

 protected:
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;

 private:
  friend class AreaTexto;
  bool visible(const char* key) const;
  void muestraBoton(const char* key, bool v, const char* clave);
  void cambiada(const char* clave);
  void contenidoCambiado();
  void cambioParcial(int posicion, int quitados, int anadidos);
  void reemplazaEnTexto(size_t inicio, size_t quitar, const kestrin::Cadena& anadido);
  QString textoReal(int desde, int hasta, int* separadores = nullptr, int* suaves = nullptr) const;
  int suavesAntes(int posicion) const;
  int suavesHasta(int posicion) const;
  int cuentaSuaves() const;
  int insertaConCortes(QTextCursor& c, QStringView texto, bool suaveAlPrincipio);
  bool teclaEnFrontera(QKeyEvent* e);
  void limpiaVacios(QTextCursor& c);
  void limpiaTrasEdicion();
  void rellena(unsigned generacion);
  void terminaRelleno();
  void cancelaRelleno();
  void aplicaFuente();
  void aplicaColores();
  void pega();
  void reemplazaTodo(const QString& s);
  void copia();
  void abre();
  void guarda();
  int32_t mensaje(int32_t msg);

  QToolBar* barra_;
  AreaTexto* area_;
  std::unique_ptr<hookwell::SubClas> gancho_;
  std::shared_ptr<kestrin::ORVTexto> texto_;
  int32_t keysAccepted_ = kestrin::CSKAll;
  QString espacios_ = QStringLiteral(" ");
  QString separadores_;
  QString fileFilter_ = QStringLiteral("Archivos de texto de Orvane|*.ORV");
  QString fileName_;
  uint32_t backColor_ = 0x80000005;
  uint32_t foreColor_ = 0x80000008;
  int16_t appearance_ = 1;
  int16_t backStyle_ = 0;
  int16_t borderStyle_ = 1;
  float fontSize_ = 10;
  QString fontName_ = QStringLiteral("Arial");
  bool fontItalic_ = false;
  bool fontBold_ = false;
  bool botonCopiar_ = true;
  bool poniendo_ = false;
  bool ordenando_ = false;  // soft breaks tidied after an edit: no Change
  bool bloqueado_ = false;
  bool surrogados_ = false;
  bool sincronizado_ = false;
  // What is still to be shown of a large text, and how far it has gone.
  QString relleno_;
  qsizetype rellenoHecho_ = 0;
  bool rellenoSuave_ = false;  // the next piece goes on with a long line
  unsigned generacion_ = 0;
  // Soft separators (breaks of long lines, not in the text) and blocks in
  // the text area as of its last change.
  int suaves_ = 0;
  int bloques_ = 1;
};

}  // namespace pemmick
