// Placeholder until the tests land.
#include <gtest/gtest.h>
