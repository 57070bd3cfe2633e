// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

namespace ledger {
class RecordSource;
}

namespace forms {

class DataControl;

// Base of every window: the load step, its record sources opening after it,
// and unloading that stores pending edits first.
//
// Windows find each other by name (Form1 ... Form10) through the registry, the
// way they read and write each other's fields; the program registers how each
// window is created, so a window can open another without linking to it.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(const QString& objectName, QWidget* parent = nullptr);
    ~FormWindow() override;

    // Runs the load step, then opens every data control's record source (in
    // the order they were created). Errors are shown; the window stays usable.
    void load();
    bool isLoaded() const { return loaded_; }

    // Write-back and close of every record source, then the window is
    // destroyed. When pending edits cannot be stored the user is told why and
    // asked whether to close without them; No (the default) keeps the window
    // open with the typed text and returns false.
    bool unload();

    // The workspace's registry of loaded windows and of how to create each.
    static void registerFactory(const QString& name, std::function<FormWindow*()> factory);
    static bool canCreate(const QString& name);
    static FormWindow* find(const QString& name);        // loaded window or nullptr
    static FormWindow* loadWindow(const QString& name);  // find, or create and load (hidden)

protected:
    virtual void loadStep() {}
    // Asked first when the window is to unload (its close box, a command):
    // false keeps it open and nothing is stored. For what a window must
    // settle with the user before its write-back.
    virtual bool readyToUnload() { return true; }
    void closeEvent(QCloseEvent* event) override;
    // The first show fits the window to its screen (forms/screen_fit.h).
    void showEvent(QShowEvent* event) override;

private:
    bool storeOrGiveUpEdits(ledger::RecordSource& source);

    bool loaded_ = false;
    bool unloading_ = false;
    bool fitted_ = false;
};

}  // namespace forms
