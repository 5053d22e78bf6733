// sorvane-cli: the year's solar terms, 土用 entries and first-day names in a terminal.
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/year_text.h"
#include "cli/options.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/atomic_file.h"
#include "export/days_document.h"
#include "export/icalendar.h"
#include "export/json_document.h"
#include "export/text_report.h"
#include "precise/precise_year.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

using namespace sorvane;

// Exit statuses, as --help and the README list them.
constexpr int kBadData = 1;
constexpr int kBadArgument = 2;
constexpr int kOutputFailed = 3;

// The years in which every event of the default mode lies in its own month (measured over
// the whole range -32768..32767); beyond them the calendar has drifted from the seasons.
constexpr int kFirstCleanYear = -14302;
constexpr int kLastCleanYear = 8455;

int fail(int status, const std::string& message) {
    std::cerr << "sorvane-cli: " << cli::printable(message) << "\n";
    return status;
}

// Writes text to descriptor 1; returns 0 or the error.
int writeStandardOutput(const std::string& text, bool open) {
    if (!open) {
        return EBADF;
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, rest.data(), rest.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// The report a run prints, or throws; the --ics file is written on the way.
std::string run(const cli::Options& options) {
    if (options.help) {
        return cli::usageText();
    }
    if (options.version) {
        return cli::versionText();
    }
    almanac::AlmanacOptions what;
    // A month listing, the phases or the holiday list alone shows no solar term, and so
    // reads no term file.
    what.solarTerms =
        options.icsFile.has_value() || options.days ||
        (options.month == 0 && !options.phases && !(options.holidays && !options.json));
    // The 雑節, holidays and lunisolar year (and so their searches) only when asked for,
    // directly, by the ics or by the day listing.
    what.zassetsu = options.zassetsu || options.icsFile.has_value() || options.days;
    what.holidays = options.holidays || options.icsFile.has_value() || options.days;
    what.lunisolar = options.days || options.phases || options.icsFile.has_value();
    // The day listing takes the precise moments wherever the IAU model reaches.
    what.precise = options.precise || (options.days && precise::inRange(options.year));
    const almanac::YearAlmanac year =
        what.solarTerms
            ? almanac::yearAlmanac(loadTables(options.dataDir ? *options.dataDir : findDataDir()),
                                   options.year, what)
            : almanac::yearAlmanac(options.year, what);

    const bool showsEvents = options.month == 0 || options.icsFile.has_value();
    int outside = 0;
    for (const almanac::Event& e : year.solarTerms) {
        outside += exports::outsideMonth(year.year, e) ? 1 : 0;
    }
    if (showsEvents && outside > 0) {
        std::cerr << "sorvane-cli: warning: " << yearText(year.year) << ": " << outside
                  << " of the " << year.solarTerms.size()
                  << (outside == 1 ? " events lies outside its month"
                                   : " events lie outside their months")
                  << " (the calendar has drifted from the seasons; results "
                     "are meaningful for the years "
                  << kFirstCleanYear << ".." << kLastCleanYear << ")\n";
    }

    if (options.icsFile) {
        exports::writeTextFile(*options.icsFile, exports::icsCalendar(year, std::time(nullptr)));
    }
    if (options.days || options.phases) {
        const auto days =
            options.days ? almanac::dayListing(year) : std::vector<almanac::DayEntry>{};
        if (options.json) {
            return exports::daysJson(year, options.days ? &days : nullptr, options.phases);
        }
        return (options.phases ? exports::phasesReport(year) : "") + exports::daysReport(days);
    }
    if (options.json) {
        return options.month != 0 ? exports::monthJson(year, options.month)
                                  : exports::yearJson(year, options.zassetsu, options.holidays);
    }
    if (options.month != 0) {
        return exports::monthReport(year, options.month);
    }
    if (options.holidays) {
        if (options.year < holidays::kFirstYear) {
            std::cerr << "sorvane-cli: no national holidays before 1948-07-20, the day the "
                         "holiday law took effect\n";
        }
        return exports::holidayReport(year);
    }
    return exports::yearReport(year, options.zassetsu);
}

} // namespace

int main(int argc, char** argv) {
    // Over a file-size limit write() then fails with EFBIG, which is reported, instead of
    // the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // With standard output closed, keep its descriptor taken so that no file opened later
    // (the calendar's temporary file) receives the report.
    const bool stdoutOpen = ::fcntl(STDOUT_FILENO, F_GETFD) != -1;
    if (!stdoutOpen) {
        const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (fd >= 0 && fd != STDOUT_FILENO) {
            ::dup2(fd, STDOUT_FILENO);
            ::close(fd);
        }
    }

    std::string report;
    try {
        const cli::Options options = cli::parseArguments(
            std::vector<std::string>(argv + 1, argv + argc), cli::currentYear());
        report = run(options);
    } catch (const cli::UsageError& e) {
        return fail(kBadArgument, std::string(e.what()) + " (see --help)");
    } catch (const exports::IcsError& e) {
        return fail(kBadArgument, e.what());
    } catch (const FileWriteError& e) {
        return fail(kOutputFailed, e.what());
    } catch (const std::exception& e) {
        // Data files that cannot be read or give the Sun no usable motion.
        return fail(kBadData, e.what());
    }
    if (const int err = writeStandardOutput(report, stdoutOpen); err != 0) {
        return fail(kOutputFailed, std::string("standard output: ") + std::strerror(err));
    }
    return 0;
}
