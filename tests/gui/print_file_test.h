// Printing calendar pages to a PDF file on a disk that fills up, from the command line and
// from the window: the old file stays, no temporary file is left and the reason is given.
#pragma once

#include "gui_support.h"
#include "ui/calendar_page.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
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

    struct Printed {
        int status = -1;
        QString err;
    };
    // Runs `sorvane --print-calendar-pdf ARGUMENTS` under a shell prefix, with its settings
    // in `config` (an empty folder when not given, so that the user's own are not read).
    static Printed printPdf(const QStringList& arguments, const QString& prefix,
                            const QString& config = QString()) {
        QTemporaryDir empty;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           config.isEmpty() ? empty.path() : config);
        program.setProcessEnvironment(environment);
        program.setProgram(QStringLiteral("/bin/sh"));
        program.setArguments(QStringList{QStringLiteral("-c"),
                                         prefix + QStringLiteral("exec \"$0\" \"$@\""),
                                         QStringLiteral(SORVANE_GUI_PROGRAM),
                                         QStringLiteral("--print-calendar-pdf")} +
                             arguments);
        program.start();
        if (!program.waitForFinished(60000)) {
            program.kill();
            program.waitForFinished();
            return {};
        }
        return {program.exitCode(), QString::fromUtf8(program.readAllStandardError())};
    }

    static constexpr int kDiskBytes = 40 * 1024; // less than a year's pages (about 70 KB)
    const QByteArray kOldPdf = QByteArrayLiteral("%PDF-1.4 the old file\n");

  private slots:
    // The arguments after the option, FILE standing for the file on the small disk: a month or
    // a year, the options in any place; anything else is refused before the file is touched.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // in the one line on stderr; "" for success
        const QString file = QStringLiteral("FILE");
        QTest::newRow("full disk")
            << QStringList{QStringLiteral("2025"), file} << 3 << QStringLiteral("FULL");
        QTest::newRow("month 00") << QStringList{QStringLiteral("2025-00"), file} << 2
                                  << QStringLiteral("bad month \"2025-00\" (the month is 1..12)");
        QTest::newRow("year 40000") << QStringList{QStringLiteral("40000-01"), file} << 2
                                    << QStringLiteral("year \"40000\" is outside -32768..32767");
        QTest::newRow("not a month") << QStringList{QStringLiteral("2025-8x"), file} << 2
                                     << QStringLiteral("bad month \"2025-8x\" (YYYY-MM or YYYY)");
        QTest::newRow("negative year")
            << QStringList{QStringLiteral("-500-03"), file} << 0 << QString();
        QTest::newRow("notes and a place")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("--notes"),
                           QStringLiteral("--place"), QStringLiteral("大阪")}
            << 0 << QString();
        QTest::newRow("options first") << QStringList{QStringLiteral("--no-notes"),
                                                      QStringLiteral("--lat"),
                                                      QStringLiteral("43.06"),
                                                      QStringLiteral("--lon"),
                                                      QStringLiteral("141.35"),
                                                      QStringLiteral("2026-05"),
                                                      file}
                                       << 0 << QString();
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("--colour")} << 2
            << QStringLiteral("unknown argument \"--colour\" (--notes, --no-notes, --place "
                              "NAME, --lat DEG --lon DEG)");
        QTest::newRow("extra argument")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("x")} << 2
            << QStringLiteral("unexpected argument \"x\"");
        QTest::newRow("no file") << QStringList{QStringLiteral("2026-05")} << 2
                                 << QStringLiteral("expected YYYY[-MM] FILE");
        QTest::newRow("unknown place")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("--place"),
                           QStringLiteral("不明")}
            << 2 << QStringLiteral("--place \"不明\" is not a known place");
        QTest::newRow("place without a name")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("--place")} << 2
            << QStringLiteral("--place needs a value");
        QTest::newRow("latitude beyond 90")
            << QStringList{QStringLiteral("2026-05"), file,
                           QStringLiteral("--lat"),   QStringLiteral("91"),
                           QStringLiteral("--lon"),   QStringLiteral("0")}
            << 2 << QStringLiteral("--lat \"91\" is outside -90..90");
        QTest::newRow("latitude alone")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("--lat"),
                           QStringLiteral("35")}
            << 2 << QStringLiteral("--lat needs --lon");
        QTest::newRow("place and coordinates")
            << QStringList{QStringLiteral("2026-05"), file,
                           QStringLiteral("--place"), QStringLiteral("大阪"),
                           QStringLiteral("--lat"),   QStringLiteral("35"),
                           QStringLiteral("--lon"),   QStringLiteral("135")}
            << 2 << QStringLiteral("--place and --lat/--lon cannot be combined");
        QTest::newRow("notes both ways")
            << QStringList{QStringLiteral("2026-05"), file, QStringLiteral("--notes"),
                           QStringLiteral("--no-notes")}
            << 2 << QStringLiteral("--notes and --no-notes cannot be combined");
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const SmallDisk disk(kDiskBytes);
        const QString target = disk.path(QStringLiteral("keep.pdf"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldPdf) == kOldPdf.size());
        old.close();
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^FILE$")), target);
        // A refused command line ends at once: a window opened instead would never end.
        const Printed run = printPdf(arguments, disk.shellLimit());
        QCOMPARE(run.status, status);
        const QByteArray now = fileBytes(target);
        if (status == 0) {
            QVERIFY2(now.startsWith("%PDF") && now.trimmed().endsWith("%%EOF"), now.left(40));
        } else {
            if (message == QStringLiteral("FULL")) {
                message = target + QStringLiteral(": cannot write: ") + disk.reason() +
                          QStringLiteral(" (the old file is kept)");
            }
            const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                          .filter(QStringLiteral("sorvane:"));
            QCOMPARE(lines,
                     QStringList{QStringLiteral("sorvane: --print-calendar-pdf: ") + message});
            QCOMPARE(now, kOldPdf);
        }
        QCOMPARE(disk.entries(), QStringList{QStringLiteral("keep.pdf")});
    }

    // Without its data files the command says so on one line instead of opening the message
    // box the window shows.
    void commandLineWithoutDataFiles() {
        QTemporaryDir alone;
        const QString program = alone.filePath(QStringLiteral("sorvane"));
        QVERIFY(QFile::copy(QStringLiteral(SORVANE_GUI_PROGRAM), program));
        QProcess run;
        run.start(program, {QStringLiteral("--print-calendar-pdf"), QStringLiteral("2026-05"),
                            alone.filePath(QStringLiteral("page.pdf"))});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 1);
        const QStringList lines = QString::fromUtf8(run.readAllStandardError())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                      .filter(QStringLiteral("sorvane:"));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(QStringLiteral("sorvane: --print-calendar-pdf: ")) &&
                     lines[0].contains(QStringLiteral("planet.txt")),
                 qPrintable(lines[0]));
        QVERIFY(!QFile::exists(alone.filePath(QStringLiteral("page.pdf"))));
    }

    // The saved 暦注 choice is followed unless --notes or --no-notes says otherwise, and the
    // document is titled as the window's.
    void commandLineFollowsTheSettings() {
        QTemporaryDir config;
        QDir(config.path()).mkpath(QStringLiteral("sorvane"));
        QFile conf(config.filePath(QStringLiteral("sorvane/sorvane.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly) &&
                conf.write("[calendarPage]\nnotes=true\nplace=\xe5\xa4\xa7\xe9\x98\xaa\n") > 0);
        conf.close();
        const auto size = [&](const QStringList& options) {
            const QString file = config.filePath(QStringLiteral("page.pdf"));
            const Printed run = printPdf(QStringList{QStringLiteral("2026-05"), file} + options,
                                         QString(), config.path());
            const QByteArray pdf = fileBytes(file);
            QFile::remove(file);
            return run.status == 0 ? pdf : QByteArray();
        };
        const QByteArray saved = size({});
        const QByteArray notes = size({QStringLiteral("--notes")});
        const QByteArray plain = size({QStringLiteral("--no-notes")});
        QVERIFY(!saved.isEmpty() && !plain.isEmpty());
        QCOMPARE(saved.size(), notes.size());
        QVERIFY(saved.size() > plain.size());
        // The title as a PDF text string: UTF-16BE after a byte order mark.
        QByteArray title("(\xfe\xff");
        for (const QChar c : QStringLiteral("暦 2026年5月")) {
            for (const char byte : {char(c.unicode() >> 8), char(c.unicode() & 0xff)}) {
                if (byte == '(' || byte == ')' || byte == '\\') {
                    title += '\\';
                }
                title += byte;
            }
        }
        QVERIFY(saved.contains(title + ')'));
    }

    // Into a pipe whose reader has quit (`| true`), as into a full disk: one line with the
    // reason and status 3, not the end by SIGPIPE (status 141 from the shell) it once was.
    void commandLineIntoAClosedPipe() {
        QTemporaryDir empty;
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), empty.path());
        run.setProcessEnvironment(environment);
        // A year with its 暦注 is larger than a pipe holds, so the writer meets the closed end.
        run.start(QStringLiteral("/bin/bash"),
                  {QStringLiteral("-c"),
                   QStringLiteral("\"$0\" --print-calendar-pdf 2026 /dev/stdout --notes | true; "
                                  "echo \"status ${PIPESTATUS[0]}\" >&2"),
                   QStringLiteral(SORVANE_GUI_PROGRAM)});
        QVERIFY(run.waitForFinished(60000));
        const QStringList lines =
            QString::fromUtf8(run.readAllStandardError())
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .filter(QRegularExpression(QStringLiteral("^(sorvane|status)")));
        QCOMPARE(lines, (QStringList{QStringLiteral("sorvane: --print-calendar-pdf: /dev/stdout: "
                                                    "cannot write: Broken pipe"),
                                     QStringLiteral("status 3")}));
    }

    // The printed month gives no rising or setting times, so its footer names no place, from
    // the command line or from the window with a place chosen; the document's title is the
    // month's. Read back with poppler's pdftotext and pdfinfo.
    void printedPagesNameNoPlace() {
        QTemporaryDir dir;
        const auto readBack = [](const QString& tool, const QString& file) {
            QProcess run;
            run.start(tool,
                      tool == QStringLiteral("pdftotext")
                          ? QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), file,
                                        QStringLiteral("-")}
                          : QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), file});
            return run.waitForFinished(60000) && run.exitCode() == 0
                       ? QString::fromUtf8(run.readAllStandardOutput())
                       : QStringLiteral("(%1 failed)").arg(tool);
        };
        const QString command = dir.filePath(QStringLiteral("command.pdf"));
        QCOMPARE(printPdf({QStringLiteral("2027-03"), command, QStringLiteral("--place"),
                           QStringLiteral("大阪")},
                          QString())
                     .status,
                 0);
        const QString window = dir.filePath(QStringLiteral("window.pdf"));
        CalendarPage page(sharedTables());
        page.setPlace(horizon::NamedPlace{"大阪", horizon::Observer{34.6864, 135.52}});
        page.showDate({2027, 3, 1});
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(window);
        QVERIFY(page.printTo(printer, 3, 3));
        for (const QString& file : {command, window}) {
            const QString text = readBack(QStringLiteral("pdftotext"), file);
            QVERIFY2(text.contains(QStringLiteral("時刻は日本時間")), qPrintable(text));
            QVERIFY2(!text.contains(QStringLiteral("日の出入り")) &&
                         !text.contains(QStringLiteral("大阪")),
                     qPrintable(file + QLatin1Char('\n') + text));
            const QString info = readBack(QStringLiteral("pdfinfo"), file);
            QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title: +暦 2027年3月$"),
                                                      QRegularExpression::MultilineOption)),
                     qPrintable(info));
        }
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
