#pragma once
// Rounding as the chart engine uses it: Round is to the nearest integer with halves to the
// even neighbour, Trunc drops the fraction. Both keep doubles so that huge quotients do not
// overflow before they are compared; RoundToInt clamps into the int range.

#include <climits>
#include <cmath>

namespace velkor::chart {

// Halves go to the even neighbour. Adding and subtracting 2^52 + 2^51 does this in the default
// rounding mode without a library call; beyond 2^51 every double is already whole.
inline double Round(double x) {
    constexpr double Magic = 6755399441055744.0;
    if (!(std::fabs(x) < 2251799813685248.0))
        return x;
    return (x + Magic) - Magic;
}

inline double Trunc(double x) {
    return std::trunc(x);
}

inline int ClampToInt(double x) {
    if (!(x == x))
        return 0;
    if (x >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (x <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(x);
}

// Positions the engine computes from properties (axis ends and axis lines) stop at +-2^30
// pixels: far beyond any screen or page, and with room left for the painter to add lengths and
// widths to them without leaving the int range.
constexpr int PixelLimit = 1 << 30;

inline int ClampToPixels(double x) {
    return x >= PixelLimit ? PixelLimit : x <= -PixelLimit ? -PixelLimit : ClampToInt(x);
}

inline int RoundToInt(double x) {
    return ClampToInt(Round(x));
}

// a * b / c with the quotient rounded to nearest, halves away from zero, as the platform's
// multiply-then-divide does. A zero divisor gives -1.
inline int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const long long p = static_cast<long long>(a) * b;
    long long q = p / c;
    const long long r = p % c;
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -c : c))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

} // namespace velkor::chart
