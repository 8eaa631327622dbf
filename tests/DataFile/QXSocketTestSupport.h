// Raw peers for the socket tests: a client that connects by path or to a
// local TCP port and moves bytes with a timeout, the bytes of the wire
// format built by hand, a free port, the count of open descriptors, and a
// call run on a thread that the test waits for with a timeout.
#ifndef QXSOCKETTESTSUPPORT_H
#define QXSOCKETTESTSUPPORT_H

#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "QXTestSupport.h"

// A socket the test drives byte by byte. Every receive waits at most two
// seconds.
class QXRawPeer {
 public:
  QXRawPeer() = default;
  explicit QXRawPeer(int socket) : fd(socket) {}
  QXRawPeer(const QXRawPeer&) = delete;
  QXRawPeer& operator=(const QXRawPeer&) = delete;
  ~QXRawPeer() { Close(); }

  static int ConnectToPath(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return Connect(address);
  }
  static int ConnectToPort(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return Connect(address);
  }
  // A connected socket to the address, or -1.
  template <class Address>
  static int Connect(const Address& address) {
    const int s = socket(reinterpret_cast<const sockaddr&>(address).sa_family, SOCK_STREAM, 0);
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return s;
    close(s);
    return -1;
  }

  bool Connected() const { return fd >= 0; }
  void Close() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  bool Send(const std::string& bytes) const {
    return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
  }
  // Up to count bytes; fewer when the peer closed or the time passed.
  std::string Receive(size_t count,
                      std::chrono::milliseconds within = std::chrono::milliseconds(2000)) const {
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd ready{fd, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[65536];
      const ssize_t got = recv(fd, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
      if (got <= 0) break;
      bytes.append(buffer, static_cast<size_t>(got));
    }
    return bytes;
  }
  // True when the peer closed the connection within two seconds.
  bool PeerClosed() const {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, 2000) <= 0) return false;
    char byte;
    return recv(fd, &byte, 1, MSG_DONTWAIT) <= 0;
  }

  int fd = -1;
};

// The wire bytes of 32-bit integers and texts in the machine's order.
inline std::string QXWireInt(int32_t value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}
inline std::string QXWireText(const std::string& text) {
  return QXWireInt(static_cast<int32_t>(text.size())) + text;
}
template <class T>
std::string QXWireElements(std::initializer_list<T> values) {
  std::string bytes;
  for (T value : values) bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  return bytes;
}

// A TCP port that was free a moment ago on every local address.
inline uint16_t QXFreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

// The number of descriptors this process has open.
inline int QXOpenDescriptors() {
  int count = 0;
  DIR* folder = opendir("/proc/self/fd");
  while (dirent* item = readdir(folder))
    if (item->d_name[0] != '.') count++;
  closedir(folder);
  return count;
}

// A call that runs on its own thread; Wait() gives its result, or false when
// it did not end within the time. The destructor runs release() first when
// the call is still running, so nothing is left blocked.
class QXBackgroundCall {
 public:
  QXBackgroundCall(std::function<bool()> call, std::function<void()> release)
      : release(std::move(release)) {
    std::packaged_task<bool()> task(std::move(call));
    result = task.get_future();
    thread = std::thread(std::move(task));
  }
  ~QXBackgroundCall() {
    if (result.valid() && result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
      release();
    thread.join();
  }
  bool Finished(std::chrono::milliseconds within = std::chrono::milliseconds(3000)) {
    return result.wait_for(within) == std::future_status::ready;
  }
  bool Wait(std::chrono::milliseconds within = std::chrono::milliseconds(3000)) {
    if (!Finished(within)) return false;
    return result.get();
  }

 private:
  std::function<void()> release;
  std::future<bool> result;
  std::thread thread;
};

// A socket path in /tmp, unique in this process; removed with the object.
struct QXSocketPath : QXTempPath {
  QXSocketPath() : QXTempPath("socket", ".sock") {}
};

#endif
