#include "tests/support/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace testsupport {

namespace {
constexpr int kStartTimeoutMs = 10000;

int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

PtyPair::PtyPair() {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, pipeFds[1], 2);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"socat", "-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0", nullptr};
    int rc = posix_spawnp(&pid_, "socat", &fa, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&fa);
    ::close(pipeFds[1]);
    errFd_ = pipeFds[0];
    if (rc != 0) {
        pid_ = -1;
        return;
    }
    // socat reports "... N PTY is /dev/pts/K" for each end, then
    // "starting data transfer loop".
    std::string log;
    int found = 0;
    int64_t deadline = nowMs() + kStartTimeoutMs;
    bool started = false;
    while (!started && nowMs() < deadline) {
        pollfd p = {errFd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(deadline - nowMs())) <= 0) break;
        char buf[512];
        ssize_t n = ::read(errFd_, buf, sizeof buf);
        if (n <= 0) break;
        log.append(buf, static_cast<size_t>(n));
        size_t nl;
        while ((nl = log.find('\n')) != std::string::npos) {
            std::string line = log.substr(0, nl);
            log.erase(0, nl + 1);
            size_t at = line.find("PTY is ");
            if (at != std::string::npos && found < 2) paths_[found++] = line.substr(at + 7);
            if (line.find("starting data transfer loop") != std::string::npos) started = true;
        }
    }
    ok_ = started && found == 2;
    // Keep socat's diagnostics flowing so that it never blocks on them.
    int fd = errFd_;
    drain_ = std::thread([fd] {
        char buf[512];
        while (::read(fd, buf, sizeof buf) > 0) {
        }
    });
}

PtyPair::~PtyPair() {
    if (peerFd_ >= 0) ::close(peerFd_);
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status;
        ::waitpid(pid_, &status, 0);
    }
    if (drain_.joinable()) drain_.join();  // socat's exit closes the pipe
    if (errFd_ >= 0) ::close(errFd_);
}

bool PtyPair::openPeer() {
    if (!ok_) return false;
    peerFd_ = ::open(paths_[1].c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (peerFd_ < 0) return false;
    termios t;
    if (::tcgetattr(peerFd_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(peerFd_, TCSANOW, &t);
    }
    return true;
}

bool PtyPair::write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(peerFd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p = {peerFd_, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0) return false;
        } else {
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> PtyPair::read(size_t count, int timeoutMs) {
    std::vector<uint8_t> out;
    int64_t deadline = nowMs() + timeoutMs;
    while (out.size() < count) {
        int64_t left = deadline - nowMs();
        if (left <= 0) break;
        pollfd p = {peerFd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        uint8_t buf[512];
        size_t want = count - out.size() < sizeof buf ? count - out.size() : sizeof buf;
        ssize_t n = ::read(peerFd_, buf, want);
        if (n > 0) out.insert(out.end(), buf, buf + n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR) break;
    }
    return out;
}

}  // namespace testsupport
