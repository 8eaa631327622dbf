#include "QXBitmap2D.h"

#include <cstdio>
#include <sstream>

#include "QXError.h"
#include "QXVariableStorageInternal.h"

namespace {

// The ten channels of a bitmap as they are stored, one entry each.
struct StoredChannels {
  QXUCharArray gray, red, green, blue, alpha;
  QXUShortIntArray gray16, red16, green16, blue16, alpha16;
};

StoredChannels ChannelsOf(const QXBitmap2D& b) {
  return {b.Gray(),   b.Red(),   b.Green(),   b.Blue(),   b.Alpha(),
          b.Gray16(), b.Red16(), b.Green16(), b.Blue16(), b.Alpha16()};
}

// Calls visit(suffix, channel) for every channel in the order of writing.
template <class Channels, class Visit>
void ForEachChannel(Channels& c, Visit visit) {
  visit("_Gray", c.gray);
  visit("_Red", c.red);
  visit("_Green", c.green);
  visit("_Blue", c.blue);
  visit("_Alpha", c.alpha);
  visit("_Gray16", c.gray16);
  visit("_Red16", c.red16);
  visit("_Green16", c.green16);
  visit("_Blue16", c.blue16);
  visit("_Alpha16", c.alpha16);
}

// The bitmap of the kind that channels of one depth make: colour when red,
// green and blue are all there, else gray; with alpha when alpha is there.
// False, leaving the bitmap alone, when the kind's channels are not all
// there: then the channels make no bitmap.
template <class T>
bool Assemble(const QXArray<T>& G, const QXArray<T>& R, const QXArray<T>& Gr, const QXArray<T>& B,
              const QXArray<T>& A, const QXMesh2DGrid& grid, QXBitmap2D& bitmap) {
  const bool withAlpha = A.NotEmpty();
  if (R.NotEmpty() && Gr.NotEmpty() && B.NotEmpty()) {
    bitmap = withAlpha ? QXBitmap2D(R, Gr, B, A, grid) : QXBitmap2D(R, Gr, B, grid);
    return true;
  }
  if (G.IsEmpty()) return false;
  bitmap = withAlpha ? QXBitmap2D(G, A, grid) : QXBitmap2D(G, grid);
  return true;
}

// The high byte of every sample into `bytes`, a new array of the same size;
// false when it cannot be allocated (reported by the array). One plain loop
// that the compiler turns into vector shifts and packs.
bool HighBytes(const QXUShortIntArray& samples, QXUCharArray& bytes) {
  QXMutableUCharArray high(samples.m(), samples.n(), samples.o());
  const int count = samples.Length();
  if (high.Length() != count) return false;
  const unsigned short* from = samples.Pointer();
  unsigned char* to = high.Pointer();
  for (int i = 0; i < count; i++) to[i] = static_cast<unsigned char>(from[i] >> 8);
  bytes = high;
  return true;
}

}  // namespace

QXBitmap2D::QXBitmap2D() : grid() {}

QXBitmap2D::QXBitmap2D(const QXUCharArray& G, const QXMesh2DGrid& grid) : QXBitmap2D() {
  Build<unsigned char>("QXBitmap2D(G,grid)", grid, {{&gray, G}});
}

QXBitmap2D::QXBitmap2D(const QXUCharArray& G, const QXUCharArray& A, const QXMesh2DGrid& grid)
    : QXBitmap2D() {
  Build<unsigned char>("QXBitmap2D(G,A,grid)", grid, {{&gray, G}, {&alpha, A}});
}

QXBitmap2D::QXBitmap2D(const QXUCharArray& R, const QXUCharArray& G, const QXUCharArray& B,
                       const QXMesh2DGrid& grid)
    : QXBitmap2D() {
  Build<unsigned char>("QXBitmap2D(R,G,B,grid)", grid, {{&red, R}, {&green, G}, {&blue, B}});
}

QXBitmap2D::QXBitmap2D(const QXUCharArray& R, const QXUCharArray& G, const QXUCharArray& B,
                       const QXUCharArray& A, const QXMesh2DGrid& grid)
    : QXBitmap2D() {
  Build<unsigned char>("QXBitmap2D(R,G,B,A,grid)", grid,
                       {{&red, R}, {&green, G}, {&blue, B}, {&alpha, A}});
}

QXBitmap2D::QXBitmap2D(const QXUShortIntArray& G, const QXMesh2DGrid& grid) : QXBitmap2D() {
  Build<unsigned short>("QXBitmap2D(G,grid)", grid, {{&gray16, G}});
}

QXBitmap2D::QXBitmap2D(const QXUShortIntArray& G, const QXUShortIntArray& A,
                       const QXMesh2DGrid& grid)
    : QXBitmap2D() {
  Build<unsigned short>("QXBitmap2D(G,A,grid)", grid, {{&gray16, G}, {&alpha16, A}});
}

QXBitmap2D::QXBitmap2D(const QXUShortIntArray& R, const QXUShortIntArray& G,
                       const QXUShortIntArray& B, const QXMesh2DGrid& grid)
    : QXBitmap2D() {
  Build<unsigned short>("QXBitmap2D(R,G,B,grid)", grid, {{&red16, R}, {&green16, G}, {&blue16, B}});
}

QXBitmap2D::QXBitmap2D(const QXUShortIntArray& R, const QXUShortIntArray& G,
                       const QXUShortIntArray& B, const QXUShortIntArray& A,
                       const QXMesh2DGrid& grid)
    : QXBitmap2D() {
  Build<unsigned short>("QXBitmap2D(R,G,B,A,grid)", grid,
                        {{&red16, R}, {&green16, G}, {&blue16, B}, {&alpha16, A}});
}

template <class T>
void QXBitmap2D::Build(const char* operation, const QXMesh2DGrid& onGrid,
                       std::initializer_list<Channel<T>> channels) {
  const QXArray<T>& first = channels.begin()->samples;
  for (const Channel<T>& c : channels) {
    if (c.samples.o() >= 2 || c.samples.m() != first.m() || c.samples.n() != first.n()) {
      QXErrorMessage(operation, "Incorrect array sizes.");
      return;
    }
  }
  for (const Channel<T>& c : channels) *c.field = c.samples;
  grid = ChangeSize(onGrid, first.m(), first.n());
}

void QXBitmap2D::pinfo() const {
  std::ostringstream line;
  if (IsEmpty()) {
    line << "Empty bitmap";
  } else {
    const bool colour = red.NotEmpty() || red16.NotEmpty();
    const bool withAlpha = alpha.NotEmpty() || alpha16.NotEmpty();
    line << m() << "x" << n() << (Is16Bits() ? " 16-bit " : " 8-bit ")
         << (colour ? "colour" : "gray") << (withAlpha ? " with alpha" : "") << " bitmap";
  }
  line << '\n';
  std::fputs(line.str().c_str(), stderr);
}

QXRegion2D BoundingBox(const QXBitmap2D& bitmap) { return BoundingBox(bitmap.Grid()); }

QXBitmap2D ConvertTo8Bits(const QXBitmap2D& bitmap) {
  if (!bitmap.Is16Bits()) return bitmap;
  QXUCharArray G, R, Gr, B, A;
  if (!HighBytes(bitmap.Gray16(), G) || !HighBytes(bitmap.Red16(), R) ||
      !HighBytes(bitmap.Green16(), Gr) || !HighBytes(bitmap.Blue16(), B) ||
      !HighBytes(bitmap.Alpha16(), A))
    return QXBitmap2D();
  QXBitmap2D converted;
  Assemble(G, R, Gr, B, A, bitmap.Grid(), converted);
  return converted;
}

void WriteToFile(QXDataStorage& storage, std::string name, const QXBitmap2D& bitmap) {
  const StoredChannels channels = ChannelsOf(bitmap);
  ForEachChannel(channels, [&](const char* suffix, const auto& samples) {
    QXWriteOptionalCompanion(storage, name + suffix, samples);
  });
  WriteToFileNoSize(storage, name, bitmap.Grid());
}

void ReadFromFile(const QXDataStorage& storage, std::string name, QXBitmap2D& bitmap) {
  bitmap = QXBitmap2D();
  if (!storage.Contains(name)) {
    storage.ReadDoubleArray(name);  // the storage reports the missing name
    return;
  }
  QXMesh2DGrid grid;
  ReadFromFile(storage, name, grid);
  StoredChannels c;
  bool anyStored = false;
  ForEachChannel(c, [&](const char* suffix, auto& samples) {
    if (storage.Contains(name + suffix)) ReadFromFile(storage, name + suffix, samples);
    anyStored = anyStored || samples.NotEmpty();
  });
  const bool eightBits = c.gray16.IsEmpty() && c.red16.IsEmpty();
  const bool assembled =
      eightBits ? Assemble(c.gray, c.red, c.green, c.blue, c.alpha, grid, bitmap)
                : Assemble(c.gray16, c.red16, c.green16, c.blue16, c.alpha16, grid, bitmap);
  if (assembled) return;
  if (anyStored)
    QXErrorMessage(QXReadFromArrayOperation("QXBitmap2D"),
                   "The stored channels make no bitmap kind.");
  else
    bitmap = QXBitmap2D(QXUCharArray(), grid);
}
