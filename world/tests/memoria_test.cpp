// Memory that runs out inside a member of Kestrin: the classic error 7, never
// a standard exception, and the object as it was. This program replaces the
// global allocation functions so that, while armed, every request from a
// given size up fails as it would on a full machine.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "kestrin/errores.h"
#include "kestrin/orvtexto.h"
#include "kestrin/orvw.h"
#include "linkmere/proveedor.h"

namespace {

std::atomic<size_t> umbral{0};  // 0: nothing fails

}  // namespace

// The replacements pair malloc with free, as they should.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t tam) {
  const size_t limite = umbral.load(std::memory_order_relaxed);
  if (limite != 0 && tam >= limite) throw std::bad_alloc();
  void* p = std::malloc(tam == 0 ? 1 : tam);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t tam) {
  return operator new(tam);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
  std::free(p);
}

namespace kestrin {
namespace {

// Requests of a megabyte or more fail while it lives.
class SinMemoria {
 public:
  SinMemoria() { umbral = size_t{1} << 20; }
  ~SinMemoria() { umbral = 0; }
  SinMemoria(const SinMemoria&) = delete;
  SinMemoria& operator=(const SinMemoria&) = delete;
};

void esperaErrorSiete(const std::function<void()>& llamada) {
  SinMemoria sin;
  try {
    llamada();
    ADD_FAILURE() << "sin error";
  } catch (const ErrorORV& e) {
    EXPECT_EQ(e.numero(), kMemoriaInsuficiente);
  }
}

// Half a million characters: two megabytes.
const Cadena kGrande(size_t{1} << 19, U'7');

TEST(MemoriaKestrin, ORVTextoKeepsItsTextAndKey) {
  const Cadena etiquetado = U"[ORVKey=008]" + kGrande;
  struct {
    const char* nombre;
    std::function<void(ORVTexto&)> llamada;
  } const casos[] = {
      {"Texto", [](ORVTexto& t) { t.setTexto(kGrande); }},
      {"Texto etiquetado", [&](ORVTexto& t) { t.setTexto(etiquetado); }},
      {"reemplaza compartido",
       [](ORVTexto& t) {
         const auto foto = t.TextoCompartido();  // held: the change must copy
         t.reemplaza(0, 0, kGrande);
       }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    ORVTexto t;
    t.setTexto(U"[ORVKey=002]corto");
    esperaErrorSiete([&] { c.llamada(t); });
    EXPECT_EQ(t.Key(), CSKAfin);
    EXPECT_EQ(aUtf8(t.Texto()), "corto");
  }
  ORVTexto largo;
  largo.asigna(kGrande, CSKVig);
  esperaErrorSiete([&] { largo.KeyText(); });
  EXPECT_EQ(largo.Texto().size(), kGrande.size());
}

TEST(MemoriaKestrin, ORVWMembers) {
  ORVW w({U"/nonexistent/orvane", std::make_shared<linkmere::ProveedorPrueba>()});
  const Cadena etiquetado = U"[ORVKey=008]" + kGrande;
  const Cadena cifras(size_t{1} << 21, U'1');  // its plain copy passes a megabyte
  Cadena buffer = kGrande;
  esperaErrorSiete([&] { w.XTrim(kGrande); });
  esperaErrorSiete([&] { w.CSText(etiquetado); });
  esperaErrorSiete([&] { w.setCSKey(buffer, CSKVig); });
  esperaErrorSiete([&] { w.Eval(cifras); });
  EXPECT_EQ(buffer, kGrande);
  // Small work goes on while large requests fail.
  SinMemoria sin;
  EXPECT_EQ(aUtf8(w.XTrim(Cadena(U" a\0b ", 5))), "a b");
  EXPECT_EQ(w.CSKey(etiquetado), CSKVig);
}

}  // namespace
}  // namespace kestrin
