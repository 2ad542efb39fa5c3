// Starts the Tallwire server on the simulated kernel, listening on a free
// port of 127.0.0.1 (666 plus a port offset), with the scripted binding.
#pragma once

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "host/hostkernel.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "service/Tallwire.h"
#include "host/hostio.h"
#include "runtime/sched.h"
#include "service/TwTcp.h"
#include "tw_fake_binding.h"
#include "tw_tcp_client.h"

// A port the kernel just handed out, so parallel test processes differ.
inline uint16_t freeLoopbackPort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
}

class TwServer : public ::testing::Test {
protected:
    uint16_t port = 0;

    void SetUp() override {
        port = freeLoopbackPort();
        hostio::setPortOffset(port - TW_TCP_PORT);
        hk::start(hk::ClockMode::Simulated);
        hk::runTask([this] {
            app_inited = VKOS_CreateSemaphore("app_inited", 0, 500);
            AllRgExecutedwMMM = 1;
            InitializeTallwire(1, 0, 0, 0, 0);
            if (useFake) installFakeBinding();
            VKOS_FlushSemaphore(app_inited);
        });
        // The listener starts 1 s after the start flush.
        hk::runTicks(210);
    }

    void TearDown() override {
        hk::runTask([] { TallwireClose(); });
        hk::shutdown();
    }

    bool useFake = true;

    int slotsInUse() {
        int n = 0;
        for (const TwTcpPort& p : TWTcpPorts) n += p.inUse;
        return n;
    }
};
