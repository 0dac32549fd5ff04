// Where the program's data files live: the program's folder while it can be
// written, else the user's settings folder.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "kestrin/orvw.h"

namespace kestrin {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNadie = 65534;

// A fresh folder under /tmp with the given permissions, removed afterwards.
class Carpeta {
 public:
  explicit Carpeta(mode_t modo = 0700) {
    char plantilla[] = "/tmp/kestrin-datos-XXXXXX";
    ruta_ = ::mkdtemp(plantilla);
    fs::permissions(ruta_, static_cast<fs::perms>(modo));
  }
  ~Carpeta() {
    std::error_code ec;
    fs::permissions(ruta_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(ruta_, ec);
  }
  const fs::path& ruta() const { return ruta_; }
  std::string texto() const { return ruta_.string(); }
  size_t ficheros() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(ruta_), {}));
  }

 private:
  fs::path ruta_;
};

// Runs `consulta` in a child process, so it may change the environment freely,
// and returns what it answers. With `sinPrivilegios`, a child of root first
// becomes user and group 65534: permission bits do not stop root, and an
// installed program's folder is read-only only to its users. Nothing when the
// child cannot drop its privileges or dies.
std::optional<std::string> enHijo(bool sinPrivilegios,
                                  const std::function<std::string()>& consulta) {
  int tubo[2];
  if (::pipe(tubo) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    ::close(tubo[0]);
    if (sinPrivilegios && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNadie) != 0 || ::setuid(kNadie) != 0)) {
      ::_exit(77);
    }
    const std::string respuesta = consulta();
    const bool escrito =
        ::write(tubo[1], respuesta.data(), respuesta.size()) ==
        static_cast<ssize_t>(respuesta.size());
    ::_exit(escrito ? 0 : 1);
  }
  ::close(tubo[1]);
  std::string respuesta;
  char bloque[512];
  for (ssize_t n; (n = ::read(tubo[0], bloque, sizeof bloque)) > 0;) respuesta.append(bloque, n);
  ::close(tubo[0]);
  int estado = 0;
  ::waitpid(pid, &estado, 0);
  if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) return std::nullopt;
  return respuesta;
}

std::string datos(const std::string& programa) {
  return aUtf8(carpetaDatos(desdeUtf8(programa)));
}

TEST(CarpetaDatos, AWritableProgramFolderHoldsTheFilesAndIsLeftClean) {
  Carpeta programa;
  Carpeta config;
  // Even with a user's folder at hand, the program's own folder comes first.
  const auto elegida = enHijo(false, [&] {
    ::setenv("XDG_CONFIG_HOME", config.texto().c_str(), 1);
    return datos(programa.texto());
  });
  EXPECT_EQ(elegida, programa.texto());
  EXPECT_EQ(programa.ficheros(), 0u);  // the trial file is gone
  EXPECT_EQ(config.ficheros(), 0u);    // and nothing was made for the user
}

TEST(CarpetaDatos, AReadOnlyProgramFolderSendsThemToTheUsersFolder) {
  Carpeta programa(0555);
  Carpeta config(0777);
  const Carpeta ausente;
  const auto respuesta = enHijo(true, [&] {
    ::setenv("XDG_CONFIG_HOME", config.texto().c_str(), 1);
    return datos(programa.texto()) + "\n" + datos((ausente.ruta() / "falta").string());
  });
  ASSERT_TRUE(respuesta) << "the child could not run as user " << kNadie;
  const std::string usuario = config.texto() + "/ORV";
  EXPECT_EQ(*respuesta, usuario + "\n" + usuario);
  EXPECT_TRUE(fs::is_directory(usuario));  // made, so the profile can be written
  EXPECT_EQ(programa.ficheros(), 0u);
}

TEST(CarpetaDatos, TheUsersFolderFollowsXdgElseHome) {
  const auto respuesta = enHijo(false, [] {
    std::string r;
    ::setenv("HOME", "/casa/ana", 1);
    ::setenv("XDG_CONFIG_HOME", "/conf", 1);
    r += aUtf8(carpetaUsuario()) + "\n";
    ::setenv("XDG_CONFIG_HOME", "relativa", 1);  // not absolute: ignored
    r += aUtf8(carpetaUsuario()) + "\n";
    ::unsetenv("XDG_CONFIG_HOME");
    r += aUtf8(carpetaUsuario()) + "\n";
    ::setenv("HOME", "", 1);
    r += aUtf8(carpetaUsuario()) + "|";
    return r;
  });
  ASSERT_TRUE(respuesta);
  EXPECT_EQ(*respuesta, "/conf/ORV\n/casa/ana/.config/ORV\n/casa/ana/.config/ORV\n|");
}

TEST(CarpetaDatos, WithoutAHomeAReadOnlyProgramFolderIsKept) {
  Carpeta programa(0555);
  const auto respuesta = enHijo(true, [&] {
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    return datos(programa.texto());
  });
  ASSERT_TRUE(respuesta);
  EXPECT_EQ(*respuesta, programa.texto());
}

// The workspace object of an installed program (the executable's folder is
// root's and read-only to a user) reads and writes its profile in the user's
// folder.
TEST(CarpetaDatos, TheWorkspaceProfileOfAnInstalledProgramIsTheUsers) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs root, to run as a user the executable's folder is closed to";
  }
  Carpeta config(0777);
  const auto respuesta = enHijo(true, [&] {
    ::setenv("XDG_CONFIG_HOME", config.texto().c_str(), 1);
    const ORVW w;
    const bool escrito = w.WriteProfile(U"Buzón", U"username", U"ana", w.Perfil());
    return aUtf8(w.Carpeta()) + "\n" + aUtf8(w.Perfil()) + "\n" + (escrito ? "escrito" : "no") +
           "\n" + aUtf8(w.GetProfile(U"Buzón", U"username", U"", w.Perfil()));
  });
  ASSERT_TRUE(respuesta);
  const std::string usuario = config.texto() + "/ORV";
  EXPECT_EQ(*respuesta, usuario + "\n" + usuario + "/ORV.INI\nescrito\nana");
}

}  // namespace
}  // namespace kestrin
