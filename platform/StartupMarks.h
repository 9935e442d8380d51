// Marks of the program's start on standard error, for measuring it from outside the process: with
// TESSARAY_STARTUP_MARKS in the environment, the first mark of each name writes the line
// "tessaray-mark NAME SECONDS", SECONDS on the monotonic clock that a parent process shares.
// Without it a mark costs one test.
#pragma once

void AfxStartupMark(const char* name);
