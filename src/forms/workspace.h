// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <exception>
#include <functional>
#include <vector>

namespace forms {

class FormWindow;
class Prompts;

// Everything the windows of one running program share: the books they open,
// the prompts, how each window is created and which windows are open, the
// handlers running now, the wage-detail query, the printer settings and the
// screen density. The program makes one in main and
// each test makes its own, so nothing one test leaves behind reaches the
// next. While a workspace exists it is the one in force; a newer one takes
// over until it is destroyed.
class Workspace {
public:
    Workspace();
    // Windows still open go without storing anything more.
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The workspace in force. There is always one while a window exists: the
    // program makes it first thing in main, each test before it begins.
    static Workspace& current();

    // --- the books -----------------------------------------------------
    // The ledger every window opens (a file, or a server's address), found
    // once when the program starts; the Books window sets it again when the
    // user chooses other books before logging in. Throws LedgerError when
    // no books were set.
    const QString& books() const;
    void setBooks(const QString& address) { books_ = address; }

    // --- the wage-detail query -----------------------------------------
    // The SQL text the salary window's "Detail" composes and the detail grid
    // opens when it loads; empty at start.
    const QString& detailQueryText() const { return detailQueryText_; }
    void setDetailQueryText(const QString& text) { detailQueryText_ = text; }

    // --- prompts and message boxes -------------------------------------
    Prompts& prompts();
    void setPrompts(Prompts* replacement);  // nullptr: the real dialogs
    Prompts* installedPrompts() const { return prompts_; }

    // --- windows -------------------------------------------------------
    void registerFactory(const QString& name, std::function<FormWindow*()> factory);
    std::function<FormWindow*()> factory(const QString& name) const;
    // The open window of this name (the newest of them), or nullptr.
    FormWindow* find(const QString& name) const;
    // A window takes its name when it is made, and gives it up only if the
    // name is still its own: an older window of one kind closing must not
    // hide the newer one.
    void enter(FormWindow* window);
    void leave(FormWindow* window);
    QList<FormWindow*> openWindows() const;
    // Closes every open window without asking: edits not stored are given up.
    void closeAllWindows();

    // --- guarded handlers ----------------------------------------------
    // One entry per guarded handler running now, innermost last: the first
    // failure of a reaction it set off that has not been dealt with yet.
    std::vector<std::exception_ptr>& handlers() { return handlers_; }

    // --- printing ------------------------------------------------------
    struct PrinterSettings {
        QString pdfFolder;      // empty: the user's documents folder
        bool forcePdf = false;  // a PDF file even when a printer is set up
    };
    PrinterSettings& printer() { return printer_; }

    // --- screen density (tests pin it; 0: the screen's own) ------------
    struct ScreenOverrides {
        double twipsDpi = 0;  // logical dpi for twips
        double density = 0;   // pixels per inch the daily window adapts to
        QSize available;      // room a window may take on its screen (empty: the screen's own)
    };
    ScreenOverrides& screen() { return screen_; }

private:
    Workspace* previous_;
    QString books_;
    QString detailQueryText_;
    Prompts* prompts_ = nullptr;
    QHash<QString, std::function<FormWindow*()>> factories_;
    QHash<QString, QPointer<FormWindow>> windows_;
    std::vector<std::exception_ptr> handlers_;
    PrinterSettings printer_;
    ScreenOverrides screen_;
};

// The workspace in force.
inline Workspace& workspace() { return Workspace::current(); }

}  // namespace forms
