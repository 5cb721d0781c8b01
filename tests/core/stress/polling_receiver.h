// A receiver process for the stress tests: the main timer's polling tick on the real mailbox
// functions, with the one-second tick and the alert's open time shortened.
#pragma once

#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "core/network/mailbox.h"
#include "core/settings/profile_store.h"
#include "tests/core/stress/stress_support.h"

namespace qfd::test {

// Polls until the parent has closed `stop` and the mailbox holds no waiting record. Reports
// "torn <why>" for every look at a file that is not whole, "countdown" for every second counted,
// "shown NetName|QFtext|Atext|Delay|Type" for every alert, before it is marked done, and at the
// end "longest <ms>" with the longest time one of its calls took. Like the main timer's tick, it
// never waits for the lock: whatever found the lock busy is done again at the next tick.
inline int RunPollingReceiver(const std::string& ini, int stop, const ReportPipe& pipe) {
    using namespace std::chrono_literals;
    bool stopAsked = false;
    std::chrono::milliseconds longest{0};
    std::optional<MailboxRecord> owed;  // shown, still to be marked done
    for (;; std::this_thread::sleep_for(1ms)) {
        char c;
        if (!stopAsked && ::read(stop, &c, 1) == 0) stopAsked = true;
        // The file as a patient reader of ours sees it: whole, whatever the writers are doing.
        const std::optional<std::string> bytes = ReadProfileFile(ini);
        const std::string problem =
            bytes ? IniProblem(*bytes, {"Settings", "Commands"}) : "unreadable";
        if (!problem.empty()) pipe.Send("torn " + problem);

        const std::optional<MailboxRecord> seen =
            Timed(longest, [&] { return LookIntoMailbox(ini, "Own top", "Own bottom"); });
        if (owed) {
            if (Timed(longest, [&] { return MarkMailboxDone(ini, *owed); }).Ok()) owed.reset();
            continue;  // the look came before the clearing: look again
        }
        if (!seen) continue;
        if (!seen->Waiting()) {
            if (!stopAsked) continue;
            pipe.Send("longest " + std::to_string(longest.count()));
            return 0;
        }
        MailboxRecord due;
        const Countdown countdown =
            Timed(longest, [&] { return CountDownWaitingTime(ini, *seen, due); });
        if (countdown == Countdown::Postponed) continue;
        if (countdown == Countdown::Waiting) {
            pipe.Send("countdown");
            std::this_thread::sleep_for(1ms);  // the one-second tick, shortened
            continue;
        }
        pipe.Send("shown " + due.NetName + "|" + due.QFtext + "|" + due.Atext + "|" + due.Delay +
                  "|" + due.Type);
        std::this_thread::sleep_for(5ms);  // the alert is open: others go on writing meanwhile
        owed = due;
    }
}

}  // namespace qfd::test
