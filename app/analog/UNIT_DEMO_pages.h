// The pages the demonstration sequence asks the display to show: index 0
// (no page) and one per step, in the order of the chart.
#pragma once

#include <cstdint>

struct UnitDemoPage {
    int32_t index;
    const char* text;
};

inline constexpr UnitDemoPage kUnitDemoNoPage = {0, "Off"};
inline constexpr UnitDemoPage kUnitDemoPages[5] = {
    {1, "Overview_Page"},  {2, "Start_Curve_Page"}, {3, "Speed_Control_Page"},
    {4, "TRIP_View_Page"}, {5, "TRIP_View_Page2"},
};
