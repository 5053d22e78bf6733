// Loading the term files at start-up, with the message shown when they cannot be read.
#pragma once

#include "ephemeris/tables.h"

#include <filesystem>
#include <optional>

namespace sorvane::ui {

// Loads the term files at start-up. On failure shows one message box naming the file and
// returns nothing; the caller then ends the program.
std::optional<Tables> loadTablesOrReport(const std::filesystem::path& dataDir);

} // namespace sorvane::ui
