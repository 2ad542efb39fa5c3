// Stand-ins for interfaces of other subsystems, until they land: weak
// definitions that a real definition elsewhere in the program replaces.
// SendSysMessage and ApplicationRunning belong to the rate-group runtime,
// ShutdownSocket to the service server.
#include <sys/socket.h>
#include <unistd.h>

#include "modbus/ModbusSupport.h"

__attribute__((weak)) uint32_t ApplicationRunning = 0;

__attribute__((weak)) int SendSysMessage(int, int, int, int) { return 1; }

__attribute__((weak)) void ShutdownSocket(int fd) {
    if (fd == -1) return;
    linger lg{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
    shutdown(fd, SHUT_RDWR);
    close(fd);
}
