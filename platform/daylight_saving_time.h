// Daylight-saving rule evaluation.
#pragma once

// 1 when daylight saving is active at the given local time, else 0.
//
// The rule gives a start and an end as month (1..12), week (1..5 for the
// n-th occurrence of the weekday, -1 for the last, -2 for the one before),
// weekday code (0 = Saturday .. 6 = Friday, counted from 2000-01-01, a
// Saturday) and hour. yy is the two-digit year meaning 2000 + yy. A mode of
// 0 or a year above 99 gives 0. A start later in the year than the end
// means the period spans the new year; equal start and end never match.
int dst_check(int startMonth, int startWeek, int startDay, int startHour, int endMonth, int endWeek,
              int endDay, int endHour, int yy, int month, int day, int hour, int mode);
