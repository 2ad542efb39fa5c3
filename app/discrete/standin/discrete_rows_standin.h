// STAND-IN rows of modules that the discrete channel logic shares with
// subsystems not built yet: the cells those subsystems compute, declared in
// the shared modules until their own logic lands and takes the rows over.
#pragma once

// CNFG_ACT: the actuator channel's output and readbacks.

