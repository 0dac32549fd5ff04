// Children of the helper program: answers, progress, deadlines, crashes,
// cancellation, the private working folder and a missing helper.
#include "aislado.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "llamada.h"

namespace numbrel::motor {
namespace {

using namespace std::chrono_literals;

// Whether process `pid` is gone (or only a zombie nobody has reaped yet).
bool acabado(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string linea;
  if (!std::getline(stat, linea)) return true;
  const size_t cierre = linea.rfind(')');
  return cierre != std::string::npos && cierre + 2 < linea.size() && linea[cierre + 2] == 'Z';
}

// Waits (a generous bound, measured) for a process to end.
bool acabaPronto(pid_t pid) {
  const auto hasta = Reloj::now() + 10s;
  while (!acabado(pid)) {
    if (Reloj::now() > hasta) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

TEST(AisladoTest, CollectsEveryAnswerInOrder) {
  const auto r =
      ejecutaAislado({{"eco", "uno"}, {"relleno", "100000"}}, Reloj::now() + 30s, false);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_TRUE(r[0].terminado);
  EXPECT_EQ(r[0].salida, "uno");
  EXPECT_TRUE(r[1].terminado);
  EXPECT_EQ(r[1].salida, std::string(100000, 'x'));
}

TEST(AisladoTest, ProgressLinesGoToTheListenerNotTheAnswer) {
  std::vector<std::string> avances;
  const auto r = ejecutaAislado({{"eco", "#E 0 1 25\nD 7\n#Q\n"}}, Reloj::now() + 30s, false,
                                [&](size_t i, std::string_view l) {
                                  EXPECT_EQ(i, 0u);
                                  avances.emplace_back(l);
                                });
  EXPECT_TRUE(r[0].terminado);
  EXPECT_EQ(r[0].salida, "D 7\n");
  EXPECT_EQ(avances, (std::vector<std::string>{"E 0 1 25", "Q"}));
}

TEST(AisladoTest, DeadlineKillsWorkThatNeverEnds) {
  const auto inicio = Reloj::now();
  const auto r = ejecutaAislado({{"cuelga", "parcial"}}, inicio + 300ms, false);
  EXPECT_LT(Reloj::now() - inicio, 10s);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_EQ(r[0].salida, "parcial");
}

TEST(AisladoTest, ACrashIsOnlyAMissingAnswer) {
  const auto r =
      ejecutaAislado({{"revienta"}, {"falla"}, {"eco", "bien"}}, Reloj::now() + 30s, false);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_FALSE(r[1].terminado);
  EXPECT_TRUE(r[2].terminado);
  EXPECT_EQ(r[2].salida, "bien");
}

TEST(AisladoTest, FirstAnswerStopsTheOthers) {
  const auto inicio = Reloj::now();
  const auto r = ejecutaAislado({{"cuelga", "x"}, {"eco", "D 7"}}, inicio + 60s, true);
  EXPECT_LT(Reloj::now() - inicio, 10s);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_EQ(r[1].salida, "D 7");
}

TEST(AisladoTest, WorksInAPrivateWritableFolderThatIsRemoved) {
  // The parent's own folder may be read-only; the worker's is its own.
  const auto r = ejecutaAislado({{"carpeta"}}, Reloj::now() + 30s, false);
  ASSERT_TRUE(r[0].terminado);
  const std::filesystem::path carpeta = r[0].salida;
  EXPECT_NE(carpeta, std::filesystem::current_path());
  EXPECT_NE(carpeta.filename().string().find("numbrel-"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(carpeta));
}

TEST(AisladoTest, KilledWorkLeavesNoFolderBehind) {
  const auto r = ejecutaAislado({{"carpeta-cuelga"}}, Reloj::now() + 500ms, false);
  ASSERT_FALSE(r[0].salida.empty());
  EXPECT_FALSE(std::filesystem::exists(r[0].salida));
}

TEST(AisladoTest, CancellingTheCallKillsTheChildrenAtOnce) {
  Llamada llamada(nullptr, {});
  AmbitoLlamada ambito(llamada);
  std::atomic<pid_t> pid{-1};
  std::thread cancela([&] {
    std::this_thread::sleep_for(300ms);
    llamada.cancela();
  });
  const auto inicio = Reloj::now();
  const auto r = ejecutaAislado({{"espera"}, {"cuelga", "x"}}, inicio + 60s, false,
                                [&](size_t, std::string_view l) { pid = std::stoi(std::string(l)); });
  const auto tardanza = Reloj::now() - inicio;
  cancela.join();
  EXPECT_LT(tardanza, 1300ms);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_FALSE(r[1].terminado);
  ASSERT_GT(pid.load(), 0);
  EXPECT_TRUE(acabado(pid));
  // A call already cancelled starts nothing.
  const auto otra = ejecutaAislado({{"eco", "uno"}}, Reloj::now() + 30s, false);
  EXPECT_TRUE(otra[0].salida.empty());
}

TEST(AisladoTest, AListenerThatThrowsLeavesNoChildBehind) {
  pid_t pid = -1;
  EXPECT_THROW(ejecutaAislado({{"espera"}}, Reloj::now() + 60s, false,
                              [&](size_t, std::string_view l) {
                                pid = std::stoi(std::string(l));
                                throw std::runtime_error("manejador");
                              }),
               std::runtime_error);
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(acabado(pid));
}

TEST(AisladoTest, AMissingHelperIsOnlyAMissingAnswer) {
  EXPECT_TRUE(std::filesystem::exists(rutaTrabajador())) << rutaTrabajador();
  fijaRutaTrabajador("/no/existe/numbrel-trabajador");
  const auto r = ejecutaAislado({{"eco", "uno"}}, Reloj::now() + 30s, false);
  fijaRutaTrabajador("");
  EXPECT_FALSE(r[0].terminado);
  EXPECT_TRUE(r[0].salida.empty());
  EXPECT_EQ(ejecutaAislado({{"eco", "uno"}}, Reloj::now() + 30s, false)[0].salida, "uno");
}

TEST(AisladoTest, TheHelperDiesWithAProgramThatCrashes) {
  int tubo[2];
  ASSERT_EQ(pipe(tubo), 0);
  const pid_t intermedio = fork();
  ASSERT_GE(intermedio, 0);
  if (intermedio == 0) {
    // A program that starts a worker and is then killed before it can end it.
    close(tubo[0]);
    ejecutaAislado({{"espera"}}, Reloj::now() + 60s, false, [&](size_t, std::string_view l) {
      const std::string pid(l);
      if (write(tubo[1], pid.data(), pid.size()) < 0) _exit(1);
      close(tubo[1]);
    });
    _exit(0);
  }
  close(tubo[1]);
  char texto[32] = {};
  const ssize_t n = read(tubo[0], texto, sizeof texto - 1);
  close(tubo[0]);
  kill(intermedio, SIGKILL);
  waitpid(intermedio, nullptr, 0);
  ASSERT_GT(n, 0);
  const pid_t trabajador = std::atoi(texto);
  ASSERT_GT(trabajador, 0);
  EXPECT_TRUE(acabaPronto(trabajador));
}

}  // namespace
}  // namespace numbrel::motor
