// The operating system's message log and the platform's time text.
//
// logMsg appends one message to the platform's log file "LogFile.txt" in the
// application directory. Its format takes %s (a text whose address is passed
// as the argument), %d, %u, %x and %%; any other directive is copied as it
// stands, so a message can never read an argument as something it is not.
#pragma once

#include <string>

int logMsg(const char* fmt, long a1 = 0, long a2 = 0, long a3 = 0, long a4 = 0, long a5 = 0, long a6 = 0);

// Fills `buffer` (at least 32 bytes) with the controller's date and time,
// "YYYY/MM/DD HH:MM:SS", from the OS realtime clock; returns 0.
int VKGetTime(char* buffer);

namespace hostlog {
// Host path of the log file.
std::string logFilePath();
}  // namespace hostlog
