#include "bench/relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <stdexcept>
#include <string>

namespace kelm::bench {

namespace {

using Clock = std::chrono::steady_clock;

int LoopbackSocket() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("relay: no socket");
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Whether `fd` has data (or its end) within `ms` milliseconds.
bool Readable(int fd, int ms) {
    pollfd wanted{fd, POLLIN, 0};
    return poll(&wanted, 1, ms) > 0;
}

}  // namespace

// One client's connection: two directions, each a reader that stamps what
// arrives and a writer that passes it on once its time has come.
struct Relay::Connection {
    struct Direction {
        int from = -1, to = -1;
        bool fromClient = false;
        std::mutex mutex;
        std::condition_variable arrived;
        std::deque<std::pair<Clock::time_point, std::string>> pending;
        bool ended = false;
        std::thread reader, writer;
    };

    Connection(Relay& relay, int client, int server) : relay(relay), client(client), server(server) {
        up.from = client;
        up.to = server;
        up.fromClient = true;
        down.from = server;
        down.to = client;
        for (Direction* d : {&up, &down}) {
            d->reader = std::thread([this, d] { Read(*d); });
            d->writer = std::thread([this, d] {
                // A sleep may end up to the thread's timer slack (50 µs) late:
                // with it, each round trip took a quarter longer than set.
                prctl(PR_SET_TIMERSLACK, 1UL);
                Write(*d);
            });
        }
    }
    ~Connection() {
        for (Direction* d : {&up, &down}) {
            d->reader.join();
            d->writer.join();
        }
        close(client);
        close(server);
    }

    void Read(Direction& d) {
        char buffer[65536];
        while (!relay.stopping_) {
            if (!Readable(d.from, 100)) continue;
            const ssize_t got = recv(d.from, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            {
                std::lock_guard<std::mutex> lock(turnMutex);
                if (d.fromClient && !clientSpokeLast) ++relay.turns_;
                clientSpokeLast = d.fromClient;
            }
            std::lock_guard<std::mutex> lock(d.mutex);
            d.pending.emplace_back(Clock::now() + relay.delay_, std::string(buffer, static_cast<std::size_t>(got)));
            d.arrived.notify_one();
        }
        std::lock_guard<std::mutex> lock(d.mutex);
        d.ended = true;
        d.arrived.notify_one();
    }

    void Write(Direction& d) {
        for (;;) {
            std::unique_lock<std::mutex> lock(d.mutex);
            d.arrived.wait(lock, [&] { return !d.pending.empty() || d.ended; });
            if (d.pending.empty()) break;
            auto [due, data] = std::move(d.pending.front());
            d.pending.pop_front();
            lock.unlock();
            std::this_thread::sleep_until(due);
            for (std::size_t sent = 0; sent < data.size();) {
                const ssize_t n = send(d.to, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
        }
        // What ends one way ends the other: the peer hears its end.
        shutdown(d.to, SHUT_WR);
    }

    Relay& relay;
    int client, server;
    std::mutex turnMutex;
    bool clientSpokeLast = false;
    Direction up, down;
};

Relay::Relay(int targetPort, std::chrono::microseconds roundTrip) : targetPort_(targetPort), delay_(roundTrip / 2) {
    listener_ = LoopbackSocket();
    const int on = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = Loopback(0);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0)
        throw std::runtime_error("relay: cannot listen on the loopback address");
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
}

Relay::~Relay() {
    stopping_ = true;
    acceptor_.join();
    close(listener_);
    std::lock_guard<std::mutex> lock(mutex_);
    connections_.clear();
}

void Relay::Accept() {
    while (!stopping_) {
        if (!Readable(listener_, 100)) continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        const int on = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const int server = LoopbackSocket();
        const sockaddr_in target = Loopback(targetPort_);
        if (connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
            close(server);
            close(client);
            continue;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        connections_.push_back(std::make_unique<Connection>(*this, client, server));
    }
}

}  // namespace kelm::bench
