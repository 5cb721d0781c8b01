#pragma once

#include <string>
#include <string_view>

namespace qfd {

// Where an installation keeps its settings: "qfd.ini" beside the program file.

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kProgramFileName = "qfd.exe";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kProgramFileName = "qfd";
#endif
inline constexpr std::string_view kIniFileName = "qfd.ini";
// The program file's name on each platform: installations on a share may be of either kind.
inline constexpr std::string_view kProgramFileNames[] = {"qfd", "qfd.exe"};

// The settings file of the installation in programDirectory. On Windows the separator is added
// whatever the directory ends with (a drive root gives "C:\\qfd.ini", which Windows resolves);
// a POSIX root gives "/qfd.ini", since POSIX leaves the meaning of a leading "//" open.
std::string MakeIniPath(std::string_view programDirectory);

}  // namespace qfd
