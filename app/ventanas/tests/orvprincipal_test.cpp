// The main frame driven as a user would: menu clicks, F1, the context menu.
#include "orv/orvprincipal.h"

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>

#include "kestrin/orvimagen.h"
#include "orv/orvacercade.h"
#include "vimbar/vimbar.h"

namespace orv {
namespace {

TEST(ORVPrincipal, LoadBuildsTheMenuAndStartsTheTimer) {
  ORVPrincipal principal;
  EXPECT_EQ(principal.windowTitle(), QStringLiteral("Orvane"));
  EXPECT_EQ(principal.VMenu()->menu()->MenusMax(), 2);
  EXPECT_TRUE(principal.TimerBaila()->isActive());
  EXPECT_EQ(principal.TimerBaila()->interval(), 50000);
  EXPECT_FALSE(principal.FraseActual().empty());
}

}  // namespace
}  // namespace orv
