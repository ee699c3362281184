#pragma once
// Measured values as the verdicts read them. A value passes a limit only as a number within it
// (NaN and infinity are within no limit), and a running largest value keeps what was no number,
// so a record that once carried garbage never shows a clean-looking value.
#include <algorithm>
#include <cmath>

// True only for a finite number from low to high.
inline bool withinLimits(double v, double low, double high) { return std::isfinite(v) && v >= low && v <= high; }

// The larger of the value kept so far and a new one; a NaN, then an infinity of either sign,
// once seen, stays.
inline float largestKept(float kept, float v)
{
    if (std::isnan(kept) || std::isnan(v))
        return std::isnan(kept) ? kept : v;
    if (std::isinf(kept) || std::isinf(v))
        return std::isinf(kept) ? kept : v;
    return std::max(kept, v);
}
