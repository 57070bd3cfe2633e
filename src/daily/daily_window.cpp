// The daily window's load step and commands: Inquiry, New, Save, Print and
// the buttons that open the other windows.

#include "daily/daily_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "daily/daily_figures.h"
#include "forms/bound_line_edit.h"
#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/layout_units.h"
#include "forms/prompts.h"
#include "forms/window_printer.h"
#include "interfaces/sheet_commands.h"
#include "interfaces/window_names.h"
#include "ledger/base/ledger_error.h"
#include "ledger/location/program_folder.h"
#include "ledger/query/criteria.h"
#include "ledger/query/typed_text.h"
#include "ledger/records/record_source.h"

namespace daily {

using ledger::ui::FormWindow;

namespace {

// The date field turns this colour at the first Save and keeps it.
constexpr quint32 kSavedDateColour = 1000;

// Text criteria are built by plain concatenation, blanks as the shop's
// program has them; an apostrophe in the typed text makes the criterion
// malformed, which the record source reports.
QString dateCriterion(const QString& date) {
    return QStringLiteral("Date like  '") + date + QLatin1Char('\'');
}

// How a button opens its window.
enum class Opening {
    OnThisDay,           // show, then press its "By here day" (Command1)
    Show,                // show it
    ShowAndLockInquiry,  // show it, then disable Inquiry for good
};

// Loads the window if it is not loaded (hidden at first), then shows it in
// front, non-modal.
FormWindow* showWindow(const QString& name) {
    FormWindow* window = FormWindow::loadWindow(name);
    if (!window)
        ledger::fail(ledger::ErrorCode::InvalidOperation,
                     QStringLiteral("The window %1 is not part of this program.").arg(name));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace

struct Form1::WindowButton {
    QPushButton* button;
    const char* window;
    Opening opening;
};

Form1::Form1() : FormWindow(QStringLiteral("Form1")) {
    buildControls();
    figures_ = std::make_unique<DailyFigures>(this, figureControls_);
    figures_->connectReactions();
    connectCommands();
}

Form1::~Form1() = default;

QLineEdit* Form1::dateField() const { return fields_.date; }
QLineEdit* Form1::personnelRateField() const { return fields_.personnelRate; }
QLineEdit* Form1::tablewareField() const { return fields_.tableware; }
QLineEdit* Form1::shopArticlesField() const { return fields_.shopArticles; }

std::vector<Form1::WindowButton> Form1::windowButtons() const {
    return {{tablewareDetail_, "Form2", Opening::OnThisDay},
            {shopArticlesDetail_, "Form3", Opening::OnThisDay},
            {monthly_, "Form4", Opening::Show},
            {wages_, "Form5", Opening::ShowAndLockInquiry},
            {staffRegister_, "Form6", Opening::Show},
            {salary_, "Form7", Opening::Show}};
}

void Form1::loadStep() {
    data1_->source().setDatabasePath(ledger::databasePath());
    adaptToScreenDensity();
    enableWindowButtons();
    // The record source opens after this step: the fields are still empty,
    // so every figure shows 0 until the first day fills them.
    figures_->recalculateAll();
}

void Form1::enableWindowButtons() {
    // A button whose window this program cannot create stays disabled rather
    // than doing nothing when pressed.
    for (const WindowButton& b : windowButtons())
        b.button->setEnabled(FormWindow::canCreate(QString::fromUtf8(b.window)));
}

void Form1::connectCommands() {
    using ledger::ui::connectGuarded;
    connectGuarded(inquiry_, &QPushButton::clicked, this, [this] { inquiry(); });
    connectGuarded(new_, &QPushButton::clicked, this, [this] { beginNewDay(); });
    connectGuarded(save_, &QPushButton::clicked, this, [this] { saveDay(); });
    connectGuarded(print_, &QPushButton::clicked, this, [this] { printSheet(); });
    // The year at a glance has no button on the shop's sheet: Ctrl+G opens it.
    auto* yearAtAGlance = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connectGuarded(yearAtAGlance, &QShortcut::activated, this,
                   [] { showWindow(windows::kYearAtAGlance); });

    for (const WindowButton& b : windowButtons()) {
        const QString name = QString::fromUtf8(b.window);
        const Opening opening = b.opening;
        connectGuarded(b.button, &QPushButton::clicked, this, [this, name, opening] {
            FormWindow* window = showWindow(name);
            if (opening == Opening::OnThisDay) {
                auto* sheet = dynamic_cast<supplies::SheetCommands*>(window);
                if (!sheet)
                    ledger::fail(
                        ledger::ErrorCode::InvalidOperation,
                        QStringLiteral("The window %1 has no command to find a day.").arg(name));
                sheet->byHereDayButton()->click();
            } else if (opening == Opening::ShowAndLockInquiry) {
                // Nothing enables Inquiry again while this window exists.
                inquiry_->setEnabled(false);
            }
        });
    }
}

void Form1::inquiry() {
    ledger::RecordSource& days = data1_->source();
    // The current row is remembered before the user is asked: on an empty
    // ledger there is none, and the command ends here.
    days.bookmark();
    const QString answer = ledger::withoutOuterBlanks(ledger::ui::prompts().input(
        this, QStringLiteral("Please input date"), QStringLiteral("Inquiry"), QString()));
    ledger::guardedFind(days, dateCriterion(answer));
}

void Form1::beginNewDay() {
    if (!ledger::ui::prompts().askYesNo(this, QStringLiteral("Whether fix and increase newly!"),
                                        ledger::ui::programTitle()))
        return;
    data1_->source().addNew();
}

void Form1::saveDay() {
    // The date as typed, blanks included: the find after storing looks for
    // exactly that text.
    const QString date = dateField()->text();
    ledger::RecordSource& days = data1_->source();
    const QString criterion = dateCriterion(date);
    if (ledger::Criterion::isWellFormed(criterion)) {
        days.refresh();
        // An empty ledger has no day to show again.
        if (days.hasCurrentRow()) ledger::guardedFind(days, criterion);
    } else {
        // A date with an apostrophe or a bracket cannot be searched for. The
        // day is stored all the same; show that very row, not the first day
        // and an error that would invite typing it in again.
        days.writeBack();
        const ledger::Bookmark stored = days.bookmark();
        days.refresh();
        days.setBookmark(stored);
    }
    ledger::ui::setForeground(dateField(), kSavedDateColour);
}

void Form1::printSheet() { ledger::ui::printWindow(this); }

}  // namespace daily
