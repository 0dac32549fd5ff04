// Work that may run long or crash, run in child processes of the helper
// program numbrel-trabajador (see trabajador.cpp).
//
// FLINT's sieve and GMP-ECM cannot be cancelled from inside and FLINT's sieve
// crashes when its working folder is not writable. Each task therefore runs in
// a child process whose working folder is a private temporary folder; the child
// is killed at the deadline, or as soon as the current call is cancelled
// (llamada.h), and the folder removed afterwards; a crash of the child, or a
// missing helper, is only a missing answer.
//
// The children are started with posix_spawn, which runs nothing of this
// program between the fork and the exec of the helper: the service is used
// from multithreaded programs (an interface thread, workers), and a forked
// copy of such a process may find a lock held forever by a thread that does
// not exist in it.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace numbrel::motor {

using Reloj = std::chrono::steady_clock;

// A task: the helper's arguments after the parent's id, the task's name
// first ({"criba", "1234567"}).
using Tarea = std::vector<std::string>;

struct ResultadoAislado {
  std::string salida;      // everything the task wrote but its progress lines
  bool terminado = false;  // the child exited normally with status 0
};

// Hears a progress line of task `tarea` (without its "#" and line break), on
// the calling thread, as soon as it arrives. It may throw: the children are
// killed and the exception goes on to the caller.
using AlAvanzar = std::function<void(size_t tarea, std::string_view linea)>;

// Runs the tasks at once, one child each, and waits until all have ended, or
// `limite` passes, or the current call is cancelled; then kills what still
// runs. With `basta` set, the first child that ends normally with some
// output stops the others. One result per task, in order. Never throws for a
// failing child.
std::vector<ResultadoAislado> ejecutaAislado(const std::vector<Tarea>& tareas,
                                             Reloj::time_point limite, bool basta,
                                             const AlAvanzar& alAvanzar = {});

// The helper's path: numbrel-trabajador in the folder of the library's own
// file. fijaRutaTrabajador replaces it (for tests; "" restores it).
std::string rutaTrabajador();
void fijaRutaTrabajador(std::string ruta);

}  // namespace numbrel::motor
