// ORVCSSubst: the laboratory of the monoalphabetic substitution.
#pragma once

#include "orv/laboratorio.h"

namespace orv {

class ORVCSSubst : public Laboratorio {
  Q_OBJECT

 public:
  explicit ORVCSSubst(QWidget* parent = nullptr);
};

}  // namespace orv
