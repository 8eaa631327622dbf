// A list of strings packed into two arrays: every string followed by one 0
// byte, one after the other, in a character column, and the start of each in
// an int column. It stores itself in any storage as the offsets under
// name + "_offs" and the characters under name; the arrays are shared with
// the list's copies and the storage's, as arrays are.
//
//   QXMutableList<std::string> names(2);
//   names(0) = "inlet";
//   names(1) = "outlet";
//   WriteToFile(storage, "Boundaries", QXStringList(names));
//
// The arrays are checked when the list is made; since a caller may still
// change them through a mutable handle, SingleEntry checks again each time.
#ifndef QXSTRINGLIST_H
#define QXSTRINGLIST_H

#include <string>

#include "QXCharArray.h"
#include "QXDataStorage.h"
#include "QXIntArray.h"
#include "QXList.h"

class QXStringList {
 public:
  // No strings.
  QXStringList() = default;
  // Takes the two arrays when both are columns, every offset lies inside the
  // characters and none is below its predecessor; two empty arrays give the
  // empty list. Otherwise reports under "QXStringList(characters,offsets)"
  // "Invalid array sizes.", "One of the offsets is out of range." or "The
  // offsets need to be increasing." and the list is empty.
  QXStringList(const QXCharArray& characters, const QXIntArray& offsets);
  // Packs the strings. More characters than an int can count are refused
  // with "QXStringList(list)" / "The strings are too long to pack." and
  // give the empty list.
  explicit QXStringList(const QXList<std::string>& list);

  int NumberOfStrings() const { return offsets.Length(); }
  QXCharArray Characters() const { return characters; }
  QXIntArray Offsets() const { return offsets; }
  // String i without the 0 byte that ends it, so that a packed string comes
  // back as it was. An index outside the list, or offsets changed since into
  // a range outside the characters, report "QXStringList::SingleEntry" /
  // "Out of bounds." and give "".
  std::string SingleEntry(int i) const;

 private:
  QXCharArray characters;
  QXIntArray offsets;
};

// Saves the offsets under name + "_offs", then the characters under name.
void WriteToFile(QXDataStorage& storage, std::string name, const QXStringList& list);
// Reads both arrays and checks them as the constructor does.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXStringList& list);

#endif
