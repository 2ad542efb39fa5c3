// STAND-IN rows of module ORVEX12_IO until the chassis temperature cell
// lands: what the front panel logic reads of it.
#pragma once

#define ORVEX12_IO_PANEL_STANDIN_ROWS(X)              \
    X(CHASS_STATUS, CELSIUS, A, R20, PLAIN, R80)
