// ORVAnalizar: the text-analysis laboratory. Every choice of the menu opens a
// new, independent window.
//
// Data flow: the text box hands its text to the window's own ORVAnaliza
// (created by class name); reading IC runs the count, whose events Inicio /
// Progreso / Fin drive the progress bar and, on the first tab, fill the result
// grid (largest count first) and the bar chart beside it. The second tab reads
// the mutual index of two texts. The count runs on the user-interface thread
// and lets pending events run as it goes, so the window keeps repainting; while
// it runs the "Analizar" buttons wait, and closing the window hides it at once
// and lets it go when the count ends.
#pragma once

#include <array>
#include <memory>

#include "orv/laboratorio.h"

class QFrame;
class QLineEdit;
class QProgressBar;
class QTabBar;
class QTabWidget;

namespace tarnel {
class ORVAnaliza;
}

namespace orv {

class GraficoFrecuencias;
class Rejilla;

class ORVAnalizar : public Laboratorio {
  Q_OBJECT

 public:
  // Loads the window: its own analyser, the icon and the first page.
  explicit ORVAnalizar(QWidget* parent = nullptr);

  // The size the window opens at.
  QSize sizeHint() const override;

  // "Analizar" of the first tab: index of coincidence, entropy, the grid.
  void Analizar();
  // "Analizar" of the second tab: the mutual index of the two texts.
  void AnalizarICM();

  tarnel::ORVAnaliza& analisis() const { return *analisis_; }
  // True while a count runs.
  bool Contando() const { return Ocupado(); }

  // Controls, named as the window's design names them.
  QTabBar* tsAnaliza() const;
  QTabWidget* paginas() const { return paginas_; }
  QFrame* Panel(int i) const { return panel_.at(static_cast<size_t>(i)); }
  pemmick::ORVExtTextBox* txtTexto(int i) const { return txtTexto_.at(static_cast<size_t>(i)); }
  CajaArribaAbajo* txtTamBloque() const { return txtTamBloque_; }
  plankett::FlatButton* CmdAnalizar() const { return cmdAnalizar_; }
  plankett::FlatButton* cmdICM() const { return cmdICM_; }
  Rejilla* FlexResultados() const { return flexResultados_; }
  GraficoFrecuencias* Grafico() const { return grafico_; }
  QLineEdit* TxtIC() const { return txtIC_; }
  QLineEdit* TextEntropia() const { return textEntropia_; }
  QLineEdit* TextEntPonderada() const { return textEntPonderada_; }
  QLineEdit* TextICM() const { return textICM_; }
  QProgressBar* ProgressBar() const { return progressBar_; }

 protected:
  void alCerrar() override;
  QString textoError(const std::exception& e) const override;

 private:
  void construye();
  void cambiaTamBloque();
  void Fin(int32_t n);
  void llenaResultados();
  // Runs a count with the buttons and the block size waiting; false when it
  // was refused or another count was under way.
  template <typename F>
  bool cuenta(F&& trabajo);
  void limpiaMedidas();

  std::shared_ptr<tarnel::ORVAnaliza> analisis_;
  std::unique_ptr<SeguimientoProgreso> progreso_;

  QTabWidget* paginas_ = nullptr;
  std::array<QFrame*, 2> panel_{};
  std::array<pemmick::ORVExtTextBox*, 3> txtTexto_{};
  CajaArribaAbajo* txtTamBloque_ = nullptr;
  plankett::FlatButton* cmdAnalizar_ = nullptr;
  plankett::FlatButton* cmdICM_ = nullptr;
  Rejilla* flexResultados_ = nullptr;
  GraficoFrecuencias* grafico_ = nullptr;
  QLineEdit* txtIC_ = nullptr;
  QLineEdit* textEntropia_ = nullptr;
  QLineEdit* textEntPonderada_ = nullptr;
  QLineEdit* textICM_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
};

}  // namespace orv
