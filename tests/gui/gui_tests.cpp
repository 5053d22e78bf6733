// The window tests, one program: `gui_tests CLASS [QTest arguments]` runs one test class
// (main_window, month_window, menus, calendar_page, print_file, shutdown, day_search,
// wareki, place, life_window, feeds), `gui_tests` runs them all in turn.
#include "calendar_page_test.h"
#include "day_search_test.h"
#include "feeds_test.h"
#include "life_window_test.h"
#include "main_window_test.h"
#include "menus_test.h"
#include "month_window_test.h"
#include "place_test.h"
#include "print_file_test.h"
#include "shutdown_test.h"
#include "ui/settings.h"
#include "wareki_test.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <vector>

int main(int argc, char** argv) {
    // The settings of whoever runs the tests (a mode or a place chosen by hand) must not reach
    // the windows under test: the settings, and those of the programs the tests start, live in
    // a folder of this run.
    QTemporaryDir configHome;
    if (!configHome.isValid()) {
        qWarning("gui_tests: no temporary folder for the settings");
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    sorvane::ui::setApplicationNames();
    using namespace sorvane::ui::test;
    const std::pair<const char*, std::function<int(int, char**)>> classes[] = {
        {"main_window",
         [](int c, char** v) {
             MainWindowTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"month_window",
         [](int c, char** v) {
             MonthWindowTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"menus",
         [](int c, char** v) {
             MenusTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"calendar_page",
         [](int c, char** v) {
             CalendarPageTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"print_file",
         [](int c, char** v) {
             PrintFileTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"shutdown",
         [](int c, char** v) {
             ShutdownTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"day_search",
         [](int c, char** v) {
             DaySearchTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"wareki",
         [](int c, char** v) {
             WarekiTest t;
             return QTest::qExec(&t, c, v);
         }},
        // Last: it moves the settings to a folder of its own.
        {"place",
         [](int c, char** v) {
             PlaceTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"life_window",
         [](int c, char** v) {
             LifeWindowTest t;
             return QTest::qExec(&t, c, v);
         }},
        {"feeds",
         [](int c, char** v) {
             FeedsTest t;
             return QTest::qExec(&t, c, v);
         }},
    };
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> args(argv, argv + argc);
    if (only != nullptr) {
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    bool ran = false;
    for (const auto& [name, run] : classes) {
        if (only == nullptr || std::strcmp(only, name) == 0) {
            failures += run(static_cast<int>(args.size()), args.data());
            dropMessageBoxHooks();
            ran = true;
        }
    }
    if (!ran) {
        qWarning("gui_tests: no test class \"%s\"", only);
        return 2;
    }
    return failures;
}

#include "moc_calendar_page_test.cpp"
#include "moc_main_window_test.cpp"
#include "moc_menus_test.cpp"
#include "moc_month_window_test.cpp"
#include "moc_place_test.cpp"
#include "moc_shutdown_test.cpp"
