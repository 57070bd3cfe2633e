// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/who_writes.h"

#include <QSysInfo>

namespace ledger {

namespace {

struct OnDuty {
    QString name;
    quint64 mark = 0;
};

OnDuty& onDuty() {
    static OnDuty staff;
    return staff;
}

}  // namespace

void setStaffOnDuty(const QString& name) {
    onDuty().name = name;
    ++onDuty().mark;
}

QString staffOnDuty() { return onDuty().name; }

quint64 staffOnDutyMark() { return onDuty().mark; }

QString tillName() {
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? QStringLiteral("this till") : host;
}

}  // namespace ledger
