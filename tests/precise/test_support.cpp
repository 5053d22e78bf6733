#include "test_support.h"

#include "ephemeris/data_location.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

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

const Tables& shippedTables() {
    static const Tables tables = loadTables(findDataDir());
    return tables;
}

CliRun runCli(const std::string& args) {
    const auto errFile = std::filesystem::temp_directory_path() /
                         ("sorvane-precise-err-" + std::to_string(::getpid()));
    const std::string command =
        std::string("'") + SORVANE_CLI + "' " + args + " 2>'" + errFile.string() + "'";
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) {
        run.out.append(buf.data(), n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    std::stringstream ss;
    ss << err.rdbuf();
    run.err = ss.str();
    std::filesystem::remove(errFile);
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            out.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        out.push_back(current);
    }
    return out;
}

} // namespace sorvane::testing
