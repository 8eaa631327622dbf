// The data container on a Unix-domain socket and live update, each beside a
// raw baseline over a socketpair:
// - a content message holding one 100 MB double array, written by
//   WriteIntoSocket on one thread and read by ReadFromSocket on another,
//   against the same bytes sent in one send() and received into a buffer
//   touched beforehand (the container's reader must allocate its array);
// - the round trip of one changed 1,000-element variable through live
//   update (save, synchronize, "NewAvl", "Send  ", content message), against
//   a raw ping-pong of the same bytes.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "QXDataContainer.h"
#include "QXDataContainerInternal.h"
#include "QXLiveUpdate.h"

namespace {

constexpr int kLargeElements = 100 * 1000 * 1000 / 8;  // 100 MB of doubles
constexpr int kLiveElements = 1000;

std::string SocketPath(const char* what) {
  return "/tmp/qxcontainer_bench_" + std::to_string(static_cast<long>(getpid())) + "_" + what;
}

void BM_ContainerMessage(benchmark::State& state) {
  const std::string path = SocketPath("message");
  QXDataContainer server;
  server.SetTimeout(0);
  QXMutableDoubleArray A(kLargeElements, 1, 1);
  for (int i = 0; i < kLargeElements; i++) A(i) = i * 0.5;
  server.Save(A, "A");
  if (!server.RegisterSocket(path)) {
    state.SkipWithError("could not register the socket");
    return;
  }
  std::thread accept([&] { server.WaitForClient(); });
  QXDataContainer client;
  client.SetTimeout(0);
  client.ConnectToServerSocket(path);
  accept.join();
  for (auto _ : state) {
    std::thread writer([&] { server.WriteIntoSocket(); });
    if (!client.ReadFromSocket()) state.SkipWithError("the message did not arrive");
    writer.join();
    // The array is dropped here, so each round allocates afresh.
    client.RemoveAllEntries();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kLargeElements) * 8);
}
BENCHMARK(BM_ContainerMessage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawSocketpairMessage(benchmark::State& state) {
  int pair[2];
  socketpair(AF_UNIX, SOCK_STREAM, 0, pair);
  const size_t bytes = size_t(kLargeElements) * 8;
  std::vector<char> out(bytes, 1);
  std::vector<char> in(bytes, 0);
  for (auto _ : state) {
    std::thread writer([&] { QXSendAll(pair[1], out.data(), bytes); });
    if (QXReceiveAll(pair[0], in.data(), bytes) != bytes) state.SkipWithError("short read");
    writer.join();
  }
  close(pair[0]);
  close(pair[1]);
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(BM_RawSocketpairMessage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The publishing side and a client that asked for "v"; a process publishes
// once, so this is made once for every run of the benchmark.
struct LiveSetup {
  LiveSetup() {
    v = 0.0;
    if (!QXLivePublish(SocketPath("live"))) return;
    data.Save(v, "v");
    QXLiveSynchronize();
    client.ConnectToServerSocket(SocketPath("live"));
    client.WriteToStream("Hello ", 6);
    char message[6];
    client.ReadFromStream(message, 6);  // NewAvl
    std::string ask = "Add   ";
    const int32_t nameLength = 1;
    const int32_t end = 0;
    ask.append(reinterpret_cast<const char*>(&nameLength), 4).append("v");
    ask.append(reinterpret_cast<const char*>(&end), 4).append("Send  ");
    ready = client.WriteToStream(ask.data(), ask.size()) && client.ReadFromSocket();
  }
  QXDataContainer data = QXLiveDataObject();
  QXMutableDoubleArray v = QXMutableDoubleArray(kLiveElements, 1, 1);
  QXDataContainer client;
  bool ready = false;
};

void BM_LiveRoundTrip(benchmark::State& state) {
  static LiveSetup live;
  if (!live.ready) {
    state.SkipWithError("could not publish");
    return;
  }
  QXDataContainer& data = live.data;
  QXDataContainer& client = live.client;
  QXMutableDoubleArray& v = live.v;
  char message[6];
  static double value = 0;
  for (auto _ : state) {
    v = ++value;
    data.Save(v, "v");
    QXLiveSynchronize();
    if (client.ReadFromStream(message, 6) != 6 || !client.WriteToStream("Send  ", 6) ||
        !client.ReadFromSocket())
      state.SkipWithError("the round trip failed");
  }
  if (client.ReadDoubleArray("v")(0) != value) state.SkipWithError("the last value is missing");
}
BENCHMARK(BM_LiveRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same bytes as one live round trip: the 6-byte notice, the 6-byte
// question and a message of about 8 KB, between two threads.
void BM_RawRoundTrip(benchmark::State& state) {
  int pair[2];
  socketpair(AF_UNIX, SOCK_STREAM, 0, pair);
  const size_t reply = 20 + 4 + 4 + 1 + 4 + 12 + kLiveElements * 8;
  std::vector<char> message(reply, 2);
  std::vector<char> received(reply);
  std::thread server([&] {
    char question[6];
    while (true) {
      if (!QXSendAll(pair[1], "NewAvl", 6) || QXReceiveAll(pair[1], question, 6) != 6) return;
      if (question[0] != 'S' || !QXSendAll(pair[1], message.data(), reply)) return;
    }
  });
  char notice[6];
  for (auto _ : state) {
    if (QXReceiveAll(pair[0], notice, 6) != 6 || !QXSendAll(pair[0], "Send  ", 6) ||
        QXReceiveAll(pair[0], received.data(), reply) != reply)
      state.SkipWithError("the round trip failed");
  }
  shutdown(pair[0], SHUT_RDWR);
  server.join();
  close(pair[0]);
  close(pair[1]);
}
BENCHMARK(BM_RawRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
