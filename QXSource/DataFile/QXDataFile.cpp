#include "QXDataFile.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "QXArrayConversion.h"
#include "QXByteReader.h"
#include "QXDataFileContent.h"
#include "QXEndianSwap.h"
#include "QXError.h"
#include "QXNumberText.h"
#include "QXStorageListing.h"

namespace {

// The file header: the text and its zero byte.
const char kFileHeader[] = "Varnholm Binary File v1";
constexpr size_t kFileHeaderSize = sizeof kFileHeader;
static_assert(kFileHeaderSize == 24, "the file header is 24 bytes");

constexpr int kEntryHeaderSize = QXDataFileStructure::kEncodedSize;
// The name field holds the name and its zero byte.
constexpr uint32_t kMaxNameLength = 255;
constexpr uint32_t kMaxTypeCode = 2000;

const char* const kSave = "QXDataFile::Save";
// Array data up to this size are written together with their entry header.
constexpr int64_t kInlineDataLimit = 64 << 10;

// Per element type: its type code, the operation its read reports under, and
// what the read makes of entries that hold no number.
template <class T>
struct QXDataFileType;
struct QXDataFileNumberRead {
  static bool ReadsBytesOf(int) { return false; }
  static constexpr const char* otherTypeMessage = "Trying to read in a string.";
};
struct QXDataFileByteRead {
  static constexpr const char* otherTypeMessage = "Haven't taken care of this case.";
};
template <>
struct QXDataFileType<double> : QXDataFileNumberRead {
  static constexpr int code = QXDataFileDouble;
  static constexpr const char* read = "dataFile.ReadDoubleArray(name)";
};
template <>
struct QXDataFileType<float> : QXDataFileNumberRead {
  static constexpr int code = QXDataFileFloat;
  static constexpr const char* read = "dataFile.ReadFloatArray(name)";
};
template <>
struct QXDataFileType<int> : QXDataFileNumberRead {
  static constexpr int code = QXDataFileInt;
  static constexpr const char* read = "dataFile.ReadIntArray(name)";
};
template <>
struct QXDataFileType<short> : QXDataFileNumberRead {
  static constexpr int code = QXDataFileShortInt;
  static constexpr const char* read = "dataFile.ReadShortIntArray(name)";
};
template <>
struct QXDataFileType<unsigned short> : QXDataFileNumberRead {
  static constexpr int code = QXDataFileUShortInt;
  static constexpr const char* read = "dataFile.ReadUShortIntArray(name)";
};
// The char read takes a string's bytes (text and zero byte) as they are.
template <>
struct QXDataFileType<signed char> : QXDataFileByteRead {
  static constexpr int code = QXDataFileChar;
  static constexpr const char* read = "dataFile.ReadCharArray(name)";
  static bool ReadsBytesOf(int type) { return type == QXDataFileString; }
};
// The unsigned char read takes the bytes of string and char entries as they are.
template <>
struct QXDataFileType<unsigned char> : QXDataFileByteRead {
  static constexpr int code = QXDataFileUChar;
  static constexpr const char* read = "dataFile.ReadUCharArray(name)";
  static bool ReadsBytesOf(int type) { return type == QXDataFileString || type == QXDataFileChar; }
};

// Calls visit with a value of the element type that the numeric type code
// stands for; false for a code that holds no numbers.
template <class Visitor>
bool VisitNumericType(int type, Visitor&& visit) {
  switch (type) {
    case QXDataFileDouble:
      visit(double());
      return true;
    case QXDataFileFloat:
      visit(float());
      return true;
    case QXDataFileInt:
      visit(int());
      return true;
    case QXDataFileUShortInt:
      visit(static_cast<unsigned short>(0));
      return true;
    case QXDataFileShortInt:
      visit(static_cast<short>(0));
      return true;
    case QXDataFileUChar:
      visit(static_cast<unsigned char>(0));
      return true;
    case QXDataFileChar:
      visit(static_cast<signed char>(0));
      return true;
    default:
      return false;
  }
}

// What the listing and the index need to know of each type code.
struct QXDataFileTypeInfo {
  uint32_t code;
  int elementSize;
  const char* label;
};
const QXDataFileTypeInfo kTypeInfo[] = {
    {QXDataFileDouble, 8, " - double - "},   {QXDataFileFloat, 4, " -  float - "},
    {QXDataFileInt, 4, " -    int - "},      {QXDataFileUShortInt, 2, " - UShort - "},
    {QXDataFileShortInt, 2, " -  short - "}, {QXDataFileUChar, 1, " -  UChar - "},
    {QXDataFileChar, 1, " -   char - "},     {QXDataFileString, 1, " - string - "}};
const QXDataFileTypeInfo kUnknownType = {0, 0, " - ?????? - "};

const QXDataFileTypeInfo& TypeInfo(uint32_t type) {
  for (const QXDataFileTypeInfo& info : kTypeInfo)
    if (info.code == type) return info;
  return kUnknownType;
}

bool MachineIsBigEndian() {
  static const bool bigEndian = QXDataStorage::RunningOnBigEndianMachine();
  return bigEndian;
}

// The array's elements, big-endian. The caller's array is left as it is: on a
// little-endian machine a swapped copy is written, in one block.
template <class T>
bool WriteBigEndian(QXFile& file, const QXArray<T>& A) {
  if constexpr (sizeof(T) > 1) {
    if (!MachineIsBigEndian()) {
      QXMutableArray<T> swapped = A.Copy();
      SwapEndian(swapped);
      return file.WriteBinary(swapped);
    }
  }
  return file.WriteBinary(A);
}

// The array's elements as big-endian bytes, for data small enough to go out
// in the same write as the entry header.
template <class T>
std::string BigEndianBytes(const QXArray<T>& A) {
  if (A.IsEmpty()) return std::string();
  std::string bytes(reinterpret_cast<const char*>(A.Pointer()), size_t(A.Length()) * sizeof(T));
  if (MachineIsBigEndian()) return bytes;
  unsigned char* raw = reinterpret_cast<unsigned char*>(&bytes[0]);
  if constexpr (sizeof(T) == 2) QXSwap2Bytes(raw, int(bytes.size()));
  if constexpr (sizeof(T) == 4) QXSwap4Bytes(raw, int(bytes.size()));
  if constexpr (sizeof(T) == 8) QXSwap8Bytes(raw, int(bytes.size()));
  return bytes;
}

// True when the header can describe an entry this storage could have
// written: sizes that fit the arrays' int dimensions, and a block long enough
// for the header, the name and the data. Anything else is a damaged file.
bool IsSoundEntry(const QXDataFileStructure& header) {
  if (header.blockLength <= 0 || header.type > kMaxTypeCode || header.nameLength > kMaxNameLength)
    return false;
  const uint64_t intMax = INT_MAX;
  if (header.m > intMax || header.n > intMax || header.o > intMax) return false;
  const uint64_t plane = uint64_t(header.m) * header.n;  // below 2^62
  if (header.o != 0 && plane > intMax) return false;
  const uint64_t elements = plane * header.o;  // plane <= INT_MAX here, or o is 0
  if (elements > intMax) return false;
  // Data of an unknown type have no known length; the block need only hold the name.
  const uint64_t dataLength = elements * uint64_t(QXDataFileElementSize(header.type));
  return uint64_t(header.blockLength) >= kEntryHeaderSize + header.nameLength + dataLength;
}

enum QXIndexStep { QXIndexed, QXIndexAtEnd, QXIndexAtTruncatedEntry, QXIndexAtDamagedEntry };

QXIndexStep ReportDamagedEntry() {
  QXErrorMessage("Reading In File Content", "Invalid file format.");
  return QXIndexAtDamagedEntry;
}

// Indexes the entry at the reader's position and moves past it, or tells why
// the index ends there: at the end of the file, at an entry cut short by the
// end of the file (silently) or at a damaged one (reported).
QXIndexStep IndexEntry(QXByteReader& reader, std::map<std::string, QXDataEntry>& index) {
  const long start = reader.Position();
  if (reader.Remaining() == 0) return QXIndexAtEnd;
  unsigned char raw[kEntryHeaderSize];
  if (!reader.Read(raw, sizeof raw)) return QXIndexAtTruncatedEntry;
  const QXDataFileStructure header = QXDataFileStructure::Decode(raw);
  if (!IsSoundEntry(header)) return ReportDamagedEntry();
  if (header.blockLength - kEntryHeaderSize > reader.Remaining()) return QXIndexAtTruncatedEntry;
  char name[kMaxNameLength];
  if (!reader.Read(name, header.nameLength)) return QXIndexAtTruncatedEntry;
  const char* end = static_cast<const char*>(std::memchr(name, 0, header.nameLength));
  if (end == nullptr) return ReportDamagedEntry();
  const long location = start + kEntryHeaderSize + long(header.nameLength);
  index.insert_or_assign(
      std::string(name, size_t(end - name)),
      QXDataEntry(int(header.m), int(header.n), int(header.o), int(header.type), location));
  reader.Skip(header.blockLength - kEntryHeaderSize - header.nameLength);
  return QXIndexed;
}

}  // namespace

// --- Entry headers ----------------------------------------------------------

int QXDataFileElementSize(uint32_t type) { return TypeInfo(type).elementSize; }

void QXDataFileStructure::Encode(unsigned char bytes[kEncodedSize]) const {
  const uint32_t fields[5] = {type, m, n, o, nameLength};
  std::memcpy(bytes, &blockLength, 8);
  std::memcpy(bytes + 8, fields, sizeof fields);
  if (MachineIsBigEndian()) return;
  QXSwap8Bytes(bytes, 8);
  QXSwap4Bytes(bytes + 8, int(sizeof fields));
}

QXDataFileStructure QXDataFileStructure::Decode(const unsigned char bytes[kEncodedSize]) {
  unsigned char local[kEncodedSize];
  std::memcpy(local, bytes, kEncodedSize);
  if (!MachineIsBigEndian()) {
    QXSwap8Bytes(local, 8);
    QXSwap4Bytes(local + 8, kEncodedSize - 8);
  }
  QXDataFileStructure header;
  uint32_t fields[5];
  std::memcpy(&header.blockLength, local, 8);
  std::memcpy(fields, local + 8, sizeof fields);
  header.type = fields[0];
  header.m = fields[1];
  header.n = fields[2];
  header.o = fields[3];
  header.nameLength = fields[4];
  return header;
}

// --- Construction and sharing -----------------------------------------------

QXDataFile::QXDataFile(QXFile file) : content(new QXDataFileContent(file)) { ReadInContent(); }

QXDataFile::QXDataFile(std::string path, QXFile::OpenType type) : QXDataFile(QXFile(path, type)) {}

QXDataFile::QXDataFile(const QXDataFile& other) : QXDataStorage(other), content(other.content) {
  content->referenceCount++;
}

QXDataFile& QXDataFile::operator=(const QXDataFile& other) {
  if (content == other.content) return *this;
  Release();
  content = other.content;
  content->referenceCount++;
  return *this;
}

QXDataFile::~QXDataFile() { Release(); }

void QXDataFile::Release() {
  if (--content->referenceCount == 0) delete content;
}

QXMutablePointer<QXDataStorage> QXDataFile::AsPointer() {
  return QXMutablePointer<QXDataStorage>(new QXDataFile(*this));
}

FILE* QXDataFile::GetFILE() const { return content->file.GetFILE(); }

// One sequential pass through a read-ahead buffer: the walk costs a handful
// of reads however many entries the file has, and it only ever moves forward.
void QXDataFile::ReadInContent() {
  QXFile& file = content->file;
  if (!file.IsOpen()) return;
  const long fileLength = file.Length();
  file.SetPosition(0);
  if (fileLength == 0) {
    if (!file.IsReadOnly() && file.WriteString(std::string(kFileHeader, kFileHeaderSize)))
      content->appendEnd = long(kFileHeaderSize);
    return;
  }
  QXByteReader reader(file.GetFILE(), fileLength, 0);
  char header[kFileHeaderSize];
  if (!reader.Read(header, kFileHeaderSize) ||
      std::memcmp(header, kFileHeader, kFileHeaderSize) != 0) {
    QXErrorMessage("QXDataFile::ReadInContent", "Not a valid Varnholm binary format.");
    content->foreignFile = true;
    return;
  }
  for (;;) {
    const long start = reader.Position();
    const QXIndexStep step = IndexEntry(reader, content->content);
    if (step == QXIndexed) continue;
    if (step == QXIndexAtTruncatedEntry) content->partialTail = start;
    return;
  }
}

void QXDataFile::DropPartialTail() {
  FILE* stream = content->file.GetFILE();
  std::fflush(stream);
  if (ftruncate(fileno(stream), off_t(content->partialTail)) != 0)
    QXErrorMessage(kSave, "Could not remove the truncated last entry.");
  content->partialTail = -1;
  content->appendEnd = -1;
}

// --- Queries ----------------------------------------------------------------

const QXDataEntry* QXDataFile::Find(const std::string& name) const {
  auto found = content->content.find(name);
  return found == content->content.end() ? nullptr : &found->second;
}

QXList<std::string> QXDataFile::AllVariableNames() const {
  QXMutableList<std::string> names(int(content->content.size()));
  int i = 0;
  for (const auto& entry : content->content) names(i++) = entry.first;
  return names;
}

bool QXDataFile::Contains(std::string name) const { return Find(name) != nullptr; }

bool QXDataFile::IsReadOnly() const { return content->file.IsReadOnly(); }

bool QXDataFile::SavedAsDouble(std::string name) const {
  const QXDataEntry* entry = Find(name);
  return entry != nullptr && entry->type == QXDataFileDouble;
}

bool QXDataFile::SavedAsString(std::string name) const {
  const QXDataEntry* entry = Find(name);
  return entry != nullptr && entry->type == QXDataFileString;
}

void QXDataFile::Flush() const {
  if (!IsReadOnly() && content->file.IsOpen()) content->file.Flush();
}

// --- Saving -----------------------------------------------------------------

bool QXDataFile::CanAppend(const std::string& name) const {
  const char* problem = nullptr;
  if (IsReadOnly())
    problem = "File is read only.";
  else if (!content->file.IsOpen())
    problem = "File is not open.";
  else if (content->foreignFile)
    problem = "Not a valid Varnholm binary format.";
  // The reader takes a name field of at most 255 bytes up to its first zero
  // byte; any other name would not read back, or would end the index.
  else if (name.size() >= kMaxNameLength)
    problem = "The name is longer than 254 characters.";
  else if (name.find('\0') != std::string::npos)
    problem = "The name contains a zero byte.";
  if (problem == nullptr) return true;
  QXErrorMessage(kSave, problem);
  return false;
}

bool QXDataFile::AppendEntry(const std::string& name, int type, int m, int n, int o,
                             int64_t dataLength, const std::string& inlineData) {
  QXFile& file = content->file;
  if (content->partialTail >= 0) DropPartialTail();
  const uint32_t nameLength = uint32_t(name.size() + 1);
  const QXDataFileStructure header(uint32_t(m), uint32_t(n), uint32_t(o),
                                   kEntryHeaderSize + nameLength + dataLength, uint32_t(type),
                                   nameLength);
  long end = content->appendEnd;
  if (end < 0 || std::ftell(file.GetFILE()) != end) {
    file.MoveToEnd();
    end = file.Position();
  }
  const long location = end + kEntryHeaderSize + long(nameLength);
  content->content.insert_or_assign(name, QXDataEntry(m, n, o, type, location));
  std::string bytes(kEntryHeaderSize, '\0');
  header.Encode(reinterpret_cast<unsigned char*>(&bytes[0]));
  bytes.append(name.c_str(), nameLength);
  bytes += inlineData;
  const bool written = file.WriteString(bytes);
  content->appendEnd = written ? location + long(inlineData.size()) : -1;
  return written;
}

template <class T>
void QXDataFile::SaveArray(const QXArray<T>& A, const std::string& name) {
  if (!CanAppend(name)) return;
  const int64_t dataLength = int64_t(A.Length()) * int64_t(sizeof(T));
  // Small data go out with the header in one write; large data in one write
  // of their own, without a second copy in a string.
  const bool inlineData = dataLength <= kInlineDataLimit;
  if (!AppendEntry(name, QXDataFileType<T>::code, A.m(), A.n(), A.o(), dataLength,
                   inlineData ? BigEndianBytes(A) : std::string()))
    return;
  if (inlineData) return;
  if (WriteBigEndian(content->file, A))
    content->appendEnd += long(dataLength);
  else
    content->appendEnd = -1;
}

void QXDataFile::Save(int v, std::string name) {
  QXMutableIntArray A(1, 1, 1);
  A(0) = v;
  Save(static_cast<const QXIntArray&>(A), std::move(name));
}

void QXDataFile::Save(double v, std::string name) {
  QXMutableDoubleArray A(1, 1, 1);
  A(0) = v;
  Save(static_cast<const QXDoubleArray&>(A), std::move(name));
}

void QXDataFile::Save(const QXDoubleArray& A, std::string name) { SaveArray(A, name); }
void QXDataFile::Save(const QXFloatArray& A, std::string name) { SaveArray(A, name); }
void QXDataFile::Save(const QXIntArray& A, std::string name) { SaveArray(A, name); }
void QXDataFile::Save(const QXCharArray& A, std::string name) { SaveArray(A, name); }
void QXDataFile::Save(const QXUCharArray& A, std::string name) { SaveArray(A, name); }
void QXDataFile::Save(const QXShortIntArray& A, std::string name) { SaveArray(A, name); }
void QXDataFile::Save(const QXUShortIntArray& A, std::string name) { SaveArray(A, name); }

void QXDataFile::Save(std::string theString, std::string name) {
  if (!CanAppend(name)) return;
  // m holds the length with the zero byte and must fit an int.
  if (theString.size() >= size_t(INT_MAX)) {
    QXErrorMessage(kSave, "The string is too long.");
    return;
  }
  const int m = int(theString.size()) + 1;
  theString.push_back('\0');
  AppendEntry(name, QXDataFileString, m, 1, 1, m, theString);
}

// --- Reading ----------------------------------------------------------------

template <class T>
QXArray<T> QXDataFile::ReadStored(const QXDataEntry& entry) const {
  QXMutableArray<T> A(entry.m, entry.n, entry.o);
  content->appendEnd = -1;
  content->file.SetPosition(entry.location);
  content->file.ReadBinary(A);
  if constexpr (sizeof(T) > 1) {
    if (!MachineIsBigEndian()) SwapEndian(A);
  }
  return A;
}

template <class T>
QXArray<T> QXDataFile::ReadArray(const std::string& name) const {
  using Type = QXDataFileType<T>;
  const QXDataEntry* entry = Find(name);
  if (entry == nullptr) {
    QXErrorMessage(Type::read, "Did not find the variable \"" + name + "\" inside the datafile.");
    return QXArray<T>();
  }
  if (entry->type == Type::code || Type::ReadsBytesOf(entry->type)) return ReadStored<T>(*entry);
  QXArray<T> result;
  const bool numeric = VisitNumericType(entry->type, [&](auto storedElement) {
    using Stored = decltype(storedElement);
    if constexpr (!std::is_same_v<Stored, T>) {
      const QXArray<Stored> stored = ReadStored<Stored>(*entry);
      QXMutableArray<T> converted(stored.m(), stored.n(), stored.o());
      ConvertArray(stored, converted);
      result = converted;
    }
  });
  if (!numeric) QXErrorMessage(Type::read, Type::otherTypeMessage);
  return result;
}

QXDoubleArray QXDataFile::ReadDoubleArray(std::string name) const {
  return ReadArray<double>(name);
}
QXFloatArray QXDataFile::ReadFloatArray(std::string name) const { return ReadArray<float>(name); }
QXIntArray QXDataFile::ReadIntArray(std::string name) const { return ReadArray<int>(name); }
QXCharArray QXDataFile::ReadCharArray(std::string name) const {
  return ReadArray<signed char>(name);
}
QXUCharArray QXDataFile::ReadUCharArray(std::string name) const {
  return ReadArray<unsigned char>(name);
}
QXShortIntArray QXDataFile::ReadShortIntArray(std::string name) const {
  return ReadArray<short>(name);
}
QXUShortIntArray QXDataFile::ReadUShortIntArray(std::string name) const {
  return ReadArray<unsigned short>(name);
}

std::string QXDataFile::ReadString(std::string name) const {
  const char* operation = "dataFile.ReadString(name)";
  const QXDataEntry* entry = Find(name);
  if (entry == nullptr) {
    QXErrorMessage(operation, "Did not find the string \"" + name + "\" inside the datafile.");
    return std::string();
  }
  if (entry->type != QXDataFileString) {
    QXErrorMessage(operation, "The variable \"" + name + "\" is not a string.");
    return std::string();
  }
  if (entry->m == 0) return std::string();
  // The index admits no entry of more than INT_MAX elements.
  const int length = int(int64_t(entry->m) * entry->n * entry->o);
  content->appendEnd = -1;
  content->file.SetPosition(entry->location);
  const std::string bytes = content->file.ReadString(length);
  if (bytes.empty() || bytes.back() != '\0') return bytes;
  return std::string(bytes.c_str());
}

// --- Listing ----------------------------------------------------------------

std::string QXDataFile::Describe(const std::string& name, const QXDataEntry& entry) const {
  std::string line = QXListingName(name) + TypeInfo(uint32_t(entry.type)).label;
  const int m = entry.m, n = entry.n, o = entry.o;
  if (entry.type == QXDataFileString)
    return line + QXListingText(ReadString(name), int64_t(m) * n * o);
  if (m == 0) return line + "Empty";
  if (m == 1 && n == 1 && o == 1) return line + QXFloat2StringShort(ReadNumber(name));
  if (n == 1 && o == 1) return line + QXInt2String(m) + " numbers";
  line += QXInt2String(m) + " x " + QXInt2String(n);
  if (o != 1) line += " x " + QXInt2String(o);
  return line + " array";
}

void QXDataFile::printInfo() const {
  const std::map<std::string, QXDataEntry>& index = content->content;
  const int count = int(index.size());
  const std::string rule(64, '-');
  std::string countText = "Empty";
  if (count == 1) countText = "1 entry";
  if (count > 1) countText = QXInt2String(count) + " entries";
  const std::string text = rule + "\nContent of \"" + content->file.Name() + "\" (" + countText +
                           " )\n" + rule + "\n" +
                           QXListingLines<QXDataFilePosString>(
                               index, [this](const std::string& name, const QXDataEntry& entry) {
                                 return Describe(name, entry);
                               });
  std::fwrite(text.data(), 1, text.size(), stderr);
}
