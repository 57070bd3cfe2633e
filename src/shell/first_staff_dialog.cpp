// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/first_staff_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/error_boundary.h"
#include "forms/prompts.h"
#include "ledger/store/server_address.h"
#include "setup/staff_member.h"
#include "shell/staff_member_fields.h"

namespace shell {

namespace {

QString shownName(const QString& database) {
    return QDir::toNativeSeparators(ledger::displayName(database));
}

}  // namespace

FirstStaffDialog::FirstStaffDialog(const QString& database, QWidget* parent)
    : QDialog(parent), database_(database), fields_(new StaffMemberFields(this)) {
    setObjectName(QStringLiteral("FirstStaffMember"));
    setWindowTitle(QStringLiteral("Add the first member of staff"));
    auto* layout = new QVBoxLayout(this);
    auto* why = new QLabel(
        QStringLiteral("The staff register of the books %1 has nobody in it yet, so nobody can "
                       "log in. Add the first member of staff:")
            .arg(shownName(database)),
        this);
    why->setWordWrap(true);
    layout->addWidget(why);
    layout->addWidget(fields_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* addButton =
        buttons->addButton(QStringLiteral("Add"), QDialogButtonBox::AcceptRole);
    addButton->setObjectName(QStringLiteral("add"));
    addButton->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    // The buttons' own accept would close the window before the member is
    // stored; Add stores first and closes only when that worked.
    forms::connectGuarded(addButton, &QPushButton::clicked, this, [this] { add(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    fields_->setFocus();
}

void FirstStaffDialog::add() {
    if (!fields_->confirmWithUser()) return;
    setup::addStaffMember(database_, fields_->name(), fields_->password());
    accept();
}

bool offerFirstStaffMember(QWidget* parent, const QString& database) {
    FirstStaffDialog dialog(database, parent);
    if (forms::execModal(dialog) == QDialog::Accepted) return true;
    forms::tell(parent, QStringLiteral(
                            "The staff register in %1 has nobody in it yet, so nobody can log in. "
                            "Press Login to add the first member of staff, or add one from a "
                            "terminal with\n  tallowbrook-db add-staff \"%1\" NAME")
                            .arg(shownName(database)));
    return false;
}

}  // namespace shell
