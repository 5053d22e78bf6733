// Shared helpers of the precise-mode tests: the published minutes and the terminal program.
#pragma once

#include "ephemeris/tables.h"

#include <string>
#include <vector>

namespace sorvane::testing {

// One row of the observatory's table: the moment, JST, to the minute.
struct PublishedMinute {
    int year = 0;
    std::string name; // "立春"
    double longitude = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// The rows of tests/precise/observatory-solar-terms-2024-2025.tsv.
std::vector<PublishedMinute> publishedMinutes();

// The shipped tables, found beside the test executable.
const Tables& shippedTables();

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the terminal program with args (already quoted for the shell).
CliRun runCli(const std::string& args);

// Splits text into lines at '\n' (the last line need not end with one).
std::vector<std::string> lines(const std::string& text);

} // namespace sorvane::testing
