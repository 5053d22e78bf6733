// The rows of the project's tab-separated tables (data/*.tsv, tests/*/*.tsv): lines that
// start with '#' and blank lines are comments, the first other line names the columns, and
// every line after it is one row.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace sorvane::tsv {

struct Row {
    int lineNumber = 0; // 1-based, for messages
    std::string text;
};

inline std::vector<Row> dataRows(std::istream& in) {
    std::vector<Row> rows;
    std::string line;
    bool header = true;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        rows.push_back({lineNumber, line});
    }
    return rows;
}

} // namespace sorvane::tsv
