// STAND-IN rows of RMT_ENBL: cells the Modbus map reads that no
// module computes yet, declared in their modules until the logic lands.
#pragma once

#define RMT_ENBL_MAP_STANDIN_ROWS(X) X(RMT_SPD_INH, AND, B, R160, PLAIN)
