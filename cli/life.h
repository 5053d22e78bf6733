// sorvane-cli --life: the days of a family's life planned by the calendar.
#pragma once

#include "calendar/civil_date.h"

#include <string>
#include <vector>

namespace sorvane::cli {

// Whether the arguments ask for --life (which takes its own options).
bool isLifeCommand(const std::vector<std::string>& args);

struct LifeRun {
    int status = 0;  // 0; 1 unreadable data; 2 a bad argument; 3 a file not written
    std::string out; // what standard output gets
    std::string err; // one line for standard error ("" when none)
};

// --life KIND [--date YYYY-MM-DD] [--year Y] [--years N] [--sex 男|女] [--json] [--ics FILE]
// [--today YYYY-MM-DD] [--data DIR]. today: the day in Japan, when --today does not say.
// Bad input gives status 2 and a Japanese message naming the option and its value.
LifeRun runLife(const std::vector<std::string>& args, const CivilDate& today);

// The lines --help gives for --life.
std::string lifeUsage();

} // namespace sorvane::cli
