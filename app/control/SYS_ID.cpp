// SYS_ID and the hardware serial-number user block.
#include "app/control/SYS_ID.cells.h"

#include "app/config/MASTER.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "host/vkboard.h"
#include "runtime/appmem.h"

namespace {
// The wrapper's module-level record, in the generated layout.
struct Ub24Record {
    int32_t _ii;
    uint32_t _bi;
    int32_t _init;
    float* _ao;
    int32_t* _io[2];
    uint32_t* _bo[2];
    int32_t _rpt;
    float _ai[1];
};
BlockRam<Ub24Record> ub24_rec;

constexpr const char* _szBlockName = "IFACE_MODE.GET_HW_SN";
constexpr float kPeriod = 0.16f;
}  // namespace

int _f4bc3d59_6b31_49d8_8149_1c732cb30350_(const char*, int32_t*, float*, int32_t*, uint32_t* bi, float**,
                                             int32_t** io, uint32_t** bo, float) {
    if (bi[0] != 0 && bi[0] != *bo[1]) *io[1] = static_cast<int32_t>(VKGetIdentitySerialNumber());
    *bo[1] = bi[0];
    *bo[0] = 1;
    return 0;
}

void _f4bc3d596b3149d881491c732cb30350(void*, void*, void*) {}

int _ub24(int32_t ii, uint32_t bi, float* ao, int32_t* io1, int32_t* io2, uint32_t* bo1, uint32_t* bo2) {
    Ub24Record& r = ub24_rec;
    r._ii = ii;
    r._bi = bi;
    if (r._init == 0) {
        r._ao = ao;
        r._io[0] = io1;
        r._io[1] = io2;
        r._bo[0] = bo1;
        r._bo[1] = bo2;
        r._init = 1;
    }
    return _f4bc3d59_6b31_49d8_8149_1c732cb30350_(_szBlockName, &r._rpt, r._ai, &r._ii, &r._bi, &r._ao, r._io, r._bo,
                                                  kPeriod);
}

namespace r160 {

void SYS_ID_site() {
    auto& u = _ub24;
    u._I_IN_I_NAME = 0;
    ::_ub24(u._I_IN_I_NAME, SHUTDOWNS.PWR_UP_OVRD_ONE_SHOT, &u._C_FUNC_A_OUT_1.ref(), &u._C_FUNC_I_OUT_1.ref(),
          &u._C_FUNC_I_OUT_2.ref(), &u._C_FUNC_B_OUT_1.ref(), &u._C_FUNC_B_OUT_2.ref());
    auto& c = SYS_ID;
    c.HW_SN_I_NAME = u._C_FUNC_I_OUT_2;
    c.HW_SN_AVAIL_B_NAME = c.HW_SN_AVAIL_IN;
    c.SITE_LOCAL_S_NAME = c.SITE_LOCAL_IN;
    c.SITE_NAME_S_NAME = c.SITE_NAME_IN;
    c.SITE_UNIT_S_NAME = c.SITE_UNIT_IN;
    c.SS_SECONDS_I_NAME = MASTER.APP_OVRD_I_SW;
    S_ALARMS.S2_B_NAME = S_ALARMS.S2_IN;
    S_ALARMS.S3_B_NAME = S_ALARMS.S3_IN;
    S_PORT_1.S2_B_NAME = MOD.MOD1_EX_ERR_1;
    S_PORT_1.S3_I_NAME = MOD.MOD1_ERR_NUM_1;
}

}  // namespace r160
