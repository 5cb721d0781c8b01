#pragma once

#include <string>

#include "core/settings/profile_store.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// What one installation leaves in another's mailbox (section "Commands"): the values as written.
struct AlertRecord {
    std::string Delay;    // " 5" (number form) when the sender's NetDelay is set, else "0"
    std::string NetName;  // the sender's myName
    std::string QFtext;
    std::string Atext;
};

// The record for this installation's settings. Line breaks in myName, QFtext and Atext become
// blanks in the mirror itself, as the writes of those very variables always did.
AlertRecord TakeAlertRecord(SettingsMirror& mirror);

// The settings file of a detector: its path (which ends with a separator) and "qfd.ini".
std::string DetectorIniPath(const std::string& detectorPath);

// Writes the record and then Type "1" into the file's "Commands" section, as one locked
// replacement of the file: a receiver sees the whole record or none of it. The bytes left behind
// are those of five separate writes in the order Delay, NetName, QFtext, Atext, Type.
WriteOutcome SendNetworkAlert(const std::string& iniPath, const AlertRecord& record);

// Whether a failed send is told to the user. A folder that is missing, unreachable or read-only,
// or a settings file that is not a regular file, fails silently; anything else (a path too long
// for the platform, a full disk, an I/O error) shows the error message.
bool ShowsErrorMessage(const WriteOutcome& outcome);

// The error message's parts: "Error " + number as the title, "An error has occurred: " +
// description as the text.
int ErrorNumber(const WriteOutcome& outcome);
std::string ErrorDescription(const WriteOutcome& outcome);

}  // namespace qfd
