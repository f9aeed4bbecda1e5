#pragma once
// Day counts for tests, from calendar values that must be valid.

#include "platform/DateTime.h"

#include <gtest/gtest.h>

namespace velkor::testing {

inline double Date(int year, int month, int day) {
    double result = 0;
    EXPECT_TRUE(TryEncodeDate(year, month, day, result));
    return result;
}

inline double Time(int hour, int minute, int second) {
    double result = 0;
    EXPECT_TRUE(TryEncodeTime(hour, minute, second, 0, result));
    return result;
}

inline double At(int year, int month, int day, int hour, int minute, int second = 0) {
    double result = 0;
    EXPECT_TRUE(TryEncodeDateTime(year, month, day, hour, minute, second, 0, result));
    return result;
}

} // namespace velkor::testing
