// The container's sockets with real peers: the content message byte by
// byte, the password exchange, the client side against hostile servers,
// ForceQuit, and descriptors over many clients.
#include <fstream>

#include "QXArrayValues.h"
#include "QXDataContainer.h"
#include "QXReportingTest.h"
#include "QXSocketTestSupport.h"

namespace {

using std::chrono::milliseconds;

const std::string kTag = "QXDataContainerStart";

std::string Dims(int32_t m, int32_t n, int32_t o) {
  return QXWireInt(m) + QXWireInt(n) + QXWireInt(o);
}

class QXDataContainerSocketTest : public QXReportingTest {
 protected:
  // Registers the server on the path and connects a raw client to it.
  void ConnectRawClient() {
    ASSERT_TRUE(server.RegisterSocket(path.path));
    QXBackgroundCall wait([this] { return server.WaitForClient(); },
                          [this] { server.ForceQuit(); });
    client.fd = QXRawPeer::ConnectToPath(path.path);
    ASSERT_TRUE(wait.Wait());
  }
  // Registers the server on a free port and waits for clients on a thread.
  void ListenOnPort(const std::string& offerText = "hello", const std::string& answer = "secret") {
    offer = offerText;
    port = QXFreePort();
    ASSERT_TRUE(server.RegisterSocket(port, offer, answer));
    waiting = std::make_unique<QXBackgroundCall>([this] { return server.WaitForClient(); },
                                                 [this] { server.ForceQuit(); });
  }
  // A raw client on the port that has read the offer.
  std::unique_ptr<QXRawPeer> PortClient() {
    auto peer = std::make_unique<QXRawPeer>(QXRawPeer::ConnectToPort(port));
    EXPECT_EQ(peer->Receive(4 + offer.size()), QXWireText(offer));
    return peer;
  }

  QXSocketPath path;
  QXDataContainer server;
  QXRawPeer client;
  uint16_t port = 0;
  std::string offer;
  std::unique_ptr<QXBackgroundCall> waiting;
};

// --- Registering ----------------------------------------------------------------

TEST_F(QXDataContainerSocketTest, APathOf103BytesRegistersAndOneOf104IsRefused) {
  const std::string folder = "/tmp/";
  const std::string stem = "qx_" + std::to_string(getpid()) + "_";
  const std::string fits = folder + stem + std::string(103 - folder.size() - stem.size(), 'p');
  EXPECT_TRUE(server.RegisterSocket(fits));
  QXDataContainer other;
  EXPECT_FALSE(other.RegisterSocket(fits + "p"));
  EXPECT_EQ(Reports(), Lines{"QXDataContainer::RegisterSocket: Invalid socket name (too long)"});
  server.ForceQuit();
  EXPECT_NE(access(fits.c_str(), F_OK), 0);
}

TEST_F(QXDataContainerSocketTest, BadPathsPortZeroAndMissingServersAreRefused) {
  EXPECT_FALSE(server.RegisterSocket(""));
  EXPECT_FALSE(server.RegisterSocket(std::string("/tmp/a\0b", 8)));
  EXPECT_FALSE(server.RegisterSocket(0, "a", "b"));
  EXPECT_FALSE(server.ConnectToServerSocket(""));
  EXPECT_FALSE(server.ConnectToServerSocket("/tmp/" + std::string(99, 'x')));
  EXPECT_FALSE(server.ConnectToServerSocket(path.path));
  EXPECT_EQ(Reports(),
            (Lines{"QXDataContainer::RegisterSocket: Invalid socket name",
                   "QXDataContainer::RegisterSocket: Invalid socket name",
                   "QXDataContainer::RegisterSocket: Invalid port number 0",
                   "QXDataContainer::ConnectToServerSocket: Invalid socket name",
                   "QXDataContainer::ConnectToServerSocket: Invalid socket name (too long)",
                   "QXDataContainer::ConnectToServerSocket: Error connecting."}));
}

TEST_F(QXDataContainerSocketTest, ARegularFileAtThePathIsKept) {
  path.Write("precious");
  EXPECT_FALSE(server.RegisterSocket(path.path));
  EXPECT_EQ(path.Read(), "precious");
  EXPECT_EQ(Reports(),
            Lines{"QXDataContainer::RegisterSocket: The path exists and is not a socket"});
}

TEST_F(QXDataContainerSocketTest, AnOldSocketAtThePathIsReplaced) {
  {
    QXDataContainer old;
    ASSERT_TRUE(old.RegisterSocket(path.path));
    QXDataContainer stillThere;
    EXPECT_TRUE(stillThere.RegisterSocket(path.path));
  }
  EXPECT_TRUE(server.RegisterSocket(path.path));
}

TEST_F(QXDataContainerSocketTest, APortInUseIsReported) {
  ListenOnPort();
  QXDataContainer other;
  EXPECT_FALSE(other.RegisterSocket(port, "a", "b"));
  EXPECT_EQ(Reports(),
            Lines{"QXDataContainer::RegisterSocket: Error when binding a socket to a port"});
}

// --- The content message --------------------------------------------------------

TEST_F(QXDataContainerSocketTest, EveryTypeIsSentInNameOrderWithItsCodeAndSize) {
  ConnectRawClient();
  server.Save(MakeArray<double>(1, 2, 1, {1.5, -2}), "a");
  server.Save(MakeArray<float>(2, 1, 1, {0.5f, 3}), "b");
  server.Save(7, "c");
  server.Save(MakeArray<short>(1, 1, 2, {-3, 4}), "d");
  server.Save(MakeArray<unsigned short>(1, 1, 1, {65535}), "e");
  server.Save(MakeArray<signed char>(1, 1, 1, {-1}), "f");
  server.Save(MakeArray<unsigned char>(1, 1, 1, {200}), "g");
  server.Save(std::string("text"), "h");
  server.Save(std::string(), "i");
  server.Save(QXMutableDoubleArray(), "j");
  std::string expected = kTag + QXWireInt(10);
  expected += QXWireText("a") + QXWireInt(2) + Dims(1, 2, 1) + QXWireElements<double>({1.5, -2});
  expected += QXWireText("b") + QXWireInt(3) + Dims(2, 1, 1) + QXWireElements<float>({0.5f, 3});
  expected += QXWireText("c") + QXWireInt(4) + Dims(1, 1, 1) + QXWireElements<int>({7});
  expected += QXWireText("d") + QXWireInt(5) + Dims(1, 1, 2) + QXWireElements<short>({-3, 4});
  expected +=
      QXWireText("e") + QXWireInt(6) + Dims(1, 1, 1) + QXWireElements<unsigned short>({65535});
  expected += QXWireText("f") + QXWireInt(7) + Dims(1, 1, 1) + QXWireElements<signed char>({-1});
  expected += QXWireText("g") + QXWireInt(8) + Dims(1, 1, 1) + QXWireElements<unsigned char>({200});
  expected += QXWireText("h") + QXWireInt(1) + QXWireText("text");
  expected += QXWireText("i") + QXWireInt(1) + QXWireInt(0);
  expected += QXWireText("j") + QXWireInt(2) + Dims(0, 0, 0);
  EXPECT_TRUE(server.WriteIntoSocket());
  server.ClientFailed();
  EXPECT_EQ(client.Receive(expected.size() + 1), expected);
}

TEST_F(QXDataContainerSocketTest, TerminateSendsItsNineBytes) {
  ConnectRawClient();
  EXPECT_TRUE(server.TerminateCommunication());
  server.ClientFailed();
  EXPECT_EQ(client.Receive(10), "Terminate");
}

TEST_F(QXDataContainerSocketTest, WritingToAClosedClientFailsWithoutASignal) {
  ConnectRawClient();
  client.Close();
  server.Save(QXMutableDoubleArray(1000, 1000, 1) = 1.0, "big");
  EXPECT_FALSE(server.WriteIntoSocket());
  EXPECT_FALSE(server.ClientConnected());
  EXPECT_EQ(Reports(), Lines{"QXDataContainer::WriteIntoSocket: Socket failed (0)"});
}

TEST_F(QXDataContainerSocketTest, WithoutAConnectionNothingIsWrittenOrRead) {
  EXPECT_FALSE(server.ReadFromSocket());
  EXPECT_EQ(Reports(), Lines{"QXDataContainer::ReadFromSocket: Not connected to a server."});
  EXPECT_FALSE(server.TerminateCommunication());
  EXPECT_FALSE(server.WriteIntoSocket());
  EXPECT_EQ(server.SocketNumber(), -1);
  EXPECT_EQ(Reports(), Lines{"QXDataContainer::SocketNumber: No client connected."});
}

// --- Client side ----------------------------------------------------------------

TEST_F(QXDataContainerSocketTest, AClientReadsBackEveryTypeAndKeepsItsOtherEntries) {
  ASSERT_TRUE(server.RegisterSocket(path.path));
  server.Save(MakeArray<double>(1, 2, 1, {1.5, -2}), "d");
  server.Save(MakeArray<unsigned short>(2, 1, 2, {1, 2, 3, 4}), "u");
  server.Save(std::string("text"), "s");
  server.Save(QXMutableIntArray(), "e");
  QXBackgroundCall serve([this] { return server.WaitForClient() && server.WriteIntoSocket(); },
                         [this] { server.ForceQuit(); });
  QXDataContainer reader;
  reader.Save(std::string("mine"), "kept");
  reader.Save(std::string("mine"), "s");
  ASSERT_TRUE(reader.ConnectToServerSocket(path.path));
  EXPECT_TRUE(reader.ReadFromSocket());
  EXPECT_TRUE(serve.Wait());
  EXPECT_EQ(Elements(reader.ReadDoubleArray("d")), (std::vector<double>{1.5, -2}));
  EXPECT_EQ(reader.FindVariable("u"), server.FindVariable("u"));
  EXPECT_EQ(reader.ReadString("s"), "text");
  EXPECT_EQ(reader.FindVariable("e").type, QXContainerInt);
  EXPECT_EQ(reader.ReadString("kept"), "mine");
}

// Beyond 64 MiB a reader takes the first bytes in blocks before it
// allocates the array.
TEST_F(QXDataContainerSocketTest, AValueLargerThanTheTrustedClaimArrivesWhole) {
  if (std::string(QX_EMULATOR).size() > 0) GTEST_SKIP() << "70 MiB is slow under emulation";
  ASSERT_TRUE(server.RegisterSocket(path.path));
  QXMutableUCharArray A(70 << 20, 1, 1);
  for (int i = 0; i < A.Length(); i++) A(i) = static_cast<unsigned char>(i % 251);
  server.Save(A, "large");
  QXBackgroundCall serve([this] { return server.WaitForClient() && server.WriteIntoSocket(); },
                         [this] { server.ForceQuit(); });
  QXDataContainer reader;
  ASSERT_TRUE(reader.ConnectToServerSocket(path.path));
  EXPECT_TRUE(reader.ReadFromSocket());
  EXPECT_TRUE(serve.Wait());
  EXPECT_EQ(reader.FindVariable("large"), server.FindVariable("large"));
}

// A client container fed by a hostile server through a socketpair.
class QXHostileServerTest : public QXReportingTest {
 protected:
  QXHostileServerTest() { Connect(reader, server); }
  static void Connect(QXDataContainer& container, QXRawPeer& peer) {
    int pair[2];
    socketpair(AF_UNIX, SOCK_STREAM, 0, pair);
    container.SetTimeout(200);
    container.UseConnection(pair[0]);
    peer.fd = pair[1];
  }
  // Sends the bytes to a fresh reader, closes the server's end and reads.
  static bool ReadFresh(const std::string& bytes) {
    QXDataContainer fresh;
    QXRawPeer peer;
    Connect(fresh, peer);
    peer.Send(bytes);
    peer.Close();
    return fresh.ReadFromSocket();
  }

  QXDataContainer reader;
  QXRawPeer server;
};

const std::string kOneDouble =
    QXWireText("x") + QXWireInt(2) + Dims(1, 1, 1) + QXWireElements<double>({4.5});

TEST_F(QXHostileServerTest, AMessageCutShortFailsAndKeepsTheEntriesBeforeTheCut) {
  reader.Save(1.0, "before");
  server.Send(kTag + QXWireInt(2) + kOneDouble + QXWireText("y") + QXWireInt(2));
  server.Close();
  EXPECT_FALSE(reader.ReadFromSocket());
  EXPECT_TRUE(reader.Contains("before"));
  EXPECT_EQ(reader.ReadNumber("x"), 4.5);
  EXPECT_FALSE(reader.Contains("y"));
  EXPECT_FALSE(reader.ClientConnected());
}

TEST_F(QXHostileServerTest, EveryCutOfAMessageFails) {
  const std::string message = kTag + QXWireInt(1) + kOneDouble;
  for (size_t cut = 0; cut < message.size(); cut++)
    EXPECT_FALSE(ReadFresh(message.substr(0, cut))) << "cut at " << cut;
}

// One entry after the tag and a count of one; each breaks one rule.
TEST_F(QXHostileServerTest, MalformedMessagesAreReported) {
  const std::string bad = "QXDataContainer::ReadFromSocket: Invalid message from server.";
  const std::string badTag = "QXDataContainer::ReadFromSocket: Invalid response from server.";
  const std::string one = kTag + QXWireInt(1);
  const std::string x = one + QXWireText("x");
  const int32_t most = INT32_MAX;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"QXDataContainerStorp" + QXWireInt(0), badTag},
      {one + QXWireInt(0) + "x", bad},
      {one + QXWireInt(65536), bad},
      {x + QXWireInt(9) + Dims(1, 1, 1) + QXWireElements<double>({1}), bad},
      {x + QXWireInt(1) + QXWireInt(-1), bad},
      {x + QXWireInt(2) + Dims(-1, 1, 1), bad},
      {x + QXWireInt(2) + Dims(65536, 65536, 1), bad},
      {x + QXWireInt(2) + Dims(most, most, most), bad},
  };
  for (const auto& [message, report] : cases) {
    EXPECT_FALSE(ReadFresh(message));
    EXPECT_EQ(Reports(), Lines{report});
  }
}

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); -1 if absent.
long StatusKilobytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.compare(0, field.size() + 1, field + ":") == 0)
      return std::stol(line.substr(field.size() + 1));
  return -1;
}

// The peak is reset first, so that what earlier tests used cannot hide what
// this one uses.
TEST_F(QXHostileServerTest, AHugeClaimBackedByFewBytesAllocatesLittle) {
  if (!std::ofstream("/proc/self/clear_refs").write("5", 1).flush())
    GTEST_SKIP() << "the peak memory cannot be reset here";
  const long before = StatusKilobytes("VmRSS");
  // 2^31 - 1 doubles claimed, 16 MiB sent.
  const std::string claim =
      QXWireText("x") + QXWireInt(3) + QXWireInt(2147483647) + QXWireInt(1) + QXWireInt(1);
  std::thread send([&] {
    server.Send(kTag + QXWireInt(1) + claim);
    server.Send(std::string(16 << 20, 'b'));
    server.Close();
  });
  EXPECT_FALSE(reader.ReadFromSocket());
  send.join();
  EXPECT_LT(StatusKilobytes("VmHWM") - before, 200 * 1024);
}

TEST_F(QXHostileServerTest, AServerThatSendsNothingTimesOut) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(reader.ReadFromSocket());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// --- The password exchange ------------------------------------------------------

TEST_F(QXDataContainerSocketTest, AnAnswerInTwoPiecesIsAccepted) {
  ListenOnPort();
  auto peer = PortClient();
  peer->Send(QXWireInt(6) + "sec");
  std::this_thread::sleep_for(milliseconds(50));
  peer->Send("ret");
  EXPECT_EQ(peer->Receive(4), QXWireInt(1));
  EXPECT_TRUE(waiting->Wait());
}

TEST_F(QXDataContainerSocketTest, AnEmptyOfferAndAnEmptyAnswerWork) {
  ListenOnPort("", "");
  auto peer = PortClient();
  peer->Send(QXWireInt(0));
  EXPECT_EQ(peer->Receive(4), QXWireInt(1));
  EXPECT_TRUE(waiting->Wait());
}

TEST_F(QXDataContainerSocketTest, AWrongAnswerIsReportedAndTheNextClientServed) {
  ListenOnPort();
  auto wrong = PortClient();
  wrong->Send(QXWireText("secreT"));
  EXPECT_TRUE(wrong->PeerClosed());
  auto prefix = PortClient();
  prefix->Send(QXWireText("secre"));
  EXPECT_TRUE(prefix->PeerClosed());
  auto right = PortClient();
  right->Send(QXWireText("secret"));
  EXPECT_EQ(right->Receive(4), QXWireInt(1));
  EXPECT_TRUE(waiting->Wait());
  EXPECT_TRUE(server.ClientConnected());
  EXPECT_EQ(Reports(), (Lines{"QXDataContainer::WaitForClient: Invalid Password",
                              "QXDataContainer::WaitForClient: Invalid Password"}));
}

TEST_F(QXDataContainerSocketTest, AnswerLengthsOutsideTheBoundsDisconnectSilently) {
  ListenOnPort();
  for (int32_t length : {-1, 10001}) {
    auto peer = PortClient();
    peer->Send(QXWireInt(length));
    EXPECT_TRUE(peer->PeerClosed()) << length;
  }
  EXPECT_FALSE(waiting->Finished(milliseconds(0)));
}

TEST_F(QXDataContainerSocketTest, APeerThatNeverAnswersTimesOutAndTheNextIsServed) {
  server.SetTimeout(200);
  ListenOnPort();
  auto silent = PortClient();
  EXPECT_TRUE(silent->PeerClosed());
  auto right = PortClient();
  right->Send(QXWireText("secret"));
  EXPECT_TRUE(waiting->Wait());
}

TEST_F(QXDataContainerSocketTest, ForceQuitReleasesAThreadInThePasswordExchange) {
  ListenOnPort();
  auto silent = PortClient();
  server.ForceQuit();
  EXPECT_FALSE(waiting->Wait());
}

// --- Ending ---------------------------------------------------------------------

TEST_F(QXDataContainerSocketTest, ForceQuitReleasesAThreadWaitingForAClient) {
  ASSERT_TRUE(server.RegisterSocket(path.path));
  QXBackgroundCall wait([this] { return server.WaitForClient(); }, [] {});
  while (!server.WaitingForClient()) std::this_thread::sleep_for(milliseconds(1));
  server.ForceQuit();
  EXPECT_FALSE(wait.Wait());
  EXPECT_FALSE(server.WaitForClient());
  EXPECT_NE(access(path.path.c_str(), F_OK), 0);
}

TEST_F(QXDataContainerSocketTest, ForceQuitReleasesAThreadReading) {
  ConnectRawClient();
  QXBackgroundCall read(
      [this] {
        char byte;
        return server.ReadFromStream(&byte, 1) == 1;
      },
      [] {});
  while (!server.CurrentlyReading()) std::this_thread::sleep_for(milliseconds(1));
  server.ForceQuit();
  EXPECT_FALSE(read.Wait());
  EXPECT_FALSE(server.ClientConnected());
}

// The clients also leave the server's socket in place as they end.
TEST_F(QXDataContainerSocketTest, FiveHundredClientsInTurnLeaveNoDescriptorOpen) {
  ASSERT_TRUE(server.RegisterSocket(path.path));
  const int before = QXOpenDescriptors();
  QXBackgroundCall serve(
      [this] {
        for (int i = 0; i < 500; i++)
          if (!server.WaitForClient() || !server.WriteIntoSocket()) return false;
        server.ClientFailed();
        return true;
      },
      [this] { server.ForceQuit(); });
  for (int i = 0; i < 500; i++) {
    QXDataContainer reader;
    ASSERT_TRUE(reader.ConnectToServerSocket(path.path));
    ASSERT_TRUE(reader.ReadFromSocket());
  }
  EXPECT_TRUE(serve.Wait(milliseconds(10000)));
  EXPECT_EQ(QXOpenDescriptors(), before);
  EXPECT_EQ(access(path.path.c_str(), F_OK), 0);
}

}  // namespace
