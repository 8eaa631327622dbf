// Opens arbitrary bytes as a Matlab v4 file, reads everything, lists it,
// writes the content report and saves into it.
#include "QXContentReport.h"
#include "QXFuzzStorage.h"
#include "QXMatlabDataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return QXFuzzStorage<QXMatlabDataFile>(data, size, ".mat",
                                         [](const QXDataStorage& storage) { PrintReport(storage); });
}
