// Rate-group tasks: the slice tables they run and the flags the 160 ms
// group raises after its passes.
#pragma once

#include <cstdint>
#include <vector>

typedef void (*SliceFn)();

constexpr int kNumRateGroups = 5;  // index 0 = R10, 1 = R20, 2 = R40, 3 = R80, 4 = R160

// The slices of each group in numeric order (`_R10_TASK_1` ...), defined
// with the application (app/group_slices.cpp); tests may replace them
// before tRGStart.
extern std::vector<SliceFn> rg_slices[kNumRateGroups];

// Set by the 160 ms group: after its first pass, and after every later pass.
extern int AllRgExecuted;
extern int AllRgExecutedwMMM;

// Task bodies.
void _R10_TASK(long arg);
void _R20_TASK(long arg);
void _R40_TASK(long arg);
void _R80_TASK(long arg);
void _R160_TASK(long arg);

// Cross-rate copy routines, derived by the application from its declared
// cross-rate reads; run by the faster group at the start of a slower frame.
void _R10_R20_move_vals();
void _R10_R40_move_vals();
void _R10_R80_move_vals();
void _R10_R160_move_vals();
void _R20_R40_move_vals();
void _R20_R80_move_vals();
void _R20_R160_move_vals();
void _R40_R80_move_vals();
void _R40_R160_move_vals();
void _R80_R160_move_vals();

// Data-log capture after resuming (storage); R10 starts the master chassis
// task before its first wait.
void populate_R10Data_Log_Values();
void populate_R20Data_Log_Values();
void populate_R40Data_Log_Values();
void populate_R80Data_Log_Values();
void populate_R160Data_Log_Values();
void UpdateDataLogOutputValues();
int _RGStartsFreerunThread();
// CANopen receive processing and PDO unpacking of the 20 ms group.
void R20CanReceive();
// Unpacks the receive-PDO slots into the remote nodes' cells (remote I/O logic).
void R20UnpackRxPdos();
