// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/other_till.h"

#include <gtest/gtest.h>

OtherTill::OtherTill(const QString& probe, const QString& books) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(probe, {books});
    EXPECT_TRUE(process_.waitForStarted(30000)) << probe.toStdString();
    EXPECT_EQ(answer(), "ready");
}

OtherTill::~OtherTill() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(30000)) process_.kill();
}

void OtherTill::send(const QString& line) {
    process_.write((line + QLatin1Char('\n')).toUtf8());
    process_.waitForBytesWritten(30000);
}

QString OtherTill::answer() {
    while (!process_.canReadLine())
        if (!process_.waitForReadyRead(30000)) return QStringLiteral("(no answer)");
    return QString::fromUtf8(process_.readLine()).trimmed();
}
