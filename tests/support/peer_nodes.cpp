#include "tests/support/peer_nodes.h"
#include "tests/support/paths.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace tc_test {

PeerNodes::PeerNodes(int port, const std::vector<std::string>& specs) {
    const std::string dir = tc_test::sourceDir() + "/tests/node";
    if (::access((dir + "/node_modules/canopen/package.json").c_str(), R_OK) != 0) return;
    int out[2], in[2];
    if (::pipe(out) != 0) return;
    if (::pipe(in) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    posix_spawn_file_actions_t a;
    posix_spawn_file_actions_init(&a);
    posix_spawn_file_actions_adddup2(&a, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&a, in[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&a, out[0]);
    posix_spawn_file_actions_addclose(&a, in[1]);
    const std::string script = dir + "/sim_nodes.js", portText = std::to_string(port);
    std::vector<const char*> argv = {"node", script.c_str(), portText.c_str()};
    for (const auto& s : specs) argv.push_back(s.c_str());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, "node", &a, nullptr, const_cast<char**>(argv.data()), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&a);
    ::close(out[1]);
    ::close(in[0]);
    fd_ = out[0];
    stdin_ = in[1];
}

PeerNodes::~PeerNodes() {
    if (stdin_ >= 0) ::close(stdin_);
    if (fd_ >= 0) ::close(fd_);
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::vector<std::string> PeerNodes::read(size_t lines, int ms) {
    std::vector<std::string> out;
    while (out.size() < lines) {
        const size_t nl = buf_.find('\n');
        if (nl != std::string::npos) {
            out.push_back(buf_.substr(0, nl));
            buf_.erase(0, nl + 1);
            continue;
        }
        pollfd p{fd_, POLLIN, 0};
        if (fd_ < 0 || ::poll(&p, 1, ms) <= 0) break;
        char b[4096];
        const ssize_t n = ::read(fd_, b, sizeof b);
        if (n <= 0) break;
        buf_.append(b, static_cast<size_t>(n));
    }
    return out;
}

std::vector<std::string> PeerNodes::finish(size_t nodes) {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
    auto out = read(nodes);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
    return out;
}

}  // namespace tc_test
