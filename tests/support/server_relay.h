// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A stand-in for the network between a till and its database server: it
// listens on 127.0.0.1 and passes every connection on to the real server.
// Stopping it is the server going away for the till (its connections end,
// new ones are refused); starting it again on the same port brings it back.
class ServerRelay {
public:
    // `socketPath`: the server's Unix socket (e.g. /var/run/postgresql/.s.PGSQL.5432).
    explicit ServerRelay(QString socketPath);
    // The Unix socket of the server an address names (empty when it names
    // none), and the address of the same database through a relay on `port`.
    static QString socketOf(const QString& address);
    static QString through(const QString& address, int port);
    ~ServerRelay();
    ServerRelay(const ServerRelay&) = delete;
    ServerRelay& operator=(const ServerRelay&) = delete;

    void start();  // on the port of the first start, or a free one
    void stop();
    int port() const { return port_; }

    // The network failing in the middle of one statement: the next message
    // from a till that holds `marker` (say "COMMIT") either never reaches
    // the server, or reaches it and its answer never comes back. Either way
    // the till's connection ends there. With `stayDown`, new connections
    // are refused from then on, until allowAgain().
    enum class Cut { BeforeTheServer, AfterTheServerRanIt };
    void cutAt(const QByteArray& marker, Cut how, bool stayDown);
    void allowAgain() { refusing_ = false; }

    // The network failing at one message of the tills': the messages they
    // send from now on are counted (every connection's, the startup and
    // TLS requests too: the PostgreSQL protocol's messages, read from the
    // stream), and at the `n`th the connection ends. Closed or reset (an
    // RST), none of that message reaches the server; with AnswerLost the
    // server has the message and its answer goes nowhere. Later
    // connections pass as ever (the network is back), or with `stayDown`
    // are refused until allowAgain(). No fault at 0 (counting only) or
    // below (not even counting).
    enum class Fault { Close, Reset, AnswerLost };
    void failAtMessage(int n, Fault fault, bool stayDown = false);
    // The type of each message counted so far ('Q' a query, 'S' the end of
    // a statement's messages, ...; '0' a startup or TLS request).
    QByteArray messagesSeen();

private:
    class MessageSplitter;
    enum class Then { Pass, Close, Reset, AwaitAnswer };
    struct Verdict {
        long passes;  // the bytes of the chunk that reach the server
        Then then;
    };
    void acceptLoop(int listener);
    void pump(int client, int server);
    // What becomes of a chunk a till sent.
    Verdict judge(MessageSplitter& messages, bool& cutAtItsEnd, const char* chunk, long size);
    void reset(int client);

    QString socketPath_;
    int port_ = 0;
    int listener_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<bool> refusing_{false};
    std::mutex cutLock_;
    QByteArray cutMarker_;
    Cut cut_ = Cut::BeforeTheServer;
    bool cutStaysDown_ = false;
    int failAt_ = -1;  // the message that fails; 0 counts only, -1 counts nothing
    Fault fault_ = Fault::Close;
    bool faultStaysDown_ = false;
    QByteArray seen_;
    std::thread acceptor_;
    std::vector<std::thread> pumps_;
    std::vector<int> open_;  // every socket of the relayed connections
    std::mutex openLock_;
};
