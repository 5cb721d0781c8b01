// Runs the recorded private-profile transcripts in tests/core/data/profile-cases against the store.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/profile_store.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

const std::filesystem::path kCasesDir = std::filesystem::path(QFD_TEST_DATA_DIR) / "profile-cases";

// A field as the transcript holds it: text, or NULL (\N).
using Field = std::optional<std::string>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

std::string Unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out.push_back(s[i]);
            continue;
        }
        const char c = s[++i];
        switch (c) {
            case 't':
                out.push_back('\t');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case '0':
                out.push_back('\0');
                break;
            case 's':
                out.push_back(' ');
                break;
            case 'x':
                out.push_back(static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2])));
                i += 2;
                break;
            case '{': {
                const std::size_t close = s.find('}', i);
                const int count = std::stoi(std::string(s.substr(i + 1, close - i - 1)));
                out.append(static_cast<std::size_t>(count), s[close + 1]);
                i = close + 1;
                break;
            }
            default:
                out.push_back(c);
                break;  // \\ and \"
        }
    }
    return out;
}

Field ParseField(const std::string& raw) {
    if (raw == "\\N") return std::nullopt;
    return Unescape(raw);
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// The quoted text after `name="` in a result line.
std::string QuotedAfter(const std::string& line, const std::string& name) {
    const std::size_t start = line.find(name + "=\"") + name.size() + 2;
    std::size_t i = start;
    while (line[i] != '"') i += line[i] == '\\' ? 2 : 1;
    return Unescape(line.substr(start, i - start));
}

int NumberAfter(const std::string& line, const std::string& name) {
    return std::stoi(line.substr(line.find(name + "=") + name.size() + 1));
}

struct Operation {
    int lineNumber = 0;
    std::vector<std::string> fields;
    std::vector<std::string> results;
};

std::vector<Operation> LoadCase(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<Operation> ops;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.empty() || line[0] == '#') continue;
        if (line.starts_with("= ")) {
            ops.back().results.push_back(line.substr(2));
        } else {
            ops.push_back(Operation{n, SplitTabs(line), {}});
        }
    }
    return ops;
}

class ProfileCases : public ::testing::TestWithParam<std::string> {
  protected:
    std::string FileFor(const Field& name) const {
        if (!name || name->empty()) return "";
        return sandbox.Path(name->substr(1));  // drop the '@'
    }

    void Run(const Operation& op) {
        const std::string& code = op.fields[0];
        SCOPED_TRACE(GetParam() + ":" + std::to_string(op.lineNumber));
        auto field = [&](std::size_t i) { return ParseField(op.fields.at(i)); };
        if (code == "F") {
            test::WriteFileBytes(FileFor(field(1)), *field(2));
        } else if (code == "X") {
            std::filesystem::remove(FileFor(field(1)));
        } else if (code == "MD") {
            std::filesystem::create_directory(FileFor(field(1)));
        } else if (code == "RO") {
            ::chmod(FileFor(field(1)).c_str(), *field(2) == "1" ? 0444 : 0644);
        } else if (code == "D") {
            CheckDump(FileFor(field(1)), op.results);
        } else if (code == "R" && field(2) && field(3)) {
            CheckRead(op, field);
        } else if (code == "W" && field(2) && field(3) && field(4)) {
            const WriteOutcome outcome =
                WriteProfileValue(FileFor(field(1)), *field(2), *field(3), *field(4));
            const std::string& expected = op.results.at(0);
            EXPECT_EQ(outcome.Ok() ? 1 : 0, NumberAfter(expected, "ret"));
            if (!outcome.Ok()) {
                EXPECT_EQ(outcome.PlatformErrorCode(), NumberAfter(expected, "err"));
            }
        }
        // S, N, I and reads of lists document the platform; the program does not use them.
    }

    void CheckRead(const Operation& op, const std::function<Field(std::size_t)>& field) {
        const std::size_t bufferSize = std::stoul(op.fields.at(5));
        const std::string value = ReadProfileValue(FileFor(field(1)), *field(2), *field(3),
                                                   field(4).value_or(""), bufferSize);
        const std::string& expected = op.results.at(0);
        EXPECT_EQ(value, QuotedAfter(expected, "val"));
        EXPECT_EQ(static_cast<int>(value.size()), NumberAfter(expected, "ret"));
    }

    static void CheckDump(const std::string& path, const std::vector<std::string>& results) {
        if (results.at(0) == "missing") {
            EXPECT_FALSE(std::filesystem::exists(path));
            return;
        }
        std::string expected;
        for (std::size_t i = 1; i < results.size(); ++i) expected += QuotedAfter(results[i], "");
        const std::string actual = test::ReadFileBytes(path);
        EXPECT_EQ(actual, expected);
        EXPECT_EQ(static_cast<int>(actual.size()), NumberAfter(results[0], "len"));
    }

    test::Sandbox sandbox;
};

TEST_P(ProfileCases, EveryOperationGivesTheRecordedResult) {
    for (const Operation& op : LoadCase(kCasesDir / GetParam())) Run(op);
}

std::vector<std::string> CaseFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kCasesDir)) {
        if (entry.path().extension() == ".txt") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Recorded, ProfileCases, ::testing::ValuesIn(CaseFiles()),
                         [](const auto& param) {
                             std::string name = param.param.substr(0, param.param.find('.'));
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace qfd
