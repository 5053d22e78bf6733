// sorvane-cli --life: the days of a family's life planned by the calendar.
#pragma once

#include "calendar/civil_date.h"

#include <exception>
#include <string>
#include <vector>

namespace sorvane::cli {

struct LifeRun {
    int status = 0;  // 0; 1 unreadable data; 2 a bad argument; 3 a file not written
    std::string out; // what standard output gets
    std::string err; // one line for standard error ("" when none)
};

// The run of a failure the commands with their own options share, from the exception in
// flight: a calendar not made (2), a file not written (3, naming the file), data not read (1).
// Rethrows what is none of these.
LifeRun failedRun(std::exception_ptr failure);

// --life KIND [--date YYYY-MM-DD] [--year Y] [--years N] [--sex 男|女] [--json] [--ics FILE]
// [--today YYYY-MM-DD] [--data DIR]. today: the day in Japan, when --today does not say.
// Bad input gives status 2 and a Japanese message naming the option and its value.
LifeRun runLife(const std::vector<std::string>& args, const CivilDate& today);

// The lines --help gives for --life.
std::string lifeUsage();

} // namespace sorvane::cli
