// STAND-IN rows of module MOD until the Modbus slave's port blocks land:
// the exception flag and error number of port 1, shown on the status page.
#pragma once

#define MOD_PORT_STANDIN_ROWS(X)          \
    X(MOD1, EX_ERR_1, B, R160, PLAIN)     \
    X(MOD1, ERR_NUM_1, I, R160, PLAIN)
