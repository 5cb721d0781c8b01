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

}  // namespace

std::optional<MailboxRecord> LookIntoMailbox(const std::string& iniPath,
                                             const std::string& currentQFtext,
                                             const std::string& currentAtext) {
    const IniSnapshot snapshot = IniSnapshot::Load(iniPath, LockWait::None);
    if (snapshot.MayBeTorn(sections::kCommands, {"Type", "Delay", "NetName", "QFtext", "Atext"})) {
        return std::nullopt;
    }
    return ReadRecord(snapshot, currentQFtext, currentAtext);
}

Countdown CountDownWaitingTime(const std::string& iniPath, const MailboxRecord& seen,
                               MailboxRecord& due) {
    std::optional<Countdown> decided;
    const WriteOutcome outcome = ModifyIni(
        iniPath,
        [&](IniTransaction& t) {
            const MailboxRecord now = ReadRecord(t, seen.QFtext, seen.Atext);
            const std::int16_t seconds = SecondsLeft(now);
            if (seconds > 0) {
                std::string text = NumberForm(seconds - 1);
                t.Write(sections::kCommands, "Delay", text);
                decided = Countdown::Waiting;
            } else {
                due = now;
                decided = Countdown::Due;
            }
        },
        LockWait::None);
    if (decided) return *decided;
    if (outcome.error == StoreError::Busy) return Countdown::Postponed;
    // The file cannot be written: the count cannot go down, as with any failed write.
    if (SecondsLeft(seen) > 0) return Countdown::Waiting;
    due = seen;
    return Countdown::Due;
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
