// The main window: start-up, layout, the Calculate button and year stepping.
#pragma once

#include "gui_support.h"
#include "ui/almanac_guard.h"
#include "ui/text_box.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextDocument>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace sorvane::ui::test {

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form_;

    QString yearBox() const {
        return form_->findChild<QLineEdit*>(QStringLiteral("txtyear"))->text();
    }
    QString resultBox() const {
        return form_->findChild<QTextEdit*>(QStringLiteral("txtkekka"))->toPlainText();
    }
    QStringList firstDayLabels() const {
        QStringList texts;
        for (int i = 0; i < 12; ++i) {
            texts << form_->findChild<QLabel*>(QStringLiteral("lblday1_%1").arg(i))->text();
        }
        return texts;
    }
    static QStringList expectedLabels(const YearReference& reference) {
        QStringList texts;
        for (int m = 1; m <= 12; ++m) {
            texts << name(reference.kanshi1[m]);
        }
        return texts;
    }
    static QString expectedResult(const YearReference& reference) {
        return displayText(reference.resultText("\r\n"));
    }
    bool anyFirstDayEntry() const { return form_->almanac() != nullptr; }

  private slots:
    void init() {
        form_ = std::make_unique<Form1>(sharedTables());
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() { form_.reset(); }

    void startUpShowsTheCurrentYearCalculated() {
        const auto reference = calculated(thisYear());
        QCOMPARE(yearBox(), QString::number(thisYear()));
        FIND_CHILD(txtkekka, QTextEdit, form_.get(), "txtkekka");
        QCOMPARE(shownLines(txtkekka).size(), 28);
        QCOMPARE(resultBox(), expectedResult(*reference));
        QCOMPARE(firstDayLabels(), expectedLabels(*reference));
        for (const QString& label : firstDayLabels()) {
            QVERIFY(!label.isEmpty());
        }
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        QCOMPARE(QApplication::focusWidget(), btncalc);
        QVERIFY(form_->monthWindow() == nullptr); // not loaded at start-up
    }

    void aDriftedYearWarnsBesideTheUnchangedResultLines() {
        FIND_CHILD(txtyear, QLineEdit, form_.get(), "txtyear");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        const std::pair<int, bool> years[] = {{32767, true}, {-32768, true}, {2025, false}};
        for (const auto& [year, drifted] : years) {
            txtyear->setText(QString::number(year));
            btncalc->click();
            QCOMPARE(resultBox(), expectedResult(*calculated(year)));
            auto* box = form_->findChild<QMessageBox*>(QStringLiteral("driftWarning"));
            QCOMPARE(box != nullptr && box->isVisible(), drifted);
            if (drifted) {
                QVERIFY(!box->isModal());
                QVERIFY2(box->text().startsWith(
                             QStringLiteral("%1年は暦が季節からずれている").arg(year)),
                         qPrintable(box->text()));
            }
        }
    }

    // Term values the reader accepts but the calculation refuses: at start-up and on 計算
    // one Japanese message box each, no abort, and the result box stays as it was.
    void refusedTermsGiveAMessageNotAnAbort() {
        const Tables refused = refusedTables("sorvane-refused");
        QStringList shown;
        const auto closeBox = [&shown](QMessageBox* box) {
            shown << box->objectName() + QLatin1Char('|') + box->text();
            box->accept();
        };
        onNextMessageBox(closeBox);
        Form1 form(refused);
        FIND_CHILD(txtyear, QLineEdit, &form, "txtyear");
        FIND_CHILD(txtkekka, QTextEdit, &form, "txtkekka");
        FIND_CHILD(btncalc, QPushButton, &form, "btncalc");
        txtyear->setText(QStringLiteral("2026"));
        onNextMessageBox(closeBox);
        txtkekka->setPlainText(QStringLiteral("before"));
        btncalc->click();
        QCOMPARE(shown.size(), 2);
        for (const QString& text : shown) {
            QVERIFY2(text.startsWith(QStringLiteral("calculationError|データファイルの値では計算"
                                                    "できません。")),
                     qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("2026年7月: 太陽黄経 120 度")), qPrintable(text));
        }
        QCOMPARE(txtkekka->toPlainText(), QStringLiteral("before"));
    }

    // A state the calculation should never reach still ends in a box, not in an abort.
    void unexpectedFailuresGiveAMessageNotAnAbort() {
        QStringList shown;
        onNextMessageBox([&shown](QMessageBox* box) {
            shown << box->objectName() + QLatin1Char('|') + box->text();
            box->accept();
        });
        QWidget parent;
        QVERIFY(!ui::guarded(&parent, [] { throw std::logic_error("no event of month 13"); }));
        QCOMPARE(shown,
                 QStringList{QStringLiteral("unexpectedError|計算を続けられませんでした（プロ"
                                            "グラムの想定外の状態です）。\n\nno event of "
                                            "month 13")});
    }

    void controlsCarryTheirNamesAndTexts() {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Sorvane"));
        const std::pair<const char*, QString> captions[] = {
            {"Label1", QStringLiteral("年")},
            {"Label14", QStringLiteral("１日干支")},
            {"btncalc", QStringLiteral("計算")},
            {"Command4", QStringLiteral("終了")},
            {"month01", QStringLiteral("１月")},
            {"month09", QStringLiteral("９月")},
            {"month10", QStringLiteral("10月")},
            {"month12", QStringLiteral("12月")},
            {"mnuinu", QStringLiteral("現在に戻す(&I)")},
            {"mnuend", QStringLiteral("Tessalyを終了(&E)")},
            {"mnuver", QStringLiteral("バージョン情報")},
        };
        for (const auto& [objectName, text] : captions) {
            QObject* control = form_->findChild<QObject*>(QString::fromLatin1(objectName));
            QVERIFY2(control != nullptr, objectName);
            QString shown = control->property("text").toString();
            QCOMPARE(shown, text);
        }
        for (int m = 1; m <= 12; ++m) {
            auto* button = form_->findChild<QPushButton*>(
                QStringLiteral("month%1").arg(m, 2, 10, QLatin1Char('0')));
            QVERIFY(button != nullptr);
            QVERIFY(button->font().bold());
            QCOMPARE(button->text().right(1), QStringLiteral("月"));
        }
        for (int i = 0; i < 12; ++i) {
            QVERIFY(form_->findChild<QLabel*>(QStringLiteral("lblday1_%1").arg(i)) != nullptr);
        }
        FIND_CHILD(mnufile, QMenu, form_.get(), "mnufile");
        FIND_CHILD(mnuhelp, QMenu, form_.get(), "mnuhelp");
        QCOMPARE(mnufile->title(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(mnuhelp->title(), QStringLiteral("ヘルプ(&H)"));
        FIND_CHILD(mnuline1, QAction, form_.get(), "mnuline1");
        QVERIFY(mnuline1->isSeparator());
        QCOMPARE(mnufile->actions().size(), 3);
        QCOMPARE(mnufile->actions().at(1), mnuline1);
        FIND_CHILD(imgminus, QLabel, form_.get(), "imgminus");
        FIND_CHILD(imgplus, QLabel, form_.get(), "imgplus");
        QCOMPARE(imgminus->toolTip(), QStringLiteral("マイナス"));
        QCOMPARE(imgplus->toolTip(), QStringLiteral("プラス"));
        QCOMPARE(imgminus->pixmap().size(), QSize(32, 32));
        QCOMPARE(imgplus->pixmap().size(), QSize(32, 32));
        QVERIFY(!form_->windowIcon().pixmap(16, 16).isNull());
        QVERIFY(!form_->windowIcon().pixmap(32, 32).isNull());
    }

    void everyTextRendersInAJapaneseFont() {
        // Each control's font must have glyphs for what it shows, or the user sees boxes.
        for (const char* objectName :
             {"txtyear", "Label1", "btncalc", "txtkekka", "Label14", "lblday1_0", "month01"}) {
            auto* widget = form_->findChild<QWidget*>(QString::fromLatin1(objectName));
            QVERIFY2(widget != nullptr, objectName);
            const QFontMetrics metrics(widget->font());
            for (QChar c : QStringLiteral("年計算終了１日干支月寒露土用甲子癸亥")) {
                QVERIFY2(metrics.inFont(c), objectName);
            }
        }
    }

    void layoutIsFixedAndNothingIsCutOff() {
        FIND_CHILD(surface, QWidget, form_.get(), "surface");
        QCOMPARE(surface->size(), QSize(337, 544));
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QVERIFY(!(form_->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
        for (QWidget* control : surface->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(surface->rect().contains(control->geometry()),
                     qPrintable(control->objectName()));
        }
        // All 28 result lines show in full inside the result box: each line's whole font cell,
        // from ascent to descent, lies within the visible area, and no line is wider than it.
        FIND_CHILD(txtkekka, QTextEdit, form_.get(), "txtkekka");
        verifyEveryLineShows(txtkekka, 28);
    }

    static void verifyEveryLineShows(const QTextEdit* box, int count) {
        const QTextDocument* document = box->document();
        const QRect inside = box->viewport()->rect();
        QTextBlock block = document->firstBlock();
        for (int n = 0; n < count; ++n, block = block.next()) {
            QVERIFY(block.isValid());
            QCOMPARE(block.layout()->lineCount(), 1);
            const QTextLine line = block.layout()->lineAt(0);
            const qreal bottom =
                block.layout()->position().y() + line.y() + line.ascent() + line.descent();
            QVERIFY2(bottom <= inside.height(), qPrintable(block.text()));
            QVERIFY2(line.naturalTextWidth() + 2 * document->documentMargin() <= inside.width(),
                     qPrintable(block.text()));
        }
    }

    void everyYearShowsInFullInTheYearBox() {
        FIND_CHILD(txtyear, QLineEdit, form_.get(), "txtyear");
        // Where a line edit lays out its text: inside its frame, two pixels in from each side.
        QStyleOptionFrame frame;
        frame.initFrom(txtyear);
        frame.lineWidth = txtyear->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int room =
            txtyear->style()->subElementRect(QStyle::SE_LineEditContents, &frame, txtyear).width() -
            4;
        const QFont designed = txtyear->font(); // this year's four digits
        QCOMPARE(designed.pointSizeF(), 16.5);
        // The widest years of each length; digits are equally wide.
        for (const char* year : {"-32768", "-10000", "32767", "10000", "-1000", "9999", "-1"}) {
            for (const bool focused : {false, true}) {
                if (focused) {
                    txtyear->setFocus();
                }
                txtyear->setText(QString::fromLatin1(year));
                const qreal width =
                    QFontMetricsF(txtyear->font()).horizontalAdvance(txtyear->text());
                QVERIFY2(width + 1 <= room, year); // the text and the cursor after it
                if (std::strlen(year) <= 4) {
                    QCOMPARE(txtyear->font(), designed);
                }
            }
        }
    }

    void steppingToTwoThousandAndCalculating() {
        FIND_CHILD(imgminus, QWidget, form_.get(), "imgminus");
        FIND_CHILD(imgplus, QWidget, form_.get(), "imgplus");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        int year = thisYear();
        while (year - 2000 >= 10) {
            doubleClick(imgminus);
            year -= 10;
        }
        while (year > 2000) {
            click(imgminus);
            --year;
        }
        while (year < 2000) {
            click(imgplus);
            ++year;
        }
        QCOMPARE(yearBox(), QStringLiteral("2000"));
        click(btncalc);
        QCOMPARE(firstDayLabels(), QString::fromUtf8("戊午 己丑 戊午 己丑 己未 庚寅 庚申 辛卯 "
                                                     "壬戌 壬辰 癸亥 癸巳")
                                       .split(QLatin1Char(' ')));
        QCOMPARE(resultBox(), expectedResult(*calculated(2000)));
    }

    void doubleClickStepsTenAndAClickOne() {
        FIND_CHILD(imgminus, QWidget, form_.get(), "imgminus");
        FIND_CHILD(imgplus, QWidget, form_.get(), "imgplus");
        const int year = thisYear();
        doubleClick(imgminus);
        QCOMPARE(yearBox(), QString::number(year - 10));
        doubleClick(imgplus);
        doubleClick(imgplus);
        QCOMPARE(yearBox(), QString::number(year + 10));
        click(imgminus);
        QCOMPARE(yearBox(), QString::number(year + 9));
        // A press on the image released outside it is no click.
        QTest::mousePress(imgplus, Qt::LeftButton);
        QTest::mouseRelease(imgplus, Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(yearBox(), QString::number(year + 9));
    }

    void stepsBeyondTheBoundsAreRefused() {
        FIND_CHILD(txtyear, QLineEdit, form_.get(), "txtyear");
        FIND_CHILD(imgminus, QWidget, form_.get(), "imgminus");
        FIND_CHILD(imgplus, QWidget, form_.get(), "imgplus");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");

        txtyear->setText(QStringLiteral("32767"));
        click(btncalc);
        QCOMPARE(resultBox(), expectedResult(*calculated(32767)));
        click(imgplus);
        QCOMPARE(yearBox(), QStringLiteral("32767"));
        QVERIFY(anyFirstDayEntry());              // still Current
        QVERIFY(form_->monthWindow() == nullptr); // and nothing was loaded

        txtyear->setText(QStringLiteral("32760"));
        doubleClick(imgplus); // the click's +1 succeeds, the double click's +9 is refused
        QCOMPARE(yearBox(), QStringLiteral("32761"));

        txtyear->setText(QStringLiteral("-32768"));
        click(imgminus);
        QCOMPARE(yearBox(), QStringLiteral("-32768"));
        txtyear->setText(QStringLiteral("-32758"));
        doubleClick(imgminus); // -1 then -9 reaches the bound exactly
        QCOMPARE(yearBox(), QStringLiteral("-32768"));

        txtyear->setText(QStringLiteral("1"));
        click(imgminus);
        QCOMPARE(yearBox(), QStringLiteral("0"));
        click(imgminus);
        QCOMPARE(yearBox(), QStringLiteral("-1"));
        click(btncalc);
        QCOMPARE(resultBox(), expectedResult(*calculated(-1)));
        QCOMPARE(firstDayLabels(), expectedLabels(*calculated(-1)));
    }

    void steppingLeavesTheResultsStaleUntilCalculate() {
        FIND_CHILD(imgplus, QWidget, form_.get(), "imgplus");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        FIND_CHILD(month01, QPushButton, form_.get(), "month01");
        const QString before = resultBox();
        const QStringList labelsBefore = firstDayLabels();

        click(imgplus);
        QCOMPARE(yearBox(), QString::number(thisYear() + 1));
        QCOMPARE(resultBox(), before);
        QCOMPARE(firstDayLabels(), labelsBefore);
        QVERIFY(!anyFirstDayEntry());
        QVERIFY(form_->monthWindow() != nullptr);
        QVERIFY(!form_->monthWindow()->isVisible());
        click(month01);
        QVERIFY(!form_->monthWindow()->isVisible()); // month buttons do nothing while Stale

        click(btncalc);
        const auto next = calculated(thisYear() + 1);
        QCOMPARE(resultBox(), expectedResult(*next));
        QCOMPARE(firstDayLabels(), expectedLabels(*next));
        click(month01);
        QVERIFY(form_->monthWindow()->isVisible());

        // 現在に戻す with the window open: back to this year, hidden window, Stale again.
        FIND_CHILD(mnuinu, QAction, form_.get(), "mnuinu");
        mnuinu->trigger();
        QCOMPARE(yearBox(), QString::number(thisYear()));
        QVERIFY(!form_->monthWindow()->isVisible());
        QVERIFY(!anyFirstDayEntry());
        QCOMPARE(resultBox(), expectedResult(*next));
        mnuinu->trigger(); // the same steps again with this year already in the box
        QVERIFY(!anyFirstDayEntry());
        click(month01);
        QVERIFY(!form_->monthWindow()->isVisible());
    }

    void enterAndSpaceOnCalculateRunIt() {
        FIND_CHILD(imgplus, QWidget, form_.get(), "imgplus");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        QCOMPARE(QApplication::focusWidget(), btncalc);
        const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter};
        int year = thisYear();
        for (Qt::Key key : keys) {
            click(imgplus);
            ++year;
            QVERIFY(!anyFirstDayEntry());
            QTest::keyClick(btncalc, key);
            QVERIFY(anyFirstDayEntry());
            QCOMPARE(resultBox(), expectedResult(*calculated(year)));
        }
    }

    void activationPutsTheFocusOnCalculate() {
        FIND_CHILD(txtkekka, QTextEdit, form_.get(), "txtkekka");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        FIND_CHILD(month01, QPushButton, form_.get(), "month01");
        click(txtkekka->viewport());
        QCOMPARE(QApplication::focusWidget(), txtkekka); // a click still focuses the box
        click(month01); // focuses the button, then the month window becomes active
        // The month window shares the main window's activation, so wait on the platform
        // windows themselves.
        QTRY_COMPARE(QGuiApplication::focusWindow(), form_->monthWindow()->windowHandle());
        form_->activateWindow();
        QTRY_COMPARE(QGuiApplication::focusWindow(), form_->windowHandle());
        QCOMPARE(QApplication::focusWidget(), btncalc);
    }

    void unreadableYearIsReportedAndNotCalculated() {
        FIND_CHILD(txtyear, QLineEdit, form_.get(), "txtyear");
        FIND_CHILD(btncalc, QPushButton, form_.get(), "btncalc");
        const QString before = resultBox();
        const QStringList labelsBefore = firstDayLabels();
        txtyear->setText(QStringLiteral("12a4"));
        QString reported;
        onNextMessageBox([&](QMessageBox* box) {
            reported = box->text();
            box->accept();
        });
        click(btncalc);
        QVERIFY2(reported.contains(QStringLiteral("12a4")), qPrintable(reported));
        QCOMPARE(resultBox(), before);
        QCOMPARE(firstDayLabels(), labelsBefore);
    }
};

} // namespace sorvane::ui::test
