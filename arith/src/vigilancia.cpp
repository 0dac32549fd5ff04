// The watcher of the big-number calls of each thread (see vigilancia.h).
#include "numbrel/vigilancia.h"

#include <utility>

namespace numbrel {
namespace {

std::shared_ptr<Vigilancia>& actual() {
  thread_local std::shared_ptr<Vigilancia> v;
  return v;
}

}  // namespace

AmbitoVigilancia::AmbitoVigilancia(std::shared_ptr<Vigilancia> v)
    : anterior_(std::exchange(actual(), std::move(v))) {}

AmbitoVigilancia::~AmbitoVigilancia() {
  actual() = std::move(anterior_);
}

const std::shared_ptr<Vigilancia>& vigilanciaActual() {
  return actual();
}

}  // namespace numbrel
