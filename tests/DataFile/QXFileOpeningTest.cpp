// Which paths a QXFile opens: regular files only, without ever waiting for
// a pipe's writer, and with the reason when a path is something else.
#include <sys/stat.h>

#include "QXFile.h"
#include "QXReportingTest.h"

namespace {

class QXFileOpening : public QXReportingTest {};

TEST_F(QXFileOpening, PathsThatAreNoRegularFileAreRefusedWithTheirReason) {
  QXTempPath pipe("pipe", ".fifo");
  ASSERT_EQ(mkfifo(pipe.path.c_str(), 0600), 0);
  const struct {
    std::string path;
    QXFile::OpenType type;
    std::string reason;
  } cases[] = {
      {"/tmp", QXFile::ReadOnly, ": it is a directory."},
      {pipe.path, QXFile::ReadOnly, ": it is a pipe."},  // one without a writer: no waiting
      {"/dev/null", QXFile::ExistingReadWrite, ": it is a device."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_FALSE(QXFile(c.path, c.type).IsOpen());
    EXPECT_EQ(Reports(),
              Lines{"QXFile(name,type): Could not open the file \"" + c.path + "\"" + c.reason});
  }
}

TEST_F(QXFileOpening, AReadOnlyHandleTakesNoWriteLock) {
  QXTempPath file("opening", ".bin");
  file.Write("data");
  const QXFile reader(file.path, QXFile::ReadOnly);
  EXPECT_TRUE(QXFile(file.path, QXFile::ExistingReadWrite).IsOpen());
}

}  // namespace
