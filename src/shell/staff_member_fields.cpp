// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/staff_member_fields.h"

#include <QFormLayout>
#include <QLineEdit>

#include "forms/prompts.h"

namespace shell {

namespace {

QLineEdit* passwordField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    return field;
}

}  // namespace

StaffMemberFields::StaffMemberFields(QWidget* parent)
    : QWidget(parent),
      name_(new QLineEdit(this)),
      password_(passwordField(QStringLiteral("staffPassword"), this)),
      again_(passwordField(QStringLiteral("staffPasswordAgain"), this)) {
    name_->setObjectName(QStringLiteral("staffName"));
    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addRow(QStringLiteral("Name of the first member of staff:"), name_);
    layout->addRow(QStringLiteral("Password:"), password_);
    layout->addRow(QStringLiteral("The same password again:"), again_);
    setFocusProxy(name_);
}

QString StaffMemberFields::name() const { return name_->text().trimmed(); }

QString StaffMemberFields::password() const { return password_->text(); }

bool StaffMemberFields::confirmWithUser() {
    auto& prompts = forms::prompts();
    const QString title = forms::programTitle();
    if (name().isEmpty()) {
        prompts.tell(this,
                     QStringLiteral("Type the name of the first member of staff: the login "
                                    "window lists the staff by name."),
                     title);
        name_->setFocus();
        return false;
    }
    if (password_->text() != again_->text()) {
        prompts.tell(
            this, QStringLiteral("The two passwords differ. Type the same password twice."), title);
        password_->clear();
        again_->clear();
        password_->setFocus();
        return false;
    }
    if (password_->text().isEmpty() &&
        !prompts.askYesNoDefaultNo(
            this,
            QStringLiteral("No password was typed: anyone at this computer could log in as %1. "
                           "Go on without a password?")
                .arg(name()),
            title)) {
        password_->setFocus();
        return false;
    }
    return true;
}

}  // namespace shell
