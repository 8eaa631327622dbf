// Feeds arbitrary bytes from a server to a client container's
// ReadFromSocket, then reads and lists whatever it kept.
#include "QXFuzzStorage.h"
#include "QXSocketFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QXFuzzPeer server(data, size);
  if (!server.Ready()) return 0;
  QXDataContainer& client = server.connection;
  client.Save(1.0, "kept");
  client.ReadFromSocket();
  const QXList<std::string> names = client.AllVariableNames();
  for (int i = 0; i < names.Length(); i++) QXFuzzReadEverything(client, names(i));
  client.pinfo();
  return 0;
}
