// The laboratory skeleton: a window removes only its own event handlers when
// it goes, progress bars follow events passed by reference and by value,
// errors are reported alike, long work ignores a second press.
#include "orv/laboratorio.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <new>

#include "kestrin/orvtexto.h"
#include "kestrin/procesa.h"
#include "orv/arranque.h"
#include "pemmick/orvexttextbox.h"
#include "tarnel/orvanaliza.h"
#include "tarnel/orvcriptoafin.h"

namespace orv {
namespace {

// A laboratory whose guards a test can call.
class Prueba : public Laboratorio {
 public:
  Prueba() : Laboratorio(QStringLiteral("Prueba"), QStringLiteral("Prueba"), nullptr) {
    boton = new QLineEdit(this);
    avisa = [this](const QString& titulo, const QString& texto) {
      avisos << titulo + ": " + texto;
    };
  }
  using Laboratorio::conexiones;
  using Laboratorio::protege;
  using Laboratorio::trabaja;
  QLineEdit* boton;
  QStringList avisos;
};

// The three progress events, with their counts by reference or by value.
template <typename A>
struct Componente {
  struct {
    kestrin::Evento<A> Inicio;
    kestrin::Evento<A> Progreso;
    kestrin::Evento<A> Fin;
  } eventos;
  void lanza(kestrin::Evento<A>& e, int32_t n) {
    int32_t copia = n;
    e.lanza(copia);
  }
};

class LaboratorioTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { registraBibliotecas(); }
};

TEST_F(LaboratorioTest, AClosingWindowRemovesOnlyItsOwnHandlers) {
  // The cryptosystem is also held by someone else, whose handlers must
  // survive the window; the window's own must not reach it once it is gone.
  auto cs = creaComponente<tarnel::ORVCriptoAfin>("Tarnel.ORVCriptoAfin");
  int ajenos = 0;
  int propios = 0;
  cs->eventos.Cifrado.conecta([&] { ++ajenos; });
  auto v = std::make_unique<Prueba>();
  auto* caja = lab::cajaTexto(v.get(), QStringLiteral("TxtTO"));
  enlazaTextos(v->conexiones, cs, caja, caja);
  v->conexiones.conecta(cs, cs->eventos.Cifrado, [&] { ++propios; });
  EXPECT_EQ(cs->eventos.Cifrado.conectados(), 3u);
  EXPECT_EQ(caja->eventos.Change.conectados(), 2u);

  cs->setMultiplicador(kestrin::Moneda(3));
  cs->setDesplazamiento(kestrin::Moneda(5));
  auto texto = std::make_shared<kestrin::ORVTexto>();
  texto->setTexto(U"hola");
  cs->setTextoOriginal(texto);
  cs->Cifra();
  EXPECT_EQ(ajenos, 1);
  EXPECT_EQ(propios, 1);

  v.reset();
  EXPECT_EQ(cs->eventos.Cifrado.conectados(), 1u);
  EXPECT_EQ(cs->eventos.DesCifrado.conectados(), 0u);
  cs->Cifra();
  cs->Descifra();
  EXPECT_EQ(ajenos, 2);
  EXPECT_EQ(propios, 1);
}

TEST_F(LaboratorioTest, ConnectionsKeepTheirComponentUntilTheyAreRemoved) {
  Conexiones conexiones;
  std::weak_ptr<tarnel::ORVAnaliza> vigia;
  {
    auto analisis = creaComponente<tarnel::ORVAnaliza>("Tarnel.ORVAnaliza");
    vigia = analisis;
    conexiones.conecta(analisis, analisis->eventos.Fin, [](int32_t&) {});
  }
  EXPECT_FALSE(vigia.expired());
  conexiones.desconectaTodo();
  EXPECT_TRUE(vigia.expired());
  EXPECT_EQ(conexiones.size(), 0u);
}

TEST_F(LaboratorioTest, ComponentsByClassNameAreCheckedForTheirType) {
  EXPECT_NE(creaComponente<tarnel::ORVCriptoAfin>("tarnel.orvcriptoafin"), nullptr);
  const struct {
    const char* clase;
    int32_t error;
  } casos[] = {{"Tarnel.NoExiste", kestrin::kNoPuedeCrearObjeto},
               {"Tarnel.ORVAnaliza", kestrin::kTiposNoCoinciden}};
  for (const auto& c : casos) {
    try {
      creaComponente<tarnel::ORVCriptoAfin>(c.clase);
      ADD_FAILURE() << c.clase;
    } catch (const kestrin::ErrorORV& e) {
      EXPECT_EQ(e.numero(), c.error) << c.clase;
    }
  }
}

template <typename A>
void progresoSigueLosEventos() {
  auto componente = std::make_shared<Componente<A>>();
  QProgressBar primera;
  QProgressBar segunda;
  Conexiones conexiones;
  SeguimientoProgreso progreso({&primera, &segunda});
  bool enLaSegunda = false;
  progreso.actual = [&]() -> QProgressBar* { return enLaSegunda ? &segunda : &primera; };
  progreso.conecta(conexiones, componente, componente->eventos);
  EXPECT_EQ(conexiones.size(), 3u);

  componente->lanza(componente->eventos.Inicio, 4000);
  EXPECT_EQ(primera.maximum(), 4000);
  EXPECT_EQ(segunda.maximum(), 4000);
  componente->lanza(componente->eventos.Progreso, 1000);
  EXPECT_EQ(primera.value(), 1000);
  componente->lanza(componente->eventos.Progreso, 1002);  // less than a thousandth: not shown
  EXPECT_EQ(primera.value(), 1000);
  enLaSegunda = true;
  componente->lanza(componente->eventos.Progreso, 9000);  // past the end: the end
  EXPECT_EQ(segunda.value(), 4000);
  componente->lanza(componente->eventos.Fin, 4000);
  EXPECT_EQ(segunda.value(), 4000);

  // Nothing to count: the bar keeps its range, or shows full when asked to.
  componente->lanza(componente->eventos.Inicio, 0);
  EXPECT_EQ(primera.maximum(), 4000);
  EXPECT_EQ(primera.value(), 0);
  progreso.vacioLleno = true;
  componente->lanza(componente->eventos.Inicio, 0);
  EXPECT_EQ(primera.maximum(), 1);
  EXPECT_EQ(primera.value(), 1);

  conexiones.desconectaTodo();
  EXPECT_EQ(componente->eventos.Progreso.conectados(), 0u);
}

TEST_F(LaboratorioTest, ProgressFollowsCountsByReferenceAndByValue) {
  progresoSigueLosEventos<int32_t&>();
  progresoSigueLosEventos<int32_t>();
}

TEST_F(LaboratorioTest, ProgressLetsTheWindowRepaintWhileTheWorkGoesOn) {
  int repintados = 0;
  kestrin::fijaProcesaEventos([&] { ++repintados; });
  QProgressBar barra;
  SeguimientoProgreso progreso({&barra});
  progreso.Inicio(100);
  for (int i = 1; i <= 3; ++i) {
    QTest::qSleep(20);
    progreso.Progreso(i);
  }
  kestrin::fijaProcesaEventos({});
  EXPECT_EQ(repintados, 3);
}

TEST_F(LaboratorioTest, ErrorsAreReportedWithTheTitleAndNeverEscape) {
  Prueba v;
  const struct {
    std::function<void()> falla;
    QString aviso;
  } casos[] = {
      {[] { kestrin::lanzaError(kestrin::kDesbordamiento); },
       QStringLiteral("Título: ") + QString::fromStdString(kestrin::mensajeError(6))},
      {[] { throw std::bad_alloc(); },
       QStringLiteral("Título: No hay memoria suficiente para esta operación.")},
      {[] { throw std::length_error("x"); },
       QStringLiteral("Título: No se pudo completar la operación: x")},
  };
  for (const auto& c : casos) {
    v.avisos.clear();
    EXPECT_FALSE(v.protege(QStringLiteral("Título"), c.falla));
    EXPECT_EQ(v.avisos, QStringList{c.aviso});
  }
  EXPECT_TRUE(v.protege(QStringLiteral("Título"), [] {}));
}

TEST_F(LaboratorioTest, LongWorkIgnoresASecondPressAndWaitsItsWidgets) {
  Prueba v;
  int veces = 0;
  bool segunda = true;
  bool esperaba = false;
  const bool bien = v.trabaja(QStringLiteral("T"), {v.boton}, [&] {
    ++veces;
    esperaba = v.Ocupado() && !v.boton->isEnabled();
    segunda = v.trabaja(QStringLiteral("T"), {v.boton}, [&] { ++veces; });
  });
  EXPECT_TRUE(bien);
  EXPECT_EQ(veces, 1);
  EXPECT_FALSE(segunda);
  EXPECT_TRUE(esperaba);
  EXPECT_TRUE(v.boton->isEnabled());
  EXPECT_FALSE(v.Ocupado());

  // A failure inside still frees the window.
  EXPECT_FALSE(v.trabaja(QStringLiteral("T"), {v.boton},
                         [] { kestrin::lanzaError(kestrin::kArgumentoNoValido); }));
  EXPECT_EQ(v.avisos.size(), 1);
  EXPECT_TRUE(v.boton->isEnabled());
  EXPECT_FALSE(v.Ocupado());
}

TEST_F(LaboratorioTest, PagesAreNamedAsTheirPanelsAndCarryTheirKeys) {
  QWidget ventana;
  const lab::Paginas p =
      lab::paginas(&ventana, QStringLiteral("TsCripto"),
                   {{"Clave y texto"}, {"Texto Cifrado", "cifrado"}}, QStringLiteral("panel"), 1);
  ASSERT_EQ(p.paneles.size(), 2u);
  EXPECT_EQ(p.pestanas->objectName(), QStringLiteral("TsCripto"));
  EXPECT_EQ(p.panel(0)->objectName(), QStringLiteral("panel(1)"));
  EXPECT_EQ(p.panel(1)->objectName(), QStringLiteral("panel(2)"));
  EXPECT_EQ(p.barra()->tabText(1), QStringLiteral("Texto Cifrado"));
  EXPECT_FALSE(p.barra()->tabData(0).isValid());
  EXPECT_EQ(p.barra()->tabData(1).toString(), QStringLiteral("cifrado"));
}

}  // namespace
}  // namespace orv
