// ORVCSHill: the laboratory of the Hill cipher.
#pragma once

#include "orv/laboratorio.h"

namespace orv {

class ORVCSHill : public Laboratorio {
  Q_OBJECT

 public:
  explicit ORVCSHill(QWidget* parent = nullptr);
};

}  // namespace orv
