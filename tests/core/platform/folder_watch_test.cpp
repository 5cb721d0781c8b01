// Notices that the settings file in an installation folder changed, with real files.
#include "core/platform/folder_watch.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#endif

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/network/mailbox.h"
#include "core/settings/ini_access.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

// Whether the watch has something to tell within the time, as a front end waits for it.
bool ReadyWithin(const FolderWatch& watch, int milliseconds) {
#ifdef _WIN32
    return ::WaitForSingleObject(watch.WaitHandle(), static_cast<DWORD>(milliseconds)) ==
           WAIT_OBJECT_0;
#else
    pollfd ready{watch.WaitHandle(), POLLIN, 0};
    return ::poll(&ready, 1, milliseconds) == 1;
#endif
}

// Waits until the watch has something to tell. The bound only keeps a broken watch from hanging
// the run; it measures nothing.
bool Ready(const FolderWatch& watch) { return ReadyWithin(watch, 30'000); }

class FolderWatchTest : public ::testing::Test {
  protected:
    void Write(const char* key, std::string value) {
        ASSERT_TRUE(WriteIni(ini, "Settings", key, value).Ok());
    }

    Sandbox sandbox;
    std::string ini = sandbox.IniPath();
};

enum class Writer { Rename, RenameOfANewFile, InPlace, InPlaceUnderTheLock, Peer };

class OtherWriter : public FolderWatchTest, public ::testing::WithParamInterface<Writer> {};

TEST_P(OtherWriter, ChangeIsToldOnce) {
    if (GetParam() != Writer::RenameOfANewFile) Write("myName", "Pat");
    // A file with a second name is rewritten in place by the store, journalled under its lock.
    if (GetParam() == Writer::InPlaceUnderTheLock)
        std::filesystem::create_hard_link(ini, sandbox.Path("second-name.ini"));
    FolderWatch watch(ini);
    ASSERT_TRUE(watch.Active());
    EXPECT_FALSE(watch.DrainChanges()) << "nothing has changed yet";
    switch (GetParam()) {
        case Writer::Rename:
        case Writer::RenameOfANewFile:
        case Writer::InPlaceUnderTheLock:
            Write("Delay", "7");
            break;
        case Writer::InPlace:
            sandbox.WriteBytes("qfd.ini", "[Settings]\r\nDelay=7\r\n");
            break;
        case Writer::Peer:
            ASSERT_TRUE(SendNetworkAlert(ini, AlertRecord{"0", "Ann", "Hark", "Bunkum"}).Ok());
            break;
    }
    ASSERT_TRUE(Ready(watch));
    EXPECT_TRUE(watch.DrainChanges());
    EXPECT_FALSE(watch.DrainChanges());
}

INSTANTIATE_TEST_SUITE_P(Rows, OtherWriter,
                         ::testing::Values(Writer::Rename, Writer::RenameOfANewFile,
                                           Writer::InPlace, Writer::InPlaceUnderTheLock,
                                           Writer::Peer));

TEST_F(FolderWatchTest, ReadersAndOtherFilesInTheFolderAreNotTold) {
    // What every poll does, the store's own lock, new and redo files, and a neighbour's settings.
    Write("myName", "Pat");
    FolderWatch watch(ini);
    EXPECT_TRUE(LookIntoMailbox(ini, "Quorf", "Alert").has_value());
    for (const char* name : {"qfd.ini.lock", "qfd.ini.tmp", "qfd.ini.redo", "other.ini"}) {
        sandbox.WriteBytes(name, "[Settings]\r\n");
    }
    std::string value = "7";
    ASSERT_TRUE(WriteIni(sandbox.Path("qfd.ini.bak"), "Settings", "Delay", value).Ok());
    ASSERT_TRUE(std::filesystem::remove(sandbox.Path("other.ini")));
    ASSERT_TRUE(Ready(watch)) << "the folder's notices wake the waiter";
    EXPECT_FALSE(watch.DrainChanges());
}

TEST_F(FolderWatchTest, UnwatchableFolderTellsNothing) {
    sandbox.WriteBytes("file", "not a folder");
    for (const std::string& path :
         {sandbox.Path("missing/qfd.ini"), sandbox.Path("file/qfd.ini"), sandbox.Path("")}) {
        SCOPED_TRACE(path);
        FolderWatch watch(path);
        EXPECT_FALSE(watch.Active());
        EXPECT_EQ(watch.WaitHandle(), NativeHandle().Get());
        EXPECT_FALSE(watch.DrainChanges());
    }
}

}  // namespace
}  // namespace qfd::test
