#ifdef _WIN32

#include "cli/windows_console.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
// clang-format off
#include <windows.h>
#include <shellapi.h> // after windows.h, whose types it uses
// clang-format on

namespace sorvane::cli {

namespace {

UINT savedOutputCodePage = 0;

std::string utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

std::vector<std::string> windowsArguments() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; words != nullptr && i < count; ++i) {
        args.push_back(utf8(words[i]));
    }
    ::LocalFree(words);
    return args;
}

bool setUpWindowsConsole() {
    // -1 or -2: no handle behind the descriptor (closed, or a program without a console).
    const bool stdoutOpen = ::_get_osfhandle(1) >= 0;
    if (!stdoutOpen) {
        const int fd = ::_open("NUL", _O_WRONLY | _O_BINARY | _O_NOINHERIT);
        if (fd >= 0 && fd != 1) {
            ::_dup2(fd, 1);
            ::_close(fd);
        }
    }
    ::_setmode(1, _O_BINARY);
    ::_setmode(2, _O_BINARY);
    DWORD mode = 0;
    if (::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode)) {
        savedOutputCodePage = ::GetConsoleOutputCP();
        if (::SetConsoleOutputCP(CP_UTF8)) {
            std::atexit([] { ::SetConsoleOutputCP(savedOutputCodePage); });
        }
    }
    return stdoutOpen;
}

bool isStandardOutputFileWindows(const std::filesystem::path& path) {
    BY_HANDLE_FILE_INFORMATION out{};
    const HANDLE stdoutHandle = reinterpret_cast<HANDLE>(::_get_osfhandle(1));
    if (stdoutHandle == INVALID_HANDLE_VALUE || ::GetFileType(stdoutHandle) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(stdoutHandle, &out)) {
        return false;
    }
    const HANDLE named =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool same = ::GetFileInformationByHandle(named, &info) &&
                      info.dwVolumeSerialNumber == out.dwVolumeSerialNumber &&
                      info.nFileIndexHigh == out.nFileIndexHigh &&
                      info.nFileIndexLow == out.nFileIndexLow;
    ::CloseHandle(named);
    return same;
}

} // namespace sorvane::cli

#endif
