// The demonstration chart: five steps that walk the display through a start,
// a trip and a reset; a keypad trip returns it to the first step. Each step
// names the page the display shows.
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/analog/UNIT_DEMO_pages.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kStartDonePulse = 1.0f;

struct UNIT_DEMO_chart_blocks {
    bk::OneShotState START_DONE;
    bk::SfcState STEP1, STEP2, STEP3, STEP4, STEP5;
};
BlockRam<UNIT_DEMO_chart_blocks> UNIT_DEMO_chart_st;
}  // namespace

namespace r80 {

void UNIT_DEMO_chart() {
    auto& c = UNIT_DEMO;
    auto& s = UNIT_DEMO_chart_st;
    bk::ONE_SHOT(s.START_DONE, c.START_DONE_ONE_SHOT, &c.START_DONE_R_TIME.ref(), MESSAGE_START.START_COMP_B_NAME,
                 kStartDonePulse, bk::T80);
    c.GO2READY_AND = bk::AND({c.DELAY5_DELAY, SHUTDOWNS.NOT_SD_NOT});
    const uint32_t trip = ORVEX12_IO.KEYPAD_TRIP;
    bk::SFC_STEP(s.STEP1, c.DEMO_STEP1_SFC_STEP, c.DEMO_STEP1_ACTIVETIME, {c.DEMO_START_ONE_SHOT}, bk::T80,
                 c.DEMO_STEP1_TRAN_1);
    c.DEMO_STEP1_TRAN_2 = 0;
    bk::SFC_STEP(s.STEP2, c.DEMO_STEP2_SFC_STEP, c.DEMO_STEP2_ACTIVETIME, {c.START_DONE_ONE_SHOT, trip}, bk::T80,
                 c.DEMO_STEP2_TRAN_1, c.DEMO_STEP2_TRAN_2);
    bk::SFC_STEP(s.STEP3, c.DEMO_STEP3_SFC_STEP, c.DEMO_STEP3_ACTIVETIME, {c.DEMO_TRIP_ONE_SHOT, trip}, bk::T80,
                 c.DEMO_STEP3_TRAN_1, c.DEMO_STEP3_TRAN_2);
    bk::SFC_STEP(s.STEP4, c.DEMO_STEP4_SFC_STEP, c.DEMO_STEP4_ACTIVETIME, {c.DEMO_RESET_ONE_SHOT, trip}, bk::T80,
                 c.DEMO_STEP4_TRAN_1, c.DEMO_STEP4_TRAN_2);
    bk::SFC_STEP(s.STEP5, c.DEMO_STEP5_SFC_STEP, c.DEMO_STEP5_ACTIVETIME, {c.GO2READY_AND, trip}, bk::T80,
                 c.DEMO_STEP5_TRAN_1, c.DEMO_STEP5_TRAN_2);

    // The page: the first of the table's conditions that holds.
    const UnitDemoPage* p = kUnitDemoPages;
    c.DEMO_PAGES_MSG_SEL = bk::MSG_SEL(c.DEMO_PAGES_B_TO_STR,
                                       {
                                           {c.DEMO_STEP1_SFC_STEP, p[0].index, p[0].text},
                                           {c.GO2_CURV_DELAY, p[1].index, p[1].text},
                                           {c.DEMO_STEP3_SFC_STEP, p[2].index, p[2].text},
                                           {c.DEMO_STEP4_SFC_STEP, p[3].index, p[3].text},
                                           {c.DEMO_STEP5_SFC_STEP, p[4].index, p[4].text},
                                       },
                                       kUnitDemoNoPage.text);
    c.DEMO_PAGE_I_NAME = c.DEMO_PAGES_MSG_SEL;
}

void UNIT_DEMO_commit() {
    auto& c = UNIT_DEMO;
    auto& s = UNIT_DEMO_chart_st;
    c.DEMO_STEP1_SFC_STEP = bk::SFC_COMMIT(s.STEP1, {c.DEMO_STEP2_TRAN_2, c.DEMO_STEP3_TRAN_2, c.DEMO_STEP4_TRAN_2,
                                                     c.DEMO_STEP5_TRAN_1, c.DEMO_STEP5_TRAN_2});
    c.DEMO_STEP2_SFC_STEP = bk::SFC_COMMIT(s.STEP2, {c.DEMO_STEP1_TRAN_1});
    c.DEMO_STEP3_SFC_STEP = bk::SFC_COMMIT(s.STEP3, {c.DEMO_STEP2_TRAN_1});
    c.DEMO_STEP4_SFC_STEP = bk::SFC_COMMIT(s.STEP4, {c.DEMO_STEP3_TRAN_1});
    c.DEMO_STEP5_SFC_STEP = bk::SFC_COMMIT(s.STEP5, {c.DEMO_STEP4_TRAN_1});
}

}  // namespace r80

void UNIT_DEMO_init_blks() {
    using namespace cells;
    UNIT_DEMO.DEMO_STEP1_SFC_STEP = 1;
    UNIT_DEMO.DEMO_STEP2_SFC_STEP = 0;
    UNIT_DEMO.DEMO_STEP3_SFC_STEP = 0;
    UNIT_DEMO.DEMO_STEP4_SFC_STEP = 0;
    UNIT_DEMO.DEMO_STEP5_SFC_STEP = 0;
}
