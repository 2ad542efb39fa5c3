// ALARMS at 160 ms: the lamp test and the alarm-LED request. A service write
// of LED_TEST.IN_1 lights the LED for 5 s, then the input is cleared.
#include "app/discrete/ALARMS.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kLampTestTime = 5.0f;

struct ALARMS_led_blocks {
    bk::SvcCmdState<1> LED_TEST;
};
BlockRam<ALARMS_led_blocks> ALARMS_led_st;
}  // namespace

void ALARMS_led_init_blks() { bk::SVC_CMD_INIT(ALARMS_led_st.LED_TEST, kLampTestTime); }

void ALARMS_led_test_written(uint32_t value) {
    bk::SVC_CMD_WRITTEN(ALARMS_led_st.LED_TEST, 1, value, kLampTestTime);
}

namespace r160 {

void ALARMS_alarm_led() {
    bk::SVC_CMD(ALARMS_led_st.LED_TEST, 1, ALARMS.LED_TEST_IN_1, ALARMS.LED_TEST_OUT_1, kLampTestTime, bk::T160);
    ALARMS.LED_TST_B_SW = ALARMS.LED_TEST_OUT_1;
    ALARMS.TO_LED_OR = bk::OR({ALARMS.BLINK_B_SW, ALARMS.LED_TST_B_SW});
    ALARMS.ALARM_LED_B_NAME = ALARMS.TO_LED_OR;
}

}  // namespace r160
