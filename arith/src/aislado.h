// Work that may run long or crash, run in forked child processes.
//
// FLINT's sieve and GMP-ECM cannot be cancelled from inside and FLINT's sieve
// crashes when its working folder is not writable. Each task therefore runs in
// a child process whose working folder is a private temporary folder; the child
// is killed at the deadline and the folder removed afterwards, and a crash of
// the child is only a missing answer.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace numbrel::motor {

using Reloj = std::chrono::steady_clock;

// A task writes its answer to the descriptor it gets and returns; the child
// then exits. It must not touch anything of the parent but memory.
using Tarea = std::function<void(int fd)>;

struct ResultadoAislado {
  std::string salida;      // everything the task wrote
  bool terminado = false;  // the child returned normally (not killed, not crashed)
};

// Runs the tasks at once, one child each, and waits until all have ended or
// `limite` passes; then kills what still runs. With `basta` set, the first
// child that ends normally with some output stops the others. One result per
// task, in order. Never throws for a failing child.
std::vector<ResultadoAislado> ejecutaAislado(const std::vector<Tarea>& tareas,
                                             Reloj::time_point limite, bool basta);

}  // namespace numbrel::motor
