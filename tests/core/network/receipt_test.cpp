// What a sender learns of its record from the receivers' files, with real files.
#include "core/network/receipt_watch.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/network/mailbox.h"
#include "core/network/receipt.h"
#include "core/settings/ini_access.h"
#include "core/shell/receipt_notice.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

using Clock = ReceiptWatch::Clock;

const AlertRecord kOurs{" 3", "Bruce", "Line one\nline two", std::string(300, 'x')};
const AlertRecord kTheirs{"0", "Sheila", "Quorf", "Alert"};

// What the receiver does once our record is in its file.
enum class Then {
    Nothing,
    CountsDown,
    ShowsAndClears,
    OtherSends,
    OtherSendsAndIsCleared,
    Deleted
};

struct ReceiptCase {
    const char* name;
    Then then;
    Receipt expected;
};

class ReceiptOf : public ::testing::TestWithParam<ReceiptCase> {};

TEST_P(ReceiptOf, TellsWhatBecameOfTheRecord) {
    test::Sandbox receiver;
    const std::string ini = receiver.IniPath();
    ASSERT_TRUE(SendNetworkAlert(ini, kOurs).Ok());
    const auto showAndClear = [&] {
        const std::optional<MailboxRecord> shown = LookIntoMailbox(ini, "", "");
        ASSERT_TRUE(shown);
        ASSERT_TRUE(MarkMailboxDone(ini, *shown).Ok());
    };
    switch (GetParam().then) {
        case Then::Nothing:
            break;
        case Then::CountsDown: {
            MailboxRecord due;
            ASSERT_EQ(CountDownWaitingTime(ini, *LookIntoMailbox(ini, "", ""), due),
                      Countdown::Waiting);
            break;
        }
        case Then::ShowsAndClears:
            showAndClear();
            break;
        case Then::OtherSends:
            ASSERT_TRUE(SendNetworkAlert(ini, kTheirs).Ok());
            break;
        case Then::OtherSendsAndIsCleared:
            ASSERT_TRUE(SendNetworkAlert(ini, kTheirs).Ok());
            showAndClear();
            break;
        case Then::Deleted:
            receiver.WriteBytes("qfd.ini", "");
            break;
    }
    const std::string before = receiver.ReadBytes("qfd.ini");
    EXPECT_EQ(ReadReceipt(ini, kOurs), GetParam().expected);
    EXPECT_EQ(receiver.ReadBytes("qfd.ini"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReceiptOf,
    ::testing::Values(ReceiptCase{"Waiting", Then::Nothing, Receipt::Waiting},
                      ReceiptCase{"CountedDown", Then::CountsDown, Receipt::Waiting},
                      ReceiptCase{"Seen", Then::ShowsAndClears, Receipt::Seen},
                      ReceiptCase{"Replaced", Then::OtherSends, Receipt::Replaced},
                      ReceiptCase{"ReplacedAndSeen", Then::OtherSendsAndIsCleared,
                                  Receipt::Replaced},
                      ReceiptCase{"Emptied", Then::Deleted, Receipt::Unknown}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ReceiptWatch, SettlesEachRecordOnceAndNamesThoseNotSeenInTime) {
    test::Sandbox seen, replaced, late, failed;
    ASSERT_TRUE(SendNetworkAlert(failed.IniPath(), kTheirs).Ok());  // only ours are watched
    ReceiptWatch watch;
    const Clock::time_point t0 = Clock::now();
    for (const test::Sandbox* s : {&seen, &replaced, &late}) {
        ASSERT_TRUE(SendNetworkAlert(s->IniPath(), kOurs).Ok());
        watch.Expect({s->Dir().string(), s->IniPath(), kOurs, t0});
    }
    EXPECT_TRUE(watch.Look(t0).Empty());

    ASSERT_TRUE(MarkMailboxDone(seen.IniPath(), *LookIntoMailbox(seen.IniPath(), "", "")).Ok());
    ASSERT_TRUE(SendNetworkAlert(replaced.IniPath(), kTheirs).Ok());
    ReceiptNews news = watch.Look(t0 + std::chrono::seconds(1));
    EXPECT_EQ(news.seen, std::vector<std::string>{seen.Dir().string()});
    EXPECT_EQ(news.replaced, std::vector<std::string>{replaced.Dir().string()});
    EXPECT_TRUE(news.notSeen.empty());
    EXPECT_FALSE(watch.Settled());

    news = watch.Look(t0 + kReceiptExpiry);
    EXPECT_EQ(news.notSeen, std::vector<std::string>{late.Dir().string()});
    EXPECT_TRUE(watch.Settled());
    EXPECT_TRUE(watch.Look(t0 + 2 * kReceiptExpiry).Empty());
}

TEST(ReceiptWatch, LooksAtABoundedNumberOfFilesAtATimeAndGroupsTheirNotice) {
    std::vector<test::Sandbox> receivers(kReceiptFilesPerLook + 4);
    ReceiptWatch watch;
    // A second send to the same folder stands in for the first.
    for (int round = 0; round < 2; ++round) {
        for (const test::Sandbox& r : receivers) {
            ASSERT_TRUE(SendNetworkAlert(r.IniPath(), kOurs).Ok());
            watch.Expect({r.Dir().string(), r.IniPath(), kOurs, Clock::now()});
        }
    }
    for (const test::Sandbox& r : receivers) {
        ASSERT_TRUE(MarkMailboxDone(r.IniPath(), *LookIntoMailbox(r.IniPath(), "", "")).Ok());
    }
    const ReceiptNews first = watch.Look(Clock::now());
    EXPECT_EQ(first.seen.size(), kReceiptFilesPerLook);
    EXPECT_EQ(watch.Look(Clock::now()).seen.size(), 4u);
    EXPECT_TRUE(watch.Settled());

    const std::optional<TrayNotice> notice = DescribeReceipts(first, "14:02:31");
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->title, "Alert seen");
    EXPECT_EQ(notice->text.rfind("Seen at 14:02:31 on 16 detectors:\n" + first.seen[0] + "\n", 0),
              0u);
    EXPECT_NE(notice->text.find("\nand 11 more"), std::string::npos) << notice->text;
}

}  // namespace
}  // namespace qfd
