// Numbers as dimension texts: rounded to a step, with optional thousands separators and trailing zeros.
#pragma once

#include <string>

#include "platform/WinTypes.h"

// value rounded to the nearest multiple of step: its magnitude, halves upward, with the value's sign
// (a step of 0 counts as 0.000001), with ceil(-log10(step)) decimals (none for steps of 1 or more).
// Trailing zeros of the fraction, and a bare ".", are dropped unless keepZeros. thousands puts ","
// between groups of three integer digits. A result of 0 carries no sign.
std::string FormatNumber(double value, double step, BOOL thousands, BOOL keepZeros);
