// A fixture for variable types that go through both file storages: it writes
// into a new file of the storage type, reopens it for reading, and lists the
// names the file holds in the order their last records lie in the file.
#ifndef QXFILESTORAGETEST_H
#define QXFILESTORAGETEST_H

#include <functional>
#include <sstream>

#include "../QXCollectionTestSupport.h"

using QXFileStorages = testing::Types<QXMatlabDataFile, QXDataFile>;
// The reports of a typed test, which does not see the fixture's own name.
using Lines = std::vector<std::string>;

template <class Storage>
class QXFileStorageTest : public QXReportingTest {
 protected:
  QXFileStorageTest() : file("variable") {}

  // A new, empty file; the handle closes the file when it goes.
  Storage Create() const { return Storage(file.path, QXFile::NewReadWrite); }
  Storage Reopen() const { return Storage(file.path, QXFile::ReadOnly); }

  // The names of the file's listing, in file order: every name once, where
  // its last save lies.
  Texts WriteOrder() {
    Printed();
    Reopen().printInfo();
    std::istringstream listing(WithoutHeading(Printed()));
    Texts names;
    for (std::string line; std::getline(listing, line);)
      names.push_back(line.substr(0, line.find(' ')));
    return names;
  }

  QXTempPath file;
};

#endif
