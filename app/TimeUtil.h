#pragma once
// Waits and wall-clock time.

// Returns after ms milliseconds; meanwhile the calling thread's events are processed
// (at most 100 ms a turn), so queued slots, timers and serial readyRead keep running.
void wait_ms(int ms);
// Blocks the calling thread without processing events.
void sleep_ms(int ms);
// Seconds since 1970-01-01 UTC, milliseconds as the fraction.
double current_time_s();
