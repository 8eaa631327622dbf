// Helpers shared by the tests: temporary files that remove themselves, and
// threads that report.
#ifndef QXTESTSUPPORT_H
#define QXTESTSUPPORT_H

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "QXSource.h"

// A path under /tmp, unique in this process; the file goes with the object.
struct QXTempPath {
  explicit QXTempPath(const std::string& stem, const std::string& extension = ".mat") {
    static int counter = 0;
    path = "/tmp/qx_" + stem + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++) +
           extension;
  }
  ~QXTempPath() { std::remove(path.c_str()); }

  void Write(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
  std::string Read() const {
    return std::string(
        std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
  }

  std::string path;
};

// Lowers the process's file-size limit while it lives, so that writes beyond
// it fail (EFBIG) as on a full disk.
class QXFileSizeLimit {
 public:
  explicit QXFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved);
    previous = signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~QXFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
  }

 private:
  rlimit saved;
  void (*previous)(int);
};

// The python3 that has scipy, or "" when none has. Debian's scipy belongs
// to the system interpreter, which need not be the first python3 on the path.
inline std::string QXFindPythonWithScipy() {
  for (const std::string python : {"/usr/bin/python3", "python3"})
    if (std::system((python + " -c 'import scipy.io' >/dev/null 2>&1").c_str()) == 0) return python;
  return std::string();
}

// Four threads that each report "thread: text" `perThread` times, started on
// construction; Running() is true until all have finished.
struct QXReportingThreads {
  explicit QXReportingThreads(int perThread) {
    for (std::thread& thread : threads) {
      thread = std::thread([this, perThread] {
        for (int i = 0; i < perThread; i++) QXErrorMessage("thread", "text");
        finished++;
      });
    }
  }
  ~QXReportingThreads() {
    for (std::thread& thread : threads) thread.join();
  }
  bool Running() const { return finished < 4; }

  std::thread threads[4];
  std::atomic<int> finished{0};
};

// The seven mutable array types, for tests that run once per element type.
using QXMutableArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray,
                   QXMutableShortIntArray, QXMutableUShortIntArray, QXMutableCharArray,
                   QXMutableUCharArray>;

#endif
