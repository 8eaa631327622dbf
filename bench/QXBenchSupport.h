// Helpers shared by the benchmarks.
#ifndef QXBENCHSUPPORT_H
#define QXBENCHSUPPORT_H

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

// Sends standard error to /dev/null while it lives, so that a report or a
// listing costs its work but not a terminal's.
class SilencedStderr {
 public:
  SilencedStderr() : saved(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDERR_FILENO);
    close(null);
  }
  ~SilencedStderr() {
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
  }
  SilencedStderr(const SilencedStderr&) = delete;
  SilencedStderr& operator=(const SilencedStderr&) = delete;

 private:
  int saved;
};

#endif
