#include "QXDataContainer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "QXConversionTemplatesInternal.h"
#include "QXDataContainerInternal.h"
#include "QXError.h"
#include "QXNumberText.h"
#include "QXStorageInternal.h"
#include "QXStorageListingInternal.h"

namespace {

const char kTag[] = "QXDataContainerStart";
constexpr size_t kTagSize = sizeof kTag - 1;
static_assert(kTagSize == 20, "the content message starts with 20 bytes");
const char kTerminate[] = "Terminate";

// A socket path fills sun_path with its zero byte; 104 is the smallest room
// any system gives it.
constexpr size_t kMaxSocketPath = 103;
constexpr int kMaxNameLength = 65535;
constexpr int32_t kMaxAnswerLength = 10000;
// A message's small parts are gathered into writes of about this size.
constexpr size_t kGatheredBytes = size_t{64} << 10;
// A reader trusts a claimed size up to this; beyond, it takes the bytes in
// steps, each at most what has arrived so far.
constexpr size_t kReadChunk = size_t{64} << 20;

const char* const kRegister = "QXDataContainer::RegisterSocket";
const char* const kConnect = "QXDataContainer::ConnectToServerSocket";
const char* const kWrite = "QXDataContainer::WriteIntoSocket";
const char* const kRead = "QXDataContainer::ReadFromSocket";

template <class T>
constexpr int kTypeCode = QXContainerDouble;
template <>
constexpr int kTypeCode<float> = QXContainerFloat;
template <>
constexpr int kTypeCode<int> = QXContainerInt;
template <>
constexpr int kTypeCode<short> = QXContainerShortInt;
template <>
constexpr int kTypeCode<unsigned short> = QXContainerUShortInt;
template <>
constexpr int kTypeCode<signed char> = QXContainerChar;
template <>
constexpr int kTypeCode<unsigned char> = QXContainerUChar;

// The entry's member for the element type T.
template <class T>
QXArray<T>& Member(QXDataContainerEntry& e) {
  if constexpr (std::is_same_v<T, double>) return e.dArray;
  if constexpr (std::is_same_v<T, float>) return e.fArray;
  if constexpr (std::is_same_v<T, int>) return e.iArray;
  if constexpr (std::is_same_v<T, short>) return e.sArray;
  if constexpr (std::is_same_v<T, unsigned short>) return e.usArray;
  if constexpr (std::is_same_v<T, signed char>) return e.cArray;
  if constexpr (std::is_same_v<T, unsigned char>) return e.ucArray;
}
template <class T>
const QXArray<T>& Member(const QXDataContainerEntry& e) {
  return Member<T>(const_cast<QXDataContainerEntry&>(e));
}

// Calls visit with a value of the element type of an array type code; false
// for a code that holds no array.
template <class Visitor>
bool VisitArrayType(int type, Visitor&& visit) {
  switch (type) {
    case QXContainerDouble:
      visit(double());
      return true;
    case QXContainerFloat:
      visit(float());
      return true;
    case QXContainerInt:
      visit(int());
      return true;
    case QXContainerShortInt:
      visit(short());
      return true;
    case QXContainerUShortInt:
      visit(static_cast<unsigned short>(0));
      return true;
    case QXContainerChar:
      visit(static_cast<signed char>(0));
      return true;
    case QXContainerUChar:
      visit(static_cast<unsigned char>(0));
      return true;
    default:
      return false;
  }
}

const char* Label(int type) {
  static const char* const labels[] = {" - ?????? - ", " - string - ", " - double - ",
                                       " -  float - ", " -    int - ", " -  short - ",
                                       " - UShort - ", " -   char - ", " -  UChar - "};
  return type >= 0 && type <= QXContainerUChar ? labels[type] : labels[0];
}

template <class T>
const std::string& ReadOperation() {
  static const std::string name =
      "QXDataContainer::Read" + std::string(QXArrayTraits<T>::name).substr(2) + "(name)";
  return name;
}

std::string NotFound(const std::string& name) {
  return "Did not find the variable \"" + QXEscapeControlCharacters(name) + "\".";
}

void AppendInt(std::vector<unsigned char>& bytes, int32_t value) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(&value);
  bytes.insert(bytes.end(), p, p + sizeof value);
}

bool ValidSocketName(const std::string& name, const char* operation) {
  if (name.size() > kMaxSocketPath) {
    QXErrorMessage(operation, "Invalid socket name (too long)");
    return false;
  }
  if (name.empty() || name.find('\0') != std::string::npos) {
    QXErrorMessage(operation, "Invalid socket name");
    return false;
  }
  return true;
}

sockaddr_un SocketAddress(const std::string& name) {
  sockaddr_un address;
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, name.data(), name.size());
  return address;
}

// Equal texts, in a time that does not depend on where they differ.
bool SameSecret(const std::string& given, const std::string& required) {
  unsigned char difference = given.size() == required.size() ? 0 : 1;
  for (size_t i = 0; i < required.size(); i++) {
    const unsigned char g = i < given.size() ? static_cast<unsigned char>(given[i]) : 0;
    difference =
        static_cast<unsigned char>(difference | (g ^ static_cast<unsigned char>(required[i])));
  }
  return difference == 0;
}

void CloseSocket(int socket) {
  if (socket < 0) return;
  shutdown(socket, SHUT_RDWR);
  close(socket);
}

}  // namespace

// --- Sockets ------------------------------------------------------------------

bool QXSendAll(int socket, const void* bytes, size_t count) {
  const char* next = static_cast<const char*>(bytes);
  while (count > 0) {
    const ssize_t sent = send(socket, next, count, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    next += sent;
    count -= static_cast<size_t>(sent);
  }
  return true;
}

size_t QXReceiveAll(int socket, void* bytes, size_t count) {
  char* next = static_cast<char*>(bytes);
  size_t received = 0;
  while (received < count) {
    const ssize_t got = recv(socket, next + received, count - received, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received += static_cast<size_t>(got);
  }
  return received;
}

void QXSetSocketTimeouts(int socket, int milliseconds) {
  timeval timeout;
  timeout.tv_sec = milliseconds / 1000;
  timeout.tv_usec = (milliseconds % 1000) * 1000;
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

QXDataContainerStorage::~QXDataContainerStorage() {
  for (int socket : shutDownSockets) close(socket);
  CloseSocket(communicationSocket);
  CloseSocket(pendingSocket);
  if (sockfd >= 0) close(sockfd);
  if (createdSocket) unlink(socketName.c_str());
}

// --- Entries ------------------------------------------------------------------

int QXDataContainerEntry::m() const {
  int value = 0;
  VisitArrayType(type, [&](auto element) { value = Member<decltype(element)>(*this).m(); });
  return value;
}
int QXDataContainerEntry::n() const {
  int value = 0;
  VisitArrayType(type, [&](auto element) { value = Member<decltype(element)>(*this).n(); });
  return value;
}
int QXDataContainerEntry::o() const {
  int value = 0;
  VisitArrayType(type, [&](auto element) { value = Member<decltype(element)>(*this).o(); });
  return value;
}

bool QXDataContainerEntry::operator==(const QXDataContainerEntry& other) const {
  if (type != other.type) return false;
  if (type == QXContainerString) return sEntry == other.sEntry;
  bool same = true;
  VisitArrayType(type, [&](auto element) {
    using T = decltype(element);
    same = Member<T>(*this) == Member<T>(other);
  });
  return same;
}

// --- Handles ------------------------------------------------------------------

QXDataContainer::QXDataContainer() : content(new QXDataContainerStorage) {}

QXDataContainer::QXDataContainer(const QXDataContainer& other)
    : QXDataStorage(other), content(QXShareContent(other.content)) {}

QXDataContainer& QXDataContainer::operator=(const QXDataContainer& other) {
  QXReassignContent(content, other.content);
  return *this;
}

QXDataContainer::~QXDataContainer() { QXReleaseContent(content); }

QXMutablePointer<QXDataStorage> QXDataContainer::AsPointer() {
  return QXMutablePointer<QXDataStorage>(new QXDataContainer(*this));
}

QXList<std::string> QXDataContainer::AllVariableNames() const {
  QXLockGuard guard(content->accessLock);
  QXMutableList<std::string> names(static_cast<int>(content->content.size()));
  int i = 0;
  for (const auto& item : content->content) names(i++) = item.first;
  return names;
}

bool QXDataContainer::Contains(std::string name) const {
  return FindVariable(name).type != QXContainerNotFound;
}

bool QXDataContainer::IsReadOnly() const { return false; }

// --- Saving -------------------------------------------------------------------

namespace {

// Names travel with a 16-bit bound and at least one byte; a name that could
// not travel is refused when it is saved.
bool SavableName(const std::string& name) {
  if (name.empty()) {
    QXErrorMessage("QXDataContainer::Save", "The name is empty.");
    return false;
  }
  if (name.size() > static_cast<size_t>(kMaxNameLength)) {
    QXErrorMessage("QXDataContainer::Save", "The name is longer than 65535 characters.");
    return false;
  }
  return true;
}

}  // namespace

template <class T>
void QXDataContainer::SaveArray(const QXArray<T>& A, const std::string& name) {
  if (!SavableName(name)) return;
  QXDataContainerEntry entry;
  entry.type = kTypeCode<T>;
  // The copy is made before the lock is taken, so a large save does not
  // hold up a thread that reads the entries.
  Member<T>(entry) = A.Copy();
  QXLockGuard guard(content->accessLock);
  content->content[name] = std::move(entry);
}

void QXDataContainer::Save(int v, std::string name) {
  QXMutableIntArray A(1, 1, 1);
  A(0) = v;
  SaveArray<int>(A, name);
}
void QXDataContainer::Save(double v, std::string name) {
  QXMutableDoubleArray A(1, 1, 1);
  A(0) = v;
  SaveArray<double>(A, name);
}
void QXDataContainer::Save(const QXDoubleArray& A, std::string name) { SaveArray(A, name); }
void QXDataContainer::Save(const QXFloatArray& A, std::string name) { SaveArray(A, name); }
void QXDataContainer::Save(const QXIntArray& A, std::string name) { SaveArray(A, name); }
void QXDataContainer::Save(const QXCharArray& A, std::string name) { SaveArray(A, name); }
void QXDataContainer::Save(const QXUCharArray& A, std::string name) { SaveArray(A, name); }
void QXDataContainer::Save(const QXShortIntArray& A, std::string name) { SaveArray(A, name); }
void QXDataContainer::Save(const QXUShortIntArray& A, std::string name) { SaveArray(A, name); }

void QXDataContainer::Save(std::string theString, std::string name) {
  if (!SavableName(name)) return;
  QXDataContainerEntry entry;
  entry.type = QXContainerString;
  entry.sEntry = std::move(theString);
  QXLockGuard guard(content->accessLock);
  content->content[name] = std::move(entry);
}

bool QXDataContainer::SavedAsDouble(std::string name) const {
  return FindVariable(name).type == QXContainerDouble;
}
bool QXDataContainer::SavedAsString(std::string name) const {
  return FindVariable(name).type == QXContainerString;
}

void QXDataContainer::Flush() const {}

// --- Reading ------------------------------------------------------------------

template <class T>
QXArray<T> QXDataContainer::ReadArray(const std::string& name, bool lock) const {
  const QXDataContainerEntry entry = lock ? FindVariable(name) : FindVariableInsideLock(name);
  if (entry.type == QXContainerNotFound) {
    QXErrorMessage(ReadOperation<T>(), NotFound(name));
    return QXArray<T>();
  }
  if (entry.type == kTypeCode<T>) return Member<T>(entry);
  QXArray<T> result;
  VisitArrayType(entry.type, [&](auto element) {
    result = QXConvertedArray<T>(Member<decltype(element)>(entry));
  });
  return result;
}

QXDoubleArray QXDataContainer::ReadDoubleArray(std::string name) const {
  return ReadArray<double>(name, true);
}
QXFloatArray QXDataContainer::ReadFloatArray(std::string name) const {
  return ReadArray<float>(name, true);
}
QXIntArray QXDataContainer::ReadIntArray(std::string name) const {
  return ReadArray<int>(name, true);
}
QXCharArray QXDataContainer::ReadCharArray(std::string name) const {
  return ReadArray<signed char>(name, true);
}
QXUCharArray QXDataContainer::ReadUCharArray(std::string name) const {
  return ReadArray<unsigned char>(name, true);
}
QXShortIntArray QXDataContainer::ReadShortIntArray(std::string name) const {
  return ReadArray<short>(name, true);
}
QXUShortIntArray QXDataContainer::ReadUShortIntArray(std::string name) const {
  return ReadArray<unsigned short>(name, true);
}

double QXDataContainer::ReadNumber(std::string name) const {
  const QXDoubleArray A = ReadDoubleArray(name);
  return A.Length() == 1 ? A(0) : 0.0;
}

std::string QXDataContainer::ReadString(std::string name) const {
  QXLockGuard guard(content->accessLock);
  return ReadStringInsideLock(name);
}

QXDoubleArray QXDataContainer::ReadDoubleArrayInsideLock(const std::string& name) const {
  return ReadArray<double>(name, false);
}

double QXDataContainer::ReadNumberInsideLock(const std::string& name) const {
  const QXDoubleArray A = ReadDoubleArrayInsideLock(name);
  return A.Length() == 1 ? A(0) : 0.0;
}

std::string QXDataContainer::ReadStringInsideLock(const std::string& name) const {
  const char* operation = "QXDataContainer::ReadString(name)";
  const auto found = content->content.find(name);
  if (found == content->content.end()) {
    QXErrorMessage(operation, NotFound(name));
    return std::string();
  }
  if (found->second.type != QXContainerString) {
    QXErrorMessage(operation,
                   "The variable \"" + QXEscapeControlCharacters(name) + "\" has to be a string.");
    return std::string();
  }
  return found->second.sEntry;
}

// --- Entries ------------------------------------------------------------------

QXDataContainerEntry QXDataContainer::FindVariable(const std::string& name) const {
  QXLockGuard guard(content->accessLock);
  return FindVariableInsideLock(name);
}

QXDataContainerEntry QXDataContainer::FindVariableInsideLock(const std::string& name) const {
  const auto found = content->content.find(name);
  return found == content->content.end() ? QXDataContainerEntry() : found->second;
}

void QXDataContainer::AddEntry(const QXDataContainerEntry& entry, const std::string& name) {
  content->content[name] = entry;
}

void QXDataContainer::RemoveAllEntries() {
  QXLockGuard guard(content->accessLock);
  content->content.clear();
}

void QXDataContainer::OverwriteContentWith(const QXDataContainer& other) {
  if (other.content == content) return;
  QXLockGuard guard(content->accessLock);
  QXLockGuard otherGuard(other.content->accessLock);
  content->content = other.content->content;
}

QXDataContainerEntries::const_iterator QXDataContainer::FirstEntry() const {
  return content->content.begin();
}
QXDataContainerEntries::const_iterator QXDataContainer::LastEntry() const {
  return content->content.end();
}
const QXLock& QXDataContainer::AccessLock() const { return content->accessLock; }

// --- Listing ------------------------------------------------------------------

std::string QXDataContainer::Describe(const std::string& name,
                                      const QXDataContainerEntry& entry) const {
  const std::string line = QXListingName(name) + Label(entry.type);
  if (entry.type == QXContainerString)
    return line + QXListingText(entry.sEntry, static_cast<long long>(entry.sEntry.size()));
  std::string size;
  VisitArrayType(entry.type, [&](auto element) {
    const auto& A = Member<decltype(element)>(entry);
    size = QXListingSize(A.m(), A.n(), A.o(),
                         [&] { return QXFloat2StringShort(static_cast<double>(A.Pointer()[0])); });
  });
  return line + size;
}

void QXDataContainer::printInfo() const {
  const std::string rule(64, '-');
  std::string text = rule + "\nContent of data container\n" + rule + "\n";
  QXLockGuard guard(content->accessLock);
  const size_t count = content->content.size();
  size_t i = 0;
  for (const auto& item : content->content) {
    if (QXListingShows(i, count))
      text += Describe(item.first, item.second) + "\n";
    else if (i > 0 && QXListingShows(i - 1, count))
      text += QXListingSkipLine(count) + "\n";
    i++;
  }
  std::fwrite(text.data(), 1, text.size(), stderr);
}

// --- Server side --------------------------------------------------------------

bool QXDataContainer::RegisterSocket(const std::string& name) {
  if (!ValidSocketName(name, kRegister)) return false;
  {
    QXLockGuard guard(content->socketLock);
    if (content->sockfd >= 0) {
      QXErrorMessage(kRegister, "A socket is already registered.");
      return false;
    }
  }
  // An old socket at the path is replaced; anything else there is kept.
  struct stat existing;
  if (lstat(name.c_str(), &existing) == 0) {
    if (!S_ISSOCK(existing.st_mode)) {
      QXErrorMessage(kRegister, "The path exists and is not a socket");
      return false;
    }
    unlink(name.c_str());
  }
  const int socketNumber = socket(AF_UNIX, SOCK_STREAM, 0);
  if (socketNumber < 0) {
    QXErrorMessage(kRegister, "Failed to create socket.");
    return false;
  }
  const sockaddr_un address = SocketAddress(name);
  const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
  if (bind(socketNumber, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      listen(socketNumber, 5) != 0) {
    close(socketNumber);
    QXErrorMessage(kRegister, "Error when binding a socket");
    return false;
  }
  QXLockGuard guard(content->socketLock);
  content->sockfd = socketNumber;
  content->socketName = name;
  content->createdSocket = true;
  content->cancelAfterAccept = false;
  return true;
}

bool QXDataContainer::RegisterSocket(uint16_t port, const std::string& responseToQX,
                                     const std::string& requiredAnswer) {
  if (port == 0) {
    QXErrorMessage(kRegister, "Invalid port number 0");
    return false;
  }
  {
    QXLockGuard guard(content->socketLock);
    if (content->sockfd >= 0) {
      QXErrorMessage(kRegister, "A socket is already registered.");
      return false;
    }
  }
  const int socketNumber = socket(AF_INET, SOCK_STREAM, 0);
  if (socketNumber < 0) {
    QXErrorMessage(kRegister, "Failed to create socket.");
    return false;
  }
  const int reuse = 1;
  setsockopt(socketNumber, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  if (bind(socketNumber, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(socketNumber, 5) != 0) {
    close(socketNumber);
    QXErrorMessage(kRegister, "Error when binding a socket to a port");
    return false;
  }
  QXLockGuard guard(content->socketLock);
  content->sockfd = socketNumber;
  content->portNumber = port;
  content->registeredByPort = true;
  content->responseToQX = responseToQX;
  content->requiredAnswer = requiredAnswer;
  content->cancelAfterAccept = false;
  return true;
}

bool QXDataContainer::CheckPassword(int socket) {
  const std::string offer = content->responseToQX;
  const int32_t offerLength = static_cast<int32_t>(offer.size());
  if (!QXSendAll(socket, &offerLength, sizeof offerLength)) return false;
  if (!offer.empty() && !QXSendAll(socket, offer.data(), offer.size())) return false;
  int32_t answerLength = 0;
  if (QXReceiveAll(socket, &answerLength, sizeof answerLength) != sizeof answerLength) return false;
  if (answerLength < 0 || answerLength > kMaxAnswerLength) return false;
  std::string answer(static_cast<size_t>(answerLength), '\0');
  if (QXReceiveAll(socket, &answer[0], answer.size()) != answer.size()) return false;
  if (!SameSecret(answer, content->requiredAnswer)) {
    QXErrorMessage("QXDataContainer::WaitForClient", "Invalid Password");
    return false;
  }
  const int32_t accepted = 1;
  return QXSendAll(socket, &accepted, sizeof accepted);
}

bool QXDataContainer::WaitForClient() {
  int listener;
  bool byPort;
  {
    QXLockGuard guard(content->socketLock);
    if (content->cancelAfterAccept || content->sockfd < 0) return false;
    listener = content->sockfd;
    byPort = content->registeredByPort;
    CloseSocket(content->communicationSocket);
    content->communicationSocket = -1;
  }
  while (true) {
    content->waitingForClient = true;
    int accepted;
    do {
      accepted = accept(listener, nullptr, nullptr);
    } while (accepted < 0 && (errno == EINTR || errno == ECONNABORTED) &&
             !content->cancelAfterAccept);
    content->waitingForClient = false;
    if (accepted < 0) {
      if (!content->cancelAfterAccept)
        QXErrorMessage("QXDataContainer::WaitForClient", "Connection failed.");
      return false;
    }
    QXSetSocketTimeouts(accepted, content->timeoutMilliseconds);
    {
      QXLockGuard guard(content->socketLock);
      if (content->cancelAfterAccept) {
        CloseSocket(accepted);
        return false;
      }
      content->pendingSocket = accepted;
    }
    const bool passed = !byPort || CheckPassword(accepted);
    QXLockGuard guard(content->socketLock);
    content->pendingSocket = -1;
    if (content->cancelAfterAccept) {
      // ForceQuit shut it down and left it to be closed with the container.
      content->shutDownSockets.push_back(accepted);
      return false;
    }
    if (passed) {
      content->communicationSocket = accepted;
      return true;
    }
    CloseSocket(accepted);
  }
}

bool QXDataContainer::ClientConnected() const {
  QXLockGuard guard(content->socketLock);
  return content->communicationSocket >= 0;
}

int QXDataContainer::SocketNumber() const {
  int socket;
  {
    QXLockGuard guard(content->socketLock);
    socket = content->communicationSocket;
  }
  if (socket < 0) QXErrorMessage("QXDataContainer::SocketNumber", "No client connected.");
  return socket;
}

bool QXDataContainer::WriteIntoSocket() {
  const int socket = [this] {
    QXLockGuard guard(content->socketLock);
    return content->communicationSocket;
  }();
  if (socket < 0) return false;
  QXDataContainerEntries entries;
  {
    QXLockGuard guard(content->accessLock);
    entries = content->content;
  }
  // Headers and small data gather in one buffer that goes out when it is
  // full or before large data, which go straight from the array: a message
  // of many small entries costs a few writes, a large array no copy.
  std::vector<unsigned char> pending(kTag, kTag + kTagSize);
  AppendInt(pending, static_cast<int32_t>(entries.size()));
  bool tagSent = false;
  const auto fail = [&] {
    QXErrorMessage(kWrite, tagSent ? "Socket failed (7)" : "Socket failed (0)");
    ClientFailed();
    return false;
  };
  const auto flush = [&] {
    if (!QXSendAll(socket, pending.data(), pending.size())) return false;
    pending.clear();
    tagSent = true;
    return true;
  };
  for (const auto& item : entries) {
    const QXDataContainerEntry& entry = item.second;
    AppendInt(pending, static_cast<int32_t>(item.first.size()));
    pending.insert(pending.end(), item.first.begin(), item.first.end());
    AppendInt(pending, entry.type);
    const unsigned char* data = nullptr;
    size_t dataBytes = 0;
    if (entry.type == QXContainerString) {
      AppendInt(pending, static_cast<int32_t>(entry.sEntry.size()));
      data = reinterpret_cast<const unsigned char*>(entry.sEntry.data());
      dataBytes = entry.sEntry.size();
    } else {
      VisitArrayType(entry.type, [&](auto element) {
        const auto& A = Member<decltype(element)>(entry);
        AppendInt(pending, A.m());
        AppendInt(pending, A.n());
        AppendInt(pending, A.o());
        data = reinterpret_cast<const unsigned char*>(A.Pointer());
        dataBytes = static_cast<size_t>(A.Length()) * sizeof(element);
      });
    }
    if (dataBytes <= kGatheredBytes) {
      if (dataBytes > 0) pending.insert(pending.end(), data, data + dataBytes);
      if (pending.size() >= kGatheredBytes && !flush()) return fail();
    } else if (!flush() || !QXSendAll(socket, data, dataBytes)) {
      return fail();
    }
  }
  if (!pending.empty() && !flush()) return fail();
  return true;
}

bool QXDataContainer::TerminateCommunication() {
  return WriteToStream(kTerminate, sizeof kTerminate - 1);
}

void QXDataContainer::ClientFailed() {
  QXLockGuard guard(content->socketLock);
  CloseSocket(content->communicationSocket);
  content->communicationSocket = -1;
}

void QXDataContainer::ForceQuit() {
  QXLockGuard guard(content->socketLock);
  content->cancelAfterAccept = true;
  // Shutting the sockets down wakes a thread blocked on them; they are
  // closed with the container, so their numbers stay theirs meanwhile.
  for (int* socket : {&content->sockfd, &content->communicationSocket}) {
    if (*socket < 0) continue;
    shutdown(*socket, SHUT_RDWR);
    content->shutDownSockets.push_back(*socket);
    *socket = -1;
  }
  if (content->pendingSocket >= 0) shutdown(content->pendingSocket, SHUT_RDWR);
  if (content->createdSocket) {
    unlink(content->socketName.c_str());
    content->createdSocket = false;
  }
}

bool QXDataContainer::WaitingForClient() const { return content->waitingForClient; }
bool QXDataContainer::CurrentlyReading() const { return content->currentlyReading; }

uint16_t QXDataContainer::PortNumber() const {
  QXLockGuard guard(content->socketLock);
  return content->portNumber;
}

void QXDataContainer::SetTimeout(int milliseconds) {
  content->timeoutMilliseconds = std::max(0, milliseconds);
}

// --- Client side --------------------------------------------------------------

bool QXDataContainer::ConnectToServerSocket(const std::string& name) {
  if (!ValidSocketName(name, kConnect)) return false;
  const int socketNumber = socket(AF_UNIX, SOCK_STREAM, 0);
  if (socketNumber < 0) {
    QXErrorMessage(kConnect, "Could not create socket.");
    return false;
  }
  const sockaddr_un address = SocketAddress(name);
  const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
  int connected;
  do {
    connected = connect(socketNumber, reinterpret_cast<const sockaddr*>(&address), length);
  } while (connected != 0 && errno == EINTR);
  if (connected != 0) {
    close(socketNumber);
    QXErrorMessage(kConnect, "Error connecting.");
    return false;
  }
  if (!UseConnection(socketNumber)) return false;
  QXLockGuard guard(content->socketLock);
  if (!content->createdSocket) content->socketName = name;
  return true;
}

bool QXDataContainer::UseConnection(int socket) {
  if (socket < 0) return false;
  QXSetSocketTimeouts(socket, content->timeoutMilliseconds);
  QXLockGuard guard(content->socketLock);
  CloseSocket(content->communicationSocket);
  content->communicationSocket = socket;
  return true;
}

size_t QXDataContainer::ReadFromStream(void* buffer, size_t count) {
  const int socket = [this] {
    QXLockGuard guard(content->socketLock);
    return content->communicationSocket;
  }();
  if (socket < 0) return 0;
  content->currentlyReading = true;
  const size_t received = QXReceiveAll(socket, buffer, count);
  content->currentlyReading = false;
  return received;
}

bool QXDataContainer::WriteToStream(const void* buffer, size_t count) {
  const int socket = [this] {
    QXLockGuard guard(content->socketLock);
    return content->communicationSocket;
  }();
  return socket >= 0 && QXSendAll(socket, buffer, count);
}

bool QXDataContainer::PeerHasClosed() const {
  const int socket = [this] {
    QXLockGuard guard(content->socketLock);
    return content->communicationSocket;
  }();
  if (socket < 0) return true;
  pollfd ready{socket, POLLIN, 0};
  if (poll(&ready, 1, 0) <= 0) return false;
  char byte;
  const ssize_t peeked = recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return peeked == 0 || (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

namespace {

// Reads one 32-bit integer; false when it did not arrive whole.
bool ReceiveInt(QXDataContainer& connection, int32_t& value) {
  return connection.ReadFromStream(&value, sizeof value) == sizeof value;
}

// Reads total bytes that the peer claims to send into a buffer made by
// make(total) once they are sure to fit. A claim of up to kReadChunk is
// trusted; beyond, the first bytes are kept in blocks, each at most as large
// as what has arrived (or kReadChunk), until what is still missing is no
// more than that: memory never exceeds what the peer really sent plus one
// chunk. The blocks are arrays, so a message of the same size reuses them.
// False when the bytes do not all arrive.
template <class Make>
bool ReadClaimed(QXDataContainer& connection, size_t total, Make make) {
  constexpr size_t kLargestBlock = size_t{1} << 30;
  std::vector<QXMutableUCharArray> blocks;
  size_t received = 0;
  while (total - received > std::max(received, kReadChunk)) {
    const size_t room = std::min(std::max(received, kReadChunk), kLargestBlock);
    const size_t size = std::min(room, total - received - std::max(received, kReadChunk));
    QXMutableUCharArray block(static_cast<int>(size), 1, 1);
    if (static_cast<size_t>(block.Length()) != size ||
        connection.ReadFromStream(block.Pointer(), size) != size)
      return false;
    blocks.push_back(block);
    received += size;
  }
  unsigned char* out = make(total);
  if (out == nullptr) return false;
  size_t at = 0;
  for (const QXMutableUCharArray& block : blocks) {
    std::memcpy(out + at, block.Pointer(), static_cast<size_t>(block.Length()));
    at += static_cast<size_t>(block.Length());
  }
  blocks.clear();
  return connection.ReadFromStream(out + at, total - at) == total - at;
}

}  // namespace

template <class T>
bool QXDataContainer::ReadArrayData(int m, int n, int o, QXArray<T>& A) {
  if (m == 0 || n == 0 || o == 0) {
    A = QXArray<T>();
    return true;
  }
  // Beyond INT_MAX elements no array can hold them; the products are taken
  // in 64 bits one factor at a time, so they cannot overflow.
  const long long plane = static_cast<long long>(m) * n;
  const long long elements = plane <= INT_MAX ? plane * o : 0;
  if (plane > INT_MAX || elements > INT_MAX) {
    QXErrorMessage(kRead, "Invalid message from server.");
    return false;
  }
  QXMutableArray<T> B;
  const bool read = ReadClaimed(*this, static_cast<size_t>(elements) * sizeof(T), [&](size_t) {
    B = QXMutableArray<T>(m, n, o);
    return B.Length() == elements ? reinterpret_cast<unsigned char*>(B.Pointer()) : nullptr;
  });
  if (read) A = B;
  return read;
}

bool QXDataContainer::ReadEntry(std::string& name, QXDataContainerEntry& entry) {
  int32_t nameLength = 0;
  if (!ReceiveInt(*this, nameLength)) return false;
  if (nameLength < 1 || nameLength > kMaxNameLength) {
    QXErrorMessage(kRead, "Invalid message from server.");
    return false;
  }
  name.assign(static_cast<size_t>(nameLength), '\0');
  int32_t type = 0;
  if (ReadFromStream(&name[0], name.size()) != name.size() || !ReceiveInt(*this, type))
    return false;
  entry = QXDataContainerEntry();
  entry.type = type;
  if (type == QXContainerString) {
    int32_t length = 0;
    if (!ReceiveInt(*this, length)) return false;
    if (length < 0) {
      QXErrorMessage(kRead, "Invalid message from server.");
      return false;
    }
    return ReadClaimed(*this, static_cast<size_t>(length), [&](size_t size) {
      entry.sEntry.resize(size);
      return reinterpret_cast<unsigned char*>(&entry.sEntry[0]);
    });
  }
  int32_t size[3] = {0, 0, 0};
  const bool known = VisitArrayType(type, [&](auto) {});
  if (!known) {
    QXErrorMessage(kRead, "Invalid message from server.");
    return false;
  }
  if (ReadFromStream(size, sizeof size) != sizeof size) return false;
  if (size[0] < 0 || size[1] < 0 || size[2] < 0) {
    QXErrorMessage(kRead, "Invalid message from server.");
    return false;
  }
  bool read = false;
  VisitArrayType(type, [&](auto element) {
    read = ReadArrayData(size[0], size[1], size[2], Member<decltype(element)>(entry));
  });
  return read;
}

bool QXDataContainer::ReadFromSocket() {
  if (!ClientConnected()) {
    QXErrorMessage(kRead, "Not connected to a server.");
    return false;
  }
  char tag[kTagSize];
  if (ReadFromStream(tag, kTagSize) != kTagSize) {
    ClientFailed();
    return false;
  }
  if (std::memcmp(tag, kTag, kTagSize) != 0) {
    QXErrorMessage(kRead, "Invalid response from server.");
    ClientFailed();
    return false;
  }
  int32_t count = 0;
  if (!ReceiveInt(*this, count) || count < 0) {
    if (count < 0) QXErrorMessage(kRead, "Invalid message from server.");
    ClientFailed();
    return false;
  }
  for (int32_t i = 0; i < count; i++) {
    std::string name;
    QXDataContainerEntry entry;
    if (!ReadEntry(name, entry)) {
      ClientFailed();
      return false;
    }
    QXLockGuard guard(content->accessLock);
    content->content[name] = std::move(entry);
  }
  return true;
}
