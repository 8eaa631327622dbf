// The live-update service behind the free QXLive... functions: the one
// process-wide QXLiveUpdateStorage and the reader of the client's commands.
// Only the library, its tests and its fuzz target include this header.
//
// Locks, always taken in this order and never held across socket I/O:
// latestSyncStorageLock, then a container's entry lock; the wake-up lock,
// the declaration lock and the requested-names lock stand alone.
#ifndef QXLIVEUPDATEINTERNAL_H
#define QXLIVEUPDATEINTERNAL_H

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "QXDataContainer.h"

struct QXLiveUpdateNameType {
  QXLiveUpdateNameType(std::string name, std::string type)
      : name(std::move(name)), type(std::move(type)) {}
  std::string name;
  std::string type;
};

// The names the client asked for, with a lock of their own: the thread
// changes them while the program asks about them.
class QXLiveRequestedNames {
 public:
  void Add(const std::string& name);
  void Remove(const std::string& name);
  bool Contains(const std::string& name) const;
  size_t Count() const;

 private:
  mutable std::mutex lock;
  std::set<std::string> names;
};

// Reads the client's commands up to its 'S' command, adding or removing the
// names of each list. False when the connection failed or the client sent
// something malformed; reported under "QXLiveUpdateStorage::Synchronize" as
// "Failed (3)" (a name length missing or above 65535), "Failed (4)" (a name
// cut short) or "Failed (5)" (the next command cut short). A first command
// that does not arrive is not reported.
bool QXLiveReadCommands(QXDataContainer& connection, QXLiveRequestedNames& requested);

class QXLiveUpdateStorage {
 public:
  QXLiveUpdateStorage() = default;
  QXLiveUpdateStorage(const QXLiveUpdateStorage&) = delete;
  QXLiveUpdateStorage& operator=(const QXLiveUpdateStorage&) = delete;
  // Shutdown(), then the members go.
  ~QXLiveUpdateStorage();

  bool Publish(const std::string& name);
  bool Publish(uint16_t port, const std::string& responseToQX, const std::string& requiredAnswer);
  void AddVariable(const std::string& name, const std::string& type);
  void Synchronize();
  bool CurrentlySendingOver(const std::string& name) const;
  bool CurrentlyConnected() const { return currentlyConnected; }
  QXDataContainer DataObject() const { return containerToSave; }
  // Tells the thread to end, releases it from whatever it waits for, and
  // joins it. Nothing happens when it never started.
  void Shutdown();

 private:
  // Registers through register(), then starts the thread.
  template <class Register>
  bool StartPublishing(Register registerSocket);
  static void* ThreadEntry(void* storage);
  void RunCommunication();
  // Serves one connected client until it is dropped or the thread must end.
  void ServeClient();
  bool WaitForVarnholmToAskQuestion();
  bool SendVariableDefinition(const QXLiveUpdateNameType& variable);
  // The wake-up signal: raising a raised signal changes nothing.
  void RaiseWakeUp();
  // Waits for the signal and lowers it; false when the client left first.
  bool WaitForWakeUp();
  void LowerWakeUp();

  QXDataContainer containerToSave;
  std::mutex latestSyncStorageLock;
  QXDataContainer latestSyncStorage;
  bool syncStorageIsNewer = false;
  bool hasSnapshot = false;
  QXDataContainer contentInVarnholm;
  QXDataContainer containerToSendOver;

  std::mutex wakeUpLock;
  std::condition_variable wakeUpCondition;
  bool wakeUpRaised = false;

  QXLiveRequestedNames variablesToSendOver;
  // Touched by the thread only.
  std::vector<QXLiveUpdateNameType> variableList;
  std::mutex lockForWaitingVariables;
  std::vector<QXLiveUpdateNameType> variablesWaiting;

  std::atomic<bool> shouldQuit{false};
  std::atomic<bool> currentlyConnected{false};

  // Guards publishing and the thread handle.
  std::mutex publishLock;
  // Set by the first successful publish, for the life of the process.
  bool hasPublished = false;
  bool threadRunning = false;
  pthread_t communicationThread;
};

#endif
