// Routines and words of neighbouring subsystems that start-up, stop and the
// master clock pass call. Where the subsystem exists its header is
// included; the rest are stand-ins (definitions in standins.cpp) until
// their subsystems land.
#pragma once

#include <cstdint>

#include "drivers/ZarnActuator.h"
#include "drivers/ZarnAnalogIns.h"
#include "drivers/ZarnAnalogOuts.h"
#include "drivers/ZarnCalibration.h"
#include "drivers/ZarnDiscreteIns.h"
#include "drivers/ZarnDiscreteOuts.h"
#include "drivers/ZarnHwDepend.h"
#include "drivers/ZarnIntrHandler.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "host/vkboard.h"
#include "host/vkplatform.h"
#include "platform/vkiobus.h"
#include "platform/vkiodev.h"
#include "blocks/pid_contexts.h"
#include "canopen/canopen.h"
#include "host/mscan.h"
#include "platform/vkiodput.h"
#include "runtime/appmem.h"
#include "service/Tallwire.h"
#include "service/TwControl.h"
#include "storage/eefile.h"

// --- stand-ins until their subsystems land ---------------------------------
// Runtime: the service-port table cleared after the tunables are loaded.
void set_service_pwds();
// I/O gathers of the 10, 20 and 80 ms groups (controller I/O drivers).
void _R10_iogather();
void _R20_iogather();
void _R80_iogather();
// Supervision-task actions.
void CheckTTYControlPrams();
