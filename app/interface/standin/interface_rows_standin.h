// STAND-IN rows of operator-interface modules: cells of these modules that
// other logic computes, declared here until that logic lands and takes the
// rows over.
#pragma once

// RMT_CAS_EN: the remote cascade's not-matched latch, which the unit delay
// Z_LOOP follows.
#define RMT_CAS_EN_STANDIN_ROWS(X) X(N_MTCH_RTE, LATCH, B, R80, PLAIN)
