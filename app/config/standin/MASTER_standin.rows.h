// STAND-IN rows of module MASTER until the master commands land: the
// outputs of the service command list (save, enter and exit configure mode)
// that configure mode reads. MASTER.cells.h lists them; the real command
// logic declares them there and deletes this file.
#pragma once

#define MASTER_STANDIN_ROWS(X)               \
    X(COMMANDS, OUT_1, B, R160, PLAIN)       \
    X(COMMANDS, OUT_2, B, R160, PLAIN)       \
    X(COMMANDS, OUT_3, B, R160, PLAIN)
