// The controller executable run as a child process the way a user starts
// it, its standard output and error read together, and a fresh directory
// for a case.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace tc_test {

inline std::string controllerPath() { return TC_CONTROLLER_PATH; }

// A fresh directory for one case, removed with what it holds.
struct TempDir {
    std::string path;
    TempDir() {
        char name[] = "/tmp/loader_test_XXXXXX";
        path = ::mkdtemp(name) != nullptr ? name : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

// The loader run as a child, its standard output and error read together.
class Controller {
public:
    explicit Controller(std::vector<std::string> args) : Controller(controllerPath(), std::move(args)) {}
    // Another program run the same way (a tool that speaks to the controller).
    Controller(std::string prog, std::vector<std::string> args) {
        int p[2];
        if (::pipe2(p, O_CLOEXEC) != 0) return;
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            // A test program killed on its time limit takes its controller with it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) ::_exit(127);
            ::dup2(p[1], 1);
            ::dup2(p[1], 2);
            std::vector<char*> argv;
            argv.push_back(prog.data());
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(prog.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(p[1]);
        fd_ = p[0];
    }
    ~Controller() {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) ::close(fd_);
    }

    // Reads output until it holds `text` or the child's output ends; false
    // when it did not come within ms.
    bool waitFor(const std::string& text, int ms = 30000, size_t from = 0) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (output_.find(text, from) == std::string::npos) {
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
            if (left <= 0 || !readSome(left)) return false;
        }
        return true;
    }
    // The exit status once the child has ended (all its output read), or -1
    // when it was still running after ms. A stop the application refused
    // (its stop permissive not yet true, as in its first passes) is asked
    // for again, as an operator would, until the time runs out.
    int exitStatus(int ms = 30000) {
        static const std::string kRefused = "the application refused to stop";
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
            if (left <= 0) return -1;
            if (!readSome(left)) break;
            const size_t refused = output_.find(kRefused, refusedSeen_);
            if (stopSignal_ != 0 && refused != std::string::npos) {
                refusedSeen_ = refused + kRefused.size();
                ::usleep(100'000);
                ::kill(pid_, stopSignal_);
            }
        }
        // No more output: the child has ended, unless the time ran out first.
        if (std::chrono::steady_clock::now() >= end) return -1;
        int st = 0;
        if (::waitpid(pid_, &st, 0) != pid_) return -1;
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        return status_;
    }
    void signal(int sig) {
        if (sig == SIGINT || sig == SIGTERM || sig == SIGHUP) stopSignal_ = sig;
        ::kill(pid_, sig);
    }
    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }
    // Takes the output that has come so far, without waiting.
    const std::string& takeOutput() {
        while (readSome(0)) {
        }
        return output_;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    int status_ = -1;
    int stopSignal_ = 0;       // the last stop asked for
    size_t refusedSeen_ = 0;   // output up to here holds no refusal not yet asked again
    std::string output_;

    // False at the end of the output or when nothing came within ms.
    bool readSome(int ms) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, ms) != 1) return false;
        char buf[4096];
        ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        output_.append(buf, static_cast<size_t>(n));
        return true;
    }
};

}  // namespace tc_test
