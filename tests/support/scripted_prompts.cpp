// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include "forms/workspace.h"

ScriptedPrompts::ScriptedPrompts() { forms::setPrompts(this); }
ScriptedPrompts::~ScriptedPrompts() {
    // A test's workspace outlives its prompts; only our own entry goes.
    if (forms::workspace().installedPrompts() == this) forms::setPrompts(nullptr);
}

QString ScriptedPrompts::input(QWidget*, const QString& message, const QString& title,
                               const QString& preset) {
    inputsAsked.push_back({message, title, preset});
    if (inputAnswers.empty()) return {};
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::askYesNo(QWidget*, const QString& message, const QString& title) {
    yesNoAsked.push_back({message, title, {}});
    if (yesNoAnswers.empty()) {
        ADD_FAILURE() << "unexpected Yes/No box: " << message.toStdString();
        return false;
    }
    bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::askYesNoDefaultNo(QWidget* parent, const QString& message,
                                        const QString& title) {
    defaultNoAsked.push_back({message, title, {}});
    return askYesNo(parent, message, title);
}

int ScriptedPrompts::choose(QWidget*, const QString& message, const QString&,
                            const QStringList& buttons, int defaultIndex, int escapeIndex) {
    choicesAsked.push_back(
        {message, buttons, buttons.value(defaultIndex), buttons.value(escapeIndex)});
    if (choiceAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << message.toStdString();
        return escapeIndex;
    }
    const QString answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    const int at = static_cast<int>(buttons.indexOf(answer));
    if (at < 0) {
        ADD_FAILURE() << "no button \"" << answer.toStdString()
                      << "\" in: " << message.toStdString();
        return escapeIndex;
    }
    return at;
}

void ScriptedPrompts::tell(QWidget*, const QString& message, const QString& title) {
    told << title + QLatin1Char('|') + message;
    toldTexts << message;
}

QString ScriptedPrompts::saveFileName(QWidget*, const QString& title, const QString& suggested,
                                      const QString& filters) {
    filesAsked.push_back({filters, title, suggested});
    if (fileAnswers.empty()) return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}
