// An RGBA color of four floats, each nominally from 0 to 1. It stores itself
// in any storage as a float array of 5 x 1 x 1 holding 1, r, g, b, a (the
// leading 1 is written and ignored on reading).
//
//   WriteToFile(storage, "background", QXColor(0.2f, 0.4f, 0.6f));
//   QXColor background;
//   ReadFromFile(storage, "background", background);
#ifndef QXCOLOR_H
#define QXCOLOR_H

#include <string>

#include "QXDataStorage.h"

class QXColor {
 public:
  // White and opaque.
  QXColor() : r(1), g(1), b(1), a(1) {}
  // Opaque.
  QXColor(float r, float g, float b) : r(r), g(g), b(b), a(1) {}
  QXColor(float r, float g, float b, float a) : r(r), g(g), b(b), a(a) {}

  float Red() const { return r; }
  float Green() const { return g; }
  float Blue() const { return b; }
  float Alpha() const { return a; }

 private:
  float r, g, b, a;
};

void WriteToFile(QXDataStorage& storage, std::string name, const QXColor& color);
// A stored array of other than 5 elements (a missing name too) reports
// "ReadFromFile(File,Name,Color)" / "Invalid array length" and gives white.
void ReadFromFile(const QXDataStorage& storage, std::string name, QXColor& color);

#endif
