// The simulated remote nodes of tests/node/sim_nodes.js (npm `canopen`) as a
// child process joined to a bus port; its standard output is read line by
// line.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tc_test {

class PeerNodes {
public:
    // Starts `node sim_nodes.js port specs...`; started() is false when the
    // script's packages are not installed or the spawn failed.
    PeerNodes(int port, const std::vector<std::string>& specs);
    ~PeerNodes();
    PeerNodes(const PeerNodes&) = delete;
    PeerNodes& operator=(const PeerNodes&) = delete;

    bool started() const { return pid_ > 0; }
    // Reads until `lines` full lines have arrived (or `ms` passed without output).
    std::vector<std::string> read(size_t lines, int ms = 20000);
    // Ends the nodes; one JSON line per node.
    std::vector<std::string> finish(size_t nodes);

private:
    pid_t pid_ = 0;
    int fd_ = -1, stdin_ = -1;
    std::string buf_;
};

}  // namespace tc_test
