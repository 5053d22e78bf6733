// The options of the terminal program that one run cannot take together.
#include "cli/options.h"

#include <algorithm>

namespace sorvane::cli {

namespace {

// Options that cannot be given together, and why: each row names two options (as written
// on the command line) that ask for things one run cannot do at once.
struct Conflict {
    const char* first;
    const char* second;
    const char* reason;
};

constexpr Conflict kConflicts[] = {
    {"--month", "--zassetsu", "the 雑節 are listed for a whole year"},
    {"--month", "--precise", "a month listing shows no solar-term moments"},
    {"--month", "--days", "--days lists every day of the year"},
    {"--month", "--phases", "a month listing shows no phases"},
    {"--zassetsu", "--days", "--days lists the 雑節 with every day"},
    {"--month", "--holidays", "the holidays are listed for a whole year"},
    {"--holidays", "--days", "--days lists the holidays with every day"},
    {"--holidays", "--phases", "each prints a listing of its own"},
    {"--zassetsu", "--phases", "--phases prints the phases alone"},
    {"--find", "--month", "--find lists days, not a month"},
    {"--find", "--zassetsu", "--find takes the 雑節 as words of its query"},
    {"--find", "--days", "each prints a listing of its own"},
    {"--find", "--phases", "each prints a listing of its own"},
    {"--find", "--holidays", "--find takes 祝日 and 休日 as words of its query"},
    {"--find", "--precise", "--find takes the precise moments wherever they reach"},
    {"--notes", "--month", "--notes lists every day of the year"},
    {"--notes", "--days", "each prints a listing of its own"},
    {"--notes", "--phases", "each prints a listing of its own"},
    {"--notes", "--holidays", "each prints a listing of its own"},
    {"--notes", "--zassetsu", "the notes list no 雑節"},
    {"--notes", "--precise",
     "the notes take the precise moments wherever they reach, as the calendar page does"},
    {"--find", "--notes", "each prints a listing of its own"},
    {"--find", "--sun", "each prints a listing of its own"},
    {"--find", "--place", "--place goes with --sun"},
    {"--find", "--lat", "--lat goes with --sun"},
    {"--find", "--lon", "--lon goes with --sun"},
    {"--feed", "--find", "each writes an output of its own"},
    {"--feed", "--month", "a feed holds whole years"},
    {"--feed", "--json", "a feed is an iCalendar calendar"},
    {"--feed", "--precise", "a feed takes the precise moments wherever they reach"},
    {"--feed", "--zassetsu", "the 雑節 are the feed --feed zassetsu"},
    {"--feed", "--holidays", "the holidays are the feed --feed holidays"},
    {"--feed", "--phases", "the phases are the feed --feed moon"},
    {"--feed", "--days", "each writes an output of its own"},
    {"--feed", "--notes", "the 選日 are the feed --feed senjitsu"},
    {"--feed", "--sun", "each writes an output of its own"},
};

} // namespace

void checkConflicts(const std::vector<std::string>& given) {
    for (const Conflict& c : kConflicts) {
        const auto named = [&](const char* name) {
            return std::find(given.begin(), given.end(), name) != given.end();
        };
        if (named(c.first) && named(c.second)) {
            throw UsageError(std::string(c.first) + " and " + c.second +
                             " cannot be combined: " + c.reason);
        }
    }
}

} // namespace sorvane::cli
