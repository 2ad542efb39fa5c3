// STAND-IN rows of module ORVEX12_IO until the chassis display settings of
// the 160 ms group land: what the front
// panel logic reads of them.
#pragma once

#define ORVEX12_IO_PANEL_STANDIN_ROWS(X)              \
    X(BRITENESS, OUT_1, I, R160, PLAIN, R80)          \
    X(USER_BRITE, SAMP_TUNE, A, R160, PLAIN, R80)     \
    X(ENA_DB, AND, B, R160, PLAIN, R80)               \
    X(BUFF_INIT, ONE_SHOT, B, R160, PLAIN, R80)
