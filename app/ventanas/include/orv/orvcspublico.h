// What the RSA and knapsack laboratories share: the two windows are twins that
// differ only in their key fields and their component.
//
// ORVCSPublico builds, for a window deriving from it:
// - the tab strip "Clave" / "Cifrado" (`Pestanas`, `Panel(0)` the key page,
//   `Panel(1)` the enciphering page);
// - on the key page, the toolbar (`Toolbar`: "abrir", "guardar", "claves"
//   with their tooltips), the key identifier `TextId`, the two frames
//   `PanelPublico` "Público" and `Panelprivado` "Privado" with an empty grid
//   layout each (`filasPublico`, `filasPrivado`: the window puts its captions
//   in column 0 and its fields in column 1), and the outline key list
//   `FlexClaves`, hidden, which covers the two frames while it is shown, with
//   `LabelFichero` above it naming the file it lists;
// - on the enciphering page, `TextTO` ("Original"), `textTC` ("Cifrado", grey,
//   accepting only the window's tag, spaces kept as spaces, token separator one
//   space), the buttons `cmdCifra` / `cmdDescifra` sharing `PanelCifrar`'s width,
//   and `ProgressBar`, driven through `progreso()`;
// - the key file (`ficheroClaves`: claves.rsa / claves.mhm in
//   kestrin::carpetaDatos(), through the workspace object's folder) read with
//   the profile reader and written with the atomic profile writer: saving
//   ("guardar"), listing ("abrir"), choosing a row, Esc, editing ("claves");
// - the enciphered-file header: saving prefixes `cabeceraCifrado()` and tags
//   the text; reading strips the tag and the header tokens (`esCabecera`),
//   hands them to `tomaCabecera` and refuses the file, changing nothing, when
//   that says so ("Fichero erróneo").
//
// The window gives what is its own through the virtual members below. None of
// them is called while the base is being built.
//
// Choices of ours where the design says nothing:
// - Listing a key file that does not exist yet shows the empty list with its
//   caption saying so; reading an enciphered file then loads only its public
//   key. "claves" on a missing file, or with no program to open it, says so.
// - A header is checked before anything changes: a refused file leaves the key
//   as it was (the design empties the key first; an emptied key and a refused
//   file would leave the student with neither).
// - A failed write of the key file is reported and the saved keys are kept
//   whole (each entry is written through a temporary file). A value the
//   profile reader could not give back whole (kMaxPerfil characters or more)
//   is refused before anything is written.
// - A click below the list's last row chooses nothing; Enter chooses the
//   current row. A key file over 16 MB is not listed: the caption says so.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "orv/laboratorio.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTabBar;
class QTabWidget;
class QToolBar;

namespace orv {

class Rejilla;

// A field for a number that may run to a thousand digits: it wraps, a line
// break is never part of its value, Enter and Tab leave it as leaving does, and
// `salida` is raised when the user leaves it with a text other than the one it
// had (what the window then evaluates). `setTexto` is the window's own change:
// it raises nothing.
class CampoClave : public QPlainTextEdit {
  Q_OBJECT

 public:
  CampoClave(QWidget* parent, const QString& nombre, int lineas = 1);
  // The text without line breaks, trimmed.
  QString texto() const;
  void setTexto(const QString& texto);
  // Takes what was typed as leaving does (raises `salida` when it changed).
  void confirma() { sale(); }
  QSize sizeHint() const override;

 signals:
  // The user left the field having changed it.
  void salida();
  // Any change of the text, typed or set.
  void cambiado();

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void sale();
  QString alEntrar_;
  int lineas_;
};

class ORVCSPublico : public Laboratorio {
  Q_OBJECT

 public:
  ~ORVCSPublico() override;

  // Controls, named as the windows' design names them.
  QTabWidget* Pestanas() const { return pestanas_; }
  QTabBar* tsClave() const;
  QFrame* Panel(int i) const { return panel_.at(static_cast<size_t>(i)); }
  QGroupBox* PanelPublico() const { return panelPublico_; }
  QGroupBox* Panelprivado() const { return panelPrivado_; }
  QLineEdit* TextId() const { return textId_; }
  QToolBar* Toolbar() const { return toolbar_; }
  // The toolbar's button of that key ("abrir", "guardar", "claves").
  QAction* boton(const QString& key) const;
  Rejilla* FlexClaves() const { return flexClaves_; }
  // Above the key list: which file it shows, or that it does not exist yet.
  QLabel* LabelFichero() const { return labelFichero_; }
  pemmick::ORVExtTextBox* TextTO() const { return textTO_; }
  pemmick::ORVExtTextBox* textTC() const { return textTC_; }
  lab::PanelCifrar* PanelCifrar() const { return panelCifrar_; }
  plankett::FlatButton* cmdCifra() const;
  plankett::FlatButton* cmdDescifra() const;
  QProgressBar* ProgressBar() const { return progressBar_; }

  // The key file: "<carpetaDatos>/claves.rsa" unless set (tests point it at a
  // folder of their own).
  QString ficheroClaves() const { return ficheroClaves_; }
  void setFicheroClaves(const QString& ruta) { ficheroClaves_ = ruta; }

  // Opens the key file in the desktop's text editor: QDesktopServices by
  // default; false when no program took it. Tests replace it.
  std::function<bool(const QUrl&)> abreEditor;
  // A refusal shown with the critical-error icon (title, text). Tests replace it.
  std::function<void(const QString& titulo, const QString& texto)> avisaCritico;

  // The toolbar's commands and the list's, as the user runs them.
  // "guardar": the key under TextId (trimmed), or under the date and time
  // "dd/MM/yyyy hh:mm:ss" when it is empty; the same name overwrites.
  void GuardaClave();
  // "abrir": hides the list when it is shown, else fills it from the key file
  // and shows it.
  void ListaClaves();
  // A row of the list chosen: the key of the nearest section row at or above
  // it is loaded; the list hides.
  void EligeClave(int32_t fila);
  // Esc in the list: hides it, the key unchanged.
  void OcultaClaves();
  // "claves": the key file in the text editor.
  void EditaClaves();

  // A value of the key file: `defecto` when the file, section or entry is
  // missing (the profile reader's rules: names without case, at most 2047
  // characters).
  QString LeeEntrada(const QString& seccion, const QString& entrada,
                     const QString& defecto = QString()) const;
  // The section names of the key file in file order (empty when it does not
  // exist), as the list shows them.
  QStringList Secciones() const;

  QSize sizeHint() const override;

 protected:
  // Builds the shared controls. `fichero` is the key file's name in the data
  // folder, `claveCifrado` the tag of the window's ciphertexts.
  ORVCSPublico(const QString& nombre, const QString& titulo, const QString& fichero,
               int32_t claveCifrado, QWidget* parent);

  // The layouts of the two key frames: captions in column 0, fields in 1.
  QGridLayout* filasPublico() const { return filasPublico_; }
  QGridLayout* filasPrivado() const { return filasPrivado_; }
  // Drives ProgressBar from a component's Inicio / Progreso / Fin.
  SeguimientoProgreso& progreso() { return *progreso_; }

  // The entries of the key as it stands, in the order they are written.
  virtual std::vector<std::pair<QString, QString>> entradasClave() const = 0;
  // Loads the key saved under `seccion` (read it with LeeEntrada). False when
  // it is not loaded, having said why: then nothing of it is loaded.
  virtual bool cargaClave(const QString& seccion) = 0;
  // What an enciphered text's file starts with ("Clave=… Exponente=… "); empty
  // when there is no public key to write.
  virtual QString cabeceraCifrado() const = 0;
  // Whether a space-separated token of a read file belongs to the header.
  virtual bool esCabecera(const QString& ficha) const = 0;
  // Takes the header tokens of a read file (in file order): empty when the key
  // they give was set (and completed from the key file where found), else the
  // text the file is refused with, nothing changed.
  virtual QString tomaCabecera(const QStringList& fichas) = 0;
  // What the refusal's box is titled: "Fichero erróneo".
  virtual QString tituloFicheroErroneo() const;
  // A word to the student where nothing else shows why nothing happened: a
  // warning box titled with the window's caption. A window with a status bar
  // puts it there.
  virtual void informa(const QString& texto);
  // After every change that may enable or disable something.
  virtual void habilita() {}
  // Takes what is being typed in a key field before a command that reads the
  // key, since a toolbar button or a flat button does not take the focus from
  // the field: the field with the focus is left as if the user had left it.
  virtual void confirmaEdicion();

  // Keeps the ciphertext box's "guardar" usable only while there is a header
  // to write (a file without it could not be read back).
  void habilitaGuardarCifrado();

 private:
  void construye(int32_t claveCifrado);
  void leido(QString& texto, bool& cancel);
  void guardando(QString& texto) const;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

  QString ficheroClaves_;
  int32_t claveCifrado_;
  QTabWidget* pestanas_ = nullptr;
  std::array<QFrame*, 2> panel_{};
  QGroupBox* panelPublico_ = nullptr;
  QGroupBox* panelPrivado_ = nullptr;
  QGridLayout* filasPublico_ = nullptr;
  QGridLayout* filasPrivado_ = nullptr;
  QLineEdit* textId_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QFrame* marcoClaves_ = nullptr;
  QLabel* labelFichero_ = nullptr;
  Rejilla* flexClaves_ = nullptr;
  pemmick::ORVExtTextBox* textTO_ = nullptr;
  pemmick::ORVExtTextBox* textTC_ = nullptr;
  lab::PanelCifrar* panelCifrar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  std::unique_ptr<SeguimientoProgreso> progreso_;
  int32_t filaPulsada_ = -1;  // the list's row under the last press
};

}  // namespace orv
