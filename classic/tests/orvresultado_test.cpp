// Counted fragments and their sort by count.
#include "tarnel/orvresultado.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

#include "kestrin/errores.h"

namespace tarnel {
namespace {

std::vector<int32_t> cuentas(const ORVResultado& r) {
  std::vector<int32_t> v;
  for (const auto& item : r) v.push_back(item->Frecuencia());
  return v;
}

TEST(ORVResultado, AddMergesKeysWithoutRegardToCase) {
  ORVResultado r;
  r.Add(U"ab");
  const auto item = r.Add(U"ab");
  EXPECT_EQ(r.Add(U"AB", 3), item);
  EXPECT_EQ(r.Count(), 1);
  EXPECT_EQ(item->Texto(), U"ab");
  EXPECT_EQ(item->Frecuencia(), 5);
  EXPECT_EQ(r.Total(), 5);
  r.Add(U"Ñ");
  EXPECT_EQ(r.Item(U"ñ")->Texto(), U"Ñ");
  EXPECT_EQ(r.Item(2)->Texto(), U"Ñ");
  EXPECT_EQ(r.Total(), 6);
}

TEST(ORVResultado, MissingItemsAreErrorsToReadAndIgnoredToRemove) {
  ORVResultado r;
  r.Add(U"a", 2);
  r.Add(U"b", 3);
  EXPECT_THROW(r.Item(0), kestrin::ErrorSubindice);
  EXPECT_THROW(r.Item(3), kestrin::ErrorSubindice);
  try {
    r.Item(U"z");
    FAIL();
  } catch (const kestrin::ErrorORV& e) {
    EXPECT_EQ(e.numero(), 5);
  }
  r.Remove(U"z");
  r.Remove(7);
  EXPECT_EQ(r.Count(), 2);
  EXPECT_EQ(r.Total(), 5);
  r.Remove(U"A");
  EXPECT_EQ(r.Count(), 1);
  EXPECT_EQ(r.Total(), 3);
  EXPECT_EQ(r.Item(1)->Texto(), U"b");
  r.Remove(1);
  EXPECT_EQ(r.Total(), 0);
  r.Add(U"a");  // a removed key can be added again
  EXPECT_EQ(r.Item(U"a")->Frecuencia(), 1);
  r.Vacia();
  EXPECT_EQ(r.Count(), 0);
  EXPECT_EQ(r.Total(), 0);
}

TEST(ORVResultado, CountOverflowRaisesAndChangesNothing) {
  ORVResultado r;
  r.Add(U"a", std::numeric_limits<int32_t>::max() - 1);
  EXPECT_THROW(r.Add(U"a", 2), kestrin::ErrorDesbordamiento);
  EXPECT_THROW(r.Add(U"b", 2), kestrin::ErrorDesbordamiento);
  EXPECT_EQ(r.Count(), 1);
  EXPECT_EQ(r.Total(), std::numeric_limits<int32_t>::max() - 1);
  EXPECT_EQ(r.Item(1)->Frecuencia(), std::numeric_limits<int32_t>::max() - 1);
}

TEST(ORVResultado, OrdenaSortsByCountAndLeavesKeysWithTheObjects) {
  ORVResultado r;
  r.Add(U"x", 1);
  r.Add(U"y", 5);
  r.Add(U"z", 3);
  r.Ordena();
  EXPECT_EQ(cuentas(r), (std::vector<int32_t>{5, 3, 1}));
  EXPECT_EQ(r.Item(1)->Texto(), U"y");
  EXPECT_EQ(r.Item(3)->Texto(), U"x");
  // The key "x" still names the first object, which now holds "y".
  EXPECT_EQ(r.Item(U"x")->Texto(), U"y");
  EXPECT_EQ(r.Total(), 9);
}

TEST(ORVResultado, OrdenaHandlesEqualRunsAndLargeInputs) {
  std::mt19937 azar(7);
  for (const int n : {0, 1, 2, 3, 10, 1000, 100000}) {
    for (const int distintos : {1, 3, 10000}) {
      ORVResultado r;
      std::uniform_int_distribution<int32_t> d(0, distintos);
      for (int i = 0; i < n; ++i) r.Add(kestrin::Cadena(U"k") + static_cast<char32_t>(0x100 + i), d(azar));
      auto esperado = cuentas(r);
      std::sort(esperado.begin(), esperado.end(), std::greater<>());
      r.Ordena();
      ASSERT_EQ(cuentas(r), esperado) << n << " " << distintos;
    }
  }
  // Already sorted and reversed inputs keep the recursion shallow.
  ORVResultado creciente;
  for (int i = 0; i < 60000; ++i) creciente.Add(kestrin::Cadena(1, 0x10000 + i), i);
  creciente.Ordena();
  EXPECT_EQ(creciente.Item(1)->Frecuencia(), 59999);
  EXPECT_EQ(creciente.Item(60000)->Frecuencia(), 0);
}

}  // namespace
}  // namespace tarnel
