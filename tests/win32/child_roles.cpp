#include "tests/win32/child_roles.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "core/platform/file_lock.h"
#include "core/platform/single_instance.h"
#include "core/settings/ini_access.h"
#include "core/settings/profile_store.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

// Answers are written beside and renamed, so the test never reads half an answer.
void Answer(const std::string& file, std::string_view text) {
    WriteFileBytes(file + ".part", text);
    ::MoveFileExA((file + ".part").c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

[[noreturn]] void HoldUntilKilled() {
    for (;;) ::Sleep(INFINITE);
}

std::string Quoted(const std::string& arg) {
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int RunChildRole(int argc, char** argv) {
    const std::string_view role = argv[0];
    if (role == "claim" && argc == 3) {
        SingleInstance claim = SingleInstance::Claim(argv[1]);
        Answer(argv[2], claim.CurrentState() == SingleInstance::State::Ours            ? "ours"
                        : claim.CurrentState() == SingleInstance::State::HeldByAnother ? "another"
                                                                                       : "unknown");
        HoldUntilKilled();
    }
    if (role == "lock" && argc == 3) {
        FileLock lock = FileLock::Acquire(argv[1], FileLock::Mode::Exclusive,
                                          std::chrono::milliseconds(5000), true);
        Answer(argv[2], lock.Held() ? "held" : "not held");
        HoldUntilKilled();
    }
    if (role == "toggle" && argc == 3) {
        const int count = std::atoi(argv[2]);
        for (int i = 0; i < count; ++i) {
            std::string v = (i % 2) ? "1" : "0";
            const WriteOutcome outcome = WriteIni(argv[1], "Commands", "Type", v);
            if (!outcome.Ok()) return 1;
            if (outcome.lockTimedOut) return 3;
        }
        return 0;
    }
    if (role == "keys" && argc == 5) {
        const int keys = std::atoi(argv[3]), rounds = std::atoi(argv[4]);
        bool timedOut = false;
        for (int round = 0; round < rounds; ++round) {
            for (int k = 0; k < keys; ++k) {
                std::string v = std::to_string(round);
                const std::string key = std::string("w") + argv[2] + "k" + std::to_string(k);
                const WriteOutcome outcome = WriteIni(argv[1], "Commands", key, v);
                if (!outcome.Ok()) return 1;
                timedOut = timedOut || outcome.lockTimedOut;
            }
        }
        return timedOut ? 3 : 0;
    }
    return 64;
}

ChildProcess::ChildProcess(const std::vector<std::string>& roleArgs) {
    char self[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return;
    std::string commandLine = Quoted(self) + " --child";
    for (const std::string& arg : roleArgs) commandLine += " " + Quoted(arg);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
}

ChildProcess::~ChildProcess() {
    if (process_ == nullptr) return;
    Kill();
    ::CloseHandle(process_);
}

int ChildProcess::Wait(DWORD timeoutMs) {
    if (process_ == nullptr || ::WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    return ::GetExitCodeProcess(process_, &code) ? static_cast<int>(code) : -1;
}

bool ChildProcess::Running() const {
    return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
    if (Running()) {
        ::TerminateProcess(process_, 137);
        ::WaitForSingleObject(process_, 10000);
    }
}

std::string AwaitAnswer(const std::string& file) {
    for (int i = 0; i < 3000; ++i) {
        std::string text = ReadFileBytes(file);
        if (!text.empty()) return text;
        ::Sleep(10);
    }
    return {};
}

}  // namespace qfd::test
