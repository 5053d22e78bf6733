// The main window: the year box, the Calculate and Quit buttons, the result box, the month
// buttons with their first-day labels, and the menus.
#pragma once

#include "ephemeris/tables.h"
#include "ui/calendar_menu.h"
#include "ui/form2.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTextEdit;
class QLineEdit;
class QMessageBox;
class QPushButton;

namespace sorvane::almanac {
struct AlmanacOptions;
struct YearAlmanac;
} // namespace sorvane::almanac

namespace sorvane::ui {

class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    // Start-up: builds the window, centres it, puts the current year into the year box and
    // calculates it. The caller shows the window afterwards.
    explicit Form1(Tables tables, QWidget* parent = nullptr);
    ~Form1() override;

    // The click handlers, callable as the controls call them.
    void calculate();
    void stepYear(int delta);
    void backToCurrentYear();
    void openMonth(int month);
    void dockMonthWindow();
    void showAbout();
    void shutdown();

    // The 暦 menu (calendar_menu.h): the calendar page, the 雑節 window and the iCalendar file
    // of the year in the year box, in the mode the checkable item chooses.
    void openCalendarPage() { calendarMenu_->openCalendarPage(); }
    void openCalendarPageOn(const CivilDate& date) { calendarMenu_->openCalendarPageOn(date); }
    void openDaySearch() { calendarMenu_->openDaySearch(); }
    void showZassetsu() { calendarMenu_->showZassetsu(); }
    void exportIcs() { calendarMenu_->exportIcs(); }
    bool writeIcs(const QString& path) { return calendarMenu_->writeIcs(path); }
    void showGuide() { calendarMenu_->showGuide(); }
    CalendarMenu* calendarMenu() const { return calendarMenu_; }

    // The month window while it exists (null before first use and after it was closed).
    Form2* monthWindow() const { return form2_; }
    CalendarPage* calendarPage() const { return calendarMenu_->calendarPage(); }
    ZassetsuWindow* zassetsuWindow() const { return calendarMenu_->zassetsuWindow(); }
    DaySearchWindow* daySearchWindow() const { return calendarMenu_->daySearchWindow(); }
    // The calculated year, or null while the year box holds a year not yet calculated.
    const almanac::YearAlmanac* almanac() const { return almanac_.get(); }

    // Replaces what runs after the About box closes (the notification sound).
    void setNotificationPlayer(std::function<void()> player) {
        notificationPlayer_ = std::move(player);
    }

  signals:
    // Emitted once when the shutdown step starts, whichever route started it.
    void shutdownStarted();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void buildControls(QWidget* surface);
    void buildMenus();
    Form2* loadMonthWindow();
    void hideMonthWindow();
    void markStale();
    // Shows (or hides) the note that the calculated year's events lie outside their months.
    void showDriftWarning();
    void centreOnScreen();
    QRect availableArea() const;

    const Tables tables_;
    std::unique_ptr<almanac::YearAlmanac> almanac_;
    QMessageBox* driftWarning_ = nullptr;

    QLineEdit* txtyear_ = nullptr;
    QPushButton* btncalc_ = nullptr;
    QPushButton* command4_ = nullptr;
    QTextEdit* txtkekka_ = nullptr;
    std::array<QLabel*, 12> lblday1_{};
    std::array<QPushButton*, 12> monthButtons_{};
    QWidget* surface_ = nullptr;

    QPointer<Form2> form2_;
    CalendarMenu* calendarMenu_ = nullptr;
    bool surfacePressed_ = false;
    bool kekkaPressed_ = false;
    bool shuttingDown_ = false;
    bool frameKnown_ = false;
    QPoint centredAt_;
    std::function<void()> notificationPlayer_;
};

} // namespace sorvane::ui
