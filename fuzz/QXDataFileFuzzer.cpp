// Opens arbitrary bytes as a binary data file, reads everything, lists it,
// writes the content report and saves into it.
#include "QXContentReport.h"
#include "QXDataFile.h"
#include "QXFuzzStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return QXFuzzStorage<QXDataFile>(data, size, ".vbf",
                                   [](const QXDataStorage& storage) { PrintReport(storage); });
}
