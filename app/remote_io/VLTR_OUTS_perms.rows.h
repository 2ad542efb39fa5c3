// Row of module VLTR_OUTS that summarises the remote channels' alarm-level
// permissives at 160 ms: any of the remote analog inputs' (_ub25 .. _ub32)
// and RTD channels' (_ub51 .. _ub58) permissives not met.
#pragma once

#define VLTR_OUTS_PERMS_ROWS(X) X(VL_PERMS_NOT_MET, OR, B, R160, PLAIN)

namespace r160 {
void VLTR_OUTS_permissives();
}  // namespace r160
