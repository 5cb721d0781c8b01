// One running process per installation; installations in other folders are not affected.
#include "core/platform/single_instance.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/sandbox.h"
#ifndef _WIN32
#include "tests/support/forked_child.h"
#endif

namespace qfd::test {
namespace {

using State = SingleInstance::State;

TEST(SingleInstance, SecondClaimOfTheSameProgramFileIsRefusedUntilTheFirstEnds) {
    Sandbox a;
    a.WriteBytes("qfd", "program");
    const auto before = std::filesystem::directory_entry(a.Path("qfd")).last_write_time();
    {
        SingleInstance first = SingleInstance::Claim(a.Path("qfd"));
        EXPECT_EQ(first.CurrentState(), State::Ours);
        SingleInstance second = SingleInstance::Claim(a.Path("qfd"));
        EXPECT_EQ(second.CurrentState(), State::HeldByAnother);
        EXPECT_TRUE(second.AnotherInstanceRunning());
        SingleInstance moved = std::move(first);
        EXPECT_EQ(SingleInstance::Claim(a.Path("qfd")).CurrentState(), State::HeldByAnother);
    }
    EXPECT_EQ(SingleInstance::Claim(a.Path("qfd")).CurrentState(), State::Ours);
    // Nothing was created or written in the installation folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(a.Dir()), {}), 1);
    EXPECT_EQ(std::filesystem::directory_entry(a.Path("qfd")).last_write_time(), before);
}

TEST(SingleInstance, AnotherFolderRunsSideBySide) {
    Sandbox a, b;
    a.WriteBytes("qfd", "program");
    b.WriteBytes("qfd", "program");
    SingleInstance first = SingleInstance::Claim(a.Path("qfd"));
    EXPECT_EQ(SingleInstance::Claim(b.Path("qfd")).CurrentState(), State::Ours);
    EXPECT_EQ(first.CurrentState(), State::Ours);
}

#ifndef _WIN32
// Forks a claimant; the Windows form with real processes is in tests/win32.
TEST(SingleInstance, ClaimOfAnotherProcessIsSeenAndEndsWithIt) {
    Sandbox a;
    a.WriteBytes("qfd", "program");
    a.WriteBytes("qfd.ini", "");
    int toChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ForkedChild child([&]() -> int {
        SingleInstance mine = SingleInstance::Claim(a.Path("qfd"));
        char c;
        // Tell the parent by the ini's size, then wait until it has looked.
        a.WriteBytes("qfd.ini", mine.CurrentState() == State::Ours ? "x" : "xx");
        (void)!::read(toChild[0], &c, 1);
        ::_exit(0);  // with the claim still held: the system must release it with the process
    });
    ASSERT_TRUE(child.Started());
    while (a.ReadBytes("qfd.ini").empty()) ::usleep(1000);
    EXPECT_EQ(a.ReadBytes("qfd.ini"), "x");
    EXPECT_EQ(SingleInstance::Claim(a.Path("qfd")).CurrentState(), State::HeldByAnother);
    (void)!::write(toChild[1], "g", 1);
    child.Wait();
    EXPECT_EQ(SingleInstance::Claim(a.Path("qfd")).CurrentState(), State::Ours);
}
#endif

TEST(SingleInstance, MissingProgramFileCannotTell) {
    Sandbox a;
    EXPECT_EQ(SingleInstance::Claim(a.Path("qfd")).CurrentState(), State::Unknown);
    EXPECT_FALSE(SingleInstance::Claim(a.Path("qfd")).AnotherInstanceRunning());
}

}  // namespace
}  // namespace qfd::test
