// What the socket fuzz targets share: the input is what a peer sends, handed
// to one end of a socketpair whose other end the container reads.
#ifndef QXSOCKETFUZZ_H
#define QXSOCKETFUZZ_H

#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "QXDataContainer.h"
#include "QXError.h"

// A container connected to a peer that has sent the bytes and closed its
// sending side. The pair's buffer holds every input libFuzzer is allowed to
// give (-max_len=65536); a longer one is cut where the buffer is full.
class QXFuzzPeer {
 public:
  QXFuzzPeer(const uint8_t* data, size_t size) {
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return;
    peer = pair[1];
    const int room = 1 << 20;
    setsockopt(peer, SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
    if (size > 0) (void)!send(peer, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    shutdown(peer, SHUT_WR);
    connection.SetTimeout(1000);
    connection.UseConnection(pair[0]);
  }
  ~QXFuzzPeer() {
    if (peer >= 0) close(peer);
    // Reports pile up in the process-wide list otherwise.
    QXClearErrorList();
  }
  bool Ready() const { return peer >= 0; }

  QXDataContainer connection;

 private:
  int peer = -1;
};

#endif
