// Version number of the CANopen stack, read by the block initialisation.
#pragma once

#include <cstdint>

uint32_t CanVersion();
