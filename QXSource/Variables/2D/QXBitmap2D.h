// An image placed in the plane: one to four channels of 8-bit or 16-bit
// samples on a QXMesh2DGrid, sample (i,j) at origin + (i*dx, j*dy) and at
// index i + j*m of every channel (m x n, column-major).
//
//   QXBitmap2D photo(R, G, B, QXMesh2DGrid(QXPoint2D(0, 0), 0.1));   // 16-bit
//   QXBitmap2D preview = ConvertTo8Bits(photo);
//   WriteToFile(storage, "photo", photo);
//
// A bitmap is of one kind, gray, gray with alpha, colour (red, green, blue)
// or colour with alpha, and of one depth: exactly that kind's channels of
// that depth are filled, every other channel is empty. The empty bitmap has
// no channels and a grid of 0 x 0. The grid takes its size from the channels
// and never carries a mask. Channels are shared with the caller's arrays;
// their sizes cannot change later, only their samples.
//
// Storage: each channel the bitmap has, as an unsigned 8-bit or unsigned
// 16-bit array under the name plus its suffix, in the order "_Gray", "_Red",
// "_Green", "_Blue", "_Alpha", "_Gray16", "_Red16", "_Green16", "_Blue16",
// "_Alpha16"; then the grid's four numbers (origin x, origin y, dx, dy,
// WriteToFileNoSize) under the name itself, the main entry, last. A channel
// an earlier value under the name left and this bitmap lacks is overwritten
// with an empty array in its place in that order, and readers take an empty
// channel as absent: a gray bitmap saved over a colour one reads back gray.
//
// Reading chooses the kind from the channels present, the first rule that
// fits: no "_Gray16" and no "_Red16": 8-bit colour when "_Red", "_Green" and
// "_Blue" are present (with alpha when "_Alpha" is), else gray with alpha
// when "_Alpha" is present, else gray; 16-bit colour when "_Red16",
// "_Green16" and "_Blue16" are present (with alpha when "_Alpha16" is); else
// 16-bit gray with alpha when "_Alpha16" is present; else 16-bit gray.
// Channels the chosen kind does not use are ignored. Channels stored with
// another element type are converted by the storage (a double 300 becomes
// the byte 44, as every integer read truncates and keeps the low bits) or
// reported by it.
//
// Failures are reported through QXErrorMessage and give the empty bitmap:
//   "QXBitmap2D(G,grid)", "QXBitmap2D(G,A,grid)", "QXBitmap2D(R,G,B,grid)",
//   "QXBitmap2D(R,G,B,A,grid)" (8 and 16 bits alike): "Incorrect array
//     sizes." (a channel with more than one layer, or of another m x n than
//     the first; a stored channel of three dimensions is refused so too).
//   "ReadFromArray(QXBitmap2D)": "The stored channels make no bitmap kind."
//     (some channel is stored, but not all of the kind the rules choose:
//     "_Red16" alone, "_Red" and "_Green" without "_Blue", "_Alpha" alone).
// A missing main entry is reported by the storage, one of the wrong length
// by the grid reader ("ReadFromArray(QXMesh2DGrid)"); the former gives the
// empty bitmap, the latter the channels on the default grid.
#ifndef QXBITMAP2D_H
#define QXBITMAP2D_H

#include <initializer_list>
#include <string>

#include "QXDataStorage.h"
#include "QXMesh2DGrid.h"
#include "QXRegion.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"

class QXBitmap2D {
 public:
  // No channels, a 0 x 0 grid at (0,0) with unit steps.
  QXBitmap2D();
  // Each constructor keeps its channels (shared) and the grid's origin and
  // steps with the channels' size, dropping any mask: an empty first channel
  // gives a 0 x 0 grid. A channel with o() of 2 or more, or whose m or n
  // differs from the first channel's, is reported with "Incorrect array
  // sizes." and gives the empty bitmap.
  QXBitmap2D(const QXUCharArray& G, const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUCharArray& G, const QXUCharArray& A, const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUCharArray& R, const QXUCharArray& G, const QXUCharArray& B,
             const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUCharArray& R, const QXUCharArray& G, const QXUCharArray& B,
             const QXUCharArray& A, const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUShortIntArray& G, const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUShortIntArray& G, const QXUShortIntArray& A, const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUShortIntArray& R, const QXUShortIntArray& G, const QXUShortIntArray& B,
             const QXMesh2DGrid& grid);
  QXBitmap2D(const QXUShortIntArray& R, const QXUShortIntArray& G, const QXUShortIntArray& B,
             const QXUShortIntArray& A, const QXMesh2DGrid& grid);

  QXMesh2DGrid Grid() const { return grid; }
  int m() const { return grid.m(); }
  int n() const { return grid.n(); }
  bool IsEmpty() const { return grid.m() == 0; }
  bool Is16Bits() const { return gray16.NotEmpty() || red16.NotEmpty(); }
  // The channels, shared; a channel the bitmap does not have is empty.
  QXUCharArray Gray() const { return gray; }
  QXUCharArray Red() const { return red; }
  QXUCharArray Green() const { return green; }
  QXUCharArray Blue() const { return blue; }
  QXUCharArray Alpha() const { return alpha; }
  QXUShortIntArray Gray16() const { return gray16; }
  QXUShortIntArray Red16() const { return red16; }
  QXUShortIntArray Green16() const { return green16; }
  QXUShortIntArray Blue16() const { return blue16; }
  QXUShortIntArray Alpha16() const { return alpha16; }
  // "m x n, depth and kind" on standard error: "640x480 16-bit colour with
  // alpha bitmap", "4x3 8-bit gray bitmap"; "Empty bitmap" for no channels.
  void pinfo() const;

 private:
  template <class T>
  struct Channel {
    QXArray<T>* field;
    const QXArray<T>& samples;
  };
  // The checks and the fields shared by the eight constructors.
  template <class T>
  void Build(const char* operation, const QXMesh2DGrid& onGrid,
             std::initializer_list<Channel<T>> channels);

  QXMesh2DGrid grid;
  QXUCharArray gray, red, green, blue, alpha;
  QXUShortIntArray gray16, red16, green16, blue16, alpha16;
};

// The bounding box of the grid; empty for the empty bitmap.
QXRegion2D BoundingBox(const QXBitmap2D& bitmap);

// The 8-bit bitmap of the same kind on the same grid: each channel, alpha
// included, takes the high byte of every 16-bit sample (0x1234 gives 0x12).
// An 8-bit or empty bitmap is returned as it is; a channel that cannot be
// allocated is reported by the array and gives the empty bitmap.
QXBitmap2D ConvertTo8Bits(const QXBitmap2D& bitmap);

// See the storage layout above. A save replaces the whole earlier value.
void WriteToFile(QXDataStorage& storage, std::string name, const QXBitmap2D& bitmap);
// Chooses the kind by the rules above and builds it with the constructor of
// that kind, whose checks and reports apply. A name with only its grid (an
// empty bitmap's save) reads as the empty bitmap on that grid's placement
// without a report.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXBitmap2D& bitmap);

#endif
