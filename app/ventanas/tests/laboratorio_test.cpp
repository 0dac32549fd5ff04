// Placeholder until the window's tests land.
#include <gtest/gtest.h>
