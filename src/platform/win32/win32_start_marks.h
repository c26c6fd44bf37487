#pragma once
// Marks on the way from the program's start to its painted window, for the start-up
// benchmark (bench/window_start). Only when the environment variable QUILLON_START_MARKS
// names a file: each mark appends a line "NAME COUNTER" to it at once (the process may be
// ended right after its window shows), COUNTER being QueryPerformanceCounter's value, which
// every process of the machine shares. Otherwise a mark costs one test of a flag.

namespace quillon {

// Records the moment NAME (no blanks) is reached.
void StartMark(const char* name);

// Records the time spent since `since` (a StartSpanBegin value) as a line "NAME +TICKS": one
// piece of work done in pieces (the fonts), which the reader adds up.
void StartSpan(const char* name, long long since);

// QueryPerformanceCounter's value now, 0 when no marks are being taken.
long long StartSpanBegin();

}  // namespace quillon
