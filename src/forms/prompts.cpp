// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "forms/error_boundary.h"
#include "forms/workspace.h"

namespace forms {

namespace {

class DialogPrompts : public Prompts {
public:
    QString input(QWidget* parent, const QString& message, const QString& title,
                  const QString& preset) override {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(title.isEmpty() ? programTitle() : title);
        dialog.setLabelText(message);
        dialog.setTextValue(preset);
        // Enter accepts, Escape cancels: QInputDialog's own keys.
        if (execModal(dialog) != QDialog::Accepted) return {};
        return dialog.textValue();
    }

    bool askYesNo(QWidget* parent, const QString& message, const QString& title) override {
        return ask(parent, message, title, QMessageBox::Yes);
    }

    bool askYesNoDefaultNo(QWidget* parent, const QString& message, const QString& title) override {
        return ask(parent, message, title, QMessageBox::No);
    }

    int choose(QWidget* parent, const QString& message, const QString& title,
               const QStringList& buttons, int defaultIndex, int escapeIndex) override {
        QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? programTitle() : title, message,
                        QMessageBox::NoButton, parent);
        std::vector<QAbstractButton*> pressable;
        for (const QString& caption : buttons)
            pressable.push_back(box.addButton(caption, QMessageBox::ActionRole));
        box.setDefaultButton(static_cast<QPushButton*>(pressable.at(defaultIndex)));
        box.setEscapeButton(pressable.at(escapeIndex));
        execModal(box);
        for (size_t i = 0; i < pressable.size(); ++i)
            if (box.clickedButton() == pressable[i]) return static_cast<int>(i);
        return escapeIndex;
    }

    void tell(QWidget* parent, const QString& message, const QString& title) override {
        QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? programTitle() : title, message,
                        QMessageBox::Ok, parent);
        execModal(box);
    }

    QString saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QString& filters) override {
        QFileDialog dialog(parent, title.isEmpty() ? programTitle() : title, suggested, filters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (execModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().constFirst();
    }

private:
    static bool ask(QWidget* parent, const QString& message, const QString& title,
                    QMessageBox::StandardButton defaultButton) {
        QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? programTitle() : title, message,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(defaultButton);
        box.setEscapeButton(QMessageBox::No);
        return execModal(box) == QMessageBox::Yes;
    }
};

}  // namespace

Prompts& dialogPrompts() {
    // The dialogs keep no state: one serves every workspace.
    static DialogPrompts dialogs;
    return dialogs;
}

Prompts& prompts() { return workspace().prompts(); }

void setPrompts(Prompts* replacement) { workspace().setPrompts(replacement); }

QString programTitle() { return QStringLiteral("tallowbrook"); }

void tell(QWidget* parent, const QString& message) {
    prompts().tell(parent, message, programTitle());
}

}  // namespace forms
