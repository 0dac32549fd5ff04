// What the RSA and knapsack laboratories share.
#include "orv/orvcspublico.h"
