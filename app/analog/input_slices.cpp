// The slices of the analog input channels: each lists its module pieces in
// the order they compute. Channel index k: controller inputs 0 .. 3, remote
// node inputs 4 .. 11; alarm-level instance k watches channel k.
#include "app/analog/input_slices.h"

#include "app/config/CNFG_WIZ.cells.h"

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/remote_io/VLTR_OUTS_perms.rows.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "app/analog/CNFG_AI.cells.h"
#include "app/analog/VL1_AIO.cells.h"
#include "app/discrete/discrete_slices.h"

namespace {
constexpr int kFirstNode = kAiControllerChannels;
constexpr int kLastNode = kAiChannels - 1;
}  // namespace

void _R20_TASK_1() {
    using namespace r20;
    for (int k = 0; k < kAiControllerChannels; ++k) {
        CNFG_AI_stage(k);
        AI_CHANNEL_fault(k);
    }
    for (int k = kFirstNode; k <= kLastNode; ++k) {
        VL1_AIO_stage(k - kFirstNode);
        AI_CHANNEL_fault(k);
    }
    AI_MUX_faults();
}

void _R20_TASK_2() {
    using namespace r20;
    AI_MUX_spare_faults();
    for (int k = 0; k < kLastNode; ++k) {
        AI_CHANNEL_scale(k);
        AI_CHANNEL_value_filter(k);
    }
    AI_CHANNEL_scale(kLastNode);
}

void _R20_TASK_3() {
    using namespace r20;
    AI_CHANNEL_value_filter(kLastNode);
    AI_MUX_node_values();
    AI_MUX_values();
    for (int k = 0; k < kAiControllerChannels; ++k) AI_CHANNEL_pct_filter(k);
    AI_MUX_percents();
    AI_MUX_copies_a();
}

void _R20_TASK_4() {
    using namespace r20;
    AI_MUX_copies_b();
    IFACE_IN_CASC_process_value();
    AO_MUX_cascade_input();
    for (int k = 0; k < 2; ++k) {
        AO_CHANNEL_signal(k);
        CNFG_AO_output(k);
        AO_CHANNEL_alarm(k);
    }
}

// Alarm levels: controller instances 0, 1 from _R20_TASK_7, the remote
// instances 4 .. 11 in consecutive pairs of slices from _R20_TASK_9, the
// controller instances 2 and 3 in _R20_TASK_14 and _R20_TASK_18.
void _R20_TASK_7() {
    discrete_R20_TASK_7();
    r20::ORVEX12_IO_chassis();
    r20::SD_LOGIC_not_sd_delay();
    r20::SHUTDOWNS_delayed_reset();
    r20::SPDC_lost_rem();
    r20::AI_ALARM_LEVELS_level1(0);
}
void _R20_TASK_8() {
    r20::AI_ALARM_LEVELS_level2(0);
    r20::AI_ALARM_LEVELS_level1(1);
}
void _R20_TASK_9() {
    r20::AI_ALARM_LEVELS_level2(1);
    r20::AI_ALARM_LEVELS_level1(4);
}
void _R20_TASK_10() {
    r20::AI_ALARM_LEVELS_level2(4);
    r20::AI_ALARM_LEVELS_level1(5);
}
void _R20_TASK_11() {
    r20::AI_ALARM_LEVELS_level2(5);
    r20::AI_ALARM_LEVELS_level1(6);
}
void _R20_TASK_12() {
    r20::AI_ALARM_LEVELS_level2(6);
    r20::AI_ALARM_LEVELS_level1(7);
}
void _R20_TASK_13() {
    r20::AI_ALARM_LEVELS_level2(7);
    r20::AI_ALARM_LEVELS_level1(8);
}
void _R20_TASK_14() {
    r20::AI_ALARM_LEVELS_level2(8);
    r20::AI_ALARM_LEVELS_level1(2);
    r20::AI_ALARM_LEVELS_level2(2);
    r20::AI_ALARM_LEVELS_level1(9);
}
void _R20_TASK_15() {
    r20::AI_ALARM_LEVELS_level2(9);
    r20::AI_ALARM_LEVELS_level1(10);
}
void _R20_TASK_16() {
    r20::AI_ALARM_LEVELS_level2(10);
    r20::AI_ALARM_LEVELS_level1(11);
}
void _R20_TASK_17() {
    using namespace r20;
    AI_ALARM_LEVELS_level2(11);
    for (int k = kFirstNode; k < kLastNode; ++k) AI_CHANNEL_pct_filter(k);
}
void _R20_TASK_18() {
    using namespace r20;
    AI_CHANNEL_pct_filter(kLastNode);
    AI_ALARM_LEVELS_level1(3);
    AI_ALARM_LEVELS_level2(3);
}

// Configuration parts at 160 ms.
void _R160_TASK_1() {
    using namespace r160;
    CNFG_WIZ_enable();
    CNFG_AI_settings();
    CNFG_AO_wizard();
    VL1_AIO_settings();
    for (int k = 0; k < kAiControllerChannels; ++k) AI_CHANNEL_function_number(k);
    for (int k = kAoFirstRemote; k < kAoAllChannels; ++k) AO_CHANNEL_config(k);
    VLTR_OUTS_permissives();
}
void _R160_TASK_2() {
    using namespace r160;
    for (int k = 0; k < kAiControllerChannels; ++k) AI_CHANNEL_range(k);
    for (int k = kFirstNode; k <= kLastNode; ++k) AI_CHANNEL_function_number(k);
    VLTR_OUTS_ai_functions();
}
void _R160_TASK_3() {
    using namespace r160;
    for (int k = kFirstNode; k <= kLastNode; ++k) AI_CHANNEL_range(k);
}
void _R160_TASK_4() {
    using namespace r160;
    for (int k = 0; k < kAiControllerChannels; ++k) AI_CHANNEL_modbus(k);
}
void _R160_TASK_5() {
    using namespace r160;
    for (int k = kFirstNode; k < kFirstNode + 4; ++k) AI_CHANNEL_modbus(k);
}
void _R160_TASK_6() {
    using namespace r160;
    for (int k = kFirstNode + 4; k <= kLastNode; ++k) AI_CHANNEL_modbus(k);
    VLTR_OUTS_ai_settings();
}
void _R160_TASK_58() {
    using namespace r160;
    for (int k = kFirstNode; k < kFirstNode + 6; ++k) AI_CHANNEL_texts(k);
    discrete_R160_TASK_58();
}
void _R160_TASK_59() {
    using namespace r160;
    for (int k = kFirstNode + 6; k <= kLastNode; ++k) AI_CHANNEL_texts(k);
}
void _R160_TASK_62() {
    r160::ACT_CHANNEL_config();
    r160::AO_MUX_functions_used();
    r160::AI_CHANNEL_texts(0);
    discrete_R160_TASK_62();
}
void _R160_TASK_65() {
    r160::AI_CHANNEL_texts(1);
    discrete_R160_TASK_65();
}
void _R160_TASK_71() {
    r160::AI_CHANNEL_texts(2);
    discrete_R160_TASK_71();
}
void _R160_TASK_80() {
    r160::AI_CHANNEL_texts(3);
    discrete_R160_TASK_80();
}
