// Helpers shared by the tests: capturing what a call reports, and temporary
// files that remove themselves.
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

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXError.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

// The reports made since the list was last emptied; empties it.
inline std::vector<std::string> QXTakeReports() {
  std::vector<std::string> reports = QXErrorListSnapshot();
  QXClearErrorList();
  return reports;
}

// Runs the body with standard error captured and the error list emptied;
// afterwards `errors` holds the reports the body made and `stderrText` all
// it wrote to standard error.
class QXReportCapture {
 public:
  QXReportCapture() {
    QXClearErrorList();
    testing::internal::CaptureStderr();
  }
  // Stops capturing; call once, before checking.
  void Finish() {
    if (finished) return;
    finished = true;
    stderrText = testing::internal::GetCapturedStderr();
    errors = QXTakeReports();
  }
  ~QXReportCapture() { Finish(); }

  std::vector<std::string> errors;
  std::string stderrText;

 private:
  bool finished = false;
};

// Runs the body with its reports and standard error captured.
template <class F>
QXReportCapture Captured(F body) {
  QXReportCapture capture;
  body();
  capture.Finish();
  return capture;
}

// Four threads that each report `perThread` times "thread: text", started on
// construction; Join waits for them.
class QXReportingThreads {
 public:
  explicit QXReportingThreads(int perThread) {
    for (int t = 0; t < 4; t++) {
      threads.emplace_back([this, perThread] {
        for (int i = 0; i < perThread; i++) QXErrorMessage("thread", "text");
        finished++;
      });
    }
  }
  ~QXReportingThreads() { Join(); }
  bool Running() const { return finished < 4; }
  void Join() {
    for (std::thread& thread : threads) {
      if (thread.joinable()) thread.join();
    }
  }

 private:
  std::vector<std::thread> threads;
  std::atomic<int> finished{0};
};

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
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

// The seven mutable array types, for tests that run once per element type.
using QXMutableArrayTypes =
    testing::Types<QXMutableDoubleArray, QXMutableFloatArray, QXMutableIntArray,
                   QXMutableShortIntArray, QXMutableUShortIntArray, QXMutableCharArray,
                   QXMutableUCharArray>;

#endif
