#include "QXStorageInternal.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "QXError.h"
#include "QXStorageListingInternal.h"

namespace {

// A hash of the name's bytes, eight at a time.
uint32_t HashName(std::string_view name) {
  uint64_t hash = 0x9E3779B97F4A7C15ull ^ name.size();
  size_t i = 0;
  for (; i + 8 <= name.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, name.data() + i, 8);
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 32;
  }
  uint64_t last = 0;
  if (i < name.size()) std::memcpy(&last, name.data() + i, name.size() - i);
  hash = (hash ^ last) * 0xC4CEB9FE1A85EC53ull;
  hash ^= hash >> 29;
  return static_cast<uint32_t>(hash);
}

// The staging buffer's size: a record up to this size goes out in one write.
constexpr size_t kStagingBytes = size_t{1} << 20;

}  // namespace

// --- Index memory --------------------------------------------------------------

void* QXAllocateIndexBlock(size_t bytes) {
  constexpr size_t kHugePage = size_t{2} << 20;
  void* block = nullptr;
  if (bytes < kHugePage) {
    block = std::malloc(bytes);
  } else if (posix_memalign(&block, kHugePage, bytes) == 0) {
#ifdef MADV_HUGEPAGE
    madvise(block, bytes & ~(kHugePage - 1), MADV_HUGEPAGE);
#endif
  }
  // Out of memory: what a standard container's allocation does too.
  if (block == nullptr && bytes != 0) throw std::bad_alloc();
  return block;
}

void QXFreeIndexBlock(void* block) { std::free(block); }

// --- QXNameTable --------------------------------------------------------------

size_t QXNameTable::Slot(std::string_view name, uint32_t hash) const {
  const size_t mask = slots.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const uint64_t entry = slots[slot];
    if (entry == 0) return slot;
    if (static_cast<uint32_t>(entry >> 32) != hash) continue;
    if (Name(static_cast<int>(static_cast<uint32_t>(entry)) - 1) == name) return slot;
  }
}

int QXNameTable::Find(std::string_view name) const {
  // A name is often asked for twice in a row (is it a string? read it), and
  // names saved one after another are often asked for in that order (the
  // time values of a series): both are answered without the table.
  if (recent >= 0 && recent < Count() && Name(recent) == name) return recent;
  if (recent >= 0 && recent + 1 < Count() && Name(recent + 1) == name) return ++recent;
  if (slots.empty()) return -1;
  const uint64_t entry = slots[Slot(name, HashName(name))];
  const int id = static_cast<int>(static_cast<uint32_t>(entry)) - 1;
  if (id >= 0) recent = id;
  return id;
}

void QXNameTable::Grow() {
  QXIndexVector<uint64_t> grown(slots.empty() ? 64 : slots.size() * 2, 0);
  const size_t mask = grown.size() - 1;
  for (const uint64_t entry : slots) {
    if (entry == 0) continue;
    size_t slot = (entry >> 32) & mask;
    while (grown[slot] != 0) slot = (slot + 1) & mask;
    grown[slot] = entry;
  }
  slots.swap(grown);
}

void QXNameTable::Reserve(size_t names) {
  starts.reserve(names + 1);
  hashes.reserve(names);
  arena.reserve(names * 12);
}

int QXNameTable::Append(std::string_view name) {
  arena.insert(arena.end(), name.begin(), name.end());
  starts.push_back(arena.size());
  hashes.push_back(HashName(name));
  ordered = false;
  return Count() - 1;
}

void QXNameTable::Build(size_t size, std::vector<char>& repeated, std::vector<int>& last) {
  const size_t count = static_cast<size_t>(Count());
  slots.assign(size, 0);
  const size_t mask = size - 1;
  // The ids grouped by the top bits of their home slot, in id order within
  // a group: a counting sort.
  int sizeBits = 0;
  while ((size_t{1} << sizeBits) < size) sizeBits++;
  const int groupBits = std::min(sizeBits, 12);
  std::vector<size_t> firsts((size_t{1} << groupBits) + 1, 0);
  auto group = [&](size_t id) { return (hashes[id] & mask) >> (sizeBits - groupBits); };
  for (size_t id = 0; id < count; id++) firsts[group(id) + 1]++;
  for (size_t g = 1; g < firsts.size(); g++) firsts[g] += firsts[g - 1];
  // Each with its slot entry (hash and id + 1), so that the inserts read
  // nothing else unless two hashes agree.
  QXIndexVector<uint64_t> grouped(count);
  for (size_t id = 0; id < count; id++)
    grouped[firsts[group(id)]++] = static_cast<uint64_t>(hashes[id]) << 32 | (id + 1);
  for (const uint64_t entry : grouped) {
    const uint32_t hash = static_cast<uint32_t>(entry >> 32);
    const int id = static_cast<int>(static_cast<uint32_t>(entry)) - 1;
    size_t slot = hash & mask;
    for (; slots[slot] != 0; slot = (slot + 1) & mask) {
      const uint64_t other = slots[slot];
      if (static_cast<uint32_t>(other >> 32) == hash &&
          Name(static_cast<int>(static_cast<uint32_t>(other)) - 1) == Name(id))
        break;
    }
    if (slots[slot] == 0) {
      slots[slot] = entry;
      continue;
    }
    // Seen before: the first id stays, with the record of this later one.
    const int first = static_cast<int>(static_cast<uint32_t>(slots[slot])) - 1;
    if (repeated.empty()) {
      repeated.assign(count, 0);
      last.resize(count);
      for (size_t i = 0; i < count; i++) last[i] = static_cast<int>(i);
    }
    repeated[static_cast<size_t>(id)] = 1;
    last[static_cast<size_t>(first)] = id;
  }
}

std::vector<int> QXNameTable::Seal() {
  size_t size = 64;
  while (size < 2 * starts.size()) size *= 2;
  std::vector<char> repeated;
  std::vector<int> last;
  Build(size, repeated, last);
  if (!repeated.empty()) {
    // Close up the ids of the repeated names and build again.
    QXIndexVector<char> keptArena;
    QXIndexVector<size_t> keptStarts(1, 0);
    QXIndexVector<uint32_t> keptHashes;
    std::vector<int> lastOfKept;
    for (size_t id = 0; id < repeated.size(); id++) {
      if (repeated[id]) continue;
      const std::string_view name = Name(static_cast<int>(id));
      keptArena.insert(keptArena.end(), name.begin(), name.end());
      keptStarts.push_back(keptArena.size());
      keptHashes.push_back(hashes[id]);
      lastOfKept.push_back(last[id]);
    }
    arena.swap(keptArena);
    starts.swap(keptStarts);
    recent = -1;
    hashes.swap(keptHashes);
    std::vector<char> none;
    Build(size, none, last);
    last = std::move(lastOfKept);
  }
  QXIndexVector<uint32_t>().swap(hashes);
  return last;
}

int QXNameTable::Add(std::string_view name) {
  if (starts.size() * 2 > slots.size()) Grow();
  const uint32_t hash = HashName(name);
  const size_t slot = Slot(name, hash);
  if (slots[slot] != 0) return static_cast<int>(static_cast<uint32_t>(slots[slot])) - 1;
  arena.insert(arena.end(), name.begin(), name.end());
  starts.push_back(arena.size());
  slots[slot] = static_cast<uint64_t>(hash) << 32 | static_cast<uint64_t>(Count());
  ordered = false;
  return Count() - 1;
}

namespace {

// A name's first sixteen bytes as two big-endian numbers, beside its id:
// comparing the numbers compares those bytes as unsigned bytes, byte-wise.
struct QXKeyedName {
  uint64_t head;
  uint64_t next;
  int id;
};

unsigned KeyByte(const QXKeyedName& name, int byte) {
  const uint64_t half = byte < 8 ? name.head : name.next;
  return static_cast<unsigned>(half >> (56 - 8 * (byte % 8))) & 255u;
}

// A least-significant-digit radix sort on the sixteen key bytes. The counts
// of all sixteen bytes are taken in one pass; the bytes on which every name
// agrees (a common prefix, say, or the zeros after short names) cost no pass.
void SortByKey(QXIndexVector<QXKeyedName>& names) {
  std::vector<size_t> counts(16 * 256, 0);
  for (const QXKeyedName& name : names)
    for (int byte = 0; byte < 16; byte++) counts[static_cast<size_t>(byte) * 256 + KeyByte(name, byte)]++;
  QXIndexVector<QXKeyedName> sorted(names.size());
  for (int byte = 15; byte >= 0; byte--) {
    size_t* count = counts.data() + static_cast<size_t>(byte) * 256;
    if (count[KeyByte(names[0], byte)] == names.size()) continue;
    size_t at = 0;
    for (int digit = 0; digit < 256; digit++) {
      const size_t here = count[digit];
      count[digit] = at;
      at += here;
    }
    for (const QXKeyedName& name : names) sorted[count[KeyByte(name, byte)]++] = name;
    names.swap(sorted);
  }
}

}  // namespace

// Sorts on the first sixteen bytes of each name, kept beside its id, with a
// radix sort that never looks at the names; only names that agree on those
// sixteen bytes are then compared whole. Comparison sorts of a million
// names scattered through the arena spend their time waiting for memory.
void QXNameTable::Sort(std::vector<int>& ids) const {
  if (ids.empty()) return;
  QXIndexVector<QXKeyedName> keyed(ids.size());
  for (size_t i = 0; i < ids.size(); i++) {
    const std::string_view name = Name(ids[i]);
    unsigned char start[16] = {};
    if (!name.empty()) std::memcpy(start, name.data(), std::min<size_t>(16, name.size()));
    keyed[i] = {QXLoad<uint64_t>(start, QXByteOrder::BigEndian),
                QXLoad<uint64_t>(start + 8, QXByteOrder::BigEndian), ids[i]};
  }
  SortByKey(keyed);
  // Byte-wise: string_view compares through char_traits<char>, which
  // compares as unsigned bytes, as the keys do.
  for (size_t first = 0; first < keyed.size();) {
    size_t last = first + 1;
    while (last < keyed.size() && keyed[last].head == keyed[first].head &&
           keyed[last].next == keyed[first].next)
      last++;
    if (last - first > 1)
      std::sort(keyed.begin() + static_cast<long>(first), keyed.begin() + static_cast<long>(last),
                [this](const QXKeyedName& a, const QXKeyedName& b) { return Name(a.id) < Name(b.id); });
    first = last;
  }
  for (size_t i = 0; i < ids.size(); i++) ids[i] = keyed[i].id;
}

const std::vector<int>& QXNameTable::InOrder() const {
  if (ordered && order.size() == static_cast<size_t>(Count())) return order;
  order.resize(static_cast<size_t>(Count()));
  for (size_t id = 0; id < order.size(); id++) order[id] = static_cast<int>(id);
  Sort(order);
  ordered = true;
  return order;
}

std::vector<int> QXNameTable::WithPrefix(std::string_view prefix) const {
  if (ordered && order.size() == static_cast<size_t>(Count())) {
    std::vector<int> ids;
    for (const int id : order)
      if (Name(id).substr(0, prefix.size()) == prefix) ids.push_back(id);
    return ids;
  }
  std::vector<int> ids;
  for (int id = 0; id < Count(); id++)
    if (Name(id).substr(0, prefix.size()) == prefix) ids.push_back(id);
  Sort(ids);
  return ids;
}

// --- QXAppendWriter -----------------------------------------------------------

QXAppendWriter::QXAppendWriter(QXFile& file, long offset)
    : file(file), start(offset), end(offset), written(offset) {}

void QXAppendWriter::Write(const unsigned char* bytes, size_t count) {
  if (failed || count == 0) return;
  errno = 0;
  if (file.WriteAt(written, bytes, count)) {
    written += static_cast<long>(count);
    return;
  }
  failed = true;
  error = errno;
}

void QXAppendWriter::WriteStaged() {
  Write(staging.data(), staging.size());
  staging.clear();
}

unsigned char* QXAppendWriter::Stage(const unsigned char* bytes, size_t count) {
  const size_t at = staging.size();
  staging.insert(staging.end(), bytes, bytes + count);
  end += static_cast<long>(count);
  return staging.data() + at;
}

size_t QXAppendWriter::StageRoom(size_t wanted, size_t size) {
  if (kStagingBytes - staging.size() < size) WriteStaged();
  const size_t room = (kStagingBytes - staging.size()) / size * size;
  return std::min(wanted, room);
}

void QXAppendWriter::Add(const void* bytes, size_t count) {
  const unsigned char* from = static_cast<const unsigned char*>(bytes);
  for (size_t done = 0; done < count;) {
    const size_t piece = StageRoom(count - done, 1);
    Stage(from + done, piece);
    done += piece;
  }
}

void QXAppendWriter::AddLarge(const unsigned char* bytes, size_t count) {
  if (staging.size() + count <= kStagingBytes) {
    Stage(bytes, count);
    return;
  }
  // Whatever is staged, then the middle straight from the caller's buffer;
  // the last part stays staged to go out with what follows it.
  const size_t last = std::min(count, kStagingBytes / 2);
  WriteStaged();
  Write(bytes, count - last);
  end += static_cast<long>(count - last);
  Stage(bytes + count - last, last);
}

bool QXAppendWriter::Finish() {
  WriteStaged();
  return !failed;
}

// --- The tail check -----------------------------------------------------------

namespace {

// The known dead ends of the search are kept up to this many; a search
// that needs more gives up, and the tail is then not cut.
constexpr size_t kMaxDeadEnds = size_t{1} << 20;

// Reads the window at offset: up to size bytes, fewer at the end.
size_t ReadWindow(const QXFile& file, long offset, long end, std::vector<unsigned char>& window,
                  size_t size) {
  const size_t wanted = static_cast<size_t>(std::min<long>(static_cast<long>(size), end - offset));
  window.resize(size);
  const long got = file.ReadSomeAt(offset, window.data(), wanted);
  return got < 0 ? 0 : static_cast<size_t>(got);
}

}  // namespace

bool QXIntactRecordsFollow(const QXFile& file, long tailStart, long end,
                           const QXFileFormat& format, const void* layout) {
  const size_t headerWindow = format.headerWindow;
  std::unordered_set<long> deadEnds;
  std::vector<unsigned char> block, window;
  constexpr size_t kBlock = size_t{1} << 16;
  // Scans every offset after the tail's start through a buffer that holds a
  // header window beyond its block; follows each chain that starts there.
  for (long blockStart = tailStart + 1; blockStart < end; blockStart += static_cast<long>(kBlock)) {
    const size_t have = ReadWindow(file, blockStart, end, block, kBlock + headerWindow);
    const size_t candidates = std::min(have, kBlock);
    for (size_t i = 0; i < candidates; i++) {
      const long first = blockStart + static_cast<long>(i);
      if (deadEnds.count(first) != 0) continue;
      long long length = format.recordLength(block.data() + i, have - i, layout);
      if (length <= 0 || length > end - first) continue;
      // Follow the chain until it ends at the end of the file, fails, or
      // meets a known dead end.
      std::vector<long> chain;
      long at = first;
      for (;;) {
        chain.push_back(at);
        at += static_cast<long>(length);
        if (at == end) return true;
        if (deadEnds.count(at) != 0) break;
        const size_t got = ReadWindow(file, at, end, window, headerWindow);
        length = format.recordLength(window.data(), got, layout);
        if (length <= 0 || length > end - at) break;
      }
      deadEnds.insert(chain.begin(), chain.end());
      if (deadEnds.size() > kMaxDeadEnds) return true;
    }
  }
  return false;
}

// --- Appending ----------------------------------------------------------------

bool QXPrepareToAppend(QXFile& file, QXAppendState& tail, const QXFileFormat& format,
                       const void* layout) {
  const bool refused = tail.state == QXFileState::Damaged || tail.state == QXFileState::Foreign;
  const long size = file.Size();
  if (!refused && size != tail.end) {
    QXErrorMessage(format.saveOperation,
                   "The file has changed since it was opened; nothing was saved.");
    return false;
  }
  if (tail.state == QXFileState::CutTail) {
    const std::string record = format.record;
    if (QXIntactRecordsFollow(file, tail.stop, size, format, layout)) {
      tail.state = QXFileState::Damaged;
    } else if (!file.Truncate(tail.stop)) {
      QXErrorMessage(format.saveOperation, "Could not remove the " + record +
                                               " cut short at the end of the file (" +
                                               std::strerror(errno) + "); nothing was saved.");
      return false;
    } else {
      const std::string removed =
          " cut short at the end of the file (" + std::to_string(size - tail.stop) + " bytes).";
      QXErrorMessage(format.saveOperation,
                     tail.tailName.empty()
                         ? "Removed " + std::string(format.aRecord) + removed
                         : "Removed the " + record + " \"" +
                               QXEscapeControlCharacters(tail.tailName) + "\"" + removed);
      tail.state = QXFileState::Whole;
      tail.end = tail.stop;
    }
  }
  if (tail.state == QXFileState::Foreign) {
    QXErrorMessage(format.saveOperation, format.foreignText);
    return false;
  }
  if (tail.state == QXFileState::Damaged) {
    QXErrorMessage(format.saveOperation, "The file is damaged at byte " +
                                             std::to_string(tail.stop) +
                                             "; nothing was saved.");
    return false;
  }
  return true;
}

bool QXFinishAppend(QXFile& file, QXAppendState& tail, QXAppendWriter& writer,
                    const std::string& name, const QXFileFormat& format) {
  if (writer.Finish()) {
    tail.end = writer.End();
    return true;
  }
  const std::string reason =
      writer.Error() != 0 ? std::strerror(writer.Error()) : "the file took fewer bytes";
  QXErrorMessage(format.saveOperation, "Could not write \"" + QXEscapeControlCharacters(name) +
                                           "\" to the file (" + reason + "); nothing was saved.");
  // What did arrive is ours to take back; when that fails too, the next save
  // removes it as a record cut short.
  if (!file.Truncate(writer.Start())) {
    tail.state = QXFileState::CutTail;
    tail.stop = writer.Start();
    tail.tailName = name;
    tail.end = file.Size();
  }
  return false;
}
