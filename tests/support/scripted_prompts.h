// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "forms/prompts.h"

// Prompts that answer from a script and record what was asked and told.
// Installs itself for its lifetime.
class ScriptedPrompts : public forms::Prompts {
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    // Answers, used in order. An input with no scripted answer is cancelled
    // (empty text); a Yes/No with none fails the test.
    std::deque<QString> inputAnswers;
    std::deque<bool> yesNoAnswers;
    // Buttons to press in questions with buttons of their own, by caption.
    std::deque<QString> choiceAnswers;
    // File names for save dialogs, in order; none left: cancelled.
    std::deque<QString> fileAnswers;

    struct Asked {
        QString message, title, preset;
    };
    std::vector<Asked> inputsAsked;
    std::vector<Asked> yesNoAsked;
    // The Yes/No boxes whose default is No (asked before giving something up).
    std::vector<Asked> defaultNoAsked;
    struct Choice {
        QString message;
        QStringList buttons;
        QString defaultButton, escapeButton;
    };
    std::vector<Choice> choicesAsked;
    QStringList told;               // messages shown, "title|message"
    QStringList toldTexts;          // messages shown, message only
    std::vector<Asked> filesAsked;  // message: the filters, preset: the suggested name

    QString input(QWidget*, const QString& message, const QString& title,
                  const QString& preset) override;
    bool askYesNo(QWidget*, const QString& message, const QString& title) override;
    // Recorded in yesNoAsked too, and answered from the same script.
    bool askYesNoDefaultNo(QWidget*, const QString& message, const QString& title) override;
    // Unscripted, or a caption that is not offered, fails the test.
    int choose(QWidget*, const QString& message, const QString& title, const QStringList& buttons,
               int defaultIndex, int escapeIndex) override;
    void tell(QWidget*, const QString& message, const QString& title) override;
    QString saveFileName(QWidget*, const QString& title, const QString& suggested,
                         const QString& filters) override;
};
