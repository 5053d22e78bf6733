#include "ephemeris/data_location.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>

// WebAssembly under node: the program is its script, process.argv[1]; a browser has none.
// Writes the path into out (size bytes) and returns its length, 0 when there is none.
// clang-format off
EM_JS(int, sorvaneScriptPath, (char* out, int size), {
    if (typeof process === 'undefined' || !process.argv || process.argv.length < 2) {
        return 0;
    }
    return stringToUTF8(require('path').resolve(process.argv[1]), out, size);
});
// clang-format on
#endif

namespace sorvane {

std::filesystem::path executableDir() {
#ifdef __EMSCRIPTEN__
    char script[4096];
    const int length = sorvaneScriptPath(script, static_cast<int>(sizeof script));
    return length > 0 && length < static_cast<int>(sizeof script) - 1
               ? std::filesystem::path(std::string(script, static_cast<std::size_t>(length)))
                     .parent_path()
               : std::filesystem::path();
#elif defined(_WIN32)
    std::wstring exe(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    return length == 0 || length >= exe.size()
               ? std::filesystem::path()
               : std::filesystem::path(exe.substr(0, length)).parent_path();
#else
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
#endif
}

std::vector<std::filesystem::path> dataDirCandidates() {
    std::vector<std::filesystem::path> dirs;
    const auto own = executableDir();
    if (!own.empty()) {
        dirs.push_back(own);
        dirs.push_back(own.parent_path() / "share" / "sorvane");
    }
#ifdef SORVANE_INSTALL_DATADIR
    dirs.emplace_back(SORVANE_INSTALL_DATADIR);
#endif
    return dirs;
}

std::filesystem::path findDataDir() {
    const auto dirs = dataDirCandidates();
    for (const auto& dir : dirs) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(dir / "planet.txt", ec)) {
            return dir;
        }
    }
    return dirs.empty() ? std::filesystem::path(".") : dirs.front();
}

} // namespace sorvane
