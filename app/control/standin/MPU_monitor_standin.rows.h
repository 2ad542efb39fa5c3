// STAND-IN until the speed monitor's lag of module MPU lands: the lagged
// speed that the monitoring speed doubles.
#pragma once

#define MPU_MONITOR_STANDIN_ROWS(X) X(SPD_MONTOR, LAG, A, R160, PLAIN)
