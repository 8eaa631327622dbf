// Hands the process-wide error list over in a storage, packed as a string
// list: the characters of every message with a 0 byte after each, and beside
// them the offset at which each message starts.
//
//   QXSaveError(output, "Errors");  // saves "Errors_offs", then "Errors"
#ifndef QXSAVEERROR_H
#define QXSAVEERROR_H

#include <string>

#include "QXDataStorage.h"

// Saves the offsets (int, count x 1) under name + "_offs", then the characters
// (unsigned char, total x 1) under name. An empty list saves two empty arrays.
// The list is left unchanged and saved as it stood at the call: messages that
// other threads report meanwhile are not in it. A storage that refuses the
// saves reports that itself, so its reports follow the saved messages in the
// list.
void QXSaveError(QXDataStorage& output, std::string name);

#endif
