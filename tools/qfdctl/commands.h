#pragma once

#include <string>
#include <vector>

namespace qfdctl {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

int RunRead(const Args& args);
int RunWrite(const Args& args);
int RunSend(const Args& args);
int RunStatus(const Args& args);
int RunAutostart(const Args& args);

// A folder, or the program file in it, which is what Browse... teaches people to pick: its folder.
std::string InstallationFolder(const std::string& given);

// Prints the usage line of one command (or of all) to stderr and returns kExitUsage.
int UsageError(const std::string& command);
void PrintHelp();

}  // namespace qfdctl
