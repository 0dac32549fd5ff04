// ORVCSRSA: the laboratory of RSA, with its key file.
#pragma once

#include "orv/laboratorio.h"

namespace orv {

class ORVCSRSA : public Laboratorio {
  Q_OBJECT

 public:
  explicit ORVCSRSA(QWidget* parent = nullptr);
};

}  // namespace orv
