// Stand-in for an interface of another subsystem, until it lands: a weak
// definition that the real one elsewhere in the program replaces.
// ShutdownSocket belongs to the service server.
#include <sys/socket.h>
#include <unistd.h>

#include "modbus/ModbusSupport.h"

__attribute__((weak)) void ShutdownSocket(int fd) {
    if (fd == -1) return;
    linger lg{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
    shutdown(fd, SHUT_RDWR);
    close(fd);
}
