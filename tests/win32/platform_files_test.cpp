// Settings files as Windows has them: pipes, read-only and hidden files, second names.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "core/settings/ini_access.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

TEST(Win32Files, PipeInPlaceOfTheFileNeverHangs) {
    const std::string pipe = "\\\\.\\pipe\\qfd-test-" + std::to_string(::GetCurrentProcessId());
    HANDLE server = ::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 4, 4096,
                                       4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadIni(pipe, "Commands", "Type", "0"), "0");
    std::string value = "1";
    EXPECT_EQ(WriteIni(pipe, "Commands", "Type", value).error, StoreError::NotRegularFile);
    ::CloseHandle(server);
}

TEST(Win32Files, ReadOnlyFileIsRefusedAndStaysAsItWas) {
    Sandbox sandbox;
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(::SetFileAttributesA(sandbox.IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
    std::string value = "2";
    EXPECT_EQ(WriteIni(sandbox.IniPath(), "S", "k", value).error, StoreError::AccessDenied);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=1\r\n");
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.lock"));
    ::SetFileAttributesA(sandbox.IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// (The creation time is carried over too, but Wine keeps no creation times to check it by.)
TEST(Win32Files, ReplacementKeepsTheFilesAttributes) {
    Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::string value = "2";
    ASSERT_TRUE(WriteIni(ini, "S", "k", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=2\r\n");
    EXPECT_NE(Attributes(ini) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
}

TEST(Win32Files, FileWithASecondNameIsRewrittenThroughBoth) {
    Sandbox sandbox;
    sandbox.WriteBytes("real.ini", "[S]\r\nk=1\r\n");
    ASSERT_TRUE(
        ::CreateHardLinkA(sandbox.IniPath().c_str(), sandbox.Path("real.ini").c_str(), nullptr));
    std::string value = "2";
    ASSERT_TRUE(WriteIni(sandbox.IniPath(), "S", "k", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("real.ini"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=2\r\n");
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

TEST(Win32Files, FolderInPlaceOfTheFileAndMissingFolderFail) {
    Sandbox sandbox;
    ASSERT_TRUE(::CreateDirectoryA(sandbox.IniPath().c_str(), nullptr));
    std::string value = "1";
    EXPECT_EQ(ReadIni(sandbox.IniPath(), "S", "k", "dflt"), "dflt");
    EXPECT_EQ(WriteIni(sandbox.IniPath(), "S", "k", value).error, StoreError::AccessDenied);
    EXPECT_EQ(WriteIni(sandbox.Path("gone\\qfd.ini"), "S", "k", value).error,
              StoreError::PathNotFound);
    EXPECT_FALSE(sandbox.Exists("gone"));
}

}  // namespace
}  // namespace qfd::test
