#include "runtime/rgtask.h"

#include "host/hostkernel.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/mscloads.h"
#include "runtime/can_startup.h"
#include "runtime/sched.h"

int AllRgExecuted = 0;
int AllRgExecutedwMMM = 0;

namespace {

struct Copy {
    uint32_t* flag;
    void (*move)();
};

void runCopies(std::initializer_list<Copy> copies) {
    for (const Copy& c : copies) {
        if (*c.flag != 0) {
            c.move();
            *c.flag = 0;
        }
    }
}

void runSlices(int group) {
    for (SliceFn s : rg_slices[group]) {
        s();
        hk::checkpoint();  // lets a more urgent ready task in between slices
    }
}

void endFrame(uint32_t& counter, uint32_t timeIndex) {
    ++counter;
    EndTaskTimeForRG(timeIndex);
    VKOS_SuspendProcess(VKOS_GetCurrentProcessid());
}

}  // namespace

void R20CanReceive() {
    if (COisused[1] != 0) CanOpen(1, 20);
    R20UnpackRxPdos();
}

void _R10_TASK(long) {
    _RGStartsFreerunThread();
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        runCopies({{&sched_move_R10_R20, _R10_R20_move_vals},
                   {&sched_move_R10_R40, _R10_R40_move_vals},
                   {&sched_move_R10_R80, _R10_R80_move_vals},
                   {&sched_move_R10_R160, _R10_R160_move_vals}});
        runSlices(0);
        endFrame(TaskCounter_R10, 2);
        populate_R10Data_Log_Values();
    }
}

void _R20_TASK(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        runCopies({{&sched_move_R20_R40, _R20_R40_move_vals},
                   {&sched_move_R20_R80, _R20_R80_move_vals},
                   {&sched_move_R20_R160, _R20_R160_move_vals}});
        R20CanReceive();
        runSlices(1);
        endFrame(TaskCounter_R20, 3);
        populate_R20Data_Log_Values();
    }
}

void _R40_TASK(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        runCopies({{&sched_move_R40_R80, _R40_R80_move_vals}, {&sched_move_R40_R160, _R40_R160_move_vals}});
        runSlices(2);
        endFrame(TaskCounter_R40, 4);
        populate_R40Data_Log_Values();
    }
}

void _R80_TASK(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        runCopies({{&sched_move_R80_R160, _R80_R160_move_vals}});
        runSlices(3);
        endFrame(TaskCounter_R80, 5);
        populate_R80Data_Log_Values();
    }
}

void _R160_TASK(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    for (;;) {
        runSlices(4);
        if (AllRgExecuted == 0)
            AllRgExecuted = 1;
        else
            AllRgExecutedwMMM = 1;
        endFrame(TaskCounter_R160, 6);
        populate_R160Data_Log_Values();
        UpdateDataLogOutputValues();
    }
}
