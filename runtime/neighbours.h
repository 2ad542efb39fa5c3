// Routines and words of neighbouring subsystems that start-up, stop and the
// master clock pass call.
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

// The I/O gathers of the 10, 20 and 80 ms groups (runtime/iogather.cpp).
#include "runtime/iogather.h"
