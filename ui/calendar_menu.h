// The main window's 暦 menu and what it opens: the calendar page, 日を探す, the 雑節 window,
// the subscription feeds, the iCalendar file of the year in the year box (in the mode the menu's
// checkable item chooses) and the user's guide.
#pragma once

#include "ephemeris/tables.h"
#include "ui/calendar_page.h"
#include "ui/day_search_window.h"
#include "ui/feeds_window.h"
#include "ui/life_window.h"
#include "ui/wareki_window.h"
#include "ui/zassetsu_window.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QAction;
class QMainWindow;
class QMenuBar;

namespace sorvane::almanac {
struct AlmanacOptions;
} // namespace sorvane::almanac

namespace sorvane::ui {

class CalendarMenu : public QObject {
    Q_OBJECT

  public:
    // window: the main window, which owns the windows the menu opens. yearBoxText: the text
    // of its year box. recalculate: runs when the mode item is switched.
    CalendarMenu(const Tables& tables, QMainWindow* window, std::function<QString()> yearBoxText,
                 std::function<void()> recalculate);

    // Adds the menu "暦(&K)" to bar.
    void build(QMenuBar* bar);

    // Whether the mode item (国立天文台と同じ計算方法) is on.
    bool observatoryMode() const;
    // The days in the minutes of the mode item: the observatory's when it is on (where they
    // reach), else the solar theory's.
    almanac::Days days() const;

    void openCalendarPage();
    // The calendar page on a given day (the 日を探す window's double click).
    void openCalendarPageOn(const CivilDate& date);
    void openDaySearch();
    // 行事: the life events window.
    void openLifeEvents();
    // 和暦 ⇄ 西暦: the converter, whose 「月の暦で開く」 opens the calendar page on its day.
    void openWareki();
    // 購読用カレンダー: the site's feeds, their addresses, and writing them to a folder.
    void openFeeds();
    void showZassetsu();
    void exportIcs();
    // Writes the year's iCalendar file to path, replacing it atomically; reports a failure in
    // a message box and returns false.
    bool writeIcs(const QString& path);
    // 使い方: the user's guide in a window of its own.
    void showGuide();

    CalendarPage* calendarPage() const { return calendarPage_; }
    ZassetsuWindow* zassetsuWindow() const { return zassetsuWindow_; }
    DaySearchWindow* daySearchWindow() const { return daySearch_; }
    LifeWindow* lifeWindow() const { return life_; }
    WarekiWindow* warekiWindow() const { return wareki_; }
    FeedsWindow* feedsWindow() const { return feeds_; }
    QDialog* guideWindow() const { return guide_; }

    // Names the year box's year in the items that act on it (2026年の雑節…), so that a
    // calendar page open on another year is not taken for it; run as the menu opens.
    void nameBoxYear();

    // The shutdown step: closes the windows the menu opened.
    void closeWindows();

  private:
    // The year in the year box, or nothing (with a beep) when it holds none.
    std::optional<int> boxYear() const;
    CalendarPage* ensureCalendarPage();
    void raiseCalendarPage();

    const Tables& tables_;
    QMainWindow* window_;
    std::function<QString()> yearBoxText_;
    std::function<void()> recalculate_;
    QAction* observatoryMode_ = nullptr;
    QAction* notesShown_ = nullptr; // the calendar page's 暦注, remembered between runs
    QAction* zassetsu_ = nullptr;   // the year box's 雑節
    QAction* ics_ = nullptr;        // the year box's iCalendar file
    QPointer<CalendarPage> calendarPage_;
    QPointer<ZassetsuWindow> zassetsuWindow_;
    QPointer<DaySearchWindow> daySearch_;
    QPointer<LifeWindow> life_;
    QPointer<WarekiWindow> wareki_;
    QPointer<FeedsWindow> feeds_;
    QPointer<QDialog> guide_;
};

} // namespace sorvane::ui
