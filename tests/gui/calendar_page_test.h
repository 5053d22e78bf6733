// The 暦 menu: the calendar page (its model and its window), the observatory's minutes in the
// result box, the 雑節 window and the iCalendar export.
#pragma once

#include "gui_support.h"
#include "support/test_support.h"
#include "ui/calendar_page.h"
#include "ui/text_box.h"
#include "ui/zassetsu_window.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace sorvane::ui::test {

namespace {

QStringList detailsOf(almanac::CalendarYears& years, CivilDate date) {
    QStringList lines;
    for (const std::string& line : years.dayDetails(date)) {
        lines << QString::fromStdString(line);
    }
    return lines;
}

const almanac::DayCell& cellOf(const almanac::MonthPage& page, int day) {
    for (const almanac::DayCell& cell : page.cells) {
        if (cell.inMonth && cell.date.day == day) {
            return cell;
        }
    }
    throw std::logic_error("no such day");
}

QString cliText(const std::string& args) {
    const auto run = sorvane::testing::runCli(args);
    return QString::fromStdString(run.out);
}

} // namespace

class CalendarPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form_;

    QString resultBox() const {
        return form_->findChild<QTextEdit*>(QStringLiteral("txtkekka"))->toPlainText();
    }
    QAction* action(const char* name) const {
        return form_->findChild<QAction*>(QString::fromLatin1(name));
    }
    void showYear(int year) {
        form_->stepYear(year -
                        form_->findChild<QLineEdit*>(QStringLiteral("txtyear"))->text().toInt());
        form_->calculate();
    }

  private slots:
    void init() {
        form_ = std::make_unique<Form1>(sharedTables());
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() { form_.reset(); }

    // The grid: whole weeks from Sunday, the neighbouring months' days marked, each day's
    // weekday, 干支 and the events of the day; the header's era and 干支; the mode line.
    void pageGridHeaderAndMode() {
        almanac::CalendarYears years(sharedTables());
        const almanac::MonthPage august = years.monthPage(2025, 8);
        QCOMPARE(august.cells.size(), std::size_t{42}); // 1 August 2025 is a Friday
        QCOMPARE(august.cells[0].date, (CivilDate{2025, 7, 27}));
        QVERIFY(!august.cells[0].inMonth && august.cells[5].inMonth);
        QCOMPARE(august.cells[5].weekday, 5);
        QCOMPARE(august.cells[41].date, (CivilDate{2025, 9, 6}));
        QCOMPARE(august.eraText, std::string("令和7年"));
        QCOMPARE(august.yearKanshi, std::string("乙巳"));
        QVERIFY(august.precise);
        // The observatory's published moments: 立秋 2025-08-07 14:52, 二百十日 08-31.
        QCOMPARE(cellOf(august, 7).marks, std::vector<std::string>{"立秋"});
        QCOMPARE(cellOf(august, 7).kanshi, std::string("戊申"));
        QVERIFY(
            detailsOf(years, {2025, 8, 7}).contains(QStringLiteral("立秋 14:52（太陽黄経 135°）")));
        QCOMPARE(cellOf(august, 31).marks, std::vector<std::string>{"二百十日"});
        // Summer 土用 2025: 07-19 to 08-06, its days named in the details.
        QVERIFY(
            detailsOf(years, {2025, 8, 6}).contains(QStringLiteral("夏の土用（07-19〜08-06）")));
        QVERIFY(
            !detailsOf(years, {2025, 8, 7}).join(QString()).contains(QStringLiteral("夏の土用")));

        // Holidays, 旧暦 with its 閏, 六曜 and the phases, against the published calendar:
        // 山の日 2025-08-11; 閏6月 from 2025-07-25, the 朔 at 04:11; the 望 of 08-09 at 16:55.
        QCOMPARE(cellOf(august, 11).holiday, std::optional<std::string>("山の日"));
        QVERIFY(!cellOf(august, 12).holiday);
        const almanac::MonthPage july = years.monthPage(2025, 7);
        const almanac::DayCell& leapStart = cellOf(july, 25);
        QVERIFY(leapStart.lunar && leapStart.lunar->leap && leapStart.lunar->month == 6);
        QCOMPARE(almanac::lunarCellText(*leapStart.lunar), std::string("旧閏6月"));
        QCOMPARE(almanac::lunarCellText(*cellOf(july, 24).lunar), std::string("旧6/30"));
        QCOMPARE(leapStart.rokuyo, std::optional<std::string>("赤口"));
        QVERIFY(leapStart.phase && leapStart.phase->phase == lunisolar::Phase::New);
        QVERIFY(detailsOf(years, {2025, 7, 25}).contains(QStringLiteral("朔 04:11")));
        QVERIFY(cellOf(august, 9).phase &&
                cellOf(august, 9).phase->phase == lunisolar::Phase::Full);
        QVERIFY(detailsOf(years, {2025, 8, 9}).contains(QStringLiteral("望 16:55")));
        QCOMPARE(std::count_if(august.cells.begin(), august.cells.end(),
                               [](const auto& c) { return c.phase.has_value(); }),
                 5); // 上弦 on the 1st and the 31st

        const almanac::MonthPage far = years.monthPage(3200, 2);
        QVERIFY(!far.precise && !far.cells[10].lunar && !far.cells[10].holiday);
        QVERIFY(QString::fromStdString(far.modeText).contains(QStringLiteral("既定の理論")));
        QCOMPARE(far.cells.size() % 7, std::size_t{0});
        QVERIFY(std::any_of(far.cells.begin(), far.cells.end(), [](const auto& c) {
            return c.marks == std::vector<std::string>{"立春"};
        }));
        QVERIFY(years.monthPage(1872, 12).eraText.empty());
    }

    void eraChangesOnItsDay() {
        almanac::CalendarYears years(sharedTables());
        QCOMPARE(years.monthPage(1989, 1).eraText, std::string("平成元年 / 昭和64年"));
        QCOMPARE(detailsOf(years, {1989, 1, 7})[1], QStringLiteral("昭和64年1月7日"));
        QCOMPARE(detailsOf(years, {1989, 1, 8})[1], QStringLiteral("平成元年1月8日"));
        QCOMPARE(detailsOf(years, {2019, 4, 30})[1], QStringLiteral("平成31年4月30日"));
        QCOMPARE(detailsOf(years, {2019, 5, 1})[1], QStringLiteral("令和元年5月1日"));
        QCOMPARE(years.monthPage(2019, 5).eraText, std::string("令和元年"));
    }

    // A walk through many years keeps only the last few; a year dropped and shown again
    // gives the same page. The today frame is due to move half a second after midnight.
    void keptYearsAreBoundedAndTodayMovesAtMidnight() {
        almanac::CalendarYears years(sharedTables());
        const almanac::MonthPage first = years.monthPage(1990, 3);
        for (int year = 1991; year < 2020; ++year) {
            years.monthPage(year, 3);
            QVERIFY(years.keptYears() <= almanac::CalendarYears::kKeptYears);
        }
        QCOMPARE(years.keptYears(), almanac::CalendarYears::kKeptYears);
        const almanac::MonthPage again = years.monthPage(1990, 3);
        QCOMPARE(again.cells.size(), first.cells.size());
        for (std::size_t i = 0; i < first.cells.size(); ++i) {
            QCOMPARE(again.cells[i].marks, first.cells[i].marks);
            QCOMPARE(again.cells[i].holiday, first.cells[i].holiday);
        }

        action("mnumonthpage")->trigger();
        FIND_CHILD(timer, QTimer, form_->calendarPage(), "midnightTimer");
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 toMidnight = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0)));
        QVERIFY(timer->isActive() && timer->isSingleShot());
        QVERIFY(std::abs(timer->remainingTime() - (toMidnight + 500)) < 2000);
    }

    // The menu sits between ファイル and ヘルプ; its page follows the keys and the buttons.
    void menuOpensThePageAndItFollowsTheKeys() {
        QStringList titles;
        for (QAction* a : form_->menuBar()->actions()) {
            titles << a->text();
        }
        QCOMPARE(titles, (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("暦(&K)"),
                                      QStringLiteral("ヘルプ(&H)")}));
        QVERIFY(action("mnuprecise")->isCheckable() && !action("mnuprecise")->isChecked());

        showYear(2025);
        action("mnumonthpage")->trigger();
        CalendarPage* page = form_->calendarPage();
        QVERIFY(page != nullptr && page->isVisible());
        QCOMPARE(page->page().year, 2025);
        page->showDate({2025, 8, 30});
        QCOMPARE(page->windowTitle(), QStringLiteral("暦 2025年8月"));
        FIND_CHILD(view, MonthView, page, "monthView");
        QTest::keyClick(view, Qt::Key_Right);
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(page->selectedDate(), (CivilDate{2025, 9, 1}));
        QCOMPARE(page->windowTitle(), QStringLiteral("暦 2025年9月"));
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(page->selectedDate(), (CivilDate{2025, 8, 25}));
        QTest::keyClick(view, Qt::Key_PageUp);
        QCOMPARE(page->selectedDate(), (CivilDate{2025, 7, 25}));
        FIND_CHILD(nextYear, QPushButton, page, "nextYear");
        nextYear->click();
        QCOMPARE(page->selectedDate(), (CivilDate{2026, 7, 25}));
        page->showDate({2024, 3, 31});
        QTest::keyClick(view, Qt::Key_PageUp); // February is shorter: its last day
        QCOMPARE(page->selectedDate(), (CivilDate{2024, 2, 29}));
        FIND_CHILD(today, QPushButton, page, "today");
        today->click();
        const QDate now = QDate::currentDate();
        QCOMPARE(page->selectedDate(), (CivilDate{now.year(), now.month(), now.day()}));
        // Home returns to today's month from far away; End and Page Down stop at the range's
        // last day; a year and month typed in the boxes show that month.
        page->showDate({1873, 1, 5});
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(page->selectedDate(), (CivilDate{now.year(), now.month(), now.day()}));
        page->showDate({32767, 12, 5});
        QTest::keyClick(view, Qt::Key_End);
        QTest::keyClick(view, Qt::Key_PageDown);
        QCOMPARE(page->selectedDate(), (CivilDate{32767, 12, 31}));
        FIND_CHILD(yearBox, QSpinBox, page, "yearBox");
        FIND_CHILD(monthBox, QSpinBox, page, "monthBox");
        QCOMPARE(yearBox->value(), 32767);
        yearBox->setValue(1872);
        monthBox->setValue(2);
        QCOMPARE(page->selectedDate(), (CivilDate{1872, 2, 29}));
        QCOMPARE(page->windowTitle(), QStringLiteral("暦 1872年2月"));
        today->click();
        FIND_CHILD(details, QTextEdit, page, "details");
        QVERIFY(details->toPlainText().startsWith(
            QStringLiteral("%1年%2月%3日").arg(now.year()).arg(now.month()).arg(now.day())));
        // A click on a day selects it.
        const QPoint centre = view->rect().center();
        const int hit = view->cellAt(centre);
        QVERIFY(hit >= 0);
        click(view, centre);
        QCOMPARE(page->selectedDate(), page->page().cells[static_cast<std::size_t>(hit)].date);
    }

    // On: the precise mode's lines in the range, a message and the theory's lines outside it;
    // off again: the theory's lines.
    void observatoryModeSwitchesTheResultLines() {
        showYear(2025);
        const QString theory = resultBox();
        action("mnuprecise")->setChecked(true);
        const QStringList precise = cliText("2025 --precise").split(QLatin1Char('\n')).mid(0, 28);
        QCOMPARE(shownLines(form_->findChild<QTextEdit*>(QStringLiteral("txtkekka"))), precise);
        QVERIFY(resultBox() != theory); // 2025's 小寒 is 11:33 there, 11:32 in the theory
        QString message;
        onNextMessageBox([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        showYear(3100);
        QVERIFY(message.contains(QStringLiteral("3000年まで")));
        QCOMPARE(resultBox(), displayText(calculated(3100)->resultText("\r\n")));
        showYear(2025);
        action("mnuprecise")->setChecked(false);
        QCOMPARE(resultBox(), theory);
    }

    // 暦(&K) > 月の暦に暦注を表示: the cells' short lines, the details with their meanings and
    // the printed page follow it, and it is remembered between runs.
    void notesFollowTheMenuItem() {
        QSettings settings(QStringLiteral("sorvane"), QStringLiteral("sorvane"));
        const QVariant saved = settings.value(QStringLiteral("calendarPage/notes"));
        QAction* notes = action("mnunotes");
        QVERIFY(notes != nullptr && notes->isCheckable());
        notes->setChecked(false);
        action("mnumonthpage")->trigger();
        CalendarPage* page = form_->calendarPage();
        page->showDate({2026, 3, 5}); // 天赦日, 一粒万倍日, 寅の日 and 三隣亡 at once
        FIND_CHILD(details, QTextEdit, page, "details");
        QVERIFY(!details->toPlainText().contains(QStringLiteral("【暦注】")));
        QTemporaryDir dir;
        const auto printed = [&](const QString& name) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(name));
            [&] { QVERIFY(page->printTo(printer, 3, 3)); }();
            return QFileInfo(dir.filePath(name)).size();
        };
        const qint64 plain = printed(QStringLiteral("plain.pdf"));

        notes->setChecked(true);
        QVERIFY(page->notesShown());
        QCOMPARE(settings.value(QStringLiteral("calendarPage/notes")).toBool(), true);
        const QString text = details->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("【暦注】")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("天赦日：天が万物の罪を赦す")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("七十二候 蟄虫啓戸（この日から）")),
                 qPrintable(text));
        QVERIFY(!details->toolTip().isEmpty());
        QCOMPARE(page->years().cellNotes({2026, 3, 5}),
                 (std::vector<std::string>{"閉・角・三碧", "一粒万倍 天赦 寅 三隣亡"}));
        // The periods stay in the details; 彼岸 and 土用 fill their days.
        QCOMPARE(page->years().cellNotes({2026, 3, 18}).back(), std::string("彼岸"));
        QCOMPARE(page->years().cellNotes({2026, 2, 3}).back(), std::string("土用 恵方南南東"));
        QVERIFY(printed(QStringLiteral("notes.pdf")) > plain);
        // Beyond the notes' years the page shows none and says why, and goes on.
        page->showDate({9000, 1, 1});
        QVERIFY(page->years().cellNotes({9000, 1, 1}).empty());
        QVERIFY(details->toPlainText().contains(QStringLiteral("暦注は-14302〜8455年の範囲")));

        // A new window of the program starts with it on.
        form_.reset();
        init();
        QVERIFY(action("mnunotes")->isChecked());
        action("mnumonthpage")->trigger();
        QVERIFY(form_->calendarPage()->notesShown());
        action("mnunotes")->setChecked(false);
        QVERIFY(!form_->calendarPage()->notesShown());
        if (saved.isValid()) {
            settings.setValue(QStringLiteral("calendarPage/notes"), saved);
        } else {
            settings.remove(QStringLiteral("calendarPage/notes"));
        }
    }

    void zassetsuWindowAndIcsFile() {
        showYear(2025);
        action("mnuzassetsu")->trigger();
        ZassetsuWindow* window = form_->zassetsuWindow();
        QVERIFY(window != nullptr && window->isVisible());
        const QString cli = cliText("2025 --zassetsu");
        QCOMPARE(window->text(), cli.mid(cli.indexOf(QStringLiteral("\n\n0")) + 2));
        QVERIFY(window->text().contains(QStringLiteral("02-02        節分")));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("2025.ics"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old calendar");
        old.close();
        QVERIFY(form_->writeIcs(path));
        const std::string cliPath = dir.filePath(QStringLiteral("cli.ics")).toStdString();
        cliText("2025 --ics '" + cliPath + "'");
        const auto withoutStamps = [](const QString& file) {
            QFile f(file);
            f.open(QIODevice::ReadOnly);
            QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
            lines.removeIf(
                [](const QString& l) { return l.startsWith(QStringLiteral("DTSTAMP")); });
            return lines;
        };
        const QStringList written = withoutStamps(path);
        QVERIFY(written.size() > 100);
        QCOMPARE(written, withoutStamps(QString::fromStdString(cliPath)));

        QString warning;
        onNextMessageBox([&](QMessageBox* box) {
            warning = box->text();
            box->accept();
        });
        QVERIFY(!form_->writeIcs(dir.filePath(QStringLiteral("missing/2025.ics"))));
        QVERIFY(warning.contains(QStringLiteral("書き出せませんでした")));
    }
};

} // namespace sorvane::ui::test
