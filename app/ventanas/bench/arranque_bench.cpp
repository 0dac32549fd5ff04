// Start-up of the program, measured from outside: the benchmark starts itself
// again as a child that does what the program does (libraries loaded, classes
// registered, the frame built, the splash shown, the workspace created) and
// reports on a pipe when the splash has been painted and when the main window
// is up and painted. The parent times those moments from before the child's
// start, so dynamic loading counts. The splash's five seconds are left out:
// the child closes it at once, as its button would.
//
// Usage: arranque_bench [veces]   (default 15)
#include <QApplication>
#include <QMdiArea>
#include <QPixmap>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "orv/arranque.h"
#include "orv/arte.h"
#include "orv/orvacercade.h"
#include "orv/orvprincipal.h"
#include "orv/version.h"

extern char** environ;

namespace {

using Reloj = std::chrono::steady_clock;

void avisa(const char* linea) {
  std::fputs(linea, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// The child: the program's start, reporting its two moments.
int hijo(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(orv::kProducto));
  QApplication::setWindowIcon(orv::arte::Icono(u"A"));
  orv::registraBibliotecas();
  orv::instalaProcesaEventos();
  orv::ORVPrincipal principal;
  principal.Arranca();
  orv::ORVAcercaDe* acerca = principal.VentanaAcercaDe();
  if (!acerca) return 1;
  QApplication::processEvents();
  (void)acerca->grab();
  avisa("acercade");
  acerca->close();
  QApplication::processEvents();
  if (!principal.isVisible()) return 1;
  (void)principal.grab();
  avisa("principal");
  return 0;
}

struct Medida {
  double acercaDe = 0;   // ms to the painted splash
  double principal = 0;  // ms to the painted main window
};

// Starts the child and times its reports; false when it fails or hangs.
bool unaVez(const char* programa, Medida& m) {
  int tubo[2];
  if (pipe(tubo) != 0) return false;
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_adddup2(&acciones, tubo[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&acciones, tubo[0]);
  // The platform's notices would mix with the figures.
  posix_spawn_file_actions_addopen(&acciones, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char* args[] = {const_cast<char*>(programa), const_cast<char*>("--hijo"), nullptr};
  const auto inicio = Reloj::now();
  pid_t pid = 0;
  const int error = posix_spawn(&pid, programa, &acciones, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&acciones);
  close(tubo[1]);
  if (error != 0) {
    close(tubo[0]);
    return false;
  }
  std::string recibido;
  bool completo = false;
  while (!completo) {
    pollfd p{tubo[0], POLLIN, 0};
    if (poll(&p, 1, 20000) <= 0) break;
    char bloque[256];
    const ssize_t n = read(tubo[0], bloque, sizeof bloque);
    if (n <= 0) break;
    const double ms = std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
    const size_t antes = recibido.size();
    recibido.append(bloque, static_cast<size_t>(n));
    if (recibido.find("acercade\n", antes >= 9 ? antes - 9 : 0) != std::string::npos &&
        m.acercaDe == 0) {
      m.acercaDe = ms;
    }
    if (recibido.find("principal\n") != std::string::npos) {
      m.principal = ms;
      completo = true;
    }
  }
  close(tubo[0]);
  int estado = 0;
  if (!completo) kill(pid, SIGKILL);
  waitpid(pid, &estado, 0);
  return completo && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

void informa(const char* que, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::printf("  %-36s mediana %7.1f ms   mínimo %7.1f ms   máximo %7.1f ms\n", que,
              v[v.size() / 2], v.front(), v.back());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1 && std::strcmp(argv[1], "--hijo") == 0) return hijo(argc, argv);
  const int veces = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string programa = [&] {
    char ruta[4096];
    const ssize_t n = readlink("/proc/self/exe", ruta, sizeof ruta - 1);
    return n > 0 ? std::string(ruta, static_cast<size_t>(n)) : std::string(argv[0]);
  }();

  std::vector<double> acercaDe, principal;
  Medida calentamiento;
  unaVez(programa.c_str(), calentamiento);  // fills the file cache first
  for (int i = 0; i < veces; ++i) {
    Medida m;
    if (!unaVez(programa.c_str(), m)) {
      std::fprintf(stderr, "El arranque %d no terminó\n", i + 1);
      return 1;
    }
    acercaDe.push_back(m.acercaDe);
    principal.push_back(m.principal);
  }
  std::printf(
      "Arranque del programa (%d veces, plataforma %s; objetivo: ventana principal en menos de "
      "1000 ms)\n",
      veces, std::getenv("QT_QPA_PLATFORM"));
  informa("ventana Acerca de pintada", acercaDe);
  informa("ventana principal lista y pintada", principal);
  return 0;
}
