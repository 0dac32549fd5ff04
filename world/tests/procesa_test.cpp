// The user-interface hook of long work.
#include "kestrin/procesa.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(ProcesaEventos, DoesNothingUntilSetAndStopsWhenCleared) {
  ProcesaEventos();  // no hook: nothing happens
  int llamadas = 0;
  fijaProcesaEventos([&] { ++llamadas; });
  ProcesaEventos();
  ProcesaEventos();
  EXPECT_EQ(llamadas, 2);
  fijaProcesaEventos(nullptr);
  ProcesaEventos();
  EXPECT_EQ(llamadas, 2);
}

}  // namespace
}  // namespace kestrin
