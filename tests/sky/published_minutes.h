// The observatory's published minutes of 2024 and 2025, kept beside these tests.
#pragma once

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

// The rows of tests/sky/observatory-solar-terms-2024-2025.tsv.
std::vector<PublishedMinute> publishedMinutes();

} // namespace sorvane::testing
