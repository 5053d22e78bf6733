// The 暦 menu: the calendar page's window (its model: tests/almanac/calendar_years_test.cpp), the
// observatory's minutes in the result box, the 雑節 window and the iCalendar export.
#pragma once

#include "gui_support.h"
#include "support/test_support.h"
#include "ui/calendar_page.h"
#include "ui/guide.h"
#include "ui/month_painter.h"
#include "ui/place_menu.h"
#include "ui/settings.h"
#include "ui/text_box.h"
#include "ui/translations.h"
#include "ui/zassetsu_window.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <optional>

namespace sorvane::ui::test {

namespace {

QString cliText(const std::string& args) {
    const auto run = sorvane::testing::runCli(args);
    return QString::fromStdString(run.out);
}

} // namespace

class CalendarPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form_;
    QTemporaryDir settingsDir_;

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
    void initTestCase() {
        // The settings of this run only: the user's own, and those of the window tests run
        // beside these, stay as they are.
        QVERIFY(settingsDir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    }
    void init() {
        form_ = std::make_unique<Form1>(sharedTables());
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() { form_.reset(); }

    // The page's model (CalendarYears) is tested without Qt in tests/almanac/; here the
    // window: the today frame is due to move half a second after midnight.
    void todayMovesAtMidnight() {
        action("mnumonthpage")->trigger();
        FIND_CHILD(timer, QTimer, form_->calendarPage(), "midnightTimer");
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 toMidnight = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0)));
        QVERIFY(timer->isActive() && timer->isSingleShot());
        QVERIFY(std::abs(timer->remainingTime() - (toMidnight + 500)) < 2000);
    }

    // Holiday names are never cut: a line a little too long is condensed, a longer one set
    // in rows that fit and together are the whole name.
    void cellLinesAreWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("ems"); // the width, in the font's full-width characters
        QTest::addColumn<int>("rows");
        QTest::newRow("fits") << QStringLiteral("山の日") << 7.0 << 1;
        QTest::newRow("condensed") << QStringLiteral("昭和天皇の大喪") << 6.0 << 1;
        QTest::newRow("two rows") << QStringLiteral("皇太子徳仁親王の結婚の儀") << 7.0 << 2;
        QTest::newRow("three rows") << QStringLiteral("皇太子明仁親王の結婚の儀") << 4.5 << 3;
    }
    void cellLinesAreWhole() {
        QFETCH(QString, text);
        QFETCH(double, ems);
        QFETCH(int, rows);
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(20);
        const QFontMetricsF metrics(font);
        const double width = ems * metrics.horizontalAdvance(QStringLiteral("日"));
        const SetLine set = setCellLine(text, metrics, width);
        QCOMPARE(set.rows.join(QString()), text);
        QCOMPARE(set.rows.size(), rows);
        QVERIFY(set.squeeze >= kCondensed && set.squeeze <= 1);
        for (const QString& row : set.rows) {
            QVERIFY2(metrics.horizontalAdvance(row) * set.squeeze <= width + 0.01, qPrintable(row));
        }
    }

    // The cells' type is one size for every month in an area, readable on the screen at 100 %
    // and at 200 % and on A4; the header's texts never overlap.
    void cellTypeIsSteadyAndTheHeaderClear() {
        action("mnumonthpage")->trigger();
        CalendarPage* window = form_->calendarPage();
        FIND_CHILD(view, MonthView, window, "monthView");
        const auto viewArea = [&](QSize size) {
            window->resize(size);
            window->layout()->activate();
            return QRectF(view->rect());
        };
        // A4 landscape within 10 mm margins at the PDF's 1200 dpi; type in points there.
        const QRectF a4(0, 0, 277 / 25.4 * 1200, 190 / 25.4 * 1200);
        const struct {
            const char* what;
            QRectF area;
            double least; // pixels of the area
        } areas[] = {
            {"the page's usual size", viewArea({1000, 700}), 11},
            {"1920 x 1080 at 200 %", viewArea({944, 490}), 5.5}, // 11 pixels of the screen
            {"A4", a4, 7.0 / 72 * 1200},
            {"the smallest grid", QRectF(0, 0, 380, 250), 1}, // the header still clear
        };
        almanac::CalendarYears years(sharedTables());
        const std::pair<int, int> months[] = {{2026, 5},  {2033, 12}, {1989, 1},
                                              {2026, 12}, {2019, 5},  {2026, 2},
                                              {2015, 2},  {1872, 12}, {-32768, 1}};
        for (const auto& a : areas) {
            std::optional<double> size;
            const auto report = qScopeGuard([&] {
                qInfo("%s: cell text %.1f px in %.0f x %.0f", a.what, size.value_or(0),
                      a.area.width(), a.area.height());
            });
            for (const auto& [year, month] : months) {
                const almanac::MonthPage page = years.monthPage(year, month);
                const MonthPainter painter(page, a.area);
                const QString where =
                    QStringLiteral("%1 %2-%3").arg(QString::fromUtf8(a.what)).arg(year).arg(month);
                if (size) {
                    QVERIFY2(qFuzzyCompare(painter.cellTextSize(), *size), qPrintable(where));
                }
                size = painter.cellTextSize();
                QVERIFY2(*size >= a.least, qPrintable(where + QString::number(*size)));
                const std::vector<QRectF> boxes = painter.headerBoxes();
                QVERIFY2(boxes.size() >= 3, qPrintable(where));
                for (std::size_t i = 0; i < boxes.size(); ++i) {
                    QVERIFY2(a.area.contains(boxes[i]), qPrintable(where));
                    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                        QVERIFY2(!boxes[i].intersects(boxes[j]),
                                 qPrintable(where + QStringLiteral(" boxes %1 %2").arg(i).arg(j)));
                    }
                }
                // Every day of the month has a square or half a square of its own.
                for (std::size_t i = 0; i < page.cells.size(); ++i) {
                    const QRectF box = painter.cell(static_cast<int>(i));
                    QVERIFY2(!page.cells[i].inMonth || !box.isEmpty(), qPrintable(where));
                    if (!box.isEmpty()) {
                        QCOMPARE(painter.cellAt(box.center()), static_cast<int>(i));
                    }
                }
            }
        }
    }

    // A 1920 x 1080 screen at 200 % leaves 960 x 540 pixels, less a title bar and a frame:
    // the calendar page, the 雑節 window and the coordinates dialog fit in it.
    void windowsFitAScreenAt200Percent() {
        const QSize room(944, 500);
        const auto fits = [&](QWidget* window, QSize size) {
            QVERIFY2(size.width() <= room.width() && size.height() <= room.height(),
                     qPrintable(window->objectName() +
                                QStringLiteral(" %1 x %2").arg(size.width()).arg(size.height())));
        };
        action("mnumonthpage")->trigger();
        fits(form_->calendarPage(), form_->calendarPage()->minimumSizeHint());
        showYear(2025);
        action("mnuzassetsu")->trigger();
        fits(form_->zassetsuWindow(), form_->zassetsuWindow()->sizeHint());
        // The dialog is modal: measured once it is open, then cancelled.
        QSize dialogSize;
        QTimer::singleShot(50, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog != nullptr) {
                dialogSize = dialog->size();
                qobject_cast<QDialog*>(dialog)->reject();
            }
        });
        QVERIFY(!askCoordinates(form_.get(), horizon::tokyo().observer));
        QVERIFY(dialogSize.isValid());
        fits(form_.get(), dialogSize);
    }

    // The print dialog under Japanese: no label, button, group or tab left in English (but
    // the file chooser's "..."), and the paper, orientation and margins are the page's.
    void printDialogIsJapanese() {
        QVERIFY(installQtJapanese(*qApp));
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(calendarPageLayout());
        QPrintDialog dialog(&printer);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange);
        dialog.show();
        QStringList texts;
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                texts << b->text();
            } else if (auto* l = qobject_cast<QLabel*>(w)) {
                texts << l->text();
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                texts << g->title();
            } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                for (int i = 0; i < tabs->count(); ++i) {
                    texts << tabs->tabText(i);
                }
            }
        }
        QVERIFY(texts.contains(QStringLiteral("両面印刷")));
        for (const QString& text : texts) {
            QVERIFY2(
                text == QStringLiteral("...") ||
                    !text.contains(QRegularExpression(QStringLiteral("^[ -~]*[A-Za-z][ -~]*$"))),
                qPrintable(text));
        }
        dialog.reject();
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

    // The days of 2033-08-25 .. 2034-03-19, whose month numbers the rules do not give (旧暦
    // 2033年問題), say in the details that 閏11月 is a choice and name the others; the days
    // round them say nothing; the guide explains it. Years 0 and below read 紀元前.
    void chosenMonthsCarryTheirNote() {
        action("mnumonthpage")->trigger();
        CalendarPage* page = form_->calendarPage();
        QVERIFY(page != nullptr);
        FIND_CHILD(details, QTextEdit, page, "details");
        const struct {
            CivilDate date;
            bool noted;
        } days[] = {{{2033, 8, 24}, false},
                    {{2033, 8, 25}, true},
                    {{2033, 12, 22}, true},
                    {{2034, 3, 19}, true},
                    {{2034, 3, 20}, false}};
        for (const auto& d : days) {
            page->showDate(d.date);
            const QString text = details->toPlainText();
            QCOMPARE(text.contains(QStringLiteral("閏11月案")) &&
                         text.contains(QStringLiteral("閏7月")),
                     d.noted);
        }
        page->showDate({2033, 12, 22});
        QVERIFY(details->toPlainText().contains(QStringLiteral("旧暦 閏11月1日")) ||
                details->toPlainText().contains(QStringLiteral("閏11月1日")));
        QVERIFY(guideText().contains(QStringLiteral("閏11月案")) &&
                guideText().contains(QStringLiteral("閏1月案")));
        page->showDate({-500, 3, 1});
        QVERIFY(details->toPlainText().startsWith(QStringLiteral("紀元前501年3月1日")));
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

        // Remembered between runs: a new window starts with the observatory's lines.
        QVERIFY(
            action("mnuprecise")->text().startsWith(QStringLiteral("国立天文台と同じ計算方法")));
        action("mnuprecise")->setChecked(true);
        form_.reset();
        init();
        QVERIFY(action("mnuprecise")->isChecked());
        const QStringList thisYear =
            cliText(std::to_string(QDate::currentDate().year()) + " --precise")
                .split(QLatin1Char('\n'))
                .mid(0, 28);
        QCOMPARE(shownLines(form_->findChild<QTextEdit*>(QStringLiteral("txtkekka"))), thisYear);
        action("mnuprecise")->setChecked(false);
        form_.reset();
        init();
        QVERIFY(!action("mnuprecise")->isChecked());
    }

    // 暦(&K) > 月の暦に暦注を表示: the cells' short lines, the details with their meanings and
    // the printed page follow it, and it is remembered between runs.
    void notesFollowTheMenuItem() {
        QSettings settings = programSettings();
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
        // The times come before the long notes, where a small screen still shows them.
        QVERIFY2(text.indexOf(QStringLiteral("日の出")) > 0 &&
                     text.indexOf(QStringLiteral("日の出")) <
                         text.indexOf(QStringLiteral("【暦注】")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("天赦日：天が万物の罪を赦す")), qPrintable(text));
        QVERIFY2(text.contains(
                     QStringLiteral("七十二候 蟄虫啓戸（すごもりむしとをひらく、この日から）")),
                 qPrintable(text));
        QVERIFY(!details->toolTip().isEmpty());
        // The lines the grid and the printed pages add under a day's own lines.
        almanac::CalendarYears years(sharedTables());
        const auto cellLines = noteMarks(years).extraLines;
        // 旧1月17日 大潮; the 下段 帰忌日 (二月 寅) as its mark.
        QCOMPARE(cellLines({2026, 3, 5}),
                 (QStringList{QStringLiteral("閉・角・三碧 大潮"),
                              QStringLiteral("一粒万倍 天赦 寅 三隣亡"), QStringLiteral("帰忌")}));
        // The periods stay in the details; 彼岸 and 土用 are the bands across their days.
        QVERIFY(!cellLines({2026, 3, 18}).join(QString()).contains(QStringLiteral("彼岸")));
        QCOMPARE(cellLines({2026, 2, 3}).last(), QStringLiteral("恵方 南南東"));
        QVERIFY(printed(QStringLiteral("notes.pdf")) > plain);
        // Beyond the notes' years the page shows none and says why, and goes on.
        page->showDate({9000, 1, 1});
        QVERIFY(cellLines({9000, 1, 1}).isEmpty());
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

    // The 雑節 and iCalendar items act on the main window's year and say which, so that a
    // calendar page open on another year is not taken for theirs; with no year in the box
    // they name none.
    void menuItemsNameTheirYear() {
        showYear(2026);
        action("mnumonthpage")->trigger();
        form_->calendarPage()->showDate({2033, 3, 1});
        QMenu* menu = form_->findChild<QMenu*>(QStringLiteral("mnucalendar"));
        QVERIFY(menu != nullptr);
        emit menu->aboutToShow();
        QCOMPARE(action("mnuzassetsu")->text(), QStringLiteral("2026年の雑節(&Z)…"));
        QCOMPARE(action("mnuics")->text(),
                 QStringLiteral("2026年の暦を iCalendar に書き出す(&E)…"));
        action("mnuzassetsu")->trigger();
        QVERIFY2(form_->zassetsuWindow()->windowTitle().contains(QStringLiteral("2026")),
                 qPrintable(form_->zassetsuWindow()->windowTitle()));
        showYear(-660);
        emit menu->aboutToShow();
        QCOMPARE(action("mnuzassetsu")->text(), QStringLiteral("-660年の雑節(&Z)…"));
        form_->findChild<QLineEdit*>(QStringLiteral("txtyear"))->setText(QStringLiteral("x"));
        emit menu->aboutToShow();
        QCOMPARE(action("mnuzassetsu")->text(), QStringLiteral("雑節(&Z)…"));
        QCOMPARE(action("mnuics")->text(), QStringLiteral("iCalendar に書き出す(&E)…"));
    }

    void zassetsuWindowAndIcsFile() {
        showYear(2025);
        action("mnuzassetsu")->trigger();
        ZassetsuWindow* window = form_->zassetsuWindow();
        QVERIFY(window != nullptr && window->isVisible());
        const QString cli = cliText("2025 --zassetsu");
        // The terminal program's 雑節 in the same order, the dates in Japanese.
        const QStringList cliLines =
            cli.mid(cli.indexOf(QStringLiteral("\n\n0")) + 2).split(QLatin1Char('\n'));
        const QStringList shown = window->text().split(QLatin1Char('\n'));
        QCOMPARE(shown.size(), cliLines.size());
        for (qsizetype i = 0; i + 1 < shown.size(); ++i) {
            const QDate date = QDate::fromString(QStringLiteral("2025-") + cliLines[i].left(5),
                                                 QStringLiteral("yyyy-MM-dd"));
            QVERIFY2(
                shown[i].startsWith(QStringLiteral("%1月%2日").arg(date.month()).arg(date.day())) &&
                    shown[i].contains(cliLines[i].mid(13).section(QLatin1Char(' '), 0, 0)),
                qPrintable(shown[i]));
        }
        QVERIFY(window->text().contains(QStringLiteral("2月2日          節分\n")));
        QVERIFY(window->text().contains(QStringLiteral("夏の土用 7月19日〜8月6日\n")));

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
