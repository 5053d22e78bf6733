#include "published_minutes.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sorvane::testing {

std::vector<PublishedMinute> publishedMinutes() {
    const std::string path =
        std::string(SORVANE_PRECISE_TEST_DIR) + "/observatory-solar-terms-2024-2025.tsv";
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error(path + ": cannot be read");
    }
    std::vector<PublishedMinute> rows;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) { // the column names
            header = false;
            continue;
        }
        std::istringstream fields(line);
        PublishedMinute row;
        if (!(fields >> row.year >> row.name >> row.longitude >> row.month >> row.day >> row.hour >>
              row.minute)) {
            throw std::runtime_error(path + ": bad row \"" + line + "\"");
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace sorvane::testing
