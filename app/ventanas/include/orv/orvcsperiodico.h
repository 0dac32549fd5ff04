// ORVCSVigenere and ORVCSXOR: the laboratories of the two periodic ciphers.
//
// One window, ORVCSPeriodico, built for either cryptosystem: they differ only
// in the caption, the icon, the class created by name and the tag of the
// ciphertexts the box accepts. The "Cifrado" page enciphers and deciphers
// with a key word; the "Criptoanálisis" page walks through the attack the
// component carries, one stage per tab:
//   1. "Periodo": the index of coincidence of the columns for every period up
//      to the maximum, a triangle in FlexIC, the estimated period's row in the
//      selection colours; another period is chosen by clicking its row or by
//      typing it in TextPeriodo.
//   2. "Desplazamientos": the mutual index of every pair of columns at each of
//      the 64 shifts in FlexICM, the shift chosen for each pair marked; a click
//      on another cell of a pair's column corrects its shift.
//   3. "Clave": the candidate keys in CbClave; choosing one deciphers with it.
// Beside these stages, aids of our own:
//   - on the "Periodo" page, under the index grid, Kasiski's test (the
//     repeated sequences of three or more symbols with their distances, and
//     a bar per period counting the distances it divides) and the
//     autocorrelation (a bar per shift d counting the symbols equal to the
//     one d places on), each with its likely period in a colour of its own;
//     a click on a bar chooses that period as a click on its row of FlexIC
//     does;
//   - a fourth page, "Resolver": the key for the chosen period from the
//     statistics of Spanish, with the best keys near it and their scores;
//     a click on one puts it in TxtClave and shows the decipherment, as
//     choosing a key of stage 3 does.
//
// The searches run on the user-interface thread through `trabaja`: the
// controls that could start or change work wait meanwhile, the progress bars
// follow the component's Inicio / Progreso and the window keeps repainting.
//
// Choices of our own:
// - The maximum period and a typed period go from 1 to kPeriodoMayor (40),
//   the arrows of the maximum too: a wider table could not be read (a period
//   of 40 already has 780 pairs of columns). A maximum outside, or a typical
//   index outside 0..1, stops stage 1 with a message; a typed period beyond
//   40 is refused with a message, and below 1 (or no number) the component
//   keeps its period (it ignores such a value) and the box shows it again.
// - Opening "Desplazamientos" with no period yet shows the page with the
//   empty grid; its "Analiza", and the "Clave" tab, say that stage 1 comes
//   first.
// - Writing the period empties the component's shift tables, so the same
//   period again (a click on its row, the box left unchanged) is not written.
//   A new period, or a new period search, lays the shift grid out afresh
//   when its page opens; returning to the page otherwise keeps the results.
// - The period chosen by a click on its row is also shown in TextPeriodo.
// - A corrected shift gives its column back the normal text colour too, so
//   the cell the search had marked stays readable.
// - An empty entry of the key list (Vigenère's 29 to 64) deciphers nothing
//   and empties TextOriginal.
// - Message boxes have a Spanish "Aceptar" button.
#pragma once

#include <QString>

#include <array>
#include <functional>
#include <memory>

#include "orv/laboratorio.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTabBar;
class QTabWidget;
class QVBoxLayout;

namespace tarnel {
class CriptoPeriodico;
}

namespace orv {

class GraficoPeriodos;
class Rejilla;

class ORVCSPeriodico : public Laboratorio {
  Q_OBJECT

 public:
  // The largest period the window works with (maximum period and period).
  static constexpr int kPeriodoMayor = 40;
  // Rows of the shift grid: the header and the shifts 0 to 63.
  static constexpr int kFilasDesplazamientos = 65;

  ~ORVCSPeriodico() override;

  // The cryptosystem the window drives.
  tarnel::CriptoPeriodico& cs() const { return *cs_; }

  QSize sizeHint() const override;

  // How the component's warnings are shown (title, text): an information box
  // titled "Posible error". Tests replace it.
  std::function<void(const QString& titulo, const QString& texto)> informa;

  // Stage 1 ("Analiza" of "Periodo") and stage 2 ("Analiza" of
  // "Desplazamientos"), as their buttons run them.
  void AnalizaPeriodo();
  void AnalizaDesplazamientos();
  // "Resolver": the key of the chosen period from the language statistics.
  void Resuelve();
  // Chooses the key of row `fila` (1 = the best) of FlexResueltas: it goes
  // to TxtClave and the decipherment to TextoResuelto.
  void EligeClaveResuelta(int32_t fila);
  // What a click on a bar of the period aids does: chooses period p.
  void EligePeriodo(int32_t p);

  // Controls, named as the window's design names them.
  QTabBar* tsCripto() const;
  QFrame* Panel(int i) const { return panel_.at(static_cast<size_t>(i)); }
  pemmick::ORVExtTextBox* TxtTO() const { return txtTO_; }
  pemmick::ORVExtTextBox* txtTC() const { return txtTC_; }
  QFrame* PanelClave() const { return panelClave_; }
  QLineEdit* TxtClave() const { return txtClave_; }
  lab::PanelCifrar* PanelCifrar() const { return panelCifrar_; }
  plankett::FlatButton* cmdCifra() const { return panelCifrar_->cmdCifra(); }
  plankett::FlatButton* cmdDescifra() const { return panelCifrar_->cmdDescifra(); }
  QTabBar* tsAnaliza() const;
  QFrame* PanelAnalisis(int i) const { return panelAnalisis_.at(static_cast<size_t>(i)); }
  QLineEdit* TextICTipico() const { return textICTipico_; }
  CajaArribaAbajo* txtMaxM() const { return txtMaxM_; }
  QLineEdit* TextPeriodo() const { return textPeriodo_; }
  plankett::FlatButton* CmdPeriodo() const { return cmdPeriodo_; }
  Rejilla* FlexIC() const { return flexIC_; }
  QFrame* PanelProgreso() const { return panelProgreso_; }
  QProgressBar* ProgressBarPeriodo() const { return progressBarPeriodo_; }
  plankett::FlatButton* CmdDesplazamientos() const { return cmdDesplazamientos_; }
  Rejilla* FlexICM() const { return flexICM_; }
  QProgressBar* ProgressBar() const { return progressBar_; }
  QComboBox* CbClave() const { return cbClave_; }
  pemmick::ORVExtTextBox* TextOriginal() const { return textOriginal_; }
  // The period aids of the "Periodo" page.
  QGroupBox* PanelKasiski() const { return panelKasiski_; }
  QLabel* TextKasiski() const { return textKasiski_; }
  Rejilla* FlexKasiski() const { return flexKasiski_; }
  GraficoPeriodos* GraficoFactores() const { return graficoFactores_; }
  QGroupBox* PanelAutocorrelacion() const { return panelAutocorrelacion_; }
  QLabel* TextAutocorrelacion() const { return textAutocorrelacion_; }
  GraficoPeriodos* GraficoAutocorrelacion() const { return graficoAutocorrelacion_; }
  // The "Resolver" page.
  QLabel* TextPeriodoResuelve() const { return textPeriodoResuelve_; }
  plankett::FlatButton* CmdResolver() const { return cmdResolver_; }
  Rejilla* FlexResueltas() const { return flexResueltas_; }
  pemmick::ORVExtTextBox* TextoResuelto() const { return textoResuelto_; }

  // The rows of FlexKasiski shown at most (the component may list more).
  static constexpr int32_t kFilasKasiski = 1000;

 protected:
  // What makes the Vigenère and the XOR window.
  struct Modelo {
    const char* nombre;    // object name, "ORVCSVigenere"
    const char* titulo;    // caption
    const char* icono;     // icon resource
    const char* clase;     // the component's class name
    int32_t claveCifrado;  // tag of its ciphertexts
  };
  ORVCSPeriodico(const Modelo& modelo, QWidget* parent);

  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void construye(int32_t claveCifrado);
  void conecta();
  void cambiaCripto(int i);
  void cambiaEtapa(int i);
  bool claveEscrita();
  void cifra();
  void descifra();
  void cifrado();
  void aviso(const QString& texto);
  void llenaPeriodos();
  void mueveRaton(int32_t fila);
  void eligeFilaPeriodo();
  void tomaPeriodo();
  void poneTextoPeriodo();
  bool fijaPeriodo(int32_t periodo);
  void preparaDesplazamientos();
  void llenaDesplazamientos();
  void corrigeDesplazamiento();
  void buscaClaves();
  void eligeClave(int i);
  void construyeAyudas(QFrame* periodo, QVBoxLayout* etapa1);
  void construyeResolver(QFrame* pagina);
  void llenaAyudas();
  void vaciaAyudas();
  void vaciaResueltas();
  void muestraDescifrado(const QString& clave, pemmick::ORVExtTextBox* caja);
  // Runs long work with every control that could start or change work waiting.
  template <typename F>
  bool trabajaEspera(const QString& titulo, F&& trabajo);

  std::shared_ptr<tarnel::CriptoPeriodico> cs_;
  std::unique_ptr<SeguimientoProgreso> progreso_;

  QTabWidget* paginas_ = nullptr;
  std::array<QFrame*, 2> panel_{};
  pemmick::ORVExtTextBox* txtTO_ = nullptr;
  pemmick::ORVExtTextBox* txtTC_ = nullptr;
  QFrame* panelClave_ = nullptr;
  QLineEdit* txtClave_ = nullptr;
  lab::PanelCifrar* panelCifrar_ = nullptr;

  QTabWidget* etapas_ = nullptr;
  std::array<QFrame*, 4> panelAnalisis_{};
  QLineEdit* textICTipico_ = nullptr;
  CajaArribaAbajo* txtMaxM_ = nullptr;
  QLineEdit* textPeriodo_ = nullptr;
  plankett::FlatButton* cmdPeriodo_ = nullptr;
  Rejilla* flexIC_ = nullptr;
  QFrame* panelProgreso_ = nullptr;
  QProgressBar* progressBarPeriodo_ = nullptr;
  plankett::FlatButton* cmdDesplazamientos_ = nullptr;
  Rejilla* flexICM_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QComboBox* cbClave_ = nullptr;
  pemmick::ORVExtTextBox* textOriginal_ = nullptr;
  QGroupBox* panelKasiski_ = nullptr;
  QLabel* textKasiski_ = nullptr;
  Rejilla* flexKasiski_ = nullptr;
  GraficoPeriodos* graficoFactores_ = nullptr;
  QGroupBox* panelAutocorrelacion_ = nullptr;
  QLabel* textAutocorrelacion_ = nullptr;
  GraficoPeriodos* graficoAutocorrelacion_ = nullptr;
  QLabel* textPeriodoResuelve_ = nullptr;
  plankett::FlatButton* cmdResolver_ = nullptr;
  Rejilla* flexResueltas_ = nullptr;
  pemmick::ORVExtTextBox* textoResuelto_ = nullptr;
  // The period the keys of FlexResueltas were solved for (0: none shown).
  int32_t periodoResuelto_ = 0;

  // The last row of FlexIC under the mouse (-1: none yet).
  int32_t filaRaton_ = -1;
  // True while the window itself rebuilds FlexIC: the current cell it moves
  // is no choice of the student's.
  bool llenandoPeriodos_ = false;
  // The period FlexICM's columns were laid out for, and whether its cells
  // hold the component's present shift tables (writing the period or a new
  // period search empties those).
  int32_t periodoDesplazamientos_ = 0;
  bool desplazamientosVigentes_ = false;
};

// The Vigenère laboratory: ORVCriptoVigenere, ciphertexts tagged CSKVig; 28
// candidate keys (the rest of the list is empty).
class ORVCSVigenere : public ORVCSPeriodico {
  Q_OBJECT

 public:
  explicit ORVCSVigenere(QWidget* parent = nullptr);
};

// The XOR laboratory: ORVCriptoXOR, ciphertexts tagged CSKXOR; 64 candidates.
class ORVCSXOR : public ORVCSPeriodico {
  Q_OBJECT

 public:
  explicit ORVCSXOR(QWidget* parent = nullptr);
};

}  // namespace orv
