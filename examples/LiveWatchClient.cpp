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
#include "QXMesh2D.h"

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

// The time and every announced mesh, read back as a mesh.
void PrintUpdate(const QXDataContainer& received, const std::vector<std::string>& meshes,
                 int update) {
  std::printf("update %d", update);
  if (received.Contains("time")) std::printf(" at t = %g", received.ReadNumber("time"));
  std::printf("\n");
  for (const std::string& name : meshes) {
    if (!received.Contains(name)) continue;
    QXMesh2D mesh;
    ReadFromFile(received, name, mesh);
    const QXRegion1D range = ValueRange(mesh);
    const QXMesh2DGrid grid = mesh.Grid();
    std::printf("  %s: %d x %d points from (%g, %g), steps %g and %g; values from %g to %g\n",
                name.c_str(), mesh.m(), mesh.n(), grid.Origin().x, grid.Origin().y, grid.dx(),
                grid.dy(), range.minV, range.maxV);
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
  std::vector<std::string> meshes;
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
      // A mesh comes with its grid's placement and its mask.
      if (type == "Mesh2D") {
        meshes.push_back(name);
        for (const char* suffix : {"", "_loc", "_dom", "_dom_dim"}) toAsk.push_back(name + suffix);
      } else {
        toAsk.push_back(name);
      }
      toAsk.push_back("time");
      server.WriteToStream("Ok    ", 6);
    } else if (kind == "NewAvl") {
      std::string question = toAsk.empty() ? "" : AddCommand(toAsk);
      toAsk.clear();
      question += "Send  ";
      if (!server.WriteToStream(question.data(), question.size()) || !server.ReadFromSocket())
        break;
      PrintUpdate(server, meshes, update++);
    } else {
      break;
    }
  }
  return 0;
}
