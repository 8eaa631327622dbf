// The plumbing that the file storages share: content shared among handles,
// the index of names (names in one arena, found by hash, listed in byte-wise
// order), the bytes of small records kept from the walk, the appending writer
// that either lands a whole record or nothing, the reading of stored elements
// in any byte order into any element type, the check that a record running
// past the end of the file really is a tail cut short, and the operation
// names of the reads. Every storage uses the same steps under the same names.
#ifndef QXSTORAGEINTERNAL_H
#define QXSTORAGEINTERNAL_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "QXArrayTemplates.h"
#include "QXByteOrderInternal.h"
#include "QXConversionTemplatesInternal.h"
#include "QXFile.h"
#include "QXList.h"

void* QXAllocateIndexBlock(size_t bytes);
void QXFreeIndexBlock(void* block);

// --- Content shared among handles -------------------------------------------
// The content of a storage carries a referenceCount; every handle holds one.

template <class Content>
Content* QXShareContent(Content* content) {
  content->referenceCount++;
  return content;
}

template <class Content>
void QXReleaseContent(Content* content) {
  if (--content->referenceCount == 0) delete content;
}

// Assignment of handles: keeps the content when both share it already.
template <class Content>
void QXReassignContent(Content*& content, Content* other) {
  if (content == other) return;
  QXReleaseContent(content);
  content = QXShareContent(other);
}

// --- The index --------------------------------------------------------------

// The allocator of the index's large vectors: blocks of 2 MiB and more lie
// on huge-page boundaries and are advised for huge pages, which spares the
// thousands of page faults a million-name index would otherwise cost.
template <class T>
struct QXIndexAllocator {
  using value_type = T;
  QXIndexAllocator() = default;
  template <class U>
  QXIndexAllocator(const QXIndexAllocator<U>&) {}
  T* allocate(size_t count) { return static_cast<T*>(QXAllocateIndexBlock(count * sizeof(T))); }
  void deallocate(T* block, size_t) { QXFreeIndexBlock(block); }
  template <class U>
  bool operator==(const QXIndexAllocator<U>&) const { return true; }
  template <class U>
  bool operator!=(const QXIndexAllocator<U>&) const { return false; }
};
template <class T>
using QXIndexVector = std::vector<T, QXIndexAllocator<T>>;

// Names kept in one arena, each with a dense id, found through an open hash
// table; the byte-wise order of the names is sorted when first asked for and
// kept until a name is added.
//
// A walk of a file appends its names without looking them up, and then seals
// the table: the slots are then filled in their own order, front to back,
// instead of one random slot per name, which for a million names is the
// difference between streaming through memory and waiting on it.
class QXNameTable {
 public:
  // The id of the name, or -1. Only on a sealed table.
  int Find(std::string_view name) const;
  // The id of the name; a new name gets the next id. Only on a sealed table.
  int Add(std::string_view name);
  // Appends a name found by a walk, even one appended before; gives its id.
  int Append(std::string_view name);
  void Reserve(size_t names);
  // Builds the table after Append(). A name appended more than once keeps
  // the id of its first appearance and the ids after it close up; the
  // result then gives, per id, the id of its last appearance (before the
  // closing up). Empty when every name was appended once.
  std::vector<int> Seal();
  std::string_view Name(int id) const {
    const size_t start = starts[static_cast<size_t>(id)];
    return std::string_view(arena.data() + start, starts[static_cast<size_t>(id) + 1] - start);
  }
  int Count() const { return static_cast<int>(starts.size()) - 1; }
  // Every id, in ascending byte-wise order of the names.
  const std::vector<int>& InOrder() const;
  // The ids of the names that begin with prefix, in ascending byte-wise order.
  std::vector<int> WithPrefix(std::string_view prefix) const;

 private:
  // The slot where the name is, or the empty one where it would go.
  size_t Slot(std::string_view name, uint32_t hash) const;
  void Grow();
  // Fills a table of the given size with every id, in slot order; a name
  // met again marks its later id in repeated and, in last, its first id
  // with the later one.
  void Build(size_t size, std::vector<char>& repeated, std::vector<int>& last);
  // Sorts ids by their names.
  void Sort(std::vector<int>& ids) const;

  // The names one after another, in the order of their ids: name id runs
  // from starts[id] to starts[id + 1].
  QXIndexVector<char> arena;
  QXIndexVector<size_t> starts = QXIndexVector<size_t>(1, 0);
  // Per slot, the name's hash in the high half and its id + 1 in the low
  // half; 0 for an empty slot. A power of two, at most half full. The hash
  // there spares a look at the name for almost every other name met.
  QXIndexVector<uint64_t> slots;
  // The hash of each name appended since the last seal.
  QXIndexVector<uint32_t> hashes;
  mutable std::vector<int> order;
  mutable bool ordered = true;
  // The id Find() gave last; the index is used from one thread at a time.
  mutable int recent = -1;
};

// Name to entry, and the bytes of small records. Entry is the storage's own
// description of a record.
template <class Entry>
class QXStorageIndex {
 public:
  const Entry* Find(std::string_view name) const {
    const int id = names.Find(name);
    return id < 0 ? nullptr : &entries[static_cast<size_t>(id)];
  }
  // Adds the name, or replaces its entry: the last record of a name counts.
  // True when the name is new.
  bool Set(std::string_view name, const Entry& entry) {
    const int id = names.Add(name);
    if (static_cast<size_t>(id) == entries.size()) {
      entries.push_back(entry);
      return true;
    }
    entries[static_cast<size_t>(id)] = entry;
    return false;
  }
  // Room for a walk that may find up to records records (an estimate from
  // the file's size): the vectors then grow without copying themselves.
  void Reserve(size_t records) {
    names.Reserve(records);
    entries.reserve(records);
  }
  // A record found by a walk; Seal() once the walk is done.
  void Append(std::string_view name, const Entry& entry) {
    names.Append(name);
    entries.push_back(entry);
  }
  // After a walk: a name found more than once keeps its last record.
  void Seal() {
    const std::vector<int> last = names.Seal();
    if (last.empty()) return;
    QXIndexVector<Entry> kept(last.size());
    for (size_t id = 0; id < last.size(); id++) kept[id] = entries[static_cast<size_t>(last[id])];
    entries.swap(kept);
  }
  int Count() const { return names.Count(); }
  // Every name in ascending byte-wise order.
  QXList<std::string> NamesInOrder() const { return List(names.InOrder()); }
  // The names that begin with prefix, in ascending byte-wise order.
  QXList<std::string> NamesWithPrefix(const std::string& prefix) const {
    return List(names.WithPrefix(prefix));
  }
  // Calls visit(name, entry) for every entry, in no particular order.
  template <class Visit>
  void ForEach(Visit visit) const {
    for (int id = 0; id < names.Count(); id++) visit(names.Name(id), entries[static_cast<size_t>(id)]);
  }

  // Keeps a copy of a small record's bytes; returns where, for SmallBytes.
  int64_t KeepSmallBytes(const unsigned char* bytes, size_t count) {
    const int64_t at = static_cast<int64_t>(smallBytes.size());
    smallBytes.insert(smallBytes.end(), bytes, bytes + count);
    return at;
  }
  const unsigned char* SmallBytes(int64_t at) const {
    return smallBytes.data() + static_cast<size_t>(at);
  }

 private:
  QXList<std::string> List(const std::vector<int>& ids) const {
    QXMutableList<std::string> list(static_cast<int>(ids.size()));
    for (size_t i = 0; i < ids.size(); i++)
      list(static_cast<int>(i)) = std::string(names.Name(ids[i]));
    return list;
  }

  QXNameTable names;
  QXIndexVector<Entry> entries;
  QXIndexVector<unsigned char> smallBytes;
};

// Records whose data are at most this size are kept from the walk, so that
// reading them costs no system call.
constexpr size_t kQXSmallRecordBytes = 64;

// --- Writing ----------------------------------------------------------------

// Appends bytes at an offset through a bounded staging buffer, in as few
// writes as it can: a record of up to a megabyte goes out in one write, and
// the bytes added last always go out together in the final write, so that an
// interrupted save leaves at most one record cut short at the end. Elements
// can be added in either byte order; the caller's array is never changed.
class QXAppendWriter {
 public:
  QXAppendWriter(QXFile& file, long offset);

  void Add(const void* bytes, size_t count);
  // Adds count elements in the given byte order.
  template <class T>
  void AddElements(const T* elements, size_t count, QXByteOrder order) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(elements);
    const size_t total = count * sizeof(T);
    if (order == QXMachineByteOrder() || sizeof(T) == 1) {
      AddLarge(bytes, total);
      return;
    }
    for (size_t done = 0; done < total;) {
      const size_t piece = StageRoom(total - done, sizeof(T));
      unsigned char* staged = Stage(bytes + done, piece);
      QXSwapElementBytes<sizeof(T)>(staged, piece / sizeof(T));
      done += piece;
    }
  }
  // Writes what is staged; true when every byte added has arrived.
  bool Finish();
  // The offset where the writer started and where its bytes end.
  long Start() const { return start; }
  long End() const { return end; }
  // The errno of the failed write (0 when none failed or the file is full).
  int Error() const { return error; }

 private:
  // Adds bytes that need no swap: a large middle part goes straight from
  // the caller's buffer, the last part is staged.
  void AddLarge(const unsigned char* bytes, size_t count);
  // How much of wanted fits the staging buffer now, whole elements of size
  // only; writes the staged bytes first when nothing fits.
  size_t StageRoom(size_t wanted, size_t size);
  unsigned char* Stage(const unsigned char* bytes, size_t count);
  void Write(const unsigned char* bytes, size_t count);
  void WriteStaged();

  QXFile& file;
  long start;
  long end;
  long written;  // the offset up to which bytes have been written
  std::vector<unsigned char> staging;
  bool failed = false;
  int error = 0;
};

// --- Reading ----------------------------------------------------------------

// The elements of type Stored at offset in the file, or at small when that
// is not null, in the given byte order, converted into count elements of T.
// Bytes go straight into the result when the types agree (or both are
// bytes); large data are read and swapped in slices that stay in cache. False
// when the file holds fewer bytes than asked for; then out is not to be used.
template <class Stored, class T>
bool QXReadStoredElements(const QXFile& file, long offset, const unsigned char* small,
                          QXByteOrder order, T* out, size_t count) {
  constexpr bool direct = std::is_same_v<Stored, T> || (sizeof(Stored) == 1 && sizeof(T) == 1);
  constexpr size_t kSliceElements = (size_t{1} << 20) / sizeof(Stored);
  const bool swap = order != QXMachineByteOrder();
  if (count == 0) return true;
  if constexpr (direct) {
    const size_t bytes = count * sizeof(T);
    if (small != nullptr)
      std::memcpy(out, small, bytes);
    else if (!swap)
      return file.ReadAt(offset, out, bytes);
    for (size_t done = 0; done < count; done += kSliceElements) {
      const size_t slice = std::min(kSliceElements, count - done);
      if (small == nullptr &&
          !file.ReadAt(offset + static_cast<long>(done * sizeof(T)), out + done, slice * sizeof(T)))
        return false;
      if (swap) QXSwapElements(out + done, slice);
    }
    return true;
  } else {
    Stored buffer[256];
    std::vector<Stored> large;
    Stored* slice = buffer;
    size_t sliceElements = sizeof buffer / sizeof(Stored);
    if (small == nullptr && count > sliceElements) {
      large.resize(std::min(kSliceElements, count));
      slice = large.data();
      sliceElements = large.size();
    }
    for (size_t done = 0; done < count; done += sliceElements) {
      const size_t n = std::min(sliceElements, count - done);
      if (small != nullptr)
        std::memcpy(slice, small + done * sizeof(Stored), n * sizeof(Stored));
      else if (!file.ReadAt(offset + static_cast<long>(done * sizeof(Stored)), slice,
                            n * sizeof(Stored)))
        return false;
      if (swap) QXSwapElements(slice, n);
      for (size_t i = 0; i < n; i++) out[done + i] = QXConvertElement<T>(slice[i]);
    }
    return true;
  }
}

// "dataFile.ReadDoubleArray(name)" and its siblings, from the array's name.
template <class T>
const std::string& QXStorageReadOperation() {
  static const std::string name =
      "dataFile.Read" + std::string(QXArrayTraits<T>::name).substr(2) + "(name)";
  return name;
}

// --- A record cut short at the end --------------------------------------------

// What a walk of a file's records found where it stopped.
enum class QXFileState {
  Whole,    // every byte belongs to an indexed record
  CutTail,  // the last record runs past the end of the file
  Damaged,  // an invalid record in the middle
  Foreign   // not a file of this format at all
};

// Where a storage may append: what the walk found, and where the indexed
// records end (the file's size when it was opened, then the end of the last
// record saved). Saves append there, and only while the file still ends there.
struct QXAppendState {
  QXFileState state = QXFileState::Whole;
  // Where the walk stopped: the start of the record cut short, or of the damage.
  long stop = -1;
  // The name of the record cut short, when the file still holds it.
  std::string tailName;
  long end = 0;
};

// The length of the valid record at bytes (of which available are there, up
// to the format's header window), or 0 when none starts there.
using QXRecordLength = long long (*)(const unsigned char* bytes, size_t available,
                                     const void* layout);

// What the shared append steps need to know of a file format.
struct QXFileFormat {
  const char* saveOperation;  // the operation the saves report under
  const char* record;         // what the format calls a record: "record", "entry"
  const char* aRecord;        // the same with its article: "a record", "an entry"
  const char* foreignText;    // the refusal for a file of another kind
  size_t headerWindow;        // the bytes RecordLength may look at
  QXRecordLength recordLength;
};

// Whether some offset after tailStart starts a chain of valid records that
// ends exactly at end. When one does, the record at tailStart only looks cut
// short: its size is damaged and intact records follow it, which must not be
// cut. Gives true, too, when the search grows too large to finish: a cut is
// made only when it is certain.
bool QXIntactRecordsFollow(const QXFile& file, long tailStart, long end,
                           const QXFileFormat& format, const void* layout);

// Before a save: true when the file may be appended to. Removes a record cut
// short at the end, with a report naming it and the bytes removed, once no
// intact record follows it; refuses, with one report, a damaged or foreign
// file and one that changed since it was opened. layout is handed to the
// format's RecordLength (the Matlab file's byte order).
bool QXPrepareToAppend(QXFile& file, QXAppendState& tail, const QXFileFormat& format,
                       const void* layout);

// After a save's records were added to the writer: writes them and returns
// true, with tail.end moved past them; or reports, takes back what arrived,
// and returns false. The caller indexes the records only after true.
bool QXFinishAppend(QXFile& file, QXAppendState& tail, QXAppendWriter& writer,
                    const std::string& name, const QXFileFormat& format);

// --- The listing --------------------------------------------------------------

// The size column of a listing line: "Empty", the number itself (number()
// for a single element), "<m> numbers" for a column, "<m> x <n> array" or
// "<m> x <n> x <o> array".
template <class Number>
std::string QXListingSize(long long m, long long n, long long o, Number number) {
  if (m == 0) return "Empty";
  if (m == 1 && n == 1 && o == 1) return number();
  if (n == 1 && o == 1) return std::to_string(m) + " numbers";
  std::string text = std::to_string(m) + " x " + std::to_string(n);
  if (o != 1) text += " x " + std::to_string(o);
  return text + " array";
}

#endif
