// An in-memory storage of named variables that travels over a socket. It
// maps each name to a string or a typed array and implements the storage
// interface, so any value that saves itself into a file saves itself here.
// A server container listens on a Unix-domain socket (by path) or on a TCP
// port guarded by a password exchange, waits for one client and writes its
// whole content to it in one message; a client container connects to a
// server's socket and reads such a message into its own entries.
//
//   QXDataContainer server;                 // one thread:
//   server.RegisterSocket("/tmp/results");
//   server.Save(A, "grid");
//   if (server.WaitForClient()) server.WriteIntoSocket();
//   QXDataContainer client;                 // another process:
//   if (client.ConnectToServerSocket("/tmp/results")) client.ReadFromSocket();
//
// Copies of a container share its entries, sockets and lock; the last copy
// closes the sockets, and a server that created a named socket removes it.
// Every save copies the array, so a value changed later by its owner never
// changes what the container holds or sends. Reads convert between element
// types like the file storages do.
//
// Threads: the entries are guarded by one lock (AccessLock()), so one thread
// may save while another serves the socket. No socket I/O happens while
// that lock is held: a message is written from a snapshot of the entries and
// a message read is merged into them entry by entry. Every socket has send
// and receive timeouts (SetTimeout), so a peer that stops reading or sending
// fails the operation instead of blocking it for ever. ForceQuit, from any
// thread, releases a thread blocked waiting for a client or in a read.
//
// The peer is never trusted: a message is read in full or fails, every
// length is bounded before it is used, and the memory a reader holds for a
// value stays within three times what has really arrived plus 64 MiB, so a
// peer cannot make it allocate what the peer does not send.
//
// Wire format (integers are 32-bit, in the machine's byte order):
//   password exchange (TCP only): server sends length + text; client sends
//   length (0 to 10000) + answer; server sends the integer 1 when it matches.
//   content message: "QXDataContainerStart", entry count, then per entry in
//   name order: name length, name, type code, and for a string its length
//   and bytes, for an array m, n, o and the elements in column-major order.
#ifndef QXDATACONTAINER_H
#define QXDATACONTAINER_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "QXDataStorage.h"
#include "QXLock.h"

// The container's type codes. They are part of the wire format.
enum QXDataContainerType {
  QXContainerNotFound = 0,
  QXContainerString = 1,
  QXContainerDouble = 2,
  QXContainerFloat = 3,
  QXContainerInt = 4,
  QXContainerShortInt = 5,
  QXContainerUShortInt = 6,
  QXContainerChar = 7,
  QXContainerUChar = 8
};

// One variable: a type code and the member of that type. A default entry
// (type 0) stands for a name that was not found.
struct QXDataContainerEntry {
  int type = QXContainerNotFound;
  std::string sEntry;
  QXDoubleArray dArray;
  QXFloatArray fArray;
  QXIntArray iArray;
  QXShortIntArray sArray;
  QXUShortIntArray usArray;
  QXCharArray cArray;
  QXUCharArray ucArray;

  // The dimensions of the array of the entry's type; 0 for a string or type 0.
  int m() const;
  int n() const;
  int o() const;
  // Equal when the types agree and so do their members (arrays by dimensions
  // and bytes, strings by text).
  bool operator==(const QXDataContainerEntry& other) const;
  bool operator!=(const QXDataContainerEntry& other) const { return !(*this == other); }
};

using QXDataContainerEntries = std::map<std::string, QXDataContainerEntry>;
struct QXDataContainerStorage;

class QXDataContainer : public QXDataStorage {
 public:
  // A new, empty container without sockets.
  QXDataContainer();
  // Copies share the entries, the sockets and the lock.
  QXDataContainer(const QXDataContainer& other);
  QXDataContainer& operator=(const QXDataContainer& other);

  // The storage interface, in its order.
  ~QXDataContainer() override;
  QXMutablePointer<QXDataStorage> AsPointer() override;
  // In ascending byte-wise order.
  QXList<std::string> AllVariableNames() const override;
  bool Contains(std::string name) const override;
  // Always false: a container can always be saved into.
  bool IsReadOnly() const override;

  // Each save replaces any entry of the name with a copy of the value.
  // Numbers are 1 x 1 x 1 int or double arrays. A name that could not travel
  // is refused under "QXDataContainer::Save": "The name is empty.", "The
  // name is longer than 65535 characters.".
  void Save(int v, std::string name) override;
  void Save(double v, std::string name) override;
  void Save(const QXDoubleArray& A, std::string name) override;
  void Save(const QXFloatArray& A, std::string name) override;
  void Save(const QXIntArray& A, std::string name) override;
  void Save(const QXCharArray& A, std::string name) override;
  void Save(const QXUCharArray& A, std::string name) override;
  void Save(const QXShortIntArray& A, std::string name) override;
  void Save(const QXUShortIntArray& A, std::string name) override;
  void Save(std::string theString, std::string name) override;

  bool SavedAsDouble(std::string name) const override;
  bool SavedAsString(std::string name) const override;
  // Does nothing: the entries are the medium.
  void Flush() const override;

  // The entry converted to the requested element type; an entry of that type
  // is shared, not copied. A missing name reports "Did not find the variable
  // "name"." under "QXDataContainer::ReadDoubleArray(name)" (and likewise
  // under each read's own name) and gives the empty array; a string entry
  // gives the empty array without a report.
  QXDoubleArray ReadDoubleArray(std::string name) const override;
  QXFloatArray ReadFloatArray(std::string name) const override;
  QXIntArray ReadIntArray(std::string name) const override;
  QXCharArray ReadCharArray(std::string name) const override;
  QXUCharArray ReadUCharArray(std::string name) const override;
  QXShortIntArray ReadShortIntArray(std::string name) const override;
  QXUShortIntArray ReadUShortIntArray(std::string name) const override;
  double ReadNumber(std::string name) const override;
  // Under "QXDataContainer::ReadString(name)": a missing name reports "Did
  // not find the variable "name".", another type "The variable "name" has to
  // be a string."; both give "".
  std::string ReadString(std::string name) const override;
  // The listing on standard error: a title, then one line per entry in name
  // order. Of more than 400 entries the first 390 and the last nine are
  // shown, the cut marked by a "Skipping" line.
  void printInfo() const override;

  // --- The entries, for callers that walk or copy them ------------------------
  // A copy of the entry, or a default entry (type 0) when the name is missing.
  QXDataContainerEntry FindVariable(const std::string& name) const;
  // The same for a caller that holds AccessLock().
  QXDataContainerEntry FindVariableInsideLock(const std::string& name) const;
  QXDoubleArray ReadDoubleArrayInsideLock(const std::string& name) const;
  double ReadNumberInsideLock(const std::string& name) const;
  std::string ReadStringInsideLock(const std::string& name) const;
  // Sets the entry of the name; the caller holds AccessLock().
  void AddEntry(const QXDataContainerEntry& entry, const std::string& name);
  void RemoveAllEntries();
  // Replaces every entry by the other container's (arrays shared, not
  // copied). Takes this container's lock before the other's; does nothing
  // when both are the same container.
  void OverwriteContentWith(const QXDataContainer& other);
  // The entries in name order, for a caller that holds AccessLock().
  QXDataContainerEntries::const_iterator FirstEntry() const;
  QXDataContainerEntries::const_iterator LastEntry() const;
  const QXLock& AccessLock() const;

  // --- Server side ------------------------------------------------------------
  // Listens on a Unix-domain socket at the path. Reports under
  // "QXDataContainer::RegisterSocket" and returns false for a path of 104
  // bytes or more ("Invalid socket name (too long)"), an empty one or one
  // with a zero byte ("Invalid socket name"), a path held by something that
  // is not a socket ("The path exists and is not a socket"), a container
  // that already has a socket ("A socket is already registered."), and
  // failures to create ("Failed to create socket.") or bind ("Error when
  // binding a socket") it. An old socket at the path is replaced.
  bool RegisterSocket(const std::string& name);
  // Listens on the TCP port, every local address; each client must pass the
  // password exchange: it receives responseToQX and must answer
  // requiredAnswer. Port 0 is refused ("Invalid port number 0"); a failed
  // bind reports "Error when binding a socket to a port".
  bool RegisterSocket(uint16_t port, const std::string& responseToQX,
                      const std::string& requiredAnswer);
  // Blocks until a client is connected (for TCP: has passed the password
  // exchange), closing the previous connection first. A TCP client that
  // fails the exchange is dropped, with "Invalid Password" when it answered
  // wrongly, and the next one is awaited. False after ForceQuit, without a
  // registered socket, or when accepting fails ("Connection failed.").
  bool WaitForClient();
  bool ClientConnected() const;
  // The connected socket, or -1 with the report "No client connected.".
  int SocketNumber() const;
  // Sends every entry to the client in one content message, small parts
  // gathered into few writes and large arrays written straight from their
  // memory. A write that fails reports "Socket failed (0)" (the first one,
  // with the tag and the count) or "Socket failed (7)" (a later one), drops
  // the client and returns false.
  bool WriteIntoSocket();
  // Writes "Terminate" to the client; false when it could not.
  bool TerminateCommunication();
  // Shuts the connection down and closes it. Called by the thread that uses
  // the connection; another thread ends it with ForceQuit.
  void ClientFailed();
  // Ends serving for good, from any thread: a thread blocked in WaitForClient
  // (or in a client's password exchange), in a read or in a write returns
  // false, both sockets are shut down, and a named socket this container
  // created is removed.
  void ForceQuit();
  bool WaitingForClient() const;
  bool CurrentlyReading() const;
  // The port given to RegisterSocket, or 0.
  uint16_t PortNumber() const;

  // --- Client side ------------------------------------------------------------
  // Connects to a server's Unix-domain socket. Reports under
  // "QXDataContainer::ConnectToServerSocket": "Invalid socket name (too
  // long)", "Invalid socket name", "Could not create socket.", "Error
  // connecting.".
  bool ConnectToServerSocket(const std::string& name);
  // Takes over a socket connected by the caller (a socketpair end, or a TCP
  // connection after its password exchange); the container closes it.
  bool UseConnection(int socket);
  // Reads one content message and sets each entry it brings; other entries
  // stay. False, keeping the entries read so far and dropping the
  // connection, when the message is cut short, malformed ("Invalid response
  // from server." for a wrong tag, "Invalid message from server." for a bad
  // length, type code or an array too large to hold), or when there is no
  // connection ("Not connected to a server.").
  bool ReadFromSocket();

  // --- The connection ---------------------------------------------------------
  // Reads count bytes; fewer only when the peer closed, failed or timed out.
  size_t ReadFromStream(void* buffer, size_t count);
  // Writes count bytes in full; false when the connection failed.
  bool WriteToStream(const void* buffer, size_t count);
  // True when the peer has closed the connection (or it failed), without
  // waiting and without taking any byte that is waiting to be read.
  bool PeerHasClosed() const;
  // The send and receive timeout of the connections made from now on, in
  // milliseconds (10000 at first; 0 waits for ever).
  void SetTimeout(int milliseconds);

 private:
  template <class T>
  void SaveArray(const QXArray<T>& A, const std::string& name);
  template <class T>
  QXArray<T> ReadArray(const std::string& name, bool lock) const;
  // The password exchange with a newly accepted TCP client.
  bool CheckPassword(int socket);
  // Reads one entry of a content message into entry; false on any fault.
  bool ReadEntry(std::string& name, QXDataContainerEntry& entry);
  template <class T>
  bool ReadArrayData(int m, int n, int o, QXArray<T>& A);
  std::string Describe(const std::string& name, const QXDataContainerEntry& entry) const;

  QXDataContainerStorage* content;
};

#endif
