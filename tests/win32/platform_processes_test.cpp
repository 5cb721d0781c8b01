// The platform layer across real Windows processes: the single-instance claim, the settings
// file's lock, and readers and writers of one settings file at the same time.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform/file_access.h"
#include "core/platform/file_lock.h"
#include "core/platform/single_instance.h"
#include "core/settings/ini_access.h"
#include "core/settings/profile_store.h"
#include "tests/support/sandbox.h"
#include "tests/win32/child_roles.h"

#include <tlhelp32.h>

namespace qfd::test {
namespace {

TEST(Win32SingleInstance, ClaimOfAnotherProcessIsSeenAndEndsWithItsKill) {
    Sandbox a, b;
    a.WriteBytes("qfd.exe", "program");
    b.WriteBytes("qfd.exe", "program");
    ChildProcess holder({"claim", a.Path("qfd.exe"), a.Path("answer")});
    ASSERT_TRUE(holder.started());
    ASSERT_EQ(AwaitAnswer(a.Path("answer")), "ours");
    EXPECT_EQ(SingleInstance::Claim(a.Path("qfd.exe")).CurrentState(),
              SingleInstance::State::HeldByAnother);
    // The same program file in another folder is another installation.
    EXPECT_EQ(SingleInstance::Claim(b.Path("qfd.exe")).CurrentState(), SingleInstance::State::Ours);
    // The claim leaves the program file readable to everyone, as a running program must.
    EXPECT_EQ(ReadFileBytes(a.Path("qfd.exe")), "program");
    holder.Kill();
    EXPECT_EQ(SingleInstance::Claim(a.Path("qfd.exe")).CurrentState(), SingleInstance::State::Ours);
}

enum class WritePath { Swap, InPlace };

std::string WritePathName(const ::testing::TestParamInfo<WritePath>& row) {
    return row.param == WritePath::Swap ? "Swap" : "InPlace";
}

// A file with a second name cannot be swapped without splitting the two: it is rewritten in place.
bool GiveSecondName(const Sandbox& sandbox) {
    return ::CreateHardLinkA(sandbox.Path("other.ini").c_str(), sandbox.IniPath().c_str(),
                             nullptr) != 0;
}

using Ms = std::chrono::milliseconds;

Ms MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - start);
}

class Win32HeldLock : public ::testing::TestWithParam<WritePath> {};

TEST_P(Win32HeldLock, WriterWaitsThenSwapsButNeverRewritesInPlaceAndTheLockDiesWithItsHolder) {
    Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    const std::string before = "[S]\r\nk=1\r\n";
    sandbox.WriteBytes("qfd.ini", before);
    const bool inPlace = GetParam() == WritePath::InPlace;
    if (inPlace) {
        ASSERT_TRUE(GiveSecondName(sandbox));
    }
    ChildProcess holder({"lock", LockPathFor(ini), sandbox.Path("answer")});
    ASSERT_EQ(AwaitAnswer(sandbox.Path("answer")), "held");

    std::string value = "2";
    auto start = std::chrono::steady_clock::now();
    WriteOutcome outcome = WriteIni(ini, "S", "k", value);
    EXPECT_GE(MsSince(start), Ms(kPatientLockWaitMs));
    EXPECT_TRUE(outcome.lockTimedOut);
    if (inPlace) {
        EXPECT_EQ(outcome.error, StoreError::Busy);
        EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), before);
        EXPECT_EQ(sandbox.ReadBytes("other.ini"), before);
        EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
    } else {
        EXPECT_TRUE(outcome.Ok());
        EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=2\r\n");
    }
    const std::string held = sandbox.ReadBytes("qfd.ini");
    // A writer that may not wait never writes without the lock, on either path.
    value = "4";
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(WriteIni(ini, "S", "k", value, LockWait::None).error, StoreError::Busy);
    EXPECT_LT(MsSince(start), Ms(kPatientLockWaitMs));
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), held);
    EXPECT_EQ(
        FileLock::Acquire(LockPathFor(ini), FileLock::Mode::Shared, Ms(50), false).CurrentState(),
        FileLock::State::TimedOut);
    holder.Kill();
    value = "3";
    outcome = WriteIni(ini, "S", "k", value);
    EXPECT_TRUE(outcome.Ok()) << outcome.Describe();
    EXPECT_FALSE(outcome.lockTimedOut);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=3\r\n");

    // A holder that lets go while a patient writer waits: the writer gets the lock.
    ChildProcess late({"lock", LockPathFor(ini), sandbox.Path("late")});
    ASSERT_EQ(AwaitAnswer(sandbox.Path("late")), "held");
    std::atomic<bool> writing = false;
    std::thread release([&] {
        while (!writing) std::this_thread::yield();
        std::this_thread::sleep_for(Ms(300));
        late.Kill();
    });
    value = "5";
    writing = true;
    outcome = WriteIni(ini, "S", "k", value);
    release.join();
    EXPECT_TRUE(outcome.Ok()) << outcome.Describe();
    EXPECT_FALSE(outcome.lockTimedOut);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=5\r\n");
    if (inPlace) {
        EXPECT_EQ(sandbox.ReadBytes("other.ini"), "[S]\r\nk=5\r\n");
    }
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

INSTANTIATE_TEST_SUITE_P(Paths, Win32HeldLock,
                         ::testing::Values(WritePath::Swap, WritePath::InPlace), WritePathName);

// This process's threads and open handles, as the system counts them.
struct Footprint {
    int threads = 0;
    DWORD handles = 0;
};

// Where the system does not count them (Wine reports none, which no process has), the handle
// values that name an open handle are counted instead: values are handed out lowest free first, so
// a long run of unused ones is the end of the table.
DWORD OpenHandles() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) return count;
    for (ULONG_PTR value = 4, unused = 0; unused < 1024; value += 4) {
        DWORD flags = 0;
        const bool open = ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
        count += open;
        unused = open ? 0 : unused + 1;
    }
    return count;
}

Footprint FootprintNow() {
    Footprint f;
    f.handles = OpenHandles();
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return f;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more;
         more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++f.threads;
    }
    ::CloseHandle(snapshot);
    return f;
}

TEST(Win32FileLock, WaitsThatGiveUpLeaveNoThreadOrHandleBehind) {
    Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=1\r\n");
    ChildProcess holder({"lock", LockPathFor(ini), sandbox.Path("answer")});
    ASSERT_EQ(AwaitAnswer(sandbox.Path("answer")), "held");
    // What the first waits set up once for good is no leak.
    std::string value = "0";
    EXPECT_EQ(WriteIni(ini, "S", "k", value, LockWait::None).error, StoreError::Busy);
    EXPECT_FALSE(FileLock::Acquire(LockPathFor(ini), FileLock::Mode::Shared, Ms(5), false).Held());

    const Footprint before = FootprintNow();
    int timedOut = 0;
    for (int i = 0; i < 200; ++i) {
        const FileLock lock =
            FileLock::Acquire(LockPathFor(ini), FileLock::Mode::Shared, Ms(i % 2 ? 5 : 0), false);
        timedOut += lock.CurrentState() == FileLock::State::TimedOut;
    }
    EXPECT_EQ(timedOut, 200);
    for (int i = 1; i <= 2; ++i) {
        value = std::to_string(i);
        const WriteOutcome outcome = WriteIni(ini, "S", "k", value);
        EXPECT_TRUE(outcome.Ok() && outcome.lockTimedOut) << outcome.Describe();
    }
    const Footprint after = FootprintNow();
    EXPECT_LE(after.threads, before.threads + 2);
    EXPECT_LE(after.handles, before.handles + 2);

    // The counts do see a thread stuck in a wait, and its handles.
    HANDLE gate = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread stuck([gate] { ::WaitForSingleObject(gate, INFINITE); });
    const Footprint withStuck = FootprintNow();
    ::SetEvent(gate);
    stuck.join();
    ::CloseHandle(gate);
    EXPECT_GE(withStuck.threads, after.threads + 1);
    EXPECT_GE(withStuck.handles, after.handles + 2);
}

TEST(Win32FileLock, SharedLocksCoexistAndKeepAWriterOut) {
    Sandbox sandbox;
    const std::string lockPath = sandbox.Path("qfd.ini.lock");
    FileLock first =
        FileLock::Acquire(lockPath, FileLock::Mode::Shared, std::chrono::milliseconds(100), true);
    FileLock second =
        FileLock::Acquire(lockPath, FileLock::Mode::Shared, std::chrono::milliseconds(100), true);
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(second.Held());
    EXPECT_EQ(
        FileLock::Acquire(lockPath, FileLock::Mode::Exclusive, std::chrono::milliseconds(50), true)
            .CurrentState(),
        FileLock::State::TimedOut);
    first = FileLock();
    second = FileLock();
    EXPECT_TRUE(
        FileLock::Acquire(lockPath, FileLock::Mode::Exclusive, std::chrono::milliseconds(50), true)
            .Held());
    EXPECT_EQ(FileLock::Acquire(sandbox.Path("gone/qfd.ini.lock"), FileLock::Mode::Shared,
                                std::chrono::milliseconds(50), true)
                  .CurrentState(),
              FileLock::State::Unavailable);
}

// An installation's file with the mailbox last, padded so that rewriting it takes long enough for
// a reader to run into a half-written file if nothing kept it out.
std::string InstallationFile() {
    std::string f = "[Settings]\r\nmyName=Bruce\r\nDelay= 5\r\nLatency= 100\r\n";
    f += "[Padding]\r\n" + std::string(200000, ';') + "\r\n";
    return f + "[Commands]\r\nType=0\r\n";
}

class Win32TornReads : public ::testing::TestWithParam<WritePath> {};

TEST_P(Win32TornReads, ReaderSeesOnlyTheOldOrTheNewValue) {
    Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", InstallationFile());
    if (GetParam() == WritePath::InPlace) {
        ASSERT_TRUE(GiveSecondName(sandbox));
    }
    ChildProcess writer({"toggle", ini, "400"});
    ASSERT_TRUE(writer.started());
    int reads = 0, torn = 0;
    while (writer.Running() || reads == 0) {
        const std::string t = ReadIni(ini, "Commands", "Type", "missing");
        const std::string name = ReadIni(ini, "Settings", "myName", "missing");
        ++reads;
        if ((t != "0" && t != "1") || name != "Bruce") ++torn;
    }
    EXPECT_EQ(writer.Wait(0), 0);
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    if (GetParam() == WritePath::InPlace) {
        EXPECT_EQ(sandbox.ReadBytes("other.ini"), sandbox.ReadBytes("qfd.ini"));
    }
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

INSTANTIATE_TEST_SUITE_P(Paths, Win32TornReads,
                         ::testing::Values(WritePath::Swap, WritePath::InPlace), WritePathName);

class Win32LostUpdates : public ::testing::TestWithParam<WritePath> {};

TEST_P(Win32LostUpdates, EveryWritersKeysHoldTheirLastValue) {
    Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    if (GetParam() == WritePath::InPlace) {
        sandbox.WriteBytes("qfd.ini", "[Commands]\r\n");
        ASSERT_TRUE(GiveSecondName(sandbox));
    }
    constexpr int kWriters = 3, kKeys = 3, kRounds = 20;
    std::vector<std::unique_ptr<ChildProcess>> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.push_back(std::make_unique<ChildProcess>(std::vector<std::string>{
            "keys", ini, std::to_string(w), std::to_string(kKeys), std::to_string(kRounds)}));
    }
    // The patient wait outlasts any other writer's hold, so no writer goes without the lock (it
    // would exit with 3, or with 1 where the rewrite in place then refuses) and no update is lost.
    for (auto& writer : writers) EXPECT_EQ(writer->Wait(120000), 0);
    for (int w = 0; w < kWriters; ++w) {
        for (int k = 0; k < kKeys; ++k) {
            const std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
            EXPECT_EQ(ReadIni(ini, "Commands", key, "lost"), std::to_string(kRounds - 1)) << key;
        }
    }
    if (GetParam() == WritePath::InPlace) {
        EXPECT_EQ(sandbox.ReadBytes("other.ini"), sandbox.ReadBytes("qfd.ini"));
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, Win32LostUpdates,
                         ::testing::Values(WritePath::Swap, WritePath::InPlace), WritePathName);

TEST(Win32KilledWriter, NextWriterFinishesAnInterruptedRewriteInPlace) {
    Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    // What a writer killed in the middle of a rewrite in place leaves behind: the new contents
    // written part of the way over the previous ones, and the complete redo file.
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=ned\r\n[T]\r\nt=old\r\n");
    sandbox.WriteBytes("qfd.ini.redo", MakeRedoRecord("[S]\r\nk=old\r\n[T]\r\nt=old\r\n",
                                                      "[S]\r\nk=new\r\n[T]\r\nt=old\r\n"));
    ASSERT_TRUE(GiveSecondName(sandbox));
    EXPECT_EQ(ReadIni(ini, "S", "k", "missing"), "new");
    std::string value = "x";
    ASSERT_TRUE(WriteIni(ini, "S", "u", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=new\r\nu=x\r\n[T]\r\nt=old\r\n");
    EXPECT_EQ(sandbox.ReadBytes("other.ini"), sandbox.ReadBytes("qfd.ini"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

}  // namespace
}  // namespace qfd::test
