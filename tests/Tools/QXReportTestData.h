// Storage contents shared by the report tests.
#ifndef QXREPORTTESTDATA_H
#define QXREPORTTESTDATA_H

#include <string>

#include "QXDataStorage.h"

// The example of a group with a nested group and a sequence saved once.
inline void SaveFlowAndLevel(QXDataStorage& storage) {
  storage.Save(std::string("Group"), "Seq_Flow");
  storage.Save(2, "SeqInfo_Flow_N");
  storage.Save(std::string("speed"), "SeqInfo_Flow_1N");
  storage.Save(std::string("K1"), "SeqInfo_Flow_1");
  storage.Save(std::string("walls"), "SeqInfo_Flow_2N");
  storage.Save(std::string("Group"), "SeqInfo_Flow_2");
  storage.Save(1, "SeqInfo_Flow_2_N");
  storage.Save(std::string("left"), "SeqInfo_Flow_2_1N");
  storage.Save(std::string("K2"), "SeqInfo_Flow_2_1");
  storage.Save(0.0, "Flow_0");
  storage.Save(1.0, "Flow_1");
  storage.Save(std::string("K3"), "Seq_Level");
  storage.Save(7.5, "Level");
}

inline const char* const FlowAndLevelReport =
    "Flow - Group - 2 time values\n"
    "    speed - K1\n"
    "    walls - Group\n"
    "        left - K2\n"
    "Level - K3\n";

#endif
