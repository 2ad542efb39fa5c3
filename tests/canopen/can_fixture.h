// Test fixture: the application's CAN2 image on the virtual bus in simulated
// time, a 20 ms pass task standing in for the rate group (SYNC, network pass,
// timer step, then an optional hook), and a test node on the bus that sends
// and records frames in candump form.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "canopen/canopen.h"
#include "host/canbus.h"
#include "host/hostkernel.h"

using Lines = std::vector<std::string>;

class CanNet {
public:
    // Starts the kernel, sets up and opens the image (unless open is false)
    // and spawns the 20 ms pass task.
    explicit CanNet(bool open = true, bool passTask = true, hk::ClockMode mode = hk::ClockMode::Simulated);
    ~CanNet();

    // Lines the controller put on the bus since the last take.
    std::vector<std::string> take();
    // Sends a candump line from the test node to the controller.
    void send(const std::string& line);
    // Runs n 20 ms passes (4 ticks each).
    void passes(int n);
    // Runs fn as a task and waits for it.
    void task(const std::function<void()>& fn);

    CanOpenImage& image();
    // Starts the own node (NMT start over the bus) and discards the lines so far.
    void goOperational();
    // Called in the pass task after the network pass and the timer step.
    std::function<void()> afterPass;
    int passCount = 0;

private:
    std::mutex mu_;
    std::vector<std::string> lines_;
    int node_ = 0;
};
