// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/server_relay.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

ServerRelay::ServerRelay(QString socketPath) : socketPath_(std::move(socketPath)) {}

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

// Passes bytes both ways until either side ends.
void ServerRelay::pump(int client, int server) {
    pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    char buffer[16384];
    bool swallowAnswer = false;  // the server ran the cut message: its answer goes nowhere
    auto end = [&] {
        ::shutdown(client, SHUT_RDWR);
        ::shutdown(server, SHUT_RDWR);
    };
    while (running_) {
        if (::poll(ends, 2, 50) <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (!(ends[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t n = ::read(ends[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                end();
                return;
            }
            if (i == 1 && swallowAnswer) {
                end();
                return;
            }
            if (i == 0) {
                std::lock_guard<std::mutex> lock(cutLock_);
                if (!cutMarker_.isEmpty() &&
                    QByteArray::fromRawData(buffer, n).contains(cutMarker_)) {
                    cutMarker_.clear();
                    if (cutStaysDown_) refusing_ = true;
                    if (cut_ == Cut::BeforeTheServer) {
                        end();
                        return;
                    }
                    swallowAnswer = true;
                }
            }
            // A side that is gone must not end the test program with SIGPIPE.
            for (ssize_t sent = 0; sent < n;) {
                const ssize_t w = ::send(ends[1 - i].fd, buffer + sent,
                                         static_cast<size_t>(n - sent), MSG_NOSIGNAL);
                if (w <= 0) return;
                sent += w;
            }
        }
    }
}
