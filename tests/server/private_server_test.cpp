// The private test server logs anyone in as its administrator with a fixed
// password, so it must not be reachable from the network.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace kelm {
namespace {

// Whether something listens on `address`:`port` (IPv4).
bool Answers(in_addr address, int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr = address;
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    close(fd);
    return connected;
}

TEST(PrivateServer, AnswersOnTheLoopbackAddressOnly) {
    const std::string server = test::PrivateServer();
    const int port = std::stoi(server.substr(server.find('/') + 1));
    in_addr loopback{};
    inet_pton(AF_INET, "127.0.0.1", &loopback);
    EXPECT_TRUE(Answers(loopback, port));

    std::vector<in_addr> others;
    ifaddrs* list = nullptr;
    ASSERT_EQ(getifaddrs(&list), 0);
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next)
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET) {
            const in_addr address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
            if ((ntohl(address.s_addr) >> 24) != 127) others.push_back(address);
        }
    freeifaddrs(list);
    if (others.empty()) GTEST_SKIP() << "this machine has no address but the loopback one";
    for (const in_addr& address : others) EXPECT_FALSE(Answers(address, port)) << inet_ntoa(address);
}

}  // namespace
}  // namespace kelm
