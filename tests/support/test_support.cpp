#include "support/test_support.h"

#include "ephemeris/data_location.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace sorvane::testing {

const Tables& shippedTables() {
    static const Tables tables = loadTables(findDataDir());
    return tables;
}

std::string cliProgram() {
    return SORVANE_CLI;
}

CliRun runCli(const std::string& args) {
#ifdef _WIN32
    // The arguments are quoted for a POSIX shell, which Windows has not: the Windows build
    // tests the terminal program by the byte sweep under wine instead (tools/windows.sh).
    throw std::runtime_error("runCli is not available on Windows: " + args);
#else
    const auto errFile =
        std::filesystem::temp_directory_path() / ("sorvane-test-err-" + std::to_string(::getpid()));
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
#endif
}

std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) {
        out.push_back(f);
    }
    return out;
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

double signedArcsec(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d > 180) {
        d -= 360;
    } else if (d < -180) {
        d += 360;
    }
    return d * 3600;
}

std::string dayLine(const std::vector<std::string>& listing, const std::string& date) {
    for (const std::string& line : listing) {
        if (line.rfind(date + "\t", 0) == 0) {
            return line;
        }
    }
    return "";
}

} // namespace sorvane::testing
