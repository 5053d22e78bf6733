// sorvane-cli: the year's solar terms, 土用 entries and first-day names in a terminal.

#include "almanac/coverage.h"
#include "almanac/day_listing.h"
#include "almanac/limits.h"
#include "almanac/year_almanac.h"
#include "calendar/path_text.h"
#include "calendar/year_text.h"
#include "cli/eclipses.h"
#include "cli/life.h"
#include "cli/options.h"
#include "cli/windows_console.h"
#include "daysearch/day_search.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/atomic_file.h"
#include "export/days_document.h"
#include "export/feed.h"
#include "export/find_document.h"
#include "export/icalendar.h"
#include "export/json_document.h"
#include "export/notes_document.h"
#include "export/sun_document.h"
#include "export/text_report.h"
#include "horizon/places.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace sorvane;

// Exit statuses, as --help and the README list them.
constexpr int kBadData = 1;
constexpr int kBadArgument = 2;
constexpr int kOutputFailed = 3;

// Writes text to standard error (C's stdio: the terminal program carries no C++ streams,
// which would add their locales to the web module).
void toStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int fail(int status, const std::string& message) {
    toStandardError("sorvane-cli: " + cli::printable(message) + "\n");
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

std::filesystem::path dataDir(const cli::Options& options) {
    return options.dataDir ? *options.dataDir : findDataDir();
}

// The term files: those of the installed data folder parsed once per process (the web
// edition's module runs this program many times over, and the files it carries never
// change); a folder given with its option read afresh.
Tables termTables(const cli::Options& options) {
    if (options.dataDir) {
        return loadTables(*options.dataDir);
    }
    static const Tables installed = loadTables(findDataDir());
    return installed;
}

// The names --place takes, for --help: from the places file beside the term files.
std::string placeNamesHelp(const cli::Options& options) {
    std::string out = "\nPlaces of --place (the prefectural seats; 東京 is the default):\n ";
    try {
        std::size_t column = 1;
        for (const horizon::NamedPlace& p : horizon::loadPlaces(dataDir(options))) {
            if (column > 60) {
                out += "\n ";
                column = 1;
            }
            out += " " + p.name;
            column += 1 + p.name.size() * 2 / 3;
        }
        return out + "\n";
    } catch (const horizon::PlacesError& e) {
        return out + " (" + e.what() + ")\n";
    }
}

// --sun: the year's rising and setting times for one place.
std::string sunListing(const cli::Options& options) {
    exports::SunPlace place{horizon::tokyo().name, horizon::tokyo().observer};
    if (options.latitude && options.longitude) {
        place = exports::SunPlace{"", horizon::Observer{*options.latitude, *options.longitude}};
    } else if (options.place) {
        const std::vector<horizon::NamedPlace> places = horizon::loadPlaces(dataDir(options));
        const horizon::NamedPlace* found = horizon::findPlace(places, *options.place);
        if (found == nullptr) {
            throw cli::UsageError("--place " + cli::quotedArgument(*options.place) +
                                  " is not a known place");
        }
        place = exports::SunPlace{found->name, found->observer};
    }
    const auto days = horizon::yearTimes(place.observer, options.year);
    return options.json ? exports::sunJson(options.year, place, days)
                        : exports::sunReport(options.year, days);
}

// Whether path names the file standard output writes to, where a second writer would lose
// the report or the calendar (a regular file, a pipe or a socket; a terminal or /dev/null
// takes both).
bool isStandardOutputFile(const std::filesystem::path& path) {
#ifdef _WIN32
    return cli::isStandardOutputFileWindows(path);
#else
    struct stat out {};
    struct stat named {};
    return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &named) == 0 &&
           out.st_dev == named.st_dev && out.st_ino == named.st_ino &&
           (S_ISREG(out.st_mode) || S_ISFIFO(out.st_mode) || S_ISSOCK(out.st_mode));
#endif
}

// What a run prints on standard output: the report, or with --ics - the calendar instead.
// Throws; the --ics file is written on the way.

// Standard output that could not be written (the errno value).
struct StandardOutputError {
    int error;
};

// Standard output written in blocks as a long listing grows, so that no listing is held
// whole; throws StandardOutputError when a block cannot be written.
class BlockOutput {
  public:
    explicit BlockOutput(bool open) : open_(open) {}
    void put(std::string_view text) {
        buffer_ += text;
        if (buffer_.size() >= kBlockBytes) {
            flush();
        }
    }
    void flush() {
        if (const int err = writeStandardOutput(buffer_, open_); err != 0) {
            throw StandardOutputError{err};
        }
        buffer_.clear();
    }

  private:
    static constexpr std::size_t kBlockBytes = 1 << 16;
    bool open_;
    std::string buffer_;
};

// --find: the days that fit the query, written as they are found (the listing, the JSON
// document, the calendar file), with a note on standard error for each stretch of the range
// where a word cannot match. Returns nothing: the output is written on the way.
std::string find(const almanac::Days& days, const cli::Options& options, bool stdoutOpen) {
    BlockOutput out(stdoutOpen);
    const bool icsToStdout = options.icsFile && pathText(*options.icsFile) == "-";
    std::optional<AtomicFileWriter> file;
    std::optional<exports::FindCalendarWriter> calendar;
    if (options.icsFile) {
        if (!icsToStdout) {
            file.emplace(*options.icsFile);
        }
        calendar.emplace(*options.find, std::time(nullptr), [&](std::string_view piece) {
            if (file) {
                file->write(piece);
            } else {
                out.put(piece);
            }
        });
    }
    std::optional<exports::FindJsonWriter> json;
    if (options.json && !icsToStdout) {
        json.emplace(*options.find, options.from, options.to,
                     [&](std::string_view piece) { out.put(piece); });
    }
    daysearch::SearchHooks hooks;
    hooks.found = [&](daysearch::DayMatch&& day) {
        if (calendar) {
            calendar->day(day);
        }
        if (json) {
            json->day(day);
        } else if (!icsToStdout) {
            out.put(exports::findReportLine(day));
        }
    };
    daysearch::DaySearch search(days);
    const daysearch::SearchResult result =
        search.search(*options.find, options.from, options.to, hooks);
    for (const std::string& line : exports::uncoveredLines(result)) {
        toStandardError("sorvane-cli: note: " + cli::printable(line) + "\n");
    }
    if (result.count == 0) {
        // A lunar date its month never reaches in the range (旧3月30日 where every 旧3月 has
        // 29 days) is why nothing was found: say so.
        for (const std::string& date :
             daysearch::absentLunarDates(search, *options.find, options.from, options.to)) {
            toStandardError("sorvane-cli: note: " + date + " falls on no day from " +
                            isoDateText(options.from) + " to " + isoDateText(options.to) +
                            " (no lunar month of the range has that day)\n");
        }
    }
    if (calendar) {
        if (calendar->finish()) {
            if (file) {
                file->commit();
            }
        } else {
            // A calendar needs at least one event: an empty one is not written.
            toStandardError(
                std::string(
                    "sorvane-cli: note: no day fits the query, so no calendar was written") +
                (file ? " to " + cli::quotedArgument(pathText(*options.icsFile)) : "") +
                " (an iCalendar file needs at least one event)\n");
        }
    }
    if (json) {
        json->finish(result);
    }
    out.flush();
    return "";
}

// --feed: one kind's calendar, on standard output or (replaced whole) in the --ics file,
// written as it is made. Returns nothing.
std::string feed(const almanac::Days& days, const cli::Options& options, bool stdoutOpen) {
    if (options.icsFile && pathText(*options.icsFile) != "-") {
        AtomicFileWriter file(*options.icsFile);
        exports::writeFeed(*options.feed, options.fromYear, options.toYear, days,
                           [&](std::string_view piece) { file.write(piece); });
        file.commit();
        return "";
    }
    BlockOutput out(stdoutOpen);
    exports::writeFeed(*options.feed, options.fromYear, options.toYear, days,
                       [&](std::string_view piece) { out.put(piece); });
    out.flush();
    return "";
}

// --published-feeds: each kind's key and the years a site publishes in thisYear, a line each
// ("rokuyo 2025 2029"; "holidays - -" for a kind that reaches none of them).
std::string publishedFeeds(int thisYear) {
    std::string out;
    for (const exports::FeedKind kind : exports::kFeedKinds) {
        const std::optional<almanac::YearSpan> years = exports::publishedFeedYears(kind, thisYear);
        out += exports::feedKindKey(kind);
        out += years ? " " + std::to_string(years->first) + " " + std::to_string(years->last)
                     : std::string(" - -");
        out += "\n";
    }
    return out;
}

std::string run(const cli::Options& options, bool stdoutOpen) {
    if (options.help) {
        return cli::usageText() + placeNamesHelp(options);
    }
    if (options.version) {
        return cli::versionText();
    }
    if (options.sun) {
        return sunListing(options);
    }
    if (options.wareki) {
        return cli::warekiReport(options);
    }
    if (options.publishedFeeds) {
        return publishedFeeds(options.year);
    }
    const bool icsToStdout = options.icsFile && pathText(*options.icsFile) == "-";
    if (options.icsFile && !icsToStdout && isStandardOutputFile(*options.icsFile)) {
        throw cli::UsageError("--ics " + cli::quotedArgument(pathText(*options.icsFile)) +
                              " is standard output, where the report goes; --ics - writes the "
                              "calendar there instead of the report");
    }
    // The term files are read only when a default-mode moment or the notes are computed: a
    // month listing, the phases, the holiday list or a precise year alone need none. The day
    // listing takes the precise moments wherever the IAU model reaches.
    const almanac::Days days([&options] { return termTables(options); },
                             options.precise || options.days ? almanac::Minutes::Observatory
                                                             : almanac::Minutes::Theory);
    if (options.find) {
        // Read before the search begins: no half-written listing ends on unreadable files.
        days.tables();
        return find(days, options, stdoutOpen);
    }
    if (options.feed) {
        return feed(days, options, stdoutOpen);
    }
    const auto almanacOf = [&](const almanac::AlmanacOptions& asked) {
        return days.year(options.year, asked);
    };
    const bool listingOnly =
        options.month != 0 || options.phases || (options.holidays && !options.json);
    const bool showsEvents = !listingOnly || options.zassetsu || options.icsFile.has_value();
    almanac::AlmanacOptions what;
    what.solarTerms = showsEvents || options.days;
    // The 雑節, holidays and lunisolar year (and so their searches) only when asked for,
    // directly or by the day listing.
    what.zassetsu = options.zassetsu || options.days;
    what.holidays = options.holidays || options.days;
    what.lunisolar = options.days;
    what.phases = options.phases;
    if (options.notes) {
        // The notes need only the lunisolar calendar (for 不成就日 and the moon age) and the
        // Sun's dates, which they find themselves in the calendar page's mode: not the solar
        // terms, which they do not print.
        almanac::AlmanacOptions notesOnly;
        notesOnly.solarTerms = false;
        notesOnly.lunisolar = notesOnly.notes = true;
        const almanac::YearAlmanac year = almanacOf(notesOnly);
        if (options.icsFile) {
            const std::string calendar = exports::notesIcsCalendar(*year.notes, std::time(nullptr));
            if (icsToStdout) {
                return calendar;
            }
            exports::writeTextFile(*options.icsFile, calendar);
        }
        return options.json ? exports::notesJson(*year.notes) : exports::notesReport(*year.notes);
    }
    // The calendar file holds everything, in the precise mode exactly when --precise is
    // given, whatever else the command line asks for: the same file with or without --days.
    const almanac::AlmanacOptions icsWhat = almanac::AlmanacOptions::everything(options.precise);
    const almanac::Days icsDays = days.withMinutes(options.precise ? almanac::Minutes::Observatory
                                                                   : almanac::Minutes::Theory);
    const bool icsSameMode = icsDays.mode(options.year) == days.mode(options.year);
    if (options.icsFile && icsSameMode) {
        what = icsWhat;
    }
    const almanac::YearAlmanac year = almanacOf(what);
    int outside = 0;
    for (const almanac::Event& e : year.solarTerms) {
        outside += exports::outsideMonth(year.year, e) ? 1 : 0;
    }
    if (showsEvents && outside > 0) {
        toStandardError(
            "sorvane-cli: warning: " + yearText(year.year) + ": " + std::to_string(outside) +
            " of the " + std::to_string(year.solarTerms.size()) +
            (outside == 1 ? " events lies outside its month" : " events lie outside their months") +
            " (the calendar has drifted from the seasons; results "
            "are meaningful for the years " +
            std::to_string(almanac::kFirstCleanYear) + ".." +
            std::to_string(almanac::kLastCleanYear) + ")\n");
    }

    if (options.icsFile) {
        const std::string calendar = exports::icsCalendar(
            icsSameMode ? year : icsDays.year(options.year, icsWhat), std::time(nullptr));
        if (icsToStdout) {
            return calendar;
        }
        exports::writeTextFile(*options.icsFile, calendar);
    }
    if (options.days || options.phases) {
        auto days = options.days ? almanac::dayListing(year) : std::vector<almanac::DayEntry>{};
        if (almanac::addHistoricalLunar(days) && !options.json) {
            toStandardError("sorvane-cli: note: the lunisolar dates and 六曜 up to 1872-12-31 are "
                            "the historical calendar's (a table of the calendars then in use), "
                            "not computed\n");
        }
        if (options.json) {
            return exports::daysJson(year, options.days ? &days : nullptr, options.phases);
        }
        if (options.days) {
            // The day lines name no mode: say which one gave the moments, and how sure they are.
            const std::string note = almanac::uncertaintyNote(year);
            toStandardError(
                "sorvane-cli: note: the times are " +
                (year.precise
                     ? std::string("the precise mode's (as --precise)")
                     : "the default theory's (the precise mode covers " +
                           almanac::spanText(almanac::coverage(almanac::Source::Precise)) + ")") +
                (note.empty() ? "" : "; 注：" + note) + "\n");
        }
        if (options.phases && !options.days) {
            if (const std::string note = almanac::phasesUncertaintyNote(year); !note.empty()) {
                toStandardError("sorvane-cli: note: 注：" + note + "\n");
            }
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
        if (const std::string note = exports::holidaysNote(options.year); !note.empty()) {
            toStandardError("sorvane-cli: " + note + "\n");
        }
        return exports::holidayReport(year) +
               (options.zassetsu ? "\n" + exports::zassetsuReport(year) : "");
    }
    return exports::yearReport(year, options.zassetsu);
}

// --life: its own options, its report or calendar on standard output.
int lifeCommand(const std::vector<std::string>& args, bool stdoutOpen) {
    const cli::LifeRun run = cli::runLife(args, cli::todayInJapan());
    if (run.status != 0) {
        return fail(run.status, run.err);
    }
    if (const int err = writeStandardOutput(run.out, stdoutOpen); err != 0) {
        return fail(kOutputFailed, std::string("standard output: ") + std::strerror(err));
    }
    return 0;
}

// --eclipses: its own options, its report, document or calendar on standard output.
int eclipsesCommand(const std::vector<std::string>& args, bool stdoutOpen) {
    const cli::LifeRun run = cli::runEclipses(args);
    if (run.status != 0) {
        return fail(run.status, run.err);
    }
    if (const int err = writeStandardOutput(run.out, stdoutOpen); err != 0) {
        return fail(kOutputFailed, std::string("standard output: ") + std::strerror(err));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    const bool stdoutOpen = cli::setUpWindowsConsole();
    const std::vector<std::string> arguments = cli::windowsArguments();
#else
    // Over a file-size limit write() then fails with EFBIG, which is reported, instead of
    // the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // A reader that quits (`sorvane-cli 2026 --days | head`) makes write() fail with EPIPE,
    // reported as any failed write is (status 3), instead of the signal ending the program.
    std::signal(SIGPIPE, SIG_IGN);
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
    const std::vector<std::string> arguments(argv + 1, argv + argc);
#endif

    // --life and --eclipses take their own options.
    const auto asks = [&arguments](const char* option) {
        return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
    };
    if (asks("--life")) {
        return lifeCommand(arguments, stdoutOpen);
    } else if (asks("--eclipses")) {
        return eclipsesCommand(arguments, stdoutOpen);
    }
    std::string report;
    try {
        const cli::Options options =
            cli::parseArguments(arguments, cli::currentYear(), cli::todayInJapan());
        report = run(options, stdoutOpen);
        if (options.find) {
            // Written on the way; an empty report needs no open standard output.
            return 0;
        }
    } catch (const StandardOutputError& e) {
        return fail(kOutputFailed, std::string("standard output: ") + std::strerror(e.error));
    } catch (const cli::UsageError& e) {
        return fail(kBadArgument, std::string(e.what()) + " (see --help)");
    } catch (const exports::IcsError& e) {
        return fail(kBadArgument, e.what());
    } catch (const FileWriteError& e) {
        // The name cut as arguments are in every message (a long name stays readable).
        return fail(kOutputFailed, cli::quotedArgument(pathText(e.path())) + ": " + e.step() +
                                       ": " + std::strerror(e.error()));
    } catch (const std::exception& e) {
        // Data files that cannot be read or give the Sun no usable motion.
        return fail(kBadData, e.what());
    }
    if (const int err = writeStandardOutput(report, stdoutOpen); err != 0) {
        return fail(kOutputFailed, std::string("standard output: ") + std::strerror(err));
    }
    return 0;
}
