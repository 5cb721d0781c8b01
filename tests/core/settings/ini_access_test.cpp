// ReadIni and WriteIni against real files: limits, damaged and hostile files, and what lands on
// disk.
#include "core/settings/ini_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/network/mailbox.h"
#include "core/platform/file_lock.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

namespace fs = std::filesystem;

class IniAccessTest : public ::testing::Test {
  protected:
    std::string Read(const char* section, const char* key, const char* dflt = "dflt") {
        return ReadIni(ini, section, key, dflt);
    }
    WriteOutcome Write(const char* section, const char* key, std::string value) {
        return WriteIni(ini, section, key, value);
    }
    static ino_t Inode(const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_ino;
    }

    test::Sandbox sandbox;
    std::string ini = sandbox.IniPath();
};

TEST_F(IniAccessTest, LongValueReadsBackAsItsFirst254Bytes) {
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(Read("S", "k"), std::string(254, 'x'));
}

TEST_F(IniAccessTest, CutAt254NeverLeavesHalfAUtf8Character) {
    // "é" is two bytes; placed across the limit it goes whole, a Windows-1252 byte stays.
    sandbox.WriteBytes("qfd.ini", "[S]\r\nu=" + std::string(253, 'a') + "\xC3\xA9" + "b\r\n" +
                                      "w=" + std::string(253, 'a') + "\xE9\xE9\r\n");
    EXPECT_EQ(Read("S", "u"), std::string(253, 'a'));
    EXPECT_EQ(Read("S", "w"), std::string(253, 'a') + "\xE9");
}

TEST_F(IniAccessTest, EmptyValueIsNotTheDefault) {
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nmyName=\r\n");
    EXPECT_EQ(Read("Settings", "myName", "dflt"), "");
    EXPECT_EQ(Read("Settings", "other", "dflt  "), "dflt");
}

TEST_F(IniAccessTest, LineBreaksBecomeBlanksInTheCallersVariableAndTheFile) {
    std::string text = "Quorf\r\nAlert\n";
    ASSERT_TRUE(WriteIni(ini, "Settings", "QFtext", text).Ok());
    EXPECT_EQ(text, "Quorf  Alert ");
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Settings]\r\nQFtext=Quorf  Alert \r\n");
}

TEST_F(IniAccessTest, NewFileIsCrlfAndNumbersKeepTheirBlank) {
    ASSERT_TRUE(Write("Settings", "splashDelay", " 30").Ok());
    ASSERT_TRUE(Write("Commands", "Type", "0").Ok());
    ASSERT_TRUE(Write("Settings", "Delay", " 7").Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              "[Settings]\r\nsplashDelay= 30\r\nDelay= 7\r\n[Commands]\r\nType=0\r\n");
    EXPECT_EQ(Read("Settings", "Delay"), "7");
}

TEST_F(IniAccessTest, ValueLimitIs32767Bytes) {
    ASSERT_TRUE(Write("S", "k", std::string(32767, 'v')).Ok());
    const std::string before = sandbox.ReadBytes("qfd.ini");
    const WriteOutcome tooLong = Write("S", "k", std::string(32768, 'w'));
    EXPECT_EQ(tooLong.error, StoreError::ValueTooLong);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), before);
}

TEST_F(IniAccessTest, NeverWritesALineLongerThan65535) {
    const WriteOutcome outcome =
        Write("S", std::string(40000, 'k').c_str(), std::string(30000, 'v'));
    EXPECT_EQ(outcome.error, StoreError::LineTooLong);
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
}

TEST_F(IniAccessTest, FileOver4MiBIsUnreadableAndNeverTouched) {
    const std::string big = "[S]\r\nk=v\r\n" + std::string(kMaxSettingsFileBytes, ';');
    sandbox.WriteBytes("qfd.ini", big);
    EXPECT_EQ(Read("S", "k"), "dflt");
    EXPECT_EQ(Write("S", "k", "w").error, StoreError::FileTooLarge);
    EXPECT_EQ(fs::file_size(ini), big.size());
    EXPECT_FALSE(sandbox.Exists("qfd.ini.lock"));
}

TEST_F(IniAccessTest, FileOfExactly4MiBIsStillRead) {
    std::string file = "[S]\r\nk=v\r\n";
    file += std::string(kMaxSettingsFileBytes - file.size(), ';');
    sandbox.WriteBytes("qfd.ini", file);
    EXPECT_EQ(Read("S", "k"), "v");
}

#ifndef _WIN32
// Windows has no pipes inside folders; its own pipes are tested in tests/win32.
TEST_F(IniAccessTest, PipeInPlaceOfTheFileNeverHangs) {
    ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
    EXPECT_EQ(Read("Commands", "Type", "0"), "0");
    EXPECT_EQ(Write("Commands", "Type", "1").error, StoreError::NotRegularFile);
}
#endif

TEST_F(IniAccessTest, DirectoryInPlaceOfTheFileFailsTheWrite) {
    fs::create_directory(ini);
    EXPECT_EQ(Read("S", "k"), "dflt");
    EXPECT_EQ(Write("S", "k", "v").error, StoreError::AccessDenied);
}

TEST_F(IniAccessTest, MissingFolderFailsAndCreatesNothing) {
    const std::string elsewhere = sandbox.Path("gone/qfd.ini");
    std::string value = "1";
    EXPECT_EQ(WriteIni(elsewhere, "Commands", "Type", value).error, StoreError::PathNotFound);
    EXPECT_FALSE(sandbox.Exists("gone"));
    EXPECT_EQ(ReadIni(elsewhere, "Commands", "Type", "0"), "0");
}

TEST_F(IniAccessTest, FileWithoutWriteBitsIsNeverWrittenEvenBySuperuser) {
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=v\r\n");
    fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(Write("S", "k", "w").error, StoreError::AccessDenied);
    EXPECT_EQ(Write("S", "new", "w").error, StoreError::AccessDenied);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(Read("S", "k"), "v");
    EXPECT_FALSE(sandbox.Exists("qfd.ini.lock"));
}

TEST_F(IniAccessTest, RewritingTheSameValueLeavesTheFileUntouched) {
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nDelay= 7\r\n");
    const ino_t before = Inode(ini);
    const WriteOutcome outcome = Write("Settings", "Delay", " 7");
    EXPECT_TRUE(outcome.Ok());
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(Inode(ini), before);
}

TEST_F(IniAccessTest, ReplacementKeepsTheFileMode) {
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=1\r\n");
    fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Write("S", "k", "2").Ok());
    EXPECT_EQ(fs::status(ini).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
}

TEST_F(IniAccessTest, LinkedFileIsRewrittenThroughTheLink) {
    sandbox.WriteBytes("real.ini", "[S]\r\nk=1\r\n");
    fs::create_symlink(sandbox.Path("real.ini"), ini);
    ASSERT_TRUE(Write("S", "k", "2").Ok());
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(sandbox.ReadBytes("real.ini"), "[S]\r\nk=2\r\n");

    fs::create_hard_link(sandbox.Path("real.ini"), sandbox.Path("hard.ini"));
    std::string value = "3";
    ASSERT_TRUE(WriteIni(sandbox.Path("hard.ini"), "S", "k", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("real.ini"), "[S]\r\nk=3\r\n");
}

TEST_F(IniAccessTest, LeftoverTemporaryFileFromACrashIsCleanedUp) {
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=1\r\n");
    sandbox.WriteBytes("qfd.ini.tmp", "[S]\r\nk=half-writ");
    ASSERT_TRUE(Write("S", "k", "2").Ok());
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=2\r\n");
}

// UTF-16LE, code unit by code unit, for text of ASCII and Latin-1 characters given as UTF-8.
std::string Utf16(std::string_view latin1) {
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < latin1.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(latin1[i]);
        if (c == 0xC3) c = static_cast<unsigned char>(0xC0 | (latin1[++i] & 0x3F));
        out += static_cast<char>(c);
        out += '\0';
    }
    return out;
}

TEST_F(IniAccessTest, FileInUtf16IsReadAndWrittenInUtf16) {
    sandbox.WriteBytes("qfd.ini", Utf16("[Settings]\r\nmyName=Zoë\r\n[Commands]\r\nType=0\r\n"));
    EXPECT_EQ(Read("Settings", "myName"), "Zo\xC3\xAB");
    ASSERT_TRUE(Write("Commands", "Type", "1").Ok());
    ASSERT_TRUE(Write("Commands", "NetName", "Andr\xE9").Ok());  // typed text in Windows-1252
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              Utf16("[Settings]\r\nmyName=Zoë\r\n[Commands]\r\nType=1\r\nNetName=André\r\n"));
    const std::optional<MailboxRecord> seen = LookIntoMailbox(ini, "top", "bottom");
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->NetName, "Andr\xC3\xA9");
}

// Another process holds the lock for longer than the writer waits. Only a whole-file replacement
// may go ahead without it; a rewrite in place never does, and a writer that would not wait never
// writes at all. A redo file that a writer killed meanwhile may have left goes with a replacement
// all the same: without the lock nobody can rule one out.
struct BusyLockCase {
    const char* name;
    bool inPlace;  // the file has a second name, so it can only be rewritten in place
    LockWait wait;
    StoreError error;
};

class LockHeldByAnother : public IniAccessTest,
                          public ::testing::WithParamInterface<BusyLockCase> {};

TEST_P(LockHeldByAnother, WriteGoesAheadOnlyByReplacingTheWholeFile) {
    const BusyLockCase& row = GetParam();
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=1\r\n");
    sandbox.WriteBytes("qfd.ini.redo", "left over");
    if (row.inPlace) std::filesystem::create_hard_link(ini, sandbox.Path("second-name.ini"));
    const FileLock other = FileLock::Acquire(LockPathFor(ini), FileLock::Mode::Exclusive,
                                             std::chrono::milliseconds(0), true);
    ASSERT_TRUE(other.Held());
    std::string value = "2";
    const WriteOutcome outcome = WriteIni(ini, "S", "k", value, row.wait);
    EXPECT_EQ(outcome.error, row.error);
    EXPECT_EQ(outcome.lockTimedOut, row.wait == LockWait::Patient);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), outcome.Ok() ? "[S]\r\nk=2\r\n" : "[S]\r\nk=1\r\n");
    if (outcome.Ok()) {
        EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
    } else {
        EXPECT_EQ(sandbox.ReadBytes("qfd.ini.redo"), "left over") << "nothing journalled either";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LockHeldByAnother,
    ::testing::Values(BusyLockCase{"RenamePatient", false, LockWait::Patient, StoreError::None},
                      BusyLockCase{"RenameNoWait", false, LockWait::None, StoreError::Busy},
                      BusyLockCase{"InPlacePatient", true, LockWait::Patient, StoreError::Busy},
                      BusyLockCase{"InPlaceNoWait", true, LockWait::None, StoreError::Busy}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(IniAccessTest, BinaryGarbageAroundKeysIsKeptAndReadsStillWork) {
    std::string garbage;
    for (int i = 0; i < 256; ++i) garbage.push_back(static_cast<char>(i));
    sandbox.WriteBytes("qfd.ini", "[S]\r\n" + garbage + "\r\nk=v\r\n");
    EXPECT_EQ(Read("S", "k"), "v");
    ASSERT_TRUE(Write("S", "k", "w").Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\n" + garbage + "\r\nk=w\r\n");
}

}  // namespace
}  // namespace qfd
