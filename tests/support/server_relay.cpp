// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/server_relay.h"

#include <libpq-fe.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

ServerRelay::ServerRelay(QString socketPath) : socketPath_(std::move(socketPath)) {}

QString ServerRelay::socketOf(const QString& address) {
    PGconn* probe = PQconnectdb(address.toUtf8().constData());
    const QString host = QString::fromUtf8(PQhost(probe));
    const QString port = QString::fromUtf8(PQport(probe));
    PQfinish(probe);
    return host.startsWith('/') ? host + "/.s.PGSQL." + port : QString();
}

QString ServerRelay::through(const QString& address, int port) {
    return address + QStringLiteral("&host=127.0.0.1&port=%1").arg(port);
}

// Where each message of a till's stream begins and ends. The first ones (a
// TLS request, the startup message) are a length and a code; every one
// after the startup message a type letter and a length.
class ServerRelay::MessageSplitter {
public:
    struct Edge {
        long at;      // offset in the chunk
        bool starts;  // or ends
        char type;
    };
    std::vector<Edge> feed(const char* chunk, long size) {
        std::vector<Edge> edges;
        for (long i = 0; i < size;) {
            const int headerSize = typed_ ? 5 : 8;
            if (header_.isEmpty()) edges.push_back({i, true, typed_ ? chunk[i] : '0'});
            if (header_.size() < headerSize) {
                const long take = std::min<long>(headerSize - header_.size(), size - i);
                header_.append(chunk + i, take);
                i += take;
                if (header_.size() < headerSize) break;
                const auto* h =
                    reinterpret_cast<const uchar*>(header_.constData()) + (typed_ ? 1 : 0);
                const long length = long(h[0]) << 24 | h[1] << 16 | h[2] << 8 | h[3];
                body_ = std::max(0L, length - (typed_ ? 4 : 8));
            }
            const long take = std::min(body_, size - i);
            i += take;
            body_ -= take;
            if (body_ > 0) break;
            edges.push_back({i, false, typed_ ? header_[0] : '0'});
            // The startup message (protocol 3.x) ends the untyped ones.
            typed_ = typed_ || (header_[4] == 0 && header_[5] == 3);
            header_.clear();
        }
        return edges;
    }

private:
    bool typed_ = false;
    QByteArray header_;
    long body_ = 0;
};

void ServerRelay::failAtMessage(int n, Fault fault, bool stayDown) {
    std::lock_guard<std::mutex> lock(cutLock_);
    failAt_ = n;
    fault_ = fault;
    faultStaysDown_ = stayDown;
    seen_.clear();
}

QByteArray ServerRelay::messagesSeen() {
    std::lock_guard<std::mutex> lock(cutLock_);
    return seen_;
}

ServerRelay::~ServerRelay() { stop(); }

void ServerRelay::start() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0)
        throw std::runtime_error("relay: cannot listen");
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    running_ = true;
    acceptor_ = std::thread([this, listener = listener_] { acceptLoop(listener); });
}

void ServerRelay::stop() {
    if (!running_) return;
    running_ = false;
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    {
        std::lock_guard<std::mutex> lock(openLock_);
        for (int s : open_) ::shutdown(s, SHUT_RDWR);
    }
    for (auto& t : pumps_) t.join();
    pumps_.clear();
    std::lock_guard<std::mutex> lock(openLock_);
    for (int s : open_) ::close(s);
    open_.clear();
}

void ServerRelay::acceptLoop(int listener) {
    while (running_) {
        pollfd waiting{listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0) continue;
        const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        if (refusing_) {
            ::close(client);
            continue;
        }
        const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un path{};
        path.sun_family = AF_UNIX;
        std::strncpy(path.sun_path, socketPath_.toLocal8Bit().constData(),
                     sizeof path.sun_path - 1);
        if (::connect(server, reinterpret_cast<sockaddr*>(&path), sizeof path) != 0) {
            ::close(client);
            ::close(server);
            continue;
        }
        std::lock_guard<std::mutex> lock(openLock_);
        open_.push_back(client);
        open_.push_back(server);
        pumps_.emplace_back([this, client, server] { pump(client, server); });
    }
}

void ServerRelay::cutAt(const QByteArray& marker, Cut how, bool stayDown) {
    std::lock_guard<std::mutex> lock(cutLock_);
    cutMarker_ = marker;
    cut_ = how;
    cutStaysDown_ = stayDown;
}

ServerRelay::Verdict ServerRelay::judge(MessageSplitter& messages, bool& cutAtItsEnd,
                                        const char* chunk, long size) {
    std::lock_guard<std::mutex> lock(cutLock_);
    if (!cutMarker_.isEmpty() && QByteArray::fromRawData(chunk, size).contains(cutMarker_)) {
        cutMarker_.clear();
        if (cutStaysDown_) refusing_ = true;
        return cut_ == Cut::BeforeTheServer ? Verdict{0, Then::Close}
                                            : Verdict{size, Then::AwaitAnswer};
    }
    for (const MessageSplitter::Edge& edge : messages.feed(chunk, size)) {
        if (failAt_ < 0) break;
        if (!edge.starts) {
            if (cutAtItsEnd) return {edge.at, Then::AwaitAnswer};
            continue;
        }
        seen_ += edge.type;
        if (seen_.size() != failAt_) continue;
        if (faultStaysDown_) refusing_ = true;
        if (fault_ == Fault::AnswerLost)
            cutAtItsEnd = true;
        else
            return {edge.at, fault_ == Fault::Reset ? Then::Reset : Then::Close};
    }
    return {size, Then::Pass};
}

void ServerRelay::reset(int client) {
    // Closed at once without a word: the till's next read finds the
    // connection reset.
    const linger now{1, 0};
    ::setsockopt(client, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    std::lock_guard<std::mutex> lock(openLock_);
    std::erase(open_, client);
    ::close(client);
}

// Passes bytes both ways until either side ends.
void ServerRelay::pump(int client, int server) {
    pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    char buffer[16384];
    MessageSplitter messages;
    bool cutAtItsEnd = false;    // the message to cut after is still coming
    bool swallowAnswer = false;  // the server has the cut message: its answer goes nowhere
    int quiet = 0;               // polls without news since then
    auto end = [&] {
        ::shutdown(client, SHUT_RDWR);
        ::shutdown(server, SHUT_RDWR);
    };
    while (running_) {
        if (::poll(ends, 2, 50) <= 0) {
            // A message the server does not answer ends the connection soon all the same.
            if (swallowAnswer && ++quiet > 40) return end();
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (!(ends[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = ::read(ends[i].fd, buffer, sizeof buffer);
            if (n <= 0 || (i == 1 && swallowAnswer)) return end();
            if (i == 0 && swallowAnswer) continue;  // nothing more reaches the server
            const Verdict verdict =
                i == 0 ? judge(messages, cutAtItsEnd, buffer, n) : Verdict{n, Then::Pass};
            // A side that is gone must not end the test program with SIGPIPE.
            for (ssize_t sent = 0; sent < verdict.passes;) {
                const ssize_t w = ::send(ends[1 - i].fd, buffer + sent,
                                         static_cast<size_t>(verdict.passes - sent), MSG_NOSIGNAL);
                if (w <= 0) return end();
                sent += w;
            }
            switch (verdict.then) {
                case Then::Pass:
                    break;
                case Then::Close:
                    return end();
                case Then::Reset:
                    ::shutdown(server, SHUT_RDWR);
                    return reset(client);
                case Then::AwaitAnswer:
                    swallowAnswer = true;
                    break;
            }
        }
    }
}
