// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form_window.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "forms/data_control.h"
#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "forms/screen_fit.h"
#include "forms/workspace.h"
#include "ledger/records/record_source.h"

namespace forms {

FormWindow::FormWindow(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    workspace().enter(this);
}

FormWindow::~FormWindow() { workspace().leave(this); }

void FormWindow::showEvent(QShowEvent* event) {
    if (!fitted_ && !event->spontaneous()) {
        fitted_ = true;
        // Laid out in twips for the shop's screens; a scaled desktop or a
        // small screen must still reach every control.
        fitToScreen(this);
    }
    QWidget::showEvent(event);
}

void FormWindow::load() {
    if (loaded_) return;
    loaded_ = true;
    // Loading may run inside another window's button handler; its failures
    // are reported here so the window is never left half loaded.
    runReporting(this, [this] { loadStep(); });
    // The record sources open right after the load step; one that cannot
    // open is reported and leaves its fields empty.
    for (DataControl* data : findChildren<DataControl*>())
        runReporting(this, [data] { data->source().open(); });
}

bool FormWindow::storeOrGiveUpEdits(ledger::RecordSource& source) {
    QString why;
    try {
        source.writeBack();
        return true;
    } catch (const ledger::LedgerError& error) {
        // Answered No to storing it: the user knows why, and still decides
        // whether to close without it.
        if (error.code() != ledger::ErrorCode::CancelledByUser) why = errorText(error);
    } catch (const std::exception& error) {
        why = errorText(error);
    } catch (...) {
        why = QStringLiteral("Unexpected error.");
    }
    // Edits that cannot be stored (a read-only or replaced file, a full disk,
    // text a column cannot take) must neither trap the user in the window
    // nor vanish unseen: the user decides, and keeping them is the default.
    const QString keep = QStringLiteral("\n(No keeps the window open with the typed text.)");
    const QString question =
        why.isEmpty() ? QStringLiteral(
                            "What was typed in this window was not stored. Close the window "
                            "without it?") +
                            keep
                      : why +
                            QStringLiteral(
                                "\n\nWhat was typed in this window cannot be stored. Close "
                                "the window without it?") +
                            keep;
    if (!prompts().askYesNoDefaultNo(this, question, programTitle())) return false;
    source.discardEdits();
    return true;
}

bool FormWindow::unload() {
    if (unloading_) return true;
    if (!readyToUnload()) return false;
    if (unloading_) return true;  // settling it closed the window already
    const auto sources = findChildren<DataControl*>();
    for (DataControl* data : sources)
        if (!storeOrGiveUpEdits(data->source())) return false;
    // Everything to store is stored or given up: closing cannot lose more.
    for (DataControl* data : sources) {
        try {
            data->source().close();
        } catch (...) {
        }
    }
    unloading_ = true;
    // A newer window of the same name may have taken the name meanwhile.
    workspace().leave(this);
    close();
    // A window that was loaded but never shown gets no close event of its
    // own; it goes all the same (deleteLater is safe to call twice).
    deleteLater();
    return true;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    unload();
}

void FormWindow::registerFactory(const QString& name, std::function<FormWindow*()> factory) {
    workspace().registerFactory(name, std::move(factory));
}

bool FormWindow::canCreate(const QString& name) { return bool(workspace().factory(name)); }

FormWindow* FormWindow::find(const QString& name) { return workspace().find(name); }

FormWindow* FormWindow::loadWindow(const QString& name) {
    if (FormWindow* open = find(name)) return open;
    auto factory = workspace().factory(name);
    if (!factory) return nullptr;
    FormWindow* window = factory();
    window->load();
    return window;
}

}  // namespace forms
