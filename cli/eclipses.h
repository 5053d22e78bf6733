// sorvane-cli --eclipses: a year's solar and lunar eclipses for a place.
#pragma once

#include "cli/life.h"

#include <string>
#include <vector>

namespace sorvane::cli {

// --eclipses YEAR [--place P] [--json] [--ics FILE] [--data DIR]: the report, the JSON
// document or (with --ics) the calendar written to FILE ('-': standard output). Status as
// runLife's: 2 with a Japanese message for a bad argument, 3 for a file not written.
LifeRun runEclipses(const std::vector<std::string>& args);

// The lines --help gives for --eclipses.
std::string eclipsesUsage();

} // namespace sorvane::cli
