// What the RSA and knapsack laboratories share.
#pragma once

#include "orv/laboratorio.h"
