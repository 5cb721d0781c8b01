// Adding and removing detectors in "Network Settings": which slot a path goes to, what is refused,
// and the file exactly as it lands on disk.
#include "core/network/detector_list_editor.h"

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "core/network/network_menus.h"
#include "core/settings/ini_access.h"
#include "tests/support/run_as_nobody.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

struct FolderCase {
    const char* file;
    const char* folder;
};

class DetectorPathFromFile : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DetectorPathFromFile, IsTheFolderWithItsSeparator) {
    EXPECT_EQ(DetectorPathForProgramFile(GetParam().file), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DetectorPathFromFile,
    ::testing::Values(FolderCase{"/mnt/pc2/qfd/qfd", "/mnt/pc2/qfd/"},
                      FolderCase{"/mnt/pc2/qfd/qfd.exe", "/mnt/pc2/qfd/"},  // a Windows peer
                      FolderCase{"/mnt/pc2/qfd/quorf", "/mnt/pc2/qfd/"},    // no cut of 7 bytes
                      FolderCase{"/q", "/"}, FolderCase{"/a b/é/qfd", "/a b/é/"},
                      FolderCase{"qfd", ""}));

class DetectorListEditorTest : public ::testing::Test {
  protected:
    std::string Slot(int n) const {
        return ReadIni(sandbox.IniPath(), "Network Settings", DetectorSlotKey(n), "<missing>");
    }
    Sandbox sandbox;
};

TEST_F(DetectorListEditorTest, FirstAddCreatesSlotZero) {
    const DetectorStoreOutcome outcome = StoreDetector(sandbox.IniPath(), "/mnt/a/");
    EXPECT_EQ(outcome.result, DetectorStoreResult::Stored);
    EXPECT_EQ(outcome.slot, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Network Settings]\r\nOption 0=/mnt/a/\r\n");
}

struct SlotCase {
    const char* name;
    std::string section;
    std::string path;
    int slot;
};

class DetectorSlotChoice : public DetectorListEditorTest,
                           public ::testing::WithParamInterface<SlotCase> {};

TEST_P(DetectorSlotChoice, LowestFreeOrSameInAnyCase) {
    sandbox.WriteBytes("qfd.ini", "[Network Settings]\r\n" + GetParam().section);
    const DetectorStoreOutcome outcome = StoreDetector(sandbox.IniPath(), GetParam().path);
    EXPECT_EQ(outcome.result, DetectorStoreResult::Stored);
    EXPECT_EQ(outcome.slot, GetParam().slot);
    EXPECT_EQ(Slot(GetParam().slot), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectorSlotChoice,
    ::testing::Values(
        SlotCase{"EmptyValueIsFree", "Option 0=/a/\r\nOption 1=\r\nOption 2=/c/\r\n", "/b/", 1},
        SlotCase{"MissingKeyIsFree", "Option 0=/a/\r\nOption 2=/c/\r\n", "/b/", 1},
        SlotCase{"BlankValueIsFree", "Option 0=/a/\r\nOption 1=   \r\n", "/b/", 1},
        SlotCase{"KeyWithoutBlankIsNoSlot", "Option0=/a/\r\n", "/b/", 0},
        SlotCase{"SameInOtherCaseComesFirst", "Option 0=/a/\r\nOption 1=/MNT/B/\r\n", "/mnt/b/", 1},
        SlotCase{"FreeSlotBeforeSameInOtherCase", "Option 0=\r\nOption 1=/MNT/B/\r\n", "/mnt/b/",
                 0}),
    [](const auto& row) { return std::string(row.param.name); });

std::string FullList() {
    std::string section = "[Network Settings]\r\n";
    for (int slot = 0; slot < kDetectorSlotCount; ++slot)
        section += DetectorSlotKey(slot) + "=/d" + std::to_string(slot) + "/\r\n";
    return section;
}

TEST_F(DetectorListEditorTest, LastSlotIsUsedWhenAllOthersAreTaken) {
    std::string file = FullList();
    const std::string last = "Option 500=/d500/\r\n";
    file.replace(file.find(last), last.size(), "Option 500=\r\n");
    sandbox.WriteBytes("qfd.ini", file);
    const DetectorStoreOutcome outcome = StoreDetector(sandbox.IniPath(), "/z/");
    EXPECT_EQ(outcome.slot, 500);
    EXPECT_EQ(Slot(500), "/z/");
}

TEST_F(DetectorListEditorTest, FullListStoresNothing) {
    sandbox.WriteBytes("qfd.ini", FullList());
    EXPECT_EQ(StoreDetector(sandbox.IniPath(), "/z/").result, DetectorStoreResult::ListFull);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), FullList());
    // A path already listed, in other letter case, still finds its own slot.
    EXPECT_EQ(StoreDetector(sandbox.IniPath(), "/D7/").slot, 7);
}

TEST_F(DetectorListEditorTest, PathThatWouldReadBackCutIsRefused) {
    const std::string fits = "/" + std::string(252, 'a') + "/";
    const std::string tooLong = "/" + std::string(253, 'a') + "/";
    EXPECT_EQ(StoreDetector(sandbox.IniPath(), tooLong).result, DetectorStoreResult::PathTooLong);
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
    ASSERT_EQ(StoreDetector(sandbox.IniPath(), fits).result, DetectorStoreResult::Stored);
    EXPECT_EQ(ReadNetworkDetectorList(sandbox.IniPath()), std::vector<std::string>{fits});
}

TEST_F(DetectorListEditorTest, MissingFolderIsReportedNotWritten) {
    const std::string ini = (sandbox.Dir() / "gone" / "qfd.ini").string();
    const DetectorStoreOutcome outcome = StoreDetector(ini, "/a/");
    EXPECT_EQ(outcome.result, DetectorStoreResult::NotWritten);
    EXPECT_EQ(outcome.write.error, StoreError::PathNotFound);
}

TEST_F(DetectorListEditorTest, ReadOnlySettingsFileIsReportedAndKept) {
    const std::string file = "[Network Settings]\r\nOption 0=/a/\r\nOption 1=/b/\r\n";
    sandbox.WriteBytes("qfd.ini", file);
    ASSERT_EQ(::chmod(sandbox.IniPath().c_str(), 0444), 0);
    ::chmod(sandbox.Dir().string().c_str(), 0755);
    const std::string ini = sandbox.IniPath();
    const std::optional<int> result = RunUnprivileged([&] {
        const DetectorStoreOutcome add = StoreDetector(ini, "/c/");
        if (add.result != DetectorStoreResult::NotWritten || add.slot != 2) return 1;
        if (add.write.error != StoreError::AccessDenied) return 2;
        const DetectorClearOutcome clear = ClearDetector(ini, "/a/");
        if (clear.slotsCleared != 0 || clear.slotsFailed != 1) return 3;
        return 0;
    });
    if (!result) GTEST_SKIP() << "cannot run as an unprivileged user";
    EXPECT_EQ(*result, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), file);
}

TEST_F(DetectorListEditorTest, ClearEmptiesEveryExactMatchAndKeepsTheOtherSlots) {
    sandbox.WriteBytes("qfd.ini",
                       "[Network Settings]\r\nOption 0=/a/\r\nOption 1=/b/\r\nOption 2=/A/\r\n"
                       "Option 3=/a/\r\n");
    const DetectorClearOutcome outcome = ClearDetector(sandbox.IniPath(), "/a/");
    EXPECT_EQ(outcome.slotsCleared, 2);
    EXPECT_EQ(outcome.slotsFailed, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              "[Network Settings]\r\nOption 0=\r\nOption 1=/b/\r\nOption 2=/A/\r\nOption 3=\r\n");
    EXPECT_EQ(ClearDetector(sandbox.IniPath(), "/zz/").slotsCleared, 0);
    EXPECT_EQ(ClearDetector(sandbox.IniPath(), "").slotsCleared, 0);
    EXPECT_EQ(ReadNetworkDetectorList(sandbox.IniPath()), (std::vector<std::string>{"/b/", "/A/"}));
}

}  // namespace
}  // namespace qfd::test
