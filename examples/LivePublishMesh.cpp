// Publishes a changing 2D mesh with live update: a temperature field on a
// regular 40 x 30 grid that a wave crosses, saved with its grid and
// synchronized ten times a second.
//
//   LivePublishMesh [socket path] [steps]      (default /tmp/QXLiveMesh, 200)
//
// Watch it with LiveWatchClient on the same path. The mesh is saved as any
// storage holds it: the values under "temperature" and the grid's placement
// under "temperature_loc".
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "QXLiveUpdate.h"
#include "QXMesh2D.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "/tmp/QXLiveMesh";
  const int steps = argc > 2 ? std::atoi(argv[2]) : 200;
  if (!QXLivePublish(path)) return 1;
  QXLiveAddVariable("temperature", "Mesh2D");
  QXDataContainer data = QXLiveDataObject();
  const int m = 40;
  const int n = 30;
  const double spacing = 0.25;
  const QXMesh2DGrid grid(QXPoint2D(-5, -3.75), spacing, spacing, m, n);
  QXMutableDoubleArray field(m, n, 1);
  for (int step = 0; step < steps; step++) {
    const double t = 0.1 * step;
    // Nobody watching: nothing worth computing.
    if (step == 0 || QXLiveCurrentlySendingOver("temperature")) {
      for (int j = 0; j < n; j++)
        for (int i = 0; i < m; i++)
          field(i, j) = 20.0 + 5.0 * std::sin(spacing * i - t) * std::cos(0.5 * spacing * j);
      WriteToFile(data, "temperature", QXMesh2D(field, grid));
      data.Save(t, "time");
    }
    QXLiveSynchronize();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::printf("published %d steps on %s\n", steps, path.c_str());
  return 0;
}
