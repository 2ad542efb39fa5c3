// Runs generated-logic slices through real passes of the rate-group
// runtime in simulated time, and sets and reads cells by their full name
// "MODULE.BLOCK.FIELD". The way a module's tests drive its slices:
//
//   class SpeedCtrl : public tc_test::AppHarness {};
//   TEST_F(SpeedCtrl, ...) {
//       useSlices(0, {_R10_TASK_5, _R10_TASK_8});
//       startApp();
//       setCell("SPD_CTRL.ACT_LIM.NC", 7.5);
//       runPasses(0, 3);                       // three more 10 ms frames
//       EXPECT_EQ(real("SPD_CTRL.ACT_LIM.A_SW"), 7.5f);
//   }
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/appmem.h"
#include "runtime/dbug.h"
#include "runtime/rgtask.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/tune_defaults.h"

namespace tc_test {

// A catalogue the harness looks names up in: its directory tables and how a
// cell reference becomes memory. The application's catalogue by default.
struct CatalogueAccess {
    DbugTables tables;
    void* (*ptr)(CellRef ref);
    void (*clear)();                 // clears its areas at start (nullptr: init_blk_ram does)
};

// The older name of loadTuneDefaults(), kept for the rigs that use it.
inline void loadTunableDefaults() { loadTuneDefaults(); }

// The program's own slice table (app/group_slices.cpp), as it stood before
// any harness in this process replaced it.
const std::array<std::vector<SliceFn>, kNumRateGroups>& programSliceTable();

class AppHarness : public RuntimeFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The slices a group runs, in order (groups 0 = R10 .. 4 = R160).
    void useSlices(int group, std::vector<SliceFn> slices);
    // Every group runs the program's own slices.
    void useProgram();
    // Looks names up in another catalogue (test fixtures) as well as the
    // application's. Its cells have no cross-rate copies.
    void useCatalogue(const CatalogueAccess& c);
    // tRGStart in the platform's task; the first frame of every group runs
    // before it returns. Fails the test unless the start succeeds.
    void startApp();
    void stopApp();

    // Frames the group has completed.
    uint32_t passes(int group) const;
    // Runs simulated time until the group has completed n more frames.
    void runPasses(int group, uint32_t n);

    // Cells by full name; a name that is not in the directory fails the test.
    void setCell(const std::string& name, double value);  // A, B, I, U cells
    // A cell written as the service tool writes it: the write request's own
    // write by the cell's handle, in a session of a technician's level, with
    // all its checks (a tunable's limits; a real's step while the control
    // runs) and its side effects (a command input starts or ends its
    // command). A write the program refuses fails the test.
    void serviceWrite(const std::string& name, double value);
    // Whether serviceWrite fails the test on a real's step that the tool
    // refuses while the control runs (on unless a rig turns it off). A rig
    // that turns it off, saying why, gets such a step entered past the
    // service path (within the tunable's limits), until it enters its
    // settings in steps the tool accepts or while the control is stopped.
    void checkSteps(bool on = true) { stepsChecked_ = on; }
    // A tunable's cell written with its write's side effects but past the
    // service path's checks: only for a value that path refuses, to show a
    // module's own guard against it (each use says why).
    void pokeTunable(const std::string& name, double value);
    float real(const std::string& name);
    uint32_t boolean(const std::string& name);
    int32_t integer(const std::string& name);
    std::string text(const std::string& name);
    // The cell's memory and type letter (nullptr when not found).
    void* cell(const std::string& name, char* type = nullptr);

private:
    std::vector<CatalogueAccess> catalogues_;
    bool started_ = false;
    bool stepsChecked_ = true;
};

}  // namespace tc_test
