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

private:
    void acceptLoop(int listener);
    void pump(int client, int server);

    QString socketPath_;
    int port_ = 0;
    int listener_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<bool> refusing_{false};
    std::mutex cutLock_;
    QByteArray cutMarker_;
    Cut cut_ = Cut::BeforeTheServer;
    bool cutStaysDown_ = false;
    std::thread acceptor_;
    std::vector<std::thread> pumps_;
    std::vector<int> open_;  // every socket of the relayed connections
    std::mutex openLock_;
};
