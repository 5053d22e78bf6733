#include "cli/life.h"

#include "calendar/typed_date.h"
#include "cli/options.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/atomic_file.h"
#include "export/icalendar.h"
#include "export/life_document.h"
#include "lifeevents/life_events.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <utility>

namespace sorvane::cli {

namespace {

constexpr int kBadData = 1;
constexpr int kBadArgument = 2;
constexpr int kOutputFailed = 3;

struct LifeError {
    explicit LifeError(std::string text) : message(std::move(text)) {}
    std::string message;
};

// The value of an option: the next argument, which must be there.
const std::string& valueOf(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) {
        throw LifeError(args[i] + " には値が必要です");
    }
    return args[++i];
}

CivilDate dateOf(const std::string& option, const std::string& text) {
    const TypedDate typed = readTypedDate(text);
    if (!typed.whole()) {
        throw LifeError(
            option + " " + quotedArgument(text) + "：" +
            (typed.problem == TypedDateProblem::NoSuchDay
                 ? "日付が正しくありません（" + typed.reason + "）"
                 : "日付が読めません（" +
                       (typed.reason.empty() ? "YYYY-MM-DD の形で書いてください" : typed.reason) +
                       "）"));
    }
    return typed.date();
}

int numberOf(const std::string& option, const std::string& text, int low, int high) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high) {
        throw LifeError(option + " " + quotedArgument(text) + "：" + std::to_string(low) + "〜" +
                        std::to_string(high) + " の整数を書いてください");
    }
    return static_cast<int>(value);
}

std::string kindList() {
    std::string out;
    for (int k = 0; k < lifeevents::kKindCount; ++k) {
        out += (out.empty() ? "" : "、") +
               std::string(lifeevents::kindName(static_cast<lifeevents::Kind>(k)));
    }
    return out;
}

} // namespace

std::string lifeUsage() {
    return "  --life KIND   instead, the dates of a family's event and the best days around\n"
           "              each. KIND: お七夜, お宮参り, お食い初め, 初節句, 七五三, 十三参り,\n"
           "              成人, 帯祝い, 厄年, 法要, 旧暦誕生日, 旧暦命日, 年齢 (or their\n"
           "              readings: おみやまいり ..). --date YYYY-MM-DD is the birthday, the\n"
           "              due date (帯祝い) or the 命日 (法要, 旧暦命日); --sex 男|女 for\n"
           "              お宮参り, 初節句, 七五三 and a person's 厄年. --life 厄年 --year Y:\n"
           "              the birth years in 厄 in Y; --life 年齢 --year Y: every birth year's\n"
           "              ages, 干支 and era year. 旧暦誕生日 and 旧暦命日 list --years N\n"
           "              (default 10) years from --year (default this year). --today\n"
           "              YYYY-MM-DD: the day the plan is made (default today in Japan).\n"
           "              With --json a document, with --ics FILE the dates as all-day\n"
           "              events. Errors are in Japanese.\n";
}

LifeRun failedRun(std::exception_ptr failure) {
    LifeRun run;
    try {
        std::rethrow_exception(failure);
    } catch (const exports::IcsError& e) {
        run.status = kBadArgument;
        run.err = e.what();
    } catch (const FileWriteError& e) {
        run.status = kOutputFailed;
        run.err = quotedArgument(e.path().string()) + "：書き込めません（" + e.step() + "：" +
                  std::strerror(e.error()) + "）";
    } catch (const std::exception& e) {
        run.status = kBadData;
        run.err = e.what();
    }
    return run;
}

LifeRun runLife(const std::vector<std::string>& args, const CivilDate& todayInJapan) {
    LifeRun run;
    try {
        lifeevents::Request request;
        request.today = todayInJapan;
        std::optional<std::string> kindText;
        bool json = false;
        std::optional<std::string> icsFile;
        std::optional<std::string> dataDir;
        std::map<std::string, int> seen;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (++seen[a] > 1 && a.starts_with("--")) {
                throw LifeError(a + " が二度書かれています");
            }
            if (a == "--life") {
                kindText = valueOf(args, i);
            } else if (a == "--date") {
                request.date = dateOf(a, valueOf(args, i));
            } else if (a == "--today") {
                request.today = dateOf(a, valueOf(args, i));
            } else if (a == "--year") {
                request.year = numberOf(a, valueOf(args, i), -32768, 32767);
            } else if (a == "--years") {
                request.years = numberOf(a, valueOf(args, i), 1, 100);
            } else if (a == "--sex") {
                const std::string& s = valueOf(args, i);
                const std::optional<lifeevents::Sex> sex = lifeevents::sexOfName(s);
                if (!sex) {
                    throw LifeError("--sex " + quotedArgument(s) + "：男 か 女 を書いてください");
                }
                request.sex = *sex;
            } else if (a == "--json") {
                json = true;
            } else if (a == "--ics") {
                icsFile = valueOf(args, i);
            } else if (a == "--data") {
                dataDir = valueOf(args, i);
            } else {
                throw LifeError(quotedArgument(a) + "：--life と一緒には使えない引数です");
            }
        }
        const std::optional<lifeevents::Kind> kind = lifeevents::kindOfName(*kindText);
        if (!kind) {
            throw LifeError("--life " + quotedArgument(*kindText) + "：知らない行事です（" +
                            kindList() + "）");
        }
        request.kind = *kind;
        // --year and --years only where the kind reads them.
        const lifeevents::Input input = lifeevents::inputOf(*kind);
        const bool lunar =
            *kind == lifeevents::Kind::KyurekiTanjobi || *kind == lifeevents::Kind::KyurekiMeinichi;
        const std::string name = lifeevents::kindName(*kind);
        if (request.year && !lifeevents::takesYear(*kind)) {
            throw LifeError("--year：" + name + "では使えません（--date で日付を書いてください）");
        }
        if (seen.contains("--years") && !lunar) {
            throw LifeError("--years：旧暦誕生日と旧暦命日のほかでは使えません");
        }
        if (request.date && input == lifeevents::Input::Year) {
            throw LifeError("--date：" + name + "では使えません（--year で年を書いてください）");
        }
        const almanac::Days days(
            [&dataDir] {
                return loadTables(dataDir ? std::filesystem::path(*dataDir) : findDataDir());
            },
            almanac::Minutes::Observatory);
        const lifeevents::Result result = lifeevents::plan(request, days);
        if (result.status != lifeevents::Status::Ok) {
            throw LifeError("--life " + std::string(lifeevents::kindName(*kind)) + "：" +
                            result.message);
        }
        if (icsFile) {
            const std::string calendar = exports::lifeIcsCalendar(result.plan, std::time(nullptr));
            if (*icsFile == "-") {
                run.out = calendar;
                return run;
            }
            exports::writeTextFile(*icsFile, calendar);
        }
        run.out = json ? exports::lifeJson(result.plan) : exports::lifeReport(result.plan);
    } catch (const LifeError& e) {
        run.status = kBadArgument;
        run.err = e.message;
    } catch (const std::exception&) {
        return failedRun(std::current_exception());
    }
    return run;
}

} // namespace sorvane::cli
