#include "tests/support/child_process.h"

#include <windows.h>

#include <thread>

namespace qfd::test {
namespace {

// One argument as the C runtime's command-line parser reads it back: quoted, with backslashes
// doubled only where they precede a quote.
std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

void Drain(HANDLE pipe, std::string& sink) {
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) sink.append(buffer, n);
}

}  // namespace

ChildRun RunProgram(const std::vector<std::string>& argv) {
    if (argv.empty()) return {};
    std::string commandLine;
    for (const std::string& arg : argv)
        commandLine += (commandLine.empty() ? "" : " ") + Quoted(arg);

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0)) return {};
    if (!::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ::CloseHandle(outRead);
        ::CloseHandle(outWrite);
        return {};
    }
    // Only the child's ends are inherited.
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &process);
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    ChildRun run;
    if (!started) {
        ::CloseHandle(outRead);
        ::CloseHandle(errRead);
        run.exitCode = 127;
        return run;
    }
    // Drain both pipes together so a chatty child never blocks on a full one.
    std::thread errReader([&] { Drain(errRead, run.err); });
    Drain(outRead, run.out);
    errReader.join();
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    run.exitCode = ::GetExitCodeProcess(process.hProcess, &code) ? static_cast<int>(code) : -1;
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
    return run;
}

}  // namespace qfd::test
