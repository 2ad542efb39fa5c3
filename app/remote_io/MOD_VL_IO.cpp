// The remote-node value image: every 20 ms pass the nodes' values are copied
// into two flat lists in row order; every 80 ms pass the Modbus multipliers
// of the analog values follow the same order.
#include "app/remote_io/MOD_VL_IO.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/discrete/VL4_BI.cells.h"
#include "app/discrete/VL5_BO.cells.h"
#include "app/remote_io/VL3_RTD.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "runtime/appmem.h"

namespace r20 {

void MOD_VL_IO_image() {
    auto& M = MOD_VL_IO;
    const float a[18] = {_ub33.VALUE_A_NAME, _ub34.VALUE_A_NAME, _ub35.VALUE_A_NAME, _ub36.VALUE_A_NAME,
                         _ub37.VALUE_A_NAME, _ub38.VALUE_A_NAME, _ub39.VALUE_A_NAME, _ub40.VALUE_A_NAME,
                         _ub41.VAL_A_NAME,   _ub42.VAL_A_NAME,   VL3_RTD.RTD1_A_SW,  VL3_RTD.RTD2_A_SW,
                         VL3_RTD.RTD3_A_SW,  VL3_RTD.RTD4_A_SW,  VL3_RTD.RTD5_A_SW,  VL3_RTD.RTD6_A_SW,
                         VL3_RTD.RTD7_A_SW,  VL3_RTD.RTD8_A_SW};
    float* const av[18] = {
        &M.VL_A_VALUES_LIST_1.ref(),  &M.VL_A_VALUES_LIST_2.ref(),  &M.VL_A_VALUES_LIST_3.ref(),
        &M.VL_A_VALUES_LIST_4.ref(),  &M.VL_A_VALUES_LIST_5.ref(),  &M.VL_A_VALUES_LIST_6.ref(),
        &M.VL_A_VALUES_LIST_7.ref(),  &M.VL_A_VALUES_LIST_8.ref(),  &M.VL_A_VALUES_LIST_9.ref(),
        &M.VL_A_VALUES_LIST_10.ref(), &M.VL_A_VALUES_LIST_11.ref(), &M.VL_A_VALUES_LIST_12.ref(),
        &M.VL_A_VALUES_LIST_13.ref(), &M.VL_A_VALUES_LIST_14.ref(), &M.VL_A_VALUES_LIST_15.ref(),
        &M.VL_A_VALUES_LIST_16.ref(), &M.VL_A_VALUES_LIST_17.ref(), &M.VL_A_VALUES_LIST_18.ref()};
    for (int k = 0; k < 18; ++k) *av[k] = a[k];

    const auto& i = VL4_BI;
    const auto& o = VL5_BO;
    const uint32_t b[32] = {
        i.BIN_01_VL_BIN,   i.BIN_02_VL_BIN,   i.BIN_03_VL_BIN,   i.BIN_04_VL_BIN,   i.BIN_05_VL_BIN,
        i.BIN_06_VL_BIN,   i.BIN_07_VL_BIN,   i.BIN_08_VL_BIN,   i.BIN_09_VL_BIN,   i.BIN_10_VL_BIN,
        i.BIN_11_VL_BIN,   i.BIN_12_VL_BIN,   i.BIN_13_VL_BIN,   i.BIN_14_VL_BIN,   i.BIN_15_VL_BIN,
        i.BIN_16_VL_BIN,   o.BOUT_01_DISPLAY, o.BOUT_02_DISPLAY, o.BOUT_03_DISPLAY, o.BOUT_04_DISPLAY,
        o.BOUT_05_DISPLAY, o.BOUT_06_DISPLAY, o.BOUT_07_DISPLAY, o.BOUT_08_DISPLAY, o.BOUT_09_DISPLAY,
        o.BOUT_10_DISPLAY, o.BOUT_11_DISPLAY, o.BOUT_12_DISPLAY, o.BOUT_13_DISPLAY, o.BOUT_14_DISPLAY,
        o.BOUT_15_DISPLAY, o.BOUT_16_DISPLAY};
    uint32_t* const bv[32] = {
        &M.VL_B_STATES_LIST_1.ref(),  &M.VL_B_STATES_LIST_2.ref(),  &M.VL_B_STATES_LIST_3.ref(),
        &M.VL_B_STATES_LIST_4.ref(),  &M.VL_B_STATES_LIST_5.ref(),  &M.VL_B_STATES_LIST_6.ref(),
        &M.VL_B_STATES_LIST_7.ref(),  &M.VL_B_STATES_LIST_8.ref(),  &M.VL_B_STATES_LIST_9.ref(),
        &M.VL_B_STATES_LIST_10.ref(), &M.VL_B_STATES_LIST_11.ref(), &M.VL_B_STATES_LIST_12.ref(),
        &M.VL_B_STATES_LIST_13.ref(), &M.VL_B_STATES_LIST_14.ref(), &M.VL_B_STATES_LIST_15.ref(),
        &M.VL_B_STATES_LIST_16.ref(), &M.VL_B_STATES_LIST_17.ref(), &M.VL_B_STATES_LIST_18.ref(),
        &M.VL_B_STATES_LIST_19.ref(), &M.VL_B_STATES_LIST_20.ref(), &M.VL_B_STATES_LIST_21.ref(),
        &M.VL_B_STATES_LIST_22.ref(), &M.VL_B_STATES_LIST_23.ref(), &M.VL_B_STATES_LIST_24.ref(),
        &M.VL_B_STATES_LIST_25.ref(), &M.VL_B_STATES_LIST_26.ref(), &M.VL_B_STATES_LIST_27.ref(),
        &M.VL_B_STATES_LIST_28.ref(), &M.VL_B_STATES_LIST_29.ref(), &M.VL_B_STATES_LIST_30.ref(),
        &M.VL_B_STATES_LIST_31.ref(), &M.VL_B_STATES_LIST_32.ref()};
    for (int k = 0; k < 32; ++k) *bv[k] = b[k];
}

}  // namespace r20

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
