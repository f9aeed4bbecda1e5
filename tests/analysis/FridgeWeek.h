#pragma once
// A week of a vaccine fridge at 5-minute readings, 2026-03-02 to 2026-03-08: door openings at
// 08:00, 12:30 and 18:00, a defrost on the 4th at 02:00, a freezing night from the 7th 22:00
// to the 8th 04:00, readings exactly on the 2-8 °C limits, a 3-hour gap on the 5th and one
// duplicate reading. fridge_week.py builds the same week and works out its expected summary.

#include "platform/DateTime.h"

#include <algorithm>
#include <array>
#include <vector>

namespace velkor::test {

struct FridgeReading {
    int day, hour, minute; // day 0 is 2026-03-02
    int celsiusTenths, humidityTenths;
    double Time() const {
        double date = 0, time = 0;
        TryEncodeDate(2026, 3, 2, date);
        TryEncodeTime(hour, minute, 0, 0, time);
        return date + day + time;
    }
};

// In time order; the duplicate (2026-03-06 06:00, 99.9 °C) comes last.
inline std::vector<FridgeReading> FridgeWeek() {
    constexpr int Step = 5; // minutes
    constexpr int Count = 7 * 24 * 60 / Step;
    struct Fixed {
        int day, minutes, tenths;
    };
    constexpr std::array<Fixed, 11> onLimits = {{{1, 900, 80},
                                                 {1, 905, 80},
                                                 {1, 910, 20},
                                                 {1, 915, 81},
                                                 {6, 540, 20},
                                                 {6, 545, 19},
                                                 {6, 550, 20},
                                                 {3, 595, 85},
                                                 {3, 600, 85},
                                                 {3, 785, 90},
                                                 {3, 790, 85}}};
    constexpr std::array<int, 3> doors = {8 * 60, 12 * 60 + 30, 18 * 60};
    constexpr std::array<int, 3> doorRise = {38, 28, 12};
    constexpr std::array<int, 7> defrost = {60, 85, 100, 104, 95, 80, 60};
    std::vector<FridgeReading> week;
    for (int i = 0; i < Count; ++i) {
        int day = i * Step / 1440;
        int minutes = i * Step % 1440;
        if (day == 3 && minutes >= 605 && minutes <= 780) {
            continue; // the gap: 10:05 to 13:00 missing
        }
        int celsius = 45 + (i * 7) % 11 - 5;
        int humidity = 550 + (i * 13) % 41 - 20;
        for (int door : doors) {
            int k = (minutes - door) / Step;
            if (minutes >= door && k < 3) {
                celsius += doorRise[static_cast<std::size_t>(k)];
                humidity += k == 0 ? 150 : 0;
            }
        }
        if (day == 2 && minutes >= 120 && minutes < 155) {
            celsius = defrost[static_cast<std::size_t>((minutes - 120) / Step)];
        }
        int night = ((day - 5) * 1440 + minutes - 22 * 60) / Step;
        if ((day - 5) * 1440 + minutes >= 22 * 60 && night < 72) {
            celsius = night < 60 ? std::max(-8, 15 - night) : -8 + (night - 59) * 2;
        }
        for (const Fixed& fixed : onLimits) {
            if (fixed.day == day && fixed.minutes == minutes) {
                celsius = fixed.tenths;
            }
        }
        week.push_back({day, minutes / 60, minutes % 60, celsius, humidity});
    }
    week.push_back({4, 6, 0, 999, 500});
    return week;
}

} // namespace velkor::test
