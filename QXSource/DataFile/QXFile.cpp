#include "QXFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <limits>

#include "QXError.h"

namespace {

const char* const kNoFile = "No file";
const char* const kShortRead = "Could not read the required number of values from the file";

// The operation names under which the whole-array reads and writes report:
// "QXFile::ReadBinary(DoubleArray)", "QXFile::WriteBinary(QXDoubleArray)".
template <class T>
const std::string& ReadOperation() {
  static const std::string name =
      "QXFile::ReadBinary(" + std::string(QXArrayTraits<T>::name).substr(2) + ")";
  return name;
}
template <class T>
const std::string& WriteOperation() {
  static const std::string name = "QXFile::WriteBinary(" + std::string(QXArrayTraits<T>::name) + ")";
  return name;
}

// Reads the bytes in one call, straight into the destination.
bool ReadBlock(FILE* file, void* destination, size_t bytes, const std::string& operation) {
  if (std::fread(destination, 1, bytes, file) == bytes) return true;
  QXErrorMessage(operation, kShortRead);
  return false;
}

// ReadString grows its result in doubling steps from this size, so a length
// far beyond what the file holds costs no more memory than the file does.
constexpr size_t kFirstStringStep = size_t{64} << 10;


// What opening a path gave: the stream (null on failure), why it failed when
// the path is there but no regular file, and whether another writer holds it.
struct QXOpened {
  FILE* stream = nullptr;
  std::string reason;
  bool heldElsewhere = false;
};

// ": it is a directory." and the like for a path that is not a regular file;
// "" for a regular file.
std::string NotRegularReason(mode_t mode) {
  if (S_ISREG(mode)) return std::string();
  if (S_ISDIR(mode)) return ": it is a directory.";
  if (S_ISFIFO(mode)) return ": it is a pipe.";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return ": it is a device.";
  if (S_ISSOCK(mode)) return ": it is a socket.";
  return ": it is not a regular file.";
}

// Takes the exclusive write lock without waiting. False only when another
// open file holds the lock; a file system without locks is written unlocked.
bool LockForWriting(int descriptor) {
  if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return true;
  return errno != EWOULDBLOCK;
}

// Opens without waiting (a pipe without a writer would block for ever),
// accepts only a regular file, then makes the descriptor blocking again.
int OpenRegular(const std::string& path, int flags, std::string& reason) {
  const int descriptor = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    if (errno == EISDIR) reason = ": it is a directory.";
    return -1;
  }
  struct stat status;
  const bool known = fstat(descriptor, &status) == 0;
  if (!known || !S_ISREG(status.st_mode)) {
    if (known) reason = NotRegularReason(status.st_mode);
    close(descriptor);
    return -1;
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return descriptor;
}

// NewReadWrite removes what is at the path first, unless it is a directory
// or a file that another handle holds for writing: those stay as they are.
bool MayReplace(const std::string& path, QXOpened& opened) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) return true;  // nothing there
  if (S_ISDIR(status.st_mode)) {
    opened.reason = ": it is a directory.";
    return false;
  }
  if (!S_ISREG(status.st_mode)) return true;
  const int probe = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (probe < 0) return true;
  opened.heldElsewhere = !LockForWriting(probe);
  close(probe);
  return !opened.heldElsewhere;
}

QXOpened QXOpenFile(const std::string& path, QXFile::OpenType type) {
  QXOpened opened;
  // A path with a zero byte would name a different file to the system.
  if (path.find('\0') != std::string::npos) return opened;
  int flags = O_RDONLY;
  const char* mode = "r";
  if (type == QXFile::ExistingReadWrite) {
    flags = O_RDWR;
    mode = "r+b";
  } else if (type == QXFile::NewReadWrite) {
    if (!MayReplace(path, opened)) return opened;
    std::remove(path.c_str());
    flags = O_RDWR | O_CREAT | O_TRUNC;
    mode = "w+b";
  }
  const int descriptor = OpenRegular(path, flags, opened.reason);
  if (descriptor < 0) return opened;
  if (flags != O_RDONLY && !LockForWriting(descriptor)) {
    opened.heldElsewhere = true;
    mode = "r";
  }
  opened.stream = fdopen(descriptor, mode);
  if (opened.stream == nullptr) close(descriptor);
  return opened;
}

}  // namespace

// --- Opening and sharing ----------------------------------------------------

QXFile::QXFile() : file(nullptr), readOnly(true), retainCount(new int(1)) {}

QXFile::QXFile(const std::string& path, OpenType type)
    : name(path),
      file(nullptr),
      readOnly(type != ExistingReadWrite && type != NewReadWrite),
      retainCount(new int(1)) {
  const QXOpened opened = QXOpenFile(path, type);
  file = opened.stream;
  if (opened.heldElsewhere) {
    readOnly = true;
    QXErrorMessage("QXFile(name,type)",
                   "The file \"" + path + "\" is open for writing elsewhere; " +
                       (file != nullptr ? "it was opened read-only." : "it was left as it is."));
  } else if (file == nullptr) {
    QXErrorMessage("QXFile(name,type)",
                   "Could not open the file \"" + path + "\"" + opened.reason);
  }
}

QXFile::QXFile(const QXFile& other)
    : name(other.name), file(other.file), readOnly(other.readOnly), retainCount(other.retainCount) {
  ++*retainCount;
}

QXFile& QXFile::operator=(const QXFile& other) {
  if (retainCount == other.retainCount) return *this;
  Release();
  name = other.name;
  file = other.file;
  readOnly = other.readOnly;
  retainCount = other.retainCount;
  ++*retainCount;
  return *this;
}

QXFile::~QXFile() { Release(); }

void QXFile::Release() {
  if (--*retainCount > 0) return;
  if (file != nullptr) std::fclose(file);  // which also releases the write lock
  delete retainCount;
}

// --- Positioning ------------------------------------------------------------

long QXFile::Position() const {
  if (file == nullptr) return 0;
  const long position = std::ftell(file);
  return position < 0 ? 0 : position;
}

void QXFile::SetPosition(long offset) const {
  if (file != nullptr) std::fseek(file, offset, SEEK_SET);
}

void QXFile::MovePosition(long offset) const {
  if (file != nullptr && offset != 0) std::fseek(file, offset, SEEK_CUR);
}

void QXFile::MoveToEnd() const {
  if (file != nullptr) std::fseek(file, 0, SEEK_END);
}

long QXFile::Length() const {
  if (file == nullptr) return 0;
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(file);
  std::fseek(file, here, SEEK_SET);
  return end < 0 ? 0 : end;
}

void QXFile::Flush() const {
  if (file != nullptr) std::fflush(file);
}

// --- Reading ----------------------------------------------------------------

std::string QXFile::ReadLine() const {
  if (file == nullptr) {
    QXErrorMessage("QXFile::ReadLine()", kNoFile);
    return std::string();
  }
  std::string line;
  // One lock for the whole line instead of one per character.
  flockfile(file);
  for (int c = getc_unlocked(file); c != EOF && c != '\n' && c != '\r'; c = getc_unlocked(file))
    line.push_back(static_cast<char>(c));
  funlockfile(file);
  return line;
}

std::string QXFile::ReadString(int length) const {
  const char* operation = "QXFile::ReadString(int)";
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return std::string();
  }
  if (length <= 0) return std::string();
  const size_t wanted = static_cast<size_t>(length);
  std::string text;
  while (text.size() < wanted) {
    const size_t have = text.size();
    const size_t step = std::min(wanted - have, std::max(have, kFirstStringStep));
    text.resize(have + step);
    if (std::fread(&text[have], 1, step, file) != step) {
      QXErrorMessage(operation, "Could not read the required number of characters from the file");
      return std::string();
    }
  }
  return text;
}

unsigned short QXFile::ReadUnsignedShort() const {
  const char* operation = "QXFile::ReadUnsignedShort()";
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return 0;
  }
  unsigned short value = 0;
  if (std::fread(&value, 1, sizeof value, file) == sizeof value) return value;
  QXErrorMessage(operation, "Could not read the number");
  return 0;
}

template <class T>
bool QXFile::ReadArray(QXMutableArray<T>& array) const {
  const std::string& operation = ReadOperation<T>();
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return false;
  }
  if (array.IsEmpty()) return true;
  return ReadBlock(file, array.Pointer(), static_cast<size_t>(array.Length()) * sizeof(T),
                   operation);
}

bool QXFile::ReadBinary(QXMutableDoubleArray& array) const { return ReadArray(array); }
bool QXFile::ReadBinary(QXMutableFloatArray& array) const { return ReadArray(array); }
bool QXFile::ReadBinary(QXMutableIntArray& array) const { return ReadArray(array); }
bool QXFile::ReadBinary(QXMutableShortIntArray& array) const { return ReadArray(array); }
bool QXFile::ReadBinary(QXMutableUShortIntArray& array) const { return ReadArray(array); }
// The whole-array read behaves as ReadBinary(array, array.Length()) for
// CharArray and as ReadBinary(array, 0, array.Length()) for UCharArray.
bool QXFile::ReadBinary(QXMutableCharArray& array) const { return ReadArray(array); }
bool QXFile::ReadBinary(QXMutableUCharArray& array) const { return ReadArray(array); }

bool QXFile::ReadBinary(QXMutableCharArray& array, int length) const {
  const std::string& operation = ReadOperation<signed char>();
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return false;
  }
  if (array.IsEmpty()) return true;
  if (length < 0 || length > array.Length()) {
    QXErrorMessage("QXFile::ReadBinary(CharArray,int)", "Invalid length");
    return false;
  }
  return ReadBlock(file, array.Pointer(), static_cast<size_t>(length), operation);
}

bool QXFile::ReadBinary(QXMutableUCharArray& array, int length) const {
  if (length < 0 || length > array.Length()) {
    QXErrorMessage("QXFile::ReadBinary(UCharArray,int)", "Invalid length");
    return false;
  }
  return ReadBinary(array, 0, length);
}

bool QXFile::ReadBinary(QXMutableUCharArray& array, int start, int length) const {
  const std::string& operation = ReadOperation<unsigned char>();
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return false;
  }
  if (array.IsEmpty()) return true;
  // Both are non-negative here, so the subtraction cannot overflow.
  if (start < 0 || length < 0 || start > array.Length() - length) {
    QXErrorMessage("QXFile::ReadBinary(UCharArray,int start,int length)", "Invalid range");
    return false;
  }
  if (length == 0) return true;
  return ReadBlock(file, array.Pointer() + start, static_cast<size_t>(length), operation);
}

bool QXFile::ReadAscii(QXMutableDoubleArray& array) const {
  const char* operation = "QXFile::ReadAscii(DoubleArray)";
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return false;
  }
  double* data = array.Pointer();
  const int count = array.Length();
  int filled = 0;
  int scan = 1;
  // One unreadable character between numbers (a comma) is skipped; a second
  // one in a row ends the read.
  while (filled < count) {
    scan = std::fscanf(file, "%lf", &data[filled]);
    if (scan == 0 && std::fgetc(file) != EOF) scan = std::fscanf(file, "%lf", &data[filled]);
    if (scan != 1) break;
    filled++;
  }
  if (filled == count) return true;
  if (scan == EOF) QXErrorMessage(operation, kShortRead);
  return false;
}

bool QXFile::ReadAscii(QXMutableFloatArray& array) const {
  const char* operation = "QXFile::ReadAscii(FloatArray)";
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return false;
  }
  float* data = array.Pointer();
  const int count = array.Length();
  int filled = 0;
  // Any run of unreadable characters is skipped one byte at a time.
  while (filled < count) {
    const int scan = std::fscanf(file, "%f", &data[filled]);
    if (scan == 1)
      filled++;
    else if (scan == EOF || std::fgetc(file) == EOF)
      break;
  }
  if (filled == count) return true;
  QXErrorMessage(operation, kShortRead);
  return false;
}

double QXFile::ReadAsciiNumber() const {
  if (file == nullptr) {
    QXErrorMessage("QXFile::ReadAsciiNumber(QXFile)", kNoFile);
    return std::numeric_limits<double>::quiet_NaN();
  }
  for (;;) {
    double value = 0;
    const int scan = std::fscanf(file, "%lf", &value);
    if (scan == 1) return value;
    if (scan == EOF || std::fgetc(file) == EOF) return std::numeric_limits<double>::quiet_NaN();
  }
}

// --- Writing ----------------------------------------------------------------

bool QXFile::CanWrite(const std::string& operation) const {
  if (file == nullptr) {
    QXErrorMessage(operation, kNoFile);
    return false;
  }
  if (readOnly) {
    QXErrorMessage(operation, "Read only");
    return false;
  }
  return true;
}

bool QXFile::WriteString(const std::string& text) {
  const char* operation = "QXFile::WriteString(string)";
  if (!CanWrite(operation)) return false;
  if (text.empty()) return true;
  if (std::fwrite(text.data(), 1, text.size(), file) == text.size()) return true;
  QXErrorMessage(operation, "Could not write the string to the file.");
  return false;
}

bool QXFile::WriteUnsignedShort(unsigned short value) {
  const char* operation = "QXFile::WriteUnsignedShort(value)";
  if (!CanWrite(operation)) return false;
  if (std::fwrite(&value, 1, sizeof value, file) == sizeof value) return true;
  QXErrorMessage(operation, "Could not write the number to the file.");
  return false;
}

template <class T>
bool QXFile::WriteArray(const QXArray<T>& array) {
  const std::string& operation = WriteOperation<T>();
  if (!CanWrite(operation)) return false;
  if (array.IsEmpty()) return true;
  const size_t bytes = static_cast<size_t>(array.Length()) * sizeof(T);
  if (std::fwrite(array.Pointer(), 1, bytes, file) == bytes) return true;
  QXErrorMessage(operation, "Could not write the array to the file.");
  return false;
}

bool QXFile::WriteBinary(const QXDoubleArray& array) { return WriteArray(array); }
bool QXFile::WriteBinary(const QXFloatArray& array) { return WriteArray(array); }
bool QXFile::WriteBinary(const QXIntArray& array) { return WriteArray(array); }
bool QXFile::WriteBinary(const QXShortIntArray& array) { return WriteArray(array); }
bool QXFile::WriteBinary(const QXUShortIntArray& array) { return WriteArray(array); }
bool QXFile::WriteBinary(const QXCharArray& array) { return WriteArray(array); }
bool QXFile::WriteBinary(const QXUCharArray& array) { return WriteArray(array); }

// --- Printing ---------------------------------------------------------------

void QXFile::pinfo() const {
  const std::string text = "File = " + name + (readOnly ? " [read only]" : "") + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
}

// --- Positioned access ------------------------------------------------------

long QXFile::ReadSomeAt(long offset, void* bytes, size_t count) const {
  if (file == nullptr || offset < 0) return -1;
  const int descriptor = fileno(file);
  char* to = static_cast<char*>(bytes);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = pread(descriptor, to + done, count - done, offset + static_cast<long>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long>(done);
}

bool QXFile::ReadAt(long offset, void* bytes, size_t count) const {
  const long got = ReadSomeAt(offset, bytes, count);
  if (got >= 0 && static_cast<size_t>(got) == count) return true;
  if (got >= 0) errno = 0;  // the file ends before the bytes asked for
  return false;
}

bool QXFile::WriteAt(long offset, const void* bytes, size_t count) {
  if (file == nullptr || readOnly || offset < 0) {
    errno = EBADF;
    return false;
  }
  const int descriptor = fileno(file);
  const char* from = static_cast<const char*>(bytes);
  size_t done = 0;
  while (done < count) {
    const ssize_t put =
        pwrite(descriptor, from + done, count - done, offset + static_cast<long>(done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

bool QXFile::Truncate(long length) {
  if (file == nullptr || readOnly || length < 0) {
    errno = EBADF;
    return false;
  }
  return ftruncate(fileno(file), static_cast<off_t>(length)) == 0;
}

long QXFile::Size() const {
  struct stat status;
  if (file == nullptr || fstat(fileno(file), &status) != 0) return -1;
  return static_cast<long>(status.st_size);
}
