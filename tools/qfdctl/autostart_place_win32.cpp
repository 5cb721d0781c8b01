#include <windows.h>

#include "core/shell/autostart_entry.h"
#include "tools/qfdctl/autostart_place.h"

namespace qfdctl {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Where Task Manager records that it turned a Run value off, under the value's name.
constexpr const char* kApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

std::string Reason(LSTATUS status) {
    char text[512] = {};
    const DWORD n =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(status), 0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.')) {
        reason.pop_back();
    }
    return reason.empty() ? "error " + std::to_string(status) : reason;
}

class Key {
  public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// Whether Task Manager turned the value off: the first byte of its record is odd then.
bool TurnedOff(const std::string& name) {
    Key approved;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kApprovedKey, 0, KEY_QUERY_VALUE, approved.Out()) !=
        ERROR_SUCCESS) {
        return false;
    }
    BYTE record[64] = {};
    DWORD type = 0, size = sizeof record;
    const LSTATUS status =
        ::RegQueryValueExA(approved.Get(), name.c_str(), nullptr, &type, record, &size);
    return status == ERROR_SUCCESS && type == REG_BINARY && size > 0 && (record[0] & 1) != 0;
}

void ForgetTurnedOff(const std::string& name) {
    Key approved;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kApprovedKey, 0, KEY_SET_VALUE, approved.Out()) ==
        ERROR_SUCCESS) {
        ::RegDeleteValueA(approved.Get(), name.c_str());
    }
}

}  // namespace

std::optional<std::vector<StoredEntry>> ListAutostartEntries(std::string& error) {
    std::vector<StoredEntry> entries;
    Key run;
    LSTATUS status = ::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, run.Out());
    if (status == ERROR_FILE_NOT_FOUND) return entries;
    DWORD nameMax = 0, dataMax = 0;
    if (status == ERROR_SUCCESS) {
        status = ::RegQueryInfoKeyA(run.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, &nameMax, &dataMax, nullptr, nullptr);
    }
    for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
        std::string name(nameMax + 1, '\0'), data(dataMax + 1, '\0');
        DWORD nameSize = nameMax + 1, dataSize = dataMax + 1, type = 0;
        status = ::RegEnumValueA(run.Get(), index, name.data(), &nameSize, nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) return entries;
        if (status == ERROR_MORE_DATA) {  // a value grew while we read: this one again
            status = ::RegQueryInfoKeyA(run.Get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, &nameMax, &dataMax, nullptr, nullptr);
            --index;  // wraps at 0, and back with the loop's ++
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        name.resize(nameSize);
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || !name.starts_with(qfd::kRunValuePrefix)) {
            continue;
        }
        data.resize(dataSize);
        while (!data.empty() && data.back() == '\0') data.pop_back();
        entries.push_back({name, data, TurnedOff(name)});
    }
    error = AutostartEntryLocation("") + ": " + Reason(status);
    return std::nullopt;
}

bool WriteAutostartEntry(const std::string& name, const std::string& text, std::string& error) {
    Key run;
    LSTATUS status = ::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                       nullptr, run.Out(), nullptr);
    if (status == ERROR_SUCCESS) {
        status = ::RegSetValueExA(run.Get(), name.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>(text.size() + 1));
    }
    if (status != ERROR_SUCCESS) {
        error = Reason(status);
        return false;
    }
    ForgetTurnedOff(name);
    return true;
}

bool RemoveAutostartEntry(const std::string& name, std::string& error) {
    Key run;
    LSTATUS status = ::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, run.Out());
    if (status == ERROR_SUCCESS) status = ::RegDeleteValueA(run.Get(), name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        error = Reason(status);
        return false;
    }
    ForgetTurnedOff(name);
    return true;
}

std::string AutostartEntryLocation(const std::string& name) {
    return std::string("HKEY_CURRENT_USER\\") + kRunKey + (name.empty() ? "" : "\\" + name);
}

bool IsProgramFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string AbsoluteFolder(const std::string& folder) {
    // By name, in the system code page, as the Run value will name the program.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameA(folder.c_str(), static_cast<DWORD>(path.size()),
                                                path.data(), nullptr);
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);
    }
    // "C:\qfd\" is "C:\qfd"; "C:\" stays.
    if (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace qfdctl
