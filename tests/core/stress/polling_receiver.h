// A receiver process for the stress tests: the main timer's polling tick on the real mailbox
// functions, with the one-second tick and the alert's open time shortened.
#pragma once

#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "core/stress/stress_support.h"
#include "network/mailbox.h"
#include "settings/profile_store.h"

namespace qfd::test {

// Polls until the parent has closed `stop` and the mailbox holds no waiting record. Reports
// "torn <why>" for every look at a file that is not whole, "countdown" for every second counted,
// "shown NetName|QFtext|Atext|Delay|Type" for every alert, before it is marked done, and at the
// end "slow <n>" with the number of calls that took as long as a lock wait may.
inline int RunPollingReceiver(const std::string& ini, int stop, const ReportPipe& pipe) {
    using namespace std::chrono_literals;
    bool stopAsked = false;
    int slow = 0;
    for (;;) {
        char c;
        if (!stopAsked && ::read(stop, &c, 1) == 0) stopAsked = true;
        const std::optional<std::string> bytes = Timed(slow, [&] { return ReadProfileFile(ini); });
        const std::string problem =
            bytes ? IniProblem(*bytes, {"Settings", "Commands"}) : "unreadable";
        if (!problem.empty()) pipe.Send("torn " + problem);

        const MailboxRecord seen =
            Timed(slow, [&] { return LookIntoMailbox(ini, "Own top", "Own bottom"); });
        if (!seen.Waiting()) {
            if (stopAsked) {
                pipe.Send("slow " + std::to_string(slow));
                return 0;
            }
            std::this_thread::sleep_for(1ms);
            continue;
        }
        MailboxRecord due;
        if (Timed(slow, [&] { return CountDownWaitingTime(ini, seen, due); }) ==
            Countdown::Waiting) {
            pipe.Send("countdown");
            std::this_thread::sleep_for(2ms);  // the one-second tick, shortened
            continue;
        }
        pipe.Send("shown " + due.NetName + "|" + due.QFtext + "|" + due.Atext + "|" + due.Delay +
                  "|" + due.Type);
        std::this_thread::sleep_for(5ms);  // the alert is open: others go on writing meanwhile
        Timed(slow, [&] {
            MarkMailboxDone(ini, due);
            return 0;
        });
    }
}

}  // namespace qfd::test
