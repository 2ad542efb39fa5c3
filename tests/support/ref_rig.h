// The speed reference road on the whole program: the program's own slice
// table through real passes of the rate-group runtime in simulated time,
// driven only through its inputs: settings written as the service tool
// writes them, contacts and keys on the board model, and the turbine model
// of the host layer closing the loop from the actuator current to the speed
// sensors.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/app_harness.h"

namespace ref_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

// The configured speeds and rates of the scenarios.
constexpr double kIdle = 1000.0, kMinGov = 3000.0, kMaxGov = 3800.0, kRated = 3600.0;
constexpr double kRateIdle = 50.0, kRateMin = 100.0;

// Controller contacts on the board (discrete inputs 12 .. 19 are the
// controller's channels BI01 .. BI08) with the functions they carry by
// default, and the one the rig gives the spare channel BI07.
constexpr int kLowerContact = 12, kRaiseContact = 13, kTripContact = 14, kStartContact = 15, kResetContact = 16,
              kIdleRatedContact = 17, kSpareContact = 18;

// What every rig of the speed reference road reads and waits for.
class RefBase : public tc_test::AppHarness {
protected:
    bool step(const std::string& s) { return boolean("SPDC." + s + ".SFC_STEP") != 0; }
    float ref() { return real("IFACE_OUT_SPEED.SPEED_REF.A_NAME"); }
    // 80 ms passes until `done`, at most `max`; false when it never came.
    bool runUntil(const std::function<bool()>& done, int max);
    // The reference's change over one second of 40 ms passes.
    double slopeOverOneSecond();
};

class RefRig : public RefBase {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program with the configuration above; `idle_rated`
    // configures the idle/rated start (the automatic start to idle),
    // otherwise a manual start. Ends ready to start, the trips reset, the
    // shaft at standstill.
    using Settings = std::vector<std::pair<const char*, double>>;
    void start(bool idle_rated, bool auto_start, const Settings& extra = {});
    // The settings start() enters from the service tool right after the
    // program has started, while it powers up.
    void enterSettings(bool idle_rated, bool auto_start, const Settings& extra = {});
    // A manual start with the remote speed setpoint and cascade configured
    // as well: their inputs on the controller's analog inputs 1 (remote
    // speed setpoint, over the governor range) and 2 (cascade process value,
    // range 0 .. 100), both at mid range; the cascade moves the speed
    // setpoint inside the governor range, 100 rpm in from either end.
    void startWithRemoteAndCascade(const Settings& extra = {});
    // Whether start() waits until nothing holds a start back (false where a
    // case looks at what does).
    bool startable_ = true;

    // Ready to start: at rest in A00 since an earlier pass (the start logic
    // sees the step one pass after the chart enters it, and holds a start
    // given in that pass) and nothing holding a start back.
    bool ready() {
        return step("A00_STEP") && real("SPDC.A00_STEP.ACTIVETIME") > 0.1f && boolean("START.OR_SD.OR") == 0;
    }
    double shaft();
    // The shaft put at `rpm` (the turbine model runs on from there).
    void shaftAt(double rpm);
    // The shaft held at `rpm` (the turbine model frozen there), as when it
    // rolls on from an earlier run.
    void holdShaftAt(double rpm);
    // A service-tool input at 1 for one pass of its group, then 0.
    void pulse(const std::string& cell, int group);
    // A contact closed (true) or opened on the board.
    void contact(int input, bool closed);
    // A contact closed for one 160 ms pass, then opened again.
    void contactPulse(int input);
    // The start command of the service tool (START.START.IN_3) given and
    // taken back.
    void startCommand();
    // The trips reset from the reset contact.
    void reset();
    // A trip from the external trip contact opening (it stays open).
    void trip() { contact(kTripContact, false); }
    // The trip contact closed again and, once the trip's one-shot (which
    // cuts a reset off) is over, the trips reset.
    void clearTrip();
    // From a start command to the speed controller in control (A08).
    void startToInControl();
    // An automatic start to idle, then rated selected: in control at rated.
    void startToRated();
};

}  // namespace ref_test
