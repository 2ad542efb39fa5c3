// The 80 ms slices of the remote RTD node. The channel blocks of all eight
// channels come first, two per slice; then each channel's display value
// just before its alarm levels; the lists before the remote-node trip list;
// the texts, delays and multipliers late in the pass.
#include "app/remote_io/rtd_slices.h"

#include "app/remote_io/MOD_VL_IO.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "app/remote_io/VL3_RTD.cells.h"
#include "app/remote_io/VLTR_OUTS_rtd.rows.h"
#include "app/remote_io/VLTR_VIB.cells.h"

namespace {
void channels(int first) {
    r80::VL3_RTD_channel(first);
    r80::VL3_RTD_channel(first + 1);
}
void displays(int first) {
    r80::VL3_RTD_display(first);
    r80::VL3_RTD_display(first + 1);
}
}  // namespace

void _R80_TASK_3() { channels(0); }
void _R80_TASK_4() { channels(2); }
void _R80_TASK_5() { channels(4); }
void _R80_TASK_6() { channels(6); }
void _R80_TASK_7() { displays(0); }
void _R80_TASK_8() { displays(2); }
void _R80_TASK_9() { displays(4); }
void _R80_TASK_10() { displays(6); }

void _R80_TASK_11() {
    using namespace r80;
    VLTR_VIB_signals();
    VLTR_OUTS_rtd_lists();
}

// Channels 1 .. 3.
void _R80_TASK_27() {
    for (int k = 0; k < 3; ++k) r80::RTD_CHANNEL_texts(k);
}

// Channels 4 .. 8, then the multiplier list that takes theirs.
void _R80_TASK_28() {
    for (int k = 3; k < kRtdChannels; ++k) r80::RTD_CHANNEL_texts(k);
    r80::MOD_VL_IO_multipliers();
}
