#include "QXDataFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <type_traits>
#include <utility>

#include "QXByteReaderInternal.h"
#include "QXDataFileInternal.h"
#include "QXError.h"
#include "QXNumberText.h"
#include "QXStorageListingInternal.h"

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
const char* const kShortRead = "Could not read the required number of values from the file";

// The type code each array's save writes.
template <class T>
constexpr int kTypeCode = QXDataFileDouble;
template <>
constexpr int kTypeCode<float> = QXDataFileFloat;
template <>
constexpr int kTypeCode<int> = QXDataFileInt;
template <>
constexpr int kTypeCode<short> = QXDataFileShortInt;
template <>
constexpr int kTypeCode<unsigned short> = QXDataFileUShortInt;
template <>
constexpr int kTypeCode<unsigned char> = QXDataFileUChar;
template <>
constexpr int kTypeCode<signed char> = QXDataFileChar;

// The byte reads take other entries' bytes as they are: the char read a
// string's (its text and zero byte), the unsigned char read a string's and a
// char array's. They report any other type as a case they do not take; the
// number reads report it as a string.
template <class T>
bool ReadsBytesOf(int type) {
  if constexpr (std::is_same_v<T, signed char>) return type == QXDataFileString;
  if constexpr (std::is_same_v<T, unsigned char>)
    return type == QXDataFileString || type == QXDataFileChar;
  return false;
}
template <class T>
const char* OtherTypeText() {
  return sizeof(T) == 1 ? "Haven't taken care of this case." : "Trying to read in a string.";
}

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

// True when the header can describe an entry this storage could have
// written: sizes that fit the arrays' int dimensions, and a block long enough
// for the header, the name and the data. Anything else is a damaged file.
bool IsSoundEntry(const QXDataFileStructure& header) {
  if (header.blockLength <= 0 || header.type > kMaxTypeCode || header.nameLength > kMaxNameLength)
    return false;
  const uint64_t intMax = INT_MAX;
  if (header.m > intMax || header.n > intMax || header.o > intMax) return false;
  const uint64_t plane = static_cast<uint64_t>(header.m) * header.n;  // below 2^62
  if (header.o != 0 && plane > intMax) return false;
  const uint64_t elements = plane * header.o;  // plane <= INT_MAX here, or o is 0
  if (elements > intMax) return false;
  // Data of an unknown type have no known length; the block need only hold the name.
  const uint64_t dataLength = elements * static_cast<uint64_t>(TypeInfo(header.type).elementSize);
  return static_cast<uint64_t>(header.blockLength) >=
         kEntryHeaderSize + header.nameLength + dataLength;
}

// The name in a name field, or false when the field holds no zero byte.
bool NameInField(const unsigned char* field, uint32_t length, std::string_view& name) {
  const void* zero = std::memchr(field, 0, length);
  if (zero == nullptr) return false;
  name = std::string_view(reinterpret_cast<const char*>(field),
                          static_cast<size_t>(static_cast<const unsigned char*>(zero) - field));
  return true;
}

// The length of the sound entry at bytes, or 0; for the tail check.
long long EntryLength(const unsigned char* bytes, size_t available, const void*) {
  if (available < static_cast<size_t>(kEntryHeaderSize)) return 0;
  const QXDataFileStructure header = QXDataFileStructure::Decode(bytes);
  std::string_view name;
  if (!IsSoundEntry(header) || available < kEntryHeaderSize + header.nameLength ||
      !NameInField(bytes + kEntryHeaderSize, header.nameLength, name))
    return 0;
  return header.blockLength;
}

const QXFileFormat kDataFileFormat = {kSave, "entry", "an entry",
                                      "Not a valid Varnholm binary format; nothing was saved.",
                                      kEntryHeaderSize + kMaxNameLength, EntryLength};

enum QXIndexStep { QXIndexed, QXIndexAtEnd, QXIndexAtTruncatedEntry, QXIndexAtDamagedEntry };

QXIndexStep ReportDamagedEntry() {
  QXErrorMessage("Reading In File Content", "Invalid file format.");
  return QXIndexAtDamagedEntry;
}

// Indexes the entry at the reader's position and moves past it, or tells why
// the index ends there: at the end of the file, at an entry cut short by the
// end of the file (silently; not indexed, so that an earlier whole entry of
// its name stays the one read) or at a damaged one (reported).
QXIndexStep IndexEntry(QXByteReader& reader, QXDataFileContent& shared) {
  const long start = reader.Position();
  if (reader.Remaining() == 0) return QXIndexAtEnd;
  const unsigned char* raw = reader.Next(kEntryHeaderSize);
  if (raw == nullptr) return QXIndexAtTruncatedEntry;
  const QXDataFileStructure header = QXDataFileStructure::Decode(raw);
  if (!IsSoundEntry(header)) return ReportDamagedEntry();
  const unsigned char* field = reader.Next(header.nameLength);
  if (field == nullptr) return QXIndexAtTruncatedEntry;
  std::string_view name;
  if (!NameInField(field, header.nameLength, name)) return ReportDamagedEntry();
  const int64_t rest = header.blockLength - kEntryHeaderSize - header.nameLength;
  if (rest > reader.Remaining()) {
    shared.tail.tailName = std::string(name);
    return QXIndexAtTruncatedEntry;
  }
  QXDataEntry entry(static_cast<int>(header.m), static_cast<int>(header.n),
                    static_cast<int>(header.o), static_cast<int>(header.type),
                    start + kEntryHeaderSize + static_cast<long>(header.nameLength));
  if (rest <= static_cast<int64_t>(kQXSmallRecordBytes)) {
    // The name's bytes stay valid only until the reader moves on.
    char kept[kMaxNameLength];
    std::memcpy(kept, name.data(), name.size());
    const unsigned char* data = reader.Next(static_cast<size_t>(rest));
    if (rest > 0) entry.small = shared.content.KeepSmallBytes(data, static_cast<size_t>(rest));
    shared.content.Append(std::string_view(kept, name.size()), entry);
  } else {
    shared.content.Append(name, entry);
    reader.Skip(rest);
  }
  return QXIndexed;
}

}  // namespace

// --- Entry headers ----------------------------------------------------------

void QXDataFileStructure::Encode(unsigned char bytes[kEncodedSize]) const {
  const QXByteOrder big = QXByteOrder::BigEndian;
  QXStore(bytes, blockLength, big);
  QXStore(bytes + 8, type, big);
  QXStore(bytes + 12, m, big);
  QXStore(bytes + 16, n, big);
  QXStore(bytes + 20, o, big);
  QXStore(bytes + 24, nameLength, big);
}

QXDataFileStructure QXDataFileStructure::Decode(const unsigned char bytes[kEncodedSize]) {
  const QXByteOrder big = QXByteOrder::BigEndian;
  return QXDataFileStructure(QXLoad<uint32_t>(bytes + 12, big), QXLoad<uint32_t>(bytes + 16, big),
                             QXLoad<uint32_t>(bytes + 20, big), QXLoad<int64_t>(bytes, big),
                             QXLoad<uint32_t>(bytes + 8, big), QXLoad<uint32_t>(bytes + 24, big));
}

// --- Construction and sharing -----------------------------------------------

QXDataFile::QXDataFile(QXFile file) : content(new QXDataFileContent(file)) { ReadInContent(); }

QXDataFile::QXDataFile(std::string path, QXFile::OpenType type) : QXDataFile(QXFile(path, type)) {}

QXDataFile::QXDataFile(const QXDataFile& other)
    : QXDataStorage(other), content(QXShareContent(other.content)) {}

QXDataFile& QXDataFile::operator=(const QXDataFile& other) {
  QXReassignContent(content, other.content);
  return *this;
}

QXDataFile::~QXDataFile() { QXReleaseContent(content); }

QXMutablePointer<QXDataStorage> QXDataFile::AsPointer() {
  return QXMutablePointer<QXDataStorage>(new QXDataFile(*this));
}

FILE* QXDataFile::GetFILE() const { return content->file.GetFILE(); }

// One sequential pass through a read-ahead buffer: the walk costs a handful
// of reads however many entries the file has, and it only ever moves forward.
void QXDataFile::ReadInContent() {
  QXDataFileContent& shared = *content;
  QXFile& file = shared.file;
  if (!file.IsOpen()) return;
  QXAppendState& tail = shared.tail;
  tail.end = file.Size();
  if (tail.end == 0) {
    if (file.IsReadOnly()) return;
    if (file.WriteAt(0, kFileHeader, kFileHeaderSize)) {
      tail.end = static_cast<long>(kFileHeaderSize);
      return;
    }
    QXErrorMessage("QXDataFile::ReadInContent", std::string("Could not write the file header (") +
                                                    std::strerror(errno) + ").");
    file.Truncate(0);
    tail.state = QXFileState::Foreign;
    tail.stop = 0;
    return;
  }
  QXByteReader reader(file, tail.end, 0);
  const unsigned char* header = reader.Next(kFileHeaderSize);
  if (header == nullptr || std::memcmp(header, kFileHeader, kFileHeaderSize) != 0) {
    QXErrorMessage("QXDataFile::ReadInContent", "Not a valid Varnholm binary format.");
    tail.state = QXFileState::Foreign;
    tail.stop = 0;
    return;
  }
  // An entry of one number with a short name takes about 44 bytes; the
  // estimate stops at a million entries (beyond, the vectors grow).
  shared.content.Reserve(std::min<size_t>(static_cast<size_t>(tail.end) / 40, size_t{1} << 20));
  long start = 0;
  QXIndexStep step = QXIndexed;
  while (step == QXIndexed) {
    start = reader.Position();
    step = IndexEntry(reader, shared);
  }
  shared.content.Seal();
  if (step == QXIndexAtEnd) return;
  tail.state = step == QXIndexAtTruncatedEntry ? QXFileState::CutTail : QXFileState::Damaged;
  tail.stop = start;
}

// --- Queries ----------------------------------------------------------------

const QXDataEntry* QXDataFile::Find(const std::string& name) const {
  return content->content.Find(name);
}

QXList<std::string> QXDataFile::NamesWithPrefix(const std::string& prefix) const {
  return content->content.NamesWithPrefix(prefix);
}

QXList<std::string> QXDataFile::AllVariableNames() const { return content->content.NamesInOrder(); }

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

// Saves write straight through to the file; the stream holds nothing of
// theirs, so this reports only a failure of what others wrote through it.
void QXDataFile::Flush() const {
  FILE* stream = content->file.GetFILE();
  if (!IsReadOnly() && stream != nullptr && std::fflush(stream) != 0)
    QXErrorMessage("QXDataFile::Flush",
                   std::string("Could not flush the file (") + std::strerror(errno) + ").");
}

// --- Saving -----------------------------------------------------------------

bool QXDataFile::CanSave(const std::string& name) {
  const char* problem = nullptr;
  if (IsReadOnly())
    problem = "File is read only.";
  else if (!content->file.IsOpen())
    problem = "File is not open.";
  // The reader takes a name field of at most 255 bytes up to its first zero
  // byte; any other name would not read back, or would end the index.
  else if (name.size() >= kMaxNameLength)
    problem = "The name is longer than 254 characters.";
  else if (name.find('\0') != std::string::npos)
    problem = "The name contains a zero byte.";
  if (problem != nullptr) {
    QXErrorMessage(kSave, problem);
    return false;
  }
  return QXPrepareToAppend(content->file, content->tail, kDataFileFormat, nullptr);
}

// Appends one entry of count elements, big-endian, and indexes it once it
// is in the file.
template <class T>
void QXDataFile::AppendEntry(const std::string& name, int type, int m, int n, int o,
                             const T* data, size_t count) {
  QXDataFileContent& shared = *content;
  const uint32_t nameLength = static_cast<uint32_t>(name.size() + 1);
  const int64_t dataLength = static_cast<int64_t>(count * sizeof(T));
  const QXDataFileStructure header(static_cast<uint32_t>(m), static_cast<uint32_t>(n),
                                   static_cast<uint32_t>(o),
                                   kEntryHeaderSize + nameLength + dataLength,
                                   static_cast<uint32_t>(type), nameLength);
  unsigned char headerBytes[kEntryHeaderSize];
  header.Encode(headerBytes);
  QXAppendWriter writer(shared.file, shared.tail.end);
  writer.Add(headerBytes, kEntryHeaderSize);
  writer.Add(name.c_str(), nameLength);
  const long location = writer.End();
  writer.AddElements(data, count, QXByteOrder::BigEndian);
  if (!QXFinishAppend(shared.file, shared.tail, writer, name, kDataFileFormat)) return;
  QXDataEntry entry(m, n, o, type, location);
  if (dataLength <= static_cast<int64_t>(kQXSmallRecordBytes) && count > 0) {
    T small[kQXSmallRecordBytes / sizeof(T)];
    std::memcpy(small, data, count * sizeof(T));
    QXToMachineOrder(small, count, QXByteOrder::BigEndian);
    entry.small = shared.content.KeepSmallBytes(reinterpret_cast<const unsigned char*>(small),
                                                count * sizeof(T));
  }
  shared.content.Set(name, entry);
}

template <class T>
void QXDataFile::SaveArray(const QXArray<T>& A, const std::string& name) {
  if (!CanSave(name)) return;
  AppendEntry(name, kTypeCode<T>, A.m(), A.n(), A.o(), A.Pointer(),
              static_cast<size_t>(A.Length()));
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
  if (!CanSave(name)) return;
  // m holds the length with the zero byte and must fit an int.
  if (theString.size() >= static_cast<size_t>(INT_MAX)) {
    QXErrorMessage(kSave, "The string is too long.");
    return;
  }
  const int m = static_cast<int>(theString.size()) + 1;
  AppendEntry(name, QXDataFileString, m, 1, 1, theString.c_str(), static_cast<size_t>(m));
}

// --- Reading ----------------------------------------------------------------

const unsigned char* QXDataFile::SmallData(const QXDataEntry& entry) const {
  return entry.small < 0 ? nullptr : content->content.SmallBytes(entry.small);
}

// The entry's elements, stored as Stored, in an array of T.
template <class Stored, class T>
QXArray<T> QXDataFile::ReadEntry(const QXDataEntry& entry) const {
  QXMutableArray<T> A(entry.m, entry.n, entry.o);
  // An array beyond memory was reported by its constructor.
  if (static_cast<long long>(A.Length()) != static_cast<long long>(entry.m) * entry.n * entry.o)
    return QXArray<T>();
  if (QXReadStoredElements<Stored, T>(content->file, entry.location, SmallData(entry),
                                      QXByteOrder::BigEndian, A.Pointer(),
                                      static_cast<size_t>(A.Length())))
    return A;
  QXErrorMessage(QXStorageReadOperation<T>(), kShortRead);
  return QXArray<T>();
}

template <class T>
QXArray<T> QXDataFile::ReadArray(const std::string& name) const {
  const QXDataEntry* entry = Find(name);
  if (entry == nullptr) {
    QXErrorMessage(QXStorageReadOperation<T>(),
                   "Did not find the variable \"" + QXEscapeControlCharacters(name) +
                       "\" inside the datafile.");
    return QXArray<T>();
  }
  if (entry->type == kTypeCode<T> || ReadsBytesOf<T>(entry->type))
    return ReadEntry<T, T>(*entry);
  QXArray<T> result;
  const bool numeric = VisitNumericType(entry->type, [&](auto stored) {
    result = ReadEntry<decltype(stored), T>(*entry);
  });
  if (!numeric) QXErrorMessage(QXStorageReadOperation<T>(), OtherTypeText<T>());
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
    QXErrorMessage(operation, "Did not find the string \"" + QXEscapeControlCharacters(name) +
                                  "\" inside the datafile.");
    return std::string();
  }
  if (entry->type != QXDataFileString) {
    QXErrorMessage(operation,
                   "The variable \"" + QXEscapeControlCharacters(name) + "\" is not a string.");
    return std::string();
  }
  // A string entry holds m bytes; one that claims none (or a zero n or o) is empty.
  if (static_cast<int64_t>(entry->m) * entry->n * entry->o == 0) return std::string();
  // The index admits no entry of more than INT_MAX elements.
  std::string bytes(static_cast<size_t>(static_cast<int64_t>(entry->m) * entry->n * entry->o),
                    '\0');
  if (!QXReadStoredElements<char, char>(content->file, entry->location, SmallData(*entry),
                                        QXByteOrder::BigEndian, &bytes[0], bytes.size())) {
    QXErrorMessage(operation, kShortRead);
    return std::string();
  }
  if (bytes.back() != '\0') return bytes;
  bytes.resize(std::strlen(bytes.c_str()));
  return bytes;
}

// --- Listing ----------------------------------------------------------------

// The value of a one-element entry as the listing shows it.
std::string QXDataFile::NumberText(const std::string& name, const QXDataEntry& entry) const {
  double value = 0;
  const bool numeric = VisitNumericType(entry.type, [&](auto stored) {
    if (!QXReadStoredElements<decltype(stored), double>(content->file, entry.location,
                                                         SmallData(entry), QXByteOrder::BigEndian,
                                                         &value, 1))
      value = 0;
  });
  // Other types go through the interface's read, which reports them.
  if (!numeric) value = ReadNumber(name);
  return QXFloat2StringShort(value);
}

std::string QXDataFile::Describe(const std::string& name, const QXDataEntry& entry) const {
  const std::string line = QXListingName(name) + TypeInfo(static_cast<uint32_t>(entry.type)).label;
  const long long count = static_cast<long long>(entry.m) * entry.n * entry.o;
  if (entry.type == QXDataFileString) return line + QXListingText(ReadString(name), count);
  return line + QXListingSize(entry.m, entry.n, entry.o, [&] { return NumberText(name, entry); });
}

void QXDataFile::printInfo() const {
  const int count = content->content.Count();
  const std::string rule(64, '-');
  std::string countText = "Empty";
  if (count == 1) countText = "1 entry";
  if (count > 1) countText = QXInt2String(count) + " entries";
  const std::string text = rule + "\nContent of \"" + content->file.Name() + "\" (" + countText +
                           " )\n" + rule + "\n" +
                           QXListingLines<QXDataFilePosString>(
                               content->content,
                               [this](const std::string& name, const QXDataEntry& entry) {
                                 return Describe(name, entry);
                               });
  std::fwrite(text.data(), 1, text.size(), stderr);
}
