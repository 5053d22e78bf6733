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
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

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

    // How long the window's thread takes to run an event posted to it, in ms (1000 or more:
    // it did not within a second).
    static qint64 answerTime(QWidget* window) {
        bool answered = false;
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(0, window, [&] { answered = true; });
        while (!answered && clock.elapsed() < 1000) {
            QTest::qWait(1);
        }
        return answered ? clock.elapsed() : 1000;
    }

    // Types text over the whole of a date field as a user does: a click on its text, Ctrl+A,
    // then the keys; what a keyboard cannot type directly (令和, 年, full-width digits) comes
    // from the input method, one committed character at a time.
    static void typeOver(QDateEdit* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        typeText(field, text);
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
            const qint64 waited = answerTime(&window);
            QVERIFY2(waited < 100, qPrintable(QStringLiteral("answered after %1 ms").arg(waited)));
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

    // The 潮名 boxes make one word (any of them), with the 下段 typed in the query's field, and
    // the window finds what the terminal program finds.
    void shioBoxesAndTypedGedanMakeTheTerminalProgramsQuery() {
        DaySearchWindow window(sharedTables());
        window.setRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
        const struct {
            std::vector<const char*> boxes;
            QString typed;
            QString query;
        } cases[] = {
            {{"大潮"}, QString(), QStringLiteral("大潮")},
            {{"長潮", "若潮"}, QString(), QStringLiteral("長潮|若潮")},
            {{"大安", "中潮"}, QStringLiteral("母倉日"), QStringLiteral("大安 中潮 母倉日")},
            {{"小潮"}, QStringLiteral("-受死日 -十死日"), QStringLiteral("小潮 -受死日 -十死日")},
        };
        for (const auto& c : cases) {
            for (const char* name : c.boxes) {
                auto* box = window.findChild<QCheckBox*>(
                    QStringLiteral("check-%1").arg(QString::fromUtf8(name)));
                QVERIFY2(box != nullptr, name);
                box->setChecked(true);
            }
            window.setExtraQuery(c.typed);
            QCOMPARE(window.queryText(), c.query);
            QVERIFY(settled(&window));
            const auto dates =
                cliDates(c.query, QStringLiteral("2026-01-01"), QStringLiteral("2026-12-31"));
            QVERIFY2(!dates.empty(), qPrintable(c.query));
            QCOMPARE(window.matchDates(), dates);
            for (const char* name : c.boxes) {
                window
                    .findChild<QCheckBox*>(QStringLiteral("check-%1").arg(QString::fromUtf8(name)))
                    ->setChecked(false);
            }
        }
        window.setExtraQuery(QString());
        QCOMPARE(window.queryText(), QString());
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

    // A whole date typed into a date field in any of the usual forms is taken on Enter, Tab
    // or leaving the field (the 〜 field's case of the report first: click, Ctrl+A, a date with
    // '/', Tab); one that is no date is refused at once with the reason, the field keeping
    // its date. The era years: 令和 from 2019-05-01 (平成31年政令第143号), so 令和9年 is 2027.
    void takesADateTypedWholeInTheUsualForms() {
        DaySearchWindow window(sharedTables());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        FIND_CHILD(from, QDateEdit, (&window), "fromDate");
        FIND_CHILD(to, QDateEdit, (&window), "toDate");
        FIND_CHILD(notice, QLabel, (&window), "notice");
        enum class End { Enter, Tab, FocusOut };
        const struct {
            QString text;
            End end;
            QDate date;
        } typed[] = {
            {QStringLiteral("2027/04/30"), End::Tab, QDate(2027, 4, 30)},
            {QStringLiteral("2027-04-30"), End::Tab, QDate(2027, 4, 30)},
            {QStringLiteral("2027/1/31"), End::Enter, QDate(2027, 1, 31)},
            {QStringLiteral("2027年4月30日"), End::FocusOut, QDate(2027, 4, 30)},
            {QStringLiteral("２０２７－０４－３０"), End::Enter, QDate(2027, 4, 30)},
            {QStringLiteral("２０２７年４月３０日"), End::Tab, QDate(2027, 4, 30)},
            {QStringLiteral("令和9年4月30日"), End::Tab, QDate(2027, 4, 30)},
            {QStringLiteral("令和元年5月1日"), End::Enter, QDate(2019, 5, 1)},
            {QStringLiteral("R9.4.30"), End::FocusOut, QDate(2027, 4, 30)},
        };
        for (QDateEdit* field : {to, from}) {
            for (const auto& t : typed) {
                window.setRange(QDate(2026, 1, 1), QDate(2027, 12, 31));
                typeOver(field, t.text);
                switch (t.end) {
                case End::Enter:
                    QTest::keyClick(field, Qt::Key_Return);
                    break;
                case End::Tab:
                    QTest::keyClick(field, Qt::Key_Tab);
                    QVERIFY(!field->hasFocus());
                    break;
                case End::FocusOut:
                    window.findChild<QLineEdit*>(QStringLiteral("extraQuery"))->setFocus();
                    QTRY_VERIFY(!field->hasFocus());
                    break;
                }
                QVERIFY2(field->date() == t.date,
                         qPrintable(t.text + QStringLiteral(" → ") + field->text()));
                QCOMPARE(field->text(), t.date.toString(Qt::ISODate));
            }
        }
        // The days found are those of the range typed.
        window.setRange(QDate(2026, 1, 1), QDate(2027, 12, 31));
        typeOver(to, QStringLiteral("令和9年3月31日"));
        QTest::keyClick(to, Qt::Key_Tab);
        QVERIFY(settled(&window));
        QCOMPARE(window.matchDates(), cliDates(window.queryText(), QStringLiteral("2026-01-01"),
                                               QStringLiteral("2027-03-31")));

        const struct {
            QString text;
            QString reason;
        } refused[] = {
            {QStringLiteral("2027/02/29"), QStringLiteral("2月は28日までです")},
            {QStringLiteral("2027-13-01"), QStringLiteral("月は1〜12です")},
            {QStringLiteral("平成31年5月1日"), QStringLiteral("令和元年5月1日です")},
            {QStringLiteral("あした"), QStringLiteral("2027年4月30日、令和9年4月30日 のように")},
            {QStringLiteral("10000-01-01"), QStringLiteral("0001-01-01〜9999-12-31")},
        };
        for (const auto& r : refused) {
            window.setRange(QDate(2026, 1, 1), QDate(2027, 12, 31));
            typeOver(to, r.text);
            QTest::keyClick(to, Qt::Key_Return);
            // At once, before any search could answer.
            QVERIFY2(notice->text().contains(
                         QStringLiteral("「%1」は日付として読めません。").arg(r.text)) &&
                         notice->text().contains(r.reason),
                     qPrintable(notice->text()));
            QVERIFY2(to->date() == QDate(2027, 12, 31) &&
                         to->text() == QStringLiteral("2027-12-31"),
                     qPrintable(r.text + QStringLiteral(" → ") + to->text()));
        }
    }

    // Under the C locale (LANG=C.UTF-8) the date pop-up is still Japanese and Sunday first;
    // Saturday is blue, Sunday and the holidays red, as on the calendar page. The holidays are
    // the Cabinet Office's list (tests/holidays/cabinet-office-holidays.csv): May 2026 has a
    // 振替休日 (05-06), September 2026 a 国民の休日 (09-22).
    void datePopupIsJapaneseWhateverTheLocale() {
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        QFile csv(QStringLiteral(SORVANE_SOURCE_DIR "/tests/holidays/cabinet-office-holidays.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly | QIODevice::Text));
        std::set<QDate> listed;
        for (const QString& line : QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'))) {
            const QDate d = QDate::fromString(line.section(QLatin1Char(','), 0, 0), Qt::ISODate);
            if (d.isValid() && d.year() == 2026) {
                listed.insert(d);
            }
        }
        QCOMPARE(listed.size(), std::size_t{18});

        DaySearchWindow window(sharedTables());
        FIND_CHILD(to, QDateEdit, (&window), "toDate");
        QCalendarWidget* popup = to->calendarWidget();
        QVERIFY(popup != nullptr);
        QCOMPARE(popup->firstDayOfWeek(), Qt::Sunday);
        auto* view = popup->findChild<QTableView*>();
        QVERIFY(view != nullptr);
        const QAbstractItemModel* model = view->model();
        const int first =
            popup->verticalHeaderFormat() == QCalendarWidget::NoVerticalHeader ? 0 : 1;
        const QStringList names = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                                   QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                                   QStringLiteral("土")};
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(model->data(model->index(0, first + column)).toString(), names[column]);
        }
        const QColor red(0xc8, 0x10, 0x30);
        const QColor blue(0x15, 0x4f, 0xb8);
        for (const int month : {5, 9}) {
            popup->setCurrentPage(2026, month);
            auto* monthButton =
                popup->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
            QVERIFY(monthButton != nullptr);
            QCOMPARE(monthButton->text(), QStringLiteral("%1月").arg(month));
            const QDate start(2026, month, 1);
            const int offset = start.dayOfWeek() % 7; // Sunday 0
            for (QDate d = start; d.month() == month; d = d.addDays(1)) {
                const int cell = offset + d.day() - 1;
                const QModelIndex index = model->index(1 + cell / 7, first + cell % 7);
                QCOMPARE(model->data(index).toInt(), d.day());
                const QColor shown = model->data(index, Qt::ForegroundRole).value<QBrush>().color();
                const QColor expected = d.dayOfWeek() == 7 || listed.contains(d) ? red
                                        : d.dayOfWeek() == 6                     ? blue
                                                                                 : QColor();
                if (expected.isValid()) {
                    QVERIFY2(shown == expected, qPrintable(d.toString(Qt::ISODate)));
                } else {
                    QVERIFY2(shown != red && shown != blue, qPrintable(d.toString(Qt::ISODate)));
                }
            }
        }
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

    // The 六曜 boxes read as calendars list the six (先勝 first), left to right.
    void theSixAreInListOrder() {
        DaySearchWindow window(sharedTables());
        QGroupBox* group = nullptr;
        for (QGroupBox* g : window.findChildren<QGroupBox*>()) {
            if (g->title().startsWith(QStringLiteral("六曜"))) {
                group = g;
            }
        }
        QVERIFY(group != nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QList<QCheckBox*> boxes = group->findChildren<QCheckBox*>();
        std::sort(boxes.begin(), boxes.end(),
                  [](QCheckBox* a, QCheckBox* b) { return a->x() < b->x(); });
        QStringList shown;
        for (QCheckBox* box : boxes) {
            shown << box->text();
        }
        QCOMPARE(shown, (QStringList{QStringLiteral("先勝"), QStringLiteral("友引"),
                                     QStringLiteral("先負"), QStringLiteral("仏滅"),
                                     QStringLiteral("大安"), QStringLiteral("赤口")}));
    }

    // The found days are saved beside the window: the file is named by the query and its
    // events titled 候補日：, a save that cannot be written says why, and the old file stays.
    void savesTheDaysOrSaysWhyNot() {
        DaySearchWindow window(sharedTables());
        window.setRange(QDate(2026, 1, 1), QDate(2026, 12, 31));
        QVERIFY(settled(&window));
        window.setExtraQuery(QStringLiteral("天赦日 一粒万倍日"));
        QVERIFY(settled(&window));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("days.ics"));
        QSignalSpy finished(&window, &DaySearchWindow::saveFinished);
        QVERIFY(window.saveCalendar(path));
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.takeFirst().at(0).toBool(), true);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QCOMPARE(text.count(QStringLiteral("BEGIN:VEVENT")), 4);
        QVERIFY(text.contains(QStringLiteral("DTSTART;VALUE=DATE:20260719")));
        QVERIFY(text.contains(QStringLiteral("X-WR-CALNAME:天赦日、一粒万倍日の日")));
        QVERIFY(text.contains(QStringLiteral("SUMMARY:候補日：天赦日・一粒万倍日")));

        QString shown;
        onNextMessageBox([&](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        QVERIFY(window.saveCalendar(dir.filePath(QStringLiteral("no/such/folder/days.ics"))));
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY2(shown.contains(QStringLiteral("保存できませんでした")), qPrintable(shown));
    }

    // A target that takes the file slowly (a named pipe whose reader never reads) holds
    // neither the window nor the user: the window answers within 100 ms while the save
    // waits, キャンセル ends it, and a cancelled save leaves an old file as it was, with no
    // temporary file beside it.
    void aSlowSaveKeepsTheWindowFreeAndCanBeCancelled() {
        // As the program does (ui/main.cpp): a reader gone is a failed write, not a signal.
        std::signal(SIGPIPE, SIG_IGN);
        DaySearchWindow window(sharedTables());
        window.show();
        window.setRange(QDate(1900, 1, 1), QDate(2100, 12, 31));
        window.setExtraQuery(QStringLiteral("大安|友引|先勝"));
        QVERIFY(settled(&window));
        QVERIFY(window.matchCount() > 30000); // some megabytes: more than a pipe holds
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("slow.ics"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        const auto closeReader = qScopeGuard([&] { ::close(reader); });
        QSignalSpy finished(&window, &DaySearchWindow::saveFinished);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(window.saveCalendar(fifo));
        QVERIFY2(clock.elapsed() < 100,
                 qPrintable(QStringLiteral("the save held the window %1 ms").arg(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(
            window.findChild<QProgressDialog*>(QStringLiteral("saveProgress"))->isVisible(), 5000);
        for (int turn = 0; turn < 5; ++turn) {
            QVERIFY(window.saving());
            const qint64 waited = answerTime(&window);
            QVERIFY2(waited < 100, qPrintable(QStringLiteral("answered after %1 ms").arg(waited)));
            QTest::qWait(50);
        }
        QVERIFY(finished.isEmpty());
        auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("saveProgress"));
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(!window.saving());
        FIND_CHILD(notice, QLabel, (&window), "notice");
        QCOMPARE(notice->text(), QStringLiteral("保存をやめました。元のファイルはそのままです。"));

        // A window closed during a save stops it: it goes within two seconds, the save having
        // let go of the pipe, and nothing reports to it after.
        {
            auto* closing = new DaySearchWindow(sharedTables());
            closing->setRange(QDate(1900, 1, 1), QDate(2100, 12, 31));
            closing->setExtraQuery(QStringLiteral("大安|友引|先勝"));
            QVERIFY(settled(closing));
            QVERIFY(closing->saveCalendar(fifo));
            QTest::qWait(200);
            QVERIFY(closing->saving());
            clock.restart();
            delete closing;
            QVERIFY2(clock.elapsed() < 2000,
                     qPrintable(QStringLiteral("closing took %1 ms").arg(clock.elapsed())));
            QTest::qWait(100);
        }

        // A regular file: the cancelled save leaves the old bytes and nothing else.
        const QString keep = dir.filePath(QStringLiteral("keep.ics"));
        QFile old(keep);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        old.close();
        QVERIFY(window.saveCalendar(keep));
        window.cancelSave();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 (QStringList{QStringLiteral("keep.ics"), QStringLiteral("slow.ics")}));
    }
};

} // namespace sorvane::ui::test
