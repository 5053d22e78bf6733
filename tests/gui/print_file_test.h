// Printing calendar pages to a PDF file on a disk that fills up, from the command line and
// from the window: the old file stays, no temporary file is left and the reason is given.
#pragma once

#include "gui_support.h"
#include "ui/calendar_page.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace sorvane::ui::test {

// A folder that holds about `bytes`: a tmpfs of that size where one can be mounted (as
// root), else an ordinary folder with the file-size limit lowered while `limit` is held.
class SmallDisk {
  public:
    explicit SmallDisk(int bytes) : bytes_(bytes) {
        mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                           QByteArray("size=" + QByteArray::number(bytes)).constData()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount(QFile::encodeName(dir_.path()).constData());
        }
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // The reason a write over the limit fails with, as the system words it.
    QString reason() const {
        return mounted_ ? QStringLiteral("No space left on device")
                        : QStringLiteral("File too large");
    }
    QString japaneseReason() const {
        return mounted_ ? QStringLiteral("ディスクの空き容量が足りません")
                        : QStringLiteral("ファイルの大きさの上限を超えます");
    }
    // A shell prefix that applies the limit to a program it runs.
    QString shellLimit() const {
        return mounted_ ? QString() : QStringLiteral("ulimit -f %1; ").arg(bytes_ / 1024);
    }
    // Lowers this process's own file-size limit while it lives (no-op on a tmpfs).
    struct Limit {
        rlimit old{};
        bool set = false;
        explicit Limit(const SmallDisk& disk) {
            if (!disk.mounted_ && ::getrlimit(RLIMIT_FSIZE, &old) == 0) {
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit low = old;
                low.rlim_cur = static_cast<rlim_t>(disk.bytes_);
                set = ::setrlimit(RLIMIT_FSIZE, &low) == 0;
            }
        }
        ~Limit() {
            if (set) {
                ::setrlimit(RLIMIT_FSIZE, &old);
            }
        }
    };
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

  private:
    QTemporaryDir dir_;
    int bytes_;
    bool mounted_ = false;
};

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PrintFileTest : public QObject {
    Q_OBJECT

    static constexpr int kDiskBytes = 40 * 1024; // less than a year's pages (about 70 KB)
    const QByteArray kOldPdf = QByteArrayLiteral("%PDF-1.4 the old file\n");

  private slots:
    void commandLine_data() {
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // in the one line on stderr; "" for success
        QTest::newRow("full disk") << QStringLiteral("2025") << 3 << QStringLiteral("FULL");
        QTest::newRow("month 00") << QStringLiteral("2025-00") << 2
                                  << QStringLiteral("bad month \"2025-00\" (the month is 1..12)");
        QTest::newRow("year 40000") << QStringLiteral("40000-01") << 2
                                    << QStringLiteral("year \"40000\" is outside -32768..32767");
        QTest::newRow("not a month") << QStringLiteral("2025-8x") << 2
                                     << QStringLiteral("bad month \"2025-8x\" (YYYY-MM or YYYY)");
        QTest::newRow("negative year") << QStringLiteral("-500-03") << 0 << QString();
    }
    void commandLine() {
        QFETCH(QString, month);
        QFETCH(int, status);
        QFETCH(QString, message);
        const SmallDisk disk(kDiskBytes);
        const QString target = disk.path(QStringLiteral("keep.pdf"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldPdf) == kOldPdf.size());
        old.close();
        QProcess program;
        program.setProgram(QStringLiteral("/bin/sh"));
        program.setArguments({QStringLiteral("-c"),
                              disk.shellLimit() + QStringLiteral("exec \"$0\" \"$@\""),
                              QStringLiteral(SORVANE_GUI_PROGRAM),
                              QStringLiteral("--print-calendar-pdf"), month, target});
        program.start();
        QVERIFY(program.waitForFinished(60000));
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitCode(), status);
        const QByteArray now = fileBytes(target);
        if (status == 0) {
            QVERIFY2(now.startsWith("%PDF") && now.trimmed().endsWith("%%EOF"), now.left(40));
        } else {
            if (message == QStringLiteral("FULL")) {
                message = target + QStringLiteral(": cannot write: ") + disk.reason() +
                          QStringLiteral(" (the old file is kept)");
            }
            const QStringList lines =
                err.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QStringLiteral("sorvane:"));
            QCOMPARE(lines,
                     QStringList{QStringLiteral("sorvane: --print-calendar-pdf: ") + message});
            QCOMPARE(now, kOldPdf);
        }
        QCOMPARE(disk.entries(), QStringList{QStringLiteral("keep.pdf")});
    }

    void windowPdfOnAFullDisk() {
        const SmallDisk disk(kDiskBytes);
        const QString target = disk.path(QStringLiteral("keep.pdf"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldPdf) == kOldPdf.size());
        old.close();
        CalendarPage page(sharedTables());
        page.showDate({2025, 8, 1});
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        QString shown;
        onNextMessageBox([&](QMessageBox* box) {
            shown = box->objectName() + QLatin1Char(' ') + box->text();
            box->accept();
        });
        bool printed = true;
        {
            const SmallDisk::Limit limit(disk);
            printed = page.printTo(printer, 1, 12);
        }
        QVERIFY(!printed);
        QVERIFY2(shown.startsWith(QStringLiteral("printErrorBox 「") + target) &&
                     shown.contains(disk.japaneseReason()) &&
                     shown.contains(QStringLiteral("元のファイルはそのままです")),
                 qPrintable(shown));
        QCOMPARE(fileBytes(target), kOldPdf);
        QCOMPARE(disk.entries(), QStringList{QStringLiteral("keep.pdf")});

        // Where there is room, the same call writes the PDF: one page per month asked for.
        const QString roomy = QDir::temp().filePath(
            QStringLiteral("sorvane-print-%1.pdf").arg(QCoreApplication::applicationPid()));
        printer.setOutputFileName(roomy);
        QVERIFY(page.printTo(printer, 8, 9));
        const QByteArray pdf = fileBytes(roomy);
        QFile::remove(roomy);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 2);
    }
};

} // namespace sorvane::ui::test
