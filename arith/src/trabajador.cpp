// numbrel-trabajador: the helper program that runs the big-number service's
// long or fragile work (FLINT's sieve, GMP-ECM curves, BPSW on huge numbers)
// in a process of its own.
//
//   numbrel-trabajador PID TAREA ARGUMENTOS...
//
// PID is the process that started it: the helper dies with it
// (PR_SET_PDEATHSIG) and refuses to start when it is already gone. Answers
// and progress go to standard output; progress lines start with "#". Standard
// output is kept for them alone: whatever a library prints goes to
// /dev/null. The working folder is the private temporary folder the service
// made for it (FLINT's sieve writes its file there).
//
// Being a program of its own, it starts from a clean state: none of the locks
// the service's multithreaded parent may hold at the time it starts (its
// allocator, FLINT's thread pool, the streams, the random generator) exist here.
//
// Tasks:
//   criba N      factors of N: "p e" lines, then "FIN"; progress "#E etapa hecho
//                total" per curve of the short ECM pass, "#Q" when sieving
//   ecm N K      GMP-ECM with growing bounds, as one of K workers: "D d";
//                progress "#E etapa hecho total" per curve
//   primo N      BPSW: "1" or "0"
// and, for the service's own tests of its worker machinery:
//   eco TEXTO    writes TEXTO        relleno K   writes K times "x"
//   cuelga TEXTO writes TEXTO, then waits forever
//   espera       writes "#" and its process id, then waits forever
//   revienta     dies by a signal    falla       exits with status 1
//   carpeta      writes a file in its folder, then the folder's path
//   carpeta-cuelga  the same, then waits forever
#include <ecm.h>
#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <flint/qsieve.h>
#include <fcntl.h>
#include <gmpxx.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int salida = -1;  // the real standard output

void escribe(const std::string& texto) {
  size_t hecho = 0;
  while (hecho < texto.size()) {
    const ssize_t n = write(salida, texto.data() + hecho, texto.size() - hecho);
    if (n <= 0) _exit(4);  // the service has gone
    hecho += static_cast<size_t>(n);
  }
}

[[noreturn]] void termina(int estado) {
  // _exit: nothing else to flush, and no exit-time work (FLINT's caches are
  // the system's to free with the process).
  _exit(estado);
}

[[noreturn]] void esperaSiempre() {
  for (;;) pause();
}

bool leeNumero(const char* texto, mpz_class& n) {
  return texto != nullptr && n.set_str(texto, 10) == 0 && n > 1;
}

size_t digitos(const mpz_class& c) {
  return mpz_sizeinbase(c.get_mpz_t(), 10);
}

// A proper divisor of c from up to `curvas` GMP-ECM curves of bound b1, or
// 0; each curve is reported as "#E etapa hecho curvas".
mpz_class divisorEcm(const mpz_class& c, double b1, int curvas, int etapa) {
  for (int i = 0; i < curvas; ++i) {
    // A fresh parameter set each curve: a new random sigma, starting point and bounds.
    ecm_params q;
    ecm_init(q);
    mpz_class f = 0, n = c;
    const int r = ecm_factor(f.get_mpz_t(), n.get_mpz_t(), b1, q);
    ecm_clear(q);
    if (r > 0 && f > 1 && f < c) return f;
    if (r < 0) break;
    escribe("#E " + std::to_string(etapa) + " " + std::to_string(i + 1) + " " +
            std::to_string(curvas) + "\n");
  }
  return 0;
}

std::string lineasFactores(const fmpz_factor_t fac, mpz_class& producto) {
  std::string texto;
  producto = 1;
  for (slong i = 0; i < fac->num; ++i) {
    mpz_class p, potencia;
    fmpz_get_mpz(p.get_mpz_t(), fac->p + i);
    mpz_pow_ui(potencia.get_mpz_t(), p.get_mpz_t(), fac->exp[i]);
    producto *= potencia;
    texto += p.get_str(10) + " " + std::to_string(fac->exp[i]) + "\n";
  }
  return texto;
}

// Factors of c from FLINT on both cores (factors that are not prime are
// split again by the service). From 55 digits, where the sieve dominates, a
// short ECM pass for factors of up to about 18 digits replaces FLINT's own
// longer one before the sieve.
void criba(const mpz_class& c) {
  flint_set_num_threads(2);
  fmpz_t f;
  fmpz_init(f);
  fmpz_set_mpz(f, c.get_mpz_t());
  fmpz_factor_t fac;
  fmpz_factor_init(fac);
  mpz_class producto;
  std::string texto;
  if (digitos(c) >= 55) {
    mpz_class d = divisorEcm(c, 2000, 25, 0);
    if (d == 0) d = divisorEcm(c, 11000, 40, 1);
    if (d != 0) {
      const mpz_class otro = c / d;
      escribe(d.get_str(10) + " 1\n" + otro.get_str(10) + " 1\nFIN\n");
      return;
    }
    escribe("#Q\n");
    qsieve_factor(fac, f);
    texto = lineasFactores(fac, producto);
  } else {
    escribe("#Q\n");
  }
  if (producto != c) {
    fmpz_factor_clear(fac);
    fmpz_factor_init(fac);
    fmpz_factor(fac, f);
    texto = lineasFactores(fac, producto);
  }
  escribe(texto + "FIN\n");
}

// GMP-ECM curves with growing bounds until a proper divisor appears: "D d".
// `trabajadores` workers share each stage's curves.
void ecm(const mpz_class& c, int trabajadores) {
  struct Etapa {
    double b1;
    int curvas;
  };
  // Bounds and curve counts aimed at factors of 15, 20, 25, 30 and 35 digits.
  // The 20-digit stage is cut short: the 25-digit curves still find such
  // factors within a few dozen, and every curve spent below them delays the
  // larger factors, which on numbers this long cost seconds. The last stage
  // goes on until the service stops it.
  static constexpr Etapa kEtapas[] = {{2000, 25},    {11000, 40},     {50000, 300},
                                      {250000, 700}, {1000000, 1800}, {3000000, INT_MAX}};
  int etapa = 0;
  for (const Etapa& e : kEtapas) {
    const int curvas = e.curvas == INT_MAX ? INT_MAX : (e.curvas + trabajadores - 1) / trabajadores;
    const mpz_class f = divisorEcm(c, e.b1, curvas, etapa++);
    if (f != 0) {
      escribe("D " + f.get_str(10) + "\n");
      return;
    }
  }
}

bool esPrimoProbable(const mpz_class& n) {
  fmpz_t f;
  fmpz_init(f);
  fmpz_set_mpz(f, n.get_mpz_t());
  const bool primo = fmpz_is_probabprime(f) != 0;
  fmpz_clear(f);
  return primo;
}

void escribeCarpeta(const char* fichero) {
  std::FILE* f = std::fopen(fichero, "w");
  if (f == nullptr) termina(2);
  std::fputs("datos", f);
  std::fclose(f);
  char ruta[4096];
  if (getcwd(ruta, sizeof ruta) == nullptr) termina(2);
  escribe(ruta);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  // Die with the service, and not start for a service that has already gone.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (std::to_string(getppid()) != argv[1]) termina(3);
  salida = dup(STDOUT_FILENO);
  const int nulo = open("/dev/null", O_WRONLY);
  if (salida < 0 || nulo < 0 || dup2(nulo, STDOUT_FILENO) < 0) termina(2);

  const std::string tarea = argv[2];
  const char* arg = argc > 3 ? argv[3] : nullptr;
  const char* arg2 = argc > 4 ? argv[4] : nullptr;
  mpz_class n;
  if (tarea == "criba" && leeNumero(arg, n)) {
    criba(n);
  } else if (tarea == "ecm" && leeNumero(arg, n) && arg2 != nullptr) {
    ecm(n, std::max(1, std::atoi(arg2)));
  } else if (tarea == "primo" && leeNumero(arg, n)) {
    escribe(esPrimoProbable(n) ? "1" : "0");
  } else if (tarea == "eco" && arg != nullptr) {
    escribe(arg);
  } else if (tarea == "relleno" && arg != nullptr) {
    escribe(std::string(std::strtoul(arg, nullptr, 10), 'x'));
  } else if (tarea == "cuelga" && arg != nullptr) {
    escribe(arg);
    esperaSiempre();
  } else if (tarea == "espera") {
    escribe("#" + std::to_string(getpid()) + "\n");
    esperaSiempre();
  } else if (tarea == "revienta") {
    std::abort();
  } else if (tarea == "carpeta") {
    escribeCarpeta("trabajo.dat");
  } else if (tarea == "carpeta-cuelga") {
    escribeCarpeta("siqs.dat");
    esperaSiempre();
  } else {
    termina(1);
  }
  termina(0);
}
