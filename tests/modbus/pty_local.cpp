#include "tests/modbus/pty_local.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

bool LocalPtyPair::open() {
    int err[2];
    if (pipe(err) != 0) return false;
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        dup2(err[1], 2);
        close(err[0]);
        close(err[1]);
        execlp("socat", "socat", "-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(err[1]);
    // socat reports "... N PTY is /dev/pts/X" for each side, then starts its
    // transfer loop; read its log until then (blocking reads, no sleeps).
    log_ = fdopen(err[0], "r");
    FILE* log = log_;
    char line[512];
    while (std::fgets(line, sizeof line, log) != nullptr) {
        if (const char* p = std::strstr(line, "PTY is ")) {
            std::string path(p + 7);
            while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
            (a_.empty() ? a_ : b_) = path;
        }
        if (std::strstr(line, "starting data transfer loop") != nullptr) break;
    }
    // Keep the pipe open (socat may log more); it is closed with the process.
    return !a_.empty() && !b_.empty();
}

LocalPtyPair::~LocalPtyPair() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (log_ != nullptr) std::fclose(log_);
}
