#include "app/interruption.h"

#include <signal.h>
#include <unistd.h>

namespace kelm {
namespace {

void End(int signal) { _exit(128 + signal); }

}  // namespace

void EndOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = End;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace kelm
