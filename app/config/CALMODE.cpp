// The sample pulses: the pulser toggles every 160 ms pass, so configuration
// is sampled on every second pass while the window is open.
#include "app/config/CALMODE.cells.h"

#include "app/config/MASTER.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void CALMODE_sample_pulses() {
    CALMODE.PULSER_NOT = bk::NOT(CALMODE.PULSER_NOT);
    CALMODE.CNFG_SH_TRIG_AND = bk::AND({CALMODE.PULSER_NOT, MASTER.IO_LOCK_OR_PWR_B_NAME});
    CALMODE.CFG_SAMPL_OK_B_NAME = CALMODE.CNFG_SH_TRIG_AND;
    CALMODE.ADJUSTOK_OR = bk::OR({CALMODE.CALMODE_B_NAME, CALMODE.ADJUSTOK_IN_2});
    CALMODE.ADJUST_OK_B_NAME = CALMODE.ADJUSTOK_OR;
    CALMODE.CALPERM_B_NAME = CALMODE.CAL_PERM_AND;
    CALMODE.NOCALPERM_NOT = bk::NOT(CALMODE.CAL_PERM_AND);
    CALMODE.CAL_SH_TRIG_AND = bk::AND({CALMODE.CALMODE_B_NAME, CALMODE.PULSER_NOT});
    CALMODE.CAL_SAMPLOK_OR = bk::OR({CALMODE.CAL_SH_TRIG_AND, CALMODE.CAL_SAMPLOK_IN_2});
    CALMODE.CAL_SAMPL_OK_B_NAME = CALMODE.CAL_SAMPLOK_OR;
}

}  // namespace r160
