// Feeds arbitrary bytes from a client to the live-update server's command
// reader, question after question, until the reader gives up.
#include "QXLiveUpdateInternal.h"
#include "QXSocketFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QXFuzzPeer client(data, size);
  if (!client.Ready()) return 0;
  QXLiveRequestedNames requested;
  while (QXLiveReadCommands(client.connection, requested)) {
  }
  requested.Contains("x");
  return 0;
}
