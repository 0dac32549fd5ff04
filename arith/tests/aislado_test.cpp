// Forked workers: answers, deadlines, crashes and the private working folder.
#include "aislado.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace numbrel::motor {
namespace {

using namespace std::chrono_literals;

void escribe(int fd, const std::string& s) {
  if (write(fd, s.data(), s.size()) < 0) _exit(3);
}

TEST(AisladoTest, CollectsEveryAnswerInOrder) {
  const auto r = ejecutaAislado(
      {[](int fd) { escribe(fd, "uno"); }, [](int fd) { escribe(fd, std::string(100000, 'x')); }},
      Reloj::now() + 30s, false);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_TRUE(r[0].terminado);
  EXPECT_EQ(r[0].salida, "uno");
  EXPECT_TRUE(r[1].terminado);
  EXPECT_EQ(r[1].salida.size(), 100000u);
}

TEST(AisladoTest, DeadlineKillsWorkThatNeverEnds) {
  const auto inicio = Reloj::now();
  const auto r = ejecutaAislado({[](int fd) {
                                  escribe(fd, "parcial");
                                  for (;;) pause();
                                }},
                                inicio + 300ms, false);
  EXPECT_LT(Reloj::now() - inicio, 10s);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_EQ(r[0].salida, "parcial");
}

TEST(AisladoTest, ACrashIsOnlyAMissingAnswer) {
  // A death by signal, as when the sieve crashes (abort keeps sanitizer logs quiet).
  const auto r = ejecutaAislado(
      {[](int) { std::abort(); }, [](int) { throw 1; }, [](int fd) { escribe(fd, "bien"); }},
      Reloj::now() + 30s, false);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_FALSE(r[1].terminado);
  EXPECT_TRUE(r[2].terminado);
  EXPECT_EQ(r[2].salida, "bien");
}

TEST(AisladoTest, FirstAnswerStopsTheOthers) {
  const auto inicio = Reloj::now();
  const auto r = ejecutaAislado({[](int) {
                                   for (;;) pause();
                                 },
                                 [](int fd) { escribe(fd, "D 7"); }},
                                inicio + 60s, true);
  EXPECT_LT(Reloj::now() - inicio, 10s);
  EXPECT_FALSE(r[0].terminado);
  EXPECT_EQ(r[1].salida, "D 7");
}

TEST(AisladoTest, WorksInAPrivateWritableFolderThatIsRemoved) {
  // The parent's own folder may be read-only; the worker's is its own.
  const auto r = ejecutaAislado({[](int fd) {
                                  std::FILE* f = std::fopen("trabajo.dat", "w");
                                  if (f == nullptr) _exit(2);
                                  std::fputs("datos", f);
                                  std::fclose(f);
                                  escribe(fd, std::filesystem::current_path().string());
                                }},
                                Reloj::now() + 30s, false);
  ASSERT_TRUE(r[0].terminado);
  const std::filesystem::path carpeta = r[0].salida;
  EXPECT_NE(carpeta, std::filesystem::current_path());
  EXPECT_NE(carpeta.filename().string().find("numbrel-"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(carpeta));
}

TEST(AisladoTest, KilledWorkLeavesNoFolderBehind) {
  const auto r = ejecutaAislado({[](int fd) {
                                  std::FILE* f = std::fopen("siqs.dat", "w");
                                  if (f) std::fclose(f);
                                  escribe(fd, std::filesystem::current_path().string());
                                  for (;;) pause();
                                }},
                                Reloj::now() + 500ms, false);
  ASSERT_FALSE(r[0].salida.empty());
  EXPECT_FALSE(std::filesystem::exists(r[0].salida));
}

}  // namespace
}  // namespace numbrel::motor
