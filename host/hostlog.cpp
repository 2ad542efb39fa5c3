#include "host/hostlog.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "host/hostclock.h"
#include "host/hostfs.h"

namespace {
std::mutex logLock;

void append_arg(std::string& out, char directive, long arg) {
    char num[32];
    switch (directive) {
        case 's': out += arg ? reinterpret_cast<const char*>(arg) : "(null)"; return;
        case 'd': std::snprintf(num, sizeof num, "%ld", arg); break;
        case 'u': std::snprintf(num, sizeof num, "%lu", static_cast<unsigned long>(arg)); break;
        default: std::snprintf(num, sizeof num, "%lx", static_cast<unsigned long>(arg)); break;
    }
    out += num;
}
}  // namespace

namespace hostlog {
std::string logFilePath() { return hostfs::applicationRoot() + "/LogFile.txt"; }
}  // namespace hostlog

int logMsg(const char* fmt, long a1, long a2, long a3, long a4, long a5, long a6) {
    if (fmt == nullptr) return -1;
    const long args[6] = {a1, a2, a3, a4, a5, a6};
    int next = 0;
    std::string out;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char d = p[1];
        if (d == '%') {
            out += '%';
            ++p;
        } else if ((d == 's' || d == 'd' || d == 'u' || d == 'x') && next < 6) {
            append_arg(out, d, args[next++]);
            ++p;
        } else {
            out += '%';
        }
    }
    std::lock_guard<std::mutex> g(logLock);
    std::FILE* f = std::fopen(hostlog::logFilePath().c_str(), "ab");
    if (f == nullptr) return -1;
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
    return static_cast<int>(out.size());
}

int VKGetTime(char* buffer) {
    std::tm t{};
    hostclock::localtime(static_cast<uint32_t>(hostclock::realtimeNs() / 1000000000), &t);
    if (std::strftime(buffer, 32, "%Y/%m/%d %H:%M:%S", &t) == 0) buffer[0] = '\0';
    return 0;
}
