#include "core/network/detector_list_editor.h"

#include <algorithm>

#include "core/network/network_menus.h"
#include "core/settings/ini_access.h"
#include "core/settings/ini_path.h"
#include "core/settings/ini_snapshot.h"
#include "core/settings/number_form.h"
#include "core/settings/settings_mirror.h"

namespace qfd {
namespace {

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == kPathSeparator;
#endif
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

}  // namespace

std::string DetectorPathForProgramFile(std::string_view programFile) {
    const auto last = std::find_if(programFile.rbegin(), programFile.rend(), IsSeparator);
    if (last == programFile.rend()) return {};
    return std::string(programFile.begin(), last.base());
}

std::string DetectorSlotKey(int slot) { return "Option" + NumberForm(slot); }

DetectorStoreOutcome StoreDetector(const std::string& iniPath, const std::string& detectorPath) {
    DetectorStoreOutcome outcome;
    // ReadIni gives back at most 254 bytes: a longer path would be read cut and alerts would go
    // to some other folder.
    if (detectorPath.size() > kReadIniMaxBytes) {
        outcome.result = DetectorStoreResult::PathTooLong;
        return outcome;
    }
    const IniSnapshot snapshot = IniSnapshot::Load(iniPath);
    for (int slot = 0; slot < kDetectorSlotCount; ++slot) {
        const std::string key = DetectorSlotKey(slot);
        const std::string value = snapshot.Read(sections::kNetwork, key, "");
        if (!value.empty() && !EqualIgnoringCase(value, detectorPath)) continue;
        std::string text = detectorPath;
        outcome.slot = slot;
        outcome.write = WriteIni(iniPath, sections::kNetwork, key, text);
        outcome.result =
            outcome.write.Ok() ? DetectorStoreResult::Stored : DetectorStoreResult::NotWritten;
        return outcome;
    }
    outcome.result = DetectorStoreResult::ListFull;
    return outcome;
}

DetectorClearOutcome ClearDetector(const std::string& iniPath, const std::string& detectorPath) {
    DetectorClearOutcome outcome;
    if (detectorPath.empty()) return outcome;  // every free slot would "match"
    const IniSnapshot snapshot = IniSnapshot::Load(iniPath);
    for (int slot = 0; slot < kDetectorSlotCount; ++slot) {
        const std::string key = DetectorSlotKey(slot);
        if (snapshot.Read(sections::kNetwork, key, "") != detectorPath) continue;
        std::string empty;
        const WriteOutcome write = WriteIni(iniPath, sections::kNetwork, key, empty);
        if (write.Ok()) {
            ++outcome.slotsCleared;
        } else if (outcome.slotsFailed++ == 0) {
            outcome.firstFailure = write;
        }
    }
    return outcome;
}

}  // namespace qfd
