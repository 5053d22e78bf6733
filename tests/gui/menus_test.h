// The About box, the notification sound and the start-up report of a bad data file.
#pragma once

#include "gui_support.h"
#include "ui/about_box.h"
#include "ui/data_files.h"
#include "ui/notification_sound.h"
#include "ui/translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
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

    void qtsOwnTextsAreJapanese() {
        QVERIFY(installQtJapanese(*qApp));
        Form1 form(sharedTables());
        FIND_CHILD(txtyear, QLineEdit, &form, "txtyear");
        FIND_CHILD(txtkekka, QTextEdit, &form, "txtkekka");
        // The context menus' items, up to the shortcut after the tab, hold no Latin letter
        // but the access key's in "(&X)".
        const std::unique_ptr<QMenu> menus[] = {
            std::unique_ptr<QMenu>(txtyear->createStandardContextMenu()),
            std::unique_ptr<QMenu>(txtkekka->createStandardContextMenu())};
        for (const auto& menu : menus) {
            QVERIFY(!menu->actions().isEmpty());
            for (const QAction* action : menu->actions()) {
                QString text = action->text().section(QLatin1Char('\t'), 0, 0);
                text.remove(QRegularExpression(QStringLiteral(R"(\(&[A-Z]\))")));
                QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                         qPrintable(action->text()));
            }
        }
        QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Close);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QCOMPARE(buttons.button(QDialogButtonBox::Close)->text(), QStringLiteral("閉じる"));
    }

    // Each way the term files can fail, reported by file name, in Japanese: only the folder,
    // the file's name and the offending value (in 「」) may be in Latin letters.
    void badDataFileIsReportedByNameInJapanese_data() {
        QTest::addColumn<QString>("kind");    // the planet file missing, a folder, a given text,
        QTest::addColumn<QByteArray>("text"); // or the shipped one with this first line
        QTest::addColumn<QString>("named");
        const QString planet = QStringLiteral("planet.txt");
        QTest::newRow("missing") << QStringLiteral("missing") << QByteArray() << planet;
        QTest::newRow("folder") << QStringLiteral("folder") << QByteArray() << planet;
        QTest::newRow("short") << QStringLiteral("text")
                               << QByteArray("1, 1, 0, 0.5, 10, 0.1, 20\n1, 1") << planet;
        QTest::newRow("no number") << QStringLiteral("text") << QByteArray("1, 1, 0, x5") << planet;
        QTest::newRow("huge") << QStringLiteral("text") << QByteArray("1, 1, 0, 1e999") << planet;
        QTest::newRow("no whole number") << QStringLiteral("text") << QByteArray("1.5") << planet;
        QTest::newRow("outside") << QStringLiteral("text") << QByteArray("1, 40000") << planet;
        QTest::newRow("planet code")
            << QStringLiteral("shipped")
            << QByteArray("9, -1, 1, 0.0125, -118.6105, 28.64, -24.7751") << planet;
        QTest::newRow("latitude") << QStringLiteral("latitude") << QByteArray("2, -1, 0, 0.0294, a")
                                  << QStringLiteral("latitude.txt");
    }
    void badDataFileIsReportedByNameInJapanese() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, text);
        QFETCH(QString, named);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString shipped = QString::fromStdString(findDataDir().string());
        QByteArray planet = text;
        if (kind == QStringLiteral("folder")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("planet.txt")));
        } else if (kind == QStringLiteral("shipped") || kind == QStringLiteral("latitude")) {
            QFile file(shipped + QStringLiteral("/planet.txt"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            planet = file.readAll();
            if (kind == QStringLiteral("shipped")) {
                planet = text + planet.mid(planet.indexOf('\n'));
            }
        }
        const auto write = [&](const QString& name, const QByteArray& content) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        };
        if (kind != QStringLiteral("missing") && kind != QStringLiteral("folder")) {
            write(QStringLiteral("planet.txt"), planet);
        }
        if (kind == QStringLiteral("latitude")) {
            write(QStringLiteral("latitude.txt"), text);
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
        QString rest = reported;
        rest.remove(dir.path()).remove(named);
        rest.remove(QRegularExpression(QStringLiteral("「[^」]*」")));
        QVERIFY2(!rest.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                 qPrintable(reported));
    }

    void goodDataFilesLoadWithoutAnyBox() {
        int boxes = 0;
        onNextMessageBox([&](QMessageBox* box) {
            ++boxes;
            box->reject();
        });
        const auto tables = loadTablesOrReport(findDataDir());
        QVERIFY(tables.has_value());
        QCOMPARE(tables->planetTerms[1].longitudeAmplitude,
                 sharedTables().planetTerms[1].longitudeAmplitude);
        QTest::qWait(50);
        QCOMPARE(boxes, 0);
    }
};

} // namespace sorvane::ui::test
