/*
 * timecn32 — converts a local wall-clock time to GMT by the time zone's rules
 * (TZ, else the system's zone), the daylight-saving changes included.
 */
#ifndef TIMECN32_H
#define TIMECN32_H

#if defined(TIMECN32_BUILDING)
#define TIMECN_API __attribute__((visibility("default")))
#else
#define TIMECN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TimeCnLocalTime {
    int year;     /* 1900..9999 */
    int month;    /* 1..12 */
    int day;      /* 1..31, within the month */
    int hour;     /* 0..23 */
    int minute;   /* 0..59 */
    int second;   /* 0..59 */
    int daylight; /* 1: daylight time, 0: standard time, -1: not known */
} TimeCnLocalTime;

/* Writes the GMT seconds since 1970-01-01 00:00 of the local time and
 * returns 0; -1 when a field is out of range or an argument is NULL.
 * The zone's rules decide, and daylight only picks between the two readings
 * of a time the clocks pass twice when they go back: 0 the second (standard
 * time), 1 or -1 the first (daylight time). A time the clocks skip when they
 * go forward is read in the time in force before the change, so 02:30 on
 * such a night is 03:30 daylight time. */
TIMECN_API int LocalToGMT(const TimeCnLocalTime *local, long long *gmtSeconds);

#ifdef __cplusplus
}
#endif

#endif /* TIMECN32_H */
