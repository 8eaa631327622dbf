// Live update end to end. A process publishes once, so each test publishes
// in a child process and drives it from here as the watching client, byte
// by byte; the child ends through exit(), as a program does.
#include <poll.h>
#include <sys/wait.h>

#include <functional>

#include "QXArrayValues.h"
#include "QXLiveUpdate.h"
#include "QXLiveUpdateC.h"
#include "QXReportingTest.h"
#include "QXSocketTestSupport.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// The next byte on the pipe; 0 when none came within the time.
char NextByte(int pipe, int milliseconds) {
  pollfd ready{pipe, POLLIN, 0};
  char byte = 0;
  if (poll(&ready, 1, milliseconds) == 1 && read(pipe, &byte, 1) != 1) byte = 0;
  return byte;
}

// The child's end of the pipes to the test.
struct QXParent {
  char Wait() const { return NextByte(in, 5000); }
  void Signal(char byte) const { (void)!write(out, &byte, 1); }
  int in;
  int out;
};

// A child process running body(parent) and exiting with its result. The
// destructor kills a child that is still running.
class QXChild {
 public:
  explicit QXChild(const std::function<int(const QXParent&)>& body) {
    int down[2];
    int up[2];
    EXPECT_EQ(pipe(down), 0);
    EXPECT_EQ(pipe(up), 0);
    std::fflush(nullptr);
    pid = fork();
    if (pid == 0) {
      close(down[1]);
      close(up[0]);
      QXClearErrorList();
      std::exit(body(QXParent{down[0], up[1]}));
    }
    close(down[0]);
    close(up[1]);
    toChild = down[1];
    fromChild = up[0];
  }
  ~QXChild() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    close(toChild);
    close(fromChild);
  }
  void Send(char byte) const { (void)!write(toChild, &byte, 1); }
  char Receive() const { return NextByte(fromChild, 2000); }
  // The child's exit status, or -1 when it did not end within the time.
  int Finish(milliseconds within = milliseconds(2000)) {
    const auto deadline = Clock::now() + within;
    while (Clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(milliseconds(5));
    }
    return -1;
  }

 private:
  pid_t pid = 0;
  int toChild = -1;
  int fromChild = -1;
};

const std::string kTag = "QXDataContainerStart";

// A content message of double entries given as (name, value) pairs.
std::string Content(const std::vector<std::pair<std::string, double>>& entries) {
  std::string bytes = kTag + QXWireInt(static_cast<int32_t>(entries.size()));
  for (const auto& entry : entries)
    bytes += QXWireText(entry.first) + QXWireInt(2) + QXWireInt(1) + QXWireInt(1) + QXWireInt(1) +
             QXWireElements<double>({entry.second});
  return bytes;
}

std::string AddVar(const std::string& name, const std::string& type) {
  return "AddVar" + QXWireInt(1) + QXWireText(name) + QXWireText(type);
}

// A command and its name list.
std::string Command(const std::string& command, const std::vector<std::string>& names) {
  std::string bytes = command;
  for (const std::string& name : names) bytes += QXWireText(name);
  return bytes + QXWireInt(0);
}

// A raw client, retrying the connection while the child starts.
std::unique_ptr<QXRawPeer> ConnectWith(const std::function<int()>& connect) {
  const auto deadline = Clock::now() + milliseconds(2000);
  int socket = connect();
  while (socket < 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(5));
    socket = connect();
  }
  return std::make_unique<QXRawPeer>(socket);
}
std::unique_ptr<QXRawPeer> ConnectTo(const std::string& path) {
  return ConnectWith([&] { return QXRawPeer::ConnectToPath(path); });
}

// The bytes the peer received, as many as expected has.
std::string ReceiveLike(const QXRawPeer& peer, const std::string& expected) {
  return peer.Receive(expected.size());
}

// A raw client that said Hello and was told NewAvl.
std::unique_ptr<QXRawPeer> Greeted(std::unique_ptr<QXRawPeer> client) {
  client->Send("Hello ");
  EXPECT_EQ(client->Receive(6), "NewAvl");
  return client;
}

// The child's checks: each failed one is its own exit status.
int Check(std::initializer_list<bool> facts) {
  int number = 1;
  for (bool fact : facts) {
    if (!fact) return number;
    number++;
  }
  return 0;
}

class QXLiveUpdateTest : public QXReportingTest {
 protected:
  QXSocketPath path;
};

TEST_F(QXLiveUpdateTest, PublishingIsRefusedTwiceAndForBadPathsAndPorts) {
  QXTempPath file("live_file", ".txt");
  file.Write("keep");
  QXChild child([&](const QXParent&) {
    const bool refused = !QXLivePublish(file.path);
    const bool tooLong = !QXLivePublish("/tmp/" + std::string(99, 'l'));
    const bool zero = !QXLivePublish(0, "a", "b");
    const bool tooLarge = !QXLivePublish(65536, "a", "b");
    const bool null = !QXCLivePublishLocal(nullptr);
    const bool published = QXLivePublish(path.path);
    const bool second = QXLivePublish(path.path);
    QXLiveAddVariable("", "Number");
    QXCLiveAddVariable(nullptr, "Number");
    const std::vector<std::string> expected = {
        "QXDataContainer::RegisterSocket: The path exists and is not a socket",
        "QXDataContainer::RegisterSocket: Invalid socket name (too long)",
        "QXLiveUpdateStorage::Publish: Invalid port number 0.",
        "QXLiveUpdateStorage::Publish: Invalid port number 65536.",
        "QXCLivePublishLocal: A null string was given.",
        "QXLiveUpdateStorage::Publish: Calling this function twice.",
        "QXLiveUpdateStorage::AddVariable: The variable name is empty.",
        "QXCLiveAddVariable: A null string was given.",
    };
    return Check({refused, tooLong, zero, tooLarge, null, published, !second,
                  QXErrorListSnapshot() == expected});
  });
  EXPECT_EQ(child.Finish(), 0);
  EXPECT_EQ(file.Read(), "keep");
}

// Without a client the process also ends promptly.
TEST_F(QXLiveUpdateTest, PublishingReplacesAnOldSocketAndRemovesItsOwnAtTheEnd) {
  QXDataContainer old;
  ASSERT_TRUE(old.RegisterSocket(path.path));
  QXChild child([&](const QXParent&) { return QXLivePublish(path.path) ? 0 : 1; });
  EXPECT_EQ(child.Finish(), 0);
  EXPECT_NE(access(path.path.c_str(), F_OK), 0);
}

// Greeting, definition, NewAvl, name list, content; unchanged values are
// not sent again; a reconnected client receives everything whole.
TEST_F(QXLiveUpdateTest, AClientFollowsTheScriptAndReceivesOnlyChanges) {
  QXChild child([&](const QXParent& parent) {
    const bool idle = !QXLiveCurrentlyConnected() && !QXLiveCurrentlySendingOver("x");
    if (!QXLivePublish(path.path)) return 1;
    QXLiveAddVariable("x", "Number");
    QXDataContainer data = QXLiveDataObject();
    data.Save(1.0, "x");
    data.Save(2.0, "y");
    QXLiveSynchronize();
    for (double x : {1.0, 3.0}) {
      if (parent.Wait() != 'n') return 2;
      data.Save(x, "x");
      QXLiveSynchronize();
    }
    if (parent.Wait() != 'q') return 3;
    return idle ? 0 : 4;
  });
  auto client = ConnectTo(path.path);
  client->Send("Hello ");
  EXPECT_EQ(ReceiveLike(*client, AddVar("x", "Number")), AddVar("x", "Number"));
  client->Send("Ok    ");
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send(Command("Add   ", {"x"}) + "Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"x", 1}})), Content({{"x", 1}}));
  child.Send('n');
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send("Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({})), Content({}));
  child.Send('n');
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send("Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"x", 3}})), Content({{"x", 3}}));
  client = ConnectTo(path.path);
  client->Send("Hello ");
  EXPECT_EQ(ReceiveLike(*client, AddVar("x", "Number")), AddVar("x", "Number"));
  client->Send("Ok    ");
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send("Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"x", 3}})), Content({{"x", 3}}));
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

TEST_F(QXLiveUpdateTest, SeveralSynchronizationsGiveOneNewAvlWithTheLatest) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXDataContainer data = QXLiveDataObject();
    data.Save(1.0, "x");
    QXLiveSynchronize();
    if (parent.Wait() != 'n') return 2;
    for (double x : {2.0, 3.0, 4.0}) {
      data.Save(x, "x");
      QXLiveSynchronize();
    }
    parent.Signal('d');
    return parent.Wait() == 'q' ? 0 : 3;
  });
  auto client = Greeted(ConnectTo(path.path));
  client->Send(Command("Add   ", {"x"}) + "Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"x", 1}})), Content({{"x", 1}}));
  child.Send('n');
  EXPECT_EQ(child.Receive(), 'd');
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send("Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"x", 4}})), Content({{"x", 4}}));
  EXPECT_EQ(client->Receive(1, milliseconds(200)), "");
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

// Requested names decide what is sent and what the program is told.
TEST_F(QXLiveUpdateTest, OnlyRequestedVariablesAreSentAndReported) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXDataContainer data = QXLiveDataObject();
    data.Save(1.0, "a");
    data.Save(2.0, "b");
    QXLiveSynchronize();
    for (char step = '1'; step <= '2'; step++) {
      if (parent.Wait() != step) return 2;
      parent.Signal(QXLiveCurrentlySendingOver("a") ? 'y' : 'n');
      parent.Signal(QXCLiveCurrentlySendingOver("b") ? 'y' : 'n');
      parent.Signal(QXCLiveCurrentlyConnected() ? 'y' : 'n');
      data.Save(step == '1' ? 5.0 : 6.0, "a");
      data.Save(step == '1' ? 5.0 : 6.0, "b");
      QXCLiveSynchronize();
    }
    return parent.Wait() == 'q' ? 0 : 3;
  });
  auto client = Greeted(ConnectTo(path.path));
  client->Send(Command("Add   ", {"a", "b"}) + Command("Remove", {"b"}) + "Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"a", 1}})), Content({{"a", 1}}));
  child.Send('1');
  EXPECT_EQ(child.Receive(), 'y');
  EXPECT_EQ(child.Receive(), 'n');
  EXPECT_EQ(child.Receive(), 'y');
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send(Command("Remove", {"a"}) + "Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({})), Content({}));
  child.Send('2');
  EXPECT_EQ(child.Receive(), 'n');
  EXPECT_EQ(child.Receive(), 'n');
  EXPECT_EQ(child.Receive(), 'y');
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

TEST_F(QXLiveUpdateTest, AVariableDeclaredLaterIsAnnouncedInTheNextRound) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXLiveSynchronize();
    if (parent.Wait() != 'n') return 2;
    QXLiveAddVariable("late", "Path");
    QXLiveSynchronize();
    if (parent.Wait() != 'm') return 3;
    QXLiveSynchronize();
    return parent.Wait() == 'q' ? 0 : 4;
  });
  auto client = Greeted(ConnectTo(path.path));
  client->Send(Command("Add   ", {"Seq_late"}) + "Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({})), Content({}));
  child.Send('n');
  EXPECT_EQ(ReceiveLike(*client, AddVar("late", "Path")), AddVar("late", "Path"));
  client->Send("Ok    ");
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send("Send  ");
  // The type is saved as the thread announces the variable, after the snapshot.
  EXPECT_EQ(ReceiveLike(*client, Content({})), Content({}));
  child.Send('m');
  EXPECT_EQ(client->Receive(6), "NewAvl");
  client->Send("Send  ");
  const std::string typeEntry =
      kTag + QXWireInt(1) + QXWireText("Seq_late") + QXWireInt(1) + QXWireText("Path");
  EXPECT_EQ(ReceiveLike(*client, typeEntry), typeEntry);
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

TEST_F(QXLiveUpdateTest, MalformedNameListsDropTheClientAndTheNextIsServed) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXDataContainer data = QXLiveDataObject();
    data.Save(1.0, "x");
    QXLiveSynchronize();
    if (parent.Wait() != 'q') return 2;
    const std::vector<std::string> expected = {
        "QXLiveUpdateStorage::Synchronize: Failed (3)",
        "QXLiveUpdateStorage::Synchronize: Failed (4)",
        "QXLiveUpdateStorage::Synchronize: Failed (5)",
    };
    return QXErrorListSnapshot() == expected ? 0 : 3;
  });
  for (const std::string& question : {"Add   " + QXWireInt(65536), "Add   " + QXWireInt(5) + "ab",
                                      "Add   " + QXWireInt(0) + "Se"}) {
    auto client = Greeted(ConnectTo(path.path));
    client->Send(question);
    shutdown(client->fd, SHUT_WR);
    EXPECT_TRUE(client->PeerClosed());
  }
  auto client = Greeted(ConnectTo(path.path));
  client->Send(Command("Add   ", {"x"}) + "Send  ");
  EXPECT_EQ(ReceiveLike(*client, Content({{"x", 1}})), Content({{"x", 1}}));
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

TEST_F(QXLiveUpdateTest, ATcpClientPassesThePasswordExchangeFirst) {
  const uint16_t port = QXFreePort();
  QXChild child([&](const QXParent& parent) {
    if (!QXCLivePublishRemote(port, "who", "me")) return 1;
    QXLiveSynchronize();
    return parent.Wait() == 'q' ? 0 : 2;
  });
  auto client = ConnectWith([&] { return QXRawPeer::ConnectToPort(port); });
  EXPECT_EQ(client->Receive(7), QXWireText("who"));
  client->Send(QXWireText("me"));
  EXPECT_EQ(client->Receive(4), QXWireInt(1));
  client = Greeted(std::move(client));
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

// --- Ending -----------------------------------------------------------------------

TEST_F(QXLiveUpdateTest, TheProcessEndsPromptlyWithAConnectedClient) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    parent.Signal(QXLiveCurrentlyConnected() ? 'y' : 'n');
    return parent.Wait() == 'q' ? 0 : 2;
  });
  EXPECT_EQ(child.Receive(), 'n');
  auto client = ConnectTo(path.path);
  client->Send("Hello ");
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
  EXPECT_TRUE(client->PeerClosed());
}

TEST_F(QXLiveUpdateTest, TheProcessEndsPromptlyWhenTheClientStoppedReading) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXDataContainer data = QXLiveDataObject();
    data.Save(QXMutableDoubleArray(1000, 1000, 4) = 1.0, "big");
    QXLiveSynchronize();
    return parent.Wait() == 'q' ? 0 : 2;
  });
  auto client = Greeted(ConnectTo(path.path));
  client->Send(Command("Add   ", {"big"}) + "Send  ");
  EXPECT_EQ(client->Receive(kTag.size()), kTag);
  child.Send('q');
  EXPECT_EQ(child.Finish(), 0);
}

TEST_F(QXLiveUpdateTest, FiveHundredReconnectsLeaveNoDescriptorOpen) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXLiveSynchronize();
    const int before = QXOpenDescriptors();
    parent.Signal('r');
    if (parent.Wait() != 'd') return 2;
    // The thread drops the last client when it notices it left.
    const auto deadline = Clock::now() + milliseconds(2000);
    while (QXOpenDescriptors() != before && Clock::now() < deadline)
      std::this_thread::sleep_for(milliseconds(10));
    return QXOpenDescriptors() == before ? 0 : 3;
  });
  EXPECT_EQ(child.Receive(), 'r');
  for (int i = 0; i < 500; i++) {
    auto client = ConnectTo(path.path);
    client->Send("Hello ");
    ASSERT_EQ(client->Receive(6), "NewAvl") << i;
  }
  child.Send('d');
  EXPECT_EQ(child.Finish(milliseconds(4000)), 0);
}

// The program saves, declares and synchronizes as fast as it can while a
// client keeps asking; run under ThreadSanitizer this checks the locking.
TEST_F(QXLiveUpdateTest, SavingWhileAClientAsksStaysConsistent) {
  QXChild child([&](const QXParent& parent) {
    if (!QXLivePublish(path.path)) return 1;
    QXLiveAddVariable("v", "Array");
    QXDataContainer data = QXLiveDataObject();
    QXMutableDoubleArray v(1000, 1, 1);
    parent.Signal('r');
    const auto end = Clock::now() + milliseconds(500);
    for (int round = 0; Clock::now() < end; round++) {
      v = static_cast<double>(round);
      data.Save(v, "v");
      data.Save(std::to_string(round), "round");
      if (round % 50 == 0) QXLiveAddVariable("w" + std::to_string(round), "Number");
      QXLiveCurrentlySendingOver("v");
      QXLiveSynchronize();
    }
    return 0;
  });
  EXPECT_EQ(child.Receive(), 'r');
  QXDataContainer client;
  client.SetTimeout(2000);
  ASSERT_TRUE(client.ConnectToServerSocket(path.path));
  client.WriteToStream("Hello ", 6);
  int contents = 0;
  char message[6];
  while (client.ReadFromStream(message, 6) == 6) {
    if (std::string(message, 6) == "AddVar") {
      // A count of one, then the name and the type as texts.
      int32_t length = 0;
      client.ReadFromStream(&length, sizeof length);
      for (int text = 0; text < 2; text++) {
        client.ReadFromStream(&length, sizeof length);
        std::string bytes(static_cast<size_t>(length), '\0');
        client.ReadFromStream(&bytes[0], bytes.size());
      }
      client.WriteToStream("Ok    ", 6);
      continue;
    }
    const std::string ask = Command("Add   ", {"v", "round"}) + "Send  ";
    if (!client.WriteToStream(ask.data(), ask.size()) || !client.ReadFromSocket()) break;
    contents++;
    const QXDoubleArray v = client.ReadDoubleArray("v");
    ASSERT_EQ(v.Length(), 1000);
    EXPECT_EQ(v(0), v(999));
  }
  EXPECT_GT(contents, 0);
  EXPECT_EQ(child.Finish(), 0);
}

}  // namespace
