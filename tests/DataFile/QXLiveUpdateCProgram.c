/* Proves that the live-update interface compiles as C and links: publishes
 * on a socket, checks the answers of every call, and ends. Exits with the
 * number of the first check that failed, or 0. */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <unistd.h>

#include "QXLiveUpdateC.h"

int main(void) {
  char path[64];
  snprintf(path, sizeof path, "/tmp/qx_c_live_%ld.sock", (long)getpid());
  if (QXCLivePublishLocal(NULL) != 0) return 1;
  if (QXCLivePublishRemote(1, NULL, "answer") != 0) return 2;
  if (QXCLiveCurrentlyConnected() != 0) return 3;
  if (QXCLivePublishLocal(path) != 1) return 4;
  if (QXCLivePublishLocal(path) != 0) return 5;
  QXCLiveAddVariable("x", "Number");
  QXCLiveAddVariable(NULL, "Number");
  if (QXCLiveCurrentlySendingOver("x") != 0) return 6;
  if (QXCLiveCurrentlySendingOver(NULL) != 0) return 7;
  QXCLiveSynchronize();
  if (access(path, F_OK) != 0) return 8;
  return 0;
}
