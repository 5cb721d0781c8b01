#pragma once

#include <optional>
#include <string>

#include "core/settings/profile_store.h"

namespace qfd {

// An alert record as this installation finds it in its own mailbox (section "Commands"), with the
// receiver's defaults for missing keys.
struct MailboxRecord {
    std::string Type = "0";
    std::string Delay = "0";
    std::string NetName = "(from unknown)";
    std::string QFtext;
    std::string Atext;

    bool Waiting() const { return Type != "0"; }  // a text comparison: blanks and case count
    bool operator==(const MailboxRecord&) const = default;
};

// One look into the mailbox: every key from the same reading of the file, so a record being
// written at this moment is seen whole or not at all. The texts default to the current ones. It
// waits for the lock no longer than `wait` says (by default not at all): nothing when another
// process still holds it and the reading may have caught a rewrite midway, so that the next look
// reads again.
std::optional<MailboxRecord> LookIntoMailbox(const std::string& iniPath,
                                             const std::string& currentQFtext,
                                             const std::string& currentAtext,
                                             LockWait wait = LockWait::None);

enum class Countdown {
    Waiting,    // seconds are left (CountDownWaitingTime has taken one off)
    Due,        // no second is left: show `due`
    Postponed,  // another process holds the lock: decide at the next tick
};

// One second of a record's waiting time. Under the file's lock, so that a record a sender writes
// meanwhile is not undone: while seconds are left, writes one less and says Waiting; otherwise
// puts the record to show into `due`. When the file cannot be written, decides from `seen`. Never
// waits for the lock.
Countdown CountDownWaitingTime(const std::string& iniPath, const MailboxRecord& seen,
                               MailboxRecord& due);

// What CountDownWaitingTime would decide, without taking a second off: for a look between the
// timer's ticks, which must not count them. Leaves the record as it is; waits for the lock no
// longer than `wait` says, and is Postponed while another process still holds it.
Countdown CheckWaitingTime(const std::string& iniPath, const MailboxRecord& seen,
                           MailboxRecord& due, LockWait wait);

// After the alert has closed: Type becomes "0" only while the record in the file is still the one
// that was shown, so a record that arrived meanwhile is delivered at the next look. The outcome
// of the write: failed when the file cannot be written and the record stays in it, Busy when
// another process holds the lock (it never waits for it) and the caller should try again.
WriteOutcome MarkMailboxDone(const std::string& iniPath, const MailboxRecord& shown);

}  // namespace qfd
