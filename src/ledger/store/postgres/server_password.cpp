// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/server_password.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <memory>

#include "ledger/base/ledger_error.h"
#include "ledger/store/postgres/libpq_on_demand.h"
#include "ledger/store/server_address.h"

namespace ledger {

namespace {

struct Options {
    void operator()(PQconninfoOption* options) const { libpq().PQconninfoFree(options); }
};
using ParsedOptions = std::unique_ptr<PQconninfoOption, Options>;

ParsedOptions parse(const QString& address) {
    char* error = nullptr;
    ParsedOptions options(libpq().PQconninfoParse(address.toUtf8().constData(), &error));
    if (!options) {
        const QString why = QString::fromUtf8(error ? error : "").trimmed();
        libpq().PQfreemem(error);
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The server address %1 cannot be read (%2). Write it as "
                            "postgresql://USER@HOST:PORT/DATABASE.")
                 .arg(displayName(address), why));
    }
    return options;
}

QString optionOf(const ParsedOptions& options, const char* keyword) {
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o)
        if (qstrcmp(o->keyword, keyword) == 0 && o->val) return QString::fromUtf8(o->val);
    return {};
}

QString loginName() {
    if (const QString user = qEnvironmentVariable("PGUSER"); !user.isEmpty()) return user;
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

// A field of a password file line: ':' and '\' written behind a backslash.
QString field(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return escaped;
}

// The line's first four fields as written, for finding the same account.
QString accountOfLine(const QString& line) {
    int fields = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('\\')) {
            ++i;
        } else if (line[i] == QLatin1Char(':') && ++fields == 4) {
            return line.left(i + 1);
        }
    }
    return {};
}

}  // namespace

ServerLogin splitServerLogin(const QString& address) {
    const ParsedOptions options = parse(address);
    return {displayName(address), optionOf(options, "password")};
}

QString addressWithPassword(const QString& address, const QString& password) {
    if (password.isEmpty()) return address;
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(password));
    const qsizetype fragment = address.indexOf(QLatin1Char('#'));
    const QString base = fragment < 0 ? address : address.left(fragment);
    return base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
           QStringLiteral("password=") + encoded;
}

QString serverPasswordFile() {
    if (const QString file = qEnvironmentVariable("PGPASSFILE"); !file.isEmpty()) return file;
    return QDir::homePath() + QStringLiteral("/.pgpass");
}

void rememberServerPassword(const QString& address, const QString& password) {
    const ParsedOptions options = parse(address);
    QString host = optionOf(options, "host");
    if (host.isEmpty()) host = qEnvironmentVariable("PGHOST");
    // A host given (a name or a socket folder) is matched as written; none
    // given is matched as "localhost".
    if (host.isEmpty()) host = QStringLiteral("localhost");
    QString port = optionOf(options, "port");
    if (port.isEmpty()) port = qEnvironmentVariable("PGPORT");
    if (port.isEmpty()) port = QStringLiteral("5432");  // libpq's own default
    QString user = optionOf(options, "user");
    if (user.isEmpty()) user = loginName();
    QString database = optionOf(options, "dbname");
    if (database.isEmpty()) database = qEnvironmentVariable("PGDATABASE");
    if (database.isEmpty()) database = user;
    const QString account =
        QStringList{field(host), field(port), field(database), field(user)}.join(QLatin1Char(':')) +
        QLatin1Char(':');

    const QString path = serverPasswordFile();
    const QString shown = QDir::toNativeSeparators(path);
    QStringList lines;
    if (QFile old(path); old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            fail(ErrorCode::StoreFailure, QStringLiteral("Cannot read the password file %1: %2.")
                                              .arg(shown, old.errorString()));
        lines = QString::fromUtf8(old.readAll()).split(QLatin1Char('\n'));
        while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    }
    lines.removeIf([&](const QString& line) { return accountOfLine(line) == account; });
    lines << account + field(password);
    const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();

    // libpq ignores a password file others may read: it is the owner's alone.
    QSaveFile file(path);
    QString why;
    if (!file.open(QIODevice::WriteOnly)) {
        why = file.errorString();
    } else if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
    } else if (file.write(text) != text.size() || !file.commit()) {
        why = file.errorString();
    }
    if (why.isEmpty()) return;
    file.cancelWriting();
    fail(ErrorCode::StoreFailure,
         QStringLiteral("Cannot keep the password in %1: %2. It was not kept.").arg(shown, why));
}

}  // namespace ledger
