// Children of the helper program with a deadline and a private working
// folder (see aislado.h).
#include "aislado.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "llamada.h"

extern char** environ;

namespace numbrel::motor {
namespace {

// How often the wait looks at the call's cancellation: a cancelled call
// ends its children within this.
constexpr std::chrono::milliseconds kVistazo{40};

std::mutex mutexRuta;
std::string rutaFijada;

std::string carpetaTemporal() {
  const char* base = std::getenv("TMPDIR");
  std::string plantilla = std::string(base && *base ? base : "/tmp") + "/numbrel-XXXXXX";
  if (mkdtemp(plantilla.data()) == nullptr) {
    plantilla = "/tmp/numbrel-XXXXXX";
    if (mkdtemp(plantilla.data()) == nullptr) return {};
  }
  return plantilla;
}

struct Hijo {
  pid_t pid = -1;
  int fd = -1;
  std::string carpeta;
  std::string linea;  // a line not yet complete
};

// The children of one wait; whatever way the wait ends (an answer, the
// deadline, a cancellation, an exception from a listener), none outlives it
// and no folder stays behind.
struct Hijos {
  std::vector<Hijo> h;
  explicit Hijos(size_t n) : h(n) {}
  ~Hijos() {
    for (Hijo& hijo : h) {
      if (hijo.fd >= 0) close(hijo.fd);
      if (hijo.pid > 0) {
        kill(hijo.pid, SIGKILL);
        while (waitpid(hijo.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
      }
      if (!hijo.carpeta.empty()) {
        std::error_code ignorado;
        std::filesystem::remove_all(hijo.carpeta, ignorado);
      }
    }
  }
  Hijos(const Hijos&) = delete;
  Hijos& operator=(const Hijos&) = delete;
};

// Starts the helper for `tarea` with its standard output on `escritura` and
// its working folder `carpeta`; -1 when it cannot start.
pid_t lanza(const std::string& ruta, const Tarea& tarea, int escritura,
            const std::string& carpeta) {
  std::vector<std::string> argumentos;
  argumentos.reserve(tarea.size() + 2);
  argumentos.push_back(ruta);
  argumentos.push_back(std::to_string(getpid()));
  argumentos.insert(argumentos.end(), tarea.begin(), tarea.end());
  std::vector<char*> argv;
  for (std::string& a : argumentos) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t acciones;
  posix_spawnattr_t atributos;
  if (posix_spawn_file_actions_init(&acciones) != 0) return -1;
  if (posix_spawnattr_init(&atributos) != 0) {
    posix_spawn_file_actions_destroy(&acciones);
    return -1;
  }
  // The answer first: `escritura` may itself be one of 0 to 2.
  bool bien = posix_spawn_file_actions_adddup2(&acciones, escritura, STDOUT_FILENO) == 0 &&
              posix_spawn_file_actions_addopen(&acciones, STDIN_FILENO, "/dev/null", O_RDONLY,
                                               0) == 0 &&
              posix_spawn_file_actions_addopen(&acciones, STDERR_FILENO, "/dev/null", O_WRONLY,
                                               0) == 0 &&
              posix_spawn_file_actions_addchdir_np(&acciones, carpeta.c_str()) == 0;
  // Signals as a fresh program has them, whatever the parent blocks or ignores.
  sigset_t vacio, porDefecto;
  sigemptyset(&vacio);
  sigemptyset(&porDefecto);
  for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD, SIGALRM, SIGUSR1, SIGUSR2}) {
    sigaddset(&porDefecto, s);
  }
  bien = bien && posix_spawnattr_setsigmask(&atributos, &vacio) == 0 &&
         posix_spawnattr_setsigdefault(&atributos, &porDefecto) == 0 &&
         posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  pid_t pid = -1;
  if (bien && posix_spawn(&pid, ruta.c_str(), &acciones, &atributos, argv.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawnattr_destroy(&atributos);
  posix_spawn_file_actions_destroy(&acciones);
  return pid;
}

// Reaps a child whose output has closed; true when it exited normally with 0.
bool recoge(Hijo& h) {
  int estado = 0;
  pid_t r;
  while ((r = waitpid(h.pid, &estado, 0)) < 0 && errno == EINTR) {
  }
  h.pid = -1;
  return r > 0 && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

// Splits what arrived into progress lines (to the listener) and the answer.
void separa(Hijo& h, ResultadoAislado& r, size_t i, const AlAvanzar& alAvanzar, bool final) {
  size_t inicio = 0;
  for (;;) {
    const size_t fin = h.linea.find('\n', inicio);
    if (fin == std::string::npos) break;
    const std::string_view linea(h.linea.data() + inicio, fin - inicio);
    if (!linea.empty() && linea[0] == '#') {
      if (alAvanzar) alAvanzar(i, linea.substr(1));
    } else {
      r.salida.append(linea);
      r.salida.push_back('\n');
    }
    inicio = fin + 1;
  }
  h.linea.erase(0, inicio);
  if (final && !h.linea.empty() && h.linea[0] != '#') r.salida += h.linea;
  if (final) h.linea.clear();
}

}  // namespace

std::string rutaTrabajador() {
  {
    std::lock_guard<std::mutex> cerrojo(mutexRuta);
    if (!rutaFijada.empty()) return rutaFijada;
  }
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&rutaTrabajador), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  std::error_code ignorado;
  const std::filesystem::path biblioteca = std::filesystem::absolute(info.dli_fname, ignorado);
  return (biblioteca.parent_path() / "numbrel-trabajador").string();
}

void fijaRutaTrabajador(std::string ruta) {
  std::lock_guard<std::mutex> cerrojo(mutexRuta);
  rutaFijada = std::move(ruta);
}

std::vector<ResultadoAislado> ejecutaAislado(const std::vector<Tarea>& tareas,
                                             Reloj::time_point limite, bool basta,
                                             const AlAvanzar& alAvanzar) {
  std::vector<ResultadoAislado> resultados(tareas.size());
  if (cancelada()) return resultados;
  const std::string ruta = rutaTrabajador();
  Hijos hijos(tareas.size());
  for (size_t i = 0; i < tareas.size() && !ruta.empty(); ++i) {
    Hijo& h = hijos.h[i];
    h.carpeta = carpetaTemporal();
    if (h.carpeta.empty()) continue;
    int tubo[2];
    if (pipe2(tubo, O_CLOEXEC) != 0) continue;
    const pid_t pid = lanza(ruta, tareas[i], tubo[1], h.carpeta);
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
    for (size_t i = 0; i < hijos.h.size(); ++i) {
      if (hijos.h[i].fd >= 0) {
        vigilados.push_back({hijos.h[i].fd, POLLIN, 0});
        indices.push_back(i);
      }
    }
    if (vigilados.empty() || parar || cancelada()) break;
    const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - Reloj::now());
    if (resta.count() <= 0) break;
    const int listos = poll(vigilados.data(), vigilados.size(),
                            static_cast<int>(std::min<long long>(resta.count(), kVistazo.count())));
    if (listos < 0 && errno != EINTR) break;
    for (size_t k = 0; k < vigilados.size() && listos > 0; ++k) {
      if (vigilados[k].revents == 0) continue;
      const size_t i = indices[k];
      Hijo& h = hijos.h[i];
      char bloque[4096];
      const ssize_t leidos = read(h.fd, bloque, sizeof bloque);
      if (leidos > 0) {
        h.linea.append(bloque, static_cast<size_t>(leidos));
        separa(h, resultados[i], i, alAvanzar, false);
      } else if (leidos == 0 || errno != EINTR) {
        close(h.fd);
        h.fd = -1;
        separa(h, resultados[i], i, alAvanzar, true);
        ResultadoAislado& r = resultados[i];
        r.terminado = recoge(h);
        if (basta && r.terminado && !r.salida.empty()) parar = true;
      }
    }
  }
  // What a child still running had written counts as its (partial) answer.
  for (size_t i = 0; i < hijos.h.size(); ++i) {
    if (hijos.h[i].fd >= 0) separa(hijos.h[i], resultados[i], i, {}, true);
  }
  return resultados;
}

}  // namespace numbrel::motor
