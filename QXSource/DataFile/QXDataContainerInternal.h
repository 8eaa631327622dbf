// The content shared by every copy of one QXDataContainer, and the socket
// helpers that the container and live update share. Only the library
// includes this header.
#ifndef QXDATACONTAINERINTERNAL_H
#define QXDATACONTAINERINTERNAL_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "QXDataContainer.h"
#include "QXLock.h"

struct QXDataContainerStorage {
  QXDataContainerStorage() = default;
  QXDataContainerStorage(const QXDataContainerStorage&) = delete;
  QXDataContainerStorage& operator=(const QXDataContainerStorage&) = delete;
  // Closes every socket; removes a named socket this container created.
  ~QXDataContainerStorage();

  std::atomic<int> referenceCount{1};

  // Guards the descriptors and the socket's name and port. Held only for
  // moments, never across a blocking call.
  QXLock socketLock;
  // The listening socket; -1 when there is none.
  int sockfd = -1;
  // The connected socket; -1 when there is none.
  int communicationSocket = -1;
  // A TCP client in its password exchange, not yet connected; -1 when none.
  int pendingSocket = -1;
  // Sockets that ForceQuit shut down while another thread may still use
  // them; closed with the container, so that their numbers are not reused
  // under that thread.
  std::vector<int> shutDownSockets;
  // Set when this container created the named socket at socketName.
  bool createdSocket = false;
  std::string socketName;
  std::string responseToQX;
  std::string requiredAnswer;
  uint16_t portNumber = 0;
  bool registeredByPort = false;

  std::atomic<bool> waitingForClient{false};
  std::atomic<bool> cancelAfterAccept{false};
  std::atomic<bool> currentlyReading{false};
  std::atomic<int> timeoutMilliseconds{10000};

  // Guards content.
  QXLock accessLock;
  QXDataContainerEntries content;
};

// Writes count bytes in full, looping over short writes and interruptions;
// never raises SIGPIPE. False when the connection failed or timed out.
bool QXSendAll(int socket, const void* bytes, size_t count);
// Reads up to count bytes, looping until all arrived, the peer closed, or
// the connection failed or timed out; gives the number read.
size_t QXReceiveAll(int socket, void* bytes, size_t count);
// Sets the socket's send and receive timeouts (0: none).
void QXSetSocketTimeouts(int socket, int milliseconds);

#endif
