// A pair of connected pseudo-terminals made by `socat`, for tests of serial
// devices: bytes written to one end come out of the other. The controller's
// side opens path(0) (e.g. mapped to "/tyCo/0"); the test talks through
// the peer end path(1) with the helpers below.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class PtyPair {
public:
    // Starts socat and waits until both ends exist; check ok().
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return ok_; }
    const std::string& path(int end) const { return paths_[end == 0 ? 0 : 1]; }

    // The test's side: opens path(1) raw and non-blocking.
    bool openPeer();
    // Writes all bytes to the peer end.
    bool write(const std::vector<uint8_t>& bytes);
    // Reads from the peer end until `count` bytes came or timeoutMs passed
    // (real time; the bytes come from the controller's side).
    std::vector<uint8_t> read(size_t count, int timeoutMs);

private:
    pid_t pid_ = -1;
    int errFd_ = -1;
    int peerFd_ = -1;
    bool ok_ = false;
    std::string paths_[2];
    std::thread drain_;
};

}  // namespace testsupport
