// Loading the term files at start-up, with the message shown when they cannot be read.
#pragma once

#include "ephemeris/tables.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace sorvane::ui {

// The term file reader's failure in Japanese, from its code and details: the file, the path or
// the term and field, and what is wrong, for the message box of loadTablesOrReport.
QString japaneseDataFileError(const DataFileError& e);

// Loads the term files at start-up. On failure shows one message box naming the file and
// returns nothing; the caller then ends the program.
std::optional<Tables> loadTablesOrReport(const std::filesystem::path& dataDir);

} // namespace sorvane::ui
