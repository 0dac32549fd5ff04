// ORVCSVigenere and ORVCSXOR: the laboratories of the two periodic ciphers.
#pragma once

#include "orv/laboratorio.h"

namespace orv {

class ORVCSVigenere : public Laboratorio {
  Q_OBJECT

 public:
  explicit ORVCSVigenere(QWidget* parent = nullptr);
};

class ORVCSXOR : public Laboratorio {
  Q_OBJECT

 public:
  explicit ORVCSXOR(QWidget* parent = nullptr);
};

}  // namespace orv
