// Opens arbitrary bytes as a binary data file, reads everything and lists it.
#include "QXDataFile.h"
#include "QXFuzzStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return QXFuzzStorage<QXDataFile>(data, size, ".vbf");
}
