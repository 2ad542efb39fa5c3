// The whole program from its inputs, for the interface cases that need the
// unit shut down or running: it powers up tripped (its external trip
// contact, controller input BI03 on board input 14, open); the contact
// closed and the reset contact (board input 16) end the shutdown, and the
// service tool's start command latches the run command.
#pragma once

#include <gtest/gtest.h>

#include "host/board.h"
#include "tests/control_speed/program_rig.h"

namespace op_test {

class UnitRig : public sc_test::ProgramRig {
public:
    static constexpr int kTripContact = 14, kResetContact = 16;

protected:
    static constexpr int P10 = sc_test::P10, P80 = sc_test::P80, P160 = sc_test::P160;
    // Powered up with a manual start configured (entered while the unit
    // powers up: a whole configuration), still tripped.
    void powerUp() {
        startApp();
        tune("CNFG_START.CONFIG_B.IN_1", 1);
        runPasses(P160, 20);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    }
    // The trip contact closed and the trips reset: ready to start.
    void resetTrips() {
        board::setDiscreteInput(kTripContact, true);
        runPasses(P160, 8);
        board::setDiscreteInput(kResetContact, true);
        runPasses(P160, 3);
        board::setDiscreteInput(kResetContact, false);
        for (int k = 0; k < 40 && boolean("SPDC.A00_STEP.SFC_STEP") == 0; ++k) runPasses(P80, 1);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u) << "first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
        ASSERT_EQ(boolean("SPDC.A00_STEP.SFC_STEP"), 1u);
    }
    // The service tool's start command, for one 80 ms pass.
    void startCommand() {
        tune("START.START.IN_3", 1);
        runPasses(P80, 1);
        tune("START.START.IN_3", 0);
    }
    void trip() { board::setDiscreteInput(kTripContact, false); }
};

}  // namespace op_test
