// ORVCSMHM: the laboratory of the Merkle-Hellman knapsack, with its key file.
#pragma once

#include "orv/laboratorio.h"

namespace orv {

class ORVCSMHM : public Laboratorio {
  Q_OBJECT

 public:
  explicit ORVCSMHM(QWidget* parent = nullptr);
};

}  // namespace orv
