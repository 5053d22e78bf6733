// The main window: the year box, the Calculate and Quit buttons, the result box, the month
// buttons with their first-day labels, and the menus.
#pragma once

#include "ephemeris/tables.h"
#include "finder/finder.h"
#include "ui/form2.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QTextEdit;
class QLineEdit;
class QPushButton;

namespace sorvane::ui {

// Twips at 15 to the pixel (96 dots per inch), rounded to the nearest pixel.
int twips(int value);
QRect twipsRect(int left, int top, int width, int height);

// The family every control is designed in, at the given size in points. The family is mapped
// to the Japanese fonts found on Linux by installFontSubstitutions().
QFont programFont(double pointSize, bool bold = false);
void installFontSubstitutions();

// A text with Windows line ends as the controls show it: CR LF is one line break, and so is
// a CR left alone.
QString displayText(const std::string& text);

// A locked multi-line box as the windows use it: plain text, no wrapping, no scroll bars.
QTextEdit* textBox(QWidget* parent, const QString& name, QRect geometry, const QFont& font);

// Replaces the text of a box made by textBox. Lines are spaced one em apart (closer if the
// box would otherwise cut off its last line), and a line too wide for the box is fitted by
// condensing the font horizontally, so that every line shows in full.
void showLines(QTextEdit* box, const QString& text, Qt::Alignment alignment);

QIcon mainWindowIcon();
QIcon monthWindowIcon();

// The About box's message, exactly as composed (carriage returns included), and its title.
QString aboutText();
QString aboutTitle();

// Plays the desktop's notification sound and waits until it has ended, at most a few
// seconds. Returns false when no sound could be played (no sound device, no sound theme).
bool playNotificationSound();

// Loads the term files at start-up. On failure shows one message box naming the file and
// returns nothing; the caller then ends the program.
std::optional<Tables> loadTablesOrReport(const std::filesystem::path& dataDir);

// An arrow image beside the year box. A click is a press and a release on the image; a double
// click is reported once, on the second press, and the release that follows it is no click.
class YearArrow : public QLabel {
    Q_OBJECT

  public:
    YearArrow(const QString& name, const QString& picture, const QString& hint, QWidget* parent);

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

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

    // The month window while it exists (null before first use and after it was closed).
    Form2* monthWindow() const { return form2_; }
    const Finder& finder() const { return finder_; }

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

  private:
    void buildControls(QWidget* surface);
    void buildMenus();
    Form2* loadMonthWindow();
    void hideMonthWindow();
    void markStale();
    void centreOnScreen();

    const Tables tables_;
    Finder finder_;

    QLineEdit* txtyear_ = nullptr;
    QPushButton* btncalc_ = nullptr;
    QPushButton* command4_ = nullptr;
    QTextEdit* txtkekka_ = nullptr;
    std::array<QLabel*, 12> lblday1_{};
    std::array<QPushButton*, 12> monthButtons_{};
    QWidget* surface_ = nullptr;

    QPointer<Form2> form2_;
    bool surfacePressed_ = false;
    bool kekkaPressed_ = false;
    bool shuttingDown_ = false;
    std::function<void()> notificationPlayer_;
};

} // namespace sorvane::ui
