// Which paths a QXFile opens: regular files only, without ever waiting for
// a pipe's writer, and with the reason when a path is something else.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "QXFile.h"
#include "QXTestSupport.h"

namespace {

// The reports of opening the path in the given mode, and whether it opened.
struct QXOpening {
  std::vector<std::string> errors;
  bool open;
};

QXOpening Open(const std::string& path, QXFile::OpenType type) {
  QXReportCapture capture;
  const QXFile file(path, type);
  capture.Finish();
  return {capture.errors, file.IsOpen()};
}

std::string Refusal(const std::string& path, const std::string& reason) {
  return "QXFile(name,type): Could not open the file \"" + path + "\"" + reason;
}

TEST(QXFileOpening, ADirectoryIsRefusedWithItsReason) {
  const QXOpening opening = Open("/tmp", QXFile::ReadOnly);
  EXPECT_FALSE(opening.open);
  EXPECT_EQ(opening.errors, std::vector<std::string>{Refusal("/tmp", ": it is a directory.")});
}

TEST(QXFileOpening, APipeWithoutAWriterIsRefusedWithoutWaiting) {
  QXTempPath pipe("pipe", ".fifo");
  ASSERT_EQ(mkfifo(pipe.path.c_str(), 0600), 0);
  const QXOpening opening = Open(pipe.path, QXFile::ReadOnly);
  EXPECT_FALSE(opening.open);
  EXPECT_EQ(opening.errors, std::vector<std::string>{Refusal(pipe.path, ": it is a pipe.")});
}

TEST(QXFileOpening, ADeviceIsRefusedForWriting) {
  const QXOpening opening = Open("/dev/null", QXFile::ExistingReadWrite);
  EXPECT_FALSE(opening.open);
  EXPECT_EQ(opening.errors, std::vector<std::string>{Refusal("/dev/null", ": it is a device.")});
}

TEST(QXFileOpening, AMissingFileKeepsThePlainMessage) {
  const QXOpening opening = Open("/tmp/qx_no_such_file_here", QXFile::ReadOnly);
  EXPECT_FALSE(opening.open);
  EXPECT_EQ(opening.errors, std::vector<std::string>{Refusal("/tmp/qx_no_such_file_here", "")});
}

TEST(QXFileOpening, AReadOnlyHandleTakesNoWriteLock) {
  QXTempPath file("opening", ".bin");
  file.Write("data");
  const QXFile reader(file.path, QXFile::ReadOnly);
  const QXOpening writer = Open(file.path, QXFile::ExistingReadWrite);
  EXPECT_TRUE(writer.open);
  EXPECT_TRUE(writer.errors.empty());
}

}  // namespace
