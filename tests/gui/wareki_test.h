// The 和暦 ⇄ 西暦 window: opened from the 暦 menu, it says of a day what the terminal program's
// --wareki --json says, shows why an input is refused, and opens the calendar page on the day.
#pragma once

#include "gui_support.h"
#include "support/test_support.h"
#include "ui/wareki_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>

namespace sorvane::ui::test {

class WarekiTest : public QObject {
    Q_OBJECT

    // The terminal program's arguments for an input: --wareki 'text' [--julian].
    static std::string cliArgs(const QString& text, bool julian) {
        QString quoted = text;
        quoted.replace(QStringLiteral("'"), QStringLiteral("'\\''"));
        return (QStringLiteral("--wareki '%1'").arg(quoted) +
                (julian ? QStringLiteral(" --julian") : QString()))
            .toStdString();
    }

    // A click on a check box's box (its middle may lie past the box and its text).
    static void clickBox(QCheckBox* check) { click(check, QPoint(8, check->height() / 2)); }

    static QString shown(const WarekiWindow* window, const char* name) {
        const auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text()
                                : QStringLiteral("(no control %1)").arg(QLatin1String(name));
    }

    // Types text into the window's field as a user does and converts with Enter, or with a
    // click on 変換; sets 「ユリウス暦で入力」 first with a click when it differs.
    static void typeAndConvert(WarekiWindow* window, const QString& text, bool julian,
                               bool withEnter) {
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("warekiInput"));
        auto* check = window->findChild<QCheckBox*>(QStringLiteral("julianInput"));
        auto* button = window->findChild<QPushButton*>(QStringLiteral("convert"));
        QVERIFY(field != nullptr && check != nullptr && button != nullptr);
        field->clear();
        if (check->isChecked() != julian) {
            clickBox(check);
        }
        QCOMPARE(check->isChecked(), julian);
        field->setFocus();
        // What a keyboard cannot type directly (元禄, 年, kanji numerals) comes from the input
        // method, one committed character at a time.
        typeText(field, text);
        QCOMPARE(field->text(), text);
        if (withEnter) {
            QTest::keyClick(field, Qt::Key_Return);
        } else {
            click(button);
        }
    }

    static WarekiWindow* openFromMenu(Form1& form) {
        QAction* item = form.findChild<QAction*>(QStringLiteral("mnuwareki"));
        if (item == nullptr) {
            return nullptr;
        }
        item->trigger();
        return form.calendarMenu()->warekiWindow();
    }

  private slots:
    // Ten well-known days (討ち入り, 本能寺の変, 関ヶ原, 桜田門外の変, 近江屋事件, 湊川の戦い,
    // 明暦の大火, 乙巳の変's era, and two Western inputs): each line the window shows carries
    // the terminal program's answer for the same input, field by field.
    void showsWhatTheTerminalProgramSays_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("julian"); // --julian, and 「ユリウス暦で入力」 but where `box` says
        QTest::addColumn<bool>("withEnter");
        QTest::addColumn<QString>("readAs");
        const QString wareki = QStringLiteral("和暦");
        QTest::newRow("元禄") << QStringLiteral("元禄15年12月14日") << false << true << wareki;
        QTest::newRow("天正") << QStringLiteral("天正10年6月2日") << false << false << wareki;
        QTest::newRow("慶長") << QStringLiteral("慶長5年9月15日") << false << true << wareki;
        QTest::newRow("安政") << QStringLiteral("安政7年3月3日") << false << false << wareki;
        QTest::newRow("慶応") << QStringLiteral("慶応3年11月15日") << false << true << wareki;
        QTest::newRow("延元") << QStringLiteral("延元元年5月25日") << false << false << wareki;
        QTest::newRow("明暦") << QStringLiteral("明暦3年1月18日") << false << true << wareki;
        QTest::newRow("大化") << QStringLiteral("大化元年6月19日") << false << false << wareki;
        QTest::newRow("1703") << QStringLiteral("1703-01-30") << false << true
                              << QStringLiteral("グレゴリオ暦");
        QTest::newRow("1582 julian")
            << QStringLiteral("1582-06-21") << true << false << QStringLiteral("ユリウス暦");
        // Two era years on a day of both lines, and a day after 1872 with no lunisolar date.
        QTest::newRow("南北朝") << QStringLiteral("1351-06-01") << true << true
                                << QStringLiteral("ユリウス暦");
        QTest::newRow("1880") << QStringLiteral("1880-05-05") << false << false
                              << QStringLiteral("グレゴリオ暦");
        // With the box on (and --julian), a 和暦 text is still read as 和暦.
        QTest::newRow("元禄 box on")
            << QStringLiteral("元禄15年12月14日") << true << true << wareki;
    }
    void showsWhatTheTerminalProgramSays() {
        QFETCH(QString, input);
        QFETCH(bool, julian);
        QFETCH(bool, withEnter);
        QFETCH(QString, readAs);
        const bool box =
            julian ||
            QString::fromLatin1(QTest::currentDataTag()).endsWith(QStringLiteral("box on"));
        const auto run = sorvane::testing::runCli(cliArgs(input, julian) + " --json");
        QCOMPARE(run.status, 0);
        QJsonParseError error{};
        const QJsonObject cli =
            QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));

        Form1 form(sharedTables());
        WarekiWindow* window = openFromMenu(form);
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        typeAndConvert(window, input, box, withEnter);

        QCOMPARE(window->message(),
                 QStringLiteral("「%1」を%2の日付として読みました。").arg(input, readAs));
        const bool julianThen =
            cli[QStringLiteral("historicalCalendar")].toString() == QStringLiteral("julian");
        const QString then = QStringLiteral("（当時の西暦）");
        QCOMPARE(shown(window, "gregorianValue"),
                 cli[QStringLiteral("gregorian")].toString() +
                     (julianThen ? QStringLiteral("（先発グレゴリオ暦）") : then));
        QCOMPARE(shown(window, "julianValue"),
                 cli[QStringLiteral("julian")].toString() +
                     (julianThen ? then : QStringLiteral("（先発ユリウス暦）")));
        QCOMPARE(shown(window, "historicalValue"),
                 julianThen ? QStringLiteral("ユリウス暦（1582-10-15 より前の日）")
                            : QStringLiteral("グレゴリオ暦（1582-10-15 からの日）"));
        QCOMPARE(shown(window, "weekdayValue"),
                 cli[QStringLiteral("weekday")].toString() + QStringLiteral("曜日"));
        QCOMPARE(shown(window, "sexagenaryValue"), cli[QStringLiteral("sexagenary")].toString());
        QCOMPARE(shown(window, "jdnValue"),
                 QString::number(cli[QStringLiteral("jdn")].toInteger()));

        QStringList eras;
        const QJsonArray texts = cli[QStringLiteral("wareki")].toArray();
        const QJsonArray eraYears = cli[QStringLiteral("eras")].toArray();
        QCOMPARE(texts.size(), eraYears.size());
        for (qsizetype i = 0; i < texts.size(); ++i) {
            eras << texts[i].toString() + QStringLiteral("（%1）").arg(
                                              eraYears[i][QStringLiteral("reading")].toString());
        }
        QVERIFY(!eras.isEmpty());
        QCOMPARE(shown(window, "warekiValue"), eras.join(QLatin1Char('\n')));

        if (cli[QStringLiteral("lunisolar")].isNull()) {
            QVERIFY(cli[QStringLiteral("rokuyo")].isNull());
            QVERIFY(shown(window, "lunisolarValue").startsWith(QStringLiteral("なし")));
            QVERIFY(shown(window, "rokuyoValue").startsWith(QStringLiteral("なし")));
        } else {
            const QJsonObject l = cli[QStringLiteral("lunisolar")].toObject();
            const QString month =
                (l[QStringLiteral("leap")].toBool() ? QStringLiteral("閏") : QString()) +
                QStringLiteral("%1月").arg(l[QStringLiteral("month")].toInt());
            const QString source = l[QStringLiteral("source")].toString() == QStringLiteral("table")
                                       ? QStringLiteral("当時の暦の表から")
                                       : QStringLiteral("現行の旧暦の規則で計算");
            QCOMPARE(shown(window, "lunisolarValue"),
                     QStringLiteral("%1年%2%3日（%2は%4日、%5）")
                         .arg(l[QStringLiteral("year")].toInt())
                         .arg(month)
                         .arg(l[QStringLiteral("day")].toInt())
                         .arg(l[QStringLiteral("monthLength")].toInt())
                         .arg(source));
            QCOMPARE(shown(window, "rokuyoValue"), cli[QStringLiteral("rokuyo")].toString());
        }

        // The day the calendar page opens on is the Gregorian one.
        const QDate gregorian =
            QDate::fromString(cli[QStringLiteral("gregorian")].toString(), Qt::ISODate);
        QVERIFY(gregorian.isValid());
        QVERIFY(window->shownDay().has_value());
        QCOMPARE(*window->shownDay(),
                 (CivilDate{gregorian.year(), gregorian.month(), gregorian.day()}));
    }

    // Each kind of refusal: the window says readDay's reason as the terminal program does,
    // and the answer shown before is taken away (no line, no day to open).
    void refusalShowsTheReason_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("julian"); // --julian and the check box
        QTest::addColumn<bool>("box");    // the check box alone
        QTest::newRow("month 13") << QStringLiteral("元禄15年13月14日") << false << false;
        QTest::newRow("no leap month") << QStringLiteral("元禄15年閏3月1日") << false << false;
        QTest::newRow("short month") << QStringLiteral("延元元年5月30日") << false << false;
        QTest::newRow("past the era") << QStringLiteral("大化9年1月1日") << false << false;
        QTest::newRow("empty") << QString() << false << false;
        QTest::newRow("not a date") << QStringLiteral("あした") << false << false;
        QTest::newRow("no such day") << QStringLiteral("1703-02-30") << false << false;
        QTest::newRow("julian text") << QStringLiteral("1582年6月21日") << true << true;
        QTest::newRow("no julian day") << QStringLiteral("1500-02-30") << true << true;
        // A 和暦 text with the box on is refused for what 和暦 finds wrong in it.
        QTest::newRow("short month, box on") << QStringLiteral("延元元年5月30日") << true << true;
    }
    void refusalShowsTheReason() {
        QFETCH(QString, input);
        QFETCH(bool, julian);
        QFETCH(bool, box);
        const auto run = sorvane::testing::runCli(cliArgs(input, julian));
        QVERIFY(run.status != 0);
        // sorvane-cli: --wareki "TEXT": REASON (see --help)
        const QRegularExpressionMatch reason =
            QRegularExpression(QStringLiteral(R"(--wareki ".*": (.+) \(see --help\))"))
                .match(QString::fromStdString(run.err));
        QVERIFY2(reason.hasMatch(), run.err.c_str());

        WarekiWindow window;
        window.show();
        window.convert(QStringLiteral("元禄15年12月14日"), false);
        QVERIFY(window.shownDay().has_value());
        auto* open = window.findChild<QPushButton*>(QStringLiteral("openCalendarPage"));
        QVERIFY(open != nullptr && open->isEnabled());

        typeAndConvert(&window, input, box, true);
        QCOMPARE(window.message(),
                 QStringLiteral("「%1」は読めません：%2").arg(input, reason.captured(1)));
        QVERIFY(!window.shownDay().has_value());
        QVERIFY(!open->isEnabled());
        for (const char* name : {"warekiValue", "gregorianValue", "julianValue", "lunisolarValue",
                                 "rokuyoValue", "jdnValue"}) {
            QCOMPARE(shown(&window, name), QStringLiteral("—"));
        }
    }

    // 「月の暦で開く」 opens the calendar page on the Gregorian day, for a 和暦 input and for a
    // Julian one; switching the check box reads the field again.
    void opensTheCalendarPageOnTheDay() {
        Form1 form(sharedTables());
        WarekiWindow* window = openFromMenu(form);
        QVERIFY(window != nullptr);
        FIND_CHILD(open, QPushButton, window, "openCalendarPage");
        typeAndConvert(window, QStringLiteral("元禄15年12月14日"), false, true);
        click(open);
        QVERIFY(form.calendarPage() != nullptr);
        QVERIFY(form.calendarPage()->isVisible());
        QCOMPARE(form.calendarPage()->selectedDate(), (CivilDate{1703, 1, 30}));

        typeAndConvert(window, QStringLiteral("1582-06-21"), false, true);
        QCOMPARE(window->shownDay(), (std::optional<CivilDate>(CivilDate{1582, 6, 21})));
        FIND_CHILD(check, QCheckBox, window, "julianInput");
        clickBox(check);
        QVERIFY(check->isChecked());
        QCOMPARE(window->shownDay(), (std::optional<CivilDate>(CivilDate{1582, 7, 1})));
        click(open);
        QCOMPARE(form.calendarPage()->selectedDate(), (CivilDate{1582, 7, 1}));
    }

    // Every control has its own access key (the field through its label), and the window
    // with its longest answer (two era lines) fits a 1920 x 1080 screen at 200 %.
    void accessKeysAndSize() {
        WarekiWindow window;
        window.show();
        window.convert(QStringLiteral("1351-06-01"), true);
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("warekiValue"))
                    ->text()
                    .contains(QLatin1Char('\n')));
        const QRegularExpression accessKey(QStringLiteral(R"(\(&([A-Z])\))"));
        QSet<QString> keys;
        int controls = 0;
        for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
            const QRegularExpressionMatch m = accessKey.match(b->text());
            QVERIFY2(m.hasMatch(), qPrintable(b->text()));
            QVERIFY2(!keys.contains(m.captured(1)), qPrintable(b->text()));
            keys.insert(m.captured(1));
            ++controls;
        }
        bool fieldLabelled = false;
        for (const QLabel* l : window.findChildren<QLabel*>()) {
            if (l->buddy() == nullptr) {
                continue;
            }
            const QRegularExpressionMatch m = accessKey.match(l->text());
            QVERIFY2(m.hasMatch(), qPrintable(l->text()));
            QVERIFY2(!keys.contains(m.captured(1)), qPrintable(l->text()));
            keys.insert(m.captured(1));
            fieldLabelled =
                fieldLabelled || l->buddy()->objectName() == QStringLiteral("warekiInput");
        }
        QVERIFY(fieldLabelled);
        QCOMPARE(controls, 4); // 変換, ユリウス暦で入力, 月の暦で開く, 閉じる

        const QSize size = window.sizeHint().expandedTo(window.minimumSizeHint());
        QVERIFY2(size.width() <= 944 && size.height() <= 500,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
    }
};

} // namespace sorvane::ui::test
