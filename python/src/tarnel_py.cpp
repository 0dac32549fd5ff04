// Python bindings of Tarnel: the alphabet, the classical cryptosystems and the analyser.
#include "orvane.h"
#include "tarnel/tarnel.h"

#include <sstream>

namespace orvane {

using namespace tarnel;
using kestrin::Cadena;

namespace {

// TextoOriginal and TextoCifrado, shared with the caller.
template <typename Clase, typename... Opciones>
void textos(py::class_<Clase, Opciones...>& clase) {
  clase.def_property("TextoOriginal", &Clase::TextoOriginal, &Clase::setTextoOriginal)
      .def_property("TextoCifrado", &Clase::TextoCifrado, &Clase::setTextoCifrado);
}

}  // namespace

void enlazaTarnel(py::module_& m, py::module_& t) {
  m.attr("ORVNumCar") = static_cast<int32_t>(ORVNumCar);
  m.attr("Alfabeto") = Cadena(Alfabeto);
  m.attr("AlfabetoFrecuencias") = Cadena(AlfabetoFrecuencias);
  m.attr("LetrasFrecuentes") = Cadena(LetrasFrecuentes);

  // Keys as a list of (a, b) tuples.
  t.def(
      "ClavesAfines",
      [](int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
        std::vector<std::pair<int32_t, int32_t>> claves;
        for (const ClaveAfin& k : ClavesAfines(x0, x1, y0, y1)) claves.emplace_back(k.a, k.b);
        return claves;
      },
      py::arg("x0"), py::arg("x1"), py::arg("y0"), py::arg("y1"));
  t.def("ClaveSustAleatoria", py::overload_cast<>(&ClaveSustAleatoria));
  // A seed gives its own generator: the same seed, the same key.
  t.def(
      "ClaveSustAleatoria",
      [](uint64_t semilla) {
        std::mt19937_64 generador(semilla);
        return ClaveSustAleatoria(generador);
      },
      py::arg("semilla"));

  // Language statistics: counted from a text, read from and written to the
  // text form, and the ones the solvers use.
  using EL = EstadisticasLengua;
  py::class_<EL, std::shared_ptr<EL>>(t, "EstadisticasLengua")
      .def_static(
          "Cuenta", [](const Cadena& texto, size_t excluidos) { return std::make_shared<EL>(EL::Cuenta(texto, excluidos)); },
          py::arg("texto"), py::arg("excluidos") = 0)
      .def_static(
          "Lee",
          [](const std::string& texto) {
            std::istringstream entrada(texto);
            return std::make_shared<EL>(EL::Lee(entrada));
          },
          py::arg("texto"))
      .def_static(
          "LeeFichero", [](const std::string& ruta) { return std::make_shared<EL>(EL::LeeFichero(ruta)); },
          py::arg("ruta"))
      .def("Texto",
           [](const EL& e) {
             std::ostringstream salida;
             e.Escribe(salida);
             return salida.str();
           })
      .def_property_readonly("Excluidos", &EL::Excluidos)
      .def("Total", &EL::Total, py::arg("n"))
      .def("CuentaBloque", [](const EL& e, const Cadena& b) { return e.CuentaBloque(b); }, py::arg("bloque"))
      .def("Frecuencia", &EL::Frecuencia, py::arg("v"))
      .def("LogFrecuencia", &EL::LogFrecuencia, py::arg("v"))
      .def_property_readonly("IndiceCoincidencia", &EL::IndiceCoincidencia)
      .def("LogProbabilidad", [](const EL& e, const Cadena& b) { return e.LogProbabilidad(b); }, py::arg("bloque"));
  t.def("EstadisticasEnUso", [] { return std::const_pointer_cast<EL>(EstadisticasEnUso()); });
  t.def("UsaEstadisticas", &UsaEstadisticas, py::arg("ruta"));
  t.def("RutaEstadisticas", &RutaEstadisticas);

  py::class_<ORVCar, kestrin::Objeto, std::shared_ptr<ORVCar>>(t, "ORVCar")
      .def(py::init<>())
      .def_property("Texto", &ORVCar::Texto, [](ORVCar& c, const Cadena& s) { c.setTexto(s); })
      .def_property("Valor", &ORVCar::Valor, &ORVCar::setValor)
      .def_property("Item", &ORVCar::Item, &ORVCar::setItem)
      .def_property("Valido", &ORVCar::Valido, &ORVCar::setValido);

  py::class_<ORVItemTexto, kestrin::Objeto, std::shared_ptr<ORVItemTexto>>(t, "ORVItemTexto")
      .def(py::init<>())
      .def_property("Texto", &ORVItemTexto::Texto, &ORVItemTexto::setTexto)
      .def_property("Frecuencia", &ORVItemTexto::Frecuencia, &ORVItemTexto::setFrecuencia);

  py::class_<ORVResultado, kestrin::Objeto, std::shared_ptr<ORVResultado>>(t, "ORVResultado")
      .def(py::init<>())
      .def(
          "Add", [](ORVResultado& r, const Cadena& texto, int32_t f) { return r.Add(texto, f); },
          py::arg("Texto"), py::arg("Frecuencia") = 1)
      .def("Item", py::overload_cast<int32_t>(&ORVResultado::Item, py::const_),
           py::arg("vntIndexKey"))
      .def(
          "Item", [](const ORVResultado& r, const Cadena& clave) { return r.Item(clave); },
          py::arg("vntIndexKey"))
      .def("Remove", py::overload_cast<int32_t>(&ORVResultado::Remove), py::arg("vntIndexKey"))
      .def(
          "Remove", [](ORVResultado& r, const Cadena& clave) { r.Remove(clave); },
          py::arg("vntIndexKey"))
      .def_property_readonly("Count", &ORVResultado::Count)
      .def("Vacia", &ORVResultado::Vacia)
      .def("Ordena", &ORVResultado::Ordena)
      .def_property("Total", &ORVResultado::Total, &ORVResultado::setTotal)
      .def("__len__", &ORVResultado::Count)
      .def(
          "__iter__",
          [](const ORVResultado& r) { return py::make_iterator(r.begin(), r.end()); },
          py::keep_alive<0, 1>());

  py::class_<ORVCriptoAfin, kestrin::Objeto, std::shared_ptr<ORVCriptoAfin>> afin(t,
                                                                                 "ORVCriptoAfin");
  afin.def(py::init<>())
      .def_property("Multiplicador", &ORVCriptoAfin::Multiplicador,
                    &ORVCriptoAfin::setMultiplicador)
      .def_property("Desplazamiento", &ORVCriptoAfin::Desplazamiento,
                    &ORVCriptoAfin::setDesplazamiento)
      .def("Cifra", &ORVCriptoAfin::Cifra)
      .def("Descifra", &ORVCriptoAfin::Descifra);
  textos(afin);
  auto eventosAfin = enlazaEventos(afin, &ORVCriptoAfin::eventos);
  evento(eventosAfin, "Cifrado", &ORVCriptoAfin::Eventos::Cifrado);
  evento(eventosAfin, "DesCifrado", &ORVCriptoAfin::Eventos::DesCifrado);

  py::class_<ORVCriptoSust, kestrin::Objeto, std::shared_ptr<ORVCriptoSust>> sust(t,
                                                                                 "ORVCriptoSust");
  sust.def(py::init<>())
      .def("Clave", &ORVCriptoSust::Clave, py::arg("CarOrig"))
      .def(
          "setClave",
          [](ORVCriptoSust& s, const kestrin::Variante& i, const Cadena& v) { s.setClave(i, v); },
          py::arg("CarOrig"), py::arg("valor"))
      .def("ClaveInv", &ORVCriptoSust::ClaveInv, py::arg("CarCod"))
      .def("Cifra", &ORVCriptoSust::Cifra)
      .def("Descifra", &ORVCriptoSust::Descifra)
      .def("Resuelve", &ORVCriptoSust::Resuelve, py::arg("semilla"))
      .def_property_readonly("PuntuacionResuelta", &ORVCriptoSust::PuntuacionResuelta);
  textos(sust);
  auto eventosSust = enlazaEventos(sust, &ORVCriptoSust::eventos);
  evento(eventosSust, "Cifrado", &ORVCriptoSust::Eventos::Cifrado);
  evento(eventosSust, "DesCifrado", &ORVCriptoSust::Eventos::DesCifrado);

  // Progress counts travel by reference: a handler may return a new value.
  enlazaEvento<int32_t&>(m, "EventoLongRef");
  enlazaEvento<int32_t>(m, "EventoLong");
  enlazaEvento<const Cadena&>(m, "EventoTexto");

  py::class_<ORVAnaliza, kestrin::Objeto, std::shared_ptr<ORVAnaliza>> analiza(t, "ORVAnaliza");
  analiza.def(py::init<>())
      .def_property("Texto", &ORVAnaliza::Texto,
                    [](ORVAnaliza& a, Cadena s) { a.setTexto(std::move(s)); })
      .def_property("Texto1", &ORVAnaliza::Texto1,
                    [](ORVAnaliza& a, Cadena s) { a.setTexto1(std::move(s)); })
      .def_property("Texto2", &ORVAnaliza::Texto2,
                    [](ORVAnaliza& a, Cadena s) { a.setTexto2(std::move(s)); })
      .def_property("TamBloque", &ORVAnaliza::TamBloque, &ORVAnaliza::setTamBloque)
      .def_property("UserCancel", &ORVAnaliza::UserCancel, &ORVAnaliza::setUserCancel)
      .def_property_readonly("Resultado", &ORVAnaliza::Resultado)
      .def_property_readonly("IC", &ORVAnaliza::IC)
      .def_property_readonly("ICM", &ORVAnaliza::ICM)
      .def_property_readonly("Entropia", &ORVAnaliza::Entropia)
      .def("Vacia", &ORVAnaliza::Vacia);
  {
    auto eventos = enlazaEventos(analiza, &ORVAnaliza::eventos);
    evento(eventos, "Inicio", &ORVAnaliza::Eventos::Inicio);
    evento(eventos, "Progreso", &ORVAnaliza::Eventos::Progreso);
    evento(eventos, "Fin", &ORVAnaliza::Eventos::Fin);
  }

  // Vigenère and XOR share one class of bindings, as they share their code.
  using CP = CriptoPeriodico;
  py::class_<CP, kestrin::Objeto, std::shared_ptr<CP>> periodico(t, "CriptoPeriodico");
  periodico
      .def_property("Clave", &CP::Clave, [](CP& c, const Cadena& s) { c.setClave(s); })
      .def_property("MaxPeriodo", &CP::MaxPeriodo, &CP::setMaxPeriodo)
      .def("IC", &CP::IC, py::arg("m"), py::arg("c"))
      .def("setIC", &CP::setIC, py::arg("m"), py::arg("c"), py::arg("valor"))
      .def("MediaIC", &CP::MediaIC, py::arg("m"))
      .def("setMediaIC", &CP::setMediaIC, py::arg("m"), py::arg("valor"))
      .def("VarianzaIC", &CP::VarianzaIC, py::arg("m"))
      .def("setVarianzaIC", &CP::setVarianzaIC, py::arg("m"), py::arg("valor"))
      .def("TextoCol", &CP::TextoCol, py::arg("i"))
      .def("setTextoCol", [](CP& c, int32_t i, Cadena s) { c.setTextoCol(i, std::move(s)); },
           py::arg("i"), py::arg("valor"))
      .def_property("Periodo", &CP::Periodo, &CP::setPeriodo)
      .def("ICM", &CP::ICM, py::arg("Coli"), py::arg("Colj"), py::arg("Desplazamiento"))
      .def("setICM", &CP::setICM, py::arg("Coli"), py::arg("Colj"), py::arg("Desplazamiento"),
           py::arg("valor"))
      .def("Desplazamiento", &CP::Desplazamiento, py::arg("i"), py::arg("j"))
      .def("setDesplazamiento", &CP::setDesplazamiento, py::arg("i"), py::arg("j"),
           py::arg("valor"))
      .def_property("ICTipo", &CP::ICTipo, &CP::setICTipo)
      .def("ClaveProbable", &CP::ClaveProbable, py::arg("i"))
      .def("Cifra", &CP::Cifra)
      .def("Descifra", &CP::Descifra)
      .def("BuscaPeriodo", &CP::BuscaPeriodo)
      .def("BuscaDesplazamientos", &CP::BuscaDesplazamientos)
      .def("BuscaClaves", &CP::BuscaClaves)
      .def("Resuelve", &CP::Resuelve)
      .def("ClaveResuelta", &CP::ClaveResuelta, py::arg("i"))
      .def("PuntuacionResuelta", &CP::PuntuacionResuelta, py::arg("i"))
      .def_property_readonly("NumClavesResueltas", &CP::NumClavesResueltas)
      .def("Kasiski", &CP::Kasiski)
      .def_property_readonly("NumDistanciasKasiski", &CP::NumDistanciasKasiski)
      .def("DistanciaKasiski", &CP::DistanciaKasiski, py::arg("i"))
      .def("SecuenciaKasiski", &CP::SecuenciaKasiski, py::arg("i"))
      .def("PosicionKasiski", &CP::PosicionKasiski, py::arg("i"))
      .def_property_readonly("LongitudKasiski", &CP::LongitudKasiski)
      .def("CuentaFactorKasiski", &CP::CuentaFactorKasiski, py::arg("p"))
      .def_property_readonly("PeriodoKasiski", &CP::PeriodoKasiski)
      .def("Autocorrelacion", &CP::Autocorrelacion, py::arg("d"))
      .def_property_readonly("PeriodoAutocorrelacion", &CP::PeriodoAutocorrelacion);
  periodico.attr("kClavesResueltas") = CP::kClavesResueltas;
  periodico.attr("kMaxDistanciasKasiski") = CP::kMaxDistanciasKasiski;
  textos(periodico);
  {
    auto eventos = enlazaEventos(periodico, &CP::eventos);
    evento(eventos, "Warning", &CP::Eventos::Warning);
    evento(eventos, "Cifrado", &CP::Eventos::Cifrado);
    evento(eventos, "DesCifrado", &CP::Eventos::DesCifrado);
    evento(eventos, "Inicio", &CP::Eventos::Inicio);
    evento(eventos, "Progreso", &CP::Eventos::Progreso);
    evento(eventos, "Fin", &CP::Eventos::Fin);
  }
  py::class_<ORVCriptoVigenere, CP, std::shared_ptr<ORVCriptoVigenere>>(t, "ORVCriptoVigenere")
      .def(py::init<>());
  py::class_<ORVCriptoXOR, CP, std::shared_ptr<ORVCriptoXOR>>(t, "ORVCriptoXOR").def(py::init<>());

  py::class_<ORVMatriz, kestrin::Objeto, std::shared_ptr<ORVMatriz>>(t, "ORVMatriz")
      .def(py::init<>())
      .def("Elemento", &ORVMatriz::Elemento, py::arg("fila"), py::arg("columna"))
      .def("setElemento", &ORVMatriz::setElemento, py::arg("fila"), py::arg("columna"),
           py::arg("valor"))
      .def_property("NumFilas", &ORVMatriz::NumFilas, &ORVMatriz::setNumFilas)
      .def_property("NumColumnas", &ORVMatriz::NumColumnas, &ORVMatriz::setNumColumnas)
      .def("F1", &ORVMatriz::F1, py::arg("i"), py::arg("j"))
      .def("F2", &ORVMatriz::F2, py::arg("i"), py::arg("k"))
      .def("F3", &ORVMatriz::F3, py::arg("i"), py::arg("j"), py::arg("k"))
      .def("Reduce", &ORVMatriz::Reduce)
      .def("Inversa", &ORVMatriz::Inversa)
      .def("Por", &ORVMatriz::Por, py::arg("a").none(true));

  py::class_<ORVCriptoHill, kestrin::Objeto, std::shared_ptr<ORVCriptoHill>> hill(t,
                                                                                 "ORVCriptoHill");
  hill.def(py::init<>())
      .def_property("TamClave", &ORVCriptoHill::TamClave, &ORVCriptoHill::setTamClave)
      .def_property_readonly("Clave", &ORVCriptoHill::Clave)
      .def_property_readonly("ClaveInversa", &ORVCriptoHill::ClaveInversa)
      .def("Cifra", &ORVCriptoHill::Cifra)
      .def("Descifra", &ORVCriptoHill::Descifra)
      .def("BuscaClaves", &ORVCriptoHill::BuscaClaves, py::arg("claro").none(true), py::arg("cifrado").none(true))
      .def_property_readonly("NumClavesEncontradas", &ORVCriptoHill::NumClavesEncontradas)
      .def("ClaveEncontrada", &ORVCriptoHill::ClaveEncontrada, py::arg("i"))
      .def_property_readonly("MasClavesEncontradas", &ORVCriptoHill::MasClavesEncontradas);
  hill.attr("kMaxClavesEncontradas") = ORVCriptoHill::kMaxClavesEncontradas;
  textos(hill);
  {
    auto eventos = enlazaEventos(hill, &ORVCriptoHill::eventos);
    evento(eventos, "CambiaTamaño", &ORVCriptoHill::Eventos::CambiaTamaño);
    evento(eventos, "Warning", &ORVCriptoHill::Eventos::Warning);
    evento(eventos, "Cifrado", &ORVCriptoHill::Eventos::Cifrado);
    evento(eventos, "DesCifrado", &ORVCriptoHill::Eventos::DesCifrado);
    evento(eventos, "Inicio", &ORVCriptoHill::Eventos::Inicio);
    evento(eventos, "Progreso", &ORVCriptoHill::Eventos::Progreso);
    evento(eventos, "Fin", &ORVCriptoHill::Eventos::Fin);
  }
}

}  // namespace orvane
