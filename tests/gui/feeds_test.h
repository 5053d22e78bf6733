// 暦 → 購読用カレンダー: the window lists the feed kinds with the site's years (the year before
// to three after, each cut to its kind's years, as tools/feeds.sh publishes them), says when
// the site's address is unknown, gives each feed's https:// and webcal:// address once it is
// known, and writes the feeds into a folder: each file the bytes `sorvane-cli --feed KIND
// --from A --to B` writes (the DTSTAMP, the clock, set aside), a failure said in Japanese with
// the files before it left whole.
#pragma once

#include "gui_support.h"
#include "support/test_support.h"
#include "ui/feeds_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>

namespace sorvane::ui::test {

class FeedsTest : public QObject {
    Q_OBJECT

    static QString masked(QString text) {
        static const QRegularExpression stamp(QStringLiteral("DTSTAMP:[0-9TZ]+"));
        return text.replace(stamp, QStringLiteral("DTSTAMP:*"));
    }

    static QString cell(const FeedsWindow* window, int row, int column) {
        const auto* list = window->findChild<QTableWidget*>(QStringLiteral("feedList"));
        const QTableWidgetItem* item = list != nullptr ? list->item(row, column) : nullptr;
        return item != nullptr ? item->text() : QStringLiteral("(no cell)");
    }

  private slots:
    void opensFromTheCalendarMenuAndSaysWhatItKnows() {
        Form1 form(sharedTables());
        QAction* item = form.findChild<QAction*>(QStringLiteral("mnufeeds"));
        QVERIFY(item != nullptr);
        QCOMPARE(item->text(), QStringLiteral("購読用カレンダー(&S)…"));
        item->trigger();
        FeedsWindow* window = form.calendarMenu()->feedsWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QCOMPARE(window->siteAddress(), QString());
        const auto* note = window->findChild<QLabel*>(QStringLiteral("feedSiteNote"));
        QVERIFY(note != nullptr);
        QVERIFY2(note->text().contains(QStringLiteral("アドレスを知りません")) &&
                     note->text().contains(QStringLiteral("フォルダーに書き出す")),
                 qPrintable(note->text()));
        QCOMPARE(cell(window, 0, 2), QStringLiteral("（サイトのアドレスが未設定）"));
        form.close();
    }

    void listsTheSitesYearsAndAddresses() {
        FeedsWindow window(sharedTables(), 2026);
        // The kinds in the site's order, with its window 2025..2029; the holidays' law and the
        // other kinds reach all of it.
        const QStringList names = {QStringLiteral("六曜"),         QStringLiteral("選日"),
                                   QStringLiteral("二十四節気"),   QStringLiteral("国民の祝日"),
                                   QStringLiteral("月の満ち欠け"), QStringLiteral("雑節"),
                                   QStringLiteral("選日の期間"),   QStringLiteral("潮名")};
        for (int row = 0; row < names.size(); ++row) {
            QVERIFY2(cell(&window, row, 0).startsWith(names[row]),
                     qPrintable(cell(&window, row, 0)));
            QCOMPARE(cell(&window, row, 1), QStringLiteral("2025〜2029年"));
        }
        struct Case {
            QString typed;
            bool taken;
            QString https, webcal;
        };
        const Case cases[] = {
            {QStringLiteral("https://example.jp/koyomi"), true,
             QStringLiteral("https://example.jp/koyomi/feeds/rokuyo.ics"),
             QStringLiteral("webcal://example.jp/koyomi/feeds/rokuyo.ics")},
            {QStringLiteral("https://example.jp/koyomi/index.html"), true,
             QStringLiteral("https://example.jp/koyomi/feeds/rokuyo.ics"),
             QStringLiteral("webcal://example.jp/koyomi/feeds/rokuyo.ics")},
            {QStringLiteral(" http://localhost:8080/ "), true,
             QStringLiteral("http://localhost:8080/feeds/rokuyo.ics"),
             QStringLiteral("webcal://localhost:8080/feeds/rokuyo.ics")},
            // Refused: the address before it stays.
            {QStringLiteral("ftp://example.jp/"), false,
             QStringLiteral("http://localhost:8080/feeds/rokuyo.ics"),
             QStringLiteral("webcal://localhost:8080/feeds/rokuyo.ics")},
            {QStringLiteral("こよみ"), false,
             QStringLiteral("http://localhost:8080/feeds/rokuyo.ics"),
             QStringLiteral("webcal://localhost:8080/feeds/rokuyo.ics")},
            {QString(), true, QString(), QString()},
        };
        for (const Case& c : cases) {
            QCOMPARE(window.setSiteAddress(c.typed), c.taken);
            QCOMPARE(window.feedAddress(QStringLiteral("rokuyo")), c.https);
            QCOMPARE(window.webcalAddress(QStringLiteral("rokuyo")), c.webcal);
            if (!c.taken) {
                QVERIFY2(window.message().contains(QStringLiteral("https://example.jp/sorvane/ "
                                                                  "のように")),
                         qPrintable(window.message()));
            } else if (!c.https.isEmpty()) {
                QCOMPARE(cell(&window, 0, 2), c.https);
            }
        }
    }

    void writesTheTerminalProgramsFeedsIntoAFolder() {
        FeedsWindow window(sharedTables(), 2026);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY2(window.writeFeeds(folder.path()), qPrintable(window.message()));
        QVERIFY2(window.message().startsWith(QStringLiteral("8件のカレンダーを")),
                 qPrintable(window.message()));
        for (const QString& name : window.fileNames()) {
            QFile file(QDir(folder.path()).filePath(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            const QString kind = name.chopped(4);
            const auto run = sorvane::testing::runCli(
                QStringLiteral("--feed %1 --from 2025 --to 2029").arg(kind).toStdString());
            QCOMPARE(run.status, 0);
            QVERIFY2(masked(QString::fromUtf8(file.readAll())) ==
                         masked(QString::fromStdString(run.out)),
                     qPrintable(name));
        }
        QCOMPARE(window.fileNames().size(), 8);

        // Not a folder, and a folder where one name is taken by a folder: said in Japanese,
        // the files before it written whole.
        QVERIFY(!window.writeFeeds(QDir(folder.path()).filePath(QStringLiteral("rokuyo.ics"))));
        QVERIFY2(window.message().contains(QStringLiteral("フォルダーではありません")),
                 qPrintable(window.message()));
        QTemporaryDir blocked;
        QVERIFY(QDir(blocked.path()).mkdir(QStringLiteral("sekki.ics")));
        QVERIFY(!window.writeFeeds(blocked.path()));
        QVERIFY2(window.message().contains(QStringLiteral("sekki.ics」に書き出せませんでした")) &&
                     window.message().contains(QStringLiteral("書き出せたもの：rokuyo.ics、"
                                                              "senjitsu.ics")),
                 qPrintable(window.message()));
        // Apart from the folder and the files' names, nothing English.
        static const QRegularExpression english(QStringLiteral("[A-Za-z]{3,}"));
        static const QRegularExpression fileName(QStringLiteral("[a-z-]+\\.ics"));
        QString withoutPath = window.message();
        withoutPath.remove(blocked.path());
        withoutPath.remove(fileName);
        QVERIFY2(!english.match(withoutPath).hasMatch(), qPrintable(window.message()));
        QFile first(QDir(blocked.path()).filePath(QStringLiteral("rokuyo.ics")));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QVERIFY(first.readAll().endsWith("END:VCALENDAR\r\n"));
    }
};

} // namespace sorvane::ui::test
