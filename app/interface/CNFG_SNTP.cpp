// The SNTP server address: taken over every pass.
#include "app/interface/CNFG_SNTP.cells.h"

namespace r160 {

void CNFG_SNTP_server() {
    CNFG_SNTP.IP_1_I_NAME = CNFG_SNTP.IP_1_IN;
    CNFG_SNTP.IP_2_I_NAME = CNFG_SNTP.IP_2_IN;
    CNFG_SNTP.IP_3_I_NAME = CNFG_SNTP.IP_3_IN;
    CNFG_SNTP.IP_4_I_NAME = CNFG_SNTP.IP_4_IN;
}

}  // namespace r160
