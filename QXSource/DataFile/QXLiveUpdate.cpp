#include "QXLiveUpdate.h"

#include <signal.h>

#include <chrono>
#include <cstring>
#include <utility>

#include "QXError.h"
#include "QXLiveUpdateC.h"
#include "QXLiveUpdateInternal.h"

namespace {

const char* const kPublish = "QXLiveUpdateStorage::Publish";
const char* const kRun = "QXLiveUpdateStorage::RunCommunication";
const char* const kQuestion = "QXLiveUpdateStorage::Synchronize";
constexpr size_t kCommandSize = 6;
constexpr int32_t kMaxNameLength = 65535;
constexpr std::chrono::milliseconds kClientPollInterval(100);

// The process-wide service. It is destroyed when the process ends, which
// ends and joins its thread.
QXLiveUpdateStorage sharedStorage;

bool ReadInt(QXDataContainer& connection, int32_t& value) {
  return connection.ReadFromStream(&value, sizeof value) == sizeof value;
}

void AppendInt(std::string& bytes, int32_t value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

// --- Requested names ----------------------------------------------------------

void QXLiveRequestedNames::Add(const std::string& name) {
  std::lock_guard<std::mutex> guard(lock);
  names.insert(name);
}
void QXLiveRequestedNames::Remove(const std::string& name) {
  std::lock_guard<std::mutex> guard(lock);
  names.erase(name);
}
bool QXLiveRequestedNames::Contains(const std::string& name) const {
  std::lock_guard<std::mutex> guard(lock);
  return names.count(name) > 0;
}
size_t QXLiveRequestedNames::Count() const {
  std::lock_guard<std::mutex> guard(lock);
  return names.size();
}

bool QXLiveReadCommands(QXDataContainer& connection, QXLiveRequestedNames& requested) {
  char command[kCommandSize];
  if (connection.ReadFromStream(command, kCommandSize) != kCommandSize) return false;
  while (command[0] != 'S') {
    while (true) {
      int32_t length = 0;
      if (!ReadInt(connection, length) || length > kMaxNameLength) {
        QXErrorMessage(kQuestion, "Failed (3)");
        return false;
      }
      if (length <= 0) break;
      std::string name(static_cast<size_t>(length), '\0');
      if (connection.ReadFromStream(&name[0], name.size()) != name.size()) {
        QXErrorMessage(kQuestion, "Failed (4)");
        return false;
      }
      if (command[0] == 'R')
        requested.Remove(name);
      else
        requested.Add(name);
    }
    if (connection.ReadFromStream(command, kCommandSize) != kCommandSize) {
      QXErrorMessage(kQuestion, "Failed (5)");
      return false;
    }
  }
  return true;
}

// --- Publishing ---------------------------------------------------------------

QXLiveUpdateStorage::~QXLiveUpdateStorage() { Shutdown(); }

template <class Register>
bool QXLiveUpdateStorage::StartPublishing(Register registerSocket) {
  // Writes into a closed connection then fail with an error instead of
  // ending the process (every write also passes MSG_NOSIGNAL).
  signal(SIGPIPE, SIG_IGN);
  std::lock_guard<std::mutex> guard(publishLock);
  if (hasPublished) {
    QXErrorMessage(kPublish, "Calling this function twice.");
    return false;
  }
  if (!registerSocket(containerToSendOver)) return false;
  shouldQuit = false;
  if (pthread_create(&communicationThread, nullptr, &QXLiveUpdateStorage::ThreadEntry, this) != 0) {
    QXErrorMessage(kPublish, "Could not start the communication thread.");
    // A fresh container: the old one closes the socket with its last copy.
    containerToSendOver = QXDataContainer();
    return false;
  }
  hasPublished = true;
  threadRunning = true;
  return true;
}

bool QXLiveUpdateStorage::Publish(const std::string& name) {
  return StartPublishing([&](QXDataContainer& server) { return server.RegisterSocket(name); });
}

bool QXLiveUpdateStorage::Publish(uint16_t port, const std::string& responseToQX,
                                  const std::string& requiredAnswer) {
  return StartPublishing([&](QXDataContainer& server) {
    return server.RegisterSocket(port, responseToQX, requiredAnswer);
  });
}

void QXLiveUpdateStorage::Shutdown() {
  std::lock_guard<std::mutex> guard(publishLock);
  if (!threadRunning) return;
  shouldQuit = true;
  RaiseWakeUp();
  containerToSendOver.ForceQuit();
  pthread_join(communicationThread, nullptr);
  threadRunning = false;
  currentlyConnected = false;
}

void QXLiveUpdateStorage::AddVariable(const std::string& name, const std::string& type) {
  if (name.empty()) {
    QXErrorMessage("QXLiveUpdateStorage::AddVariable", "The variable name is empty.");
    return;
  }
  std::lock_guard<std::mutex> guard(lockForWaitingVariables);
  variablesWaiting.emplace_back(name, type);
}

void QXLiveUpdateStorage::Synchronize() {
  {
    std::lock_guard<std::mutex> guard(latestSyncStorageLock);
    latestSyncStorage.OverwriteContentWith(containerToSave);
    syncStorageIsNewer = true;
    hasSnapshot = true;
  }
  RaiseWakeUp();
}

bool QXLiveUpdateStorage::CurrentlySendingOver(const std::string& name) const {
  return currentlyConnected && variablesToSendOver.Contains(name);
}

// --- The wake-up signal ---------------------------------------------------------

void QXLiveUpdateStorage::RaiseWakeUp() {
  {
    std::lock_guard<std::mutex> guard(wakeUpLock);
    wakeUpRaised = true;
  }
  wakeUpCondition.notify_one();
}

bool QXLiveUpdateStorage::WaitForWakeUp() {
  std::unique_lock<std::mutex> guard(wakeUpLock);
  // A client that leaves meanwhile is noticed within a poll interval, so
  // that the next one is not kept waiting until the next snapshot.
  while (!wakeUpRaised) {
    if (wakeUpCondition.wait_for(guard, kClientPollInterval) == std::cv_status::timeout &&
        !wakeUpRaised && containerToSendOver.PeerHasClosed())
      return false;
  }
  wakeUpRaised = false;
  return true;
}

void QXLiveUpdateStorage::LowerWakeUp() {
  std::lock_guard<std::mutex> guard(wakeUpLock);
  wakeUpRaised = false;
}

// --- The thread -----------------------------------------------------------------

void* QXLiveUpdateStorage::ThreadEntry(void* storage) {
  static_cast<QXLiveUpdateStorage*>(storage)->RunCommunication();
  return nullptr;
}

void QXLiveUpdateStorage::RunCommunication() {
  while (!shouldQuit) {
    currentlyConnected = false;
    if (!containerToSendOver.WaitForClient()) break;
    currentlyConnected = true;
    if (shouldQuit) break;
    ServeClient();
    // The next client receives every requested variable whole, and the
    // latest snapshot at once.
    containerToSendOver.ClientFailed();
    contentInVarnholm.RemoveAllEntries();
    bool snapshot;
    {
      std::lock_guard<std::mutex> guard(latestSyncStorageLock);
      snapshot = hasSnapshot;
      syncStorageIsNewer = snapshot;
    }
    if (snapshot) RaiseWakeUp();
  }
  currentlyConnected = false;
}

void QXLiveUpdateStorage::ServeClient() {
  char greeting[kCommandSize];
  if (containerToSendOver.ReadFromStream(greeting, kCommandSize) != kCommandSize) return;
  for (const QXLiveUpdateNameType& variable : variableList)
    if (!SendVariableDefinition(variable)) return;
  while (true) {
    if (!WaitForWakeUp() || shouldQuit) return;
    std::vector<QXLiveUpdateNameType> declared;
    {
      std::lock_guard<std::mutex> guard(lockForWaitingVariables);
      declared.swap(variablesWaiting);
    }
    // Every declaration joins the list, even when the client is dropped
    // meanwhile: the next client receives it on connecting.
    bool sent = true;
    for (QXLiveUpdateNameType& variable : declared) {
      variableList.push_back(std::move(variable));
      if (sent) sent = SendVariableDefinition(variableList.back());
    }
    if (!sent) return;
    {
      std::lock_guard<std::mutex> guard(latestSyncStorageLock);
      if (!syncStorageIsNewer) QXErrorMessage(kRun, "Unexpected.");
    }
    // A client that left is dropped quietly; one whose connection fails is reported.
    if (containerToSendOver.PeerHasClosed()) return;
    if (!containerToSendOver.WriteToStream("NewAvl", kCommandSize)) {
      QXErrorMessage(kRun, "Failed (1)");
      return;
    }
    if (!WaitForVarnholmToAskQuestion()) return;
  }
}

bool QXLiveUpdateStorage::SendVariableDefinition(const QXLiveUpdateNameType& variable) {
  containerToSave.Save(variable.type, "Seq_" + variable.name);
  std::string message = "AddVar";
  AppendInt(message, 1);
  AppendInt(message, static_cast<int32_t>(variable.name.size()));
  message += variable.name;
  AppendInt(message, static_cast<int32_t>(variable.type.size()));
  message += variable.type;
  char reply[kCommandSize];
  if (!containerToSendOver.WriteToStream(message.data(), message.size()) ||
      containerToSendOver.ReadFromStream(reply, kCommandSize) != kCommandSize) {
    QXErrorMessage(kRun, "Failed (2)");
    return false;
  }
  return true;
}

bool QXLiveUpdateStorage::WaitForVarnholmToAskQuestion() {
  if (!QXLiveReadCommands(containerToSendOver, variablesToSendOver)) return false;
  QXDataContainer snapshot;
  {
    std::lock_guard<std::mutex> guard(latestSyncStorageLock);
    syncStorageIsNewer = false;
    if (shouldQuit) return false;
    // A synchronization made before this snapshot is answered by it.
    LowerWakeUp();
    snapshot.OverwriteContentWith(latestSyncStorage);
  }
  containerToSendOver.RemoveAllEntries();
  QXDataContainer requested;
  {
    // The snapshot and the two containers filled here are this thread's own.
    QXLockGuard snapshotGuard(snapshot.AccessLock());
    QXLockGuard sendGuard(containerToSendOver.AccessLock());
    QXLockGuard receivedGuard(contentInVarnholm.AccessLock());
    for (auto entry = snapshot.FirstEntry(); entry != snapshot.LastEntry(); ++entry) {
      if (!variablesToSendOver.Contains(entry->first)) continue;
      requested.AddEntry(entry->second, entry->first);
      if (contentInVarnholm.FindVariableInsideLock(entry->first) != entry->second)
        containerToSendOver.AddEntry(entry->second, entry->first);
    }
  }
  if (!containerToSendOver.WriteIntoSocket()) return false;
  contentInVarnholm.OverwriteContentWith(requested);
  return true;
}

// --- Free functions -------------------------------------------------------------

bool QXLivePublish(std::string socketName) { return sharedStorage.Publish(socketName); }

bool QXLivePublish(int port, std::string responseToQX, std::string requiredAnswer) {
  if (port < 1 || port > 65535) {
    QXErrorMessage(kPublish, "Invalid port number " + std::to_string(port) + ".");
    return false;
  }
  return sharedStorage.Publish(static_cast<uint16_t>(port), responseToQX, requiredAnswer);
}

void QXLiveAddVariable(std::string varName, std::string varType) {
  sharedStorage.AddVariable(varName, varType);
}

QXDataContainer QXLiveDataObject() { return sharedStorage.DataObject(); }

void QXLiveSynchronize() { sharedStorage.Synchronize(); }

bool QXLiveCurrentlySendingOver(std::string varName) {
  return sharedStorage.CurrentlySendingOver(varName);
}

bool QXLiveCurrentlyConnected() { return sharedStorage.CurrentlyConnected(); }

// --- The C interface --------------------------------------------------------------

namespace {

// False, with a report under the function's name, for a null string.
bool Given(const char* text, const char* function) {
  if (text != nullptr) return true;
  QXErrorMessage(function, "A null string was given.");
  return false;
}

}  // namespace

extern "C" {

int QXCLivePublishLocal(const char* socketName) {
  if (!Given(socketName, "QXCLivePublishLocal")) return 0;
  return QXLivePublish(std::string(socketName)) ? 1 : 0;
}

int QXCLivePublishRemote(int portNumber, const char* responseToQX, const char* requiredAnswer) {
  if (!Given(responseToQX, "QXCLivePublishRemote") ||
      !Given(requiredAnswer, "QXCLivePublishRemote"))
    return 0;
  return QXLivePublish(portNumber, responseToQX, requiredAnswer) ? 1 : 0;
}

void QXCLiveAddVariable(const char* varName, const char* varType) {
  if (!Given(varName, "QXCLiveAddVariable") || !Given(varType, "QXCLiveAddVariable")) return;
  QXLiveAddVariable(varName, varType);
}

int QXCLiveCurrentlySendingOver(const char* varName) {
  if (!Given(varName, "QXCLiveCurrentlySendingOver")) return 0;
  return QXLiveCurrentlySendingOver(varName) ? 1 : 0;
}

int QXCLiveCurrentlyConnected(void) { return QXLiveCurrentlyConnected() ? 1 : 0; }

void QXCLiveSynchronize(void) { QXLiveSynchronize(); }

}  // extern "C"
