// Dates typed whole: the forms read, the dates refused and why, a part typed over a date.
// The era dates are those of the proclamations: 大正 from 1912-07-30, 昭和 from 1926-12-25,
// 平成 from 1989-01-08 (平成元年政令第1号), 令和 from 2019-05-01 (平成31年政令第143号); the
// Gregorian calendar in Japan from 明治6年1月1日 (明治5年太政官布告第337号). Month lengths by
// the Gregorian rule (2028 a leap year, 2100 not).
#include "calendar/typed_date.h"

#include <gtest/gtest.h>

namespace sorvane {
namespace {

TEST(TypedDate, ReadsTheUsualFormsAndRefusesTheRest) {
    using P = TypedDateProblem;
    struct Case {
        const char* text;
        P problem;
        CivilDate date;         // when the date is whole
        const char* reasonPart; // a part of the reason for a refusal
    };
    const Case cases[] = {
        {"2027-04-30", P::None, {2027, 4, 30}, ""},
        {"2027/4/30", P::None, {2027, 4, 30}, ""},
        {"2027.4.30", P::None, {2027, 4, 30}, ""},
        {"2027年4月30日", P::None, {2027, 4, 30}, ""},
        {"2027年4月30", P::None, {2027, 4, 30}, ""},
        {"２０２７－０４－３０", P::None, {2027, 4, 30}, ""},
        {"２０２７／４／３０", P::None, {2027, 4, 30}, ""},
        {"２０２７年４月３０日", P::None, {2027, 4, 30}, ""},
        {" 2027 年 4 月 30 日　", P::None, {2027, 4, 30}, ""},
        {"令和9年4月30日", P::None, {2027, 4, 30}, ""},
        {"令和９年４月３０日", P::None, {2027, 4, 30}, ""},
        {"R9.4.30", P::None, {2027, 4, 30}, ""},
        {"r9/4/30", P::None, {2027, 4, 30}, ""},
        {"令和元年5月1日", P::None, {2019, 5, 1}, ""},
        {"平成31年4月30日", P::None, {2019, 4, 30}, ""},
        {"平成元年1月8日", P::None, {1989, 1, 8}, ""},
        {"昭和64年1月7日", P::None, {1989, 1, 7}, ""},
        {"大正元年7月30日", P::None, {1912, 7, 30}, ""},
        {"明治6年1月1日", P::None, {1873, 1, 1}, ""},
        {"2028-02-29", P::None, {2028, 2, 29}, ""},
        {"-0500-03-21", P::None, {-500, 3, 21}, ""},
        {"０００１−０１−０１", P::None, {1, 1, 1}, ""},
        // No day of the calendar.
        {"2027-02-29", P::NoSuchDay, {}, "2月は28日まで"},
        {"2100/2/29", P::NoSuchDay, {}, "2月は28日まで"},
        {"2027年4月31日", P::NoSuchDay, {}, "4月は30日まで"},
        {"2027-13-01", P::NoSuchDay, {}, "月は1〜12"},
        {"2027-00-10", P::NoSuchDay, {}, "月は1〜12"},
        {"2027-04-00", P::NoSuchDay, {}, "4月は30日まで"},
        // An era year the era did not have, and a date before the Gregorian calendar.
        {"平成31年5月1日", P::OutsideEra, {}, "令和元年5月1日"},
        {"令和元年4月30日", P::OutsideEra, {}, "平成31年4月30日"},
        {"昭和64年1月8日", P::OutsideEra, {}, "平成元年1月8日"},
        {"平成32年", P::OutsideEra, {}, "令和2年"},
        {"明治5年12月2日", P::BeforeGregorian, {}, "旧暦"},
        // No date form.
        {"", P::NotADate, {}, "2027-04-30"},
        {"tomorrow", P::NotADate, {}, "令和9年4月30日"},
        {"27-4-30", P::NotADate, {}, ""},
        {"2027-4/30", P::NotADate, {}, ""},
        {"2027--30", P::NotADate, {}, ""},
        {"2027-04-30x", P::NotADate, {}, ""},
        {"2027-123-1", P::NotADate, {}, ""},
        {"2027年4月30日日", P::NotADate, {}, ""},
        {"令和年4月30日", P::NotADate, {}, ""},
        {"令和0年4月30日", P::NotADate, {}, ""},
        {"天平1年1月1日", P::NotADate, {}, ""},
        {"2027\xff-04-30", P::NotADate, {}, ""},
        {"1234567-01-01", P::NotADate, {}, ""},
    };
    for (const Case& c : cases) {
        const TypedDate typed = readTypedDate(c.text);
        EXPECT_EQ(typed.problem, c.problem) << c.text;
        if (c.problem == P::None) {
            ASSERT_TRUE(typed.whole()) << c.text;
            EXPECT_EQ(typed.date(), c.date) << c.text;
            EXPECT_EQ(typed.reason, "") << c.text;
        } else {
            EXPECT_FALSE(typed.whole()) << c.text;
            EXPECT_NE(typed.reason.find(c.reasonPart), std::string::npos)
                << c.text << ": " << typed.reason;
        }
    }
}

// A year, or a year and a month, typed over a date keeps the rest of it.
TEST(TypedDate, APartTypedOverADateKeepsTheRest) {
    struct Case {
        const char* text;
        CivilDate shown;
        std::optional<CivilDate> date;
    };
    const Case cases[] = {
        {"2028", {2027, 3, 4}, CivilDate{2028, 3, 4}},
        {"2028-02", {2027, 3, 31}, CivilDate{2028, 2, 29}},
        {"2027年2月", {2027, 3, 31}, CivilDate{2027, 2, 28}},
        {"令和10年", {2027, 6, 15}, CivilDate{2028, 6, 15}},
        {"2027-05-06", {2020, 1, 1}, CivilDate{2027, 5, 6}},
        {"2027-2", {2020, 1, 1}, CivilDate{2027, 2, 1}},
        {"2027-14", {2020, 1, 1}, std::nullopt},
        {"202", {2020, 1, 1}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(typedDateOver(c.text, c.shown, &reason), c.date) << c.text;
        EXPECT_EQ(reason.empty(), c.date.has_value()) << c.text << ": " << reason;
    }
}

} // namespace
} // namespace sorvane
