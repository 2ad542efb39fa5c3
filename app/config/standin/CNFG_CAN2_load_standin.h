// STAND-IN until the CAN2 network block keeps its bus-load measurement: the
// three frame-count snapshots that a reopen of the network clears.
#pragma once

#include <cstdint>

extern uint16_t CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[3];
