// The month window: opened by the month buttons, docked at the main window's right edge,
// unloaded when closed; and the docking clicks on the main window.
#pragma once

#include "almanac/month_listing.h"
#include "gui_support.h"
#include "ui/form2.h"
#include "ui/placement.h"
#include "ui/text_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <memory>

namespace sorvane::ui::test {

// Notes what the month window's day list held when the window was first shown.
class ShowRecorder : public QObject {
  public:
    int shows = 0;
    QString textAtFirstShow;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == QStringLiteral("Form2")) {
            if (shows++ == 0) {
                auto* list = watched->findChild<QTextEdit*>(QStringLiteral("txtnikkan"));
                textAtFirstShow = list ? list->toPlainText() : QStringLiteral("<no list>");
            }
        }
        return false;
    }
};

class MonthWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form_;

    QPushButton* monthButton(int m) const {
        return form_->findChild<QPushButton*>(
            QStringLiteral("month%1").arg(m, 2, 10, QLatin1Char('0')));
    }
    // What the window must show for month m of the year in the year box, by the library.
    almanac::MonthListing expected(int m) const {
        const int year = form_->findChild<QLineEdit*>(QStringLiteral("txtyear"))->text().toInt();
        const auto reference = calculated(year);
        return almanac::nikkanhyouji(year, m, reference->kanshi1[m], reference->youbi1[m]);
    }
    static QString dayList(const Form2* window) {
        return window->findChild<QTextEdit*>(QStringLiteral("txtnikkan"))->toPlainText();
    }
    static QString label(const Form2* window, const char* objectName) {
        return window->findChild<QLabel*>(QString::fromLatin1(objectName))->text();
    }
    void verifyShows(int m) const {
        const Form2* window = form_->monthWindow();
        QVERIFY(window != nullptr);
        const almanac::MonthListing listing = expected(m);
        QCOMPARE(dayList(window), displayText(listing.dayLines));
        QCOMPARE(label(window, "lblnen"), QString::fromStdString(listing.yearCaption));
        QCOMPARE(label(window, "lbltuki"), QString::fromStdString(listing.monthCaption));
    }

  private slots:
    void init() {
        form_ = std::make_unique<Form1>(sharedTables());
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup() { form_.reset(); }

    void firstMonthButtonLoadsDocksShowsThenFills() {
        ShowRecorder recorder;
        qApp->installEventFilter(&recorder);
        click(monthButton(1));
        qApp->removeEventFilter(&recorder);

        Form2* window = form_->monthWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QCOMPARE(recorder.shows, 1);
        QCOMPARE(recorder.textAtFirstShow, QString()); // shown before it was filled
        QCOMPARE(window->pos(), dockedPosition(form_.get()));
        verifyShows(1);
        QCOMPARE(window->windowTitle(), QStringLiteral("日干支"));
        QCOMPARE(window->size(), QSize(137, 563));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(!(window->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QVERIFY(window->windowIcon().cacheKey() != form_->windowIcon().cacheKey());
        QVERIFY(!window->windowIcon().pixmap(32, 32).isNull());
    }

    void everyDayShowsInFull() {
        click(monthButton(1)); // 31 days, the longest list
        const auto* list = form_->monthWindow()->findChild<QTextEdit*>(QStringLiteral("txtnikkan"));
        QCOMPARE(shownLines(list).size(), 31);
        const QTextDocument* document = list->document();
        QTextBlock last = document->findBlockByNumber(30);
        QCOMPARE(last.text().left(3), QStringLiteral("31日"));
        const QRectF box = document->documentLayout()->blockBoundingRect(last);
        QVERIFY(box.bottom() <= list->viewport()->height() + 0.5);
        for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
            QVERIFY(block.layout()->lineCount() <= 1);
        }
    }

    void januaryAndDecemberOf1984() {
        // Step the year box down to 1984 with the arrows and calculate it.
        auto* imgminus = form_->findChild<QWidget*>(QStringLiteral("imgminus"));
        auto* imgplus = form_->findChild<QWidget*>(QStringLiteral("imgplus"));
        int year = thisYear();
        for (; year - 1984 >= 10; year -= 10) {
            doubleClick(imgminus);
        }
        for (; year > 1984; --year) {
            click(imgminus);
        }
        for (; year < 1984; ++year) {
            click(imgplus);
        }
        click(form_->findChild<QPushButton*>(QStringLiteral("btncalc")));

        click(monthButton(1));
        const Form2* window = form_->monthWindow();
        QCOMPARE(label(window, "lblnen"), QStringLiteral("癸亥年"));
        QCOMPARE(label(window, "lbltuki"), QStringLiteral("1月乙丑"));
        verifyShows(1);
        click(monthButton(2));
        QCOMPARE(label(window, "lblnen"), QStringLiteral("甲子年"));
        QCOMPARE(label(window, "lbltuki"), QStringLiteral("2月丙寅"));
        QCOMPARE(shownLines(window->findChild<QTextEdit*>(QStringLiteral("txtnikkan"))).size(),
                 29); // 1984 is a leap year
        click(monthButton(12));
        QCOMPARE(label(window, "lbltuki"), QStringLiteral("12月丙子"));
        verifyShows(12);
    }

    void laterMonthButtonsRefillInPlace() {
        click(monthButton(1));
        Form2* window = form_->monthWindow();
        const QPoint docked = window->pos();
        form_->move(form_->pos() + QPoint(40, 30));
        click(monthButton(2));
        QCOMPARE(form_->monthWindow(), window);
        QCOMPARE(window->pos(), docked);
        verifyShows(2);
        const QString february = dayList(window);
        click(monthButton(2));
        QCOMPARE(dayList(window), february);
    }

    void closingUnloadsAndTheNextButtonDocksAgain() {
        click(monthButton(1));
        QPointer<Form2> first = form_->monthWindow();
        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(form_->monthWindow() == nullptr);

        form_->move(form_->pos() + QPoint(-25, 15));
        click(monthButton(3));
        Form2* second = form_->monthWindow();
        QVERIFY(second != nullptr);
        QVERIFY(second->isVisible());
        QCOMPARE(second->pos(), dockedPosition(form_.get()));
        verifyShows(3);
    }

    void clicksOnTheSurfaceAndTheResultBoxDock() {
        FIND_CHILD(surface, QWidget, form_.get(), "surface");
        FIND_CHILD(txtkekka, QTextEdit, form_.get(), "txtkekka");
        FIND_CHILD(lblday1_0, QLabel, form_.get(), "lblday1_0");
        FIND_CHILD(label14, QLabel, form_.get(), "Label14");
        const QPoint bare(5, 530);
        QCOMPARE(surface->childAt(bare), nullptr);

        click(lblday1_0); // labels are no part of the surface
        click(label14);
        QVERIFY(form_->monthWindow() == nullptr);

        click(surface, bare); // loads the window hidden, docked
        QVERIFY(form_->monthWindow() != nullptr);
        QVERIFY(!form_->monthWindow()->isVisible());
        QCOMPARE(form_->monthWindow()->pos(), dockedPosition(form_.get()));

        form_->move(form_->pos() + QPoint(30, 20));
        click(txtkekka->viewport());
        QCOMPARE(form_->monthWindow()->pos(), dockedPosition(form_.get()));
        QVERIFY(!form_->monthWindow()->isVisible());

        click(monthButton(4));
        form_->move(form_->pos() + QPoint(-60, 10));
        QVERIFY(form_->monthWindow()->pos() != dockedPosition(form_.get()));
        click(surface, bare);
        QCOMPARE(form_->monthWindow()->pos(), dockedPosition(form_.get()));
        QVERIFY(form_->monthWindow()->isVisible()); // visibility kept
    }

    void placementKeepsWholeFramesOnTheScreen_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<QPoint>("docked");  // the month window's frame, 139 x 584
        QTest::addColumn<QPoint>("centred"); // the main window's frame in the area
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("room on the right")
            << screen << QRect(343, 90, 339, 587) << QPoint(682, 90) << QPoint(342, 90);
        QTest::newRow("at the right edge: left side")
            << screen << QRect(675, 90, 339, 587) << QPoint(536, 90) << QPoint(342, 90);
        QTest::newRow("low: raised into the area")
            << screen << QRect(200, 300, 339, 587) << QPoint(539, 184) << QPoint(342, 90);
        QTest::newRow("panel above, second screen")
            << QRect(1024, 28, 1280, 996) << QRect(1100, 5, 339, 587) << QPoint(1439, 28)
            << QPoint(1494, 232);
        QTest::newRow("no room either side")
            << QRect(0, 0, 600, 500) << QRect(150, 0, 339, 587) << QPoint(11, 0) << QPoint(130, 0);
        // 1920 x 1080 at 200 %: the title bar stays below the panel, the bottom runs off.
        QTest::newRow("screen lower than the window")
            << QRect(0, 24, 960, 516) << QRect(300, 0, 339, 600) << QPoint(639, 24)
            << QPoint(310, 24);
    }
    void placementKeepsWholeFramesOnTheScreen() {
        QFETCH(QRect, area);
        QFETCH(QRect, mainFrame);
        QFETCH(QPoint, docked);
        QFETCH(QPoint, centred);
        QCOMPARE(dockedFramePosition(mainFrame, QSize(139, 584), area), docked);
        QCOMPARE(centredFramePosition(mainFrame.size(), area, area), centred);
    }

    void hiddenWindowDocksAgainWhenShown() {
        click(monthButton(1));
        click(form_->findChild<QWidget*>(QStringLiteral("imgplus"))); // hides the window
        QVERIFY(!form_->monthWindow()->isVisible());
        // Moved against the screen's right edge while hidden: shown again on the left side.
        const QRect area = form_->screen()->availableGeometry();
        form_->move(area.right() + 1 - form_->frameGeometry().width(), form_->y());
        click(form_->findChild<QPushButton*>(QStringLiteral("btncalc")));
        click(monthButton(2));
        const QRect month = form_->monthWindow()->frameGeometry();
        QVERIFY(form_->monthWindow()->isVisible());
        QCOMPARE(month.right() + 1, form_->frameGeometry().left());
        QCOMPARE(month.top(), form_->frameGeometry().top());
        QVERIFY(area.contains(month));
    }
};

} // namespace sorvane::ui::test
