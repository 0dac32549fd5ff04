// Screenshots of the spreadsheet laboratory, filled as a student leaves it:
//   calc.png             a sheet of values, some far wider than their column,
//                        with the zoom panel open on a long one
//   calc_calculando.png  a huge expression under way: the strip with what it
//                        does, for how long, "Cancelar", and why a second
//                        edit waits
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLayout>

#include "capturas.h"
#include "orv/calculofondo.h"
#include "orv/orvcalc.h"
#include "rejilla/rejilla.h"

namespace capturas {

namespace {

// Waits for the work under way, letting its result arrive.
void esperaCalculo(orv::ORVCalc& calc) {
  QElapsedTimer reloj;
  reloj.start();
  while (calc.Calculo()->ocupado() && reloj.elapsed() < 60000) QApplication::processEvents();
}

}  // namespace

bool calc() {
  orv::ORVCalc calc;
  calc.resize(980, 600);
  calc.show();
  asienta();
  const struct {
    int fila, columna;
    const char* formula;
  } celdas[] = {
      {1, 1, "2^127-1"}, {2, 1, "2^64"},        {3, 1, "A1*A2"},       {4, 1, "100!"},
      {5, 1, "1/3+1/7"}, {6, 1, "N(1/7)"},      {7, 1, "2^4000"},      {8, 1, "17 mod 5"},
      {9, 1, "2+"},      {1, 2, "A1 mod 1000"}, {2, 2, "A2-1"},        {3, 2, "A3/A2"},
      {4, 2, "A4/98!"},  {5, 2, "A5*21"},       {1, 3, "(A1+1)/A2^2"}, {2, 3, "3^200"},
  };
  for (const auto& c : celdas) {
    calc.EscribeFormula(c.fila, c.columna, QString::fromLatin1(c.formula));
    esperaCalculo(calc);
  }
  calc.FlexCalc()->setFila(7);
  calc.FlexCalc()->setColumna(1);
  calc.boton(QStringLiteral("zoom"))->setChecked(true);
  bool bien = ventana(calc, "calc.png");

  calc.boton(QStringLiteral("zoom"))->setChecked(false);
  calc.FlexCalc()->setFila(10);
  calc.EscribeFormula(10, 1, QStringLiteral("3^2000000"));
  // A second edit meanwhile is refused, and the strip says so.
  calc.EscribeFormula(10, 2, QStringLiteral("A10 mod 7"));
  // Pictured before the value can come back: only the layout is let run.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  calc.layout()->activate();
  bien &= guarda(calc.grab(), "calc_calculando.png");
  calc.Calculo()->cancela();
  esperaCalculo(calc);
  return bien;
}

}  // namespace capturas
