// A small live-update client: connects to a publishing program's socket,
// asks for every variable it announces, and prints each update it receives.
//
//   LiveWatchClient [socket path] [updates]    (default /tmp/QXLiveMesh, 20)
//
// It speaks the protocol of QXLiveUpdate.h: a greeting, an answer to each
// "AddVar", and on each "NewAvl" the names to add and "Send  ", after which
// a content message arrives that ReadFromSocket takes in.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QXDataContainer.h"

namespace {

bool ReadText(QXDataContainer& server, std::string& text) {
  int32_t length = 0;
  if (server.ReadFromStream(&length, sizeof length) != sizeof length || length < 0 ||
      length > 65535)
    return false;
  text.assign(static_cast<size_t>(length), '\0');
  return server.ReadFromStream(&text[0], text.size()) == text.size();
}

// The "Add   " command with the names, its list ended by a zero length.
std::string AddCommand(const std::vector<std::string>& names) {
  std::string command = "Add   ";
  for (const std::string& name : names) {
    const int32_t length = static_cast<int32_t>(name.size());
    command.append(reinterpret_cast<const char*>(&length), sizeof length);
    command += name;
  }
  const int32_t end = 0;
  command.append(reinterpret_cast<const char*>(&end), sizeof end);
  return command;
}

void PrintUpdate(const QXDataContainer& received, int update) {
  std::printf("update %d", update);
  if (received.Contains("time")) std::printf(" at t = %g", received.ReadNumber("time"));
  std::printf("\n");
  const QXList<std::string> names = received.AllVariableNames();
  for (int i = 0; i < names.Length(); i++) {
    const QXDoubleArray A = received.ReadDoubleArray(names(i));
    if (A.Length() < 2) continue;
    double low = A(0);
    double high = A(0);
    for (int k = 1; k < A.Length(); k++) {
      low = A(k) < low ? A(k) : low;
      high = A(k) > high ? A(k) : high;
    }
    std::printf("  %s: %d x %d, values from %g to %g\n", names(i).c_str(), A.m(), A.n(), low, high);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "/tmp/QXLiveMesh";
  const int updates = argc > 2 ? std::atoi(argv[2]) : 20;
  QXDataContainer server;
  server.SetTimeout(0);  // updates may be far apart
  if (!server.ConnectToServerSocket(path)) return 1;
  server.WriteToStream("Hello ", 6);
  std::vector<std::string> announced;
  std::vector<std::string> toAsk;
  for (int update = 1; update <= updates;) {
    char message[6];
    if (server.ReadFromStream(message, 6) != 6) break;
    const std::string kind(message, 6);
    if (kind == "AddVar") {
      int32_t version = 0;
      std::string name;
      std::string type;
      if (server.ReadFromStream(&version, sizeof version) != sizeof version ||
          !ReadText(server, name) || !ReadText(server, type))
        break;
      std::printf("variable %s of type %s\n", name.c_str(), type.c_str());
      // A mesh comes with its grid.
      for (const char* suffix : {"", "_origin_x", "_origin_y", "_spacing"})
        toAsk.push_back(name + suffix);
      toAsk.push_back("time");
      server.WriteToStream("Ok    ", 6);
    } else if (kind == "NewAvl") {
      std::string question = toAsk.empty() ? "" : AddCommand(toAsk);
      toAsk.clear();
      question += "Send  ";
      if (!server.WriteToStream(question.data(), question.size()) || !server.ReadFromSocket())
        break;
      PrintUpdate(server, update++);
    } else {
      break;
    }
  }
  return 0;
}
