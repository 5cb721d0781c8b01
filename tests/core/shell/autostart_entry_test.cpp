#include "core/shell/autostart_entry.h"

#include <string>

#include <gtest/gtest.h>

namespace qfd {
namespace {

constexpr AutostartKind kDesktop = AutostartKind::DesktopFile;
constexpr AutostartKind kRun = AutostartKind::RunValue;

struct EntryCase {
    AutostartKind kind;
    const char* folder;
    const char* name;
    const char* exec;  // the desktop file's Exec value, or the Run value's data
};

class AutostartEntryRows : public ::testing::TestWithParam<EntryCase> {};

// Names are kept across versions (an entry must be found again), so they are spelled out.
TEST_P(AutostartEntryRows, NamedQuotedAndReadBack) {
    const EntryCase& row = GetParam();
    const std::string text = AutostartEntryText(row.kind, row.folder);
    EXPECT_EQ(AutostartEntryName(row.kind, row.folder), row.name);
    EXPECT_EQ(AutostartRefusal(row.kind, row.folder), std::nullopt);
    if (row.kind == kDesktop) {
        EXPECT_NE(text.find(std::string("\nExec=") + row.exec + "\n"), std::string::npos) << text;
    } else {
        EXPECT_EQ(text, row.exec);
    }
    const std::optional<AutostartEntry> back = ParseAutostartEntry(row.kind, row.name, text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->folder, row.folder);
    EXPECT_EQ(back->program, AutostartProgram(row.kind, row.folder));
    EXPECT_TRUE(back->enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AutostartEntryRows,
    ::testing::Values(
        EntryCase{kDesktop, "/home/ann/qfd", "qfdetect-qfd-00e826c9676b.desktop",
                  R"("/home/ann/qfd/qfd")"},
        // The same last name elsewhere is another entry.
        EntryCase{kDesktop, "/home/bob/qfd", "qfdetect-qfd-a4e62d05e7ff.desktop",
                  R"("/home/bob/qfd/qfd")"},
        EntryCase{kDesktop, "/", "qfdetect-a24c860189fe.desktop", R"("/qfd")"},
        // Quote escapes inside the quotes, then every backslash doubled for the value.
        EntryCase{kDesktop, R"(/srv/a "b" c\d)", "qfdetect-a__b__c_d-fc910c4ea4a4.desktop",
                  R"("/srv/a \\"b\\" c\\\\d/qfd")"},
        // '%' doubled, and run through env: GLib looks for the first word before undoing "%%".
        EntryCase{kDesktop, "/srv/100% $HOME `x`", "qfdetect-100___HOME__x_-e3eb6287d10d.desktop",
                  R"(env "/srv/100%% \\$HOME \\`x\\`/qfd")"},
        EntryCase{kDesktop, "/srv/tab\there\nnew ", "qfdetect-tab_here_new_-2a8304a52a30.desktop",
                  R"("/srv/tab\there\nnew /qfd")"},
        EntryCase{kDesktop, "/home/ann/D\xC3\xA9tecteur avec un nom bien trop long",
                  "qfdetect-D__tecteur_avec_un_nom_bien_trop-82893107657d.desktop",
                  "\"/home/ann/D\xC3\xA9tecteur avec un nom bien trop long/qfd\""},
        EntryCase{kRun, R"(C:\QF Detect)", "QF Detect QF_Detect 6985e662010e",
                  R"("C:\QF Detect\qfd.exe")"},
        // Windows' letter case and separators do not make another installation.
        EntryCase{kRun, R"(c:/qf detect)", "QF Detect qf_detect 6985e662010e",
                  R"("c:/qf detect\qfd.exe")"},
        EntryCase{kRun, R"(C:\)", "QF Detect 3d19ab36a96c", R"("C:\qfd.exe")"},
        EntryCase{kRun, R"(\\desk\share\100% qfd)", "QF Detect 100__qfd 9f8020a8cf86",
                  R"("\\desk\share\100% qfd\qfd.exe")"}));

TEST(AutostartEntry, ForeignOrDamagedEntriesAreToldApart) {
    // Run values of other programs, or named like ours for another program, are not ours.
    EXPECT_FALSE(ParseAutostartEntry(kRun, "OneDrive", R"("C:\qfd\qfd.exe")"));
    EXPECT_FALSE(ParseAutostartEntry(kRun, "QF Detect x 1", R"("C:\qfd\other.exe")"));
    EXPECT_FALSE(ParseAutostartEntry(kRun, "QF Detect x 1", R"("C:\qfd\qfd.exe)"));
    EXPECT_EQ(ParseAutostartEntry(kRun, "QF Detect x 1", R"(C:\qfd\QFD.EXE /x)")->folder,
              R"(C:\qfd)");
    // A desktop file is ours by its folder key, in the main group only.
    EXPECT_FALSE(ParseAutostartEntry(kDesktop, "", "[Desktop Entry]\nExec=/a/qfd\n"));
    EXPECT_FALSE(ParseAutostartEntry(
        kDesktop, "", "[Desktop Entry]\nExec=/a/qfd\n[Desktop Action x]\nX-QFDetect-Folder=/a\n"));
    const std::string ours = "[Desktop Entry]\n# by hand\nX-QFDetect-Folder = /a\\s\r\n";
    const std::optional<AutostartEntry> noExec = ParseAutostartEntry(kDesktop, "", ours);
    ASSERT_TRUE(noExec);
    EXPECT_EQ(noExec->folder, "/a ");
    EXPECT_EQ(noExec->program, "");
    for (const char* exec : {R"("/a/qfd)", "/a/qf%d", ""}) {
        EXPECT_EQ(ParseAutostartEntry(kDesktop, "", ours + "Exec=" + exec)->program, "") << exec;
    }
    EXPECT_FALSE(ParseAutostartEntry(kDesktop, "", ours + "Hidden=true")->enabled);
    EXPECT_FALSE(
        ParseAutostartEntry(kDesktop, "", ours + "X-GNOME-Autostart-enabled=false")->enabled);
    EXPECT_TRUE(ParseAutostartEntry(kDesktop, "", ours + "Hidden=false")->enabled);

    // Windows tells folders and value names apart as it tells files apart.
    EXPECT_TRUE(SameAutostartKey(kRun, R"(C:\QF Detect)", "c:/qf detect"));
    EXPECT_TRUE(SameAutostartKey(kRun, "QF Detect QF_Detect 1", "QF Detect qf_detect 1"));
    EXPECT_FALSE(SameAutostartKey(kDesktop, "/a/QFD", "/a/qfd"));

    // What cannot be written into an entry is refused, not mangled.
    EXPECT_TRUE(AutostartRefusal(kDesktop, "/a\x01z"));
    EXPECT_TRUE(AutostartRefusal(kDesktop, "/caf\xE9"));       // Latin-1, not UTF-8
    EXPECT_TRUE(AutostartRefusal(kDesktop, "/\xED\xA0\x80"));  // a surrogate
    EXPECT_TRUE(AutostartRefusal(kRun, R"(C:\a"b)"));
    EXPECT_FALSE(AutostartRefusal(kRun, "C:\\caf\xE9"));
}

TEST(AutostartEntry, StateOfAnEntry) {
    AutostartEntry entry{"/a", "/a/qfd", true};
    EXPECT_EQ(DecideAutostartState(nullptr, false), AutostartState::Off);
    EXPECT_EQ(DecideAutostartState(&entry, true), AutostartState::On);
    EXPECT_EQ(DecideAutostartState(&entry, false), AutostartState::Broken);
    entry.enabled = false;
    EXPECT_EQ(DecideAutostartState(&entry, true), AutostartState::Disabled);
    EXPECT_EQ(DecideAutostartState(&entry, false), AutostartState::Broken);
    entry = {"/a", "", true};  // an Exec that cannot be read
    EXPECT_EQ(DecideAutostartState(&entry, true), AutostartState::Broken);
    EXPECT_STREQ(AutostartStateWord(AutostartState::Broken), "broken");
}

}  // namespace
}  // namespace qfd
