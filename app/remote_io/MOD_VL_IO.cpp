// The Modbus multipliers of the remote-node analog values, in the order of
// the remote-node value image.
#include "app/remote_io/MOD_VL_IO.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/remote_io/standin/AO_CHANNEL_remote_standin.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "runtime/appmem.h"

namespace r80 {

void MOD_VL_IO_multipliers() {
    auto& M = MOD_VL_IO;
    M.VL_A_MULT_LIST_1 = _ub33.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_2 = _ub34.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_3 = _ub35.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_4 = _ub36.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_5 = _ub37.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_6 = _ub38.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_7 = _ub39.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_8 = _ub40.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_9 = _ub41.MOD_MULT_A_NAME;
    M.VL_A_MULT_LIST_10 = _ub42.MOD_MULT_A_NAME;
    float* const rtd[kRtdChannels] = {
        &M.VL_A_MULT_LIST_11.ref(), &M.VL_A_MULT_LIST_12.ref(), &M.VL_A_MULT_LIST_13.ref(),
        &M.VL_A_MULT_LIST_14.ref(), &M.VL_A_MULT_LIST_15.ref(), &M.VL_A_MULT_LIST_16.ref(),
        &M.VL_A_MULT_LIST_17.ref(), &M.VL_A_MULT_LIST_18.ref()};
    for (int k = 0; k < kRtdChannels; ++k) *rtd[k] = RTD_CHANNEL_mod_mult(k);
}

}  // namespace r80
