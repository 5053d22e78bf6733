// 暦(&K) > 日の出入りの場所: the calendar page's rising and setting times for the chosen place,
// the coordinates refused beyond the globe, and the choice kept between runs.
#pragma once

#include "ephemeris/data_location.h"
#include "gui_support.h"
#include "horizon/day_text.h"
#include "ui/calendar_page.h"
#include "ui/place_menu.h"
#include "ui/settings.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sorvane::ui::test {

class PlaceTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir_;

    static std::unique_ptr<Form1> startForm() {
        auto form = std::make_unique<Form1>(sharedTables());
        form->show();
        return form;
    }
    static QString detailsOf(Form1& form, const CivilDate& date) {
        form.findChild<QAction*>(QStringLiteral("mnumonthpage"))->trigger();
        CalendarPage* page = form.calendarPage();
        page->showDate(date);
        return page->findChild<QTextEdit*>(QStringLiteral("details"))->toPlainText();
    }

  private slots:
    void initTestCase() {
        // The settings of this run only: the user's own stay as they are.
        QVERIFY(settingsDir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    }

    // A places file that is a named pipe nobody writes to: the menu's list is made at once,
    // with 東京 alone (the menu adds その他…).
    void placesFileAsANamedPipe() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pipe = dir.filePath(QString::fromLatin1(horizon::kPlacesFile));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const std::vector<horizon::NamedPlace> places = menuPlaces(dir.path().toStdString());
        QCOMPARE(places.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(places.front().name), QStringLiteral("東京"));
    }

    // The settings file a named pipe (or a folder): the settings are read and written at once
    // with their defaults, in a child process that must be done within ten seconds (before,
    // it waited on the pipe for ever, and the window never started).
    void settingsFileNotARegularFile() {
        const QString path = settingsFileName(QCoreApplication::organizationName());
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile::remove(path);
        for (const bool pipe : {true, false}) {
            if (pipe) {
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            } else {
                QVERIFY(QDir().mkpath(path));
            }
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                saveNotesShown(true);
                ::_exit(savedNotesShown() ? 3 : 0); // saved nowhere: the default again
            }
            int status = -1;
            for (int waited = 0; waited < 100; ++waited) {
                if (::waitpid(child, &status, WNOHANG) == child) {
                    break;
                }
                QTest::qWait(100);
            }
            if (!WIFEXITED(status)) {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            }
            pipe ? QFile::remove(path) : QDir(path).removeRecursively();
            QVERIFY2(WIFEXITED(status), pipe ? "a named pipe kept the settings waiting"
                                             : "a folder as the settings file");
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        QVERIFY(!savedNotesShown());
    }

    // 2025-01-01 in Tokyo: sunrise 06:51 (the observatory's table), as the library gives it.
    void tokyoTimesInTheDetails() {
        std::unique_ptr<Form1> form = startForm();
        QAction* tokyo = form->findChild<QAction*>(QStringLiteral("mnuplace_東京"));
        QVERIFY(tokyo != nullptr && tokyo->isChecked());
        const QString text = detailsOf(*form, {2025, 1, 1});
        QVERIFY2(text.contains(QStringLiteral("日の出 06:51")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("日の出入り・月の出入り：東京")), qPrintable(text));
        const long long day = dayNumber(CivilDate{2025, 1, 1});
        const std::string lines =
            horizon::dayDetailsText(horizon::dayTimes(horizon::tokyo().observer, day, day).at(0));
        for (const QString& line :
             QString::fromStdString(lines).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QVERIFY2(text.contains(line), qPrintable(line));
        }
        // Beyond the years the positions reach: no times, and no error.
        QVERIFY(!detailsOf(*form, {3001, 1, 1}).contains(QStringLiteral("日の出")));
        QVERIFY(detailsOf(*form, {3000, 12, 31}).contains(QStringLiteral("日の出")));
    }

    // The annular eclipse of 2030-06-01 in the details, with the contacts of the chosen place:
    // 札幌 sees it annular, with the published minutes (日食ナビ「2030年6月1日」: 始め 15時41分;
    // 「北海道で金環日食」: 終わり 18時04分), 東京 partial; each line is the core's for that place.
    // With SORVANE_SHOTS set to a folder, the page of each place is saved there as a picture.
    void eclipseOfTheChosenPlaceInTheDetails() {
        std::unique_ptr<Form1> form = startForm();
        const struct {
            const char* place;
            std::vector<const char*> shown;
        } cases[] = {
            {"札幌", {"札幌では金環日食", "食の始め 15:41", "食の終わり 18:04"}},
            {"東京", {"金環日食　東京では部分日食"}},
        };
        for (const auto& c : cases) {
            const QString place = QString::fromUtf8(c.place);
            QAction* action = form->findChild<QAction*>(QStringLiteral("mnuplace_") + place);
            QVERIFY2(action != nullptr, c.place);
            action->trigger();
            const QString text = detailsOf(*form, {2030, 6, 1});
            for (const char* shown : c.shown) {
                QVERIFY2(text.contains(QString::fromUtf8(shown)), qPrintable(text));
            }
            const std::vector<horizon::NamedPlace> places = menuPlaces(findDataDir());
            const auto named =
                std::find_if(places.begin(), places.end(),
                             [&](const horizon::NamedPlace& p) { return p.name == c.place; });
            QVERIFY2(named != places.end(), c.place);
            almanac::CalendarYears years(sharedTables());
            const std::vector<std::string> lines = years.eclipseDetails({2030, 6, 1}, *named);
            QVERIFY(lines.size() >= 4);
            for (const std::string& line : lines) {
                QVERIFY2(text.contains(QString::fromStdString(line)), line.c_str());
            }
            if (const QByteArray dir = qgetenv("SORVANE_SHOTS"); !dir.isEmpty()) {
                QVERIFY(form->calendarPage()->grab().save(
                    QString::fromLocal8Bit(dir) + QStringLiteral("/calendar-page-2030-06-01-") +
                    place + QStringLiteral(".png")));
            }
        }
        form->findChild<QAction*>(QStringLiteral("mnuplace_東京"))->trigger();
    }

    // A place chosen is the one the next run starts with, a named one or coordinates.
    void choiceSurvivesARestart() {
        std::unique_ptr<Form1> form = startForm();
        const QString tokyoText = detailsOf(*form, {2025, 1, 1});
        form->findChild<QAction*>(QStringLiteral("mnuplace_那覇"))->trigger();
        const QString nahaText = detailsOf(*form, {2025, 1, 1});
        QVERIFY2(nahaText.contains(QStringLiteral("：那覇")), qPrintable(nahaText));
        QVERIFY(nahaText != tokyoText);
        form.reset();

        form = startForm();
        QVERIFY(form->findChild<QAction*>(QStringLiteral("mnuplace_那覇"))->isChecked());
        QVERIFY(!form->findChild<QAction*>(QStringLiteral("mnuplace_東京"))->isChecked());
        QCOMPARE(detailsOf(*form, {2025, 1, 1}), nahaText);
        form.reset();

        savePlace({std::string(), horizon::Observer{-33.87, 151.21}});
        form = startForm();
        QVERIFY(form->findChild<QAction*>(QStringLiteral("mnuplaceother"))->isChecked());
        const QString other = detailsOf(*form, {2025, 1, 1});
        QVERIFY2(other.contains(QStringLiteral("南緯33.87° 東経151.21°")), qPrintable(other));
        form.reset();
        savePlace(horizon::tokyo());
    }

    // The dialog's values: decimal degrees within ±90 and ±180, refused in Japanese beyond.
    void coordinatesRefusedBeyondTheGlobe() {
        QString problem;
        const auto observer =
            parseCoordinates(QStringLiteral(" -33.87"), QStringLiteral("151.21"), problem);
        QVERIFY(observer && observer->latitude == -33.87 && observer->longitude == 151.21);
        QVERIFY(problem.isEmpty());
        QVERIFY(parseCoordinates(QStringLiteral("90"), QStringLiteral("-180"), problem));
        QVERIFY(!parseCoordinates(QStringLiteral("90.01"), QStringLiteral("0"), problem));
        QVERIFY2(problem.contains(QStringLiteral("緯度は -90 から 90 まで")), qPrintable(problem));
        QVERIFY(!parseCoordinates(QStringLiteral("0"), QStringLiteral("-180.5"), problem));
        QVERIFY2(problem.contains(QStringLiteral("経度は -180 から 180 まで")),
                 qPrintable(problem));
        QVERIFY(!parseCoordinates(QStringLiteral("北"), QStringLiteral("0"), problem));
        QVERIFY(problem.contains(QStringLiteral("緯度")));
    }
};

} // namespace sorvane::ui::test
