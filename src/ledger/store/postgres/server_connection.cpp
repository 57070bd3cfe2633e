// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/store/postgres/server_connection.h"

#include <limits>

#include "ledger/base/ledger_error.h"
#include "ledger/store/postgres/libpq_on_demand.h"
#include "ledger/store/server_address.h"
#include "ledger/store/who_writes.h"

namespace ledger {

namespace {

// Type numbers of the server's numeric types (pg_type.h): every one of them
// comes back as a double, as amounts do from the file.
bool isNumberType(Oid type) {
    switch (type) {
        case 20:    // int8
        case 21:    // int2
        case 23:    // int4
        case 700:   // float4
        case 701:   // float8
        case 1700:  // numeric
            return true;
        default:
            return false;
    }
}

QByteArray parameterText(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            // 17 significant digits read back as the very same double.
            return QByteArray::number(v.toDouble(), 'g', 17);
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return QByteArray::number(v.toLongLong());
        default:
            return v.toString().toUtf8();
    }
}

// The server's notices (a table dropped in cascade, say) are no news for the
// user; errors come with the statement's own result. One thing is noted: the
// server saying, to an idle connection, that it ends the session (a restart,
// a terminated session), so the next statement goes to a new session.
void noteNotice(void* ended, const PGresult* notice) {
    const char* severity = libpq().PQresultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
    if (severity && (qstrcmp(severity, "FATAL") == 0 || qstrcmp(severity, "PANIC") == 0))
        *static_cast<bool*>(ended) = true;
}

// First line of libpq's message, without the trailing newline.
QString firstLine(const char* message) {
    QString text = QString::fromUtf8(message ? message : "").trimmed();
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    return newline < 0 ? text : text.left(newline).trimmed();
}

}  // namespace

void ServerConnection::Finish::operator()(pg_conn* c) const { libpq().PQfinish(c); }
void ServerConnection::Rows::Clear::operator()(pg_result* r) const { libpq().PQclear(r); }

int ServerConnection::Rows::count() const { return libpq().PQntuples(result_.get()); }
int ServerConnection::Rows::columns() const { return libpq().PQnfields(result_.get()); }

QVariant ServerConnection::Rows::value(int row, int column) const {
    if (libpq().PQgetisnull(result_.get(), row, column)) return {};
    const char* text = libpq().PQgetvalue(result_.get(), row, column);
    if (isNumberType(libpq().PQftype(result_.get(), column))) {
        // The server spells the three special doubles as words.
        if (qstrcmp(text, "Infinity") == 0) return std::numeric_limits<double>::infinity();
        if (qstrcmp(text, "-Infinity") == 0) return -std::numeric_limits<double>::infinity();
        if (qstrcmp(text, "NaN") == 0) return std::numeric_limits<double>::quiet_NaN();
        return QByteArray(text).toDouble();
    }
    return QString::fromUtf8(text, libpq().PQgetlength(result_.get(), row, column));
}

QString ServerConnection::Rows::text(int row, int column) const {
    return QString::fromUtf8(libpq().PQgetvalue(result_.get(), row, column));
}

QByteArray ServerConnection::Rows::bytes(int row, int column) const {
    return QByteArray(libpq().PQgetvalue(result_.get(), row, column),
                      libpq().PQgetlength(result_.get(), row, column));
}

qint64 ServerConnection::Rows::number(int row, int column) const {
    return QByteArray(libpq().PQgetvalue(result_.get(), row, column)).toLongLong();
}

qint64 ServerConnection::Rows::changedCount() const {
    return QByteArray(libpq().PQcmdTuples(result_.get())).toLongLong();
}

ServerConnection::ServerConnection(const QString& address)
    : shown_(displayName(address)), address_(address), secrets_(secretsOf(address)) {
    if (!isReadableAddress(address))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The database server's address cannot be read, so nothing was opened. "
                            "Write it as postgresql://USER@HOST:PORT/DATABASE in the database= "
                            "line of tallowbrook.ini beside the program (or in the address given "
                            "to tallowbrook-db); in a user name or password write @ as %40, : as "
                            "%3A, / as %2F, ? as %3F, # as %23 and % as %25, or better keep the "
                            "password in ~/.pgpass."));
    const QByteArray uri = libpqAddress(address).toUtf8();
    // Keywords in order, later ones winning: defaults the URI may change (a
    // time limit, the name the server's activity list shows), the URI
    // itself, then what this program relies on.
    // A network that stops answering ends a statement within about half a
    // minute (TCP keepalives and a send time limit) rather than never.
    const char* keys[] = {"connect_timeout",
                          "application_name",
                          "keepalives_idle",
                          "keepalives_interval",
                          "keepalives_count",
                          "tcp_user_timeout",
                          "dbname",
                          "client_encoding",
                          nullptr};
    const char* values[] = {"10",    "tallowbrook",   "20",   "5",    "3",
                            "30000", uri.constData(), "UTF8", nullptr};
    conn_.reset(libpq().PQconnectdbParams(keys, values, 1));
    if (!conn_)
        fail(ErrorCode::StoreFailure, QStringLiteral("Out of memory opening '%1'.").arg(shown_));
    if (libpq().PQstatus(conn_.get()) != CONNECTION_OK) failConnecting();
    libpq().PQsetNoticeReceiver(conn_.get(), noteNotice, &sessionEnded_);
    prepareSession();
}

QString ServerConnection::shownDetail(const char* message) const {
    const QString line = firstLine(message);
    bool quotes = line.contains(address_, Qt::CaseInsensitive) ||
                  line.contains(libpqAddress(address_), Qt::CaseInsensitive);
    for (const QString& secret : secrets_) quotes = quotes || line.contains(secret);
    if (!quotes) return line;
    return QStringLiteral("the server's own words are not shown, as they quote the address");
}

void ServerConnection::failConnecting() const {
    const QString detail = shownDetail(libpq().PQerrorMessage(conn_.get()));
    // The server's own words; it answers in English unless set up otherwise.
    if (detail.contains(QLatin1String("database \"")) &&
        detail.contains(QLatin1String("does not exist")))
        fail(ErrorCode::FileNotFound,
             QStringLiteral("Could not find the database '%1' on the database server %2 (%3). "
                            "The server's administrator creates it (createdb NAME); then "
                            "make the shop's tables with: tallowbrook-db create \"%1\"")
                 .arg(shown_, serverName(), detail));
    // A password asked for and none given, or a user name or password the
    // server did not accept (it says the same for an unknown user).
    const bool refused = libpq().PQconnectionNeedsPassword(conn_.get()) ||
                         detail.contains(QLatin1String("authentication failed")) ||
                         (detail.contains(QLatin1String("role \"")) &&
                          detail.contains(QLatin1String("does not exist"))) ||
                         detail.contains(QLatin1String("pg_hba.conf"));
    if (refused)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The database server %1 refused the user name or password for '%2' "
                            "(%3). Check the user name in the database= line of tallowbrook.ini "
                            "(where the books are: tallowbrook --where) "
                            "(postgresql://USER@HOST/DATABASE) and the "
                            "password for that user in ~/.pgpass (HOST:PORT:DATABASE:USER:"
                            "PASSWORD), or ask the server's administrator; then start the "
                            "program again. Nothing was changed.")
                 .arg(serverName(), shown_, detail));
    // The address asks for TLS and the server takes none: trying again
    // would not help, the address or the server must change.
    if (detail.contains(QLatin1String("does not support SSL")))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The database server %1 refuses encrypted (TLS) connections, but the "
                            "address of '%2' asks for one (%3). Either the server's "
                            "administrator turns TLS on (ssl = on, with the server's "
                            "certificate), or, on a network the shop trusts, sslmode in the "
                            "database= line of tallowbrook.ini (tallowbrook --where shows it) "
                            "becomes prefer. Nothing was changed.")
                 .arg(serverName(), shown_, detail));
    // A server whose TLS certificate the address does not trust, at any of
    // the host's addresses (libpq says each on a line of its own): trying
    // again would not help, the address or the certificate must change.
    for (const QString& line : QString::fromUtf8(libpq().PQerrorMessage(conn_.get())).split('\n')) {
        const QString said = shownDetail(line.toUtf8().constData());
        if (line.contains(QLatin1String("does not match host name")))
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("The database server %1 answered, but its TLS certificate is not "
                                "made out to the host name in the address of '%2' (%3), so the "
                                "server was not trusted and nothing was sent to it. Write the "
                                "server's name as its certificate gives it (its administrator "
                                "knows it) as HOST in the database= line of tallowbrook.ini "
                                "(tallowbrook --where shows it): "
                                "postgresql://USER@HOST:PORT/DATABASE. Nothing was changed.")
                     .arg(serverName(), shown_, said));
        if (line.contains(QLatin1String("certificate verify failed")) ||
            line.contains(QLatin1String("root certificate file")))
            fail(ErrorCode::StoreFailure,
                 QStringLiteral("The database server %1 answered, but its TLS certificate could "
                                "not be checked against a certificate authority the address of "
                                "'%2' trusts (%3), so the server was not trusted and nothing was "
                                "sent to it. Ask the server's administrator for the certificate of "
                                "the authority that signed the server's, and name that file as "
                                "sslrootcert=PATH in the database= line of tallowbrook.ini "
                                "(tallowbrook --where shows it). Nothing was changed.")
                     .arg(serverName(), shown_, said));
    }
    if (detail.contains(QLatin1String("invalid port number")))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The address of '%1' is wrong: its port is no port number (%2). A "
                            "port is a number from 1 to 65535, the server's own (5432 unless "
                            "its administrator chose another); write it in the database= line "
                            "of tallowbrook.ini (tallowbrook --where shows it) as "
                            "postgresql://USER@HOST:PORT/DATABASE. Nothing was changed.")
                 .arg(shown_, detail));
    failUnreachable(detail);
}

ServerConnection::~ServerConnection() = default;

QString ServerConnection::serverName() const {
    const QString host = QString::fromUtf8(libpq().PQhost(conn_.get()));
    const QString port = QString::fromUtf8(libpq().PQport(conn_.get()));
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')))
        return QStringLiteral("on this computer (socket %1, port %2)")
            .arg(host.isEmpty() ? QStringLiteral("default") : host, port);
    return QStringLiteral("'%1' (port %2)").arg(host, port);
}

void ServerConnection::prepareSession() {
    // Shortest text that reads back as the same double (the default since
    // PostgreSQL 12; older servers need it said). A row another till holds
    // locked is waited for five seconds, as a file's lock is, and then
    // reported instead of freezing the window. Every transaction sees what
    // other tills committed before each of its statements (READ COMMITTED),
    // whatever default the server's administrator chose: a wage is added to
    // its day as stored now, and a till waiting for another's new day then
    // finds it, rather than failing or storing it twice.
    Rows r;
    r.result_.reset(libpq().PQexec(conn_.get(),
                                   "SET extra_float_digits = 3; SET lock_timeout = '5s'; "
                                   "SET default_transaction_isolation = 'read committed'"));
    if (libpq().PQresultStatus(r.result_.get()) != PGRES_COMMAND_OK)
        failFromServer(r, QStringLiteral("Cannot prepare the connection to '%1'").arg(shown_));
    signSession();
}

void ServerConnection::signSession() {
    signedMark_ = staffOnDutyMark();
    Rows r = sendOnce(QStringLiteral("SELECT set_config('tallowbrook.till', $1, false), "
                                     "set_config('tallowbrook.staff', $2, false)"),
                      {tillName(), staffOnDuty()});
    if (libpq().PQresultStatus(r.result_.get()) != PGRES_TUPLES_OK)
        failFromServer(r, QStringLiteral("Cannot prepare the connection to '%1'").arg(shown_));
}

void ServerConnection::failUnreachable(const QString& detail) const {
    fail(ErrorCode::StoreFailure,
         QStringLiteral("Cannot reach the database server %1 for '%2': %3. Nothing already "
                        "stored was changed and what was typed stays in the window; try again "
                        "when the server is running and the network is up.")
             .arg(serverName(), shown_, detail));
}

void ServerConnection::failFromServer(const Rows& result, const QString& doing) const {
    const PGresult* r = result.result_.get();
    const QString state =
        QString::fromLatin1(r ? libpq().PQresultErrorField(r, PG_DIAG_SQLSTATE) : "");
    QString detail =
        shownDetail(r ? libpq().PQresultErrorMessage(r) : libpq().PQerrorMessage(conn_.get()));
    if (detail.isEmpty()) detail = shownDetail(libpq().PQerrorMessage(conn_.get()));
    if (detail.startsWith(QLatin1String("ERROR:"))) detail = detail.mid(6).trimmed();
    const QString cls = state.left(2);
    if (state == QLatin1String("42501"))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot save: the database '%1' does not let this user write (%2). "
                            "Nothing already stored was changed. The server's administrator "
                            "must grant the shop's user the right to change the tables.")
                 .arg(shown_, detail));
    if (state == QLatin1String("53100"))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("Cannot save: the disk of the database server holding '%1' is full. "
                            "Nothing already stored was changed; free some space and try again.")
                 .arg(shown_));
    if (state == QLatin1String("40001") || state == QLatin1String("40P01") ||
        state == QLatin1String("55P03"))
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The database '%1' is in use by another program; try again in a "
                            "moment.")
                 .arg(shown_));
    if (cls == QLatin1String("XX"))
        fail(ErrorCode::NotADatabase,
             QStringLiteral("The database '%1' is damaged (%2).").arg(shown_, detail));
    if (cls == QLatin1String("08") || cls == QLatin1String("57") ||
        libpq().PQstatus(conn_.get()) == CONNECTION_BAD)
        failUnreachable(detail);
    fail(ErrorCode::StoreFailure, QStringLiteral("%1: %2").arg(doing, detail));
}

namespace {

// A statement's values as libpq takes them: texts, or no pointer for NULL.
class Parameters {
public:
    explicit Parameters(const std::vector<QVariant>& values) {
        texts_.reserve(values.size());
        pointers_.reserve(values.size());
        for (const QVariant& v : values) {
            if (v.isNull()) {
                texts_.emplace_back();
                pointers_.push_back(nullptr);
            } else {
                texts_.push_back(parameterText(v));
                pointers_.push_back(texts_.back().constData());
            }
        }
    }
    int count() const { return static_cast<int>(pointers_.size()); }
    const char* const* values() const { return pointers_.data(); }

private:
    std::vector<QByteArray> texts_;
    std::vector<const char*> pointers_;
};

}  // namespace

ServerConnection::Rows ServerConnection::sendOnce(const QString& sql,
                                                  const std::vector<QVariant>& values) {
    const Parameters parameters(values);
    Rows r;
    r.result_.reset(libpq().PQexecParams(conn_.get(), sql.toUtf8().constData(), parameters.count(),
                                         nullptr, parameters.values(), nullptr, nullptr, 0));
    return r;
}

namespace {
bool succeeded(const PGresult* r) {
    const ExecStatusType status = libpq().PQresultStatus(r);
    return r && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
}
}  // namespace

void ServerConnection::reconnect() {
    sessionEnded_ = false;
    libpq().PQreset(conn_.get());
    if (libpq().PQstatus(conn_.get()) != CONNECTION_OK) failConnecting();
    prepareSession();
}

ServerConnection::Rows ServerConnection::run(const QString& sql,
                                             const std::vector<QVariant>& values,
                                             const QString& doing, Resend resend) {
    if (inTransaction_) resend = Resend::Never;
    reconnectIfLost(resend);
    // A setting made inside a transaction would go with its rollback.
    if (!inTransaction_ && signedMark_ != staffOnDutyMark()) signSession();
    Rows r = sendOnce(sql, values);
    if (succeeded(r.result_.get())) return r;
    if (libpq().PQstatus(conn_.get()) != CONNECTION_BAD || resend == Resend::Never)
        failFromServer(r, doing);

    // Lost while it ran. An error the server sent (a restart, a terminated
    // session) means the statement was rolled back; silence means it may or
    // may not have been stored.
    const bool serverRefused =
        r.result_ && libpq().PQresultErrorField(r.result_.get(), PG_DIAG_SQLSTATE) != nullptr;
    const QString lost = shownDetail(r.result_ ? libpq().PQresultErrorMessage(r.result_.get())
                                               : libpq().PQerrorMessage(conn_.get()));
    reconnect();
    if (resend == Resend::IfServerRefused && !serverRefused)
        fail(ErrorCode::StoreFailure,
             QStringLiteral("The connection to the database server %1 was lost while saving "
                            "into '%2' (%3), so the server may or may not have stored it. The "
                            "text stays in the window; close the window and open it again to "
                            "see what was stored.")
                 .arg(serverName(), shown_, lost));
    r = sendOnce(sql, values);
    if (!succeeded(r.result_.get())) failFromServer(r, doing);
    r.sentAgain_ = true;
    return r;
}

void ServerConnection::reconnectIfLost(Resend resend) {
    // Lost before this statement (a server restarted, a session ended while
    // the program was idle): what the server said meanwhile is read first,
    // so the loss is known before anything of the statement is sent.
    // An error the server sends to an idle connection is taken as a notice
    // (PQisBusy parses it); the end of the connection that follows it is
    // seen by the next read. libpq's socket never blocks on these reads.
    if (libpq().PQstatus(conn_.get()) == CONNECTION_OK && libpq().PQconsumeInput(conn_.get())) {
        libpq().PQisBusy(conn_.get());
        libpq().PQconsumeInput(conn_.get());
    }
    if (libpq().PQstatus(conn_.get()) == CONNECTION_BAD || sessionEnded_) {
        if (resend == Resend::Never)
            failUnreachable(shownDetail(libpq().PQerrorMessage(conn_.get())));
        reconnect();
    }
}

void ServerConnection::stream(const QString& sql, const std::vector<QVariant>& values,
                              const QString& doing, const RowReader& read) {
    const Resend resend = inTransaction_ ? Resend::Never : Resend::Always;
    reconnectIfLost(resend);
    bool handedOver = false;
    std::optional<Rows> end = streamOnce(sql, values, read, handedOver);
    if (!end || succeeded(end->result_.get())) return;
    if (libpq().PQstatus(conn_.get()) != CONNECTION_BAD || resend == Resend::Never || handedOver)
        failFromServer(*end, doing);
    // Lost before the first row came: a read, so sent again on a new session.
    reconnect();
    end = streamOnce(sql, values, read, handedOver);
    if (end && !succeeded(end->result_.get())) failFromServer(*end, doing);
}

std::optional<ServerConnection::Rows> ServerConnection::streamOnce(
    const QString& sql, const std::vector<QVariant>& values, const RowReader& read,
    bool& handedOver) {
    const Parameters parameters(values);
    Rows end;
    if (!libpq().PQsendQueryParams(conn_.get(), sql.toUtf8().constData(), parameters.count(),
                                   nullptr, parameters.values(), nullptr, nullptr, 0))
        return end;  // not sent: the connection says why
    // Each row comes as a result of its own, as soon as it arrives.
    libpq().PQsetSingleRowMode(conn_.get());
    try {
        for (;;) {
            Rows next;
            next.result_.reset(libpq().PQgetResult(conn_.get()));
            if (!next.result_) return end;
            if (libpq().PQresultStatus(next.result_.get()) != PGRES_SINGLE_TUPLE) {
                end = std::move(next);  // the statement's end, or its failure
                continue;
            }
            handedOver = true;
            if (!read(next)) {
                stopReading();
                return std::nullopt;
            }
        }
    } catch (...) {
        stopReading();
        throw;
    }
}

void ServerConnection::stopReading() {
    // What has arrived already is dropped; when that was not the whole of
    // it, a statement still sending rows is cancelled, so the server neither
    // computes nor sends the rest. Not inside a transaction: a cancelled
    // statement would spoil the whole transaction, so there the rest is
    // read and dropped instead.
    bool whole = false;
    const bool connected = libpq().PQconsumeInput(conn_.get()) != 0;
    while (connected && !whole && !libpq().PQisBusy(conn_.get())) {
        PGresult* arrived = libpq().PQgetResult(conn_.get());
        whole = arrived == nullptr;
        libpq().PQclear(arrived);
    }
    if (!whole && connected && !inTransaction_) {
        if (PGcancel* cancel = libpq().PQgetCancel(conn_.get())) {
            // Not cancelled (finished meanwhile, say): the rest is read below.
            char error[256];
            libpq().PQcancel(cancel, error, sizeof error);
            libpq().PQfreeCancel(cancel);
        }
    }
    // The rest, until the connection is ready for the next statement.
    if (!whole)
        while (PGresult* rest = libpq().PQgetResult(conn_.get())) libpq().PQclear(rest);
}

bool ServerConnection::isLost() const { return libpq().PQstatus(conn_.get()) == CONNECTION_BAD; }

int ServerConnection::backendPid() const { return libpq().PQbackendPID(conn_.get()); }

void ServerConnection::runScript(const QString& sql, const QString& doing) {
    Rows r;
    r.result_.reset(libpq().PQexec(conn_.get(), sql.toUtf8().constData()));
    if (!succeeded(r.result_.get())) failFromServer(r, doing);
}

}  // namespace ledger
