#include "ui/life_window.h"

#include "almanac/days.h"
#include "export/atomic_file.h"
#include "export/icalendar.h"
#include "export/life_document.h"
#include "lifeevents/life_events.h"
#include "ui/pdf_file.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <ctime>

namespace sorvane::ui {

namespace {

constexpr int kDateRole = Qt::UserRole + 1;

QDate qDate(const CivilDate& d) {
    return QDate(d.year, d.month, d.day);
}

CivilDate civil(const QDate& d) {
    return CivilDate{d.year(), d.month(), d.day()};
}

// Today in Japan Standard Time, as the terminal program takes it (whatever the machine's zone).
QDate todayInJapan() {
    return QDateTime::currentDateTimeUtc().addSecs(9 * 3600).date();
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString joined(const std::vector<std::string>& parts) {
    QStringList list;
    for (const std::string& p : parts) {
        list << text(p);
    }
    return list.join(QStringLiteral("、"));
}

} // namespace

struct LifeWindow::State {
    explicit State(const Tables& tables) : days(tables, almanac::Minutes::Observatory) {}
    almanac::Days days;
    QDate today = todayInJapan();
    lifeevents::Plan shown; // the plan with the chosen convention's dates and candidates
    QString error;
};

LifeWindow::LifeWindow(const Tables& tables, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(std::make_unique<State>(tables)) {
    setObjectName(QStringLiteral("LifeWindow"));
    setWindowTitle(QStringLiteral("行事"));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("lifeKind"));
    for (int k = 0; k < lifeevents::kKindCount; ++k) {
        kind_->addItem(QString::fromUtf8(lifeevents::kindName(static_cast<lifeevents::Kind>(k))),
                       k);
    }
    date_ = new QDateEdit(this);
    date_->setObjectName(QStringLiteral("lifeDate"));
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setCalendarPopup(true);
    date_->setDateRange(QDate(lifeevents::kFirstYear, 1, 1), QDate(lifeevents::kLastYear, 12, 31));
    date_->setDate(todayInJapan());
    year_ = new QSpinBox(this);
    year_->setObjectName(QStringLiteral("lifeYear"));
    year_->setRange(lifeevents::kFirstYear, lifeevents::kLastYear);
    year_->setValue(todayInJapan().year());
    sex_ = new QComboBox(this);
    sex_->setObjectName(QStringLiteral("lifeSex"));
    sex_->addItems({QStringLiteral("—"), QStringLiteral("男"), QStringLiteral("女")});
    convention_ = new QComboBox(this);
    convention_->setObjectName(QStringLiteral("lifeConvention"));
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("lifeError"));
    error_->setStyleSheet(QStringLiteral("color: #b00020"));
    error_->setWordWrap(true);
    conventionText_ = new QLabel(this);
    conventionText_->setObjectName(QStringLiteral("lifeConventionText"));
    conventionText_->setWordWrap(true);
    dates_ = new QTreeWidget(this);
    dates_->setObjectName(QStringLiteral("lifeDates"));
    dates_->setHeaderLabels(
        {QStringLiteral("日取り"), QStringLiteral("日付"), QStringLiteral("数え方")});
    candidates_ = new QTreeWidget(this);
    candidates_->setObjectName(QStringLiteral("lifeCandidates"));
    candidates_->setHeaderLabels({QStringLiteral("日取り"), QStringLiteral("日付"),
                                  QStringLiteral("六曜"), QStringLiteral("理由")});
    for (QTreeWidget* tree : {dates_, candidates_}) {
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->header()->setStretchLastSection(true);
    }
    save_ = new QPushButton(QStringLiteral("カレンダーファイルに保存(&S)…"), this);
    save_->setObjectName(QStringLiteral("lifeSave"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("行事(&K)"), kind_);
    form->addRow(QStringLiteral("日付(&D)"), date_);
    form->addRow(QStringLiteral("年(&Y)"), year_);
    form->addRow(QStringLiteral("男女(&M)"), sex_);
    form->addRow(QStringLiteral("慣わし(&C)"), convention_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(error_);
    layout->addWidget(conventionText_);
    layout->addWidget(dates_, 1);
    layout->addWidget(new QLabel(QStringLiteral("候補日（土日祝、六曜、選日の順）"), this));
    layout->addWidget(candidates_, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    layout->addLayout(buttons);

    const auto replan = [this] { plan(); };
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
        convention_->setCurrentIndex(0);
        plan();
    });
    connect(date_, &QDateEdit::dateChanged, this, replan);
    connect(year_, &QSpinBox::valueChanged, this, replan);
    connect(sex_, &QComboBox::currentIndexChanged, this, replan);
    connect(convention_, &QComboBox::activated, this, replan);
    for (QTreeWidget* tree : {dates_, candidates_}) {
        connect(tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
            const QDate d = item->data(0, kDateRole).toDate();
            if (d.isValid()) {
                emit dateActivated(d);
            }
        });
    }
    connect(save_, &QPushButton::clicked, this, &LifeWindow::saveAs);
    resize(560, 640);
    plan();
}

LifeWindow::~LifeWindow() = default;

void LifeWindow::setToday(const QDate& today) {
    state_->today = today;
    plan();
}

void LifeWindow::setRequest(const QString& kind, const QDate& date, int year, const QString& sex,
                            int convention) {
    const QSignalBlocker k(kind_), d(date_), y(year_), s(sex_), c(convention_);
    const std::optional<lifeevents::Kind> found = lifeevents::kindOfName(kind.toStdString());
    if (found) {
        kind_->setCurrentIndex(static_cast<int>(*found));
    }
    if (date.isValid()) {
        date_->setDate(date);
    }
    year_->setValue(year);
    sex_->setCurrentIndex(sex == QStringLiteral("男") ? 1 : sex == QStringLiteral("女") ? 2 : 0);
    plan();
    convention_->setCurrentIndex(std::min(convention, convention_->count() - 1));
    plan();
}

void LifeWindow::plan() {
    const auto kind = static_cast<lifeevents::Kind>(kind_->currentData().toInt());
    const lifeevents::Input input = lifeevents::inputOf(kind);
    const bool byYear = input == lifeevents::Input::Year;
    date_->setEnabled(!byYear);
    year_->setEnabled(lifeevents::takesYear(kind));
    lifeevents::Request request;
    request.kind = kind;
    request.today = civil(state_->today);
    if (!byYear) {
        request.date = civil(date_->date());
    }
    if (year_->isEnabled()) {
        request.year = year_->value();
    }
    request.sex = sex_->currentIndex() == 1   ? lifeevents::Sex::Male
                  : sex_->currentIndex() == 2 ? lifeevents::Sex::Female
                                              : lifeevents::Sex::Unknown;
    lifeevents::Result result;
    try {
        result = lifeevents::planDates(request, &state_->days);
    } catch (const std::exception& e) {
        result.status = lifeevents::Status::OutsideSpan;
        result.message =
            QStringLiteral("計算できませんでした（%1）").arg(text(e.what())).toStdString();
    }
    // The conventions to choose from: the default, then the plan's alternatives.
    const int chosen = std::max(0, convention_->currentIndex());
    {
        const QSignalBlocker block(convention_);
        convention_->clear();
        convention_->addItem(QStringLiteral("既定：") + text(result.plan.convention));
        for (const lifeevents::Alternative& a : result.plan.alternatives) {
            convention_->addItem(QStringLiteral("別：") + text(a.convention));
        }
        convention_->setCurrentIndex(std::min(chosen, convention_->count() - 1));
    }
    lifeevents::Plan shown = result.plan;
    const int index = convention_->currentIndex();
    if (result.status == lifeevents::Status::Ok && index > 0) {
        const lifeevents::Alternative& alt = result.plan.alternatives[index - 1];
        shown.convention = alt.convention;
        shown.dates = alt.dates;
    }
    if (result.status == lifeevents::Status::Ok) {
        try {
            shown.candidates = lifeevents::rankCandidates(shown.dates, state_->days);
        } catch (const std::exception& e) {
            result.message = QStringLiteral("候補日を計算できませんでした（%1）")
                                 .arg(text(e.what()))
                                 .toStdString();
        }
    }
    state_->error = text(result.message);
    state_->shown = shown;
    error_->setText(state_->error);
    error_->setVisible(!state_->error.isEmpty());
    conventionText_->setText(
        shown.convention.empty() ? QString() : QStringLiteral("慣わし：") + text(shown.convention));
    dates_->clear();
    for (const lifeevents::EventDate& e : shown.dates) {
        const QString when = e.date   ? text(isoDateText(*e.date))
                             : e.year ? QStringLiteral("%1年").arg(*e.year)
                                      : QString();
        auto* item = new QTreeWidgetItem(dates_, {text(e.name), when, text(e.note)});
        if (e.date) {
            item->setData(0, kDateRole, qDate(*e.date));
        }
    }
    candidates_->clear();
    for (const lifeevents::Candidate& c : shown.candidates) {
        auto* item =
            new QTreeWidgetItem(candidates_, {text(c.forName),
                                              text(isoDateText(c.date)) + QStringLiteral("（") +
                                                  text(c.weekday) + QStringLiteral("）"),
                                              text(c.rokuyo), joined(c.reasons)});
        item->setData(0, kDateRole, qDate(c.date));
    }
    save_->setEnabled(state_->error.isEmpty() && !exports::lifeEvents(shown).empty());
}

QStringList LifeWindow::dateLines() const {
    QStringList out;
    for (const lifeevents::EventDate& e : state_->shown.dates) {
        out << text(e.name) + QLatin1Char('\t') +
                   (e.date ? text(isoDateText(*e.date)) : QString::number(e.year.value_or(0)));
    }
    return out;
}

QStringList LifeWindow::candidateLines() const {
    QStringList out;
    for (const lifeevents::Candidate& c : state_->shown.candidates) {
        out << text(c.forName) + QLatin1Char('\t') + text(isoDateText(c.date)) + QLatin1Char('\t') +
                   text(c.rokuyo) + QLatin1Char('\t') + joined(c.reasons);
    }
    return out;
}

QString LifeWindow::errorText() const {
    return state_->error;
}

bool LifeWindow::saveCalendar(const QString& path) {
    QString problem;
    try {
        exports::writeTextFile(path.toStdString(),
                               exports::lifeIcsCalendar(state_->shown, std::time(nullptr)));
        return true;
    } catch (const FileWriteError& e) {
        problem =
            QStringLiteral("「%1」に保存できませんでした（%2）").arg(path, japaneseWriteReason(e));
    } catch (const std::exception& e) {
        problem = QStringLiteral("保存できませんでした（%1）").arg(text(e.what()));
    }
    // Shown without waiting for it (open, not exec): the window keeps answering.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("行事の保存"), problem,
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("lifeSaveErrorBox"));
    box->setInformativeText(QStringLiteral("フォルダーがあるか、書き込めるかを確かめてください。"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

void LifeWindow::saveAs() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("カレンダーファイルに保存"),
                                     QDir::home().filePath(QStringLiteral("sorvane-行事.ics")),
                                     QStringLiteral("iCalendar ファイル (*.ics)"));
    if (!path.isEmpty()) {
        saveCalendar(path);
    }
}

} // namespace sorvane::ui
