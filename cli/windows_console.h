// What the terminal program needs of Windows' console and process: the arguments as UTF-8,
// standard output and error as bytes in UTF-8, and the identity of standard output's file.
#pragma once
#ifdef _WIN32

#include <filesystem>
#include <string>
#include <vector>

namespace sorvane::cli {

// The command line's arguments after the program's name, UTF-16 converted to UTF-8 (argv
// holds the ANSI code page, which has no 大安).
std::vector<std::string> windowsArguments();

// Standard output and error in binary mode (a "\n" stays LF, as the bytes elsewhere) and a
// console shown UTF-8, its code page put back at exit. Returns whether standard output is
// open.
bool setUpWindowsConsole();

// Whether path names the file that standard output writes to.
bool isStandardOutputFileWindows(const std::filesystem::path& path);

} // namespace sorvane::cli

#endif
