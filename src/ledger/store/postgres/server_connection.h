// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct pg_conn;
struct pg_result;

namespace ledger {

// One connection to a PostgreSQL server, owned by this object and closed with
// it. Statements go with their values bound as parameters ($1, $2, ...),
// never spliced into the SQL. Values travel as text: a double as 17
// significant digits (so it comes back bit for bit), text as UTF-8; what
// comes back is a null QVariant, a double (every number) or a QString.
//
// Threading: a libpq connection must not be used by two threads at once;
// this one belongs to the user-interface thread like every store.
//
// A connection that the server dropped (a restart, a terminated session) is
// re-established once, at the next statement, before anything fails; a
// statement is sent again afterwards only when that cannot store anything
// twice (see Resend).
class ServerConnection {
public:
    // Connects at once. Throws LedgerError: FileNotFound when the server has
    // no such database, StoreFailure when the address cannot be read, the
    // server refuses the user name or password, or cannot be reached.
    // No message ever holds a password, nor libpq's own words when they
    // quote the address.
    explicit ServerConnection(const QString& address);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // The address as the user may see it (no password).
    const QString& shownName() const { return shown_; }
    // "host:port", or "this computer" for a local socket; for messages.
    QString serverName() const;

    // When a statement may be sent again after the connection was lost
    // while it ran.
    enum class Resend {
        Always,           // reading, or a change that is the same when done twice
        IfServerRefused,  // an insert: only when the server said it did not run it
        Never             // inside a transaction, which a lost connection ended
    };

    class Rows {
    public:
        int count() const;
        int columns() const;
        QVariant value(int row, int column) const;
        QString text(int row, int column) const;
        QByteArray bytes(int row, int column) const;  // as the server sent them
        qint64 number(int row, int column) const;     // an integer column
        qint64 changedCount() const;                  // rows an UPDATE or DELETE touched
        // The statement was sent a second time, on a new session, after the
        // connection was lost while the first one ran (see Resend::Always).
        bool wasSentAgain() const { return sentAgain_; }

    private:
        friend class ServerConnection;
        bool sentAgain_ = false;
        struct Clear {
            void operator()(pg_result* r) const;
        };
        std::unique_ptr<pg_result, Clear> result_;
    };

    // One statement; `doing` leads the message of a failure ("Cannot save
    // into 'x'"). Throws LedgerError.
    Rows run(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
             Resend resend = Resend::Always);
    // One statement whose rows are handed to `read` one at a time, as they
    // arrive, never the whole result first (a Rows of one row each). `read`
    // returns false to stop: the rest is not read, and outside a
    // transaction the statement is cancelled on the server. A failure of
    // `read` passes out the same way. Either way the connection is ready for
    // the next statement. Sent again after a lost connection only when no
    // row had come yet and no transaction is open.
    using RowReader = std::function<bool(const Rows&)>;
    void stream(const QString& sql, const std::vector<QVariant>& values, const QString& doing,
                const RowReader& read);
    // Statements without values, run as they are (within a transaction the
    // caller opened: never sent again).
    void runScript(const QString& sql, const QString& doing);

    // While a transaction is open on this connection, no statement is sent
    // again after a lost connection, whatever its Resend says: on a new
    // session it would run outside the transaction.
    void setInTransaction(bool open) { inTransaction_ = open; }
    // The connection is gone (the next statement outside a transaction
    // connects anew).
    bool isLost() const;
    // The server process serving this connection now.
    int backendPid() const;

private:
    struct Finish {
        void operator()(pg_conn* c) const;
    };
    Rows sendOnce(const QString& sql, const std::vector<QVariant>& values);
    // Reconnects when the session ended while idle (Resend::Never: fails).
    void reconnectIfLost(Resend resend);
    // The statement's last result (its end or its failure), or nullopt when
    // `read` stopped it; `handedOver` says whether a row reached `read`.
    std::optional<Rows> streamOnce(const QString& sql, const std::vector<QVariant>& values,
                                   const RowReader& read, bool& handedOver);
    // Makes the connection ready again after a stream stopped early.
    void stopReading();
    void prepareSession();
    // Names this till and the member of staff on duty to the session, for
    // the books' history (who_writes.h).
    void signSession();
    // Reconnects once; throws the unreachable-server message when that fails.
    void reconnect();
    [[noreturn]] void failUnreachable(const QString& detail) const;
    [[noreturn]] void failConnecting() const;
    // The first line of libpq's or the server's words, when it holds no
    // secret of the address and does not quote the address itself.
    QString shownDetail(const char* message) const;
    [[noreturn]] void failFromServer(const Rows& result, const QString& doing) const;

    QString shown_;
    QString address_;      // as given, for telling a quoted address apart
    QStringList secrets_;  // what libpq reads as passwords in it
    std::unique_ptr<pg_conn, Finish> conn_;
    bool sessionEnded_ = false;  // the server said so to the idle connection
    bool inTransaction_ = false;
    quint64 signedMark_ = 0;  // staffOnDutyMark() the session was told
};

}  // namespace ledger
