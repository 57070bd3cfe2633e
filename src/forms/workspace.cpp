// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/workspace.h"

#include <QCoreApplication>
#include <QEvent>

#include "forms/data_control.h"
#include "forms/form_window.h"
#include "forms/prompts.h"
#include "ledger/base/ledger_error.h"
#include "ledger/records/record_source.h"

namespace forms {

namespace {
Workspace* inForce = nullptr;
}

Workspace::Workspace() : previous_(inForce) { inForce = this; }

Workspace::~Workspace() {
    for (FormWindow* window : openWindows()) delete window;
    inForce = previous_;
}

Workspace& Workspace::current() {
    // A window without a workspace would open books nobody chose and keep
    // state nobody cleans up: a mistake of the program, never of the user.
    if (!inForce) qFatal("No workspace: the program makes one in main before any window");
    return *inForce;
}

const QString& Workspace::books() const {
    if (books_.isEmpty())
        ledger::fail(
            ledger::ErrorCode::FileNotFound,
            QStringLiteral("No books were chosen for the windows to open. Start the program "
                           "again."));
    return books_;
}

Prompts& Workspace::prompts() { return prompts_ ? *prompts_ : dialogPrompts(); }

void Workspace::setPrompts(Prompts* replacement) { prompts_ = replacement; }

void Workspace::registerFactory(const QString& name, std::function<FormWindow*()> factory) {
    factories_.insert(name, std::move(factory));
}

std::function<FormWindow*()> Workspace::factory(const QString& name) const {
    return factories_.value(name);
}

FormWindow* Workspace::find(const QString& name) const { return windows_.value(name).data(); }

void Workspace::enter(FormWindow* window) { windows_.insert(window->objectName(), window); }

void Workspace::leave(FormWindow* window) {
    const auto entry = windows_.constFind(window->objectName());
    if (entry != windows_.cend() && (entry->isNull() || entry->data() == window))
        windows_.remove(window->objectName());
}

QList<FormWindow*> Workspace::openWindows() const {
    QList<FormWindow*> open;
    for (const QPointer<FormWindow>& window : windows_)
        if (window) open << window.data();
    return open;
}

void Workspace::closeAllWindows() {
    for (FormWindow* window : openWindows()) {
        for (DataControl* data : window->findChildren<DataControl*>())
            data->source().discardEdits();
        window->unload();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace forms
