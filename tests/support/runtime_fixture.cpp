#include "tests/support/runtime_fixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/turbine_model.h"
#include "tests/support/ports.h"
#include "platform/send_evt.h"
#include "runtime/appmain.h"
#include "runtime/sysinfo.h"

namespace tc_test {

void RuntimeFixture::SetUp() {
    // A directory of the case's own: never one an earlier process of the
    // same number left behind, nor one another process uses.
    std::string tmpl = (std::filesystem::temp_directory_path() / "tc_rt_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    hostfs::setApplicationRoot(root_);
    hostio::setPortOffset(pickPortOffset());
    // A test host with 1 MiB for the data log beyond the 5 MiB the system
    // keeps: every start takes and clears the block, and tests that need
    // another size set their own figures.
    hk::setMemoryFigures(0x600000, 0x100000);
    // The turbine model off and at its defaults, whatever an earlier case
    // of the same program left.
    turbine::reset();
    hk::start(hk::ClockMode::Simulated);
    hostplatform::start(false);
    AppEventUnload();
}

void RuntimeFixture::TearDown() {
    // A case that leaves the application started stops it as the platform
    // would before unloading it, so the next case starts from a stopped one.
    if (ApplicationIsNotStopped == 1) {
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
        _SYS_INFO_STOP_PER = 1;
        stop();
    }
    AppEventUnload();
    hk::shutdown();
    std::filesystem::remove_all(root_);
}

uint32_t RuntimeFixture::start() {
    uint32_t r = 0;
    hk::runTask([&] { r = tRGStart(); });
    return r;
}

uint32_t RuntimeFixture::stop() {
    uint32_t r = 0;
    hk::runTask([&] { r = tRGEnd(); });
    return r;
}

std::vector<std::string> RuntimeFixture::messageLines() {
    std::vector<std::string> v;
    for (const auto& m : hostplatform::messages()) {
        if (m.code == 2)
            v.push_back("state " + std::to_string(m.state) + ": " + m.text);
        else
            v.push_back("event " + std::to_string(m.code) + ": " + m.text);
    }
    return v;
}

}  // namespace tc_test
