#pragma once
// A private Firebird server of one test's own, which the test may stop: the
// shared one serves every other case of the run.

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "support/test_support.h"

namespace kelm::test {

class OwnServer {
public:
    OwnServer() : folder_(dir_.File("server")) {
        Script("start");
        std::ifstream in(folder_ + "/port");
        if (!(in >> port_)) throw std::runtime_error("the test's own server gave no port");
    }
    ~OwnServer() { Stop(); }
    OwnServer(const OwnServer&) = delete;
    OwnServer& operator=(const OwnServer&) = delete;

    void Stop() {
        if (running_) Script("stop");
        running_ = false;
    }
    // `catalogue` reached through this server.
    std::string Source(const FreshCatalogue& catalogue) const { return "localhost/" + port_ + ":" + catalogue.Path(); }

private:
    void Script(const std::string& action) const {
        const std::string command = "'" + SourceFile("tests/server/private-server") + "' " + action + " '" + folder_ + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
    }
    TempDir dir_;
    std::string folder_;
    std::string port_;
    bool running_ = true;
};

}  // namespace kelm::test
