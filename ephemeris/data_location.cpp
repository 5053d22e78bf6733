#include "ephemeris/data_location.h"

#include <system_error>

namespace sorvane {

std::filesystem::path executableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
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
