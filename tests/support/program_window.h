// The whole program (its own slice table) with simulated remote nodes on
// the host CAN bus, configured the way its user configures it: settings
// from the service tool, put in force through the configuration window of
// configure mode (the I/O lock, taken while the unit is shut down) or, for
// the remote nodes' channels, of live configuration; and the service
// tool's reset.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/remote_io/program_rig.h"

namespace tc_test {

class ProgramWindow : public rio_test::ProgramWithNodes {
protected:
    using Settings = std::vector<std::pair<std::string, double>>;
    // The service write with its check of the tunable's limits.
    using AppHarness::serviceWrite;

    // The configuration window opened for a few sample pulses and closed:
    // configure mode for the controller's channels (the I/O lock, then the
    // exit command; the window closes 2 s later), live configuration for
    // the remote nodes' channels. The next 160 ms passes carry the result
    // to the fast groups.
    void window(bool controller) {
        if (controller) {
            ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u) << "configure mode needs the unit shut down";
            lock();
            run(8 * 4);
            closeWindow();
        } else {
            serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
            run(8 * 4);
            serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 0);
        }
        run(8 * 2);
    }

    // Configure mode left (the exit command, the lock released) and the
    // window's 2 s hold run out.
    void closeWindow() {
        unlock();
        for (int p = 0; p < 40 && boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") != 0; ++p) run(8);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "the configuration window stays open";
    }

    // The service tool's reset: a pulse on the debug reset, then the 1 s
    // reset pulse of the 80 ms group runs out.
    void reset() {
        resetGiven();
        run(80);
    }
    // The debug reset pulsed: the reset pulse of the 80 ms group has begun.
    void resetGiven() {
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
        run(8);
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
    }
};

}  // namespace tc_test
