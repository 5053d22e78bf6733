#include "zassetsu/zassetsu.h"

#include "calendar/day_cycles.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <stdexcept>

namespace sorvane::zassetsu {

namespace {

constexpr const char* kSeasonNames[4] = {"冬", "春", "夏", "秋"};
constexpr const char* kDoyo = "の土用"; // after the season's name
constexpr const char* kSeasonIds[4] = {"winter", "spring", "summer", "autumn"};
constexpr const char* kCountNames[] = {"一", "二", "三", "四"};
// The 彼岸: its 入り and 明け lie this many days before and after the equinox's date.
constexpr int kHiganHalf = 3;
constexpr const char* kHiganStartIds[] = {"higan-spring-start", "higan-autumn-start"};

Item dayItem(const std::string& name, const std::string& id, const CivilDate& date,
             const std::string& rule) {
    Item item;
    item.kind = Kind::Day;
    item.name = name;
    item.id = id;
    item.date = date;
    item.lastDate = date;
    item.rule = rule;
    return item;
}

Item momentItem(const std::string& name, const std::string& id, const ShownMoment& moment,
                const std::string& rule) {
    Item item;
    item.kind = Kind::Moment;
    item.date = moment.date;
    item.lastDate = moment.date;
    item.hour = moment.hour;
    item.minute = moment.minute;
    item.longitude = moment.longitude;
    item.name = name;
    item.id = id;
    item.rule = rule;
    return item;
}

// The name of the i-th (from 0) of a 土用's count 丑の日.
std::string ushiName(std::size_t count, std::size_t i) {
    return count == 1 ? std::string("丑の日")
                      : std::string(kCountNames[std::min<std::size_t>(i, 3)]) + "の丑";
}

int sortRank(Kind kind) {
    return kind == Kind::Period ? 0 : 1;
}

} // namespace

std::vector<CivilDate> ushiDays(const CivilDate& first, const CivilDate& last) {
    const long long firstDay = dayNumber(first);
    const long long lastDay = dayNumber(last);
    if (lastDay - firstDay >= kMaxPeriodDays) {
        throw std::length_error("a period from " + std::to_string(first.year) + "-" +
                                monthDayText(first) + " to " + std::to_string(last.year) + "-" +
                                monthDayText(last) + " is longer than a year");
    }
    std::vector<CivilDate> days;
    for (long long n = firstDay; n <= lastDay; ++n) {
        if ((kanshi(static_cast<double>(n)) - 1) % 12 == 1) {
            days.push_back(civilDate(n));
        }
    }
    return days;
}

std::vector<Item> yearZassetsu(const SeasonAnchors& a) {
    std::vector<Item> items;
    const CivilDate risshun = a.risshun.date;

    items.push_back(dayItem("節分", "setsubun", addDays(risshun, -1), "立春の前日"));
    items.push_back(dayItem("春の彼岸入り", kHiganStartIds[0], addDays(a.shunbun.date, -kHiganHalf),
                            "春分の3日前"));
    items.push_back(dayItem("春の彼岸明け", "higan-spring-end", addDays(a.shunbun.date, kHiganHalf),
                            "春分の3日後"));
    items.push_back(
        dayItem("八十八夜", "hachijuuhachiya", addDays(risshun, 87), "立春から数えて88日目"));
    items.push_back(momentItem("入梅", "nyuubai", a.nyuubai, "太陽黄経 80°"));
    items.push_back(momentItem("半夏生", "hangeshou", a.hangeshou, "太陽黄経 100°"));
    items.push_back(
        dayItem("二百十日", "nihyakutooka", addDays(risshun, 209), "立春から数えて210日目"));
    items.push_back(
        dayItem("二百二十日", "nihyakuhatsuka", addDays(risshun, 219), "立春から数えて220日目"));
    items.push_back(dayItem("秋の彼岸入り", kHiganStartIds[1], addDays(a.shuubun.date, -kHiganHalf),
                            "秋分の3日前"));
    items.push_back(dayItem("秋の彼岸明け", "higan-autumn-end", addDays(a.shuubun.date, kHiganHalf),
                            "秋分の3日後"));

    const ShownMoment* seasonStarts[4] = {&a.risshun, &a.rikka, &a.risshuu, &a.rittou};
    const char* seasonStartNames[4] = {"立春", "立夏", "立秋", "立冬"};
    for (int s = 0; s < 4; ++s) {
        const std::string season = kSeasonNames[s];
        const std::string sid = std::string("doyo-") + kSeasonIds[s];
        Item period;
        period.kind = Kind::Period;
        period.name = season + kDoyo;
        period.id = sid;
        period.date = a.doyoEntries[static_cast<std::size_t>(s)].date;
        period.lastDate = addDays(seasonStarts[s]->date, -1);
        period.rule = std::string("土用の入りから") + seasonStartNames[s] + "の前日まで";
        items.push_back(period);

        const auto ushi = ushiDays(period.date, period.lastDate);
        for (std::size_t i = 0; i < ushi.size(); ++i) {
            Item day;
            day.kind = Kind::UshiDay;
            day.id = sid + "-ushi-" + std::to_string(i + 1);
            day.date = ushi[i];
            day.lastDate = ushi[i];
            day.name = period.name + " " + ushiName(ushi.size(), i);
            day.rule = period.name + "（" + monthDayText(period.date) + "〜" +
                       monthDayText(period.lastDate) + "）のうち干支が丑の日";
            items.push_back(day);
        }
    }

    std::stable_sort(items.begin(), items.end(), [](const Item& x, const Item& y) {
        if (x.date != y.date) {
            return x.date < y.date;
        }
        if (sortRank(x.kind) != sortRank(y.kind)) {
            return sortRank(x.kind) < sortRank(y.kind);
        }
        return x.hour * 60 + x.minute < y.hour * 60 + y.minute;
    });
    for (Item& item : items) {
        item.line = zassetsuLine(item);
    }
    return items;
}

std::vector<std::string> names() {
    const auto doyo = [](int season) { return std::string(kSeasonNames[season]) + kDoyo; };
    // A year from the winter 土用: 節分 and its 丑の日, spring's 彼岸, 八十八夜, the spring
    // 土用 with two 丑の日, 入梅, 半夏生, the summer 土用, 二百十日, 二百二十日, autumn's 彼岸,
    // the autumn 土用.
    return {doyo(0),    "節分",         ushiName(1, 0), "春の彼岸入り", "春の彼岸明け", "八十八夜",
            doyo(1),    ushiName(2, 0), ushiName(2, 1), "入梅",         "半夏生",       doyo(2),
            "二百十日", "二百二十日",   "秋の彼岸入り", "秋の彼岸明け", doyo(3)};
}

std::vector<Period> yearPeriods(const std::vector<Item>& items) {
    std::vector<Period> out;
    for (const Item& item : items) {
        if (item.kind == Kind::Period) {
            out.push_back({"土用", item.date, item.lastDate});
        } else if (std::find_if(std::begin(kHiganStartIds), std::end(kHiganStartIds),
                                [&](const char* id) { return item.id == id; }) !=
                   std::end(kHiganStartIds)) {
            out.push_back({"彼岸", item.date, addDays(item.date, 2 * kHiganHalf)});
        }
    }
    return out;
}

namespace {

// A 雑節 line after its date column: the time (or its blank columns), the name and, for a
// 土用, its first and last days written by dayText.
std::string zassetsuLineAfterDate(const Item& item, std::string (*dayText)(const CivilDate&)) {
    std::string line;
    if (item.kind == Kind::Moment) {
        line += " " + formatTwoDigits(item.hour) + ":" + formatTwoDigits(item.minute);
    } else {
        line += "      ";
    }
    line += "  " + item.name;
    if (item.kind == Kind::Period) {
        line += " " + dayText(item.date) + "〜" + dayText(item.lastDate);
    }
    return line;
}

} // namespace

std::string zassetsuLine(const Item& item) {
    return monthDayText(item.date) + zassetsuLineAfterDate(item, monthDayText);
}

std::string zassetsuJapaneseLine(const Item& item) {
    const std::string date = japaneseMonthDayText(item.date);
    // 月 and 日 take two columns each, the digits one; "12月31日" takes eight.
    const std::size_t digits = date.size() - 2 * std::string("月").size();
    return date + std::string(8 - (digits + 4), ' ') +
           zassetsuLineAfterDate(item, japaneseMonthDayText);
}

} // namespace sorvane::zassetsu
