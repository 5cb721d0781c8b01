#include "core/network/mailbox.h"

#include <cstdint>
#include <optional>

#include "core/settings/ini_snapshot.h"
#include "core/settings/ini_transaction.h"
#include "core/settings/number_form.h"
#include "core/settings/settings_mirror.h"

namespace qfd {
namespace {

template <typename Reader>
MailboxRecord ReadRecord(const Reader& reader, const std::string& currentQFtext,
                         const std::string& currentAtext) {
    const char* s = sections::kCommands;
    MailboxRecord r;
    r.Type = reader.Read(s, "Type", "0");
    r.Delay = reader.Read(s, "Delay", "0");
    r.NetName = reader.Read(s, "NetName", "(from unknown)");
    r.QFtext = reader.Read(s, "QFtext", currentQFtext);
    r.Atext = reader.Read(s, "Atext", currentAtext);
    return r;
}

// Seconds still to wait; a damaged value waits no longer.
std::int16_t SecondsLeft(const MailboxRecord& record) {
    return ParseInt16(record.Delay).value_or(0);
}

// Under the file's lock, so that a record a sender writes meanwhile is not undone; a second is
// taken off only when asked to. When the file cannot be written, decides from `seen`.
Countdown DecideWaitingTime(const std::string& iniPath, const MailboxRecord& seen,
                            MailboxRecord& due, bool takeASecond, LockWait wait) {
    std::optional<Countdown> decided;
    const WriteOutcome outcome = ModifyIni(
        iniPath,
        [&](IniTransaction& t) {
            const MailboxRecord now = ReadRecord(t, seen.QFtext, seen.Atext);
            const std::int16_t seconds = SecondsLeft(now);
            if (seconds > 0) {
                if (takeASecond) {
                    std::string text = NumberForm(seconds - 1);
                    t.Write(sections::kCommands, "Delay", text);
                }
                decided = Countdown::Waiting;
            } else {
                due = now;
                decided = Countdown::Due;
            }
        },
        wait);
    if (decided) return *decided;
    if (outcome.error == StoreError::Busy) return Countdown::Postponed;
    // The file cannot be written: the count cannot go down, as with any failed write.
    if (SecondsLeft(seen) > 0) return Countdown::Waiting;
    due = seen;
    return Countdown::Due;
}

}  // namespace

std::optional<MailboxRecord> LookIntoMailbox(const std::string& iniPath,
                                             const std::string& currentQFtext,
                                             const std::string& currentAtext, LockWait wait) {
    const IniSnapshot snapshot = IniSnapshot::Load(iniPath, wait);
    if (snapshot.MayBeTorn(sections::kCommands, {"Type", "Delay", "NetName", "QFtext", "Atext"})) {
        return std::nullopt;
    }
    return ReadRecord(snapshot, currentQFtext, currentAtext);
}

Countdown CountDownWaitingTime(const std::string& iniPath, const MailboxRecord& seen,
                               MailboxRecord& due) {
    return DecideWaitingTime(iniPath, seen, due, true, LockWait::None);
}

Countdown CheckWaitingTime(const std::string& iniPath, const MailboxRecord& seen,
                           MailboxRecord& due, LockWait wait) {
    return DecideWaitingTime(iniPath, seen, due, false, wait);
}

WriteOutcome MarkMailboxDone(const std::string& iniPath, const MailboxRecord& shown) {
    return ModifyIni(
        iniPath,
        [&](IniTransaction& t) {
            if (ReadRecord(t, shown.QFtext, shown.Atext) != shown) return;
            std::string done = "0";
            t.Write(sections::kCommands, "Type", done);
        },
        LockWait::None);
}

}  // namespace qfd
