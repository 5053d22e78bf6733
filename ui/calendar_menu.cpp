#include "ui/calendar_menu.h"

#include "almanac/coverage.h"
#include "almanac/limits.h"
#include "almanac/year_almanac.h"
#include "calendar/year_text.h"
#include "ephemeris/data_location.h"
#include "export/atomic_file.h"
#include "export/icalendar.h"
#include "ui/almanac_guard.h"
#include "ui/dialog_path.h"
#include "ui/guide.h"
#include "ui/pdf_file.h"
#include "ui/place_menu.h"
#include "ui/settings.h"
#include "zassetsu/zassetsu.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <ctime>

namespace sorvane::ui {

CalendarMenu::CalendarMenu(const Tables& tables, QMainWindow* window,
                           std::function<QString()> yearBoxText, std::function<void()> recalculate)
    : QObject(window), tables_(tables), window_(window), yearBoxText_(std::move(yearBoxText)),
      recalculate_(std::move(recalculate)) {}

bool CalendarMenu::observatoryMode() const {
    return observatoryMode_->isChecked();
}

std::optional<int> CalendarMenu::boxYear() const {
    try {
        return parseYearText(yearBoxText_().toStdString());
    } catch (const YearTextError&) {
        QApplication::beep();
        return std::nullopt;
    }
}

void CalendarMenu::build(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QStringLiteral("暦(&K)"));
    menu->setObjectName(QStringLiteral("mnucalendar"));
    QAction* page = menu->addAction(QStringLiteral("月の暦(&C)…"));
    page->setObjectName(QStringLiteral("mnumonthpage"));
    QAction* find = menu->addAction(QStringLiteral("日を探す(&F)…"));
    find->setObjectName(QStringLiteral("mnudaysearch"));
    QAction* life = menu->addAction(QStringLiteral("行事(&G)…"));
    life->setObjectName(QStringLiteral("mnulife"));
    connect(life, &QAction::triggered, this, &CalendarMenu::openLifeEvents);
    QAction* wareki = menu->addAction(QStringLiteral("和暦 ⇄ 西暦(&W)…"));
    wareki->setObjectName(QStringLiteral("mnuwareki"));
    observatoryMode_ = menu->addAction(QStringLiteral("国立天文台と同じ計算方法で表示(&P)"));
    observatoryMode_->setObjectName(QStringLiteral("mnuprecise"));
    observatoryMode_->setCheckable(true);
    // Off unless chosen in an earlier run.
    observatoryMode_->setChecked(savedObservatoryMode());
    const QString modeHelp = QStringLiteral(
        "計算の結果を、国立天文台の暦と同じ計算方法の時刻（日本時間、分まで）で表示します。"
        "切ると既定の理論の時刻です。");
    observatoryMode_->setToolTip(modeHelp);
    observatoryMode_->setStatusTip(modeHelp);
    notesShown_ = menu->addAction(QStringLiteral("月の暦に暦注を表示(&N)"));
    notesShown_->setObjectName(QStringLiteral("mnunotes"));
    notesShown_->setCheckable(true);
    notesShown_->setChecked(savedNotesShown());
    const QString notesHelp = QStringLiteral(
        "月の暦の各日に十二直・二十八宿・九星、選日、年中行事を表示し、詳細欄に意味を添えます。"
        "暦注は暦の慣習で、天文の計算ではありません。");
    notesShown_->setToolTip(notesHelp);
    notesShown_->setStatusTip(notesHelp);
    notesShown_->setWhatsThis(notesHelp);
    menu->setToolTipsVisible(true);
    const std::vector<horizon::NamedPlace> places = menuPlaces(findDataDir());
    addPlaceMenu(menu, window_, places, savedPlace(places),
                 [this](const horizon::NamedPlace& place) {
                     if (calendarPage_ != nullptr) {
                         calendarPage_->setPlace(place);
                     }
                 });
    menu->addSeparator();
    // The items name the year box's year as the menu opens (the box is made after the menu).
    zassetsu_ = menu->addAction(QStringLiteral("雑節(&Z)…"));
    zassetsu_->setObjectName(QStringLiteral("mnuzassetsu"));
    ics_ = menu->addAction(QStringLiteral("iCalendar に書き出す(&E)…"));
    ics_->setObjectName(QStringLiteral("mnuics"));
    QAction* feeds = menu->addAction(QStringLiteral("購読用カレンダー(&S)…"));
    feeds->setObjectName(QStringLiteral("mnufeeds"));
    connect(feeds, &QAction::triggered, this, &CalendarMenu::openFeeds);
    connect(menu, &QMenu::aboutToShow, this, &CalendarMenu::nameBoxYear);

    connect(page, &QAction::triggered, this, &CalendarMenu::openCalendarPage);
    connect(find, &QAction::triggered, this, &CalendarMenu::openDaySearch);
    connect(wareki, &QAction::triggered, this, &CalendarMenu::openWareki);
    connect(observatoryMode_, &QAction::toggled, this, [this](bool on) {
        saveObservatoryMode(on);
        recalculate_();
    });
    connect(notesShown_, &QAction::toggled, this, [this](bool shown) {
        saveNotesShown(shown);
        if (calendarPage_ != nullptr) {
            calendarPage_->setNotesShown(shown);
        }
    });
    menu->addSeparator();
    QAction* guide = menu->addAction(QStringLiteral("使い方(&U)…"));
    guide->setObjectName(QStringLiteral("mnuguide"));

    connect(zassetsu_, &QAction::triggered, this, &CalendarMenu::showZassetsu);
    connect(guide, &QAction::triggered, this, &CalendarMenu::showGuide);
    connect(ics_, &QAction::triggered, this, &CalendarMenu::exportIcs);
}

void CalendarMenu::nameBoxYear() {
    QString year;
    try {
        year = QStringLiteral("%1年").arg(
            QString::fromStdString(yearText(parseYearText(yearBoxText_().toStdString()))));
    } catch (const YearTextError&) {
        // No year in the box: the items say none and beep when chosen.
    }
    zassetsu_->setText(year.isEmpty() ? QStringLiteral("雑節(&Z)…")
                                      : year + QStringLiteral("の雑節(&Z)…"));
    ics_->setText(year.isEmpty() ? QStringLiteral("iCalendar に書き出す(&E)…")
                                 : year + QStringLiteral("の暦を iCalendar に書き出す(&E)…"));
}

almanac::Days CalendarMenu::days() const {
    return almanac::Days(tables_, observatoryMode_->isChecked() ? almanac::Minutes::Observatory
                                                                : almanac::Minutes::Theory);
}

void CalendarMenu::openCalendarPage() {
    const auto year = boxYear();
    if (!year) {
        return;
    }
    // The year in the box: today's date when it is this year, else the same month and day.
    const QDate today = QDate::currentDate();
    if (*year == today.year()) {
        ensureCalendarPage()->showToday();
    } else {
        ensureCalendarPage()->showDate({*year, today.month(), std::min(today.day(), 28)});
    }
    raiseCalendarPage();
}

void CalendarMenu::openCalendarPageOn(const CivilDate& date) {
    ensureCalendarPage()->showDate(date);
    raiseCalendarPage();
}

// The calendar page, made on first use with the remembered place and notes setting.
CalendarPage* CalendarMenu::ensureCalendarPage() {
    if (calendarPage_ == nullptr) {
        calendarPage_ = new CalendarPage(tables_, window_);
        calendarPage_->setAttribute(Qt::WA_DeleteOnClose);
        calendarPage_->setPlace(savedPlace(menuPlaces(findDataDir())));
        calendarPage_->setNotesShown(notesShown_->isChecked());
    }
    return calendarPage_;
}

void CalendarMenu::raiseCalendarPage() {
    calendarPage_->show();
    calendarPage_->raise();
    calendarPage_->activateWindow();
}

void CalendarMenu::openDaySearch() {
    if (daySearch_ == nullptr) {
        daySearch_ = new DaySearchWindow(tables_, window_);
        daySearch_->setAttribute(Qt::WA_DeleteOnClose);
        connect(daySearch_, &DaySearchWindow::dateActivated, this, [this](const QDate& d) {
            openCalendarPageOn(CivilDate{d.year(), d.month(), d.day()});
        });
    }
    daySearch_->show();
    daySearch_->raise();
    daySearch_->activateWindow();
}

void CalendarMenu::openLifeEvents() {
    if (life_ == nullptr) {
        life_ = new LifeWindow(tables_, window_);
        life_->setAttribute(Qt::WA_DeleteOnClose);
        connect(life_, &LifeWindow::dateActivated, this, [this](const QDate& d) {
            openCalendarPageOn(CivilDate{d.year(), d.month(), d.day()});
        });
    }
    life_->show();
    life_->raise();
    life_->activateWindow();
}

void CalendarMenu::openWareki() {
    if (wareki_ == nullptr) {
        wareki_ = new WarekiWindow(window_);
        wareki_->setAttribute(Qt::WA_DeleteOnClose);
        connect(wareki_, &WarekiWindow::dayOpened, this, &CalendarMenu::openCalendarPageOn);
    }
    wareki_->show();
    wareki_->raise();
    wareki_->activateWindow();
}

void CalendarMenu::openFeeds() {
    if (feeds_ == nullptr) {
        // The feeds hold years around this year in Japan, as the site's do.
        const int thisYear = QDateTime::currentDateTimeUtc().addSecs(9 * 3600).date().year();
        feeds_ = new FeedsWindow(tables_, thisYear, window_);
        feeds_->setAttribute(Qt::WA_DeleteOnClose);
    }
    feeds_->show();
    feeds_->raise();
    feeds_->activateWindow();
}

namespace {

// The 雑節 as the window lists them: the terminal program's lines with Japanese dates.
std::string zassetsuWindowText(const almanac::YearAlmanac& almanac) {
    std::string text;
    for (const zassetsu::Item& item : almanac.zassetsu) {
        text += zassetsu::zassetsuJapaneseLine(item) + "\n";
    }
    return text;
}

} // namespace

void CalendarMenu::showZassetsu() {
    const auto year = boxYear();
    if (!year) {
        return;
    }
    almanac::AlmanacOptions options;
    options.zassetsu = true;
    almanac::YearAlmanac almanac;
    if (!guarded(window_, [&] { almanac = days().year(*year, options); })) {
        return;
    }
    if (zassetsuWindow_ == nullptr) {
        zassetsuWindow_ = new ZassetsuWindow(window_);
    }
    zassetsuWindow_->showYear(yearBoxText_(), QString::fromStdString(zassetsuWindowText(almanac)),
                              almanac.precise);
    zassetsuWindow_->show();
    zassetsuWindow_->raise();
    zassetsuWindow_->activateWindow();
}

void CalendarMenu::exportIcs() {
    const auto year = boxYear();
    if (!year) {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        window_,
        QStringLiteral("%1年の暦を iCalendar に書き出す")
            .arg(QString::fromStdString(yearText(*year))),
        QDir::home().filePath(QStringLiteral("sorvane-%1.ics").arg(yearBoxText_())),
        QStringLiteral("iCalendar ファイル (*.ics)"));
    if (!path.isEmpty()) {
        writeIcs(path);
    }
}

bool CalendarMenu::writeIcs(const QString& path) {
    const auto year = boxYear();
    if (!year) {
        return false;
    }
    QString problem;
    QString detail;
    if (const almanac::YearSpan ics = almanac::coverage(almanac::Source::ICalendar);
        !ics.contains(*year)) {
        problem = QStringLiteral("iCalendar に書き出せるのは%1年から%2年までです。")
                      .arg(ics.first)
                      .arg(ics.last);
    } else {
        try {
            // What `sorvane-cli --ics` writes: the events, the 雑節, the holidays, the phases
            // and the lunisolar days.
            exports::writeTextFile(
                dialogPath(path, path.toStdString()),
                exports::icsCalendar(days().year(*year, almanac::AlmanacOptions::everything(true)),
                                     std::time(nullptr)));
            return true;
        } catch (const CalculationError& e) {
            problem = QStringLiteral("「%1」に書き出せませんでした。").arg(path);
            detail = japaneseCalculationError(e);
        } catch (const FileWriteError& e) {
            problem = QStringLiteral("「%1」に書き出せませんでした。").arg(path);
            detail = japaneseWriteReason(e);
        } catch (const std::exception& e) {
            problem = QStringLiteral("「%1」に書き出せませんでした。").arg(path);
            detail = QString::fromStdString(e.what());
        }
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("iCalendar に書き出す"), problem,
                    QMessageBox::Ok, window_);
    box.setObjectName(QStringLiteral("icsErrorBox"));
    box.setDetailedText(detail);
    box.exec();
    return false;
}

void CalendarMenu::showGuide() {
    if (guide_ == nullptr) {
        guide_ = makeGuideWindow(window_);
    }
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void CalendarMenu::closeWindows() {
    for (QWidget* w : {static_cast<QWidget*>(calendarPage_), static_cast<QWidget*>(zassetsuWindow_),
                       static_cast<QWidget*>(guide_), static_cast<QWidget*>(life_),
                       static_cast<QWidget*>(wareki_), static_cast<QWidget*>(feeds_)}) {
        if (w != nullptr) {
            w->close();
        }
    }
}

} // namespace sorvane::ui
