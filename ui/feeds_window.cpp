#include "ui/feeds_window.h"

#include "almanac/days.h"
#include "export/atomic_file.h"
#include "export/feed.h"
#include "export/icalendar.h"
#include "ui/dialog_path.h"
#include "ui/pdf_file.h"
#include "ui/settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace sorvane::ui {

namespace {

const QString kSiteKey = QStringLiteral("feeds/site");

// The calendar's name without the program's: "六曜（Sorvane）" is 六曜.
QString shortName(exports::FeedKind kind) {
    QString name = QString::fromUtf8(exports::feedName(kind));
    const qsizetype cut = name.indexOf(QStringLiteral("（"));
    return cut < 0 ? name : name.left(cut);
}

QString yearsText(const std::optional<almanac::YearSpan>& years) {
    if (!years) {
        return QStringLiteral("（この期間の年がありません）");
    }
    return QStringLiteral("%1〜%2年").arg(years->first).arg(years->last);
}

} // namespace

FeedsWindow::FeedsWindow(const Tables& tables, int thisYear, QWidget* owner)
    : QWidget(owner, Qt::Window), tables_(tables), thisYear_(thisYear) {
    setObjectName(QStringLiteral("FeedsWindow"));
    setWindowTitle(QStringLiteral("購読用カレンダー"));
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(
        QStringLiteral("六曜・選日・二十四節気などを、スマートフォンや Google カレンダー、Apple の"
                       "カレンダーに登録できる配信です（%1年から%2年まで）。公開サイトが"
                       "配信するアドレスを登録すると、年が替わっても更新されます。")
            .arg(thisYear - exports::kPublishedYearsBefore)
            .arg(thisYear + exports::kPublishedYearsAfter),
        this);
    about->setWordWrap(true);
    layout->addWidget(about);
    auto* form = new QFormLayout;
    siteInput_ = new QLineEdit(this);
    siteInput_->setObjectName(QStringLiteral("feedSite"));
    siteInput_->setPlaceholderText(QStringLiteral("https://example.jp/sorvane/"));
    form->addRow(QStringLiteral("公開サイトのアドレス(&A)"), siteInput_);
    layout->addLayout(form);
    siteNote_ = new QLabel(this);
    siteNote_->setObjectName(QStringLiteral("feedSiteNote"));
    siteNote_->setWordWrap(true);
    layout->addWidget(siteNote_);
    list_ = new QTableWidget(0, 4, this);
    list_->setObjectName(QStringLiteral("feedList"));
    list_->setHorizontalHeaderLabels({QStringLiteral("カレンダー"), QStringLiteral("年"),
                                      QStringLiteral("アドレス"), QStringLiteral("内容")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(list_, 1);
    write_ = new QPushButton(QStringLiteral("フォルダーに書き出す(&W)…"), this);
    write_->setObjectName(QStringLiteral("feedWrite"));
    write_->setToolTip(QStringLiteral(
        "すべての種類を .ics ファイルとして選んだフォルダーに書き出します。自分のサイトに置けば"
        "購読用に、カレンダーに読み込めば一度きりの取り込みになります。"));
    layout->addWidget(write_, 0, Qt::AlignLeft);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("feedMessage"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(message_);
    connect(write_, &QPushButton::clicked, this, &FeedsWindow::chooseFolder);
    connect(siteInput_, &QLineEdit::editingFinished, this,
            [this] { setSiteAddress(siteInput_->text()); });
    site_ = programSettings().value(kSiteKey).toString();
    siteInput_->setText(site_);
    fill();
    resize(820, 420);
}

bool FeedsWindow::setSiteAddress(const QString& address) {
    const QString trimmed = address.trimmed();
    if (!trimmed.isEmpty()) {
        const QUrl url(trimmed, QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty() ||
            (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("http"))) {
            message_->setText(QStringLiteral("「%1」はサイトのアドレスとして読めません。"
                                             "https://example.jp/sorvane/ のように入れてください。")
                                  .arg(trimmed.left(80)));
            return false;
        }
    }
    site_ = trimmed;
    programSettings().setValue(kSiteKey, site_);
    siteInput_->setText(site_);
    message_->clear();
    fill();
    return true;
}

QString FeedsWindow::feedAddress(const QString& kind) const {
    if (site_.isEmpty()) {
        return QString();
    }
    // The page's folder: an address that names a page (…/index.html) keeps its folder, one
    // that names a folder without its last '/' gets it.
    QUrl base(site_);
    QString path = base.path();
    if (!path.endsWith(QLatin1Char('/')) &&
        !path.section(QLatin1Char('/'), -1).contains(QLatin1Char('.'))) {
        base.setPath(path + QLatin1Char('/'));
    }
    return base.resolved(QUrl(QStringLiteral("feeds/%1.ics").arg(kind))).toString();
}

QString FeedsWindow::webcalAddress(const QString& kind) const {
    QUrl url(feedAddress(kind));
    if (url.isEmpty()) {
        return QString();
    }
    url.setScheme(QStringLiteral("webcal"));
    return url.toString();
}

QStringList FeedsWindow::fileNames() const {
    QStringList names;
    for (exports::FeedKind kind : exports::kFeedKinds) {
        if (exports::publishedFeedYears(kind, thisYear_)) {
            names << QString::fromUtf8(exports::feedKindKey(kind)) + QStringLiteral(".ics");
        }
    }
    return names;
}

void FeedsWindow::fill() {
    siteNote_->setText(
        site_.isEmpty()
            ? QStringLiteral("このプログラムは公開サイトのアドレスを知りません。サイトの"
                             "アドレスを上に入れると各カレンダーのアドレスを示します。または"
                             "「フォルダーに書き出す」で同じ種類・同じ年のファイルを作れます。")
            : QStringLiteral("各カレンダーのアドレスを Google カレンダーの「URL で追加」に貼り"
                             "付けるか、webcal:// のアドレスを iPhone・Mac・Android で開いて"
                             "登録します。"));
    list_->setRowCount(0);
    for (exports::FeedKind kind : exports::kFeedKinds) {
        const int row = list_->rowCount();
        list_->insertRow(row);
        const QString key = QString::fromUtf8(exports::feedKindKey(kind));
        const QString address = feedAddress(key);
        list_->setItem(row, 0, new QTableWidgetItem(shortName(kind)));
        list_->setItem(
            row, 1, new QTableWidgetItem(yearsText(exports::publishedFeedYears(kind, thisYear_))));
        auto* where = new QTableWidgetItem(
            address.isEmpty() ? QStringLiteral("（サイトのアドレスが未設定）") : address);
        where->setToolTip(webcalAddress(key));
        list_->setItem(row, 2, where);
        list_->setItem(row, 3, new QTableWidgetItem(QString::fromUtf8(exports::feedAbout(kind))));
    }
    list_->resizeColumnsToContents();
}

void FeedsWindow::chooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("購読用カレンダーを書き出すフォルダー"), QDir::homePath());
    if (!folder.isEmpty()) {
        writeFeeds(folder);
    }
}

bool FeedsWindow::writeFeeds(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        message_->setText(QStringLiteral("「%1」はフォルダーではありません。書き出すフォルダーを"
                                         "選び直してください。")
                              .arg(folder));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const almanac::Days days(tables_, almanac::Minutes::Observatory);
    QStringList written;
    QString problem;
    for (exports::FeedKind kind : exports::kFeedKinds) {
        const std::optional<almanac::YearSpan> years = exports::publishedFeedYears(kind, thisYear_);
        if (!years) {
            continue;
        }
        const QString name = QString::fromUtf8(exports::feedKindKey(kind)) + QStringLiteral(".ics");
        const QString path = QDir(folder).filePath(name);
        try {
            exports::writeTextFile(dialogPath(path, QFile::encodeName(path).toStdString()),
                                   exports::feedCalendar(kind, years->first, years->last, days));
            written << name;
        } catch (const FileWriteError& e) {
            problem = QStringLiteral("「%1」に書き出せませんでした（%2）。フォルダーに書き込めるか"
                                     "を確かめてください。")
                          .arg(path, japaneseWriteReason(e));
            break;
        } catch (const std::exception&) {
            problem = QStringLiteral("%1 を計算できませんでした。").arg(shortName(kind));
            break;
        }
    }
    QApplication::restoreOverrideCursor();
    if (!problem.isEmpty()) {
        message_->setText(problem + (written.isEmpty()
                                         ? QString()
                                         : QStringLiteral("（書き出せたもの：%1）")
                                               .arg(written.join(QStringLiteral("、")))));
        return false;
    }
    message_->setText(QStringLiteral("%1件のカレンダーを「%2」に書き出しました：%3")
                          .arg(written.size())
                          .arg(folder, written.join(QStringLiteral("、"))));
    return true;
}

QString FeedsWindow::message() const {
    return message_->text();
}

} // namespace sorvane::ui
