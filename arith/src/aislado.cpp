// Forked workers with a deadline and a private working folder (see aislado.h).
#include "aislado.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace numbrel::motor {
namespace {

struct Hijo {
  pid_t pid = -1;
  int fd = -1;
  std::string carpeta;
};

std::string carpetaTemporal() {
  const char* base = std::getenv("TMPDIR");
  std::string plantilla = std::string(base && *base ? base : "/tmp") + "/numbrel-XXXXXX";
  if (mkdtemp(plantilla.data()) == nullptr) {
    plantilla = "/tmp/numbrel-XXXXXX";
    if (mkdtemp(plantilla.data()) == nullptr) return {};
  }
  return plantilla;
}

[[noreturn]] void vidaDelHijo(const Tarea& tarea, int fd, const std::string& carpeta) {
  // Libraries may print; the answer goes through the pipe only.
  const int nulo = open("/dev/null", O_WRONLY);
  if (nulo >= 0) dup2(nulo, STDOUT_FILENO);
  int estado = 1;
  if (chdir(carpeta.c_str()) == 0) {
    try {
      tarea(fd);
      estado = 0;
    } catch (...) {
    }
  }
  // _exit: no atexit handlers or destructors of the parent's objects run here.
  _exit(estado);
}

void mata(Hijo& h) {
  if (h.pid > 0) {
    kill(h.pid, SIGKILL);
    while (waitpid(h.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    h.pid = -1;
  }
}

// Reaps a child whose pipe has closed; true when it exited normally with 0.
bool recoge(Hijo& h) {
  int estado = 0;
  pid_t r;
  while ((r = waitpid(h.pid, &estado, 0)) < 0 && errno == EINTR) {
  }
  h.pid = -1;
  return r > 0 && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

}  // namespace

std::vector<ResultadoAislado> ejecutaAislado(const std::vector<Tarea>& tareas,
                                             Reloj::time_point limite, bool basta) {
  std::vector<ResultadoAislado> resultados(tareas.size());
  std::vector<Hijo> hijos(tareas.size());
  for (size_t i = 0; i < tareas.size(); ++i) {
    Hijo& h = hijos[i];
    h.carpeta = carpetaTemporal();
    if (h.carpeta.empty()) continue;
    int tubo[2];
    if (pipe2(tubo, O_CLOEXEC) != 0) continue;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
      close(tubo[0]);
      vidaDelHijo(tareas[i], tubo[1], h.carpeta);
    }
    close(tubo[1]);
    if (pid < 0) {
      close(tubo[0]);
      continue;
    }
    h.pid = pid;
    h.fd = tubo[0];
  }

  bool parar = false;
  for (;;) {
    std::vector<pollfd> vigilados;
    std::vector<size_t> indices;
    for (size_t i = 0; i < hijos.size(); ++i) {
      if (hijos[i].fd >= 0) {
        vigilados.push_back({hijos[i].fd, POLLIN, 0});
        indices.push_back(i);
      }
    }
    if (vigilados.empty() || parar) break;
    const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
    if (resta.count() <= 0) break;
    const int listos = poll(vigilados.data(), vigilados.size(),
                            static_cast<int>(std::min<long long>(resta.count(), 1000)));
    if (listos < 0 && errno != EINTR) break;
    for (size_t k = 0; k < vigilados.size() && listos > 0; ++k) {
      if (vigilados[k].revents == 0) continue;
      Hijo& h = hijos[indices[k]];
      char bloque[4096];
      const ssize_t leidos = read(h.fd, bloque, sizeof bloque);
      if (leidos > 0) {
        resultados[indices[k]].salida.append(bloque, static_cast<size_t>(leidos));
      } else if (leidos == 0 || errno != EINTR) {
        close(h.fd);
        h.fd = -1;
        ResultadoAislado& r = resultados[indices[k]];
        r.terminado = recoge(h);
        if (basta && r.terminado && !r.salida.empty()) parar = true;
      }
    }
  }

  for (size_t i = 0; i < hijos.size(); ++i) {
    Hijo& h = hijos[i];
    if (h.fd >= 0) {
      close(h.fd);
      h.fd = -1;
    }
    mata(h);
    if (!h.carpeta.empty()) {
      std::error_code ignorado;
      std::filesystem::remove_all(h.carpeta, ignorado);
    }
  }
  return resultados;
}

}  // namespace numbrel::motor
