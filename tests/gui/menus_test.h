// The About box, the notification sound and the start-up report of a bad data file.
#pragma once

#include "gui_support.h"
#include "ui/about_box.h"
#include "ui/data_files.h"
#include "ui/guide.h"
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
#include <QTextBrowser>
#include <memory>
#include <sys/stat.h>

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
    // Soft line breaks: out between Japanese characters, a space between Latin words, the
    // blocks of Markdown left as they are.
    void guideLinesRunOn_data() {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("joined");
        const auto row = [](const char* name, const char* markdown, const char* joined) {
            QTest::newRow(name) << QString::fromUtf8(markdown) << QString::fromUtf8(joined);
        };
        row("Japanese", "予定を\n立てる", "予定を立てる");
        row("Japanese, indented next line", "予定を\n  立てる", "予定を立てる");
        row("Japanese then a digit", "各月の\n1日", "各月の1日");
        row("a Latin word then Japanese", "`sorvane-cli`\nの二つ", "`sorvane-cli`の二つ");
        row("Latin words", "two\nwords", "two\nwords");
        row("paragraphs", "一つ目。\n\n二つ目。", "一つ目。\n\n二つ目。");
        row("list items", "- 大安\n- 友引", "- 大安\n- 友引");
        row("a list item's second line", "- 大安の\n  土曜日", "- 大安の土曜日");
        row("ordered items", "1. 月の暦\n2. 日を探す", "1. 月の暦\n2. 日を探す");
        row("heading", "# 使い方\n本文", "# 使い方\n本文");
        row("table", "| 日 | 六曜 |\n|---|---|", "| 日 | 六曜 |\n|---|---|");
        row("hard break", "一行目  \n二行目", "一行目  \n二行目");
        row("fence", "```\n暦\n注\n```", "```\n暦\n注\n```");
        row("full-width forms", "（注）\n六曜", "（注）六曜");
    }
    void guideLinesRunOn() {
        QFETCH(QString, markdown);
        QFETCH(QString, joined);
        QCOMPARE(joinSoftBreaks(markdown), joined);
    }

    // 暦 → 使い方 opens the Japanese guide the program carries, rendered: its headings are
    // text, not Markdown marks, and the item opens the same window again.
    void guideOpensFromTheCalendarMenu() {
        Form1 form(sharedTables());
        form.show();
        QAction* item = form.findChild<QAction*>(QStringLiteral("mnuguide"));
        QVERIFY(item != nullptr);
        QCOMPARE(item->text(), QStringLiteral("使い方(&U)…"));
        item->trigger();
        QDialog* guide = form.calendarMenu()->guideWindow();
        QVERIFY(guide != nullptr && guide->isVisible());
        const QString text =
            guide->findChild<QTextBrowser*>(QStringLiteral("guideText"))->toPlainText();
        for (const char* part : {"月の暦", "暦注とその意味", "日を探す", "結婚式", "日の出入り",
                                 "印刷", "sorvane-cli", "精度", "データの範囲"}) {
            QVERIFY2(text.contains(QString::fromUtf8(part)), part);
        }
        QVERIFY(!text.contains(QStringLiteral("## ")));
        // The guide's own lines run on as Japanese is written: no space where a line of the
        // source ended between two Japanese characters (or before a digit after one).
        for (const char* joined :
             {"日の出入りを使って予定を立てる", "の二つがあります", "各月の1日"}) {
            QVERIFY2(text.contains(QString::fromUtf8(joined)), joined);
        }
        // And so every such line end of the source: the Japanese characters on its two sides
        // (up to three each) stand together in the window's text.
        static const QRegularExpression tail(
            QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]{1,3}$"));
        static const QRegularExpression head(
            QStringLiteral("^[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]{1,3}"));
        const QStringList source = guideText().split(QLatin1Char('\n'));
        int ends = 0;
        for (qsizetype i = 0; i + 1 < source.size(); ++i) {
            const QRegularExpressionMatch a = tail.match(source[i]);
            const QRegularExpressionMatch b = head.match(source[i + 1].trimmed());
            if (a.hasMatch() && b.hasMatch() && !source[i].startsWith(QLatin1Char('#'))) {
                const QString together = a.captured() + b.captured();
                QVERIFY2(text.contains(together), qPrintable(together));
                ++ends;
            }
        }
        QVERIFY(ends >= 20);         // the guide has 21 such line ends
        QVERIFY(text.size() > 3000); // the whole guide, not the note that it could not be read
        guide->close();
        item->trigger();
        QCOMPARE(form.calendarMenu()->guideWindow(), guide);
        QVERIFY(guide->isVisible());
    }

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

    // Each code of the term file reader through the message function, one damaged data
    // folder per code (the shipped files with one of them replaced). DIR is the folder.
    // Reading a file that opened but then failed cannot be made to happen here.
    void dataFileErrorsInJapanese_data() {
        QTest::addColumn<QString>("file");    // the file replaced
        QTest::addColumn<QByteArray>("text"); // its text, "<folder>", "<pipe>", "<none>", or
                                              // "<first>" and the shipped file's first line
        QTest::addColumn<QString>("expected");
        const QString planet = QStringLiteral("planet.txt");
        const QString latitude = QStringLiteral("latitude.txt");
        QTest::newRow("cannot open")
            << planet << QByteArray("<none>")
            << QStringLiteral("planet.txt: DIR/planet.txt を開けません(ファイルがありません)");
        QTest::newRow("directory")
            << planet << QByteArray("<folder>")
            << QStringLiteral(
                   "planet.txt: DIR/planet.txt はフォルダーで、データファイルではありません");
        QTest::newRow("not regular")
            << latitude << QByteArray("<pipe>")
            << QStringLiteral(
                   "latitude.txt: DIR/latitude.txt は通常のファイルではありません(名前付きパイプ)");
        QTest::newRow("too large")
            << latitude << QByteArray((1 << 20) + 1, ' ')
            << QStringLiteral("latitude.txt: DIR/latitude.txt は 1048576 "
                              "バイトを超えており、項のファイルとしては大きすぎます");
        QTest::newRow("ends early")
            << planet << QByteArray("1, 1, 0, 0.5, 10, 0.1, 20\n1, 1")
            << QStringLiteral("planet.txt: 途中で終わっています(全 120 項のうち 1 項まで)。"
                              "第 2 項の値は 7 個のうち 2 個です");
        QTest::newRow("not a number")
            << planet << QByteArray("1, 1, 0, x\x01")
            << QStringLiteral(
                   "planet.txt: 第 1 項の 4 番目の値(黄経の振幅): 「x\\x01」は数値ではありません");
        QTest::newRow("number overflow")
            << planet << QByteArray("1, 1, 0, 1e999")
            << QStringLiteral("planet.txt: 第 1 項の 4 番目の値(黄経の振幅): "
                              "「1e999」は数値の範囲を超えています");
        QTest::newRow("not whole")
            << planet << QByteArray("1.5")
            << QStringLiteral(
                   "planet.txt: 第 1 項の 1 番目の値(惑星番号): 「1.5」は整数ではありません");
        QTest::newRow("outside 16 bits")
            << planet << QByteArray("1, 40000")
            << QStringLiteral("planet.txt: 第 1 項の 2 番目の値(惑星の倍数): "
                              "「40000」は -32768～32767 の範囲外です");
        QTest::newRow("outside degrees")
            << latitude << QByteArray("2, -1, 0, 0.0294, 720")
            << QStringLiteral("latitude.txt: 第 1 項の 5 番目の値(黄緯の位相): "
                              "「720」は -360～360 度の範囲外です");
        QTest::newRow("outside arcseconds")
            << planet << QByteArray("1, 1, 0, 150")
            << QStringLiteral("planet.txt: 第 1 項の 4 番目の値(黄経の振幅): "
                              "「150」は -100～100 秒角の範囲外です");
        QTest::newRow("outside radius")
            << planet << QByteArray("1, 1, 0, 1, 2, 1e10")
            << QStringLiteral("planet.txt: 第 1 項の 6 番目の値(動径の振幅): "
                              "「1e10」は -100000～100000 の範囲外です");
        QTest::newRow("planet code")
            << planet << QByteArray("<first>9, -1, 1, 0.0125, -118.6105, 28.64, -24.7751")
            << QStringLiteral("planet.txt: 第 1 項の 1 番目の値(惑星番号): "
                              "9 は惑星番号 1～6 ではありません");
    }
    void dataFileErrorsInJapanese() {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString shipped = QString::fromStdString(findDataDir().string());
        for (const QLatin1String name :
             {QLatin1String("planet.txt"), QLatin1String("latitude.txt")}) {
            if (file != name) {
                QVERIFY(QFile::copy(shipped + QLatin1Char('/') + name, dir.filePath(name)));
            }
        }
        const QString path = dir.filePath(file);
        if (text == "<folder>") {
            QVERIFY(QDir(dir.path()).mkdir(file));
        } else if (text == "<pipe>") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (text != "<none>") {
            if (text.startsWith("<first>")) {
                QFile in(shipped + QLatin1Char('/') + file);
                QVERIFY(in.open(QIODevice::ReadOnly));
                const QByteArray whole = in.readAll();
                text = text.mid(7) + whole.mid(whole.indexOf('\n'));
            }
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(text);
        }
        try {
            loadTables(dir.path().toStdString());
            QFAIL("the data files were accepted");
        } catch (const DataFileError& e) {
            QCOMPARE(japaneseDataFileError(e).replace(dir.path(), QStringLiteral("DIR")), expected);
        }
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
