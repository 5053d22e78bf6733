#include "published_minutes.h"

#include "tools/tsv_rows.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sorvane::testing {

std::vector<PublishedMinute> publishedMinutes() {
    const std::string path =
        std::string(SORVANE_SKY_TEST_DIR) + "/observatory-solar-terms-2024-2025.tsv";
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error(path + ": cannot be read");
    }
    std::vector<PublishedMinute> rows;
    for (const tsv::Row& r : tsv::dataRows(in)) {
        std::istringstream fields(r.text);
        PublishedMinute row;
        if (!(fields >> row.year >> row.name >> row.longitude >> row.month >> row.day >> row.hour >>
              row.minute)) {
            throw std::runtime_error(path + ":" + std::to_string(r.lineNumber) + ": bad row \"" +
                                     r.text + "\"");
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace sorvane::testing
