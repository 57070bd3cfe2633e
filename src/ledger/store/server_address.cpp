// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/server_address.h"

#include <QRegularExpression>
#include <QUrl>
#include <memory>
#include <vector>

#include "ledger/store/postgres/libpq_on_demand.h"

namespace ledger {

namespace {

struct Option {
    QString keyword, value;
    bool secret = false;  // libpq shows it as "*" in a dialog: a password
};

struct FreeOptions {
    void operator()(PQconninfoOption* options) const { libpq().PQconninfoFree(options); }
};

// What libpq reads in an address, in libpq's order; nothing when it cannot
// read it. libpq's complaint is dropped unread: it may quote the address.
bool parse(const QString& name, std::vector<Option>& out) {
    char* complaint = nullptr;
    std::unique_ptr<PQconninfoOption, FreeOptions> options(
        libpq().PQconninfoParse(libpqAddress(name).toUtf8().constData(), &complaint));
    libpq().PQfreemem(complaint);
    if (!options) return false;
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
        if (!o->val) continue;
        out.push_back({QString::fromUtf8(o->keyword), QString::fromUtf8(o->val),
                       o->dispchar && qstrcmp(o->dispchar, "*") == 0});
    }
    return true;
}

QString encoded(const QString& text, const QByteArray& keep) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

}  // namespace

bool isServerAddress(const QString& name) {
    return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString libpqAddress(const QString& name) {
    if (!isServerAddress(name)) return name;
    const qsizetype schemeEnd = name.indexOf(QLatin1String("://"));
    return name.left(schemeEnd).toLower() + name.mid(schemeEnd);
}

namespace {

bool readable(const std::vector<Option>& options) {
    static const QRegularExpression portList(QStringLiteral("^[0-9]*(,[0-9]*)*$"));
    for (const Option& o : options) {
        if (o.keyword == QLatin1String("host") && o.value.contains(QLatin1Char('@'))) return false;
        if (o.keyword == QLatin1String("port") && !portList.match(o.value).hasMatch()) return false;
        if (o.keyword == QLatin1String("dbname") &&
            (o.value.contains(QLatin1Char('@')) || o.value.contains(QLatin1Char('/'))))
            return false;
    }
    return true;
}

}  // namespace

bool isReadableAddress(const QString& name) {
    std::vector<Option> options;
    return isServerAddress(name) && parse(name, options) && readable(options);
}

QString displayName(const QString& name) {
    if (!isServerAddress(name)) return name;
    const QString scheme = name.left(name.indexOf(QLatin1String("://"))).toLower();
    std::vector<Option> options;
    // Not a server address itself, so shown again it stays the same.
    if (!parse(name, options) || !readable(options))
        return QStringLiteral("(a %1:// address that cannot be read)").arg(scheme);

    // Rebuilt from the parts: user@host:port/database?the other options.
    QString user, host, port, database;
    QStringList query;
    for (const Option& o : options) {
        if (o.secret) continue;
        if (o.keyword == QLatin1String("user")) {
            user = o.value;
        } else if (o.keyword == QLatin1String("host")) {
            host = o.value;
        } else if (o.keyword == QLatin1String("port")) {
            port = o.value;
        } else if (o.keyword == QLatin1String("dbname")) {
            database = o.value;
        } else {
            query << o.keyword + QLatin1Char('=') + encoded(o.value, "/:@!$'()*+,;");
        }
    }
    // One plain host (a name or an address) stands in the address itself;
    // a socket folder or a list of hosts goes among the options.
    const bool plainHost = !host.isEmpty() && !host.contains(QLatin1Char(',')) &&
                           !host.contains(QLatin1Char('/')) && !port.contains(QLatin1Char(','));
    QString authority;
    if (!user.isEmpty()) authority = encoded(user, "!$'()*+,;=") + QLatin1Char('@');
    if (plainHost) {
        authority += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']')
                                                     : encoded(host, "");
        if (!port.isEmpty()) authority += QLatin1Char(':') + encoded(port, "");
    } else {
        QStringList placed;
        if (!host.isEmpty()) placed << QStringLiteral("host=") + encoded(host, "/:@!$'()*+,;");
        if (!port.isEmpty()) placed << QStringLiteral("port=") + encoded(port, ",");
        query = placed + query;
    }
    QString shown = scheme + QStringLiteral("://") + authority;
    if (!database.isEmpty()) shown += QLatin1Char('/') + encoded(database, "!$'()*+,;=:@");
    if (!query.isEmpty()) {
        if (database.isEmpty()) shown += QLatin1Char('/');
        shown += QLatin1Char('?') + query.join(QLatin1Char('&'));
    }
    return shown;
}

QStringList secretsOf(const QString& name) {
    QStringList secrets;
    std::vector<Option> options;
    if (!isServerAddress(name) || !parse(name, options)) return secrets;
    for (const Option& o : options)
        if (o.secret && !o.value.isEmpty()) secrets << o.value;
    return secrets;
}

}  // namespace ledger
