// Shared pieces of the window tests: the loaded tables, reference results computed by the
// library, finding controls by name, and answering the program's message boxes.
#pragma once

#include "calendar/day_cycles.h"
#include "calendar/julian_day.h"
#include "calendar/names.h"
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"
#include "ui/form1.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDate>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sorvane::ui::test {

inline const Tables& sharedTables() {
    static const Tables tables = loadTables(findDataDir());
    return tables;
}

// The shipped term files with planet.txt replaced by one the reader accepts but the
// calculation refuses (the Sun's 120 degrees more than 1000 days from July 2026), loaded
// through a folder of its own named after `name` and the process.
inline Tables refusedTables(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() /
                     (name + "-" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::remove_all(dir);
    std::filesystem::copy(std::filesystem::path(SORVANE_SOURCE_DIR) / "data", dir);
    std::filesystem::copy_file(
        std::filesystem::path(SORVANE_SOURCE_DIR) / "tests/data/refused-terms/planet.txt",
        dir / "planet.txt", std::filesystem::copy_options::overwrite_existing);
    Tables refused = loadTables(dir);
    std::filesystem::remove_all(dir);
    return refused;
}

// The libraries' own result for a year, to compare the windows with: the finder's result
// lines in the result box's order, and each month's first day in the day cycles.
struct YearReference {
    std::vector<std::string> lines;
    std::array<int, 13> kanshi1{}; // [month 1..12]: 干支 1..60 of the 1st
    std::array<int, 13> youbi1{};  // [month 1..12]: weekday 1..7 of the 1st

    // The 28 lines, each followed by lineEnd.
    std::string resultText(const std::string& lineEnd) const {
        std::string text;
        for (const std::string& line : lines) {
            text += line + lineEnd;
        }
        return text;
    }
};

inline std::unique_ptr<YearReference> calculated(int year) {
    Finder finder(sharedTables());
    finder.calculate(static_cast<std::int16_t>(year));
    auto reference = std::make_unique<YearReference>();
    for (const EventMoment& e : finder.orderedMoments()) {
        reference->lines.push_back(finder.kekka[e.month][lineColumn(e.kind)]);
    }
    for (int m = 1; m <= 12; ++m) {
        const double n = std::floor(julianday(year, m, 1));
        reference->kanshi1[m] = kanshi(n);
        reference->youbi1[m] = youbi(n);
    }
    return reference;
}

inline int thisYear() {
    return QDate::currentDate().year();
}

inline QString name(int sexagenaryIndex) {
    return QString::fromStdString(sexagenaryNames.at(sexagenaryIndex));
}

// Declares `var` as the child of `root` named `objectName`, failing the test if there is none.
#define FIND_CHILD(var, Type, root, objectName)                                                    \
    auto* var = (root)->findChild<Type*>(QStringLiteral(objectName));                              \
    QVERIFY2(var != nullptr, "no control named " objectName)

// Runs `act` on the next message box once it is open (from a timer, while the box's own
// event loop runs). `act` must close the box.
inline void onNextMessageBox(std::function<void(QMessageBox*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setObjectName(QStringLiteral("messageBoxHook"));
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, ticks = 0]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(box);
        } else if (++ticks > 1000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Drops the hooks that found no box: one left over from a test class would otherwise act
// on a box of the next class run in the same process.
inline void dropMessageBoxHooks() {
    for (QTimer* timer : qApp->findChildren<QTimer*>(QStringLiteral("messageBoxHook"),
                                                     Qt::FindDirectChildrenOnly)) {
        timer->stop();
        delete timer;
    }
}

// What the platform delivers for a click and for a double click on a widget: press, release;
// then press, release, double click, release.
inline void click(QWidget* widget, QPoint at = {}) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}
// Types text into widget as a user does: ASCII as key presses, what a keyboard cannot type
// directly (令和, 年, kanji numerals, full-width digits) from the input method, one committed
// character at a time.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

inline void doubleClick(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
    QTest::mouseDClick(widget, Qt::LeftButton);
    QTest::mouseRelease(widget, Qt::LeftButton);
}

// The lines a box shows: its text without the break that ends the last line.
inline QStringList shownLines(const QTextEdit* box) {
    QStringList lines = box->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// Where the month window belongs: against the main window's right edge, top aligned.
inline QPoint dockedPosition(const QWidget* main) {
    const QRect outer = main->frameGeometry();
    return {outer.x() + outer.width(), outer.y()};
}

} // namespace sorvane::ui::test
