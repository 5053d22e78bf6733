// Where the program finds planet.txt and latitude.txt.
#pragma once

#include <filesystem>
#include <vector>

namespace sorvane {

// The folder of the running executable (from /proc/self/exe), or empty if unknown.
std::filesystem::path executableDir();

// The folders searched, in order: the program's own folder, then the install tree's share
// folder beside it (../share/sorvane), then the configured install prefix's share folder.
std::vector<std::filesystem::path> dataDirCandidates();

// The first candidate that holds planet.txt; the program's own folder when none does, so
// that the error names the place the files belong.
std::filesystem::path findDataDir();

} // namespace sorvane
