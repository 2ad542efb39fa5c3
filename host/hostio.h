// Host settings of the device layer: the loader's port offset (so that a
// non-root user and parallel tests can bind the controller's ports) and the
// map from the controller's serial device names to host tty paths.
#pragma once

#include <cstdint>
#include <string>

namespace hostio {

// Added to every port the controller binds or connects to (502, 666, 5001 ...).
void setPortOffset(int offset);
int portOffset();
// The host port of a controller port.
uint16_t hostPort(uint16_t controllerPort);

// Maps a controller device name ("/tyCo/0") to a host tty path ("/dev/pts/5").
void setTtyPath(const std::string& deviceName, const std::string& hostPath);
// The mapped host path; empty when the name is not mapped.
std::string ttyPath(const std::string& deviceName);

}  // namespace hostio
