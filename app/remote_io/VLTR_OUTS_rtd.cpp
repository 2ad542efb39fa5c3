// The remote RTD lists of module VLTR_OUTS: each channel's display value,
// reported fault and function number in force.
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "app/remote_io/VL3_RTD.cells.h"
#include "runtime/appmem.h"

namespace r80 {

void VLTR_OUTS_rtd_lists() {
    auto& O = VLTR_OUTS;
    float* const values[kRtdChannels] = {
        &O.VL_RTDS_LIST_1.ref(), &O.VL_RTDS_LIST_2.ref(), &O.VL_RTDS_LIST_3.ref(), &O.VL_RTDS_LIST_4.ref(),
        &O.VL_RTDS_LIST_5.ref(), &O.VL_RTDS_LIST_6.ref(), &O.VL_RTDS_LIST_7.ref(), &O.VL_RTDS_LIST_8.ref()};
    uint32_t* const faults[kRtdChannels] = {
        &O.VL_RTD_FLTS_LIST_1.ref(), &O.VL_RTD_FLTS_LIST_2.ref(), &O.VL_RTD_FLTS_LIST_3.ref(),
        &O.VL_RTD_FLTS_LIST_4.ref(), &O.VL_RTD_FLTS_LIST_5.ref(), &O.VL_RTD_FLTS_LIST_6.ref(),
        &O.VL_RTD_FLTS_LIST_7.ref(), &O.VL_RTD_FLTS_LIST_8.ref()};
    int32_t* const functions[kRtdChannels] = {
        &O.VL_RTD_FUNCT_LIST_1.ref(), &O.VL_RTD_FUNCT_LIST_2.ref(), &O.VL_RTD_FUNCT_LIST_3.ref(),
        &O.VL_RTD_FUNCT_LIST_4.ref(), &O.VL_RTD_FUNCT_LIST_5.ref(), &O.VL_RTD_FUNCT_LIST_6.ref(),
        &O.VL_RTD_FUNCT_LIST_7.ref(), &O.VL_RTD_FUNCT_LIST_8.ref()};
    for (int k = 0; k < kRtdChannels; ++k) {
        *values[k] = VL3_RTD_display_value(k);
        *faults[k] = RTD_CHANNEL_fault_out(k);
        *functions[k] = RTD_CHANNEL_function_out(k);
    }
}

}  // namespace r80
