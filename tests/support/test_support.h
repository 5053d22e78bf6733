// Helpers shared by the test suites: the shipped tables, the terminal program, lines.
#pragma once

#include "ephemeris/tables.h"

#include <string>
#include <vector>

namespace sorvane::testing {

// The shipped tables, found beside the test executable.
const Tables& shippedTables();

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The path of the terminal program built beside the tests.
std::string cliProgram();

// Runs the terminal program with args (already quoted for the shell).
CliRun runCli(const std::string& args);

// Splits text into lines at '\n' (the last line need not end with one).
std::vector<std::string> lines(const std::string& text);
// The line of a date (YYYY-MM-DD) in a --days listing, or "" when there is none.
std::string dayLine(const std::vector<std::string>& listing, const std::string& date);

// Splits a line of a tab-separated table into its fields.
std::vector<std::string> tabFields(const std::string& line);

// The difference of two longitudes, degrees, as arcseconds in -648000..648000.
double signedArcsec(double degrees);

} // namespace sorvane::testing
