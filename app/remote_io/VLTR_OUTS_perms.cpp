// The remote channels' permissive summary: one OR over the sixteen
// alarm-level instances of the analog node's inputs and the RTD channels.
#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r160 {

void VLTR_OUTS_permissives() {
    VLTR_OUTS.VL_PERMS_NOT_MET_OR = bk::OR(
        {_ub25.PERM_NOT_MET_B_NAME, _ub26.PERM_NOT_MET_B_NAME, _ub27.PERM_NOT_MET_B_NAME, _ub28.PERM_NOT_MET_B_NAME,
         _ub29.PERM_NOT_MET_B_NAME, _ub30.PERM_NOT_MET_B_NAME, _ub31.PERM_NOT_MET_B_NAME, _ub32.PERM_NOT_MET_B_NAME,
         _ub51.PERM_NOT_MET_B_NAME, _ub52.PERM_NOT_MET_B_NAME, _ub53.PERM_NOT_MET_B_NAME, _ub54.PERM_NOT_MET_B_NAME,
         _ub55.PERM_NOT_MET_B_NAME, _ub56.PERM_NOT_MET_B_NAME, _ub57.PERM_NOT_MET_B_NAME, _ub58.PERM_NOT_MET_B_NAME});
}

}  // namespace r160
