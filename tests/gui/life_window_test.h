// The 行事 window: opened from the 暦 menu, it shows the dates and candidate days that
// `sorvane-cli --life --json` gives for the same request, refuses bad input in Japanese,
// opens a day on the calendar page and saves the dates as a calendar file.
#pragma once

#include "gui_support.h"
#include "support/test_support.h"
#include "ui/life_window.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace sorvane::ui::test {

class LifeWindowTest : public QObject {
    Q_OBJECT

    // The terminal program's dates and candidates for the arguments, as the window's lines.
    static std::pair<QStringList, QStringList> cliLines(const QString& args) {
        const auto run = sorvane::testing::runCli(
            (args + QStringLiteral(" --today 2026-12-09 --json")).toStdString());
        const QJsonObject doc =
            QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
        QStringList dates;
        for (const QJsonValue& v : doc[QStringLiteral("dates")].toArray()) {
            const QJsonObject d = v.toObject();
            dates << d[QStringLiteral("name")].toString() + QLatin1Char('\t') +
                         (d.contains(QStringLiteral("date"))
                              ? d[QStringLiteral("date")].toString()
                              : QString::number(d[QStringLiteral("year")].toInt()));
        }
        QStringList candidates;
        for (const QJsonValue& v : doc[QStringLiteral("candidates")].toArray()) {
            const QJsonObject c = v.toObject();
            QStringList reasons;
            for (const QJsonValue& r : c[QStringLiteral("reasons")].toArray()) {
                reasons << r.toString();
            }
            candidates << c[QStringLiteral("for")].toString() + QLatin1Char('\t') +
                              c[QStringLiteral("date")].toString() + QLatin1Char('\t') +
                              c[QStringLiteral("rokuyo")].toString() + QLatin1Char('\t') +
                              reasons.join(QStringLiteral("、"));
        }
        return {dates, candidates};
    }

  private slots:
    void showsWhatTheTerminalProgramShows() {
        Form1 form(sharedTables());
        form.findChild<QAction*>(QStringLiteral("mnulife"))->trigger();
        LifeWindow* window = form.calendarMenu()->lifeWindow();
        QVERIFY(window != nullptr);
        window->setToday(QDate(2026, 12, 9));
        struct Case {
            QString kind;
            QDate date;
            int year;
            QString sex;
            QString args;
        };
        const Case cases[] = {
            {QStringLiteral("法要"), QDate(2026, 2, 1), 2026, QString(),
             QStringLiteral("--life 法要 --date 2026-02-01")},
            {QStringLiteral("お宮参り"), QDate(2026, 4, 4), 2026, QStringLiteral("女"),
             QStringLiteral("--life お宮参り --date 2026-04-04 --sex 女")},
            {QStringLiteral("帯祝い"), QDate(2027, 5, 1), 2026, QString(),
             QStringLiteral("--life 帯祝い --date 2027-05-01")},
            {QStringLiteral("厄年"), QDate(1990, 2, 2), 1990, QStringLiteral("女"),
             QStringLiteral("--life 厄年 --date 1990-02-02 --sex 女 --year 1990")},
            {QStringLiteral("年齢"), QDate(), 2026, QString(),
             QStringLiteral("--life 年齢 --year 2026")},
        };
        for (const Case& c : cases) {
            window->setRequest(c.kind, c.date, c.year, c.sex);
            QVERIFY2(window->errorText().isEmpty(), qPrintable(window->errorText()));
            const auto [dates, candidates] = cliLines(c.args);
            QVERIFY2(!dates.isEmpty(), qPrintable(c.args));
            QCOMPARE(window->dateLines(), dates);
            QCOMPARE(window->candidateLines(), candidates);
        }
        // The 関西 convention: its dates, and candidates of its own.
        window->setRequest(QStringLiteral("法要"), QDate(2026, 2, 1), 2026, QString(), 1);
        QVERIFY(window->dateLines().first().endsWith(QStringLiteral("2026-02-06")));
        QVERIFY(!window->candidateLines().isEmpty());
    }

    void refusesBadInputInJapanese() {
        LifeWindow window(sharedTables());
        window.setToday(QDate(2026, 12, 9));
        FIND_CHILD(save, QPushButton, (&window), "lifeSave");
        window.setRequest(QStringLiteral("法要"), QDate(2026, 12, 10), 2026, QString());
        QVERIFY2(window.errorText().contains(QStringLiteral("命日が今日より後")),
                 qPrintable(window.errorText()));
        QVERIFY(window.dateLines().isEmpty());
        QVERIFY(!save->isEnabled());
        window.setRequest(QStringLiteral("お宮参り"), QDate(2026, 4, 4), 2026, QString());
        QVERIFY(window.errorText().contains(QStringLiteral("男か女")));
        window.setRequest(QStringLiteral("帯祝い"), QDate(2027, 10, 10), 2026, QString());
        QVERIFY(window.errorText().contains(QStringLiteral("出産予定日")));
        window.setRequest(QStringLiteral("お宮参り"), QDate(2026, 4, 4), 2026,
                          QStringLiteral("男"));
        QVERIFY(window.errorText().isEmpty());
        QVERIFY(save->isEnabled());
    }

    void opensTheDayAndSavesTheCalendar() {
        Form1 form(sharedTables());
        form.findChild<QAction*>(QStringLiteral("mnulife"))->trigger();
        LifeWindow* window = form.calendarMenu()->lifeWindow();
        window->setToday(QDate(2026, 12, 9));
        window->setRequest(QStringLiteral("法要"), QDate(2026, 2, 1), 2026, QString());
        FIND_CHILD(candidates, QTreeWidget, window, "lifeCandidates");
        QVERIFY(candidates->topLevelItemCount() > 0);
        const QDate first = QDate::fromString(
            window->candidateLines().first().section(QLatin1Char('\t'), 1, 1), Qt::ISODate);
        emit candidates->itemActivated(candidates->topLevelItem(0), 0);
        QVERIFY(form.calendarPage() != nullptr);
        QCOMPARE(form.calendarPage()->selectedDate(),
                 (CivilDate{first.year(), first.month(), first.day()}));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("family.ics"));
        QVERIFY(window->saveCalendar(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("UID:life-hoyo-shonanoka-2026-02-07@sorvane"));
        QVERIFY(text.contains("UID:life-hoyo-gojukkaiki-2075-02-01@sorvane"));
        // A folder that does not exist: false, and a Japanese message shown without waiting.
        QVERIFY(!window->saveCalendar(dir.filePath(QStringLiteral("missing/x.ics"))));
        auto* box = window->findChild<QMessageBox*>(QStringLiteral("lifeSaveErrorBox"));
        QVERIFY(box != nullptr);
        QVERIFY(box->text().contains(QStringLiteral("保存できませんでした")));
        // The reason in Japanese, not the system's English (No such file or directory).
        QVERIFY2(box->text().contains(QStringLiteral("フォルダーがありません")) &&
                     !box->text().contains(QStringLiteral("No such")),
                 qPrintable(box->text()));
        box->close();
    }
};

} // namespace sorvane::ui::test
