#include "QXMatlabDataFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <type_traits>
#include <utility>

#include "QXByteReaderInternal.h"
#include "QXError.h"
#include "QXMatlabDataFileInternal.h"
#include "QXNumberText.h"
#include "QXStorageListingInternal.h"

namespace {

constexpr int kHeaderBytes = 20;
constexpr int kMaxNameField = 255;
// Element-type digits 0 to 5 have a size; the others make no record to read.
constexpr int kElementSizes[10] = {8, 4, 4, 2, 2, 1, -1, -1, -1, -1};
constexpr int kTextType = 51;

const char* const kSaveOperation = "QXMatlabDataFile::Save";
const char* const kStringOperation = "dataFile.ReadString(name)";
const char* const kShortRecord = "Could not read the required number of values from the file";

// The type code each array's save writes: a character array is saved as text.
template <class T>
constexpr int kTypeCode = 0;
template <>
constexpr int kTypeCode<float> = 10;
template <>
constexpr int kTypeCode<int> = 20;
template <>
constexpr int kTypeCode<short> = 30;
template <>
constexpr int kTypeCode<unsigned short> = 40;
template <>
constexpr int kTypeCode<unsigned char> = 50;
template <>
constexpr int kTypeCode<signed char> = kTextType;

// The report of a read that cannot take the record's type: under the read's
// own name, except for the two short reads.
template <class T>
void ReportIllegalType() {
  if constexpr (std::is_same_v<T, short>)
    QXErrorMessage("dataFile.ReadShortArray(name)", "Illegal type.");
  else if constexpr (std::is_same_v<T, unsigned short>)
    QXErrorMessage("dataFile.ReadUShortArray(name)", "Illegal type.");
  else if constexpr (std::is_same_v<T, signed char>)
    QXErrorMessage(QXStorageReadOperation<T>(), "Haven't taken care of this case.");
  else
    QXErrorMessage(QXStorageReadOperation<T>(), "Illegal type.");
}

// Names in reports are escaped, as in the listing, so that a name read from
// a file cannot start a line of its own.
std::string NotFoundText(const std::string& name) {
  return "Did not find the variable \"" + QXEscapeControlCharacters(name) + "\" inside the datafile.";
}

int ElementDigit(int type) { return (type % 100) / 10; }

// Calls visit with a value of the element type that a record's element
// digit stands for (digit 5: unsigned bytes).
template <class Visit>
void VisitElementType(int digit, Visit&& visit) {
  switch (digit) {
    case 0:
      return visit(double());
    case 1:
      return visit(float());
    case 2:
      return visit(int());
    case 3:
      return visit(static_cast<short>(0));
    case 4:
      return visit(static_cast<unsigned short>(0));
    default:
      return visit(static_cast<unsigned char>(0));
  }
}

// The byte size of a record's data, computed in 64 bits from sizes that are
// not negative; saturates instead of overflowing. -1 for elements without a
// size (a record of such a type holding no elements has size 0).
long long RecordDataBytes(const FMatrix& header) {
  const long long count = static_cast<long long>(header.mrows) * header.ncols;
  if (count == 0) return 0;
  const int size = kElementSizes[ElementDigit(header.type)];
  if (size < 0) return -1;
  return count > LLONG_MAX / size ? LLONG_MAX : count * size;
}

long DataOffset(const QXMatlabDataEntry& entry) {
  return entry.location + kHeaderBytes + entry.Fmtrx.namelen;
}

FMatrix DecodeHeader(const unsigned char* bytes, QXByteOrder order) {
  return {QXLoad<int32_t>(bytes, order), QXLoad<int32_t>(bytes + 4, order),
          QXLoad<int32_t>(bytes + 8, order), QXLoad<int32_t>(bytes + 12, order),
          QXLoad<int32_t>(bytes + 16, order)};
}

void EncodeHeader(const FMatrix& header, QXByteOrder order, unsigned char* bytes) {
  QXStore(bytes, header.type, order);
  QXStore(bytes + 4, header.mrows, order);
  QXStore(bytes + 8, header.ncols, order);
  QXStore(bytes + 12, header.imagf, order);
  QXStore(bytes + 16, header.namelen, order);
}

bool IsValidHeader(const FMatrix& header) {
  return header.namelen >= 1 && header.namelen <= kMaxNameField && header.type >= 0 &&
         header.type <= 1052 && header.mrows >= 0 && header.ncols >= 0;
}

// A file's first record tells its byte order: its type code lies between the
// machine's base (1000 on a big-endian machine, else 0) and base + 52 when
// the file has the machine's order.
QXByteOrder OrderOfFirstRecord(const unsigned char* bytes) {
  const QXByteOrder machine = QXMachineByteOrder();
  const int base = machine == QXByteOrder::BigEndian ? 1000 : 0;
  const int32_t type = QXLoad<int32_t>(bytes, machine);
  return type < base || type > base + 52 ? QXOtherByteOrder(machine) : machine;
}

// The length of the valid record at bytes, or 0; for the tail check.
long long RecordLength(const unsigned char* bytes, size_t available, const void* order) {
  if (available < static_cast<size_t>(kHeaderBytes)) return 0;
  FMatrix header = DecodeHeader(bytes, *static_cast<const QXByteOrder*>(order));
  if (!IsValidHeader(header)) return 0;
  header.type %= 1000;
  const long long data = RecordDataBytes(header);
  if (data < 0 || data > LLONG_MAX / 2) return 0;
  return kHeaderBytes + header.namelen + data;
}

enum QXIndexStep { QXIndexed, QXIndexAtEnd, QXIndexAtCutRecord, QXIndexAtDamage, QXIndexAtForeign };

QXIndexStep ReportInvalidRecord(long start, const char* operation, const char* message) {
  QXErrorMessage(operation, message);
  return start == 0 ? QXIndexAtForeign : QXIndexAtDamage;
}

const QXFileFormat kMatlabFormat = {
    kSaveOperation, "record", "a record",
    "The file is not a Matlab version 4 file; nothing was saved.",
    kHeaderBytes + kMaxNameField, RecordLength};

}  // namespace

// --- Handles ----------------------------------------------------------------

QXMatlabDataFile::QXMatlabDataFile(std::string name, QXFile::OpenType oType)
    : QXMatlabDataFile(QXFile(name, oType)) {}

QXMatlabDataFile::QXMatlabDataFile(QXFile file) : content(new QXMatlabDataFileContent(file)) {
  IndexFile();
}

QXMatlabDataFile::QXMatlabDataFile(const QXMatlabDataFile& other)
    : QXDataStorage(other), content(QXShareContent(other.content)) {}

QXMatlabDataFile& QXMatlabDataFile::operator=(const QXMatlabDataFile& other) {
  QXReassignContent(content, other.content);
  return *this;
}

QXMatlabDataFile::~QXMatlabDataFile() { QXReleaseContent(content); }

QXMutablePointer<QXDataStorage> QXMatlabDataFile::AsPointer() {
  return QXMutablePointer<QXDataStorage>(new QXMatlabDataFile(*this));
}

// --- Indexing ---------------------------------------------------------------

QXByteOrder QXMatlabDataFile::FileOrder() const {
  return content->needToSwapEndian ? QXOtherByteOrder(QXMachineByteOrder())
                                   : QXMachineByteOrder();
}

// Indexes the record at the reader's position and moves past it, or tells
// why the walk ends there. A record that does not fit the file is not
// indexed, so that an earlier whole record of its name stays the one read.
int QXMatlabDataFile::IndexRecord(QXByteReader& reader) {
  QXMatlabDataFileContent& shared = *content;
  const long start = reader.Position();
  if (reader.Remaining() == 0) return QXIndexAtEnd;
  const unsigned char* headerBytes = reader.Next(kHeaderBytes);
  // A file shorter than one header is nothing this storage wrote.
  if (headerBytes == nullptr) return start == 0 ? QXIndexAtForeign : QXIndexAtCutRecord;
  if (start == 0) shared.needToSwapEndian = OrderOfFirstRecord(headerBytes) != QXMachineByteOrder();
  FMatrix header = DecodeHeader(headerBytes, FileOrder());
  if (!IsValidHeader(header))
    return ReportInvalidRecord(start, "Reading In File Content",
                               "Invalid file format, make sure you used the -v4 in matlab.");
  header.type %= 1000;
  const unsigned char* nameField = reader.Next(static_cast<size_t>(header.namelen));
  if (nameField == nullptr) return QXIndexAtCutRecord;
  const char* nameBytes = reinterpret_cast<const char*>(nameField);
  std::string_view name(nameBytes, strnlen(nameBytes, static_cast<size_t>(header.namelen)));
  const long long dataBytes = RecordDataBytes(header);
  if (dataBytes < 0)
    return ReportInvalidRecord(start, "dataFile.ReadDoubleArray(name)",
                               "Unexpected variable type in the file.");
  if (dataBytes > reader.Remaining()) {
    shared.tail.tailName = std::string(name);
    return QXIndexAtCutRecord;
  }
  QXMatlabDataEntry entry;
  entry.Fmtrx = header;
  entry.location = start;
  if (dataBytes <= static_cast<long long>(kQXSmallRecordBytes)) {
    // The name's bytes stay valid only until the reader moves on.
    char kept[kMaxNameField];
    std::memcpy(kept, name.data(), name.size());
    const unsigned char* data = reader.Next(static_cast<size_t>(dataBytes));
    if (dataBytes > 0) entry.small = shared.content.KeepSmallBytes(data, static_cast<size_t>(dataBytes));
    Index(std::string_view(kept, name.size()), entry, true);
  } else {
    Index(name, entry, true);
    reader.Skip(dataBytes);
  }
  return QXIndexed;
}

// Adds a record to the index: found by the walk, or just saved. Counts the
// names that may be companions (a name found twice counts twice).
void QXMatlabDataFile::Index(std::string_view name, const QXMatlabDataEntry& entry,
                             bool walking) {
  const std::string_view suffix = "_3D";
  const bool isNew = walking ? (content->content.Append(name, entry), true)
                             : content->content.Set(name, entry);
  if (isNew && name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix)
    content->companions++;
}

// One sequential walk through a read-ahead buffer: small records cost no
// system call of their own, large data are skipped.
void QXMatlabDataFile::IndexFile() {
  QXMatlabDataFileContent& shared = *content;
  if (!shared.file.IsOpen()) return;
  shared.tail.end = shared.file.Size();
  QXByteReader reader(shared.file, shared.tail.end, 0);
  // A record of one number with a short name takes about 36 bytes; the
  // estimate stops at a million records (beyond, the vectors grow).
  shared.content.Reserve(std::min<size_t>(static_cast<size_t>(shared.tail.end) / 32, size_t{1} << 20));
  long start = 0;
  int step = QXIndexed;
  while (step == QXIndexed) {
    start = reader.Position();
    step = IndexRecord(reader);
  }
  shared.content.Seal();
  if (step == QXIndexAtEnd) return;
  shared.tail.stop = start;
  if (step == QXIndexAtCutRecord)
    shared.tail.state = QXFileState::CutTail;
  else if (step == QXIndexAtDamage)
    shared.tail.state = QXFileState::Damaged;
  else
    shared.tail.state = QXFileState::Foreign;
}

// --- Queries ----------------------------------------------------------------

const QXMatlabDataEntry* QXMatlabDataFile::Find(const std::string& name) const {
  return content->content.Find(name);
}

QXList<std::string> QXMatlabDataFile::NamesWithPrefix(const std::string& prefix) const {
  return content->content.NamesWithPrefix(prefix);
}

QXList<std::string> QXMatlabDataFile::AllVariableNames() const {
  return content->content.NamesInOrder();
}

bool QXMatlabDataFile::Contains(std::string name) const { return Find(name) != nullptr; }

bool QXMatlabDataFile::IsReadOnly() const { return content->file.IsReadOnly(); }

bool QXMatlabDataFile::IsOpen() const { return content->file.IsOpen(); }

FILE* QXMatlabDataFile::GetFile() const { return content->file.GetFILE(); }

bool QXMatlabDataFile::SavedAsDouble(std::string name) const {
  const QXMatlabDataEntry* entry = Find(name);
  return entry != nullptr && entry->Fmtrx.type == 0;
}

bool QXMatlabDataFile::SavedAsString(std::string name) const {
  const QXMatlabDataEntry* entry = Find(name);
  return entry != nullptr && entry->Fmtrx.type == kTextType;
}

// Saves write straight through to the file; the stream holds nothing of
// theirs, so this reports only a failure of what others wrote through it.
void QXMatlabDataFile::Flush() const {
  FILE* stream = content->file.GetFILE();
  if (stream != nullptr && std::fflush(stream) != 0)
    QXErrorMessage("QXMatlabDataFile::Flush", std::string("Could not flush the file (") +
                                                  std::strerror(errno) + ").");
}

// --- Saving -----------------------------------------------------------------

// The longest name covers both a 3-D array's name and its companion's.
bool QXMatlabDataFile::CanSave(const std::string& name, const std::string& longestName) {
  const char* problem = nullptr;
  if (IsReadOnly())
    problem = "File is read only.";
  else if (!IsOpen())
    problem = "File is not open.";
  // A longer name field makes the record, and every one after it, unreadable.
  else if (longestName.size() >= static_cast<size_t>(kMaxNameField))
    problem = "The name is longer than 254 characters.";
  // The name would end at the zero byte and replace another variable.
  else if (name.find('\0') != std::string::npos)
    problem = "The name contains a zero byte.";
  if (problem != nullptr) {
    QXErrorMessage(kSaveOperation, problem);
    return false;
  }
  const QXByteOrder order = FileOrder();
  return QXPrepareToAppend(content->file, content->tail, kMatlabFormat, &order);
}

// Adds one record to the writer, in the file's byte order (the machine's for
// a new file, so that a file never mixes the two orders).
template <class T>
void QXMatlabDataFile::AddRecord(QXAppendWriter& writer, int typeCode, int mrows, int ncols,
                                 const std::string& name, const T* data, size_t count,
                                 std::vector<QXMatlabPendingRecord>& pending) const {
  const QXByteOrder order = FileOrder();
  FMatrix header = {typeCode + (order == QXByteOrder::BigEndian ? 1000 : 0), mrows, ncols, 0,
                    static_cast<int32_t>(name.size() + 1)};
  unsigned char headerBytes[kHeaderBytes];
  EncodeHeader(header, order, headerBytes);
  QXMatlabPendingRecord record;
  record.name = name;
  record.entry.location = writer.End();
  header.type = typeCode;
  record.entry.Fmtrx = header;
  writer.Add(headerBytes, kHeaderBytes);
  writer.Add(name.c_str(), name.size() + 1);
  writer.AddElements(data, count, order);
  if (count * sizeof(T) <= kQXSmallRecordBytes) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    record.smallData.assign(bytes, bytes + count * sizeof(T));
    if (order != QXMachineByteOrder()) QXSwapElementBytes<sizeof(T)>(record.smallData.data(), count);
  }
  pending.push_back(std::move(record));
}

// A save replaces the whole variable: a companion "_3D" record that the new
// value lacks is overwritten with 0, which reads as none. It goes last, so
// that an interrupted save leaves the old variable whole.
void QXMatlabDataFile::AddCompanion(QXAppendWriter& writer, const std::string& name, int rows,
                                    std::vector<QXMatlabPendingRecord>& pending) const {
  const std::string companion = name + "_3D";
  if (rows == 0 && CompanionOf(name) == 0) return;
  const double value = rows;
  AddRecord(writer, 0, 1, 1, companion, &value, 1, pending);
}

// Writes the records; on success indexes them, on failure takes back what
// was written and reports.
void QXMatlabDataFile::Commit(QXAppendWriter& writer, const std::string& name,
                              std::vector<QXMatlabPendingRecord>& pending) {
  QXMatlabDataFileContent& shared = *content;
  if (!QXFinishAppend(shared.file, shared.tail, writer, name, kMatlabFormat)) return;
  for (QXMatlabPendingRecord& record : pending) {
    if (!record.smallData.empty())
      record.entry.small =
          shared.content.KeepSmallBytes(record.smallData.data(), record.smallData.size());
    Index(record.name, record.entry, false);
  }
}

template <class T>
void QXMatlabDataFile::SaveArray(const QXArray<T>& A, const std::string& name) {
  const bool threeD = A.o() > 1;
  if (!CanSave(name, threeD ? name + "_3D" : name)) return;
  QXAppendWriter writer(content->file, content->tail.end);
  std::vector<QXMatlabPendingRecord> pending;
  // A 3-D array goes as (m*n) x o, its companion holding m.
  const int mrows = threeD ? A.m() * A.n() : A.m();
  AddRecord(writer, kTypeCode<T>, mrows, threeD ? A.o() : A.n(), name,
            A.Pointer(), static_cast<size_t>(A.Length()), pending);
  AddCompanion(writer, name, threeD ? A.m() : 0, pending);
  Commit(writer, name, pending);
}

void QXMatlabDataFile::Save(int v, std::string name) { Save(static_cast<double>(v), name); }

void QXMatlabDataFile::Save(double v, std::string name) {
  QXMutableDoubleArray number(1, 1, 1);
  number(0) = v;
  SaveArray<double>(number, name);
}

void QXMatlabDataFile::Save(const QXDoubleArray& A, std::string name) { SaveArray(A, name); }
void QXMatlabDataFile::Save(const QXFloatArray& A, std::string name) { SaveArray(A, name); }
void QXMatlabDataFile::Save(const QXIntArray& A, std::string name) { SaveArray(A, name); }
void QXMatlabDataFile::Save(const QXCharArray& A, std::string name) { SaveArray(A, name); }
void QXMatlabDataFile::Save(const QXUCharArray& A, std::string name) { SaveArray(A, name); }
void QXMatlabDataFile::Save(const QXShortIntArray& A, std::string name) { SaveArray(A, name); }
void QXMatlabDataFile::Save(const QXUShortIntArray& A, std::string name) { SaveArray(A, name); }

void QXMatlabDataFile::Save(std::string theString, std::string name) {
  if (theString.size() > static_cast<size_t>(INT_MAX)) {
    QXErrorMessage(kSaveOperation, "The string is too long for the file format.");
    return;
  }
  if (!CanSave(name, name)) return;
  QXAppendWriter writer(content->file, content->tail.end);
  std::vector<QXMatlabPendingRecord> pending;
  AddRecord(writer, kTextType, static_cast<int>(theString.size()), 1, name,
            reinterpret_cast<const unsigned char*>(theString.data()), theString.size(), pending);
  AddCompanion(writer, name, 0, pending);
  Commit(writer, name, pending);
}

// --- Reading ----------------------------------------------------------------

// The single element of a record holding one, as a double; 0 for a missing
// name, text, or any other count. Reports nothing.
double QXMatlabDataFile::CompanionOf(const std::string& name) const {
  return content->companions == 0 ? 0 : NumberOf(name + "_3D");
}

double QXMatlabDataFile::NumberOf(const std::string& name) const {
  const QXMatlabDataEntry* entry = Find(name);
  if (entry == nullptr || entry->Fmtrx.type == kTextType) return 0;
  const FMatrix& header = entry->Fmtrx;
  if (header.mrows != 1 || header.ncols != 1 || ElementDigit(header.type) > 5) return 0;
  double value = 0;
  bool read = false;
  VisitElementType(ElementDigit(header.type), [&](auto stored) {
    read = QXReadStoredElements<decltype(stored), double>(content->file, DataOffset(*entry),
                                                           SmallData(*entry), FileOrder(), &value, 1);
  });
  return read ? value : 0;
}

const unsigned char* QXMatlabDataFile::SmallData(const QXMatlabDataEntry& entry) const {
  return entry.small < 0 ? nullptr : content->content.SmallBytes(entry.small);
}

template <class T>
QXArray<T> QXMatlabDataFile::ReadArray(const std::string& name) const {
  const QXMatlabDataEntry* entry = Find(name);
  if (entry == nullptr) {
    QXErrorMessage(QXStorageReadOperation<T>(), NotFoundText(name));
    return QXArray<T>();
  }
  const FMatrix header = entry->Fmtrx;
  // A "_3D" companion holds the row count m of an m x n x o array stored as
  // (m*n) x o. One that does not divide the rows is not taken.
  int m = header.mrows, n = header.ncols, o = 1;
  const int k = QXConvertElement<int>(CompanionOf(name));
  if (k > 0 && header.mrows % k == 0) {
    m = k;
    n = header.mrows / m;
    o = header.ncols;
  }
  const int digit = ElementDigit(header.type);
  // Text is read as a character array only, and only into its own type.
  const bool takesText = std::is_same_v<T, signed char> && header.type == kTextType;
  if (digit > 5 || (header.type == kTextType && !takesText)) {
    ReportIllegalType<T>();
    QXMutableArray<T> zeros(m, n, o);
    zeros = T(0);
    return zeros;
  }
  QXMutableArray<T> result(m, n, o);
  // An array beyond the int range was reported by its constructor.
  if (static_cast<long long>(result.Length()) != static_cast<long long>(header.mrows) * header.ncols)
    return QXArray<T>();
  bool read = false;
  VisitElementType(digit, [&](auto stored) {
    read = QXReadStoredElements<decltype(stored), T>(content->file, DataOffset(*entry),
                                                     SmallData(*entry), FileOrder(),
                                                     result.Pointer(),
                                                     static_cast<size_t>(result.Length()));
  });
  if (read) return result;
  QXErrorMessage(QXStorageReadOperation<T>(), kShortRecord);
  return QXArray<T>();
}

QXDoubleArray QXMatlabDataFile::ReadDoubleArray(std::string name) const {
  return ReadArray<double>(name);
}
QXFloatArray QXMatlabDataFile::ReadFloatArray(std::string name) const {
  return ReadArray<float>(name);
}
QXIntArray QXMatlabDataFile::ReadIntArray(std::string name) const { return ReadArray<int>(name); }
QXCharArray QXMatlabDataFile::ReadCharArray(std::string name) const {
  return ReadArray<signed char>(name);
}
QXUCharArray QXMatlabDataFile::ReadUCharArray(std::string name) const {
  return ReadArray<unsigned char>(name);
}
QXShortIntArray QXMatlabDataFile::ReadShortIntArray(std::string name) const {
  return ReadArray<short>(name);
}
QXUShortIntArray QXMatlabDataFile::ReadUShortIntArray(std::string name) const {
  return ReadArray<unsigned short>(name);
}

double QXMatlabDataFile::ReadNumber(std::string name) const {
  const QXDoubleArray A = ReadDoubleArray(std::move(name));
  return A.Length() == 1 ? A.Pointer()[0] : 0.0;
}

int QXMatlabDataFile::ReadInt(std::string name) const {
  const QXIntArray A = ReadIntArray(std::move(name));
  return A.Length() == 1 ? A.Pointer()[0] : 0;
}

std::string QXMatlabDataFile::ReadString(std::string name) const {
  const QXMatlabDataEntry* entry = Find(name);
  if (entry == nullptr) {
    QXErrorMessage(kStringOperation, NotFoundText(name));
    return std::string();
  }
  const long long count = static_cast<long long>(entry->Fmtrx.mrows) * entry->Fmtrx.ncols;
  if (count == 0) return std::string();
  if (entry->Fmtrx.type != kTextType) {
    QXErrorMessage(kStringOperation, "The variable \"" + QXEscapeControlCharacters(name) +
                                         "\" is not save as a string.");
    return std::string();
  }
  // The walk indexed the record only because the file holds it in full.
  std::string text(static_cast<size_t>(count), '\0');
  if (!QXReadStoredElements<char, char>(content->file, DataOffset(*entry), SmallData(*entry),
                                        FileOrder(), &text[0], text.size())) {
    QXErrorMessage(kStringOperation, kShortRecord);
    return std::string();
  }
  text.resize(strnlen(text.c_str(), text.size()));
  return text;
}

// --- Listing ----------------------------------------------------------------

std::string QXMatlabDataFile::Describe(const std::string& name,
                                       const QXMatlabDataEntry& entry) const {
  const FMatrix& header = entry.Fmtrx;
  std::string line = QXListingName(name);
  switch (header.type) {
    case 0:
      line += " - double - ";
      break;
    case 10:
      line += " -  float - ";
      break;
    case 20:
      line += " -    int - ";
      break;
    case 30:
      line += " -  short - ";
      break;
    case 40:
      line += " - UShort - ";
      break;
    case 50:
      line += " -  UChar - ";
      break;
    case kTextType:
      return line + " - string - " +
             QXListingText(ReadString(name), static_cast<long long>(header.mrows) * header.ncols);
    default:
      line += " - ?????? - ";
      break;
  }
  return line + QXListingSize(header.mrows, header.ncols, 1,
                              [&] { return QXFloat2StringShort(ReadNumber(name)); });
}

void QXMatlabDataFile::printInfo() const {
  const std::string rule(64, '-');
  const std::string text =
      rule + "\nContent of \"" + content->file.Name() + "\"\n" + rule + "\n" +
      QXListingLines<QXMatlabDataFilePosString>(
          content->content, [this](const std::string& name, const QXMatlabDataEntry& entry) {
            return Describe(name, entry);
          });
  std::fwrite(text.data(), 1, text.size(), stderr);
}
