#include "ui/data_files.h"

#include <QMessageBox>
#include <QString>

namespace sorvane::ui {

std::optional<Tables> loadTablesOrReport(const std::filesystem::path& dataDir) {
    try {
        return loadTables(dataDir);
    } catch (const DataFileError& e) {
        QMessageBox box(
            QMessageBox::Critical, QStringLiteral("Sorvane"),
            QStringLiteral("データファイルを読み込めないため、起動できません。\n\n%1\n"
                           "(フォルダ: %2)")
                .arg(QString::fromStdString(e.what()), QString::fromStdString(dataDir.string())),
            QMessageBox::Ok);
        box.setObjectName(QStringLiteral("dataFileError"));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return std::nullopt;
    }
}

} // namespace sorvane::ui
