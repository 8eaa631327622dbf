/* Live update for C programs: the functions of QXLiveUpdate.h with C
 * linkage. Strings are zero-terminated; a null string is refused with a
 * report. Results are 1 for true and 0 for false. Saving goes through the
 * C++ data object (QXLiveDataObject()). */
#ifndef QXLIVEUPDATEC_H
#define QXLIVEUPDATEC_H

#ifdef __cplusplus
extern "C" {
#endif

int QXCLivePublishLocal(const char* socketName);
int QXCLivePublishRemote(int portNumber, const char* responseToQX, const char* requiredAnswer);
void QXCLiveAddVariable(const char* varName, const char* varType);
int QXCLiveCurrentlySendingOver(const char* varName);
int QXCLiveCurrentlyConnected(void);
void QXCLiveSynchronize(void);

#ifdef __cplusplus
}
#endif

#endif
