#pragma once
// A relay on the loopback address between a database client and its server
// that holds back every piece of data for a set time in each direction, as
// a slower network would, and counts the request-response turns it sees.

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelm::bench {

class Relay {
public:
    // Listens on a free loopback port and passes every connection on to
    // `targetPort`; each direction is held back half of `roundTrip`.
    Relay(int targetPort, std::chrono::microseconds roundTrip);
    ~Relay();
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;

    int Port() const { return port_; }
    // The turns so far: each time a client sends after it has heard from the
    // server (its first send included), over every connection.
    long RoundTrips() const { return turns_.load(); }

    struct Connection;

private:
    void Accept();

    int targetPort_;
    std::chrono::microseconds delay_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<long> turns_{0};
    std::thread acceptor_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace kelm::bench
