#pragma once

#include <string>
#include <string_view>

#include "core/settings/profile_store.h"

namespace qfd {

// Changes to the Network Detector list in the "Network Settings" section of the own settings file.

// The detector path of an installation whose program file is programFile: the file's folder
// followed by the separator, whatever the file is called, so that a program file named "qfd" or
// "qfd.exe" gives the same folder. Empty when the name holds no folder.
std::string DetectorPathForProgramFile(std::string_view programFile);

// The key of a slot: "Option", a blank, the number.
std::string DetectorSlotKey(int slot);

enum class DetectorStoreResult {
    Stored,
    ListFull,     // every slot holds another path
    PathTooLong,  // longer than a value that reads back whole
    NotWritten,   // the settings file refused the write
};

struct DetectorStoreOutcome {
    DetectorStoreResult result = DetectorStoreResult::NotWritten;
    int slot = -1;       // where it went (Stored) or where it should have gone (NotWritten)
    WriteOutcome write;  // the failed write (NotWritten)
};

// Writes detectorPath into the lowest slot that is free or already holds the same path in any
// letter case. All slots are read from one state of the file: only this installation writes
// its "Network Settings".
DetectorStoreOutcome StoreDetector(const std::string& iniPath, const std::string& detectorPath);

struct DetectorClearOutcome {
    int slotsCleared = 0;
    int slotsFailed = 0;
    WriteOutcome firstFailure;
};

// Empties every slot whose value equals detectorPath exactly; the other slots keep their numbers.
DetectorClearOutcome ClearDetector(const std::string& iniPath, const std::string& detectorPath);

}  // namespace qfd
