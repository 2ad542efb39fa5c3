// A socat pseudo-terminal pair for the serial tests (used until the shared
// fixture of tests/support is available): two linked ttys, one for the
// controller's serial device and one for the master.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

class LocalPtyPair {
public:
    LocalPtyPair() = default;
    ~LocalPtyPair();
    LocalPtyPair(const LocalPtyPair&) = delete;
    LocalPtyPair& operator=(const LocalPtyPair&) = delete;

    // Starts socat; false when it could not be started.
    bool open();
    const std::string& controllerPath() const { return a_; }
    const std::string& masterPath() const { return b_; }

private:
    pid_t pid_ = -1;
    FILE* log_ = nullptr;
    std::string a_, b_;
};
