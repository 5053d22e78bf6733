// Ending the program: the Quit button, the quit menu item and the close box all close both
// windows and leave the event loop, each running the shutdown once.
#pragma once

#include "gui_support.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

namespace sorvane::ui::test {

class ShutdownTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // Only the program's own shutdown may end the event loop here.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void everyRouteClosesBothWindowsAndEndsTheLoop_data() {
        QTest::addColumn<QString>("route");
        QTest::newRow("quit button") << QStringLiteral("Command4");
        QTest::newRow("menu item") << QStringLiteral("mnuend");
        QTest::newRow("close box") << QStringLiteral("close box");
    }
    void everyRouteClosesBothWindowsAndEndsTheLoop() {
        QFETCH(QString, route);
        Form1 form(sharedTables());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        click(form.findChild<QPushButton*>(QStringLiteral("month01")));
        QPointer<Form2> monthWindow = form.monthWindow();
        QVERIFY(monthWindow && monthWindow->isVisible());
        QSignalSpy started(&form, &Form1::shutdownStarted);

        QTimer::singleShot(0, &form, [&] {
            if (route == QStringLiteral("Command4")) {
                click(form.findChild<QPushButton*>(route));
            } else if (route == QStringLiteral("mnuend")) {
                form.findChild<QAction*>(route)->trigger();
            } else {
                form.windowHandle()->close(); // as the window manager's close box does
            }
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(10000);
        const int status = QCoreApplication::exec();
        guard.stop();

        QCOMPARE(status, 0);
        QCOMPARE(started.count(), 1);
        QVERIFY(!form.isVisible());
        QTRY_VERIFY(monthWindow.isNull());
    }
};

} // namespace sorvane::ui::test
