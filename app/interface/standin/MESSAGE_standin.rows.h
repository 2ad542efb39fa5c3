// STAND-IN rows of modules MESSAGE and MESSAGE_START until the logic that
// computes them lands: whether the speed setpoint has matched the remote
// setpoint, which the remote setpoint text reads, and the idle/rated command
// pulses and the move-to-idle flag the start texts read. MESSAGE.cells.h
// lists them; the real logic declares them there and deletes this file.
#pragma once

#define MESSAGE_STANDIN_ROWS(X) X(SP_EQ_RMT, DELAY, B, R160, PLAIN)

#define MESSAGE_START_STANDIN_ROWS(X)            \
    X(TOIDLE, OR, B, R160, PLAIN)                \
    X(SH_OFFCMD, ONE_SHOT, B, R160, PLAIN)       \
    X(SH_ONCMD, ONE_SHOT, B, R160, PLAIN)
