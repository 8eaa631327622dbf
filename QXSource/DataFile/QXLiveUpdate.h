// Live update: a running program publishes its variables to one watching
// client while it computes. The program saves into an ordinary data
// container, declares which variables exist and of which type, and calls
// QXLiveSynchronize() whenever what it saved is consistent. A background
// thread serves the client on a Unix-domain socket or a password-guarded TCP
// port and sends it, when asked, only the requested variables that changed
// since it last received them.
//
//   QXLivePublish("/tmp/simulation");             // once per process
//   QXLiveAddVariable("temperature", "Mesh2D");
//   QXDataContainer data = QXLiveDataObject();
//   for (...) { data.Save(T, "temperature"); QXLiveSynchronize(); }
//
// The conversation on the connection (32-bit integers in the machine's
// order; commands are 6 ASCII bytes):
//   client: a 6-byte greeting (after the password exchange on TCP)
//   server: "AddVar", 1, name length, name, type length, type, for each
//           declared variable; the client answers each with 6 bytes
//   server: "NewAvl" once a new snapshot is ready
//   client: commands; one not starting with 'S' is followed by a list of
//           names (length, bytes; a length of 0 or less ends it) that are
//           removed from the requested set when it starts with 'R' and
//           added otherwise; one starting with 'S' asks for the data
//   server: a content message (see QXDataContainer.h) with the requested
//           variables that changed since the client last received them
// A client that reconnects receives every requested variable whole. Broken
// connections never raise SIGPIPE; the client is dropped and the thread
// listens again. The process-wide service tells its thread to end and joins
// it when the process ends, whatever the client does.
#ifndef QXLIVEUPDATE_H
#define QXLIVEUPDATE_H

#include <string>

#include "QXDataContainer.h"

// Publishes on a Unix-domain socket at the path, replacing an old socket
// there (a file that is not a socket is kept and the publish refused). Only
// one publish may succeed in a process: a second reports
// "QXLiveUpdateStorage::Publish: Calling this function twice.". A publish
// that failed, reported by the container, may be tried again.
bool QXLivePublish(std::string socketName);
// Publishes on the TCP port (1 to 65535; others are refused with "Invalid
// port number N."); a client must answer responseToQX with requiredAnswer.
bool QXLivePublish(int port, std::string responseToQX, std::string requiredAnswer);
// Declares a variable and its type; the client learns of it in the thread's
// next round, and every later client right after connecting. An empty name
// is refused with a report.
void QXLiveAddVariable(std::string varName, std::string varType);
// The container the program saves into; what it holds at QXLiveSynchronize()
// is what the client receives.
QXDataContainer QXLiveDataObject();
// Takes a snapshot of the data object and wakes the thread. Returns at once.
void QXLiveSynchronize();
// Whether a client is connected and has asked for the variable; a program
// may skip computing what nobody watches.
bool QXLiveCurrentlySendingOver(std::string varName);
bool QXLiveCurrentlyConnected();

#endif
