// Cells the program reads that nothing in it writes, each with the reason.
// Every entry is reviewed: a cell that gets a writer, or that nothing reads
// any more, must leave this table (the check fails until it does).
#pragma once

namespace writers {

struct Exception {
    const char* cell;    // "MODULE.BLOCK.FIELD"
    const char* reason;
};

// Reads of inputs the design gives no source: they keep their cleared value
// (0), which is the value the design's logic expects of an unused input.
constexpr const char* kNoWriter = "no source is designed for it: reads 0, the input's unused value";

inline constexpr Exception kExceptions[] = {
    {"CONF_LATCH.SPARE_48.B_NAME", "spare entry of the configuration-error list: never raised"},
    {"CONF_LATCH.SPARE_49.B_NAME", "spare entry of the configuration-error list: never raised"},
    {"DROOP.SW_REF.CTRL", kNoWriter},
    {"IFACE_IN_SPEED.AVG_SPEED.RST", kNoWriter},
    {"IFACE_IN_SPEED.RESET_HOLD.B_NAME", kNoWriter},
    {"IFACE_IN_VLV.HP_FAULT.B_NAME", kNoWriter},
    {"ORVEX12_IO.ACCUM.OUT_1", kNoWriter},
    {"ORVEX12_IO.CHASS_STATUS.CPU_GREEN_LED", "LED command the design leaves to logic it does not give: the LED stays as the platform set it"},
    {"ORVEX12_IO.CHASS_STATUS.CPU_RED_LED", "LED command the design leaves to logic it does not give: the LED stays as the platform set it"},
    {"START.RST_OS.ONE_SHOT", kNoWriter},
};

}  // namespace writers
