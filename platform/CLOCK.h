// The controller's time of day: the OS realtime clock holds UTC seconds since
// 1970; local time is UTC plus the zone offset, plus the daylight-saving
// hours while a rule is active. The generated clock block reads local time
// and sets it field by field; every setting marks the battery clock for an
// update by the supervision task.
//
// Seconds are unsigned 32-bit throughout, so times from 2038-01-19 on work.
#pragma once

#include <cstdint>

#include "platform/TIME.h"

// The controller platform; it chooses how the clock is set.
inline constexpr uint32_t platform_type = 14;

// Time-zone and daylight-saving settings.
extern float Global_Time_Zone;  // hours added to UTC for local time
extern uint8_t dst_mode;        // daylight saving enabled
extern uint8_t dst_is_active;   // result of the last rule evaluation
extern uint8_t dst_hours;       // hours added while daylight saving is active
extern uint8_t current_year;    // two digits; these four are refreshed by get_time
extern uint8_t current_month;
extern uint8_t current_day;
extern uint8_t current_hour;
extern uint8_t dst_start_month;
extern int8_t dst_start_week;
extern uint8_t dst_start_day;
extern uint8_t dst_start_hour;
extern uint8_t dst_end_month;
extern int8_t dst_end_week;
extern uint8_t dst_end_day;
extern uint8_t dst_end_hour;
// Clock changes not yet copied to the battery clock.
extern uint32_t I2C_ClockNeedsUpdated;

// Zone offset in whole seconds (Global_Time_Zone x 3600 in single precision,
// truncated toward zero).
int32_t zone_seconds();

void get_time(CalendarTime* rec);
int get_time_posix(uint32_t* seconds);  // local seconds; the clock_gettime result
int set_time(CalendarTime* rec);
int set_seconds(int value);
int set_minutes(int value);
int set_hours(int value);
int set_days(int value);
int set_months(int value);
int set_years(int yy);  // 1900 + yy when yy > 79, else 2000 + yy
int set_all(int yy, int month, int day, int hour, int minute, int second);
int set_dow(int weekday);  // nothing: the weekday follows from the date
int init_rtc();            // nothing
void set_zone(float hours);
int setTimeOfDay(uint32_t localSeconds);  // 0
int set_time_posix(uint32_t localSeconds);
int setTTime(uint32_t localSeconds);  // the clock_settime result, 0 when nothing was set
// setTTime as on the given platform type (exposed for tests).
int setTTimeOnPlatform(uint32_t platformType, uint32_t localSeconds);
// Copies the OS time to the battery clock, retrying once; the last result.
int SetI2C_Clock();
