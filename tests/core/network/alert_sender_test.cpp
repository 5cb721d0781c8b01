// The background sender: order, independence from a hung share, and error reports.
#include "core/network/alert_sender.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/sandbox.h"

namespace qfd {
namespace {

using namespace std::chrono_literals;

// A writer that records the order of its calls and can hold one path like a hung share.
class RecordingWriter {
  public:
    WriteOutcome Write(const std::string& path, const AlertRecord&) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (path == holdPath_) released_.wait(lock, [&] { return released; });
        written.push_back(path);
        WriteOutcome outcome;
        if (path.find("too-long") != std::string::npos) outcome.error = StoreError::NameTooLong;
        if (path.find("missing") != std::string::npos) outcome.error = StoreError::PathNotFound;
        if (path.find("locked") != std::string::npos) outcome.error = StoreError::Busy;
        return outcome;
    }
    void Hold(std::string path) { holdPath_ = std::move(path); }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released = true;
        released_.notify_all();
    }
    std::vector<std::string> Written() {
        std::lock_guard<std::mutex> lock(mutex_);
        return written;
    }

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool released = false;
    std::string holdPath_;
    std::vector<std::string> written;
};

TEST(AlertSender, WritesEveryDetectorInListOrder) {
    RecordingWriter writer;
    AlertSender sender(
        [](const std::string&, const WriteOutcome&) {},
        [&](const std::string& p, const AlertRecord& r) { return writer.Write(p, r); });
    sender.Send(AlertRecord{}, {"a", "b", "c"});
    sender.Send(AlertRecord{}, {"d"});
    sender.WaitUntilIdle();
    EXPECT_EQ(writer.Written(), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(AlertSender, HungShareHoldsUpOnlyTheDetectorsQueuedAfterIt) {
    RecordingWriter writer;
    writer.Hold("hung");
    AlertSender sender(
        [](const std::string&, const WriteOutcome&) {},
        [&](const std::string& p, const AlertRecord& r) { return writer.Write(p, r); });
    sender.Send(AlertRecord{}, {"hung", "next"});  // returns at once
    EXPECT_TRUE(writer.Written().empty());
    writer.Release();
    sender.WaitUntilIdle();
    EXPECT_EQ(writer.Written(), (std::vector<std::string>{"hung", "next"}));
}

TEST(AlertSender, ReportsOnlyFailuresThatShowAMessageAndGoesOn) {
    RecordingWriter writer;
    std::vector<std::string> reported;
    AlertSender sender(
        [&](const std::string& path, const WriteOutcome& outcome) {
            reported.push_back(path + ":" + std::to_string(outcome.PlatformErrorCode()));
        },
        [&](const std::string& p, const AlertRecord& r) { return writer.Write(p, r); });
    sender.Send(AlertRecord{}, {"missing", "too-long", "fine"});
    sender.WaitUntilIdle();
    EXPECT_EQ(reported, (std::vector<std::string>{"too-long:206"}));
    EXPECT_EQ(writer.Written().size(), 3u);
}

// Keeps what the sender reported as "path:error number".
struct ReportList {
    std::vector<std::string> reported;
    AlertSender::FailureSink Sink() {
        return [this](const std::string& path, const WriteOutcome& outcome) {
            reported.push_back(path + ":" + std::to_string(outcome.PlatformErrorCode()));
        };
    }
};

TEST(AlertSender, TellsALockedFileOncePerSendButEveryOtherFailure) {
    RecordingWriter writer;
    ReportList reports;
    AlertSender sender(reports.Sink(), [&](const std::string& p, const AlertRecord& r) {
        return writer.Write(p, r);
    });
    sender.Send(AlertRecord{}, {"locked-1", "too-long-1", "locked-2", "too-long-2", "locked-3"});
    sender.WaitUntilIdle();
    EXPECT_EQ(reports.reported,
              (std::vector<std::string>{"locked-1:33", "too-long-1:206", "too-long-2:206"}));
    EXPECT_EQ(writer.Written().size(), 5u);

    // The next menu command is a new send: its locked file is told again.
    sender.Send(AlertRecord{}, {"locked-4", "locked-5"});
    sender.WaitUntilIdle();
    EXPECT_EQ(reports.reported.size(), 4u);
    EXPECT_EQ(reports.reported.back(), "locked-4:33");
}

TEST(AlertSender, DrainFinishesEverythingQueuedBeforeTheProgramEnds) {
    RecordingWriter writer;
    writer.Hold("a");
    AlertSender sender(
        [](const std::string&, const WriteOutcome&) {},
        [&](const std::string& p, const AlertRecord& r) { return writer.Write(p, r); });
    sender.Send(AlertRecord{}, {"a", "b"});
    sender.Send(AlertRecord{}, {"c"});
    writer.Release();
    EXPECT_TRUE(sender.Drain(1h));
    EXPECT_EQ(writer.Written(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(AlertSender, DrainGivesUpAtItsBoundAndTellsNothingAfterwards) {
    auto writer = std::make_shared<RecordingWriter>();
    writer->Hold("too-long-hung");
    ReportList reports;
    AlertSender sender(reports.Sink(), [writer](const std::string& p, const AlertRecord& r) {
        return writer->Write(p, r);
    });
    sender.Send(AlertRecord{}, {"too-long-hung", "too-long-next"});
    EXPECT_FALSE(sender.Drain(10ms));
    writer->Release();
    sender.WaitUntilIdle();
    EXPECT_EQ(writer->Written().size(), 2u);
    EXPECT_TRUE(reports.reported.empty());  // the failures came after the program's end
}

TEST(AlertSender, DestroyingItNeverWaitsForAHungShare) {
    auto writer = std::make_shared<RecordingWriter>();
    writer->Hold("hung");
    {
        AlertSender sender(
            [](const std::string&, const WriteOutcome&) {},
            [writer](const std::string& p, const AlertRecord& r) { return writer->Write(p, r); });
        sender.Send(AlertRecord{}, {"hung", "dropped"});
        EXPECT_FALSE(sender.Drain(10ms));  // Exit gives up on the hung share
    }                                      // returns although "hung" is still being written
    writer->Release();
}

TEST(AlertSender, RealFoldersReceiveTheRecord) {
    test::Sandbox a, b;
    AlertSender sender([](const std::string&, const WriteOutcome&) {});
    AlertRecord record{"0", "Bruce", "Quorf", "Alert"};
    sender.Send(record, {a.IniPath(), b.IniPath()});
    sender.WaitUntilIdle();
    for (const test::Sandbox* s : {&a, &b}) {
        EXPECT_NE(s->ReadBytes("qfd.ini").find("NetName=Bruce\r\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace qfd
