// kill_at_step.c — preloaded into the game by kill_test.sh to kill it with
// SIGKILL at an exact step of a save, which no timer can hit reliably on a
// busy machine. The steps of a save are: its temporary ".part" file opened,
// each write into it, its flush, sync and close, and the rename over the old
// file (before and after). Only saves whose temporary name contains
// KILL_KIND count; the process kills itself just before step KILL_AT_STEP
// (just after, for the open and the rename's second step). A run that is not
// killed writes its step counts for each kind of file to KILL_STEPS_FILE.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char* const Kinds[] = {"Setup.ini.", "scores.dat.", ".png.", ""};
enum { KIND_COUNT = 4 };
static long StepsOf[KIND_COUNT];
static int SavingFd = -1, SavingKind = 0;

#define REAL(name)               \
  static __typeof__(name)* real; \
  if (!real) real = (__typeof__(name)*)dlsym(RTLD_NEXT, #name)

static int KindOf(const char* path) {
  int k = 0;
  while (Kinds[k][0] && !strstr(path, Kinds[k])) k++;
  return k;
}

static void Step(int kind) {
  long n = ++StepsOf[kind];
  const char* wanted = getenv("KILL_KIND");
  const char* at = getenv("KILL_AT_STEP");
  if (wanted && at && strstr(Kinds[kind], wanted) && kind != KIND_COUNT - 1 && n == atol(at)) kill(getpid(), SIGKILL);
}

static int EndsWithPart(const char* path) {
  size_t n = strlen(path);
  return n > 5 && strcmp(path + n - 5, ".part") == 0;
}

static int Opened(int fd, const char* path) {
  if (fd >= 0 && EndsWithPart(path)) {
    SavingFd = fd;
    SavingKind = KindOf(path);
    Step(SavingKind);
  }
  return fd;
}

int open(const char* path, int flags, ...) {
  REAL(open);
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & O_CREAT) ? (mode_t)va_arg(args, int) : 0;
  va_end(args);
  return Opened(real(path, flags, mode), path);
}

int open64(const char* path, int flags, ...) {
  REAL(open64);
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & O_CREAT) ? (mode_t)va_arg(args, int) : 0;
  va_end(args);
  return Opened(real(path, flags, mode), path);
}

static int Saving(FILE* f) { return SavingFd >= 0 && f && fileno(f) == SavingFd; }

size_t fwrite(const void* data, size_t size, size_t count, FILE* f) {
  REAL(fwrite);
  if (Saving(f)) Step(SavingKind);
  return real(data, size, count, f);
}

int fflush(FILE* f) {
  REAL(fflush);
  if (Saving(f)) Step(SavingKind);
  return real(f);
}

int fsync(int fd) {
  REAL(fsync);
  if (fd == SavingFd) Step(SavingKind);
  return real(fd);
}

int fclose(FILE* f) {
  REAL(fclose);
  if (Saving(f)) {
    Step(SavingKind);
    SavingFd = -1;
  }
  return real(f);
}

int rename(const char* from, const char* to) {
  REAL(rename);
  if (!EndsWithPart(from)) return real(from, to);
  int kind = KindOf(from);
  Step(kind);
  int result = real(from, to);
  Step(kind);
  return result;
}

__attribute__((destructor)) static void ReportSteps(void) {
  const char* path = getenv("KILL_STEPS_FILE");
  FILE* out = path ? fopen(path, "w") : NULL;
  if (!out) return;
  for (int k = 0; k < KIND_COUNT; k++) fprintf(out, "%s %ld\n", k < KIND_COUNT - 1 ? Kinds[k] : "other", StepsOf[k]);
  fclose(out);
}
