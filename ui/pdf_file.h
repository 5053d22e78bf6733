// Saving printed pages as a PDF file without ever leaving a damaged one: the pages are made
// in memory and the file is replaced whole or not at all, with the reason when it cannot be.
#pragma once

#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace sorvane {
class FileWriteError;
}

namespace sorvane::ui {

// Paints pages onto a PDF device (A4 landscape is the painter's choice; the device starts at
// 1200 dpi, as QPrinter::HighResolution) and replaces `file` with the finished document
// through the atomic writer (a temporary file beside it, synced, then renamed). Returns
// false when paint returns false. Throws FileWriteError when the file cannot be written
// (a full disk, a missing folder, no permission): the old file is then left as it was.
// The document's title, when given, is what a PDF reader shows for it.
bool writePdfFile(const QString& file, const std::function<bool(QPagedPaintDevice&)>& paint,
                  const QString& title = QString());

// `sorvane --print-calendar-pdf MONTH FILE`: MONTH is "YYYY-MM" (MM 1..12) or "YYYY", YYYY a
// year -32768..32767 with an optional sign ("-500-03"). print(year, first, last) makes FILE.
// Returns the exit status: 0 written; 2 a bad MONTH; 3 FILE not written (the old file kept);
// 1 the printing could not start. Each failure is one line on standard error saying why.
int printCalendarPdfCommand(const QString& month, const QString& file,
                            const std::function<bool(int year, int first, int last)>& print);

// Why a file could not be written, in Japanese for the windows ("ディスクの空き容量が足りません").
QString japaneseWriteReason(const FileWriteError& error);

} // namespace sorvane::ui
