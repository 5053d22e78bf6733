#include "ui/day_search_window.h"

#include "almanac/coverage.h"
#include "calendar/names.h"
#include "calendar/typed_date.h"
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "export/atomic_file.h"
#include "export/find_document.h"
#include "export/icalendar.h"
#include "export/search_text.h"
#include "notes/notes.h"
#include "ui/almanac_guard.h"
#include "ui/date_popup.h"
#include "ui/dialog_path.h"
#include "ui/pdf_file.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace sorvane::ui {

namespace {

using daysearch::Kind;

// How long the text field waits after a key before searching again, ms.
constexpr int kTypingPauseMs = 250;
// The days the list shows at most.
constexpr int kDaysListed = 2000;
// The years the window keeps computed: a ten-year range and a little more.
constexpr std::size_t kYearsKept = 12;
// The days a date field can hold: those an iCalendar file can.
const QDate kFirstDate(almanac::coverage(almanac::Source::ICalendar).first, 1, 1);
const QDate kLastDate(almanac::coverage(almanac::Source::ICalendar).last, 12, 31);

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

CivilDate civil(const QDate& d) {
    return CivilDate{d.year(), d.month(), d.day()};
}

// A found day as a Japanese calendar writes it: 2027年3月7日（日）.
QString dayText(const CivilDate& d, const std::string& weekday) {
    return QStringLiteral("%1年%2月%3日（%4）").arg(d.year).arg(d.month).arg(d.day).arg(q(weekday));
}

// A list that shows every item whole: as tall and wide as its items, never scrolled.
void fitToItems(QListWidget* list) {
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int height = 0;
    for (int i = 0; i < list->count(); ++i) {
        height += list->sizeHintForRow(i);
    }
    const int frame = 2 * list->frameWidth();
    list->setFixedSize(list->sizeHintForColumn(0) + frame + 4 * list->spacing() + 8,
                       height + frame + 2 * list->spacing() * list->count() + 4);
}

// The way the window says why a query cannot be read (as the web page says it).
QString refusal(const daysearch::QueryError& e) {
    return q(exports::queryRefusal(e));
}

// A date field that also takes a date typed whole over its text, in any form people write
// one (2027-04-30, 2027/4/30, 2027年4月30日, 令和9年4月30日, full-width digits): the sections of
// a QDateEdit would keep the old year. The text is read on Enter, Tab or leaving the field; a
// text that is no date of the field's range is refused through `refused`, with the reason, and
// the field shows its date again.
class WholeDateEdit : public QDateEdit {
  public:
    WholeDateEdit(const QDate& date, QWidget* parent,
                  std::function<void(const QString&, const QString&)> refused)
        : QDateEdit(date, parent), refused_(std::move(refused)) {
        connect(this, &QDateEdit::editingFinished, this, &WholeDateEdit::finishTyping);
        setAttribute(Qt::WA_InputMethodEnabled, true);
    }

    bool typing() const { return typing_; }

  protected:
    // While a date is typed whole its text is read on Enter or on leaving the field.
    QValidator::State validate(QString& input, int& pos) const override {
        return typing_ ? QValidator::Intermediate : QDateEdit::validate(input, pos);
    }
    void fixup(QString& input) const override {
        if (!typing_) {
            QDateEdit::fixup(input);
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        const QString key = event->text();
        const bool printable = !key.isEmpty() && key.front().isPrint() &&
                               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        // Typing over the whole text or from its start (the year section) writes a date; a
        // digit or a separator within a section edits that section as before.
        const bool fromStart = lineEdit()->selectedText() == lineEdit()->text() ||
                               (lineEdit()->hasSelectedText() && lineEdit()->selectionStart() == 0);
        if (printable && (typing_ || fromStart)) {
            type(key);
            event->accept();
            return;
        }
        if (typing_ && event->key() == Qt::Key_Backspace) {
            const QSignalBlocker block(lineEdit());
            lineEdit()->setText(lineEdit()->text().chopped(lineEdit()->text().isEmpty() ? 0 : 1));
            event->accept();
            return;
        }
        if (typing_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            finishTyping();
            event->accept();
            return;
        }
        if (typing_ && event->key() == Qt::Key_Escape) {
            typing_ = false;
            lineEdit()->setText(textFromDateTime(dateTime()));
            event->accept();
            return;
        }
        QDateEdit::keyPressEvent(event);
    }

    // Text composed with an input method (令和, 年, full-width digits) is typed as keys are;
    // the spin box hands such events to its line edit, so they are taken here first.
    bool event(QEvent* event) override {
        if (event->type() == QEvent::InputMethod) {
            auto* input = static_cast<QInputMethodEvent*>(event);
            const bool fromStart =
                lineEdit()->selectedText() == lineEdit()->text() ||
                (lineEdit()->hasSelectedText() && lineEdit()->selectionStart() == 0);
            if (!input->commitString().isEmpty() && (typing_ || fromStart)) {
                type(input->commitString());
                if (!input->preeditString().isEmpty()) {
                    QInputMethodEvent composing(input->preeditString(), input->attributes());
                    QDateEdit::event(&composing);
                }
                event->accept();
                return true;
            }
        }
        return QDateEdit::event(event);
    }

    // A press on the field outside its pop-up arrow only gives it the focus. (A spin box reads
    // the pop-up's edit area as its down button and would step the date back a day or year.)
    void mousePressEvent(QMouseEvent* event) override {
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        if (calendarPopup() && style()->hitTestComplexControl(QStyle::CC_ComboBox, &option,
                                                              event->position().toPoint(),
                                                              this) != QStyle::SC_ComboBoxArrow) {
            setFocus(Qt::MouseFocusReason);
            event->accept();
            return;
        }
        QDateEdit::mousePressEvent(event);
    }

    // Tab steps through the field's sections; after a date typed whole it reads the date and
    // leaves the field, as in any other text field.
    bool focusNextPrevChild(bool next) override {
        if (typing_) {
            finishTyping();
            return QWidget::focusNextPrevChild(next);
        }
        return QDateEdit::focusNextPrevChild(next);
    }

    void focusOutEvent(QFocusEvent* event) override {
        finishTyping();
        QDateEdit::focusOutEvent(event);
    }

  private:
    void type(const QString& text) {
        if (!typing_) {
            typing_ = true;
            lineEdit()->clear();
        }
        const QSignalBlocker block(lineEdit());
        lineEdit()->setText(lineEdit()->text() + text);
    }

    void finishTyping() {
        if (!typing_) {
            return;
        }
        typing_ = false;
        const QString text = lineEdit()->text();
        std::string reason;
        const std::optional<CivilDate> read = typedDateOver(
            text.toStdString(), CivilDate{date().year(), date().month(), date().day()}, &reason);
        const QDate typed = read ? QDate(read->year, read->month, read->day) : QDate();
        if (read && !typed.isValid()) {
            reason = "この欄の日付は " + std::to_string(minimumDate().year()) + "〜" +
                     std::to_string(maximumDate().year()) + "年です。";
        } else if (typed.isValid() && (typed < minimumDate() || typed > maximumDate())) {
            reason = "この欄の日付は " + minimumDate().toString(Qt::ISODate).toStdString() + "〜" +
                     maximumDate().toString(Qt::ISODate).toStdString() + " です。";
        }
        lineEdit()->setText(textFromDateTime(dateTime()));
        if (reason.empty()) {
            setDate(typed);
            lineEdit()->setText(textFromDateTime(dateTime()));
        } else {
            refused_(text, QString::fromStdString(reason));
        }
    }

    bool typing_ = false;
    std::function<void(const QString&, const QString&)> refused_;
};

} // namespace

struct DaySearchWindow::Answer {
    daysearch::SearchResult result;
    std::exception_ptr error;
    // With nothing found: the lunar dates of the query that no month of the range reaches.
    std::vector<std::string> absent;
};

// A save running on a thread of its own: it reports to the window through `window`, which
// the window clears (under the mutex) when it goes, and stops when `cancelled` is set.
struct DaySearchWindow::SaveJob {
    std::mutex mutex;
    DaySearchWindow* window = nullptr;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> ended{false}; // the thread has let go of the file

    // Runs f on the window's thread, if the window is still there.
    void report(std::function<void(DaySearchWindow*)> f) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (window != nullptr) {
            DaySearchWindow* w = window;
            QMetaObject::invokeMethod(
                w, [w, f = std::move(f)] { f(w); }, Qt::QueuedConnection);
        }
    }
};

struct DaySearchWindow::State {
    explicit State(const Tables& tables) : searcher(tables, kYearsKept) {
        // One search at a time: the searcher and the years it keeps belong to that thread.
        worker.setMaxThreadCount(1);
    }

    // One check box per name, with its kind; the checked boxes of one group box make one
    // word (any of them).
    struct Choice {
        QCheckBox* box;
        Kind kind;
        QString name;
    };

    daysearch::Vocabulary vocabulary;
    daysearch::DaySearch searcher; // used only by the worker's searches
    QThreadPool worker;
    // The number of the latest search; a running search whose number is older stops at
    // the end of its year.
    std::atomic<int> generation{0};
    bool running = false;
    std::optional<daysearch::Query> query; // the query of the result shown
    // Shared with a save under way, which writes the days it was started with.
    std::shared_ptr<const daysearch::SearchResult> result =
        std::make_shared<const daysearch::SearchResult>();
    std::shared_ptr<SaveJob> save; // the save under way, if any
    std::vector<Choice> choices;
};

DaySearchWindow::~DaySearchWindow() {
    ++state_->generation;
    state_->worker.waitForDone();
    if (state_->save) {
        // The save stops at its next piece; it no longer reports to this window.
        {
            const std::lock_guard<std::mutex> lock(state_->save->mutex);
            state_->save->window = nullptr;
            state_->save->cancelled = true;
        }
        // A stopped save lets go within a piece or a tenth of a second (a stalled pipe); the
        // window waits that long, at most two seconds, so that a program quitting now does
        // not end under it.
        for (int waited = 0; !state_->save->ended && waited < 200; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

std::size_t DaySearchWindow::matchCount() const {
    return state_->result->count;
}

bool DaySearchWindow::searching() const {
    return state_->running;
}

std::vector<QDate> DaySearchWindow::matchDates() const {
    std::vector<QDate> dates;
    for (const daysearch::DayMatch& m : state_->result->days) {
        dates.emplace_back(m.date.year, m.date.month, m.date.day);
    }
    return dates;
}

DaySearchWindow::DaySearchWindow(const Tables& tables, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(std::make_unique<State>(tables)) {
    setObjectName(QStringLiteral("DaySearchWindow"));
    setWindowTitle(QStringLiteral("日を探す"));
    createControls();
    // Opens with a short result list (it grows with the window), so that the whole window
    // fits a screen of 540 logical pixels (1920 × 1080 at 200 %).
    const QSize hint = sizeHint();
    resize(hint.width(), std::min(hint.height(), minimumSizeHint().height() + 40));
    search();
}

void DaySearchWindow::createControls() {
    auto* layout = new QVBoxLayout(this);

    // A group of check boxes, one per name of the kinds, laid out columns wide; the checked
    // ones make one word of the query.
    auto addGroup = [&](const QString& title, const std::vector<Kind>& kinds, int columns) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(6, 2, 6, 2);
        grid->setVerticalSpacing(2);
        int i = 0;
        for (Kind kind : kinds) {
            for (const std::string& name : state_->vocabulary.names(kind)) {
                // A weekday is shown as 日曜 .. 土曜: a bare 日 reads as "day".
                const QString label =
                    kind == Kind::Weekday ? q(name) + QStringLiteral("曜") : q(name);
                auto* check = new QCheckBox(label, box);
                check->setObjectName(QStringLiteral("check-%1").arg(q(name)));
                grid->addWidget(check, i / columns, i % columns);
                state_->choices.push_back(State::Choice{check, kind, q(name)});
                connect(check, &QCheckBox::toggled, this, &DaySearchWindow::search);
                ++i;
            }
        }
        return box;
    };
    auto* top = new QHBoxLayout;
    auto* groups = new QVBoxLayout;
    groups->addWidget(addGroup(QStringLiteral("六曜（いずれか）(&R)"), {Kind::Rokuyo}, 6));
    groups->addWidget(
        addGroup(QStringLiteral("曜日・休日（いずれか）(&W)"), {Kind::Weekday, Kind::Rest}, 9));
    groups->addWidget(addGroup(QStringLiteral("十二直（いずれか）(&J)"), {Kind::Choku}, 12));
    // The 九星 and the 潮名 side by side, in two rows: the window keeps to a half-height screen.
    auto* lastRow = new QHBoxLayout;
    lastRow->addWidget(addGroup(QStringLiteral("日家九星（いずれか）(&K)"), {Kind::Kyusei}, 5));
    lastRow->addWidget(addGroup(QStringLiteral("潮名（いずれか）(&T)"), {Kind::Shio}, 3));
    groups->addLayout(lastRow);
    groups->addStretch(1);
    top->addLayout(groups);

    // The 選日 in two lists: those that must hold (all of them, or any), those that none may.
    auto* senjitsu = new QGroupBox(QStringLiteral("選日"), this);
    auto* senjitsuLayout = new QGridLayout(senjitsu);
    senjitsuLayout->setContentsMargins(6, 2, 6, 4);
    auto makeList = [&](const QString& objectName, int column) {
        auto* list = new QListWidget(senjitsu);
        list->setObjectName(objectName);
        // The 選日 proper; the 下段, also in the day search's vocabulary, are typed in the query
        // (the lists show every name whole and keep the window on a half-height screen).
        for (int i = 0; i < notes::kSenjitsuCount; ++i) {
            const std::string name = notes::senjitsuName(static_cast<notes::Senjitsu>(i));
            auto* item = new QListWidgetItem(q(name), list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(Qt::Unchecked);
        }
        fitToItems(list);
        senjitsuLayout->addWidget(list, 2, column, Qt::AlignTop);
        connect(list, &QListWidget::itemChanged, this, &DaySearchWindow::search);
        return list;
    };
    senjitsuWanted_ = makeList(QStringLiteral("senjitsuWanted"), 0);
    senjitsuAvoided_ = makeList(QStringLiteral("senjitsuAvoided"), 1);
    auto* wantedLabel = new QLabel(QStringLiteral("含む(&I)"), senjitsu);
    wantedLabel->setBuddy(senjitsuWanted_);
    auto* avoidedLabel = new QLabel(QStringLiteral("除く(&X)"), senjitsu);
    avoidedLabel->setBuddy(senjitsuAvoided_);
    senjitsuLayout->addWidget(wantedLabel, 0, 0);
    senjitsuLayout->addWidget(avoidedLabel, 0, 1);
    // Whether the checked 選日 to include must all hold or any of them.
    auto* howMany = new QHBoxLayout;
    auto* wantedAny = new QRadioButton(QStringLiteral("いずれか(&N)"), senjitsu);
    wantedAny->setObjectName(QStringLiteral("senjitsuAny"));
    wantedAll_ = new QRadioButton(QStringLiteral("すべて(&A)"), senjitsu);
    wantedAll_->setObjectName(QStringLiteral("senjitsuAll"));
    wantedAny->setChecked(true);
    howMany->addWidget(wantedAny);
    howMany->addWidget(wantedAll_);
    howMany->addStretch(1);
    senjitsuLayout->addLayout(howMany, 1, 0, 1, 2);
    connect(wantedAll_, &QRadioButton::toggled, this, &DaySearchWindow::search);
    top->addWidget(senjitsu, 0, Qt::AlignTop);
    layout->addLayout(top);

    auto* form = new QGridLayout;
    extra_ = new QLineEdit(this);
    extra_->setObjectName(QStringLiteral("extraQuery"));
    extra_->setPlaceholderText(QStringLiteral("例：母倉日 -受死日 二十八宿:角|亢 旧1月 -節分"));
    auto* extraLabel = new QLabel(QStringLiteral("その他の条件(&Q)："), this);
    extraLabel->setBuddy(extra_);
    form->addWidget(extraLabel, 0, 0);
    form->addWidget(extra_, 0, 1, 1, 4);

    auto makeDate = [&](const QDate& date, const QString& objectName) {
        auto* edit =
            new WholeDateEdit(date, this, [this](const QString& text, const QString& reason) {
                // Said at once where the window says why it cannot search; the next change
                // clears it.
                notice_->setText(
                    QStringLiteral("「%1」は日付として読めません。%2").arg(text, reason));
            });
        edit->setObjectName(objectName);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setDateRange(kFirstDate, kLastDate);
        useJapaneseCalendarPopup(edit);
        connect(edit, &QDateEdit::dateChanged, this, &DaySearchWindow::search);
        return edit;
    };
    const QDate today = QDate::currentDate();
    from_ = makeDate(today, QStringLiteral("fromDate"));
    // A year of days, as --find takes by default: to the eve of the same date a year later.
    const QDate sameDate(today.year() + 1, today.month(), today.day());
    to_ = makeDate((sameDate.isValid() ? sameDate : QDate(today.year() + 1, 3, 1)).addDays(-1),
                   QStringLiteral("toDate"));
    auto* fromLabel = new QLabel(QStringLiteral("期間(&D)："), this);
    fromLabel->setBuddy(from_);
    form->addWidget(fromLabel, 1, 0);
    form->addWidget(from_, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("〜"), this), 1, 2);
    form->addWidget(to_, 1, 3);
    auto* wholeYear = new QPushButton(QStringLiteral("その年(&Y)"), this);
    wholeYear->setObjectName(QStringLiteral("wholeYear"));
    wholeYear->setToolTip(QStringLiteral("期間を始まりの日の年の1月1日〜12月31日にします"));
    auto* wholeMonth = new QPushButton(QStringLiteral("その月(&M)"), this);
    wholeMonth->setObjectName(QStringLiteral("wholeMonth"));
    wholeMonth->setToolTip(QStringLiteral("期間を始まりの日の月の初めから終わりまでにします"));
    connect(wholeYear, &QPushButton::clicked, this, &DaySearchWindow::rangeToYear);
    connect(wholeMonth, &QPushButton::clicked, this, &DaySearchWindow::rangeToMonth);
    auto* rangeButtons = new QHBoxLayout;
    rangeButtons->addWidget(wholeYear);
    rangeButtons->addWidget(wholeMonth);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("matchCount"));
    rangeButtons->addSpacing(12);
    rangeButtons->addWidget(count_, 1);
    form->addLayout(rangeButtons, 1, 4);
    form->setColumnStretch(4, 1);
    layout->addLayout(form);

    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("notice"));
    notice_->setWordWrap(true);
    layout->addWidget(notice_);

    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("results"));
    results_->setMinimumHeight(80);
    auto* resultsLabel =
        new QLabel(QStringLiteral("見つかった日（ダブルクリックで月の暦を開く）(&L)："), this);
    resultsLabel->setBuddy(results_);
    // The buttons share the list's caption line, so that the window fits a small screen.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(resultsLabel);
    layout->addLayout(buttons);
    layout->addWidget(results_, 1);
    connect(results_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const QDate date = item->data(Qt::UserRole).toDate(); date.isValid()) {
            emit dateActivated(date);
        }
    });

    save_ = new QPushButton(QStringLiteral("iCalendar に保存(&S)…"), this);
    save_->setObjectName(QStringLiteral("saveIcs"));
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(close);
    connect(save_, &QPushButton::clicked, this, &DaySearchWindow::saveAs);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    typing_ = new QTimer(this);
    typing_->setSingleShot(true);
    typing_->setInterval(kTypingPauseMs);
    connect(typing_, &QTimer::timeout, this, &DaySearchWindow::search);
    connect(extra_, &QLineEdit::textEdited, typing_, qOverload<>(&QTimer::start));
    connect(extra_, &QLineEdit::returnPressed, this, &DaySearchWindow::search);
}

QString DaySearchWindow::queryText() const {
    // A name of two kinds is written with the kind of its group.
    auto written = [&](Kind kind, const QString& name) {
        return state_->vocabulary.kindsOf(name.toStdString()).size() > 1
                   ? q(daysearch::kindLabel(kind)) + QLatin1Char(':') + name
                   : name;
    };
    QStringList words;
    QStringList group;
    QWidget* groupBox = nullptr;
    auto flush = [&] {
        if (!group.isEmpty()) {
            words << group.join(QLatin1Char('|'));
        }
        group.clear();
    };
    for (const State::Choice& c : state_->choices) {
        if (c.box->parentWidget() != groupBox) {
            flush();
            groupBox = c.box->parentWidget();
        }
        if (c.box->isChecked()) {
            group << written(c.kind, c.name);
        }
    }
    flush();
    QStringList wanted;
    for (int i = 0; i < senjitsuWanted_->count(); ++i) {
        if (senjitsuWanted_->item(i)->checkState() == Qt::Checked) {
            wanted << written(Kind::Senjitsu, senjitsuWanted_->item(i)->text());
        }
    }
    if (wantedAll_->isChecked()) {
        words << wanted;
    } else if (!wanted.isEmpty()) {
        words << wanted.join(QLatin1Char('|'));
    }
    for (int i = 0; i < senjitsuAvoided_->count(); ++i) {
        if (senjitsuAvoided_->item(i)->checkState() == Qt::Checked) {
            words << QLatin1Char('-') + written(Kind::Senjitsu, senjitsuAvoided_->item(i)->text());
        }
    }
    const QString extra = extra_->text().trimmed();
    if (!extra.isEmpty()) {
        words << extra;
    }
    return words.join(QLatin1Char(' '));
}

void DaySearchWindow::setRange(const QDate& from, const QDate& to) {
    const QSignalBlocker blockFrom(from_);
    const QSignalBlocker blockTo(to_);
    from_->setDate(from);
    to_->setDate(to);
    search();
}

void DaySearchWindow::rangeToYear() {
    const int year = from_->date().year();
    setRange(QDate(year, 1, 1), QDate(year, 12, 31));
}

void DaySearchWindow::rangeToMonth() {
    const QDate first(from_->date().year(), from_->date().month(), 1);
    setRange(first, first.addMonths(1).addDays(-1));
}

void DaySearchWindow::setExtraQuery(const QString& text) {
    extra_->setText(text);
    search();
}

void DaySearchWindow::search() {
    typing_->stop();
    // Whatever runs now answers conditions that no longer hold.
    const int generation = ++state_->generation;
    state_->running = false;
    results_->clear();
    state_->result = std::make_shared<const daysearch::SearchResult>();
    state_->query.reset();
    notice_->clear();
    save_->setEnabled(false);
    const CivilDate from = civil(from_->date());
    const CivilDate to = civil(to_->date());
    if (to < from) {
        count_->setText(QString());
        notice_->setText(QStringLiteral("期間の終わりが始まりより前です。"));
        return;
    }
    daysearch::Query query;
    try {
        query = daysearch::parseQuery(queryText().toStdString(), state_->vocabulary);
    } catch (const daysearch::QueryError& e) {
        count_->setText(QString());
        notice_->setText(refusal(e));
        return;
    }
    state_->running = true;
    count_->setText(QStringLiteral("検索中…"));
    // The search runs on the worker's thread; the window only hears of its progress and its
    // answer, and a later change stops it at the end of the year it is in.
    State* state = state_.get();
    state_->worker.start([this, state, generation, query = std::move(query), from, to] {
        if (state->generation.load() != generation) {
            return; // overtaken while it waited for the one before to stop
        }
        auto answer = std::make_shared<Answer>();
        int shownPercent = -1;
        daysearch::SearchHooks hooks;
        hooks.progress = [&](int done, int total) {
            if (state->generation.load() != generation) {
                return false;
            }
            const int percent = done * 100 / total;
            if (total >= 10 && percent != shownPercent) {
                shownPercent = percent;
                QMetaObject::invokeMethod(
                    this, [this, generation, percent] { showProgress(generation, percent); },
                    Qt::QueuedConnection);
            }
            return true;
        };
        try {
            answer->result = state->searcher.search(query, from, to, hooks);
        } catch (...) {
            answer->error = std::current_exception();
        }
        if (answer->result.stopped) {
            return;
        }
        if (!answer->error && answer->result.count == 0) {
            try {
                answer->absent = daysearch::absentLunarDates(state->searcher, query, from, to);
            } catch (...) {
                // Only the explanation is lost: the answer (nothing found) stands.
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, answer, query] {
                if (state_->generation.load() == generation) {
                    state_->query = query;
                }
                showAnswer(generation, answer);
            },
            Qt::QueuedConnection);
    });
}

void DaySearchWindow::showProgress(int generation, int percent) {
    if (generation == state_->generation.load() && state_->running) {
        count_->setText(QStringLiteral("検索中… %1%").arg(percent));
    }
}

void DaySearchWindow::showAnswer(int generation, const std::shared_ptr<Answer>& answer) {
    if (generation != state_->generation.load()) {
        return;
    }
    state_->running = false;
    if (answer->error) {
        state_->query.reset();
        count_->setText(QString());
        try {
            std::rethrow_exception(answer->error);
        } catch (const CalculationError& e) {
            // As every window says it, in the notice line rather than a box: the search runs
            // again on every change of the conditions.
            notice_->setText(calculationErrorMessage(e));
        } catch (const std::exception&) {
            notice_->setText(QStringLiteral("この期間は計算できませんでした。"));
        }
        emit searchFinished();
        return;
    }
    state_->result = std::make_shared<const daysearch::SearchResult>(std::move(answer->result));
    count_->setText(QString::fromStdString(
        exports::foundCountText(static_cast<long long>(state_->result->count))));
    QStringList notes;
    for (const std::string& date : answer->absent) {
        notes << q(exports::absentDateNote(date));
    }
    for (const daysearch::Uncovered& u : state_->result->uncovered) {
        notes << q(exports::uncoveredNote(u));
    }
    notice_->setText(notes.join(QLatin1Char('\n')));
    results_->setUpdatesEnabled(false);
    for (const daysearch::DayMatch& m : state_->result->days) {
        if (results_->count() == kDaysListed) {
            // A list of tens of thousands of days would hold the window while it is filled;
            // the file gets every day.
            auto* more = new QListWidgetItem(
                QStringLiteral("…ほか %1 件（iCalendar に保存するとすべての日を書き出します）")
                    .arg(state_->result->days.size() - static_cast<std::size_t>(kDaysListed)),
                results_);
            more->setFlags(Qt::NoItemFlags);
            break;
        }
        QStringList shown;
        for (const std::string& n : m.notes) {
            // A weekday reads 日曜 .. 土曜 here too, as its check box does.
            const bool weekday =
                std::find(weekdayNames.begin() + 1, weekdayNames.end(), n) != weekdayNames.end();
            shown << (weekday ? q(n) + QStringLiteral("曜") : q(n));
        }
        auto* item =
            new QListWidgetItem(QStringLiteral("%1　%2").arg(dayText(m.date, m.weekday),
                                                             shown.join(QStringLiteral("・"))),
                                results_);
        item->setData(Qt::UserRole, QDate(m.date.year, m.date.month, m.date.day));
    }
    results_->setUpdatesEnabled(true);
    save_->setEnabled(!state_->result->days.empty() && !state_->save);
    emit searchFinished();
}

bool DaySearchWindow::saveCalendar(const QString& path) {
    if (!state_->query || state_->result->days.empty() || state_->save) {
        return false; // nothing found (a calendar needs at least one day), still searching, or
                      // a save under way
    }
    auto job = std::make_shared<SaveJob>();
    job->window = this;
    state_->save = job;
    save_->setEnabled(false);
    progress_ = new QProgressDialog(QStringLiteral("「%1」に保存しています…").arg(path),
                                    QStringLiteral("キャンセル"), 0, 100, this);
    progress_->setObjectName(QStringLiteral("saveProgress"));
    progress_->setWindowTitle(QStringLiteral("iCalendar に保存"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(300);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setValue(0);
    connect(progress_, &QProgressDialog::canceled, this, &DaySearchWindow::cancelSave);
    // The file is written beside the window, which stays free: from the days and the query
    // of the list shown when the save began, in pieces of about a megabyte, into a temporary
    // file put in place only when whole.
    std::thread([job, path, query = *state_->query, result = state_->result] {
        QString problem;
        QString detail;
        bool cancelled = false;
        try {
            AtomicFileWriter file(dialogPath(path, path.toStdString()),
                                  [job] { return job->cancelled.load(); });
            std::string buffer;
            exports::FindCalendarWriter writer(query, std::time(nullptr),
                                               [&](std::string_view piece) {
                                                   buffer += piece;
                                                   if (buffer.size() >= (1u << 20)) {
                                                       file.write(buffer);
                                                       buffer.clear();
                                                   }
                                               });
            const std::size_t total = result->days.size();
            int shown = 0;
            for (std::size_t i = 0; i < total; ++i) {
                writer.day(result->days[i]);
                const int percent = static_cast<int>(i * 100 / total);
                if (percent != shown) {
                    shown = percent;
                    job->report([percent](DaySearchWindow* w) { w->showSaveProgress(percent); });
                }
            }
            writer.finish();
            file.write(buffer);
            file.commit();
        } catch (const FileWriteError& e) {
            cancelled = e.error() == ECANCELED;
            problem = QStringLiteral("「%1」に保存できませんでした。").arg(path);
            detail = japaneseWriteReason(e);
        } catch (const std::exception& e) {
            problem = QStringLiteral("「%1」に保存できませんでした。").arg(path);
            detail = QString::fromStdString(e.what());
        }
        job->ended = true;
        job->report([problem, detail, cancelled](DaySearchWindow* w) {
            w->finishSave(problem, detail, cancelled);
        });
    }).detach();
    return true;
}

void DaySearchWindow::cancelSave() {
    if (state_->save) {
        state_->save->cancelled = true;
        progress_->setLabelText(QStringLiteral("保存をやめています…"));
    }
}

bool DaySearchWindow::saving() const {
    return state_->save != nullptr;
}

void DaySearchWindow::showSaveProgress(int percent) {
    if (progress_ != nullptr) {
        progress_->setValue(percent);
    }
}

void DaySearchWindow::finishSave(const QString& problem, const QString& detail, bool cancelled) {
    state_->save.reset();
    if (progress_ != nullptr) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    save_->setEnabled(!state_->result->days.empty());
    if (cancelled) {
        notice_->setText(QStringLiteral("保存をやめました。元のファイルはそのままです。"));
    } else if (!problem.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("日を探す"), problem, QMessageBox::Ok,
                        this);
        box.setObjectName(QStringLiteral("saveError"));
        box.setInformativeText(QStringLiteral(
            "フォルダーがあるか、書き込めるかを確かめてください。元のファイルはそのままです。"));
        box.setDetailedText(detail);
        emit saveFinished(false);
        box.exec();
        return;
    }
    emit saveFinished(problem.isEmpty() && !cancelled);
}

void DaySearchWindow::saveAs() {
    // The file is named by what was asked for: 大安（三隣亡を除く）の日.ics.
    const QString name = state_->query
                             ? q(daysearch::queryInWords(*state_->query)) + QStringLiteral(".ics")
                             : QStringLiteral("日を探す.ics");
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("iCalendar に保存"), name,
                                     QStringLiteral("iCalendar ファイル (*.ics)"));
    if (!path.isEmpty()) {
        saveCalendar(path);
    }
}

} // namespace sorvane::ui
