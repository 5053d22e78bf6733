// The 日を探す window: opened from the 暦 menu, it finds the days the terminal program finds,
// counts as the conditions change, refuses a bad word in Japanese, opens the calendar page on
// a found day and saves the days as an iCalendar file.
#pragma once

#include "gui_support.h"
#include "support/test_support.h"
#include "ui/day_search_window.h"

// moc cannot parse the standard library's <compare>, which the date type needs.
#ifndef Q_MOC_RUN
#include "daysearch/day_search.h"
#endif

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>

namespace sorvane::ui::test {

class DaySearchTest : public QObject {
    Q_OBJECT

    // The dates --find prints for the query over the range.
    static std::vector<QDate> cliDates(const QString& query, const QString& from,
                                       const QString& to) {
        const auto run = sorvane::testing::runCli(
            QStringLiteral("--find '%1' --from %2 --to %3").arg(query, from, to).toStdString());
        std::vector<QDate> dates;
        for (const std::string& line : sorvane::testing::lines(run.out)) {
            dates.push_back(QDate::fromString(QString::fromStdString(line.substr(0, 10)),
                                              QStringLiteral("yyyy-MM-dd")));
        }
        return dates;
    }

    // Waits for the window's search to finish (it runs off the window's thread).
    static bool settled(const DaySearchWindow* window) {
        QElapsedTimer waited;
        waited.start();
        while (window->searching() && waited.elapsed() < 120000) {
            QTest::qWait(5);
        }
        return !window->searching();
    }

  private slots:
    void findsWhatTheTerminalProgramFinds() {
        Form1 form(sharedTables());
        form.findChild<QAction*>(QStringLiteral("mnudaysearch"))->trigger();
        DaySearchWindow* window = form.daySearchWindow();
        QVERIFY(window != nullptr);
        FIND_CHILD(count, QLabel, window, "matchCount");
        window->setRange(QDate(2025, 11, 1), QDate(2027, 2, 28));
        QVERIFY(settled(window));

        // Check boxes and the text field make one query, the terminal program's form.
        window->findChild<QCheckBox*>(QStringLiteral("check-大安"))->setChecked(true);
        window->findChild<QCheckBox*>(QStringLiteral("check-土"))->setChecked(true);
        window->findChild<QCheckBox*>(QStringLiteral("check-祝日"))->setChecked(true);
        QCOMPARE(window->queryText(), QStringLiteral("大安 土|祝日"));
        const auto weekendDays = cliDates(window->queryText(), QStringLiteral("2025-11-01"),
                                          QStringLiteral("2027-02-28"));
        QVERIFY(!weekendDays.empty());
        QVERIFY(settled(window));
        QCOMPARE(window->matchDates(), weekendDays);
        QCOMPARE(count->text(), QStringLiteral("該当 %1 件").arg(weekendDays.size()));

        // A name of two kinds is written with the kind of its group.
        window->findChild<QCheckBox*>(QStringLiteral("check-危"))->setChecked(true);
        window->setExtraQuery(QStringLiteral("-不成就日 -仏滅"));
        QVERIFY(settled(window));
        QCOMPARE(window->queryText(), QStringLiteral("大安 土|祝日 十二直:危 -不成就日 -仏滅"));
        QCOMPARE(window->matchDates(), cliDates(window->queryText(), QStringLiteral("2025-11-01"),
                                                QStringLiteral("2027-02-28")));
    }

    // The search runs off the window's thread: while a long one runs (a 十二直 over nine
    // centuries) a change of the range returns at once, the window answers within 100 ms,
    // the count shows the progress, and the last change's answer is the one shown.
    void staysResponsiveWhileALongSearchRuns() {
        DaySearchWindow window(sharedTables());
        FIND_CHILD(count, QLabel, (&window), "matchCount");
        window.findChild<QCheckBox*>(QStringLiteral("check-土"))->setChecked(true);
        window.findChild<QCheckBox*>(QStringLiteral("check-建"))->setChecked(true);
        QVERIFY(settled(&window));
        QElapsedTimer clock;
        clock.start();
        window.setRange(QDate(2026, 1, 1), QDate(2957, 12, 31));
        for (int turn = 0; turn < 5; ++turn) {
            QVERIFY(window.searching());
            bool answered = false;
            clock.restart();
            QTimer::singleShot(0, &window, [&] { answered = true; });
            while (!answered && clock.elapsed() < 1000) {
                QTest::qWait(1);
            }
            QVERIFY2(answered && clock.elapsed() < 100,
                     qPrintable(QStringLiteral("answered after %1 ms").arg(clock.elapsed())));
            clock.restart();
            window.setRange(QDate(2026, 1, 1), QDate(2957 - turn, 12, 31));
            QVERIFY2(clock.elapsed() < 100,
                     qPrintable(QStringLiteral("the range took %1 ms").arg(clock.elapsed())));
        }
        QTRY_VERIFY_WITH_TIMEOUT(count->text().startsWith(QStringLiteral("検索中… ")), 20000);
        // The last change wins: a short range, counted as a search of it alone counts.
        window.setRange(QDate(2026, 1, 1), QDate(2026, 3, 31));
        QVERIFY(settled(&window));
        daysearch::DaySearch alone(sharedTables());
        const auto expected = alone.search(daysearch::parseQuery("土 建", daysearch::Vocabulary()),
                                           CivilDate{2026, 1, 1}, CivilDate{2026, 3, 31});
        QVERIFY(expected.count > 0);
        QCOMPARE(window.matchCount(), expected.count);
        QCOMPARE(count->text(), QStringLiteral("該当 %1 件").arg(expected.count));
    }

    void refusesABadWordInJapanese() {
        DaySearchWindow window(sharedTables());
        FIND_CHILD(notice, QLabel, (&window), "notice");
        window.setExtraQuery(QStringLiteral("大安 危"));
        QVERIFY(settled(&window));
        QCOMPARE(window.matchCount(), std::size_t{0});
        QVERIFY2(notice->text().contains(QStringLiteral("十二直:危 か 二十八宿:危")),
                 qPrintable(notice->text()));
        // A word a few characters off a name, or a lunar date its month never reaches, is
        // answered with what was meant or why nothing is found.
        const struct {
            QString query;
            QString says;
        } answers[] = {
            {QStringLiteral("吉日"), QStringLiteral("「吉日」という名前はありません。")},
            {QStringLiteral("一粒万培"), QStringLiteral("一粒万倍日 のことですか")},
            {QStringLiteral("十二直危"), QStringLiteral("十二直:危 のことですか")},
            {QStringLiteral("旧2月30日"),
             QStringLiteral("「旧2月30日」はありません：期間内のその月は29日までです。")},
        };
        window.setRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
        for (const auto& a : answers) {
            window.setExtraQuery(a.query);
            QVERIFY(settled(&window));
            QCOMPARE(window.matchCount(), std::size_t{0});
            QVERIFY2(notice->text().contains(a.says), qPrintable(notice->text()));
        }
        // A word that would turn the label's text around (a right-to-left override) is
        // quoted escaped; a no-break space pasted from a page separates two words.
        window.setExtraQuery(QStringLiteral("ab\u202Ec"));
        QVERIFY(settled(&window));
        QVERIFY2(notice->text().contains(QStringLiteral("「ab\\u202Ec」という名前はありません。")),
                 qPrintable(notice->text()));
        QVERIFY(!notice->text().contains(QChar(0x202E)));
        window.setExtraQuery(QStringLiteral("大安\u00A0土"));
        QVERIFY(settled(&window));
        QVERIFY2(window.matchCount() > 0, qPrintable(notice->text()));
        // Past the lunisolar calendar's years the window says which days could not match.
        window.setExtraQuery(QStringLiteral("大安"));
        QVERIFY(settled(&window));
        window.setRange(QDate(2100, 12, 1), QDate(2101, 1, 31));
        QVERIFY(settled(&window));
        QVERIFY(window.matchCount() > 0);
        QVERIFY2(notice->text().contains(QStringLiteral("2101-01-01〜2101-01-31")),
                 qPrintable(notice->text()));
    }

    // Term values the calculation refuses (in 3003, past the precise mode's years, where the
    // search takes the theory's solar terms): the notice says so as the other windows do.
    void refusedTermsAreReportedInTheNotice() {
        const Tables refused = refusedTables("sorvane-refused-search");
        DaySearchWindow window(refused);
        FIND_CHILD(notice, QLabel, (&window), "notice");
        window.setRange(QDate(3003, 1, 1), QDate(3003, 12, 31));
        QVERIFY(settled(&window));
        window.setExtraQuery(QStringLiteral("春分"));
        QVERIFY(settled(&window));
        QCOMPARE(window.matchCount(), std::size_t{0});
        QVERIFY2(
            notice->text().startsWith(QStringLiteral("データファイルの値では計算できません。")),
            qPrintable(notice->text()));
        QVERIFY2(notice->text().contains(QStringLiteral("3003年3月: 太陽黄経 345 度")),
                 qPrintable(notice->text()));
    }

    // The 選日 to include hold any of them or all; the range buttons take the whole month or
    // year of the first day; a date typed whole is taken whole.
    void senjitsuAnyOrAllAndTheRangeWithoutSyntax() {
        DaySearchWindow window(sharedTables());
        FIND_CHILD(wanted, QListWidget, (&window), "senjitsuWanted");
        FIND_CHILD(all, QRadioButton, (&window), "senjitsuAll");
        FIND_CHILD(from, QDateEdit, (&window), "fromDate");
        FIND_CHILD(to, QDateEdit, (&window), "toDate");
        QVERIFY(from->calendarPopup() && to->calendarPopup());
        QCOMPARE(window.findChild<QCheckBox*>(QStringLiteral("check-日"))->text(),
                 QStringLiteral("日曜"));
        window.setRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
        for (const char* name : {"一粒万倍日", "天赦日"}) {
            wanted->findItems(QString::fromUtf8(name), Qt::MatchExactly)
                .front()
                ->setCheckState(Qt::Checked);
        }
        const struct {
            bool all;
            QString query;
        } choices[] = {{false, QStringLiteral("一粒万倍日|天赦日")},
                       {true, QStringLiteral("一粒万倍日 天赦日")}};
        for (const auto& c : choices) {
            all->setChecked(c.all);
            QCOMPARE(window.queryText(), c.query);
            QVERIFY(settled(&window));
            const auto dates =
                cliDates(c.query, QStringLiteral("2026-01-01"), QStringLiteral("2026-12-31"));
            QVERIFY(!dates.empty());
            QCOMPARE(window.matchDates(), dates);
        }

        const struct {
            const char* button;
            QDate first;
            QDate from;
            QDate to;
        } ranges[] = {
            {"wholeMonth", QDate(2027, 2, 14), QDate(2027, 2, 1), QDate(2027, 2, 28)},
            {"wholeMonth", QDate(2028, 2, 29), QDate(2028, 2, 1), QDate(2028, 2, 29)},
            {"wholeYear", QDate(2027, 7, 9), QDate(2027, 1, 1), QDate(2027, 12, 31)},
        };
        for (const auto& r : ranges) {
            window.setRange(r.first, r.first.addDays(3));
            window.findChild<QPushButton*>(QString::fromUtf8(r.button))->click();
            QCOMPARE(from->date(), r.from);
            QCOMPARE(to->date(), r.to);
        }

        // A whole date typed over the field's text is the date, year and all.
        window.setRange(QDate(2026, 1, 1), QDate(2027, 12, 31));
        from->setFocus();
        from->selectAll();
        QTest::keyClicks(from, QStringLiteral("2027-01-01"));
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(from->date(), QDate(2027, 1, 1));
        QVERIFY(settled(&window));
        QCOMPARE(window.matchDates(), cliDates(window.queryText(), QStringLiteral("2027-01-01"),
                                               QStringLiteral("2027-12-31")));
        // Typed from the year section as well.
        from->setDate(QDate(2026, 1, 1));
        from->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(from, QStringLiteral("2027-03-04"));
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(from->date(), QDate(2027, 3, 4));
        from->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(from, QStringLiteral("2028"));
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(from->date(), QDate(2028, 3, 4));
        from->setDate(QDate(2027, 1, 1));
        // A text that is no date is refused in the notice; the field keeps its date.
        FIND_CHILD(notice, QLabel, (&window), "notice");
        from->selectAll();
        QTest::keyClicks(from, QStringLiteral("2027-13-01"));
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(from->date(), QDate(2027, 1, 1));
        QCOMPARE(from->text(), QStringLiteral("2027-01-01"));
        QVERIFY2(notice->text().contains(QStringLiteral("「2027-13-01」は日付として読めません")),
                 qPrintable(notice->text()));
    }

    // At 200 % on a 1920 × 1080 screen the window has 960 × 540 logical pixels less its frame:
    // it opens whole there, and the 選日 lists show every name whole, without scroll bars.
    void fitsAHalfHeightScreenWithWholeNames() {
        DaySearchWindow window(sharedTables());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize size = window.size();
        QVERIFY2(size.width() <= 940 && size.height() <= 500,
                 qPrintable(QStringLiteral("%1 × %2").arg(size.width()).arg(size.height())));
        for (const char* name : {"senjitsuWanted", "senjitsuAvoided"}) {
            auto* list = window.findChild<QListWidget*>(QString::fromUtf8(name));
            QVERIFY(list != nullptr);
            QVERIFY(!list->verticalScrollBar()->isVisible());
            QVERIFY(!list->horizontalScrollBar()->isVisible());
            for (int i = 0; i < list->count(); ++i) {
                const QRect item = list->visualItemRect(list->item(i));
                const int textWidth = list->fontMetrics().horizontalAdvance(list->item(i)->text());
                const int indicator = list->style()->pixelMetric(QStyle::PM_IndicatorWidth);
                QVERIFY2(list->viewport()->rect().contains(item) &&
                             item.width() >= textWidth + indicator,
                         qPrintable(list->item(i)->text()));
            }
        }
    }

    void doubleClickOpensTheCalendarPageOnTheDay() {
        Form1 form(sharedTables());
        form.openDaySearch();
        DaySearchWindow* window = form.daySearchWindow();
        window->setRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
        QVERIFY(settled(window));
        window->setExtraQuery(QStringLiteral("天赦日 一粒万倍日"));
        QVERIFY(settled(window));
        FIND_CHILD(results, QListWidget, window, "results");
        QCOMPARE(results->count(), 4);
        QCOMPARE(results->item(2)->text(),
                 QStringLiteral("2026年10月1日（木）　天赦日・一粒万倍日"));
        window->setExtraQuery(QStringLiteral("天赦 一粒万倍 土曜|日曜日"));
        QVERIFY(settled(window));
        QCOMPARE(results->count(), 1);
        QCOMPARE(results->item(0)->text(),
                 QStringLiteral("2026年7月19日（日）　天赦日・一粒万倍日・日曜"));
        window->setExtraQuery(QStringLiteral("天赦日 一粒万倍日"));
        QVERIFY(settled(window));
        emit results->itemActivated(results->item(2));
        QVERIFY(form.calendarPage() != nullptr);
        QCOMPARE(form.calendarPage()->selectedDate(), (CivilDate{2026, 10, 1}));
    }

    void savesTheDaysOrSaysWhyNot() {
        DaySearchWindow window(sharedTables());
        window.setRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
        QVERIFY(settled(&window));
        window.setExtraQuery(QStringLiteral("天赦日 一粒万倍日"));
        QVERIFY(settled(&window));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("days.ics"));
        QVERIFY(window.saveCalendar(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QCOMPARE(text.count(QStringLiteral("BEGIN:VEVENT")), 4);
        QVERIFY(text.contains(QStringLiteral("DTSTART;VALUE=DATE:20260719")));

        QString shown;
        onNextMessageBox([&](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        QVERIFY(!window.saveCalendar(dir.filePath(QStringLiteral("no/such/folder/days.ics"))));
        QVERIFY2(shown.contains(QStringLiteral("保存できませんでした")), qPrintable(shown));
    }
};

} // namespace sorvane::ui::test
