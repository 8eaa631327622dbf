#include "QXMatlabDataFile.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "QXArrayConversion.h"
#include "QXByteReader.h"
#include "QXEndianSwap.h"
#include "QXError.h"
#include "QXMatlabDataFileInternal.h"
#include "QXStorageListing.h"
#include "QXNumberText.h"

namespace {

constexpr int kHeaderBytes = 20;
constexpr int kMaxNameField = 255;
// Element-type digits 0 to 5 have a size; the others make no record to read.
constexpr int kElementSizes[10] = {8, 4, 4, 2, 2, 1, -1, -1, -1, -1};
constexpr int kTextType = 51;

const char* const kSaveOperation = "QXMatlabDataFile::Save";
const char* const kStringOperation = "dataFile.ReadString(name)";
const char* const kShortRecord = "Could not read the required number of values from the file";

// What the reads and saves of one element type need: the type code its save
// writes, the element-type digit its read takes without conversion, and the
// operation names and texts of its reports.
template <class T>
struct QXMatlabElement;
template <>
struct QXMatlabElement<double> {
  static constexpr int typeCode = 0, digit = 0;
  static constexpr const char* read = "dataFile.ReadDoubleArray(name)";
  static constexpr const char* illegalRead = read;
  static constexpr const char* illegalText = "Illegal type.";
};
template <>
struct QXMatlabElement<float> {
  static constexpr int typeCode = 10, digit = 1;
  static constexpr const char* read = "dataFile.ReadFloatArray(name)";
  static constexpr const char* illegalRead = read;
  static constexpr const char* illegalText = "Illegal type.";
};
template <>
struct QXMatlabElement<int> {
  static constexpr int typeCode = 20, digit = 2;
  static constexpr const char* read = "dataFile.ReadIntArray(name)";
  static constexpr const char* illegalRead = read;
  static constexpr const char* illegalText = "Illegal type.";
};
template <>
struct QXMatlabElement<short> {
  static constexpr int typeCode = 30, digit = 3;
  static constexpr const char* read = "dataFile.ReadShortIntArray(name)";
  static constexpr const char* illegalRead = "dataFile.ReadShortArray(name)";
  static constexpr const char* illegalText = "Illegal type.";
};
template <>
struct QXMatlabElement<unsigned short> {
  static constexpr int typeCode = 40, digit = 4;
  static constexpr const char* read = "dataFile.ReadUShortIntArray(name)";
  static constexpr const char* illegalRead = "dataFile.ReadUShortArray(name)";
  static constexpr const char* illegalText = "Illegal type.";
};
template <>
struct QXMatlabElement<unsigned char> {
  static constexpr int typeCode = 50, digit = 5;
  static constexpr const char* read = "dataFile.ReadUCharArray(name)";
  static constexpr const char* illegalRead = read;
  static constexpr const char* illegalText = "Illegal type.";
};
template <>
struct QXMatlabElement<signed char> {
  static constexpr int typeCode = kTextType, digit = 5;
  static constexpr const char* read = "dataFile.ReadCharArray(name)";
  static constexpr const char* illegalRead = read;
  static constexpr const char* illegalText = "Haven't taken care of this case.";
};

std::string NotFoundText(const std::string& name) {
  return "Did not find the variable \"" + name + "\" inside the datafile.";
}

int ElementDigit(int type) { return (type % 100) / 10; }

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

FMatrix DecodeHeader(const unsigned char* bytes, bool swap) {
  unsigned char ordered[kHeaderBytes];
  std::memcpy(ordered, bytes, kHeaderBytes);
  if (swap) QXSwap4Bytes(ordered, kHeaderBytes);
  FMatrix header;
  static_assert(sizeof header == kHeaderBytes, "FMatrix must match the file's header");
  std::memcpy(&header, ordered, kHeaderBytes);
  return header;
}

std::string EncodeHeader(const FMatrix& header, bool swap) {
  unsigned char bytes[kHeaderBytes];
  std::memcpy(bytes, &header, kHeaderBytes);
  if (swap) QXSwap4Bytes(bytes, kHeaderBytes);
  return std::string(reinterpret_cast<const char*>(bytes), kHeaderBytes);
}

bool IsValidHeader(const FMatrix& header) {
  return header.namelen >= 1 && header.namelen <= kMaxNameField && header.type >= 0 &&
         header.type <= 1052 && header.mrows >= 0 && header.ncols >= 0;
}

void SwapGroups(std::integral_constant<size_t, 2>, unsigned char* bytes, int count) {
  QXSwap2Bytes(bytes, count);
}
void SwapGroups(std::integral_constant<size_t, 4>, unsigned char* bytes, int count) {
  QXSwap4Bytes(bytes, count);
}
void SwapGroups(std::integral_constant<size_t, 8>, unsigned char* bytes, int count) {
  QXSwap8Bytes(bytes, count);
}

// Reads A in slices small enough to stay in cache and reverses each slice's
// bytes while it is there, so the swap costs next to nothing beside the read.
template <class T>
bool ReadSwapped(const QXFile& file, QXMutableArray<T>& A, const char* operation) {
  constexpr size_t kSliceBytes = size_t(1) << 20;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(A.Pointer());
  const size_t total = sizeof(T) * static_cast<size_t>(A.Length());
  for (size_t done = 0; done < total; done += kSliceBytes) {
    const size_t slice = std::min(kSliceBytes, total - done);
    if (file.GetFILE() == nullptr || std::fread(bytes + done, 1, slice, file.GetFILE()) != slice) {
      QXErrorMessage(operation, kShortRecord);
      return false;
    }
    SwapGroups(std::integral_constant<size_t, sizeof(T)>(), bytes + done, static_cast<int>(slice));
  }
  return true;
}

// Fills A from the file's current position in host order: one block read
// when the file has the machine's order. On a short read (reported) A is not
// to be used.
template <class T>
bool ReadElements(const QXFile& file, bool swap, QXMutableArray<T>& A, const char* operation) {
  if constexpr (sizeof(T) > 1) {
    if (swap) return ReadSwapped(file, A, operation);
  }
  return file.ReadBinary(A);
}

// Reads elements of the record's own type Source into result, converting
// them when Source is not result's type. Bytes are read straight into either
// byte array: a signed char read of unsigned bytes keeps their bits.
template <class Source, class T>
bool ReadRecordAs(const QXFile& file, bool swap, QXMutableArray<T>& result, const char* operation) {
  if constexpr (std::is_same_v<Source, T> || (sizeof(Source) == 1 && sizeof(T) == 1)) {
    return ReadElements(file, swap, result, operation);
  } else {
    QXMutableArray<Source> raw(result.m(), result.n(), result.o());
    if (raw.Length() != result.Length() || !ReadElements(file, swap, raw, operation)) return false;
    ConvertArray(raw, result);
    return true;
  }
}

template <class T>
bool ReadRecord(int digit, const QXFile& file, bool swap, QXMutableArray<T>& result,
                const char* operation) {
  switch (digit) {
    case 0:
      return ReadRecordAs<double>(file, swap, result, operation);
    case 1:
      return ReadRecordAs<float>(file, swap, result, operation);
    case 2:
      return ReadRecordAs<int>(file, swap, result, operation);
    case 3:
      return ReadRecordAs<short>(file, swap, result, operation);
    case 4:
      return ReadRecordAs<unsigned short>(file, swap, result, operation);
    default:
      return ReadRecordAs<unsigned char>(file, swap, result, operation);
  }
}

// Writes A in the other byte order through a small buffer, leaving A as it is.
template <class T>
void WriteSwapped(QXFile& file, const QXArray<T>& A) {
  constexpr int kChunk = 1 << 16;
  for (int done = 0; done < A.Length(); done += kChunk) {
    QXMutableArray<T> chunk(std::min(kChunk, A.Length() - done), 1, 1);
    std::memcpy(chunk.Pointer(), A.Pointer() + done, sizeof(T) * chunk.Length());
    SwapEndian(chunk);
    if (!file.WriteBinary(chunk)) return;
  }
}

const char* TypeLabel(int type) {
  switch (type) {
    case 0:
      return " - double - ";
    case 10:
      return " -  float - ";
    case 20:
      return " -    int - ";
    case 30:
      return " -  short - ";
    case 40:
      return " - UShort - ";
    case 50:
      return " -  UChar - ";
    case kTextType:
      return " - string - ";
    default:
      return " - ?????? - ";
  }
}

}  // namespace

// --- Handles ----------------------------------------------------------------

QXMatlabDataFile::QXMatlabDataFile(std::string name, QXFile::OpenType oType)
    : QXMatlabDataFile(QXFile(name, oType)) {}

QXMatlabDataFile::QXMatlabDataFile(QXFile file) : content(new QXMatlabDataFileContent(file)) {
  IndexFile();
}

QXMatlabDataFile::QXMatlabDataFile(const QXMatlabDataFile& other)
    : QXDataStorage(other), content(other.content) {
  content->referenceCount++;
}

QXMatlabDataFile& QXMatlabDataFile::operator=(const QXMatlabDataFile& other) {
  if (content == other.content) return *this;
  Release();
  content = other.content;
  content->referenceCount++;
  return *this;
}

QXMatlabDataFile::~QXMatlabDataFile() { Release(); }

void QXMatlabDataFile::Release() {
  if (--content->referenceCount == 0) delete content;
}

QXMutablePointer<QXDataStorage> QXMatlabDataFile::AsPointer() {
  return QXMutablePointer<QXDataStorage>(new QXMatlabDataFile(*this));
}

// --- Indexing ---------------------------------------------------------------

// One sequential walk through a read-ahead buffer: small records cost no
// system call of their own, large data is skipped with one seek.
void QXMatlabDataFile::IndexFile() {
  const QXFile& file = content->file;
  if (!file.IsOpen()) return;
  QXByteReader reader(file.GetFILE(), file.Length(), 0);
  const int base = RunningOnBigEndianMachine() ? 1000 : 0;
  unsigned char headerBytes[kHeaderBytes];
  char nameField[kMaxNameField];
  long start = 0;
  // Bytes left after the last whole record are a record cut short.
  auto endsCutShort = [&] {
    if (reader.Remaining() > 0) content->partialTail = start;
  };
  while (true) {
    start = reader.Position();
    if (!reader.Read(headerBytes, kHeaderBytes)) return endsCutShort();
    FMatrix header = DecodeHeader(headerBytes, false);
    // The first record tells the file's byte order; the others follow it.
    if (start == 0 && (header.type < base || header.type > base + 52))
      content->needToSwapEndian = true;
    if (content->needToSwapEndian) header = DecodeHeader(headerBytes, true);
    if (!IsValidHeader(header)) {
      QXErrorMessage("Reading In File Content",
                     "Invalid file format, make sure you used the -v4 in matlab.");
      return;
    }
    header.type %= 1000;
    // A file that ends inside the name holds no further record.
    if (!reader.Read(nameField, static_cast<size_t>(header.namelen))) return endsCutShort();
    std::string name(nameField, strnlen(nameField, static_cast<size_t>(header.namelen)));
    const long long dataBytes = RecordDataBytes(header);
    if (dataBytes < 0) {
      QXErrorMessage("dataFile.ReadDoubleArray(name)", "Unexpected variable type in the file.");
      return;
    }
    QXMatlabDataEntry entry;
    entry.Fmtrx = header;
    entry.location = start;
    content->content.insert_or_assign(std::move(name), entry);
    // Data that run past the end make this the last record.
    if (!reader.Skip(dataBytes)) return endsCutShort();
  }
}

// --- Queries ----------------------------------------------------------------

const QXMatlabDataEntry* QXMatlabDataFile::Find(const std::string& name) const {
  const auto found = content->content.find(name);
  return found == content->content.end() ? nullptr : &found->second;
}

QXList<std::string> QXMatlabDataFile::AllVariableNames() const {
  QXMutableList<std::string> names(static_cast<int>(content->content.size()));
  int i = 0;
  for (const auto& entry : content->content) names(i++) = entry.first;
  return names;
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

void QXMatlabDataFile::Flush() const { content->file.Flush(); }

// --- Saving -----------------------------------------------------------------

// The longest name covers both a 3-D array's name and its companion's.
bool QXMatlabDataFile::CanSave(const std::string& longestName) const {
  if (IsReadOnly()) {
    QXErrorMessage(kSaveOperation, "File is read only.");
    return false;
  }
  if (!IsOpen()) {
    QXErrorMessage(kSaveOperation, "File is not open.");
    return false;
  }
  // A longer name field makes the record, and every one after it, unreadable.
  if (longestName.size() >= static_cast<size_t>(kMaxNameField)) {
    QXErrorMessage(kSaveOperation, "The name is longer than 254 characters.");
    return false;
  }
  return true;
}

// Cuts the file before the record that was cut short, and forgets that record.
void QXMatlabDataFile::DropPartialTail() {
  FILE* stream = content->file.GetFILE();
  std::fflush(stream);
  if (ftruncate(fileno(stream), static_cast<off_t>(content->partialTail)) != 0)
    QXErrorMessage(kSaveOperation, "Could not remove the truncated last record.");
  for (auto entry = content->content.begin(); entry != content->content.end();) {
    if (entry->second.location == content->partialTail)
      entry = content->content.erase(entry);
    else
      ++entry;
  }
  content->partialTail = -1;
}

// Records go in the file's byte order (the machine's for a new file), so a
// file stays readable when a record is appended to a file of the other order.
bool QXMatlabDataFile::AppendHeader(int typeCode, int mrows, int ncols, const std::string& name) {
  if (content->partialTail >= 0) DropPartialTail();
  QXFile& file = content->file;
  const bool swap = content->needToSwapEndian;
  const bool fileBigEndian = RunningOnBigEndianMachine() != swap;
  file.MoveToEnd();
  const long location = file.Position();
  FMatrix header = {typeCode + (fileBigEndian ? 1000 : 0), mrows, ncols, 0,
                    static_cast<int32_t>(name.size() + 1)};
  std::string fields = EncodeHeader(header, swap);
  fields += name;
  fields += '\0';
  if (!file.WriteString(fields)) return false;
  header.type = typeCode;
  QXMatlabDataEntry entry;
  entry.Fmtrx = header;
  entry.location = location;
  content->content.insert_or_assign(name, entry);
  return true;
}

template <class T>
void QXMatlabDataFile::SaveArray(const QXArray<T>& A, const std::string& name) {
  const bool threeD = A.o() > 1;
  if (!CanSave(threeD ? name + "_3D" : name)) return;
  int mrows = A.m();
  int ncols = A.n();
  if (threeD) {
    Save(A.m(), name + "_3D");
    mrows = A.m() * A.n();
    ncols = A.o();
  }
  if (!AppendHeader(QXMatlabElement<T>::typeCode, mrows, ncols, name)) return;
  QXFile& file = content->file;
  if constexpr (sizeof(T) > 1) {
    if (content->needToSwapEndian) {
      WriteSwapped(file, A);
      return;
    }
  }
  file.WriteBinary(A);
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
  if (!CanSave(name)) return;
  if (theString.size() > static_cast<size_t>(INT_MAX)) {
    QXErrorMessage(kSaveOperation, "The string is too long for the file format.");
    return;
  }
  if (!AppendHeader(kTextType, static_cast<int>(theString.size()), 1, name)) return;
  content->file.WriteString(theString);
}

// --- Reading ----------------------------------------------------------------

template <class T>
QXArray<T> QXMatlabDataFile::ReadArray(const std::string& name) const {
  using Element = QXMatlabElement<T>;
  const QXMatlabDataEntry* entry = Find(name);
  if (entry == nullptr) {
    QXErrorMessage(Element::read, NotFoundText(name));
    return QXArray<T>();
  }
  const FMatrix header = entry->Fmtrx;
  const QXFile& file = content->file;
  const long long dataBytes = RecordDataBytes(header);
  if (dataBytes > file.Length() - DataOffset(*entry)) {
    QXErrorMessage(Element::read, kShortRecord);
    return QXArray<T>();
  }
  // A "_3D" companion holds the row count m of an m x n x o array stored as
  // (m*n) x o. One that does not divide the rows is not taken.
  int m = header.mrows, n = header.ncols, o = 1;
  if (Contains(name + "_3D")) {
    const int k = ReadInt(name + "_3D");
    if (k > 0 && header.mrows % k == 0) {
      m = k;
      n = header.mrows / k;
      o = header.ncols;
    }
  }
  QXMutableArray<T> result(m, n, o);
  const int digit = ElementDigit(header.type);
  // Text is read as a character array only, and only into its own type.
  const bool takesText = std::is_same_v<T, signed char> && header.type == kTextType;
  if (digit > 5 || (header.type == kTextType && !takesText)) {
    QXErrorMessage(Element::illegalRead, Element::illegalText);
    result = T(0);
    return result;
  }
  // An array beyond the int range was reported by its constructor.
  if (static_cast<long long>(result.Length()) !=
      static_cast<long long>(header.mrows) * header.ncols)
    return QXArray<T>();
  file.SetPosition(DataOffset(*entry));
  if (!ReadRecord(digit, file, content->needToSwapEndian, result, Element::read))
    return QXArray<T>();
  return result;
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
    QXErrorMessage(kStringOperation, "The variable \"" + name + "\" is not save as a string.");
    return std::string();
  }
  const QXFile& file = content->file;
  if (count > file.Length() - DataOffset(*entry)) {
    QXErrorMessage(kStringOperation, kShortRecord);
    return std::string();
  }
  std::string text(static_cast<size_t>(count), '\0');
  file.SetPosition(DataOffset(*entry));
  if (std::fread(&text[0], 1, text.size(), file.GetFILE()) != text.size()) {
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
  const std::string line = QXListingName(name) + TypeLabel(header.type);
  if (header.type == kTextType)
    return line +
           QXListingText(ReadString(name), static_cast<long long>(header.mrows) * header.ncols);
  if (header.mrows == 0) return line + "Empty";
  if (header.mrows == 1 && header.ncols == 1) return line + QXFloat2StringShort(ReadNumber(name));
  if (header.ncols == 1) return line + QXInt2String(header.mrows) + " numbers";
  return line + QXInt2String(header.mrows) + " x " + QXInt2String(header.ncols) + " array";
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
