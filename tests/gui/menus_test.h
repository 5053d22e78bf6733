// The About box, the notification sound and the start-up report of a bad data file.
#pragma once

#include "gui_support.h"
#include "ui/about_box.h"
#include "ui/data_files.h"
#include "ui/notification_sound.h"

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace sorvane::ui::test {

class MenusTest : public QObject {
    Q_OBJECT

    struct SeenBox {
        bool seen = false;
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::Critical;
        int buttons = 0;
    };

    // Opens the About box through the menu, closes it with `close` and reports what it showed
    // and whether the sound came after the box had gone.
    static SeenBox openAbout(Form1& form, std::function<void(QMessageBox*)> close,
                             int& soundsAfterClosing, int& soundsWhileOpen) {
        SeenBox seen;
        form.setNotificationPlayer([&] {
            (QApplication::activeModalWidget() == nullptr ? soundsAfterClosing : soundsWhileOpen)++;
        });
        onNextMessageBox([&](QMessageBox* box) {
            seen.seen = true;
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = static_cast<int>(box->buttons().size());
            close(box);
        });
        form.findChild<QAction*>(QStringLiteral("mnuver"))->trigger();
        return seen;
    }

  private slots:
    void aboutTextIsExact() {
        const QString expected =
            QStringLiteral("      \u3000\u3000Sorvane  Ver.  ") +
            QStringLiteral(SORVANE_EXPECTED_VERSION) +
            QStringLiteral("\r\r\n\u3000Copyright (C) 2026年12月\u3000Sorvane Project\r\r\n"
                           "       \u3000\u3000sorvane@example.com\r\n"
                           "  \u3000\u3000\u3000\u3000https://www.example.org/sorvane/");
        QCOMPARE(aboutText(), expected);
        QCOMPARE(aboutTitle(), QStringLiteral("バージョン情報"));
    }

    void aboutBoxShowsTheLinesThenPlaysTheSound() {
        Form1 form(sharedTables());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        int after = 0;
        int during = 0;
        const SeenBox seen = openAbout(
            form, [](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); }, after, during);
        QVERIFY(seen.seen);
        QCOMPARE(seen.title, QStringLiteral("バージョン情報"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, 1);
        QVERIFY(!seen.text.contains(QLatin1Char('\r')));
        // Each CR CR LF shows as a blank line between groups, the single CR LF as a break.
        const QStringList lines = seen.text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("      \u3000\u3000Sorvane  Ver.  ") +
                               QStringLiteral(SORVANE_EXPECTED_VERSION));
        QVERIFY(lines[1].isEmpty());
        QVERIFY(lines[2].startsWith(QStringLiteral("\u3000Copyright")));
        QVERIFY(lines[3].isEmpty());
        QVERIFY(lines[4].startsWith(QStringLiteral("       \u3000\u3000")));
        QVERIFY(lines[5].startsWith(QStringLiteral("  \u3000\u3000\u3000\u3000https://")));
        QCOMPARE(during, 0);
        QCOMPARE(after, 1);

        // Escape closes the box the same way, and the sound follows as well.
        const SeenBox again = openAbout(
            form, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, after, during);
        QVERIFY(again.seen);
        QCOMPARE(during, 0);
        QCOMPARE(after, 2);
    }

    void notificationSoundNeverHoldsTheWindowLong() {
        // Whether or not this machine has a sound device, the call ends within a few seconds.
        QElapsedTimer clock;
        clock.start();
        playNotificationSound();
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    }

    void badDataFileIsReportedByName_data() {
        QTest::addColumn<QByteArray>("planet");
        QTest::addColumn<QString>("named");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("planet.txt");
        QTest::newRow("short") << QByteArray("1, 1, 0, 0.5, 10, 0.1, 20\n")
                               << QStringLiteral("planet.txt");
    }
    void badDataFileIsReportedByName() {
        QFETCH(QByteArray, planet);
        QFETCH(QString, named);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (!planet.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("planet.txt")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(planet);
        }
        int boxes = 0;
        QString reported;
        onNextMessageBox([&](QMessageBox* box) {
            ++boxes;
            reported = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        const auto tables = loadTablesOrReport(dir.path().toStdString());
        QVERIFY(!tables.has_value());
        QCOMPARE(boxes, 1);
        QVERIFY2(reported.contains(named), qPrintable(reported));
        QVERIFY2(reported.contains(dir.path()),
                 qPrintable(reported)); // and where it was looked for
    }

    void goodDataFilesLoadWithoutAnyBox() {
        int boxes = 0;
        onNextMessageBox([&](QMessageBox* box) {
            ++boxes;
            box->reject();
        });
        const auto tables = loadTablesOrReport(findDataDir());
        QVERIFY(tables.has_value());
        QCOMPARE(tables->sexagenaryNames[1], sharedTables().sexagenaryNames[1]);
        QTest::qWait(50);
        QCOMPARE(boxes, 0);
    }
};

} // namespace sorvane::ui::test
